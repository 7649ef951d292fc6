#include "mainwindow/feuillepoutput.h"

#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "output/clipcopy.h"
#include "output/confimp.h"
#include "output/figureexport.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/sharedvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QSettings>

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

const DisplayList &FeuillePOutput::drawing() const
{
    return w.Picture2->canvas().displayList();
}

QImage FeuillePOutput::figureImage() const
{
    return w.Picture2->canvas().image();
}

QByteArray FeuillePOutput::figureSvg() const
{
    return figureexport::svg(drawing(), w.windowTitle());
}

void FeuillePOutput::unloadFigure()
{
    w.Picture2->canvas().cls();
    w.Picture2->setBackgroundPicture(QPixmap());
}

void FeuillePOutput::Command4_Click()
{
    clipcopy::copy(figureImage(), figureSvg());
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
                                     [this] { clipcopy::copy(figureImage(), figureSvg()); });
    copim->setObjectName(QStringLiteral("copim"));
    // The window has no graph to give, so the clipboard is only emptied.
    QAction *copigraph = menu->addAction(QStringLiteral("Copier le graphe"), menu,
                                         [] { clipcopy::copy(QImage(), QByteArray()); });
    copigraph->setObjectName(QStringLiteral("copigraph"));
    return menu;
}

void FeuillePOutput::exportFigure()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    QSettings s(QStringLiteral("optalis"), QStringLiteral("optalis"));
    const QString last = s.value(QStringLiteral("export/dossier"), QDir::currentPath()).toString();
    const QStringList filters = figureexport::filters();
    // Qt's own dialog, so that its buttons follow the installed French translation.
    QFileDialog dialog(&w, QStringLiteral("Exporter la figure"), paths::saveDir(programDir, last),
                       filters.join(QStringLiteral(";;")));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const int kept = s.value(QStringLiteral("export/format"), 0).toInt();
    const int first = kept >= 0 && kept < filters.size() ? kept : 0;
    dialog.selectNameFilter(filters[first]);
    dialog.setDefaultSuffix(figureexport::suffix(figureexport::Format(first)));
    // Choosing another type changes the proposed name's suffix with it.
    dialog.selectFile(
        figureexport::proposedName(w.shared().fichconfig, figureexport::Format(first)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters](const QString &filter) {
                         dialog.setDefaultSuffix(figureexport::suffix(
                             figureexport::Format(std::max(0, int(filters.indexOf(filter))))));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    const int format = std::max(0, int(filters.indexOf(dialog.selectedNameFilter())));
    if (!exportFigureTo(path, format))
        return;
    s.setValue(QStringLiteral("export/dossier"), QFileInfo(path).absolutePath());
    s.setValue(QStringLiteral("export/format"), format);
}

bool FeuillePOutput::exportFigureTo(const QString &path, int format)
{
    if (figureexport::underPrefix(QCoreApplication::applicationDirPath(), path)
        || !figureexport::write(path, figureexport::Format(format), drawing(), w.windowTitle())) {
        msgbox::show(&w, QStringLiteral("Ecriture impossible sur disque"),
                     QStringLiteral("Enregistrement impossible"), msgbox::Icon::Critical);
        return false;
    }
    return true;
}

void FeuillePOutput::showHelp(const QString &helpFile)
{
    // Reaching the common dialog loads the print dialog hidden; it is not unloaded here.
    Confimp confimp(*this);
    confimp.showHelp(helpFile);
}
