#include "output/figureexport.h"

#include "platform/figurepainter.h"
#include "platform/paths.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace figureexport {
namespace {
    // Printing's scale: 15 twips, that is 3/4 of a point, per canvas unit.
    constexpr double kPointsPerUnit = 15.0 / 20.0;
    constexpr int kPdfDpi = 1200;
} // namespace

QByteArray png(const DisplayList &list, int scale)
{
    QImage image = figurepainter::render(list, scale);
    image.setDevicePixelRatio(1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray svg(const DisplayList &list, const QString &title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(list.size);
    generator.setViewBox(QRect(QPoint(0, 0), list.size));
    // At 96 dots per inch the drawing has its true size, as printed.
    generator.setResolution(96);
    generator.setTitle(title);
    QPainter p;
    if (!p.begin(&generator))
        return QByteArray();
    figurepainter::paint(p, list);
    p.end();
    return bytes;
}

QByteArray pdf(const DisplayList &list, const QString &title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Optalis"));
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(list.size) * kPointsPerUnit, QPageSize::Point,
                                               QString(), QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF()));
    QPainter p;
    if (!p.begin(&writer))
        return QByteArray();
    const double scale = kPdfDpi * kPointsPerUnit / 72.0;
    p.scale(scale, scale);
    figurepainter::paint(p, list);
    p.end();
    return bytes;
}

QByteArray encode(Format format, const DisplayList &list, const QString &title)
{
    switch (format) {
    case Format::Png1:
        return png(list, 1);
    case Format::Png2:
        return png(list, 2);
    case Format::Png4:
        return png(list, 4);
    case Format::Svg:
        return svg(list, title);
    case Format::Pdf:
        return pdf(list, title);
    }
    return QByteArray();
}

bool write(const QString &path, Format format, const DisplayList &list, const QString &title)
{
    const QByteArray bytes = encode(format, list, title);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QStringList filters()
{
    return {QStringLiteral("Image PNG (*.png)"), QStringLiteral("Image PNG, taille double (*.png)"),
            QStringLiteral("Image PNG, taille quadruple (*.png)"),
            QStringLiteral("Dessin vectoriel SVG (*.svg)"), QStringLiteral("Document PDF (*.pdf)")};
}

QString suffix(Format format)
{
    switch (format) {
    case Format::Svg:
        return QStringLiteral("svg");
    case Format::Pdf:
        return QStringLiteral("pdf");
    default:
        return QStringLiteral("png");
    }
}

QString proposedName(const QString &configFile, Format format)
{
    // A configuration saved under Windows keeps its backslashes in the record.
    QString base = QFileInfo(QString(configFile).replace(QLatin1Char('\\'), QLatin1Char('/')))
                       .completeBaseName();
    if (base.trimmed().isEmpty())
        base = QStringLiteral("figure");
    return base + QLatin1Char('.') + suffix(format);
}

bool underPrefix(const QString &programDir, const QString &path)
{
    if (!paths::isInstalled(programDir))
        return false;
    const QString prefix
        = QDir::cleanPath(QFileInfo(programDir + QStringLiteral("/..")).absoluteFilePath());
    const QString here = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return here.startsWith(prefix + QLatin1Char('/'));
}

} // namespace figureexport
