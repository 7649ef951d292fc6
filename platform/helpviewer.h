// The help window: the program's help file with its contents, index and search.
#pragma once

#include <QString>

class QWidget;

namespace helpviewer {

// Opens the help beside the program without waiting for it. The help file named by the
// program ("….hlp") is read from the HTML file of the same name next to it. A missing file is
// reported by the help window itself; the program goes on.
void showFinder(QWidget *parent, const QString &helpFile);

} // namespace helpviewer
