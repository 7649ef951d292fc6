// The one painter of the figure: replays a display list onto any QPainter device (screen at
// any pixel ratio, printer, SVG, PDF), with the canvas's own pixels on a 1:1 image.
#pragma once

#include "platform/displaylist.h"

#include <QImage>

class QPainter;

namespace figurepainter {

// The list with its top-left corner at the painter's origin, one unit per logical unit.
void paint(QPainter &painter, const DisplayList &list);
// The list on an image of `ratio` device pixels per unit.
QImage render(const DisplayList &list, double ratio);

// One item written straight into a 1:1 image of format RGB32: how the canvas draws.
void rasterize(QImage &image, const DisplayItem &item);
void drawText(QPainter &painter, const DisplayText &text, QRgb color);

} // namespace figurepainter
