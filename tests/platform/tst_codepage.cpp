// The bytes that French texts become in record files, and back.
#include "platform/codepage.h"

#include <QtTest>

class TestCodepage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void characterBytes_data();
    void characterBytes();
    void everyByteRoundTrips();
    void unmappable_data();
    void unmappable();
};

void TestCodepage::characterBytes_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("byte");
    QTest::newRow("ASCII letter") << "A" << 0x41;
    QTest::newRow("e acute") << "é" << 0xE9;
    QTest::newRow("e grave") << "è" << 0xE8;
    QTest::newRow("c cedilla") << "ç" << 0xE7;
    QTest::newRow("degree sign") << "°" << 0xB0;
    QTest::newRow("euro sign") << "€" << 0x80;
    QTest::newRow("OE ligature") << "Œ" << 0x8C;
    QTest::newRow("oe ligature") << "œ" << 0x9C;
    QTest::newRow("typographic apostrophe") << "\u2019" << 0x92;
    QTest::newRow("en dash") << "\u2013" << 0x96;
    QTest::newRow("Y diaeresis") << "\u0178" << 0x9F;
    QTest::newRow("undefined byte keeps its control") << "\u0081" << 0x81;
}

void TestCodepage::characterBytes()
{
    QFETCH(QString, character);
    QFETCH(int, byte);
    bool lossless = false;
    const QByteArray bytes = codepage::toCp1252(character, &lossless);
    QVERIFY(lossless);
    QCOMPARE(bytes, QByteArray(1, char(byte)));
    QCOMPARE(codepage::fromCp1252(bytes), character);
}

void TestCodepage::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = codepage::fromCp1252(all);
    QCOMPARE(text.size(), 256);
    bool lossless = false;
    QCOMPARE(codepage::toCp1252(text, &lossless), all);
    QVERIFY(lossless);
}

void TestCodepage::unmappable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("CJK character") << "a\u4E2Db" << QByteArray("a?b");
    QTest::newRow("surrogate pair is one character") << "x\U0001F600y" << QByteArray("x?y");
    QTest::newRow("C1 control that has a character byte") << "\u0080" << QByteArray("?");
}

void TestCodepage::unmappable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    bool lossless = true;
    QCOMPARE(codepage::toCp1252(text, &lossless), expected);
    QVERIFY(!lossless);
}

QTEST_APPLESS_MAIN(TestCodepage)
#include "tst_codepage.moc"
