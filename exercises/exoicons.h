// Pictures of the exercise window, drawn at run time: no image file and no symbol font ships.
#pragma once

#include <QPixmap>

namespace exoicons {
// One hourglass of the duration row, `height` pixels high.
QPixmap hourglass(int height);
// A difficulty level: lit (reached) or unlit.
QPixmap difficulty(bool lit);
QPixmap openExercise();
QPixmap closeWindow();
} // namespace exoicons
