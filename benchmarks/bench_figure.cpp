// Time of one complete redraw of the figure, the step every typed value, drag step and option
// click waits for.
#include "bench/figure.h"
#include "benchmarks/benchmain.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"

namespace {
// The start-up scene with the three principal rays and the whole beam.
SceneInputs raysAndBeam()
{
    SceneInputs in = SceneInputs::defaults();
    for (int i : {1, 2, 5, 7, 11, 13, 14})
        in.check[size_t(i)] = true;
    return in;
}

Canvas figureCanvas(int width, int height)
{
    Canvas canvas(width, height);
    canvas.setScaleLeft(-10);
    canvas.setScaleTop(4);
    return canvas;
}

// Arguments: canvas width and height in pixels.
void BM_Majaff(benchmark::State &state)
{
    Canvas canvas = figureCanvas(int(state.range(0)), int(state.range(1)));
    const SceneInputs in = raysAndBeam();
    SharedValues shared;
    shared.longaxe = 60;
    for (auto _ : state) {
        const FigureOutput out = majaff(canvas, in, shared);
        benchmark::DoNotOptimize(out.drawn);
    }
}

// One step of dragging the secondary mirror in telescope mode, with the beam and the graduated
// axes: a new position written into its field, then the redraw.
void BM_TelescopeDragStep(benchmark::State &state)
{
    Canvas canvas = figureCanvas(int(state.range(0)), int(state.range(1)));
    SceneInputs in = raysAndBeam();
    in.check[6] = true;
    in.check[17] = true;
    SharedValues shared;
    shared.longaxe = 60;
    int step = 0;
    for (auto _ : state) {
        // A millimetre per step across 4 cm, the image passing from before to beyond the mirror.
        in.text[2] = numbers::formatPattern(46.0 + 0.1 * (step++ % 40), shared.fmtnum);
        const FigureOutput out = majaff(canvas, in, shared);
        benchmark::DoNotOptimize(out.drawn);
    }
}
} // namespace

BENCHMARK(BM_TelescopeDragStep)->Apply(canvasSizes);

BENCHMARK(BM_Majaff)->Apply(canvasSizes);
