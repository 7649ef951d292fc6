#include "mainwindow/feuillepexo.h"

#include "config/chargeconfig.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepconfig.h"
#include "mainwindow/presentation.h"

#include <QLineEdit>
#include <QTextEdit>

FeuillePExo::FeuillePExo(FeuilleP &window, const QString &programDir)
    : w(window)
    , progDir(programDir)
{
}

QWidget *FeuillePExo::mainWindow()
{
    return &w;
}

SharedValues &FeuillePExo::shared()
{
    return w.shared();
}

QString FeuillePExo::programDir() const
{
    return progDir;
}

QTextEdit *FeuillePExo::supertext()
{
    return w.supertext;
}

QString FeuillePExo::fich() const
{
    return w.fich->text();
}

void FeuillePExo::setFich(const QString &text)
{
    w.fich->setText(text);
}

bool FeuillePExo::chargeconfig()
{
    FeuillePConfig host(w);
    w.beginGesture(QStringLiteral("le chargement de la configuration de l'exercice"));
    const bool loaded = ::chargeconfig(host);
    w.endGesture();
    return loaded;
}

void FeuillePExo::setBusy(bool busy)
{
    if (busy)
        w.setCursor(Qt::WaitCursor);
    else
        w.unsetCursor();
}

void FeuillePExo::presentation()
{
    ::presentation(w.supertext);
}
