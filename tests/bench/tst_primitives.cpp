#include "bench/primitives.h"
#include "platform/canvas.h"

#include <QtTest>

class TestPrimitives : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void droiteLines_data();
    void droiteLines();
    void arrowGeometry_data();
    void arrowGeometry();
    void segmentWithoutArrow();
    void styleRestoredAfterDottedSegment();
};

void TestPrimitives::droiteLines_data()
{
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("y1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<double>("y2");
    QTest::addColumn<double>("slope");
    QTest::addColumn<double>("intercept");
    QTest::newRow("through origin") << 0.0 << 0.0 << 2.0 << 1.0 << 0.5 << 0.0;
    QTest::newRow("falling") << 0.0 << 3.0 << 60.0 << -1.5 << -0.075 << 3.0;
    QTest::newRow("vertical gives the large slope")
        << 5.0 << 2.0 << 5.0 << 8.0 << 1000000.0 << 2.0 - 5.0 * 1000000.0;
    QTest::newRow("same point is vertical too")
        << 1.0 << 1.0 << 1.0 << 1.0 << 1000000.0 << 1.0 - 1000000.0;
}

void TestPrimitives::droiteLines()
{
    QFETCH(double, x1);
    QFETCH(double, y1);
    QFETCH(double, x2);
    QFETCH(double, y2);
    double a = 0, b = 0;
    droite(x1, y1, x2, y2, a, b);
    QFETCH(double, slope);
    QFETCH(double, intercept);
    QCOMPARE(a, slope);
    QCOMPARE(b, intercept);
}

// Barb end points of the arrow drawn on a segment, in canvas units.
void TestPrimitives::arrowGeometry_data()
{
    QTest::addColumn<QList<int>>("segment"); // xdep, ydep, xarr, yarr
    QTest::addColumn<double>("placerapp");
    QTest::addColumn<QPointF>("tip");
    QTest::addColumn<QPointF>("barb1");
    QTest::addColumn<QPointF>("barb2");
    QTest::newRow("vertical going up: barbs 10 below the tip")
        << QList<int> {50, 100, 50, 0} << 0.5 << QPointF(50, 50) << QPointF(55, 60)
        << QPointF(45, 60);
    QTest::newRow("vertical going down: barbs 10 above the tip")
        << QList<int> {50, 0, 50, 100} << 0.5 << QPointF(50, 50) << QPointF(55, 40)
        << QPointF(45, 40);
    QTest::newRow("horizontal going left: barbs right of the tip")
        << QList<int> {100, 20, 0, 20} << 0.4 << QPointF(60, 20) << QPointF(70, 15)
        << QPointF(70, 25);
    QTest::newRow("horizontal going right: barbs left of the tip")
        << QList<int> {0, 20, 100, 20} << 0.4 << QPointF(40, 20) << QPointF(30, 15)
        << QPointF(30, 25);
    QTest::newRow("short segment still gets a full arrowhead")
        << QList<int> {0, 0, 4, 0} << 0.5 << QPointF(2, 0) << QPointF(-8, -5) << QPointF(-8, 5);
    QTest::newRow("diagonal down-right")
        << QList<int> {0, 0, 100, 100} << 0.5 << QPointF(50, 50)
        << QPointF(50 - 7.0710678 + 3.5355339, 50 - 7.0710678 - 3.5355339)
        << QPointF(50 - 7.0710678 - 3.5355339, 50 - 7.0710678 + 3.5355339);
}

void TestPrimitives::arrowGeometry()
{
    QFETCH(QList<int>, segment);
    QFETCH(double, placerapp);
    QFETCH(QPointF, tip);
    QFETCH(QPointF, barb1);
    QFETCH(QPointF, barb2);
    Canvas c(200, 200);
    c.setRecording(true);
    tracerayon(c, qRgb(255, 255, 200), segment[0], segment[1], segment[2], segment[3],
               Canvas::Solid, placerapp);
    QCOMPARE(int(c.ops().size()), 3);
    const auto &b1 = c.ops()[0];
    const auto &b2 = c.ops()[1];
    const auto &seg = c.ops()[2];
    QCOMPARE(QPointF(b1.x1, b1.y1), tip);
    QCOMPARE(QPointF(b2.x1, b2.y1), tip);
    QVERIFY(qAbs(b1.x2 - barb1.x()) < 1e-6 && qAbs(b1.y2 - barb1.y()) < 1e-6);
    QVERIFY(qAbs(b2.x2 - barb2.x()) < 1e-6 && qAbs(b2.y2 - barb2.y()) < 1e-6);
    QCOMPARE(QPointF(seg.x1, seg.y1), QPointF(segment[0], segment[1]));
    QCOMPARE(QPointF(seg.x2, seg.y2), QPointF(segment[2], segment[3]));
}

void TestPrimitives::segmentWithoutArrow()
{
    Canvas c(100, 100);
    c.setRecording(true);
    tracerayon(c, qRgb(1, 2, 3), 0, 0, 50, 20, Canvas::Solid, 0);
    QCOMPARE(int(c.ops().size()), 1);
    QCOMPARE(c.ops()[0].kind, Canvas::Op::Line);
    QCOMPARE(c.ops()[0].color, QRgb(qRgb(1, 2, 3) & 0xffffff));
}

void TestPrimitives::styleRestoredAfterDottedSegment()
{
    Canvas c(100, 100);
    c.setRecording(true);
    tracerayon(c, qRgb(9, 9, 9), 0, 50, 90, 50, Canvas::Dot, 0.5);
    QCOMPARE(c.drawStyle(), int(Canvas::Solid));
    for (const auto &op : c.ops())
        QCOMPARE(op.style, int(Canvas::Dot)); // the arrowhead takes the segment's style
}

QTEST_MAIN(TestPrimitives)
#include "tst_primitives.moc"
