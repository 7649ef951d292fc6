// Time of the calculator's evaluator on long expressions: it rewrites the whole text at every
// step, so the time grows faster than the length.
#include "benchmarks/benchmain.h"
#include "calculator/calcule.h"

#include <string>

namespace {
// A valid expression of about `bytes` characters: groups, the four operations and a power.
std::string expressionOf(size_t bytes)
{
    static const std::string unit = "(1.5+2)*3-4/2+2^3+";
    std::string text;
    while (text.size() + unit.size() < bytes)
        text += unit;
    return text + "1";
}

// Argument: the length of the expression in bytes.
void BM_Calcule(benchmark::State &state)
{
    const std::string expression = expressionOf(size_t(state.range(0)));
    for (auto _ : state) {
        std::string work = expression;
        int erreur = 0;
        calc::calcule(work, erreur, false);
        benchmark::DoNotOptimize(work);
        if (erreur != calc::Succes)
            state.SkipWithError("the expression does not evaluate");
    }
    state.SetComplexityN(state.range(0));
}
} // namespace

BENCHMARK(BM_Calcule)
    ->ArgName("bytes")
    ->Arg(1024)
    ->Arg(4096)
    ->Arg(16384)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
