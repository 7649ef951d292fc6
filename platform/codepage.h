// Windows-1252, the 8-bit code page of every record file.
#pragma once

#include <QByteArray>
#include <QString>

namespace codepage {

// Characters with no place in the code page become "?" and clear *lossless.
QByteArray toCp1252(const QString &text, bool *lossless = nullptr);
QString fromCp1252(const QByteArray &bytes);

} // namespace codepage
