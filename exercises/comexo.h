// The common dialogs of the exercise texts: save, open and printer choice. Tests replace them.
#pragma once

#include <QString>

class QPrinter;
class QWidget;

class ComExo
{
public:
    virtual ~ComExo() = default;

    // The chosen path, or an empty text when the dialog was cancelled. The save dialog asks
    // nothing about existing files: the caller does.
    virtual QString saveFileName(QWidget *parent, const QString &filter,
                                 const QString &defaultSuffix);
    virtual QString openFileName(QWidget *parent, const QString &filter,
                                 const QString &initialName);
    // False when cancelled.
    virtual bool choosePrinter(QWidget *parent, QPrinter *printer);
};
