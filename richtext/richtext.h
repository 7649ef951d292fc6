// RTF texts of the exercise pane: read into and written from a QTextDocument, the files that
// hold them, and printing.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;
class QTextEdit;

namespace richtext {

// Replaces the document's content with what could be read from the bytes. Lenient: a damaged
// RTF shows what could be read, and bytes that are not RTF show as plain text (UTF-8 when valid,
// else Windows-1252). Returns false, leaving the document unchanged, only when the bytes cannot
// be taken as a text at all (a binary file).
bool readRtf(const QByteArray &bytes, QTextDocument *doc);

// The document as RTF that word processors open as it was shown.
QByteArray writeRtf(const QTextDocument *doc);

// Files. On failure: false, a reason in `error`, and the document (load) or the previous file
// (save) unchanged.
bool loadFile(const QString &path, QTextDocument *doc, QString *error = nullptr);
bool saveFile(const QString &path, const QTextDocument *doc, QString *error = nullptr);

// Prints the whole document on the device. False when the device cannot be painted on.
bool print(const QTextDocument *doc, QPagedPaintDevice *device);
// What a print of the pane gives: its selection when there is one, else its whole text.
std::unique_ptr<QTextDocument> printedPart(const QTextEdit *pane);
// Prints that part of the pane.
bool print(const QTextEdit *pane, QPagedPaintDevice *device);

// Largest file loadFile reads.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

} // namespace richtext
