// Bytes of the fixed-record files, through an in-memory buffer and through a file on disk.
#include "config/recordfile.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray zeros(int count)
{
    return QByteArray(count, '\0');
}

// The two length bytes, little-endian, then the stored bytes.
QByteArray lengthAnd(int length, const QByteArray &stored = QByteArray())
{
    return QByteArray(1, char(length & 0xFF)) + QByteArray(1, char(length >> 8)) + stored;
}

QByteArray storedRecord(const QByteArray &start)
{
    return start + zeros(RecordFile::RecordSize - int(start.size()));
}

// One open read-write device with a given starting content, in memory or on disk.
class Medium
{
public:
    Medium(bool onDisk, const QByteArray &content)
    {
        if (onDisk) {
            path = dir.filePath(QStringLiteral("essai.P17"));
            auto file = std::make_unique<QFile>(path);
            if (file->open(QIODevice::WriteOnly))
                file->write(content);
            file->close();
            file->open(QIODevice::ReadWrite);
            io = std::move(file);
        } else {
            auto buffer = std::make_unique<QBuffer>();
            buffer->setData(content);
            buffer->open(QIODevice::ReadWrite);
            io = std::move(buffer);
        }
    }

    QIODevice *device() { return io.get(); }

    QByteArray bytes()
    {
        if (path.isEmpty())
            return static_cast<QBuffer *>(io.get())->data();
        static_cast<QFile *>(io.get())->flush();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<QIODevice> io;
};

// Adds the same case once per medium; the first column is always "onDisk".
template<typename... Values> void addRowsForBothMedia(const char *name, const Values &...values)
{
    ((QTest::addRow("%s, buffer", name) << false) << ... << values);
    ((QTest::addRow("%s, file", name) << true) << ... << values);
}

} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodedRecord_data();
    void encodedRecord();
    void writtenTextReadsBack_data();
    void writtenTextReadsBack();
    void readStoredBytes_data();
    void readStoredBytes();
    void writeBeyondEndExtends_data();
    void writeBeyondEndExtends();
    void writeKeepsOtherBytes_data();
    void writeKeepsOtherBytes();
    void rejectedWriteChangesNothing_data();
    void rejectedWriteChangesNothing();
    void unusableDevice();
    void exchangeFileHelpers();
};

void TestRecordFile::encodedRecord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("signature") << "OPTALIS" << lengthAnd(7, "OPTALIS");
    QTest::newRow("empty text") << "" << lengthAnd(0);
    QTest::newRow("accents in Windows-1252") << "é€" << lengthAnd(2, "\xE9\x80");
    QTest::newRow("longest text") << QString(126, QLatin1Char('x'))
                                  << lengthAnd(126, QByteArray(126, 'x'));
    QTest::newRow("127 bytes refused") << QString(127, QLatin1Char('x')) << QByteArray();
}

void TestRecordFile::encodedRecord()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, start);
    bool ok = !start.isEmpty();
    const QByteArray record = encodeRecord(text, &ok);
    if (start.isEmpty()) {
        QVERIFY(!ok);
        QVERIFY(record.isEmpty());
        return;
    }
    QVERIFY(ok);
    QCOMPARE(record, storedRecord(start));
    QString decoded;
    QVERIFY(decodeRecord(record, &decoded));
    QCOMPARE(decoded, text);
}

void TestRecordFile::writtenTextReadsBack_data()
{
    QTest::addColumn<bool>("onDisk");
    QTest::addColumn<QString>("text");
    addRowsForBothMedia("field text", QStringLiteral("60,0"));
    addRowsForBothMedia("French accents and euro", QStringLiteral("Été : 5 € – œil"));
    addRowsForBothMedia("empty text", QString());
    addRowsForBothMedia("126 accented letters", QString(126, QChar(0xE9)));
}

void TestRecordFile::writtenTextReadsBack()
{
    QFETCH(bool, onDisk);
    QFETCH(QString, text);
    Medium medium(onDisk, QByteArray());
    RecordFile file(medium.device());
    QVERIFY2(file.write(2, text), qPrintable(file.errorString()));
    QVERIFY(file.write(1, QStringLiteral("OPTALIS")));

    const QByteArray bytes = medium.bytes();
    QCOMPARE(bytes.size(), 2 * RecordFile::RecordSize);
    QCOMPARE(bytes.left(RecordFile::RecordSize), storedRecord(lengthAnd(7, "OPTALIS")));
    QString read;
    QVERIFY(file.read(2, &read));
    QCOMPARE(read, text);
}

void TestRecordFile::readStoredBytes_data()
{
    const QByteArray two = storedRecord(lengthAnd(1, "A")) + storedRecord(lengthAnd(1, "B"));
    QTest::addColumn<bool>("onDisk");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("record");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    addRowsForBothMedia("record in the file", two, 2, true, QStringLiteral("B"));
    addRowsForBothMedia("far beyond the end", two, 1000, true, QString());
    addRowsForBothMedia("empty file", QByteArray(), 1, true, QString());
    addRowsForBothMedia("filler is ignored", storedRecord(lengthAnd(2, "OKxyz")), 1, true,
                        QStringLiteral("OK"));
    addRowsForBothMedia("last record without its filler", two + lengthAnd(3, "abc"), 3, true,
                        QStringLiteral("abc"));
    addRowsForBothMedia("length 127 refused", storedRecord(lengthAnd(127)), 1, false, QString());
    addRowsForBothMedia("length above 255 refused", storedRecord(lengthAnd(261)), 1, false,
                        QString());
    addRowsForBothMedia("text cut off by the end", two + lengthAnd(10, "abc"), 3, false, QString());
    addRowsForBothMedia("length cut off by the end", two + QByteArray(1, '\x01'), 3, false,
                        QString());
    addRowsForBothMedia("record 0 does not exist", two, 0, false, QString());
}

void TestRecordFile::readStoredBytes()
{
    QFETCH(bool, onDisk);
    QFETCH(QByteArray, content);
    QFETCH(int, record);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    Medium medium(onDisk, content);
    RecordFile file(medium.device());
    QString read = QStringLiteral("unchanged");
    QCOMPARE(file.read(record, &read), ok);
    if (ok)
        QCOMPARE(read, text);
    else
        QVERIFY(!file.errorString().isEmpty());
    QCOMPARE(medium.bytes(), content);
}

void TestRecordFile::writeBeyondEndExtends_data()
{
    QTest::addColumn<bool>("onDisk");
    QTest::addColumn<QByteArray>("content");
    addRowsForBothMedia("empty file", QByteArray());
    addRowsForBothMedia("file ending inside a record", storedRecord(lengthAnd(1, "A")).left(10));
}

void TestRecordFile::writeBeyondEndExtends()
{
    QFETCH(bool, onDisk);
    QFETCH(QByteArray, content);
    Medium medium(onDisk, content);
    RecordFile file(medium.device());
    QVERIFY(file.write(4, QStringLiteral("X")));

    const QByteArray bytes = medium.bytes();
    QCOMPARE(bytes.size(), 4 * RecordFile::RecordSize);
    QCOMPARE(bytes.left(content.size()), content);
    QCOMPARE(bytes.mid(content.size(), 3 * RecordFile::RecordSize - content.size()),
             zeros(3 * RecordFile::RecordSize - int(content.size())));
    QCOMPARE(bytes.mid(3 * RecordFile::RecordSize), storedRecord(lengthAnd(1, "X")));
    for (int record = 2; record <= 3; ++record) {
        QString read = QStringLiteral("unchanged");
        QVERIFY(file.read(record, &read));
        QCOMPARE(read, QString());
    }
}

void TestRecordFile::writeKeepsOtherBytes_data()
{
    QTest::addColumn<bool>("onDisk");
    addRowsForBothMedia("overwrite a middle record");
}

// A saved configuration over a longer file keeps whatever lies beyond its records.
void TestRecordFile::writeKeepsOtherBytes()
{
    QFETCH(bool, onDisk);
    const QByteArray first = storedRecord(lengthAnd(1, "A"));
    const QByteArray third = storedRecord(lengthAnd(1, "C"));
    const QByteArray tail("tail bytes");
    Medium medium(onDisk, first + storedRecord(lengthAnd(5, "BBBBB")) + third + tail);
    RecordFile file(medium.device());
    QVERIFY(file.write(2, QStringLiteral("Z")));
    QCOMPARE(medium.bytes(), first + storedRecord(lengthAnd(1, "Z")) + third + tail);
}

void TestRecordFile::rejectedWriteChangesNothing_data()
{
    QTest::addColumn<bool>("onDisk");
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("text");
    addRowsForBothMedia("127 letters", 1, QString(127, QLatin1Char('x')));
    addRowsForBothMedia("127 accented letters", 1, QString(127, QChar(0xE9)));
    addRowsForBothMedia("too long beyond the end", 5, QString(127, QLatin1Char('x')));
    addRowsForBothMedia("record 0", 0, QStringLiteral("x"));
}

void TestRecordFile::rejectedWriteChangesNothing()
{
    QFETCH(bool, onDisk);
    QFETCH(int, record);
    QFETCH(QString, text);
    const QByteArray content = storedRecord(lengthAnd(7, "OPTALIS"));
    Medium medium(onDisk, content);
    RecordFile file(medium.device());
    QVERIFY(!file.write(record, text));
    QVERIFY(!file.errorString().isEmpty());
    QCOMPARE(medium.bytes(), content);
}

void TestRecordFile::unusableDevice()
{
    QBuffer closed;
    RecordFile onClosed(&closed);
    QString text;
    QVERIFY(!onClosed.read(1, &text));
    QVERIFY(!onClosed.write(1, QStringLiteral("x")));

    QByteArray content = storedRecord(lengthAnd(1, "A"));
    QBuffer readOnly(&content);
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    RecordFile onReadOnly(&readOnly);
    QVERIFY(onReadOnly.read(1, &text));
    QCOMPARE(text, QStringLiteral("A"));
    QVERIFY(!onReadOnly.write(1, QStringLiteral("B")));
    QCOMPARE(content, storedRecord(lengthAnd(1, "A")));
}

// The exchange file: opened, used and closed at each access, created when missing.
void TestRecordFile::exchangeFileHelpers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TEMPQX.TMP"));
    QString text = QStringLiteral("unchanged");
    QVERIFY(readRecordAt(path, 31, &text));
    QCOMPARE(text, QString());
    QVERIFY(QFile::exists(path));

    QVERIFY(writeRecordsAt(path, {{11, QStringLiteral("OUI")}}));
    QCOMPARE(QFileInfo(path).size(), 11 * RecordFile::RecordSize);
    QVERIFY(writeRecordsAt(path, {{31, QStringLiteral("exercice été.E38")}, {11, "NON"}}));
    QVERIFY(readRecordAt(path, 11, &text));
    QCOMPARE(text, QStringLiteral("NON"));
    QVERIFY(readRecordAt(path, 31, &text));
    QCOMPARE(text, QStringLiteral("exercice été.E38"));

    QFile before(path);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    QString error;
    QVERIFY(!writeRecordsAt(path, {{11, "OUI"}, {40, QString(127, QLatin1Char('x'))}}, &error));
    QVERIFY(!error.isEmpty());
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);

    const QString nowhere = dir.filePath(QStringLiteral("absent/TEMPQX.TMP"));
    QVERIFY(!readRecordAt(nowhere, 1, &text, &error));
    QVERIFY(!writeRecordsAt(nowhere, {{11, "OUI"}}, &error));
}

QTEST_APPLESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
