// What the print dialog needs of the main window: the figure as drawn, the program's printer
// and the clearing of the figure when the dialog goes, without including the window.
#pragma once

#include "platform/displaylist.h"

class QPrinter;
class QWidget;

class PrintHost
{
public:
    virtual ~PrintHost() = default;

    // The window the dialog is placed from and the message boxes are shown over.
    virtual QWidget *mainWindow() = 0;
    // One printer for the program's life, so a printer chosen once stays chosen.
    virtual QPrinter &printer() = 0;
    // The figure as drawn, with the display options of the main window.
    virtual const DisplayList &drawing() const = 0;
    // The dialog's unload: the drawing and any background picture are cleared; the main
    // window draws the figure again when it becomes active.
    virtual void unloadFigure() = 0;
};
