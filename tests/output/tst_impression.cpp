#include "output/impression.h"
#include "platform/canvas.h"
#include "recordingprinter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A white figure with a horizontal and a slanting ray.
DisplayList figure(int height)
{
    Canvas c(784, height);
    c.setBackColor(0xffffff);
    c.line(0, 131, 764, 131, 0x000000);
    c.line(0, 100, 764, 150, 0x0000ff);
    return c.displayList();
}

// The twips of a job on the recording printer, in its device pixels.
QRectF toDevice(const QRectF &twips)
{
    const double s = RecordingEngine::kDpi / 1440.0;
    return QRectF(twips.x() * s, twips.y() * s, twips.width() * s, twips.height() * s);
}

} // namespace

class TestImpression : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void picturePlace_data();
    void picturePlace();
    void pages_data();
    void pages();
    void orientationGivenBack_data();
    void orientationGivenBack();
    void failures_data();
    void failures();
    void pdfJob();
    void pdfInAMissingFolder();
    void printerNames();
};

void TestImpression::picturePlace_data()
{
    QTest::addColumn<bool>("centreH");
    QTest::addColumn<bool>("centreV");
    QTest::addColumn<int>("canvasHeight");
    QTest::addColumn<QRectF>("expected");
    // A page of 15000 x 10000 twips; a 784-pixel canvas is 11760 twips wide.
    QTest::newRow("no box: a tenth and a twentieth of the page")
        << false << false << 265 << QRectF(1500, 500, 11760, 3975);
    QTest::newRow("both boxes: centred")
        << true << true << 265 << QRectF(1620, 3012.5, 11760, 3975);
    QTest::newRow("horizontal only") << true << false << 265 << QRectF(1620, 500, 11760, 3975);
    QTest::newRow("vertical only, enlarged canvas")
        << false << true << 501 << QRectF(1500, 1242.5, 11760, 7515);
}

void TestImpression::picturePlace()
{
    QFETCH(bool, centreH);
    QFETCH(bool, centreV);
    QFETCH(int, canvasHeight);
    QFETCH(QRectF, expected);
    QCOMPARE(
        impression::picturePlace(QSizeF(15000, 10000), QSize(784, canvasHeight), centreH, centreV),
        expected);
}

void TestImpression::pages_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("centred");
    QTest::newRow("three copies centred") << QStringLiteral("Lumivera - Optalis") << 3 << true;
    QTest::newRow("one copy with no box") << QStringLiteral("Lumivera - Optalis") << 1 << false;
    QTest::newRow("empty title") << QString() << 1 << false;
}

void TestImpression::pages()
{
    QFETCH(QString, title);
    QFETCH(int, copies);
    QFETCH(bool, centred);
    RecordingPrinter printer;
    const RecordingEngine &e = printer.engine;
    impression::Job job {title, copies, centred, centred};
    QCOMPARE(impression::print(printer, figure(265), job), impression::Result::Printed);

    QCOMPARE(e.jobs, 1);
    QCOMPARE(e.pages, copies);
    // Vectors, not a picture: the background, the horizontal ray as an area, the slanting one
    // as a stroke, on every page.
    QVERIFY(e.pictures.empty());
    QCOMPARE(int(e.shapes.size()), 3 * copies);
    const auto backgrounds = e.backgrounds();
    QCOMPARE(int(backgrounds.size()), copies);
    QCOMPARE(int(e.texts.size()), title.isEmpty() ? 0 : copies);
    const QRectF place = impression::picturePlace(e.pageTwips(), QSize(784, 265), centred, centred);
    for (int i = 0; i < copies; ++i) {
        const auto &background = backgrounds[size_t(i)];
        QCOMPARE(background.page, i + 1);
        QCOMPARE(background.orientation, QPageLayout::Landscape);
        QCOMPARE(background.bounds, toDevice(place));
        const auto &slanting = e.shapes[size_t(3 * i + 2)];
        QVERIFY(!slanting.filled);
        QCOMPARE(slanting.color, qRgb(0, 0, 255));
        QVERIFY(toDevice(place).contains(slanting.bounds));
    }
    // The figure's place does not hang on the title.
    const QSizeF page = e.pageTwips();
    const QPointF corner = centred ? QPointF((page.width() - 11760) / 2, (page.height() - 3975) / 2)
                                   : QPointF(page.width() / 10, page.height() / 20);
    QCOMPARE(place.topLeft(), corner);
    for (const auto &t : e.texts) {
        QCOMPARE(t.text, title);
        QCOMPARE(t.font.family(), QStringLiteral("Arial"));
        QCOMPARE(t.font.pointSizeF(), 12.0);
        QVERIFY(t.font.bold());
        // The top-left corner of the title is the page's.
        QCOMPARE(t.baseline.x(), 0.0);
        QCOMPARE(t.baseline.y(), QFontMetricsF(t.font, &printer).ascent());
    }
    QCOMPARE(printer.copyCount(), 1);
}

void TestImpression::orientationGivenBack_data()
{
    QTest::addColumn<QPageLayout::Orientation>("before");
    QTest::newRow("portrait printer") << QPageLayout::Portrait;
    QTest::newRow("landscape printer") << QPageLayout::Landscape;
}

void TestImpression::orientationGivenBack()
{
    QFETCH(QPageLayout::Orientation, before);
    RecordingPrinter printer;
    printer.setPageOrientation(before);
    printer.setCopyCount(2);
    impression::print(printer, figure(501), {QStringLiteral("T"), 2, false, false});
    QCOMPARE(printer.engine.shapes.back().orientation, QPageLayout::Landscape);
    QCOMPARE(printer.pageLayout().orientation(), before);
    // Copies made by the print system would multiply the pages.
    QCOMPARE(printer.copyCount(), 2);
    QCOMPARE(printer.engine.pages, 2);
}

void TestImpression::failures_data()
{
    QTest::addColumn<bool>("failBegin");
    QTest::addColumn<bool>("failNewPage");
    QTest::addColumn<int>("pictures");
    QTest::newRow("printer refuses the job") << true << false << 0;
    QTest::newRow("job fails after the first page") << false << true << 1;
}

void TestImpression::failures()
{
    QFETCH(bool, failBegin);
    QFETCH(bool, failNewPage);
    QFETCH(int, pictures);
    if (failBegin)
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    RecordingPrinter printer;
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.engine.failBegin = failBegin;
    printer.engine.failNewPage = failNewPage;
    QCOMPARE(impression::print(printer, figure(265), {QStringLiteral("T"), 3, true, true}),
             impression::Result::Failed);
    QCOMPARE(int(printer.engine.backgrounds().size()), pictures);
    QCOMPARE(printer.engine.aborted, failNewPage);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

void TestImpression::pdfJob()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("figure.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QCOMPARE(impression::print(printer, figure(265), {QStringLiteral("Titre"), 3, true, true}),
             impression::Result::Printed);
    QFile f(printer.outputFileName());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(f.readAll());
    // One document, three landscape A4 pages.
    QCOMPARE(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 3);
    QCOMPARE(pdf.count(QRegularExpression(QStringLiteral("/MediaBox \\[0 0 842[.0]* 595[.0]*\\]"))),
             3);
    // The figure's thin lines are vectors: no photograph of them at all.
    QVERIFY(!pdf.contains(QStringLiteral("/DCTDecode")));
    QVERIFY(!pdf.contains(QStringLiteral("/Subtype /Image")));
}

void TestImpression::pdfInAMissingFolder()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("absent/figure.pdf")));
    printer.setPageOrientation(QPageLayout::Portrait);
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QCOMPARE(impression::print(printer, figure(265), {QStringLiteral("Titre"), 1, false, false}),
             impression::Result::Failed);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

void TestImpression::printerNames()
{
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    QVERIFY(!impression::usable(printer));
    QCOMPARE(impression::deviceName(printer), QStringLiteral("Aucune imprimante"));
    printer.setOutputFileName(dir.filePath(QStringLiteral("figure.pdf")));
    QVERIFY(impression::usable(printer));
    QCOMPARE(impression::deviceName(printer), QStringLiteral("Fichier PDF figure.pdf"));
}

QTEST_MAIN(TestImpression)
#include "tst_impression.moc"
