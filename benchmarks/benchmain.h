// What every figure benchmark shares: the canvas sizes it runs at. main() is in benchmain.cpp.
#pragma once

#include <benchmark/benchmark.h>

// The designed canvas and the enlarged one.
inline void canvasSizes(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"width", "height"})
        ->Args({784, 265})
        ->Args({784, 501})
        ->Unit(benchmark::kMicrosecond);
}
