// Geometry and ray-drawing helpers of the figure.
#pragma once

#include <QRgb>

class Canvas;

// Straight line through two points as y = aaa * x + bbb; a vertical line gets slope 1000000.
void droite(double dx1, double dy1, double dx2, double dy2, double &aaa, double &bbb);

// One ray segment in colour `coulray`, with an arrowhead at the fraction `placerapp` of the
// way (none when 0). The arrowhead takes the segment's style; the style is solid afterwards.
void tracerayon(Canvas &canvas, QRgb coulray, int xdep, int ydep, int xarr, int yarr, int style,
                double placerapp);

// The arrowhead alone, tip at (tx, ty), pointing along (dx, dy).
void arrowhead(Canvas &canvas, QRgb color, double tx, double ty, double dx, double dy);
