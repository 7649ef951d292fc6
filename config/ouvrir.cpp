#include "config/ouvrir.h"

#include "config/chargeconfig.h"
#include "config/confighost.h"
#include "config/dialogcontrols.h"
#include "config/dirlist.h"
#include "config/drivelist.h"
#include "config/filelist.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

// An hourglass, drawn so that no image file has to ship with the program.
QPixmap hourglass()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(6, 3, 26, 3);
    p.drawLine(6, 29, 26, 29);
    QPainterPath glass;
    glass.moveTo(8, 4);
    glass.lineTo(24, 4);
    glass.lineTo(17, 16);
    glass.lineTo(24, 28);
    glass.lineTo(8, 28);
    glass.lineTo(15, 16);
    glass.closeSubpath();
    p.setBrush(QColor(235, 240, 250));
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 160, 60));
    p.drawPolygon(QPolygon({QPoint(11, 9), QPoint(21, 9), QPoint(16, 15)}));
    p.drawPolygon(QPolygon({QPoint(16, 21), QPoint(22, 27), QPoint(10, 27)}));
    return pixmap;
}

} // namespace

using namespace dialogcontrols;

Ouvrir::Ouvrir(ConfigHost &host, QWidget *parent)
    : QDialog(parent ? parent : host.mainWindow())
    , host(host)
{
    setUp(this, QStringLiteral("ouvrir"), QStringLiteral("Ouvrir une configuration"),
          QSize(369, 423), host.mainWindow());

    Label1 = caption(this, QStringLiteral("Label1"), QStringLiteral("Lecteur:"),
                     QRect(24, 8, 161, 17));
    Drive1 = place(new DriveList(this), QStringLiteral("Drive1"), QStringLiteral("Lecteur"),
                   QRect(24, 24, 161, 21));
    Label2 = caption(this, QStringLiteral("Label2"), QStringLiteral("Répertoire"),
                     QRect(24, 49, 161, 17));
    Dir1 = place(new DirList(this), QStringLiteral("Dir1"), QStringLiteral("Répertoire"),
                 QRect(24, 65, 161, 276));
    Label3 = caption(this, QStringLiteral("Label3"), QStringLiteral("Fichiers"),
                     QRect(208, 8, 137, 17));
    File1 = place(new FileList(QStringLiteral("*.P17"), this), QStringLiteral("File1"),
                  QStringLiteral("Fichiers de configuration"), QRect(208, 24, 137, 318));
    ficharge = place(new QLineEdit(this), QStringLiteral("ficharge"),
                     QStringLiteral("Chemin du fichier choisi"), QRect(0, 352, 369, 19));
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("ANNULER"),
                      QStringLiteral("Annuler"), QRect(48, 376, 121, 25));
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("OUVRIR"),
                      QStringLiteral("Ouvrir"), QRect(208, 376, 121, 25));
    Label1->setBuddy(Drive1);
    Label2->setBuddy(Dir1);
    Label3->setBuddy(File1);
    createWaitPanel();

    linkFolderLists(Drive1, Dir1, File1);
    connect(File1, &FileList::fileClicked, this, &Ouvrir::File1_Click);
    connect(File1, &FileList::fileDoubleClicked, this, [this](const QString &name) {
        File1_Click(name);
        Command1_Click();
    });
    // Enter in the file list takes the highlighted file; the default button then opens it.
    connect(File1, &FileList::fileEntered, this, &Ouvrir::File1_Click);
    Command1->setDefault(true);
    File1->setFocus();
    if (File1->currentItem())
        File1_Click(File1->currentItem()->text());
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1, &QPushButton::clicked, this, &Ouvrir::Command1_Click);
}

void Ouvrir::createWaitPanel()
{
    Frame1 = place(new QFrame(this), QStringLiteral("Frame1"),
                   QStringLiteral("Patience: chargement du fichier"), QRect(0, 0, 369, 425));
    Frame1->setAutoFillBackground(true);
    Label4 = caption(Frame1, QStringLiteral("Label4"),
                     QStringLiteral("Patience: chargement du fichier"), QRect(8, 168, 353, 33));
    Label4->setAlignment(Qt::AlignCenter);
    QFont bold = Label4->font();
    bold.setBold(true);
    Label4->setFont(bold);
    Image1 = place(new QLabel(Frame1), QStringLiteral("Image1"), QStringLiteral("Sablier"),
                   QRect(168, 128, 32, 32));
    Image1->setPixmap(hourglass());
    Frame1->hide();
}

void Ouvrir::File1_Click(const QString &name)
{
    QString path = QDir::toNativeSeparators(File1->path());
    QDir::setCurrent(File1->path());
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    ficharge->setText(path + name);
}

void Ouvrir::Command1_Click()
{
    if (ficharge->text().trimmed().isEmpty())
        return;
    SharedValues &sv = host.shared();
    // A file that is not loaded does not become the one the window saves to.
    const QString previous = sv.fichconfig;
    sv.fichconfig = ficharge->text();
    if (!QFileInfo(sv.fichconfig).isFile()) {
        sv.fichconfig = previous;
        msgbox::show(this, QStringLiteral("Nom de fichier incorrect ou chemin non valide"),
                     QStringLiteral("impossible d'ouvrir ce fichier"), msgbox::Icon::Critical);
        return;
    }
    Frame1->show();
    Frame1->raise();
    if (!chargeconfig(host, this))
        sv.fichconfig = previous;
    accept();
}
