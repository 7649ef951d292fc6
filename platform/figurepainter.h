// The one painter of the figure: replays a display list onto any QPainter device (screen at
// any pixel ratio, printer, SVG, PDF), with the canvas's own pixels on a 1:1 image.
#pragma once

#include "platform/displaylist.h"

#include <QImage>

class QPainter;

namespace figurepainter {

// How the list is drawn beyond its own geometry: a projector needs thicker lines and larger
// labels, from the same places.
struct Style
{
    int lineWidth = 1; // units
    double textScale = 1;
    bool plain() const { return lineWidth == 1 && textScale == 1; }
};

// The list with its top-left corner at the painter's origin, one unit per logical unit.
void paint(QPainter &painter, const DisplayList &list, const Style &style = Style());
// The list on an image of `ratio` device pixels per unit.
QImage render(const DisplayList &list, double ratio, const Style &style = Style());
// The same into `image`, whose pixels are reused when it has the size already.
void render(QImage &image, const DisplayList &list, double ratio, const Style &style = Style());

// One item written straight into a 1:1 image of format RGB32: how the canvas draws.
void rasterize(QImage &image, const DisplayItem &item);
void drawText(QPainter &painter, const DisplayText &text, QRgb color);

} // namespace figurepainter
