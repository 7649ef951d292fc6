#include "mainwindow/feuillepoutput.h"

#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "output/clipcopy.h"
#include "output/confimp.h"
#include "platform/sharedvalues.h"

#include <QLabel>
#include <QMenu>
#include <QPrinter>

FeuillePOutput::FeuillePOutput(FeuilleP &window)
    : w(window)
{
}

FeuillePOutput::~FeuillePOutput() = default;

QWidget *FeuillePOutput::mainWindow()
{
    return &w;
}

QPrinter &FeuillePOutput::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

QImage FeuillePOutput::figureImage() const
{
    return w.Picture2->canvas().image();
}

void FeuillePOutput::unloadFigure()
{
    w.Picture2->canvas().cls();
    w.Picture2->setBackgroundPicture(QPixmap());
}

void FeuillePOutput::Command4_Click()
{
    clipcopy::copy(figureImage());
    w.info->setText(w.shared().msgcopie);
}

void FeuillePOutput::Command10_Click()
{
    Confimp confimp(*this);
    confimp.exec();
    // The dialog cleared the figure. Activation draws it again, but only a window manager
    // activates the window: without one the figure would stay blank.
    w.majaff();
}

QMenu *FeuillePOutput::createMenu()
{
    auto *menu = new QMenu(QStringLiteral("menucopie"), &w);
    menu->setObjectName(QStringLiteral("menucopie"));
    QAction *copim = menu->addAction(QStringLiteral("Copier l'animation"), menu,
                                     [this] { clipcopy::copy(figureImage()); });
    copim->setObjectName(QStringLiteral("copim"));
    // The window has no graph to give, so the clipboard is only emptied.
    QAction *copigraph = menu->addAction(QStringLiteral("Copier le graphe"), menu,
                                         [] { clipcopy::copy(QImage()); });
    copigraph->setObjectName(QStringLiteral("copigraph"));
    return menu;
}

void FeuillePOutput::showHelp(const QString &helpFile)
{
    // Reaching the common dialog loads the print dialog hidden; it is not unloaded here.
    Confimp confimp(*this);
    confimp.showHelp(helpFile);
}
