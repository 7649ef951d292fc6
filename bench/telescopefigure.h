// What telescope mode adds to the figure: the second axis, the secondary mirror, the lens and
// its foci, the folded and final images, and the places and labels of the two new elements.
#pragma once

#include <QPointF>

class QString;
struct FigureFrame;
struct FigureOutput;

void drawSecondAxis(FigureFrame &f);
// The hatched secondary mirror and the label of the lens centre.
void drawSecondaryMirror(FigureFrame &f);
// The folded image A'1B'1 and the final image A2B2, each by its own real or virtual rule.
void drawTelescopeImages(FigureFrame &f);
void drawLensFoci(FigureFrame &f);
void drawLens(FigureFrame &f);
void placeTelescopeHandles(const FigureFrame &f, FigureOutput &out);
void writeTelescopeLabels(const FigureFrame &f, const QString &fmtnum, FigureOutput &out);

// Canvas points shared with the rays and the beam.
double lensY(const FigureFrame &f); // the lens's ordinate, unrounded
int foldedImageY(const FigureFrame &f); // A'1 on the second axis
QPoint foldedImageTip(const FigureFrame &f); // B'1
QPointF finalImageTip(const FigureFrame &f); // B2, which may lie very far
QPointF lensImageFocus(const FigureFrame &f); // F'2
