#include "mainwindow/presentation.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {
const QString kBreak = QStringLiteral("\r\n");

QTextCharFormat baseChars()
{
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(10);
    f.setForeground(QColor(0, 0, 0));
    f.setFontWeight(QFont::Normal);
    f.setFontItalic(false);
    f.setFontUnderline(false);
    f.setVerticalAlignment(QTextCharFormat::AlignNormal);
    return f;
}

// Applies a style code to a character format and a paragraph format.
void applyStyle(int code, QTextCharFormat &chars, QTextBlockFormat &block)
{
    const QColor blue(0, 0, 200);
    block.setLeftMargin(code == 9 ? 0 : 20);
    block.setAlignment(Qt::AlignLeft);
    switch (code) {
    case 1:
    case 6:
        chars.setForeground(blue);
        break;
    case 2:
        block.setAlignment(Qt::AlignHCenter);
        break;
    case 3:
        chars.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        break;
    case 4:
        chars.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        break;
    case 5:
        chars.setFontFamilies({QStringLiteral("Symbol")});
        break;
    case 7:
        chars.setFontStrikeOut(true);
        break;
    case 8:
        chars.setFontCapitalization(QFont::SmallCaps);
        break;
    case 9:
        chars.setFontFamilies({QStringLiteral("Arial")});
        chars.setFontPointSize(18);
        chars.setForeground(blue);
        block.setAlignment(Qt::AlignHCenter);
        break;
    default:
        break;
    }
}
} // namespace

const std::array<IntroPiece, 16> &textintro()
{
    static const std::array<IntroPiece, 16> pieces = {{
        {QStringLiteral("Optalis") + kBreak, 9},
        {kBreak
             + QStringLiteral(
                 "Cette application permet de représenter l'image d'un objet avec un miroir "),
         0},
        {QStringLiteral("sphérique.") + kBreak + kBreak + QStringLiteral("Vous pouvez ajouter "),
         0},
        {QStringLiteral("un miroir secondaire et un oculaire "), 6},
        {QStringLiteral("pour simuler le principe de fonctionnement d'un "), 0},
        {QStringLiteral(" télescope de Newton.") + kBreak + kBreak, 6},
        {QStringLiteral(
             "Définir les positions de l'objet, des miroirs et de la lentille en utilisant "
             "la souris directement sur la figure ou saisir les positions et dimensions "
             "avec le clavier. ")
             + kBreak + kBreak,
         0},
        {QStringLiteral(
             "Tous les paramètres sont modifiables et l'image obtenue peut être imprimée "
             "ou placée dans le presse-papiers "),
         6},
        {QStringLiteral("(bouton Copier) pour la coller dans une autre application.") + kBreak
             + kBreak,
         0},
        {QStringLiteral("Vous pouvez obtenir l'énoncé d'un exercice "), 0},
        {QStringLiteral("dans cette fenêtre en appuyant sur l'onglet "), 0},
        {QStringLiteral("Exercices"), 1},
        {QStringLiteral(".") + kBreak + kBreak, 0},
        {QStringLiteral(
             "Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité "),
         0},
        {QStringLiteral("Prise en main "), 1},
        {QStringLiteral("dans le menu Exercices."), 0},
    }};
    return pieces;
}

void presentation(QTextEdit *supertext)
{
    supertext->hide();
    supertext->clear();
    supertext->setReadOnly(true);
    QTextCursor cursor(supertext->document());
    for (const IntroPiece &piece : textintro()) {
        QTextCharFormat chars = baseChars();
        QTextBlockFormat block;
        applyStyle(piece.style, chars, block);
        const QStringList lines = piece.text.split(kBreak);
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            // A paragraph takes the look of the last piece that has characters in it; the
            // paragraph a piece's final break opens is not part of that piece.
            if (i == 0 || !lines[i].isEmpty())
                cursor.setBlockFormat(block);
            cursor.insertText(lines[i], chars);
        }
    }
    cursor.movePosition(QTextCursor::Start);
    supertext->setTextCursor(cursor);
    supertext->show();
}
