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
    QImage figureImage() const override;
    void unloadFigure() override;

    // "Co&pier": the figure on the clipboard, confirmed in the status line.
    void Command4_Click();
    // "&Imprimer": the print dialog, modal.
    void Command10_Click();
    // The menu "menucopie" with "Copier l'animation" and "Copier le graphe".
    QMenu *createMenu();
    // The help command borrows the print dialog's common dialog.
    void showHelp(const QString &helpFile);

private:
    FeuilleP &w;
    std::unique_ptr<QPrinter> m_printer; // made when first needed
};
