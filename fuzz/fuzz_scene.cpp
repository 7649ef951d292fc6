// The scene: the nine field texts, the option boxes, the scroll values, the axis length, the
// precision and the canvas size, through testpos and the redraw into an offscreen canvas.
//
// Input: 3 bytes of option boxes (Check1 0..17, then Check2), HScroll1, HScroll3 (2 bytes), the
// scale index, the precision, the canvas width and height (2 bytes each), then the nine field
// texts in UTF-8, one a line. Bytes are taken modulo what the controls accept.
#include "bench/figure.h"
#include "fuzz/fuzzqt.h"
#include "mainwindow/testpos.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"

#include <QLineEdit>
#include <cstddef>
#include <cstdint>

namespace {
constexpr int kZoomTable[13] = {50, 60, 70, 80, 90, 100, 200, 300, 400, 500, 1000, 2000, 5000};
const char *const kPatterns[3] = {"##############0.0", "##############0.00", "##############0.000"};
constexpr size_t kHeader = 12;

struct Input
{
    const uint8_t *data;
    size_t size;

    unsigned byte(size_t i) const { return i < size ? data[i] : 0u; }
    unsigned word(size_t i) const { return byte(i) | byte(i + 1) << 8; }
};

std::array<QLineEdit *, 9> &fields()
{
    static std::array<QLineEdit *, 9> f = [] {
        std::array<QLineEdit *, 9> made {};
        for (QLineEdit *&e : made)
            e = new QLineEdit;
        return made;
    }();
    return f;
}

// What testpos promises: every field a number in the pattern, within its limit.
void checkFields(const std::array<QLineEdit *, 9> &text1, int longaxe)
{
    for (int i = 0; i < 9; ++i) {
        double v = 0;
        fuzzCheck(numbers::parseField(text1[size_t(i)]->text(), &v), "testpos left a non-number");
        if (i != 1)
            fuzzCheck(v <= fieldLimit(i, longaxe) + 0.06, "testpos left a field past its limit");
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzApplication();
    const Input input {data, size};

    SceneInputs in;
    const unsigned boxes = input.byte(0) | input.byte(1) << 8 | input.byte(2) << 16;
    for (size_t k = 0; k < 18; ++k)
        in.check[k] = boxes >> k & 1u;
    in.check2 = boxes >> 18 & 1u;
    in.hscroll1 = 1 + int(input.byte(3) % 9);
    in.hscroll3 = 1 + int(input.word(4) % 300);
    SharedValues sv;
    sv.nzoom = int16_t(input.byte(6) % 13);
    sv.longaxe = int16_t(kZoomTable[sv.nzoom]);
    sv.fmtnum = QLatin1String(kPatterns[input.byte(7) % 3]);
    // Up to the figure of a maximised window: larger ones only cost time to fill.
    Canvas canvas(1 + int(input.word(8) % 1280), 1 + int(input.word(10) % 720));
    canvas.setScaleLeft(-10);
    canvas.setScaleTop(4);

    const QStringList lines = size > kHeader
        ? QString::fromUtf8(reinterpret_cast<const char *>(data) + kHeader,
                            qsizetype(size - kHeader))
              .split(QLatin1Char('\n'))
        : QStringList();
    std::array<QLineEdit *, 9> &text1 = fields();
    for (size_t i = 0; i < 9; ++i)
        text1[i]->setText(qsizetype(i) < lines.size() ? lines[qsizetype(i)] : QString());
    testpos(text1, sv.longaxe, sv.fmtnum);
    checkFields(text1, sv.longaxe);

    for (size_t i = 0; i < 9; ++i)
        in.text[i] = text1[i]->text();
    const FigureOutput out = majaff(canvas, in, sv);
    if (out.failure != TelescopeFailure::None) {
        // As the window does: the telescope box is cleared and the figure drawn again.
        for (const FieldRewrite &r : out.rewrites)
            in.text[size_t(r.index)] = r.text;
        in.check[6] = false;
        majaff(canvas, in, sv);
    }
    return 0;
}
