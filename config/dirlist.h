// The directory list: the folders from the root down to the current one, then its subfolders.
// A double click or Enter on an entry makes it the current folder.
#pragma once

#include <QTreeWidget>

class DriveList;
class FileList;

class DirList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DirList(QWidget *parent = nullptr);

    QString path() const { return current; }
    // False, and nothing changes, when `path` is no folder.
    bool setPath(const QString &path);

Q_SIGNALS:
    void pathChanged(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // Every level is always open: no expand arrows, only the indentation.
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override { }

private:
    void fill();
    static QString entryPath(const QTreeWidgetItem *item);

    QString current;
};

// The drive list moves the directory list, which moves the file list; they start on `start`
// (the process's current directory when empty, else the home folder).
void linkFolderLists(DriveList *drives, DirList *dirs, FileList *files,
                     const QString &start = QString());
