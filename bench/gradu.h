// Graduated scale of the optical axes, drawn under the figure.
#pragma once

#include <QRgb>

class Canvas;

struct GraduOptions
{
    int longaxe = 60; // cm shown along the main axis
    bool whiteBackground = false;
    bool telescope = false;
};

// Number of major intervals along the main axis for an axis of `longaxe` cm.
int graduIntervals(int longaxe);

void gradu(Canvas &canvas, QRgb colgrad, int xo2, const GraduOptions &options);
