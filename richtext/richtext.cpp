#include "richtext/richtext.h"

#include "platform/codepage.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QFile>
#include <QPagedPaintDevice>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <memory>

namespace richtext {

namespace {

    // Where "{\rtf" starts once a byte-order mark and leading blanks are passed, or -1.
    qsizetype rtfStart(const QByteArray &bytes)
    {
        qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        while (i < bytes.size() && i < 256
               && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
            ++i;
        return QByteArrayView(bytes).sliced(i).startsWith("{\\rtf") ? i : -1;
    }

    bool looksBinary(const QByteArray &bytes)
    {
        return QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 8192)).contains('\0');
    }

    QString plainText(const QByteArray &bytes)
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (utf8.hasError())
            text = codepage::fromCp1252(bytes);
        else if (text.startsWith(QChar::ByteOrderMark))
            text.remove(0, 1);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return text;
    }

} // namespace

bool readRtf(const QByteArray &bytes, QTextDocument *doc)
{
    const qsizetype start = rtfStart(bytes);
    if (start >= 0)
        return rtf::read(start == 0 ? bytes : bytes.sliced(start), doc);
    if (looksBinary(bytes))
        return false;
    doc->setPlainText(plainText(bytes));
    return true;
}

QByteArray writeRtf(const QTextDocument *doc)
{
    return rtf::write(doc);
}

bool loadFile(const QString &path, QTextDocument *doc, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Ouverture impossible : %1").arg(f.errorString());
        return false;
    }
    if (f.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("Fichier trop volumineux.");
        return false;
    }
    const QByteArray bytes = f.read(kMaxFileSize + 1);
    if (f.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize) {
        if (error)
            *error = QStringLiteral("Lecture impossible : %1").arg(f.errorString());
        return false;
    }
    if (!readRtf(bytes, doc)) {
        if (error)
            *error = QStringLiteral("Ce fichier n'est pas un texte.");
        return false;
    }
    return true;
}

bool saveFile(const QString &path, const QTextDocument *doc, QString *error)
{
    // Built whole before the file is touched; QSaveFile writes a temporary file beside the
    // target and renames it only when everything was written.
    const QByteArray bytes = writeRtf(doc);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("Écriture impossible : %1").arg(f.errorString());
        f.cancelWriting();
        return false;
    }
    return true;
}

bool print(const QTextDocument *doc, QPagedPaintDevice *device)
{
    if (!doc || !device)
        return false;
    doc->print(device);
    return true;
}

std::unique_ptr<QTextDocument> printedPart(const QTextEdit *pane)
{
    // A copy keeps fonts, page size and pictures; the text outside the selection goes.
    std::unique_ptr<QTextDocument> copy(pane->document()->clone());
    const QTextCursor selection = pane->textCursor();
    if (!selection.hasSelection())
        return copy;
    QTextCursor cut(copy.get());
    cut.setPosition(selection.selectionEnd());
    cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    cut.setPosition(0);
    cut.setPosition(selection.selectionStart(), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    return copy;
}

bool print(const QTextEdit *pane, QPagedPaintDevice *device)
{
    if (!pane)
        return false;
    return print(printedPart(pane).get(), device);
}

} // namespace richtext
