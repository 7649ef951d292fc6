#include "bench/gradu.h"
#include "platform/canvas.h"

#include <QtTest>

class TestGradu : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mainAxis_data();
    void mainAxis();
    void secondAxis();
    void narrowCanvas_data();
    void narrowCanvas();
    void labelColours_data();
    void labelColours();
};

namespace {
struct Drawn
{
    QStringList majorLabels;
    int majorTicks = 0;
    int minorTicks = 0;
    double lastMajorX = -1;
    QString note;
    QList<QRgb> textColours;
};

Drawn run(const GraduOptions &o, int xo2 = 400, int width = 784)
{
    Canvas c(width, 265);
    c.setScaleLeft(-10);
    c.setScaleTop(4);
    c.setRecording(true);
    gradu(c, qRgb(255, 255, 255), xo2, o);
    Drawn d;
    for (const auto &op : c.ops()) {
        if (op.kind == Canvas::Op::Line && op.y1 == 130 && op.y2 == 141) {
            ++d.majorTicks;
            d.lastMajorX = op.x1;
        } else if (op.kind == Canvas::Op::Line && op.y1 == 133 && op.y2 == 138) {
            ++d.minorTicks;
        } else if (op.kind == Canvas::Op::Text) {
            d.textColours.append(op.color);
            if (op.y1 == 118)
                d.majorLabels.append(op.text);
            else if (op.text.contains(QLatin1String("gradu")))
                d.note = op.text;
        }
    }
    return d;
}
} // namespace

void TestGradu::mainAxis_data()
{
    QTest::addColumn<int>("longaxe");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("note");
    const QString cm = QStringLiteral("L'axe optique est gradué en cm.");
    const QString m = QStringLiteral("L'axe optique est gradué en m.");
    QStringList every10;
    for (int v = 0; v <= 200; v += 10)
        every10 << QString::number(v);
    QTest::newRow("60 cm") << 60 << QStringList {"0", "10", "20", "30", "40", "50", "60"} << cm;
    QTest::newRow("90 cm") << 90 << QStringList {"0",  "10", "20", "30", "40",
                                                 "50", "60", "70", "80", "90"}
                           << cm;
    QTest::newRow("200 cm, still in cm") << 200 << every10 << cm;
    QTest::newRow("3 m") << 300 << QStringList {"0", "1", "2", "3"} << m;
    QTest::newRow("10 m") << 1000
                          << QStringList {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}
                          << m;
    QTest::newRow("50 m") << 5000 << QStringList {"0", "10", "20", "30", "40", "50"} << m;
    QTest::newRow("half metres at 5 m") << 500 << QStringList {"0", "1", "2", "3", "4", "5"} << m;
}

void TestGradu::mainAxis()
{
    QFETCH(int, longaxe);
    QFETCH(QStringList, labels);
    QFETCH(QString, note);
    GraduOptions o;
    o.longaxe = longaxe;
    const Drawn d = run(o);
    QCOMPARE(d.majorLabels, labels);
    QCOMPARE(d.majorTicks, labels.size());
    QCOMPARE(d.lastMajorX, 764.0); // the tick at the end of the axis is drawn
    QCOMPARE(d.minorTicks, (labels.size() - 1) * 10 + 1);
    QCOMPARE(d.note, note);
}

void TestGradu::secondAxis()
{
    GraduOptions o;
    o.longaxe = 60;
    o.telescope = true;
    Canvas c(784, 265);
    c.setScaleLeft(-10);
    c.setScaleTop(4);
    c.setRecording(true);
    gradu(c, qRgb(255, 255, 255), 400, o);
    QStringList second;
    QString note;
    for (const auto &op : c.ops()) {
        if (op.kind != Canvas::Op::Text || op.y1 == 118)
            continue;
        if (op.text.contains(QLatin1String("gradu")))
            note = op.text;
        else
            second << op.text;
    }
    // Steps of 127.3 units down to the height minus 100: below the axis, then above it.
    QCOMPARE(second, (QStringList {"0", "0", "10", "-10"}));
    QCOMPARE(note, QStringLiteral("Les axes optiques sont gradués en cm."));
}

// The axis is the canvas width minus 20 units: none is left to step along.
void TestGradu::narrowCanvas_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("20 units: zero step") << 20;
    QTest::newRow("19 units: negative step") << 19;
}

void TestGradu::narrowCanvas()
{
    QFETCH(int, width);
    GraduOptions o;
    o.telescope = true;
    const Drawn d = run(o, 400, width);
    QCOMPARE(d.majorTicks, 0);
    QCOMPARE(d.minorTicks, 0);
    QCOMPARE(d.note, QStringLiteral("Les axes optiques sont gradués en cm."));
}

void TestGradu::labelColours_data()
{
    QTest::addColumn<bool>("white");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("light grey on black") << false << QRgb(0xc8c8c8);
    QTest::newRow("mid grey on white") << true << QRgb(0x969696);
}

void TestGradu::labelColours()
{
    QFETCH(bool, white);
    QFETCH(QRgb, colour);
    GraduOptions o;
    o.whiteBackground = white;
    const Drawn d = run(o);
    QVERIFY(!d.textColours.isEmpty());
    for (QRgb c : d.textColours)
        QCOMPARE(c, colour);
}

QTEST_MAIN(TestGradu)
#include "tst_gradu.moc"
