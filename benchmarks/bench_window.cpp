// The whole interaction through the real main window, offscreen: a drag of the plane mirror
// by mouse events until the figure has repainted, and the undo and redo of a step.
#include "benchmarks/benchmain.h"
#include "mainwindow/draghandle.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "platform/sharedvalues.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

namespace {

// Counts the figure's paint events.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The telescope window on screen, its figure at the size the benchmark asks.
struct TelescopeWindow
{
    QTemporaryDir dir;
    SharedValues sv;
    std::unique_ptr<FeuilleP> w;
    PaintCounter counter;

    explicit TelescopeWindow(int height)
        : w(std::make_unique<FeuilleP>(sv, dir.path()))
    {
        w->resize(800, 600);
        w->Check1[6]->setChecked(true);
        w->show();
        if (height != w->Picture2->height())
            w->Command5_Click();
        w->Picture2->installEventFilter(&counter);
        settle();
    }

    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    // Returns once the figure has been painted again.
    void waitForPaint(int before)
    {
        for (int guard = 0; counter.paints == before && guard < 10000; ++guard)
            QCoreApplication::processEvents();
    }

    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        DragHandle *h = w->handles[2];
        QMouseEvent e(type, pos, h->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(h, &e);
    }

    // One whole drag step: press on the mirror line, one move to the figure's abscissa `x`
    // (widget pixels), release.
    void dragStep(int x)
    {
        DragHandle *h = w->handles[2];
        const QPoint grab(2, h->height() - 2);
        const QPoint to(x - h->x(), h->height() / 2);
        const int before = counter.paints;
        mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        waitForPaint(before);
    }

    int mirrorX() const { return w->handles[2]->geometry().center().x(); }
};

// Arguments: canvas width and height in pixels; the window gives the width.
void BM_WindowDragPlaneMirror(benchmark::State &state)
{
    TelescopeWindow t(int(state.range(1)));
    if (t.w->Picture2->width() != state.range(0)) {
        state.SkipWithError("unexpected canvas width");
        return;
    }
    const int x = t.mirrorX();
    const int paints = t.counter.paints;
    int step = 0;
    for (auto _ : state)
        t.dragStep(x + ((step++ % 2) ? -4 : 4));
    // One repaint a step, or the step moved nothing.
    state.counters["repaints"] = double(t.counter.paints - paints) / double(step);
}

// One undo or one redo of a drag step, each until the figure has repainted.
void BM_WindowUndoRedo(benchmark::State &state)
{
    TelescopeWindow t(int(state.range(1)));
    t.dragStep(t.mirrorX() + 6);
    t.settle();
    bool undo = true;
    const int paints = t.counter.paints;
    for (auto _ : state) {
        const int before = t.counter.paints;
        if (undo)
            t.w->undo();
        else
            t.w->redo();
        undo = !undo;
        t.waitForPaint(before);
    }
    state.counters["repaints"]
        = double(t.counter.paints - paints) / double(std::max<int64_t>(1, state.iterations()));
}

} // namespace

BENCHMARK(BM_WindowDragPlaneMirror)->Apply(canvasSizes)->UseRealTime();
BENCHMARK(BM_WindowUndoRedo)->Apply(canvasSizes)->UseRealTime();
