#include "richtext/richpane.h"

#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>

namespace {

// Local files that are all pictures; empty when any of them is not.
QList<QImage> droppedPictures(const QMimeData *source)
{
    QList<QImage> pictures;
    if (!source->hasUrls())
        return pictures;
    for (const QUrl &url : source->urls()) {
        if (!url.isLocalFile() || QImageReader::imageFormat(url.toLocalFile()).isEmpty())
            return {};
        const QImage picture(url.toLocalFile());
        if (picture.isNull())
            return {};
        pictures.append(picture);
    }
    return pictures;
}

} // namespace

RichPane::RichPane(QWidget *parent)
    : QTextEdit(parent)
{
}

void RichPane::insertPicture(const QImage &picture)
{
    if (picture.isNull())
        return;
    // A name the document does not hold yet: a text read from a file names its own pictures.
    QUrl name;
    for (int n = 1;; ++n) {
        name = QUrl(QStringLiteral("collage:%1").arg(n));
        if (document()->resource(QTextDocument::ImageResource, name).isNull())
            break;
    }
    document()->addResource(QTextDocument::ImageResource, name, picture);
    QTextImageFormat format;
    format.setName(name.toString());
    // Room left beside a vertical scroll bar, which a long answer shows sooner or later.
    const double room = contentsRect().width() - verticalScrollBar()->sizeHint().width()
        - 2 * document()->documentMargin();
    const double width = room > 16 ? std::min<double>(picture.width(), room) : picture.width();
    format.setWidth(width);
    format.setHeight(picture.height() * width / picture.width());
    textCursor().insertImage(format);
}

bool RichPane::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasImage() || !droppedPictures(source).isEmpty()
        || QTextEdit::canInsertFromMimeData(source);
}

void RichPane::insertFromMimeData(const QMimeData *source)
{
    // A statement shown read-only stays as it is, whatever reaches it.
    if (isReadOnly())
        return;
    if (source->hasImage()) {
        const QImage picture = qvariant_cast<QImage>(source->imageData());
        if (!picture.isNull()) {
            insertPicture(picture);
            return;
        }
    }
    const QList<QImage> pictures = droppedPictures(source);
    if (pictures.isEmpty()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // One step to undo.
    QTextCursor group = textCursor();
    group.beginEditBlock();
    for (const QImage &picture : pictures)
        insertPicture(picture);
    group.endEditBlock();
}
