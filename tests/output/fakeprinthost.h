// A main window for the print dialog: a figure, a printer and a count of unloads.
#pragma once

#include "output/printhost.h"

#include <QImage>
#include <QPrinter>
#include <QWidget>
#include <memory>

class FakePrintHost : public PrintHost
{
public:
    explicit FakePrintHost(std::unique_ptr<QPrinter> printer)
        : m_printer(std::move(printer))
        , figure(784, 265, QImage::Format_RGB32)
    {
        window.setGeometry(100, 120, 791, 546);
        figure.fill(Qt::black);
    }

    QWidget *mainWindow() override { return &window; }
    QPrinter &printer() override { return *m_printer; }
    QImage figureImage() const override { return figure; }
    void unloadFigure() override { ++unloads; }

    std::unique_ptr<QPrinter> m_printer;
    QWidget window;
    QImage figure;
    int unloads = 0;
};
