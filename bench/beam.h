// The shaded picture of all the light the spherical mirror collects, drawn beneath the rest of
// the figure as one-unit strokes whose brightness grows as the beam narrows.
#pragma once

#include <QRgb>

struct FigureFrame;

// The stages of the light's path, each with its own colour when asked for.
enum class BeamStage { Incident = 0, Reflected = 1, Folded = 2 };

// Colour of a stroke `w` canvas units long. `perStage` is "change colour at each reflection".
QRgb beamColour(double w, BeamStage stage, bool whiteBackground, bool perStage);

void drawBeam(FigureFrame &f);
