#include "output/clipcopy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace clipcopy {

void copy(const QImage &image)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear();
    if (!image.isNull())
        clipboard->setImage(image);
}

} // namespace clipcopy
