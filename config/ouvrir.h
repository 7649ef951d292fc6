// The open dialog: the user picks a configuration file, which the loader puts into the window.
#pragma once

#include <QDialog>

class ConfigHost;
class DirList;
class DriveList;
class FileList;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class Ouvrir : public QDialog
{
    Q_OBJECT
public:
    explicit Ouvrir(ConfigHost &host, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    DriveList *Drive1 = nullptr;
    QLabel *Label2 = nullptr;
    DirList *Dir1 = nullptr;
    QLabel *Label3 = nullptr;
    FileList *File1 = nullptr;
    QLineEdit *ficharge = nullptr; // full path of the chosen file
    QPushButton *Command2 = nullptr; // "ANNULER"
    QPushButton *Command1 = nullptr; // "OUVRIR"
    QFrame *Frame1 = nullptr; // wait panel over the whole dialog
    QLabel *Label4 = nullptr;
    QLabel *Image1 = nullptr;

    // The open: loads the file named in ficharge, then closes whatever the outcome, unless the
    // name is blank or names no file.
    void Command1_Click();

private:
    void File1_Click(const QString &name);
    void createWaitPanel();

    ConfigHost &host;
};
