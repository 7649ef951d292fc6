#include "bench/scene.h"

#include "platform/numbers.h"

#include <cfloat>
#include <cmath>

SceneInputs SceneInputs::defaults()
{
    SceneInputs in;
    in.text = {QStringLiteral("60,0"), QStringLiteral("10,0"), QStringLiteral("48,0"),
               QStringLiteral("10,0"), QStringLiteral("0,0"),  QStringLiteral("3,0"),
               QStringLiteral("8,0"),  QStringLiteral("8,0"),  QStringLiteral("8,0")};
    return in;
}

double angappOf(const SceneInputs &in)
{
    return in.hscroll3 / 10.0;
}

namespace {
// xima is single precision; a double beyond its range becomes an infinity, not undefined
// behaviour.
float single(double v)
{
    if (std::fabs(v) > double(FLT_MAX) && std::isfinite(v))
        return v < 0 ? -HUGE_VALF : HUGE_VALF;
    return float(v);
}
} // namespace

PassResult computeOptics(const SceneInputs &in, float echelle, double scaleLeft, Optics *o)
{
    Optics r;
    r.atInfinity = in.check2;
    r.angapp = angappOf(in);
    r.placerapp = in.check[9] ? in.hscroll1 / 10.0 : 0.0;

    const auto value = [&in](int i) { return numbers::fieldValue(in.text[size_t(i)]); };
    r.xsommet = value(0);
    r.focale = std::fabs(value(1));
    r.xplan = value(2);
    r.focalent = value(3);
    r.xobjet = value(4);
    r.hobjet = value(5);
    r.dmonture = value(6);
    r.ylentille = value(8);

    if (r.atInfinity) {
        // The object stands 20 units left of the bench origin, outside the canvas.
        r.xobjet = 2 * scaleLeft / echelle;
        r.hobjet = std::fabs(r.xobjet - r.xsommet) * std::tan(r.angapp * kDegree);
    }
    if (r.xobjet == r.xsommet) {
        *o = r;
        return PassResult::ObjectAtMirror;
    }

    r.xcentre = r.xsommet - 2 * r.focale;
    r.xfoyer = r.xsommet - r.focale;
    r.sa = value(4) - r.xsommet;
    if (r.sa + r.focale == 0) // object at F: a very far but finite image
        r.sa = -r.focale - 0.0001;
    if (r.atInfinity) {
        r.sapr = -r.focale;
        r.hima = -r.focale * std::tan(r.angapp * kDegree);
    } else {
        r.sapr = -r.focale * r.sa / (r.sa + r.focale);
        r.hima = -r.hobjet * r.sapr / r.sa;
    }
    r.xima = single(r.xsommet + r.sapr);
    r.xima2 = r.xima;
    if (double(r.xima) - r.xplan == 0)
        r.xima2 = single(r.xplan + 0.0001);
    r.hima2 = r.hima;
    *o = r;
    return PassResult::Done;
}
