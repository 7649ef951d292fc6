// The construction of the image: the principal rays issued from the object's tip B,
// reflected on the spherical mirror, with their mount test and dotted prolongations, and in
// telescope mode their way past the secondary mirror and the lens.
#pragma once

struct FigureFrame;

// Draws the ray families whose boxes are ticked: parallel to the axis, through the centre C,
// through the focus F. A family that misses the mount is dropped, or drawn red and flagged in
// `f.redRays` when rays outside the mount are asked for; `f.coulray` is the same afterwards.
void drawRays(FigureFrame &f);
