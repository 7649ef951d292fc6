// The RTF reader: any bytes into a document, which is written out and must read back.
#include "fuzz/fuzzqt.h"
#include "richtext/richtext.h"

#include <QTextDocument>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzApplication();
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument doc;
    if (!richtext::readRtf(bytes, &doc))
        return 0;
    const QByteArray written = richtext::writeRtf(&doc);
    QTextDocument again;
    fuzzCheck(richtext::readRtf(written, &again), "a written text does not read back");
    return 0;
}
