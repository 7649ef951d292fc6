#include "config/filelist.h"

#include <QDir>
#include <QKeyEvent>

FileList::FileList(const QString &pattern, QWidget *parent)
    : QListWidget(parent)
    , pattern(pattern)
{
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { Q_EMIT fileClicked(item->text()); });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { Q_EMIT fileDoubleClicked(item->text()); });
    // A click already reports itself; the arrow keys report the file they move to.
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (byKeyboard && row >= 0)
            Q_EMIT fileClicked(item(row)->text());
    });
}

void FileList::setPath(const QString &path)
{
    folder = QDir::cleanPath(QDir(path).absolutePath());
    refresh();
    Q_EMIT pathChanged(folder);
}

void FileList::refresh()
{
    clear();
    if (folder.isEmpty())
        return;
    // QDir matches name filters in any case unless told otherwise: "*.P17" finds "a.p17" too.
    const QDir dir(folder, pattern, QDir::Name | QDir::IgnoreCase, QDir::Files);
    addItems(dir.entryList());
    // The first file is highlighted, so that the arrow keys and Enter start from it.
    if (count() > 0)
        setCurrentRow(0);
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem())
        Q_EMIT fileEntered(currentItem()->text());
    byKeyboard = true;
    QListWidget::keyPressEvent(event);
    byKeyboard = false;
}
