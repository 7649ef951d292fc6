// Time of one complete redraw of the figure, the step every typed value, drag step and option
// click waits for.
#include "bench/figure.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

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

BENCHMARK(BM_TelescopeDragStep)
    ->ArgNames({"width", "height"})
    ->Args({784, 265})
    ->Args({784, 501})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Majaff)
    ->ArgNames({"width", "height"})
    ->Args({784, 265}) // the designed canvas
    ->Args({784, 501}) // enlarged
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    // The canvas prints its labels with Qt's fonts, which need a GUI application.
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
