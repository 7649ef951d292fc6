#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#ifdef Q_OS_WIN
#include <QTemporaryFile>
#endif

#ifndef OPTALIS_RELATIVE_DATADIR
#define OPTALIS_RELATIVE_DATADIR "../share/optalis"
#endif

namespace paths {

namespace {

    QString installedDataDir(const QString &programDir)
    {
        return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(OPTALIS_RELATIVE_DATADIR)));
    }

#ifdef Q_OS_WIN
    // Windows reports every folder as writable unless asked for its access lists: a read-only
    // stick or Program Files for a pupil only shows itself when a file is really created.
    bool canWrite(const QString &dir)
    {
        if (!QFileInfo(dir).isDir())
            return false;
        QTemporaryFile probe(QDir(dir).filePath(QStringLiteral("optalis-XXXXXX.tmp")));
        return probe.open();
    }

    bool isWithin(const QString &path, const QString &dir)
    {
        const QString here = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        const QString top = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
        return here.compare(top, Qt::CaseInsensitive) == 0
            || here.startsWith(top + QLatin1Char('/'), Qt::CaseInsensitive);
    }
#endif

} // namespace

bool isInstalled(const QString &programDir)
{
    return QFileInfo(installedDataDir(programDir)).isDir();
}

QString shippedDir(const QString &programDir)
{
    return isInstalled(programDir) ? installedDataDir(programDir) : programDir;
}

#ifdef Q_OS_WIN
// The suite's launcher looks in %LOCALAPPDATA%\Optalis, whatever the organisation Qt is told.
QString userDataDir()
{
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString dir = QDir(local).filePath(QStringLiteral("Optalis"));
    QDir().mkpath(dir);
    return dir;
}

QString exchangeDir(const QString &programDir)
{
    return !isInstalled(programDir) && canWrite(programDir) ? programDir : userDataDir();
}

// A pupil saves in Documents, not among the program's files, be it on a stick or installed.
QString saveDir(const QString &programDir, const QString &current)
{
    const QString here = QDir::cleanPath(QFileInfo(current).absoluteFilePath());
    if (!isWithin(here, programDir) && !isWithin(here, shippedDir(programDir)) && canWrite(here))
        return here;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
#else
QString userDataDir()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return dir;
}

QString exchangeDir(const QString &programDir)
{
    const QFileInfo here(programDir);
    if (!isInstalled(programDir) && here.isDir() && here.isWritable())
        return programDir;
    return userDataDir();
}

QString saveDir(const QString &programDir, const QString &current)
{
    const QString here = QDir::cleanPath(QFileInfo(current).absoluteFilePath());
    const QString shipped = QDir::cleanPath(QFileInfo(shippedDir(programDir)).absoluteFilePath());
    const bool amongShipped = isInstalled(programDir)
        && (here == shipped || here.startsWith(shipped + QLatin1Char('/')));
    const QFileInfo info(here);
    if (!amongShipped && info.isDir() && info.isWritable())
        return here;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
#endif

QString exercisesDir(const QString &shippedDir)
{
    const QString shipped = QDir(shippedDir).filePath(QStringLiteral("exercices"));
    return QFileInfo(shipped).isDir() ? shipped : shippedDir;
}

QString translationsDir(const QString &shippedDir)
{
    return QDir(shippedDir).filePath(QStringLiteral("translations"));
}

} // namespace paths
