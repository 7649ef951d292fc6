// What the exercise window and the exercise texts need of the main window: the text pane, the
// name field above it, the configuration loader, the pointer and the introduction text.
#pragma once

#include <QString>

class QTextEdit;
class QWidget;
struct SharedValues;

class ExerciseHost
{
public:
    virtual ~ExerciseHost() = default;

    // The window the exercise window lies over and the message boxes are shown over.
    virtual QWidget *mainWindow() = 0;
    virtual SharedValues &shared() = 0;
    // Where the executable and the shipped files ("optalis.PEM") are.
    virtual QString programDir() const = 0;

    // The exercise pane. The main window keeps textemodif: any change of the pane's text while
    // fich is not empty sets it.
    virtual QTextEdit *supertext() = 0;
    virtual QString fich() const = 0;
    virtual void setFich(const QString &text) = 0;

    // Loads the configuration named by shared().fichconfig and redraws; it reports its own
    // failures. True when the file was applied.
    virtual bool chargeconfig() = 0;
    // The main window's mouse pointer: the hourglass while busy, else the default.
    virtual void setBusy(bool busy) = 0;
    // Puts the introduction back into the pane.
    virtual void presentation() = 0;
};
