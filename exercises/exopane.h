// Putting a text file into the exercise pane and printing the pane.
#pragma once

#include <QString>

class QPrinter;
class QTextEdit;

namespace exopane {

// Replaces the pane's text by the RTF file at `path`; false, with the pane untouched, when
// `path` is no readable file.
bool load(QTextEdit *pane, const QString &path);
// Writes the pane as RTF in one step: beside the target, then renamed over it, so that a failed
// save leaves the previous file as it was.
bool save(const QTextEdit *pane, const QString &path);
// Prints the selected part when there is one, else the whole text.
void print(const QTextEdit *pane, QPrinter *printer);

} // namespace exopane
