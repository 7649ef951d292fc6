// Windows-1252, the 8-bit code page of every record file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace codepage {

// Characters with no place in the code page become "?" and clear *lossless.
QByteArray toCp1252(const QString &text, bool *lossless = nullptr);
QString fromCp1252(const QByteArray &bytes);

// One byte and one character: the byte's character, and the character's byte when the code page
// has one (the five undefined bytes read as, and are written from, their C1 controls).
char16_t charOfCp1252(unsigned char byte);
bool cp1252ByteOf(char16_t c, unsigned char *byte);

// One character of an East Asian double-byte code page (932, 936, 949 or 950) from its lead
// and trail bytes, or from a single byte; empty when the bytes are no character of it. Linux
// decodes through ICU, Windows through its own tables (Qt has no ICU there).
QString fromDoubleByte(int codePage, QByteArrayView bytes);

} // namespace codepage
