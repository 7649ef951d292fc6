// A QTextDocument as RTF that word processors open as the pane showed it: fonts, colours,
// character and paragraph formats, tables and pictures, in Windows-1252 (a font named for another
// code page, "Arial CE", in that one) with Unicode escapes.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace rtf {

QByteArray write(const QTextDocument *doc);

} // namespace rtf
