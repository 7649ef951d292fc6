#include "mainwindow/draghandle.h"

#include <QMouseEvent>

DragHandle::DragHandle(QWidget *canvas)
    : QWidget(canvas)
{
    // Nothing is painted: the element drawn on the canvas shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
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
