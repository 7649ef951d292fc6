#include "exercises/exopane.h"

#include "richtext/richtext.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTextEdit>

namespace exopane {

bool load(QTextEdit *pane, const QString &path)
{
    // A folder (a blank name resolves to one) is no text, even where it opens as a file.
    if (!QFileInfo(path).isFile())
        return false;
    return richtext::loadFile(path, pane->document());
}

bool save(const QTextEdit *pane, const QString &path)
{
    return richtext::saveFile(path, pane->document());
}

void print(const QTextEdit *pane, QPrinter *printer)
{
    richtext::print(pane, printer);
}

} // namespace exopane
