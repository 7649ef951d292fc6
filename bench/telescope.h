// Telescope mode: a plane secondary mirror at 45 degrees folds the light of the spherical
// mirror onto a second axis, where a converging lens forms the final image. The computation
// pass moves the mirror and the lens into a working place, rewriting their fields.
#pragma once

#include "bench/scene.h"

#include <QString>
#include <array>
#include <vector>

// Why the telescope could not be drawn; the window then clears the telescope box and says so.
enum class TelescopeFailure {
    None,
    ImageBehindMirror, // drawn as outside telescope mode
    TooManyPasses // nothing drawn
};

// A field that a telescope correction rewrote, to be written back into the window.
struct FieldRewrite
{
    int index;
    QString text;
};

// The extreme rays of the spherical mirror's mount: from its top or bottom edge to A' or B'.
enum ExtremeRay { TopToA = 0, BottomToA = 1, BottomToB = 2, TopToB = 3 };

// The secondary mirror and the lens of one pass, in cm unless stated.
struct TelescopeOptics
{
    double oa1 = 0, oa2 = 0, hfinale = 0;
    double emiroir = 0; // half-size of the secondary mirror, in canvas units once accepted
    double rlentille = 0; // half-aperture of the lens
    // Abscissas where the extreme rays meet the secondary mirror; NaN when parallel to it.
    std::array<double, 4> xmiroir {};
};

// Bench line (pente, ordo) of an extreme ray.
void extremeRay(const Optics &o, ExtremeRay ray, double *pente, double *ordo);

// Abscissa where the bench line y = pente * x + ordo meets the secondary mirror, the line
// y = x - xplan; NaN when the two are parallel.
double mirrorCrossing(double pente, double ordo, double xplan);

// Lateral offset, right of the second axis, where the fold of the bench line y = pente * x +
// ordo reaches `depth` below the main axis: the point of that line at x = xplan - depth.
inline double foldedLateral(double pente, double ordo, double xplan, double depth)
{
    return pente * (xplan - depth) + ordo;
}

// The lens relation; oa2 is -100000 when the vergence is within 0.0001 of zero.
void lensRelation(const Optics &o, TelescopeOptics *t);

constexpr int kMaxPasses = 50;

// The computation pass, repeated while a telescope correction rewrites a field.
struct PassOutcome
{
    PassResult result = PassResult::Done;
    TelescopeFailure failure = TelescopeFailure::None;
    bool telescope = false; // the pass settled in telescope mode
    Optics o;
    TelescopeOptics t;
    std::vector<FieldRewrite> rewrites; // in the order they were made
};

PassOutcome computationPass(const SceneInputs &in, float echelle, double scaleLeft,
                            const QString &fmtnum);
