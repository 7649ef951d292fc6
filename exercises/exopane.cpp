#include "exercises/exopane.h"

#include "platform/richtext.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocumentFragment>
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

std::unique_ptr<QTextDocument> printed(const QTextEdit *pane)
{
    const QTextCursor cursor = pane->textCursor();
    if (!cursor.hasSelection())
        return std::unique_ptr<QTextDocument>(pane->document()->clone());
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(pane->document()->defaultFont());
    QTextCursor(doc.get()).insertFragment(cursor.selection());
    return doc;
}

void print(const QTextEdit *pane, QPrinter *printer)
{
    richtext::print(pane, printer);
}

} // namespace exopane
