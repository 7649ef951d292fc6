// Windows-1252 by table, so that every build reads and writes the same bytes.
#include "platform/codepage.h"

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

} // namespace codepage
