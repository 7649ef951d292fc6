#include "mainwindow/draghandle.h"

#include "mainwindow/controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPen>

namespace {

bool comesBack(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

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
    if (onKey && onKey(*event)) {
        event->accept();
        setOutlined(true);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void DragHandle::setOutlined(bool on)
{
    if (outlined_ != on) {
        outlined_ = on;
        update();
    }
}

void DragHandle::paintEvent(QPaintEvent *)
{
    if (!hasFocus() || !outlined_)
        return;
    // Shown on the white and the black background alike.
    paintFocusOutline(this, rect().adjusted(0, 0, -1, -1),
                      QPen(QColor(0, 90, 200), 1, Qt::DashLine));
}

void DragHandle::focusInEvent(QFocusEvent *event)
{
    // After a drag with the mouse the outline would stay on the projected figure: it shows when
    // the keyboard is in use. A window or menu that closes gives the focus back as it was.
    if (!comesBack(event->reason()))
        setOutlined(event->reason() != Qt::MouseFocusReason);
    update();
    QWidget::focusInEvent(event);
}

void DragHandle::focusOutEvent(QFocusEvent *event)
{
    if (!comesBack(event->reason()))
        setOutlined(false);
    update();
    QWidget::focusOutEvent(event);
}
