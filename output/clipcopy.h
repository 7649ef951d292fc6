// The figure on the clipboard, for pasting into another application.
#pragma once

class QImage;

namespace clipcopy {

// Empties the clipboard, then puts the image on it as a bitmap; a null image leaves it empty.
void copy(const QImage &image);

} // namespace clipcopy
