#include "config/dirlist.h"

#include "config/drivelist.h"
#include "config/filelist.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

DirList::DirList(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(8);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { setPath(entryPath(item)); });
}

QString DirList::entryPath(const QTreeWidgetItem *item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

bool DirList::setPath(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == current)
        return true;
    current = clean;
    fill();
    Q_EMIT pathChanged(current);
    return true;
}

void DirList::keyPressEvent(QKeyEvent *event)
{
    // Enter opens the highlighted folder; it must not reach the dialog's buttons.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        setPath(entryPath(currentItem()));
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void DirList::fill()
{
    clear();
    QStringList chain; // from the current folder up to its root
    for (QDir dir(current);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem *parent = nullptr;
    for (const QString &folder : chain) {
        const QString name = QDir(folder).isRoot() ? QDir::toNativeSeparators(folder)
                                                   : QFileInfo(folder).fileName();
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setText(0, name);
        item->setIcon(0, open);
        item->setData(0, Qt::UserRole, folder);
        parent = item;
    }
    const QDir here(current);
    const QStringList subfolders
        = here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &sub : subfolders) {
        auto *item = new QTreeWidgetItem(parent);
        item->setText(0, sub);
        item->setIcon(0, closed);
        item->setData(0, Qt::UserRole, here.absoluteFilePath(sub));
    }
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent);
}

void linkFolderLists(DriveList *drives, DirList *dirs, FileList *files, const QString &start)
{
    QObject::connect(drives, &DriveList::driveChanged, dirs, [drives, dirs](const QString &root) {
        // A volume that cannot be read sends the drive list back to the folder's volume.
        if (!dirs->setPath(root))
            drives->showDriveOf(dirs->path());
    });
    QObject::connect(dirs, &DirList::pathChanged, files, &FileList::setPath);
    const QString first = start.isEmpty() ? QDir::currentPath() : start;
    if (!dirs->setPath(first))
        dirs->setPath(QDir::homePath());
    drives->showDriveOf(dirs->path());
    files->setPath(dirs->path());
}
