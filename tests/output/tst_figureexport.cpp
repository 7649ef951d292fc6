#include "output/figureexport.h"
#include "platform/figurepainter.h"
#include "tests/bench/paintscenes.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

class TestFigureExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void svgIsTheCanvas_data();
    void svgIsTheCanvas();
    void pdfPageOfTrueSize();
    void pngScales_data();
    void pngScales();
    void failedWriteKeepsNothing();
    void installationPrefix_data();
    void installationPrefix();
};

namespace {
const QString kTitle = QStringLiteral("Optalis - miroir.P17");

Canvas drawnScene(int scene)
{
    Canvas c(784, 265);
    drawPaintScene(c, paintScenes()[size_t(scene)]);
    return c;
}

// Where text is, give or take one pixel: glyphs are outlines in a file.
QRegion textArea(const DisplayList &list)
{
    QRegion area;
    for (const DisplayItem &it : list.items) {
        if (it.kind != DisplayItem::Text)
            continue;
        area += textBox(list, it).toAlignedRect().adjusted(-1, -1, 1, 1);
    }
    return area;
}

// Qt's SVG renderer smooths every slanting line, whatever the file asks: around their
// pixels only the figure's own colours are compared, not the exact shades.
QImage slantingPixels(const DisplayList &list)
{
    QImage mask(list.size, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (DisplayItem it : list.items) {
        if (it.kind != DisplayItem::Line || it.x1 == it.x2 || it.y1 == it.y2)
            continue;
        it.color = 0xffffff;
        figurepainter::rasterize(mask, it);
    }
    return mask;
}

bool nearSlanting(const QImage &mask, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (mask.valid(x + dx, y + dy) && (mask.pixel(x + dx, y + dy) & 0xffffff))
                return true;
    return false;
}
} // namespace

void TestFigureExport::svgIsTheCanvas_data()
{
    QTest::addColumn<int>("scene");
    for (size_t i = 0; i < paintScenes().size(); ++i)
        QTest::newRow(paintScenes()[i].name) << int(i);
}

void TestFigureExport::svgIsTheCanvas()
{
    QFETCH(int, scene);
    const Canvas c = drawnScene(scene);
    const QByteArray svg = figureexport::svg(c.displayList(), kTitle);
    QVERIFY(svg.contains("<title>" + kTitle.toUtf8() + "</title>"));
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(0, 0, 784, 265));
    // 207.4 mm wide: 784 units of 15 twips.
    QVERIFY(svg.contains("width=\"207.43"));
    QImage back(784, 265, QImage::Format_RGB32);
    back.fill(Qt::magenta);
    QPainter p(&back);
    renderer.render(&p, QRectF(0, 0, 784, 265));
    p.end();
    const QRegion text = textArea(c.displayList());
    const QImage slanting = slantingPixels(c.displayList());
    QString first;
    int exact = 0;
    for (int y = 0; y < 265 && first.isEmpty(); ++y)
        for (int x = 0; x < 784 && first.isEmpty(); ++x) {
            if (text.contains(QPoint(x, y)) || nearSlanting(slanting, x, y))
                continue;
            ++exact;
            if (back.pixel(x, y) != c.image().pixel(x, y))
                first = QStringLiteral("(%1, %2): %3 instead of %4")
                            .arg(x)
                            .arg(y)
                            .arg(back.pixel(x, y), 0, 16)
                            .arg(c.image().pixel(x, y), 0, 16);
        }
    QCOMPARE(first, QString());
    // Most of the figure is compared exactly: the background, the axes, the mirror, the beam.
    QVERIFY(exact > 784 * 265 * 3 / 4);
}

void TestFigureExport::pdfPageOfTrueSize()
{
    const Canvas c = drawnScene(0);
    const QByteArray pdf = figureexport::pdf(c.displayList(), kTitle);
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdf.count("/Type /Page\n"), 1);
    // 784 x 265 units at 15 twips, that is 3/4 of a point, each; a page is whole points.
    QVERIFY(QString::fromLatin1(pdf).contains(
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 588[.0]* 199[.0]*\\]"))));
    QVERIFY(!pdf.contains("/Subtype /Image"));
    // The title, as PDF writes text outside the page: UTF-16 after a byte order mark.
    QByteArray utf16("\xfe\xff", 2);
    for (QChar ch : kTitle)
        utf16 += char(ch.unicode() >> 8), utf16 += char(ch.unicode() & 0xff);
    QVERIFY(pdf.contains(utf16) || pdf.contains("(" + kTitle.toLatin1() + ")"));
}

void TestFigureExport::pngScales_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << int(figureexport::Format::Png1) << 1;
    QTest::newRow("2x") << int(figureexport::Format::Png2) << 2;
    QTest::newRow("4x") << int(figureexport::Format::Png4) << 4;
}

void TestFigureExport::pngScales()
{
    QFETCH(int, format);
    QFETCH(int, scale);
    const Canvas c = drawnScene(5);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("figure.png"));
    QVERIFY(figureexport::write(path, figureexport::Format(format), c.displayList(), kTitle));
    QImage image(path);
    QCOMPARE(image.size(), QSize(784, 265) * scale);
    if (scale == 1)
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), c.image());
    // The main axis, one unit high on the canvas, is `scale` rows high.
    const int axisRow = (kAxis - 4) * scale;
    const QRgb axis = c.image().pixel(100, kAxis - 4);
    QCOMPARE(image.pixel(100 * scale, axisRow - 1), c.image().pixel(100, kAxis - 5));
    for (int row = 0; row < scale; ++row)
        QCOMPARE(image.pixel(100 * scale, axisRow + row), axis);
    QCOMPARE(image.pixel(100 * scale, axisRow + scale), c.image().pixel(100, kAxis - 3));
}

void TestFigureExport::failedWriteKeepsNothing()
{
    const Canvas c = drawnScene(0);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("absent/figure.svg"));
    QVERIFY(!figureexport::write(path, figureexport::Format::Svg, c.displayList(), kTitle));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestFigureExport::installationPrefix_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("refused");
    QTest::newRow("installed: beside the program") << true << "usr/bin/figure.png" << true;
    QTest::newRow("installed: among the shipped files")
        << true << "usr/share/optalis/figure.svg" << true;
    QTest::newRow("installed: elsewhere in the prefix") << true << "usr/figure.pdf" << true;
    QTest::newRow("installed: a folder named like the prefix")
        << true << "usrx/figure.pdf" << false;
    QTest::newRow("installed: the user's folder") << true << "home/figure.pdf" << false;
    QTest::newRow("copied program: its own folder") << false << "usr/bin/figure.png" << false;
}

void TestFigureExport::installationPrefix()
{
    QFETCH(bool, installed);
    QFETCH(QString, file);
    QFETCH(bool, refused);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/bin")));
    if (installed)
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("usr/share/optalis")));
    QCOMPARE(
        figureexport::underPrefix(root.filePath(QStringLiteral("usr/bin")), root.filePath(file)),
        refused);
}

QTEST_MAIN(TestFigureExport)
#include "tst_figureexport.moc"
