#include "mainwindow/controls.h"

#include <QAccessible>
#include <QPainter>

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

void paintFocusOutline(QWidget *widget, const QRect &r, const QPen &dashes)
{
    QPainter p(widget);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(r);
    p.setPen(dashes);
    p.drawRect(r);
}

PictureButton::PictureButton(QWidget *parent)
    : QLabel(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void PictureButton::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    paintFocusOutline(this, rect().adjusted(1, 1, -2, -2), QPen(Qt::black, 1, Qt::DotLine));
}
