#include "richtext/metafile.h"

#include "platform/codepage.h"
#include "richtext/rtfcodepages.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QVector>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace metafile {

namespace {

    // Hostile files: whatever they claim, the tables and the work stay this small.
    constexpr int kMaxObjects = 16384;
    constexpr int kMaxSavedStates = 1024;
    constexpr qint64 kMaxDibPixels = 16 * 1024 * 1024;
    constexpr qint64 kMaxRecords = 1000000;
    // Pixels painted, in images' worth: a file of thousands of full-page fills stops there.
    constexpr qint64 kPaintBudgetImages = 32;
    constexpr qint64 kMaxDrawings = 200000;
    constexpr int kMaxClipElements = 2000;
    constexpr qint64 kMaxRegionRects = 1000;
    // Coordinates past this, in pixels of the image, are not drawn (the rasteriser's range).
    constexpr qreal kFarAway = 1e6;

    // Bounds-checked little-endian reads: a read past the end gives 0 and marks the view bad,
    // which the player takes for a damaged file once the record is done.
    class View
    {
    public:
        View() = default;
        View(const uchar *p, qint64 n)
            : m_p(p)
            , m_n(n)
        {
        }
        qint64 size() const { return m_n; }
        bool has(qint64 at, qint64 len) const
        {
            return at >= 0 && len >= 0 && at <= m_n && len <= m_n - at;
        }
        // Marks the view bad unless [at, at + len) is inside.
        bool need(qint64 at, qint64 len) const
        {
            if (has(at, len))
                return true;
            m_bad = true;
            return false;
        }
        bool bad() const { return m_bad; }
        void setBad() const { m_bad = true; }
        quint8 u8(qint64 at) const { return need(at, 1) ? m_p[at] : 0; }
        quint16 u16(qint64 at) const
        {
            return need(at, 2) ? quint16(m_p[at] | (m_p[at + 1] << 8)) : 0;
        }
        qint16 i16(qint64 at) const { return qint16(u16(at)); }
        quint32 u32(qint64 at) const
        {
            if (!need(at, 4))
                return 0;
            return quint32(m_p[at]) | quint32(m_p[at + 1]) << 8 | quint32(m_p[at + 2]) << 16
                | quint32(m_p[at + 3]) << 24;
        }
        qint32 i32(qint64 at) const { return qint32(u32(at)); }
        float f32(qint64 at) const
        {
            const quint32 bits = u32(at);
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return f;
        }
        View sub(qint64 at, qint64 len) const
        {
            if (!need(at, len))
                return View();
            return View(m_p + at, len);
        }
        const uchar *data(qint64 at) const { return m_p + at; }

    private:
        const uchar *m_p = nullptr;
        qint64 m_n = 0;
        mutable bool m_bad = false;
    };

    QColor colorRef(quint32 c)
    {
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }

    // Pen, brush and font as the file describes them: sizes in logical units.
    struct Pen
    {
        quint32 style = 0; // PS_ style, end cap and join bits
        qreal width = 0; // 0: one device pixel
        QColor color = Qt::black;
    };

    struct Brush
    {
        quint32 style = 0; // BS_SOLID, BS_NULL, BS_HATCHED, patterns
        QColor color = Qt::white;
        quint32 hatch = 0;
    };

    struct Font
    {
        qreal height = 0; // < 0: the characters' height; > 0: the cell's; 0: the default
        qreal width = 0;
        int escapement = 0; // tenths of a degree
        int weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        int charset = 0;
        QString face;
    };

    struct Object
    {
        enum Type { Empty, PenObject, BrushObject, FontObject, Other } type = Empty;
        Pen pen;
        Brush brush;
        Font font;
    };

    Object penObject(quint32 style, qreal width, quint32 color)
    {
        Object o;
        o.type = Object::PenObject;
        o.pen.style = style;
        o.pen.width = width;
        o.pen.color = colorRef(color);
        return o;
    }

    Object brushObject(quint32 style, quint32 color, quint32 hatch)
    {
        Object o;
        o.type = Object::BrushObject;
        o.brush.style = style;
        o.brush.color = colorRef(color);
        o.brush.hatch = hatch;
        return o;
    }

    // Pattern brushes paint as a plain pattern; palettes and regions only hold their slot.
    Object patternOrSlot(bool brush)
    {
        Object o;
        o.type = brush ? Object::BrushObject : Object::Other;
        o.brush.style = 3;
        return o;
    }

    // Both formats lay a font's italic, underline, strike-out and charset bytes in a row.
    Object fontObject(qreal height, qreal width, int escapement, int weight, const View &r,
                      qint64 flagsAt, const QString &face)
    {
        Object o;
        o.type = Object::FontObject;
        Font &f = o.font;
        f.height = height;
        f.width = width;
        f.escapement = escapement;
        f.weight = weight;
        f.italic = r.u8(flagsAt);
        f.underline = r.u8(flagsAt + 1);
        f.strikeOut = r.u8(flagsAt + 2);
        f.charset = r.u8(flagsAt + 3);
        f.face = face;
        return o;
    }

    enum MapMode {
        Text = 1,
        LoMetric,
        HiMetric,
        LoEnglish,
        HiEnglish,
        Twips,
        Isotropic,
        Anisotropic
    };

    struct Dc
    {
        int mapMode = Text;
        QPointF windowOrg, viewportOrg;
        QSizeF windowExt {1, 1}, viewportExt {1, 1};
        QTransform world;
        Pen pen;
        Brush brush;
        Font font;
        QColor textColor = Qt::black;
        QColor bkColor = Qt::white;
        bool opaque = true;
        quint32 textAlign = 0;
        bool winding = false;
        QPointF position; // logical
        bool clipped = false;
        QPainterPath clip; // image pixels
    };

    enum TextAlign : quint32 {
        UpdateCp = 1,
        Right = 2,
        Center = 6,
        Bottom = 8,
        Baseline = 24,
    };

    enum TextOption : quint32 { Opaque = 2, Clipped = 4, GlyphIndex = 0x10, Pdy = 0x2000 };

    bool finite(const QTransform &t)
    {
        for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
            if (!std::isfinite(v) || std::abs(v) > 1e12)
                return false;
        return true;
    }

    // A DIB (header, colours, then pixels) as an image; null when of a kind not read, `bad` when
    // its pixels do not fit in what the record gives.
    QImage decodeDib(const View &info, const View *separateBits, bool *bad)
    {
        *bad = false;
        const quint32 headerSize = info.u32(0);
        qint64 width = 0, height = 0;
        int bpp = 0;
        quint32 compression = 0, colorsUsed = 0;
        int paletteEntrySize = 4;
        if (headerSize == 12) {
            width = info.u16(4);
            height = info.i16(6);
            bpp = info.u16(10);
            paletteEntrySize = 3;
        } else if (headerSize >= 40 && headerSize <= 1024) {
            width = info.i32(4);
            height = info.i32(8);
            bpp = info.u16(14);
            compression = info.u32(16);
            colorsUsed = info.u32(32);
        } else {
            *bad = true;
            return QImage();
        }
        if (info.bad()) {
            *bad = true;
            return QImage();
        }
        const bool topDown = height < 0;
        height = std::abs(height);
        if (width <= 0 || height <= 0 || width > 32768 || height > 32768
            || width * height > kMaxDibPixels)
            return QImage();
        quint32 masks[3] = {0, 0, 0};
        qint64 at = headerSize;
        if (compression == 3 && (bpp == 16 || bpp == 32)) { // BI_BITFIELDS
            for (int i = 0; i < 3; ++i)
                masks[i] = info.u32(headerSize == 40 ? at + 4 * i : 40 + 4 * i);
            if (headerSize == 40)
                at += 12;
        } else if (compression != 0) {
            return QImage(); // RLE, JPEG and PNG in a DIB: not read
        } else if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        }
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
            return QImage();
        QVector<QRgb> palette;
        if (bpp <= 8) {
            const qint64 count
                = colorsUsed == 0 || colorsUsed > (1u << bpp) ? (1 << bpp) : colorsUsed;
            if (!info.need(at, count * paletteEntrySize)) {
                *bad = true;
                return QImage();
            }
            for (qint64 i = 0; i < count; ++i) {
                const qint64 p = at + i * paletteEntrySize;
                palette.append(qRgb(info.u8(p + 2), info.u8(p + 1), info.u8(p)));
            }
            at += count * paletteEntrySize;
            palette.resize(1 << bpp);
        } else if (colorsUsed > 0 && colorsUsed <= 65536) {
            at += qint64(colorsUsed) * paletteEntrySize; // a palette hint for true colour
        }
        const qint64 stride = (width * bpp + 31) / 32 * 4;
        const View bits = separateBits
            ? *separateBits
            : info.sub(std::min(at, info.size()), info.size() - std::min(at, info.size()));
        if (!bits.has(0, stride * height)) {
            *bad = true;
            return QImage();
        }
        QImage image(int(width), int(height), QImage::Format_RGB32);
        if (image.isNull())
            return QImage();
        auto channel = [](quint32 v, quint32 mask) {
            if (mask == 0)
                return 0;
            int shift = 0;
            while (!(mask & 1)) {
                mask >>= 1;
                ++shift;
            }
            const quint32 c = (v >> shift) & mask;
            return int(quint64(c) * 255 / mask);
        };
        for (qint64 y = 0; y < height; ++y) {
            const uchar *row = bits.data((topDown ? y : height - 1 - y) * stride);
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
            for (qint64 x = 0; x < width; ++x) {
                switch (bpp) {
                case 1:
                    out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1];
                    break;
                case 4:
                    out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 15];
                    break;
                case 8:
                    out[x] = palette[row[x]];
                    break;
                case 16: {
                    const quint32 v = row[2 * x] | row[2 * x + 1] << 8;
                    out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                    break;
                }
                case 24:
                    out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                    break;
                default: {
                    const uchar *p = row + 4 * x;
                    const quint32 v = quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16
                        | quint32(p[3]) << 24;
                    out[x] = compression == 3
                        ? qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]))
                        : qRgb(p[2], p[1], p[0]);
                }
                }
            }
        }
        return image;
    }

    // Code page of a font's text bytes; 28591 (each byte its own character) for symbol fonts
    // other than Symbol, whose glyphs sit on those bytes.
    int codePageOfFont(const Font &f)
    {
        if (f.face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
            return rtf::kSymbolCodePage;
        switch (f.charset) {
        case 2: // other symbol fonts' bytes are their own glyphs
            return 28591;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        default:
            break;
        }
        if (const int named = rtf::charsetOfFontName(f.face))
            return rtf::codePageOfCharset(named, 1252);
        return rtf::codePageOfCharset(f.charset, 1252);
    }

    void scaleExtent(QSizeF *ext, qint64 xNum, qint64 xDenom, qint64 yNum, qint64 yDenom)
    {
        if (xDenom != 0 && yDenom != 0)
            *ext = QSizeF(ext->width() * xNum / xDenom, ext->height() * yNum / yDenom);
    }

    QPainterPath rectPath(const QRectF &r)
    {
        QPainterPath p;
        p.addRect(r.normalized());
        return p;
    }

    QPainterPath ellipsePath(const QRectF &r)
    {
        QPainterPath p;
        p.addEllipse(r.normalized());
        return p;
    }

    QPainterPath roundRectPath(const QRectF &r, qreal w, qreal h)
    {
        QPainterPath p;
        p.addRoundedRect(r.normalized(), std::abs(w) / 2, std::abs(h) / 2);
        return p;
    }

    // Arc, chord or pie of the ellipse in `r`, counter-clockwise from the radial through `start`
    // to the one through `end`.
    QPainterPath arcPath(const QRectF &box, QPointF start, QPointF end, int kind)
    {
        const QRectF r = box.normalized();
        const QPointF c = r.center();
        const qreal a0 = qRadiansToDegrees(std::atan2(c.y() - start.y(), start.x() - c.x()));
        const qreal a1 = qRadiansToDegrees(std::atan2(c.y() - end.y(), end.x() - c.x()));
        qreal sweep = a1 - a0;
        while (sweep <= 0)
            sweep += 360;
        QPainterPath p;
        if (kind == 2)
            p.moveTo(c);
        else
            p.arcMoveTo(r, a0);
        p.arcTo(r, a0, sweep);
        if (kind != 0)
            p.closeSubpath();
        return p;
    }

    // Plays the records of either kind: the device context, its saved copies, the object table,
    // and the drawing through QPainter.
    class Player
    {
    public:
        Player(QImage *image, qreal hairline)
            : m_image(image)
            , m_hairline(hairline)
        {
            m_budget = kPaintBudgetImages * image->width() * image->height();
            m_painter.begin(image);
            m_painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                                     | QPainter::SmoothPixmapTransform);
        }

        bool exhausted() const { return m_budget < 0 || m_drawings > kMaxDrawings; }
        // Device units to image pixels: the picture's frame, in device units, fills the image.
        void setFrame(const QRectF &frame)
        {
            m_toImage = QTransform::fromScale(m_image->width() / frame.width(),
                                              m_image->height() / frame.height());
            m_toImage.translate(-frame.left(), -frame.top());
        }
        void setDevicePixelsPerMm(QSizeF s) { m_devicePerMm = s; }
        Dc &dc() { return m_dc; }

        void resizeObjects(int n)
        {
            m_objects.assign(size_t(std::clamp(n, 0, kMaxObjects)), Object());
        }
        // Windows metafiles: a new object takes the lowest free slot; false when none is.
        bool addObject(const Object &o)
        {
            for (Object &slot : m_objects) {
                if (slot.type == Object::Empty) {
                    slot = o;
                    return true;
                }
            }
            return false;
        }
        // Enhanced metafiles name the slot.
        bool setObject(quint32 index, const Object &o)
        {
            if (index == 0 || index >= m_objects.size())
                return false;
            m_objects[index] = o;
            return true;
        }
        bool selectObject(quint32 index)
        {
            if (index >= m_objects.size())
                return false;
            select(m_objects[index]);
            return true;
        }
        void select(const Object &o)
        {
            switch (o.type) {
            case Object::PenObject:
                m_dc.pen = o.pen;
                break;
            case Object::BrushObject:
                m_dc.brush = o.brush;
                break;
            case Object::FontObject:
                m_dc.font = o.font;
                break;
            default:
                break;
            }
        }
        bool deleteObject(quint32 index)
        {
            if (index >= m_objects.size())
                return false;
            m_objects[index] = Object();
            return true;
        }

        void save()
        {
            if (m_saved.size() < kMaxSavedStates)
                m_saved.push_back(m_dc);
        }
        void restore(int which)
        {
            // Negative: relative to the last saved; positive: the n-th saved from the first.
            const qint64 n = qint64(m_saved.size());
            const qint64 index = which < 0 ? n + which : qint64(which) - 1;
            if (index < 0 || index >= n)
                return;
            m_dc = m_saved[size_t(index)];
            m_saved.resize(size_t(index));
        }

        QTransform page() const
        {
            qreal sx = 1, sy = 1;
            const Dc &d = m_dc;
            switch (d.mapMode) {
            case Isotropic:
            case Anisotropic:
                if (d.windowExt.width() != 0 && d.windowExt.height() != 0) {
                    sx = d.viewportExt.width() / d.windowExt.width();
                    sy = d.viewportExt.height() / d.windowExt.height();
                }
                if (d.mapMode == Isotropic) {
                    const qreal s = std::min(std::abs(sx), std::abs(sy));
                    sx = std::copysign(s, sx);
                    sy = std::copysign(s, sy);
                }
                break;
            case LoMetric:
            case HiMetric:
            case LoEnglish:
            case HiEnglish:
            case Twips: {
                static const qreal mm[] = {0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
                const qreal unit = mm[d.mapMode - LoMetric];
                sx = unit * m_devicePerMm.width();
                sy = -unit * m_devicePerMm.height();
                break;
            }
            default:
                break;
            }
            return QTransform(sx, 0, 0, sy, d.viewportOrg.x() - d.windowOrg.x() * sx,
                              d.viewportOrg.y() - d.windowOrg.y() * sy);
        }
        QTransform full() const { return m_dc.world * page() * m_toImage; }
        QTransform deviceToImage() const { return m_toImage; }

        void lineTo(QPointF to, bool continues)
        {
            QPainterPath p(m_dc.position);
            p.lineTo(to);
            m_dc.position = to;
            draw(p, false, true, continues);
        }
        // kind: 0 an arc, 1 a chord, 2 a pie
        void arc(int kind, const QRectF &box, QPointF start, QPointF end)
        {
            draw(arcPath(box, start, end, kind), kind != 0, true);
        }

        // Logical path: drawn with the pen and the brush, or added to the path being built.
        void draw(const QPainterPath &logical, bool fill, bool stroke, bool continues = false)
        {
            const QTransform t = full();
            if (!finite(t))
                return;
            const QPainterPath p = t.map(logical);
            if (m_inPath) {
                if (continues && m_path.elementCount() > 0)
                    m_path.connectPath(p);
                else
                    m_path.addPath(p);
                return;
            }
            paint(p, fill, stroke);
        }

        // Image path, as GDI draws it: inside filled, then outlined.
        void paint(QPainterPath p, bool fill, bool stroke)
        {
            if (!charge(p.controlPointRect()))
                return;
            p.setFillRule(m_dc.winding ? Qt::WindingFill : Qt::OddEvenFill);
            applyClip();
            if (fill && m_dc.brush.style != 1) {
                if (m_dc.brush.style == 2 && m_dc.opaque)
                    m_painter.fillPath(p, m_dc.bkColor);
                m_painter.fillPath(p, qbrush());
            }
            if (stroke && (m_dc.pen.style & 0xF) != 5)
                m_painter.strokePath(p, qpen(p.controlPointRect()));
        }

        void fillRect(const QPainterPath &logical, const QBrush &brush)
        {
            const QTransform t = full();
            if (!finite(t))
                return;
            const QPainterPath p = t.map(logical);
            if (!charge(p.controlPointRect()))
                return;
            applyClip();
            m_painter.fillPath(p, brush);
        }

        void clipTo(const QPainterPath &image, bool intersect)
        {
            if (intersect && m_dc.clipped)
                m_dc.clip = m_dc.clip.intersected(image);
            else
                m_dc.clip = image;
            m_dc.clipped = true;
            limitClip();
        }
        // Regions cut again and again would cost more at each cut: past a size, their box.
        void limitClip()
        {
            if (m_dc.clip.elementCount() > kMaxClipElements) {
                const QRectF box = m_dc.clip.boundingRect();
                m_dc.clip = QPainterPath();
                m_dc.clip.addRect(box);
            }
        }
        void clipToLogical(const QRectF &r)
        {
            const QTransform t = full();
            if (!finite(t))
                return;
            QPainterPath p;
            p.addRect(r.normalized());
            clipTo(t.map(p), true);
        }
        void excludeLogical(const QRectF &r)
        {
            const QTransform t = full();
            if (!finite(t))
                return;
            QPainterPath p;
            p.addRect(r.normalized());
            QPainterPath all;
            all.addRect(m_dc.clipped ? m_dc.clip.boundingRect() : QRectF(m_image->rect()));
            clipTo(all.subtracted(t.map(p)), true);
        }
        void resetClip()
        {
            m_dc.clipped = false;
            m_dc.clip = QPainterPath();
        }

        void beginPath()
        {
            m_inPath = true;
            m_path = QPainterPath();
        }
        void endPath() { m_inPath = false; }
        void closeFigure()
        {
            if (m_inPath)
                m_path.closeSubpath();
        }
        void finishPath(bool fill, bool stroke)
        {
            m_inPath = false;
            paint(m_path, fill, stroke);
            m_path = QPainterPath();
        }
        void clipToPath(quint32 mode)
        {
            m_inPath = false;
            if (mode == 1 || !m_dc.clipped)
                clipTo(m_path, mode == 1);
            else if (mode == 2)
                m_dc.clip = m_dc.clip.united(m_path);
            else if (mode == 4)
                m_dc.clip = m_dc.clip.subtracted(m_path);
            else
                clipTo(m_path, false);
            m_path = QPainterPath();
        }
        bool inPath() const { return m_inPath; }

        // Text at a logical reference point, or at the current position (TA_UPDATECP); `dx`: the
        // logical advance of each character, empty to let the font space them.
        void text(QPointF ref, const QString &s, const QVector<qreal> &dx, quint32 options,
                  const QRectF &rect)
        {
            const QTransform t = full();
            if (!finite(t) || m_inPath)
                return;
            const Dc &d = m_dc;
            const bool updateCp = d.textAlign & UpdateCp;
            if (updateCp)
                ref = d.position;
            if ((options & Opaque) && rect.isValid()) {
                QPainterPath r;
                r.addRect(rect.normalized());
                fillRect(r, d.bkColor);
            }
            // Another symbol font's bytes are its own glyphs: without the font, letters would
            // stand in for them.
            if (d.font.charset == 2 && codePageOfFont(d.font) != rtf::kSymbolCodePage
                && !QFontDatabase::hasFamily(d.font.face))
                return;
            const QPointF origin = t.map(ref);
            const QLineF xAxis(t.map(QPointF(0, 0)), t.map(QPointF(1, 0)));
            const QLineF yAxis(t.map(QPointF(0, 0)), t.map(QPointF(0, 1)));
            const qreal sx = xAxis.length(), sy = yAxis.length();
            if (sx <= 0 || sy <= 0)
                return;
            qreal logicalHeight = std::abs(d.font.height);
            if (logicalHeight == 0)
                logicalHeight = 12 / sy; // the default font: about 12 pixels of the image
            else if (d.font.height > 0)
                logicalHeight /= 1.15; // the cell holds the internal leading too
            const qreal pixels = logicalHeight * sy;
            const qreal diagonal = std::hypot(m_image->width(), m_image->height());
            if (pixels < 0.5 || pixels > 4 * diagonal || s.isEmpty())
                return;
            QFont font = qfont(d.font);
            font.setPixelSize(std::max(1, int(std::lround(pixels))));
            const QFontMetricsF fm(font, m_image);
            // Glyphs widened as the picture is (a picture shown wider than high), or to the
            // font's own width where it gives one.
            qreal squeeze = sx / sy;
            if (d.font.width != 0 && fm.averageCharWidth() > 0)
                squeeze = std::abs(d.font.width) * sx / fm.averageCharWidth();
            squeeze = std::clamp(squeeze, 0.05, 20.0);
            // Advances along the baseline, in pixels of the font before it is widened.
            QVector<qreal> advances;
            qreal width = 0;
            if (!dx.isEmpty()) {
                for (qreal a : dx) {
                    advances.append(a * sx / squeeze);
                    width += a * sx / squeeze;
                }
            } else {
                width = fm.horizontalAdvance(s);
            }
            qreal x = 0, y = 0;
            if ((d.textAlign & Center) == Center)
                x = -width / 2;
            else if (d.textAlign & Right)
                x = -width;
            if ((d.textAlign & Baseline) == Baseline)
                y = 0;
            else if (d.textAlign & Bottom)
                y = -fm.descent();
            else
                y = fm.ascent();
            if (!charge(QRectF(origin.x() - width * squeeze, origin.y() - fm.height(),
                               2 * width * squeeze, 2 * fm.height())))
                return;
            applyClip();
            m_painter.save();
            if ((options & Clipped) && rect.isValid()) {
                QPainterPath r;
                r.addRect(rect.normalized());
                m_painter.setClipPath(t.map(r), m_dc.clipped ? Qt::IntersectClip : Qt::ReplaceClip);
            }
            m_painter.translate(origin);
            // The baseline turns with the logical x axis (a turned world transform); a mirrored
            // axis leaves the glyphs upright.
            qreal angle = d.font.escapement / 10.0;
            if (t.determinant() > 0)
                angle += xAxis.angle();
            else if (xAxis.dx() < 0)
                angle += 180;
            m_painter.rotate(-angle);
            m_painter.scale(squeeze, 1);
            m_painter.setFont(font);
            if (d.opaque && !(options & Opaque)) {
                m_painter.fillRect(QRectF(x, y - fm.ascent(), width, fm.ascent() + fm.descent()),
                                   d.bkColor);
            }
            m_painter.setPen(d.textColor);
            if (advances.isEmpty()) {
                m_painter.drawText(QPointF(x, y), s);
            } else {
                qreal at = x;
                for (qsizetype i = 0; i < s.size(); ++i) {
                    const bool pair = s.at(i).isHighSurrogate() && i + 1 < s.size();
                    m_painter.drawText(QPointF(at, y), s.mid(i, pair ? 2 : 1));
                    at += i < advances.size() ? advances[i] : fm.horizontalAdvance(s.at(i));
                    if (pair)
                        ++i;
                }
            }
            m_painter.restore();
            if (updateCp) {
                const qreal advance = (d.textAlign & Center) == Center ? 0
                    : (d.textAlign & Right)                            ? -width * squeeze
                                                                       : width * squeeze;
                const qreal radians = qDegreesToRadians(angle);
                bool invertible = false;
                const QTransform back = t.inverted(&invertible);
                if (invertible)
                    m_dc.position = back.map(
                        origin
                        + QPointF(advance * std::cos(radians), -advance * std::sin(radians)));
            }
        }

        // A bitmap stretched from its `source` rectangle (top-down pixels) onto a logical one.
        void bitmap(const QRectF &dest, const QImage &image, QRectF source, quint32 rop)
        {
            const QTransform t = full();
            if (!finite(t) || image.isNull() || source.width() == 0 || source.height() == 0)
                return;
            QPainterPath box;
            box.addRect(dest.normalized());
            if (!charge(t.map(box).controlPointRect()))
                return;
            applyClip();
            m_painter.save();
            QTransform placed = QTransform::fromTranslate(dest.x(), dest.y());
            placed.scale(dest.width() / source.width(), dest.height() / source.height());
            placed.translate(-source.x(), -source.y());
            m_painter.setTransform(placed * t);
            // Bitmaps made larger keep their pixels sharp, as GDI stretches them; smaller ones
            // are smoothed.
            const QRectF shown = (placed * t).mapRect(source);
            m_painter.setRenderHint(QPainter::SmoothPixmapTransform,
                                    shown.width() < source.width()
                                        || shown.height() < source.height());
            // Masks drawn with AND and OR: their white or black parts leave the picture as is.
            if (rop == 0x008800C6)
                m_painter.setCompositionMode(QPainter::CompositionMode_Multiply);
            else if (rop == 0x00EE0086)
                m_painter.setCompositionMode(QPainter::CompositionMode_Lighten);
            m_painter.drawImage(source, image, source);
            m_painter.restore();
        }

        // Pattern-only blits: a rectangle of the brush, black or white.
        void patBlt(const QRectF &dest, quint32 rop)
        {
            QPainterPath r;
            r.addRect(dest.normalized());
            if (rop == 0x00000042)
                fillRect(r, Qt::black);
            else if (rop == 0x00FF0062)
                fillRect(r, Qt::white);
            else if (rop == 0x00F00021 && m_dc.brush.style != 1)
                fillRect(r, qbrush());
        }

        void end() { m_painter.end(); }

    private:
        // Takes a drawing's area from the budget; false when it is too far out to draw.
        bool charge(const QRectF &bounds)
        {
            if (!std::isfinite(bounds.left()) || !std::isfinite(bounds.right())
                || !std::isfinite(bounds.top()) || !std::isfinite(bounds.bottom())
                || std::abs(bounds.left()) > kFarAway || std::abs(bounds.right()) > kFarAway
                || std::abs(bounds.top()) > kFarAway || std::abs(bounds.bottom()) > kFarAway)
                return false;
            const QRectF seen = bounds.adjusted(-2, -2, 2, 2).intersected(QRectF(m_image->rect()));
            m_budget -= qint64(seen.width() * seen.height()) + 1;
            return m_budget >= 0 && ++m_drawings <= kMaxDrawings;
        }

        void applyClip()
        {
            if (m_dc.clipped)
                m_painter.setClipPath(m_dc.clip);
            else
                m_painter.setClipping(false);
        }

        QPen qpen(const QRectF &bounds) const
        {
            const Pen &p = m_dc.pen;
            const QTransform t = full();
            const qreal scale = std::sqrt(std::abs(t.determinant()));
            const qreal diagonal = std::hypot(m_image->width(), m_image->height());
            const qreal width = std::min(std::max(p.width * scale, m_hairline), 2 * diagonal);
            QPen pen(p.color, width);
            // Dashes over a line far longer than the picture would be counted by the million.
            const bool huge = bounds.width() + bounds.height() > 8 * diagonal;
            static const Qt::PenStyle dashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                  Qt::DashDotLine, Qt::DashDotDotLine};
            const quint32 dash = p.style & 0xF;
            if (dash >= 1 && dash <= 4)
                pen.setStyle(huge ? Qt::SolidLine : dashes[dash]);
            static const Qt::PenCapStyle caps[] = {Qt::RoundCap, Qt::SquareCap, Qt::FlatCap};
            const quint32 cap = (p.style >> 8) & 0xF;
            pen.setCapStyle(cap < 3 ? caps[cap] : Qt::RoundCap);
            static const Qt::PenJoinStyle joins[] = {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin};
            const quint32 join = (p.style >> 12) & 0xF;
            pen.setJoinStyle(join < 3 ? joins[join] : Qt::RoundJoin);
            return pen;
        }

        QBrush qbrush() const
        {
            const Brush &b = m_dc.brush;
            switch (b.style) {
            case 0:
                return b.color;
            case 2: {
                static const Qt::BrushStyle hatches[]
                    = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                       Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
                return QBrush(b.color, b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
            }
            default: // bitmap patterns: a mid grey stands for them
                return QBrush(Qt::gray, Qt::Dense4Pattern);
            }
        }

        static QFont qfont(const Font &f)
        {
            QFont font;
            const bool symbol = f.face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
            // Symbol text is read as Unicode Greek and signs: a serif font with them draws it.
            QStringList families;
            if (!symbol && !f.face.isEmpty())
                families << f.face;
            families << QStringLiteral("Times New Roman") << QStringLiteral("serif");
            font.setFamilies(families);
            font.setStyleHint(QFont::Serif);
            font.setWeight(QFont::Weight(std::clamp((f.weight <= 0 ? 400 : f.weight), 1, 1000)));
            font.setItalic(f.italic);
            font.setUnderline(f.underline);
            font.setStrikeOut(f.strikeOut);
            font.setHintingPreference(QFont::PreferNoHinting);
            return font;
        }

        QImage *m_image;
        QPainter m_painter;
        qreal m_hairline;
        qint64 m_budget = 0;
        qint64 m_drawings = 0;
        QTransform m_toImage;
        QSizeF m_devicePerMm {96 / 25.4, 96 / 25.4};
        Dc m_dc;
        std::vector<Dc> m_saved;
        std::vector<Object> m_objects;
        bool m_inPath = false;
        QPainterPath m_path; // image pixels
    };

    // Text bytes in the font's code page, and how many bytes each character took.
    QString decodeBytes(const View &v, qint64 at, qint64 count, const Font &font,
                        QVector<int> *bytesPerChar)
    {
        QString s;
        if (!v.need(at, count))
            return s;
        const int cp = codePageOfFont(font);
        const bool doubleByte = cp == 932 || cp == 936 || cp == 949 || cp == 950;
        for (qint64 i = 0; i < count; ++i) {
            const uchar b = v.u8(at + i);
            if (doubleByte && b >= 0x81 && i + 1 < count) {
                const char pair[2] = {char(b), char(v.u8(at + i + 1))};
                const QString c = codepage::fromDoubleByte(cp, QByteArrayView(pair, 2));
                if (!c.isEmpty()) {
                    s += c;
                    bytesPerChar->append(2);
                    ++i;
                    continue;
                }
            }
            if (cp == 28591)
                s += QChar(char16_t(b));
            else if (doubleByte)
                s += QChar(char16_t(b < 0x80 ? b : 0xFFFD));
            else
                s += QChar(rtf::charOfByte(cp, b));
            bytesPerChar->append(1);
        }
        return s;
    }

    // An extent times xNum / xDenom and yNum / yDenom; left as it is by a zero denominator.
    // One record's frame: its length in bytes, its kind, and where its parameters start.
    struct Frame
    {
        qint64 size;
        quint32 kind;
        qint64 body;
    };

    // Walks records from `pos` to the end record, failing at a damaged one; a picture that has
    // spent the player's budget stops where it is.
    template <typename ReadFrame, typename PlayRecord>
    bool walkRecords(const View &v, qint64 pos, qint64 headerSize, quint32 endKind,
                     const Player &p, ReadFrame readFrame, PlayRecord play)
    {
        for (qint64 n = 0; n < kMaxRecords; ++n) {
            if (!v.has(pos, headerSize))
                return false;
            const Frame f = readFrame(pos);
            if (f.size < headerSize || !v.has(pos, f.size))
                return false;
            if (f.kind == endKind)
                return true;
            const View r = v.sub(pos + f.body, f.size - f.body);
            if (!play(f.kind, r) || r.bad())
                return false;
            if (p.exhausted())
                return true;
            pos += f.size;
        }
        return true;
    }

    // ---- Windows metafiles ----

    constexpr quint32 kPlaceableKey = 0x9AC6CDD7;

    struct WmfLayout
    {
        qint64 header = 0; // where the standard header starts
        bool placeable = false;
        QRectF box; // the placeable header's, logical units
        int unitsPerInch = 0;
    };

    bool wmfLayout(const View &v, WmfLayout *l)
    {
        if (v.has(0, 22) && v.u32(0) == kPlaceableKey) {
            l->placeable = true;
            l->header = 22;
            const qint16 left = v.i16(6), top = v.i16(8), right = v.i16(10), bottom = v.i16(12);
            l->box = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
            l->unitsPerInch = v.u16(14);
        }
        if (!v.has(l->header, 18))
            return false;
        const quint16 type = v.u16(l->header), headerWords = v.u16(l->header + 2),
                      version = v.u16(l->header + 4);
        return (type == 1 || type == 2) && headerWords == 9
            && (version == 0x100 || version == 0x300);
    }

    class WmfPlayer
    {
    public:
        WmfPlayer(const View &v, const WmfLayout &l, Player *p)
            : m_v(v)
            , m_l(l)
            , m_p(p)
        {
        }

        // The window the file first sets, for a file without the placeable header.
        static QRectF firstWindow(const View &v, qint64 pos)
        {
            QPointF org;
            bool haveOrg = false;
            for (qint64 n = 0; n < kMaxRecords && v.has(pos, 6); ++n) {
                const qint64 bytes = qint64(v.u32(pos)) * 2;
                const quint16 fn = v.u16(pos + 4);
                if (bytes < 6 || !v.has(pos, bytes) || fn == 0)
                    break;
                if (fn == 0x020B && bytes >= 10 && !haveOrg) {
                    org = QPointF(v.i16(pos + 8), v.i16(pos + 6));
                    haveOrg = true;
                } else if (fn == 0x020C && bytes >= 10) {
                    const QSizeF ext(v.i16(pos + 8), v.i16(pos + 6));
                    if (ext.width() != 0 && ext.height() != 0)
                        return QRectF(org, ext);
                }
                pos += bytes;
            }
            return QRectF();
        }

        bool play()
        {
            const qint64 start = m_l.header;
            m_p->resizeObjects(m_v.u16(start + 10));
            // A record's size counts 16-bit words; a function of 0 ends the picture.
            return walkRecords(m_v, start + qint64(m_v.u16(start + 2)) * 2, 6, 0, *m_p,
                               [this](qint64 pos) {
                                   return Frame {qint64(m_v.u32(pos)) * 2, m_v.u16(pos + 4), 6};
                               },
                               [this](quint32 fn, const View &r) { return record(quint16(fn), r); });
        }

    private:
        static QPointF pt(const View &r, qint64 at) { return QPointF(r.i16(at + 2), r.i16(at)); }
        // Rectangles are written bottom, right, top, left.
        static QRectF rect(const View &r, qint64 at)
        {
            return QRectF(QPointF(r.i16(at + 6), r.i16(at + 4)), QPointF(r.i16(at + 2), r.i16(at)));
        }

        QPolygonF points(const View &r, qint64 at, qint64 count)
        {
            QPolygonF poly;
            if (!r.need(at, count * 4))
                return poly;
            poly.reserve(count);
            for (qint64 i = 0; i < count; ++i)
                poly << QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2));
            return poly;
        }

        QImage dib(const View &r, qint64 at, bool *bad)
        {
            return decodeDib(r.sub(at, r.size() - std::min(at, r.size())), nullptr, bad);
        }

        void drawDib(const QImage &image, const QRectF &dest, QRectF src, quint32 rop)
        {
            // Source rows count from the bottom of the bitmap in GDI's blits.
            src.moveTop(image.height() - src.top() - src.height());
            m_p->bitmap(dest, image, src, rop);
        }

        bool record(quint16 fn, const View &r)
        {
            Dc &dc = m_p->dc();
            switch (fn) {
            case 0x020B: // SetWindowOrg
                dc.windowOrg = pt(r, 0);
                break;
            case 0x020C: // SetWindowExt
                dc.windowExt = QSizeF(r.i16(2), r.i16(0));
                break;
            case 0x020D:
                dc.viewportOrg = pt(r, 0);
                break;
            case 0x020E:
                dc.viewportExt = QSizeF(r.i16(2), r.i16(0));
                break;
            case 0x020F: // OffsetWindowOrg
                dc.windowOrg += pt(r, 0);
                break;
            case 0x0211:
                dc.viewportOrg += pt(r, 0);
                break;
            case 0x0410: // ScaleWindowExt: y denominator, y numerator, x denominator, x numerator
                scaleExtent(&dc.windowExt, r.i16(6), r.i16(4), r.i16(2), r.i16(0));
                break;
            case 0x0412:
                scaleExtent(&dc.viewportExt, r.i16(6), r.i16(4), r.i16(2), r.i16(0));
                break;
            case 0x0103: { // SetMapMode: the player's own window-to-viewport mapping stays
                const int mode = r.u16(0);
                dc.mapMode = mode == Isotropic ? Isotropic : Anisotropic;
                break;
            }
            case 0x001E:
                m_p->save();
                break;
            case 0x0127:
                m_p->restore(r.i16(0));
                break;
            case 0x0209:
                dc.textColor = colorRef(r.u32(0));
                break;
            case 0x0201:
                dc.bkColor = colorRef(r.u32(0));
                break;
            case 0x0102:
                dc.opaque = r.u16(0) == 2;
                break;
            case 0x012E:
                dc.textAlign = r.u16(0);
                break;
            case 0x0106:
                dc.winding = r.u16(0) == 2;
                break;
            case 0x02FA: // CreatePenIndirect
                m_p->addObject(penObject(r.u16(0), r.i16(2), r.u32(6)));
                break;
            case 0x02FC: // CreateBrushIndirect
                m_p->addObject(brushObject(r.u16(0), r.u32(2), r.u16(6)));
                break;
            case 0x02FB: { // CreateFontIndirect
                QByteArray face;
                for (qint64 i = 18; i < std::min<qint64>(r.size(), 18 + 32); ++i) {
                    const char c = char(r.u8(i));
                    if (c == 0)
                        break;
                    face += c;
                }
                m_p->addObject(fontObject(r.i16(0), r.i16(2), r.i16(4), r.i16(8), r, 10,
                                          QString::fromLatin1(face).trimmed()));
                break;
            }
            case 0x00F7: // CreatePalette
            case 0x01F9: // CreatePatternBrush
            case 0x06FF: // CreateRegion
            case 0x0142: // DibCreatePatternBrush
                m_p->addObject(patternOrSlot(fn != 0x00F7 && fn != 0x06FF));
                break;
            case 0x012D:
                return m_p->selectObject(r.u16(0));
            case 0x01F0:
                return m_p->deleteObject(r.u16(0));
            case 0x0214:
                dc.position = pt(r, 0);
                break;
            case 0x0213: // LineTo
                m_p->lineTo(pt(r, 0), false);
                break;
            case 0x0325: // Polyline
            case 0x0324: { // Polygon
                const QPolygonF poly = points(r, 2, r.u16(0));
                if (r.bad())
                    return false;
                if (poly.isEmpty())
                    break;
                QPainterPath p;
                p.addPolygon(poly);
                if (fn == 0x0324)
                    p.closeSubpath();
                m_p->draw(p, fn == 0x0324, true);
                break;
            }
            case 0x0538: { // PolyPolygon
                const qint64 polys = r.u16(0);
                if (!r.need(2, polys * 2))
                    return false;
                qint64 at = 2 + polys * 2;
                QPainterPath p;
                for (qint64 i = 0; i < polys; ++i) {
                    const qint64 count = r.u16(2 + 2 * i);
                    const QPolygonF poly = points(r, at, count);
                    if (r.bad())
                        return false;
                    at += count * 4;
                    if (poly.isEmpty())
                        continue;
                    p.addPolygon(poly);
                    p.closeSubpath();
                }
                m_p->draw(p, true, true);
                break;
            }
            case 0x041B:
                m_p->draw(rectPath(rect(r, 0)), true, true);
                break;
            case 0x0418:
                m_p->draw(ellipsePath(rect(r, 0)), true, true);
                break;
            case 0x061C: // RoundRect: height, width, then the rectangle
                m_p->draw(roundRectPath(rect(r, 4), r.i16(2), r.i16(0)), true, true);
                break;
            case 0x0817: // Arc
            case 0x0830: // Chord
            case 0x081A: // Pie
                m_p->arc(fn == 0x0817 ? 0 : fn == 0x0830 ? 1 : 2, rect(r, 8), pt(r, 4), pt(r, 0));
                break;
            case 0x0416: // IntersectClipRect
                m_p->clipToLogical(rect(r, 0));
                break;
            case 0x0415: // ExcludeClipRect
                m_p->excludeLogical(rect(r, 0));
                break;
            case 0x012C: // SelectClipRegion: regions are not kept; the whole picture again
                m_p->resetClip();
                break;
            case 0x0521: { // TextOut: count, bytes (padded to a word), y, x
                const qint64 count = r.u16(0);
                QVector<int> widths;
                const QString s = decodeBytes(r, 2, count, dc.font, &widths);
                const qint64 at = 2 + (count + 1) / 2 * 2;
                const QPointF ref = pt(r, at);
                if (r.bad())
                    return false;
                m_p->text(ref, s, {}, 0, QRectF());
                break;
            }
            case 0x0A32: { // ExtTextOut: y, x, count, options, [rectangle], bytes, [advances]
                const QPointF ref = pt(r, 0);
                const qint64 count = r.i16(4);
                const quint16 options = r.u16(6);
                if (count < 0)
                    return false;
                qint64 at = 8;
                QRectF box;
                if (options & (Opaque | Clipped)) {
                    box = QRectF(QPointF(r.i16(8), r.i16(10)), QPointF(r.i16(12), r.i16(14)));
                    at += 8;
                }
                QVector<int> widths;
                const QString s = decodeBytes(r, at, count, dc.font, &widths);
                if (r.bad())
                    return false;
                at += (count + 1) / 2 * 2;
                QVector<qreal> dx;
                if (r.has(at, count * 2)) {
                    qint64 byte = 0;
                    for (int w : widths) {
                        qreal advance = 0;
                        for (int k = 0; k < w; ++k, ++byte)
                            advance += r.i16(at + 2 * byte);
                        dx.append(advance);
                    }
                }
                m_p->text(ref, s, dx, options, box);
                break;
            }
            case 0x0F43: { // StretchDIB
                const quint32 rop = r.u32(0);
                const QRectF src(r.i16(12), r.i16(10), r.i16(8), r.i16(6));
                const QRectF dest(r.i16(20), r.i16(18), r.i16(16), r.i16(14));
                bool bad = false;
                const QImage image = dib(r, 22, &bad);
                if (bad || r.bad())
                    return false;
                drawDib(image, dest, src, rop);
                break;
            }
            case 0x0B41: // DibStretchBlt
            case 0x0940: { // DibBitBlt
                const bool stretch = fn == 0x0B41;
                const quint32 rop = r.u32(0);
                const bool noBitmap = r.size() + 6 == ((fn >> 8) + 3) * 2;
                QRectF src, dest;
                if (stretch) {
                    const qint64 d = noBitmap ? 14 : 12;
                    src = QRectF(r.i16(10), r.i16(8), r.i16(6), r.i16(4));
                    dest = QRectF(r.i16(d + 6), r.i16(d + 4), r.i16(d + 2), r.i16(d));
                } else {
                    const qint64 d = noBitmap ? 10 : 8;
                    src = QRectF(r.i16(6), r.i16(4), r.i16(d + 2), r.i16(d));
                    dest = QRectF(r.i16(d + 6), r.i16(d + 4), r.i16(d + 2), r.i16(d));
                }
                if (r.bad())
                    return false;
                if (noBitmap) {
                    m_p->patBlt(dest, rop);
                    break;
                }
                bool bad = false;
                const QImage image = dib(r, stretch ? 20 : 16, &bad);
                if (bad)
                    return false;
                drawDib(image, dest, src, rop);
                break;
            }
            default: // escapes, palettes, raster operations: nothing the picture needs
                break;
            }
            return true;
        }

        const View &m_v;
        const WmfLayout &m_l;
        Player *m_p;
    };

    QImage renderWmf(const View &v, QSize pixels, qreal hairline)
    {
        WmfLayout l;
        if (!wmfLayout(v, &l))
            return QImage();
        QRectF frame = l.placeable ? l.box : QRectF();
        if (frame.isEmpty())
            frame = WmfPlayer::firstWindow(v, l.header + qint64(v.u16(l.header + 2)) * 2)
                        .normalized();
        if (frame.isEmpty())
            return QImage();
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return QImage();
        image.fill(Qt::transparent);
        Player p(&image, hairline);
        // The player maps the window onto the picture as the file sets it, starting from the
        // frame; "device" units are the frame's own.
        p.setFrame(frame);
        Dc &dc = p.dc();
        dc.mapMode = Anisotropic;
        dc.windowOrg = dc.viewportOrg = frame.topLeft();
        dc.windowExt = dc.viewportExt = frame.size();
        // The frame's sides as the file orders them (a box from bottom to top flips the picture).
        if (l.placeable) {
            dc.windowOrg = QPointF(v.i16(6), v.i16(8));
            dc.windowExt = QSizeF(v.i16(10) - v.i16(6), v.i16(12) - v.i16(8));
        }
        const bool ok = WmfPlayer(v, l, &p).play();
        p.end();
        return ok ? image : QImage();
    }

    // ---- Enhanced metafiles ----

    struct EmfHeader
    {
        QRectF bounds; // device units; any 32-bit corners, whose difference an int cannot hold
        QRectF frame; // 0.01 mm
        QSizeF devicePerMm;
        int handles = 0;
    };

    bool emfHeader(const View &v, EmfHeader *h)
    {
        if (!v.has(0, 88) || v.u32(0) != 1 || v.u32(40) != 0x464D4520)
            return false;
        const quint32 size = v.u32(4);
        if (size < 88 || !v.has(0, size))
            return false;
        // Inclusive corners, as a QRect's.
        h->bounds = QRectF(QPointF(v.i32(8), v.i32(12)),
                           QPointF(qreal(v.i32(16)) + 1, qreal(v.i32(20)) + 1));
        h->frame = QRectF(QPointF(v.i32(24), v.i32(28)), QPointF(v.i32(32), v.i32(36)));
        h->handles = v.u16(56);
        const qint32 devX = v.i32(72), devY = v.i32(76), mmX = v.i32(80), mmY = v.i32(84);
        if (devX > 0 && devY > 0 && mmX > 0 && mmY > 0)
            h->devicePerMm = QSizeF(qreal(devX) / mmX, qreal(devY) / mmY);
        else
            h->devicePerMm = QSizeF(96 / 25.4, 96 / 25.4);
        return true;
    }

    class EmfPlayer
    {
    public:
        EmfPlayer(const View &v, Player *p)
            : m_v(v)
            , m_p(p)
        {
        }

        bool play()
        {
            // Offsets inside a record count from its start; EOF (14) ends the picture.
            return walkRecords(m_v, 0, 8, 14, *m_p,
                               [this](qint64 pos) { return Frame {m_v.u32(pos + 4), m_v.u32(pos), 0}; },
                               [this](quint32 type, const View &r) { return record(type, r); });
        }

    private:
        static QPointF pt32(const View &r, qint64 at) { return QPointF(r.i32(at), r.i32(at + 4)); }
        static QPointF pt16(const View &r, qint64 at) { return QPointF(r.i16(at), r.i16(at + 2)); }
        static QRectF rect(const View &r, qint64 at)
        {
            return QRectF(pt32(r, at), pt32(r, at + 8));
        }

        QPolygonF points(const View &r, qint64 at, qint64 count, bool small)
        {
            QPolygonF poly;
            const qint64 each = small ? 4 : 8;
            if (count < 0 || !r.need(at, count * each))
                return poly;
            poly.reserve(count);
            for (qint64 i = 0; i < count; ++i)
                poly << (small ? pt16(r, at + i * each) : pt32(r, at + i * each));
            return poly;
        }

        static QTransform xform(const View &r, qint64 at)
        {
            return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12),
                              r.f32(at + 16), r.f32(at + 20));
        }

        static void stock(quint32 index, Object *o)
        {
            static const int greys[] = {255, 192, 128, 64, 0};
            if (index <= 4) {
                o->type = Object::BrushObject;
                o->brush.color = QColor(greys[index], greys[index], greys[index]);
            } else if (index == 5) {
                o->type = Object::BrushObject;
                o->brush.style = 1;
            } else if (index >= 6 && index <= 8) {
                o->type = Object::PenObject;
                o->pen.color = index == 6 ? Qt::white : Qt::black;
                o->pen.style = index == 8 ? 5 : 0;
            } else if (index >= 10 && index <= 17 && index != 15) {
                o->type = Object::FontObject;
            }
        }

        // Bezier runs: a start point (unless continuing), then three points a curve.
        static void addBeziers(QPainterPath *p, const QPolygonF &pts, qsizetype from)
        {
            for (qsizetype i = from; i + 2 < pts.size(); i += 3)
                p->cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        }

        bool polyRecord(quint32 type, const View &r)
        {
            // 2 POLYBEZIER, 3 POLYGON, 4 POLYLINE, 5 POLYBEZIERTO, 6 POLYLINETO; +83 for 16-bit.
            const bool small = type >= 85;
            const quint32 base = small ? type - 83 : type;
            const QPolygonF pts = points(r, 28, r.u32(24), small);
            if (r.bad())
                return false;
            if (pts.isEmpty())
                return true;
            Dc &dc = m_p->dc();
            QPainterPath p;
            switch (base) {
            case 2:
                p.moveTo(pts[0]);
                addBeziers(&p, pts, 1);
                m_p->draw(p, false, true);
                break;
            case 3:
                p.addPolygon(pts);
                p.closeSubpath();
                m_p->draw(p, true, true);
                break;
            case 4:
                p.addPolygon(pts);
                m_p->draw(p, false, true);
                break;
            case 5:
            case 6:
                p.moveTo(dc.position);
                if (base == 5)
                    addBeziers(&p, pts, 0);
                else
                    for (const QPointF &q : pts)
                        p.lineTo(q);
                dc.position = p.currentPosition();
                m_p->draw(p, false, true, true);
                break;
            default:
                break;
            }
            return true;
        }

        bool polyPolyRecord(quint32 type, const View &r)
        {
            // 7 POLYPOLYLINE, 8 POLYPOLYGON; 90 and 91 the 16-bit ones.
            const bool small = type >= 90;
            const bool polygon = type == 8 || type == 91;
            const qint64 polys = r.u32(24), total = r.u32(28);
            if (!r.need(32, polys * 4))
                return false;
            const QPolygonF pts = points(r, 32 + polys * 4, total, small);
            if (r.bad())
                return false;
            QPainterPath p;
            qint64 at = 0;
            for (qint64 i = 0; i < polys; ++i) {
                const qint64 count = r.u32(32 + 4 * i);
                if (count > total - at)
                    return false;
                if (count > 0) {
                    p.addPolygon(pts.mid(at, count));
                    if (polygon)
                        p.closeSubpath();
                }
                at += count;
            }
            m_p->draw(p, polygon, true);
            return true;
        }

        bool text(const View &r)
        {
            // EXTTEXTOUTW: bounds, graphics mode, scales, then the text: reference, count,
            // string offset, options, rectangle, advances' offset.
            const QPointF ref = pt32(r, 36);
            const qint64 count = r.u32(44);
            const qint64 offString = r.u32(48);
            const quint32 options = r.u32(52);
            const QRectF box = rect(r, 56);
            const qint64 offDx = r.u32(72);
            if (r.bad() || !r.need(offString, count * 2))
                return false;
            if (options & GlyphIndex) // glyphs of the writer's font, not characters
                return true;
            QString s;
            s.reserve(count);
            const Font &font = m_p->dc().font;
            const bool symbol = codePageOfFont(font) == rtf::kSymbolCodePage;
            for (qint64 i = 0; i < count; ++i) {
                char16_t c = r.u16(offString + 2 * i);
                // Symbol fonts' characters, in the private range or as bytes.
                if (symbol && ((c >= 0xF020 && c <= 0xF0FF) || (c >= 0x20 && c <= 0xFF)))
                    c = rtf::charOfByte(rtf::kSymbolCodePage, uchar(c & 0xFF));
                s += QChar(c);
            }
            QVector<qreal> dx;
            const qint64 step = options & Pdy ? 8 : 4;
            if (offDx > 0 && r.has(offDx, count * step)) {
                for (qint64 i = 0; i < count; ++i)
                    dx.append(r.i32(offDx + i * step));
            }
            m_p->text(ref, s, dx, options, box);
            return true;
        }

        // A bitmap record's picture, or its brush alone where the record carries no bitmap.
        // Sources count rows from the top of the bitmap, or from its bottom as GDI's blits do.
        bool bits(const View &r, qint64 bmiAt, const QRectF &dest, QRectF src, bool fromBottom,
                  quint32 rop)
        {
            const qint64 offBmi = r.u32(bmiAt), cbBmi = r.u32(bmiAt + 4),
                         offBits = r.u32(bmiAt + 8), cbBits = r.u32(bmiAt + 12);
            if (r.bad())
                return false;
            if (cbBmi == 0) {
                m_p->patBlt(dest, rop);
                return true;
            }
            const View info = r.sub(offBmi, cbBmi);
            const View bitsView = r.sub(offBits, cbBits);
            if (r.bad())
                return false;
            bool bad = false;
            const QImage image = decodeDib(info, &bitsView, &bad);
            if (bad)
                return false;
            if (fromBottom)
                src.moveTop(image.height() - src.top() - src.height());
            m_p->bitmap(dest, image, src, rop);
            return true;
        }

        // BITBLT and STRETCHBLT
        bool blt(bool stretch, const View &r)
        {
            const QRectF dest(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
            const QPointF srcAt(r.i32(44), r.i32(48));
            // The source's size is read only where a bitmap follows.
            const bool hasBitmap = r.u32(88) != 0;
            const QSizeF srcSize = stretch && hasBitmap ? QSizeF(r.i32(100), r.i32(104)) : dest.size();
            return bits(r, 84, dest, QRectF(srcAt, srcSize), false, r.u32(40));
        }

        bool stretchDiBits(const View &r)
        {
            const QRectF dest(QPointF(r.i32(24), r.i32(28)), QSizeF(r.i32(72), r.i32(76)));
            const QRectF src(r.i32(32), r.i32(36), r.i32(40), r.i32(44));
            return bits(r, 48, dest, src, true, r.u32(68));
        }

        bool record(quint32 type, const View &r)
        {
            Dc &dc = m_p->dc();
            switch (type) {
            case 1:
                break;
            case 2:
            case 3:
            case 4:
            case 5:
            case 6:
            case 85:
            case 86:
            case 87:
            case 88:
            case 89:
                return polyRecord(type, r);
            case 7:
            case 8:
            case 90:
            case 91:
                return polyPolyRecord(type, r);
            case 9: // SETWINDOWEXTEX
                dc.windowExt = QSizeF(r.i32(8), r.i32(12));
                break;
            case 10:
                dc.windowOrg = pt32(r, 8);
                break;
            case 11:
                dc.viewportExt = QSizeF(r.i32(8), r.i32(12));
                break;
            case 12:
                dc.viewportOrg = pt32(r, 8);
                break;
            case 31: // SCALEVIEWPORTEXTEX
                scaleExtent(&dc.viewportExt, r.i32(8), r.i32(12), r.i32(16), r.i32(20));
                break;
            case 32:
                scaleExtent(&dc.windowExt, r.i32(8), r.i32(12), r.i32(16), r.i32(20));
                break;
            case 17: {
                const quint32 mode = r.u32(8);
                if (mode >= Text && mode <= Anisotropic)
                    dc.mapMode = int(mode);
                break;
            }
            case 18:
                dc.opaque = r.u32(8) == 2;
                break;
            case 19:
                dc.winding = r.u32(8) == 2;
                break;
            case 22:
                dc.textAlign = r.u32(8);
                break;
            case 24:
                dc.textColor = colorRef(r.u32(8));
                break;
            case 25:
                dc.bkColor = colorRef(r.u32(8));
                break;
            case 27: // MOVETOEX
                dc.position = pt32(r, 8);
                if (m_p->inPath()) {
                    QPainterPath p(dc.position);
                    m_p->draw(p, false, false);
                }
                break;
            case 29:
                m_p->excludeLogical(rect(r, 8));
                break;
            case 30:
                m_p->clipToLogical(rect(r, 8));
                break;
            case 33:
                m_p->save();
                break;
            case 34:
                m_p->restore(r.i32(8));
                break;
            case 35: { // SETWORLDTRANSFORM
                const QTransform t = xform(r, 8);
                if (finite(t))
                    dc.world = t;
                break;
            }
            case 36: { // MODIFYWORLDTRANSFORM
                const QTransform t = xform(r, 8);
                const quint32 mode = r.u32(32);
                if (!finite(t))
                    break;
                if (mode == 1)
                    dc.world = QTransform();
                else if (mode == 2)
                    dc.world = t * dc.world;
                else if (mode == 3)
                    dc.world = dc.world * t;
                else if (mode == 4)
                    dc.world = t;
                break;
            }
            case 37: { // SELECTOBJECT
                const quint32 index = r.u32(8);
                if (index & 0x80000000) {
                    Object o;
                    stock(index & 0x7FFFFFFF, &o);
                    if (o.type == Object::FontObject)
                        dc.font = Font();
                    else
                        m_p->select(o);
                    break;
                }
                return m_p->selectObject(index);
            }
            case 38: // CREATEPEN
                return m_p->setObject(r.u32(8), penObject(r.u32(12), r.i32(16), r.u32(24)));
            case 95: { // EXTCREATEPEN
                const quint32 style = r.u32(28);
                // Cosmetic pens are one device pixel wide, whatever width they carry.
                Object o = penObject(style, style & 0x10000 ? r.u32(32) : 0, r.u32(40));
                if (r.u32(36) == 1) // a pen of the null brush draws nothing
                    o.pen.style = 5;
                return m_p->setObject(r.u32(8), o);
            }
            case 39: // CREATEBRUSHINDIRECT
                return m_p->setObject(r.u32(8), brushObject(r.u32(12), r.u32(16), r.u32(20)));
            case 82: { // EXTCREATEFONTINDIRECTW
                QString face;
                for (qint64 i = 0; i < 32 && r.has(40 + 2 * i, 2); ++i) {
                    const char16_t c = r.u16(40 + 2 * i);
                    if (c == 0)
                        break;
                    face += QChar(c);
                }
                return m_p->setObject(
                    r.u32(8), fontObject(r.i32(12), r.i32(16), r.i32(20), r.i32(28), r, 32, face));
            }
            case 49: // CREATEPALETTE
            case 93: // CREATEMONOBRUSH
            case 94: // CREATEDIBPATTERNBRUSHPT
                return m_p->setObject(r.u32(8), patternOrSlot(type != 49));
            case 40:
                return m_p->deleteObject(r.u32(8));
            case 42:
                m_p->draw(ellipsePath(rect(r, 8)), true, true);
                break;
            case 43:
                m_p->draw(rectPath(rect(r, 8)), true, true);
                break;
            case 44:
                m_p->draw(roundRectPath(rect(r, 8), r.i32(24), r.i32(28)), true, true);
                break;
            case 45: // ARC
            case 46: // CHORD
            case 47: // PIE
                m_p->arc(type - 45, rect(r, 8), pt32(r, 24), pt32(r, 32));
                break;
            case 54: // LINETO
                m_p->lineTo(pt32(r, 8), true);
                break;
            case 59:
                m_p->beginPath();
                break;
            case 60:
                m_p->endPath();
                break;
            case 61:
                m_p->closeFigure();
                break;
            case 62:
                m_p->finishPath(true, false);
                break;
            case 63:
                m_p->finishPath(true, true);
                break;
            case 64:
                m_p->finishPath(false, true);
                break;
            case 67:
                m_p->clipToPath(r.u32(8));
                break;
            case 68: // ABORTPATH
                m_p->endPath();
                break;
            case 75: { // EXTSELECTCLIPRGN: rectangles in device units
                const qint64 cb = r.u32(8);
                const quint32 mode = r.u32(12);
                if (cb == 0 || !r.has(16, 32)) {
                    if (mode == 5)
                        m_p->resetClip();
                    break;
                }
                const qint64 count = r.u32(16 + 8);
                if (!r.need(48, count * 16))
                    return false;
                QPainterPath region;
                if (count > kMaxRegionRects) {
                    region.addRect(rect(r, 32).normalized()); // the region's box
                } else {
                    for (qint64 i = 0; i < count; ++i)
                        region.addRect(rect(r, 48 + 16 * i).normalized());
                    region = region.simplified();
                }
                region = m_p->deviceToImage().map(region);
                if (mode == 1)
                    m_p->clipTo(region, true);
                else
                    m_p->clipTo(region, false);
                break;
            }
            case 76:
            case 77:
                return blt(type == 77, r);
            case 81:
                return stretchDiBits(r);
            case 84:
                return text(r);
            default: // comments (EMF+ among them), palettes, the rest
                break;
            }
            return true;
        }

        const View &m_v;
        Player *m_p;
    };

    QImage renderEmf(const View &v, QSize pixels, qreal hairline)
    {
        EmfHeader h;
        if (!emfHeader(v, &h))
            return QImage();
        // The frame says where the picture is, in 0.01 mm; in device units through the
        // reference device's size. Writers that leave it empty give the bounds.
        QRectF frame(QPointF(h.frame.left() / 100 * h.devicePerMm.width(),
                             h.frame.top() / 100 * h.devicePerMm.height()),
                     QPointF(h.frame.right() / 100 * h.devicePerMm.width(),
                             h.frame.bottom() / 100 * h.devicePerMm.height()));
        frame = frame.normalized();
        if (frame.width() < 1 || frame.height() < 1)
            frame = h.bounds.normalized();
        if (frame.width() < 1 || frame.height() < 1)
            return QImage();
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return QImage();
        image.fill(Qt::transparent);
        Player p(&image, hairline);
        p.setFrame(frame);
        p.setDevicePixelsPerMm(h.devicePerMm);
        p.resizeObjects(h.handles);
        const bool ok = EmfPlayer(v, &p).play();
        p.end();
        return ok ? image : QImage();
    }

} // namespace

QSizeF naturalSize(const QByteArray &data, Kind kind)
{
    const View v(reinterpret_cast<const uchar *>(data.constData()), data.size());
    if (kind == Kind::Wmf) {
        WmfLayout l;
        if (!wmfLayout(v, &l) || !l.placeable || l.unitsPerInch == 0)
            return QSizeF();
        return l.box.size() * (96.0 / l.unitsPerInch);
    }
    EmfHeader h;
    if (!emfHeader(v, &h))
        return QSizeF();
    return h.frame.normalized().size() / 2540.0 * 96.0;
}

QImage render(const QByteArray &data, Kind kind, QSize pixels, qreal hairline)
{
    if (pixels.width() < 1 || pixels.height() < 1)
        return QImage();
    // Within the limits, keeping the shape asked for.
    qreal shrink
        = std::min({1.0, qreal(kMaxSide) / pixels.width(), qreal(kMaxSide) / pixels.height()});
    const qreal area = qreal(pixels.width()) * pixels.height() * shrink * shrink;
    if (area > kMaxPixels)
        shrink *= std::sqrt(kMaxPixels / area);
    if (shrink < 1) {
        pixels = QSize(std::max(1, int(pixels.width() * shrink)),
                       std::max(1, int(pixels.height() * shrink)));
        hairline = std::max(1.0, hairline * shrink);
    }
    const View v(reinterpret_cast<const uchar *>(data.constData()), data.size());
    return kind == Kind::Wmf ? renderWmf(v, pixels, hairline) : renderEmf(v, pixels, hairline);
}

} // namespace metafile
