#include "exercises/exotexts.h"

#include "exercises/comexo.h"
#include "exercises/exofile.h"
#include "exercises/exohost.h"
#include "exercises/exomessages.h"
#include "exercises/exopane.h"
#include "exercises/fichexo.h"
#include "platform/sharedvalues.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QTextEdit>

namespace {
const QString kRtfFilter = QStringLiteral("Texte au format RTF (*.RTF *.rtf)");
const QString kGuidedExercise = QStringLiteral("optalis.PEM");
} // namespace

ExoTexts::ExoTexts(ExerciseHost &host, QObject *parent)
    : QObject(parent)
    , host(host)
    , comexo(std::make_unique<ComExo>())
{
    optionexo = new QMenu(host.mainWindow());
    menu = optionexo;
    optionexo->setObjectName(QStringLiteral("optionexo"));
    optionexo->setTitle(QStringLiteral("Exercices"));
    optionexo->setAccessibleName(QStringLiteral("Exercices"));
    PRISENMAIN = entry(QStringLiteral("PRISENMAIN"), QStringLiteral("Prise en main"),
                       &ExoTexts::PRISENMAIN_Click);
    separons1 = optionexo->addSeparator();
    openexo = entry(QStringLiteral("openexo"),
                    QStringLiteral("Ouvrir un exercice (énoncé + configuration)"),
                    &ExoTexts::openexo_Click);
    opencor = entry(QStringLiteral("opencor"), QStringLiteral("Voir la correction"),
                    &ExoTexts::opencor_Click);
    separons2 = optionexo->addSeparator();
    savetexte = entry(QStringLiteral("savetexte"),
                      QStringLiteral("Enregistrer le contenu de la fenêtre exercice"),
                      &ExoTexts::savetexte_Click);
    opentexte = entry(QStringLiteral("opentexte"), QStringLiteral("Retrouver un texte"),
                      &ExoTexts::opentexte_Click);
    imprimetexte = entry(QStringLiteral("imprimetexte"),
                         QStringLiteral("Imprimer le contenu de la fenêtre exercice"),
                         &ExoTexts::imprimetexte_Click);
    separons3 = optionexo->addSeparator();
    Closexo = entry(QStringLiteral("Closexo"), QStringLiteral("Fermer l'exercice"),
                    &ExoTexts::Closexo_Click);
    separons1->setObjectName(QStringLiteral("separons1"));
    separons2->setObjectName(QStringLiteral("separons2"));
    separons3->setObjectName(QStringLiteral("separons3"));
    connect(optionexo, &QMenu::aboutToShow, this, &ExoTexts::optionexo_Click);
}

ExoTexts::~ExoTexts()
{
    delete menu;
}

QAction *ExoTexts::entry(const QString &name, const QString &caption, void (ExoTexts::*handler)())
{
    QAction *a = optionexo->addAction(caption);
    a->setObjectName(name);
    // Queued: the menu closes before a dialog or a message box opens.
    connect(a, &QAction::triggered, this, handler, Qt::QueuedConnection);
    return a;
}

void ExoTexts::setDialogs(std::unique_ptr<ComExo> dialogs)
{
    comexo = std::move(dialogs);
}

QWidget *ExoTexts::parentWidget()
{
    return host.mainWindow();
}

void ExoTexts::btexo_Click(const QPoint &where)
{
    optionexo_Click();
    Closexo->setEnabled(!host.fich().isEmpty());
    optionexo->popup(where);
}

void ExoTexts::optionexo_Click()
{
    opencor->setEnabled(host.shared().exocorrige == 1);
}

void ExoTexts::openexo_Click()
{
    SharedValues &sv = host.shared();
    if (!exomsg::guard(parentWidget(), sv))
        return;
    sv.textemodif = 0;
    Fichexo window(host);
    window.exec();
}

void ExoTexts::opencor_Click()
{
    SharedValues &sv = host.shared();
    if (!exomsg::guard(parentWidget(), sv))
        return;
    sv.textemodif = 0;
    host.setBusy(true);
    QStringList records;
    if (!exofile::readRecords(host.fich(), {exofile::Correction, exofile::CorrectionConfig},
                              &records)) {
        exomsg::lectureImpossible(parentWidget());
        host.setBusy(false);
        return;
    }
    if (!exofile::isBlank(records[0])
        && !exopane::load(host.supertext(), exofile::resolveName(sv.repexo, records[0]))) {
        exomsg::fichierAbsent(parentWidget(), sv.repexo, records[0]);
        host.setBusy(false);
        return;
    }
    if (!exofile::isBlank(records[1])) {
        sv.fichconfig = exofile::resolveName(sv.repexo, records[1]);
        host.chargeconfig();
    }
    host.supertext()->setReadOnly(true);
    host.setBusy(false);
    sv.textemodif = 0;
}

void ExoTexts::PRISENMAIN_Click()
{
    SharedValues &sv = host.shared();
    // The guided exercise replaces the pane's text as any other one does: edits are asked for.
    if (!exomsg::guard(parentWidget(), sv))
        return;
    const QString dir = exofile::withSeparator(host.programDir());
    const QString file = exofile::resolveName(dir, kGuidedExercise);
    if (!QFileInfo(file).isFile())
        return;
    sv.repexo = dir;
    QStringList records;
    if (!exofile::readRecords(file, {exofile::Statement, exofile::StatementConfig}, &records)
        || !exopane::load(host.supertext(), exofile::resolveName(dir, records[0]))) {
        exomsg::installationIncomplete(parentWidget());
        return;
    }
    host.setFich(file);
    sv.exocorrige = 0;
    if (!exofile::isBlank(records[1])) {
        sv.fichconfig = exofile::resolveName(dir, records[1]);
        host.chargeconfig();
    }
    host.supertext()->setReadOnly(false);
    sv.textemodif = 0;
}

void ExoTexts::savetexte_Click()
{
    const QString path = comexo->saveFileName(parentWidget(), kRtfFilter, QStringLiteral("RTF"));
    if (path.isEmpty())
        return;
    const QFileInfo existing(path);
    if (existing.exists() && !exomsg::ecraser(parentWidget(), existing.fileName()))
        return;
    // A text that could not be written still exists only in the pane: the guard keeps it.
    if (!exopane::save(host.supertext(), path)) {
        exomsg::erreurEcriture(parentWidget());
        return;
    }
    host.shared().textemodif = 0;
}

void ExoTexts::opentexte_Click()
{
    SharedValues &sv = host.shared();
    if (!exomsg::guard(parentWidget(), sv))
        return;
    const int16_t edited = sv.textemodif;
    sv.textemodif = 0;
    const QString path = comexo->openFileName(parentWidget(), kRtfFilter, QStringLiteral("*.rtf"));
    if (path.isEmpty())
        return;
    // A text that could not be read changes nothing: the pane still holds what it held.
    if (!exopane::load(host.supertext(), path)) {
        sv.textemodif = edited;
        exomsg::erreurLecture(parentWidget());
        return;
    }
    sv.exocorrige = 0;
    host.supertext()->setReadOnly(false);
    host.setFich(QStringLiteral("Texte: ") + QDir::toNativeSeparators(path));
    sv.textemodif = 0;
}

void ExoTexts::imprimetexte_Click()
{
    QPrinter printer;
    if (!comexo->choosePrinter(parentWidget(), &printer))
        return;
    exopane::print(host.supertext(), &printer);
}

void ExoTexts::Closexo_Click()
{
    SharedValues &sv = host.shared();
    if (!exomsg::guard(parentWidget(), sv))
        return;
    sv.textemodif = 0;
    host.setFich(QString());
    host.presentation();
    sv.exocorrige = 0;
}

void ExoTexts::openRequested(const QString &name)
{
    SharedValues &sv = host.shared();
    const QString path = exofile::resolveName(exofile::withSeparator(host.programDir()), name);
    // The catalogue names its texts from its own folder, wherever the launcher found it.
    sv.repexo = exofile::withSeparator(QFileInfo(path).absolutePath());
    // A missing catalogue would read as an empty one and name a blank statement: it is
    // reported as the file it is.
    if (!QFileInfo(path).isFile()) {
        exomsg::lectureImpossible(parentWidget());
        return;
    }
    Fichexo window(host);
    window.fichierexo->setText(path);
    // The preview tells whether the exercise has a correction, which the open then records;
    // a file it could not read has been reported and opens nothing.
    if (window.apercu())
        window.ouvreur_Click();
}
