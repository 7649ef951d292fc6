// The record file: any bytes as a file, every record read and written back; any bytes as one
// record, decoded straight from the input so that a read past its end is caught.
#include "config/recordfile.h"
#include "fuzz/fuzzqt.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

namespace {
// A decoded text encodes to the same length and text bytes; the padding is not kept.
void decodeAndEncode(const QByteArray &record)
{
    QString text;
    if (!decodeRecord(record, &text))
        return;
    bool ok = false;
    const QByteArray again = encodeRecord(text, &ok);
    fuzzCheck(ok, "a decoded text does not fit its record");
    const int used = 2 + (uchar(record[0]) | uchar(record[1]) << 8);
    fuzzCheck(again.left(used) == record.left(used), "a record does not survive decode/encode");
}

// Every record of the file read, written at the same place in a copy, and the copy read again.
void readAndWrite(const QByteArray &bytes)
{
    QByteArray source = bytes;
    QBuffer in(&source);
    fuzzCheck(in.open(QIODevice::ReadOnly), "open buffer");
    RecordFile reader(&in);
    QByteArray copy;
    QBuffer out(&copy);
    fuzzCheck(out.open(QIODevice::ReadWrite), "open copy");
    RecordFile writer(&out);
    const int records = int(bytes.size() / RecordFile::RecordSize) + 2;
    for (int r = 0; r <= records; ++r) {
        QString text;
        if (!reader.read(r, &text))
            continue;
        fuzzCheck(writer.write(r, text), "a read text cannot be written");
        QString back;
        fuzzCheck(writer.read(r, &back) && back == text, "a written text reads back otherwise");
    }
    fuzzCheck(copy.size() % RecordFile::RecordSize == 0, "the copy holds a part record");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (size <= size_t(RecordFile::RecordSize))
        decodeAndEncode(bytes);
    readAndWrite(bytes);
    return 0;
}
