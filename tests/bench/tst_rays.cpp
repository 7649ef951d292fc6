#include "bench/figure.h"
#include "platform/canvas.h"
#include "platform/sharedvalues.h"

#include <QtTest>
#include <cmath>

class TestRays : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reflectionOnTheMirrorPlane_data();
    void reflectionOnTheMirrorPlane();
    void mountTest_data();
    void mountTest();
    void colourComesBackAfterARedFamily();
    void objectNearCentreOrFocus_data();
    void objectNearCentreOrFocus();
    void prolongationsToVirtualImage_data();
    void prolongationsToVirtualImage();
    void prolongationTowardsFarImageKeepsItsDirection_data();
    void prolongationTowardsFarImageKeepsItsDirection();
    void arrows_data();
    void arrows();
    void objectAtInfinity_data();
    void objectAtInfinity();
};

namespace {
const QRgb kRay = 0xffffc8, kRed = 0xff0000;
enum Family { Parallel = 14, ThroughC = 1, ThroughF = 13 };

struct Segment
{
    QPointF a, b;
    QRgb colour;
    int style;
    double length() const { return std::hypot(b.x() - a.x(), b.y() - a.y()); }
};

SceneInputs sceneWith(std::initializer_list<int> boxes)
{
    SceneInputs in = SceneInputs::defaults();
    for (int i : boxes)
        in.check[size_t(i)] = true;
    return in;
}

struct Drawn
{
    Canvas canvas {784, 265};
    FigureOutput out;
    std::vector<Segment> lines; // every line in a ray colour, arrow barbs included
    QRgb noteColour = 0; // first coloured pixel where the red note is printed
};

Drawn draw(const SceneInputs &in, int longaxe = 60)
{
    Drawn d;
    Canvas &c = d.canvas;
    c.setScaleLeft(-10);
    c.setScaleTop(4);
    c.setRecording(true);
    SharedValues sv;
    sv.longaxe = int16_t(longaxe);
    d.out = majaff(c, in, sv);
    for (const auto &op : c.ops()) {
        if (op.kind == Canvas::Op::Line && (op.color == kRay || op.color == kRed))
            d.lines.push_back({{op.x1, op.y1}, {op.x2, op.y2}, op.color, op.style});
    }
    for (int x = 0; x < 300 && !d.noteColour; ++x) {
        for (int y = 6; y < 20; ++y) {
            if (c.pixel(x, y) != 0) {
                d.noteColour = c.pixel(x, y);
                break;
            }
        }
    }
    return d;
}

// Distance from p to the infinite line through the segment.
double distanceToLine(const Segment &s, QPointF p)
{
    const QPointF d = s.b - s.a;
    return std::fabs(d.x() * (p.y() - s.a.y()) - d.y() * (p.x() - s.a.x())) / s.length();
}

// Canvas y of a height in cm at the default scale (60 cm on 764 units).
int canvasY(double cm)
{
    return int(std::nearbyint(135 - cm * (764.0f / 60.0f)));
}
} // namespace

// Default scene: mirror at xS = 764, B at (0, 97), B' at (611, 143).
void TestRays::reflectionOnTheMirrorPlane_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<double>("height"); // cm where the ray meets the mirror plane
    QTest::addColumn<QPointF>("leftEnd"); // end of the reflected part
    QTest::addColumn<QPointF>("throughPoint"); // a point the reflected ray must pass
    QTest::newRow("parallel ray comes back through F")
        << int(Parallel) << 3.0 << QPointF(-10, 329) << QPointF(637, 135);
    QTest::newRow("ray through C comes back on itself")
        << int(ThroughC) << -1.5 << QPointF(-10, 96) << QPointF(509, 135);
    QTest::newRow("ray through F comes back parallel at B'")
        << int(ThroughF) << -0.6 << QPointF(-10, 143) << QPointF(611, 143);
}

void TestRays::reflectionOnTheMirrorPlane()
{
    QFETCH(int, family);
    QFETCH(double, height);
    QFETCH(QPointF, leftEnd);
    QFETCH(QPointF, throughPoint);
    const Drawn d = draw(sceneWith({family}));
    QVERIFY(std::fabs(height) <= 8); // within the mount
    QCOMPARE(int(d.lines.size()), 2);
    const Segment &incident = d.lines[0], &reflected = d.lines[1];
    QCOMPARE(incident.a, QPointF(0, 97));
    QCOMPARE(incident.b, QPointF(764, canvasY(height)));
    QCOMPARE(reflected.a, incident.b);
    QCOMPARE(reflected.b, leftEnd);
    QVERIFY(distanceToLine(reflected, throughPoint) < 1);
    QVERIFY(distanceToLine(reflected, QPointF(611, 143)) < 1); // all meet at B'
    for (const Segment &s : d.lines)
        QCOMPARE(s.colour, kRay);
    QVERIFY(!d.out.redRays);
    QCOMPARE(d.noteColour, QRgb(0));
}

void TestRays::mountTest_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QString>("xobjet");
    QTest::addColumn<QString>("hobjet");
    QTest::addColumn<bool>("outsideRays"); // Check1(8)
    QTest::addColumn<QRgb>("colour"); // 0: not drawn
    QTest::newRow("9 cm object over an 8 cm mount: parallel ray dropped")
        << int(Parallel) << "0,0"
        << "9,0" << false << QRgb(0);
    QTest::newRow("9 cm object, rays outside the mount asked: parallel ray red")
        << int(Parallel) << "0,0"
        << "9,0" << true << kRed;
    QTest::newRow("object near C: ray through C meets the plane at -18 cm, dropped")
        << int(ThroughC) << "30,0"
        << "9,0" << false << QRgb(0);
    QTest::newRow("object near C, rays outside the mount asked: ray through C red")
        << int(ThroughC) << "30,0"
        << "9,0" << true << kRed;
    QTest::newRow("image 15 cm high: ray through F dropped") << int(ThroughF) << "48,0"
                                                             << "3,0" << false << QRgb(0);
    QTest::newRow("image 15 cm high, rays outside the mount asked: ray through F red")
        << int(ThroughF) << "48,0"
        << "3,0" << true << kRed;
}

void TestRays::mountTest()
{
    QFETCH(int, family);
    QFETCH(QString, xobjet);
    QFETCH(QString, hobjet);
    QFETCH(bool, outsideRays);
    QFETCH(QRgb, colour);
    SceneInputs in = sceneWith({family});
    in.text[4] = xobjet;
    in.text[5] = hobjet;
    in.check[8] = outsideRays;
    const Drawn d = draw(in);
    QCOMPARE(int(d.lines.size()), colour ? 2 : 0);
    for (const Segment &s : d.lines)
        QCOMPARE(s.colour, colour);
    const bool red = colour == kRed;
    QCOMPARE(d.out.redRays, red);
    QCOMPARE(d.noteColour, red ? kRed : QRgb(0));
}

void TestRays::colourComesBackAfterARedFamily()
{
    SceneInputs in = sceneWith({Parallel, ThroughC, ThroughF, 8});
    in.text[5] = QStringLiteral("9,0");
    const Drawn d = draw(in);
    QCOMPARE(int(d.lines.size()), 6);
    QCOMPARE(d.lines[0].colour, kRed);
    QCOMPARE(d.lines[1].colour, kRed);
    for (size_t i = 2; i < d.lines.size(); ++i)
        QCOMPARE(d.lines[i].colour, kRay);
}

void TestRays::objectNearCentreOrFocus_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QString>("xobjet");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("object 0,5 cm from C: no ray through C") << int(ThroughC) << "39,5" << false;
    QTest::newRow("object 1 cm from C: no ray through C") << int(ThroughC) << "41,0" << false;
    QTest::newRow("object 1,1 cm from C: ray through C") << int(ThroughC) << "38,9" << true;
    QTest::newRow("object at F: no ray through F") << int(ThroughF) << "50,0" << false;
    QTest::newRow("object 1 cm from F: no ray through F") << int(ThroughF) << "49,0" << false;
    QTest::newRow("object 1,5 cm from F: ray through F") << int(ThroughF) << "48,5" << true;
    QTest::newRow("object at F: parallel ray still drawn") << int(Parallel) << "50,0" << true;
}

void TestRays::objectNearCentreOrFocus()
{
    QFETCH(int, family);
    QFETCH(QString, xobjet);
    QFETCH(bool, drawn);
    SceneInputs in = sceneWith({family, 8});
    in.text[4] = xobjet;
    QCOMPARE(!draw(in).lines.empty(), drawn);
}

// Object at 55 cm on a 100 cm axis: mirror at xS = 458, virtual B' at (534, 89).
void TestRays::prolongationsToVirtualImage_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<QString>("xobjet");
    QTest::addColumn<bool>("prolong"); // Check1(0)
    QTest::addColumn<bool>("dotted");
    for (int family : {Parallel, ThroughC, ThroughF}) {
        const char *name = family == Parallel ? "parallel ray"
            : family == ThroughC              ? "ray through C"
                                              : "ray through F";
        QTest::addRow("%s: prolonged to B'", name) << family << "55,0" << true << true;
        QTest::addRow("%s: not prolonged when not asked", name)
            << family << "55,0" << false << false;
        QTest::addRow("%s: real image, nothing to prolong", name)
            << family << "0,0" << true << false;
    }
}

void TestRays::prolongationsToVirtualImage()
{
    QFETCH(int, family);
    QFETCH(QString, xobjet);
    QFETCH(bool, prolong);
    QFETCH(bool, dotted);
    SceneInputs in = sceneWith({family, 9});
    in.hscroll1 = 5;
    in.text[4] = xobjet;
    in.check[0] = prolong;
    const Drawn d = draw(in, 100);
    std::vector<Segment> dots;
    for (const Segment &s : d.lines) {
        if (s.style == Canvas::Dot)
            dots.push_back(s);
    }
    QCOMPARE(int(dots.size()), dotted ? 1 : 0);
    if (!dotted)
        return;
    const Segment &s = dots.front();
    const QPointF imageTip(534, 89);
    const QPointF onMirror = s.a == imageTip ? s.b : s.a;
    QVERIFY(s.a == imageTip || s.b == imageTip);
    QCOMPARE(onMirror.x(), 458.0);
    // It starts where the solid ray meets the mirror plane.
    bool joined = false;
    for (const Segment &solid : d.lines)
        joined |= solid.style == Canvas::Solid && solid.length() > 15 && solid.a == onMirror;
    QVERIFY(joined);
}

// Mirror at 30 cm, object 0,001 cm inside F: B' lies about 100000 cm behind the mirror.
void TestRays::prolongationTowardsFarImageKeepsItsDirection_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<double>("height"); // cm where the ray meets the mirror plane
    QTest::newRow("parallel ray") << int(Parallel) << 3.0;
    QTest::newRow("ray through C") << int(ThroughC) << 6.0;
}

void TestRays::prolongationTowardsFarImageKeepsItsDirection()
{
    QFETCH(int, family);
    QFETCH(double, height);
    SceneInputs in = sceneWith({family, 0});
    in.text[0] = QStringLiteral("30,0");
    in.text[4] = QStringLiteral("20,001");
    const Drawn d = draw(in);
    const Optics &o = d.out.optics;
    const double e = 764.0f / 60.0f;
    const QPointF hit(382, canvasY(height));
    const QPointF tip(o.sapr * e + 382, 135 - o.hima * e);
    const double slope = (tip.y() - hit.y()) / (tip.x() - hit.x());
    int lit = 0;
    for (int x = 400; x < 420; ++x) {
        const double y = hit.y() + slope * (x - hit.x());
        for (int dy = -1; dy <= 1; ++dy)
            lit += d.canvas.pixel(x, std::nearbyint(y) + dy) == kRay;
    }
    QVERIFY2(lit >= 8, qPrintable(QString::number(lit))); // dotted: half the columns lit
}

void TestRays::arrows_data()
{
    QTest::addColumn<bool>("arrowsAsked"); // Check1(9)
    QTest::addColumn<int>("hscroll1");
    QTest::addColumn<QString>("xobjet");
    QTest::addColumn<int>("solids");
    QTest::addColumn<int>("dots");
    QTest::newRow("halfway on the six solid segments") << true << 5 << "0,0" << 6 << 0;
    QTest::newRow("at a fifth of each segment") << true << 2 << "0,0" << 6 << 0;
    QTest::newRow("at eight tenths of each segment") << true << 8 << "0,0" << 6 << 0;
    QTest::newRow("virtual image: none on the three prolongations")
        << true << 5 << "55,0" << 6 << 3;
    QTest::newRow("propagation not asked: no arrows") << false << 5 << "0,0" << 6 << 0;
}

void TestRays::arrows()
{
    QFETCH(bool, arrowsAsked);
    QFETCH(int, hscroll1);
    QFETCH(QString, xobjet);
    QFETCH(int, solids);
    QFETCH(int, dots);
    SceneInputs in = sceneWith({Parallel, ThroughC, ThroughF, 0});
    in.check[9] = arrowsAsked;
    in.hscroll1 = hscroll1;
    in.text[4] = xobjet;
    const Drawn d = draw(in, 100);
    const double fraction = arrowsAsked ? hscroll1 / 10.0 : 0;
    const double barbLength = std::hypot(10, 5);
    int solidCount = 0, dotCount = 0, barbCount = 0;
    for (size_t i = 0; i < d.lines.size(); ++i) {
        const Segment &s = d.lines[i];
        if (std::fabs(s.length() - barbLength) < 0.01) {
            ++barbCount;
            continue;
        }
        if (s.style == Canvas::Dot) {
            ++dotCount;
            QVERIFY(i == 0 || std::fabs(d.lines[i - 1].length() - barbLength) > 0.01);
            continue;
        }
        ++solidCount;
        if (!arrowsAsked)
            continue;
        // The two barbs just before the segment start at the tip and point back along it.
        QVERIFY(i >= 2);
        const QPointF dir = s.b - s.a;
        const QPointF tip(s.a.x() + std::nearbyint(fraction * dir.x()),
                          s.a.y() + std::nearbyint(fraction * dir.y()));
        for (size_t k = i - 2; k < i; ++k) {
            const Segment &barb = d.lines[k];
            QCOMPARE(barb.a, tip);
            const QPointF back = barb.b - barb.a;
            QVERIFY(back.x() * dir.x() + back.y() * dir.y() < 0);
        }
    }
    QCOMPARE(solidCount, solids);
    QCOMPARE(dotCount, dots);
    QCOMPARE(barbCount, arrowsAsked ? 2 * solids : 0);
}

void TestRays::objectAtInfinity_data()
{
    QTest::addColumn<int>("hscroll3");
    QTest::newRow("5 degrees") << 50;
    QTest::newRow("10,1 degrees") << 101;
}

void TestRays::objectAtInfinity()
{
    QFETCH(int, hscroll3);
    SceneInputs in = sceneWith({Parallel, ThroughC, ThroughF});
    in.check2 = true;
    in.hscroll3 = hscroll3;
    const Drawn d = draw(in);
    const double tangent = std::tan(qDegreesToRadians(hscroll3 / 10.0));
    // No parallel ray: the ray through C and the ray through F, two segments each.
    QCOMPARE(int(d.lines.size()), 4);
    const Segment &centre = d.lines[0], &focus = d.lines[2];
    QCOMPARE(centre.a.x(), -10.0); // enters from the left edge
    QCOMPARE(centre.b.x(), 764.0);
    QCOMPARE(focus.b.x(), 764.0);
    for (const Segment *s : {&centre, &focus}) {
        const double slope = (s->b.y() - s->a.y()) / (s->b.x() - s->a.x());
        QVERIFY2(std::fabs(slope - tangent) < 0.003, qPrintable(QString::number(slope)));
    }
    // Both reflected rays meet in the focal plane at the image of the far object.
    const QPointF image(637, canvasY(-10 * tangent));
    QCOMPARE(d.lines[3].a.y(), image.y());
    QCOMPARE(d.lines[3].b.y(), image.y());
    QVERIFY(distanceToLine(d.lines[1], image) < 1);
}

QTEST_MAIN(TestRays)
#include "tst_rays.moc"
