// Exercise files as the preview and the open read them: hostile records, numbers written as
// text, and names stored on another system.
#include "exercises/exofile.h"
#include "exofixtures.h"
#include "tests/filecase.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace exofile;

class TestExoFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { dir = std::make_unique<QTemporaryDir>(); }
    void damagedFiles_data();
    void damagedFiles();
    void missingFileReadsEmptyAndStaysMissing();
    void numbers_data();
    void numbers();
    void preview_data();
    void preview();
    void resolvedNames_data();
    void resolvedNames();
    void separatorAddedOnce_data();
    void separatorAddedOnce();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestExoFile::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("record");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("text");

    const QByteArray two
        = encodeRecord(QStringLiteral("a.rtf")) + encodeRecord(QStringLiteral("b"));
    QTest::newRow("record beyond the end reads empty") << two << 12 << true << QString();
    QByteArray tooLong = two;
    tooLong[128] = char(127);
    QTest::newRow("length 127 is refused") << tooLong << 2 << false << QString();
    QTest::newRow("last record partial, text whole") << two.left(130) + "x" << 2 << true << "x";
    QByteArray cut = two.left(128) + encodeRecord(QStringLiteral("abcdef")).left(5);
    QTest::newRow("text cut short") << cut << 2 << false << QString();
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919 + 13) % 256);
    QTest::newRow("binary file") << binary << 3 << false << QString();
    QTest::newRow("empty file") << QByteArray() << 1 << true << QString();
}

void TestExoFile::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, record);
    QFETCH(bool, readable);
    QFETCH(QString, text);
    QVERIFY(fixtures::putBytes(path(QStringLiteral("x.E38")), bytes));
    QStringList texts;
    QCOMPARE(readRecords(path(QStringLiteral("x.E38")), {record}, &texts), readable);
    if (readable)
        QCOMPARE(texts.value(0), text);
    // The preview of such a file never crashes and never changes it.
    readPreview(path(QStringLiteral("x.E38")));
    QCOMPARE(fixtures::fileBytes(path(QStringLiteral("x.E38"))), bytes);
}

void TestExoFile::missingFileReadsEmptyAndStaysMissing()
{
    QStringList texts;
    QVERIFY(readRecords(path(QStringLiteral("absent.E38")), {1, 2}, &texts));
    QCOMPARE(texts, QStringList({QString(), QString()}));
    QVERIFY(!QFile::exists(path(QStringLiteral("absent.E38"))));
    QVERIFY(!readRecords(dir->path(), {1}, &texts));
}

void TestExoFile::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("hourglasses");
    QTest::newRow("comma ends the number") << "1,5" << 1.0 << 1;
    QTest::newRow("point is decimal") << "2.5" << 2.5 << 2;
    QTest::newRow("half goes to even upward") << "3.5" << 3.5 << 4;
    QTest::newRow("leading blanks") << "  3" << 3.0 << 3;
    QTest::newRow("negative") << "-1" << -1.0 << 0;
    QTest::newRow("word") << "trois" << 0.0 << 0;
    QTest::newRow("empty") << "" << 0.0 << 0;
    QTest::newRow("digits then word") << "2 sabliers" << 2.0 << 2;
    QTest::newRow("huge count is bounded") << "1E300" << 1e300 << MaxHourglasses;
}

void TestExoFile::numbers()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(int, hourglasses);
    QCOMPARE(recordNumber(text), number);
    QCOMPARE(hourglassCount(text), hourglasses);
}

void TestExoFile::preview_data()
{
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<bool>("corrected");
    QTest::addColumn<double>("level");
    QTest::addColumn<QString>("notions");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("hourglasses");

    QStringList full = fixtures::exercise(QStringLiteral("e.rtf"));
    QTest::newRow("complete, no correction") << full << false << 2.0 << "Miroir sphérique"
                                             << "Image d'un objet" << 3;
    QStringList blanks = full;
    blanks[2] = QStringLiteral("   ");
    blanks[3] = QStringLiteral(" ");
    QTest::newRow("records 3 and 4 blank") << blanks << false << 2.0 << "Miroir sphérique"
                                           << "Image d'un objet" << 3;
    QStringList onlyFour = full;
    onlyFour[3] = QStringLiteral("c.P17");
    QTest::newRow("only record 4") << onlyFour << true << 2.0 << "Miroir sphérique"
                                   << "Image d'un objet" << 3;
    QStringList pieces = full;
    pieces[6] = QStringLiteral("Optique ");
    pieces[7] = QStringLiteral("   ");
    pieces[8] = QStringLiteral("géométrique");
    pieces[9] = QStringLiteral(" : miroirs");
    QTest::newRow("notions as stored, blank piece skipped")
        << pieces << false << 2.0 << "Optique géométrique : miroirs"
        << "Image d'un objet" << 3;
    QTest::newRow("four records only") << full.mid(0, 4) << false << 0.0 << ""
                                       << "" << 0;
}

void TestExoFile::preview()
{
    QFETCH(QStringList, records);
    QVERIFY(fixtures::writeExo(path(QStringLiteral("p.E38")), records));
    const Preview p = readPreview(path(QStringLiteral("p.E38")));
    QVERIFY(p.readable);
    QTEST(p.corrected, "corrected");
    QTEST(p.level.value_or(-99), "level");
    QTEST(p.notions, "notions");
    QTEST(p.title.value_or(QStringLiteral("?")), "title");
    QTEST(p.hourglasses, "hourglasses");
}

void TestExoFile::resolvedNames_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("exact") << QStringList {"enonce1.rtf"} << "enonce1.rtf"
                           << "enonce1.rtf";
    QTest::newRow("other case") << QStringList {"enonce1.rtf"} << "Enonce1.RTF"
                                << "enonce1.rtf";
    QTest::newRow("exact case first") << QStringList {"A.rtf", "a.rtf"} << "a.rtf"
                                      << "a.rtf";
    QTest::newRow("backslash between folders")
        << QStringList {"textes/enonce1.rtf"} << "Textes\\ENONCE1.rtf"
        << "textes/enonce1.rtf";
    QTest::newRow("slash between folders")
        << QStringList {"textes/enonce1.rtf"} << "textes/enonce1.rtf"
        << "textes/enonce1.rtf";
    QTest::newRow("trailing blanks") << QStringList {"c.P17"} << "c.P17   "
                                     << "c.P17";
    QTest::newRow("missing is kept as written") << QStringList {"autre.rtf"} << "sous\\absent.rtf"
                                                << "sous/absent.rtf";
}

void TestExoFile::resolvedNames()
{
    QFETCH(QStringList, present);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    for (const QString &name : present) {
        QDir(dir->path()).mkpath(QFileInfo(path(name)).path());
        QVERIFY(fixtures::putBytes(path(name), "x"));
    }
    const QString resolved = resolveName(withSeparator(dir->path()), stored);
    const QString wanted = QDir::toNativeSeparators(path(expected));
    QVERIFY2(resolved.compare(wanted, fixtures::caseOf(dir->path())) == 0, qPrintable(resolved));
}

void TestExoFile::separatorAddedOnce_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("expected");
    QTest::newRow("root") << QDir::rootPath() << QDir::toNativeSeparators(QDir::rootPath());
    QTest::newRow("folder") << "/tmp" << QDir::toNativeSeparators("/tmp/");
    QTest::newRow("folder with separator") << "/tmp/" << QDir::toNativeSeparators("/tmp/");
}

void TestExoFile::separatorAddedOnce()
{
    QFETCH(QString, dir);
    QTEST(withSeparator(dir), "expected");
}

QTEST_GUILESS_MAIN(TestExoFile)
#include "tst_exofile.moc"
