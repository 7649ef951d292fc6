// A small transparent image over the figure that the user drags to move an element.
#pragma once

#include <QWidget>
#include <functional>

class DragHandle : public QWidget
{
    Q_OBJECT
public:
    explicit DragHandle(QWidget *canvas);

    // Pointer position relative to the handle; the buttons held during the movement.
    std::function<void(Qt::MouseButtons, QPoint)> onMove;
    std::function<void(Qt::MouseButton, QPoint)> onPress;
    std::function<void(Qt::MouseButton, QPoint)> onRelease;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
