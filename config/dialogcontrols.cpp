#include "config/dialogcontrols.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace dialogcontrols {

QLabel *caption(QWidget *owner, const QString &name, const QString &text, const QRect &geometry)
{
    return place(new QLabel(text, owner), name, text, geometry);
}

QPushButton *button(QWidget *owner, const QString &name, const QString &text,
                    const QString &accessible, const QRect &geometry)
{
    auto *b = place(new QPushButton(text, owner), name, accessible, geometry);
    b->setAutoDefault(false);
    return b;
}

void setUp(QDialog *dialog, const QString &name, const QString &title, const QSize &size,
           QWidget *mainWindow)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setAccessibleName(title);
    dialog->setFixedSize(size);
    // The metrics the control places were made for.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    dialog->setFont(font);
    if (mainWindow)
        dialog->move(mainWindow->window()->frameGeometry().topLeft() + QPoint(20, 20));
}

} // namespace dialogcontrols
