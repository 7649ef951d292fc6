// Bytes of configuration files, the loader's order and its refusals, and saves that fail.
#include "config/chargeconfig.h"
#include "config/configfile.h"
#include "config/recordfile.h"
#include "fakehost.h"
#include "platform/msgbox.h"
#include "platform/testing/filesizelimit.h"
#include "tests/messagelog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ConfigValues)

namespace {

ConfigValues startValues()
{
    FakeHost host;
    return readControls(host);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool putBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray layoutOf(const ConfigValues &values)
{
    QByteArray bytes;
    return buildConfigFile(values, &bytes) ? bytes : QByteArray();
}

QString recordText(const QByteArray &bytes, int record)
{
    QString text;
    decodeRecord(bytes.mid((record - 1) * 128, 128), &text);
    return text;
}

// A valid file at 2 m with three decimals, telescope and object at infinity.
ConfigValues farScene()
{
    ConfigValues v;
    v.combo1 = 2;
    v.nzoom = 6;
    v.longaxe = 200;
    v.echelle = 3.875f;
    v.hscroll = {7, 300, 150};
    v.check2 = true;
    for (int k : {0, 5, 6, 9, 12, 17})
        v.check1[size_t(k)] = true;
    v.text1 = {QStringLiteral("150,000"), QStringLiteral("-40,000"), QStringLiteral("120,000"),
               QStringLiteral("15,000"),  QStringLiteral("20,500"),  QStringLiteral("6,000"),
               QStringLiteral("30,0"),    QStringLiteral("30,0"),    QStringLiteral("25,000")};
    return v;
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newFileOfTheStartScene();
    void loadSetsControlsInOrder();
    void flagTexts_data();
    void flagTexts();
    void rejectedFileChangesNothing_data();
    void rejectedFileChangesNothing();
    void saveKeepsBytesBeyondTheLayout_data();
    void saveKeepsBytesBeyondTheLayout();
    void failedSaveKeepsPreviousFile_data();
    void failedSaveKeepsPreviousFile();

private:
    QString path(const QString &name) const { return dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir;
    QList<msgbox::Request> asked;
};

void TestConfigFile::init()
{
    dir = std::make_unique<QTemporaryDir>();
    recordMessages(asked);
}

void TestConfigFile::cleanup()
{
    msgbox::setInterceptor(nullptr);
}

void TestConfigFile::newFileOfTheStartScene()
{
    const QByteArray bytes = layoutOf(startValues());
    QVERIFY(writeConfigFile(path("essai.P17"), bytes));
    QCOMPARE(fileBytes(path("essai.P17")), bytes);
    QCOMPARE(bytes.size(), 4608);
    QCOMPARE(bytes.left(128), QByteArray("\x07\x00OPTALIS", 9) + QByteArray(119, '\0'));
    QCOMPARE(bytes.mid(128, 128), QByteArray("\x02\x00 0", 4) + QByteArray(124, '\0'));
    QStringList records;
    for (int r = 1; r <= 36; ++r)
        records << recordText(bytes, r);
    // Scroll values with their leading space, `echelle` to 7 digits, fields as displayed.
    const QStringList expected
        = QStringLiteral(
              "OPTALIS| 0| 1| 60| 12.91667| 4| 80| 100|0|0|1|1|0|0|0|0|1|0|0|0|1|0|1|1|0|0|0|"
              "60,0|-10,0|48,0|10,0|0,0|3,0|8,0|8,0|8,0")
              .split(QLatin1Char('|'));
    QCOMPARE(records, expected);
}

void TestConfigFile::loadSetsControlsInOrder()
{
    const ConfigValues v = farScene();
    QVERIFY(writeConfigFile(path("loin.P17"), layoutOf(v)));
    FakeHost host;
    host.sv.fichconfig = path("loin.P17");
    QVERIFY(chargeconfig(host));

    // Each control's handler sees the controls set before it, so the order is part of the load.
    QStringList expected {QStringLiteral("hold"),         QStringLiteral("Check2=0"),
                          QStringLiteral("Combo1=2"),     QStringLiteral("HScroll1=7"),
                          QStringLiteral("Label2=2 m"),   QStringLiteral("HScroll2.max=338"),
                          QStringLiteral("HScroll2=300"), QStringLiteral("HScroll3=150")};
    for (int k = 0; k < 18; ++k)
        expected << QStringLiteral("Check1(%1)=0").arg(k);
    for (int k = 0; k < 9; ++k)
        expected << QStringLiteral("Text1(%1)=%2").arg(k).arg(v.text1[size_t(k)]);
    for (int k = 0; k < 18; ++k)
        expected << QStringLiteral("Check1(%1)=%2").arg(k).arg(int(v.check1[size_t(k)]));
    expected << QStringLiteral("Check2=1") << QStringLiteral("release")
             << QStringLiteral("caption=Optalis - ") + path("loin.P17") << QStringLiteral("testpos")
             << QStringLiteral("majaff");
    QCOMPARE(host.log, expected);
}

void TestConfigFile::flagTexts_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("1 ticks") << "1" << true;
    QTest::newRow("leading space leaves unticked") << " 1" << false;
    QTest::newRow("trailing space leaves unticked") << "1 " << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("-1, a ticked box elsewhere") << "-1" << false;
}

void TestConfigFile::flagTexts()
{
    QFETCH(QString, flag);
    QFETCH(bool, ticked);
    QByteArray bytes = layoutOf(farScene());
    bytes.replace(9 * 128, 128, encodeRecord(flag)); // Check1(0)
    bytes.replace(8 * 128, 128, encodeRecord(flag)); // Check2
    QVERIFY(putBytes(path("flags.P17"), bytes));
    FakeHost host;
    host.checks[0] = !ticked;
    host.infinity = !ticked;
    host.sv.fichconfig = path("flags.P17");
    QVERIFY(chargeconfig(host));
    QCOMPARE(host.checks[0], ticked);
    QCOMPARE(host.infinity, ticked);
}

void TestConfigFile::rejectedFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    const QByteArray good = layoutOf(farScene());
    const QString foreign = QStringLiteral("Ce fichier ne correspond pas à cette application");
    const QString foreignTitle = QStringLiteral("Fichier non valide");
    const QString unreadable = QStringLiteral("Lecture impossible sur disque");
    const QString unreadableTitle = QStringLiteral("Erreur lors du chargement du fichier");
    const auto withText = [&good](int record, const char *text) {
        return QByteArray(good).replace((record - 1) * 128, 128,
                                        encodeRecord(QString::fromLatin1(text)));
    };
    const auto withLength = [&good](int record, int length) {
        QByteArray bytes = good;
        bytes[(record - 1) * 128] = char(length & 0xFF);
        bytes[(record - 1) * 128 + 1] = char(length >> 8);
        return bytes;
    };
    const auto refused = [&](const char *name, const QByteArray &content, bool isForeign) {
        QTest::newRow(name) << content << (isForeign ? foreign : unreadable)
                            << (isForeign ? foreignTitle : unreadableTitle);
    };
    refused("signature in lower case", withText(1, "optalis"), true);
    refused("signature with a trailing space", withText(1, "OPTALIS "), true);
    refused("empty file", QByteArray(), true);
    refused("cut after record 20", good.left(20 * 128), false);
    refused("cut inside the filler of record 36", good.left(4600), false);
    refused("signature length above 126", withLength(1, 127), false);
    refused("field record length 127", withLength(30, 127), false);
    refused("last record length 300", withLength(36, 300), false);
    refused("arrow position 0", withText(6, " 0"), false);
    refused("arrow position 10", withText(6, " 10"), false);
    refused("mount diameter above the file's axis", withText(7, " 339"), false);
    refused("mount diameter 4", withText(7, " 4"), false);
    refused("apparent angle 301", withText(8, " 301"), false);
    refused("precision index 3", withText(2, " 3"), false);
    refused("precision index -1", withText(2, "-1"), false);
    refused("scale index 13", withText(3, " 13"), false);
    refused("axis length 0", withText(4, " 0"), false);
    refused("scale beyond single precision", withText(5, " 1E+39"), false);
}

void TestConfigFile::rejectedFileChangesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QVERIFY(putBytes(path("mauvais.P17"), content));
    FakeHost host;
    // A host at 50 m accepts a larger mount diameter than the file's own axis allows.
    host.sv.nzoom = 12;
    host.sv.longaxe = 5000;
    host.maximums[1] = mountMaximum(5000);
    host.infinity = true;
    host.sv.fichconfig = path("mauvais.P17");
    QVERIFY(!chargeconfig(host));
    QCOMPARE(host.log, QStringList());
    QVERIFY(host.infinity);
    QCOMPARE(host.sv.nzoom, int16_t(12));
    QCOMPARE(host.sv.longaxe, int16_t(5000));
    QCOMPARE(host.sv.echelle, 12.91667f);
    QCOMPARE(host.window.windowTitle(), QStringLiteral("Optalis"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, message);
    QCOMPARE(asked[0].title, title);
    QCOMPARE(asked[0].icon, msgbox::Icon::Critical);
    QCOMPARE(fileBytes(path("mauvais.P17")), content);
}

void TestConfigFile::saveKeepsBytesBeyondTheLayout_data()
{
    QTest::addColumn<QByteArray>("previous");
    QTest::addColumn<QByteArray>("tail");
    QByteArray longer(4608, 'x');
    QTest::newRow("longer file keeps its end")
        << longer + "exercise data" << QByteArray("exercise data");
    QTest::newRow("shorter file is replaced whole") << QByteArray(200, 'y') << QByteArray();
    QTest::newRow("no previous file") << QByteArray() << QByteArray();
}

void TestConfigFile::saveKeepsBytesBeyondTheLayout()
{
    QFETCH(QByteArray, previous);
    QFETCH(QByteArray, tail);
    if (!previous.isEmpty())
        QVERIFY(putBytes(path("essai.P17"), previous));
    const QByteArray layout = layoutOf(farScene());
    QVERIFY(writeConfigFile(path("essai.P17"), layout));
    QCOMPARE(fileBytes(path("essai.P17")), layout + tail);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("essai.P17")});
}

void TestConfigFile::failedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("read-only directory") << "read-only";
    QTest::newRow("disk full part-way") << "size limit";
    QTest::newRow("field text over 126 bytes") << "long text";
    QTest::newRow("folder missing") << "no folder";
}

void TestConfigFile::failedSaveKeepsPreviousFile()
{
    QFETCH(QString, how);
    QString target = path("essai.P17");
    const QByteArray previous = layoutOf(startValues()) + "tail";
    QVERIFY(putBytes(target, previous));
    ConfigValues v = farScene();
    QByteArray layout = layoutOf(v);
    bool written = true;
    if (how == QLatin1String("read-only")) {
        const auto open = QFile::permissions(dir->path());
        QVERIFY(QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(path("probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(dir->path(), open);
            QSKIP("This user writes into read-only directories (root)");
        }
        written = writeConfigFile(target, layout);
        QFile::setPermissions(dir->path(), open);
    } else if (how == QLatin1String("size limit")) {
        if (!FileSizeLimit::supported)
            QSKIP("No file size limit on this system");
        const FileSizeLimit limit(1000);
        written = writeConfigFile(target, layout);
    } else if (how == QLatin1String("long text")) {
        v.text1[0] = QString(127, QLatin1Char('9'));
        written = buildConfigFile(v, &layout) && writeConfigFile(target, layout);
    } else {
        target = path("absent/essai.P17");
        written = writeConfigFile(target, layout);
        QVERIFY(!QFileInfo::exists(target));
    }
    QVERIFY(!written);
    QCOMPARE(fileBytes(path("essai.P17")), previous);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList {QStringLiteral("essai.P17")});
}

QTEST_MAIN(TestConfigFile)
#include "tst_configfile.moc"
