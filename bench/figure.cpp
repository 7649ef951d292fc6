#include "bench/figure.h"

#include "bench/beam.h"
#include "bench/gradu.h"
#include "bench/rays.h"
#include "bench/telescopefigure.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"

#include <algorithm>
#include <cmath>

namespace {
using numbers::roundEven;

void drawMirror(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    const QRgb col = f.pal.device;
    c.setForeColor(col);
    const int top = kAxis - f.hD, bottom = kAxis + 1 + f.hD;
    c.line(f.xS, top, f.xS, bottom, col);
    // Only the hatches across the canvas's rows are walked: a huge mount would take seconds.
    const int firstRow = int(std::floor(c.scaleTop())) - 1;
    const int lastRow = int(std::ceil(c.scaleTop() + c.scaleHeight())) + 6;
    int y = top;
    if (y < firstRow)
        y += 5 * ((firstRow - y) / 5);
    for (; y <= bottom && y <= lastRow; y += 5)
        c.line(f.xS, y, f.xS + 5, y - 5, col);
    c.line(f.xS, top, f.xS - 10, top - 10, col);
    c.line(f.xS, bottom, f.xS - 10, bottom + 10, col);
    printLabel(c, f.xS + 4, 139, QStringLiteral("S"));
}

void drawObject(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    const QRgb col = f.pal.object;
    const int tip = kAxis - f.hB;
    c.line(f.xA, tip, f.xA, kAxis, col);
    c.line(f.xA, tip, f.xA + 4, 143 - f.hB, col);
    c.line(f.xA, tip, f.xA - 4, 143 - f.hB, col);
    printLabel(c, f.xA - 8, 123 - f.hB, QStringLiteral("B"));
    printLabel(c, f.xA - 8, 139, QStringLiteral("A"));
}

void printImageLabel(FigureFrame &f, double x, double y, const QString &letter)
{
    if (f.telescope)
        printSubscripted(*f.canvas, x, y, letter, QStringLiteral("1"));
    else
        printLabel(*f.canvas, x, y, letter + QLatin1Char('\''));
}

void drawImage(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    const QRgb col = f.pal.object;
    const bool solid = f.telescope ? (f.xI < f.xS && f.xP < f.xI) : f.xI < f.xS;
    if (solid) {
        c.line(f.xI, f.yI, f.xI, kAxis, col);
        c.line(f.xI, f.yI, f.xI + 4, f.yI - 8, col);
        c.line(f.xI, f.yI, f.xI - 4, f.yI - 8, col);
        printImageLabel(f, f.xI - 4, f.yI + 4, QStringLiteral("B"));
        printImageLabel(f, f.xI - 4, 118, QStringLiteral("A"));
        return;
    }
    if (!f.in->check[11])
        return;
    c.setDrawStyle(Canvas::Dot);
    c.line(f.xI, f.yI, f.xI, kAxis, col);
    c.setDrawStyle(Canvas::Solid);
    if (f.yI > 134) {
        c.line(f.xI, f.yI, f.xI + 4, f.yI - 8, col);
        c.line(f.xI, f.yI, f.xI - 4, f.yI - 8, col);
        printImageLabel(f, f.xI - 4, f.yI + 2, QStringLiteral("B"));
        printImageLabel(f, f.xI - 4, 118, QStringLiteral("A"));
    } else {
        c.line(f.xI, f.yI, f.xI + 4, f.yI + 8, col);
        c.line(f.xI, f.yI, f.xI - 4, f.yI + 8, col);
        printImageLabel(f, f.xI - 4, f.yI - 14, QStringLiteral("B"));
        printImageLabel(f, f.xI - 8, 139, QStringLiteral("A"));
    }
}

// The cross of C or F on the axis.
void drawAxisMark(FigureFrame &f, int x)
{
    f.canvas->line(x - 3, kAxis, x + 4, kAxis, f.pal.device);
    f.canvas->line(x, 132, x, 139, f.pal.device);
}

void drawCentreAndFocus(FigureFrame &f)
{
    Canvas &c = *f.canvas;
    c.setForeColor(f.pal.device);
    drawAxisMark(f, f.xC);
    printLabel(c, f.xC - 2, 139, QStringLiteral("C"));
    if (!f.in->check[7])
        return;
    drawAxisMark(f, f.xF);
    if (f.telescope)
        printSubscripted(c, f.xF - 2, 139, QStringLiteral("F"), QStringLiteral("1"));
    else
        printLabel(c, f.xF - 2, 139, QStringLiteral("F"));
    if (f.telescope)
        drawLensFoci(f);
}

void placeHandles(const FigureFrame &f, FigureOutput &out)
{
    const int hB = std::min(f.hB, kAxis);
    const int hD = std::min(f.hD, kAxis);
    out.ab = HandlePlace {true, f.xA, kAxis - hB, hB};
    out.l1 = HandlePlace {true, f.xS, kAxis - hD, 2 * hD};
}

// The handles' places travel with the drawing, for the outputs that show or enlarge them.
void markHandles(Canvas &c, const FigureOutput &out)
{
    for (const HandlePlace *h : {&out.ab, &out.l1, &out.l2, &out.l3})
        if (h->visible)
            c.markHandle(h->centerX - h->width / 2.0, h->top, h->centerX + h->width / 2.0,
                         h->top + h->height);
}

void writeLabels(const FigureFrame &f, const QString &fmtnum, FigureOutput &out)
{
    const Optics &o = f.o;
    out.label3[0] = lengthLabel(o.xima, o.xima, fmtnum);
    out.label3[1] = lengthLabel(o.hima, o.xima, fmtnum);
}
} // namespace

FigureOutput majaff(Canvas &canvas, const SceneInputs &in, SharedValues &shared)
{
    FigureOutput out;
    // Computation pass.
    out.check14Enabled = !in.check2;
    if (in.check2) {
        out.label1Set = true;
        out.label1
            = numbers::formatPattern(angappOf(in), QStringLiteral("###0.0")) + QStringLiteral("°");
    }
    if (shared.longaxe == 0)
        shared.longaxe = 100;
    shared.echelle = float(canvas.scaleWidth() - 20) / float(shared.longaxe);

    FigureFrame f;
    f.canvas = &canvas;
    f.in = &in;
    f.echelle = shared.echelle;
    const PassOutcome pass = computationPass(in, f.echelle, canvas.scaleLeft(), shared.fmtnum);
    out.rewrites = pass.rewrites;
    out.failure = pass.failure;
    f.o = pass.o;
    f.t = pass.t;
    f.telescope = pass.telescope;
    out.optics = f.o;
    out.telescopeOptics = f.t;
    if (pass.result != PassResult::Done || pass.failure == TelescopeFailure::TooManyPasses)
        return out;
    const Optics &o = f.o;
    const double e = f.echelle;
    f.pal = Palette::forBackground(in.check[12]);
    f.coulray = f.pal.ray;
    f.xS = canvasUnit(o.xsommet * e);
    f.xA = canvasUnit(o.xobjet * e);
    f.hB = canvasUnit(o.hobjet * e);
    f.hD = canvasUnit(o.dmonture * e);
    f.xI = canvasUnit(o.sapr * e + f.xS);
    f.yI = canvasUnit(kAxis - o.hima * e);
    f.xC = canvasUnit(f.xS - 2 * o.focale * e);
    f.xF = canvasUnit(f.xS - o.focale * e);
    if (f.telescope) {
        f.xP = canvasUnit(o.xplan * e);
        f.yL = canvasUnit(o.ylentille * e + kAxis);
    }

    // Drawing, back to front: the light beam and the graduation go under the main axis,
    // the rays between the axes and the mirror.
    canvas.setBackColor(f.pal.back);
    canvas.cls();
    // A figure is its scene's alone: the graduation's bold labels must not outlive it.
    canvas.setDrawStyle(Canvas::Solid);
    canvas.setFontName(QStringLiteral("Arial"));
    canvas.setFontSize(8);
    canvas.setFontBold(false);
    if (in.check[5])
        drawBeam(f);
    if (in.check[17])
        gradu(canvas, f.pal.device, f.xP, GraduOptions {shared.longaxe, in.check[12], f.telescope});
    canvas.line(0, kAxis, canvas.scaleWidth() - 20, kAxis, f.pal.device);
    if (f.telescope)
        drawSecondAxis(f);
    drawRays(f);
    drawMirror(f);
    if (f.telescope)
        drawSecondaryMirror(f);
    canvas.setForeColor(f.pal.object);
    canvas.setFontName(QStringLiteral("Arial"));
    canvas.setFontSize(8);
    drawObject(f);
    if (in.check[2]) {
        drawImage(f);
        if (f.telescope)
            drawTelescopeImages(f);
    }
    drawCentreAndFocus(f);
    if (f.telescope)
        drawLens(f);
    if (f.redRays) {
        canvas.setForeColor(f.pal.red);
        printLabel(canvas, 0, 6, QStringLiteral("Les rayons représentés en rouge n'existent pas."));
    }
    placeHandles(f, out);
    writeLabels(f, shared.fmtnum, out);
    if (f.telescope) {
        placeTelescopeHandles(f, out);
        writeTelescopeLabels(f, shared.fmtnum, out);
    }
    markHandles(canvas, out);
    out.drawn = true;
    out.telescope = f.telescope;
    out.redRays = f.redRays;
    return out;
}
