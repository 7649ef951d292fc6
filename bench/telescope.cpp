#include "bench/telescope.h"

#include "bench/primitives.h"
#include "platform/numbers.h"

#include <cmath>
#include <limits>

namespace {
using numbers::roundEven;

// What the telescope steps of one pass decided.
struct Verdict
{
    enum Kind { Settled, Rewrite, Impossible } kind = Settled;
    int field = 0;
    double value = 0;
};

Verdict rewrite(int field, double value)
{
    return {Verdict::Rewrite, field, value};
}

// Half-size of the secondary mirror: how far along x from its centre the extreme rays meet
// it, the rays to A' counted above the axis and those to B' below.
double mirrorHalfSize(const Optics &o, TelescopeOptics *t)
{
    for (int ray = TopToA; ray <= TopToB; ++ray) {
        double pente = 0, ordo = 0;
        extremeRay(o, ExtremeRay(ray), &pente, &ordo);
        t->xmiroir[size_t(ray)] = mirrorCrossing(pente, ordo, o.xplan);
    }
    const auto &x = t->xmiroir;
    double e = x[TopToA] > o.xplan ? std::fabs(o.xplan - x[TopToA]) : 0;
    const auto widen = [&](double xr, bool above) {
        const double d = std::fabs(o.xplan - xr);
        if (d > e && (above ? xr > o.xplan : xr < o.xplan))
            e = d;
    };
    widen(x[BottomToA], true);
    widen(x[BottomToB], false);
    widen(x[TopToB], false);
    return e;
}

// Half-aperture the lens needs: the lateral offsets of the folded edge rays at its depth.
double lensHalfAperture(const Optics &o)
{
    double reach[2] = {0, 0};
    const ExtremeRay rays[2] = {TopToB, BottomToA};
    for (int i = 0; i < 2; ++i) {
        double pente = 0, ordo = 0;
        extremeRay(o, rays[i], &pente, &ordo);
        reach[i] = std::fabs(foldedLateral(pente, ordo, o.xplan, o.ylentille));
    }
    return std::max(reach[0], reach[1]);
}

// The telescope steps of a pass. A' is checked first: no correction moves it, so a
// configuration refused now would be refused at every pass, and refusing it before the lens
// correction leaves no field rewritten for a telescope that is switched off anyway.
Verdict telescopeSteps(const Optics &o, float echelle, TelescopeOptics *t)
{
    const int xS = roundEven(o.xsommet * echelle);
    const int xI = roundEven(o.sapr * echelle + xS);
    if (xI >= xS)
        return {Verdict::Impossible};
    // The lens must stand beyond the folded image.
    if (o.xplan - double(o.xima) >= o.ylentille)
        return rewrite(8, (o.xplan - double(o.xima)) + 0.1);
    lensRelation(o, t);
    t->emiroir = mirrorHalfSize(o, t);
    if (o.xsommet - o.xplan < t->emiroir)
        return rewrite(2, double(o.xima) - o.hima);
    t->emiroir *= echelle;
    t->rlentille = lensHalfAperture(o);
    if (o.ylentille < t->rlentille)
        return rewrite(8, t->rlentille + 0.5);
    return {};
}
} // namespace

void extremeRay(const Optics &o, ExtremeRay ray, double *pente, double *ordo)
{
    const double edge = (ray == TopToA || ray == TopToB) ? o.dmonture : -o.dmonture;
    const double tip = (ray == TopToA || ray == BottomToA) ? 0 : o.hima;
    droite(o.xsommet, edge, o.xima, tip, *pente, *ordo);
}

double mirrorCrossing(double pente, double ordo, double xplan)
{
    double mp = 0, mo = 0;
    droite(xplan, 0, xplan + 100, 100, mp, mo);
    if (mp - pente == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return (ordo - mo) / (mp - pente);
}

void lensRelation(const Optics &o, TelescopeOptics *t)
{
    t->oa1 = (o.xplan - double(o.xima2)) - o.ylentille;
    const double vergence = 1 / t->oa1 + 1 / o.focalent;
    t->oa2 = std::fabs(vergence) <= 0.0001 ? -100000 : 1 / vergence;
    t->hfinale = o.hima * t->oa2 / t->oa1;
}

PassOutcome computationPass(const SceneInputs &in, float echelle, double scaleLeft,
                            const QString &fmtnum)
{
    PassOutcome out;
    SceneInputs work = in; // corrections rewrite this copy; the window gets them afterwards
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        out.result = computeOptics(work, echelle, scaleLeft, &out.o);
        out.t = TelescopeOptics {};
        if (out.result != PassResult::Done || !work.check[6])
            return out;
        const Verdict v = telescopeSteps(out.o, echelle, &out.t);
        if (v.kind == Verdict::Settled) {
            out.telescope = true;
            return out;
        }
        if (v.kind == Verdict::Impossible) {
            out.failure = TelescopeFailure::ImageBehindMirror;
            return out;
        }
        const QString text = numbers::formatPattern(v.value, fmtnum);
        work.text[size_t(v.field)] = text;
        out.rewrites.push_back({v.field, text});
    }
    out.failure = TelescopeFailure::TooManyPasses;
    return out;
}
