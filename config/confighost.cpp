// The values a configuration file holds, as they stand in the main window.
#include "config/confighost.h"

#include "config/configfile.h"
#include "platform/sharedvalues.h"

ConfigValues readControls(ConfigHost &host)
{
    ConfigValues v;
    const SharedValues &sv = host.shared();
    v.combo1 = host.combo1Index();
    v.nzoom = sv.nzoom;
    v.longaxe = sv.longaxe;
    v.echelle = sv.echelle;
    for (int n = 1; n <= 3; ++n)
        v.hscroll[size_t(n - 1)] = host.hscrollValue(n);
    v.check2 = host.check2();
    for (int k = 0; k < 18; ++k)
        v.check1[size_t(k)] = host.check1(k);
    for (int k = 0; k < 9; ++k)
        v.text1[size_t(k)] = host.text1(k);
    return v;
}

ControlRanges controlRanges(const ConfigHost &host)
{
    ControlRanges r;
    r.combo1Count = host.combo1Count();
    for (int n = 1; n <= 3; ++n) {
        r.hscrollMinimum[size_t(n - 1)] = host.hscrollMinimum(n);
        r.hscrollMaximum[size_t(n - 1)] = host.hscrollMaximum(n);
    }
    return r;
}
