#include "richtext/rtfmath.h"

#include <QChar>

namespace rtf {

namespace {

    using Text = QVector<MathChar>;
    using Vertical = QTextCharFormat::VerticalAlignment;

    bool isRelation(char16_t c)
    {
        switch (c) {
        case u'=':
        case u'<':
        case u'>':
        case 0x2260: // ≠
        case 0x2264: // ≤
        case 0x2265: // ≥
        case 0x2248: // ≈
        case 0x2261: // ≡
        case 0x2243: // ≃
        case 0x221D: // ∝
        case 0x2192: // →
        case 0x21D2: // ⇒
        case 0x21D4: // ⇔
            return true;
        default:
            return false;
        }
    }

    bool isBinary(char16_t c)
    {
        switch (c) {
        case u'+':
        case u'-':
        case 0x2212: // −
        case 0x00B1: // ±
        case 0x2213: // ∓
        case 0x00D7: // ×
        case 0x00F7: // ÷
        case 0x22C5: // ⋅
        case 0x00B7: // ·
            return true;
        default:
            return false;
        }
    }

    bool isOpening(char16_t c)
    {
        return c == u'(' || c == u'[' || c == u'{';
    }

    bool isClosing(char16_t c)
    {
        return c == u')' || c == u']' || c == u'}';
    }

    // A term of its own: a/b needs no brackets for a, "OA'", "2,5" or x² alike.
    bool isTermChar(const MathChar &m)
    {
        const char16_t c = m.c;
        return m.vertical != QTextCharFormat::AlignNormal || QChar::isLetterOrNumber(c)
            || QChar::isSurrogate(c) || c == u'\'' || c == 0x2032 || c == u'.' || c == u','
            || (c >= 0x0300 && c < 0x0370) || (c >= 0x20D0 && c < 0x2100);
    }

    // Whole text inside one pair of brackets.
    bool enclosed(const Text &t)
    {
        if (t.size() < 2 || !isOpening(t.front().c) || !isClosing(t.back().c))
            return false;
        int depth = 0;
        for (qsizetype i = 0; i < t.size(); ++i) {
            if (isOpening(t[i].c))
                ++depth;
            else if (isClosing(t[i].c) && --depth == 0 && i + 1 < t.size())
                return false;
        }
        return depth == 0;
    }

    bool needsBrackets(const Text &t)
    {
        if (t.size() < 2 || enclosed(t))
            return false;
        for (const MathChar &m : t) {
            if (!isTermChar(m))
                return true;
        }
        return false;
    }

    bool isOn(const QString &value)
    {
        const QString v = value.trimmed();
        return v == QLatin1String("1") || v == QLatin1String("on") || v == QLatin1String("true");
    }

    class Linear
    {
    public:
        explicit Linear(const QVector<MathNode> &nodes)
            : m_nodes(nodes)
        {
        }

        void equation(Text &out) const { element(0, out, QTextCharFormat::AlignNormal); }

    private:
        const QVector<MathNode> &m_nodes;

        // The children of node i that are content, not properties.
        void content(int i, Text &out, Vertical v) const
        {
            const QVector<int> &children = m_nodes[i].children;
            for (qsizetype k = 0; k < children.size(); ++k) {
                const MathNode &child = m_nodes[children[k]];
                if (child.name.endsWith("Pr"))
                    continue;
                element(children[k], out, v);
                // A fraction followed by a term: "1/2 m", not "1/2m".
                if (child.name == "f" && k + 1 < children.size())
                    put(out, u' ', v);
            }
        }

        static void put(Text &out, char16_t c, Vertical v, bool italic = false, bool bold = false)
        {
            out.push_back(MathChar {c, v, italic, bold});
        }

        static void put(Text &out, const QString &s, Vertical v)
        {
            for (const QChar c : s)
                put(out, c.unicode(), v);
        }

        static Vertical script(Vertical outer, Vertical wanted)
        {
            return outer == QTextCharFormat::AlignNormal ? wanted : outer;
        }

        int child(int i, const char *name) const
        {
            for (const int c : m_nodes[i].children) {
                if (m_nodes[c].name == name)
                    return c;
            }
            return -1;
        }

        // The value of a property ("dPr", "begChr"); `present` tells an empty value from none.
        QString property(int i, const char *group, const char *name, bool *present = nullptr) const
        {
            const int g = child(i, group);
            const int p = g < 0 ? -1 : child(g, name);
            if (present)
                *present = p >= 0;
            return p < 0 ? QString() : m_nodes[p].text;
        }

        Text argument(int i, const char *name, Vertical v) const
        {
            Text t;
            if (const int c = child(i, name); c >= 0)
                content(c, t, v);
            return t;
        }

        static void bracketed(Text &out, const Text &arg, Vertical v)
        {
            const bool brackets = needsBrackets(arg);
            if (brackets)
                put(out, u'(', v);
            out += arg;
            if (brackets)
                put(out, u')', v);
        }

        void run(int i, Text &out, Vertical v, bool upright) const
        {
            const MathNode &r = m_nodes[i];
            int style = r.style;
            if (style < 0) {
                const QString sty = property(i, "rPr", "sty").trimmed();
                style = sty == QLatin1String("p") ? 0
                    : sty == QLatin1String("b")   ? 1
                    : sty == QLatin1String("bi")  ? 3
                                                  : 2;
            }
            const bool bold = style == 1 || style == 3;
            const bool italicStyle = !upright && !r.normal && (style == 2 || style == 3);
            const QString &s = r.text;
            for (qsizetype k = 0; k < s.size(); ++k) {
                // A hyphen in an equation is a minus sign, as equation editors draw it.
                const char16_t c
                    = s.at(k) == u'-' && !r.normal ? char16_t(0x2212) : s.at(k).unicode();
                if (v == QTextCharFormat::AlignNormal && (isRelation(c) || isBinary(c))) {
                    // Signs between terms stand apart; a sign that opens a term stays with it.
                    qsizetype last = out.size() - 1;
                    while (last >= 0 && out[last].c == u' ')
                        --last;
                    const bool between = isRelation(c)
                        || (last >= 0 && !isOpening(out[last].c) && !isRelation(out[last].c)
                            && !isBinary(out[last].c));
                    if (between) {
                        put(out, u' ', v);
                        put(out, c, v);
                        put(out, u' ', v);
                        continue;
                    }
                }
                if (QChar::isHighSurrogate(c) && k + 1 < s.size() && s.at(k + 1).isLowSurrogate()) {
                    const char32_t code = QChar::surrogateToUcs4(c, s.at(k + 1).unicode());
                    const bool italic = italicStyle && QChar::isLetter(code);
                    put(out, c, v, italic, bold);
                    put(out, s.at(++k).unicode(), v, italic, bold);
                    continue;
                }
                put(out, c, v, italicStyle && QChar::isLetter(c), bold);
            }
        }

        void fraction(int i, Text &out, Vertical v) const
        {
            const Text num = argument(i, "num", v);
            const Text den = argument(i, "den", v);
            if (property(i, "fPr", "type").trimmed() == QLatin1String("noBar")) {
                // Stacked without a bar (a binomial coefficient): "n¦k".
                out += num;
                put(out, u'\u00A6', v);
                out += den;
                return;
            }
            bracketed(out, num, v);
            put(out, u'/', v);
            bracketed(out, den, v);
        }

        void scripts(int i, Text &out, Vertical v, bool before) const
        {
            const Text base = argument(i, "e", v);
            if (!before)
                bracketed(out, base, v);
            if (const int sub = child(i, "sub"); sub >= 0)
                content(sub, out, script(v, QTextCharFormat::AlignSubScript));
            if (const int sup = child(i, "sup"); sup >= 0)
                content(sup, out, script(v, QTextCharFormat::AlignSuperScript));
            if (before)
                bracketed(out, base, v);
        }

        void radical(int i, Text &out, Vertical v) const
        {
            if (!isOn(property(i, "radPr", "degHide"))) {
                if (const int deg = child(i, "deg"); deg >= 0)
                    content(deg, out, script(v, QTextCharFormat::AlignSuperScript));
            }
            put(out, u'\u221A', v);
            bracketed(out, argument(i, "e", v), v);
        }

        void delimiters(int i, Text &out, Vertical v) const
        {
            bool hasBegin = false, hasEnd = false, hasSeparator = false;
            const QString begin = property(i, "dPr", "begChr", &hasBegin);
            const QString end = property(i, "dPr", "endChr", &hasEnd);
            const QString separator = property(i, "dPr", "sepChr", &hasSeparator);
            put(out, hasBegin ? begin : QStringLiteral("("), v);
            bool first = true;
            for (const int c : m_nodes[i].children) {
                if (m_nodes[c].name != "e")
                    continue;
                if (!first)
                    put(out, hasSeparator ? separator : QStringLiteral("|"), v);
                first = false;
                content(c, out, v);
            }
            put(out, hasEnd ? end : QStringLiteral(")"), v);
        }

        void nary(int i, Text &out, Vertical v) const
        {
            bool hasChar = false;
            const QString sign = property(i, "naryPr", "chr", &hasChar);
            put(out, hasChar ? sign : QStringLiteral("\u222B"), v);
            const int sub = child(i, "sub");
            if (sub >= 0 && !isOn(property(i, "naryPr", "subHide")))
                content(sub, out, script(v, QTextCharFormat::AlignSubScript));
            const int sup = child(i, "sup");
            if (sup >= 0 && !isOn(property(i, "naryPr", "supHide")))
                content(sup, out, script(v, QTextCharFormat::AlignSuperScript));
            put(out, u' ', v);
            out += argument(i, "e", v);
        }

        void function(int i, Text &out, Vertical v) const
        {
            // A function's name is upright whatever its runs say: "sin", not "sin" in italics.
            if (const int name = child(i, "fName"); name >= 0) {
                Text n;
                content(name, n, v);
                for (MathChar &m : n)
                    m.italic = false;
                out += n;
            }
            const Text arg = argument(i, "e", v);
            if (!arg.isEmpty() && !isOpening(arg.front().c))
                put(out, u' ', v);
            out += arg;
        }

        // Accents and bars: a combining mark after each character they cover.
        void marked(int i, Text &out, Vertical v, char16_t mark, bool eachChar) const
        {
            const Text base = argument(i, "e", v);
            for (const MathChar &m : base) {
                out.push_back(m);
                // The mark takes its character's format, or it would be shaped apart from it.
                if (eachChar && m.c != u' ' && !QChar::isHighSurrogate(m.c))
                    put(out, mark, m.vertical, m.italic, m.bold);
            }
            if (!eachChar && mark != 0 && !base.isEmpty())
                put(out, mark, base.back().vertical, base.back().italic, base.back().bold);
            else if (!eachChar && mark != 0)
                put(out, mark, v);
        }

        void rows(int i, Text &out, Vertical v, const char *rowName, char16_t separator) const
        {
            bool first = true;
            for (const int c : m_nodes[i].children) {
                if (m_nodes[c].name != rowName)
                    continue;
                if (!first)
                    put(out, separator, v);
                first = false;
                content(c, out, v);
            }
        }

        void matrix(int i, Text &out, Vertical v) const
        {
            put(out, u'(', v);
            bool first = true;
            for (const int row : m_nodes[i].children) {
                if (m_nodes[row].name != "mr")
                    continue;
                if (!first) {
                    put(out, u';', v);
                    put(out, u' ', v);
                }
                first = false;
                rows(row, out, v, "e", u' ');
            }
            put(out, u')', v);
        }

        void element(int i, Text &out, Vertical v) const
        {
            const QByteArray &name = m_nodes[i].name;
            if (name == "r") {
                run(i, out, v, false);
            } else if (name == "f") {
                fraction(i, out, v);
            } else if (name == "sSub" || name == "sSup" || name == "sSubSup") {
                scripts(i, out, v, false);
            } else if (name == "sPre") {
                scripts(i, out, v, true);
            } else if (name == "rad") {
                radical(i, out, v);
            } else if (name == "d") {
                delimiters(i, out, v);
            } else if (name == "nary") {
                nary(i, out, v);
            } else if (name == "func") {
                function(i, out, v);
            } else if (name == "acc") {
                bool hasChar = false;
                const QString mark = property(i, "accPr", "chr", &hasChar);
                marked(i, out, v, hasChar ? (mark.isEmpty() ? 0 : mark.at(0).unicode()) : 0x0302,
                       false);
            } else if (name == "bar") {
                const bool top = property(i, "barPr", "pos").trimmed() == QLatin1String("top");
                marked(i, out, v, top ? 0x0305 : 0x0332, true);
            } else if (name == "limLow" || name == "limUpp") {
                content(child(i, "e") >= 0 ? child(i, "e") : i, out, v);
                if (const int lim = child(i, "lim"); lim >= 0)
                    content(lim, out,
                            script(v,
                                   name == "limLow" ? QTextCharFormat::AlignSubScript
                                                    : QTextCharFormat::AlignSuperScript));
            } else if (name == "eqArr") {
                rows(i, out, v, "e", QChar::LineSeparator);
            } else if (name == "oMathPara") {
                rows(i, out, v, "oMath", QChar::LineSeparator);
            } else if (name == "m") {
                matrix(i, out, v);
            } else {
                content(i, out, v);
            }
        }
    };

    // One space between terms, none at the ends nor inside brackets.
    Text tidy(const Text &t)
    {
        Text out;
        for (const MathChar &m : t) {
            if (m.c == u' '
                && (out.isEmpty() || out.back().c == u' ' || isOpening(out.back().c)
                    || out.back().c == QChar::LineSeparator))
                continue;
            if ((isClosing(m.c) || m.c == QChar::LineSeparator) && !out.isEmpty()
                && out.back().c == u' ')
                out.pop_back();
            out.push_back(m);
        }
        while (!out.isEmpty() && out.back().c == u' ')
            out.pop_back();
        return out;
    }

} // namespace

bool isMathElement(const QByteArray &name)
{
    static const char *const elements[] = {
        "math",   "oMath", "oMathPara", "r",     "f",   "num", "den",       "e",
        "sSub",   "sSup",  "sSubSup",   "sPre",  "sub", "sup", "rad",       "deg",
        "d",      "nary",  "func",      "fName", "acc", "bar", "groupChr",  "limLow",
        "limUpp", "lim",   "eqArr",     "m",     "mr",  "box", "borderBox", "phant",
    };
    for (const char *element : elements) {
        if (name == element)
            return true;
    }
    return name.endsWith("Pr");
}

QVector<MathChar> linearMath(const QVector<MathNode> &nodes)
{
    if (nodes.isEmpty())
        return {};
    Text out;
    Linear(nodes).equation(out);
    return tidy(out);
}

} // namespace rtf
