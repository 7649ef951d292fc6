// The calculator's evaluator: rewrites the expression text in place until one number is left.
// There is no parse tree; precedence comes from the order in which operator kinds are rewritten.
#pragma once

#include <string>

namespace calc {

enum Erreur {
    Succes = 0,
    CalculImpossible = 1, // overflow, division by zero, outside a function's domain, no progress
    Parentheses = 2, // "(" and ")" do not balance
    Operateurs = 3, // "*", "/" or "^" without an operand after it
};

// Rewrites `texte` into its value (without surrounding spaces) and sets `erreur`. On failure the
// text holds whatever the rewriting had reached. Never throws.
void calcule(std::string &texte, int &erreur, bool radians);

// Counts of the last `compte`, lowered by the routines as they reduce the text.
struct Compteurs
{
    int nbparent = 0; // "("
    int nbfonct = 0; // function codes
    int nbop = 0; // spaced binary operators
};

// The rewriting steps, exposed for tests. Those that compute throw `Echec` on a failure.
struct Echec
{
};
void simplifie(std::string &t);
void decoupe(std::string &t);
void verifie(const std::string &t, int &erreur);
void compte(const std::string &t, Compteurs &n);
void fonctions(std::string &t, Compteurs &n, bool radians);
void parentheses(std::string &t, Compteurs &n);
void operations(std::string &t, Compteurs &n);

} // namespace calc
