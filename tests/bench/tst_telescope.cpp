#include "bench/figure.h"
#include "platform/canvas.h"
#include "platform/sharedvalues.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

class TestTelescope : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultScene();
    void corrections_data();
    void corrections();
    void failures_data();
    void failures();
    void labels_data();
    void labels();
    void secondaryMirrorAndLens();
    void images_data();
    void images();
    void raysReachTheLens_data();
    void raysReachTheLens();
    void prolongations_data();
    void prolongations();
    void beam_data();
    void beam();
    void pixels_data();
    void pixels();
};

namespace {
using Op = Canvas::Op;
using Texts = QMap<int, QString>;
const QRgb kWhite = 0xffffff, kBlack = 0x000000, kYellow = 0xffff00, kRay = 0xffffc8;
// The default scene at 60 cm on the designed canvas: 764 units for 60 cm.
const float kEchelle = 764.0f / 60.0f;
const int xP = 611, yL = 237;

SceneInputs telescopeScene(const Texts &texts = {},
                           std::initializer_list<int> boxes = {1, 2, 7, 11, 13, 14})
{
    SceneInputs in = SceneInputs::defaults();
    in.check[6] = true;
    for (int i : boxes)
        in.check[size_t(i)] = true;
    for (auto it = texts.begin(); it != texts.end(); ++it)
        in.text[size_t(it.key())] = it.value();
    return in;
}

struct Drawn
{
    Canvas canvas {784, 265};
    FigureOutput out;

    std::vector<Op> lines(QRgb colour, int style) const
    {
        std::vector<Op> found;
        for (const Op &op : canvas.ops()) {
            if (op.kind == Op::Line && op.color == colour && op.style == style)
                found.push_back(op);
        }
        return found;
    }
    bool hasText(const QString &text, QPointF at) const
    {
        return std::any_of(canvas.ops().begin(), canvas.ops().end(), [&](const Op &op) {
            return op.kind == Op::Text && op.text == text && QPointF(op.x1, op.y1) == at;
        });
    }
};

std::unique_ptr<Drawn> draw(const SceneInputs &in, const QString &fmtnum = QString())
{
    auto d = std::make_unique<Drawn>();
    d->canvas.setScaleLeft(-10);
    d->canvas.setScaleTop(4);
    d->canvas.setRecording(true);
    SharedValues sv;
    sv.longaxe = 60;
    if (!fmtnum.isEmpty())
        sv.fmtnum = fmtnum;
    d->out = majaff(d->canvas, in, sv);
    return d;
}

bool near(QPointF a, QPointF b, double tolerance)
{
    return std::fabs(a.x() - b.x()) <= tolerance && std::fabs(a.y() - b.y()) <= tolerance;
}

// A segment between the two points, drawn either way.
bool anyJoins(const std::vector<Op> &ops, QPointF a, QPointF b, double tolerance = 1)
{
    return std::any_of(ops.begin(), ops.end(), [&](const Op &op) {
        const QPointF p(op.x1, op.y1), q(op.x2, op.y2);
        return (near(p, a, tolerance) && near(q, b, tolerance))
            || (near(p, b, tolerance) && near(q, a, tolerance));
    });
}

// Object at 45 cm, 1 cm high: A' at 30 cm forms beyond the secondary mirror, left of the
// object, and the pass moves the lens to 18,1 cm.
const Texts imageLeftOfObject = {{4, "45,0"}, {5, "1,0"}};
} // namespace

void TestTelescope::defaultScene()
{
    const auto d = draw(telescopeScene());
    QVERIFY(d->out.drawn && d->out.telescope);
    QVERIFY(d->out.rewrites.empty());
    const TelescopeOptics &t = d->out.telescopeOptics;
    QCOMPARE(std::round(t.emiroir / kEchelle * 100) / 100, 2.12); // in canvas units
    QCOMPARE(std::round(t.rlentille * 100) / 100, 6.33);
    QVERIFY(std::fabs(t.oa1 + 8.0001) < 1e-5); // A'1 taken 0,0001 cm beyond the mirror
    QVERIFY(t.oa2 < 0); // virtual final image
}

void TestTelescope::corrections_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QString>("fmtnum");
    QTest::addColumn<QStringList>("rewrites"); // "field:text", in order
    const QString one = QStringLiteral("##############0.0");
    const Texts beyond = {{1, "20,0"}, {2, "40,0"}, {8, "2,0"}}; // xplan - xima = 10
    QTest::newRow("lens beyond the intermediate image: 1 mm past it")
        << beyond << one << QStringList {"8:10,1"};
    QTest::newRow("lens correction written in the field pattern")
        << beyond << QStringLiteral("##############0.00") << QStringList {"8:10,10"};
    QTest::newRow("secondary mirror too close: moved to xima - hima")
        << Texts {{2, "55,0"}} << one << QStringList {"2:48,6"};
    QTest::newRow("lens narrower than the beam: moved down until wide enough")
        << Texts {{8, "1,0"}} << one << QStringList {"8:1,8", "8:2,4"};
}

void TestTelescope::corrections()
{
    QFETCH(Texts, texts);
    QFETCH(QString, fmtnum);
    QFETCH(QStringList, rewrites);
    const auto d = draw(telescopeScene(texts), fmtnum);
    QStringList made;
    for (const FieldRewrite &r : d->out.rewrites)
        made << QStringLiteral("%1:%2").arg(r.index).arg(r.text);
    QCOMPARE(made, rewrites);
    QVERIFY(d->out.telescope);
    // The figure is the one of the last pass, made with the rewritten field.
    QStringList last = rewrites.last().split(QLatin1Char(':'));
    const double value = last[1].replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    const Optics &o = d->out.optics;
    QCOMPARE(last[0] == QLatin1String("2") ? o.xplan : o.ylentille, value);
}

void TestTelescope::failures_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<int>("angle"); // apparent angle of an object at infinity, 0 for none
    QTest::addColumn<int>("failure");
    QTest::addColumn<int>("rewrites");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("object between F and the mirror: drawn without the telescope")
        << Texts {{4, "55,0"}} << 0 << int(TelescopeFailure::ImageBehindMirror) << 0 << true;
    // At 30 degrees the beam widens faster than the lens can move down.
    QTest::newRow("corrections that never settle: 50 passes, nothing drawn")
        << Texts() << 300 << int(TelescopeFailure::TooManyPasses) << 50 << false;
}

void TestTelescope::failures()
{
    QFETCH(Texts, texts);
    QFETCH(int, angle);
    SceneInputs in = telescopeScene(texts);
    in.check2 = angle > 0;
    in.hscroll3 = angle;
    const auto d = draw(in);
    QFETCH(int, failure);
    QFETCH(int, rewrites);
    QFETCH(bool, drawn);
    QCOMPARE(int(d->out.failure), failure);
    QCOMPARE(int(d->out.rewrites.size()), rewrites);
    QCOMPARE(d->out.drawn, drawn);
    QVERIFY(!d->out.telescope && !d->out.l2.visible && d->out.label3[4].isEmpty());
    bool secondAxis = false, cleared = false;
    for (const Op &op : d->canvas.ops()) {
        cleared |= op.kind == Op::Clear;
        secondAxis |= op.kind == Op::Line && op.x1 == op.x2 && op.y1 == 0;
    }
    QCOMPARE(cleared, drawn); // the pass limit leaves the previous figure
    QVERIFY(!secondAxis);
}

void TestTelescope::labels_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QStringList>("labels"); // Label3(2) to Label3(5)
    QTest::newRow("default: A'1 on the mirror, virtual A2B2 32 cm above the axis")
        << Texts() << QStringList {"0,0 cm", "-0,6 cm", "-32,0 cm", "-3,0 cm"};
    QTest::newRow("real final image")
        << Texts {{3, "2,0"}} << QStringList {"0,0 cm", "-0,6 cm", "10,7 cm", "0,2 cm"};
    // oa1 = 50 - 48 - 12 = -10 = -focalent: the lens sends the light to infinity.
    QTest::newRow("intermediate image in the lens's focal plane")
        << Texts {{2, "50,0"}, {8, "12,0"}}
        << QStringList {"2,0 cm", "-0,6 cm", "Hors limites", "Hors limites"};
}

void TestTelescope::labels()
{
    QFETCH(Texts, texts);
    QFETCH(QStringList, labels);
    const auto d = draw(telescopeScene(texts));
    QVERIFY(d->out.rewrites.empty());
    QCOMPARE(QStringList(d->out.label3.begin() + 2, d->out.label3.end()), labels);
}

// Default scene: mirror half-size e = 26.96 units, lens at y = 236.87 with r = 80.64 units.
void TestTelescope::secondaryMirrorAndLens()
{
    const auto d = draw(telescopeScene());
    const std::vector<Op> device = d->lines(kWhite, Canvas::Solid);
    QVERIFY(anyJoins(device, {xP, 0}, {xP, 265}, 0)); // the second axis
    int hatches = 0;
    for (double u = 27; u >= -27; u -= 5)
        hatches += anyJoins(device, {xP + u - 5, 135 - u}, {xP + u, 135 - u}, 0);
    QCOMPARE(hatches, 11);
    const double e = d->out.telescopeOptics.emiroir;
    QVERIFY(anyJoins(device, {xP + e, 135 - e}, {xP - e, 135 + e}, 0.01));
    QVERIFY(d->hasText(QStringLiteral("O"), {xP + 7, yL + 2}));

    const double y = 8 * double(kEchelle) + 135, r = d->out.telescopeOptics.rlentille * kEchelle;
    QVERIFY(anyJoins(device, {xP - r, y}, {xP + r, y}, 0.01));
    for (double side : {-1.0, 1.0}) { // arrowheads pointing outwards
        const QPointF end(xP + side * r, y);
        QVERIFY(anyJoins(device, end + QPointF(-side * 6, 3), end, 0.01));
        QVERIFY(anyJoins(device, end + QPointF(-side * 6, -3), end, 0.01));
    }
    // The lens foci, 10 cm either side.
    QVERIFY(anyJoins(device, {xP - 3, 110}, {xP + 4, 110}, 0));
    QVERIFY(anyJoins(device, {xP - 3, 364}, {xP + 4, 364}, 0));
    QVERIFY(d->hasText(QStringLiteral("F'"), {xP + 9, 357}));

    const HandlePlace &l2 = d->out.l2, &l3 = d->out.l3;
    QVERIFY(l2.visible && l3.visible);
    QCOMPARE(QRect(l2.centerX, l2.top, l2.width, l2.height), QRect(xP, 108, 54, 54));
    QCOMPARE(QRect(l3.centerX, l3.top, l3.width, l3.height), QRect(xP, 229, 162, 16));
}

void TestTelescope::images_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<bool>("virtualImages"); // Check1(11)
    QTest::addColumn<int>("folded"); // style of A'1B'1's body, -1 when not drawn
    QTest::addColumn<int>("final"); // style of A2B2's body
    QTest::addColumn<int>("finalBarbs"); // x of the final arrowhead's barbs from its tip
    const int solid = Canvas::Solid, dot = Canvas::Dot;
    QTest::newRow("default: real A'1B'1, virtual A2B2 dotted")
        << Texts() << true << solid << dot << 8;
    QTest::newRow("default without virtual images: no A2B2")
        << Texts() << false << solid << -1 << 0;
    QTest::newRow("real final image: solid, barbs behind the tip")
        << Texts {{3, "2,0"}} << false << solid << solid << -8;
    // A' at 48 cm forms before the light reaches the mirror at 45 cm.
    QTest::newRow("A' before the secondary mirror: virtual A'1B'1 dotted")
        << Texts {{2, "45,0"}} << true << dot << solid << -8;
    QTest::newRow("A' before the secondary mirror, no virtual images: no A'1B'1")
        << Texts {{2, "45,0"}} << false << -1 << solid << -8;
}

void TestTelescope::images()
{
    QFETCH(Texts, texts);
    QFETCH(bool, virtualImages);
    SceneInputs in = telescopeScene(texts, {2});
    in.check[11] = virtualImages;
    const auto d = draw(in);
    // Both bodies run across from the second axis, A'1B'1 first.
    const Optics &o = d->out.optics;
    const double xp = std::nearbyint(o.xplan * kEchelle);
    std::vector<Op> bodies;
    for (const Op &op : d->canvas.ops()) {
        if (op.kind == Op::Line && op.color == kYellow && op.x1 == xp && op.y1 == op.y2)
            bodies.push_back(op);
    }
    QFETCH(int, folded);
    QFETCH(int, final);
    QCOMPARE(int(bodies.size()), int(folded >= 0) + int(final >= 0));
    if (folded >= 0) {
        QCOMPARE(bodies.front().style, folded);
        QVERIFY(d->hasText(QStringLiteral("A'"), {xp + 5, bodies.front().y1 - 6}));
    }
    if (final < 0)
        return;
    const Op &body = bodies.back();
    QCOMPARE(body.style, final);
    QCOMPARE(body.y1, (o.ylentille + d->out.telescopeOptics.oa2) * kEchelle + 135);
    QFETCH(int, finalBarbs);
    const QPointF tip(body.x2, body.y2);
    const std::vector<Op> solidImage = d->lines(kYellow, Canvas::Solid);
    QVERIFY(anyJoins(solidImage, tip, tip + QPointF(finalBarbs, 4), 0.01));
    QVERIFY(anyJoins(solidImage, tip, tip + QPointF(finalBarbs, -4), 0.01));
}

void TestTelescope::raysReachTheLens_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<Texts>("texts");
    for (const auto &family :
         {std::make_pair("parallel ray", 14), {"ray through C", 1}, {"ray through F", 13}}) {
        QTest::addRow("%s, virtual final image", family.first) << family.second << Texts();
        QTest::addRow("%s, real final image", family.first)
            << family.second << Texts {{2, "53,0"}, {3, "2,0"}, {4, "20,0"}, {8, "10,0"}};
    }
}

// Each ray stops on the secondary mirror's line, goes down to the lens within its aperture
// and leaves it downwards.
void TestTelescope::raysReachTheLens()
{
    QFETCH(int, family);
    QFETCH(Texts, texts);
    const auto d = draw(telescopeScene(texts, {family}));
    const double xp = std::nearbyint(d->out.optics.xplan * kEchelle);
    const double yLens = std::nearbyint(d->out.optics.ylentille * kEchelle + 135);
    const double r = d->out.telescopeOptics.rlentille * kEchelle;
    const std::vector<Op> rays = d->lines(kRay, Canvas::Solid);
    QCOMPARE(int(rays.size()), 4); // incident, reflected, folded, emerging
    const Op &reflected = rays[1], &folded = rays[2], &emerging = rays[3];
    QVERIFY(std::fabs(reflected.x2 + reflected.y2 - (xp + 135)) <= 1.5);
    QCOMPARE(QPointF(folded.x1, folded.y1), QPointF(reflected.x2, reflected.y2));
    QCOMPARE(folded.y2, yLens);
    QVERIFY(std::fabs(folded.x2 - xp) <= r + 1);
    QCOMPARE(QPointF(emerging.x1, emerging.y1), QPointF(folded.x2, folded.y2));
    QVERIFY(emerging.y2 > emerging.y1);
}

void TestTelescope::prolongations_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    // Default scene: B'1 at (603, 135) on the main axis, B2 at (573, -272) above the canvas.
    QTest::newRow("parallel ray: from the mirror up to a virtual B'1")
        << 14 << Texts() << QPointF(600, 146) << QPointF(603, 135);
    QTest::newRow("parallel ray: from below the lens back to a virtual B2")
        << 14 << Texts() << QPointF(573, 265) << QPointF(573, -272);
    QTest::newRow("ray through C: up from the lens, stopped at the top edge")
        << 1 << Texts() << QPointF(611, 237) << QPointF(594, 4);
    QTest::newRow("ray through F: straight up from the mirror to B'1's depth")
        << 13 << Texts() << QPointF(603, 143) << QPointF(603, 135);
    // B' at (382, 160): beyond the secondary mirror and left of the object's tip (573, 122).
    QTest::newRow("ray through C: from B' back to the object's tip")
        << 1 << imageLeftOfObject << QPointF(382, 160) << QPointF(573, 122);
    QTest::newRow("parallel ray: from B' to where the mirror stops it")
        << 14 << imageLeftOfObject << QPointF(382, 160) << QPointF(608, 138);
    // Lens of 20 cm at 12 cm, below the canvas (y = 288): B2 still lies above the axis.
    const Texts lensBelow = {{3, "20,0"}, {8, "12,0"}};
    QTest::newRow("lens below the canvas: parallel ray from the bottom edge back to B2")
        << 14 << lensBelow << QPointF(560, 265) << QPointF(592, -94);
    QTest::newRow("lens below the canvas: ray through C up from the lens to the top edge")
        << 1 << lensBelow << QPointF(615, 288) << QPointF(598, 4);
}

void TestTelescope::prolongations()
{
    QFETCH(int, family);
    QFETCH(Texts, texts);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    SceneInputs in = telescopeScene(texts, {family, 0});
    QVERIFY(anyJoins(draw(in)->lines(kRay, Canvas::Dot), from, to));
    in.check[0] = false;
    QVERIFY(draw(in)->lines(kRay, Canvas::Dot).empty());
}

void TestTelescope::beam_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<bool>("folded");
    QTest::newRow("A' on the secondary mirror: the folded beam is shaded") << Texts() << true;
    QTest::newRow("A' beyond the secondary mirror: shaded")
        << Texts {{2, "50,0"}, {8, "12,0"}} << true;
    QTest::newRow("A' before the secondary mirror: not shaded") << Texts {{2, "45,0"}} << false;
}

// With a colour per stage, the reflected stage is reddest and the folded stage greenest;
// neither has a stroke end beyond the secondary mirror's line.
void TestTelescope::beam()
{
    QFETCH(Texts, texts);
    QFETCH(bool, folded);
    const auto d = draw(telescopeScene(texts, {4, 5}));
    const double xp = std::nearbyint(d->out.optics.xplan * kEchelle);
    int reflectedStrokes = 0, foldedStrokes = 0;
    for (const Op &op : d->canvas.ops()) {
        if (op.kind != Op::Line || op.color == kWhite || op.color == kYellow)
            continue;
        if (qRed(op.color) > qBlue(op.color)) {
            ++reflectedStrokes;
            QVERIFY(std::min(op.y1, op.y2) >= xp - op.x1 + 135);
        } else if (qGreen(op.color) > qBlue(op.color)) {
            ++foldedStrokes;
            QCOMPARE(op.y1, op.y2);
            QVERIFY(std::min(op.x1, op.x2) >= xp - op.y1 + 135);
        }
    }
    QVERIFY(reflectedStrokes > 50);
    QCOMPARE(foldedStrokes > 50, folded);
    QCOMPARE(foldedStrokes == 0, !folded);
}

void TestTelescope::pixels_data()
{
    QTest::addColumn<bool>("white");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("second axis") << false << QPoint(xP, 250) << kWhite;
    QTest::newRow("secondary mirror") << false << QPoint(xP + 20, 115) << kWhite;
    QTest::newRow("lens") << false << QPoint(xP - 60, yL) << kWhite;
    QTest::newRow("folded image over the main axis") << false << QPoint(xP - 4, 135) << kYellow;
    QTest::newRow("white background: lens") << true << QPoint(xP - 60, yL) << kBlack;
    QTest::newRow("white background: folded image")
        << true << QPoint(xP - 4, 135) << QRgb(0x008080);
}

void TestTelescope::pixels()
{
    QFETCH(bool, white);
    QFETCH(QPoint, at);
    QFETCH(QRgb, colour);
    SceneInputs in = telescopeScene({}, {2});
    in.check[12] = white;
    const auto d = draw(in);
    QCOMPARE(QString::number(d->canvas.pixel(at.x(), at.y()), 16), QString::number(colour, 16));
}

QTEST_MAIN(TestTelescope)
#include "tst_telescope.moc"
