// The program's own pictograms, drawn at run time so no image files need shipping.
#pragma once

#include <QCursor>
#include <QIcon>

namespace icons {
QIcon open();
QIcon save();
QIcon copy();
QIcon print();
QIcon calculator();
QIcon help();
QIcon close();
QIcon enlarge();
QIcon reduce();
QPixmap exercise(); // picture of the exercise button

// Pointers of the drag handles: object, spherical mirror, plane mirror, lens.
QCursor handleCursor(int handle);
} // namespace icons
