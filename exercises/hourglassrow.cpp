#include "exercises/hourglassrow.h"

#include "exercises/exoicons.h"

#include <QPainter>

HourglassRow::HourglassRow(QWidget *parent)
    : QWidget(parent)
{
}

void HourglassRow::setText(const QString &text)
{
    content = text;
    setAccessibleDescription(count() ? QStringLiteral("%1 sablier(s)").arg(count())
                                     : QStringLiteral("Aucun sablier"));
    update();
}

int HourglassRow::count() const
{
    return int(content.count(QLatin1Char('6')));
}

void HourglassRow::paintEvent(QPaintEvent *)
{
    if (!count())
        return;
    QPainter p(this);
    const QPixmap one = exoicons::hourglass(height() - 4);
    int x = 2;
    for (QChar c : content) {
        if (c == QLatin1Char('6'))
            p.drawPixmap(x, 2, one);
        x += one.width() + 4;
    }
}
