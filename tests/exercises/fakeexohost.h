// A main window stand-in for the exercise window: a pane, a name field, and a log of what the
// window asked of it.
#pragma once

#include "exercises/exohost.h"
#include "platform/sharedvalues.h"

#include <QLineEdit>
#include <QStringList>
#include <QTextEdit>
#include <functional>

class FakeExoHost : public ExerciseHost
{
public:
    explicit FakeExoHost(const QString &programDir)
        : dir(programDir)
    {
        window.setWindowTitle(QStringLiteral("Optalis"));
        window.setGeometry(100, 80, 791, 546);
        pane.setPlainText(QStringLiteral("Introduction"));
        pane.setReadOnly(true);
    }

    QWidget *mainWindow() override { return &window; }
    SharedValues &shared() override { return sv; }
    QString programDir() const override { return dir; }
    QTextEdit *supertext() override { return &pane; }
    QString fich() const override { return name.text(); }
    void setFich(const QString &text) override { name.setText(text); }
    bool chargeconfig() override
    {
        log << QStringLiteral("chargeconfig ") + sv.fichconfig;
        if (onLoad)
            onLoad();
        return true;
    }
    void setBusy(bool busy) override { log << QStringLiteral("busy %1").arg(int(busy)); }
    void presentation() override { pane.setPlainText(QStringLiteral("Introduction")); }

    QWidget window;
    SharedValues sv;
    QString dir;
    QTextEdit pane;
    QLineEdit name;
    QStringList log;
    std::function<void()> onLoad; // runs while the configuration loads
};
