// The print dialog: printer, page title, centring and number of copies. It also lends its
// common dialog to the help command.
#pragma once

#include <QDialog>
#include <array>

class PrintHost;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

class Confimp : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxCopies = 99;

    explicit Confimp(PrintHost &host, QWidget *parent = nullptr);

    QLabel *Label2 = nullptr;
    QLabel *defaut = nullptr; // current printer
    QGroupBox *Frame1 = nullptr; // "Options"
    QLabel *Label5 = nullptr;
    QLineEdit *Text1 = nullptr; // page title
    std::array<QCheckBox *, 2> Chec {}; // horizontal, vertical centring
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr; // copy count as text
    UpDown *UpDown1 = nullptr;
    QPushButton *Command2 = nullptr; // "&Imprimantes"
    QPushButton *Command3 = nullptr; // "&Annuler"
    QPushButton *Command1 = nullptr; // "&OK"
    QFrame *Frame2 = nullptr; // wait notice
    QLabel *Label1 = nullptr;

    void Form_Load();
    void UpDown1_Change();
    void Command2_Click();
    void Command1_Click();

    // The help command's use of the common dialog: the help beside the program.
    void showHelp(const QString &helpFile);

protected:
    void done(int result) override;

private:
    void buildOptions();
    void buildButtons();
    void buildWaitNotice();

    PrintHost &host;
    bool unloaded = false;
};
