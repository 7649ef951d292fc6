// The figure as files and as clipboard data, painted from its display list: PNG at a chosen
// scale, SVG and PDF as vectors and text at the figure's true size.
#pragma once

#include "platform/displaylist.h"

#include <QByteArray>
#include <QString>

namespace figureexport {

enum class Format { Png1, Png2, Png4, Svg, Pdf };

QByteArray png(const DisplayList &list, int scale);
QByteArray svg(const DisplayList &list, const QString &title);
// One page of the figure's size at 15 twips per unit, as printing places it.
QByteArray pdf(const DisplayList &list, const QString &title);
QByteArray encode(Format format, const DisplayList &list, const QString &title);

// The file is replaced only once all of it could be written.
bool write(const QString &path, Format format, const DisplayList &list, const QString &title);

// The save dialog's filters, in the order of Format, and the suffix each one adds.
QStringList filters();
QString suffix(Format format);
// The name the save dialog proposes: the open configuration's name, or "figure", with the
// format's suffix.
QString proposedName(const QString &configFile, Format format);

// True when `path` lies under the installation prefix of a program installed in `programDir`.
bool underPrefix(const QString &programDir, const QString &path);

} // namespace figureexport
