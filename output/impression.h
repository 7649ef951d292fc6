// Printing the figure: one job of one landscape page per copy, each with the page title at its
// top-left corner and the figure at its natural size (one canvas pixel is 15 twips).
#pragma once

#include "platform/displaylist.h"

#include <QRectF>
#include <QString>

class QPrinter;

namespace impression {

constexpr double kTwipsPerInch = 1440;
constexpr double kTwipsPerPixel = 15;

struct Job
{
    QString title;
    int copies = 1;
    bool centreH = false; // "Centrrer l'image horizontalement"
    bool centreV = false; // "Centrrer l'image verticalement"
};

// Where the figure goes on a page whose usable area is `pageTwips`, in twips from the
// usable area's top-left corner.
QRectF picturePlace(const QSizeF &pageTwips, const QSize &canvasPixels, bool centreH, bool centreV);

enum class Result { Printed, Failed };
// Prints the job, the figure as vectors and text; the printer's orientation and copy count are
// given back whatever happens.
Result print(QPrinter &printer, const DisplayList &figure, const Job &job);

// A printer the job can go to: an installed printer, or a PDF file that was named.
bool usable(const QPrinter &printer);
// What the dialog shows as the current printer.
QString deviceName(const QPrinter &printer);

} // namespace impression
