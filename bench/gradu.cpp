#include "bench/gradu.h"
#include "bench/scene.h"

#include "platform/canvas.h"
#include "platform/numbers.h"

#include <QString>

namespace {
void printRightAligned(Canvas &c, double right, double y, const QString &text)
{
    c.currentX = right - c.textWidth(text);
    c.currentY = y;
    c.print(text);
}
} // namespace

int graduIntervals(int longaxe)
{
    const QString digits = QString::number(longaxe);
    const int first = digits.isEmpty() ? 1 : digits.at(0).digitValue();
    if (first <= 0)
        return 10;
    return first < 3 ? first * 10 : first;
}

void gradu(Canvas &c, QRgb colgrad, int xo2, const GraduOptions &o)
{
    const int n = graduIntervals(o.longaxe);
    const double u = o.longaxe < 201 ? 1 : 100;
    const double s = (c.scaleWidth() - 20) / n;
    const double mainEnd = c.scaleWidth() - 19;
    const double secondEnd = c.scaleHeight() - 100;
    const auto label = [&](int i) { return (i / u) * (double(o.longaxe) / n); };

    c.setFontName(QStringLiteral("Arial"));
    c.setFontSize(8);
    c.setFontBold(true);
    c.setForeColor(o.whiteBackground ? qRgb(150, 150, 150) : qRgb(200, 200, 200));

    // A canvas at most 20 units wide has no axis to graduate: a step of 0 would never end.
    for (int i = 0; s > 0 && i * s <= mainEnd; ++i) {
        const double x = i * s;
        c.line(x, 130, x, 141, colgrad);
        const QString text = numbers::formatGeneral(label(i));
        c.currentX = x - c.textWidth(text) / 2;
        c.currentY = 118;
        c.print(text);
    }
    for (int i = 0; s > 0 && i * s / 10 <= mainEnd; ++i)
        c.line(i * s / 10, 133, i * s / 10, 138, colgrad);

    if (o.telescope && s > 0) {
        for (int i = 0; i * s <= secondEnd; ++i) {
            const double y = i * s;
            c.line(xo2 - 5, kAxis + y, xo2 + 6, kAxis + y, colgrad);
            c.line(xo2 - 5, kAxis - y, xo2 + 6, kAxis - y, colgrad);
            printRightAligned(c, xo2 - 7, kAxis + y - 7, numbers::formatGeneral(label(i)));
            printRightAligned(c, xo2 - 7, kAxis - y - 7, numbers::formatGeneral(-label(i)));
        }
        for (int i = 0; i * s / 10 <= secondEnd; ++i) {
            const double y = i * s / 10;
            c.line(xo2 - 2, kAxis + y, xo2 + 3, kAxis + y, colgrad);
            c.line(xo2 - 2, kAxis - y, xo2 + 3, kAxis - y, colgrad);
        }
    }

    c.currentX = 4;
    c.currentY = c.scaleHeight() - c.textHeight(QStringLiteral("W")) - 2;
    const bool metres = u > 1;
    if (o.telescope)
        c.print(metres ? QStringLiteral("Les axes optiques sont gradués en m.")
                       : QStringLiteral("Les axes optiques sont gradués en cm."));
    else
        c.print(metres ? QStringLiteral("L'axe optique est gradué en m.")
                       : QStringLiteral("L'axe optique est gradué en cm."));
}
