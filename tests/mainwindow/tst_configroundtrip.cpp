// A configuration saved from the main window and opened in another one gives the same scene;
// a file the loader refuses leaves the window exactly as it was.
#include "config/chargeconfig.h"
#include "config/configfile.h"
#include "config/enregistrer.h"
#include "config/ouvrir.h"
#include "config/recordfile.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepconfig.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"
#include "tests/mainwindow/scenewindow.h"
#include "tests/messagelog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using scenewindow::sceneOf;
using scenewindow::Window;

namespace {

void tick(FeuilleP &w, std::initializer_list<int> ticked)
{
    for (int k = 0; k < 18; ++k)
        w.Check1[size_t(k)]->setCheckState(Qt::Unchecked);
    for (int k : ticked)
        w.Check1[size_t(k)]->setCheckState(Qt::Checked);
}

} // namespace

class TestConfigRoundTrip : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void savedSceneOpensTheSame_data();
    void savedSceneOpensTheSame();
    void refusedFileChangesNoControl_data();
    void refusedFileChangesNoControl();

private:
    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(dir->filePath(name));
    }

    std::unique_ptr<QTemporaryDir> dir;
    QString startDir;
    QList<msgbox::Request> asked;
    int beeps = 0;
};

void TestConfigRoundTrip::init()
{
    dir = std::make_unique<QTemporaryDir>();
    startDir = QDir::currentPath();
    QDir::setCurrent(dir->path());
    recordMessages(asked, nullptr, msgbox::Answer::Yes);
    msgbox::setBeepCounter(&beeps);
}

void TestConfigRoundTrip::cleanup()
{
    msgbox::setInterceptor(nullptr);
    msgbox::setBeepCounter(nullptr);
    QDir::setCurrent(startDir);
}

void TestConfigRoundTrip::savedSceneOpensTheSame_data()
{
    QTest::addColumn<int>("zoomSteps"); // clicks on the scale buttons, "-" when negative
    QTest::addColumn<int>("precision");
    QTest::addColumn<bool>("telescope");
    QTest::addColumn<bool>("infinity");
    QTest::addColumn<QList<int>>("scrolls");
    QTest::addColumn<QString>("label");
    QTest::newRow("60 cm, two decimals")
        << 0 << 1 << false << false << QList<int> {7, 57, 150} << "60 cm";
    QTest::newRow("2 m, three decimals, telescope, object at infinity")
        << 5 << 2 << true << true << QList<int> {2, 60, 25} << "2 m";
    QTest::newRow("50 cm, smallest scale")
        << -1 << 0 << false << true << QList<int> {9, 84, 1} << "50 cm";
}

void TestConfigRoundTrip::savedSceneOpensTheSame()
{
    QFETCH(int, zoomSteps);
    QFETCH(int, precision);
    QFETCH(bool, telescope);
    QFETCH(bool, infinity);
    QFETCH(QList<int>, scrolls);
    QFETCH(QString, label);

    Window saved(dir->path());
    for (int i = 0; i < std::abs(zoomSteps); ++i)
        saved.w.Command3_Click(zoomSteps > 0 ? 1 : 0);
    for (int i = 0; i < precision; ++i)
        saved.w.Commandp_Click(1);
    tick(saved.w, {0, 2, 5, 9, 12, 17});
    saved.w.Check1[6]->setCheckState(telescope ? Qt::Checked : Qt::Unchecked);
    saved.w.Check2->setCheckState(infinity ? Qt::Checked : Qt::Unchecked);
    saved.w.HScroll1->setValue(scrolls[0]);
    saved.w.HScroll2->setValue(scrolls[1]);
    saved.w.HScroll3->setValue(scrolls[2]);
    saved.w.Text1[5]->setText(QStringLiteral("2,5"));
    saved.w.Text1_LostFocus(5);
    QCOMPARE(saved.w.Label2->text(), label);

    Enregistrer save(saved.host);
    save.show();
    save.Text1->setText(QStringLiteral("essai"));
    QTest::mouseClick(save.Command1, Qt::LeftButton);
    QCOMPARE(asked.size(), 0);
    QCOMPARE(saved.w.windowTitle(), QStringLiteral("Optalis - ") + path("essai.P17"));
    const QStringList before = sceneOf(saved);

    Window opened(dir->path());
    Ouvrir open(opened.host);
    open.show();
    open.ficharge->setText(path("essai.P17"));
    QTest::mouseClick(open.Command1, Qt::LeftButton);
    QCOMPARE(asked.size(), 0);
    QVERIFY(!open.isVisible());
    QCOMPARE(sceneOf(opened), before);
    QCOMPARE(opened.sv.fichconfig, path("essai.P17"));
}

void TestConfigRoundTrip::refusedFileChangesNoControl_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    const QString unreadable = QStringLiteral("Lecture impossible sur disque");
    QTest::newRow("signature in lower case")
        << "optalis" << QStringLiteral("Ce fichier ne correspond pas à cette application");
    QTest::newRow("file cut short") << "cut" << unreadable;
    QTest::newRow("record length 127") << "length" << unreadable;
    QTest::newRow("mount diameter beyond the file's scale") << "scroll" << unreadable;
    QTest::newRow("file missing") << "missing" << unreadable;
}

void TestConfigRoundTrip::refusedFileChangesNoControl()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);

    // The file is a valid save of a 60 cm scene, then spoilt.
    Window source(dir->path());
    ConfigValues values = readControls(source.host);
    QByteArray bytes;
    QVERIFY(buildConfigFile(values, &bytes));
    if (fault == QLatin1String("optalis"))
        bytes.replace(0, 128, encodeRecord(QStringLiteral("optalis")));
    else if (fault == QLatin1String("cut"))
        bytes.truncate(30 * 128);
    else if (fault == QLatin1String("length"))
        bytes[33 * 128] = char(127);
    else if (fault == QLatin1String("scroll"))
        bytes.replace(6 * 128, 128, encodeRecord(QStringLiteral(" 200")));
    if (fault != QLatin1String("missing")) {
        QFile f(path("abime.P17"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }

    // A window far from that file: 2 m, where 200 fits HScroll2, and Check2 ticked.
    Window win(dir->path());
    for (int i = 0; i < 5; ++i)
        win.w.Command3_Click(1);
    win.w.Commandp_Click(1);
    tick(win.w, {0, 6, 9});
    win.w.Check2->setCheckState(Qt::Checked);
    win.w.HScroll2->setValue(200);
    win.w.setWindowTitle(QStringLiteral("Optalis - avant.P17"));
    const QStringList before = sceneOf(win);
    const float echelle = win.sv.echelle;

    win.sv.fichconfig = path("abime.P17");
    asked.clear(); // a 20 cm mount is too wide for the telescope: that box is not ours
    QVERIFY(!chargeconfig(win.host));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, message);
    QCOMPARE(sceneOf(win), before);
    QCOMPARE(win.sv.echelle, echelle);
}

QTEST_MAIN(TestConfigRoundTrip)
#include "tst_configroundtrip.moc"
