// The scene as the redraw reads it from the controls, and the optical relations of the
// spherical mirror that give its image.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Canvas ordinate of the main axis.
constexpr int kAxis = 135;
// Degrees to radians, with the precision the figure has always used.
constexpr double kDegree = 0.017453292;

// A snapshot of the main window's controls: the scene has no other store.
struct SceneInputs
{
    std::array<QString, 9> text; // Text1(0..8), decimal comma
    std::array<bool, 18> check {}; // Check1(i) ticked
    bool check2 = false; // object at infinity
    int hscroll1 = 0; // arrow position, tenths of a segment
    int hscroll3 = 0; // apparent angle, tenths of a degree

    static SceneInputs defaults();
};

// Values of one computation pass, in cm (bench frame, y upward).
struct Optics
{
    double xsommet = 0, focale = 0, xplan = 0, focalent = 0, xobjet = 0, hobjet = 0;
    double dmonture = 0, ylentille = 0;
    double angapp = 0; // degrees
    double placerapp = 0;
    double xcentre = 0, xfoyer = 0, sa = 0, sapr = 0;
    float xima = 0;
    double hima = 0;
    float xima2 = 0;
    double hima2 = 0;
    bool atInfinity = false;

    bool imageReal() const { return xima < xsommet; }
};

enum class PassResult { Done, ObjectAtMirror };

// Steps of the pass that need no canvas: reads the fields, places the object (also at
// infinity) and applies the mirror relation. `echelle` and `scaleLeft` come from the canvas.
PassResult computeOptics(const SceneInputs &in, float echelle, double scaleLeft, Optics *out);

// Apparent angle shown beside its scroll bar, in degrees.
double angappOf(const SceneInputs &in);
