#include "platform/canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <cstdlib>

namespace {
// Device points are rounded halves to even; far-away coordinates are clipped instead of
// overflowing, so a ray to a distant image still draws its visible part.
constexpr double kFar = 1.0e6;

int toPixel(double v)
{
    if (!(v > -kFar))
        return -int(kFar);
    if (!(v < kFar))
        return int(kFar);
    return int(std::nearbyint(v));
}

// 2 pixels on, 2 off, counted from the start of each line.
bool dotOn(int step)
{
    return (step & 2) == 0;
}

// Liang-Barsky: the parameter range [t0, t1] of the segment inside the rectangle.
bool clipRange(double x1, double y1, double x2, double y2, double xmin, double ymin, double xmax,
               double ymax, double *t0out, double *t1out)
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
} // namespace

Canvas::Canvas(int pixelWidth, int pixelHeight)
    : m_image(std::max(1, pixelWidth), std::max(1, pixelHeight), QImage::Format_RGB32)
{
    m_image.fill(m_back);
    updateFont();
}

void Canvas::resize(int pixelWidth, int pixelHeight)
{
    pixelWidth = std::max(1, pixelWidth);
    pixelHeight = std::max(1, pixelHeight);
    if (pixelWidth == m_image.width() && pixelHeight == m_image.height())
        return;
    QImage next(pixelWidth, pixelHeight, QImage::Format_RGB32);
    next.fill(m_back);
    QPainter p(&next);
    p.drawImage(0, 0, m_image);
    p.end();
    m_image = next;
}

void Canvas::cls()
{
    m_image.fill(m_back);
    currentX = m_left;
    currentY = m_top;
    record(Op::Clear, 0, 0, 0, 0, m_back);
}

void Canvas::setBackColor(QRgb color)
{
    color |= 0xff000000;
    if (color == m_back)
        return;
    m_back = color;
    // A new back colour repaints the surface, as picture boxes do.
    m_image.fill(m_back);
}

void Canvas::plot(int px, int py, QRgb color)
{
    if (px < 0 || py < 0 || px >= m_image.width() || py >= m_image.height())
        return;
    reinterpret_cast<QRgb *>(m_image.scanLine(py))[px] = color;
}

void Canvas::line(double x1, double y1, double x2, double y2, QRgb color)
{
    record(Op::Line, x1, y1, x2, y2, color);
    color |= 0xff000000;
    const int ox = toPixel(x1 - m_left), oy = toPixel(y1 - m_top);
    const int sx = toPixel(x2 - m_left) - ox, sy = toPixel(y2 - m_top) - oy;
    const int len = std::max(std::abs(sx), std::abs(sy));
    if (len == 0) {
        plot(ox, oy, color);
        return;
    }
    if (sx == 0) {
        verticalLine(ox, oy, sy, color);
        return;
    }
    double t0 = 0, t1 = 1;
    if (!clipRange(ox, oy, double(ox) + sx, double(oy) + sy, -1, -1, m_image.width(),
                   m_image.height(), &t0, &t1))
        return;
    // Only the visible steps are walked; the minor coordinate is rounded halves to even so
    // the same segment always lights the same pixels, whatever part of it is visible.
    const int first = std::max(0, int(std::floor(t0 * len)) - 1);
    const int last = std::min(len, int(std::ceil(t1 * len)) + 1);
    const bool xMajor = std::abs(sx) >= std::abs(sy);
    const int stepX = sx > 0 ? 1 : (sx < 0 ? -1 : 0);
    const int stepY = sy > 0 ? 1 : (sy < 0 ? -1 : 0);
    const bool dotted = m_style == Dot;
    for (int i = first; i <= last; ++i) {
        if (dotted && !dotOn(i))
            continue;
        if (xMajor)
            plot(ox + i * stepX, oy + int(std::nearbyint(double(sy) * i / len)), color);
        else
            plot(ox + int(std::nearbyint(double(sx) * i / len)), oy + i * stepY, color);
    }
}

// The shaded beam is thousands of vertical strokes per redraw: they are written straight into
// the image rows, lighting the same pixels as the general walk above.
void Canvas::verticalLine(int px, int py, int sy, QRgb color)
{
    const int height = m_image.height();
    if (px < 0 || px >= m_image.width())
        return;
    const int step = sy > 0 ? 1 : -1;
    const int len = std::abs(sy);
    // Steps i whose row py + i * step lies on the image.
    const int first = std::max(0, step > 0 ? -py : py - (height - 1));
    const int last = std::min(len, step > 0 ? height - 1 - py : py);
    if (first > last)
        return;
    const qsizetype row = m_image.bytesPerLine() / qsizetype(sizeof(QRgb));
    QRgb *pixel
        = reinterpret_cast<QRgb *>(m_image.bits()) + qsizetype(py + first * step) * row + px;
    const bool dotted = m_style == Dot;
    for (int i = first; i <= last; ++i, pixel += row * step) {
        if (!dotted || dotOn(i))
            *pixel = color;
    }
}

void Canvas::box(double x1, double y1, double x2, double y2, QRgb color, bool filled)
{
    if (!filled) {
        const bool rec = m_recording;
        record(Op::Box, x1, y1, x2, y2, color);
        m_recording = false;
        line(x1, y1, x2, y1, color);
        line(x2, y1, x2, y2, color);
        line(x2, y2, x1, y2, color);
        line(x1, y2, x1, y1, color);
        m_recording = rec;
        return;
    }
    record(Op::FilledBox, x1, y1, x2, y2, color);
    int px1 = toPixel(x1 - m_left), py1 = toPixel(y1 - m_top);
    int px2 = toPixel(x2 - m_left), py2 = toPixel(y2 - m_top);
    if (px1 > px2)
        std::swap(px1, px2);
    if (py1 > py2)
        std::swap(py1, py2);
    px1 = std::max(px1, 0);
    py1 = std::max(py1, 0);
    px2 = std::min(px2, m_image.width() - 1);
    py2 = std::min(py2, m_image.height() - 1);
    color |= 0xff000000;
    for (int y = py1; y <= py2; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        for (int x = px1; x <= px2; ++x)
            row[x] = color;
    }
}

void Canvas::print(const QString &text, bool endLine)
{
    record(Op::Text, currentX, currentY, currentX, currentY, m_fore, text);
    const QFontMetricsF fm(m_font);
    if (!text.isEmpty()) {
        QPainter p(&m_image);
        p.setFont(m_font);
        p.setPen(QColor::fromRgb(m_fore));
        p.drawText(QPointF(currentX - m_left, currentY - m_top + fm.ascent()), text);
    }
    if (endLine) {
        currentX = m_left;
        currentY += fm.height();
    } else {
        currentX += fm.horizontalAdvance(text);
    }
}

void Canvas::setFontName(const QString &name)
{
    m_fontName = name;
    updateFont();
}

void Canvas::setFontSize(double points)
{
    m_fontSize = points;
    updateFont();
}

void Canvas::setFontBold(bool bold)
{
    m_bold = bold;
    updateFont();
}

void Canvas::updateFont()
{
    m_font = QFont(m_fontName);
    // Screen fonts at 96 dots per inch, one pixel per canvas unit.
    m_font.setPixelSize(std::max(1, int(std::nearbyint(m_fontSize * 96.0 / 72.0))));
    m_font.setBold(m_bold);
    m_font.setStyleStrategy(QFont::NoAntialias);
    // Whole-pixel glyph advances, so painted captions keep even letter spacing.
    m_font.setHintingPreference(QFont::PreferFullHinting);
}

double Canvas::textWidth(const QString &text) const
{
    return QFontMetricsF(m_font).horizontalAdvance(text);
}

double Canvas::textHeight(const QString &) const
{
    return QFontMetricsF(m_font).height();
}

QRgb Canvas::pixel(double x, double y) const
{
    const int px = toPixel(x - m_left), py = toPixel(y - m_top);
    if (px < 0 || py < 0 || px >= m_image.width() || py >= m_image.height())
        return m_back;
    return m_image.pixel(px, py) & 0xffffff;
}

void Canvas::setRecording(bool on)
{
    m_recording = on;
    m_ops.clear();
}

void Canvas::record(Op::Kind kind, double x1, double y1, double x2, double y2, QRgb color,
                    const QString &text)
{
    if (!m_recording)
        return;
    m_ops.push_back(Op {kind, x1, y1, x2, y2, color & 0xffffff, m_style, text});
}
