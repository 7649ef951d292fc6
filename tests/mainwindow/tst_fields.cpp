#include "mainwindow/feuillep.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestFields : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void keystrokes_data();
    void keystrokes();
    void appliedValues_data();
    void appliedValues();
    void mirrorTooCloseBeeps();
    void enterAppliesTheField();
    void pressElsewhereAppliesTheField_data();
    void pressElsewhereAppliesTheField();
    void mountScrollBarFollowsTheField();
    void threeDecimals();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedValues> sv;
    std::unique_ptr<FeuilleP> w;
    int beeps = 0;
};

void TestFields::init()
{
    dir = std::make_unique<QTemporaryDir>();
    sv = std::make_unique<SharedValues>();
    beeps = 0;
    msgbox::setBeepCounter(&beeps);
    w = std::make_unique<FeuilleP>(*sv, dir->path());
}

void TestFields::cleanup()
{
    w.reset();
    msgbox::setBeepCounter(nullptr);
}

void TestFields::keystrokes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("full stop becomes a comma") << "12.5"
                                               << "12,5";
    QTest::newRow("letters are dropped") << "1a2b"
                                         << "12";
    QTest::newRow("minus and comma pass anywhere") << "-1,2-"
                                                   << "-1,2-";
    QTest::newRow("spaces and symbols are dropped") << " 4 +*/e"
                                                    << "4";
}

void TestFields::keystrokes()
{
    QFETCH(QString, typed);
    QLineEdit *field = w->Text1[4];
    field->clear();
    QTest::keyClicks(field, typed);
    QTEST(field->text(), "shown");
    const QString shown = field->text();
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), shown.chopped(1));
    field->setText(shown);
    field->home(false);
    // Delete carries the character 127, as the X11 keyboard gives it.
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_Delete, QString(QChar(0x7f)), {});
    QCOMPARE(field->text(), shown.mid(1));
}

// Value typed into one field, applied by leaving it; the fields that must show afterwards.
void TestFields::appliedValues_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("focal 10") << 1 << "10" << QList<int> {1} << QStringList {"-10,0"};
    QTest::newRow("focal -10") << 1 << "-10" << QList<int> {1} << QStringList {"-10,0"};
    QTest::newRow("focal 2 is raised to 5") << 1 << "2" << QList<int> {1} << QStringList {"-5,0"};
    QTest::newRow("focal 4000 is limited")
        << 1 << "4000" << QList<int> {1} << QStringList {"-3000,0"};
    QTest::newRow("focal not a number") << 1 << "abc" << QList<int> {1} << QStringList {"-5,0"};
    QTest::newRow("focal with two commas")
        << 1 << "1,2,3" << QList<int> {1} << QStringList {"-5,0"};
    QTest::newRow("object -3") << 4 << "-3" << QList<int> {4} << QStringList {"0,0"};
    QTest::newRow("height 0") << 5 << "0" << QList<int> {5} << QStringList {"0,1"};
    QTest::newRow("height not a number") << 5 << "-" << QList<int> {5} << QStringList {"0,1"};
    QTest::newRow("height 20 on a 60 cm axis")
        << 5 << "20" << QList<int> {5} << QStringList {"10,1"};
    QTest::newRow("lens 40 on a 60 cm axis") << 8 << "40" << QList<int> {8} << QStringList {"28,5"};
    QTest::newRow("object beyond the axis")
        << 4 << "75" << QList<int> {4, 0, 2} << QStringList {"59,8", "60,0", "59,9"};
    QTest::newRow("object at 30 pushes the plane mirror")
        << 4 << "30" << QList<int> {4, 0, 2} << QStringList {"30,0", "60,0", "48,0"};
    QTest::newRow("mirror before the object moves beyond it")
        << 0 << "20" << QList<int> {0, 2} << QStringList {"20,0", "19,9"};
    QTest::newRow("mount copies into its hidden twin")
        << 6 << "5" << QList<int> {6, 7} << QStringList {"5,0", "5,0"};
}

void TestFields::appliedValues()
{
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QList<int>, checked);
    QFETCH(QStringList, expected);
    w->Text1[size_t(index)]->setText(typed);
    w->Text1_LostFocus(index);
    for (int k = 0; k < checked.size(); ++k)
        QCOMPARE(w->Text1[size_t(checked[k])]->text(), expected[k]);
    QCOMPARE(beeps, 0);
}

void TestFields::mirrorTooCloseBeeps()
{
    w->Text1[0]->setText(QStringLiteral("3"));
    w->Text1_LostFocus(0);
    QCOMPARE(beeps, 1);
    QCOMPARE(w->Text1[0]->text(), QStringLiteral("5,0"));
    QCOMPARE(w->Text1[2]->text(), QStringLiteral("4,9"));

    // With the object at 30, a mirror typed at 20 stays 1 mm beyond the object.
    w->Text1[4]->setText(QStringLiteral("30"));
    w->Text1_LostFocus(4);
    w->Text1[0]->setText(QStringLiteral("20"));
    w->Text1_LostFocus(0);
    QCOMPARE(w->Text1[0]->text(), QStringLiteral("30,1"));
}

void TestFields::enterAppliesTheField()
{
    QLineEdit *field = w->Text1[4];
    field->clear();
    QTest::keyClicks(field, QStringLiteral("55"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("48,0 cm")); // typing alone changes nothing
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->activateWindow();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->text(), QStringLiteral("55,0"));
    QVERIFY(field->hasFocus()); // applied in place
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("70,0 cm"));
    QCOMPARE(w->Label3[1]->text(), QStringLiteral("6,0 cm"));
}

// A press that takes the focus from the field applies the typed value before its own action.
void TestFields::pressElsewhereAppliesTheField_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("tab of the strip, before the tab changes") << "Onglets" << QPoint(150, 5);
    QTest::newRow("background of the panel") << "Picture3" << QPoint(5, 140);
    QTest::newRow("command button, before its command") << "Command1" << QPoint(20, 20);
}

void TestFields::pressElsewhereAppliesTheField()
{
    QFETCH(QString, control);
    QFETCH(QPoint, at);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QLineEdit *field = w->Text1[4];
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, QStringLiteral("55"));
    auto *target = w->findChild<QWidget *>(control);
    QVERIFY(target);
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QCOMPARE(field->text(), QStringLiteral("55,0"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("70,0 cm"));
    // Released away from the control, so that no command runs.
    QTest::mouseRelease(w.get(), Qt::LeftButton, {}, QPoint(3, 300));
}

void TestFields::mountScrollBarFollowsTheField()
{
    w->Text1[6]->setText(QStringLiteral("5,7"));
    QCOMPARE(w->HScroll2->value(), 57);
    w->Text1[6]->setText(QStringLiteral("50")); // beyond the bar: it keeps its place
    QCOMPARE(w->HScroll2->value(), 57);
    w->HScroll2->setValue(80);
    QCOMPARE(w->Text1[6]->text(), QStringLiteral("8,0"));
    QCOMPARE(w->Text1[7]->text(), QStringLiteral("8,0"));
}

void TestFields::threeDecimals()
{
    sv->fmtnum = QStringLiteral("##############0.000");
    w->testpos();
    const QStringList expected
        = {"60,000", "-10,000", "48,000", "10,000", "0,000", "3,000", "8,000", "8,000", "8,000"};
    for (int i = 0; i < 9; ++i)
        QCOMPARE(w->Text1[size_t(i)]->text(), expected[i]);
}

QTEST_MAIN(TestFields)
#include "tst_fields.moc"
