// Time of one complete redraw of the figure, the step every typed value, drag step and option
// click waits for.
#include "bench/figure.h"
#include "platform/canvas.h"
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
} // namespace

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
