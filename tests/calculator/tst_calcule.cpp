// The evaluator as the EXE key sees it: results, error codes, the number texts it writes and
// reads, and its behaviour on arbitrary keypad input.
#include "calculator/calcnumber.h"
#include "calculator/calcule.h"

#include <QtTest>

#include <cmath>
#include <random>

class TestCalcule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void calcule_data();
    void calcule();
    void normalisation_data();
    void normalisation();
    void write_data();
    void write();
    void read_data();
    void read();
    void writeScientific_data();
    void writeScientific();
    void randomKeySequences();
};

void TestCalcule::calcule_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("radians");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("erreur");

    auto ok = [](const char *name, const char *input, bool radians, const char *result) {
        QTest::newRow(name) << QString(input) << radians << QString(result) << 0;
    };
    auto fails = [](const char *name, const char *input, int erreur) {
        QTest::newRow(name) << QString(input) << true << QString() << erreur;
    };
    ok("multiplication before addition", "2 + 3 * 4", true, "14");
    ok("parentheses first", "(2 + 3) * 4", true, "20");
    ok("times a negative number", "2 * -3", true, "-6");
    ok("two minus signs fold into a plus", "5 - -3", true, "8");
    ok("powers leftmost first", "2 ^ 3 ^ 2", true, "64");
    ok("division before multiplication", "12 / 2 * 3", true, "18");
    ok("subtraction before addition", "10 - 2 + 3", true, "11");
    ok("negative difference then addition", "2 - 5 + 1", true, "-2");
    ok("the minus sign belongs to the number", "-2 ^ 2", true, "4");
    ok("sine in degrees", "sin 30", false, ".5");
    ok("sine in radians", "sin 30", true, "-.988031624092862");
    ok("arc sine of 1 in degrees", "invSIN 1", false, "90");
    ok("arc sine of 1 in radians", "invSIN 1", true, "1.5707963267949");
    ok("arc cosine of 0 in degrees", "invCOS 0", false, "90");
    ok("arc tangent of 1 in degrees", "invTAN 1", false, "45");
    ok("cosine of a group in degrees", "cos (30 + 30)", false, ".5");
    ok("decimal logarithm", "log 1000", true, "3");
    ok("exponential", "exp 1", true, "2.71828182845905");
    ok("square root", "SQR 16", true, "4");
    ok("ten to a power", "10 ^ 3", true, "1000");
    ok("exponent sign is not an operator", "2E-3 * 1000", true, "2");
    ok("exponent letter D", "2D2 + 1", true, "201");
    ok("inner function first, then its parentheses", "sin (cos (0))", true, ".841470984807897");
    ok("ln of a group, radians", "ln (2 + 3)", true, "1.6094379124341");
    ok("ln of a group, degrees", "ln (2 + 3)", false, "1.6094379124341");
    ok("ln of a group in a product", "2 * ln (2 + 3)", true, "3.2188758248682");
    ok("ln of a negative number's group", "ln (-2 + 3)", true, "0");
    ok("15 significant digits", "1 / 3", true, ".333333333333333");
    ok("one ten-thousandth stays plain", "1 / 10000", true, ".0001");
    ok("one hundred-thousandth in exponent form", "1 / 100000", true, "1E-05");
    ok("large values in exponent form", "3E+10 * 5E+9", true, "1.5E+20");
    ok("lower and upper case alike", "SIN 30 + Sin 30", false, "1");
    ok("empty text", "", true, "");
    ok("number beyond a double left unchanged", "1E999", true, "1E999");
    fails("arc sine beyond 1", "invSIN 2", 1);
    fails("logarithm of 0", "ln 0", 1);
    fails("root of a negative number", "SQR -4", 1);
    fails("division by zero", "1 / 0", 1);
    fails("overflowing product", "1E+200 * 1E+200", 1);
    fails("overflowing operand", "2 * 1E999", 1);
    fails("non-integer power of a negative number", "-8 ^ .5", 1);
    fails("function without an argument", "sin (sin )", 1);
    fails("closing before opening", ") 2 (", 1);
    fails("operator without operand", "5 * ", 3);
    fails("two operators in a row", "5 * / 2", 3);
    fails("unclosed parenthesis", "(2 + 3", 2);
    fails("unopened parenthesis", "2 + 3)", 2);
    fails("unbalanced wins over a missing operand", "(5 * ", 2);
}

void TestCalcule::calcule()
{
    QFETCH(QString, input);
    QFETCH(bool, radians);
    QFETCH(QString, result);
    QFETCH(int, erreur);

    std::string texte = input.toStdString();
    int code = -1;
    calc::calcule(texte, code, radians);
    QCOMPARE(code, erreur);
    if (erreur == 0)
        QCOMPARE(QString::fromStdString(texte), result);
}

void TestCalcule::normalisation_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("normalised");

    QTest::newRow("spaced operators, codes and groups") << "2*sin30+(4-1)"
                                                        << " 2 * SIN 30 + (4 - 1) ";
    QTest::newRow("sign folding") << "5 - - 3 + - 1 - + 2"
                                  << " 5 + 3 - 1 - 2 ";
    QTest::newRow("leading plus dropped") << "+ 3"
                                          << " 3 ";
    QTest::newRow("signed number unwrapped") << "2 * (-2.5)"
                                             << " 2 * -2.5 ";
    QTest::newRow("nested groups unwrapped") << "((7))"
                                             << " 7 ";
    QTest::newRow("group with an operator stays") << "(1 - 2)"
                                                  << " (1 - 2) ";
    QTest::newRow("group with an exponent stays") << "(5E3)"
                                                  << " (5E3) ";
    QTest::newRow("ln spelt as its code") << "ln 5"
                                          << " LON 5 ";
    QTest::newRow("ln code keeps its space") << "LON5"
                                             << " LON 5 ";
    QTest::newRow("ln code before a group") << "LON(5 - 1)"
                                            << " LON (5 - 1) ";
    QTest::newRow("inverse functions") << "invSIN 1 + invCOS 0 + invTAN 1"
                                       << " ISI 1 + ICO 0 + ITA 1 ";
    QTest::newRow("unary minus after a code and a parenthesis") << "sqr -4 * (-x)"
                                                                << " SQR -4 * (-X) ";
    QTest::newRow("exponent signs") << "1E-5 + 1D+2"
                                    << " 1E-5 + 1D+2 ";
}

void TestCalcule::normalisation()
{
    QFETCH(QString, input);
    QFETCH(QString, normalised);

    std::string t = input.toStdString();
    calc::simplifie(t);
    QCOMPARE(QString::fromStdString(t), normalised);
}

void TestCalcule::write_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("integer") << 14.0 << " 14";
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("no zero before the point") << 0.5 << " .5";
    QTest::newRow("negative below 1") << -0.5 << "-.5";
    QTest::newRow("one ten-thousandth") << 1e-4 << " .0001";
    QTest::newRow("one hundred-thousandth") << 1e-5 << " 1E-05";
    QTest::newRow("15 integer digits") << 123456789012345.0 << " 123456789012345";
    QTest::newRow("16 integer digits") << 1234567890123456.0 << " 1.23456789012346E+15";
    QTest::newRow("large") << 1.5e20 << " 1.5E+20";
    QTest::newRow("three exponent digits") << -2.5e-300 << "-2.5E-300";
    QTest::newRow("rounded to 15 digits") << 2.0 / 3.0 << " .666666666666667";
    QTest::newRow("pi") << 4.0 * std::atan(1.0) << " 3.14159265358979";
}

void TestCalcule::write()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(calcnumber::write(value)), text);
}

void TestCalcule::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<double>("value");

    QTest::newRow("leading blanks, trailing text") << "  12.5 + 3" << true << 12.5;
    QTest::newRow("point first") << "-.5" << true << -0.5;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("exponent") << "1.5E+20" << true << 1.5e20;
    QTest::newRow("exponent letter D") << "2D2" << true << 200.0;
    QTest::newRow("lower-case exponent") << "2e-3" << true << 0.002;
    QTest::newRow("exponent without digits") << "5E" << true << 5.0;
    QTest::newRow("second point ends the number") << "1.2.3" << true << 1.2;
    QTest::newRow("message reads as 0") << "Calcul impossible" << true << 0.0;
    QTest::newRow("no digits") << "E5" << true << 0.0;
    QTest::newRow("empty") << "" << true << 0.0;
    QTest::newRow("underflow is 0") << "1E-999" << true << 0.0;
    QTest::newRow("huge exponent of zero") << "0E99999999" << true << 0.0;
    QTest::newRow("overflow") << "1E999" << false << 0.0;
    QTest::newRow("negative overflow") << "-1E309" << false << 0.0;
    QTest::newRow("overflow by many digits") << QString(400, u'9') << false << 0.0;
    QTest::newRow("15-digit rounding past the largest double")
        << "1.79769313486232E+308" << false << 0.0;
}

void TestCalcule::read()
{
    QFETCH(QString, text);
    QFETCH(bool, inRange);
    QFETCH(double, value);

    double v = -1.0;
    QCOMPARE(calcnumber::read(text.toStdString(), &v), inRange);
    if (inRange)
        QCOMPARE(v, value);
}

void TestCalcule::writeScientific_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("trailing zeros dropped") << 1234.5 << "1.2345E+03";
    QTest::newRow("no decimals") << 1.0 << "1E+00";
    QTest::newRow("zero") << 0.0 << "0E+00";
    QTest::newRow("seven decimals, rounded") << -0.000123456789 << "-1.2345679E-04";
    QTest::newRow("rounding carries into the exponent") << 99999999.7 << "1E+08";
    QTest::newRow("three exponent digits") << 1e100 << "1E+100";
}

void TestCalcule::writeScientific()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(calcnumber::writeScientific(value)), text);
}

// Whatever the keys build, the evaluator returns with a result or an error code and a text of
// bounded size.
void TestCalcule::randomKeySequences()
{
    static const char *const pieces[] = {"0",       "1",       "2",    "3",
                                         "4",       "5",       "6",    "7",
                                         "8",       "9",       ".",    "E",
                                         "E-12",    "E-9",     "E-6",  "E-3",
                                         "E+3",     "E+6",     "E+9",  "E+12",
                                         "(",       ")",       " + ",  "+",
                                         "-",       " -",      " - ",  " * ",
                                         " / ",     " ^ ",     " ^ 2", "SQR ",
                                         "10 ^ ",   "exp ",    "ln ",  "log ",
                                         "sin ",    "cos ",    "tan ", "invSIN ",
                                         "invCOS ", "invTAN ", "1 / ", "3.14159265358979"};
    const unsigned count = sizeof pieces / sizeof *pieces;
    std::mt19937 random(20240607);
    int outcomes[4] = {};
    for (int k = 0; k < 300000; ++k) {
        std::string texte;
        const unsigned length = 1 + random() % 16;
        for (unsigned i = 0; i < length; ++i)
            texte += pieces[random() % count];
        const std::string input = texte;
        int erreur = -1;
        calc::calcule(texte, erreur, k % 2 == 0);
        if (erreur < 0 || erreur > 3)
            QFAIL(qPrintable(QStringLiteral("error %1 for \"%2\"")
                                 .arg(erreur)
                                 .arg(QString::fromStdString(input))));
        if (erreur == 0 && texte.find(' ') != std::string::npos)
            QFAIL(qPrintable(QStringLiteral("space left in the result of \"%1\"")
                                 .arg(QString::fromStdString(input))));
        if (texte.size() > 2 * input.size() + 32)
            QFAIL(
                qPrintable(QStringLiteral("text grew from \"%1\" to \"%2\"")
                               .arg(QString::fromStdString(input), QString::fromStdString(texte))));
        ++outcomes[erreur];
    }
    // The sequences reach every outcome, so the check above covers them all.
    for (int outcome : outcomes)
        QVERIFY(outcome > 1000);
}

QTEST_APPLESS_MAIN(TestCalcule)
#include "tst_calcule.moc"
