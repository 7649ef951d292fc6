// Building blocks of the two configuration dialogs: named, placed controls.
#pragma once

#include "platform/controlplace.h"

#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace dialogcontrols {

using controlplace::place;

QLabel *caption(QWidget *owner, const QString &name, const QString &text, const QRect &geometry);
// Not a default button unless the dialog makes it one.
QPushButton *button(QWidget *owner, const QString &name, const QString &text,
                    const QString &accessible, const QRect &geometry);
// Title, fixed client size, and 20 pixels right of and below the main window's corner.
void setUp(QDialog *dialog, const QString &name, const QString &title, const QSize &size,
           QWidget *mainWindow);

} // namespace dialogcontrols
