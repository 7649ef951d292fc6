// Where the Windows program writes: the exchange file beside a copied program that may write
// there, else in %LOCALAPPDATA%\Optalis; save dialogs away from the program's own files.
#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestPathsWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void exchange_data();
    void exchange();
    void userFolderIsLocalAppData();
    void saveDir_data();
    void saveDir();

private:
    QTemporaryDir root;
    QString documents;
};

void TestPathsWindows::initTestCase()
{
    QVERIFY(root.isValid());
    documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(QDir().mkpath(documents));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("Clé USB/Optalis/exercices")));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("Élève/réglages été")));
}

void TestPathsWindows::exchange_data()
{
    QTest::addColumn<QString>("program"); // under the fresh root
    QTest::addColumn<bool>("beside"); // else in the user's folder

    QTest::newRow("copied folder with an accented name") << "Clé USB/Optalis" << true;
    QTest::newRow("folder gone") << "Clé USB/retiré" << false;
    QTest::newRow("a file, not a folder") << "Clé USB/Optalis/optalis.PEM" << false;
}

void TestPathsWindows::exchange()
{
    QFETCH(QString, program);
    QFETCH(bool, beside);
    QFile(root.filePath(QStringLiteral("Clé USB/Optalis/optalis.PEM"))).open(QIODevice::WriteOnly);
    const QString dir = root.filePath(program);
    QCOMPARE(paths::exchangeDir(dir), beside ? dir : paths::userDataDir());
    // The probe of a writable folder leaves nothing behind.
    const QStringList left = QDir(root.filePath(QStringLiteral("Clé USB/Optalis")))
                                 .entryList({QStringLiteral("*.tmp")}, QDir::Files);
    QCOMPARE(left, QStringList());
}

void TestPathsWindows::userFolderIsLocalAppData()
{
    // The suite's launcher finds the exchange file there, whatever Qt's organisation name.
    QCoreApplication::setOrganizationName(QStringLiteral("Autre"));
    QCoreApplication::setApplicationName(QStringLiteral("autre"));
    const QString local = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
    QVERIFY(!local.isEmpty());
    QCOMPARE(paths::userDataDir().toLower(), (local + QStringLiteral("/Optalis")).toLower());
    QVERIFY(QFileInfo(paths::userDataDir()).isDir());
}

void TestPathsWindows::saveDir_data()
{
    QTest::addColumn<QString>("current"); // the folder last browsed, under the fresh root
    QTest::addColumn<QString>("expected"); // "<documents>" is the user's Documents

    QTest::newRow("the program's folder") << "Clé USB/Optalis"
                                          << "<documents>";
    QTest::newRow("its exercises") << "Clé USB/Optalis/exercices"
                                   << "<documents>";
    QTest::newRow("its exercises, another case") << "CLÉ USB/optalis/EXERCICES"
                                                 << "<documents>";
    QTest::newRow("the pupil's accented folder") << "Élève/réglages été"
                                                 << "Élève/réglages été";
    QTest::newRow("the stick beside the program") << "Clé USB"
                                                  << "Clé USB";
    QTest::newRow("folder gone") << "Élève/retiré"
                                 << "<documents>";
}

void TestPathsWindows::saveDir()
{
    QFETCH(QString, current);
    QFETCH(QString, expected);
    const QString program = root.filePath(QStringLiteral("Clé USB/Optalis"));
    const QString want
        = expected == QLatin1String("<documents>") ? documents : root.filePath(expected);
    // Backslashes and a drive letter, as Windows gives them.
    const QString native = QDir::toNativeSeparators(root.filePath(current));
    QCOMPARE(QDir::cleanPath(paths::saveDir(program, native)), QDir::cleanPath(want));
}

QTEST_GUILESS_MAIN(TestPathsWindows)
#include "tst_paths_windows.moc"
