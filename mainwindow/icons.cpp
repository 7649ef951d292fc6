#include "mainwindow/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

namespace icons {
namespace {
    constexpr int kSize = 24;
    const QColor kInk(40, 40, 60);

    QIcon paint(const std::function<void(QPainter &)> &draw, int size = kSize)
    {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kInk, 1.2));
        draw(p);
        p.end();
        return QIcon(pm);
    }
} // namespace

QIcon open()
{
    return paint([](QPainter &p) {
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(2.5, 6.5, 18, 13));
        p.setBrush(QColor(250, 220, 120));
        QPainterPath flap;
        flap.moveTo(2.5, 19.5);
        flap.lineTo(6.5, 10.5);
        flap.lineTo(22.5, 10.5);
        flap.lineTo(18.5, 19.5);
        flap.closeSubpath();
        p.drawPath(flap);
    });
}

QIcon save()
{
    return paint([](QPainter &p) {
        p.setBrush(QColor(70, 110, 180));
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 11, 7));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(7.5, 14.5, 9, 6));
    });
}

QIcon copy()
{
    return paint([](QPainter &p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 3.5, 11, 14));
        p.drawRect(QRectF(9.5, 7.5, 11, 14));
        for (int y = 11; y <= 18; y += 3)
            p.drawLine(QPointF(12, y + .5), QPointF(18, y + .5));
    });
}

QIcon print()
{
    return paint([](QPainter &p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 2.5, 11, 8));
        p.setBrush(QColor(170, 170, 180));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 15.5, 11, 6));
    });
}

QIcon calculator()
{
    return paint([](QPainter &p) {
        p.setBrush(QColor(90, 90, 100));
        p.drawRoundedRect(QRectF(4.5, 2.5, 15, 19), 2, 2);
        p.setBrush(QColor(200, 230, 200));
        p.drawRect(QRectF(6.5, 4.5, 11, 4));
        p.setBrush(Qt::white);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(6.5 + c * 4, 10.5 + r * 3.5, 2.5, 2));
    });
}

QIcon help()
{
    return paint([](QPainter &p) {
        p.setBrush(QColor(60, 120, 200));
        p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon close()
{
    return paint([](QPainter &p) {
        p.setBrush(QColor(160, 110, 70));
        p.drawRect(QRectF(5.5, 2.5, 13, 19));
        p.setBrush(QColor(250, 220, 120));
        p.drawEllipse(QRectF(14, 11, 2.5, 2.5));
        p.setPen(QPen(QColor(190, 40, 40), 2.2));
        p.drawLine(QPointF(1, 12), QPointF(9, 12));
        p.drawLine(QPointF(1, 12), QPointF(4, 9));
        p.drawLine(QPointF(1, 12), QPointF(4, 15));
    });
}

namespace {
    QIcon arrows(bool outward)
    {
        return paint(
            [outward](QPainter &p) {
                p.setPen(QPen(kInk, 1.4));
                const qreal a = outward ? 2 : 7, b = outward ? 7 : 2;
                p.drawLine(QPointF(2, 2), QPointF(7, 7));
                p.drawLine(QPointF(a, a), QPointF(a + (outward ? 3 : -3), a));
                p.drawLine(QPointF(a, a), QPointF(a, a + (outward ? 3 : -3)));
                p.drawLine(QPointF(15 - 2, 15 - 2), QPointF(15 - 7, 15 - 7));
                p.drawLine(QPointF(15 - a, 15 - a), QPointF(15 - a - (outward ? 3 : -3), 15 - a));
                p.drawLine(QPointF(15 - a, 15 - a), QPointF(15 - a, 15 - a - (outward ? 3 : -3)));
                Q_UNUSED(b);
            },
            15);
    }
} // namespace

QIcon enlarge()
{
    return arrows(true);
}
QIcon reduce()
{
    return arrows(false);
}

QPixmap exercise()
{
    QPixmap pm(97, 19);
    pm.fill(QColor(60, 110, 180));
    QPainter p(&pm);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("Exercices"));
    return pm;
}

QCursor handleCursor(int handle)
{
    // A hand-drawn pointer per element, showing the directions it can move in.
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const auto arrow = [&p](QPointF from, QPointF to) {
        const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
        const QPointF n(-d.y(), d.x());
        p.drawLine(from, to);
        p.drawLine(to, to - 4 * d + 3 * n);
        p.drawLine(to, to - 4 * d - 3 * n);
    };
    for (int pass = 0; pass < 2; ++pass) {
        // A white halo first so the pointer shows on black and on white backgrounds.
        p.setPen(QPen(pass == 0 ? Qt::white : QColor(20, 20, 20), pass == 0 ? 4 : 1.5,
                      Qt::SolidLine, Qt::RoundCap));
        switch (handle) {
        case 0: // object: sideways, with its arrow
            arrow(QPointF(12, 12), QPointF(3, 12));
            arrow(QPointF(12, 12), QPointF(21, 12));
            p.drawLine(QPointF(12, 20), QPointF(12, 5));
            break;
        case 1: // spherical mirror: sideways
            arrow(QPointF(12, 12), QPointF(2, 12));
            arrow(QPointF(12, 12), QPointF(22, 12));
            p.drawLine(QPointF(12, 4), QPointF(12, 20));
            break;
        case 2: // plane mirror: along the axis, tilted mirror in the middle
            arrow(QPointF(12, 12), QPointF(2, 12));
            arrow(QPointF(12, 12), QPointF(22, 12));
            p.drawLine(QPointF(7, 17), QPointF(17, 7));
            break;
        default: // lens: up and down its axis
            arrow(QPointF(12, 12), QPointF(12, 2));
            arrow(QPointF(12, 12), QPointF(12, 22));
            p.drawLine(QPointF(5, 12), QPointF(19, 12));
            break;
        }
    }
    p.end();
    return QCursor(pm, 12, 12);
}

} // namespace icons
