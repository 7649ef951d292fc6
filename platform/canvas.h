// The drawing surface of the figure and of the painted panels: a persistent image with a
// user scale of one unit per pixel, lines in a colour and style, and positioned text.
#pragma once

#include "platform/displaylist.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <vector>

class Canvas
{
public:
    enum DrawStyle { Solid = 0, Dot = 2 };

    // One drawing operation, kept when recording so tests can check the geometry.
    struct Op
    {
        enum Kind { Clear, Line, Box, FilledBox, Text };
        Kind kind;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        QRgb color = 0;
        int style = Solid;
        QString text;
    };

    explicit Canvas(int pixelWidth = 784, int pixelHeight = 265);

    // Resizing keeps what fits of the drawing; the rest is background.
    void resize(int pixelWidth, int pixelHeight);
    int pixelWidth() const { return m_image.width(); }
    int pixelHeight() const { return m_image.height(); }

    void setScaleLeft(double left) { m_left = left; }
    void setScaleTop(double top) { m_top = top; }
    double scaleLeft() const { return m_left; }
    double scaleTop() const { return m_top; }
    double scaleWidth() const { return m_image.width(); }
    double scaleHeight() const { return m_image.height(); }

    void cls();
    void setBackColor(QRgb color);
    QRgb backColor() const { return m_back; }
    void setForeColor(QRgb color) { m_fore = color; }
    QRgb foreColor() const { return m_fore; }
    void setDrawStyle(int style) { m_style = style; }
    int drawStyle() const { return m_style; }

    // Both end points are drawn; one unit wide, aliased.
    void line(double x1, double y1, double x2, double y2, QRgb color);
    void box(double x1, double y1, double x2, double y2, QRgb color, bool filled = false);

    double currentX = 0;
    double currentY = 0;
    // Prints at (currentX, currentY) as the top-left corner. Staying on the line leaves
    // currentX after the text; ending the line moves to the left edge of the next line.
    void print(const QString &text, bool endLine = true);

    void setFontName(const QString &name);
    void setFontSize(double points);
    void setFontBold(bool bold);
    QString fontName() const { return m_fontName; }
    double fontSize() const { return m_fontSize; }
    bool fontBold() const { return m_bold; }
    double textWidth(const QString &text) const;
    double textHeight(const QString &text = QStringLiteral("A")) const;
    const QFont &font() const { return m_font; }

    const QImage &image() const { return m_image; }
    QRgb pixel(double x, double y) const; // in canvas units

    // What was drawn since the surface was last cleared, for painting it anywhere else.
    const DisplayList &displayList() const { return m_list; }
    // The place of a drag handle, drawn by nobody: outputs that enlarge handles read it.
    void markHandle(double x1, double y1, double x2, double y2);

    void setRecording(bool on);
    const std::vector<Op> &ops() const { return m_ops; }
    void clearOps() { m_ops.clear(); }

private:
    void record(Op::Kind kind, double x1, double y1, double x2, double y2, QRgb color,
                const QString &text = QString());
    // An item between two points in user units, in the list's surface units.
    DisplayItem itemAt(DisplayItem::Kind kind, double x1, double y1, double x2, double y2) const;
    void draw(const DisplayItem &item);
    void updateFont();

    QImage m_image;
    double m_left = 0;
    double m_top = 0;
    QRgb m_back = 0xff000000;
    QRgb m_fore = 0xff000000;
    int m_style = Solid;
    QString m_fontName = QStringLiteral("Arial");
    double m_fontSize = 8;
    bool m_bold = false;
    QFont m_font;
    DisplayList m_list;
    bool m_recording = false;
    std::vector<Op> m_ops;
};
