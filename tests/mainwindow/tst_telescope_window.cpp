#include "mainwindow/draghandle.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "platform/msgbox.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"
#include "tests/mainwindow/tabstripharness.h"
#include "tests/messagelog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The telescope as the user drives it from the window: switch, corrections written back,
// the refusal message, and the two telescope handles.
class TestTelescopeWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void defaultSceneLabels();
    void correctionIsWrittenIntoItsField();
    void impossibleConfiguration();
    void lensFocalPlaneIsOutOfRange();
    void planeMirrorGrab_data();
    void planeMirrorGrab();
    void lensDrag();

private:
    void move(QWidget *handle, QPoint pos, Qt::MouseButtons buttons);
    void apply(int field, const QString &text);

    std::unique_ptr<harness::ShownWindow> window;
    FeuilleP *w = nullptr;
    SharedValues *sv = nullptr;
    const QTemporaryDir *dir = nullptr;
    QList<msgbox::Request> asked;
};

void TestTelescopeWindow::init()
{
    recordMessages(asked);
    window = std::make_unique<harness::ShownWindow>();
    w = &window->w;
    sv = &window->sv;
    dir = &window->dir;
}

void TestTelescopeWindow::cleanup()
{
    window.reset();
    msgbox::setInterceptor(nullptr);
}

void TestTelescopeWindow::move(QWidget *handle, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(QEvent::MouseMove, pos, handle->mapToGlobal(pos), Qt::NoButton, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &e);
}

void TestTelescopeWindow::apply(int field, const QString &text)
{
    w->Text1[size_t(field)]->setText(text);
    w->Text1_LostFocus(field);
}

void TestTelescopeWindow::defaultSceneLabels()
{
    w->Check1[6]->setChecked(true);
    QVERIFY(asked.isEmpty());
    QVERIFY(w->lastFigure().telescope);
    QCOMPARE(w->Label3[4]->text(), QStringLiteral("-32,0 cm"));
    QCOMPARE(w->Label3[5]->text(), QStringLiteral("-3,0 cm"));
    for (QLabel *l : w->Label3)
        QVERIFY(!l->isHidden());
    QCOMPARE(w->Text1[8]->text(), QStringLiteral("8,0")); // no correction
}

void TestTelescopeWindow::correctionIsWrittenIntoItsField()
{
    apply(2, QStringLiteral("58"));
    apply(8, QStringLiteral("2"));
    w->Check1[6]->setChecked(true);
    QCOMPARE(w->Text1[8]->text(), QStringLiteral("10,1"));
    QVERIFY(asked.isEmpty());
}

void TestTelescopeWindow::impossibleConfiguration()
{
    apply(4, QStringLiteral("55"));
    w->Picture2->canvas().setRecording(true);
    w->Check1[6]->setChecked(true);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Configuration impossible"));
    QCOMPARE(asked[0].text,
             QStringLiteral("Le miroir secondaire ne peut recueillir toute la "
                            "lumière renvoyée par le miroir sphérique."));
    QCOMPARE(asked[0].icon, msgbox::Icon::Critical);
    QVERIFY(!w->Check1[6]->isChecked());
    QVERIFY(!w->lastFigure().telescope);
    QVERIFY(w->Label3[4]->isHidden());
    QVERIFY(w->handles[2]->isHidden());
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("70,0 cm"));
}

void TestTelescopeWindow::lensFocalPlaneIsOutOfRange()
{
    // A'1 at depth 0 (image on the plane mirror): the lens 10 cm below has it in its focal
    // plane.
    apply(8, QStringLiteral("10"));
    w->Check1[6]->setChecked(true);
    QCOMPARE(w->Label3[4]->text(), QStringLiteral("Hors limites"));
    QCOMPARE(w->Label3[5]->text(), QStringLiteral("Hors limites"));
}

void TestTelescopeWindow::planeMirrorGrab_data()
{
    QTest::addColumn<bool>("onDiagonal");
    QTest::newRow("pressed on the mirror line: moves") << true;
    QTest::newRow("pressed on a corner away from it: stays") << false;
}

void TestTelescopeWindow::planeMirrorGrab()
{
    QFETCH(bool, onDiagonal);
    w->Check1[6]->setChecked(true);
    DragHandle *l2 = w->handles[2];
    QVERIFY(!l2->isHidden());
    const int h = l2->height();
    QVERIFY(h > 20);
    // The mirror runs from the bottom-left corner up to the top-right one.
    const QPoint press = onDiagonal ? QPoint(h / 2, h / 2) : QPoint(1, 1);
    move(l2, press, Qt::NoButton);
    QTest::mousePress(l2, Qt::LeftButton, {}, press);
    QCOMPARE(w->glisseplan, onDiagonal);
    // Along the axis by 2 cm.
    const int shift = numbers::roundEven(-2 * sv->echelle);
    move(l2, press + QPoint(shift, 0), Qt::LeftButton);
    QCOMPARE(w->Text1[2]->text(), onDiagonal ? QStringLiteral("46,0") : QStringLiteral("48,0"));
    QTest::mouseRelease(l2, Qt::LeftButton, {}, press);
    QVERIFY(!w->glisseplan);
}

void TestTelescopeWindow::lensDrag()
{
    w->Check1[6]->setChecked(true);
    DragHandle *l3 = w->handles[3];
    QVERIFY(!l3->isHidden());
    const int top = l3->y() + 4; // canvas units
    // Pointer 10 cm below the axis.
    const int y = numbers::roundEven(135 + 10 * sv->echelle) - top;
    move(l3, QPoint(3, y), Qt::LeftButton);
    QCOMPARE(w->Text1[8]->text(), QStringLiteral("10,0"));
}

QTEST_MAIN(TestTelescopeWindow)
#include "tst_telescope_window.moc"
