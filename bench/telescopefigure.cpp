#include "bench/telescopefigure.h"

#include "bench/frame.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace {
// Handles never grow beyond this, however far the optics would stretch them.
constexpr double kHandleReach = 1.0e6;
using numbers::roundEven;

void dottedLine(Canvas &c, double x1, double y1, double x2, double y2, QRgb col)
{
    c.setDrawStyle(Canvas::Dot);
    c.line(x1, y1, x2, y2, col);
    c.setDrawStyle(Canvas::Solid);
}

// A'1B'1, lying across the second axis at the depth of the folded image.
void drawFoldedImage(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    const QRgb col = f.pal.object;
    const int xA1 = canvasUnit(f.echelle * (double(f.o.xima2) - f.o.xplan) + f.xP);
    const bool real = f.xP >= xA1;
    if (!real && !f.in->check[11])
        return;
    const int y = foldedImageY(f);
    const int tx = foldedImageTip(f).x();
    if (real)
        c.line(f.xP, y, tx, y, col);
    else
        dottedLine(c, f.xP, y, tx, y, col);
    c.line(tx, y, tx + 8, y - 4, col);
    c.line(tx, y, tx + 8, y + 4, col);
    printSubscripted(c, tx - 16, y - 6, QStringLiteral("B'"), QStringLiteral("1"));
    printSubscripted(c, f.xP + 5, y - 6, QStringLiteral("A'"), QStringLiteral("1"));
}

// A2B2: real below the lens, virtual above it.
void drawFinalImage(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    const QRgb col = f.pal.object;
    const bool real = f.t.oa2 >= 0;
    if (!real && !f.in->check[11])
        return;
    const QPointF tip = finalImageTip(f);
    const double y = tip.y(), t2 = tip.x();
    if (real)
        c.line(f.xP, y, t2, y, col);
    else
        dottedLine(c, f.xP, y, t2, y, col);
    const double back = real ? -8 : 8;
    c.line(t2, y, t2 + back, y + 4, col);
    c.line(t2, y, t2 + back, y - 4, col);
    printSubscripted(c, real ? f.xP - 18 : f.xP + 5, y - 6, QStringLiteral("A"),
                     QStringLiteral("2"));
    printSubscripted(c, real ? t2 + 5 : t2 - 13, y - 6, QStringLiteral("B"), QStringLiteral("2"));
}

int handleHalf(double size)
{
    return roundEven(std::min(size, kHandleReach));
}
} // namespace

double lensY(const FigureFrame &f)
{
    return f.o.ylentille * f.echelle + kAxis;
}

int foldedImageY(const FigureFrame &f)
{
    return f.xP - canvasUnit(f.echelle * (double(f.o.xima2) - f.o.xplan) + f.xP) + kAxis;
}

QPoint foldedImageTip(const FigureFrame &f)
{
    return {f.xP + kAxis - f.yI, foldedImageY(f)};
}

QPointF finalImageTip(const FigureFrame &f)
{
    return {f.xP + f.t.hfinale * f.echelle, (f.o.ylentille + f.t.oa2) * f.echelle + kAxis};
}

QPointF lensImageFocus(const FigureFrame &f)
{
    return {double(f.xP), (f.o.ylentille + f.o.focalent) * f.echelle + kAxis};
}

void drawSecondAxis(FigureFrame &f)
{
    f.canvas->line(f.xP, 0, f.xP, f.canvas->scaleHeight(), f.pal.device);
}

void drawSecondaryMirror(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    const QRgb col = f.pal.device;
    const double e = f.t.emiroir;
    // A mirror set for a far image can be millions of units long: only its part across the
    // canvas's rows is drawn, so that no end lies far enough to be clamped.
    const double above = kAxis - c.scaleTop() + 5;
    const double below = kAxis - c.scaleTop() - c.scaleHeight() - 5;
    const double upper = std::min(e, above), lower = std::max(-e, below);
    // Hatching on the back, the side turned away from the spherical mirror.
    const int first = roundEven(e), last = roundEven(-e);
    const double skipped = std::max(0.0, std::ceil((first - above) / 5));
    for (double u = first - 5 * skipped; u >= last && u >= below; u -= 5)
        c.line(f.xP + u - 5, kAxis - u, f.xP + u, kAxis - u, col);
    if (upper >= lower)
        c.line(f.xP + upper, kAxis - upper, f.xP + lower, kAxis - lower, col);
    c.setForeColor(col);
    printSubscripted(c, f.xP + 7, f.yL + 2, QStringLiteral("O"), QStringLiteral("2"));
}

void drawTelescopeImages(FigureFrame &f)
{
    drawFoldedImage(f);
    drawFinalImage(f);
}

void drawLensFoci(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    c.setForeColor(f.pal.device);
    const double span = f.o.focalent * f.echelle;
    const struct
    {
        int y;
        const char *letter;
    } foci[] = {{canvasUnit(f.yL - span), "F"}, {canvasUnit(span + f.yL), "F'"}};
    for (const auto &focus : foci) {
        c.line(f.xP - 3, focus.y, f.xP + 4, focus.y, f.pal.device);
        printSubscripted(c, f.xP + 9, focus.y - 7, QLatin1String(focus.letter),
                         QStringLiteral("2"));
    }
}

void drawLens(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    const QRgb col = f.pal.device;
    const double y = lensY(f), r = f.t.rlentille * f.echelle;
    const double left = f.xP - r, right = f.xP + r;
    c.line(left, y, right, y, col);
    // Arrowheads turned outwards: the sign of a converging lens.
    c.line(left + 6, y + 3, left, y, col);
    c.line(left + 6, y - 3, left, y, col);
    c.line(right - 6, y + 3, right, y, col);
    c.line(right - 6, y - 3, right, y, col);
}

void placeTelescopeHandles(const FigureFrame &f, FigureOutput &out)
{
    const int e = handleHalf(f.t.emiroir);
    out.l2 = HandlePlace {true, f.xP, kAxis - e, 2 * e, 2 * e};
    const int r = handleHalf(f.t.rlentille * f.echelle);
    out.l3 = HandlePlace {true, f.xP, roundEven(std::min(lensY(f), kHandleReach) - 8), 16, 2 * r};
}

void writeTelescopeLabels(const FigureFrame &f, const QString &fmtnum, FigureOutput &out)
{
    const Optics &o = f.o;
    const TelescopeOptics &t = f.t;
    out.label3[2] = lengthLabel(o.xplan - double(o.xima), o.xima2, fmtnum);
    out.label3[3] = lengthLabel(o.hima, o.xima2, fmtnum);
    out.label3[4] = lengthLabel(o.ylentille + t.oa2, t.oa2, fmtnum);
    out.label3[5] = lengthLabel(t.hfinale, t.oa2, fmtnum);
}
