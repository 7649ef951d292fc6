#include "output/clipcopy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace clipcopy {

void copy(const QImage &image, const QByteArray &svg)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear();
    if (image.isNull())
        return;
    auto *data = new QMimeData;
    data->setImageData(image);
    if (!svg.isEmpty())
        data->setData(QStringLiteral("image/svg+xml"), svg);
    clipboard->setMimeData(data);
}

} // namespace clipcopy
