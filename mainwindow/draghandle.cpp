#include "mainwindow/draghandle.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

DragHandle::DragHandle(QWidget *canvas)
    : QWidget(canvas)
{
    // Nothing is painted but the focus outline: the element drawn on the canvas shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void DragHandle::mouseMoveEvent(QMouseEvent *event)
{
    // While a button is held the handle keeps the mouse, even outside itself.
    if (onMove)
        onMove(event->buttons(), event->position().toPoint());
    event->accept();
}

void DragHandle::mousePressEvent(QMouseEvent *event)
{
    if (onPress)
        onPress(event->button(), event->position().toPoint());
    event->accept();
}

void DragHandle::mouseReleaseEvent(QMouseEvent *event)
{
    if (onRelease)
        onRelease(event->button(), event->position().toPoint());
    event->accept();
}

void DragHandle::keyPressEvent(QKeyEvent *event)
{
    if (onKey && onKey(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void DragHandle::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    // Dark and light dashes: the outline shows on the white and the black background alike.
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(r);
    p.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
    p.drawRect(r);
}

void DragHandle::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void DragHandle::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}
