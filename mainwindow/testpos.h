// The check that every change of the scene ends with: each numeric field is rewritten in the
// current pattern, forced into its range, and the elements into their order on the axis.
#pragma once

#include <QString>
#include <array>

class QLineEdit;

void testpos(const std::array<QLineEdit *, 9> &Text1, int longaxe, const QString &fmtnum);

// Highest value a field accepts on an axis of `longaxe` cm.
double fieldLimit(int index, int longaxe);
