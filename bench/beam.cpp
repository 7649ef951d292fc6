#include "bench/beam.h"

#include "bench/frame.h"
#include "bench/primitives.h"
#include "bench/telescopefigure.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace {
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
    // The reflected light goes no further than the secondary mirror's line.
    const bool stopped = f.telescope && stage == BeamStage::Reflected;
    for (int k = int(first); k <= int(last); ++k) {
        const int x = from + k * step;
        double y1 = std::clamp(l1.at(x), -kClamp, kClamp);
        double y2 = std::clamp(l2.at(x), -kClamp, kClamp);
        if (stopped) {
            const double mirror = f.xP - x + kAxis;
            y1 = std::max(y1, mirror);
            y2 = std::max(y2, mirror);
        }
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

// A line x = a * y + b on the canvas, for the light running down the second axis.
struct SideLine
{
    double a = 0, b = 0;
    double at(double y) const { return a * y + b; }
};

SideLine foldOf(const FigureFrame &f, ExtremeRay ray)
{
    double pente = 0, ordo = 0;
    extremeRay(f.o, ray, &pente, &ordo);
    const double x0 = f.foldedX(pente, ordo, 0);
    return {f.foldedX(pente, ordo, 1) - x0, x0};
}

// The line through two canvas points of different heights.
SideLine sideLine(QPointF p, QPointF q)
{
    const double a = (q.x() - p.x()) / (q.y() - p.y());
    return {a, p.x() - a * p.y()};
}

// Below the secondary mirror: the folded beam converges on A'1B'1, crosses there and reaches
// the lens, which sends it towards A2B2. Horizontal strokes every 2 units, each between the
// two edges of its region; ends beyond the secondary mirror's line are brought onto it.
void foldedStage(FigureFrame &f)
{
    const double yA1 = foldedImageY(f), yLens = lensY(f);
    const QPointF b2 = finalImageTip(f), a2(f.xP, b2.y());
    const SideLine toA1 = foldOf(f, BottomToA), toB1 = foldOf(f, TopToB);
    const QPointF lensA(toA1.at(yLens), yLens), lensB(toB1.at(yLens), yLens);
    // Past the lens the edges run towards the final image, which never lies on the lens.
    const bool refracted = b2.y() != yLens;
    const struct
    {
        double until;
        SideLine l1, l2;
    } regions[] = {
        {yA1, foldOf(f, TopToA), foldOf(f, BottomToB)},
        {yLens, toA1, toB1},
        {refracted ? HUGE_VAL : yLens, refracted ? sideLine(lensA, a2) : SideLine {},
         refracted ? sideLine(lensB, b2) : SideLine {}},
    };
    // The beam starts where the highest extreme ray meets the mirror, at that point's whole
    // canvas abscissa, which sets the parity of the rows.
    const double x1 = f.t.xmiroir[TopToA];
    double y = std::isfinite(x1) ? double(f.xP) - canvasUnit(x1 * f.echelle) + kAxis : yA1;
    const Canvas &c = *f.canvas;
    const double top = c.scaleTop() - 2, bottom = c.scaleTop() + c.scaleHeight() + 1;
    if (y < top) // only the rows on the canvas are walked, on the same two-unit lattice
        y += 2 * std::ceil((top - y) / 2);
    const bool white = f.in->check[12], perStage = f.in->check[4];
    size_t region = 0;
    for (; y <= bottom; y += 2) {
        while (region < 3 && !(y < regions[region].until))
            ++region;
        if (region == 3)
            return;
        const double mirror = f.xP - y + kAxis;
        const double xa = std::max(std::clamp(regions[region].l1.at(y), -kClamp, kClamp), mirror);
        const double xb = std::max(std::clamp(regions[region].l2.at(y), -kClamp, kClamp), mirror);
        if (xa == xb)
            continue;
        f.canvas->line(xa, y, xb, y,
                       beamColour(std::fabs(xb - xa), BeamStage::Folded, white, perStage));
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
    if (f.telescope && f.o.xima <= f.o.xplan)
        foldedStage(f);
}
