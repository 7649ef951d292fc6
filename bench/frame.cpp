#include "bench/frame.h"

#include "platform/canvas.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

using numbers::roundEven;

Palette Palette::forBackground(bool white)
{
    if (white)
        return {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(0, 128, 128), qRgb(0, 0, 200),
                qRgb(255, 0, 0)};
    return {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 255, 0), qRgb(255, 255, 200),
            qRgb(255, 0, 0)};
}

double FigureFrame::canvasY(double pente, double ordo, double x) const
{
    return (kAxis - double(echelle) * ordo) + (-pente) * x;
}

double FigureFrame::foldedX(double pente, double ordo, double y) const
{
    const double depth = (y - kAxis) / double(echelle);
    return xP + double(echelle) * foldedLateral(pente, ordo, o.xplan, depth);
}

void printLabel(Canvas &c, double x, double y, const QString &text)
{
    c.currentX = x;
    c.currentY = y;
    c.print(text);
}

void printSubscripted(Canvas &c, double x, double y, const QString &letter, const QString &digit)
{
    c.currentX = x;
    c.currentY = y;
    c.print(letter, false);
    c.currentY = c.currentY + 4;
    c.print(digit);
}

int canvasUnit(double v)
{
    constexpr int kFar = 1 << 28;
    return std::clamp(roundEven(v), -kFar, kFar);
}

QString lengthLabel(double value, double limitValue, const QString &fmtnum)
{
    if (std::fabs(limitValue) > 50000)
        return QStringLiteral("Hors limites");
    return numbers::formatPattern(value, fmtnum) + QStringLiteral(" cm");
}
