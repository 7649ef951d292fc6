// The file list: the files of one folder whose names match a pattern, in any letter case.
#pragma once

#include <QListWidget>

class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(const QString &pattern, QWidget *parent = nullptr);

    QString path() const { return folder; }
    void setPath(const QString &path);
    // Reads the folder again.
    void refresh();

Q_SIGNALS:
    void pathChanged(const QString &path);
    // A file chosen with the mouse or the arrow keys, by its bare name.
    void fileClicked(const QString &name);
    void fileDoubleClicked(const QString &name);
    // Enter on a highlighted file; the key then goes on to the dialog's default button.
    void fileEntered(const QString &name);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString pattern;
    QString folder;
    bool byKeyboard = false;
};
