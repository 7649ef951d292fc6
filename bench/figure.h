// The recompute-and-redraw of the figure: reads a snapshot of the controls, computes the
// optics and draws the whole figure on the canvas from nothing.
#pragma once

#include "bench/frame.h"

class Canvas;
struct SharedValues;

FigureOutput majaff(Canvas &canvas, const SceneInputs &in, SharedValues &shared);
