#include "platform/figurepainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace figurepainter {
namespace {

    // 2 pixels on, 2 off, counted from the start of each line.
    bool dotOn(int step)
    {
        return (step & 2) == 0;
    }

    // Liang-Barsky: the parameter range [t0, t1] of the segment inside the rectangle.
    bool clipRange(double x1, double y1, double x2, double y2, double xmin, double ymin,
                   double xmax, double ymax, double *t0out, double *t1out)
    {
        double t0 = 0, t1 = 1;
        const double dx = x2 - x1, dy = y2 - y1;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0) {
                if (q[i] < 0)
                    return false;
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            if (t0 > t1)
                return false;
        }
        *t0out = t0;
        *t1out = t1;
        return true;
    }

    // The steps of a line that may light a pixel of a surface of `size`; every output walks
    // the same steps, so a dotted line keeps its pattern wherever it is cut.
    struct Walk
    {
        int sx = 0, sy = 0, len = 0, first = 0, last = -1;
    };

    Walk walkOf(const DisplayItem &it, QSize size)
    {
        Walk w;
        w.sx = it.x2 - it.x1;
        w.sy = it.y2 - it.y1;
        w.len = std::max(std::abs(w.sx), std::abs(w.sy));
        if (w.len == 0) {
            w.last = 0;
            return w;
        }
        double t0 = 0, t1 = 1;
        if (!clipRange(it.x1, it.y1, double(it.x2), double(it.y2), -1, -1, size.width(),
                       size.height(), &t0, &t1))
            return w;
        w.first = std::max(0, int(std::floor(t0 * w.len)) - 1);
        w.last = std::min(w.len, int(std::ceil(t1 * w.len)) + 1);
        return w;
    }

    // The pixels of an image, reached without the image's checks for every pixel.
    struct Pixels
    {
        explicit Pixels(QImage &image)
            : bits(reinterpret_cast<QRgb *>(image.bits()))
            , row(image.bytesPerLine() / qsizetype(sizeof(QRgb)))
            , width(image.width())
            , height(image.height())
        {
        }
        void plot(int px, int py, QRgb color) const
        {
            if (px >= 0 && py >= 0 && px < width && py < height)
                bits[qsizetype(py) * row + px] = color;
        }
        QRgb *bits;
        qsizetype row;
        int width, height;
    };

    // The shaded beam is thousands of vertical strokes per redraw: they are written straight
    // into the image rows, lighting the same pixels as the general walk.
    void verticalLine(QImage &image, int px, int py, int sy, bool dotted, QRgb color)
    {
        const int height = image.height();
        if (px < 0 || px >= image.width())
            return;
        const int step = sy > 0 ? 1 : -1;
        const int len = std::abs(sy);
        const int first = std::max(0, step > 0 ? -py : py - (height - 1));
        const int last = std::min(len, step > 0 ? height - 1 - py : py);
        if (first > last)
            return;
        const qsizetype row = image.bytesPerLine() / qsizetype(sizeof(QRgb));
        QRgb *pixel
            = reinterpret_cast<QRgb *>(image.bits()) + qsizetype(py + first * step) * row + px;
        for (int i = first; i <= last; ++i, pixel += row * step) {
            if (!dotted || dotOn(i))
                *pixel = color;
        }
    }

    void rasterizeLine(QImage &image, const DisplayItem &it, QRgb color)
    {
        const int ox = it.x1, oy = it.y1, sx = it.x2 - ox, sy = it.y2 - oy;
        const Pixels pixels(image);
        if (sx == 0 && sy == 0) {
            pixels.plot(ox, oy, color);
            return;
        }
        if (sx == 0) {
            verticalLine(image, ox, oy, sy, it.dotted, color);
            return;
        }
        const Walk w = walkOf(it, image.size());
        // The minor coordinate is rounded halves to even so the same segment always lights the
        // same pixels, whatever part of it is visible.
        const bool xMajor = std::abs(sx) >= std::abs(sy);
        const int stepX = sx > 0 ? 1 : -1;
        const int stepY = sy > 0 ? 1 : (sy < 0 ? -1 : 0);
        for (int i = w.first; i <= w.last; ++i) {
            if (it.dotted && !dotOn(i))
                continue;
            if (xMajor)
                pixels.plot(ox + i * stepX, oy + int(std::nearbyint(double(sy) * i / w.len)),
                            color);
            else
                pixels.plot(ox + int(std::nearbyint(double(sx) * i / w.len)), oy + i * stepY,
                            color);
        }
    }

    void rasterizeBox(QImage &image, const DisplayItem &it, QRgb color)
    {
        const int px1 = std::max(it.x1, 0), py1 = std::max(it.y1, 0);
        const int px2 = std::min(it.x2, image.width() - 1);
        const int py2 = std::min(it.y2, image.height() - 1);
        if (px1 > px2)
            return;
        for (int y = py1; y <= py2; ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            std::fill(row + px1, row + px2 + 1, color);
        }
    }

    // Where the painter lays whole device pixels straight onto an image, a rectangle is
    // written into the image's rows: the beam's thousands of strokes would otherwise cost the
    // paint engine a call for every row of every stroke. Elsewhere the painter fills it.
    class Target
    {
    public:
        Target(QPainter &painter, const QRectF &surface)
            : p(painter)
        {
            QPaintDevice *device = p.device();
            if (!device || device->devType() != QInternal::Image || p.hasClipping())
                return;
            auto *target = static_cast<QImage *>(device);
            if (target->format() != QImage::Format_RGB32
                && target->format() != QImage::Format_ARGB32_Premultiplied)
                return;
            const QTransform t = p.combinedTransform();
            if (t.type() > QTransform::TxScale || t.m11() != t.m22() || t.m11() < 1
                || !whole(t.m11()) || !whole(t.dx()) || !whole(t.dy()))
                return;
            transform = t;
            clip = t.mapRect(surface).toRect() & target->rect();
            image = target;
        }

        void fill(const QRectF &r, QRgb color)
        {
            if (image) {
                const QRectF d = transform.mapRect(r);
                if (whole(d.left()) && whole(d.top()) && whole(d.right()) && whole(d.bottom())) {
                    fillPixels(QRect(QPoint(int(d.left()), int(d.top())),
                                     QPoint(int(d.right()) - 1, int(d.bottom()) - 1)),
                               color | 0xff000000);
                    return;
                }
            }
            p.fillRect(r, QColor::fromRgb(color));
        }

        QPainter &p;

    private:
        static bool whole(double v) { return v == std::floor(v) && std::abs(v) < 1e9; }

        void fillPixels(QRect r, QRgb color)
        {
            r &= clip;
            if (r.isEmpty())
                return;
            if (r == image->rect()) {
                image->fill(color); // the background: Qt's wide writes
                return;
            }
            const qsizetype row = image->bytesPerLine() / qsizetype(sizeof(QRgb));
            QRgb *line
                = reinterpret_cast<QRgb *>(image->bits()) + qsizetype(r.top()) * row + r.left();
            const int width = r.width();
            for (int y = r.top(); y <= r.bottom(); ++y, line += row)
                for (int x = 0; x < width; ++x)
                    line[x] = color;
        }

        QImage *image = nullptr;
        QTransform transform;
        QRect clip;
    };

    // Steps a..b of a line, as the pixels they light: whole unit squares along the main axes,
    // a one-unit stroke between the squares' edges otherwise.
    void strokeSteps(Target &to, const DisplayItem &it, const Walk &w, int a, int b, int width)
    {
        if (w.sx == 0 || w.sy == 0) {
            const int dx = w.sx > 0 ? 1 : (w.sx < 0 ? -1 : 0);
            const int dy = w.sy > 0 ? 1 : (w.sy < 0 ? -1 : 0);
            const int xa = it.x1 + dx * a, xb = it.x1 + dx * b;
            const int ya = it.y1 + dy * a, yb = it.y1 + dy * b;
            // Wider lines grow on both sides of the unit one, which stays in their middle.
            const double grow = (width - 1) / 2.0;
            to.fill(QRectF(std::min(xa, xb) - grow, std::min(ya, yb) - grow,
                           std::abs(xb - xa) + 1 + 2 * grow, std::abs(yb - ya) + 1 + 2 * grow),
                    it.color);
            return;
        }
        const auto at = [&](double t) {
            return QPointF(it.x1 + w.sx * t / w.len + 0.5, it.y1 + w.sy * t / w.len + 0.5);
        };
        const QPen pen(QColor::fromRgb(it.color), width, Qt::SolidLine, Qt::FlatCap);
        if (to.p.pen() != pen)
            to.p.setPen(pen);
        to.p.drawLine(at(a - 0.5), at(b + 0.5));
    }

    void strokeLine(Target &to, const DisplayItem &it, QSize size, int width)
    {
        const Walk w = walkOf(it, size);
        if (w.first > w.last)
            return;
        if (w.len == 0) {
            const double grow = (width - 1) / 2.0;
            to.fill(QRectF(it.x1 - grow, it.y1 - grow, width, width), it.color);
            return;
        }
        if (!it.dotted) {
            strokeSteps(to, it, w, w.first, w.last, width);
            return;
        }
        for (int run = w.first - (w.first & 3); run <= w.last; run += 4) {
            const int a = std::max(run, w.first), b = std::min(run + 1, w.last);
            if (a <= b)
                strokeSteps(to, it, w, a, b, width);
        }
    }

    // A 1:1 image of the list's size drawn without any transform gets the canvas's pixels.
    QImage *exactTarget(QPainter &p, const DisplayList &list)
    {
        QPaintDevice *device = p.device();
        if (!device || device->devType() != QInternal::Image || device->devicePixelRatioF() != 1
            || !p.combinedTransform().isIdentity())
            return nullptr;
        auto *image = static_cast<QImage *>(device);
        return image->format() == QImage::Format_RGB32 && image->size() == list.size ? image
                                                                                     : nullptr;
    }

    void paintExact(QPainter &p, QImage &image, const DisplayList &list)
    {
        image.fill(list.back | 0xff000000);
        for (const DisplayItem &it : list.items) {
            if (it.kind == DisplayItem::Text)
                drawText(p, list.texts[size_t(it.x1)], it.color);
            else
                rasterize(image, it);
        }
    }

    QRectF textBox(const DisplayText &text)
    {
        const QFontMetricsF m(text.font);
        return QRectF(text.baseline.x(), text.baseline.y() - m.ascent(),
                      m.horizontalAdvance(text.text), m.height());
    }

    // A letter and its subscript digit are two texts, the second starting where the first
    // ends: they are enlarged together, or the larger letter would cover its digit.
    bool continues(const DisplayText &previous, const DisplayText &next)
    {
        const QRectF box = textBox(previous);
        return std::abs(next.baseline.x() - box.right()) < 0.5
            && std::abs(next.baseline.y() - previous.baseline.y()) <= box.height() / 2;
    }

    struct Rule
    {
        double y, left, right;
    };

    // The horizontal solid lines: the axes, the rays along them.
    std::vector<Rule> rulesOf(const DisplayList &list)
    {
        std::vector<Rule> rules;
        for (const DisplayItem &it : list.items)
            if (it.kind == DisplayItem::Line && it.y1 == it.y2 && it.x1 != it.x2 && !it.dotted)
                rules.push_back({double(it.y1), double(std::min(it.x1, it.x2)),
                                 double(std::max(it.x1, it.x2)) + 1});
        return rules;
    }

    // The top of a run's enlarged box: around the old box's centre, or against the line the
    // label stood just under or over (the labels of points on the axis), so that the thicker
    // line does not cross the larger letters.
    double enlargedTop(const QRectF &box, double height, const std::vector<Rule> &rules,
                       int lineWidth)
    {
        constexpr double kNear = 6; // units between a line and the label beside it
        const double grow = (lineWidth - 1) / 2.0;
        bool above = false, below = false;
        for (const Rule &r : rules) {
            if (r.right <= box.left() || r.left >= box.right())
                continue;
            above = above || (r.y < box.top() && box.top() - r.y <= kNear);
            below = below || (r.y >= box.bottom() && r.y - box.bottom() < kNear);
        }
        if (above && !below)
            return box.top() + grow;
        if (below && !above)
            return box.bottom() - height - grow;
        return box.center().y() - height / 2;
    }

    // Each run of texts grows around the centre of its box, so a label stays beside its
    // point. A label that showed on the surface stays whole on it (the labels of points at
    // its edges would be cut); one that lay off it (an image far away) stays off.
    std::vector<DisplayText> enlarged(const DisplayList &list, const Style &style)
    {
        const std::vector<DisplayText> &texts = list.texts;
        const QSizeF surface(list.size);
        const double scale = style.textScale;
        const std::vector<Rule> rules = rulesOf(list);
        std::vector<DisplayText> out = texts;
        for (size_t first = 0; first < out.size();) {
            size_t end = first + 1;
            QRectF box = textBox(texts[first]);
            while (end < texts.size() && continues(texts[end - 1], texts[end]))
                box |= textBox(texts[end++]);
            const bool shown = box.intersects(QRectF(QPointF(0, 0), surface));
            const QSizeF size = box.size() * scale;
            QPointF corner(box.center().x() - size.width() / 2,
                           enlargedTop(box, size.height(), rules, style.lineWidth));
            if (shown)
                corner = QPointF(
                    std::clamp(corner.x(), 0.0, std::max(0.0, surface.width() - size.width())),
                    std::clamp(corner.y(), 0.0, std::max(0.0, surface.height() - size.height())));
            for (size_t i = first; i < end; ++i) {
                QFont &font = out[i].font;
                font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * scale))));
                out[i].baseline = corner + (texts[i].baseline - box.topLeft()) * scale;
            }
            first = end;
        }
        return out;
    }

    void paintVector(QPainter &p, const DisplayList &list, const Style &style)
    {
        const QRectF surface(QPointF(0, 0), QSizeF(list.size));
        p.setRenderHint(QPainter::Antialiasing, false);
        Target to(p, surface);
        to.fill(surface, list.back);
        p.setClipRect(surface, Qt::IntersectClip);
        std::vector<DisplayText> grown;
        if (style.textScale != 1)
            grown = enlarged(list, style);
        const std::vector<DisplayText> &texts = style.textScale != 1 ? grown : list.texts;
        for (const DisplayItem &it : list.items) {
            switch (it.kind) {
            case DisplayItem::Line:
                strokeLine(to, it, list.size, std::max(1, style.lineWidth));
                break;
            case DisplayItem::FilledBox:
                to.fill(QRectF(it.x1, it.y1, it.x2 - it.x1 + 1, it.y2 - it.y1 + 1), it.color);
                break;
            case DisplayItem::Text: {
                // At device resolution the glyphs may be smoothed; the 1:1 canvas keeps its
                // aliased screen font.
                DisplayText text = texts[size_t(it.x1)];
                text.font.setStyleStrategy(QFont::PreferDefault);
                text.font.setHintingPreference(QFont::PreferNoHinting);
                drawText(p, text, it.color);
                break;
            }
            case DisplayItem::Handle:
                break;
            }
        }
    }

} // namespace

void rasterize(QImage &image, const DisplayItem &item)
{
    const QRgb color = item.color | 0xff000000;
    if (item.kind == DisplayItem::Line)
        rasterizeLine(image, item, color);
    else if (item.kind == DisplayItem::FilledBox)
        rasterizeBox(image, item, color);
}

void drawText(QPainter &painter, const DisplayText &text, QRgb color)
{
    if (text.text.isEmpty())
        return;
    painter.setFont(text.font);
    painter.setPen(QColor::fromRgb(color));
    painter.drawText(text.baseline, text.text);
}

void paint(QPainter &painter, const DisplayList &list, const Style &style)
{
    painter.save();
    QImage *image = style.plain() ? exactTarget(painter, list) : nullptr;
    if (image)
        paintExact(painter, *image, list);
    else
        paintVector(painter, list, style);
    painter.restore();
}

QImage render(const DisplayList &list, double ratio, const Style &style)
{
    QImage image;
    render(image, list, ratio, style);
    return image;
}

void render(QImage &image, const DisplayList &list, double ratio, const Style &style)
{
    const QSize size(int(std::ceil(list.size.width() * ratio)),
                     int(std::ceil(list.size.height() * ratio)));
    // A new image of a few megabytes costs more to get from the system than to paint.
    if (image.size() != size || image.format() != QImage::Format_RGB32)
        image = QImage(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter p(&image);
    paint(p, list, style);
}

} // namespace figurepainter
