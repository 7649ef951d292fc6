// Whether the file system holding a folder ignores case, as Windows' does: there a name keeps
// the spelling it was asked by, which already names the file.
#pragma once

#include <QDir>
#include <QFile>

namespace fixtures {

inline Qt::CaseSensitivity caseOf(const QString &dir)
{
    const QString probe = QDir(dir).filePath(QStringLiteral("Sonde-casse"));
    QFile file(probe);
    if (!file.open(QIODevice::WriteOnly))
        return Qt::CaseSensitive;
    file.close();
    const bool ignored = QFile::exists(QDir(dir).filePath(QStringLiteral("sONDE-CASSE")));
    QFile::remove(probe);
    return ignored ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

} // namespace fixtures
