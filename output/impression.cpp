#include "output/impression.h"

#include "platform/figurepainter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

namespace impression {
namespace {

    // Gives the printer back the settings the job changes, however the job ends.
    class KeptSettings
    {
    public:
        explicit KeptSettings(QPrinter &printer)
            : printer(printer)
            , orientation(printer.pageLayout().orientation())
            , copies(printer.copyCount())
        {
        }
        ~KeptSettings()
        {
            printer.setPageOrientation(orientation);
            printer.setCopyCount(copies);
        }
        KeptSettings(const KeptSettings &) = delete;
        KeptSettings &operator=(const KeptSettings &) = delete;

    private:
        QPrinter &printer;
        QPageLayout::Orientation orientation;
        int copies;
    };

    void printPage(QPainter &p, QPrinter &printer, const DisplayList &figure, const Job &job)
    {
        // Device units per twip.
        const double sx = printer.logicalDpiX() / kTwipsPerInch;
        const double sy = printer.logicalDpiY() / kTwipsPerInch;
        QFont title(QStringLiteral("Arial"));
        title.setPointSizeF(12);
        title.setBold(true);
        p.setFont(title);
        // The title's top-left corner is the page's; an empty title is an empty line.
        if (!job.title.isEmpty())
            p.drawText(QPointF(0, QFontMetricsF(title, &printer).ascent()), job.title);
        const QSizeF page(printer.width() / sx, printer.height() / sy);
        const QRectF place = picturePlace(page, figure.size, job.centreH, job.centreV);
        p.save();
        p.translate(place.x() * sx, place.y() * sy);
        p.scale(kTwipsPerPixel * sx, kTwipsPerPixel * sy);
        figurepainter::paint(p, figure);
        p.restore();
    }

} // namespace

QRectF picturePlace(const QSizeF &pageTwips, const QSize &canvasPixels, bool centreH, bool centreV)
{
    const double w = canvasPixels.width() * kTwipsPerPixel;
    const double h = canvasPixels.height() * kTwipsPerPixel;
    const double x = centreH ? (pageTwips.width() - w) / 2 : pageTwips.width() / 10;
    const double y = centreV ? (pageTwips.height() - h) / 2 : pageTwips.height() / 20;
    return QRectF(x, y, w, h);
}

Result print(QPrinter &printer, const DisplayList &figure, const Job &job)
{
    const KeptSettings kept(printer);
    // The copies are pages of the job, not copies made by the print system.
    printer.setCopyCount(1);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter p;
    if (!p.begin(&printer))
        return Result::Failed;
    for (int i = 1; i <= job.copies; ++i) {
        printPage(p, printer, figure, job);
        if (i < job.copies && !printer.newPage()) {
            printer.abort();
            p.end();
            return Result::Failed;
        }
    }
    if (!p.end() || printer.printerState() == QPrinter::Error
        || printer.printerState() == QPrinter::Aborted)
        return Result::Failed;
    return Result::Printed;
}

bool usable(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return printer.isValid() && !printer.printerName().isEmpty();
}

QString deviceName(const QPrinter &printer)
{
    if (!usable(printer))
        return QStringLiteral("Aucune imprimante");
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("Fichier PDF %1").arg(QFileInfo(printer.outputFileName()).fileName());
    return printer.printerName();
}

} // namespace impression
