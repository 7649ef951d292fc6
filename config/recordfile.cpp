// Record access on any random-access device, so that files and in-memory buffers behave alike.
#include "config/recordfile.h"

#include "platform/codepage.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>

namespace {

qint64 recordOffset(int record)
{
    return qint64(record - 1) * RecordFile::RecordSize;
}

QString invalidRecordNumber(int record)
{
    return QStringLiteral("Invalid record number %1").arg(record);
}

} // namespace

RecordFile::RecordFile(QIODevice *device)
    : io(device)
{
}

bool RecordFile::fail(const QString &reason)
{
    lastError = reason;
    return false;
}

bool RecordFile::checkDevice(bool forWriting)
{
    if (!io || !io->isOpen())
        return fail(QStringLiteral("The file is not open"));
    if (io->isSequential())
        return fail(QStringLiteral("The file does not allow random access"));
    if (forWriting ? !io->isWritable() : !io->isReadable())
        return fail(forWriting ? QStringLiteral("The file is not open for writing")
                               : QStringLiteral("The file is not open for reading"));
    return true;
}

bool RecordFile::read(int record, QString *text)
{
    if (!checkDevice(false))
        return false;
    if (record < 1)
        return fail(invalidRecordNumber(record));
    const qint64 offset = recordOffset(record);
    if (offset >= io->size()) {
        text->clear();
        return true;
    }
    if (!io->seek(offset))
        return fail(
            QStringLiteral("Cannot reach record %1: %2").arg(record).arg(io->errorString()));
    const QByteArray bytes = io->read(RecordSize);
    if (bytes.isEmpty())
        return fail(QStringLiteral("Cannot read record %1: %2").arg(record).arg(io->errorString()));
    QString reason;
    if (!decodeRecord(bytes, text, &reason))
        return fail(QStringLiteral("Record %1: %2").arg(record).arg(reason));
    return true;
}

bool RecordFile::write(int record, const QString &text)
{
    if (!checkDevice(true))
        return false;
    if (record < 1)
        return fail(invalidRecordNumber(record));
    bool ok = false;
    const QByteArray bytes = encodeRecord(text, &ok);
    if (!ok) {
        return fail(QStringLiteral("Record %1: a text of %2 characters exceeds %3 bytes")
                        .arg(record)
                        .arg(text.size())
                        .arg(MaxTextLength));
    }
    const qint64 offset = recordOffset(record);
    const qint64 size = io->size();
    if (offset > size) {
        // Devices differ in what a seek beyond the end leaves behind: write the zeros.
        if (!io->seek(size))
            return fail(QStringLiteral("Cannot extend the file: %1").arg(io->errorString()));
        const QByteArray zeros(RecordSize * 64, '\0');
        for (qint64 left = offset - size; left > 0;) {
            const qint64 chunk = std::min<qint64>(left, zeros.size());
            if (io->write(zeros.constData(), chunk) != chunk)
                return fail(QStringLiteral("Cannot extend the file: %1").arg(io->errorString()));
            left -= chunk;
        }
    }
    if (!io->seek(offset))
        return fail(
            QStringLiteral("Cannot reach record %1: %2").arg(record).arg(io->errorString()));
    if (io->write(bytes) != bytes.size())
        return fail(
            QStringLiteral("Cannot write record %1: %2").arg(record).arg(io->errorString()));
    return true;
}

QByteArray encodeRecord(const QString &text, bool *ok)
{
    const QByteArray encoded = codepage::toCp1252(text);
    const bool fits = encoded.size() <= RecordFile::MaxTextLength;
    if (ok)
        *ok = fits;
    if (!fits)
        return {};
    QByteArray record(RecordFile::RecordSize, '\0');
    record[0] = char(encoded.size() & 0xFF);
    record[1] = char((encoded.size() >> 8) & 0xFF);
    std::copy(encoded.cbegin(), encoded.cend(), record.begin() + 2);
    return record;
}

bool decodeRecord(const QByteArray &record, QString *text, QString *error)
{
    auto failWith = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (record.size() > RecordFile::RecordSize)
        return failWith(QStringLiteral("A record holds %1 bytes").arg(RecordFile::RecordSize));
    if (record.size() < 2)
        return failWith(QStringLiteral("The text length is cut off"));
    const int length = int(static_cast<unsigned char>(record[0]))
        | int(static_cast<unsigned char>(record[1])) << 8;
    if (length > RecordFile::MaxTextLength) {
        return failWith(
            QStringLiteral("Text length %1 exceeds %2").arg(length).arg(RecordFile::MaxTextLength));
    }
    if (record.size() < 2 + length)
        return failWith(QStringLiteral("The text is cut off"));
    *text = codepage::fromCp1252(record.mid(2, length));
    return true;
}

bool readRecordAt(const QString &path, int record, QString *text, QString *error)
{
    QFile file(path);
    // Read-write creates a missing file, as the other program sharing it expects.
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    RecordFile records(&file);
    const bool ok = records.read(record, text);
    if (!ok && error)
        *error = records.errorString();
    return ok;
}

bool writeRecordsAt(const QString &path, const QList<RecordText> &records, QString *error)
{
    auto failWith = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    for (const RecordText &r : records) {
        bool ok = false;
        encodeRecord(r.text, &ok);
        if (!ok || r.record < 1)
            return failWith(QStringLiteral("Record %1 cannot hold its text").arg(r.record));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return failWith(file.errorString());
    RecordFile recordFile(&file);
    for (const RecordText &r : records) {
        if (!recordFile.write(r.record, r.text))
            return failWith(recordFile.errorString());
    }
    if (!file.flush())
        return failWith(file.errorString());
    file.close();
    return true;
}
