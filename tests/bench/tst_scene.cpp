#include "bench/scene.h"

#include <QtTest>
#include <cmath>

class TestScene : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mirrorRelation_data();
    void mirrorRelation();
    void objectAtInfinity();
    void objectAtMirrorStopsThePass();
    void imageOnThePlaneMirrorIsMovedAside();
};

namespace {
constexpr float kEchelle = 764.0f / 60.0f;

SceneInputs sceneWith(const QString &xobjet, const QString &focale = QStringLiteral("10,0"))
{
    SceneInputs in = SceneInputs::defaults();
    in.text[4] = xobjet;
    in.text[1] = focale;
    return in;
}
} // namespace

void TestScene::mirrorRelation_data()
{
    QTest::addColumn<QString>("xobjet");
    QTest::addColumn<QString>("focale");
    QTest::addColumn<double>("sa");
    QTest::addColumn<double>("sapr");
    QTest::addColumn<double>("xima");
    QTest::addColumn<double>("hima");
    QTest::addColumn<bool>("real");
    QTest::newRow("default scene: real inverted image 12 cm before the mirror")
        << "0,0"
        << "10,0" << -60.0 << -12.0 << 48.0 << -0.6 << true;
    QTest::newRow("object between F and mirror: virtual upright image")
        << "55,0"
        << "10,0" << -5.0 << 10.0 << 70.0 << 6.0 << false;
    QTest::newRow("negative focal length counts as concave")
        << "0,0"
        << "-10,0" << -60.0 << -12.0 << 48.0 << -0.6 << true;
    QTest::newRow("object at C: image at C, same size")
        << "40,0"
        << "10,0" << -20.0 << -20.0 << 40.0 << -3.0 << true;
    QTest::newRow("object at F: moved by 0.0001 cm, image very far")
        << "50,0"
        << "10,0" << -10.0001 << -1000010.0 << 60.0 - 1000010.0 << -300000.0 << true;
}

void TestScene::mirrorRelation()
{
    QFETCH(QString, xobjet);
    QFETCH(QString, focale);
    QFETCH(double, sa);
    QFETCH(double, sapr);
    QFETCH(double, xima);
    QFETCH(double, hima);
    QFETCH(bool, real);
    Optics o;
    QCOMPARE(computeOptics(sceneWith(xobjet, focale), kEchelle, -10, &o), PassResult::Done);
    QVERIFY(std::fabs(o.sa - sa) < 1e-9);
    QVERIFY2(std::fabs(o.sapr - sapr) < 1e-6 * std::max(1.0, std::fabs(sapr)),
             qPrintable(QString::number(o.sapr, 'g', 12)));
    QVERIFY(std::fabs(o.xima - xima) < 1e-6 * std::max(1.0, std::fabs(xima)));
    QVERIFY2(std::fabs(o.hima - hima) < 1e-6 * std::max(1.0, std::fabs(hima)),
             qPrintable(QString::number(o.hima, 'g', 12)));
    QCOMPARE(o.imageReal(), real);
}

void TestScene::objectAtInfinity()
{
    SceneInputs in = SceneInputs::defaults();
    in.check2 = true;
    in.hscroll3 = 5;
    Optics o;
    QCOMPARE(computeOptics(in, kEchelle, -10, &o), PassResult::Done);
    QCOMPARE(o.sapr, -10.0);
    QVERIFY(std::fabs(o.hima - -0.0872687) < 1e-6);
    // The object stands 20 canvas units left of the bench origin.
    QVERIFY(std::fabs(o.xobjet * kEchelle - -20) < 1e-4);
    QVERIFY(std::fabs(o.hobjet - std::fabs(o.xobjet - 60) * std::tan(0.5 * 0.017453292)) < 1e-9);
}

void TestScene::objectAtMirrorStopsThePass()
{
    Optics o;
    QCOMPARE(computeOptics(sceneWith(QStringLiteral("60,0")), kEchelle, -10, &o),
             PassResult::ObjectAtMirror);
}

void TestScene::imageOnThePlaneMirrorIsMovedAside()
{
    Optics o;
    computeOptics(SceneInputs::defaults(), kEchelle, -10, &o);
    QCOMPARE(o.xima, 48.0f);
    QVERIFY(double(o.xima2) - o.xplan != 0);
    QVERIFY(std::fabs(double(o.xima2) - o.xplan - 0.0001) < 1e-5);
}

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
