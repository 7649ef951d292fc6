// A first, plain reading of RTF: groups, paragraphs and escaped characters; formatting is
// dropped. Enough for exercise texts until the full reader lands.
#include "platform/richtext.h"

#include "platform/codepage.h"

#include <QFile>
#include <QSaveFile>
#include <QTextDocument>
#include <cctype>

namespace richtext {

namespace {
bool isIgnoredDestination(const QByteArray &word)
{
    static const char *const skipped[]
        = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "*"};
    for (const char *s : skipped)
        if (word == s)
            return true;
    return false;
}
} // namespace

bool readRtf(const QByteArray &bytes, QTextDocument *doc)
{
    if (!bytes.startsWith("{\\rtf")) {
        doc->setPlainText(QString::fromUtf8(bytes));
        return true;
    }
    QString text;
    int depth = 0;
    int skipDepth = -1;
    for (int i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
        } else if (c == '\\' && i + 1 < bytes.size()) {
            const char n = bytes[i + 1];
            if (n == '\'' && i + 3 < bytes.size()) {
                bool ok = false;
                const int code = bytes.mid(i + 2, 2).toInt(&ok, 16);
                if (ok && skipDepth < 0)
                    text += codepage::fromCp1252(QByteArray(1, char(code)));
                i += 3;
            } else if (n == '{' || n == '}' || n == '\\') {
                if (skipDepth < 0)
                    text += QLatin1Char(n);
                ++i;
            } else {
                int j = i + 1;
                while (j < bytes.size() && std::isalpha(uchar(bytes[j])))
                    ++j;
                const QByteArray word = bytes.mid(i + 1, j - i - 1);
                if (word.isEmpty() && n == '*')
                    j = i + 2;
                while (j < bytes.size() && (bytes[j] == '-' || std::isdigit(uchar(bytes[j]))))
                    ++j;
                if (j < bytes.size() && bytes[j] == ' ')
                    ++j;
                if (skipDepth < 0 && (isIgnoredDestination(word) || n == '*'))
                    skipDepth = depth;
                else if (skipDepth < 0 && (word == "par" || word == "line"))
                    text += QLatin1Char('\n');
                else if (skipDepth < 0 && word == "tab")
                    text += QLatin1Char('\t');
                i = j - 1;
            }
        } else if (c != '\r' && c != '\n' && skipDepth < 0 && depth > 0) {
            text += codepage::fromCp1252(QByteArray(1, c));
        }
    }
    doc->setPlainText(text);
    return true;
}

QByteArray writeRtf(const QTextDocument *doc)
{
    QByteArray out("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n");
    const QString text = doc->toPlainText();
    for (QChar ch : text) {
        if (ch == QLatin1Char('\n'))
            out += "\\par\n";
        else if (ch == QLatin1Char('{') || ch == QLatin1Char('}') || ch == QLatin1Char('\\'))
            out += '\\' + QByteArray(1, char(ch.unicode()));
        else if (ch.unicode() < 128)
            out += char(ch.unicode());
        else
            out += "\\u" + QByteArray::number(qint16(ch.unicode())) + '?';
    }
    out += "}\n";
    return out;
}

bool loadFile(const QString &path, QTextDocument *doc, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return readRtf(f.readAll(), doc);
}

bool saveFile(const QString &path, const QTextDocument *doc, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(writeRtf(doc)) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace richtext
