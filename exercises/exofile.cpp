#include "exercises/exofile.h"

#include "config/recordfile.h"
#include "platform/numbers.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace exofile {

ExoFile::ExoFile() = default;
ExoFile::~ExoFile() = default;

bool ExoFile::open(const QString &path)
{
    close();
    file.setFileName(path);
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        missing = true;
        return true;
    }
    // A folder opens as a file on some systems: it is no exercise.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return false;
    records = std::make_unique<RecordFile>(&file);
    return true;
}

bool ExoFile::read(int record, QString *text)
{
    if (missing) {
        text->clear();
        return true;
    }
    return records && records->read(record, text);
}

void ExoFile::close()
{
    records.reset();
    if (file.isOpen())
        file.close();
    missing = false;
}

bool readRecords(const QString &path, std::initializer_list<int> which, QStringList *texts)
{
    texts->clear();
    ExoFile exo;
    if (!exo.open(path))
        return false;
    for (int record : which) {
        QString text;
        if (!exo.read(record, &text))
            return false;
        texts->append(text);
    }
    return true;
}

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

double recordNumber(const QString &text)
{
    const double v = numbers::valText(text);
    return std::isfinite(v) ? v : 0.0;
}

int hourglassCount(const QString &text)
{
    const double v = recordNumber(text);
    if (v < 1)
        return 0;
    return std::min(numbers::roundEven(v), MaxHourglasses);
}

Preview readPreview(const QString &path)
{
    Preview p;
    ExoFile exo;
    QString correction, correctionConfig;
    if (!exo.open(path) || !exo.read(Correction, &correction)
        || !exo.read(CorrectionConfig, &correctionConfig))
        return p;
    p.readable = true;
    p.corrected = !isBlank(correction) || !isBlank(correctionConfig);
    QString text;
    if (exo.read(Level, &text))
        p.level = recordNumber(text);
    for (int r = FirstNotion; r <= LastNotion; ++r)
        if (exo.read(r, &text) && !isBlank(text))
            p.notions += text;
    if (exo.read(Title, &text))
        p.title = text.trimmed();
    if (exo.read(Hourglasses, &text))
        p.hourglasses = hourglassCount(text);
    return p;
}

QString withSeparator(const QString &dir)
{
    const QString native = QDir::toNativeSeparators(dir);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

namespace {

    // The entry of `folder` named `part` in any case, the exact one first.
    QString findEntry(const QString &folder, const QString &part)
    {
        const QString exact = QDir(folder).filePath(part);
        if (QFileInfo::exists(exact))
            return exact;
        const QStringList entries = QDir(folder).entryList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString &entry : entries)
            if (entry.compare(part, Qt::CaseInsensitive) == 0)
                return QDir(folder).filePath(entry);
        return QString();
    }

} // namespace

QString resolveName(const QString &dir, const QString &stored)
{
    QString relative = stored.trimmed();
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString here = QDir::fromNativeSeparators(dir);
    if (here.isEmpty())
        here = QStringLiteral(".");
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString found = findEntry(here, part);
        if (found.isEmpty())
            return withSeparator(dir) + QDir::toNativeSeparators(relative);
        here = found;
    }
    return QDir::toNativeSeparators(here);
}

} // namespace exofile
