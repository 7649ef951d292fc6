// The calculator window driven as a user drives it: key clicks, the keyboard, the memory keys,
// the display modes and the painted background.
#include "calculator/machine.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include <cmath>
#include <memory>
#include <random>

class TestMachine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void keys_data();
    void keys();
    void keyboard_data();
    void keyboard();
    void accessKeys_data();
    void accessKeys();
    void patienceShownWhileComputing();
    void scientificIgnoresTheLocale();
    void memory_data();
    void memory();
    void memoryOutlivesTheWindow();
    void everyControlIsNamed();
    void background_data();
    void background();
    void randomClicks();

private:
    void open();
    void press(const QString &names);
    QString display() const { return machine->findChild<QLineEdit *>("z1")->text(); }

    SharedValues shared;
    std::unique_ptr<Machine> machine;
    int beeps = 0;
};

void TestMachine::init()
{
    shared = SharedValues();
    beeps = 0;
    msgbox::setBeepCounter(&beeps);
    open();
}

void TestMachine::cleanup()
{
    machine.reset();
    msgbox::setBeepCounter(nullptr);
}

void TestMachine::open()
{
    machine = std::make_unique<Machine>(shared);
    machine->show();
    QVERIFY(QTest::qWaitForWindowActive(machine.get()));
}

// Clicks the keys and option buttons named, in order.
void TestMachine::press(const QString &names)
{
    for (const QString &name : names.split(u' ', Qt::SkipEmptyParts)) {
        auto *button = machine->findChild<QAbstractButton *>(name);
        QVERIFY2(button, qPrintable(name));
        // An option button answers on its circle and caption, not on its whole width.
        const QPoint at
            = qobject_cast<QRadioButton *>(button) ? QPoint(8, button->height() / 2) : QPoint();
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
    }
}

void TestMachine::keys_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeped");

    const QString parentheses = QStringLiteral("Erreur saisie: revoir les parenthèses");
    const QString operators
        = QStringLiteral("Erreur saisie: incompréhension sur opérateurs: ^ * / + -");
    const QString impossible = QStringLiteral("Calcul impossible");
    const QString overflow = QStringLiteral("Dépassement de capacité");

    QTest::newRow("EXE on nothing") << "EXE"
                                    << " 0" << 0;
    QTest::newRow("sum") << "B2 plus B3 EXE"
                         << " 5" << 0;
    QTest::newRow("operator after a result applies to it") << "B2 plus B3 EXE multip B4 EXE"
                                                           << " 20" << 0;
    QTest::newRow("square of the last answer") << "B3 EXE btcarre EXE"
                                               << " 9" << 0;
    QTest::newRow("plus on a blank display") << "plus"
                                             << "" << 0;
    QTest::newRow("implicit product before a function") << "B2 bsin"
                                                        << "2 * sin " << 0;
    QTest::newRow("no product after an opening parenthesis") << "Bpo bsin"
                                                             << "(sin " << 0;
    QTest::newRow("no product after an operator") << "B2 plus Blog"
                                                  << "2 + log " << 0;
    QTest::newRow("implicit product before pi") << "B2 pi"
                                                << "2 * 3.14159265358979" << 0;
    QTest::newRow("implicit product before a parenthesis") << "B2 Bpo"
                                                           << "2 * (" << 0;
    QTest::newRow("kilo is an exponent") << "B5 kilo"
                                         << "5E+3" << 0;
    QTest::newRow("kilo evaluated") << "B5 kilo EXE"
                                    << " 5000" << 0;
    QTest::newRow("minus on nothing") << "moins"
                                      << "-" << 0;
    QTest::newRow("minus after a parenthesis") << "Bpo moins"
                                               << "(-" << 0;
    QTest::newRow("minus after the exponent letter") << "B2 BtoEXP moins"
                                                     << "2E-" << 0;
    QTest::newRow("minus after a digit") << "B2 moins"
                                         << "2 - " << 0;
    QTest::newRow("minus after a minus") << "moins moins"
                                         << "- -" << 0;
    QTest::newRow("plus after the exponent letter") << "B2 BtoEXP plus"
                                                    << "2E+" << 0;
    QTest::newRow("inverse key") << "Command5 B4 EXE"
                                 << " .25" << 0;
    QTest::newRow("ln of a group") << "Bln Bpo B2 plus B3 bpf EXE"
                                   << " 1.6094379124341" << 0;
    QTest::newRow("sine in degrees") << "angle_0 bsin B3 B0 EXE"
                                     << " .5" << 0;
    QTest::newRow("sine in radians") << "bsin B3 B0 EXE"
                                     << "-.988031624092862" << 0;
    QTest::newRow("negative result") << "B2 moins B5 EXE"
                                     << "-3" << 0;
    QTest::newRow("scientific result") << "C_0 B1 B2 B3 B4 Bpoint B5 EXE"
                                       << "1.2345E+03" << 0;
    QTest::newRow("mode change shows the answer again") << "B1 B2 B3 B4 Bpoint B5 EXE C_0"
                                                        << "1.2345E+03" << 0;
    QTest::newRow("and back") << "C_0 B1 B2 B3 B4 Bpoint B5 EXE C_1"
                              << " 1234.5" << 0;
    QTest::newRow("mode change keeps a started expression") << "B2 EXE B7 C_0"
                                                            << "7" << 0;
    QTest::newRow("unclosed parenthesis") << "Bpo B2 plus B3 EXE" << parentheses << 1;
    QTest::newRow("closing after the message") << "Bpo B2 plus B3 EXE bpf EXE"
                                               << " 5" << 1;
    QTest::newRow("operator without operand") << "B5 multip div B2 EXE" << operators << 1;
    QTest::newRow("division by zero") << "B1 div B0 EXE" << impossible << 1;
    QTest::newRow("no answer after an error") << "B1 div B0 EXE RAZ ANS"
                                              << "" << 1;
    QTest::newRow("answer after a success") << "B2 plus B3 EXE ANS"
                                            << "5" << 0;
    QTest::newRow("overflow") << "B1 BtoEXP B9 B9 B9 EXE" << overflow << 1;
    QTest::newRow("overflow in scientific mode") << "C_0 B1 BtoEXP B9 B9 B9 EXE" << overflow << 1;
    QTest::newRow("expression emptied after an overflow") << "B1 BtoEXP B9 B9 B9 EXE B2 EXE"
                                                          << " 2" << 1;
    QTest::newRow("no answer after an overflow") << "B1 BtoEXP B9 B9 B9 EXE multip"
                                                 << "" << 1;
    QTest::newRow("mode change on an answer past the largest double")
        << "B1 Bpoint B7 B9 B7 B6 B9 B3 B1 B3 B4 B8 B6 B2 B3 B1 B5 B7 BtoEXP B3 B0 B8 EXE C_0"
        << overflow << 1;
    QTest::newRow("erase one character") << "B1 B2 EFFACE"
                                         << "1" << 0;
    QTest::newRow("erase a function word") << "B2 Bcos EFFACE"
                                           << "2 * " << 0;
    QTest::newRow("erase a function after a parenthesis") << "Bpo invsin EFFACE"
                                                          << "(" << 0;
    QTest::newRow("erase a spaced operator") << "B10x EFFACE"
                                             << "10" << 0;
    QTest::newRow("erase a lone function") << "Btan EFFACE"
                                           << "" << 0;
    QTest::newRow("erase a minus pair") << "moins moins EFFACE EFFACE"
                                        << "" << 0;
    QTest::newRow("erase on nothing") << "EFFACE"
                                      << "" << 0;
    QTest::newRow("clear all") << "B1 plus B2 RAZ"
                               << "" << 0;
}

void TestMachine::keys()
{
    QFETCH(QString, clicks);
    QFETCH(QString, shown);
    QFETCH(int, beeped);

    press(clicks);
    QCOMPARE(display(), shown);
    QCOMPARE(beeps, beeped);
}

void TestMachine::keyboard_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("sum and Enter") << "z1"
                                   << "2+3\r"
                                   << " 5";
    QTest::newRow("all operators") << "z1"
                                   << "2^3*4/2-1"
                                   << "2 ^ 3 * 4 / 2 - 1";
    QTest::newRow("exponent letters") << "z1"
                                      << "1e3+2d-1+3E1+4D2"
                                      << "1E3 + 2E-1 + 3E1 + 4E2";
    QTest::newRow("parentheses") << "z1"
                                 << "2(1)"
                                 << "2 * (1)";
    QTest::newRow("backspace") << "z1"
                               << "2*\b"
                               << "2";
    QTest::newRow("decimal comma typed as a point") << "z1"
                                                    << "1/(1/10-1/34,5)\r"
                                                    << " 14.0816326530612";
    QTest::newRow("other keys do nothing") << "z1"
                                           << "2xq 3"
                                           << "23";
    QTest::newRow("typing reaches the window from a key") << "B7"
                                                          << "1.5+1\r"
                                                          << " 2.5";
    QTest::newRow("typing reaches the window from an option") << "C_1"
                                                              << "4*2\r"
                                                              << " 8";
}

void TestMachine::keyboard()
{
    QFETCH(QString, focus);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    machine->findChild<QWidget *>(focus)->setFocus();
    for (QChar c : typed) {
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);
        if (c == u'\r')
            QTest::keyClick(target, Qt::Key_Return);
        else if (c == u'\b')
            QTest::keyClick(target, Qt::Key_Backspace);
        else
            QTest::keyClicks(target, QString(c));
    }
    QCOMPARE(display(), shown);
}

void TestMachine::accessKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");

    QTest::newRow("Alt+S sine") << int(Qt::Key_S) << "sin ";
    QTest::newRow("Alt+N ln") << int(Qt::Key_N) << "ln ";
    QTest::newRow("Alt+L log") << int(Qt::Key_L) << "log ";
    QTest::newRow("Alt+I arc sine") << int(Qt::Key_I) << "invSIN ";
    QTest::newRow("Alt+A arc tangent") << int(Qt::Key_A) << "invTAN ";
}

void TestMachine::accessKeys()
{
    QFETCH(int, key);
    QFETCH(QString, shown);

    QTest::keyClick(machine.get(), Qt::Key(key), Qt::AltModifier);
    QCOMPARE(display(), shown); // at once, before any key typed next
    // Digits typed straight after it follow it.
    QTest::keyClicks(machine.get(), QStringLiteral("69"));
    QCOMPARE(display(), shown + QStringLiteral("69"));
}

void TestMachine::patienceShownWhileComputing()
{
    QSignalSpy shownTexts(machine->findChild<QLineEdit *>("z1"), &QLineEdit::textChanged);
    press("B2 EXE");
    QCOMPARE(shownTexts.size(), 3);
    QCOMPARE(shownTexts.at(1).at(0).toString(),
             QStringLiteral("    Patience... Calculs en cours.     "));
    QCOMPARE(shownTexts.at(2).at(0).toString(), QStringLiteral(" 2"));
}

void TestMachine::scientificIgnoresTheLocale()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    press("C_0 B1 Bpoint B5 EXE");
    QLocale::setDefault(QLocale::c());
    QCOMPARE(display(), QStringLiteral("1.5E+00"));
}

void TestMachine::memory_data()
{
    QTest::addColumn<double>("before");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<double>("after");
    QTest::addColumn<int>("beeped");

    QTest::newRow("M+ adds the result") << 1.0 << "B5 EXE Command1" << 6.0 << 0;
    QTest::newRow("M+ reads the start of the display") << 0.0 << "B2 plus B3 Command1" << 2.0 << 0;
    QTest::newRow("M+ on a message adds 0") << 7.0 << "B1 div B0 EXE Command1" << 7.0 << 1;
    QTest::newRow("M- subtracts") << 7.0 << "B5 EXE Command2" << 2.0 << 0;
    QTest::newRow("CM clears") << 7.0 << "Command4" << 0.0 << 0;
    QTest::newRow("M+ on a number past a double keeps the memory")
        << 7.0 << "B1 BtoEXP B9 B9 B9 Command1" << 7.0 << 1;
    QTest::newRow("M+ that would overflow keeps the memory")
        << 1.5e308 << "B1 BtoEXP B3 B0 B8 Command1" << 1.5e308 << 1;
}

void TestMachine::memory()
{
    QFETCH(double, before);
    QFETCH(QString, clicks);
    QFETCH(double, after);
    QFETCH(int, beeped);

    shared.memoire = before;
    press(clicks);
    QCOMPARE(shared.memoire, after);
    QCOMPARE(beeps, beeped);
}

void TestMachine::memoryOutlivesTheWindow()
{
    press("B2 Bpoint B5 EXE Command1");
    machine.reset();
    open();
    press("Command3");
    QCOMPARE(display(), QStringLiteral("2.5"));
    press("RAZ C_0 Command3");
    QCOMPARE(display(), QStringLiteral("2.5E+00"));
}

void TestMachine::everyControlIsNamed()
{
    const QList<QWidget *> controls = machine->findChildren<QWidget *>();
    int keys = 0;
    for (QWidget *w : controls) {
        if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLineEdit *>(w))
            continue;
        QVERIFY2(!w->objectName().isEmpty(), qPrintable(w->accessibleName()));
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        keys += qobject_cast<QAbstractButton *>(w) != nullptr;
    }
    QCOMPARE(keys, 49 + 4);
}

void TestMachine::background_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("gradient starts light") << QPoint(0, 200) << QColor(200, 250, 250);
    QTest::newRow("gradient halves go to even") << QPoint(3, 200) << QColor(198, 248, 248);
    QTest::newRow("gradient ends dark") << QPoint(301, 200) << QColor(50, 100, 100);
    QTest::newRow("black left edge") << QPoint(1, 200) << QColor(Qt::black);
    QTest::newRow("white right edge") << QPoint(299, 200) << QColor(Qt::white);
    QTest::newRow("pad frame, dark cyan") << QPoint(81, 300) << QColor(0, 128, 128);
    QTest::newRow("pad frame, white") << QPoint(206, 300) << QColor(Qt::white);
}

void TestMachine::background()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);

    const QImage image = machine->grab().toImage();
    QCOMPARE(image.pixelColor(pixel), colour);
}

// Long random use of the keys and options never crashes nor leaves a value that is not a number
// in the memory or on the display.
void TestMachine::randomClicks()
{
    const QList<QAbstractButton *> buttons = machine->findChildren<QAbstractButton *>();
    std::mt19937 random(1789);
    for (int i = 0; i < 3000; ++i) {
        buttons.at(random() % buttons.size())->click();
        QVERIFY(std::isfinite(shared.memoire));
        QVERIFY2(!display().contains(QStringLiteral("inf"))
                     && !display().contains(QStringLiteral("nan")),
                 qPrintable(display()));
    }
}

QTEST_MAIN(TestMachine)
#include "tst_machine.moc"
