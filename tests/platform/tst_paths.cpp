// Where the program reads its shipped files and writes the exchange file, for a program run
// from the build tree, from a copied folder and from an installed tree.
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The folders `made` under a fresh root.
bool makeTree(const QTemporaryDir &root, const QStringList &made)
{
    if (!root.isValid())
        return false;
    for (const QString &dir : made)
        if (!QDir(root.path()).mkpath(dir))
            return false;
    return true;
}

} // namespace

class TestPaths : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void places_data();
    void places();
    void readOnlyCopyWritesToUserData();
    void saveDir_data();
    void saveDir();

private:
    QTemporaryDir home;
};

void TestPaths::initTestCase()
{
    QVERIFY(home.isValid());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents")));
    QCoreApplication::setApplicationName(QStringLiteral("optalis"));
}

void TestPaths::places_data()
{
    QTest::addColumn<QString>("program"); // the executable's folder, under a fresh root
    QTest::addColumn<QStringList>("made"); // folders that exist under that root
    QTest::addColumn<QString>("shipped"); // expected, "<user>" is the user's data folder
    QTest::addColumn<QString>("exchange");

    QTest::newRow("build tree: beside the program")
        << "build/mainwindow" << QStringList {"build/mainwindow"} << "build/mainwindow"
        << "build/mainwindow";
    QTest::newRow("copied folder: beside the program")
        << "Optalis" << QStringList {"Optalis"} << "Optalis"
        << "Optalis";
    QTest::newRow("installed tree: share/optalis, exchange with the user")
        << "usr/bin" << QStringList {"usr/bin", "usr/share/optalis"} << "usr/share/optalis"
        << "<user>";
    QTest::newRow("other prefix: the same rule")
        << "opt/o/bin" << QStringList {"opt/o/bin", "opt/o/share/optalis"} << "opt/o/share/optalis"
        << "<user>";
    QTest::newRow("share without optalis: not installed")
        << "usr/bin" << QStringList {"usr/bin", "usr/share"} << "usr/bin"
        << "usr/bin";
}

void TestPaths::places()
{
    QFETCH(QString, program);
    QFETCH(QStringList, made);
    QFETCH(QString, shipped);
    QFETCH(QString, exchange);
    QTemporaryDir root;
    QVERIFY(makeTree(root, made));
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QVERIFY(user.startsWith(home.path()));
    auto expected = [&](const QString &rel) {
        return rel == QLatin1String("<user>") ? user : root.filePath(rel);
    };
    const QString programDir = root.filePath(program);
    QCOMPARE(paths::shippedDir(programDir), expected(shipped));
    QCOMPARE(paths::exchangeDir(programDir), expected(exchange));
    // Nothing is created beside an installed program; the user's folder exists once named.
    QVERIFY(QDir(paths::exchangeDir(programDir)).exists());
    QCOMPARE(QDir(programDir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void TestPaths::readOnlyCopyWritesToUserData()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
    QVERIFY(QFile::setPermissions(root.path(), readOnly));
    const bool ignored = QFileInfo(root.path()).isWritable(); // root writes anywhere
    QVERIFY(QFile::setPermissions(root.path(), readOnly | QFile::WriteOwner));
    if (ignored)
        QSKIP("permissions do not bind this user");
    QVERIFY(QFile::setPermissions(root.path(), readOnly));
    QCOMPARE(paths::exchangeDir(root.path()),
             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QVERIFY(QFile::setPermissions(root.path(), readOnly | QFile::WriteOwner));
}

void TestPaths::saveDir_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("made");
    QTest::addColumn<QString>("current"); // the folder last browsed
    QTest::addColumn<QString>("expected"); // "<documents>" is the user's documents folder

    const QStringList installed {"usr/bin", "usr/share/optalis/exercices", "usr/share/optalis2",
                                 "home/eleve"};
    QTest::newRow("installed: shipped exercises")
        << "usr/bin" << installed << "usr/share/optalis/exercices"
        << "<documents>";
    QTest::newRow("installed: shipped folder itself")
        << "usr/bin" << installed << "usr/share/optalis/"
        << "<documents>";
    QTest::newRow("installed: a folder whose name starts alike")
        << "usr/bin" << installed << "usr/share/optalis2"
        << "usr/share/optalis2";
    QTest::newRow("installed: the pupil's folder") << "usr/bin" << installed << "home/eleve"
                                                   << "home/eleve";
    QTest::newRow("build tree: exercises beside the program")
        << "build/mainwindow" << QStringList {"build/mainwindow/exercices"}
        << "build/mainwindow/exercices"
        << "build/mainwindow/exercices";
    QTest::newRow("folder gone") << "build/mainwindow" << QStringList {"build/mainwindow"}
                                 << "retire"
                                 << "<documents>";
}

void TestPaths::saveDir()
{
    QFETCH(QString, program);
    QFETCH(QStringList, made);
    QFETCH(QString, current);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(makeTree(root, made));
    const QString want = expected == QLatin1String("<documents>")
        ? home.filePath(QStringLiteral("Documents"))
        : root.filePath(expected);
    QCOMPARE(paths::saveDir(root.filePath(program), root.filePath(current)), want);
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
