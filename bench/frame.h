// The frame every part of the figure draws in: colours, canvas positions, the redraw's result
// and the small text and rounding helpers they share.
#pragma once

#include "bench/scene.h"
#include "bench/telescope.h"

#include <QRgb>
#include <QString>
#include <array>
#include <vector>

class Canvas;

// Colours of the figure on the chosen background.
struct Palette
{
    QRgb back, device, object, ray, red;
    static Palette forBackground(bool white);
};

// A drag handle's rectangle in canvas units: the handle is centred on `centerX`.
struct HandlePlace
{
    bool visible = false;
    int centerX = 0;
    int top = 0;
    int height = 0;
    int width = 0; // 0 keeps the handle's own width
};

// What the redraw hands back to the window: labels, handles and enabled states.
struct FigureOutput
{
    bool check14Enabled = true;
    bool label1Set = false;
    QString label1;
    bool drawn = false; // false when the pass stopped and the previous figure stays
    std::array<QString, 6> label3;
    bool telescope = false;
    bool redRays = false;
    HandlePlace ab, l1, l2, l3;
    Optics optics;
    TelescopeOptics telescopeOptics;
    std::vector<FieldRewrite> rewrites; // in the order they were made
    TelescopeFailure failure = TelescopeFailure::None;
};

// Canvas positions shared by every part of the drawing (canvas units, y downward).
struct FigureFrame
{
    Canvas *canvas = nullptr;
    const SceneInputs *in = nullptr;
    Optics o;
    TelescopeOptics t;
    Palette pal {};
    float echelle = 1;
    int xS = 0, xA = 0, hB = 0, hD = 0, xP = 0, yL = 0, xI = 0, yI = 0, xC = 0, xF = 0;
    QRgb coulray = 0;
    bool redRays = false;
    bool telescope = false;

    // Bench line y = pente * x + ordo (cm) at canvas abscissa x, in canvas units.
    double canvasY(double pente, double ordo, double x) const;
    // Canvas abscissa where the fold of that line by the secondary mirror is at canvas
    // ordinate y, below the main axis.
    double foldedX(double pente, double ordo, double y) const;
};

// A canvas position rounded halves to even. An image near F can lie 1e17 units away; such a
// point is kept 2^28 units out, far off the canvas, so that a few of them and the figure's
// offsets still add up within an int.
int canvasUnit(double v);

// Text with its top-left corner at (x, y); a letter followed by its subscript digit.
void printLabel(Canvas &c, double x, double y, const QString &text);
void printSubscripted(Canvas &c, double x, double y, const QString &letter, const QString &digit);

// Label text of a length: the field pattern followed by " cm", or "Hors limites" beyond 50000.
QString lengthLabel(double value, double limitValue, const QString &fmtnum);
