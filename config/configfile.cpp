// Layout of the configuration file, its all-or-nothing reader and its replace-in-one-step writer.
#include "config/configfile.h"

#include "config/recordfile.h"
#include "platform/numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

const QString kSignature = QStringLiteral("OPTALIS");
const QString kTicked = QStringLiteral("1");
constexpr int kScaleCount = 13;
constexpr int kShortestAxis = 50;
constexpr int kLongestAxis = 5000;

// Record numbers, from 1.
constexpr int kRecPrecision = 2;
constexpr int kRecZoom = 3;
constexpr int kRecAxis = 4;
constexpr int kRecScale = 5;
constexpr int kRecScroll1 = 6; // then HScroll2, HScroll3
constexpr int kRecCheck2 = 9;
constexpr int kRecCheck1 = 10; // 18 boxes
constexpr int kRecText1 = 28; // 9 fields

QString flagText(bool ticked)
{
    return ticked ? kTicked : QStringLiteral("0");
}

ConfigRead refused(ConfigRead result, QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return result;
}

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

// Every record's text, or the reason why one cannot be read.
bool decodeAll(const QByteArray &content, std::array<QString, ConfigRecordCount> *texts,
               QString *why)
{
    for (int r = 1; r <= ConfigRecordCount; ++r) {
        QString reason;
        if (!decodeRecord(content.mid((r - 1) * RecordFile::RecordSize, RecordFile::RecordSize),
                          &(*texts)[size_t(r - 1)], &reason)) {
            *why = QStringLiteral("Record %1: %2").arg(r).arg(reason);
            return false;
        }
    }
    return true;
}

// The numbers of the file, each checked against the control or table that receives it.
bool decodeValues(const std::array<QString, ConfigRecordCount> &texts, const ControlRanges &ranges,
                  ConfigValues *v, QString *why)
{
    const auto text = [&texts](int record) { return texts[size_t(record - 1)]; };
    const auto refuse = [why](const QString &reason) {
        *why = reason;
        return false;
    };
    v->combo1 = numbers::valInteger(text(kRecPrecision));
    if (!within(v->combo1, 0, ranges.combo1Count - 1))
        return refuse(QStringLiteral("Precision index %1 is not in the list").arg(v->combo1));
    v->nzoom = numbers::valInteger(text(kRecZoom));
    if (!within(v->nzoom, 0, kScaleCount - 1))
        return refuse(QStringLiteral("Scale index %1 is not in the table").arg(v->nzoom));
    v->longaxe = numbers::valInteger(text(kRecAxis));
    if (!within(v->longaxe, kShortestAxis, kLongestAxis))
        return refuse(QStringLiteral("Axis length %1 is out of range").arg(v->longaxe));
    v->echelle = numbers::valSingle(text(kRecScale));
    if (!std::isfinite(v->echelle))
        return refuse(QStringLiteral("The scale is not a finite number"));
    for (int n = 0; n < 3; ++n) {
        const int value = numbers::valInteger(text(kRecScroll1 + n));
        const int high = n == 1 ? mountMaximum(v->longaxe) : ranges.hscrollMaximum[size_t(n)];
        if (!within(value, ranges.hscrollMinimum[size_t(n)], high))
            return refuse(QStringLiteral("HScroll%1 cannot take %2").arg(n + 1).arg(value));
        v->hscroll[size_t(n)] = value;
    }
    v->check2 = text(kRecCheck2) == kTicked;
    for (int k = 0; k < 18; ++k)
        v->check1[size_t(k)] = text(kRecCheck1 + k) == kTicked;
    for (int k = 0; k < 9; ++k)
        v->text1[size_t(k)] = text(kRecText1 + k);
    return true;
}

} // namespace

QStringList configRecordTexts(const ConfigValues &v)
{
    QStringList texts {kSignature, numbers::strInteger(v.combo1), numbers::strInteger(v.nzoom),
                       numbers::strInteger(v.longaxe), numbers::strSingle(v.echelle)};
    for (int value : v.hscroll)
        texts << numbers::strInteger(value);
    texts << flagText(v.check2);
    for (bool ticked : v.check1)
        texts << flagText(ticked);
    for (const QString &field : v.text1)
        texts << field;
    return texts;
}

bool buildConfigFile(const ConfigValues &values, QByteArray *bytes, QString *error)
{
    const QStringList texts = configRecordTexts(values);
    QByteArray built;
    built.reserve(ConfigFileSize);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        bool ok = false;
        const QByteArray record = encodeRecord(texts[i], &ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("Record %1: the text exceeds %2 bytes")
                             .arg(i + 1)
                             .arg(RecordFile::MaxTextLength);
            return false;
        }
        built += record;
    }
    *bytes = built;
    return true;
}

ConfigRead parseConfigFile(const QByteArray &content, const ControlRanges &ranges,
                           ConfigValues *values, QString *why)
{
    // An empty file has an empty signature, as a record beyond the end reads as "".
    QString signature;
    if (!content.isEmpty() && !decodeRecord(content.left(RecordFile::RecordSize), &signature, why))
        return ConfigRead::Unreadable;
    if (signature != kSignature)
        return refused(ConfigRead::Foreign, why, QStringLiteral("Record 1 is not the signature"));
    if (content.size() < ConfigFileSize)
        return refused(ConfigRead::Unreadable, why,
                       QStringLiteral("The file ends before record %1").arg(ConfigRecordCount));
    std::array<QString, ConfigRecordCount> texts;
    ConfigValues decoded;
    QString reason;
    if (!decodeAll(content, &texts, &reason) || !decodeValues(texts, ranges, &decoded, &reason))
        return refused(ConfigRead::Unreadable, why, reason);
    *values = decoded;
    return ConfigRead::Ok;
}

ConfigRead readConfigFile(QIODevice *device, const ControlRanges &ranges, ConfigValues *values,
                          QString *why)
{
    if (!device || !device->isReadable())
        return refused(ConfigRead::Unreadable, why,
                       QStringLiteral("The file is not open for reading"));
    QByteArray content;
    while (content.size() < ConfigFileSize) {
        const QByteArray chunk = device->read(ConfigFileSize - content.size());
        if (chunk.isEmpty())
            break;
        content += chunk;
    }
    // An error is not the end of the file: a medium that fails must not pass for a short file.
    if (content.size() < ConfigFileSize && !device->atEnd())
        return refused(ConfigRead::Unreadable, why, device->errorString());
    return parseConfigFile(content, ranges, values, why);
}

ConfigRead readConfigFile(const QString &path, const ControlRanges &ranges, ConfigValues *values,
                          QString *why)
{
    // Read-only: loading must never create or touch the file.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(ConfigRead::Unreadable, why, file.errorString());
    return readConfigFile(&file, ranges, values, why);
}

bool writeConfigFile(const QString &path, const QByteArray &layout, QString *error)
{
    const auto failWith = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    QFile previous(path);
    const bool keepTail = QFileInfo::exists(path);
    if (keepTail && !previous.open(QIODevice::ReadOnly))
        return failWith(previous.errorString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failWith(file.errorString());
    const auto cancelWith = [&file, &failWith](const QString &reason) {
        file.cancelWriting();
        return failWith(reason);
    };
    if (file.write(layout) != layout.size())
        return cancelWith(file.errorString());
    // The previous file's end is copied piece by piece: however large it is, it never has to
    // fit in memory.
    if (keepTail && previous.size() > layout.size()) {
        if (!previous.seek(layout.size()))
            return cancelWith(previous.errorString());
        for (qint64 left = previous.size() - layout.size(); left > 0;) {
            const QByteArray chunk = previous.read(std::min<qint64>(left, 1 << 16));
            if (chunk.isEmpty())
                return cancelWith(QStringLiteral("Cannot read the end of the previous file"));
            if (file.write(chunk) != chunk.size())
                return cancelWith(file.errorString());
            left -= chunk.size();
        }
    }
    // The bytes wait in the device's buffer: a full disk shows only when they are flushed, and
    // commit() would not always tell.
    if (!file.flush())
        return cancelWith(file.errorString());
    // Some systems refuse to replace a file that is still open.
    previous.close();
    if (!file.commit())
        return failWith(file.errorString());
    return true;
}

int mountMaximum(int longaxe)
{
    return numbers::roundEven(135.0 / 800.0 * longaxe * 10);
}

QString scaleLabel(int nzoom, int longaxe)
{
    if (nzoom > 4)
        return numbers::formatGeneral(longaxe / 100.0) + QStringLiteral(" m");
    return numbers::formatGeneral(longaxe) + QStringLiteral(" cm");
}
