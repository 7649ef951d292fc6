#include "bench/rays.h"

#include "bench/figure.h"
#include "bench/primitives.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

#include <QPointF>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kAxis = 135;
constexpr double kDegree = 0.017453292;
// Farther than this from the other end, an end of a prolongation is brought back along the
// segment: whole canvas units that far would bend it, and the canvas never shows them.
constexpr double kReach = 100000;
using numbers::roundEven;

// A bench line y = pente * x + ordo, in cm.
struct BenchLine
{
    double pente = 0, ordo = 0;
    double at(double x) const { return pente * x + ordo; }
};

BenchLine through(double x1, double y1, double x2, double y2)
{
    BenchLine l;
    droite(x1, y1, x2, y2, l.pente, l.ordo);
    return l;
}

QPoint onCanvas(const FigureFrame &f, const BenchLine &l, double x)
{
    return {roundEven(x), roundEven(f.canvasY(l.pente, l.ordo, x))};
}

// B' in canvas units, unrounded: it can lie very far when the object is near F.
QPointF imageTip(const FigureFrame &f)
{
    const double e = f.echelle;
    return {f.o.sapr * e + f.xS, kAxis - f.o.hima * e};
}

// The mount test: a ray inside it keeps `coulray`; outside, it is drawn red only when rays
// outside the mount are asked for, and not at all otherwise.
bool passesMount(FigureFrame &f, bool inside)
{
    if (inside)
        return true;
    if (!f.in->check[8])
        return false;
    f.coulray = f.pal.red;
    f.redRays = true;
    return true;
}

void solid(FigureFrame &f, QPoint from, QPoint to)
{
    tracerayon(*f.canvas, f.coulray, from.x(), from.y(), to.x(), to.y(), Canvas::Solid,
               f.o.placerapp);
}

QPoint rounded(QPointF p)
{
    return {roundEven(p.x()), roundEven(p.y())};
}

double extent(QPointF p)
{
    return std::max(std::fabs(p.x()), std::fabs(p.y()));
}

QPoint withinReach(QPointF p, QPoint anchor)
{
    const QPointF d = p - anchor;
    const double span = extent(d);
    if (span > kReach)
        p = anchor + d * (kReach / span);
    return rounded(p);
}

// Only the end farther from the canvas (B' of an object near F) may need bringing back.
void dotted(FigureFrame &f, QPointF from, QPointF to)
{
    const bool fromIsFar = extent(from) > extent(to);
    const QPoint a = fromIsFar ? withinReach(from, rounded(to)) : rounded(from);
    const QPoint b = fromIsFar ? rounded(to) : withinReach(to, a);
    tracerayon(*f.canvas, f.coulray, a.x(), a.y(), b.x(), b.y(), Canvas::Dot, 0);
}

bool prolongationsAsked(const FigureFrame &f)
{
    return f.in->check[0] && f.xS < f.xI;
}

// Where a reflected ray on bench line `l` stops: the canvas's left edge. In telescope mode
// the secondary mirror catches it first; its hit point belongs here.
QPoint reflectedEnd(const FigureFrame &f, const BenchLine &l)
{
    return onCanvas(f, l, f.canvas->scaleLeft());
}

void reflected(FigureFrame &f, const BenchLine &l, QPoint from)
{
    solid(f, from, reflectedEnd(f, l));
}

void parallelRay(FigureFrame &f)
{
    const Optics &o = f.o;
    if (!passesMount(f, f.hD >= f.hB))
        return;
    const int yB = kAxis - f.hB;
    solid(f, {f.xA, yB}, {f.xS, yB});
    const BenchLine l = through(o.xsommet, o.hobjet, o.xima, o.hima);
    const QPoint hit = onCanvas(f, l, f.xS);
    reflected(f, l, hit);
    if (!prolongationsAsked(f))
        return;
    if (f.xI < f.canvas->scaleLeft())
        dotted(f, hit, onCanvas(f, l, f.canvas->scaleLeft()));
    else
        dotted(f, imageTip(f), hit);
}

void rayThroughCentre(FigureFrame &f)
{
    const Optics &o = f.o;
    if (!o.atInfinity && !(std::fabs(o.sa + 2 * o.focale) > 1))
        return; // object at C: the ray would be its own reflection
    const double e = f.echelle;
    const BenchLine l = o.atInfinity
        ? through(o.xcentre - 10, 10 * std::tan(o.angapp * kDegree), o.xcentre, 0)
        : through(o.xobjet, o.hobjet, o.xcentre, 0);
    const double yMirror = l.at(o.xsommet);
    if (!passesMount(f, std::fabs(yMirror) <= o.dmonture))
        return;
    const QPoint hit(f.xS, roundEven(kAxis - yMirror * e));
    const QPoint start = o.atInfinity
        ? onCanvas(f, l, f.canvas->scaleLeft())
        : QPoint(roundEven(o.xobjet * e), roundEven(kAxis - o.hobjet * e));
    solid(f, start, hit);
    if (prolongationsAsked(f))
        dotted(f, hit, imageTip(f));
    reflected(f, l, hit);
}

void rayThroughFocus(FigureFrame &f)
{
    const Optics &o = f.o;
    if (!o.atInfinity && !(std::fabs(o.sa + o.focale) > 1))
        return; // object at F: the reflected ray would never meet the image
    if (!passesMount(f, std::fabs(o.hima) <= o.dmonture))
        return;
    int yStart = kAxis - f.hB;
    if (o.atInfinity) // on the inclination of the incoming light, at the object's abscissa
        yStart = roundEven(f.yI - (double(f.xS) - f.xA) * std::tan(o.angapp * kDegree));
    const QPoint hit(f.xS, f.yI);
    solid(f, {f.xA, yStart}, hit);
    reflected(f, BenchLine {0, o.hima}, hit);
    // Prolonged like the two others, so that the three prolongations meet at B'.
    if (prolongationsAsked(f))
        dotted(f, hit, imageTip(f));
}
} // namespace

void drawRays(FigureFrame &f)
{
    const QRgb coulray = f.coulray;
    const bool parallel = f.in->check[14] && !f.o.atInfinity;
    const struct
    {
        bool asked;
        void (*draw)(FigureFrame &);
    } families[] = {
        {parallel, parallelRay},
        {f.in->check[1], rayThroughCentre},
        {f.in->check[13], rayThroughFocus},
    };
    for (const auto &family : families) {
        if (!family.asked)
            continue;
        family.draw(f);
        f.coulray = coulray;
    }
}
