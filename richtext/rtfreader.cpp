#include "richtext/rtfreader.h"

#include "platform/codepage.h"
#include "richtext/metafile.h"
#include "richtext/rtfcodepages.h"
#include "richtext/rtfmath.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <QVector>
#ifdef OPTALIS_QT_GUI_PRIVATE
#include <private/qtextdocument_p.h>
#include <private/qtexttable_p.h>

#include <cstdlib>
#endif
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace rtf {

namespace {

    // Longest control word honoured; longer ones are read past and ignored.
    constexpr int kMaxWordLength = 32;
    // Numeric parameters are clamped to this, so that 30 digits never overflow.
    constexpr long kMaxParameter = 1000000000L;
    // A block or a format run costs the document far more than the bytes that ask for it; past
    // these counts paragraphs end with a line break and format changes are no longer followed, so
    // that memory stays within a small multiple of the file's size.
    constexpr int kMaxParagraphs = 100000;
    constexpr int kMaxRuns = 400000;
    constexpr int kMaxColumns = 63; // as many as word processors make
    constexpr int kMaxNotes = 10000;
    // Pixels of all the metafiles drawn for one document: a few bytes of metafile make a large
    // image, and thousands of them would fill the memory.
    constexpr qint64 kMaxMetafilePixels = 16 * 1024 * 1024;
    constexpr int kTextWidthTwips = 9638; // an A4 page's text between 2.5 cm margins

    // Characters that would end a block or a frame, or stand for a picture, inside the text.
    bool isStructureMark(char16_t c)
    {
        return (c < 0x20 && c != u'\t') || c == QChar::ParagraphSeparator || c == 0xFDD0
            || c == 0xFDD1 || c == QChar::ObjectReplacementCharacter;
    }

    double twipsToPixels(int twips)
    {
        return twips / 15.0;
    }

    struct CharState
    {
        int font = -1;
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool hidden = false;
        quint8 underline = QTextCharFormat::NoUnderline;
        quint8 capitalization = QFont::MixedCase;
        quint8 vertical = QTextCharFormat::AlignNormal;
        quint8 unused = 0; // fills what would be padding: states compare as bytes
        int offset = 0; // half-points, up when positive
        int foreground = 0;
        int background = 0;

        // Compared for each run and each run's format: as bytes, a few loads instead of a
        // dozen branches.
        bool operator==(const CharState &o) const
        {
            return std::memcmp(this, &o, sizeof(CharState)) == 0;
        }
        bool operator!=(const CharState &o) const { return !(*this == o); }
    };
    static_assert(std::has_unique_object_representations_v<CharState>);

    struct ParaState
    {
        Qt::Alignment align = Qt::AlignLeft;
        int left = 0;
        int right = 0;
        int first = 0;
        int before = 0;
        int after = 0;
        int line = 0;
        bool lineMultiple = false;
        bool inTable = false;
        int list
            = -1; // \ls: the list override the paragraph belongs to (LibreOffice counts from 0)
        int level = 0;
        bool ruleBelow = false; // \brdrb: a border under the paragraph

        bool operator==(const ParaState &o) const
        {
            return align == o.align && left == o.left && right == o.right && first == o.first
                && before == o.before && after == o.after && line == o.line
                && lineMultiple == o.lineMultiple && inTable == o.inTable && list == o.list
                && level == o.level && ruleBelow == o.ruleBelow;
        }
    };

    enum class Dest : quint8 {
        Text,
        Skip,
        FontTable,
        ColorTable,
        Picture,
        ListTable,
        LevelText,
        OverrideTable,
        FieldInst,
        Math, // inside an equation: its groups make a tree of elements
        ObjClass
    };

    struct ListLevel
    {
        QTextListFormat::Style style = QTextListFormat::ListDecimal;
        int start = 1;
        bool numbered = true;
        QString prefix;
        QString suffix = QStringLiteral(".");
    };

    using ListDef = QVector<ListLevel>;

    struct State
    {
        CharState chars;
        ParaState para;
        Dest dest = Dest::Text;
        int uc = 1;
        int codePage = 1252; // of the current font, cached
        bool note = false; // inside a footnote
        // Inside \nesttableprops: the nested row's definition, which is not the outer row's;
        // some generators put the nested cells' text there too.
        bool nestedRow = false;
        int math = -1; // the equation element this group opened or is inside
        bool mathPicture = false; // inside an equation's own picture (\mmathPict)
        bool object = false; // inside an embedded object
    };

    struct Font
    {
        QString name;
        bool nameDone = false;
        int charset = -1;
        int cpg = 0;
        QFont::StyleHint hint = QFont::AnyStyle;
    };

    struct Picture
    {
        QString name; // of the document's image resource
        double width = 0;
        double height = 0;
    };

    // A paragraph's characters. It grows by doubling and leaves the room it gains unset until
    // written: clearing it first cost as much as writing it.
    class Text
    {
    public:
        Text() = default;
        Text(const Text &other) { *this += other; }
        Text(Text &&other) noexcept
            : m_data(std::move(other.m_data))
            , m_size(std::exchange(other.m_size, 0))
            , m_capacity(std::exchange(other.m_capacity, 0))
            , m_unchecked(std::exchange(other.m_unchecked, false))
        {
        }
        Text &operator=(const Text &other)
        {
            if (this != &other) {
                clear();
                *this += other;
            }
            return *this;
        }
        Text &operator=(Text &&other) noexcept
        {
            m_data = std::move(other.m_data);
            m_size = std::exchange(other.m_size, 0);
            m_capacity = std::exchange(other.m_capacity, 0);
            m_unchecked = std::exchange(other.m_unchecked, false);
            return *this;
        }

        const char16_t *data() const { return m_data.get(); }
        size_t size() const { return m_size; }
        void clear() // keeps the room
        {
            m_size = 0;
            m_unchecked = false;
        }
        // False when all the characters are known to be neither a control character, a block or
        // frame mark nor a surrogate: most paragraphs need no check before they go in.
        bool unchecked() const { return m_unchecked; }
        // Room for n more characters, to be written; truncate() gives back what was not.
        char16_t *extend(size_t n)
        {
            m_unchecked = true;
            return extendChecked(n);
        }
        // The same, for characters known to be printable ASCII or tabs.
        char16_t *extendChecked(size_t n)
        {
            if (m_capacity - m_size < n)
                grow(n);
            char16_t *at = m_data.get() + m_size;
            m_size += n;
            return at;
        }
        void truncate(size_t size) { m_size = std::min(size, m_size); }
        void append(const char16_t *chars, size_t n)
        {
            if (n > 0)
                std::memcpy(extend(n), chars, n * sizeof(char16_t));
        }
        Text &operator+=(char16_t c)
        {
            m_unchecked = m_unchecked || isStructureMark(c) || QChar::isSurrogate(c);
            *extendChecked(1) = c;
            return *this;
        }
        Text &operator+=(const QString &text)
        {
            append(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
            return *this;
        }
        Text &operator+=(const Text &other)
        {
            const bool unchecked = m_unchecked || other.m_unchecked;
            append(other.data(), other.size());
            m_unchecked = unchecked;
            return *this;
        }

    private:
        void grow(size_t n)
        {
            const size_t capacity = std::max({m_size + n, 2 * m_capacity, size_t(64)});
            std::unique_ptr<char16_t[]> data(new char16_t[capacity]);
            if (m_size > 0)
                std::memcpy(data.get(), m_data.get(), m_size * sizeof(char16_t));
            m_data = std::move(data);
            m_capacity = capacity;
        }

        std::unique_ptr<char16_t[]> m_data;
        size_t m_size = 0;
        size_t m_capacity = 0;
        bool m_unchecked = false;
    };

    // A paragraph's text is one string; its runs say where their formats start in it. A string
    // per run cost more to build and join than the text itself.
    struct Run
    {
        CharState chars;
        int start = 0; // in the paragraph's text; the run ends where the next one starts
        int picture = -1; // in the reader's pictures, when the run is one
    };

    struct Para
    {
        ParaState para;
        bool pageBreakBefore = false;
        Text text;
        std::vector<Run> runs;
        bool empty() const { return runs.empty(); }
        int endOf(size_t run) const
        {
            return run + 1 < runs.size() ? runs[run + 1].start : int(text.size());
        }
    };

    // Past the limits a paragraph joins the one before it.
    void appendRuns(Para &to, const Para &from)
    {
        const int shift = int(to.text.size());
        to.text += from.text;
        for (Run run : from.runs) {
            run.start += shift;
            to.runs.push_back(run);
        }
    }

    using Cell = QVector<Para>;

    struct Row
    {
        QVector<Cell> cells;
        QVector<int> bounds; // right edges of the cells, twips
        int left = 0;
    };

    enum class Kw {
        Unknown,
        // destinations
        FontTable,
        ColorTable,
        Pict,
        Skip,
        KeepStarred,
        ListTable,
        OverrideTable,
        // list table
        List,
        ListId,
        ListLevel,
        LevelNfc,
        LevelStartAt,
        LevelText,
        Ls,
        Ilvl,
        ListText,
        NestTableProps,
        // footnotes
        Footnote,
        Chftn,
        // equations and objects
        Math,
        Object,
        ObjClass,
        // fields
        Field,
        FldInst,
        FldRslt,
        // document
        CodePage, // value: the code page
        AnsiCpg,
        Deff,
        Uc,
        U,
        Bin,
        // font table
        Charset,
        Cpg,
        Family, // value: the QFont::StyleHint
        // colour table
        Red,
        Green,
        Blue,
        // characters
        Plain,
        F,
        Fs,
        B,
        I,
        Ul,
        UlStyle, // value: the QTextCharFormat::UnderlineStyle
        Strike,
        Caps,
        SmallCaps,
        Hidden,
        Super,
        Sub,
        NoSuperSub,
        Up,
        Dn,
        Cf,
        Cb,
        // paragraphs
        Pard,
        Par,
        Align, // value: the Qt::Alignment
        Li,
        Ri,
        Fi,
        Sb,
        Sa,
        Sl,
        SlMult,
        InTbl,
        Tab,
        Line,
        Page,
        PageBB,
        BorderBottom,
        // specials
        Special,
        // tables
        Trowd,
        Trleft,
        Cellx,
        Cell,
        NestCell,
        Row,
        NestRow,
        // pictures
        PngBlip,
        JpegBlip,
        WmfBlip,
        EmfBlip,
        PicW,
        PicH,
        PicWGoal,
        PicHGoal,
        PicScaleX,
        PicScaleY,
    };

    struct KwEntry
    {
        Kw kw;
        int value = 0; // what the kinds that say so stand for; the character of a Special
    };

    const std::unordered_map<std::string_view, KwEntry> &keywords()
    {
        static const std::unordered_map<std::string_view, KwEntry> table = [] {
            std::unordered_map<std::string_view, KwEntry> t;
            for (const char *w : {"stylesheet",   "info",         "header",
                                  "headerl",      "headerr",      "headerf",
                                  "footer",       "footerl",      "footerr",
                                  "footerf",

                                  "annotation",   "levelnumbers", "listname",
                                  "revtbl",       "rsidtbl",      "generator",
                                  "xmlnstbl",     "filetbl",      "nonshppict",
                                  "nonesttables", "objdata",      "pn",
                                  "datafield",    "template",     "userprops",
                                  "docvar",       "themedata",    "colorschememapping",
                                  "latentstyles", "datastore",    "pgdsctbl",
                                  "bkmkstart",    "bkmkend",      "field_inst",
                                  "atnid",        "atnauthor",    "txe",
                                  "xe",           "tc",           "pnseclvl",
                                  "falt",         "panose",       "fontemb",
                                  "fontfile",     "blipuid",      "shpinst",
                                  "sp",           "sn",           "sv"})
                t.emplace(w, KwEntry {Kw::Skip});
            for (const char *w : {"shppict", "shptxt", "result"})
                t.emplace(w, KwEntry {Kw::KeepStarred});
            const std::tuple<const char *, Kw, int> valued[] = {
                {"ansi", Kw::CodePage, 1252},
                {"mac", Kw::CodePage, 10000},
                {"pc", Kw::CodePage, 437},
                {"pca", Kw::CodePage, 850},
                {"froman", Kw::Family, QFont::Serif},
                {"fswiss", Kw::Family, QFont::SansSerif},
                {"fmodern", Kw::Family, QFont::TypeWriter},
                {"fscript", Kw::Family, QFont::Cursive},
                {"fdecor", Kw::Family, QFont::Decorative},
                {"ftech", Kw::Family, QFont::AnyStyle},
                {"uld", Kw::UlStyle, QTextCharFormat::DotLine},
                {"ulthd", Kw::UlStyle, QTextCharFormat::DotLine},
                {"uldash", Kw::UlStyle, QTextCharFormat::DashUnderline},
                {"ulthdash", Kw::UlStyle, QTextCharFormat::DashUnderline},
                {"ulldash", Kw::UlStyle, QTextCharFormat::DashUnderline},
                {"ulthldash", Kw::UlStyle, QTextCharFormat::DashUnderline},
                {"uldashd", Kw::UlStyle, QTextCharFormat::DashDotLine},
                {"ulthdashd", Kw::UlStyle, QTextCharFormat::DashDotLine},
                {"uldashdd", Kw::UlStyle, QTextCharFormat::DashDotDotLine},
                {"ulthdashdd", Kw::UlStyle, QTextCharFormat::DashDotDotLine},
                {"ulwave", Kw::UlStyle, QTextCharFormat::WaveUnderline},
                {"ulhwave", Kw::UlStyle, QTextCharFormat::WaveUnderline},
                {"ululdbwave", Kw::UlStyle, QTextCharFormat::WaveUnderline},
                {"ulnone", Kw::UlStyle, QTextCharFormat::NoUnderline},
                {"ql", Kw::Align, Qt::AlignLeft},
                {"qc", Kw::Align, Qt::AlignHCenter},
                {"qr", Kw::Align, Qt::AlignRight},
                {"qj", Kw::Align, Qt::AlignJustify},
                {"qd", Kw::Align, Qt::AlignJustify},
            };
            for (const auto &[w, k, v] : valued)
                t.emplace(w, KwEntry {k, v});
            const std::pair<const char *, Kw> plain[] = {
                {"fonttbl", Kw::FontTable},
                {"mmath", Kw::Math},
                {"moMath", Kw::Math},
                {"moMathPara", Kw::Math},
                {"object", Kw::Object},
                {"objclass", Kw::ObjClass},
                {"colortbl", Kw::ColorTable},
                {"pict", Kw::Pict},
                {"listtable", Kw::ListTable},
                {"listoverridetable", Kw::OverrideTable},
                {"list", Kw::List},
                {"listid", Kw::ListId},
                {"listlevel", Kw::ListLevel},
                {"levelnfc", Kw::LevelNfc},
                {"levelnfcn", Kw::LevelNfc},
                {"levelstartat", Kw::LevelStartAt},
                {"leveltext", Kw::LevelText},
                {"ls", Kw::Ls},
                {"ilvl", Kw::Ilvl},
                {"listtext", Kw::ListText},
                {"footnote", Kw::Footnote},
                {"nesttableprops", Kw::NestTableProps},
                {"chftn", Kw::Chftn},
                {"field", Kw::Field},
                {"fldinst", Kw::FldInst},
                {"fldrslt", Kw::FldRslt},
                {"ansicpg", Kw::AnsiCpg},
                {"deff", Kw::Deff},
                {"uc", Kw::Uc},
                {"u", Kw::U},
                {"bin", Kw::Bin},
                {"fcharset", Kw::Charset},
                {"cpg", Kw::Cpg},
                {"red", Kw::Red},
                {"green", Kw::Green},
                {"blue", Kw::Blue},
                {"plain", Kw::Plain},
                {"f", Kw::F},
                {"fs", Kw::Fs},
                {"b", Kw::B},
                {"i", Kw::I},
                {"ul", Kw::Ul},
                {"uldb", Kw::Ul},
                {"ulth", Kw::Ul},
                {"ulw", Kw::Ul},
                {"strike", Kw::Strike},
                {"striked", Kw::Strike},
                {"caps", Kw::Caps},
                {"scaps", Kw::SmallCaps},
                {"v", Kw::Hidden},
                {"super", Kw::Super},
                {"sub", Kw::Sub},
                {"nosupersub", Kw::NoSuperSub},
                {"up", Kw::Up},
                {"dn", Kw::Dn},
                {"cf", Kw::Cf},
                {"cb", Kw::Cb},
                {"chcbpat", Kw::Cb},
                {"highlight", Kw::Cb},
                {"pard", Kw::Pard},
                {"par", Kw::Par},
                {"sect", Kw::Par},
                {"li", Kw::Li},
                {"lin", Kw::Li},
                {"ri", Kw::Ri},
                {"rin", Kw::Ri},
                {"fi", Kw::Fi},
                {"sb", Kw::Sb},
                {"sa", Kw::Sa},
                {"sl", Kw::Sl},
                {"slmult", Kw::SlMult},
                {"intbl", Kw::InTbl},
                {"tab", Kw::Tab},
                {"line", Kw::Line},
                {"page", Kw::Page},
                {"pagebb", Kw::PageBB},
                {"brdrb", Kw::BorderBottom},
                {"trowd", Kw::Trowd},
                {"trleft", Kw::Trleft},
                {"cellx", Kw::Cellx},
                {"cell", Kw::Cell},
                {"nestcell", Kw::NestCell},
                {"row", Kw::Row},
                {"nestrow", Kw::NestRow},
                {"pngblip", Kw::PngBlip},
                {"jpegblip", Kw::JpegBlip},
                {"wmetafile", Kw::WmfBlip},
                {"emfblip", Kw::EmfBlip},
                {"picw", Kw::PicW},
                {"pich", Kw::PicH},
                {"picwgoal", Kw::PicWGoal},
                {"pichgoal", Kw::PicHGoal},
                {"picscalex", Kw::PicScaleX},
                {"picscaley", Kw::PicScaleY},
            };
            for (const auto &[w, k] : plain)
                t.emplace(w, KwEntry {k});
            const std::pair<const char *, char16_t> specials[] = {
                {"lquote", 0x2018},    {"rquote", 0x2019},  {"ldblquote", 0x201C},
                {"rdblquote", 0x201D}, {"bullet", 0x2022},  {"endash", 0x2013},
                {"emdash", 0x2014},    {"enspace", 0x2002}, {"emspace", 0x2003},
                {"qmspace", 0x2005},   {"zwj", 0x200D},     {"zwnj", 0x200C},
                {"ltrmark", 0x200E},   {"rtlmark", 0x200F},
            };
            for (const auto &[w, c] : specials)
                t.emplace(w, KwEntry {Kw::Special, c});
            return t;
        }();
        return table;
    }

    // The words of a long text are looked up by the million: an open table with a short hash,
    // compared by length first, costs a third of the standard map's lookup.
    class KeywordIndex
    {
    public:
        KeywordIndex()
        {
            for (const auto &[name, entry] : keywords()) {
                size_t i = slotOf(name);
                while (!m_slots[i].name.empty())
                    i = (i + 1) & kMask;
                m_slots[i] = Slot {name, entry};
            }
        }

        KwEntry find(std::string_view name) const
        {
            for (size_t i = slotOf(name);; i = (i + 1) & kMask) {
                const Slot &slot = m_slots[i];
                if (slot.name.empty())
                    return KwEntry {Kw::Unknown};
                if (slot.name.size() == name.size() && sameChars(slot.name, name))
                    return slot.entry;
            }
        }

    private:
        static constexpr size_t kMask = 1023; // the table is under a quarter full
        struct Slot
        {
            std::string_view name;
            KwEntry entry {Kw::Unknown};
        };

        // Words are a few letters long: a loop costs less than a call of memcmp.
        static bool sameChars(std::string_view a, std::string_view b)
        {
            for (size_t i = 0; i < a.size(); ++i) {
                if (a[i] != b[i])
                    return false;
            }
            return true;
        }

        static size_t slotOf(std::string_view name)
        {
            quint32 h = 2166136261u;
            for (const char c : name)
                h = (h ^ quint8(c)) * 16777619u;
            return h & kMask;
        }

        Slot m_slots[kMask + 1];
    };

    KwEntry findKeyword(std::string_view name)
    {
        static const KeywordIndex index;
        return index.find(name);
    }

    // What a byte is to a run of text: printable ASCII or a tab, a byte to decode or drop, or
    // the end of the run.
    constexpr quint8 kPlainByte = 0, kDecodedByte = 1, kEndOfText = 2;
    constexpr std::array<quint8, 256> kTextByteKinds = [] {
        std::array<quint8, 256> kinds {};
        for (int b = 0; b < 256; ++b)
            kinds[size_t(b)] = b >= 0x80 || (b < 0x20 && b != '\t') ? kDecodedByte : kPlainByte;
        for (const char b : {'\\', '{', '}', '\r', '\n'})
            kinds[size_t(b)] = kEndOfText;
        return kinds;
    }();

    bool isLetter(char c)
    {
        return quint8((quint8(c) | 0x20) - 'a') < 26; // ASCII letters differ by their case bit
    }

    bool isDigit(char c)
    {
        return c >= '0' && c <= '9';
    }

    int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    // \levelnfc: 0 decimal, 1 and 2 upper and lower Roman, 3 and 4 upper and lower letters,
    // 23 bullet, 255 no mark; the other numberings show as decimal.
    void levelStyle(int nfc, ListLevel *level)
    {
        level->numbered = nfc != 23 && nfc != 255;
        switch (nfc) {
        case 1:
            level->style = QTextListFormat::ListUpperRoman;
            break;
        case 2:
            level->style = QTextListFormat::ListLowerRoman;
            break;
        case 3:
            level->style = QTextListFormat::ListUpperAlpha;
            break;
        case 4:
            level->style = QTextListFormat::ListLowerAlpha;
            break;
        case 23:
            level->style = QTextListFormat::ListDisc;
            break;
        case 255:
            level->style = QTextListFormat::ListStyleUndefined;
            break;
        default:
            level->style = QTextListFormat::ListDecimal;
            break;
        }
    }

    // The East Asian code pages of Word and WordPad files, read through Qt's converters (ICU).
    // ICU has no Mac East Asian tables: the Mac ones (Word and TextEdit on a Mac) read through
    // the standard encodings they extend, which hold all their ideographs and kana.
    int windowsCodePageOfMac(int codePage)
    {
        switch (codePage) {
        case 10001:
            return 932;
        case 10002:
            return 950;
        case 10003:
            return 949;
        case 10008:
            return 936;
        default:
            return codePage;
        }
    }

    bool isDoubleByteCodePage(int codePage)
    {
        codePage = windowsCodePageOfMac(codePage);
        return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
    }

    // Asked for each run of text: the common code pages are told apart at once.
    inline bool isDoubleByte(int codePage)
    {
        return !(codePage < 932 || (codePage > 950 && codePage < 10001) || codePage > 10008)
            && isDoubleByteCodePage(codePage);
    }

    int doubleByteCodePageOfCharset(int charset)
    {
        switch (charset) {
        case 128:
            return 932;
        case 134:
            return 936;
        case 129:
            return 949;
        case 136:
            return 950;
        case 78:
            return 10001;
        case 79:
            return 10003;
        case 80:
            return 10008;
        case 81:
            return 10002;
        default:
            return 0;
        }
    }

    bool isLeadByte(int codePage, unsigned char b)
    {
        if (windowsCodePageOfMac(codePage) == 932)
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        return b >= 0x81 && b <= 0xFE;
    }

#ifdef OPTALIS_QT_GUI_PRIVATE
    // The document's flag that its frames' tree is to be built again. It is private; an explicit
    // instantiation may name a private member, and hands out its address.
    bool QTextDocumentPrivate::*framesDirtyMember();
    template <bool QTextDocumentPrivate::*Member>
    struct FramesDirtyAccess
    {
        friend bool QTextDocumentPrivate::*framesDirtyMember() { return Member; }
    };
    template struct FramesDirtyAccess<&QTextDocumentPrivate::framesDirty>;

    // Qt walks every bucket of the document's cursor set on each insertion, a fifth of a long
    // read: the reader's own insertions leave the cursors alone and it moves its writing cursor
    // itself. Other cursors (an editor's) stay at the start, where clearing the document put them.
    struct CursorsLeftAlone
    {
        explicit CursorsLeftAlone(QTextDocument *doc)
            : priv(QTextDocumentPrivate::get(doc))
        {
            priv->blockCursorAdjustment = true;
        }
        ~CursorsLeftAlone() { priv->blockCursorAdjustment = false; }
        CursorsLeftAlone(const CursorsLeftAlone &) = delete;
        CursorsLeftAlone &operator=(const CursorsLeftAlone &) = delete;
        QTextDocumentPrivate *priv;
    };
#endif

    class Reader
    {
    public:
        Reader(const QByteArray &bytes, QTextDocument *doc)
            : m_data(bytes.constData())
            , m_size(bytes.size())
            , m_doc(doc)
            , m_cursor(doc)
        {
        }

        void run();

    private:
        struct CachedFormat
        {
            CharState key;
            QTextCharFormat format;
            int index = -1; // in the document's format collection, once inserted
        };

        // Parsing.
        void openGroup();
        void closeGroup();
        void controlWord();
        void controlSymbol(char c);
        void word(std::string_view name, bool hasParam, int param);
        void textBytes();
        void byte(unsigned char b);
        void character(char16_t c);
        void skipBinary(int count);
        bool consumeFallback();
        State &st(); // for a change: gives the group its own state
        const State &top() const { return m_stack.back(); }
        void setFont(int index);
        int codePageOf(int font) const;
        void setDocumentCodePage(int codePage);
        void doubleByte(int codePage, unsigned char b);

        // Content.
        void appendText(const QString &text);
        void appendChar(char16_t c);
        // A run of text starting at `at` in the paragraph's text, unless the last run goes on
        // in the same format: asked for each stretch of text, answered here most times.
        void startRun(const CharState &chars, int at)
        {
            const std::vector<Run> &runs = m_para.runs;
            if (runs.empty() || runs.back().picture >= 0
                || (runs.back().chars != chars && m_runs < kMaxRuns))
                newRun(chars, at);
        }
        void newRun(const CharState &chars, int at);
        void startRun(const CharState &chars) { startRun(chars, int(m_para.text.size())); }
        void startRun() { startRun(top().chars); }
        void endParagraph(bool last = false);
        void renewPara();
        void endCell();
        void endRow();
        void flushTable();
        void emitPara(const Para &para);
#ifdef OPTALIS_QT_GUI_PRIVATE
        int insertRuns(int at, const Para &para);
#else
        void insertRuns(QTextCursor &cursor, const Para &para);
#endif
        void finishPicture();
        const QTextCharFormat &charFormat(const CharState &c) { return cachedFormat(c).format; }
        CachedFormat &cachedFormat(const CharState &c);
#ifndef OPTALIS_QT_GUI_PRIVATE
        int insertText(QTextCursor &cursor, const QString &text, const CharState &c);
#endif
#ifdef OPTALIS_QT_GUI_PRIVATE
        int formatIndex(CachedFormat &cached);
        int blockFormatIndex(const Para &para);
        int insertSegment(int at, const QString &text);
        void splitSegments();
        void scanFrames();
#endif
        QTextBlockFormat blockFormat(const Para &p) const;
        QTextTableFormat tableFormat() const;
        void listWord(Kw kw, int param);
        void finishLevelText();
        void storeList();
        void finishNote();
        void emitNotes();
        void finishFieldInst();
        void startMath(std::string_view name);
        bool mathWord(std::string_view name, const KwEntry &entry, bool hasParam, int param,
                      bool first, bool starred);
        void openMathNode(std::string_view name);
        void mathChar(char16_t c);
        void finishMath();
        char16_t unicodeChar(int param) const;
        int fontNamed(const QString &name);
        void addToList(const ParaState &para, QTextCursor &cursor);

        const char *m_data;
        qsizetype m_size;
        qsizetype m_pos = 0;
        QTextDocument *m_doc;
        QTextCursor m_cursor;
        bool m_atEmptyBlock = true;

        // Groups share the state of the group around them until they change it: a file of
        // thousands of nested groups costs a copy only where something is set.
        std::vector<State> m_stack;
        std::vector<int> m_shared; // groups opened on each kept state and not yet given their own
        int m_depth = 0;
        bool m_ended = false; // the document's own group is closed: what follows is not text
        bool m_starred = false;
        int m_fallbackLeft = 0; // \uc characters still to skip after \u
        int m_documentCodePage = 1252;
        // Code pages of fonts as codePageOf() gave them, with the count of changes to the fonts
        // and the document's code page they hold for.
        struct FontCodePage
        {
            int font = 0;
            int codePage = 0;
            quint32 fontsChanged = 0;
        };
        std::array<FontCodePage, 8> m_fontCodePages {};
        quint32 m_fontsChanged = 1;
        int m_defaultFont = -1;

        int m_paragraphs = 0;
        int m_runs = 0;
        QVector<Picture> m_pictures;
        static constexpr size_t kMaxSpareParas = 256;
        std::vector<Para> m_spareParas; // emptied, their room kept

        QHash<int, Font> m_fonts;
        int m_fontEntry = -1;
        QVector<QColor> m_colors;
        int m_red = -1, m_green = -1, m_blue = -1;

        Para m_para;
        bool m_pageBreakNext = false;
        Cell m_cell;
        Row m_rowDef;
        QVector<Row> m_table;

        // Picture being read.
        enum class PictKind { Other, Png, Jpeg, Wmf, Emf };
        PictKind m_pictKind = PictKind::Other;
        QByteArray m_pictData;
        int m_pictNibble = -1;
        int m_picWGoal = 0, m_picHGoal = 0, m_scaleX = 100, m_scaleY = 100;
        int m_picW = 0, m_picH = 0; // a metafile's size, in 0.01 mm
        int m_imageCount = 0;
        qint64 m_metafilePixels = 0;

        std::vector<CachedFormat> m_formats; // searched for each run's format

        // Lists: definitions by \listid, overrides (\ls) naming them, the lists made so far.
        QHash<int, ListDef> m_listDefs;
        QHash<int, int> m_overrides;
        ListDef m_listEntry;
        int m_listEntryId = -1;
        int m_overrideListId = -1;
        QString m_levelText;

        // Double-byte text: a lead byte waiting for its trail byte.
        int m_lead = -1;

        // Footnotes: their paragraphs, shown at the end, and the body's paragraph they interrupt.
        QVector<Para> m_notes;
        Para m_bodyPara;
        int m_noteCount = 0;

        // Field being read: its instruction, and whether its stored result is replaced.
        QString m_fieldInst;
        bool m_skipResult = false;
        QHash<int, QTextList *> m_lists; // by \ls and level
        QHash<int, int> m_listCounts; // items so far of the lists written as text
        CachedFormat m_uncachedFormat;

        // Equation being read: its elements, the characters' format where it starts, and the
        // picture the file gives for it, if any.
        QVector<MathNode> m_math;
        CharState m_mathChars;
        Run m_mathPicture;
        bool m_groupStart = false; // no word nor text yet in the group just opened
        QString m_objClass; // of the embedded object being read
        // The last paragraph's format and its index in the document: most paragraphs repeat it.
        ParaState m_lastBlock;
        bool m_lastBlockBreak = false;
        int m_lastBlockIndex = -1;
#ifdef OPTALIS_QT_GUI_PRIVATE
        // A paragraph's text goes in as one fragment, in its first run's format, and is cut into
        // its runs once the document is whole (splitSegments): a fragment inserted costs a walk
        // of the document's tree, a cut in the rebuilt tree nothing.
        struct Span
        {
            int length;
            int format;
        };
        struct Segment
        {
            uint fragment; // holding the segment's text, after `offset` characters of other text
            int offset;
            int first; // its spans in m_spans
            int count;
        };
        std::vector<Span> m_spans;
        int m_segmentFirst = 0;
        std::vector<Segment> m_segments;
        QVector<QTextTable *> m_tables;
        // The format of the text insertRuns ended with when that text is not yet cut into its
        // runs, else -1: a cursor would read it wrong from the document.
        int m_lastFormat = -1;
#endif
    };

    void Reader::run()
    {
        m_cursor.beginEditBlock();
        State base;
        m_stack.reserve(64);
        m_stack.push_back(base);
        m_shared.push_back(0);
        while (m_pos < m_size && !m_ended) {
            const char c = m_data[m_pos];
            switch (c) {
            case '{':
                ++m_pos;
                openGroup();
                break;
            case '}':
                ++m_pos;
                closeGroup();
                break;
            case '\\':
                ++m_pos;
                if (m_pos >= m_size)
                    break;
                if (isLetter(m_data[m_pos])) {
                    controlWord();
                } else {
                    const char symbol = m_data[m_pos++];
                    m_groupStart = m_groupStart && symbol == '*';
                    controlSymbol(symbol);
                }
                break;
            case '\r':
            case '\n':
                ++m_pos;
                break;
            default:
                m_groupStart = false;
                textBytes();
                break;
            }
        }
        while (m_depth > 1)
            closeGroup();
        if (!m_para.empty())
            endParagraph(true);
        if (!m_cell.isEmpty())
            endCell();
        if (!m_rowDef.cells.isEmpty())
            endRow();
        flushTable();
        emitNotes();
#ifdef OPTALIS_QT_GUI_PRIVATE
        splitSegments();
        scanFrames();
#endif
        m_cursor.endEditBlock();
    }

    State &Reader::st()
    {
        if (m_shared.back() > 0 && int(m_stack.size()) < kMaxGroupDepth) {
            --m_shared.back();
            State copy = m_stack.back();
            m_stack.push_back(copy);
            m_shared.push_back(0);
        }
        return m_stack.back();
    }

    void Reader::openGroup()
    {
        m_fallbackLeft = 0;
        m_lead = -1;
        m_starred = false;
        m_groupStart = true;
        ++m_depth;
        ++m_shared.back();
    }

    void Reader::closeGroup()
    {
        m_fallbackLeft = 0;
        m_lead = -1;
        m_starred = false;
        if (m_depth <= 1) {
            // Writers leave NULs or garbage after the document's last brace.
            m_ended = m_depth == 1;
            m_depth = 0;
            return;
        }
        --m_depth;
        if (m_shared.back() > 0) {
            --m_shared.back();
            return;
        }
        const Dest closing = m_stack.back().dest;
        const bool closingNote = m_stack.back().note;
        const bool closingMath = closing == Dest::Math;
        m_stack.pop_back();
        m_shared.pop_back();
        if (closing == Dest::Picture && top().dest != Dest::Picture)
            finishPicture();
        if (closingMath && top().dest != Dest::Math)
            finishMath();
        if (closingNote && !top().note)
            finishNote();
        if (closing == Dest::FieldInst && top().dest != Dest::FieldInst)
            finishFieldInst();
        if (closing == Dest::LevelText && top().dest != Dest::LevelText)
            finishLevelText();
        if (closing == Dest::ListTable && top().dest != Dest::ListTable)
            storeList();
        if (closing == Dest::FontTable || closing == Dest::ColorTable) {
            // Fonts chosen before the table was known (\deff) now get their code page.
            m_fontEntry = -1;
            for (State &s : m_stack)
                s.codePage = codePageOf(s.chars.font);
            m_formats.clear();
        }
    }

    void Reader::controlWord()
    {
        // Read through locals: the compiler must assume that a write through a char pointer
        // may change the members, and reloaded them for each character.
        const char *const start = m_data + m_pos;
        const char *const last = m_data + m_size;
        const char *p = start;
        while (p < last && isLetter(*p))
            ++p;
        const qsizetype length = p - start;
        bool hasParam = false;
        bool negative = false;
        long value = 0;
        if (last - p > 1 && *p == '-' && isDigit(p[1])) {
            negative = true;
            ++p;
        }
        while (p < last && isDigit(*p)) {
            hasParam = true;
            value = std::min(value * 10 + (*p - '0'), kMaxParameter);
            ++p;
        }
        if (p < last && *p == ' ')
            ++p;
        m_pos = p - m_data;
        if (length > kMaxWordLength) {
            m_starred = false;
            m_groupStart = false;
            consumeFallback();
            return;
        }
        word(std::string_view(start, size_t(length)), hasParam, int(negative ? -value : value));
    }

    bool Reader::consumeFallback()
    {
        if (m_fallbackLeft <= 0)
            return false;
        --m_fallbackLeft;
        return true;
    }

    void Reader::skipBinary(int count)
    {
        const qsizetype n = std::clamp<qsizetype>(count, 0, m_size - m_pos);
        if (top().dest == Dest::Picture)
            m_pictData.append(m_data + m_pos, n);
        m_pos += n;
    }

    void Reader::controlSymbol(char c)
    {
        if (c == '*') {
            m_starred = true;
            return;
        }
        if (c == '\'') {
            int hi = m_pos < m_size ? hexValue(m_data[m_pos]) : -1;
            int lo = m_pos + 1 < m_size ? hexValue(m_data[m_pos + 1]) : -1;
            if (hi < 0 || lo < 0) {
                // Truncated: take what digit there is and go on.
                if (hi >= 0)
                    ++m_pos;
                return;
            }
            m_pos += 2;
            if (consumeFallback())
                return;
            const auto b = static_cast<unsigned char>(hi * 16 + lo);
            // A letter of the text, the common case, straight to its run.
            if (const State &s = top(); s.dest == Dest::Text && !isDoubleByte(s.codePage)) {
                if (b >= 0x20 || b == '\t')
                    appendChar(s.codePage != kSymbolCodePage && b < 0x80
                                   ? char16_t(b)
                                   : charOfByte(s.codePage, b));
                return;
            }
            byte(b);
            return;
        }
        if (consumeFallback())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            byte(static_cast<unsigned char>(c));
            break;
        case '~':
            character(0x00A0);
            break;
        case '-':
            character(0x00AD);
            break;
        case '_':
            character(0x2011);
            break;
        case '\r':
        case '\n':
            if (top().dest == Dest::Text)
                endParagraph();
            break;
        case '\t':
            character(u'\t');
            break;
        default:
            break;
        }
    }

    int Reader::codePageOf(int font) const
    {
        const auto it = m_fonts.constFind(font);
        if (it == m_fonts.constEnd())
            return m_documentCodePage;
        if (it->name.size() == 6
            && it->name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
            return kSymbolCodePage;
        if (it->cpg > 0 && (knowsCodePage(it->cpg) || isDoubleByte(it->cpg)))
            return it->cpg;
        if (const int cp = doubleByteCodePageOfCharset(it->charset))
            return cp;
        if (it->charset == 2)
            return 1252; // other symbol fonts: the glyph comes from the font itself
        return it->charset < 0 ? m_documentCodePage
                               : codePageOfCharset(it->charset, m_documentCodePage);
    }

    // Lead and trail bytes may come as raw bytes or \\'hh pairs, in any mix: they are joined here
    // and decoded by Qt's converter of the code page.
    void Reader::doubleByte(int codePage, unsigned char b)
    {
        char bytes[2] = {char(b), 0};
        qsizetype n = 1;
        if (m_lead >= 0) {
            bytes[0] = char(m_lead);
            bytes[1] = char(b);
            n = 2;
            m_lead = -1;
        } else if (isLeadByte(codePage, b)) {
            m_lead = b;
            return;
        } else if (b < 0x80) {
            character(char16_t(b));
            return;
        }
        const QString text
            = codepage::fromDoubleByte(windowsCodePageOfMac(codePage), QByteArrayView(bytes, n));
        appendText(text.isEmpty() ? QString(QChar::ReplacementCharacter) : text);
    }

    void Reader::setFont(int index)
    {
        st().chars.font = index;
        // Each switch of font asked the table again; the answers hold until it changes.
        FontCodePage &known = m_fontCodePages[size_t(index) % m_fontCodePages.size()];
        if (known.font != index || known.fontsChanged != m_fontsChanged)
            known = FontCodePage {index, codePageOf(index), m_fontsChanged};
        st().codePage = known.codePage;
    }

    void Reader::setDocumentCodePage(int codePage)
    {
        if ((!knowsCodePage(codePage) && !isDoubleByte(codePage)) || codePage == kSymbolCodePage)
            return;
        m_documentCodePage = codePage;
        ++m_fontsChanged;
        for (State &s : m_stack)
            s.codePage = codePageOf(s.chars.font);
    }

    void Reader::word(std::string_view name, bool hasParam, int param)
    {
        const bool starred = m_starred;
        const bool first = m_groupStart; // the word that opens its group
        m_starred = false;
        m_groupStart = false;
        const KwEntry entry = findKeyword(name);
        if (entry.kw == Kw::Bin) {
            skipBinary(hasParam ? param : 0);
            return;
        }
        if (top().dest == Dest::Skip)
            return;
        State &s = st();
        if (s.dest == Dest::Math && mathWord(name, entry, hasParam, param, first, starred))
            return;
        if (entry.kw == Kw::Math && s.dest == Dest::Text && !s.mathPicture) {
            startMath(name);
            return;
        }
        if (starred && entry.kw != Kw::KeepStarred && entry.kw != Kw::Pict
            && entry.kw != Kw::ListTable && entry.kw != Kw::OverrideTable && entry.kw != Kw::FldInst
            && entry.kw != Kw::NestTableProps && entry.kw != Kw::ObjClass) {
            s.dest = Dest::Skip;
            return;
        }
        if (consumeFallback() || s.dest == Dest::ObjClass)
            return;
        const bool on = !hasParam || param != 0;

        // The destinations of tables and pictures take their own words; text, the common case,
        // skips their tests.
        if (s.dest != Dest::Text) {
            if (s.dest == Dest::FontTable) {
                ++m_fontsChanged;
                Font *font = m_fontEntry >= 0 ? &m_fonts[m_fontEntry] : nullptr;
                switch (entry.kw) {
                case Kw::F:
                    m_fontEntry = param;
                    m_fonts[param];
                    return;
                case Kw::Charset:
                    if (font)
                        font->charset = param;
                    return;
                case Kw::Cpg:
                    if (font)
                        font->cpg = param;
                    return;
                case Kw::Family:
                    if (font)
                        font->hint = QFont::StyleHint(entry.value);
                    return;
                case Kw::Skip:
                    s.dest = Dest::Skip;
                    return;
                case Kw::U:
                    if (font && !font->nameDone)
                        font->name += QChar(char16_t(param));
                    m_fallbackLeft = s.uc;
                    return;
                case Kw::Uc:
                    s.uc = std::clamp(param, 0, 16);
                    return;
                default:
                    return;
                }
            }
            if (s.dest == Dest::FieldInst) {
                if (entry.kw == Kw::U && m_fieldInst.size() < 256)
                    m_fieldInst += QChar(char16_t(param < 0 ? param + 65536 : param));
                if (entry.kw == Kw::U)
                    m_fallbackLeft = s.uc;
                return;
            }
            if (s.dest == Dest::ListTable || s.dest == Dest::OverrideTable
                || s.dest == Dest::LevelText) {
                if (entry.kw == Kw::LevelText && s.dest == Dest::ListTable) {
                    s.dest = Dest::LevelText;
                    m_levelText.clear();
                } else if (entry.kw == Kw::U && s.dest == Dest::LevelText) {
                    m_levelText += QChar(char16_t(param < 0 ? param + 65536 : param));
                    m_fallbackLeft = s.uc;
                } else if (entry.kw == Kw::Skip) {
                    s.dest = Dest::Skip;
                } else {
                    listWord(entry.kw, param);
                }
                return;
            }
            if (s.dest == Dest::ColorTable) {
                const int v = std::clamp(param, 0, 255);
                if (entry.kw == Kw::Red)
                    m_red = v;
                else if (entry.kw == Kw::Green)
                    m_green = v;
                else if (entry.kw == Kw::Blue)
                    m_blue = v;
                return;
            }
            if (s.dest == Dest::Picture) {
                switch (entry.kw) {
                case Kw::PngBlip:
                    m_pictKind = PictKind::Png;
                    break;
                case Kw::JpegBlip:
                    m_pictKind = PictKind::Jpeg;
                    break;
                case Kw::WmfBlip:
                    m_pictKind = PictKind::Wmf;
                    break;
                case Kw::EmfBlip:
                    m_pictKind = PictKind::Emf;
                    break;
                case Kw::PicW:
                    m_picW = param;
                    break;
                case Kw::PicH:
                    m_picH = param;
                    break;
                case Kw::PicWGoal:
                    m_picWGoal = param;
                    break;
                case Kw::PicHGoal:
                    m_picHGoal = param;
                    break;
                case Kw::PicScaleX:
                    m_scaleX = param;
                    break;
                case Kw::PicScaleY:
                    m_scaleY = param;
                    break;
                case Kw::Skip:
                    s.dest = Dest::Skip;
                    break;
                default:
                    break;
                }
                return;
            }
        }

        CharState &c = s.chars;
        ParaState &p = s.para;
        switch (entry.kw) {
        case Kw::Unknown:
        case Kw::KeepStarred:
        case Kw::Family:
        case Kw::Charset:
        case Kw::Cpg:
        case Kw::Red:
        case Kw::Green:
        case Kw::Blue:
        case Kw::PngBlip:
        case Kw::JpegBlip:
        case Kw::WmfBlip:
        case Kw::EmfBlip:
        case Kw::PicW:
        case Kw::PicH:
        case Kw::PicWGoal:
        case Kw::PicHGoal:
        case Kw::PicScaleX:
        case Kw::PicScaleY:
        case Kw::Bin:
            break;
        case Kw::Skip:
            s.dest = Dest::Skip;
            break;
        case Kw::FontTable:
            s.dest = Dest::FontTable;
            m_fontEntry = -1;
            break;
        case Kw::ColorTable:
            s.dest = Dest::ColorTable;
            m_colors.clear();
            m_red = m_green = m_blue = -1;
            break;
        case Kw::Pict:
            s.dest = Dest::Picture;
            m_pictKind = PictKind::Other;
            m_pictData.clear();
            m_pictNibble = -1;
            m_picWGoal = m_picHGoal = 0;
            m_picW = m_picH = 0;
            m_scaleX = m_scaleY = 100;
            break;
        case Kw::CodePage:
            setDocumentCodePage(entry.value);
            break;
        case Kw::AnsiCpg:
            setDocumentCodePage(param);
            break;
        case Kw::Deff:
            m_defaultFont = param;
            if (c.font < 0)
                setFont(param);
            break;
        case Kw::Uc:
            s.uc = std::clamp(param, 0, 16);
            break;
        case Kw::U:
            character(unicodeChar(param));
            m_fallbackLeft = s.uc;
            break;
        case Kw::Plain:
            c = CharState();
            setFont(m_defaultFont);
            break;
        case Kw::F:
            setFont(param);
            break;
        case Kw::Fs:
            c.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 24;
            break;
        case Kw::B:
            c.bold = on;
            break;
        case Kw::I:
            c.italic = on;
            break;
        case Kw::Ul:
            c.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
            break;
        case Kw::UlStyle:
            c.underline = quint8(entry.value);
            break;
        case Kw::Strike:
            c.strike = on;
            break;
        case Kw::Caps:
            c.capitalization = on ? QFont::AllUppercase : QFont::MixedCase;
            break;
        case Kw::SmallCaps:
            c.capitalization = on ? QFont::SmallCaps : QFont::MixedCase;
            break;
        case Kw::Hidden:
            c.hidden = on;
            break;
        case Kw::Super:
            c.vertical = QTextCharFormat::AlignSuperScript;
            break;
        case Kw::Sub:
            c.vertical = QTextCharFormat::AlignSubScript;
            break;
        case Kw::NoSuperSub:
            c.vertical = QTextCharFormat::AlignNormal;
            c.offset = 0;
            break;
        case Kw::Up:
            c.offset = std::clamp(hasParam ? param : 6, 0, 3276);
            break;
        case Kw::Dn:
            c.offset = -std::clamp(hasParam ? param : 6, 0, 3276);
            break;
        case Kw::Cf:
            c.foreground = param;
            break;
        case Kw::Cb:
            c.background = param;
            break;
        case Kw::Pard:
            p = ParaState();
            break;
        case Kw::Par:
            endParagraph();
            break;
        case Kw::Align:
            p.align = Qt::Alignment(entry.value);
            break;
        case Kw::Li:
            p.left = std::clamp(param, -31680, 31680);
            break;
        case Kw::Ri:
            p.right = std::clamp(param, -31680, 31680);
            break;
        case Kw::Fi:
            p.first = std::clamp(param, -31680, 31680);
            break;
        case Kw::Sb:
            p.before = std::clamp(param, 0, 31680);
            break;
        case Kw::Sa:
            p.after = std::clamp(param, 0, 31680);
            break;
        case Kw::Sl:
            p.line = std::clamp(param, -31680, 31680);
            break;
        case Kw::SlMult:
            p.lineMultiple = on;
            break;
        case Kw::InTbl:
            p.inTable = true;
            break;
        case Kw::Tab:
            character(u'\t');
            break;
        case Kw::Line:
            character(QChar::LineSeparator);
            break;
        case Kw::Page:
            endParagraph();
            m_pageBreakNext = true;
            break;
        case Kw::BorderBottom:
            p.ruleBelow = true;
            break;
        case Kw::PageBB:
            m_pageBreakNext = true;
            break;
        case Kw::Special:
            character(char16_t(entry.value));
            break;
        case Kw::NestTableProps:
            s.nestedRow = true;
            break;
        case Kw::Trowd:
            if (s.nestedRow)
                break;
            m_rowDef.bounds.clear();
            m_rowDef.left = 0;
            break;
        case Kw::Trleft:
            if (!s.nestedRow)
                m_rowDef.left = param;
            break;
        case Kw::Cellx:
            if (!s.nestedRow && m_rowDef.bounds.size() < kMaxColumns)
                m_rowDef.bounds.push_back(param);
            break;
        case Kw::Cell:
            if (s.note) {
                endParagraph();
                break;
            }
            p.inTable = true;
            endCell();
            break;
        case Kw::NestCell:
            p.inTable = true;
            endParagraph();
            break;
        case Kw::Row:
            endRow();
            break;
        case Kw::NestRow:
            break;
        case Kw::ListTable:
            s.dest = Dest::ListTable;
            m_listEntry.clear();
            m_listEntryId = -1;
            break;
        case Kw::OverrideTable:
            s.dest = Dest::OverrideTable;
            break;
        case Kw::Ls:
            p.list = std::clamp(param, 0, 32767);
            break;
        case Kw::Ilvl:
            p.level = std::clamp(param, 0, 8);
            break;
        case Kw::Field:
            m_skipResult = false;
            break;
        case Kw::Object:
            s.object = true;
            m_objClass.clear();
            break;
        case Kw::ObjClass:
            s.dest = Dest::ObjClass;
            m_objClass.clear();
            break;
        case Kw::Math: // where an equation cannot start: in a picture's group
            break;
        case Kw::FldInst:
            s.dest = Dest::FieldInst;
            m_fieldInst.clear();
            break;
        case Kw::FldRslt:
            if (m_skipResult)
                s.dest = Dest::Skip;
            m_skipResult = false;
            break;
        case Kw::Footnote:
            if (s.note || m_notes.size() >= kMaxNotes) {
                s.dest = Dest::Skip;
                break;
            }
            s.note = true;
            p = ParaState();
            ++m_noteCount;
            m_bodyPara = m_para;
            m_para = Para();
            break;
        case Kw::Chftn:
            appendText(QString::number(s.note ? m_noteCount : m_noteCount + 1));
            break;
        case Kw::ListText:
            // The list table gives the marks; \listtext repeats them for older readers.
            if (!m_listDefs.isEmpty())
                s.dest = Dest::Skip;
            break;
        case Kw::List:
        case Kw::ListId:
        case Kw::ListLevel:
        case Kw::LevelNfc:
        case Kw::LevelStartAt:
        case Kw::LevelText:
            break;
        }
    }

    void Reader::textBytes()
    {
        const State &s = top();
        if (s.dest != Dest::Text || m_fallbackLeft > 0 || s.chars.hidden || s.mathPicture
            || isDoubleByte(s.codePage)) {
            byte(static_cast<unsigned char>(m_data[m_pos++]));
            return;
        }
        // A run of plain bytes at once: the common case, and the one that must be fast.
        const int codePage = s.codePage;
        const char *begin = m_data + m_pos;
        const char *end = begin;
        const char *const last = m_data + m_size;
        quint8 kinds = 0;
        while (end < last) {
            const quint8 kind = kTextByteKinds[static_cast<unsigned char>(*end)];
            if (kind == kEndOfText)
                break;
            kinds |= kind;
            ++end;
        }
        m_pos = end - m_data;
        const bool ascii = codePage != kSymbolCodePage && !(kinds & kDecodedByte);
        const qsizetype length = end - begin;
        Text &text = m_para.text;
        const size_t at = text.size();
        char16_t *out = ascii ? text.extendChecked(size_t(length)) : text.extend(size_t(length));
        if (ascii) {
            for (qsizetype i = 0; i < length; ++i)
                out[i] = static_cast<unsigned char>(begin[i]);
            startRun(s.chars, int(at));
            return;
        }
        size_t n = 0;
        for (qsizetype i = 0; i < length; ++i) {
            const unsigned char b = static_cast<unsigned char>(begin[i]);
            if (b < 0x20 && b != '\t')
                continue;
            out[n++]
                = b < 0x80 && codePage != kSymbolCodePage ? char16_t(b) : charOfByte(codePage, b);
        }
        text.truncate(at + n);
        if (n > 0)
            startRun(s.chars, int(at));
    }

    void Reader::byte(unsigned char b)
    {
        const State &s = top();
        switch (s.dest) {
        case Dest::Skip:
            return;
        case Dest::Picture:
            if (const int h = hexValue(char(b)); h >= 0) {
                if (m_pictNibble < 0) {
                    m_pictNibble = h;
                } else {
                    m_pictData.append(char(m_pictNibble * 16 + h));
                    m_pictNibble = -1;
                }
            }
            return;
        case Dest::ListTable:
        case Dest::OverrideTable:
            return;
        case Dest::FieldInst:
            if (!consumeFallback() && m_fieldInst.size() < 256)
                m_fieldInst += QChar(charOfByte(top().codePage, b));
            return;
        case Dest::Math:
            if (consumeFallback() || (b < 0x20 && b != '\t'))
                return;
            if (isDoubleByte(s.codePage))
                mathChar(b < 0x80 ? char16_t(b) : char16_t(QChar::ReplacementCharacter));
            else
                mathChar(s.codePage != kSymbolCodePage && b < 0x80 ? char16_t(b)
                                                                   : charOfByte(s.codePage, b));
            return;
        case Dest::ObjClass:
            if (!consumeFallback() && m_objClass.size() < 64)
                m_objClass += QChar(char16_t(b & 0x7F));
            return;
        case Dest::LevelText:
            if (!consumeFallback() && m_levelText.size() < 64)
                m_levelText += QChar(charOfByte(m_documentCodePage, b));
            return;
        case Dest::ColorTable:
            if (b == ';') {
                if (m_red < 0 && m_green < 0 && m_blue < 0)
                    m_colors.push_back(QColor());
                else
                    m_colors.push_back(
                        QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
                m_red = m_green = m_blue = -1;
            }
            return;
        case Dest::FontTable:
            if (m_fontEntry >= 0) {
                ++m_fontsChanged;
                Font &font = m_fonts[m_fontEntry];
                if (b == ';')
                    font.nameDone = true;
                else if (!font.nameDone && b >= 0x20 && font.name.size() < 256)
                    font.name += QChar(charOfByte(codePageOf(m_fontEntry) == kSymbolCodePage
                                                      ? m_documentCodePage
                                                      : codePageOf(m_fontEntry),
                                                  b));
            }
            return;
        case Dest::Text:
            if (consumeFallback())
                return;
            if (b < 0x20 && b != '\t')
                return;
            if (isDoubleByte(s.codePage)) {
                doubleByte(s.codePage, b);
                return;
            }
            character(s.codePage != kSymbolCodePage && b < 0x80 ? char16_t(b)
                                                                : charOfByte(s.codePage, b));
            return;
        }
    }

    void Reader::character(char16_t c)
    {
        if (top().dest == Dest::Math)
            mathChar(c);
        else if (top().dest == Dest::Text)
            appendChar(c);
    }

    void Reader::appendChar(char16_t c)
    {
        if (top().chars.hidden || top().mathPicture || isStructureMark(c))
            return;
        startRun();
        m_para.text += c;
    }

    void Reader::newRun(const CharState &chars, int at)
    {
        std::vector<Run> &runs = m_para.runs;
        if (runs.capacity() == 0)
            runs.reserve(8); // a cell's paragraph starts with no room
        runs.push_back(Run {chars, at, -1});
        ++m_runs;
    }

    void Reader::appendText(const QString &text)
    {
        if (text.isEmpty() || top().chars.hidden || top().mathPicture)
            return;
        startRun();
        m_para.text += text;
    }

    void Reader::endParagraph(bool last)
    {
        m_para.para = top().para;
        if (top().note) {
            m_para.para.inTable = false;
            if (m_paragraphs < kMaxParagraphs)
                m_notes.push_back(m_para);
            ++m_paragraphs;
            m_para = Para();
            return;
        }
        if (m_para.para.inTable) {
            ++m_paragraphs;
            if (m_paragraphs < kMaxParagraphs)
                m_cell.push_back(std::move(m_para));
            else if (!m_para.empty())
                appendRuns(m_cell.isEmpty() ? m_cell.emplace_back() : m_cell.back(), m_para);
        } else {
            if (!m_cell.isEmpty())
                endCell();
            if (!m_rowDef.cells.isEmpty())
                endRow();
            flushTable();
            if (m_paragraphs >= kMaxParagraphs && !last) {
                // Too many: the rest gathers into one last paragraph, line by line.
                startRun();
                m_para.text += char16_t(QChar::LineSeparator);
                return;
            }
            ++m_paragraphs;
            m_para.pageBreakBefore = m_pageBreakNext;
            m_pageBreakNext = false;
            emitPara(m_para);
            // The room of the text and runs is kept for the next paragraph: growing it again was
            // a tenth of a long read.
            m_para.runs.clear();
            m_para.text.clear();
            m_para.pageBreakBefore = false;
            return;
        }
        renewPara();
    }

    // An empty paragraph for the reader, with the room of one already read if there is one.
    void Reader::renewPara()
    {
        if (m_spareParas.empty()) {
            m_para = Para();
            return;
        }
        m_para = std::move(m_spareParas.back());
        m_spareParas.pop_back();
        m_para.para = ParaState();
        m_para.pageBreakBefore = false;
        m_para.text.clear();
        m_para.runs.clear();
    }

    // Past the limits a cell's text joins the last cell instead of opening a new one.
    void appendToCell(Cell &cell, const Cell &more)
    {
        if (cell.isEmpty())
            cell.push_back(Para());
        for (const Para &para : more)
            appendRuns(cell.back(), para);
    }

    void Reader::endCell()
    {
        m_para.para = top().para;
        m_para.para.inTable = true;
        m_cell.push_back(std::move(m_para));
        renewPara();
        ++m_paragraphs;
        if (m_rowDef.cells.size() < kMaxColumns && m_paragraphs < kMaxParagraphs)
            m_rowDef.cells.push_back(std::exchange(m_cell, Cell())); // a copy's clear allocated
        else if (!m_rowDef.cells.isEmpty())
            appendToCell(m_rowDef.cells.back(), m_cell);
        else if (!m_table.isEmpty() && !m_table.back().cells.isEmpty())
            appendToCell(m_table.back().cells.back(), m_cell);
        else
            m_rowDef.cells.push_back(m_cell);
        m_cell.clear();
    }

    void Reader::endRow()
    {
        if (!m_para.empty() || !m_cell.isEmpty())
            endCell();
        if (!m_rowDef.cells.isEmpty()) {
            m_table.push_back(m_rowDef);
            m_rowDef.cells.clear();
        }
    }

    QTextTableFormat Reader::tableFormat() const
    {
        // Columns as wide as the row with the most cells says.
        const Row *widest = &m_table.front();
        for (const Row &row : m_table) {
            if (row.cells.size() > widest->cells.size())
                widest = &row;
        }
        QTextTableFormat format;
        format.setCellPadding(2);
        format.setCellSpacing(0);
        format.setBorder(1);
        format.setBorderCollapse(true);
        if (widest->bounds.size() >= widest->cells.size()) {
            QVector<QTextLength> widths;
            int left = widest->left;
            for (int i = 0; i < widest->cells.size(); ++i) {
                const int right = widest->bounds[i];
                widths.push_back(QTextLength(QTextLength::FixedLength,
                                             twipsToPixels(std::max(right - left, 60))));
                left = right;
            }
            format.setColumnWidthConstraints(widths);
        }
        return format;
    }

    void Reader::flushTable()
    {
        if (m_table.isEmpty())
            return;
        int columns = 0;
        for (const Row &row : m_table)
            columns = std::max(columns, int(row.cells.size()));
#ifdef OPTALIS_QT_GUI_PRIVATE
        // The cursor puts itself in the first cell; the cursors' set was walked for each cell.
        QTextTable *table = nullptr;
        {
            const CursorsLeftAlone alone(m_doc);
            table = m_cursor.insertTable(int(m_table.size()), columns, tableFormat());
        }
        if (table)
            m_tables.push_back(table);
#else
        QTextTable *table = m_cursor.insertTable(int(m_table.size()), columns, tableFormat());
#endif
#ifdef OPTALIS_QT_GUI_PRIVATE
        // The cells are filled in the document's order, each starting one past where the one
        // before it ended: a cell looked up or a cursor made for it cost as much as its text.
        QTextDocumentPrivate *priv = QTextDocumentPrivate::get(m_doc);
        int at = m_cursor.position();
        for (const Row &row : std::as_const(m_table)) {
            for (int c = 0; c < columns; ++c, ++at) {
                if (c >= row.cells.size())
                    continue;
                bool first = true;
                for (const Para &para : row.cells[c]) {
                    if (first) {
                        // A cell's new block has no layout, list nor undo record to update.
                        QTextDocumentPrivate::block(priv->blocksFind(at))->format
                            = blockFormatIndex(para);
                    } else {
                        QTextCursor cursor(m_doc);
                        cursor.setPosition(at);
                        if (m_lastFormat >= 0)
                            cursor.insertBlock(blockFormat(para),
                                               priv->formatCollection()->charFormat(m_lastFormat));
                        else
                            cursor.insertBlock(blockFormat(para));
                        at = cursor.position();
                    }
                    first = false;
                    at = insertRuns(at, para);
                    if (para.para.list >= 0) {
                        QTextCursor cursor(m_doc);
                        cursor.setPosition(at);
                        addToList(para.para, cursor);
                        at = cursor.position();
                    }
                }
            }
        }
#else
        for (int r = 0; r < m_table.size(); ++r) {
            const Row &row = m_table[r];
            for (int c = 0; c < row.cells.size(); ++c) {
                QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
                bool first = true;
                for (const Para &para : row.cells[c]) {
                    if (first)
                        cursor.setBlockFormat(blockFormat(para));
                    else
                        cursor.insertBlock(blockFormat(para));
                    first = false;
                    insertRuns(cursor, para);
                    if (para.para.list >= 0)
                        addToList(para.para, cursor);
                }
            }
        }
#endif
        // The cells' paragraphs lend their room to the next table's: a cell's paragraph
        // allocated its text and runs anew.
        for (Row &row : m_table) {
            for (Cell &cell : row.cells) {
                for (Para &para : cell) {
                    if (m_spareParas.size() < kMaxSpareParas)
                        m_spareParas.push_back(std::move(para));
                }
            }
        }
        m_table.clear();
        m_cursor.movePosition(QTextCursor::End);
        m_atEmptyBlock = true;
    }

    QTextBlockFormat Reader::blockFormat(const Para &para) const
    {
        const ParaState &p = para.para;
        QTextBlockFormat f;
        f.setAlignment(p.align);
        // An empty paragraph with a border under it is a rule, as far across as its indents
        // leave of the page's text (A4, 2.5 cm margins), like the one above footnotes.
        const bool rule = p.ruleBelow && para.empty();
        if (rule) {
            const double across = 100.0
                * (kTextWidthTwips - std::max(p.left, 0) - std::max(p.right, 0)) / kTextWidthTwips;
            f.setProperty(
                QTextFormat::BlockTrailingHorizontalRulerWidth,
                QTextLength(QTextLength::PercentageLength, std::clamp(across, 1.0, 100.0)));
        }
        if (p.left != 0)
            f.setLeftMargin(twipsToPixels(p.left));
        if (p.right != 0 && !rule)
            f.setRightMargin(twipsToPixels(p.right));
        if (p.first != 0)
            f.setTextIndent(twipsToPixels(p.first));
        if (p.before != 0)
            f.setTopMargin(twipsToPixels(p.before));
        if (p.after != 0)
            f.setBottomMargin(twipsToPixels(p.after));
        if (p.line != 0) {
            if (p.lineMultiple && p.line > 0)
                f.setLineHeight(p.line * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
            else if (p.line < 0)
                f.setLineHeight(twipsToPixels(-p.line), QTextBlockFormat::FixedHeight);
            else
                f.setLineHeight(twipsToPixels(p.line), QTextBlockFormat::MinimumHeight);
        }
        if (para.pageBreakBefore)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        return f;
    }

    // The reference holds until the next call.
    Reader::CachedFormat &Reader::cachedFormat(const CharState &c)
    {
        for (CachedFormat &cached : m_formats) {
            if (cached.key == c)
                return cached;
        }
        QTextCharFormat f;
        const auto font = m_fonts.constFind(c.font);
        // Text of a symbol font was turned into Unicode letters: the symbol font itself would
        // show them as boxes or not at all, the document's font shows them.
        if (font != m_fonts.constEnd() && !font->name.trimmed().isEmpty()
            && codePageOf(c.font) != kSymbolCodePage) {
            f.setFontFamilies(QStringList {font->name.trimmed()});
            if (font->hint != QFont::AnyStyle)
                f.setFontStyleHint(font->hint);
        }
        f.setFontPointSize(c.halfPoints / 2.0);
        f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(c.italic);
        f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(c.underline));
        f.setFontStrikeOut(c.strike);
        if (c.capitalization != QFont::MixedCase)
            f.setFontCapitalization(QFont::Capitalization(c.capitalization));
        f.setVerticalAlignment(QTextCharFormat::VerticalAlignment(c.vertical));
        if (c.offset != 0)
            f.setBaselineOffset(c.offset * 100.0 / c.halfPoints);
        if (c.foreground > 0 && c.foreground < m_colors.size() && m_colors[c.foreground].isValid())
            f.setForeground(m_colors[c.foreground]);
        if (c.background > 0 && c.background < m_colors.size() && m_colors[c.background].isValid())
            f.setBackground(m_colors[c.background]);
        if (m_formats.size() >= 64) {
            m_uncachedFormat = CachedFormat {c, f, -1};
            return m_uncachedFormat;
        }
        m_formats.push_back({c, f, -1});
        return m_formats.back();
    }

#ifndef OPTALIS_QT_GUI_PRIVATE
    // Returns the position after the text.
    int Reader::insertText(QTextCursor &cursor, const QString &text, const CharState &c)
    {
        cursor.insertText(text, charFormat(c));
        return cursor.position();
    }
#endif

#ifdef OPTALIS_QT_GUI_PRIVATE
    int Reader::blockFormatIndex(const Para &para)
    {
        if (para.para.ruleBelow)
            return QTextDocumentPrivate::get(m_doc)->formatCollection()->indexForFormat(
                blockFormat(para));
        if (m_lastBlockIndex < 0 || !(m_lastBlock == para.para)
            || m_lastBlockBreak != para.pageBreakBefore) {
            m_lastBlock = para.para;
            m_lastBlockBreak = para.pageBreakBefore;
            m_lastBlockIndex = QTextDocumentPrivate::get(m_doc)->formatCollection()->indexForFormat(
                blockFormat(para));
        }
        return m_lastBlockIndex;
    }

    int Reader::formatIndex(CachedFormat &cached)
    {
        if (cached.index < 0)
            cached.index = QTextDocumentPrivate::get(m_doc)->formatCollection()->indexForFormat(
                cached.format);
        return cached.index;
    }
#endif

    // A surrogate without its partner in its run would make the writer emit half a character, and
    // a block or frame mark would break the document's structure: they are replaced.
    QString checkedText(const Para &para)
    {
        const char16_t *chars = para.text.data();
        // The text is read where it is, for as long as the paragraph lives.
        const QString text = QString::fromRawData(reinterpret_cast<const QChar *>(chars),
                                                  qsizetype(para.text.size()));
        if (!para.text.unchecked())
            return text;
        QString checked;
        for (size_t r = 0; r < para.runs.size(); ++r) {
            const qsizetype end = para.endOf(r);
            for (qsizetype i = para.runs[r].start; i < end; ++i) {
                const char16_t ch = chars[i];
                if (ch >= 0x20 && ch < QChar::ParagraphSeparator)
                    continue;
                if (QChar::isHighSurrogate(ch) && i + 1 < end
                    && QChar::isLowSurrogate(chars[i + 1])) {
                    ++i;
                } else if (QChar::isSurrogate(ch) || isStructureMark(ch)) {
                    if (checked.isNull()) {
                        checked = text;
                        checked.detach();
                    }
                    checked[i] = QChar::ReplacementCharacter;
                }
            }
        }
        return checked.isNull() ? text : checked;
    }

#ifdef OPTALIS_QT_GUI_PRIVATE
    // Returns the position after the runs; pictures go in through the document's cursor.
    int Reader::insertRuns(int at, const Para &para)
    {
        QTextCursor &cursor = m_cursor;
        m_lastFormat = -1;
        const QString text = checkedText(para);
        int segmentStart = 0; // in the text, of the text not yet in the document
        const auto segment = [&](int end) {
            // The whole paragraph, the common case, goes in without a copy.
            if (segmentStart == 0 && end == int(text.size()))
                at = insertSegment(at, text);
            else if (end > segmentStart)
                at = insertSegment(at, text.mid(segmentStart, end - segmentStart));
            segmentStart = end;
        };
#else
    // The cursor is moved once, after the runs: each move looks up its block again.
    void Reader::insertRuns(QTextCursor &cursor, const Para &para)
    {
        int at = cursor.position();
        const QString text = checkedText(para);
#endif
        for (size_t r = 0; r < para.runs.size(); ++r) {
            const Run &run = para.runs[r];
            if (run.picture >= 0) {
#ifdef OPTALIS_QT_GUI_PRIVATE
                segment(run.start);
#endif
                const Picture &picture = m_pictures[run.picture];
                QTextImageFormat image;
                image.merge(charFormat(run.chars));
                image.setName(picture.name);
                image.setWidth(picture.width);
                image.setHeight(picture.height);
                cursor.setPosition(at);
                cursor.insertImage(image);
                at = cursor.position();
#ifdef OPTALIS_QT_GUI_PRIVATE
                m_lastFormat = -1;
#endif
                continue;
            }
            const int length = para.endOf(r) - run.start;
#ifdef OPTALIS_QT_GUI_PRIVATE
            if (length == 0)
                continue;
            const int format = formatIndex(cachedFormat(run.chars));
            // Two runs whose formats differ only in what the document does not keep make one
            // fragment, as the document's insertion would.
            if (int(m_spans.size()) > m_segmentFirst && m_spans.back().format == format)
                m_spans.back().length += length;
            else
                m_spans.push_back(Span {length, format});
#else
            at = insertText(cursor, text.mid(run.start, length), run.chars);
#endif
        }
#ifdef OPTALIS_QT_GUI_PRIVATE
        segment(int(text.size()));
        return at;
#else
        cursor.setPosition(at);
#endif
    }

#ifdef OPTALIS_QT_GUI_PRIVATE
    // The text gathered since the last image or the paragraph's start, as one fragment. Returns
    // the position after it.
    int Reader::insertSegment(int at, const QString &text)
    {
        const int count = int(m_spans.size()) - m_segmentFirst;
        if (count == 0)
            return at;
        QTextDocumentPrivate *priv = QTextDocumentPrivate::get(m_doc);
        {
            const CursorsLeftAlone alone(m_doc);
            priv->insert(at, text, m_spans[size_t(m_segmentFirst)].format);
        }
        if (count == 1) {
            m_spans.pop_back();
            m_lastFormat = -1;
        } else {
            // The document may have joined the text to the fragment before it, of its format.
            const uint fragment = priv->fragmentMap().findNode(at);
            const int offset = at - int(priv->fragmentMap().position(fragment));
            m_segments.push_back(Segment {fragment, offset, m_segmentFirst, count});
            m_lastFormat = m_spans.back().format;
            m_segmentFirst = int(m_spans.size());
        }
        return at + int(text.size());
    }

    // Qt builds the tree of frames again at the end of the edit, asking each fragment for its
    // object through its format's properties: a seventh of reading a long table. The same walk,
    // with each format's object looked up once.
    void Reader::scanFrames()
    {
        QTextDocumentPrivate *priv = QTextDocumentPrivate::get(m_doc);
        bool &dirty = priv->*framesDirtyMember();
        if (!dirty)
            return;
        const auto clear = [](const auto &self, QTextFrame *f) -> void {
            QTextFramePrivate *d = static_cast<QTextFramePrivate *>(QObjectPrivate::get(f));
            for (QTextFrame *child : std::as_const(d->childFrames))
                self(self, child);
            d->childFrames.clear();
            d->parentFrame = nullptr;
        };
        const auto frameData = [](QTextFrame *f) {
            return static_cast<QTextFramePrivate *>(QObjectPrivate::get(f));
        };
        QTextFrame *f = priv->rootFrame();
        clear(clear, f);
        const QString text = priv->buffer();
        std::vector<QTextFrame *> frames(size_t(priv->formatCollection()->numFormats()));
        std::vector<char> known(frames.size(), 0);
        const QTextDocumentPrivate::FragmentMap &map = priv->fragmentMap();
        for (uint n = map.firstNode(); n; n = map.next(n)) {
            const QTextFragmentData *fragment = map.fragment(n);
            const int format = fragment->format;
            QTextFrame *frame = nullptr;
            if (format >= 0 && size_t(format) < frames.size()) {
                if (!known[size_t(format)]) {
                    frames[size_t(format)] = qobject_cast<QTextFrame *>(priv->objectForFormat(format));
                    known[size_t(format)] = 1;
                }
                frame = frames[size_t(format)];
            } else {
                frame = qobject_cast<QTextFrame *>(priv->objectForFormat(format));
            }
            if (!frame)
                continue;
            const QChar ch = text.at(fragment->stringPosition);
            if (ch == QTextBeginningOfFrame) {
                if (f != frame) { // a table's cells each begin with the table's own mark
                    frameData(frame)->parentFrame = f;
                    frameData(f)->childFrames.append(frame);
                    f = frame;
                }
            } else if (ch == QTextEndOfFrame) {
                f = frameData(frame)->parentFrame;
            } else if (ch == QChar::ObjectReplacementCharacter) {
                frameData(frame)->parentFrame = f;
                frameData(f)->childFrames.append(frame);
            }
        }
        dirty = false;
    }

    // Cuts the segments' fragments into their runs and builds the document's tree of fragments
    // again, balanced, from the fragments in order: each cut through the document's own insertion
    // would walk the tree, and a long text's runs were most of its reading. Fragments are
    // numbered anew; the tables, which know theirs by number, are told.
    void Reader::splitSegments()
    {
        if (m_segments.empty())
            return;
        using Fragments = QFragmentMapData<QTextFragmentData>;
        QTextDocumentPrivate::FragmentMap &fragmentMap
            = QTextDocumentPrivate::get(m_doc)->fragmentMap();
        // The map holds nothing but its data: the two share their address.
        static_assert(std::is_standard_layout_v<QTextDocumentPrivate::FragmentMap>
                      && sizeof(QTextDocumentPrivate::FragmentMap) == sizeof(Fragments));
        Fragments &map = *reinterpret_cast<Fragments *>(&fragmentMap);
        // While the tree is rebuilt a fragment's colour, unused by a walk, tells that a table
        // names it, and a segment's format is the segment's number, negative.
        constexpr quint32 red = 0, black = 1, named = 2; // the first two are the map's

        const uint oldCount = map.head->node_count;
        uint count = oldCount;
        for (size_t i = 0; i < m_segments.size(); ++i) {
            const Segment &segment = m_segments[i];
            QTextFragmentData *fragment = map.fragment(segment.fragment);
            qint64 length = segment.offset;
            for (int k = 0; k < segment.count; ++k)
                length += m_spans[size_t(segment.first + k)].length;
            Q_ASSERT(length == fragment->size_array[0]);
            if (length != fragment->size_array[0])
                continue;
            fragment->format = -int(i) - 1;
            count += uint(segment.count - 1);
        }
        std::vector<uint *> startsAndEnds;
        std::vector<int *> cells;
        for (QTextTable *table : std::as_const(m_tables)) {
            auto *d = static_cast<QTextTablePrivate *>(QObjectPrivate::get(table));
            startsAndEnds.push_back(&d->fragment_start);
            startsAndEnds.push_back(&d->fragment_end);
            for (int &cell : d->cells)
                cells.push_back(&cell);
            d->dirty = true;
        }
        for (uint *n : startsAndEnds) {
            if (*n)
                map.fragment(*n)->color = named;
        }
        for (int *n : cells)
            map.fragment(uint(*n))->color = named;

        // Node 0 is the map's header, then the fragments, one free node, and past what the old
        // tree used, its fragments in order while the new ones are written.
        const uint inOrder = std::max(count + 2, map.head->allocated);
        const uint capacity = inOrder + oldCount;
        auto *nodes = static_cast<QTextFragmentData *>(
            std::realloc(map.fragments, size_t(capacity) * sizeof(QTextFragmentData)));
        Q_CHECK_PTR(nodes);
        map.fragments = nodes;
        uint k = inOrder;
        for (uint n = map.minimum(map.root()); n; n = map.next(n)) {
            nodes[k] = nodes[n];
            nodes[k++].parent = n; // the old number
        }
        // New numbers of the fragments tables name, by their old: a table's thousands of cells
        // were sorted and searched for.
        std::vector<uint> newNumbers(m_tables.isEmpty() ? 0 : size_t(inOrder), 0);
        uint w = 1;
        for (k = inOrder; k < capacity; ++k) {
            const QTextFragmentData old = nodes[k];
            if (old.color == named)
                newNumbers[old.parent] = w;
            if (old.format >= 0) {
                nodes[w++] = old;
                continue;
            }
            const Segment &segment = m_segments[size_t(-old.format - 1)];
            int position = old.stringPosition;
            for (int s = 0; s < segment.count; ++s) {
                const Span &span = m_spans[size_t(segment.first + s)];
                // The text the document joined to the segment is in its first run's format.
                const int size = span.length + (s == 0 ? segment.offset : 0);
                QTextFragmentData &piece = nodes[w++];
                piece.size_array[0] = quint32(size);
                piece.stringPosition = position;
                piece.format = span.format;
                position += size;
            }
        }
        Q_ASSERT(w == count + 1);

        // Halving gives a tree full but for its deepest level; its nodes red, the others black,
        // make a valid red-black tree.
        int deepest = 0;
        while ((2u << deepest) <= count)
            ++deepest;
        struct Subtree
        {
            uint root;
            quint32 length;
        };
        const auto build = [&](const auto &self, uint lo, uint hi, uint parent,
                               int depth) -> Subtree {
            if (lo > hi)
                return {0, 0};
            const uint mid = lo + (hi - lo) / 2;
            const Subtree left = mid > lo ? self(self, lo, mid - 1, mid, depth + 1) : Subtree {0, 0};
            const Subtree right = self(self, mid + 1, hi, mid, depth + 1);
            QTextFragmentData &node = nodes[mid];
            node.parent = parent;
            node.left = left.root;
            node.right = right.root;
            node.color = depth == deepest && depth > 0 ? red : black;
            node.size_left_array[0] = left.length;
            return {mid, left.length + node.size_array[0] + right.length};
        };
        map.head->root = build(build, 1, count, 0, 0).root;
        map.head->node_count = count;
        map.head->allocated = capacity;
        map.head->freelist = count + 1;
        nodes[count + 1].right = 0;

        const auto newNumber = [&](uint old) {
            Q_ASSERT(old < newNumbers.size() && newNumbers[old] != 0);
            return newNumbers[old];
        };
        for (uint *n : startsAndEnds) {
            if (*n)
                *n = newNumber(*n);
        }
        for (int *n : cells)
            *n = int(newNumber(uint(*n)));
        m_segments.clear();
        m_spans.clear();
        m_segmentFirst = 0;
    }
#endif

    void Reader::emitPara(const Para &para)
    {
        const CharState &mark = para.runs.empty() ? top().chars : para.runs.front().chars;
#ifdef OPTALIS_QT_GUI_PRIVATE
        int at = m_cursor.position();
#endif
        if (m_atEmptyBlock) {
            m_cursor.setBlockFormat(blockFormat(para));
            m_cursor.setBlockCharFormat(charFormat(mark));
            m_atEmptyBlock = false;
        } else {
#ifdef OPTALIS_QT_GUI_PRIVATE
            const int markIndex = formatIndex(cachedFormat(mark));
            {
                const CursorsLeftAlone alone(m_doc);
                alone.priv->insertBlock(at, blockFormatIndex(para), markIndex);
            }
            ++at; // the cursor is moved once, past the runs: each move looks up its block
#else
            m_cursor.insertBlock(blockFormat(para), charFormat(mark));
#endif
        }
#ifdef OPTALIS_QT_GUI_PRIVATE
        m_cursor.setPosition(insertRuns(at, para));
#else
        insertRuns(m_cursor, para);
#endif
        if (para.para.list >= 0)
            addToList(para.para, m_cursor);
    }

    void Reader::listWord(Kw kw, int param)
    {
        ListLevel *level = m_listEntry.isEmpty() ? nullptr : &m_listEntry.back();
        switch (kw) {
        case Kw::List:
            storeList();
            break;
        case Kw::ListId:
            if (top().dest == Dest::OverrideTable)
                m_overrideListId = param;
            else
                m_listEntryId = param;
            break;
        case Kw::Ls:
            if (top().dest == Dest::OverrideTable && m_overrides.size() < 4096)
                m_overrides.insert(param, m_overrideListId);
            break;
        case Kw::ListLevel:
            if (m_listEntry.size() < 9)
                m_listEntry.push_back(ListLevel());
            break;
        case Kw::LevelNfc:
            if (level)
                levelStyle(param, level);
            break;
        case Kw::LevelStartAt:
            if (level)
                level->start = std::clamp(param, 0, 32767);
            break;
        default:
            break;
        }
    }

    int Reader::fontNamed(const QString &name)
    {
        for (auto it = m_fonts.constBegin(); it != m_fonts.constEnd(); ++it) {
            if (it->name.trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return it.key();
        }
        // Fonts the table does not list get numbers no file uses.
        const int index = -2 - int(m_fonts.size());
        ++m_fontsChanged;
        Font &font = m_fonts[index];
        font.name = name;
        font.nameDone = true;
        font.charset = 2;
        return index;
    }

    // SYMBOL fields show their character whatever result the file stored: Word often stores
    // none, and the stored one would repeat it.
    void Reader::finishFieldInst()
    {
        static const QRegularExpression symbol(
            QStringLiteral("^\\s*SYMBOL\\s+(0[xX][0-9a-fA-F]+|\\d+)(.*)$"));
        const QRegularExpressionMatch match = symbol.match(m_fieldInst);
        if (!match.hasMatch() || top().dest != Dest::Text)
            return;
        bool ok = false;
        const QString number = match.captured(1);
        const uint code = number.startsWith(QLatin1String("0"), Qt::CaseInsensitive)
                && number.size() > 1 && (number[1] == u'x' || number[1] == u'X')
            ? number.mid(2).toUInt(&ok, 16)
            : number.toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0xFFFF)
            return;
        static const QRegularExpression fontSwitch(
            QStringLiteral("\\\\f\\s*(?:\"([^\"]*)\"|(\\S+))"));
        const QString switches = match.captured(2);
        const QRegularExpressionMatch fontMatch = fontSwitch.match(switches);
        const QString fontName = fontMatch.hasMatch()
            ? (fontMatch.captured(1).isNull() ? fontMatch.captured(2) : fontMatch.captured(1))
            : QString();
        const bool unicode = switches.contains(QLatin1String("\\u"));
        State &s = st();
        const CharState saved = s.chars;
        const int savedCodePage = s.codePage;
        if (!fontName.isEmpty())
            setFont(fontNamed(fontName.trimmed()));
        char16_t c = char16_t(code);
        if (!unicode && code < 256)
            c = s.codePage == kSymbolCodePage || code >= 0x80
                ? charOfByte(s.codePage, static_cast<unsigned char>(code))
                : char16_t(code);
        else if (s.codePage == kSymbolCodePage && c >= 0xF020 && c <= 0xF0FF)
            c = charOfByte(kSymbolCodePage, static_cast<unsigned char>(c - 0xF000));
        appendChar(c);
        s.chars = saved;
        s.codePage = savedCodePage;
        m_skipResult = true;
    }

    char16_t Reader::unicodeChar(int param) const
    {
        char16_t u = char16_t(param < 0 ? param + 65536 : param);
        if (top().codePage == kSymbolCodePage && u >= 0xF020 && u <= 0xF0FF)
            u = charOfByte(kSymbolCodePage, static_cast<unsigned char>(u - 0xF000));
        return u;
    }

    // \mmath, or \moMath and \moMathPara where a writer leaves out the zone around them.
    void Reader::startMath(std::string_view name)
    {
        State &s = st();
        s.dest = Dest::Math;
        m_math.clear();
        MathNode root;
        root.name = QByteArray(name.data() + 1, qsizetype(name.size() - 1));
        m_math.push_back(root);
        s.math = 0;
        m_mathChars = s.chars;
        m_mathPicture = Run();
    }

    // Inside an equation a word that opens its group opens an element; the others set the
    // run's style. False for the words read as elsewhere (characters, fonts).
    bool Reader::mathWord(std::string_view name, const KwEntry &entry, bool hasParam, int param,
                          bool first, bool starred)
    {
        State &s = st();
        if (consumeFallback())
            return true;
        if (name.size() > 1 && name[0] == 'm') {
            if (first && name == "mmathPict") {
                s.dest = Dest::Text;
                s.mathPicture = true;
            } else if (first && starred
                       && !isMathElement(QByteArray(name.data() + 1, qsizetype(name.size() - 1)))
                       && !(s.math >= 0 && m_math[s.math].name.endsWith("Pr"))) {
                s.dest = Dest::Skip;
            } else if (first) {
                openMathNode(name.substr(1));
            } else if (s.math >= 0 && name == "msty") {
                m_math[s.math].style = hasParam ? std::clamp(param, 0, 3) : 2;
            } else if (s.math >= 0 && name == "mnor") {
                m_math[s.math].normal = true;
            }
            return true;
        }
        if (starred) {
            s.dest = Dest::Skip;
            return true;
        }
        // Characters, and the font that says how bytes read; nothing that makes a paragraph.
        switch (entry.kw) {
        case Kw::U:
        case Kw::Special:
        case Kw::Uc:
        case Kw::F:
        case Kw::Plain:
        case Kw::Skip:
            return false;
        default:
            return true;
        }
    }

    void Reader::openMathNode(std::string_view name)
    {
        // Past these an element's groups add to the one around them: hostile depths stay cheap.
        constexpr int kMaxMathDepth = 48;
        constexpr int kMaxMathNodes = 20000;
        State &s = st();
        const int parent = s.math;
        if (parent < 0 || m_math[parent].depth >= kMaxMathDepth || m_math.size() >= kMaxMathNodes)
            return;
        MathNode node;
        node.name = QByteArray(name.data(), qsizetype(name.size()));
        node.parent = parent;
        node.depth = m_math[parent].depth + 1;
        s.math = int(m_math.size());
        m_math.push_back(node);
        m_math[parent].children.push_back(s.math);
    }

    // A run's characters, a property's value, or text a writer puts straight into an element
    // (as a run of its own).
    void Reader::mathChar(char16_t c)
    {
        const int at = top().math;
        if (at < 0 || top().chars.hidden)
            return;
        MathNode &node = m_math[at];
        const bool property = node.name.endsWith("Pr")
            || (node.parent >= 0 && m_math[node.parent].name.endsWith("Pr"));
        int target = at;
        if (node.name != "r" && !property) {
            const int last = node.children.isEmpty() ? -1 : node.children.back();
            if (last >= 0 && m_math[last].loose) {
                target = last;
            } else if (m_math.size() < 20000) {
                MathNode run;
                run.name = "r";
                run.parent = at;
                run.depth = node.depth + 1;
                run.loose = true;
                target = int(m_math.size());
                m_math.push_back(run);
                m_math[at].children.push_back(target);
            } else {
                return;
            }
        }
        if (m_math[target].text.size() < 4096)
            m_math[target].text += QChar(c);
    }

    // The equation's picture where the file gives one the pane can show, else its linear
    // text; an equation with neither is still seen to be there.
    void Reader::finishMath()
    {
        const QVector<MathChar> text = linearMath(m_math);
        m_math.clear();
        if (m_mathChars.hidden || top().dest != Dest::Text || top().mathPicture)
            return;
        if (m_mathPicture.picture >= 0) {
            m_mathPicture.start = int(m_para.text.size());
            m_para.runs.push_back(m_mathPicture);
            m_mathPicture = Run();
            return;
        }
        if (text.isEmpty()) {
            CharState chars = m_mathChars;
            chars.italic = false;
            startRun(chars);
            m_para.text += QStringLiteral("[équation]");
            return;
        }
        for (const MathChar &m : text) {
            CharState chars = m_mathChars;
            chars.italic = m.italic;
            chars.bold = chars.bold || m.bold;
            chars.vertical = quint8(m.vertical);
            if (isStructureMark(m.c))
                continue;
            startRun(chars);
            m_para.text += m.c;
        }
    }

    void Reader::finishNote()
    {
        if (!m_para.empty())
            m_notes.push_back(m_para);
        m_para = m_bodyPara;
        m_bodyPara = Para();
    }

    // As on the printed page: the notes after the text, under a short rule.
    void Reader::emitNotes()
    {
        if (m_notes.isEmpty())
            return;
        emitPara(Para());
        QTextBlockFormat rule = m_cursor.blockFormat();
        rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                         QTextLength(QTextLength::PercentageLength, 30));
        m_cursor.setBlockFormat(rule);
        for (const Para &note : std::as_const(m_notes))
            emitPara(note);
    }

    void Reader::storeList()
    {
        if (m_listEntryId >= 0 && !m_listEntry.isEmpty() && m_listDefs.size() < 4096)
            m_listDefs.insert(m_listEntryId, m_listEntry);
        m_listEntry.clear();
        m_listEntryId = -1;
    }

    // \leveltext: its length, then the mark with the numbers of levels as characters 0 to 8.
    void Reader::finishLevelText()
    {
        if (m_listEntry.isEmpty() || m_levelText.isEmpty())
            return;
        ListLevel &level = m_listEntry.back();
        const QString text = m_levelText.mid(1, m_levelText.at(0).unicode());
        qsizetype first = -1, last = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).unicode() < 9) {
                if (first < 0)
                    first = i;
                last = i;
            }
        }
        if (!level.numbered) {
            const char16_t mark = text.isEmpty() ? u'\u2022' : text.at(0).unicode();
            level.style = mark == u'o'                               ? QTextListFormat::ListCircle
                : (mark == 0xA7 || mark == 0x25AA || mark == 0x25A0) ? QTextListFormat::ListSquare
                                                                     : QTextListFormat::ListDisc;
            return;
        }
        if (first < 0)
            return;
        level.prefix = text.left(first);
        level.suffix = text.mid(last + 1);
    }

    QString romanNumber(int n)
    {
        static const std::pair<int, const char *> parts[]
            = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
               {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        QString out;
        for (const auto &[value, text] : parts) {
            for (; n >= value; n -= value)
                out += QLatin1String(text);
        }
        return out;
    }

    QString alphaNumber(int n)
    {
        QString out;
        for (; n > 0; n = (n - 1) / 26)
            out.prepend(QChar(u'a' + (n - 1) % 26));
        return out;
    }

    // Mark of item `n` written as text, for a start the pane's lists cannot show.
    QString markText(const ListLevel &level, int n)
    {
        QString number;
        switch (level.style) {
        case QTextListFormat::ListLowerRoman:
            number = romanNumber(n);
            break;
        case QTextListFormat::ListUpperRoman:
            number = romanNumber(n).toUpper();
            break;
        case QTextListFormat::ListLowerAlpha:
            number = alphaNumber(n);
            break;
        case QTextListFormat::ListUpperAlpha:
            number = alphaNumber(n).toUpper();
            break;
        default:
            number = QString::number(n);
            break;
        }
        return level.prefix + number + level.suffix + QLatin1Char('\t');
    }

    // The cursor's block joins the paragraph's list: in the text or in a table's cell alike.
    void Reader::addToList(const ParaState &para, QTextCursor &cursor)
    {
        const auto def = m_listDefs.constFind(m_overrides.value(para.list, -1));
        if (def == m_listDefs.constEnd() || para.level >= def->size())
            return;
        const ListLevel &level = def->at(para.level);
        if (level.style == QTextListFormat::ListStyleUndefined)
            return;
        const int key = (para.list + 1) * 16 + para.level;
        if (level.numbered && level.start != 1) {
            const int n = level.start + m_listCounts[key]++;
            QTextCursor at(cursor.block());
            at.insertText(markText(level, n));
            return;
        }
        if (QTextList *list = m_lists.value(key)) {
            list->add(cursor.block());
            return;
        }
        QTextListFormat format;
        format.setStyle(level.style);
        format.setIndent(para.level + 1);
        if (level.numbered) {
            format.setNumberPrefix(level.prefix);
            format.setNumberSuffix(level.suffix);
        }
        m_lists.insert(key, cursor.createList(format));
    }

    void Reader::finishPicture()
    {
        QImage image;
        QSizeF natural; // in pixels
        const bool vector = m_pictKind == PictKind::Wmf || m_pictKind == PictKind::Emf;
        const auto kind = m_pictKind == PictKind::Wmf ? metafile::Kind::Wmf : metafile::Kind::Emf;
        if (vector && m_picW > 0 && m_picH > 0)
            natural = QSizeF(m_picW, m_picH) * (96 / 2540.0);
        else if (vector)
            natural = metafile::naturalSize(m_pictData, kind);
        else if (m_pictKind != PictKind::Other
                 && image.loadFromData(m_pictData, m_pictKind == PictKind::Png ? "PNG" : "JPEG"))
            natural = image.size();
        double width = m_picWGoal > 0 ? twipsToPixels(m_picWGoal) : natural.width();
        double height = m_picHGoal > 0 ? twipsToPixels(m_picHGoal) : natural.height();
        width *= std::clamp(m_scaleX, 1, 1000) / 100.0;
        height *= std::clamp(m_scaleY, 1, 1000) / 100.0;
        if (vector && width > 0 && height > 0) {
            // Twice the size on the page, for sharp lines and text where the pane is scaled; once
            // when the document has had its share.
            for (const double scale : {2.0, 1.0}) {
                const auto side = [scale](double pixels) {
                    return int(std::ceil(std::min(scale * pixels, double(metafile::kMaxSide))));
                };
                const QSize size(side(width), side(height));
                const qint64 pixels
                    = std::min(qint64(size.width()) * size.height(), metafile::kMaxPixels);
                if (m_metafilePixels + pixels > kMaxMetafilePixels)
                    continue;
                image = metafile::render(m_pictData, kind, size, scale);
                m_metafilePixels += pixels;
                break;
            }
        }
        if (m_pictData.isEmpty() || image.isNull()) {
            m_pictData.clear();
            // A picture the pane cannot show (a damaged file, another format) is still seen to be
            // there; an equation's own picture only stands in for its text, which is read instead.
            const bool equation = top().object && m_objClass.startsWith(QLatin1String("Equation"));
            if (top().dest == Dest::Text)
                appendText(equation ? QStringLiteral("[équation]") : QStringLiteral("[image]"));
            return;
        }
        const QString name = QStringLiteral("rtfimage:%1").arg(++m_imageCount);
        m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
        m_pictData.clear();
        if (top().mathPicture) {
            if (m_mathPicture.picture < 0) {
                m_mathPicture = Run {m_mathChars, 0, int(m_pictures.size())};
                m_pictures.push_back(Picture {name, width, height});
            }
            return;
        }
        if (top().dest != Dest::Text || top().chars.hidden)
            return;
        m_para.runs.push_back(Run {top().chars, int(m_para.text.size()), int(m_pictures.size())});
        m_pictures.push_back(Picture {name, width, height});
    }

} // namespace

bool read(const QByteArray &bytes, QTextDocument *doc)
{
    if (!bytes.startsWith("{\\rtf"))
        return false;
    // One edit block and no undo history: otherwise each insertion lays out its paragraph
    // again (quadratic in the paragraph's length) and keeps an undo record.
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    Reader(bytes, doc).run();
    doc->setUndoRedoEnabled(undo);
    return true;
}

} // namespace rtf
