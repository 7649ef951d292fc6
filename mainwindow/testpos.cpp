#include "mainwindow/testpos.h"

#include "platform/numbers.h"

#include <QLineEdit>
#include <cmath>

namespace {
// Value written into a field whose value is zero or negative.
constexpr double kFloor[9] = {0.1, 1, 0.1, 1, 0, 0.1, 0.5, 0.5, 0.1};

struct Fields
{
    const std::array<QLineEdit *, 9> &t;
    const QString &fmtnum;

    bool read(int i, double *v) const { return numbers::parseField(t[size_t(i)]->text(), v); }
    double value(int i) const { return numbers::fieldValue(t[size_t(i)]->text()); }
    void write(int i, double v) const { t[size_t(i)]->setText(numbers::formatPattern(v, fmtnum)); }
};
} // namespace

double fieldLimit(int index, int longaxe)
{
    switch (index) {
    case 1:
    case 3:
        return 3000;
    case 4:
        return longaxe - 0.2;
    case 5:
    case 6:
    case 7:
        return 135.0 / 800.0 * longaxe;
    case 8:
        return 380.0 / 800.0 * longaxe;
    default:
        return longaxe;
    }
}

void testpos(const std::array<QLineEdit *, 9> &Text1, int longaxe, const QString &fmtnum)
{
    const Fields f {Text1, fmtnum};
    double v = 0;
    if (f.read(1, &v))
        Text1[1]->setText(numbers::formatGeneral(std::fabs(v)));

    for (int i = 0; i < 9; ++i) {
        if (!f.read(i, &v)) {
            Text1[size_t(i)]->setText(QStringLiteral("0"));
            v = 0;
        }
        f.write(i, v);
        if (f.value(i) <= 0)
            f.write(i, kFloor[i]);
        // The spherical mirror's focal length is at least 5 cm, checked at every step.
        if (!f.read(1, &v) || v <= 5)
            f.write(1, 5);
        const double limit = fieldLimit(i, longaxe);
        if (f.value(i) > limit)
            f.write(i, limit);
    }

    // Order on the axis: object, plane mirror, spherical mirror, each at least 1 mm apart.
    // The sums are formed in single precision, as the values are stored.
    const auto single = [&f](int i) { return float(f.value(i)); };
    if (single(4) + 0.1f > single(0))
        f.write(0, double(single(4) + 0.1f));
    if (single(0) - 0.1f < single(2))
        f.write(2, double(single(0) - 0.1f));
    if (single(4) + 0.1f > single(2))
        f.write(2, double(single(4) + 0.1f));
    f.write(1, -f.value(1));
}
