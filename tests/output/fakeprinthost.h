// A main window for the print dialog: a figure, a printer and a count of unloads.
#pragma once

#include "output/printhost.h"
#include "platform/canvas.h"

#include <QComboBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <memory>

class FakePrintHost : public PrintHost
{
public:
    explicit FakePrintHost(std::unique_ptr<QPrinter> printer)
        : m_printer(std::move(printer))
        , figure(784, 265)
    {
        window.setGeometry(100, 120, 791, 546);
        figure.setBackColor(0x000000);
        figure.line(0, 131, 764, 131, 0xffffff);
    }

    QWidget *mainWindow() override { return &window; }
    QPrinter &printer() override { return *m_printer; }
    const DisplayList &drawing() const override { return figure.displayList(); }
    void unloadFigure() override { ++unloads; }

    std::unique_ptr<QPrinter> m_printer;
    QWidget window;
    Canvas figure;
    int unloads = 0;
};

// Whether printing goes through Qt's own print dialog, which a test can drive and Qt's catalogue
// translates. A system's own dialog (Windows') holds none of Qt's widgets.
inline bool qtOwnPrintDialog()
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    return dialog.findChild<QComboBox *>() != nullptr;
}
