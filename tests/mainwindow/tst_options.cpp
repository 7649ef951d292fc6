#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "platform/sharedvalues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void scaleSteps_data();
    void scaleSteps();
    void shorterAxisClampsTheMirror();
    void precision_data();
    void precision();
    void mountScrollBar();
    void virtualImagesFollowImages();
    void allRaysBoxesExcludeEachOther_data();
    void allRaysBoxesExcludeEachOther();
    void arrowPositionWaitsForArrows();
    void telescopeShowsItsFields();
    void objectAtInfinitySwapsTheFields();

private:
    int redraws() const;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedValues> sv;
    std::unique_ptr<FeuilleP> w;
};

void TestOptions::init()
{
    dir = std::make_unique<QTemporaryDir>();
    sv = std::make_unique<SharedValues>();
    w = std::make_unique<FeuilleP>(*sv, dir->path());
}

void TestOptions::cleanup()
{
    w.reset();
}

// Presses "-" or "+" from the start-up scale (index 1, 60 cm) the given number of times.
void TestOptions::scaleSteps_data()
{
    QTest::addColumn<int>("steps"); // negative: "-" presses
    QTest::addColumn<int>("longaxe");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("minusEnabled");
    QTest::addColumn<bool>("plusEnabled");
    QTest::addColumn<int>("mountMax");
    QTest::newRow("start-up") << 0 << 60 << "60 cm" << true << true << 101;
    QTest::newRow("smallest: minus disabled") << -1 << 50 << "50 cm" << false << true << 84;
    QTest::newRow("below the smallest stays") << -3 << 50 << "50 cm" << false << true << 84;
    QTest::newRow("90 cm") << 3 << 90 << "90 cm" << true << true << 152;
    QTest::newRow("after 90 cm comes 1 m") << 4 << 100 << "1 m" << true << true << 169;
    QTest::newRow("largest: plus disabled") << 11 << 5000 << "50 m" << true << false << 8438;
    QTest::newRow("beyond the largest stays") << 14 << 5000 << "50 m" << true << false << 8438;
}

void TestOptions::scaleSteps()
{
    QFETCH(int, steps);
    QFETCH(int, longaxe);
    for (int i = 0; i < std::abs(steps); ++i)
        w->Command3_Click(steps < 0 ? 0 : 1);
    QCOMPARE(int(sv->longaxe), longaxe);
    QTEST(w->Label2->text(), "label");
    QTEST(w->Command3[0]->isEnabled(), "minusEnabled");
    QTEST(w->Command3[1]->isEnabled(), "plusEnabled");
    QTEST(w->HScroll2->maximum(), "mountMax");
    QCOMPARE(sv->echelle, float(w->Picture2->canvas().scaleWidth() - 20) / float(longaxe));
}

void TestOptions::shorterAxisClampsTheMirror()
{
    w->Command3[0]->click(); // 50 cm
    QCOMPARE(w->Text1[0]->text(), QStringLiteral("50,0"));
    QCOMPARE(w->Text1[2]->text(), QStringLiteral("48,0"));
}

void TestOptions::precision_data()
{
    QTest::addColumn<int>("plusPresses");
    QTest::addColumn<QString>("mirror");
    QTest::addColumn<QString>("exponent");
    QTest::addColumn<bool>("minusEnabled");
    QTest::addColumn<bool>("plusEnabled");
    QTest::newRow("one decimal") << 0 << "60,0"
                                 << "-1" << false << true;
    QTest::newRow("two decimals") << 1 << "60,00"
                                  << "-2" << true << true;
    QTest::newRow("three decimals") << 2 << "60,000"
                                    << "-3" << true << false;
    QTest::newRow("no fourth") << 3 << "60,000"
                               << "-3" << true << false;
}

void TestOptions::precision()
{
    QFETCH(int, plusPresses);
    for (int i = 0; i < plusPresses; ++i)
        w->Commandp_Click(1);
    QTEST(w->Text1[0]->text(), "mirror");
    QTEST(w->Label4->text(), "exponent");
    QTEST(w->Commandp[0]->isEnabled(), "minusEnabled");
    QTEST(w->Commandp[1]->isEnabled(), "plusEnabled");
    QCOMPARE(w->Label3[0]->text(),
             w->Text1[0]->text().replace(QLatin1String("60"), QLatin1String("48"))
                 + QStringLiteral(" cm"));
}

void TestOptions::mountScrollBar()
{
    QCOMPARE(w->HScroll2->maximum(), 101);
    w->HScroll2->setValue(57);
    QCOMPARE(w->Text1[6]->text(), QStringLiteral("5,7"));
    QCOMPARE(w->Text1[7]->text(), QStringLiteral("5,7"));
    QCOMPARE(w->lastFigure().l1.height, 2 * qRound(5.7 * sv->echelle));
    w->HScroll2->setValue(101);
    QCOMPARE(w->Text1[6]->text(), QStringLiteral("10,1"));
}

void TestOptions::virtualImagesFollowImages()
{
    QVERIFY(w->Check1[11]->isChecked());
    w->Check1[2]->setChecked(false);
    QVERIFY(!w->Check1[11]->isEnabled());
    QVERIFY(w->Check1[11]->isChecked());
    w->Check1[2]->setChecked(true);
    QVERIFY(w->Check1[11]->isEnabled());
}

void TestOptions::allRaysBoxesExcludeEachOther_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("all rays from B clears all rays") << 5 << 3;
    QTest::newRow("all rays clears all rays from B") << 3 << 5;
}

void TestOptions::allRaysBoxesExcludeEachOther()
{
    QFETCH(int, first);
    QFETCH(int, second);
    w->Check1[size_t(first)]->setChecked(true);
    w->Check1[size_t(second)]->setChecked(true);
    QVERIFY(w->Check1[size_t(second)]->isChecked());
    QVERIFY(!w->Check1[size_t(first)]->isChecked());
}

int TestOptions::redraws() const
{
    // Every redraw clears the canvas first: count clears in the recording.
    int n = 0;
    for (const auto &op : w->Picture2->canvas().ops())
        n += op.kind == Canvas::Op::Clear;
    return n;
}

void TestOptions::arrowPositionWaitsForArrows()
{
    w->Picture2->canvas().setRecording(true);
    w->HScroll1->setValue(7);
    QCOMPARE(redraws(), 0);
    w->Check1[9]->setChecked(true);
    QCOMPARE(redraws(), 1);
    QCOMPARE(w->lastFigure().optics.placerapp, 0.7);
}

void TestOptions::telescopeShowsItsFields()
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (int i : {2, 3, 8})
        QVERIFY(w->Text1[size_t(i)]->isHidden());
    w->Check1[6]->setChecked(true);
    for (int i : {2, 3, 8})
        QVERIFY(!w->Text1[size_t(i)]->isHidden());
    w->Check1[6]->setChecked(false);
    for (int i : {2, 3, 7, 8})
        QVERIFY(w->Text1[size_t(i)]->isHidden());
}

void TestOptions::objectAtInfinitySwapsTheFields()
{
    w->Check2->setChecked(true);
    QVERIFY(w->Text1[4]->isHidden());
    QVERIFY(w->Text1[5]->isHidden());
    QVERIFY(!w->HScroll3->isHidden());
    QCOMPARE(w->Label1->text(), QStringLiteral("10,0°"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("50,0 cm"));
    QVERIFY(!w->Check1[14]->isEnabled());
    w->HScroll3->setValue(101);
    QCOMPARE(w->Label1->text(), QStringLiteral("10,1°"));
    w->Check2->setChecked(false);
    QVERIFY(!w->Text1[4]->isHidden());
    QVERIFY(w->Check1[14]->isEnabled());
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("48,0 cm"));
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
