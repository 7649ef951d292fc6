// The fixed-record file of configurations, exercises and the exchange file: records of 128 bytes
// numbered from 1, each a 16-bit little-endian text length, the text in Windows-1252 and zeros.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

class RecordFile
{
public:
    static constexpr int RecordSize = 128;
    static constexpr int MaxTextLength = 126;

    // The caller opens and closes the device, which must be random-access.
    explicit RecordFile(QIODevice *device);

    // A record that lies beyond the end of the device reads as "" and succeeds; a record that
    // the device holds only in part reads when its whole text is there.
    bool read(int record, QString *text);
    // Writing beyond the end first extends the device with empty (all-zero) records. A text of
    // more than MaxTextLength bytes fails before any byte is written; characters the code page
    // lacks are written as "?".
    bool write(int record, const QString &text);
    // Why the last read or write failed, for logs and tests; users see the caller's message.
    QString errorString() const { return lastError; }

private:
    bool fail(const QString &reason);
    bool checkDevice(bool forWriting);

    QIODevice *io;
    QString lastError;
};

// A whole record of exactly RecordSize bytes, or an empty array with *ok cleared when the text
// is too long. For files built in memory and written in one go.
QByteArray encodeRecord(const QString &text, bool *ok = nullptr);
// Text of a record: `record` holds at least the length and the text, at most RecordSize bytes.
bool decodeRecord(const QByteArray &record, QString *text, QString *error = nullptr);

struct RecordText
{
    int record;
    QString text;
};

// Open the file at `path`, read or write, close it: for files shared with another program,
// which must not stay open. Both create the file when it is absent (reading then gives "");
// readRecordAt falls back to read-only access when the file cannot be opened for writing.
// writeRecordsAt checks every text before writing any.
bool readRecordAt(const QString &path, int record, QString *text, QString *error = nullptr);
bool writeRecordsAt(const QString &path, const QList<RecordText> &records,
                    QString *error = nullptr);
