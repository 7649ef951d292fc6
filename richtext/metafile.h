// Windows metafiles and enhanced metafiles, as word processors put them in RTF pictures (drawings,
// old equation objects), played into an image with QPainter.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>

namespace metafile {

enum class Kind { Wmf, Emf };

// Largest image made, per side and in all: a picture asked larger is drawn smaller.
constexpr int kMaxSide = 4096;
constexpr qint64 kMaxPixels = 4 * 1024 * 1024;

// Size the metafile gives itself, in pixels at 96 per inch: the placeable header's box, or an
// enhanced metafile's frame. Empty where it gives none (a Windows metafile without the placeable
// header) or is no metafile of that kind.
QSizeF naturalSize(const QByteArray &data, Kind kind);

// The picture drawn to fill `pixels` (brought within the limits above, keeping its shape) on a
// transparent background, antialiased; `hairline` is the width in pixels of the thinnest lines.
// Null where the data is no metafile of that kind or is damaged: a length, count or object index
// that does not fit, a missing end.
QImage render(const QByteArray &data, Kind kind, QSize pixels, qreal hairline = 1);

} // namespace metafile
