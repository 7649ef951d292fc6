#include "bench/figure.h"
#include "platform/canvas.h"
#include "platform/sharedvalues.h"

#include <QtTest>

class TestFigure : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultFigurePixels_data();
    void defaultFigurePixels();
    void mirrorDrawing();
    void virtualImage_data();
    void virtualImage();
    void objectAtMirrorKeepsThePreviousFigure();
    void labels_data();
    void labels();
    void handles_data();
    void handles();
    void infinityDisablesParallelRay();
    void figureDependsOnTheSceneAlone_data();
    void figureDependsOnTheSceneAlone();
};

namespace {
const QRgb kBlack = 0x000000, kWhite = 0xffffff, kYellow = 0xffff00, kCyan = 0x008080;

SceneInputs startScene()
{
    SceneInputs in = SceneInputs::defaults();
    for (int i : {1, 2, 7, 11, 13, 14})
        in.check[size_t(i)] = true;
    return in;
}

Canvas makeCanvas()
{
    Canvas c(784, 265);
    c.setScaleLeft(-10);
    c.setScaleTop(4);
    return c;
}

FigureOutput draw(Canvas &c, const SceneInputs &in, int longaxe = 60)
{
    SharedValues sv;
    sv.longaxe = int16_t(longaxe);
    return majaff(c, in, sv);
}
} // namespace

// Default scene at 60 cm: xS = 764, mount 102 units, object 38 units, image at (611, 143).
void TestFigure::defaultFigurePixels_data()
{
    QTest::addColumn<bool>("white");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("colour");
    const struct
    {
        const char *what;
        QPoint at;
        QRgb black, white;
    } points[] = {
        {"background", {100, 50}, kBlack, kWhite},
        {"axis", {100, 135}, kWhite, kBlack},
        {"axis end", {764, 135}, kWhite, kBlack},
        {"no axis left of the origin", {-5, 135}, kBlack, kWhite},
        {"mirror", {764, 100}, kWhite, kBlack},
        {"mirror top end turned left", {759, 28}, kWhite, kBlack},
        {"object body", {0, 120}, kYellow, kCyan},
        {"object tip", {0, 97}, kYellow, kCyan},
        {"real image body", {611, 140}, kYellow, kCyan},
        {"centre mark", {509, 133}, kWhite, kBlack},
        {"focus mark", {637, 133}, kWhite, kBlack},
    };
    for (const auto &p : points) {
        QTest::addRow("black background: %s", p.what) << false << p.at << p.black;
        QTest::addRow("white background: %s", p.what) << true << p.at << p.white;
    }
}

void TestFigure::defaultFigurePixels()
{
    QFETCH(bool, white);
    QFETCH(QPoint, at);
    QFETCH(QRgb, colour);
    Canvas c = makeCanvas();
    SceneInputs in = startScene();
    in.check[12] = white;
    const FigureOutput out = draw(c, in);
    QVERIFY(out.drawn);
    QCOMPARE(QString::number(c.pixel(at.x(), at.y()), 16), QString::number(colour, 16));
}

void TestFigure::mirrorDrawing()
{
    Canvas c = makeCanvas();
    c.setRecording(true);
    draw(c, startScene());
    int hatches = 0;
    bool mirrorLine = false;
    for (const auto &op : c.ops()) {
        if (op.kind != Canvas::Op::Line || op.color != kWhite)
            continue;
        if (op.x1 == 764 && op.x2 == 769 && op.y2 == op.y1 - 5)
            ++hatches;
        if (op.x1 == 764 && op.y1 == 33 && op.x2 == 764 && op.y2 == 238)
            mirrorLine = true;
    }
    QVERIFY(mirrorLine);
    QCOMPARE(hatches, 42); // every 5 units from 33 to 238
    bool labelS = false;
    for (const auto &op : c.ops())
        labelS |= op.kind == Canvas::Op::Text && op.text == QLatin1String("S") && op.x1 == 768
            && op.y1 == 139;
    QVERIFY(labelS);
}

// Object at 55 cm on a 100 cm axis: virtual upright image at (534, 89).
void TestFigure::virtualImage_data()
{
    QTest::addColumn<bool>("images");
    QTest::addColumn<bool>("virtualImages");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("both options: drawn") << true << true << true;
    QTest::newRow("virtual images off: not drawn") << true << false << false;
    QTest::newRow("images off: not drawn") << false << true << false;
}

void TestFigure::virtualImage()
{
    QFETCH(bool, images);
    QFETCH(bool, virtualImages);
    QFETCH(bool, drawn);
    Canvas c = makeCanvas();
    SceneInputs in = startScene();
    in.text[4] = QStringLiteral("55,0");
    in.check[2] = images;
    in.check[11] = virtualImages;
    c.setRecording(true);
    draw(c, in, 100);
    int lit = 0, dark = 0;
    for (int y = 90; y < 135; ++y)
        (c.pixel(534, y) == kYellow ? lit : dark)++;
    // The solid arrowhead points down from the tip, the body is dotted.
    const bool barb = c.pixel(536, 93) == kYellow;
    QCOMPARE(barb, drawn);
    if (drawn) {
        QVERIFY(lit > 10);
        QVERIFY(dark > 10);
        bool footLabel = false;
        for (const auto &op : c.ops())
            footLabel |= op.kind == Canvas::Op::Text && op.text == QLatin1String("A'")
                && op.x1 == 534 - 8 && op.y1 == 139;
        QVERIFY(footLabel);
    } else {
        QCOMPARE(lit, 0);
    }
}

void TestFigure::objectAtMirrorKeepsThePreviousFigure()
{
    Canvas c = makeCanvas();
    draw(c, startScene());
    const QImage before = c.image().copy();
    SceneInputs in = startScene();
    in.text[4] = QStringLiteral("60,0");
    in.check[12] = true;
    const FigureOutput out = draw(c, in);
    QVERIFY(!out.drawn);
    QVERIFY(c.image() == before);
}

void TestFigure::labels_data()
{
    QTest::addColumn<QString>("focale");
    QTest::addColumn<QString>("xobjet");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("height");
    QTest::newRow("default scene") << "10,0"
                                   << "0,0"
                                   << "48,0 cm"
                                   << "-0,6 cm";
    QTest::newRow("object at F") << "10,0"
                                 << "50,0"
                                 << "Hors limites"
                                 << "Hors limites";
    QTest::newRow("virtual image") << "10,0"
                                   << "55,0"
                                   << "70,0 cm"
                                   << "6,0 cm";
    // 49,7 - 60 + 10,3 is 3.6E-15, not 0: the virtual image lies 3E16 cm away, far beyond
    // the range of canvas units, and is drawn with its arrowhead all the same.
    QTest::newRow("object at F within rounding: image beyond any canvas unit") << "10,3"
                                                                               << "49,7"
                                                                               << "Hors limites"
                                                                               << "Hors limites";
}

void TestFigure::labels()
{
    QFETCH(QString, focale);
    QFETCH(QString, xobjet);
    Canvas c = makeCanvas();
    SceneInputs in = startScene();
    in.text[1] = focale;
    in.text[4] = xobjet;
    const FigureOutput out = draw(c, in);
    QVERIFY(out.drawn);
    QFETCH(QString, position);
    QFETCH(QString, height);
    QCOMPARE(out.label3[0], position);
    QCOMPARE(out.label3[1], height);
    QVERIFY(!out.telescope);
}

void TestFigure::handles_data()
{
    QTest::addColumn<QString>("hobjet");
    QTest::addColumn<QString>("dmonture");
    QTest::addColumn<QList<int>>("ab"); // centre x, top, height
    QTest::addColumn<QList<int>>("l1");
    QTest::newRow("default scene") << "3,0"
                                   << "8,0" << QList<int> {0, 97, 38} << QList<int> {764, 33, 204};
    QTest::newRow("tall object and mount limited to 135 units")
        << "20,0"
        << "20,0" << QList<int> {0, 0, 135} << QList<int> {764, 0, 270};
}

void TestFigure::handles()
{
    QFETCH(QString, hobjet);
    QFETCH(QString, dmonture);
    QFETCH(QList<int>, ab);
    QFETCH(QList<int>, l1);
    Canvas c = makeCanvas();
    SceneInputs in = startScene();
    in.text[5] = hobjet;
    in.text[6] = dmonture;
    const FigureOutput out = draw(c, in);
    QCOMPARE((QList<int> {out.ab.centerX, out.ab.top, out.ab.height}), ab);
    QCOMPARE((QList<int> {out.l1.centerX, out.l1.top, out.l1.height}), l1);
}

void TestFigure::infinityDisablesParallelRay()
{
    Canvas c = makeCanvas();
    SceneInputs in = startScene();
    in.check2 = true;
    in.hscroll3 = 101;
    const FigureOutput out = draw(c, in);
    QVERIFY(!out.check14Enabled);
    QVERIFY(out.label1Set);
    QCOMPARE(out.label1, QStringLiteral("10,1°"));
    QCOMPARE(out.label3[0], QStringLiteral("50,0 cm"));
}

void TestFigure::figureDependsOnTheSceneAlone_data()
{
    QTest::addColumn<int>("box"); // drawn ticked first, then the scene as it was
    QTest::addColumn<bool>("telescope");
    QTest::newRow("graduation") << 17 << false;
    QTest::newRow("graduation, telescope") << 17 << true;
    QTest::newRow("beam") << 5 << false;
    QTest::newRow("white background") << 12 << false;
    QTest::newRow("prolonged rays") << 0 << true;
    QTest::newRow("arrows") << 9 << false;
}

// The same scene gives the same picture and the same operations, whatever was drawn before.
void TestFigure::figureDependsOnTheSceneAlone()
{
    QFETCH(int, box);
    QFETCH(bool, telescope);
    SceneInputs in = startScene();
    in.check[6] = telescope;
    Canvas fresh = makeCanvas();
    fresh.setRecording(true);
    draw(fresh, in);
    Canvas used = makeCanvas();
    SceneInputs other = in;
    other.check[size_t(box)] = !other.check[size_t(box)];
    draw(used, other);
    used.setRecording(true);
    draw(used, in);
    QCOMPARE(used.ops().size(), fresh.ops().size());
    for (size_t i = 0; i < fresh.ops().size(); ++i) {
        const Canvas::Op &a = used.ops()[i], &b = fresh.ops()[i];
        QVERIFY2(a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2
                     && a.color == b.color && a.style == b.style && a.text == b.text,
                 qPrintable(QStringLiteral("operation %1: %2 (%3,%4) against %5 (%6,%7)")
                                .arg(i)
                                .arg(b.text)
                                .arg(b.x1)
                                .arg(b.y1)
                                .arg(a.text)
                                .arg(a.x1)
                                .arg(a.y1)));
    }
    QCOMPARE(used.image(), fresh.image());
}

QTEST_MAIN(TestFigure)
#include "tst_figure.moc"
