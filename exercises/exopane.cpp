#include "exercises/exopane.h"

#include "platform/richtext.h"

#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>
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
    const QByteArray bytes = richtext::writeRtf(pane->document());
    QSaveFile file(path);
    // A full disk may take part of the text without an error: only a whole write counts.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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
    printed(pane)->print(printer);
}

} // namespace exopane
