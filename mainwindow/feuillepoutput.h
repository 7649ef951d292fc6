// The main window as the print dialog sees it, and its copy and print commands.
#pragma once

#include "output/printhost.h"

#include <memory>

class FeuilleP;
class QMenu;
class QString;

class FeuillePOutput : public PrintHost
{
public:
    explicit FeuillePOutput(FeuilleP &window);
    ~FeuillePOutput() override;

    QWidget *mainWindow() override;
    QPrinter &printer() override;
    const DisplayList &drawing() const override;
    void unloadFigure() override;

    // "Co&pier": the figure on the clipboard, confirmed in the status line.
    void Command4_Click();
    // "Exporter la figure…": a French save dialog, then the figure in the chosen format. The
    // dialog opens where the last export went, away from the installed files.
    void exportFigure();
    // Writes the figure; false, with the message box of saving shown, when that failed.
    bool exportFigureTo(const QString &path, int format);
    // "&Imprimer": the print dialog, modal.
    void Command10_Click();
    // The menu "menucopie" with "Copier l'animation" and "Copier le graphe".
    QMenu *createMenu();
    // The help command borrows the print dialog's common dialog.
    void showHelp(const QString &helpFile);

private:
    QImage figureImage() const;
    QByteArray figureSvg() const;

    FeuilleP &w;
    std::unique_ptr<QPrinter> m_printer; // made when first needed
};
