// The metafile player: any bytes, read as either kind, into a small image; it must end, within
// its limits, whatever the file claims.
#include "fuzz/fuzzqt.h"
#include "richtext/metafile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzApplication();
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const auto kind : {metafile::Kind::Wmf, metafile::Kind::Emf}) {
        const QImage image = metafile::render(bytes, kind, QSize(96, 64));
        fuzzCheck(image.isNull() || image.size() == QSize(96, 64), "an image of another size");
        metafile::naturalSize(bytes, kind);
    }
    return 0;
}
