// A printer that prints nothing: it records the pages, texts, pictures and shapes a job sends
// it, on an A4 page at 1200 dots per inch, and can be told to fail.
#pragma once

#include <QPageLayout>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPrintEngine>
#include <QPrinter>
#include <QTextItem>
#include <vector>

class RecordingEngine : public QPaintEngine, public QPrintEngine
{
public:
    static constexpr int kDpi = 1200;

    struct Text
    {
        int page;
        QPointF baseline;
        QString text;
        QFont font;
    };
    struct Picture
    {
        int page;
        QRectF target; // device pixels
        QSize size;
        QPageLayout::Orientation orientation;
    };

    struct Shape
    {
        int page;
        QRectF bounds; // device pixels
        bool filled; // a filled area, else a stroke
        QRgb color;
        QPageLayout::Orientation orientation;
    };

    RecordingEngine()
        : QPaintEngine(QPaintEngine::AllFeatures)
        , layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                 QPageLayout::Millimeter)
    {
    }

    bool failBegin = false;
    bool failNewPage = false;
    int pages = 0;
    int jobs = 0;
    bool aborted = false;
    int copyCount = 1;
    QPageLayout layout;
    std::vector<Text> texts;
    std::vector<Picture> pictures;
    std::vector<Shape> shapes;

    // Paint engine.
    bool begin(QPaintDevice *) override
    {
        if (failBegin)
            return false;
        ++jobs;
        pages = 1;
        state = QPrinter::Active;
        return true;
    }
    bool end() override
    {
        if (state == QPrinter::Active)
            state = QPrinter::Idle;
        return true;
    }
    void updateState(const QPaintEngineState &s) override
    {
        if (s.state() & QPaintEngine::DirtyTransform)
            transform = s.transform();
        if (s.state() & QPaintEngine::DirtyPen)
            pen = s.pen();
        if (s.state() & QPaintEngine::DirtyBrush)
            brush = s.brush();
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            shapes.push_back({pages, transform.mapRect(rects[i]), true, brush.color().rgb(),
                              layout.orientation()});
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QLineF l = transform.map(lines[i]);
            shapes.push_back({pages, QRectF(l.p1(), l.p2()).normalized(), false, pen.color().rgb(),
                              layout.orientation()});
        }
    }
    void drawPath(const QPainterPath &path) override
    {
        shapes.push_back({pages, transform.map(path).boundingRect(), false, pen.color().rgb(),
                          layout.orientation()});
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode) override
    {
        const QPolygonF polygon(QList<QPointF>(points, points + count));
        shapes.push_back({pages, transform.map(polygon).boundingRect(), true, brush.color().rgb(),
                          layout.orientation()});
    }
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &) override
    {
        pictures.push_back({pages, r, pm.size(), layout.orientation()});
    }
    void drawImage(const QRectF &r, const QImage &image, const QRectF &,
                   Qt::ImageConversionFlags) override
    {
        pictures.push_back({pages, r, image.size(), layout.orientation()});
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        texts.push_back({pages, p, item.text(), item.font()});
    }
    Type type() const override { return QPaintEngine::User; }

    // Print engine.
    void setProperty(PrintEnginePropertyKey key, const QVariant &value) override
    {
        if (key == PPK_Orientation)
            layout.setOrientation(QPageLayout::Orientation(value.toInt()));
        else if (key == PPK_QPageLayout)
            layout = value.value<QPageLayout>();
        else if (key == PPK_CopyCount || key == PPK_NumberOfCopies)
            copyCount = value.toInt();
    }
    QVariant property(PrintEnginePropertyKey key) const override
    {
        switch (key) {
        case PPK_Orientation:
            return int(layout.orientation());
        case PPK_QPageLayout:
            return QVariant::fromValue(layout);
        case PPK_QPageSize:
            return QVariant::fromValue(layout.pageSize());
        case PPK_CopyCount:
        case PPK_NumberOfCopies:
            return copyCount;
        case PPK_Resolution:
            return kDpi;
        case PPK_OutputFileName:
            return QStringLiteral("enregistreur.pdf"); // a named output, so a usable one
        case PPK_SupportsMultipleCopies:
            return true;
        default:
            return QVariant();
        }
    }
    bool newPage() override
    {
        if (failNewPage)
            return false;
        ++pages;
        return true;
    }
    bool abort() override
    {
        aborted = true;
        state = QPrinter::Aborted;
        return true;
    }
    int metric(QPaintDevice::PaintDeviceMetric m) const override
    {
        const QRect paint = layout.paintRectPixels(kDpi);
        switch (m) {
        case QPaintDevice::PdmWidth:
            return paint.width();
        case QPaintDevice::PdmHeight:
            return paint.height();
        case QPaintDevice::PdmWidthMM:
            return qRound(layout.paintRect(QPageLayout::Millimeter).width());
        case QPaintDevice::PdmHeightMM:
            return qRound(layout.paintRect(QPageLayout::Millimeter).height());
        case QPaintDevice::PdmDpiX:
        case QPaintDevice::PdmDpiY:
        case QPaintDevice::PdmPhysicalDpiX:
        case QPaintDevice::PdmPhysicalDpiY:
            return kDpi;
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmNumColors:
            return INT_MAX;
        case QPaintDevice::PdmDevicePixelRatio:
            return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }
    QPrinter::PrinterState printerState() const override { return state; }

    // The first shape of each page: the figure's background, where the job placed the figure.
    std::vector<Shape> backgrounds() const
    {
        std::vector<Shape> first;
        for (const Shape &s : shapes)
            if (first.empty() || first.back().page != s.page)
                first.push_back(s);
        return first;
    }

    // Usable area of a landscape page in twips, as the job sees it.
    QSizeF pageTwips() const
    {
        QPageLayout landscape = layout;
        landscape.setOrientation(QPageLayout::Landscape);
        const QSize px = landscape.paintRectPixels(kDpi).size();
        return QSizeF(px.width() * 1440.0 / kDpi, px.height() * 1440.0 / kDpi);
    }

private:
    QPrinter::PrinterState state = QPrinter::Idle;
    QTransform transform;
    QPen pen;
    QBrush brush;
};

// The engine is a base so that it outlives the printer that uses it.
struct RecordingEngineHolder
{
    RecordingEngine engine;
};

class RecordingPrinter : public RecordingEngineHolder, public QPrinter
{
public:
    RecordingPrinter() { setEngines(&engine, &engine); }
};
