// The program's own pictograms, drawn at run time so no image files need shipping.
#pragma once

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
} // namespace icons
