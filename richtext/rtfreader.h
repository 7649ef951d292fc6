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

// Most group states kept at once; a group only gets its own once it changes something, so real
// files of thousands of levels stay well within it. Past it groups share the deepest kept state.
constexpr int kMaxGroupDepth = 65536;

} // namespace rtf
