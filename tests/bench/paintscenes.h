// Scenes that together draw every kind of item the figure has, for the painting tests.
#pragma once
#include "bench/figure.h"
#include "platform/canvas.h"
#include "platform/sharedvalues.h"
#include <QFontMetricsF>
#include <functional>
#include <vector>

struct PaintScene
{
    const char *name;
    int longaxe;
    std::function<void(SceneInputs &)> set;
};

inline SceneInputs paintStart()
{
    SceneInputs in = SceneInputs::defaults();
    for (int i : {1, 2, 7, 11, 13, 14})
        in.check[size_t(i)] = true;
    return in;
}

inline const std::vector<PaintScene> &paintScenes()
{
    static const std::vector<PaintScene> scenes = {
        {"default", 60, [](SceneInputs &) {}},
        {"white background", 60, [](SceneInputs &in) { in.check[12] = true; }},
        {"virtual image", 100, [](SceneInputs &in) { in.text[4] = QStringLiteral("55,0"); }},
        {"red rays", 100,
         [](SceneInputs &in) {
             in.text[4] = QStringLiteral("55,0");
             in.check[0] = true;
         }},
        {"infinity", 60,
         [](SceneInputs &in) {
             in.check2 = true;
             in.hscroll3 = 50;
         }},
        {"telescope", 60, [](SceneInputs &in) { in.check[6] = true; }},
        {"telescope on white", 60,
         [](SceneInputs &in) {
             in.check[6] = true;
             in.check[12] = true;
         }},
        {"graduation", 60, [](SceneInputs &in) { in.check[17] = true; }},
        {"graduation of the telescope", 60,
         [](SceneInputs &in) {
             in.check[17] = true;
             in.check[6] = true;
         }},
        {"beam", 60, [](SceneInputs &in) { in.check[5] = true; }},
        {"beam per stage on white", 60,
         [](SceneInputs &in) {
             in.check[5] = true;
             in.check[4] = true;
             in.check[12] = true;
         }},
        {"beam from infinity", 60,
         [](SceneInputs &in) {
             in.check[5] = true;
             in.check2 = true;
             in.hscroll3 = 50;
         }},
        {"arrow on the ray", 60,
         [](SceneInputs &in) {
             in.check[8] = true;
             in.check[9] = true;
             in.hscroll1 = 5;
         }},
    };
    return scenes;
}

inline void drawPaintScene(Canvas &c, const PaintScene &s)
{
    c.setScaleLeft(-10);
    c.setScaleTop(4);
    SceneInputs in = paintStart();
    s.set(in);
    SharedValues sv;
    sv.longaxe = int16_t(s.longaxe);
    majaff(c, in, sv);
}

// The box a label covers, in surface units.
inline QRectF textBox(const DisplayList &list, const DisplayItem &it)
{
    const DisplayText &t = list.texts[size_t(it.x1)];
    const QFontMetricsF fm(t.font);
    return QRectF(t.baseline.x(), t.baseline.y() - fm.ascent(), fm.horizontalAdvance(t.text),
                  fm.height());
}
