#include "exercises/titleband.h"

#include "platform/numbers.h"

#include <QPainter>

const QColor TitleBand::background(0, 0, 128);

TitleBand::TitleBand(const QString &title, QWidget *parent)
    : QWidget(parent)
    , title(title)
{
    setAccessibleName(title);
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(24);
    f.setBold(true);
    setFont(f);
}

void TitleBand::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    tito_Paint(p);
}

void TitleBand::tito_Paint(QPainter &p)
{
    p.fillRect(rect(), background);
    p.setFont(font());
    const QFontMetrics fm(font());
    const int top = (height() - fm.height()) / 2 - 2;
    // The colour steps follow the title's length, so any title ends in white.
    const int n = int(title.size());
    int x = 30;
    for (int i = 1; i <= n; ++i) {
        const int b = numbers::roundEven(double(i) / n * 100 + 155);
        p.setPen(QColor(255, 255, b));
        const QString letter = title.mid(i - 1, 1);
        p.drawText(x, top + fm.ascent(), letter);
        x += fm.horizontalAdvance(letter);
    }
}
