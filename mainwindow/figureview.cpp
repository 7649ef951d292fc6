#include "mainwindow/figureview.h"

#include <QPainter>
#include <cmath>

FigureView::FigureView(QWidget *parent)
    : QWidget(parent)
    , m_canvas(784, 265)
{
    m_canvas.setScaleLeft(-10);
    m_canvas.setScaleTop(4);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void FigureView::setBackgroundPicture(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void FigureView::setZoom(double zoom)
{
    const QSize units = unitSize();
    m_zoom = zoom > 0 ? zoom : 1;
    resize(int(std::ceil(units.width() * m_zoom)), int(std::ceil(units.height() * m_zoom)));
    m_sharp = QImage();
    update();
}

QSize FigureView::unitSize() const
{
    // Rounded down, with room for the error of the product: ceil(u * zoom) / zoom gives u back.
    return QSize(int(std::floor(width() / m_zoom + 1e-6)),
                 int(std::floor(height() / m_zoom + 1e-6)));
}

void FigureView::setStyle(const figurepainter::Style &style)
{
    m_style = style;
    m_sharp = QImage();
    update();
}

QPoint FigureView::toWidget(double x, double y) const
{
    return QPoint(int(std::nearbyint((x - m_canvas.scaleLeft()) * m_zoom)),
                  int(std::nearbyint((y - m_canvas.scaleTop()) * m_zoom)));
}

QPointF FigureView::toCanvas(QPointF widget) const
{
    return QPointF(widget.x() / m_zoom + m_canvas.scaleLeft(),
                   widget.y() / m_zoom + m_canvas.scaleTop());
}

void FigureView::paintEvent(QPaintEvent *)
{
    // The drawing always covers the whole surface, so the background picture never shows
    // through; it is only kept for the commands that hand it on.
    QPainter p(this);
    const double ratio = devicePixelRatioF();
    const double scale = ratio * m_zoom;
    if (scale == 1 && m_style.plain()) {
        p.drawImage(0, 0, m_canvas.image());
        return;
    }
    const DisplayList &list = m_canvas.displayList();
    if (m_sharp.isNull() || m_sharp.devicePixelRatio() != scale
        || m_sharpGeneration != list.generation) {
        figurepainter::render(m_sharp, list, scale, m_style);
        m_sharpGeneration = list.generation;
    }
    // One image pixel a device pixel: the widget shows it `zoom` times its size in units.
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(m_sharp.size()) / ratio), m_sharp);
}

void FigureView::resizeEvent(QResizeEvent *event)
{
    const QSize units = unitSize();
    m_canvas.resize(units.width(), units.height());
    QWidget::resizeEvent(event);
}
