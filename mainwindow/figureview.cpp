#include "mainwindow/figureview.h"

#include "platform/figurepainter.h"

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

QPoint FigureView::toWidget(double x, double y) const
{
    return QPoint(int(std::nearbyint(x - m_canvas.scaleLeft())),
                  int(std::nearbyint(y - m_canvas.scaleTop())));
}

void FigureView::paintEvent(QPaintEvent *)
{
    // The drawing always covers the whole surface, so the background picture never shows
    // through; it is only kept for the commands that hand it on.
    QPainter p(this);
    const double ratio = devicePixelRatioF();
    if (ratio == 1) {
        p.drawImage(0, 0, m_canvas.image());
        return;
    }
    const DisplayList &list = m_canvas.displayList();
    if (m_sharp.isNull() || m_sharp.devicePixelRatio() != ratio
        || m_sharpGeneration != list.generation) {
        m_sharp = figurepainter::render(list, ratio);
        m_sharpGeneration = list.generation;
    }
    p.drawImage(0, 0, m_sharp);
}

void FigureView::resizeEvent(QResizeEvent *event)
{
    m_canvas.resize(width(), height());
    QWidget::resizeEvent(event);
}
