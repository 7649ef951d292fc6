#include "paintscenes.h"
#include "platform/figurepainter.h"

#include <QPainter>
#include <QSet>
#include <QtTest>

class TestFigurePaint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void replayIsTheCanvas_data();
    void replayIsTheCanvas();
    void doubleRatioIsSharp_data();
    void doubleRatioIsSharp();
    void straightLinesAtDoubleRatio_data();
    void straightLinesAtDoubleRatio();
    void partOfALargerPicture();
    void imageRowsAreThePaintersPixels_data();
    void imageRowsAreThePaintersPixels();
    void projectionStyle_data();
    void projectionStyle();
    void enlargedLabelsStayWhole_data();
    void enlargedLabelsStayWhole();
    void enlargedLabelsKeepOffTheAxis_data();
    void enlargedLabelsKeepOffTheAxis();
    void enlargedSubscriptsStayBeside_data();
    void enlargedSubscriptsStayBeside();
};

namespace {
void addSceneRows()
{
    QTest::addColumn<int>("scene");
    for (size_t i = 0; i < paintScenes().size(); ++i)
        QTest::newRow(paintScenes()[i].name) << int(i);
}

Canvas drawnScene(int scene)
{
    Canvas c(784, 265);
    drawPaintScene(c, paintScenes()[size_t(scene)]);
    return c;
}

QString firstDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes differ");
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 0, 16)
                    .arg(b.pixel(x, y), 0, 16);
    return QString();
}
} // namespace

void TestFigurePaint::replayIsTheCanvas_data()
{
    addSceneRows();
}

void TestFigurePaint::replayIsTheCanvas()
{
    QFETCH(int, scene);
    const Canvas c = drawnScene(scene);
    QVERIFY(c.displayList().items.size() > 20);
    QCOMPARE(firstDifference(figurepainter::render(c.displayList(), 1), c.image()), QString());
}

// At ratio 2 nothing is blown up: the lines keep their colours at the device's resolution,
// only text may add the shades of its smoothing.
void TestFigurePaint::doubleRatioIsSharp_data()
{
    addSceneRows();
}

void TestFigurePaint::doubleRatioIsSharp()
{
    QFETCH(int, scene);
    const Canvas c = drawnScene(scene);
    const DisplayList &list = c.displayList();
    const QImage image = figurepainter::render(list, 2);
    QCOMPARE(image.size(), QSize(2 * 784, 2 * 265));
    QSet<QRgb> own {list.back | 0xff000000};
    QRegion text;
    for (const DisplayItem &it : list.items) {
        own.insert(it.color | 0xff000000);
        if (it.kind != DisplayItem::Text)
            continue;
        const QRect r = textBox(list, it).toAlignedRect().adjusted(-1, -1, 1, 1);
        text += QRect(r.topLeft() * 2, r.size() * 2);
    }
    int foreign = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!own.contains(image.pixel(x, y)) && !text.contains(QPoint(x, y)))
                ++foreign;
    QCOMPARE(foreign, 0);
}

// Lines along the axes and filled boxes light exactly the device pixels of their canvas
// pixels; dotted lines keep two units on, two off.
void TestFigurePaint::straightLinesAtDoubleRatio_data()
{
    QTest::addColumn<QLineF>("line");
    QTest::addColumn<bool>("dotted");
    QTest::addColumn<bool>("filled");
    QTest::newRow("horizontal ray") << QLineF(3, 5, 30, 5) << false << false;
    QTest::newRow("ray drawn leftwards") << QLineF(30, 7, 3, 7) << false << false;
    QTest::newRow("vertical mirror") << QLineF(12, 2, 12, 18) << false << false;
    QTest::newRow("dotted prolongation") << QLineF(2, 9, 29, 9) << true << false;
    QTest::newRow("dotted upwards") << QLineF(20, 18, 20, 1) << true << false;
    QTest::newRow("one point") << QLineF(8, 8, 8, 8) << false << false;
    QTest::newRow("cut by the edge") << QLineF(-7, 4, 15, 4) << true << false;
    QTest::newRow("filled box") << QLineF(4, 3, 9, 12) << false << true;
    QTest::newRow("outlined box") << QLineF(9, 12, 4, 3) << false << false;
}

void TestFigurePaint::straightLinesAtDoubleRatio()
{
    QFETCH(QLineF, line);
    QFETCH(bool, dotted);
    QFETCH(bool, filled);
    Canvas c(32, 20);
    c.setDrawStyle(dotted ? Canvas::Dot : Canvas::Solid);
    if (filled || QTest::currentDataTag() == QByteArray("outlined box"))
        c.box(line.x1(), line.y1(), line.x2(), line.y2(), 0xffff00, filled);
    else
        c.line(line.x1(), line.y1(), line.x2(), line.y2(), 0xffff00);
    QImage doubled = figurepainter::render(c.displayList(), 2);
    doubled.setDevicePixelRatio(1);
    const QImage expected = c.image().scaled(64, 40, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QCOMPARE(firstDifference(doubled, expected), QString());
}

// A figure painted into a part of a larger picture stays inside its own surface.
void TestFigurePaint::partOfALargerPicture()
{
    Canvas c(20, 10);
    c.setBackColor(0x0000ff);
    c.line(-50, 5, 50, 5, 0xffffff);
    QImage page(40, 30, QImage::Format_RGB32);
    page.fill(Qt::black);
    QPainter p(&page);
    p.translate(10, 10);
    figurepainter::paint(p, c.displayList());
    p.end();
    QCOMPARE(page.pixel(9, 15) & 0xffffff, 0u);
    QCOMPARE(page.pixel(10, 15) & 0xffffff, 0xffffffu);
    QCOMPARE(page.pixel(29, 15) & 0xffffff, 0xffffffu);
    QCOMPARE(page.pixel(30, 15) & 0xffffff, 0u);
    QCOMPARE(page.pixel(10, 10) & 0xffffff, 0x0000ffu);
}

// On an image, whole-pixel rectangles are written straight into its rows: the same pixels as
// the painter fills where it cannot (a clip already set, here).
void TestFigurePaint::imageRowsAreThePaintersPixels_data()
{
    QTest::addColumn<int>("scene");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<double>("textScale");
    for (size_t i = 0; i < paintScenes().size(); ++i) {
        QTest::addRow("%s, ratio 2", paintScenes()[i].name) << int(i) << 2.0 << 1 << 1.0;
        QTest::addRow("%s, ratio 2, projection", paintScenes()[i].name)
            << int(i) << 2.0 << 2 << 1.5;
        QTest::addRow("%s, ratio 3, full screen", paintScenes()[i].name)
            << int(i) << 3.0 << 3 << 2.0;
    }
}

void TestFigurePaint::imageRowsAreThePaintersPixels()
{
    QFETCH(int, scene);
    QFETCH(double, ratio);
    QFETCH(int, lineWidth);
    QFETCH(double, textScale);
    const Canvas c = drawnScene(scene);
    const DisplayList &list = c.displayList();
    const figurepainter::Style style {lineWidth, textScale};
    QImage reused(5, 5, QImage::Format_RGB32); // another size: made again
    figurepainter::render(reused, list, ratio, style);
    const QImage direct = figurepainter::render(list, ratio, style);
    QImage painted(direct.size(), QImage::Format_RGB32);
    painted.setDevicePixelRatio(ratio);
    QPainter p(&painted);
    p.setClipRect(QRectF(QPointF(0, 0), QSizeF(list.size)));
    figurepainter::paint(p, list, style);
    p.end();
    QCOMPARE(firstDifference(direct, painted), QString());
    QCOMPARE(firstDifference(reused, painted), QString());
}

// For a projector: lines 2 or 3 units wide around the unit one, labels 1.5 or 2 times
// larger around the same centre.
void TestFigurePaint::projectionStyle_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("textScale");
    QTest::newRow("plain") << 1 << 1.0;
    QTest::newRow("2 units, labels 1.5 times") << 2 << 1.5;
    QTest::newRow("3 units, labels twice") << 3 << 2.0;
}

void TestFigurePaint::projectionStyle()
{
    QFETCH(int, width);
    QFETCH(double, textScale);
    Canvas c(200, 100);
    c.line(10, 50, 190, 50, 0xffff00);
    c.line(100, 5, 100, 40, 0xffffff);
    c.setForeColor(0x00ffff);
    c.currentX = 20;
    c.currentY = 70;
    c.print(QStringLiteral("A'"));
    const DisplayList &list = c.displayList();
    const QImage image = figurepainter::render(list, 1, {width, textScale});
    const auto rows = [&](int x) {
        int n = 0;
        for (int y = 0; y < 60; ++y)
            n += (image.pixel(x, y) & 0xffffff) == 0xffff00;
        return n;
    };
    QCOMPARE(rows(60), width);
    int columns = 0;
    for (int x = 80; x < 120; ++x)
        columns += (image.pixel(x, 20) & 0xffffff) == 0xffffff;
    QCOMPARE(columns, width);
    // The label's inked height grows with the scale.
    const QRectF before = textBox(list, list.items.back());
    int top = 100, bottom = -1;
    for (int y = 55; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if ((image.pixel(x, y) & 0xffffff) == 0x00ffff) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    QVERIFY(bottom >= top);
    const int inked = bottom - top + 1;
    QVERIFY2(inked >= before.height() * 0.5 * textScale && inked <= before.height() * textScale,
             qPrintable(QString::number(inked)));
}

// A point's label at the surface's edge stays whole when enlarged; one off the surface (an
// image far away) stays off.
void TestFigurePaint::enlargedLabelsStayWhole_data()
{
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<bool>("shown");
    QTest::newRow("left edge") << QPointF(0, 50) << true;
    QTest::newRow("right edge") << QPointF(188, 50) << true;
    QTest::newRow("top edge") << QPointF(90, 0) << true;
    QTest::newRow("bottom edge") << QPointF(90, 88) << true;
    QTest::newRow("far off the surface") << QPointF(5000, 50) << false;
}

void TestFigurePaint::enlargedLabelsStayWhole()
{
    QFETCH(QPointF, at);
    QFETCH(bool, shown);
    const auto ink = [](QPointF place) {
        Canvas c(200, 100);
        c.setForeColor(0x00ffff);
        c.currentX = place.x();
        c.currentY = place.y();
        c.print(QStringLiteral("B'"));
        const QImage image = figurepainter::render(c.displayList(), 1, {3, 2.0});
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xffffff) == 0x00ffff;
        return n;
    };
    const int whole = ink(QPointF(90, 40));
    QVERIFY(whole > 0);
    // Placed on other fractions of a pixel, the smoothed glyphs ink a few pixels more or less.
    const int inked = ink(at);
    QVERIFY2(shown ? std::abs(inked - whole) <= whole / 10 : inked == 0,
             qPrintable(QStringLiteral("%1 of %2").arg(inked).arg(whole)));
}

// The label of a point on the axis, just under or over it, grows away from it: the thicker
// axis does not cross the larger letter, which stays as close to it.
void TestFigurePaint::enlargedLabelsKeepOffTheAxis_data()
{
    QTest::addColumn<int>("labelTop"); // the axis is at 50
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<double>("textScale");
    QTest::newRow("under, 1.5 times") << 54 << 2 << 1.5;
    QTest::newRow("under, twice") << 54 << 3 << 2.0;
    QTest::newRow("over, twice") << 34 << 3 << 2.0;
}

void TestFigurePaint::enlargedLabelsKeepOffTheAxis()
{
    QFETCH(int, labelTop);
    QFETCH(int, lineWidth);
    QFETCH(double, textScale);
    const auto inkRows = [&](const figurepainter::Style &style) {
        Canvas c(200, 100);
        c.line(0, 50, 199, 50, 0xffffff);
        c.setForeColor(0x00ffff);
        c.currentX = 90;
        c.currentY = labelTop;
        c.print(QStringLiteral("C"));
        const QImage image = figurepainter::render(c.displayList(), 1, style);
        int top = 100, bottom = -1;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                if ((image.pixel(x, y) & 0xffffff) == 0x00ffff) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return std::make_pair(top, bottom);
    };
    const auto plain = inkRows({});
    const auto grown = inkRows({lineWidth, textScale});
    const int half = lineWidth / 2; // rows of the axis on each side of its own
    // The gap between the axis and the ink does not shrink, and grows no more than the letter.
    const bool under = labelTop > 50;
    const int plainGap = under ? plain.first - 50 : 50 - plain.second;
    const int grownGap = under ? grown.first - 50 : 50 - grown.second;
    QVERIFY2(grownGap >= plainGap && grownGap <= plainGap * textScale + half + 1,
             qPrintable(QStringLiteral("%1 rows, %2 before").arg(grownGap).arg(plainGap)));
}

// A letter and its subscript digit grow together: the larger letter does not cover its digit.
void TestFigurePaint::enlargedSubscriptsStayBeside_data()
{
    QTest::addColumn<double>("textScale");
    QTest::newRow("1.5 times") << 1.5;
    QTest::newRow("twice") << 2.0;
}

void TestFigurePaint::enlargedSubscriptsStayBeside()
{
    QFETCH(double, textScale);
    Canvas c(200, 100);
    c.currentX = 80;
    c.currentY = 40;
    c.setForeColor(0x00ffff);
    c.print(QStringLiteral("F"), false);
    c.currentY += 4;
    c.setForeColor(0xff00ff);
    c.print(QStringLiteral("2"), false);
    const QImage image = figurepainter::render(c.displayList(), 1, {3, textScale});
    int letterRight = -1, digitLeft = 200;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = image.pixel(x, y) & 0xffffff;
            if (p == 0x00ffff)
                letterRight = std::max(letterRight, x);
            if (p == 0xff00ff)
                digitLeft = std::min(digitLeft, x);
        }
    QVERIFY(letterRight >= 0 && digitLeft < 200);
    QVERIFY2(letterRight < digitLeft,
             qPrintable(QStringLiteral("%1 %2").arg(letterRight).arg(digitLeft)));
}

QTEST_MAIN(TestFigurePaint)
#include "tst_figurepaint.moc"
