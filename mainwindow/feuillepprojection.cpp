// The projection mode of the main window: the figure's style and handles for a projector,
// the figure alone in full screen, and the mode kept from one session to the next.
#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "mainwindow/projectionscreen.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QToolButton>

namespace {

const QString kProjectionKey = QStringLiteral("affichage/projection");

// One name for one image: the panel's rows, as the values' labels stand in them.
const char *const kImageNames[3] = {"A₁B₁", "A'₁B'₁", "A₂B₂"};

} // namespace

void FeuilleP::createProjection()
{
    setHint(projectionBox,
            QStringLiteral("Traits épais et grandes étiquettes pour projeter la figure. F11 : "
                           "figure seule en plein écran"));
    connect(projectionBox, &QCheckBox::toggled, this, &FeuilleP::setProjection);

    projectionAction = new QAction(QStringLiteral("Mode projection"), this);
    projectionAction->setObjectName(QStringLiteral("projectionAction"));
    projectionAction->setCheckable(true);
    connect(projectionAction, &QAction::toggled, this, &FeuilleP::setProjection);
    fullScreenAction = new QAction(QStringLiteral("Figure seule en plein écran"), this);
    fullScreenAction->setObjectName(QStringLiteral("fullScreenAction"));
    fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreenAction->setShortcutContext(Qt::WindowShortcut);
    connect(fullScreenAction, &QAction::triggered, this, [this] { setFullScreen(!fullScreen()); });
    addAction(fullScreenAction);
    figureMenu->addSeparator();
    figureMenu->addAction(projectionAction);
    figureMenu->addAction(fullScreenAction);
}

void FeuilleP::setProjection(bool on)
{
    // Leaving projection leaves the full screen it implies.
    if (!on && fullScreen())
        setFullScreen(false);
    if (projectionBox->isChecked() != on)
        projectionBox->setChecked(on);
    if (projectionAction->isChecked() != on)
        projectionAction->setChecked(on);
    if (projecting == on)
        return;
    projecting = on;
    Picture2->setStyle(projectionStyle(on, fullScreen()));
    placeHandles();
    emit projectionChanged(on);
}

bool FeuilleP::fullScreen() const
{
    return screenView && Picture2->parentWidget() == screenView;
}

void FeuilleP::setFullScreen(bool on)
{
    if (on == fullScreen())
        return;
    if (on) {
        setProjection(true);
        if (!screenView) {
            screenView = new ProjectionScreen(this);
            screenView->onLayout = [this] { placeHandles(); };
            screenView->onLeave = [this] { setFullScreen(false); };
            // The window's own keys still work on the projected figure.
            screenView->addActions({undoAction, redoAction, exportFigureAction, fullScreenAction});
        }
        Command5->hide();
        showProjection();
        screenView->showFigure(Picture2);
    } else {
        Picture2->setParent(this);
        Picture2->setZoom(1);
        Picture2->move(8, 48);
        Picture2->show();
        Picture2->raise();
        Command5->show();
        screenView->hide();
        applyPlacementRule();
        activateWindow();
        Picture2->setFocus();
    }
    fullScreenAction->setText(on ? QStringLiteral("Quitter le plein écran")
                                 : QStringLiteral("Figure seule en plein écran"));
    Picture2->setStyle(projectionStyle(projecting, on));
    majaff();
}

figurepainter::Style FeuilleP::projectionStyle(bool projection, bool fullScreen)
{
    if (fullScreen)
        return {3, 2.0};
    if (projection)
        return {2, 1.5};
    return {};
}

QStringList FeuilleP::imageValues() const
{
    QStringList rows;
    const int images = figure.telescope ? 3 : 1;
    for (int i = 0; i < images; ++i) {
        const QString name
            = figure.telescope ? QString::fromUtf8(kImageNames[i]) : QStringLiteral("A'B'");
        rows << QStringLiteral("%1 : position %2, hauteur %3")
                    .arg(name, figure.label3[size_t(2 * i)], figure.label3[size_t(2 * i + 1)]);
    }
    return rows;
}

void FeuilleP::showProjection()
{
    if (screenView)
        screenView->setValues(imageValues(), Picture2->canvas().displayList().back);
}

void rememberProjection(FeuilleP &w)
{
    QSettings settings(QStringLiteral("optalis"), QStringLiteral("optalis"));
    w.setProjection(settings.value(kProjectionKey, false).toBool());
    QObject::connect(&w, &FeuilleP::projectionChanged, &w, [](bool on) {
        QSettings(QStringLiteral("optalis"), QStringLiteral("optalis"))
            .setValue(kProjectionKey, on);
    });
}
