// The main window: command buttons, figure, tab strip with the scene's controls, status line
// and text pane. The controls are the scene's only store.
#pragma once

#include "bench/figure.h"
#include "mainwindow/controls.h"
#include "mainwindow/history.h"
#include "platform/figurepainter.h"

#include <QWidget>
#include <array>
#include <memory>

class DragHandle;
class QAction;
class FeuillePOutput;
class ExoTexts;
class FeuillePExo;
class FigureView;
class ProjectionScreen;
class QCheckBox;
class QComboBox;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QTextEdit;
class QToolButton;
struct SharedValues;

class FeuilleP : public QWidget
{
    Q_OBJECT
public:
    // `programDir` is where the shipped data live; the exchange file goes to `exchangeDir`,
    // the program's directory when empty.
    FeuilleP(SharedValues &shared, const QString &programDir, const QString &exchangeDir = {},
             QWidget *parent = nullptr);
    ~FeuilleP() override;

    // Scene controls.
    std::array<QLineEdit *, 9> Text1 {};
    std::array<QCheckBox *, 18> Check1 {};
    QCheckBox *Check2 = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QScrollBar *HScroll2 = nullptr;
    QScrollBar *HScroll3 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    std::array<QLabel *, 6> Label3 {};
    QLabel *Label4 = nullptr;
    std::array<QPushButton *, 2> Command3 {}; // scale "-", "+"
    std::array<QPushButton *, 2> Commandp {}; // precision "-", "+"

    // The four panels under the tab strip; until the strip lays them out they are plain
    // hidden holders.
    QWidget *Picture3 = nullptr; // "Objets et images"
    QWidget *Picture1 = nullptr; // "Dispositif"
    QWidget *frame2 = nullptr; // "Affichage"
    QWidget *Picture6 = nullptr; // "Construction"

    // Window controls.
    QToolButton *Command1 = nullptr, *Command2 = nullptr, *Command4 = nullptr, *Command5 = nullptr,
                *Command7 = nullptr, *Command8 = nullptr, *Command10 = nullptr,
                *Command11 = nullptr;
    FigureView *Picture2 = nullptr;
    QWidget *Onglets = nullptr;
    StatusLine *info = nullptr;
    QLabel *btexo = nullptr;
    QLineEdit *fich = nullptr;
    QTextEdit *supertext = nullptr;
    std::array<DragHandle *, 4> handles {}; // AB, L1, L2, L3
    QMenu *menucopie = nullptr; // "Copier l'animation", "Copier le graphe"
    std::unique_ptr<FeuillePOutput> output; // printing and clipboard
    QAction *undoAction = nullptr; // "Annuler …": Ctrl+Z
    QAction *redoAction = nullptr; // "Rétablir …": Ctrl+Y, Ctrl+Shift+Z
    QAction *copyFigureAction = nullptr; // "Copier la figure"
    QAction *exportFigureAction = nullptr; // "Exporter la figure…", Ctrl+E
    QMenu *figureMenu = nullptr; // right-click on the figure
    QCheckBox *projectionBox = nullptr; // "Mode projection", in "Affichage"
    QAction *projectionAction = nullptr; // the same switch in the figure's menu
    QAction *fullScreenAction = nullptr; // F11: the figure alone on the whole screen

    SharedValues &shared() { return sv; }
    QString exchangeFile() const;
    const FigureOutput &lastFigure() const { return figure; }
    bool glisseplan = false;

    void majaff();
    void testpos();
    // While held, testpos and majaff do nothing: the controls are being set one by one and
    // only their final state is to be validated and drawn.
    void holdRedraws(bool hold);
    void Text1_LostFocus(int index);
    void Text1_Change(int index);
    void HScroll2_Change();
    void Check1_Click(int index);
    void Check2_Click();
    void HScroll1_Change();
    void HScroll3_Change();
    void Commandp_Click(int index);
    void Combo1_Click();
    // Drags on the figure; positions are relative to the handle, in pixels.
    void AB_MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void L1_MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void L2_MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void L3_MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void L2_MouseDown(Qt::MouseButton button, QPoint pos);
    void L2_MouseUp();
    void Form_Activate();

    // The scene's undo history.
    const History &history() const { return *hist; }
    SceneState sceneState() const;
    void undo();
    void redo();
    // A user gesture: the scene's change from its start to its end is one history step named
    // `label`. Gestures nest; the outermost one names and records the step, which extends the
    // previous step when both carry the same non-empty `run`.
    void beginGesture(const QString &label);
    void endGesture(const QString &run = {});
    // Pops up the exercise menu under the exercise button.
    void btexo_Click();
    ExoTexts *exercises() const { return exo.get(); }
    void Command5_Click();
    void Command7_Click();
    void Command3_Click(int index);
    // Runs the closing questions; true when the window may close.
    bool Form_QueryUnload();
    void Form_Unload();

    // Projection mode: thicker lines, larger labels and handles, for a room's projector. It
    // belongs to the room, not to the scene: no configuration or history step carries it.
    bool projection() const { return projecting; }
    void setProjection(bool on);
    // The figure alone in full screen, the images' values under it; it turns projection on.
    bool fullScreen() const;
    void setFullScreen(bool on);
    // How the figure is painted in each of those modes.
    static figurepainter::Style projectionStyle(bool projection, bool fullScreen);

    static QString restText();
    // The status line when an element of the figure has the focus.
    static QString keyboardHint();

Q_SIGNALS:
    void projectionChanged(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    class Gesture;
    void Form_Load();
    void createButtons();
    void createTextArea();
    void createSceneControls();
    void createHandles();
    void setHint(QObject *control, const QString &hint);
    bool Text1_KeyPress(int index, QKeyEvent *event);
    void Text1_Edited(int index);
    // The characters a numeric field takes, a point becoming the decimal comma.
    static QString numericCharacters(const QString &text);
    int fieldIndex(QObject *watched) const;
    void applyPlacementRule();
    SceneInputs readScene() const;
    void applyFigure(const FigureOutput &out);
    void dragTo(int field, double value);
    void startDrag(int handle);
    void endDrag();
    // Arrow keys on a focused handle; true when the key moved (or tried to move) its element.
    bool handleKey(int handle, const QKeyEvent &event);
    void updateHandleNames();
    // The parts of the handlers that show what the controls imply, without redrawing.
    void showBoxes();
    void showInfinity();
    void showPrecision();
    void showScale();
    void createHistory();
    void restoreScene(const SceneState &state);
    void updateHistoryActions();
    // Ctrl+Z and redo keys in a field: the field's own typing is undone first.
    bool fieldHistoryKey(int index, QKeyEvent *event);
    // A pointer position on a handle, in canvas units: from the handle's top-left corner, and
    // on the whole canvas.
    QPointF onHandle(QPoint pos) const;
    QPointF onCanvas(int handle, QPoint pos) const;
    void placeHandles();
    void createProjection();
    void showProjection();
    QStringList imageValues() const;

    SharedValues &sv;
    QString progDir;
    QString exchDir;
    FigureOutput figure;
    bool placing = false;
    bool unloaded = false;
    int redrawHold = 0;
    std::unique_ptr<History> hist; // made once the window is set up
    int gestureDepth = 0;
    QString gestureLabel;
    int dragging = -1; // the handle a mouse drag holds
    bool restoring = false;
    std::unique_ptr<FeuillePExo> exoHost;
    std::unique_ptr<ExoTexts> exo;
    std::array<int, 4> handleWidths {10, 10, 10, 10}; // canvas units
    bool projecting = false;
    ProjectionScreen *screenView = nullptr; // made at the first F11
};

// The projection mode as the last session left it, and each change kept for the next one.
void rememberProjection(FeuilleP &w);
