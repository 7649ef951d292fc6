#include "platform/canvas.h"

#include "platform/figurepainter.h"

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

} // namespace

Canvas::Canvas(int pixelWidth, int pixelHeight)
    : m_image(std::max(1, pixelWidth), std::max(1, pixelHeight), QImage::Format_RGB32)
{
    m_image.fill(m_back);
    m_list.size = m_image.size();
    m_list.back = m_back;
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
    m_list.size = m_image.size();
    ++m_list.generation;
}

void Canvas::cls()
{
    m_image.fill(m_back);
    m_list.clear(m_back);
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
    m_list.clear(m_back);
}

void Canvas::draw(const DisplayItem &item)
{
    m_list.items.push_back(item);
    ++m_list.generation;
    figurepainter::rasterize(m_image, item);
}

DisplayItem Canvas::itemAt(DisplayItem::Kind kind, double x1, double y1, double x2, double y2) const
{
    DisplayItem item;
    item.kind = kind;
    item.x1 = toPixel(x1 - m_left);
    item.y1 = toPixel(y1 - m_top);
    item.x2 = toPixel(x2 - m_left);
    item.y2 = toPixel(y2 - m_top);
    return item;
}

void Canvas::line(double x1, double y1, double x2, double y2, QRgb color)
{
    record(Op::Line, x1, y1, x2, y2, color);
    DisplayItem item = itemAt(DisplayItem::Line, x1, y1, x2, y2);
    item.dotted = m_style == Dot;
    item.color = color | 0xff000000;
    draw(item);
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
    DisplayItem item = itemAt(DisplayItem::FilledBox, x1, y1, x2, y2);
    if (item.x1 > item.x2)
        std::swap(item.x1, item.x2);
    if (item.y1 > item.y2)
        std::swap(item.y1, item.y2);
    item.color = color | 0xff000000;
    draw(item);
}

void Canvas::markHandle(double x1, double y1, double x2, double y2)
{
    m_list.items.push_back(itemAt(DisplayItem::Handle, x1, y1, x2, y2));
}

void Canvas::print(const QString &text, bool endLine)
{
    record(Op::Text, currentX, currentY, currentX, currentY, m_fore, text);
    const QFontMetricsF fm(m_font);
    if (!text.isEmpty()) {
        DisplayItem item;
        item.kind = DisplayItem::Text;
        item.x1 = int(m_list.texts.size());
        item.color = m_fore | 0xff000000;
        m_list.texts.push_back(
            DisplayText {QPointF(currentX - m_left, currentY - m_top + fm.ascent()), text, m_font});
        m_list.items.push_back(item);
        ++m_list.generation;
        QPainter p(&m_image);
        figurepainter::drawText(p, m_list.texts.back(), item.color);
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
