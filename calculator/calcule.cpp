#include "calculator/calcule.h"

#include "calculator/calcnumber.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <string_view>

namespace calc {
namespace {

    constexpr int kMaxRounds = 100;
    constexpr std::string_view kOperators[] = {" ^ ", " / ", " * ", " - ", " + "};
    constexpr std::string_view kCodes[]
        = {"SQR", "EXP", "LON", "LOG", "SIN", "COS", "TAN", "ISI", "ICO", "ITA"};

    const double kPi = 4.0 * std::atan(1.0);

    bool isDigit(char c)
    {
        return c >= '0' && c <= '9';
    }

    // A plain loop: these tests run at every position of every rewriting step.
    bool isAt(const std::string &t, std::size_t i, std::string_view word)
    {
        if (i + word.size() > t.size())
            return false;
        for (std::size_t k = 0; k < word.size(); ++k) {
            if (t[i + k] != word[k])
                return false;
        }
        return true;
    }

    template<std::size_t N>
    bool isOneOfAt(const std::string &t, std::size_t i, const std::string_view (&words)[N])
    {
        for (std::string_view word : words) {
            if (isAt(t, i, word))
                return true;
        }
        return false;
    }

    bool isCodeAt(const std::string &t, std::size_t i)
    {
        return isOneOfAt(t, i, kCodes);
    }

    void toUpper(std::string &t)
    {
        for (char &c : t) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        }
    }

    double checked(double v)
    {
        if (!std::isfinite(v))
            throw Echec {};
        return v;
    }

    double number(std::string_view text)
    {
        double v = 0.0;
        if (!calcnumber::read(text, &v))
            throw Echec {};
        return v;
    }

    std::string numberText(double v)
    {
        return calcnumber::trimmed(calcnumber::write(checked(v)));
    }

    // One left-to-right pass over the positions the text had when it began; each test sees the
    // changes of the tests before it.
    void foldSigns(std::string &t)
    {
        const std::size_t length = t.size();
        for (std::size_t i = 0; i < length; ++i) {
            if (isAt(t, i, "--"))
                t.replace(i, 2, "+");
            if (isAt(t, i, "+-"))
                t.replace(i, 2, "-");
            if (isAt(t, i, "-+"))
                t.replace(i, 2, "-");
            if (isAt(t, i, "++"))
                t.replace(i, 2, "+");
        }
    }

    // "(-2.5)" becomes "-2.5"; a group holding anything but a signed plain number stays.
    void unwrapSignedNumbers(std::string &t)
    {
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] != '(')
                continue;
            std::size_t j = i + 1;
            if (j < t.size() && (t[j] == '-' || t[j] == '+'))
                ++j;
            while (j < t.size() && (isDigit(t[j]) || t[j] == '.'))
                ++j;
            if (j < t.size() && t[j] == ')' && j > i + 1) {
                t.erase(j, 1);
                t.erase(i, 1);
            }
        }
    }

    // Inserts a space after the three-letter word at i.
    void spaceAfter(std::string &t, std::size_t i, std::string_view a, std::string_view b = {})
    {
        if (isAt(t, i, a) || (!b.empty() && isAt(t, i, b)))
            t.insert(i + 3, 1, ' ');
    }

    double angleIn(double x, bool radians)
    {
        return radians ? x : x * kPi / 180.0;
    }

    double angleOut(double r, bool radians)
    {
        return radians ? r : r * 180.0 / kPi;
    }

    double arcSine(double x)
    {
        if (x == 1.0)
            return kPi / 2.0;
        if (x == -1.0)
            return -kPi / 2.0;
        return checked(std::atan(x / checked(std::sqrt(1.0 - x * x))));
    }

    double functionValue(std::string_view code, double x, bool radians)
    {
        if (code == "SQR") {
            if (x < 0.0)
                throw Echec {};
            return std::sqrt(x);
        }
        if (code == "EXP")
            return std::exp(x);
        if (code == "LON" || code == "LOG") {
            if (x <= 0.0)
                throw Echec {};
            return code == "LON" ? std::log(x) : std::log(x) / std::log(10.0);
        }
        if (code == "SIN")
            return std::sin(angleIn(x, radians));
        if (code == "COS")
            return std::cos(angleIn(x, radians));
        if (code == "TAN")
            return std::tan(angleIn(x, radians));
        if (code == "ISI")
            return angleOut(arcSine(x), radians);
        if (code == "ICO")
            return angleOut(kPi / 2.0 - arcSine(x), radians);
        return angleOut(std::atan(x), radians); // ITA
    }

    double operate(char op, double a, double b)
    {
        switch (op) {
        case '^':
            return std::pow(a, b);
        case '/':
            if (b == 0.0)
                throw Echec {};
            return a / b;
        case '*':
            return a * b;
        case '-':
            return a - b;
        default:
            return a + b;
        }
    }

} // namespace

void simplifie(std::string &t)
{
    toUpper(t);
    t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
    for (;;) {
        const std::string before = t;
        foldSigns(t);
        if (!t.empty() && t[0] == '+')
            t.erase(0, 1);
        unwrapSignedNumbers(t);
        if (t == before)
            break;
    }
    decoupe(t);
}

void decoupe(std::string &t)
{
    toUpper(t);
    if (!t.empty() && t[0] == '+')
        t.erase(0, 1);
    t = ' ' + t + ' ';
    // Each character becomes at most three, so this bound covers the growth of the text.
    const std::size_t bound = 3 * t.size();
    for (std::size_t i = 0; i < bound && i < t.size(); ++i) {
        spaceAfter(t, i, "SQR");
        if (isAt(t, i, "LN"))
            t.replace(i + 1, 1, "ON ");
        // Every normalisation removes the spaces again, so "LON" needs its space back as the other
        // codes do; without it ln of a group would never reduce.
        if (isAt(t, i, "LON") && !isAt(t, i + 3, " "))
            t.insert(i + 3, 1, ' ');
        spaceAfter(t, i, "SIN", "COS");
        spaceAfter(t, i, "LOG", "TAN");
        spaceAfter(t, i, "ISI", "EXP");
        spaceAfter(t, i, "ITA", "ICO");
        if (isAt(t, i, "INV")) {
            t.erase(i + 1, 2);
            if (i + 3 < t.size())
                t[i + 3] = ' ';
        }
        const char c = t[i];
        const char before = i > 0 ? t[i - 1] : ' ';
        const bool binary = c == '^' || c == '*' || c == '/'
            || (c == '+' && before != 'D' && before != 'E')
            || (c == '-' && before != 'D' && before != 'E' && before != '(' && before != ' ');
        if (binary) {
            t.insert(i + 1, 1, ' ');
            t.insert(i, 1, ' ');
            i += 2;
        }
    }
}

void verifie(const std::string &t, int &erreur)
{
    int opened = 0;
    int closed = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        opened += c == '(';
        closed += c == ')';
        if ((c == '*' || c == '/' || c == '^') && i + 2 < t.size() && t[i + 2] == ' ')
            erreur = Operateurs;
    }
    if (opened != closed)
        erreur = Parentheses;
}

void compte(const std::string &t, Compteurs &n)
{
    n = Compteurs();
    for (std::size_t i = 0; i < t.size(); ++i) {
        n.nbparent += t[i] == '(';
        n.nbop += isOneOfAt(t, i, kOperators);
        n.nbfonct += isCodeAt(t, i);
    }
}

void fonctions(std::string &t, Compteurs &n, bool radians)
{
    std::size_t p = 1;
    while (p + 1 < t.size() && n.nbfonct != 0) {
        const std::size_t arg = p + 4;
        if (!isCodeAt(t, p) || arg >= t.size()
            || !(isDigit(t[arg]) || t[arg] == '-' || t[arg] == '.')) {
            ++p;
            continue;
        }
        std::size_t end = t.find_first_of(") ", p + 5);
        if (end == std::string::npos)
            end = t.size();
        const double x = number(std::string_view(t).substr(arg, end - arg));
        const double v = functionValue(std::string_view(t).substr(p, 3), x, radians);
        t.replace(p, end - p, numberText(v));
        --n.nbfonct;
        p = 1;
    }
}

void parentheses(std::string &t, Compteurs &n)
{
    if (t.find('(') == std::string::npos)
        return;
    do {
        const std::size_t open = t.rfind('(');
        if (open == std::string::npos)
            return;
        const std::size_t close = t.find(')', open);
        if (close == std::string::npos)
            throw Echec {};
        std::string inner = t.substr(open + 1, close - open - 1);
        for (char c : inner) {
            if (c >= 'F' && c <= 'Y')
                return; // a function still to be computed
        }
        simplifie(inner);
        operations(inner, n);
        t.replace(open, close - open + 1, inner);
        --n.nbparent;
        simplifie(t);
    } while (n.nbparent > 0);
}

void operations(std::string &t, Compteurs &n)
{
    simplifie(t);
    std::size_t kind = 0;
    while (kind < std::size(kOperators) && n.nbop != 0) {
        const std::size_t op = t.find(kOperators[kind], 2);
        if (op == std::string::npos) {
            ++kind;
            continue;
        }
        const std::size_t leftSpace = op == 0 ? std::string::npos : t.rfind(' ', op - 1);
        const std::size_t left = leftSpace == std::string::npos ? 0 : leftSpace + 1;
        const std::size_t right = op + 3;
        std::size_t end = t.find(' ', right);
        if (end == std::string::npos)
            end = t.size();
        const std::string_view view(t);
        const double v = operate(view[op + 1], number(view.substr(left, op - left)),
                                 number(view.substr(right, end - right)));
        t.replace(left, end - left, numberText(v));
        --n.nbop;
        kind = 0;
    }
}

void calcule(std::string &texte, int &erreur, bool radians)
{
    erreur = Succes;
    try {
        simplifie(texte);
        verifie(texte, erreur);
        if (erreur != Succes)
            return;
        Compteurs n;
        compte(texte, n);
        std::string previous;
        std::string lastText;
        std::string lastPrevious;
        for (int round = 1;; ++round) {
            // A round that starts as the one before it did would repeat itself up to the limit.
            if (round > 1 && texte == lastText && previous == lastPrevious)
                round = kMaxRounds + 1;
            lastText = texte;
            lastPrevious = previous;
            if (texte == previous)
                simplifie(texte);
            previous = texte;
            if (round > kMaxRounds) {
                erreur = CalculImpossible;
                return;
            }
            if (n.nbfonct > 0) {
                fonctions(texte, n, radians);
                simplifie(texte);
            }
            if (n.nbparent > 0)
                parentheses(texte, n);
            compte(texte, n);
            if (n.nbfonct > 0 || n.nbparent > 0)
                continue;
            if (n.nbop > 0) {
                operations(texte, n);
                compte(texte, n);
                if (n.nbop > 0)
                    continue;
            }
            texte = calcnumber::trimmed(texte);
            if (texte.find(' ') != std::string::npos)
                erreur = CalculImpossible;
            return;
        }
    } catch (const Echec &) {
        erreur = CalculImpossible;
    } catch (const std::exception &) {
        erreur = CalculImpossible;
    }
}

} // namespace calc
