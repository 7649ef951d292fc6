#include "mainwindow/controls.h"

#include <QAccessible>

OptionBox::OptionBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
}

bool OptionBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

StatusLine::StatusLine(QWidget *parent)
    : QLabel(parent)
{
}

void StatusLine::setText(const QString &text)
{
    if (text == QLabel::text())
        return;
    QLabel::setText(text);
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}
