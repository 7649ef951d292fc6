// Time of one drag step as the main window makes it: the dragged element's field is written,
// every field is validated, and the figure is redrawn. It links the main window's library for
// testpos, so it stands apart from the figure benchmarks.
#include "bench/figure.h"
#include "benchmarks/benchmain.h"
#include "mainwindow/testpos.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"

#include <QLineEdit>
#include <memory>

namespace {
// The default fields with the given boxes ticked.
struct Scene
{
    std::array<std::unique_ptr<QLineEdit>, 9> fields;
    std::array<QLineEdit *, 9> Text1 {};
    SceneInputs in = SceneInputs::defaults();

    explicit Scene(std::initializer_list<int> ticked)
    {
        for (size_t i = 0; i < 9; ++i) {
            fields[i] = std::make_unique<QLineEdit>(in.text[i]);
            Text1[i] = fields[i].get();
        }
        for (int i : ticked)
            in.check[size_t(i)] = true;
    }

    SceneInputs read()
    {
        for (size_t i = 0; i < 9; ++i)
            in.text[i] = Text1[i]->text();
        return in;
    }
};

// Writes `field` with successive values from `first` by tenths, validates, redraws.
// Arguments: canvas width and height in pixels.
void runSteps(benchmark::State &state, Scene &scene, int field, double first)
{
    Canvas canvas(int(state.range(0)), int(state.range(1)));
    canvas.setScaleLeft(-10);
    canvas.setScaleTop(4);
    SharedValues shared;
    shared.longaxe = 60;
    int step = 0;
    for (auto _ : state) {
        const double value = first + 0.1 * (step++ % 40);
        scene.Text1[size_t(field)]->setText(numbers::formatPattern(value, shared.fmtnum));
        testpos(scene.Text1, shared.longaxe, shared.fmtnum);
        const FigureOutput out = majaff(canvas, scene.read(), shared);
        for (const FieldRewrite &r : out.rewrites)
            scene.Text1[size_t(r.index)]->setText(r.text);
        benchmark::DoNotOptimize(out.drawn);
    }
}

// The telescope scene with the rays, the whole beam and the graduated axes.
void BM_DragSecondaryMirror(benchmark::State &state)
{
    Scene scene({1, 2, 5, 6, 7, 11, 13, 14, 17});
    runSteps(state, scene, 2, 46.0);
}

// A value typed into the object position of the default scene, with the three rays and beam.
void BM_TypedValueStep(benchmark::State &state)
{
    Scene scene({1, 2, 5, 7, 11, 13, 14});
    runSteps(state, scene, 4, 0.0);
}
} // namespace

BENCHMARK(BM_TypedValueStep)->Apply(canvasSizes);

BENCHMARK(BM_DragSecondaryMirror)->Apply(canvasSizes);
