#include "config/enregistrer.h"
#include "config/filelist.h"
#include "config/ouvrir.h"
#include "mainwindow/draghandle.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepconfig.h"
#include "mainwindow/feuillepexo.h"
#include "mainwindow/figureview.h"
#include "platform/msgbox.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"
#include "tabstripharness.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

namespace {

// A main window with its own shared values.
struct Window
{
    SharedValues sv;
    std::unique_ptr<FeuilleP> w;
    explicit Window(const QString &dir)
        : w(std::make_unique<FeuilleP>(sv, dir))
    {
    }
};

void sendMove(QWidget *handle, QPoint pos, Qt::MouseButtons buttons)
{
    QMouseEvent e(QEvent::MouseMove, pos, handle->mapToGlobal(pos), Qt::NoButton, buttons,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &e);
}

// Pointer position inside handle `h` that drags its element to `cm`.
QPoint dragPoint(FeuilleP &w, int h, double cm)
{
    DragHandle *handle = w.handles[size_t(h)];
    const Canvas &c = w.Picture2->canvas();
    const double e = w.shared().echelle;
    const double originX = handle->x() + c.scaleLeft();
    const double originY = handle->y() + c.scaleTop();
    switch (h) {
    case 2: {
        const int y = handle->height() / 2;
        return {int(std::lround(cm * e - originX - (y - handle->height() / 2.0))), y};
    }
    case 3:
        return {2, int(std::lround(cm * e + 135 - originY))};
    default:
        return {int(std::lround(cm * e - originX)), 3};
    }
}

// A whole drag through the places `stops`, one move to each.
void dragThrough(FeuilleP &w, int h, const QList<double> &stops)
{
    DragHandle *handle = w.handles[size_t(h)];
    const QPoint grab = h == 2 ? QPoint(2, handle->height() - 2) : QPoint(2, 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, grab);
    QPoint at = grab;
    for (double cm : stops) {
        at = dragPoint(w, h, cm);
        sendMove(handle, at, Qt::LeftButton);
    }
    QTest::mouseRelease(handle, Qt::LeftButton, {}, at);
}

// A whole drag: the press where the element is grabbed, `moves` moves ending at `cm`.
void drag(FeuilleP &w, int h, double cm, int moves = 1)
{
    DragHandle *handle = w.handles[size_t(h)];
    // The plane mirror is grabbed on its line, from the bottom-left corner up to the right.
    const QPoint grab = h == 2 ? QPoint(2, handle->height() - 2) : QPoint(2, 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, grab);
    // The pointer moves over the canvas; the handle follows it and each position is seen
    // from where the handle is then.
    const QPoint start = handle->pos() + grab;
    const QPoint end = handle->pos() + dragPoint(w, h, cm);
    for (int i = 1; i <= moves; ++i)
        sendMove(handle, start + (end - start) * i / moves - handle->pos(), Qt::LeftButton);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, end - handle->pos());
}

// A drag whose release never reaches the handle: `moves` moves ending at `cm`.
void pressAndMove(FeuilleP &w, int h, double cm, int moves = 3)
{
    DragHandle *handle = w.handles[size_t(h)];
    const QPoint grab(2, 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, grab);
    const QPoint start = handle->pos() + grab;
    const QPoint end = handle->pos() + dragPoint(w, h, cm);
    for (int i = 1; i <= moves; ++i)
        sendMove(handle, start + (end - start) * i / moves - handle->pos(), Qt::LeftButton);
}

// A field the tab strip shows, so that it can take the focus.
QLineEdit *shownField(const FeuilleP &w)
{
    for (QLineEdit *t : w.Text1)
        if (t->isVisible())
            return t;
    return nullptr;
}

// What differs between two states, for the failure message.
QString difference(const SceneState &a, const SceneState &b)
{
    QStringList d;
    for (size_t i = 0; i < 9; ++i)
        if (a.text[i] != b.text[i])
            d << QStringLiteral("Text1(%1) %2/%3").arg(i).arg(a.text[i], b.text[i]);
    for (size_t i = 0; i < 18; ++i)
        if (a.check[i] != b.check[i])
            d << QStringLiteral("Check1(%1)").arg(i);
    if (a.check2 != b.check2)
        d << QStringLiteral("Check2");
    for (size_t i = 0; i < 3; ++i)
        if (a.scroll[i] != b.scroll[i])
            d << QStringLiteral("HScroll%1 %2/%3").arg(i + 1).arg(a.scroll[i]).arg(b.scroll[i]);
    if (a.mountMaximum != b.mountMaximum || a.nzoom != b.nzoom || a.longaxe != b.longaxe
        || a.precision != b.precision)
        d << QStringLiteral("scale or precision");
    return d.join(QStringLiteral(", "));
}

QStringList labels(const FeuilleP &w)
{
    QStringList l;
    for (QLabel *label : w.Label3)
        l << label->text();
    return l;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void historyKeepsStepsAndRuns();
    void randomActionsUndoAndRedoExactly();
    void newActionDropsRedo();
    void dragIsOneStep();
    void dragEndsHoweverItEnds_data();
    void telescopeUndoGivesBackTheRecordedScene();
    void dragEndsHoweverItEnds();
    void arrowRunIsOneStep();
    void arrowsMatchDrag_data();
    void arrowsMatchDrag();
    void undoKeys_data();
    void undoKeys();
    void fieldTypingIsUndoneFirst();
    void openedConfigurationIsOneStep();
    void figureMenu_data();
    void figureMenu();
    void panelsRepaintedByUndo_data();
    void panelsRepaintedByUndo();
    void handlesNameTheirPosition();

private:
    void randomAction(QRandomGenerator &rng);
    void openConfig(const QString &path);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Window> win;
    FeuilleP *w = nullptr;
    int refusals = 0;
};

void TestHistory::init()
{
    dir = std::make_unique<QTemporaryDir>();
    refusals = 0;
    msgbox::setInterceptor([this](const msgbox::Request &) {
        ++refusals;
        return msgbox::Answer::Ok;
    });
    win = std::make_unique<Window>(dir->path());
    w = win->w.get();
}

// Whole paintings of a widget.
class PaintCounter : public QObject
{
public:
    int whole = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint
            && (QRegion(static_cast<QWidget *>(watched)->rect())
                - static_cast<QPaintEvent *>(event)->region())
                   .isEmpty())
            ++whole;
        return false;
    }
};

void TestHistory::cleanup()
{
    win.reset();
    msgbox::setInterceptor(nullptr);
}

// The history alone: its capacity, a run extending one step, a run back to its start.
void TestHistory::historyKeepsStepsAndRuns()
{
    SceneState s;
    History h(200);
    h.reset(s);
    for (int i = 1; i <= 250; ++i) {
        s.scroll[0] = i;
        QVERIFY(h.record(s, QStringLiteral("pas %1").arg(i)));
    }
    QCOMPARE(h.undoCount(), 200);
    QVERIFY(!h.record(s, QStringLiteral("rien"))); // nothing changed
    s.scroll[1] = 1;
    h.record(s, QStringLiteral("flèche"), QStringLiteral("keys"));
    s.scroll[1] = 2;
    h.record(s, QStringLiteral("flèche"), QStringLiteral("keys"));
    QCOMPARE(h.undoCount(), 200);
    QCOMPARE(h.undo()->scroll[1], 0);
    QCOMPARE(h.redoLabel(), QStringLiteral("flèche"));
    h.redo();
    s.scroll[1] = 0; // a run back where it started leaves no step
    h.breakRun();
    h.record(s, QStringLiteral("flèche"), QStringLiteral("keys2"));
    s.scroll[1] = 3;
    h.record(s, QStringLiteral("flèche"), QStringLiteral("keys2"));
    s.scroll[1] = 0;
    h.record(s, QStringLiteral("flèche"), QStringLiteral("keys2"));
    QCOMPARE(h.undoLabel(), QStringLiteral("flèche"));
    QCOMPARE(h.undo()->scroll[1], 2);
}

void TestHistory::randomAction(QRandomGenerator &rng)
{
    const bool telescope = w->Check1[6]->isChecked();
    switch (rng.bounded(11)) {
    case 0: { // a value typed and applied
        static const int fields[] = {0, 1, 4, 5, 2, 3, 8};
        const int f = fields[rng.bounded(telescope ? 7 : 4)];
        QLineEdit *t = w->Text1[size_t(f)];
        t->selectAll();
        QTest::keyClicks(t, QString::number(rng.bounded(-50, 900) / 10.0).replace('.', ','));
        QTest::keyClick(t, Qt::Key_Return);
        break;
    }
    case 1: { // a drag
        const int h = rng.bounded(telescope ? 4 : 2);
        drag(*w, h,
             numbers::fieldValue(w->Text1[size_t(h == 0       ? 4
                                                     : h == 1 ? 0
                                                     : h == 2 ? 2
                                                              : 8)]
                                     ->text())
                 + rng.bounded(-60, 60) / 10.0,
             int(rng.bounded(1, 6)));
        break;
    }
    case 2: { // a run of arrow presses
        const int h = rng.bounded(telescope ? 4 : 2);
        const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        const auto mods = rng.bounded(2) ? Qt::ShiftModifier : Qt::NoModifier;
        for (int n = rng.bounded(1, 4); n > 0; --n)
            QTest::keyClick(w->handles[size_t(h)], keys[rng.bounded(4)], mods);
        break;
    }
    case 3: // a box
        w->Check1[size_t(rng.bounded(18))]->click();
        break;
    case 4: // the telescope, often
        w->Check1[6]->click();
        break;
    case 5:
        w->Check2->click();
        break;
    case 6: { // a scroll bar
        QScrollBar *bars[] = {w->HScroll1, w->HScroll2, w->HScroll3};
        const QAbstractSlider::SliderAction actions[]
            = {QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
               QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub};
        bars[rng.bounded(3)]->triggerAction(actions[rng.bounded(4)]);
        break;
    }
    case 7:
        w->Commandp[size_t(rng.bounded(2))]->click();
        break;
    case 8:
        w->Command3[size_t(rng.bounded(2))]->click();
        break;
    case 9: { // typing left unapplied in a field is part of the next step, exactly as shown
        QLineEdit *t = w->Text1[size_t(rng.bounded(2))];
        t->selectAll();
        QTest::keyClicks(t, QString::number(rng.bounded(50, 900)));
        w->HScroll3->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    }
    default: // the mouse held on a scroll bar's arrow: one gesture
        QTest::mousePress(w->HScroll2, Qt::LeftButton, {}, QPoint(w->HScroll2->width() - 3, 3));
        w->HScroll2->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QTest::mouseRelease(w->HScroll2, Qt::LeftButton, {}, QPoint(w->HScroll2->width() - 3, 3));
        break;
    }
}

void TestHistory::randomActionsUndoAndRedoExactly()
{
    QRandomGenerator rng(20261208);
    const SceneState start = w->sceneState();
    const QImage startImage = w->Picture2->canvas().image();
    const QStringList startLabels = labels(*w);
    // The state after each step, as the controls show it.
    std::vector<SceneState> states {start};
    for (int i = 0; i < 320; ++i) {
        randomAction(rng);
        states.resize(size_t(w->history().undoCount()) + 1);
        states.back() = w->sceneState();
    }
    const SceneState end = w->sceneState();
    const QImage endImage = w->Picture2->canvas().image();
    const QStringList endLabels = labels(*w);
    const int steps = w->history().undoCount();
    QVERIFY2(steps > 150, qPrintable(QString::number(steps)));
    QVERIFY(refusals > 0); // the telescope's refusals are among the steps

    for (int i = steps - 1; i >= 0 && w->history().canUndo(); --i) {
        w->undo();
        QVERIFY2(w->sceneState() == states[size_t(i)],
                 qPrintable(QStringLiteral("step %1: %2")
                                .arg(i)
                                .arg(difference(w->sceneState(), states[size_t(i)]))));
    }
    QVERIFY(!w->history().canUndo());
    QVERIFY(w->sceneState() == start);
    QCOMPARE(labels(*w), startLabels);
    QCOMPARE(w->Picture2->canvas().image(), startImage);
    QCOMPARE(w->history().redoCount(), steps);

    for (int i = 1; i <= steps && w->history().canRedo(); ++i) {
        w->redo();
        QVERIFY2(w->sceneState() == states[size_t(i)],
                 qPrintable(QStringLiteral("step %1: %2")
                                .arg(i)
                                .arg(difference(w->sceneState(), states[size_t(i)]))));
    }
    QVERIFY(!w->history().canRedo());
    QVERIFY(w->sceneState() == end);
    QCOMPARE(w->Text1[4]->text(), end.text[4]);
    QCOMPARE(labels(*w), endLabels);
    QCOMPARE(w->Picture2->canvas().image(), endImage);
}

void TestHistory::newActionDropsRedo()
{
    w->Check1[0]->click();
    w->Check1[5]->click();
    w->undo();
    QVERIFY(w->redoAction->isEnabled());
    w->Check1[17]->click();
    QVERIFY(!w->history().canRedo());
    QVERIFY(!w->redoAction->isEnabled());
    QCOMPARE(w->redoAction->text(), QStringLiteral("Rétablir"));
    w->undo();
    w->undo();
    QVERIFY(!w->Check1[0]->isChecked());
    QVERIFY(!w->Check1[5]->isChecked());
}

void TestHistory::dragIsOneStep()
{
    drag(*w, 0, 25.0, 50);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("25,0"));
    QCOMPARE(w->history().undoCount(), 1);
    QCOMPARE(w->undoAction->text(), QStringLiteral("Annuler le déplacement de l'objet"));
    w->undo();
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("0,0"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("48,0 cm"));
    QCOMPARE(w->redoAction->text(), QStringLiteral("Rétablir le déplacement de l'objet"));
    // A second drag of the same element is a step of its own.
    w->redo();
    drag(*w, 0, 10.0, 3);
    QCOMPARE(w->history().undoCount(), 2);
}

void TestHistory::dragEndsHoweverItEnds_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("refused, the message box takes the release") << "refused";
    QTest::newRow("another window activated") << "deactivated";
    QTest::newRow("released outside the window") << "outside";
}

// Whatever ends a drag, the actions after it are steps of their own.
void TestHistory::dragEndsHoweverItEnds()
{
    QFETCH(QString, ending);
    if (ending == QLatin1String("refused")) {
        w->Check1[6]->click();
        QVERIFY(w->Check1[6]->isChecked());
    }
    std::vector<SceneState> states {w->sceneState()};
    const int steps = w->history().undoCount();
    if (ending == QLatin1String("refused")) {
        pressAndMove(*w, 1, 6.0);
        QCOMPARE(refusals, 1);
        QVERIFY(!w->Check1[6]->isChecked());
    } else {
        pressAndMove(*w, 0, 10.0);
        if (ending == QLatin1String("deactivated")) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(w, &deactivate);
        } else {
            QTest::mouseRelease(w->handles[0], Qt::LeftButton, {}, QPoint(-2000, -2000));
        }
    }
    states.push_back(w->sceneState());
    QLineEdit *height = w->Text1[5];
    height->setFocus();
    height->selectAll();
    QTest::keyClicks(height, QStringLiteral("4"));
    QTest::keyClick(height, Qt::Key_Return);
    states.push_back(w->sceneState());
    w->Check1[12]->click();
    states.push_back(w->sceneState());
    QCOMPARE(w->history().undoCount(), steps + 3);
    for (int i = 2; i >= 0; --i) {
        w->undoAction->trigger();
        QVERIFY2(w->sceneState() == states[size_t(i)],
                 qPrintable(difference(w->sceneState(), states[size_t(i)])));
    }
    w->redoAction->trigger();
    QVERIFY2(w->sceneState() == states[1], qPrintable(difference(w->sceneState(), states[1])));
}

// A teacher's sequence with real keys: the corrections of the telescope belong to the steps
// that made them, and undoing gives back exactly what was shown.
void TestHistory::telescopeUndoGivesBackTheRecordedScene()
{
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto *strip = qobject_cast<TabStrip *>(w->Onglets);
    QVERIFY(strip);
    const auto type = [this](int field, const QString &text, Qt::Key end) {
        QLineEdit *f = w->Text1[size_t(field)];
        f->setFocus(Qt::MouseFocusReason);
        QVERIFY(f->hasFocus());
        f->selectAll();
        QTest::keyClicks(f, text);
        QTest::keyClick(f, end);
    };
    harness::clickTab(strip, 1);
    type(0, QStringLiteral("50,6"), Qt::Key_Return);
    type(1, QStringLiteral("13,5"), Qt::Key_Return);
    harness::clickTab(strip, 2);
    type(4, QStringLiteral("4,1"), Qt::Key_Return);
    type(5, QStringLiteral("1,4"), Qt::Key_Return);
    harness::clickTab(strip, 1);
    QTest::mouseClick(w->Check1[6], Qt::LeftButton, {}, QPoint(6, 8));
    QVERIFY(w->Check1[6]->isChecked());
    type(2, QStringLiteral("6,5"), Qt::Key_Tab);
    QCOMPARE(w->Text1[8]->text(), QStringLiteral("22,0"));
    QTest::mouseClick(w->Check1[6], Qt::LeftButton, {}, QPoint(6, 8));
    QVERIFY(!w->Check1[6]->isChecked());
    harness::clickTab(strip, 2);
    type(5, QStringLiteral("7,9"), Qt::Key_Tab);
    harness::clickTab(strip, 1);
    QTest::mouseClick(w->Check1[6], Qt::LeftButton, {}, QPoint(6, 8));
    QVERIFY(w->Check1[6]->isChecked());
    QCOMPARE(w->Text1[8]->text(), QStringLiteral("44,3"));
    const SceneState ticked = w->sceneState();
    const QStringList tickedLabels = labels(*w);
    QCOMPARE(tickedLabels[4], QStringLiteral("56,0 cm"));
    const int steps = w->history().undoCount();
    // Tabbing to the plane mirror passes through fields and changes nothing.
    DragHandle *plane = w->handles[2];
    for (int i = 0; i < 40 && QApplication::focusWidget() != plane; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), plane);
    QCOMPARE(w->history().undoCount(), steps);
    QVERIFY2(w->sceneState() == ticked, qPrintable(difference(w->sceneState(), ticked)));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(plane, Qt::Key_Left);
    QCOMPARE(w->Text1[2]->text(), QStringLiteral("34,6"));
    QCOMPARE(w->Text1[8]->text(), QStringLiteral("28,5"));
    QTest::keyClick(plane, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY2(w->sceneState() == ticked, qPrintable(difference(w->sceneState(), ticked)));
    QCOMPARE(labels(*w), tickedLabels);
    QTest::keyClick(plane, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w->Check1[6]->isChecked());
    QTest::keyClick(w->Check1[6], Qt::Key_Y, Qt::ControlModifier);
    QVERIFY2(w->sceneState() == ticked, qPrintable(difference(w->sceneState(), ticked)));
}

void TestHistory::arrowRunIsOneStep()
{
    DragHandle *ab = w->handles[0];
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(ab, Qt::Key_Right);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("0,5"));
    QTest::keyClick(ab, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("1,5"));
    QCOMPARE(w->history().undoCount(), 1);
    // One more decimal: one step of the displayed precision.
    w->Commandp[1]->click();
    QTest::keyClick(ab, Qt::Key_Left);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("1,49"));
    QCOMPARE(w->history().undoCount(), 3);
    w->undo();
    w->undo();
    w->undo();
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("0,0"));
}

// Each element, moved by keys, then by a drag to the same place in another window.
void TestHistory::arrowsMatchDrag_data()
{
    QTest::addColumn<int>("handle");
    QTest::addColumn<bool>("telescope");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("centimetres");
    QTest::newRow("object to the right") << 0 << false << int(Qt::Key_Right) << 3 << 12;
    QTest::newRow("spherical mirror to the left") << 1 << false << int(Qt::Key_Left) << 4 << 5;
    QTest::newRow("plane mirror to the left") << 2 << true << int(Qt::Key_Left) << 2 << 3;
    QTest::newRow("lens downwards") << 3 << true << int(Qt::Key_Down) << 3 << 1;
}

void TestHistory::arrowsMatchDrag()
{
    QFETCH(int, handle);
    QFETCH(bool, telescope);
    QFETCH(int, key);
    QFETCH(int, steps);
    QFETCH(int, centimetres);
    Window other(dir->path());
    for (FeuilleP *x : {w, other.w.get()})
        if (telescope)
            x->Check1[6]->click();
    QCOMPARE(refusals, 0);
    DragHandle *h = w->handles[size_t(handle)];
    const int field = handle == 0 ? 4 : handle == 1 ? 0 : handle == 2 ? 2 : 8;
    // The telescope's corrections follow the way taken: the drag passes where the keys went.
    QList<double> stops;
    for (int i = 0; i < centimetres + steps; ++i) {
        QTest::keyClick(h, Qt::Key(key), i < centimetres ? Qt::ShiftModifier : Qt::NoModifier);
        stops << numbers::fieldValue(w->Text1[size_t(field)]->text());
    }
    dragThrough(*other.w, handle, stops);
    QCOMPARE(other.w->Text1[size_t(field)]->text(), w->Text1[size_t(field)]->text());
    for (size_t i = 0; i < 9; ++i)
        QCOMPARE(other.w->Text1[i]->text(), w->Text1[i]->text());
    QVERIFY(other.w->sceneState() == w->sceneState());
    QCOMPARE(labels(*other.w), labels(*w));
    QCOMPARE(other.w->handles[size_t(handle)]->geometry(), h->geometry());
}

void TestHistory::undoKeys_data()
{
    QTest::addColumn<int>("redoKey");
    QTest::addColumn<int>("redoModifiers");
    QTest::newRow("Ctrl+Y") << int(Qt::Key_Y) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Shift+Z") << int(Qt::Key_Z) << int(Qt::ControlModifier | Qt::ShiftModifier);
}

// Undo and redo from anywhere in the window but a field with typing of its own.
void TestHistory::undoKeys()
{
    QFETCH(int, redoKey);
    QFETCH(int, redoModifiers);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    DragHandle *ab = w->handles[0];
    ab->setFocus();
    QTest::keyClick(ab, Qt::Key_Right);
    QTest::keyClick(ab, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("0,0"));
    w->Check1[0]->setFocus();
    QTest::keyClick(w->Check1[0], Qt::Key(redoKey), Qt::KeyboardModifiers(redoModifiers));
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("0,1"));
    // A field with nothing typed leaves the keys to the window.
    QLineEdit *field = shownField(*w);
    QVERIFY(field);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("0,0"));
}

void TestHistory::fieldTypingIsUndoneFirst()
{
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->Check1[0]->click();
    QLineEdit *field = shownField(*w);
    QVERIFY(field);
    const QString shown = field->text();
    const int index = int(std::find(w->Text1.begin(), w->Text1.end(), field) - w->Text1.begin());
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("25"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), shown); // the typing undone
    QVERIFY(w->Check1[0]->isChecked()); // the scene untouched
    while (field->isUndoAvailable())
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(w->Check1[0]->isChecked());
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!w->Check1[0]->isChecked()); // then the scene
    // A value applied is a step; its text comes back exactly.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("33"));
    QTest::keyClick(field, Qt::Key_Return);
    const QString applied = field->text();
    QVERIFY(applied != shown);
    QVERIFY(w->undoAction->text().startsWith(QStringLiteral("Annuler la saisie d")));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), shown);
    w->redo();
    QCOMPARE(w->Text1[size_t(index)]->text(), applied);
}

void TestHistory::openConfig(const QString &path)
{
    QDir::setCurrent(QFileInfo(path).path());
    QTimer::singleShot(0, this, [path] {
        auto *open = qobject_cast<Ouvrir *>(QApplication::activeModalWidget());
        QVERIFY(open);
        open->File1->setPath(QFileInfo(path).path());
        const auto items = open->File1->findItems(QFileInfo(path).fileName(), Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        open->File1->setCurrentItem(items[0]);
        QTest::mouseClick(open->Command1, Qt::LeftButton);
    });
    openConfigDialog(*w);
}

void TestHistory::openedConfigurationIsOneStep()
{
    w->Check1[6]->click();
    drag(*w, 0, 20.0);
    w->Command3[1]->click();
    w->Commandp[1]->click();
    const SceneState saved = w->sceneState();
    {
        FeuillePConfig host(*w);
        Enregistrer save(host);
        save.show();
        save.Text1->setText(QDir(dir->path()).filePath(QStringLiteral("c.P17")));
        QTest::mouseClick(save.Command1, Qt::LeftButton);
    }
    for (int i = 0; i < 10 && w->history().canUndo(); ++i)
        w->undo();
    const SceneState start = w->sceneState();
    openConfig(QDir(dir->path()).filePath(QStringLiteral("c.P17")));
    QVERIFY(w->sceneState() == saved);
    QCOMPARE(w->history().undoCount(), 1);
    QCOMPARE(w->undoAction->text(), QStringLiteral("Annuler l'ouverture de la configuration"));
    w->undo();
    QVERIFY(w->sceneState() == start);
    w->redo();
    QVERIFY(w->sceneState() == saved);

    // An exercise's configuration, loaded by the exercise window, is one step too.
    w->undo();
    w->shared().fichconfig = QDir(dir->path()).filePath(QStringLiteral("c.P17"));
    FeuillePExo exercise(*w, dir->path());
    QVERIFY(exercise.chargeconfig());
    QVERIFY(w->sceneState() == saved);
    QCOMPARE(w->undoAction->text(),
             QStringLiteral("Annuler le chargement de la configuration de l'exercice"));
    w->undo();
    QVERIFY(w->sceneState() == start);
}

// The panels paint their captions from the switches, whose handlers are quiet during a
// restore: the captions of the other layout stayed where the fields had moved from.
void TestHistory::panelsRepaintedByUndo_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("box");
    QTest::newRow("telescope, device panel") << 2 << "telescope";
    QTest::newRow("telescope, objects panel") << 1 << "telescope";
    QTest::newRow("object at infinity, objects panel") << 1 << "infinity";
}

void TestHistory::panelsRepaintedByUndo()
{
    QFETCH(int, tab);
    QFETCH(QString, box);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    harness::clickTab(qobject_cast<TabStrip *>(w->Onglets), tab);
    QWidget *panel = tab == 1 ? w->Picture3 : w->Picture1;
    QVERIFY(panel->isVisible());
    QCheckBox *check = box == QLatin1String("telescope") ? w->Check1[6] : w->Check2;
    check->click();
    QVERIFY(check->isChecked());
    QCoreApplication::processEvents();
    for (const bool undo : {true, false}) {
        PaintCounter paints;
        panel->installEventFilter(&paints);
        if (undo)
            w->undo();
        else
            w->redo();
        QCOMPARE(check->isChecked(), !undo);
        QTRY_VERIFY_WITH_TIMEOUT(paints.whole > 0, 500);
        panel->removeEventFilter(&paints);
    }
}

void TestHistory::figureMenu_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("step");
    QTest::newRow("caption of its own") << 0 << "Annuler la case « Prolonger les rayons »";
    // The construction boxes' own captions are cut off: the step says what is read beside them.
    QTest::newRow("ray through C") << 1 << "Annuler la case « passant par le centre C »";
    QTest::newRow("ray through F") << 13 << "Annuler la case « passant par le foyer »";
    QTest::newRow("parallel ray") << 14 << "Annuler la case « parallèle à l'axe optique »";
}

void TestHistory::figureMenu()
{
    QFETCH(int, box);
    QCheckBox *check = w->Check1[size_t(box)];
    const bool ticked = check->isChecked();
    check->click();
    QMenu *menu = w->figureMenu;
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    QFETCH(QString, step);
    QCOMPARE(texts,
             QStringList({step, QStringLiteral("Rétablir"), QStringLiteral("Copier la figure"),
                          QStringLiteral("Exporter la figure…"), QStringLiteral("Mode projection"),
                          QStringLiteral("Figure seule en plein écran")}));
    w->copyFigureAction->trigger();
    QCOMPARE(w->info->text(), w->shared().msgcopie);
    w->undoAction->trigger();
    QCOMPARE(check->isChecked(), ticked);
}

void TestHistory::handlesNameTheirPosition()
{
    QCOMPARE(w->handles[0]->accessibleName(), QStringLiteral("Objet AB, position 0,0 cm"));
    QTest::keyClick(w->handles[0], Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(w->handles[0]->accessibleName(), QStringLiteral("Objet AB, position 1,0 cm"));
    QCOMPARE(w->handles[1]->accessibleName(),
             QStringLiteral("Miroir sphérique, position %1 cm").arg(w->Text1[0]->text()));
    // The focused handle is outlined.
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    DragHandle *ab = w->handles[0];
    const QImage before = w->Picture2->grab(ab->geometry()).toImage();
    ab->setFocus();
    QVERIFY(w->Picture2->grab(ab->geometry()).toImage() != before);
    QCOMPARE(w->info->text(), FeuilleP::keyboardHint());
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
