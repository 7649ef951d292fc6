#include "bench/beam.h"
#include "bench/figure.h"
#include "platform/canvas.h"
#include "platform/sharedvalues.h"

#include <QtTest>
#include <cmath>

class TestBeam : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void colourOfAStroke_data();
    void colourOfAStroke();
    void strokes_data();
    void strokes();
    void pixels_data();
    void pixels();
    void farImageWalksOnlyTheCanvas();
};

namespace {
QString rgb(QRgb c)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

SceneInputs beamScene(const QString &xobjet, bool infinity = false)
{
    SceneInputs in = SceneInputs::defaults();
    in.text[4] = xobjet;
    in.check2 = infinity;
    in.hscroll3 = 50;
    in.check[5] = true;
    return in;
}

Canvas drawn(const SceneInputs &in)
{
    Canvas c(784, 265);
    c.setScaleLeft(-10);
    c.setScaleTop(4);
    c.setRecording(true);
    SharedValues sv;
    sv.longaxe = 60;
    majaff(c, in, sv);
    return c;
}

// The beam is what is drawn between the clearing and the main axis.
std::vector<Canvas::Op> beamStrokes(const Canvas &c)
{
    std::vector<Canvas::Op> strokes;
    for (const auto &op : c.ops()) {
        if (op.kind == Canvas::Op::Line && op.y1 == 135 && op.y2 == 135 && op.x1 == 0)
            break;
        if (op.kind == Canvas::Op::Line)
            strokes.push_back(op);
    }
    return strokes;
}
} // namespace

void TestBeam::colourOfAStroke_data()
{
    QTest::addColumn<double>("w");
    QTest::addColumn<int>("stage");
    QTest::addColumn<bool>("white");
    QTest::addColumn<bool>("perStage"); // Check1(4)
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("black: 265-unit stroke")
        << 265.0 << int(BeamStage::Incident) << false << false << qRgb(0, 5, 55);
    QTest::newRow("black: 1-unit stroke")
        << 1.0 << int(BeamStage::Incident) << false << false << qRgb(154, 204, 254);
    QTest::newRow("black: blue never below 45")
        << 400.0 << int(BeamStage::Incident) << false << false << qRgb(0, 0, 45);
    QTest::newRow("black: beyond 1999 units")
        << 2000.0 << int(BeamStage::Incident) << false << false << qRgb(0, 0, 45);
    QTest::newRow("black: one colour for every stage")
        << 1.0 << int(BeamStage::Reflected) << false << false << qRgb(154, 204, 254);
    QTest::newRow("black, colour per stage: reflected light")
        << 1.0 << int(BeamStage::Reflected) << false << true << qRgb(254, 154, 204);
    QTest::newRow("black, colour per stage: folded light")
        << 1.0 << int(BeamStage::Folded) << false << true << qRgb(154, 254, 204);
    QTest::newRow("black, colour per stage: wide reflected beam")
        << 2000.0 << int(BeamStage::Reflected) << false << true << qRgb(45, 0, 0);
    QTest::newRow("white: one colour whatever the width")
        << 265.0 << int(BeamStage::Reflected) << true << false << qRgb(200, 230, 250);
    QTest::newRow("white, colour per stage: reflected light")
        << 1.0 << int(BeamStage::Reflected) << true << true << qRgb(250, 200, 230);
    QTest::newRow("white, colour per stage: folded light")
        << 1.0 << int(BeamStage::Folded) << true << true << qRgb(200, 250, 230);
}

void TestBeam::colourOfAStroke()
{
    QFETCH(double, w);
    QFETCH(int, stage);
    QFETCH(bool, white);
    QFETCH(bool, perStage);
    QFETCH(QRgb, colour);
    QCOMPARE(rgb(beamColour(w, BeamStage(stage), white, perStage)), rgb(colour));
}

// Default scene (mirror at 764, mount from 33.13 to 236.87, A'B' at 611) unless named. With a
// colour per stage on black, reflected strokes are the ones redder than they are blue.
void TestBeam::strokes_data()
{
    QTest::addColumn<QString>("xobjet");
    QTest::addColumn<bool>("infinity");
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("x");
    QTest::addColumn<QList<double>>("ends"); // top and bottom, none when no stroke
    const QList<double> none;
    QTest::newRow("incident: from B to A at the object")
        << "0,0" << false << 0 << 0 << QList<double> {96.8, 135};
    QTest::newRow("incident: the whole mount at the mirror")
        << "0,0" << false << 0 << 764 << QList<double> {33.133, 236.867};
    QTest::newRow("incident: every column")
        << "0,0" << false << 0 << 701 << QList<double> {38.383, 228.467};
    QTest::newRow("incident: nothing left of the object") << "0,0" << false << 0 << -1 << none;
    QTest::newRow("reflected: the whole mount at the mirror")
        << "0,0" << false << 1 << 764 << QList<double> {33.133, 236.867};
    QTest::newRow("reflected: converging on A'B'")
        << "0,0" << false << 1 << 612 << QList<double> {134.467, 143.133};
    QTest::newRow("reflected: every other column") << "0,0" << false << 1 << 763 << none;
    QTest::newRow("reflected: crossed at A'B'")
        << "0,0" << false << 1 << 611 << QList<double> {134.867, 142.783};
    QTest::newRow("reflected: opening up to the left edge")
        << "0,0" << false << 1 << -9 << QList<double> {-278.467, 587.117};
    QTest::newRow("object at infinity: incident from the left edge, down to the mount's foot")
        << "0,0" << true << 0 << -10 << QList<double> {-34.583, 237};
    QTest::newRow("object at infinity: flat lower limit")
        << "0,0" << true << 0 << 300 << QList<double> {-7.461, 237};
    QTest::newRow("virtual image 1 cm behind: diverging beam clamped")
        << "59,0" << false << 1 << 0 << QList<double> {-1000, 1000};
}

void TestBeam::strokes()
{
    QFETCH(QString, xobjet);
    QFETCH(bool, infinity);
    QFETCH(int, stage);
    QFETCH(int, x);
    QFETCH(QList<double>, ends);
    SceneInputs in = beamScene(xobjet, infinity);
    in.check[4] = true;
    QList<double> found;
    for (const auto &op : beamStrokes(drawn(in))) {
        QCOMPARE(op.x1, op.x2); // vertical strokes only
        const int opStage = qRed(op.color) > qBlue(op.color) ? 1 : 0;
        if (op.x1 != x || opStage != stage)
            continue;
        QVERIFY2(found.isEmpty(), "one stroke per column and stage");
        found = {std::min(op.y1, op.y2), std::max(op.y1, op.y2)};
    }
    QCOMPARE(found.size(), ends.size());
    for (int i = 0; i < ends.size(); ++i)
        QVERIFY2(std::fabs(found[i] - ends[i]) < 0.001, qPrintable(QString::number(found[i])));
}

// Default scene: (382, 120) is lit by the incident light only, (700, 130) also by the
// reflected light, (701, 130) by the incident light between two reflected strokes.
void TestBeam::pixels_data()
{
    QTest::addColumn<bool>("white");
    QTest::addColumn<bool>("perStage");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("black: incident stroke 121 units long")
        << false << false << QPoint(382, 120) << qRgb(64, 114, 164);
    QTest::newRow("black: reflected stroke over the incident light")
        << false << false << QPoint(700, 130) << qRgb(63, 113, 163);
    QTest::newRow("black, colour per stage: reflected stroke")
        << false << true << QPoint(700, 130) << qRgb(163, 63, 113);
    QTest::newRow("black, colour per stage: incident light beside it")
        << false << true << QPoint(701, 130) << qRgb(12, 62, 112);
    QTest::newRow("black: axis drawn over the beam")
        << false << false << QPoint(382, 135) << qRgb(255, 255, 255);
    QTest::newRow("white: incident light")
        << true << false << QPoint(382, 120) << qRgb(200, 230, 250);
    QTest::newRow("white, colour per stage: reflected light")
        << true << true << QPoint(700, 130) << qRgb(250, 200, 230);
    QTest::newRow("white, colour per stage: incident light")
        << true << true << QPoint(701, 130) << qRgb(200, 230, 250);
}

void TestBeam::pixels()
{
    QFETCH(bool, white);
    QFETCH(bool, perStage);
    QFETCH(QPoint, at);
    QFETCH(QRgb, colour);
    SceneInputs in = beamScene(QStringLiteral("0,0"));
    in.check[12] = white;
    in.check[4] = perStage;
    QCOMPARE(rgb(drawn(in).pixel(at.x(), at.y())), rgb(colour));
}

// Object at F: A'B' lies about ten million units left of the canvas.
void TestBeam::farImageWalksOnlyTheCanvas()
{
    const Canvas c = drawn(beamScene(QStringLiteral("50,0")));
    const auto strokes = beamStrokes(c);
    QVERIFY(strokes.size() < 1200); // one per column, one every other column
    QVERIFY(c.pixel(0, 35) != 0); // the reflected light reaches the left edge
}

QTEST_MAIN(TestBeam)
#include "tst_beam.moc"
