// Windows-1252 by table, so that every build reads and writes the same bytes; the East Asian
// code pages through the system.
#include "platform/codepage.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QStringDecoder>
#include <unordered_map>
#endif

namespace {

// Characters of the bytes 0x80 to 0x9F. The five bytes without a character keep the C1 control
// of the same number, so that any byte read from a file is written back unchanged.
constexpr char16_t kHighCharacters[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 0x98
};

bool isLatin1Byte(char16_t c)
{
    return c < 0x80 || (c >= 0xA0 && c <= 0xFF);
}

} // namespace

namespace codepage {

char16_t charOfCp1252(unsigned char byte)
{
    return isLatin1Byte(byte) ? char16_t(byte) : kHighCharacters[byte - 0x80];
}

bool cp1252ByteOf(char16_t c, unsigned char *byte)
{
    if (isLatin1Byte(c)) {
        *byte = static_cast<unsigned char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighCharacters[i] == c) {
            *byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

QByteArray toCp1252(const QString &text, bool *lossless)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    bool all = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        unsigned char byte = 0;
        if (cp1252ByteOf(c, &byte)) {
            bytes += char(byte);
            continue;
        }
        // One "?" per character, also for a character written as a surrogate pair.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        bytes += '?';
        all = false;
    }
    if (lossless)
        *lossless = all;
    return bytes;
}

QString fromCp1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes)
        text += QChar(charOfCp1252(static_cast<unsigned char>(b)));
    return text;
}

#ifdef Q_OS_WIN
QString fromDoubleByte(int codePage, QByteArrayView bytes)
{
    wchar_t out[4];
    const int n = MultiByteToWideChar(UINT(codePage), MB_ERR_INVALID_CHARS, bytes.data(),
                                      int(bytes.size()), out, 4);
    return n > 0 ? QString::fromWCharArray(out, n) : QString();
}
#else
namespace {
    QStringDecoder decoderOf(int codePage)
    {
        const char *names[2] = {};
        switch (codePage) {
        case 932:
            names[0] = "windows-31j";
            names[1] = "Shift_JIS";
            break;
        case 936:
            names[0] = "GBK";
            names[1] = "GB18030";
            break;
        case 949:
            names[0] = "windows-949";
            names[1] = "EUC-KR";
            break;
        default:
            names[0] = "windows-950";
            names[1] = "Big5";
            break;
        }
        for (const char *name : names) {
            QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
            if (decoder.isValid())
                return decoder;
        }
        return QStringDecoder();
    }
} // namespace

QString fromDoubleByte(int codePage, QByteArrayView bytes)
{
    thread_local std::unordered_map<int, QStringDecoder> decoders;
    auto it = decoders.find(codePage);
    if (it == decoders.end())
        it = decoders.emplace(codePage, decoderOf(codePage)).first;
    QStringDecoder &decoder = it->second;
    if (!decoder.isValid())
        return QString();
    decoder.resetState();
    return decoder.decode(bytes);
}
#endif

} // namespace codepage
