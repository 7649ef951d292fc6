// The figure canvas Picture2: shows the persistent image that the redraw paints, or the same
// drawing painted again at the screen's resolution, enlarged or in the projector's style.
#pragma once

#include "platform/canvas.h"
#include "platform/figurepainter.h"

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

    // Widget pixels per canvas unit: above 1 when the figure fills a projected screen. The
    // canvas keeps its size in units, the widget takes that size times the zoom.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // The canvas size the widget's size stands for.
    QSize unitSize() const;
    void setStyle(const figurepainter::Style &style);
    const figurepainter::Style &style() const { return m_style; }

    // Canvas-unit position to widget pixel position, and back.
    QPoint toWidget(double x, double y) const;
    QPointF toCanvas(QPointF widget) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Canvas m_canvas;
    QPixmap m_background;
    double m_zoom = 1;
    figurepainter::Style m_style;
    // The figure painted at another scale or style than the canvas's own, until it changes.
    QImage m_sharp;
    uint64_t m_sharpGeneration = 0;
};
