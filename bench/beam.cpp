#include "bench/beam.h"

#include "bench/figure.h"
#include "bench/primitives.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kAxis = 135;
// Stroke ends are kept this close to the canvas, so a far image never stretches the beam.
constexpr double kClamp = 1000;
using numbers::roundEven;

// A line on the canvas, y = a * x + b in canvas units.
struct CanvasLine
{
    double a = 0, b = 0;
    double at(double x) const { return a * x + b; }
};

CanvasLine benchLine(const FigureFrame &f, double x1, double y1, double x2, double y2)
{
    double pente = 0, ordo = 0;
    droite(x1, y1, x2, y2, pente, ordo);
    return {-pente, f.canvasY(pente, ordo, 0)};
}

// Vertical strokes between two lines at x = from, from + step, ... as far as `to`. Only the
// columns on the canvas are walked: a far image may put `to` millions of units away.
void verticalStrokes(FigureFrame &f, BeamStage stage, int from, int to, int step,
                     const CanvasLine &l1, const CanvasLine &l2)
{
    const Canvas &c = *f.canvas;
    const double lo = std::floor(c.scaleLeft()) - 1;
    const double hi = std::ceil(c.scaleLeft() + c.scaleWidth()) + 1;
    const double count = std::floor((double(to) - from) / step);
    const double first = std::max(0.0, std::ceil(((step > 0 ? lo : hi) - from) / step));
    const double last = std::min(count, std::floor(((step > 0 ? hi : lo) - from) / step));
    if (first > last)
        return;
    const bool white = f.in->check[12], perStage = f.in->check[4];
    for (int k = int(first); k <= int(last); ++k) {
        const int x = from + k * step;
        const double y1 = std::clamp(l1.at(x), -kClamp, kClamp);
        const double y2 = std::clamp(l2.at(x), -kClamp, kClamp);
        if (y1 == y2)
            continue;
        f.canvas->line(x, y1, x, y2, beamColour(std::fabs(y2 - y1), stage, white, perStage));
    }
}

// From the object to the mirror: the light of A and of B that the mount lets in.
void incidentStage(FigureFrame &f)
{
    const Optics &o = f.o;
    if (o.atInfinity) {
        // Parallel light from the direction of B above, along the axis from A below.
        const CanvasLine top = benchLine(f, o.xobjet, o.hobjet + o.dmonture, o.xsommet, o.dmonture);
        verticalStrokes(f, BeamStage::Incident, roundEven(f.canvas->scaleLeft()), f.xS, 1, top,
                        CanvasLine {0, double(kAxis + f.hD)});
        return;
    }
    const CanvasLine top = benchLine(f, o.xobjet, o.hobjet, o.xsommet, o.dmonture);
    const CanvasLine bottom = benchLine(f, o.xobjet, 0, o.xsommet, -o.dmonture);
    verticalStrokes(f, BeamStage::Incident, f.xA, f.xS, 1, top, bottom);
}

// From the mirror leftwards: the beam converges on A'B' and crosses there, or diverges from
// a virtual image behind the mirror.
void reflectedStage(FigureFrame &f)
{
    const Optics &o = f.o;
    const double xima = o.xima;
    const int left = roundEven(f.canvas->scaleLeft());
    const CanvasLine topToA = benchLine(f, o.xsommet, o.dmonture, xima, 0);
    const CanvasLine bottomToB = benchLine(f, o.xsommet, -o.dmonture, xima, o.hima);
    if (f.xI >= f.xS) {
        verticalStrokes(f, BeamStage::Reflected, f.xS, left, -2, topToA, bottomToB);
        return;
    }
    verticalStrokes(f, BeamStage::Reflected, f.xS, f.xI, -2, topToA, bottomToB);
    if (left < f.xI) {
        const CanvasLine bottomToA = benchLine(f, o.xsommet, -o.dmonture, xima, 0);
        const CanvasLine topToB = benchLine(f, o.xsommet, o.dmonture, xima, o.hima);
        verticalStrokes(f, BeamStage::Reflected, f.xI, left, -2, bottomToA, topToB);
    }
}
} // namespace

QRgb beamColour(double w, BeamStage stage, bool whiteBackground, bool perStage)
{
    if (!perStage)
        stage = BeamStage::Incident;
    if (whiteBackground) {
        switch (stage) {
        case BeamStage::Incident:
            return qRgb(200, 230, 250);
        case BeamStage::Reflected:
            return qRgb(250, 200, 230);
        case BeamStage::Folded:
            return qRgb(200, 250, 230);
        }
    }
    int r = 0, g = 0, b = 45; // a very wide beam is at its darkest
    if (!(w > 1999)) {
        const double dimming = w / 265 * 200;
        r = std::max(0, roundEven(155 - dimming));
        g = std::max(0, roundEven(205 - dimming));
        b = std::max(45, roundEven(255 - dimming));
    }
    switch (stage) {
    case BeamStage::Reflected:
        return qRgb(b, r, g);
    case BeamStage::Folded:
        return qRgb(r, b, g);
    case BeamStage::Incident:
        break;
    }
    return qRgb(r, g, b);
}

void drawBeam(FigureFrame &f)
{
    incidentStage(f);
    reflectedStage(f);
    // The light folded by the secondary mirror of telescope mode is the third stage.
}
