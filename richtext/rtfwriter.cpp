#include "richtext/rtfwriter.h"

#include "richtext/rtfcodepages.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <charconv>
#include <cmath>
#ifdef OPTALIS_QT_GUI_PRIVATE
#include <private/qtextdocument_p.h>
#endif

namespace rtf {

namespace {

    // Width of the text on an A4 page with 2.5 cm margins, for tables sized in percent.
    constexpr int kTextWidthTwips = 9638;

    int pixelsToTwips(double pixels)
    {
        return int(std::lround(pixels * 15.0));
    }

    // \levelnfc of a list style: decimal, Roman, letters, 23 for bullets; -1 for no mark.
    int levelNfc(QTextListFormat::Style style)
    {
        switch (style) {
        case QTextListFormat::ListDecimal:
            return 0;
        case QTextListFormat::ListUpperRoman:
            return 1;
        case QTextListFormat::ListLowerRoman:
            return 2;
        case QTextListFormat::ListUpperAlpha:
            return 3;
        case QTextListFormat::ListLowerAlpha:
            return 4;
        case QTextListFormat::ListDisc:
        case QTextListFormat::ListCircle:
        case QTextListFormat::ListSquare:
            return 23;
        default:
            return -1;
        }
    }

    char16_t bulletOf(QTextListFormat::Style style)
    {
        return style == QTextListFormat::ListCircle ? u'o'
            : style == QTextListFormat::ListSquare  ? char16_t(0x25AA)
                                                    : char16_t(0x2022);
    }

    bool isSymbol(const QString &family)
    {
        return family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
    }

    QString familyOf(const QTextCharFormat &format, const QTextDocument *doc)
    {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
        return doc->defaultFont().family();
    }

    class Writer
    {
    public:
        explicit Writer(const QTextDocument *doc)
            : m_doc(doc)
#ifdef OPTALIS_QT_GUI_PRIVATE
            , m_priv(QTextDocumentPrivate::get(doc))
            , m_buffer(m_priv->buffer())
#endif
        {
        }

        QByteArray run();

    private:
        void collectFormat(const QTextCharFormat &format);
        int fontIndex(const QTextCharFormat &format) const;
        int colorIndex(const QColor &color) const;
        void header();
        void frame(const QTextFrame *frame, bool inTable);
        void table(const QTextTable *table);
        void flattenTable(const QTextTable *table);
        void block(const QTextBlock &block, bool inTable, const char *end);
        struct Chars
        {
            QByteArray properties;
            int codePage = 1252;
            bool image = false;
        };
        const Chars &chars(int index, const QTextCharFormat &format);
        void paragraphFormat(const QTextBlockFormat &format, bool inTable);
        void charProperties(const QTextCharFormat &format);
        void text(QStringView text, int codePage);
        qsizetype plainRun(const char16_t *s, qsizetype i, qsizetype n);
        void character(char16_t c, int codePage);
        void image(const QTextImageFormat &format);
        void number(const char *word, int value);
        void listTable();
        void listMark(const QTextBlock &block);

        const QTextDocument *m_doc;
#ifdef OPTALIS_QT_GUI_PRIVATE
        const QTextDocumentPrivate *m_priv;
        QString m_buffer; // the document's own text, which its fragments point into
#endif
        QByteArray m_out;
        QStringList m_fonts;
        QVector<int> m_fontCharsets;
        QHash<QString, int> m_fontIndex;
        QHash<QString, QFont::StyleHint> m_fontHint;
        QVector<QColor> m_colors;
        QHash<int, Chars> m_chars;
        QHash<int, QByteArray> m_paragraphs; // by format index and whether in a table
        QVector<const QTextList *> m_lists; // in the order the text meets them
        int m_defaultHalfPoints = 24;
    };

    void Writer::number(const char *word, int value)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_out += '\\';
        m_out += word;
        m_out.append(digits, end - digits);
    }

    void Writer::collectFormat(const QTextCharFormat &format)
    {
        const QString family = familyOf(format, m_doc);
        if (!m_fontIndex.contains(family)) {
            m_fontIndex.insert(family, int(m_fonts.size()));
            m_fonts.push_back(family);
            m_fontCharsets.push_back(isSymbol(family) ? 2 : charsetOfFontName(family));
            m_fontHint.insert(family, format.fontStyleHint());
        }
        for (const QBrush &brush : {format.foreground(), format.background()}) {
            if (brush.style() != Qt::NoBrush && !m_colors.contains(brush.color().toRgb()))
                m_colors.push_back(brush.color().toRgb());
        }
    }

    int Writer::fontIndex(const QTextCharFormat &format) const
    {
        return m_fontIndex.value(familyOf(format, m_doc), 0);
    }

    int Writer::colorIndex(const QColor &color) const
    {
        return int(m_colors.indexOf(color.toRgb())) + 1;
    }

    void Writer::header()
    {
        m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036\\uc1\n{\\fonttbl";
        for (int i = 0; i < m_fonts.size(); ++i) {
            const QString &name = m_fonts[i];
            const int charset = m_fontCharsets[i];
            static const QHash<int, const char *> families = {
                {QFont::Serif, "\\froman"},       {QFont::SansSerif, "\\fswiss"},
                {QFont::TypeWriter, "\\fmodern"}, {QFont::Monospace, "\\fmodern"},
                {QFont::Cursive, "\\fscript"},    {QFont::Decorative, "\\fdecor"},
            };
            m_out += "{";
            number("f", i);
            m_out += charset == 2 ? "\\ftech" : families.value(m_fontHint.value(name), "\\fnil");
            number("fcharset", charset);
            m_out += ' ';
            text(name, charset == 2 ? 1252 : codePageOfCharset(charset, 1252));
            m_out += ";}";
        }
        m_out += "}\n{\\colortbl;";
        for (const QColor &c : m_colors) {
            number("red", c.red());
            number("green", c.green());
            number("blue", c.blue());
            m_out += ';';
        }
        m_out += "}\n";
        listTable();
        m_out += "\\paperw11906\\paperh16838\\margl1417\\margr1417\\margt1417\\margb1417"
                 "\\viewkind4\n";
    }

    // One list definition and override per list of the pane, its style at every level: a list
    // of the pane has one style, and its indent says at which level its paragraphs stand.
    void Writer::listTable()
    {
        if (m_lists.isEmpty())
            return;
        m_out += "{\\*\\listtable\n";
        for (int i = 0; i < m_lists.size(); ++i) {
            const QTextListFormat format = m_lists[i]->format();
            const int nfc = levelNfc(format.style());
            m_out += "{\\list";
            number("listtemplateid", i + 1);
            for (int level = 0; level < 9; ++level) {
                m_out += "{\\listlevel";
                number("levelnfc", nfc);
                m_out += "\\levelstartat1{\\leveltext";
                if (nfc == 23) {
                    m_out += "\\'01";
                    character(bulletOf(format.style()), 1252);
                    m_out += ";}{\\levelnumbers;}";
                } else {
                    const QString prefix = format.numberPrefix();
                    const QString suffix = format.numberSuffix();
                    static const char hex[] = "0123456789abcdef";
                    const int length = std::min(int(prefix.size() + 1 + suffix.size()), 255);
                    m_out += "\\'";
                    m_out += hex[length / 16];
                    m_out += hex[length % 16];
                    text(prefix, 1252);
                    m_out += "\\'0";
                    m_out += char('0' + level);
                    text(suffix, 1252);
                    m_out += ";}{\\levelnumbers\\'";
                    m_out += hex[(prefix.size() + 1) / 16 % 16];
                    m_out += hex[(prefix.size() + 1) % 16];
                    m_out += ";}";
                }
                number("fi", -360);
                number("li", 720 * (level + 1));
                m_out += '}';
            }
            number("listid", i + 1);
            m_out += "}\n";
        }
        m_out += "}\n{\\*\\listoverridetable";
        for (int i = 0; i < m_lists.size(); ++i) {
            m_out += "{\\listoverride";
            number("listid", i + 1);
            m_out += "\\listoverridecount0";
            number("ls", i + 1);
            m_out += '}';
        }
        m_out += "}\n";
    }

    // The paragraph's list and level, and its mark as text for readers without lists.
    void Writer::listMark(const QTextBlock &b)
    {
        const QTextList *list = b.textList();
        if (!list || levelNfc(list->format().style()) < 0)
            return;
        qsizetype index = m_lists.indexOf(list);
        if (index < 0) {
            index = m_lists.size();
            m_lists.push_back(list);
        }
        const QTextListFormat format = list->format();
        number("ls", int(index) + 1);
        number("ilvl", std::clamp(format.indent() - 1, 0, 8));
        m_out += "{\\listtext\\pard\\plain ";
        if (levelNfc(format.style()) == 23)
            character(bulletOf(format.style()), 1252);
        else
            text(list->itemText(b), 1252);
        m_out += "\\tab}";
    }

    QByteArray Writer::run()
    {
        const double size = m_doc->defaultFont().pointSizeF();
        if (size > 0)
            m_defaultHalfPoints = int(std::lround(size * 2));
        m_fonts.clear();
        m_fontCharsets.clear();
        collectFormat(QTextCharFormat()); // the default font is \f0
        // The text first: the fonts, colours and lists of the header are those it meets, in
        // the order it meets them. The header then goes in the room left before it, in the
        // same buffer: a second buffer of the text's size made a long write three times
        // slower, its fresh pages faulted in on each save. Removing from the front keeps the
        // room there, but only a removal that leaves something moves the start: hence the
        // extra character, removed on its own.
        constexpr qsizetype room = 16 * 1024;
        m_out.reserve(room + m_doc->characterCount() * 2 + 1024);
        m_out.resize(room + 1);
        m_out.remove(0, room);
        m_out.remove(0, 1);
        frame(m_doc->rootFrame(), false);
        m_out += "}\n";
        QByteArray text = std::move(m_out);
        m_out = QByteArray();
        header();
        text.prepend(m_out);
        return text;
    }

    void Writer::frame(const QTextFrame *frame, bool inTable)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (const QTextFrame *child = it.currentFrame()) {
                const auto *t = qobject_cast<const QTextTable *>(child);
                if (t && !inTable)
                    table(t);
                else if (t)
                    flattenTable(t);
                else
                    this->frame(child, inTable);
            } else {
                block(it.currentBlock(), inTable, "\\par\n");
            }
        }
    }

    // A table inside a cell: its cells become paragraphs of the outer cell.
    void Writer::flattenTable(const QTextTable *t)
    {
        for (int r = 0; r < t->rows(); ++r) {
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                for (auto it = cell.begin(); !it.atEnd(); ++it) {
                    if (const QTextFrame *child = it.currentFrame())
                        frame(child, true);
                    else
                        block(it.currentBlock(), true, "\\par\n");
                }
            }
        }
    }

    void Writer::table(const QTextTable *t)
    {
        const int columns = t->columns();
        const QTextTableFormat format = t->format();
        const QVector<QTextLength> constraints = format.columnWidthConstraints();
        QVector<int> widths(columns, 0);
        int fixed = 0;
        int unsized = 0;
        for (int c = 0; c < columns; ++c) {
            const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
            if (length.type() == QTextLength::FixedLength)
                widths[c] = pixelsToTwips(length.rawValue());
            else if (length.type() == QTextLength::PercentageLength)
                widths[c] = int(kTextWidthTwips * length.rawValue() / 100.0);
            if (widths[c] > 0)
                fixed += widths[c];
            else
                ++unsized;
        }
        for (int c = 0; c < columns; ++c) {
            if (widths[c] <= 0)
                widths[c] = std::max(600, (kTextWidthTwips - fixed) / std::max(unsized, 1));
        }
        for (int r = 0; r < t->rows(); ++r) {
            m_out += "\\trowd\\trgaph70\\trleft0";
            int right = 0;
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.rowSpan() > 1 && cell.row() == r)
                    m_out += "\\clvmgf";
                else if (cell.row() != r)
                    m_out += "\\clvmrg";
                if (cell.columnSpan() > 1 && cell.column() == c)
                    m_out += "\\clmgf";
                else if (cell.column() != c)
                    m_out += "\\clmrg";
                m_out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                         "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
                right += widths[c];
                number("cellx", right);
            }
            m_out += '\n';
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() != r || cell.column() != c) {
                    m_out += "\\pard\\intbl\\cell\n";
                    continue;
                }
                // Every block but the last ends a paragraph; the last one ends the cell.
                QVector<QTextFrame::iterator> items;
                for (auto it = cell.begin(); !it.atEnd(); ++it)
                    items.push_back(it);
                bool ended = false;
                for (int i = 0; i < items.size(); ++i) {
                    if (const QTextFrame *child = items[i].currentFrame()) {
                        if (const auto *inner = qobject_cast<const QTextTable *>(child))
                            flattenTable(inner);
                        else
                            frame(child, true);
                    } else {
                        const bool last = i == items.size() - 1;
                        block(items[i].currentBlock(), true, last ? "\\cell\n" : "\\par\n");
                        ended = last;
                    }
                }
                if (!ended)
                    m_out += "\\pard\\intbl\\cell\n";
            }
            m_out += "\\row\n";
        }
    }

    void Writer::paragraphFormat(const QTextBlockFormat &f, bool inTable)
    {
        m_out += "\\pard";
        if (inTable)
            m_out += "\\intbl";
        const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            m_out += "\\qc";
        else if (align & Qt::AlignJustify)
            m_out += "\\qj";
        else if ((align & Qt::AlignRight)
                 || ((align & Qt::AlignTrailing) && !(align & Qt::AlignAbsolute)))
            m_out += "\\qr";
        else
            m_out += "\\ql";
        if (const int v = pixelsToTwips(f.leftMargin()))
            number("li", v);
        if (const int v = pixelsToTwips(f.rightMargin()))
            number("ri", v);
        if (const int v = pixelsToTwips(f.textIndent()))
            number("fi", v);
        if (const int v = pixelsToTwips(f.topMargin()))
            number("sb", v);
        if (const int v = pixelsToTwips(f.bottomMargin()))
            number("sa", v);
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            number("sl", int(std::lround(f.lineHeight() * 240.0 / 100.0)));
            m_out += "\\slmult1";
            break;
        case QTextBlockFormat::FixedHeight:
            number("sl", -pixelsToTwips(f.lineHeight()));
            m_out += "\\slmult0";
            break;
        case QTextBlockFormat::MinimumHeight:
            number("sl", pixelsToTwips(f.lineHeight()));
            m_out += "\\slmult0";
            break;
        default:
            break;
        }
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            m_out += "\\pagebb";
        // A rule, as the one above footnotes: a border under the paragraph, as wide as the right
        // indent leaves it.
        if (f.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
            const QTextLength width
                = f.lengthProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
            const int across = width.type() == QTextLength::FixedLength
                ? pixelsToTwips(width.rawValue())
                : width.type() == QTextLength::PercentageLength
                ? int(std::lround(kTextWidthTwips * width.rawValue() / 100.0))
                : kTextWidthTwips;
            m_out += "\\brdrb\\brdrs\\brdrw10";
            if (across < kTextWidthTwips && pixelsToTwips(f.rightMargin()) == 0)
                number("ri", kTextWidthTwips - std::max(across, 0));
        }
    }

    void Writer::charProperties(const QTextCharFormat &f)
    {
        m_out += "\\plain";
        number("f", fontIndex(f));
        const double points = f.fontPointSize();
        const int halfPoints = points > 0 ? int(std::lround(points * 2)) : m_defaultHalfPoints;
        number("fs", halfPoints);
        if (f.fontWeight() >= QFont::DemiBold)
            m_out += "\\b";
        if (f.fontItalic())
            m_out += "\\i";
        switch (f.underlineStyle()) {
        case QTextCharFormat::SingleUnderline:
            m_out += "\\ul";
            break;
        case QTextCharFormat::DashUnderline:
            m_out += "\\uldash";
            break;
        case QTextCharFormat::DotLine:
            m_out += "\\uld";
            break;
        case QTextCharFormat::DashDotLine:
            m_out += "\\uldashd";
            break;
        case QTextCharFormat::DashDotDotLine:
            m_out += "\\uldashdd";
            break;
        case QTextCharFormat::WaveUnderline:
            m_out += "\\ulwave";
            break;
        default:
            break;
        }
        if (f.fontStrikeOut())
            m_out += "\\strike";
        if (f.fontCapitalization() == QFont::AllUppercase)
            m_out += "\\caps";
        else if (f.fontCapitalization() == QFont::SmallCaps)
            m_out += "\\scaps";
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            m_out += "\\super";
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            m_out += "\\sub";
        if (const double offset = f.baselineOffset(); offset != 0) {
            const int v = int(std::lround(offset * halfPoints / 100.0));
            if (v > 0)
                number("up", v);
            else if (v < 0)
                number("dn", -v);
        }
        if (f.foreground().style() != Qt::NoBrush)
            number("cf", colorIndex(f.foreground().color()));
        if (f.background().style() != Qt::NoBrush)
            number("chcbpat", colorIndex(f.background().color()));
        m_out += ' ';
    }

    void Writer::character(char16_t c, int codePage)
    {
        switch (c) {
        case u'\\':
            m_out += "\\\\";
            return;
        case u'{':
            m_out += "\\{";
            return;
        case u'}':
            m_out += "\\}";
            return;
        case u'\t':
            m_out += "\\tab ";
            return;
        case QChar::LineSeparator:
            m_out += "\\line ";
            return;
        case QChar::Nbsp:
            m_out += "\\~";
            return;
        case QChar::SoftHyphen:
            m_out += "\\-";
            return;
        case 0x2011:
            m_out += "\\_";
            return;
        case QChar::ObjectReplacementCharacter:
            return;
        default:
            break;
        }
        if (c < 0x20)
            return;
        if (c < 0x80) {
            m_out += char(c);
            return;
        }
        static const char hex[] = "0123456789abcdef";
        // The five undefined bytes of cp1252 are left to \u. Word processors read a byte in the
        // code page of its font's charset, so a letter outside that code page goes as \u.
        unsigned char byte = 0;
        if ((c < 0x80 || c > 0x9F) && byteOfChar(codePage, c, &byte)) {
            m_out += "\\'";
            m_out += hex[byte >> 4];
            m_out += hex[byte & 15];
            return;
        }
        number("u", int(qint16(c)));
        m_out += '?';
    }

    // Plain ASCII from i on, as one piece: a character at a time was most of a long write.
    qsizetype Writer::plainRun(const char16_t *s, qsizetype i, qsizetype n)
    {
        qsizetype end = i;
        while (end < n && s[end] >= 0x20 && s[end] < 0x80 && s[end] != u'\\' && s[end] != u'{'
               && s[end] != u'}')
            ++end;
        if (end > i) {
            const qsizetype at = m_out.size();
            m_out.resize(at + (end - i));
            char *out = m_out.data() + at;
            for (qsizetype k = i; k < end; ++k)
                *out++ = char(s[k]);
        }
        return end;
    }

    void Writer::text(QStringView s, int codePage)
    {
        const bool symbol = codePage == kSymbolCodePage;
        const char16_t *chars = reinterpret_cast<const char16_t *>(s.utf16());
        const qsizetype n = s.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (!symbol) {
                i = plainRun(chars, i, n);
                if (i == n)
                    break;
            }
            const char16_t c = chars[i];
            // In a symbol font a byte names a symbol, not a letter: only Unicode says which
            // character the pane showed, for every word processor and for this reader alike.
            if (symbol && c > 0x20 && c != u'\\' && c != u'{' && c != u'}') {
                number("u", int(qint16(c)));
                m_out += '?';
                continue;
            }
            character(c, codePage);
        }
    }

    void Writer::image(const QTextImageFormat &format)
    {
        const QVariant resource
            = m_doc->resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage picture;
        if (resource.canConvert<QImage>())
            picture = resource.value<QImage>();
        else if (resource.canConvert<QPixmap>())
            picture = resource.value<QPixmap>().toImage();
        else if (resource.canConvert<QByteArray>())
            picture.loadFromData(resource.toByteArray());
        if (picture.isNull())
            return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.save(&buffer, "PNG"))
            return;
        const double width = format.width() > 0 ? format.width() : picture.width();
        const double height = format.height() > 0 ? format.height() : picture.height();
        m_out += "{\\pict\\pngblip";
        number("picw", picture.width());
        number("pich", picture.height());
        number("picwgoal", pixelsToTwips(width));
        number("pichgoal", pixelsToTwips(height));
        m_out += '\n';
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128) {
            m_out += hex.mid(i, 128);
            m_out += '\n';
        }
        m_out += '}';
    }

    // Properties of a character format, written once per format of the document.
    const Writer::Chars &Writer::chars(int index, const QTextCharFormat &format)
    {
        auto it = m_chars.find(index);
        if (it == m_chars.end()) {
            collectFormat(format);
            const qsizetype start = m_out.size();
            charProperties(format);
            Chars c;
            c.properties = m_out.mid(start);
            m_out.truncate(start);
            c.codePage = codePageOfCharset(m_fontCharsets.value(fontIndex(format)), 1252);
            c.image = format.isImageFormat();
            it = m_chars.insert(index, c);
        }
        return *it;
    }

    void Writer::block(const QTextBlock &b, bool inTable, const char *end)
    {
        // Written once per paragraph format of the document, as character formats are.
        const int key = b.blockFormatIndex() * 2 + (inTable ? 1 : 0);
        auto known = m_paragraphs.constFind(key);
        if (known == m_paragraphs.constEnd()) {
            const qsizetype start = m_out.size();
            paragraphFormat(b.blockFormat(), inTable);
            known = m_paragraphs.insert(key, m_out.mid(start));
            m_out.truncate(start);
        }
        m_out += *known;
        listMark(b);
#ifdef OPTALIS_QT_GUI_PRIVATE
        // The fragments straight from the document: through QTextBlock and QTextFragment each
        // was looked up in the document's tree and its text copied, half of a long write.
        const QTextFormatCollection *formats = m_priv->formatCollection();
        const int start = b.position();
        const int last = start + b.length() - 1; // the block's separator
        auto it = start > 0 ? m_priv->find(start - 1) : m_priv->begin();
        const int blockChars = start > 0 ? it->format : b.charFormatIndex();
        if (start > 0)
            ++it;
        const auto charsOf = [&](int index) -> const Chars & {
            const auto known = m_chars.constFind(index);
            return known != m_chars.constEnd() ? *known : chars(index, formats->charFormat(index));
        };
        m_out += charsOf(blockChars).properties;
        // Neighbours of one format are one group, as QTextBlock's iterator makes them.
        for (int at = start; at < last;) {
            const int format = it->format;
            const Chars &c = charsOf(format);
            m_out += '{';
            m_out += c.properties;
            int images = 0;
            do {
                const int length = int(it->size_array[0]);
                if (c.image)
                    images += length;
                else
                    text(QStringView(m_buffer).mid(it->stringPosition, length), c.codePage);
                at += length;
                ++it;
            } while (at < last && it->format == format);
            if (images > 0) {
                const QTextImageFormat image = formats->charFormat(format).toImageFormat();
                for (int i = 0; i < images; ++i)
                    this->image(image);
            }
            m_out += '}';
        }
#else
        m_out += chars(b.charFormatIndex(), b.charFormat()).properties;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int index = fragment.charFormatIndex();
            const auto known = m_chars.constFind(index);
            const Chars &c
                = known != m_chars.constEnd() ? *known : chars(index, fragment.charFormat());
            m_out += '{';
            m_out += c.properties;
            if (c.image) {
                const QTextImageFormat format = fragment.charFormat().toImageFormat();
                for (int i = 0; i < fragment.length(); ++i)
                    image(format);
            } else {
                text(fragment.text(), c.codePage);
            }
            m_out += '}';
        }
#endif
        m_out += end;
    }

} // namespace

QByteArray write(const QTextDocument *doc)
{
    return Writer(doc).run();
}

} // namespace rtf
