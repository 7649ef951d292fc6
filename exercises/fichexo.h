// The exercise window: lists the exercise files of a folder, previews the highlighted one and
// opens it (statement into the pane, configuration into the figure).
#pragma once

#include <QDialog>
#include <array>

class DirList;
class DriveList;
class ExerciseHost;
class FileList;
class HourglassRow;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TitleBand;

class Fichexo : public QDialog
{
    Q_OBJECT
public:
    explicit Fichexo(ExerciseHost &host);

    TitleBand *tito = nullptr;
    QFrame *Frame1 = nullptr; // left panel: drives, folders, exercises
    DriveList *Drive1 = nullptr;
    DirList *Dir1 = nullptr;
    QLabel *Label5 = nullptr; // "Liste des exercices:"
    FileList *File1 = nullptr;
    QLineEdit *fichierexo = nullptr; // full path of the highlighted exercise
    QLabel *titratexo = nullptr;
    QLabel *intratro = nullptr;
    QLabel *Label4 = nullptr; // "Niveau de difficulté :"
    std::array<QLabel *, 3> Image4 {};
    QLabel *Imagalu = nullptr; // hidden: the lit and the unlit difficulty pictures
    QLabel *Imagenoir = nullptr;
    QLabel *Label3 = nullptr; // grey shadow of Label2, under it
    QLabel *Label2 = nullptr; // "Exercice corrigé" or "Non corrigé"
    HourglassRow *Text2 = nullptr;
    QLabel *Label1 = nullptr; // "Notions abordées :"
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *ouvreur = nullptr;
    QPushButton *Image5 = nullptr;
    QFrame *Frame2 = nullptr; // wait notice

    void Form_Activate();
    void File1_Click(const QString &name);
    // Shows what the exercise named in fichierexo holds; false when it cannot be read (the
    // user has been told).
    bool apercu();
    // Opens the exercise named in fichierexo and closes the window, or tells what failed and
    // stays open.
    void ouvreur_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void createLists();
    void createPreview();
    void createButtons();
    void createWaitNotice();
    void showWait(bool shown);
    QWidget *messageParent();
    std::array<QWidget *, 5> previewParts() const;

    ExerciseHost &host;
    bool activated = false;
};
