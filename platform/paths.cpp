#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef OPTALIS_RELATIVE_DATADIR
#define OPTALIS_RELATIVE_DATADIR "../share/optalis"
#endif

namespace paths {

namespace {

    QString installedDataDir(const QString &programDir)
    {
        return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(OPTALIS_RELATIVE_DATADIR)));
    }

} // namespace

bool isInstalled(const QString &programDir)
{
    return QFileInfo(installedDataDir(programDir)).isDir();
}

QString shippedDir(const QString &programDir)
{
    return isInstalled(programDir) ? installedDataDir(programDir) : programDir;
}

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
