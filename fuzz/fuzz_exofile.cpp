// The exercise catalogue: any bytes as an ".E38" file, previewed and read record by record; the
// names it holds resolved against a folder.
#include "exercises/exofile.h"
#include "fuzz/fuzzqt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzApplication();
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("exo.E38"));
    {
        QFile f(path);
        fuzzCheck(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "write the catalogue");
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const exofile::Preview preview = exofile::readPreview(path);
    fuzzCheck(preview.hourglasses >= 0 && preview.hourglasses <= exofile::MaxHourglasses,
              "hourglasses out of range");
    QStringList texts;
    if (exofile::readRecords(path, {1, 2, 3, 4, 5, 11, 12}, &texts)) {
        fuzzCheck(texts.size() == 7, "a record missing from a successful read");
        for (const QString &text : texts) {
            exofile::recordNumber(text);
            const int n = exofile::hourglassCount(text);
            fuzzCheck(n >= 0 && n <= exofile::MaxHourglasses, "hourglass count out of range");
            exofile::resolveName(exofile::withSeparator(dir.path()), text);
        }
    }
    return 0;
}
