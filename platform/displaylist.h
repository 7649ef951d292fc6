// The figure as a list of drawing operations in surface units (one unit per logical pixel,
// origin at the surface's top-left corner): what every output paints, from screen to file.
#pragma once

#include <QFont>
#include <QPointF>
#include <QRgb>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

struct DisplayItem
{
    enum Kind : uint8_t { Line, FilledBox, Text, Handle };
    Kind kind = Line;
    bool dotted = false;
    // Line: end pixels, both drawn. FilledBox and Handle: corners, both inside. Text: index in
    // DisplayList::texts.
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QRgb color = 0;
};

struct DisplayText
{
    QPointF baseline; // left end of the baseline
    QString text;
    QFont font;
};

struct DisplayList
{
    QSize size;
    QRgb back = 0xff000000;
    std::vector<DisplayItem> items;
    std::vector<DisplayText> texts;
    // Changes with every item and clearing, so a painted copy knows when it is stale.
    uint64_t generation = 0;

    void clear(QRgb backColor)
    {
        back = backColor;
        items.clear();
        texts.clear();
        ++generation;
    }
};
