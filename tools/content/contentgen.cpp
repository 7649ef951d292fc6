#include "contentgen.h"

#include "config/configfile.h"
#include "config/recordfile.h"
#include "platform/codepage.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace contentgen {

namespace {

    // Axis lengths of the scale buttons, indexed by nzoom.
    const int kAxes[] = {50, 60, 70, 80, 90, 100, 200, 300, 400, 500, 1000, 2000, 5000};
    // Canvas width in units minus the 20 units of margin, as the figure computes echelle.
    constexpr float kDrawnWidth = 775.0f;

    struct Content
    {
        QMap<QString, QByteArray> files;
        QMap<QString, QList<RecordText>> records; // catalogue files, by name
    };

    bool fail(QString *error, const QString &why)
    {
        if (error)
            *error = why;
        return false;
    }

    QString fieldText(double value, int decimals)
    {
        return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
    }

    // French spacing: a no-break space before two-part punctuation, inside guillemets and
    // between a number and its unit, so that no line starts with ":" or "cm".
    QString frenchSpacing(QString text)
    {
        static const QRegularExpression before(QStringLiteral(" ([:;?!»])"));
        static const QRegularExpression after(QStringLiteral("« "));
        static const QRegularExpression unit(QStringLiteral("(\\d) (cm)\\b"));
        text.replace(before, QStringLiteral("\u00a0\\1"));
        text.replace(after, QStringLiteral("«\u00a0"));
        text.replace(unit, QStringLiteral("\\1\u00a0\\2"));
        return text;
    }

    bool makeConfig(const QJsonObject &all, const QString &name, ConfigValues *v, QString *error,
                    int depth = 0)
    {
        const QJsonObject c = all.value(name).toObject();
        if (c.isEmpty() || depth > 8)
            return fail(error, QStringLiteral("configuration inconnue : ") + name);
        if (c.contains(QStringLiteral("base"))) {
            if (!makeConfig(all, c.value(QStringLiteral("base")).toString(), v, error, depth + 1))
                return false;
        }
        // Values of the description, kept as numbers until the texts are written.
        static const char *const fields[]
            = {"xsommet", "focale",   "xplan",    "focalent", "xobjet",
               "hobjet",  "dmonture", "dmonture", "ylentille"};
        const int decimals = c.value(QStringLiteral("decimales")).toInt(v->combo1 + 1);
        v->combo1 = decimals - 1;
        if (c.contains(QStringLiteral("longaxe"))) {
            const int axis = c.value(QStringLiteral("longaxe")).toInt();
            const auto *at = std::find(std::begin(kAxes), std::end(kAxes), axis);
            if (at == std::end(kAxes))
                return fail(error, name + QStringLiteral(" : longueur d'axe impossible"));
            v->longaxe = axis;
            v->nzoom = int(at - std::begin(kAxes));
        }
        v->echelle = kDrawnWidth / float(v->longaxe);
        for (int k = 0; k < 9; ++k) {
            const QString key = QLatin1String(fields[k]);
            double value = 0;
            if (c.contains(key))
                value = c.value(key).toDouble();
            else if (!v->text1[size_t(k)].isEmpty())
                value = QString(v->text1[size_t(k)])
                            .replace(QLatin1Char(','), QLatin1Char('.'))
                            .toDouble();
            else
                return fail(error, name + QStringLiteral(" : valeur manquante ") + key);
            if (k == 1)
                value = -std::abs(value); // the field shows the focal length negative
            v->text1[size_t(k)] = fieldText(value, decimals);
        }
        const double mount = v->text1[6].replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        v->text1[6] = fieldText(mount, decimals);
        v->hscroll[1] = int(std::lround(mount * 10));
        if (c.contains(QStringLiteral("angle")))
            v->hscroll[2] = int(std::lround(c.value(QStringLiteral("angle")).toDouble() * 10));
        if (c.contains(QStringLiteral("fleches")))
            v->hscroll[0] = c.value(QStringLiteral("fleches")).toInt();
        if (c.contains(QStringLiteral("infini")))
            v->check2 = c.value(QStringLiteral("infini")).toBool();
        if (c.contains(QStringLiteral("coches"))) {
            v->check1.fill(false);
            for (const QJsonValue k : c.value(QStringLiteral("coches")).toArray()) {
                if (k.toInt(-1) < 0 || k.toInt() >= 18)
                    return fail(error, name + QStringLiteral(" : case inconnue"));
                v->check1[size_t(k.toInt())] = true;
            }
        }
        return true;
    }

    QList<QString> notionPieces(const QString &notions)
    {
        // Records hold 126 bytes; the preview joins the pieces as stored.
        QList<QString> pieces;
        QString rest = notions;
        while (!rest.isEmpty()) {
            int n = std::min<int>(int(rest.size()), RecordFile::MaxTextLength);
            pieces << rest.left(n);
            rest = rest.mid(n);
        }
        return pieces;
    }

    bool readText(const QString &path, QString *text)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        *text = QString::fromUtf8(f.readAll());
        return true;
    }

    bool catalogue(const QJsonObject &e, const QString &dir, Content *out, QString *error)
    {
        const QString file = e.value(QStringLiteral("fichier")).toString();
        auto name = [&](const char *key) {
            const QString n = e.value(QLatin1String(key)).toString();
            return n.isEmpty() || dir.isEmpty() ? n : dir + QLatin1Char('\\') + n;
        };
        QList<RecordText> recs = {
            {1, name("enonce")},
            {2, name("config")},
            {3, name("corrige")},
            {4, name("configCorrige")},
        };
        if (e.contains(QStringLiteral("niveau"))) {
            recs << RecordText {5, QString::number(e.value(QStringLiteral("niveau")).toInt())};
            const QList<QString> pieces
                = notionPieces(frenchSpacing(e.value(QStringLiteral("notions")).toString()));
            if (pieces.size() > 4)
                return fail(error, file + QStringLiteral(" : notions trop longues"));
            for (int i = 0; i < pieces.size(); ++i)
                recs << RecordText {7 + i, pieces[i]};
            recs << RecordText {11, frenchSpacing(e.value(QStringLiteral("titre")).toString())};
            recs << RecordText {12, QString::number(e.value(QStringLiteral("sabliers")).toInt())};
        }
        QByteArray bytes;
        int next = 1;
        for (const RecordText &r : recs) {
            while (next < r.record) {
                bytes += encodeRecord(QString());
                ++next;
            }
            bool ok = false;
            bytes += encodeRecord(r.text, &ok);
            bool lossless = false;
            codepage::toCp1252(r.text, &lossless);
            if (!ok || !lossless)
                return fail(error,
                            file + QStringLiteral(" : enregistrement trop long ou illisible"));
            ++next;
        }
        out->files.insert(file, bytes);
        out->records.insert(file, recs);
        return true;
    }

    QByteArray escapeChar(QChar ch, bool *ok)
    {
        const ushort u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}')
            return QByteArray("\\") + char(u);
        if (u >= 0x20 && u < 0x7f)
            return QByteArray(1, char(u));
        if (u == 0x2081 || u == 0x2082)
            return QByteArray("{\\sub ") + char('0' + (u - 0x2080)) + '}';
        // Greek letters of the formulas, with a Latin letter for readers without Unicode.
        if (u == 0x03b3)
            return QByteArray("\\u947g");
        if (u == 0x03b1)
            return QByteArray("\\u945a");
        bool lossless = false;
        const QByteArray b = codepage::toCp1252(QString(ch), &lossless);
        if (!lossless || b.size() != 1) {
            *ok = false;
            return {};
        }
        return QByteArray("\\'") + QByteArray::number(uchar(b[0]), 16).rightJustified(2, '0');
    }

    QByteArray inlineRtf(QString line, bool *ok)
    {
        line = frenchSpacing(line);
        QByteArray out;
        bool bold = false;
        for (const QChar ch : std::as_const(line)) {
            if (ch == QLatin1Char('*')) {
                out += bold ? "}" : "{\\b ";
                bold = !bold;
                continue;
            }
            out += escapeChar(ch, ok);
        }
        if (bold)
            *ok = false;
        return out;
    }

} // namespace

bool markupToRtf(const QString &markup, QByteArray *rtf, QString *error)
{
    QByteArray out("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\uc1\n"
                   "\\f0\\fs22\n");
    QStringList paragraph;
    bool ok = true;
    auto flush = [&] {
        if (!paragraph.isEmpty())
            out += inlineRtf(paragraph.join(QLatin1Char(' ')), &ok) + "\\par\n";
        paragraph.clear();
    };
    const QStringList lines = markup.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            flush();
            out += "\\par\n";
        } else if (line.startsWith(QLatin1String("## "))) {
            flush();
            out += "{\\b\\fs24 " + inlineRtf(line.mid(3), &ok) + "}\\par\n";
        } else if (line.startsWith(QLatin1String("# "))) {
            flush();
            out += "{\\b\\fs28 " + inlineRtf(line.mid(2), &ok) + "}\\par\n";
        } else if (line.startsWith(QLatin1String("- "))) {
            flush();
            out += "\\'96 " + inlineRtf(line.mid(2), &ok) + "\\par\n";
        } else {
            paragraph << line;
        }
    }
    flush();
    out += "}\n";
    // Collapse the runs of empty paragraphs the blank lines leave.
    while (out.contains("\\par\n\\par\n\\par\n"))
        out.replace("\\par\n\\par\n\\par\n", "\\par\n\\par\n");
    if (!ok)
        return fail(error, QStringLiteral("texte : caractère impossible en RTF ou * non fermé"));
    *rtf = out;
    return true;
}

namespace {

    bool buildContent(const QString &sourceDir, Content *out, QString *error)
    {
        QFile f(QDir(sourceDir).filePath(QStringLiteral("contenu.json")));
        if (!f.open(QIODevice::ReadOnly))
            return fail(error, QStringLiteral("contenu.json introuvable dans ") + sourceDir);
        QJsonParseError parse;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parse);
        if (doc.isNull())
            return fail(error, QStringLiteral("contenu.json : ") + parse.errorString());
        const QJsonObject root = doc.object();
        const QString folder = root.value(QStringLiteral("dossier")).toString();
        const QJsonObject configs = root.value(QStringLiteral("configurations")).toObject();
        for (auto it = configs.begin(); it != configs.end(); ++it) {
            if (it.key().startsWith(QLatin1Char('_')))
                continue; // bases that are not files
            ConfigValues v;
            if (!makeConfig(configs, it.key(), &v, error))
                return false;
            QByteArray bytes;
            QString why;
            if (!buildConfigFile(v, &bytes, &why))
                return fail(error, it.key() + QStringLiteral(" : ") + why);
            out->files.insert(folder + QLatin1Char('/') + it.key(), bytes);
        }
        const QJsonArray texts = root.value(QStringLiteral("textes")).toArray();
        for (const QJsonValue t : texts) {
            QString markup;
            const QString name = t.toString();
            if (!readText(QDir(sourceDir).filePath(name + QStringLiteral(".txt")), &markup))
                return fail(error, name + QStringLiteral(".txt introuvable"));
            QByteArray rtf;
            if (!markupToRtf(markup, &rtf, error)) {
                *error = name + QStringLiteral(" : ") + *error;
                return false;
            }
            out->files.insert(folder + QLatin1Char('/') + name + QStringLiteral(".rtf"), rtf);
        }
        for (const QJsonValue e : root.value(QStringLiteral("exercices")).toArray()) {
            QJsonObject o = e.toObject();
            o.insert(QStringLiteral("fichier"),
                     folder + QLatin1Char('/') + o.value(QStringLiteral("fichier")).toString());
            if (!catalogue(o, QString(), out, error))
                return false;
        }
        // The guided exercise lies beside the program and names its files from there.
        const QJsonObject pem = root.value(QStringLiteral("priseEnMain")).toObject();
        if (!pem.isEmpty() && !catalogue(pem, folder, out, error))
            return false;
        // Every name a catalogue gives must be a file built here.
        for (auto it = out->records.begin(); it != out->records.end(); ++it) {
            for (const RecordText &r : it.value()) {
                if (r.record > 4 || r.text.isEmpty())
                    continue;
                const QString rel = QString(r.text).replace(QLatin1Char('\\'), QLatin1Char('/'));
                const int slash = int(it.key().lastIndexOf(QLatin1Char('/')));
                const QString target = slash < 0 ? rel : it.key().left(slash + 1) + rel;
                if (!out->files.contains(target))
                    return fail(error,
                                it.key() + QStringLiteral(" nomme un fichier absent : ") + r.text);
            }
        }
        return true;
    }

} // namespace

bool build(const QString &sourceDir, QMap<QString, QByteArray> *files, QString *error)
{
    Content c;
    if (!buildContent(sourceDir, &c, error))
        return false;
    *files = c.files;
    return true;
}

bool write(const QString &sourceDir, const QString &dataDir, QString *error)
{
    Content c;
    if (!buildContent(sourceDir, &c, error))
        return false;
    const QDir data(dataDir);
    for (auto it = c.files.cbegin(); it != c.files.cend(); ++it) {
        const QString path = data.filePath(it.key());
        QDir().mkpath(QFileInfo(path).path());
        QString why;
        bool ok = true;
        if (it.key().endsWith(QLatin1String(".P17"))) {
            QFile::remove(path); // no bytes of an older file stay beyond the records
            ok = writeConfigFile(path, it.value(), &why);
        } else if (c.records.contains(it.key())) {
            QFile::remove(path);
            ok = writeRecordsAt(path, c.records.value(it.key()), &why);
        } else {
            QFile out(path);
            ok = out.open(QIODevice::WriteOnly) && out.write(it.value()) == it.value().size();
            why = out.errorString();
        }
        if (!ok)
            return fail(error, path + QStringLiteral(" : ") + why);
    }
    return true;
}

} // namespace contentgen
