// RTF bytes into a QTextDocument: the formatting, tables and pictures that the exercise pane can
// show. Lenient and safe on hostile bytes: one pass over the input with an explicit group stack of
// bounded depth, no recursion.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace rtf {

// Replaces the document's content with what could be read. Returns false, leaving the document
// unchanged, when the bytes do not begin with "{\rtf".
bool read(const QByteArray &bytes, QTextDocument *doc);

// Deepest group nesting whose state is kept; deeper groups are counted and share the state of
// the deepest kept one.
constexpr int kMaxGroupDepth = 512;

} // namespace rtf
