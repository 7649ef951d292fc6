// The introduction shown in the text pane at start-up.
#pragma once

#include <QString>
#include <array>

class QTextEdit;

// The pieces of the introduction in reading order, with their style codes.
struct IntroPiece
{
    QString text;
    int style;
};
const std::array<IntroPiece, 16> &textintro();

void presentation(QTextEdit *supertext);
