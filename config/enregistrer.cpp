#include "config/enregistrer.h"

#include "config/configfile.h"
#include "config/confighost.h"
#include "config/dialogcontrols.h"
#include "config/dirlist.h"
#include "config/drivelist.h"
#include "config/filelist.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/sharedvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

bool hasSeparator(const QString &name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QDir::separator());
}

} // namespace

using namespace dialogcontrols;

Enregistrer::Enregistrer(ConfigHost &host, QWidget *parent)
    : QDialog(parent ? parent : host.mainWindow())
    , host(host)
{
    setUp(this, QStringLiteral("enregistrer"), QStringLiteral("Enregistrer les paramètres."),
          QSize(371, 441), host.mainWindow());

    Label1
        = caption(this, QStringLiteral("Label1"), QStringLiteral("Lecteur:"), QRect(72, 8, 81, 17));
    Drive1 = place(new DriveList(this), QStringLiteral("Drive1"), QStringLiteral("Lecteur"),
                   QRect(24, 24, 161, 21));
    Label3 = caption(this, QStringLiteral("Label3"), QStringLiteral("Répertoire:"),
                     QRect(72, 50, 81, 17));
    Dir1 = place(new DirList(this), QStringLiteral("Dir1"), QStringLiteral("Répertoire"),
                 QRect(24, 67, 161, 261));
    Label4 = caption(this, QStringLiteral("Label4"), QStringLiteral("Fichiers enregistrés"),
                     QRect(208, 8, 137, 17));
    File1 = place(new FileList(QStringLiteral("*.P17"), this), QStringLiteral("File1"),
                  QStringLiteral("Fichiers enregistrés"), QRect(208, 24, 137, 305));
    Label2 = caption(this, QStringLiteral("Label2"), QStringLiteral("Nom du fichier:"),
                     QRect(152, 344, 81, 17));
    Text1 = place(new QLineEdit(this), QStringLiteral("Text1"), QStringLiteral("Nom du fichier"),
                  QRect(48, 360, 289, 21));
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("ANNULER"),
                      QStringLiteral("Annuler"), QRect(48, 400, 121, 25));
    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("ENREGISTRER"),
                      QStringLiteral("Enregistrer"), QRect(216, 400, 121, 25));
    Label1->setBuddy(Drive1);
    Label3->setBuddy(Dir1);
    Label4->setBuddy(File1);
    Label2->setBuddy(Text1);

    const QString programDir = QCoreApplication::applicationDirPath();
    linkFolderLists(Drive1, Dir1, File1, paths::saveDir(programDir, QDir::currentPath()));
    connect(File1, &FileList::pathChanged, this, &Enregistrer::File1_PathChange);
    connect(File1, &FileList::fileDoubleClicked, this, &Enregistrer::File1_DblClick);
    // Enter in the file list takes that file's name; the default button then saves.
    connect(File1, &FileList::fileEntered, Text1, &QLineEdit::setText);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1, &QPushButton::clicked, this, &Enregistrer::Command1_Click);
    Command1->setDefault(true);
    Text1->setText(proposedName(programDir, host.shared().fichconfig));
    Text1->setFocus();
}

QString Enregistrer::proposedName(const QString &programDir, const QString &fichconfig)
{
    // A configuration opened among the shipped files of an installed program (an exercise's)
    // cannot be saved back there: its bare name goes into the folder the dialog shows.
    const QFileInfo file(fichconfig);
    if (hasSeparator(fichconfig)
        && paths::saveDir(programDir, file.path()) != QDir::cleanPath(file.absolutePath()))
        return file.fileName();
    return fichconfig;
}

QString Enregistrer::cleanName(const QString &typed)
{
    // Cutting at the last "." until none is left removes everything from the first one, in
    // the file name only: a folder's name may hold dots too.
    const QString whole = typed.trimmed();
    const qsizetype start
        = std::max(whole.lastIndexOf(QLatin1Char('/')), whole.lastIndexOf(QDir::separator())) + 1;
    QString name = whole.mid(start);
    while (name.contains(QLatin1Char('.')))
        name = name.left(name.lastIndexOf(QLatin1Char('.'))).trimmed();
    return name.isEmpty() ? QString() : whole.left(start) + name;
}

QString Enregistrer::fullName(const QString &name) const
{
    // A bare name goes into the listed folder, a relative path is taken from it.
    const QString base = hasSeparator(name) ? File1->path() : Dir1->path();
    const QString path = QDir(base).absoluteFilePath(QDir::fromNativeSeparators(name));
    return QDir::toNativeSeparators(path) + QStringLiteral(".P17");
}

void Enregistrer::File1_PathChange()
{
    // The name is anchored again in the new folder.
    const QString name = Text1->text();
    const qsizetype cut
        = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QDir::separator()));
    if (cut >= 0)
        Text1->setText(name.mid(cut + 1));
}

void Enregistrer::File1_DblClick(const QString &name)
{
    Text1->setText(name);
    Command1_Click();
}

bool Enregistrer::writeFile(const QString &path)
{
    QByteArray layout;
    return buildConfigFile(readControls(host), &layout) && writeConfigFile(path, layout);
}

void Enregistrer::Command1_Click()
{
    setCursor(Qt::WaitCursor);
    const QString name = cleanName(Text1->text());
    if (name.isEmpty()) {
        unsetCursor();
        msgbox::show(this, QStringLiteral("Il faut donner un nom au fichier!"),
                     QStringLiteral("Enregistrement impossible"), msgbox::Icon::Critical);
        return;
    }
    const QString path = fullName(name);
    Text1->setText(path);
    host.shared().fichconfig = path;
    QDir::setCurrent(File1->path());
    if (QFileInfo(path).isFile()
        && msgbox::show(this, QStringLiteral("Ecraser le fichier existant?"),
                        QStringLiteral("Ce fichier existe déjà!"), msgbox::Icon::Warning,
                        msgbox::Buttons::YesNo)
            == msgbox::Answer::No) {
        unsetCursor();
        return;
    }
    if (!writeFile(path)) {
        unsetCursor();
        msgbox::show(this, QStringLiteral("Ecriture impossible sur disque"),
                     QStringLiteral("Enregistrement impossible"), msgbox::Icon::Critical);
        return;
    }
    host.setCaption(QStringLiteral("Optalis - ") + path);
    unsetCursor();
    accept();
}
