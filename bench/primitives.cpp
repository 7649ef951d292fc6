#include "bench/primitives.h"

#include "platform/canvas.h"
#include "platform/numbers.h"

#include <cmath>

void droite(double dx1, double dy1, double dx2, double dy2, double &aaa, double &bbb)
{
    if (dx2 - dx1 == 0)
        aaa = 1000000;
    else
        aaa = (dy2 - dy1) / (dx2 - dx1);
    bbb = dy1 - dx1 * aaa;
}

void arrowhead(Canvas &canvas, QRgb color, double tx, double ty, double dx, double dy)
{
    double px, py;
    if (dx != 0) {
        const double m = dy / dx;
        double d = 10 / std::sqrt(m * m + 1);
        if (dx < 0)
            d = -d;
        px = tx - d;
        py = ty - m * d;
    } else {
        px = tx;
        py = dy >= 0 ? ty - 10 : ty + 10;
    }
    if (dy != 0) {
        const double k = dx / dy;
        const double e = 5 / std::sqrt(k * k + 1);
        canvas.line(tx, ty, px + e, py - k * e, color);
        canvas.line(tx, ty, px - e, py + k * e, color);
    } else {
        const double back = dx >= 0 ? -10 : 10;
        canvas.line(tx, ty, tx + back, ty - 5, color);
        canvas.line(tx, ty, tx + back, ty + 5, color);
    }
}

void tracerayon(Canvas &canvas, QRgb coulray, int xdep, int ydep, int xarr, int yarr, int style,
                double placerapp)
{
    canvas.setDrawStyle(style);
    if (placerapp != 0) {
        const double dx = numbers::roundEven(placerapp * (double(xarr) - xdep));
        const double dy = numbers::roundEven(placerapp * (double(yarr) - ydep));
        arrowhead(canvas, coulray, xdep + dx, ydep + dy, dx, dy);
    }
    canvas.line(xdep, ydep, xarr, yarr, coulray);
    canvas.setDrawStyle(Canvas::Solid);
}
