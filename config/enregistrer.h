// The save dialog: the user picks a folder and a name, and the scene is written there.
#pragma once

#include <QDialog>

class ConfigHost;
class DirList;
class DriveList;
class FileList;
class QLabel;
class QLineEdit;
class QPushButton;

class Enregistrer : public QDialog
{
    Q_OBJECT
public:
    explicit Enregistrer(ConfigHost &host, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    DriveList *Drive1 = nullptr;
    QLabel *Label3 = nullptr;
    DirList *Dir1 = nullptr;
    QLabel *Label4 = nullptr;
    FileList *File1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command2 = nullptr; // "ANNULER"
    QPushButton *Command1 = nullptr; // "ENREGISTRER"

    // The save; the dialog closes only when the file is written.
    void Command1_Click();

    // The typed name without its extension and the blanks around it; empty when none is left.
    // The name the dialog opens with: `fichconfig`, or its bare name when its folder is one
    // where the pupil cannot save.
    static QString proposedName(const QString &programDir, const QString &fichconfig);
    static QString cleanName(const QString &typed);

private:
    void File1_PathChange();
    void File1_DblClick(const QString &name);
    QString fullName(const QString &name) const;
    bool writeFile(const QString &path);

    ConfigHost &host;
};
