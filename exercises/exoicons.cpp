#include "exercises/exoicons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

namespace exoicons {
namespace {

    QPixmap paint(int w, int h, const std::function<void(QPainter &)> &draw)
    {
        QPixmap pm(w, h);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
        p.end();
        return pm;
    }

} // namespace

QPixmap hourglass(int height)
{
    const int width = std::max(6, height * 2 / 3);
    return paint(width, height, [width, height](QPainter &p) {
        const qreal w = width, h = height;
        const qreal m = h / 10; // frame thickness
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 70, 30));
        p.drawRect(QRectF(0, 0, w, m));
        p.drawRect(QRectF(0, h - m, w, m));
        QPainterPath glass;
        glass.moveTo(m, m);
        glass.lineTo(w - m, m);
        glass.lineTo(w / 2 + m / 2, h / 2);
        glass.lineTo(w - m, h - m);
        glass.lineTo(m, h - m);
        glass.lineTo(w / 2 - m / 2, h / 2);
        glass.closeSubpath();
        p.setPen(QPen(QColor(40, 40, 60), std::max(1.0, m / 2)));
        p.setBrush(QColor(225, 235, 250));
        p.drawPath(glass);
        // The sand: what is left above, the heap below.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 170, 50));
        p.drawPolygon(QPolygonF(
            {QPointF(w * 0.3, h * 0.3), QPointF(w * 0.7, h * 0.3), QPointF(w / 2, h / 2)}));
        p.drawPolygon(QPolygonF({QPointF(w / 2, h * 0.68), QPointF(w - 1.6 * m, h - 1.2 * m),
                                 QPointF(1.6 * m, h - 1.2 * m)}));
    });
}

QPixmap difficulty(bool lit)
{
    return paint(32, 32, [lit](QPainter &p) {
        QPainterPath star;
        for (int k = 0; k < 10; ++k) {
            const double a = M_PI / 2 + k * M_PI / 5;
            const double r = k % 2 ? 6.5 : 15;
            const QPointF pt(16 + r * std::cos(a), 17 - r * std::sin(a));
            k ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.setPen(QPen(lit ? QColor(170, 90, 0) : QColor(120, 120, 120), 1.5));
        p.setBrush(lit ? QColor(255, 190, 30) : QColor(215, 215, 215));
        p.drawPath(star);
    });
}

QPixmap openExercise()
{
    return paint(40, 40, [](QPainter &p) {
        // An open book with a green arrow entering it.
        p.setPen(QPen(QColor(40, 40, 60), 1.5));
        p.setBrush(Qt::white);
        QPainterPath book;
        book.moveTo(4, 12);
        book.quadTo(12, 8, 20, 12);
        book.quadTo(28, 8, 36, 12);
        book.lineTo(36, 34);
        book.quadTo(28, 30, 20, 34);
        book.quadTo(12, 30, 4, 34);
        book.closeSubpath();
        p.drawPath(book);
        p.drawLine(QPointF(20, 12), QPointF(20, 34));
        for (qreal y = 17; y <= 29; y += 4) {
            p.drawLine(QPointF(8, y), QPointF(17, y));
            p.drawLine(QPointF(23, y), QPointF(32, y));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 150, 50));
        p.drawPolygon(QPolygonF({QPointF(14, 1), QPointF(26, 1), QPointF(26, 5), QPointF(31, 5),
                                 QPointF(20, 13), QPointF(9, 5), QPointF(14, 5)}));
    });
}

QPixmap closeWindow()
{
    return paint(40, 40, [](QPainter &p) {
        p.setPen(QPen(QColor(120, 20, 20), 1.5));
        p.setBrush(QColor(215, 50, 40));
        p.drawEllipse(QRectF(4, 4, 32, 32));
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 13), QPointF(27, 27));
        p.drawLine(QPointF(27, 13), QPointF(13, 27));
    });
}

} // namespace exoicons
