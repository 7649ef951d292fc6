// Exercise catalogue files (".E38"): fixed records naming the statement, the correction and
// their configurations, and describing the exercise for the preview. Read only, never written.
#pragma once

#include <QFile>
#include <QString>
#include <memory>
#include <optional>

class RecordFile;

namespace exofile {

enum Record {
    Statement = 1,
    StatementConfig = 2,
    Correction = 3,
    CorrectionConfig = 4,
    Level = 5,
    FirstNotion = 7,
    LastNotion = 10,
    Title = 11,
    Hourglasses = 12,
};

// More would only hang the preview on a hostile file; the row cannot show them anyway.
constexpr int MaxHourglasses = 60;

class ExoFile
{
public:
    ExoFile();
    ~ExoFile();

    // Read-only: a missing file reads as a file whose records are all empty and is not
    // created. False when the file is there but cannot be opened.
    bool open(const QString &path);
    // A record beyond the end reads as "". False on a record that cannot be read.
    bool read(int record, QString *text);
    void close();

private:
    QFile file;
    std::unique_ptr<RecordFile> records;
    bool missing = false;
};

// Reads a few records in one opening; false as soon as one cannot be read.
bool readRecords(const QString &path, std::initializer_list<int> which, QStringList *texts);

bool isBlank(const QString &text);
// The number written in a record: its longest leading numeric prefix, 0 when there is none.
double recordNumber(const QString &text);
// Hourglasses shown for record 12: rounded halves to even, none below 1.
int hourglassCount(const QString &text);

// What the preview shows of a file. A record that cannot be read leaves its part unset.
struct Preview
{
    bool readable = false; // records 3 and 4 could be read: nothing else counts otherwise
    bool corrected = false;
    std::optional<double> level;
    QString notions;
    std::optional<QString> title;
    int hourglasses = 0;
};
Preview readPreview(const QString &path);

// `dir` with the platform's separator at its end, added only when missing.
QString withSeparator(const QString &dir);
// The file a name stored in an exercise designates in `dir`: "\" or "/" between folders, and
// each part matched in any letter case when the exact name is not there (exercises are made on
// systems that ignore case). A name that matches nothing gives the path as written.
QString resolveName(const QString &dir, const QString &stored);

} // namespace exofile
