// Exercise folders built for a test: exercise files from their record texts, the shipped RTF
// texts of tests/exercises/data and configuration files.
#pragma once

#include "config/configfile.h"
#include "config/recordfile.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace fixtures {

inline bool putBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Records 1, 2, ... in order; nothing after the last one given.
inline bool writeExo(const QString &path, const QStringList &records)
{
    QByteArray bytes;
    for (const QString &r : records)
        bytes += encodeRecord(r);
    return putBytes(path, bytes);
}

// A complete exercise: statement, its configuration, correction, its configuration, level,
// notions, title and hourglasses.
inline QStringList exercise(const QString &statement, const QString &config = QString(),
                            const QString &correction = QString(),
                            const QString &correctionConfig = QString())
{
    return {statement,
            config,
            correction,
            correctionConfig,
            QStringLiteral("2"),
            QString(),
            QStringLiteral("Miroir "),
            QStringLiteral("sphérique"),
            QString(),
            QString(),
            QStringLiteral("  Image d'un objet  "),
            QStringLiteral("3")};
}

inline bool copyData(const QString &name, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(QStringLiteral(OPTALIS_EXO_DATA "/") + name, to);
}

// A configuration of the program's start-up scene with the object at `xobjet` (cm).
inline bool writeConfig(const QString &path, const QString &xobjet)
{
    ConfigValues v;
    v.echelle = 12.91667f;
    for (int k : {1, 2, 7, 11, 13, 14})
        v.check1[size_t(k)] = true;
    v.text1 = {QStringLiteral("60,0"),
               QStringLiteral("-10,0"),
               QStringLiteral("48,0"),
               QStringLiteral("10,0"),
               xobjet,
               QStringLiteral("3,0"),
               QStringLiteral("8,0"),
               QStringLiteral("8,0"),
               QStringLiteral("8,0")};
    QByteArray bytes;
    return buildConfigFile(v, &bytes) && putBytes(path, bytes);
}

} // namespace fixtures
