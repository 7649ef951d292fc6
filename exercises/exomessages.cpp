#include "exercises/exomessages.h"

#include "platform/msgbox.h"
#include "platform/sharedvalues.h"

namespace exomsg {
namespace {
    const QString kCheckDrive = QStringLiteral("Vérifier l'état du lecteur et le nom du fichier.");

    void critical(QWidget *parent, const QString &text, const QString &title)
    {
        msgbox::show(parent, text, title, msgbox::Icon::Critical);
    }

    bool confirm(QWidget *parent, const QString &text, const QString &title)
    {
        return msgbox::show(parent, text, title, msgbox::Icon::Question, msgbox::Buttons::OkCancel)
            == msgbox::Answer::Ok;
    }
} // namespace

bool guard(QWidget *parent, const SharedValues &sv)
{
    return sv.textemodif != 1
        || confirm(parent, QStringLiteral("Attention: perte des modifications du texte."),
                   QStringLiteral("Abandon des données?"));
}

void lectureImpossible(QWidget *parent)
{
    critical(parent, QStringLiteral("Vérifier:\n- le nom du fichier,\n- l'état du lecteur."),
             QStringLiteral("Lecture impossible"));
}

void fichierAbsent(QWidget *parent, const QString &repexo, const QString &name)
{
    critical(parent,
             QStringLiteral("Le fichier ") + repexo + name + QStringLiteral(" est introuvable"),
             QStringLiteral("Fichier absent"));
}

void installationIncomplete(QWidget *parent)
{
    critical(parent, QStringLiteral("Fichier introuvable. Revoir l'installation du logiciel."),
             QStringLiteral("Erreur lors du chargement"));
}

bool ecraser(QWidget *parent, const QString &name)
{
    return confirm(parent,
                   QStringLiteral("Le fichier ") + name
                       + QStringLiteral(" existe déjà.\nEcraser l'ancien?"),
                   QStringLiteral("Ecraser le fichier?"));
}

void erreurEcriture(QWidget *parent)
{
    critical(parent, kCheckDrive, QStringLiteral("Erreur d'écriture."));
}

void erreurLecture(QWidget *parent)
{
    critical(parent, kCheckDrive, QStringLiteral("Erreur de lecture."));
}

} // namespace exomsg
