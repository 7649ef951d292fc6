// The main window as the exercise window and the exercise texts see it.
#pragma once

#include "exercises/exohost.h"

class FeuilleP;

class FeuillePExo : public ExerciseHost
{
public:
    FeuillePExo(FeuilleP &window, const QString &programDir);

    QWidget *mainWindow() override;
    SharedValues &shared() override;
    QString programDir() const override;
    QTextEdit *supertext() override;
    QString fich() const override;
    void setFich(const QString &text) override;
    bool chargeconfig() override;
    void setBusy(bool busy) override;
    void presentation() override;

private:
    FeuilleP &w;
    QString progDir;
};
