// Office Math of an RTF file ({\mmath …}) written as linear text, as a reader of the printed
// page would type it: "v = d/t", "(a + b)/2", scripts as sub- and superscript characters.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <QVector>

namespace rtf {

// One element of an equation as the file's groups give it: its control word without the
// leading "m" ("f", "num", "r", "dPr", "begChr"…), its children in order, and its characters
// (those of a run, or a property's value).
struct MathNode
{
    QByteArray name;
    int parent = -1;
    int depth = 0;
    QVector<int> children;
    QString text;
    int style = -1; // \msty: 0 upright, 1 bold, 2 italic, 3 bold italic; -1 as the letter says
    bool normal = false; // \mnor: ordinary text, upright
    bool loose = false; // a run made for characters the file put straight into an element
};

struct MathChar
{
    char16_t c;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    bool italic = false;
    bool bold = false;
};

// Whether the file's word (without its "m") names an element or a property group this module
// reads; an unknown element behind \* is skipped, as other unknown groups are.
bool isMathElement(const QByteArray &name);

// The equation whose root is nodes[0]. Empty when it holds no character.
QVector<MathChar> linearMath(const QVector<MathNode> &nodes);

} // namespace rtf
