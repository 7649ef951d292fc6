// The calculator's evaluator: any bytes as an expression, in degrees and in radians, then both
// display forms of the answer.
#include "calculator/calcnumber.h"
#include "calculator/calcule.h"
#include "fuzz/fuzzqt.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {
void evaluate(const std::string &expression, bool radians)
{
    std::string work = expression;
    int erreur = -1;
    calc::calcule(work, erreur, radians);
    fuzzCheck(erreur >= calc::Succes && erreur <= calc::Operateurs, "unknown error code");
    double value = 0.0;
    if (erreur != calc::Succes || !calcnumber::read(work, &value))
        return;
    fuzzCheck(std::isfinite(value), "a read answer is not finite");
    const std::string standard = calcnumber::write(value);
    const std::string scientific = calcnumber::writeScientific(value);
    double again = 0.0;
    fuzzCheck(calcnumber::read(standard, &again), "the standard form does not read back");
    fuzzCheck(calcnumber::read(scientific, &again), "the scientific form does not read back");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string expression(reinterpret_cast<const char *>(data), size);
    evaluate(expression, false);
    evaluate(expression, true);
    return 0;
}
