// The 8-bit code pages and the Symbol font encoding that RTF texts name, decoded by table so that
// every build reads the same characters.
#pragma once

#include <QString>

namespace rtf {

// Pseudo code page of the Symbol font (Greek letters and mathematical signs on ASCII bytes).
constexpr int kSymbolCodePage = 42;

// True for 1250 to 1258, 874, 10000 (Mac Roman), 437, 850 and kSymbolCodePage.
bool knowsCodePage(int codePage);

// Character of one byte; U+FFFD for a byte the code page leaves undefined. Unknown code pages
// read as Windows-1252.
char16_t charOfByte(int codePage, unsigned char byte);

// Code page of an RTF \fcharset value; `fallback` for the default charset and for the ones
// without a table (the East Asian double-byte sets).
int codePageOfCharset(int charset, int fallback);

// Byte of a character in a code page of charOfByte, false when it has none. False for
// kSymbolCodePage: the writer gives Symbol text as Unicode.
bool byteOfChar(int codePage, char16_t c, unsigned char *byte);

// \fcharset that word processors give a font whose name ends in a code page's suffix
// ("Arial CE", "Times New Roman Cyr"), whatever charset the file gives it; 0 for other names.
int charsetOfFontName(const QString &name);

} // namespace rtf
