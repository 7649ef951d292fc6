// Number texts as the user and the files see them, and the parses that read them back.
#include "platform/numbers.h"

#include <QtTest>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <limits>

class TestNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundEven_data();
    void roundEven();
    void roundEven64_data();
    void roundEven64();
    void formatPattern_data();
    void formatPattern();
    void formatGeneral_data();
    void formatGeneral();
    void parseField_data();
    void parseField();
    void strSingle_data();
    void strSingle();
    void strDouble_data();
    void strDouble();
    void strInteger_data();
    void strInteger();
    void valText_data();
    void valText();
    void valInteger_data();
    void valInteger();
    void valSingleBeyondRange();
    void fileTextsReadBack_data();
    void fileTextsReadBack();
    void textsIgnoreTheProcessLocale();
};

namespace {
const double infinity = std::numeric_limits<double>::infinity();
const double notANumber = std::numeric_limits<double>::quiet_NaN();
} // namespace

void TestNumbers::roundEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("half goes down to even 0") << 0.5 << 0;
    QTest::newRow("half goes up to even 2") << 1.5 << 2;
    QTest::newRow("half goes down to even 2") << 2.5 << 2;
    QTest::newRow("negative half to 0") << -0.5 << 0;
    QTest::newRow("negative half to -2") << -1.5 << -2;
    QTest::newRow("above half") << 2.5001 << 3;
    QTest::newRow("huge saturates high") << 1e20 << INT_MAX;
    QTest::newRow("just past int range") << 2147483648.0 << INT_MAX;
    QTest::newRow("infinity saturates") << infinity << INT_MAX;
    QTest::newRow("NaN gives 0") << notANumber << 0;
}

void TestNumbers::roundEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(numbers::roundEven(value), expected);
}

void TestNumbers::roundEven64_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qlonglong>("expected");
    QTest::newRow("half to even") << 2.5 << 2LL;
    QTest::newRow("beyond int range") << 1e12 << 1000000000000LL;
    QTest::newRow("2^63 saturates") << 9223372036854775808.0 << LLONG_MAX;
    QTest::newRow("huge negative saturates") << -1e30 << LLONG_MIN;
    QTest::newRow("NaN gives 0") << notANumber << 0LL;
}

void TestNumbers::roundEven64()
{
    QFETCH(double, value);
    QFETCH(qlonglong, expected);
    QCOMPARE(numbers::roundEven64(value), expected);
}

void TestNumbers::formatPattern_data()
{
    const QString one = QStringLiteral("##############0.0");
    const QString two = QStringLiteral("##############0.00");
    const QString three = QStringLiteral("##############0.000");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mirror at 60, one decimal") << 60.0 << one << "60,0";
    QTest::newRow("mirror at 60, two decimals") << 60.0 << two << "60,00";
    QTest::newRow("mirror at 60, three decimals") << 60.0 << three << "60,000";
    QTest::newRow("focal length shown negative") << -10.0 << one << "-10,0";
    QTest::newRow("typed 12.5") << 12.5 << one << "12,5";
    QTest::newRow("below one keeps its 0") << 0.5 << two << "0,50";
    QTest::newRow("half rounds away from zero") << 0.15 << one << "0,2";
    QTest::newRow("2.25 rounds up") << 2.25 << one << "2,3";
    QTest::newRow("-2.25 rounds away from zero") << -2.25 << one << "-2,3";
    QTest::newRow("three-decimal half") << 1.0005 << three << "1,001";
    QTest::newRow("carry into a new digit") << 9.96 << one << "10,0";
    QTest::newRow("negative rounding to zero loses its sign") << -0.04 << one << "0,0";
    QTest::newRow("object height limit 10.125") << 10.125 << two << "10,13";
    QTest::newRow("single-precision sum 30.1") << double(30.0f + 0.1f) << one << "30,1";
    QTest::newRow("huge value in plain digits") << 1e20 << one << "100000000000000000000,0";
    QTest::newRow("NaN as zero") << notANumber << one << "0,0";
    QTest::newRow("infinity as zero") << -infinity << two << "0,00";
    QTest::newRow("degree label") << 0.5 << "###0.0"
                                  << "0,5";
}

void TestNumbers::formatPattern()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(numbers::formatPattern(value, pattern), expected);
}

void TestNumbers::formatGeneral_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole number") << 10.0 << 15 << "10";
    QTest::newRow("scroll value 5 as 0,5") << 0.5 << 15 << "0,5";
    QTest::newRow("no trailing zeros") << 2.5 << 15 << "2,5";
    QTest::newRow("binary noise hidden") << 0.1 + 0.2 << 15 << "0,3";
    QTest::newRow("ten-thousandth still plain") << 0.0001 << 15 << "0,0001";
    QTest::newRow("hundred-thousandth in exponent form") << 0.00001 << 15 << "1E-05";
    QTest::newRow("largest plain") << 999999999999999.0 << 15 << "999999999999999";
    QTest::newRow("1E+15 in exponent form") << 1e15 << 15 << "1E+15";
    QTest::newRow("exponent mantissa with comma") << 1.5e20 << 15 << "1,5E+20";
    QTest::newRow("fewer digits round") << 2.0 / 3.0 << 7 << "0,6666667";
    QTest::newRow("NaN as zero") << notANumber << 15 << "0";
}

void TestNumbers::formatGeneral()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, expected);
    QCOMPARE(numbers::formatGeneral(value, digits), expected);
}

void TestNumbers::parseField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("default text") << "60,0" << true << 60.0;
    QTest::newRow("negative") << "-10,5" << true << -10.5;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("trailing comma") << "5," << true << 5.0;
    QTest::newRow("minus zero") << "-0" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("minus alone") << "-" << false << 0.0;
    QTest::newRow("comma alone") << "," << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("minus inside") << "5-" << false << 0.0;
    QTest::newRow("two minus signs") << "--5" << false << 0.0;
    QTest::newRow("plus sign") << "+5" << false << 0.0;
    QTest::newRow("decimal point") << "12.5" << false << 0.0;
    QTest::newRow("blank") << " 5" << false << 0.0;
    QTest::newRow("exponent") << "1E3" << false << 0.0;
    QTest::newRow("beyond double range saturates")
        << QString(400, QLatin1Char('9')) << true << DBL_MAX;
}

void TestNumbers::parseField()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    double parsed = -1;
    QCOMPARE(numbers::parseField(text, &parsed), isNumber);
    if (isNumber)
        QCOMPARE(parsed, value);
    QCOMPARE(numbers::fieldValue(text), value);
}

void TestNumbers::strSingle_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0f << " 0";
    QTest::newRow("one half without leading 0") << 0.5f << " .5";
    QTest::newRow("negative half") << -0.5f << "-.5";
    QTest::newRow("axis length") << 60.0f << " 60";
    QTest::newRow("decimal") << 2.5f << " 2.5";
    QTest::newRow("float noise rounded away") << 0.1f << " .1";
    QTest::newRow("exact half at the 8th digit rounds up") << 1234567.5f << " 1234568";
    QTest::newRow("largest plain") << 9999999.0f << " 9999999";
    QTest::newRow("ten million in exponent form") << 1e7f << " 1E+07";
    QTest::newRow("rounded mantissa in exponent form") << -12345678.0f << "-1.234568E+07";
    QTest::newRow("ten-thousandth plain") << 0.0001f << " .0001";
    QTest::newRow("hundred-thousandth in exponent form") << 0.00001f << " 1E-05";
}

void TestNumbers::strSingle()
{
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(numbers::strSingle(value), expected);
}

void TestNumbers::strDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("binary noise hidden") << 0.1 + 0.2 << " .3";
    QTest::newRow("fifteen digits") << 1.0 / 3.0 << " .333333333333333";
    QTest::newRow("largest plain") << 123456789012345.0 << " 123456789012345";
    QTest::newRow("1E+15") << 1e15 << " 1E+15";
    QTest::newRow("hundred-thousandth") << 0.00001 << " 1E-05";
    QTest::newRow("mantissa with point") << 1.5e20 << " 1.5E+20";
    QTest::newRow("three exponent digits") << 1e100 << " 1E+100";
    QTest::newRow("tiny negative") << -2.5e-300 << "-2.5E-300";
    QTest::newRow("infinity as zero") << infinity << " 0";
}

void TestNumbers::strDouble()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(numbers::strDouble(value), expected);
}

void TestNumbers::strInteger_data()
{
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("positive") << 1LL << " 1";
    QTest::newRow("negative") << -1LL << "-1";
    QTest::newRow("zero") << 0LL << " 0";
    QTest::newRow("axis length") << 60LL << " 60";
}

void TestNumbers::strInteger()
{
    QFETCH(qlonglong, value);
    QFETCH(QString, expected);
    QCOMPARE(numbers::strInteger(value), expected);
}

void TestNumbers::valText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("leading blank and point") << " .5" << 0.5;
    QTest::newRow("negative without 0") << "-.5" << -0.5;
    QTest::newRow("blank inside digits") << "1 2" << 12.0;
    QTest::newRow("tabs and line feeds inside") << "\t6\n0" << 60.0;
    QTest::newRow("blanks inside exponent") << "1 E - 2" << 0.01;
    QTest::newRow("hexadecimal") << "&H1F" << 31.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O18" << 1.0;
    QTest::newRow("exponent") << "1E3" << 1000.0;
    QTest::newRow("D exponent") << "2.5D-1" << 0.25;
    QTest::newRow("exponent form written by the files") << " 1.5E+20" << 1.5e20;
    QTest::newRow("letter without exponent digits") << "1E" << 1.0;
    QTest::newRow("plus sign") << "+5" << 5.0;
    QTest::newRow("stops at letters") << "12abc" << 12.0;
    QTest::newRow("stops at a second point") << "1.2.3" << 1.2;
    QTest::newRow("stops at a comma") << "60,5" << 60.0;
    QTest::newRow("stops at a non-ASCII character") << "3é4" << 3.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("minus alone") << "-" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("overflow gives infinity") << "1E400" << infinity;
    QTest::newRow("many digits overflow") << QString(400, QLatin1Char('9')) << infinity;
    QTest::newRow("underflow gives 0") << "1E-400" << 0.0;
    QTest::newRow("underflow of many zeros") << "." + QString(400, QLatin1Char('0')) + "1" << 0.0;
}

void TestNumbers::valText()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(numbers::valText(text), expected);
}

void TestNumbers::valInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("half to even down") << " 2.5" << 2;
    QTest::newRow("half to even up") << " 3.5" << 4;
    QTest::newRow("negative half") << "-.5" << 0;
    QTest::newRow("saturates") << "1E20" << INT_MAX;
    QTest::newRow("overflow saturates") << "-1E400" << INT_MIN;
}

void TestNumbers::valInteger()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(numbers::valInteger(text), expected);
}

void TestNumbers::valSingleBeyondRange()
{
    QCOMPARE(numbers::valSingle(QStringLiteral(" 7.4")), 7.4f);
    QVERIFY(std::isinf(numbers::valSingle(QStringLiteral("1E300"))));
    QVERIFY(numbers::valSingle(QStringLiteral("-1E300")) < 0);
}

// What the configuration writer stores, the loader must read back to the same value.
void TestNumbers::fileTextsReadBack_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::newRow("scale") << double(7.4f) << 7;
    QTest::newRow("large single") << double(3.5e12f) << 7;
    QTest::newRow("small single") << double(2.5e-6f) << 7;
    QTest::newRow("fifteen digits") << 123.456789012345 << 15;
    QTest::newRow("exponent double") << 1.5e-250 << 15;
}

void TestNumbers::fileTextsReadBack()
{
    QFETCH(double, value);
    QFETCH(int, digits);
    const double back = numbers::valText(numbers::strNumber(value, digits));
    if (digits == 7)
        QCOMPARE(float(back), float(value));
    else
        QCOMPARE(back, value);
}

// A French desktop sets the C library's decimal comma; no text of the program may follow it.
void TestNumbers::textsIgnoreTheProcessLocale()
{
    if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        QSKIP("No French locale installed");
    const QString fileText = numbers::strDouble(2.5);
    const double fileValue = numbers::valText(QStringLiteral(" 2.5"));
    const QString fieldText = numbers::formatPattern(2.25, QStringLiteral("##############0.0"));
    std::setlocale(LC_NUMERIC, "C");
    QCOMPARE(fileText, QStringLiteral(" 2.5"));
    QCOMPARE(fileValue, 2.5);
    QCOMPARE(fieldText, QStringLiteral("2,3"));
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
