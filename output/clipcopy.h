// The figure on the clipboard, for pasting into another application.
#pragma once

class QByteArray;
class QImage;

namespace clipcopy {

// Empties the clipboard, then puts the image on it as a bitmap, with the same figure as SVG
// for the programs that paste vectors; a null image leaves it empty.
void copy(const QImage &image, const QByteArray &svg);

} // namespace clipcopy
