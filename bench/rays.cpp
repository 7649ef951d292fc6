#include "bench/rays.h"

#include "bench/frame.h"
#include "bench/primitives.h"
#include "bench/telescopefigure.h"
#include "platform/canvas.h"
#include "platform/numbers.h"

#include <QPointF>
#include <algorithm>
#include <cmath>

namespace {
// Farther than this from the other end, an end of a prolongation is brought back along the
// segment: whole canvas units that far would bend it, and the canvas never shows them.
constexpr double kReach = 100000;
// Pi to 8 digits for the light from infinity through C, a little finer than kDegree: the
// ray's rounded points follow it.
constexpr double kPi = 3.1415927;
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

// A segment that may end very far (B' of an object near F, a telescope set for it): only the
// end farther from the canvas is brought back. Dotted segments carry no arrow.
void traced(FigureFrame &f, QPointF from, QPointF to, int style)
{
    const bool fromIsFar = extent(from) > extent(to);
    const QPoint a = fromIsFar ? withinReach(from, rounded(to)) : rounded(from);
    const QPoint b = fromIsFar ? rounded(to) : withinReach(to, a);
    tracerayon(*f.canvas, f.coulray, a.x(), a.y(), b.x(), b.y(), style,
               style == Canvas::Solid ? f.o.placerapp : 0);
}

void dotted(FigureFrame &f, QPointF from, QPointF to)
{
    traced(f, from, to, Canvas::Dot);
}

bool prolongationsAsked(const FigureFrame &f)
{
    return f.in->check[0] && f.xS < f.xI;
}

// The three families differ after the secondary mirror in where the ray through F meets it,
// in where their emerging rays go and in their dotted prolongations.
enum class Family { Parallel, ThroughCentre, ThroughFocus };

QPointF toward(QPointF from, QPointF through, double y)
{
    if (through.y() == from.y())
        return {from.x(), y};
    return {from.x() + (y - from.y()) * (through.x() - from.x()) / (through.y() - from.y()), y};
}

// The part of a ray below the secondary mirror, in canvas units.
struct Folded
{
    QPointF hit; // on the secondary mirror
    QPointF lens; // where it crosses the lens
    QPointF target; // the point the emerging ray runs through: B2, or F'2 for the ray through F
    QPointF end; // the emerging ray's end, below the canvas
};

// B' beyond the secondary mirror: the reflected ray is prolonged to it. The ray through C has
// its own prolongation to B', drawn before it reflects.
bool imageBeyondHit(const FigureFrame &f, QPointF hit, Family family)
{
    switch (family) {
    case Family::Parallel:
        return f.o.xima < f.o.xplan;
    case Family::ThroughFocus:
        return f.xI < hit.x();
    case Family::ThroughCentre:
        break;
    }
    return false;
}

// The dotted segments that locate B' behind the secondary mirror, a virtual B'1 above it and a
// virtual final image B2.
void foldedProlongations(FigureFrame &f, const Folded &r, Family family)
{
    if (imageBeyondHit(f, r.hit, family))
        dotted(f, imageTip(f), r.hit);
    const QPointF b1 = foldedImageTip(f);
    if (b1.y() < r.hit.y())
        dotted(f, r.hit, family == Family::ThroughFocus ? QPointF(r.hit.x(), b1.y()) : b1);
    // Also below a lens off the canvas: the prolongations towards B2 may still cross it.
    if (!(f.t.oa2 < 0))
        return;
    const QPointF b2 = finalImageTip(f);
    if (family == Family::Parallel) {
        dotted(f, r.end, b2);
        return;
    }
    const double top = std::max(b2.y(), f.canvas->scaleTop());
    dotted(f, r.lens, toward(r.lens, r.target, top));
}

// A ray after the secondary mirror: folded down to the lens, then refracted towards the final
// image, or F'2 for the ray through F, which runs parallel to the second axis.
void foldedRay(FigureFrame &f, const BenchLine &l, QPointF hit, Family family)
{
    const bool throughFocus = family == Family::ThroughFocus;
    Folded r;
    r.hit = hit;
    const double yLens = throughFocus ? f.yL : lensY(f);
    r.lens = rounded({throughFocus ? hit.x() : f.foldedX(l.pente, l.ordo, yLens), yLens});
    traced(f, hit, r.lens, Canvas::Solid);
    r.target = throughFocus ? lensImageFocus(f) : finalImageTip(f);
    const double bottom = f.canvas->scaleHeight() + (family == Family::Parallel ? 0 : 10);
    r.end = rounded(toward(r.lens, r.target, bottom));
    // A lens below that end would send the emerging ray back up across the figure.
    if (r.lens.y() < bottom)
        traced(f, r.lens, r.end, Canvas::Solid);
    if (f.in->check[0])
        foldedProlongations(f, r, family);
}

// Where a reflected ray on bench line `l` meets the secondary mirror, when it does on its
// way from the spherical mirror; the ray through F meets it above the image point.
bool mirrorHit(const FigureFrame &f, const BenchLine &l, Family family, QPointF *hit)
{
    if (family == Family::ThroughFocus) {
        *hit = QPointF(f.xP + canvasUnit(f.o.hima * f.echelle), f.yI);
        return hit->x() <= f.xS;
    }
    const double x = mirrorCrossing(l.pente, l.ordo, f.o.xplan);
    if (!(x <= f.o.xsommet))
        return false;
    *hit = rounded({x * f.echelle, f.canvasY(l.pente, l.ordo, x * f.echelle)});
    return true;
}

// The reflected part of a ray: to the canvas's left edge, or in telescope mode to the
// secondary mirror and on to the lens. A ray that passes beside the mirror's line keeps going.
void reflected(FigureFrame &f, const BenchLine &l, QPoint from, Family family)
{
    QPointF hit;
    if (f.telescope && mirrorHit(f, l, family, &hit)) {
        traced(f, from, hit, Canvas::Solid);
        foldedRay(f, l, hit, family);
        return;
    }
    solid(f, from, onCanvas(f, l, f.canvas->scaleLeft()));
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
    reflected(f, l, hit, Family::Parallel);
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
        ? through(o.xcentre - 10, 10 * std::tan(o.angapp * kPi / 180), o.xcentre, 0)
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
    if (f.telescope && f.in->check[0] && o.xima < o.xobjet) // B' left of the object
        dotted(f, imageTip(f), QPointF(o.xobjet * e, kAxis - o.hobjet * e));
    reflected(f, l, hit, Family::ThroughCentre);
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
    reflected(f, BenchLine {0, o.hima}, hit, Family::ThroughFocus);
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
