// The figure canvas Picture2: shows the persistent image that the redraw paints, or the same
// drawing painted again at the screen's resolution.
#pragma once

#include "platform/canvas.h"

#include <QPixmap>
#include <QWidget>

class FigureView : public QWidget
{
    Q_OBJECT
public:
    explicit FigureView(QWidget *parent = nullptr);

    Canvas &canvas() { return m_canvas; }
    // A picture shown under the drawing until it is cleared (the snapshot of the help command).
    void setBackgroundPicture(const QPixmap &picture);
    QPixmap backgroundPicture() const { return m_background; }

    // Canvas-unit position to widget pixel position.
    QPoint toWidget(double x, double y) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Canvas m_canvas;
    QPixmap m_background;
    // The figure painted at a device pixel ratio other than 1, until the figure changes.
    QImage m_sharp;
    uint64_t m_sharpGeneration = 0;
};
