// RTF texts of the exercise pane: read into and written from a QTextDocument, and the files
// that hold them.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace richtext {

// Replaces the document's content with what could be read from the bytes. Lenient: a damaged
// RTF shows what could be read. Returns false, leaving the document unchanged, only when the
// bytes cannot be taken as a text at all.
bool readRtf(const QByteArray &bytes, QTextDocument *doc);

// The document as RTF that word processors open as it was shown.
QByteArray writeRtf(const QTextDocument *doc);

// Files. On failure: false, a reason in `error`, and the document (load) or the previous file
// (save) unchanged.
bool loadFile(const QString &path, QTextDocument *doc, QString *error = nullptr);
bool saveFile(const QString &path, const QTextDocument *doc, QString *error = nullptr);

} // namespace richtext
