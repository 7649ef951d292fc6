// The metafile player against drawings whose pixels are known: files written here record by
// record, and files written by LibreOffice (see rtf/README.md).
#include "richtext/metafile.h"
#include "richtext/richtext.h"
#include "tests/richtext/rtfsamples.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QtMath>
#include <QtTest>

#include <cstring>

namespace {

QByteArray sample(const QString &name)
{
    return samples::read(name);
}

void put16(QByteArray &b, int v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &b, qint64 v)
{
    put16(b, int(v & 0xFFFF));
    put16(b, int((v >> 16) & 0xFFFF));
}

// A Windows metafile written record by record; parameters are given in reading order and
// written in the file's reversed one where GDI reverses them.
class Wmf
{
public:
    explicit Wmf(QRect window, bool placeable = false)
        : m_placeable(placeable)
        , m_box(window)
    {
        if (!placeable) {
            rec(0x020B, {window.top(), window.left()});
            rec(0x020C, {window.height(), window.width()});
        }
    }
    Wmf &rec(int fn, std::initializer_list<int> params, const QByteArray &tail = QByteArray())
    {
        QByteArray p;
        for (int v : params)
            put16(p, v);
        p += tail;
        if (p.size() % 2)
            p += '\0';
        put32(m_records, 3 + p.size() / 2);
        put16(m_records, fn);
        m_records += p;
        return *this;
    }
    Wmf &pen(int style, int width, QRgb c)
    {
        QByteArray t;
        put32(t, colorRef(c));
        return rec(0x02FA, {style, width, 0}, t);
    }
    Wmf &brush(int style, QRgb c, int hatch = 0)
    {
        QByteArray t;
        put16(t, style);
        put32(t, colorRef(c));
        put16(t, hatch);
        return rec(0x02FC, {}, t);
    }
    Wmf &font(int height, const char *face, int charset = 0, bool italic = false,
              int escapement = 0)
    {
        QByteArray t;
        t.append(char(italic)).append('\0').append('\0').append(char(charset));
        t.append(QByteArray(4, '\0')).append(face).append('\0');
        return rec(0x02FB, {height, 0, escapement, escapement, 400}, t);
    }
    // A null pen and a solid brush, in the table's first two slots, both selected.
    Wmf &fillOnly(QRgb c) { return pen(5, 0, 0).select(0).brush(0, c).select(1); }
    Wmf &select(int i) { return rec(0x012D, {i}); }
    Wmf &remove(int i) { return rec(0x01F0, {i}); }
    Wmf &rectangle(int l, int t, int r, int b) { return rec(0x041B, {b, r, t, l}); }
    Wmf &ellipse(int l, int t, int r, int b) { return rec(0x0418, {b, r, t, l}); }
    Wmf &moveTo(int x, int y) { return rec(0x0214, {y, x}); }
    Wmf &lineTo(int x, int y) { return rec(0x0213, {y, x}); }
    Wmf &textColor(QRgb c)
    {
        QByteArray t;
        put32(t, colorRef(c));
        return rec(0x0209, {}, t);
    }
    Wmf &textAlign(int a) { return rec(0x012E, {a}); }
    Wmf &bkMode(int m) { return rec(0x0102, {m}); }
    Wmf &textOut(int x, int y, const QByteArray &s)
    {
        QByteArray t;
        put16(t, int(s.size()));
        t += s;
        if (t.size() % 2)
            t += '\0';
        put16(t, y);
        put16(t, x);
        return rec(0x0521, {}, t);
    }
    Wmf &polyPolygon(const QList<QPolygon> &polys)
    {
        QByteArray t;
        put16(t, int(polys.size()));
        for (const QPolygon &p : polys)
            put16(t, int(p.size()));
        for (const QPolygon &p : polys)
            for (const QPoint &q : p)
                put16(t, q.x()), put16(t, q.y());
        return rec(0x0538, {}, t);
    }
    QByteArray bytes(int objects = 16) const
    {
        QByteArray out;
        if (m_placeable) {
            put32(out, 0x9AC6CDD7);
            put16(out, 0);
            put16(out, m_box.left());
            put16(out, m_box.top());
            put16(out, m_box.left() + m_box.width());
            put16(out, m_box.top() + m_box.height());
            put16(out, 1440);
            put32(out, 0);
            put16(out, 0);
        }
        const QByteArray end = QByteArray::fromHex("030000000000");
        put16(out, 1);
        put16(out, 9);
        put16(out, 0x300);
        put32(out, (18 + m_records.size() + end.size()) / 2);
        put16(out, objects);
        put32(out, 0);
        put16(out, 0);
        return out + m_records + end;
    }
    static quint32 colorRef(QRgb c) { return quint32(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16); }

private:
    bool m_placeable;
    QRect m_box;
    QByteArray m_records;
};

// A DIB of `w` x 2 pixels: the top row `top`, the bottom one `bottom`, at the depth asked.
QByteArray dib(int bpp, int w, QRgb top, QRgb bottom)
{
    QByteArray b;
    put32(b, 40);
    put32(b, w);
    put32(b, 2); // bottom-up
    put16(b, 1);
    put16(b, bpp);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0), put32(b, 0);
    put32(b, bpp <= 8 ? 2 : 0);
    put32(b, 0);
    if (bpp <= 8) {
        for (QRgb c : {bottom, top})
            b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
    const int stride = (w * bpp + 31) / 32 * 4;
    for (int row = 0; row < 2; ++row) { // bottom row first
        const QRgb c = row == 0 ? bottom : top;
        QByteArray line(stride, '\0');
        for (int x = 0; x < w; ++x) {
            switch (bpp) {
            case 1:
                line[x / 8] = char(line[x / 8] | (row << (7 - x % 8)));
                break;
            case 4:
                line[x / 2] = char(line[x / 2] | (row << (x % 2 ? 0 : 4)));
                break;
            case 8:
                line[x] = char(row);
                break;
            default: {
                const int n = bpp / 8;
                line[x * n] = char(qBlue(c));
                line[x * n + 1] = char(qGreen(c));
                line[x * n + 2] = char(qRed(c));
            }
            }
        }
        b += line;
    }
    return b;
}

// An enhanced metafile of a 100 mm square frame on a device of 10 pixels a millimetre: logical
// units of the default mapping are tenths of a millimetre.
class Emf
{
public:
    Emf &rec(quint32 type, std::initializer_list<qint64> params, const QByteArray &tail = {})
    {
        QByteArray p;
        for (qint64 v : params)
            put32(p, v);
        p += tail;
        while (p.size() % 4)
            p += '\0';
        put32(m_records, type);
        put32(m_records, 8 + p.size());
        m_records += p;
        ++m_count;
        return *this;
    }
    Emf &brush(quint32 index, QRgb c) { return rec(39, {index, 0, Wmf::colorRef(c), 0}); }
    Emf &pen(quint32 index, int style, int width, QRgb c)
    {
        return rec(38, {index, style, width, 0, Wmf::colorRef(c)});
    }
    Emf &select(quint32 i) { return rec(37, {i}); }
    Emf &rectangle(int l, int t, int r, int b) { return rec(43, {l, t, r, b}); }
    Emf &font(quint32 index, int height, const QString &face)
    {
        QByteArray t;
        put32(t, height), put32(t, 0), put32(t, 0), put32(t, 0), put32(t, 400);
        put32(t, 0), put32(t, 0);
        for (int i = 0; i < 32; ++i)
            put16(t, i < face.size() ? face.at(i).unicode() : 0);
        t += QByteArray(320 - 92 + 12, '\0'); // the rest of the extended font record
        return rec(82, {index}, t);
    }
    Emf &text(int x, int y, const QString &s)
    {
        QByteArray t;
        put32(t, 0), put32(t, 0), put32(t, -1), put32(t, -1); // bounds
        put32(t, 1); // GM_COMPATIBLE
        put32(t, 0), put32(t, 0); // scales
        put32(t, x), put32(t, y);
        put32(t, s.size());
        put32(t, 76); // string offset
        put32(t, 0);
        put32(t, 0), put32(t, 0), put32(t, -1), put32(t, -1);
        put32(t, 0); // no advances
        for (QChar c : s)
            put16(t, c.unicode());
        return rec(84, {}, t);
    }
    QByteArray bytes(int handles = 8) const
    {
        QByteArray h;
        put32(h, 1);
        put32(h, 88);
        put32(h, 0), put32(h, 0), put32(h, 999), put32(h, 999); // bounds
        put32(h, 0), put32(h, 0), put32(h, 10000), put32(h, 10000); // frame, 0.01 mm
        put32(h, 0x464D4520);
        put32(h, 0x10000);
        put32(h, 88 + m_records.size() + 20);
        put32(h, m_count + 2);
        put16(h, handles);
        put16(h, 0);
        put32(h, 0), put32(h, 0), put32(h, 0);
        put32(h, 1000), put32(h, 1000); // device, pixels
        put32(h, 100), put32(h, 100); // device, millimetres
        QByteArray end;
        put32(end, 14), put32(end, 20), put32(end, 0), put32(end, 16), put32(end, 20);
        return h + m_records + end;
    }

private:
    QByteArray m_records;
    int m_count = 0;
};

// What a part of the image must show: only one colour (transparent: nothing drawn), or some
// pixels of it (dark: any ink darker than mid grey).
struct Probe
{
    enum Mode { Only, Some } mode;
    QRect area;
    QColor color;
};

constexpr QRgb kDark = 0xFF000001; // stands for any dark ink in Some probes

Probe only(QRect r, QColor c)
{
    return {Probe::Only, r, c};
}

Probe some(QRect r, QColor c = QColor::fromRgba(kDark))
{
    return {Probe::Some, r, c};
}

bool near(QColor a, QColor b)
{
    if (b.rgba() == kDark)
        return a.alpha() > 128 && qGray(a.rgb()) < 100;
    if (b.alpha() == 0)
        return a.alpha() < 16;
    return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24
        && std::abs(a.blue() - b.blue()) < 24 && a.alpha() > 230;
}

QString check(const QImage &image, const QVector<Probe> &probes)
{
    for (const Probe &p : probes) {
        bool any = false;
        for (int y = p.area.top(); y <= p.area.bottom(); ++y) {
            for (int x = p.area.left(); x <= p.area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const bool match = near(c, p.color);
                if (p.mode == Probe::Only && !match)
                    return QStringLiteral("(%1,%2) is %3, not %4")
                        .arg(x)
                        .arg(y)
                        .arg(c.name(QColor::HexArgb), p.color.name(QColor::HexArgb));
                any = any || match;
            }
        }
        if (p.mode == Probe::Some && !any)
            return QStringLiteral("nothing of %1 in (%2,%3 %4x%5)")
                .arg(p.color.name(QColor::HexArgb))
                .arg(p.area.x())
                .arg(p.area.y())
                .arg(p.area.width())
                .arg(p.area.height());
    }
    return QString();
}

// Rendered pictures are left in METAFILE_PNG_TO, to be looked at.
void keep(const QImage &image, const char *name)
{
    const QByteArray dir = qgetenv("METAFILE_PNG_TO");
    if (!dir.isEmpty()) {
        QString file = QString::fromUtf8(name);
        file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
        image.save(QString::fromUtf8(dir) + QLatin1Char('/') + file + QStringLiteral(".png"));
    }
}

// Rows whose probes look at text need fonts, which a platform may not have (Qt's offscreen one
// under Wine has none).
QSet<QByteArray> &textRows()
{
    static QSet<QByteArray> rows;
    return rows;
}

QTestData &textRow(const char *name)
{
    textRows().insert(name);
    return QTest::newRow(name);
}

bool fontsMissing()
{
    return QFontDatabase::families().isEmpty();
}

QByteArray wmfOfSample(const QString &rtf, int index)
{
    const QByteArray s = sample(rtf);
    qsizetype at = -1;
    for (int i = 0; i <= index; ++i)
        at = s.indexOf("\\wmetafile8", at + 1);
    if (at < 0)
        return QByteArray();
    const qsizetype end = s.indexOf('}', at);
    QByteArray hex = s.mid(at + 11, end - at - 11);
    hex.replace('\n', QByteArray()).replace('\r', QByteArray()).replace(' ', QByteArray());
    return QByteArray::fromHex(hex);
}

} // namespace

Q_DECLARE_METATYPE(QVector<Probe>)
Q_DECLARE_METATYPE(metafile::Kind)

class TestMetafile : public QObject
{
    Q_OBJECT

private slots:
    void drawing_data();
    void drawing();
    void symbolFont();
    void reader_data();
    void reader();
    void documentShare();
    void damaged_data();
    void damaged();
};

void TestMetafile::drawing_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<metafile::Kind>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QVector<Probe>>("probes");
    const auto wmf = metafile::Kind::Wmf;
    const auto emf = metafile::Kind::Emf;
    const QColor none = Qt::transparent;

    // Window of 1000 x 500 logical units on 200 x 100 pixels: 5 units a pixel.
    QTest::newRow("wmf: rectangle, null pen, red brush")
        << Wmf(QRect(0, 0, 1000, 500))
               .fillOnly(qRgb(255, 0, 0))
               .rectangle(100, 100, 500, 400)
               .bytes()
        << wmf << QSize(200, 100)
        << QVector<Probe> {only({22, 22, 56, 56}, Qt::red), only({0, 0, 200, 18}, none),
                           only({102, 0, 98, 100}, none)};
    QTest::newRow("wmf: window origin moved, placeable header")
        << Wmf(QRect(-500, -250, 1000, 500), true)
               .brush(0, qRgb(0, 0, 255))
               .select(0)
               .pen(5, 0, 0)
               .select(1)
               .rectangle(0, 0, 500, 250)
               .bytes()
        << wmf << QSize(200, 100)
        << QVector<Probe> {only({102, 52, 96, 46}, Qt::blue), only({0, 0, 98, 100}, none)};
    QTest::newRow("wmf: thick blue line, pen's width in logical units")
        << Wmf(QRect(0, 0, 1000, 500))
               .pen(0, 50, qRgb(0, 0, 255))
               .select(0)
               .moveTo(0, 250)
               .lineTo(1000, 250)
               .bytes()
        << wmf << QSize(200, 100)
        << QVector<Probe> {only({0, 47, 200, 6}, Qt::blue), only({0, 0, 200, 40}, none),
                           only({0, 60, 200, 40}, none)};
    // ScaleWindowExt by 2/1 across, 1/2 down: the window of 100 x 100 becomes 200 x 50.
    QTest::newRow("wmf: window extent scaled")
        << Wmf(QRect(0, 0, 100, 100))
               .rec(0x0410, {2, 1, 1, 2}) // y denominator and numerator, x's
               .fillOnly(qRgb(0, 0, 0))
               .rectangle(0, 0, 100, 25)
               .bytes()
        << wmf << QSize(100, 100)
        << QVector<Probe> {only({2, 2, 46, 46}, Qt::black), only({52, 0, 48, 100}, none),
                           only({0, 52, 100, 48}, none)};
    // Objects go to the lowest free slot: the brush made after deleting slot 0 is there.
    QTest::newRow("wmf: object table, lowest free slot")
        << Wmf(QRect(0, 0, 100, 100))
               .pen(5, 0, 0)
               .brush(0, qRgb(255, 0, 0))
               .select(0)
               .remove(0)
               .brush(0, qRgb(0, 255, 0))
               .select(0)
               .rectangle(0, 0, 100, 100)
               .bytes()
        << wmf << QSize(50, 50) << QVector<Probe> {only({0, 0, 50, 50}, Qt::green)};
    QTest::newRow("wmf: SaveDC, RestoreDC bring the brush back")
        << Wmf(QRect(0, 0, 200, 100))
               .pen(5, 0, 0)
               .select(0)
               .brush(0, qRgb(255, 0, 0))
               .brush(0, qRgb(0, 0, 255))
               .select(1)
               .rec(0x001E, {})
               .select(2)
               .rectangle(0, 0, 100, 100)
               .rec(0x0127, {-1})
               .rectangle(100, 0, 200, 100)
               .bytes()
        << wmf << QSize(200, 100)
        << QVector<Probe> {only({5, 5, 90, 90}, Qt::blue), only({105, 5, 90, 90}, Qt::red)};
    QTest::newRow("wmf: polypolygon with a hole, alternate fill")
        << Wmf(QRect(0, 0, 100, 100))
               .fillOnly(qRgb(0, 0, 0))
               .polyPolygon({QPolygon(QRect(0, 0, 100, 100)), QPolygon(QRect(30, 30, 40, 40))})
               .bytes()
        << wmf << QSize(100, 100)
        << QVector<Probe> {only({5, 5, 20, 20}, Qt::black), only({35, 35, 30, 30}, none)};
    QTest::newRow("wmf: same, winding fill")
        << Wmf(QRect(0, 0, 100, 100))
               .rec(0x0106, {2})
               .fillOnly(qRgb(0, 0, 0))
               .polyPolygon({QPolygon(QRect(0, 0, 100, 100)), QPolygon(QRect(30, 30, 40, 40))})
               .bytes()
        << wmf << QSize(100, 100) << QVector<Probe> {only({35, 35, 30, 30}, Qt::black)};
    // As an equation editor draws "v = d/t": italic letters on their baselines, a fraction bar.
    textRow("wmf: equation, baseline text and a bar")
        << Wmf(QRect(0, 0, 1200, 800))
               .font(-300, "Times New Roman", 0, true)
               .select(0)
               .textAlign(24)
               .bkMode(1)
               .textOut(50, 500, "v")
               .font(-300, "Symbol", 2)
               .select(1)
               .textOut(300, 500, "=")
               .select(0)
               .textOut(800, 300, "d")
               .textOut(800, 750, "t")
               .pen(5, 0, 0)
               .select(2)
               .brush(0, qRgb(0, 0, 0))
               .select(3)
               .rectangle(650, 400, 1100, 420)
               .bytes()
        << wmf << QSize(300, 200)
        << QVector<Probe> {some({10, 95, 40, 30}),
                           some({75, 95, 45, 30}),
                           some({195, 35, 45, 42}),
                           some({195, 150, 45, 42}),
                           only({170, 102, 100, 2}, Qt::black),
                           only({0, 0, 300, 20}, none),
                           only({0, 130, 150, 70}, none)};
    // A symbol font the machine lacks: its glyphs are not letters, nothing stands in for them.
    textRow("wmf: text of a missing symbol font left out")
        << Wmf(QRect(0, 0, 100, 100))
               .font(-50, "Zorglub Symbols", 2)
               .select(0)
               .textOut(10, 10, "abc")
               .font(-50, "Liberation Sans")
               .select(1)
               .textOut(10, 50, "abc")
               .bytes()
        << wmf << QSize(100, 100)
        << QVector<Probe> {only({0, 0, 100, 45}, none), some({10, 50, 80, 50})};
    // Top alignment puts the text below its point, bottom alignment above; centred text
    // spreads both sides; the bar's colour is the text colour's.
    textRow("wmf: text alignment and colour")
        << Wmf(QRect(0, 0, 400, 300))
               .font(-60, "Liberation Sans")
               .select(0)
               .textColor(qRgb(0, 0, 255))
               .bkMode(1)
               .textAlign(0)
               .textOut(10, 10, "MMM")
               .textAlign(8 | 6)
               .textOut(200, 290, "MMM")
               .bytes()
        << wmf << QSize(400, 300)
        << QVector<Probe> {some({10, 15, 60, 50}, Qt::blue), some({140, 230, 60, 55}, Qt::blue),
                           some({200, 230, 60, 55}, Qt::blue), only({0, 80, 400, 140}, none),
                           only({0, 0, 400, 9}, none)};
    // TA_UPDATECP: each text starts where the last ended, not at its own point.
    textRow("wmf: text from the current position")
        << Wmf(QRect(0, 0, 400, 100))
               .font(-60, "Liberation Sans")
               .select(0)
               .bkMode(1)
               .textAlign(1)
               .moveTo(10, 20)
               .textOut(0, 0, "MM")
               .textOut(0, 0, "MM")
               .bytes()
        << wmf << QSize(400, 100)
        << QVector<Probe> {only({0, 0, 9, 100}, none), some({10, 20, 40, 50}),
                           some({120, 20, 40, 50}), only({0, 0, 400, 18}, none)};
    // A quarter turn: the text goes up from its point, its letters' tops to the left.
    textRow("wmf: text turned by its font's escapement")
        << Wmf(QRect(0, 0, 200, 200))
               .font(-40, "Liberation Sans", 0, false, 900)
               .select(0)
               .bkMode(1)
               .textAlign(24)
               .textOut(100, 190, "MMMM")
               .bytes()
        << wmf << QSize(200, 200)
        << QVector<Probe> {some({65, 80, 35, 100}), only({110, 0, 90, 200}, none),
                           only({0, 0, 55, 200}, none), only({0, 192, 200, 8}, none)};
    // Shown twice as wide as high, the picture's letters widen with it.
    textRow("wmf: text widened with the picture")
        << Wmf(QRect(0, 0, 100, 100))
               .font(-50, "Liberation Sans")
               .select(0)
               .bkMode(1)
               .textOut(10, 10, "M")
               .bytes()
        << wmf << QSize(200, 100)
        << QVector<Probe> {some({20, 15, 10, 40}), some({75, 15, 10, 40}),
                           only({105, 0, 95, 100}, none)};
    textRow("wmf: opaque text background")
        << Wmf(QRect(0, 0, 200, 100))
               .font(-60, "Liberation Sans")
               .select(0)
               .rec(0x0201, {}, QByteArray::fromHex("00ff0000"))
               .textOut(10, 10, "_")
               .bytes()
        << wmf << QSize(200, 100) << QVector<Probe> {some({10, 10, 40, 60}, Qt::green)};
    // ExtTextOut with a rectangle to fill first, and an advance for each character.
    {
        QByteArray t;
        const QByteArray s = "II";
        for (int v : {10, 10, 2, 2}) // y, x, count, options (ETO_OPAQUE)
            put16(t, v);
        for (int v : {0, 0, 100, 50}) // the rectangle
            put16(t, v);
        t += s;
        put16(t, 150), put16(t, 10);
        textRow("wmf: ExtTextOut, opaque rectangle, advances")
            << Wmf(QRect(0, 0, 200, 100))
                   .font(-40, "Liberation Sans")
                   .select(0)
                   .bkMode(1)
                   .rec(0x0201, {}, QByteArray::fromHex("ffff0000"))
                   .rec(0x0A32, {}, t)
                   .bytes()
            << wmf << QSize(200, 100)
            << QVector<Probe> {only({40, 2, 50, 40}, Qt::yellow), only({0, 55, 200, 45}, none),
                               some({10, 10, 20, 40}), some({160, 10, 20, 40}),
                               only({100, 0, 50, 100}, none)};
    }
    {
        QByteArray t;
        for (int v : {10, 10, 1, 4, 0, 0, 200, 30}) // y, x, count, ETO_CLIPPED, the rectangle
            put16(t, v);
        t += "M";
        t += '\0';
        textRow("wmf: ExtTextOut clipped to its rectangle")
            << Wmf(QRect(0, 0, 200, 100))
                   .font(-80, "Liberation Sans")
                   .select(0)
                   .bkMode(1)
                   .rec(0x0A32, {}, t)
                   .bytes()
            << wmf << QSize(200, 100)
            << QVector<Probe> {some({10, 15, 60, 14}), only({0, 31, 200, 69}, none)};
    }
    // The viewport made half the picture's size: the window's drawing fills a quarter of it.
    QTest::newRow("wmf: viewport extent, ellipse and rounded rectangle")
        << Wmf(QRect(0, 0, 100, 100))
               .rec(0x020E, {50, 50})
               .fillOnly(qRgb(0, 0, 0))
               .ellipse(0, 0, 100, 100)
               .rec(0x061C, {80, 80, 200, 200, 100, 100})
               .bytes()
        << wmf << QSize(100, 100)
        << QVector<Probe> {only({20, 20, 10, 10}, Qt::black), only({0, 0, 5, 5}, none),
                           only({60, 60, 25, 25}, Qt::black), only({96, 96, 4, 4}, none),
                           only({55, 0, 45, 45}, none)};
    // Bitmaps: a top row of one colour, a bottom row of another, stretched on the picture.
    for (int bpp : {1, 4, 8, 24, 32}) {
        const QByteArray bits = dib(bpp, 3, qRgb(255, 0, 0), qRgb(0, 0, 255));
        QByteArray t;
        put32(t, 0x00CC0020); // SRCCOPY
        for (int v : {0, 2, 3, 0, 0, 100, 100, 0, 0}) // usage, source h w y x, dest h w y x
            put16(t, v);
        QTest::addRow("wmf: StretchDIB, %d bits", bpp)
            << Wmf(QRect(0, 0, 100, 100)).rec(0x0F43, {}, t + bits).bytes() << wmf << QSize(50, 50)
            << QVector<Probe> {only({0, 0, 50, 20}, Qt::red), only({0, 30, 50, 20}, Qt::blue)};
    }
    {
        QByteArray t;
        put32(t, 0x00CC0020);
        for (int v : {0, 0, 2, 3, 50, 50}) // y x source, h w, y x dest
            put16(t, v);
        QTest::newRow("wmf: DibBitBlt at its place, unscaled")
            << Wmf(QRect(0, 0, 100, 100))
                   .rec(0x0940, {}, t + dib(24, 3, qRgb(0, 255, 0), qRgb(0, 255, 0)))
                   .bytes()
            << wmf << QSize(100, 100)
            << QVector<Probe> {only({50, 50, 3, 2}, Qt::green), only({0, 0, 48, 100}, none)};
    }

    QTest::newRow("emf: stock black brush, null pen")
        << Emf().select(0x80000004).select(0x80000008).rectangle(100, 100, 500, 500).bytes() << emf
        << QSize(100, 100)
        << QVector<Probe> {only({12, 12, 36, 36}, Qt::black), only({52, 0, 48, 100}, none)};
    QTest::newRow("emf: created brush, deleted then made again")
        << Emf()
               .brush(1, qRgb(255, 0, 0))
               .rec(40, {1})
               .brush(1, qRgb(0, 128, 0))
               .select(1)
               .select(0x80000008)
               .rectangle(0, 0, 1000, 1000)
               .bytes()
        << emf << QSize(100, 100) << QVector<Probe> {only({2, 2, 96, 96}, QColor(0, 128, 0))};
    {
        // World transform: scale by 2 and move by 100, then a 100 x 100 rectangle at 100.
        QByteArray x;
        for (float f : {2.f, 0.f, 0.f, 2.f, 100.f, 100.f}) {
            quint32 bits;
            std::memcpy(&bits, &f, 4);
            put32(x, bits);
        }
        QTest::newRow("emf: world transform")
            << Emf()
                   .rec(35, {}, x)
                   .select(0x80000004)
                   .select(0x80000008)
                   .rectangle(100, 100, 200, 200)
                   .bytes()
            << emf << QSize(100, 100)
            << QVector<Probe> {only({31, 31, 18, 18}, Qt::black), only({0, 0, 28, 100}, none),
                               only({52, 0, 48, 100}, none)};
    }
    QTest::newRow("emf: StretchDIBits")
        << Emf()
               .rec(81, {0, 0, 0, 0, 0, 0, 0, 0, 3, 2, 80, 40, 120, 24, 0, 0x00CC0020, 1000, 1000},
                    dib(24, 3, qRgb(255, 0, 0), qRgb(0, 0, 255)))
               .bytes()
        << emf << QSize(100, 100)
        << QVector<Probe> {only({0, 0, 100, 45}, Qt::red), only({0, 55, 100, 45}, Qt::blue)};
    // A path of a triangle, filled; mapping mode in 0.1 mm with y upwards.
    QTest::newRow("emf: path filled, metric mapping")
        << Emf()
               .rec(17, {2}) // MM_LOMETRIC
               .select(0x80000004)
               .rec(59, {})
               .rec(27, {0, 0})
               .rec(54, {1000, 0})
               .rec(54, {0, -1000})
               .rec(61, {})
               .rec(60, {})
               .rec(62, {0, 0, 0, 0})
               .bytes()
        << emf << QSize(100, 100)
        << QVector<Probe> {only({5, 5, 40, 40}, Qt::black), only({70, 70, 30, 30}, none)};
    QTest::newRow("emf: blue pen, polyline16")
        << Emf()
               .pen(1, 0, 100, qRgb(0, 0, 255))
               .select(1)
               .rec(87, {0, 0, 0, 0, 2, (500 << 16) | 0, (500 << 16) | 1000})
               .bytes()
        << emf << QSize(100, 100)
        << QVector<Probe> {only({0, 47, 100, 6}, Qt::blue), only({0, 0, 100, 40}, none)};
    textRow("emf: text, Unicode") << Emf()
                                         .font(1, -200, QStringLiteral("Liberation Serif"))
                                         .select(1)
                                         .rec(18, {1})
                                         .text(100, 100, QStringLiteral("\u03B1\u03B2"))
                                         .bytes()
                                  << emf << QSize(100, 100)
                                  << QVector<Probe> {some({10, 10, 30, 25}),
                                                     only({0, 0, 100, 8}, none),
                                                     only({0, 40, 100, 60}, none)};

    {
        // A quarter turn of the world: text along the logical x axis goes up the picture.
        QByteArray x;
        for (float f : {0.f, -1.f, 1.f, 0.f, 0.f, 1000.f}) {
            quint32 bits;
            std::memcpy(&bits, &f, 4);
            put32(x, bits);
        }
        textRow("emf: text turned by the world transform")
            << Emf()
                   .rec(35, {}, x)
                   .font(1, -200, QStringLiteral("Liberation Sans"))
                   .select(1)
                   .rec(18, {1})
                   .rec(22, {24})
                   .text(100, 500, QStringLiteral("MMMM"))
                   .bytes()
            << emf << QSize(100, 100)
            << QVector<Probe> {some({33, 30, 17, 55}), only({55, 0, 45, 100}, none),
                               only({0, 0, 28, 100}, none)};
    }
    // Written by LibreOffice: see rtf/README.md.
    const QByteArray wmfDrawing = sample(QStringLiteral("libreoffice_dessin.wmf"));
    const QByteArray emfDrawing = sample(QStringLiteral("libreoffice_dessin.emf"));
    // 8 x 4 cm on 320 x 160: 40 pixels a centimetre.
    const QVector<Probe> drawing {only({24, 24, 72, 52}, Qt::red),
                                  some({140, 20, 60, 100}, Qt::green),
                                  only({160, 60, 20, 20}, Qt::green),
                                  some({20, 138, 280, 4}, Qt::blue),
                                  some({224, 32, 60, 48}),
                                  only({0, 0, 320, 16}, none)};
    textRow("LibreOffice drawing, wmf") << wmfDrawing << wmf << QSize(320, 160) << drawing;
    textRow("LibreOffice drawing, emf") << emfDrawing << emf << QSize(320, 160) << drawing;
    // The equation v = d/t, 904 x 998 units: ink where each part is, nothing elsewhere.
    textRow("LibreOffice equation v = d/t")
        << wmfOfSample(QStringLiteral("libreoffice_equation.rtf"), 0) << wmf << QSize(181, 200)
        << QVector<Probe> {some({0, 100, 40, 40}), some({120, 30, 40, 60}),
                           some({120, 130, 40, 60}), some({120, 92, 50, 10}),
                           only({60, 0, 50, 80}, none)};
}

void TestMetafile::drawing()
{
    QFETCH(QByteArray, data);
    QFETCH(metafile::Kind, kind);
    QFETCH(QSize, size);
    QFETCH(QVector<Probe>, probes);
    if (textRows().contains(QTest::currentDataTag()) && fontsMissing())
        QSKIP("No fonts on this platform");
    QVERIFY(!data.isEmpty());
    const QImage image = metafile::render(data, kind, size);
    keep(image, QTest::currentDataTag());
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    const QString fault = check(image, probes);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

// Symbol's bytes are its Greek letters, as are a Greek font's: both draw the same.
void TestMetafile::symbolFont()
{
    const auto draw = [](const char *face, int charset, const char *bytes) {
        return metafile::render(Wmf(QRect(0, 0, 100, 100))
                                    .font(-80, face, charset)
                                    .select(0)
                                    .textOut(10, 10, bytes)
                                    .bytes(),
                                metafile::Kind::Wmf, QSize(100, 100));
    };
    if (fontsMissing())
        QSKIP("No fonts on this platform");
    const QImage symbol = draw("Symbol", 2, "ap");
    const QImage greek = draw("Times New Roman", 161, "\xE1\xF0");
    const QImage latin = draw("Times New Roman", 0, "ap");
    keep(symbol, "Symbol font");
    QVERIFY(!symbol.isNull() && !latin.isNull());
    QVERIFY(check(symbol, {some(symbol.rect())}).isEmpty());
    QCOMPARE(symbol, greek);
    QVERIFY(symbol != latin);
}

// The reader shows metafiles as pictures of the size the file gives.
void TestMetafile::reader_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QSize>("firstSize");
    // LibreOffice gives each equation as PNG, then as a metafile for readers without PNG.
    QByteArray equations = samples::withoutGroups(
        sample(QStringLiteral("libreoffice_equation.rtf")), "{\\*\\shppict");
    equations.replace("{\\nonshppict", "{");
    // \picwgoal513 \pichgoal566 \picscalex165: 34.2 x 37.7 twips... in pixels, 56 x 38.
    QTest::newRow("LibreOffice equations, metafiles only") << equations << 4 << QSize(56, 38);
    const QByteArray emf = sample(QStringLiteral("libreoffice_dessin.emf")).toHex();
    QTest::newRow("enhanced metafile, size from its frame")
        << QByteArray("{\\rtf1 a{\\pict\\emfblip " + emf + "}b}") << 1 << QSize(302, 151);
    const QByteArray wmf = Wmf(QRect(0, 0, 100, 100)).rectangle(0, 0, 50, 50).bytes().toHex();
    QTest::newRow("windows metafile, \\picw in 0.01 mm")
        << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picw2540\\pich1270 " + wmf + "}}") << 1
        << QSize(96, 48);
    QTest::newRow("equation object's metafile")
        << QByteArray("{\\rtf1 a{\\object\\objemb{\\*\\objclass Equation.3}{\\*\\objdata 0102}"
                      "{\\result{\\pict\\wmetafile8\\picwgoal300\\pichgoal150 "
                      + wmf + "}}}b}")
        << 1 << QSize(20, 10);
}

void TestMetafile::reader()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, pictures);
    QFETCH(QSize, firstSize);
    QTextDocument doc;
    QVERIFY(richtext::readRtf(rtf, &doc));
    const QString text = doc.toPlainText();
    QVERIFY2(!text.contains(QLatin1String("[image]"))
                 && !text.contains(QString::fromUtf8("[équation]")),
             qPrintable(text));
    QVector<QTextImageFormat> images;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                images << it.fragment().charFormat().toImageFormat();
    QCOMPARE(images.size(), pictures);
    if (!qEnvironmentVariableIsEmpty("METAFILE_PNG_TO")) { // the page as the pane shows it
        doc.setTextWidth(600);
        QImage page(doc.size().toSize(), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        doc.drawContents(&painter);
        painter.end();
        keep(page,
             qPrintable(QString::fromUtf8(QTest::currentDataTag()) + QStringLiteral(" page")));
    }
    QCOMPARE(QSizeF(images[0].width(), images[0].height()).toSize(), firstSize);
    for (const QTextImageFormat &f : images) {
        const QImage image
            = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
        keep(image, qPrintable(QString::fromUtf8(QTest::currentDataTag()) + f.name()));
        // Drawn at twice its size on the page, with ink.
        QCOMPARE(image.width(), qCeil(f.width() * 2));
        QVERIFY(check(image, {some(image.rect())}).isEmpty());
    }
}

// A few bytes of metafile make a large image: a document's pictures have a share of memory, the
// ones past it keep the placeholder.
void TestMetafile::documentShare()
{
    const QByteArray wmf = Wmf(QRect(0, 0, 10, 10)).rectangle(0, 0, 5, 5).bytes().toHex();
    // 1000 x 1000 pixels on the page, drawn at 2000 x 2000: four fill the share.
    const QByteArray picture = "{\\pict\\wmetafile8\\picwgoal15000\\pichgoal15000 " + wmf + "}";
    QTextDocument doc;
    QVERIFY(richtext::readRtf("{\\rtf1 " + picture.repeated(6) + "}", &doc));
    QCOMPARE(doc.toPlainText(), QStringLiteral("\uFFFC\uFFFC\uFFFC\uFFFC[image][image]"));
}

// Damaged and hostile files: a null image, no crash, no endless work.
void TestMetafile::damaged_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<metafile::Kind>("kind");
    QTest::addColumn<bool>("drawn"); // a picture is still made of what could be read
    const auto wmf = metafile::Kind::Wmf;
    const auto emf = metafile::Kind::Emf;
    const QByteArray good = Wmf(QRect(0, 0, 100, 100)).rectangle(0, 0, 50, 50).bytes();
    const QByteArray lo = wmfOfSample(QStringLiteral("libreoffice_equation.rtf"), 1);
    const QByteArray goodEmf = Emf().rectangle(0, 0, 50, 50).bytes();

    QTest::newRow("wmf: empty") << QByteArray() << wmf << false;
    QTest::newRow("wmf: truncated in a record") << lo.left(lo.size() / 2) << wmf << false;
    QTest::newRow("wmf: no end record") << good.left(good.size() - 6) << wmf << false;
    QByteArray lying = good;
    lying[18 + 10 + 0] = char(0xFF); // the window extent's record says it is 65535 words long
    lying[18 + 10 + 1] = char(0xFF);
    QTest::newRow("wmf: record length past the end") << lying << wmf << false;
    QByteArray zero = good;
    zero[18 + 10] = 0; // a record of no length would be read forever
    QTest::newRow("wmf: record of length 0") << zero << wmf << false;
    QTest::newRow("wmf: polygon count past its record")
        << Wmf(QRect(0, 0, 100, 100)).rec(0x0324, {30000, 0, 0, 10, 10}).bytes() << wmf << false;
    QTest::newRow("wmf: polypolygon counts past its record")
        << Wmf(QRect(0, 0, 100, 100)).rec(0x0538, {2, 3, 65535, 0, 0, 1, 1, 2, 2}).bytes() << wmf
        << false;
    QTest::newRow("wmf: text length past its record")
        << Wmf(QRect(0, 0, 100, 100)).rec(0x0521, {5000, 0x4141}).bytes() << wmf << false;
    QTest::newRow("wmf: object index out of range")
        << Wmf(QRect(0, 0, 100, 100)).select(40).bytes() << wmf << false;
    QTest::newRow("wmf: more objects than the table")
        << Wmf(QRect(0, 0, 100, 100)).brush(0, 0).brush(0, 0).brush(0, 0).select(2).bytes(2) << wmf
        << false;
    {
        QByteArray t;
        put32(t, 0x00CC0020);
        for (int v : {0, 2, 3, 0, 0, 100, 100, 0, 0})
            put16(t, v);
        QByteArray bits = dib(24, 3, 0, 0);
        bits[4] = char(0xFF); // 255 pixels wide: more rows than given
        QTest::newRow("wmf: bitmap larger than its bits")
            << Wmf(QRect(0, 0, 100, 100)).rec(0x0F43, {}, t + bits).bytes() << wmf << false;
        QByteArray wide = dib(24, 3, 0, 0);
        wide[4] = 0, wide[5] = 0, wide[6] = char(0x80); // 8 million pixels wide
        QTest::newRow("wmf: bitmap of millions of pixels")
            << Wmf(QRect(0, 0, 100, 100)).rec(0x0F43, {}, t + wide).bytes() << wmf << true;
    }
    // LibreOffice 7.4 gives its bitmaps' metafile a window and a bitmap of no size.
    QTest::newRow("wmf: window of no size")
        << wmfOfSample(QStringLiteral("libreoffice_lentille.rtf"), 0) << wmf << false;
    QTest::newRow("wmf: no window, no placeable header")
        << good.left(18) + good.mid(38) << wmf << false;
    QTest::newRow("wmf: huge coordinates, fonts and pens")
        << Wmf(QRect(0, 0, 1, 1))
               .pen(1, 32767, 0)
               .select(0)
               .font(-32768, "Times New Roman")
               .select(1)
               .textOut(-32768, 32767, QByteArray(200, 'W'))
               .ellipse(-32768, -32768, 32767, 32767)
               .moveTo(-32768, -32768)
               .lineTo(32767, 32767)
               .bytes()
        << wmf << true;
    {
        Wmf many(QRect(0, 0, 100, 100));
        many.brush(0, qRgb(1, 2, 3)).select(0);
        for (int i = 0; i < 20000; ++i)
            many.rectangle(0, 0, 100, 100);
        QTest::newRow("wmf: 20 000 fills of the whole picture") << many.bytes() << wmf << true;
    }
    QTest::newRow("emf: truncated") << goodEmf.left(goodEmf.size() - 10) << emf << false;
    QTest::newRow("emf: not a header") << goodEmf.mid(4) << emf << false;
    QByteArray emfLying = goodEmf;
    emfLying[88 + 7] = char(0x7F); // the rectangle's record claims more than the file
    QTest::newRow("emf: record length past the end") << emfLying << emf << false;
    QTest::newRow("emf: polygon count past its record")
        << Emf().rec(3, {0, 0, 0, 0, 0x10000000, 0, 0}).bytes() << emf << false;
    QTest::newRow("emf: polypolygon16 counts past its points")
        << Emf().rec(91, {0, 0, 0, 0, 2, 3, 3, 3, 0, 0, 0}).bytes() << emf << false;
    QTest::newRow("emf: object index out of range") << Emf().select(100).bytes(8) << emf << false;
    QTest::newRow("emf: object made past the table") << Emf().brush(9, 0).bytes(8) << emf << false;
    QTest::newRow("emf: text's string past its record")
        << Emf().rec(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 100000, 76, 0, 0, 0, 0, 0, 0}).bytes() << emf
        << false;
}

void TestMetafile::damaged()
{
    QFETCH(QByteArray, data);
    QFETCH(metafile::Kind, kind);
    QFETCH(bool, drawn);
    QElapsedTimer clock;
    clock.start();
    const QImage image = metafile::render(data, kind, QSize(400, 400));
    QCOMPARE(!image.isNull(), drawn);
    QVERIFY2(clock.elapsed() < 10000, "too long");
    // In a document: the placeholder where nothing could be drawn.
    QTextDocument doc;
    const QByteArray rtf = "{\\rtf1 a{\\pict"
        + QByteArray(kind == metafile::Kind::Wmf ? "\\wmetafile8" : "\\emfblip")
        + "\\picwgoal600\\pichgoal600 " + data.toHex() + "}b}";
    QVERIFY(richtext::readRtf(rtf, &doc));
    QCOMPARE(doc.toPlainText(), drawn ? QStringLiteral("a\uFFFCb") : QStringLiteral("a[image]b"));
}

QTEST_MAIN(TestMetafile)
#include "tst_metafile.moc"
