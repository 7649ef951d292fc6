#include "exercises/comexo.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// Qt's own dialog, so that its buttons follow the installed French translation.
QFileDialog *fileDialog(QWidget *parent, const QString &filter, const QString &folder)
{
    auto *dialog = new QFileDialog(parent, QString(), folder, filter);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

QString chosen(QFileDialog *dialog)
{
    QString path;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
        path = dialog->selectedFiles().constFirst();
    delete dialog;
    return path;
}

} // namespace

QString ComExo::saveFileName(QWidget *parent, const QString &filter, const QString &defaultSuffix)
{
    QFileDialog *dialog
        = fileDialog(parent, filter,
                     paths::saveDir(QCoreApplication::applicationDirPath(), QDir::currentPath()));
    dialog->setWindowTitle(QStringLiteral("Enregistrer sous"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setDefaultSuffix(defaultSuffix);
    return chosen(dialog);
}

QString ComExo::openFileName(QWidget *parent, const QString &filter, const QString &initialName)
{
    QFileDialog *dialog = fileDialog(parent, filter, QDir::currentPath());
    dialog->setWindowTitle(QStringLiteral("Ouvrir"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->selectFile(initialName);
    return chosen(dialog);
}

bool ComExo::choosePrinter(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    return dialog.exec() == QDialog::Accepted;
}
