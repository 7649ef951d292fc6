// Time of the outputs painted from the display list: the figure at a device pixel ratio of 2,
// as a high-density screen shows it after each change, and the SVG and PDF exports.
#include "bench/figure.h"
#include "benchmarks/benchmain.h"
#include "output/figureexport.h"
#include "platform/canvas.h"
#include "platform/figurepainter.h"
#include "platform/sharedvalues.h"

namespace {

// The telescope scene with the rays, the whole beam and the graduated axes: the most items.
Canvas drawnTelescope(int width, int height)
{
    Canvas canvas(width, height);
    canvas.setScaleLeft(-10);
    canvas.setScaleTop(4);
    SceneInputs in = SceneInputs::defaults();
    for (int i : {1, 2, 5, 6, 7, 11, 13, 14, 17})
        in.check[size_t(i)] = true;
    SharedValues shared;
    shared.longaxe = 60;
    majaff(canvas, in, shared);
    return canvas;
}

// A redraw and its painting at ratio 2, as a drag step makes them.
void BM_RedrawAtRatio2(benchmark::State &state)
{
    Canvas canvas = drawnTelescope(int(state.range(0)), int(state.range(1)));
    SceneInputs in = SceneInputs::defaults();
    for (int i : {1, 2, 5, 6, 7, 11, 13, 14, 17})
        in.check[size_t(i)] = true;
    SharedValues shared;
    shared.longaxe = 60;
    // The window keeps its painted image from one step to the next.
    QImage sharp;
    for (auto _ : state) {
        majaff(canvas, in, shared);
        figurepainter::render(sharp, canvas.displayList(), 2);
        benchmark::DoNotOptimize(sharp.constBits());
    }
}

// The figure on a 1920-pixel projector in full screen: zoomed 2.45 times, in the projector's
// style.
void BM_FullScreenPaint(benchmark::State &state)
{
    const Canvas canvas = drawnTelescope(int(state.range(0)), int(state.range(1)));
    QImage sharp;
    for (auto _ : state) {
        figurepainter::render(sharp, canvas.displayList(), 1920.0 / 784, {3, 2.0});
        benchmark::DoNotOptimize(sharp.constBits());
    }
}

void BM_ExportSvg(benchmark::State &state)
{
    const Canvas canvas = drawnTelescope(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            figureexport::svg(canvas.displayList(), QStringLiteral("Optalis")));
}

void BM_ExportPdf(benchmark::State &state)
{
    const Canvas canvas = drawnTelescope(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            figureexport::pdf(canvas.displayList(), QStringLiteral("Optalis")));
}

} // namespace

BENCHMARK(BM_RedrawAtRatio2)->Apply(canvasSizes);
BENCHMARK(BM_FullScreenPaint)->Apply(canvasSizes);
BENCHMARK(BM_ExportSvg)->Apply(canvasSizes);
BENCHMARK(BM_ExportPdf)->Apply(canvasSizes);
