#include "mainwindow/draghandle.h"
#include "mainwindow/feuillep.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestDrag : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dragsMoveTheirElement_data();
    void dragsMoveTheirElement();
    void handleFollowsTheElement();
    void onlyTheLeftButtonDrags_data();
    void onlyTheLeftButtonDrags();
    void outlineOnlyForTheKeyboard_data();
    void outlineOnlyForTheKeyboard();

private:
    void move(QWidget *handle, QPoint pos, Qt::MouseButtons buttons);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedValues> sv;
    std::unique_ptr<FeuilleP> w;
};

void TestDrag::init()
{
    dir = std::make_unique<QTemporaryDir>();
    sv = std::make_unique<SharedValues>();
    w = std::make_unique<FeuilleP>(*sv, dir->path());
}

void TestDrag::cleanup()
{
    w.reset();
}

void TestDrag::move(QWidget *handle, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(QEvent::MouseMove, pos, handle->mapToGlobal(pos), Qt::NoButton, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &e);
}

// Pointer offsets inside the handle; the element takes the canvas abscissa under the pointer.
void TestDrag::dragsMoveTheirElement_data()
{
    QTest::addColumn<int>("handle");
    QTest::addColumn<double>("cm"); // where the pointer is
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("object to 20 cm") << 0 << 20.0 << 4 << "20,0";
    QTest::newRow("object left of the origin stops at 0") << 0 << -0.6 << 4 << "0,0";
    QTest::newRow("mirror to 40 cm") << 1 << 40.0 << 0 << "40,0";
    QTest::newRow("mirror left of the object stops 1 mm beyond it") << 1 << -0.4 << 0 << "0,1";
}

void TestDrag::dragsMoveTheirElement()
{
    QFETCH(int, handle);
    QFETCH(double, cm);
    QFETCH(int, field);
    const int canvasX = numbers::roundEven(cm * sv->echelle);
    QFETCH(QString, expected);
    DragHandle *h = w->handles[size_t(handle)];
    const int left = h->x() - 10; // handle's left edge in canvas units
    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(2, 2));
    move(h, QPoint(canvasX - left, 3), Qt::LeftButton);
    QCOMPARE(w->Text1[size_t(field)]->text(), expected);
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(canvasX - left, 3));
}

void TestDrag::handleFollowsTheElement()
{
    DragHandle *ab = w->handles[0];
    const int canvasX = numbers::roundEven(20 * sv->echelle);
    move(ab, QPoint(canvasX - (ab->x() - 10), 3), Qt::LeftButton);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("20,0"));
    // Redrawn at the object's new place: the handle is centred there.
    QCOMPARE(ab->x() + ab->width() / 2 - 10, canvasX);
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("46,7 cm"));
}

void TestDrag::onlyTheLeftButtonDrags_data()
{
    QTest::addColumn<int>("buttons");
    QTest::newRow("no button: hovering") << int(Qt::NoButton);
    QTest::newRow("left and right together") << int(Qt::LeftButton | Qt::RightButton);
    QTest::newRow("right button") << int(Qt::RightButton);
}

void TestDrag::onlyTheLeftButtonDrags()
{
    QFETCH(int, buttons);
    w->info->setText(QString());
    DragHandle *ab = w->handles[0];
    move(ab, QPoint(200, 3), Qt::MouseButtons(buttons));
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("0,0"));
    QCOMPARE(w->info->text(),
             QStringLiteral("Vous pouvez utiliser la souris pour déplacer l'objet"));
}

void TestDrag::outlineOnlyForTheKeyboard_data()
{
    QTest::addColumn<QString>(
        "steps"); // t: Tab focus, m: mouse drag, a: arrow key, w: window away and back
    QTest::addColumn<bool>("outlined");
    QTest::newRow("Tab") << "t" << true;
    QTest::newRow("mouse drag") << "m" << false;
    QTest::newRow("mouse drag, then arrow") << "ma" << true;
    QTest::newRow("arrow, then mouse drag") << "tam" << true;
    QTest::newRow("mouse drag, a dialog came and went") << "mw" << false;
    QTest::newRow("Tab, a dialog came and went") << "tw" << true;
}

void TestDrag::outlineOnlyForTheKeyboard()
{
    QFETCH(QString, steps);
    QFETCH(bool, outlined);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    DragHandle *ab = w->handles[0];
    for (const QChar step : steps) {
        if (step == QLatin1Char('t')) {
            ab->setFocus(Qt::TabFocusReason);
        } else if (step == QLatin1Char('m')) {
            QTest::mousePress(ab, Qt::LeftButton, {}, QPoint(2, 2));
            move(ab, QPoint(4, 2), Qt::LeftButton);
            QTest::mouseRelease(ab, Qt::LeftButton, {}, QPoint(4, 2));
        } else if (step == QLatin1Char('a')) {
            QTest::keyClick(ab, Qt::Key_Right);
        } else {
            QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QCoreApplication::sendEvent(ab, &away);
            QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
            QCoreApplication::sendEvent(ab, &back);
        }
    }
    QVERIFY(ab->hasFocus());
    QCOMPARE(ab->outlined(), outlined);
    // Seen on the window: the outline's first dash at the handle's corner.
    const QImage shown = w->grab().toImage();
    const QPoint corner = ab->mapTo(w.get(), QPoint(0, 0));
    QCOMPARE(shown.pixelColor(corner) == QColor(0, 90, 200), outlined);
}

QTEST_MAIN(TestDrag)
#include "tst_drag.moc"
