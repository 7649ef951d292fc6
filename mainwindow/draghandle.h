// A small transparent image over the figure that the user drags to move an element. It takes
// the keyboard focus too: its element moves with the arrow keys, and it is outlined while the
// keyboard is in use.
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
    // A key pressed while the handle has the focus; true when it was used.
    std::function<bool(const QKeyEvent &)> onKey;

    bool outlined() const { return hasFocus() && outlined_; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void setOutlined(bool on);

    bool outlined_ = false;
};
