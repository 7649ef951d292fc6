// The main window's undo history: what a gesture records, how a step is restored, and the
// commands that reach it (keys, the figure's menu).
#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepoutput.h"
#include "mainwindow/figureview.h"
#include "platform/sharedvalues.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <vector>

namespace {

// -1 for an undo key, 1 for a redo key, 0 for any other.
int historyCommand(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Z && mods == Qt::ControlModifier)
        return -1;
    if ((event.key() == Qt::Key_Y && mods == Qt::ControlModifier)
        || (event.key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return 1;
    if (event.matches(QKeySequence::Undo))
        return -1;
    if (event.matches(QKeySequence::Redo))
        return 1;
    return 0;
}

// A field would take Ctrl+E to move to the end of its text; the window's export keeps it.
class ExportKey : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        return key->key() == Qt::Key_E
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
    }
};

} // namespace

void FeuilleP::createHistory()
{
    hist = std::make_unique<History>();
    undoAction = new QAction(this);
    undoAction->setObjectName(QStringLiteral("undoAction"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = new QAction(this);
    redoAction->setObjectName(QStringLiteral("redoAction"));
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction *a : {undoAction, redoAction}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    connect(undoAction, &QAction::triggered, this, &FeuilleP::undo);
    connect(redoAction, &QAction::triggered, this, &FeuilleP::redo);

    figureMenu = new QMenu(this);
    figureMenu->setObjectName(QStringLiteral("figureMenu"));
    figureMenu->addAction(undoAction);
    figureMenu->addAction(redoAction);
    figureMenu->addSeparator();
    copyFigureAction = figureMenu->addAction(QStringLiteral("Copier la figure"), this,
                                             [this] { output->Command4_Click(); });
    copyFigureAction->setObjectName(QStringLiteral("copyFigureAction"));
    exportFigureAction = figureMenu->addAction(QStringLiteral("Exporter la figure…"), this,
                                               [this] { output->exportFigure(); });
    exportFigureAction->setObjectName(QStringLiteral("exportFigureAction"));
    exportFigureAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportFigureAction->setShortcutContext(Qt::WindowShortcut);
    addAction(exportFigureAction);
    auto *exportKey = new ExportKey(this);
    for (QLineEdit *field : Text1)
        field->installEventFilter(exportKey);
    Picture2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Picture2, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { figureMenu->popup(Picture2->mapToGlobal(pos)); });

    for (QScrollBar *bar : {HScroll1, HScroll2, HScroll3})
        bar->installEventFilter(this);
    // A run of arrow presses ends when the focus moves on.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (hist)
            hist->breakRun();
    });

    hist->reset(sceneState());
    updateHistoryActions();
}

SceneState FeuilleP::sceneState() const
{
    SceneState s;
    for (size_t i = 0; i < 9; ++i)
        s.text[i] = Text1[i]->text();
    for (size_t i = 0; i < 18; ++i)
        s.check[i] = Check1[i]->checkState() == Qt::Checked;
    s.check2 = Check2->checkState() == Qt::Checked;
    s.scroll = {HScroll1->value(), HScroll2->value(), HScroll3->value()};
    s.mountMaximum = HScroll2->maximum();
    s.nzoom = sv.nzoom;
    s.longaxe = sv.longaxe;
    s.precision = Combo1->currentIndex();
    return s;
}

void FeuilleP::beginGesture(const QString &label)
{
    // A drag is named by its first move.
    if (gestureDepth++ == 0 || gestureLabel.isEmpty())
        gestureLabel = label;
}

void FeuilleP::endGesture(const QString &run)
{
    if (gestureDepth > 0)
        --gestureDepth;
    if (gestureDepth > 0 || !hist || restoring)
        return;
    if (hist->record(sceneState(), gestureLabel, run))
        updateHistoryActions();
}

void FeuilleP::startDrag(int handle)
{
    if (dragging >= 0)
        return;
    dragging = handle;
    beginGesture(QString()); // named by the first move
}

void FeuilleP::endDrag()
{
    if (dragging < 0)
        return;
    dragging = -1;
    endGesture();
    // The next drag of the same element is a step of its own.
    if (hist)
        hist->breakRun();
}

void FeuilleP::undo()
{
    endDrag();
    // A change that no gesture recorded is undone first.
    if (hist->record(sceneState(), QStringLiteral("la modification")))
        hist->breakRun();
    if (const auto state = hist->undo())
        restoreScene(*state);
    updateHistoryActions();
}

void FeuilleP::redo()
{
    endDrag();
    if (hist->record(sceneState(), QStringLiteral("la modification"))) {
        // What changed since drops the steps to redo, as any new step does.
        updateHistoryActions();
        return;
    }
    if (const auto state = hist->redo())
        restoreScene(*state);
    updateHistoryActions();
}

// The controls take the saved values exactly, with their handlers quiet, and the figure is
// drawn once: the fields are not validated again, so their texts stay as they were saved.
void FeuilleP::restoreScene(const SceneState &state)
{
    restoring = true;
    holdRedraws(true);
    {
        std::vector<QSignalBlocker> quiet;
        for (QObject *o :
             std::initializer_list<QObject *> {Check2, HScroll1, HScroll2, HScroll3, Combo1})
            quiet.emplace_back(o);
        for (QLineEdit *t : Text1)
            quiet.emplace_back(t);
        for (QCheckBox *c : Check1)
            quiet.emplace_back(c);

        sv.nzoom = int16_t(state.nzoom);
        sv.longaxe = int16_t(state.longaxe);
        showScale();
        HScroll2->setMaximum(state.mountMaximum);
        Combo1->setCurrentIndex(state.precision);
        showPrecision();
        for (size_t i = 0; i < 18; ++i)
            Check1[i]->setCheckState(state.check[i] ? Qt::Checked : Qt::Unchecked);
        Check2->setCheckState(state.check2 ? Qt::Checked : Qt::Unchecked);
        HScroll1->setValue(state.scroll[0]);
        HScroll2->setValue(state.scroll[1]);
        HScroll3->setValue(state.scroll[2]);
        for (size_t i = 0; i < 9; ++i)
            Text1[i]->setText(state.text[i]);
    }
    showBoxes();
    showInfinity();
    // The panels paint their captions from the boxes, whose handlers stayed quiet.
    for (QWidget *panel : {Picture3, Picture1, frame2, Picture6})
        panel->update();
    holdRedraws(false);
    majaff();
    restoring = false;
    // Should the redraw have corrected a field, the next step starts from what is shown.
    hist->adopt(sceneState());
}

void FeuilleP::updateHistoryActions()
{
    undoAction->setEnabled(hist->canUndo());
    redoAction->setEnabled(hist->canRedo());
    undoAction->setText(hist->canUndo() ? QStringLiteral("Annuler ") + hist->undoLabel()
                                        : QStringLiteral("Annuler"));
    redoAction->setText(hist->canRedo() ? QStringLiteral("Rétablir ") + hist->redoLabel()
                                        : QStringLiteral("Rétablir"));
}

bool FeuilleP::fieldHistoryKey(int index, QKeyEvent *event)
{
    const int command = historyCommand(*event);
    if (command == 0)
        return false;
    QLineEdit *field = Text1[size_t(index)];
    const bool own = command < 0 ? field->isUndoAvailable() : field->isRedoAvailable();
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted, the key comes to the field; refused, it goes to the window's shortcuts.
        event->setAccepted(own);
        return true;
    }
    if (own)
        command < 0 ? field->undo() : field->redo();
    else
        command < 0 ? undo() : redo();
    return true;
}
