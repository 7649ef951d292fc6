#include "exercises/fichexo.h"

#include "config/dialogcontrols.h"
#include "config/dirlist.h"
#include "config/drivelist.h"
#include "config/filelist.h"
#include "exercises/exofile.h"
#include "exercises/exohost.h"
#include "exercises/exoicons.h"
#include "exercises/exomessages.h"
#include "exercises/exopane.h"
#include "exercises/hourglassrow.h"
#include "exercises/titleband.h"
#include "platform/paths.h"
#include "platform/sharedvalues.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

using namespace dialogcontrols;

namespace {

const QColor kDarkBlue(0, 0, 128);
const QColor kGreen(0, 128, 0);
const QColor kShadow(160, 160, 160);
const QString kCorrected = QStringLiteral("Exercice corrigé");

constexpr int kBandHeight = 49;
constexpr int kPanelWidth = 209;
constexpr int kPreviewLeft = 232;

QFont serif(int points, bool bold)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QFont sans(int points, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

void colour(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

// A value label is heard as what it shows.
void showValue(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

QLabel *picture(QWidget *owner, const QString &name, const QString &accessible,
                const QPixmap &pixmap, const QRect &geometry)
{
    auto *l = place(new QLabel(owner), name, accessible, geometry);
    l->setPixmap(pixmap);
    return l;
}

} // namespace

Fichexo::Fichexo(ExerciseHost &host)
    : QDialog(host.mainWindow())
    , host(host)
{
    setObjectName(QStringLiteral("Fichexo"));
    setAccessibleName(QStringLiteral("Ouvrir un exercice"));
    setFont(sans(8, false));
    tito = place(new TitleBand(QStringLiteral("Ouvrir un exercice"), this), QStringLiteral("tito"),
                 QStringLiteral("Ouvrir un exercice"), QRect(0, 0, 791, kBandHeight));
    createLists();
    fichierexo = place(new QLineEdit(this), QStringLiteral("fichierexo"),
                       QStringLiteral("Chemin de l'exercice sélectionné"),
                       QRect(kPanelWidth + 8, kBandHeight + 6, 200, 19));
    createPreview();
    createButtons();
    createWaitNotice();
    Form_Load();
}

void Fichexo::createLists()
{
    Frame1 = place(new QFrame(this), QStringLiteral("Frame1"),
                   QStringLiteral("Choix de l'exercice"), QRect(0, 0, kPanelWidth, 500));
    Frame1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Frame1->setAutoFillBackground(true);
    Drive1 = place(new DriveList(Frame1), QStringLiteral("Drive1"), QStringLiteral("Lecteur"),
                   QRect(8, 16, kPanelWidth - 16, 21));
    Dir1 = place(new DirList(Frame1), QStringLiteral("Dir1"), QStringLiteral("Répertoire"),
                 QRect(8, 44, kPanelWidth - 16, 190));
    Label5 = caption(Frame1, QStringLiteral("Label5"), QStringLiteral("Liste des exercices:"),
                     QRect(8, 242, kPanelWidth - 16, 17));
    File1 = place(new FileList(QStringLiteral("*.E38"), Frame1), QStringLiteral("File1"),
                  QStringLiteral("Liste des exercices"), QRect(8, 260, kPanelWidth - 16, 200));
    Label5->setBuddy(File1);
    connect(File1, &FileList::fileClicked, this, &Fichexo::File1_Click);
    // A double click opens what its first click highlighted.
    connect(File1, &FileList::fileDoubleClicked, this, [this] { ouvreur_Click(); });
}

void Fichexo::createPreview()
{
    titratexo = place(new QLabel(QStringLiteral("Titre"), this), QStringLiteral("titratexo"),
                      QStringLiteral("Titre"), QRect(kPreviewLeft, 88, 540, 40));
    titratexo->setAccessibleDescription(QStringLiteral("Titre de l'exercice"));
    titratexo->setFont(serif(16, true));
    titratexo->setWordWrap(true);
    colour(titratexo, kDarkBlue);
    intratro = place(new QLabel(QStringLiteral("Sélectionner un fichier"), this),
                     QStringLiteral("intratro"), QStringLiteral("Sélectionner un fichier"),
                     QRect(kPreviewLeft, 88, 540, 40));
    intratro->setFont(serif(16, false));
    Label4 = caption(this, QStringLiteral("Label4"), QStringLiteral("Niveau de difficulté :"),
                     QRect(kPreviewLeft, 148, 150, 20));
    Label4->setFont(sans(10, false));
    Imagalu = picture(this, QStringLiteral("Imagalu"), QStringLiteral("Niveau atteint"),
                      exoicons::difficulty(true), QRect(0, 0, 32, 32));
    Imagenoir = picture(this, QStringLiteral("Imagenoir"), QStringLiteral("Niveau non atteint"),
                        exoicons::difficulty(false), QRect(0, 0, 32, 32));
    Imagalu->hide();
    Imagenoir->hide();
    for (int i = 0; i < 3; ++i)
        Image4[size_t(i)] = picture(this, QStringLiteral("Image4_%1").arg(i),
                                    QStringLiteral("Difficulté %1 sur 3").arg(i + 1), QPixmap(),
                                    QRect(kPreviewLeft + 160 + 36 * i, 142, 32, 32));
    Label3 = caption(this, QStringLiteral("Label3"), QStringLiteral("Corrigé"),
                     QRect(kPreviewLeft, 188, 200, 24));
    Label2 = caption(this, QStringLiteral("Label2"), QStringLiteral("Corrigé"),
                     QRect(kPreviewLeft, 188, 200, 24));
    for (QLabel *l : {Label2, Label3}) {
        l->setFont(sans(12, true));
        l->setAccessibleDescription(QStringLiteral("Exercice corrigé ou non"));
    }
    colour(Label2, kGreen);
    colour(Label3, kShadow);
    Text2 = place(new HourglassRow(this), QStringLiteral("Text2"),
                  QStringLiteral("Durée de l'exercice"), QRect(kPreviewLeft + 240, 184, 300, 30));
    Label1 = caption(this, QStringLiteral("Label1"), QStringLiteral("Notions abordées :"),
                     QRect(kPreviewLeft, 226, 300, 20));
    Label1->setFont(sans(10, true));
    colour(Label1, kDarkBlue);
    Text1 = place(new QPlainTextEdit(this), QStringLiteral("Text1"),
                  QStringLiteral("Notions abordées"), QRect(kPreviewLeft, 248, 540, 150));
    Text1->setReadOnly(true);
    Text1->setFont(sans(10, false));
}

void Fichexo::createButtons()
{
    const auto imageButton = [this](const QString &name, const QString &tip, const QPixmap &pm,
                                    const QRect &geometry) {
        auto *b = place(new QPushButton(this), name, tip, geometry);
        b->setIcon(QIcon(pm));
        b->setIconSize(pm.size());
        b->setToolTip(tip);
        return b;
    };
    ouvreur
        = imageButton(QStringLiteral("ouvreur"), QStringLiteral("Ouvrir l'exercice sélectionné"),
                      exoicons::openExercise(), QRect(600, 420, 56, 56));
    Image5 = imageButton(QStringLiteral("Image5"), QStringLiteral("Fermer sans charger d'exercice"),
                         exoicons::closeWindow(), QRect(680, 420, 56, 56));
    // Enter in the list or the path field opens the highlighted exercise.
    ouvreur->setDefault(true);
    Image5->setAutoDefault(false);
    connect(ouvreur, &QPushButton::clicked, this, &Fichexo::ouvreur_Click);
    connect(Image5, &QPushButton::clicked, this, &QDialog::reject);
}

void Fichexo::createWaitNotice()
{
    Frame2 = place(new QFrame(this), QStringLiteral("Frame2"),
                   QStringLiteral("Patienter quelques instants"), QRect(0, 0, 300, 90));
    Frame2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Frame2->setLineWidth(2);
    Frame2->setAutoFillBackground(true);
    picture(Frame2, QStringLiteral("Image3"), QStringLiteral("Sablier"), exoicons::hourglass(36),
            QRect(20, 27, 24, 36));
    QLabel *wait = caption(Frame2, QStringLiteral("Label6"),
                           QStringLiteral("Patienter quelques instants"), QRect(64, 20, 224, 24));
    wait->setFont(sans(11, true));
    caption(Frame2, QStringLiteral("Label7"), QStringLiteral(" Chargement des fichiers"),
            QRect(64, 48, 224, 20))
        ->setFont(sans(10, false));
}

void Fichexo::Form_Load()
{
    showValue(titratexo, QString());
    Frame2->hide();
    // The preview's parts show once a file is previewed.
    for (QWidget *w : previewParts())
        w->hide();
    for (QLabel *image : Image4)
        image->hide();
    // Laid exactly over the main window, with its caption and icon.
    QWidget *main = host.mainWindow();
    setWindowTitle(main->windowTitle());
    setWindowIcon(main->windowIcon());
    setWindowState(main->windowState() & ~Qt::WindowActive);
    setFixedSize(main->size());
    move(main->pos());
    tito->resize(width(), tito->height());
    Frame1->setGeometry(0, tito->height() - 8, Frame1->width(), height());
    // The file list ends where the window does.
    File1->resize(File1->width(), height() - Frame1->y() - File1->y() - 8);
    fichierexo->resize(width() - fichierexo->x() + 2, fichierexo->height());
    Frame2->move((width() - Frame2->width()) / 2, (height() - Frame2->height()) / 2);
    const int bottom = height() - ouvreur->height() - 12;
    ouvreur->move(ouvreur->x(), bottom);
    Image5->move(Image5->x(), bottom);
    Text1->resize(Text1->width(), std::max(40, bottom - Text1->y() - 12));
    Text1->clear();
    Text2->setText(QString());
    // A one-pixel shadow: the nearest to the designed offset that still shows.
    Label3->move(Label2->x() + 1, Label2->y() + 1);
    Label2->raise();
    // A teacher or a pupil finds the shipped exercises straight away.
    linkFolderLists(Drive1, Dir1, File1, paths::exercisesDir(host.programDir()));
}

void Fichexo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!activated) {
        activated = true;
        Form_Activate();
    }
}

void Fichexo::Form_Activate()
{
    if (File1->count() < 1)
        return;
    File1->setCurrentRow(0);
    File1_Click(File1->item(0)->text());
    File1->setFocus();
}

void Fichexo::File1_Click(const QString &name)
{
    const QString folder = File1->path();
    QDir::setCurrent(folder);
    host.shared().repexo = exofile::withSeparator(folder);
    fichierexo->setText(host.shared().repexo + name);
    apercu();
}

bool Fichexo::apercu()
{
    Text1->clear();
    Text2->setText(QString());
    for (QLabel *image : Image4)
        image->hide();
    Label4->hide();
    ouvreur->hide();
    if (fichierexo->text().trimmed().isEmpty())
        return true;
    intratro->hide();
    for (QWidget *w : previewParts())
        w->show();
    const exofile::Preview p = exofile::readPreview(fichierexo->text());
    if (!p.readable) {
        exomsg::lectureImpossible(messageParent());
        return false;
    }
    showValue(Label2, p.corrected ? kCorrected : QStringLiteral("Non corrigé"));
    showValue(Label3, Label2->text());
    if (p.level) {
        for (int i = 0; i < 3; ++i) {
            const bool lit = *p.level > i;
            QLabel *image = Image4[size_t(i)];
            image->setPixmap((lit ? Imagalu : Imagenoir)->pixmap());
            image->setAccessibleDescription(lit ? QStringLiteral("atteint")
                                                : QStringLiteral("non atteint"));
            image->show();
        }
    }
    Text1->setPlainText(p.notions);
    if (p.title)
        showValue(titratexo, *p.title);
    Text2->setText(QString(p.hourglasses, QLatin1Char('6')));
    return true;
}

std::array<QWidget *, 5> Fichexo::previewParts() const
{
    return {Label4, ouvreur, Label1, Label2, Label3};
}

QWidget *Fichexo::messageParent()
{
    return isVisible() ? static_cast<QWidget *>(this) : host.mainWindow();
}

void Fichexo::showWait(bool shown)
{
    Frame2->setVisible(shown);
    if (shown) {
        Frame2->raise();
        Frame2->repaint();
    }
}

void Fichexo::ouvreur_Click()
{
    const QString path = fichierexo->text();
    if (path.trimmed().isEmpty())
        return;
    showWait(true);
    SharedValues &sv = host.shared();
    QStringList records;
    if (!exofile::readRecords(path, {exofile::Statement, exofile::StatementConfig}, &records)) {
        exomsg::lectureImpossible(messageParent());
        showWait(false);
        return;
    }
    if (!exopane::load(host.supertext(), exofile::resolveName(sv.repexo, records[0]))) {
        exomsg::fichierAbsent(messageParent(), sv.repexo, records[0]);
        showWait(false);
        return;
    }
    host.setFich(path);
    sv.exocorrige = Label2->text() == kCorrected ? 1 : 0;
    if (!exofile::isBlank(records[1])) {
        sv.fichconfig = exofile::resolveName(sv.repexo, records[1]);
        host.chargeconfig();
    }
    showWait(false);
    host.supertext()->setReadOnly(false);
    sv.textemodif = 0;
    accept();
}
