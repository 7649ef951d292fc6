// The committed RTF samples (see rtf/README.md), and what the tests cut out of them.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace samples {

inline QByteArray read(const QString &name)
{
    QFile f(QStringLiteral(RTF_SAMPLES "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", qPrintable(name));
    return f.readAll();
}

// Every group opening with `opening`, with all it holds.
inline QByteArray withoutGroups(QByteArray rtf, const char *opening)
{
    for (qsizetype at; (at = rtf.indexOf(opening)) >= 0;) {
        qsizetype end = at;
        for (int depth = 0; end < rtf.size(); ++end) {
            if (rtf[end] == '{')
                ++depth;
            else if (rtf[end] == '}' && --depth == 0)
                break;
        }
        rtf.remove(at, end + 1 - at);
    }
    return rtf;
}

} // namespace samples
