#include "config/drivelist.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    refresh();
    connect(this, &QComboBox::activated, this,
            [this](int index) { Q_EMIT driveChanged(itemData(index).toString()); });
}

QString DriveList::drive() const
{
    return currentData().toString();
}

int DriveList::addVolume(const QString &root)
{
    const QString clean = QDir::cleanPath(root);
    const int found = findData(clean);
    if (found >= 0)
        return found;
    addItem(QDir::toNativeSeparators(clean), clean);
    return count() - 1;
}

void DriveList::refresh()
{
    const QSignalBlocker quiet(this);
    const QString chosen = drive();
    clear();
    for (const QFileInfo &root : QDir::drives())
        addVolume(root.absoluteFilePath());
    // Some mounts are single files (containers bind files in): only folders can be browsed.
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            addVolume(volume.rootPath());
    if (!chosen.isEmpty())
        setCurrentIndex(findData(chosen));
}

void DriveList::showDriveOf(const QString &path)
{
    const QStorageInfo volume(path);
    const QString root = volume.isValid() ? volume.rootPath() : QDir::rootPath();
    const QSignalBlocker quiet(this);
    setCurrentIndex(addVolume(root));
}
