#include "mainwindow/commandline.h"

#include "config/chargeconfig.h"
#include "exercises/exofile.h"
#include "exercises/exomessages.h"
#include "exercises/fichexo.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepconfig.h"
#include "mainwindow/feuillepexo.h"
#include "platform/paths.h"
#include "platform/sharedvalues.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#ifndef OPTALIS_VERSION
#define OPTALIS_VERSION "0"
#endif

namespace commandline {

Request parse(const QStringList &args)
{
    Request r;
    bool optionsEnded = false;
    for (const QString &arg : args) {
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded
                   && (arg == QLatin1String("--help") || arg == QLatin1String("-h")
                       || arg == QLatin1String("--aide"))) {
            return {Action::Help, {}, {}};
        } else if (!optionsEnded
                   && (arg == QLatin1String("--version") || arg == QLatin1String("-v"))) {
            return {Action::Version, {}, {}};
        } else if (!optionsEnded && arg == QLatin1String("--chemins")) {
            return {Action::Paths, {}, {}};
        } else if (!optionsEnded && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return {Action::Error,
                    {},
                    QStringLiteral("optalis : option inconnue « %1 ».\n"
                                   "« optalis --help » donne les options.")
                        .arg(arg)};
        } else if (!r.file.isEmpty()) {
            return {Action::Error,
                    {},
                    QStringLiteral("optalis : un seul fichier à la fois.\n"
                                   "« optalis --help » donne les options.")};
        } else {
            r.file = arg;
        }
    }
    return r;
}

QString helpText()
{
    return QStringLiteral(
        "Utilisation : optalis [OPTION] [FICHIER]\n"
        "Simulateur d'optique : miroir sphérique concave et télescope de Newton.\n"
        "\n"
        "FICHIER peut être :\n"
        "  une configuration (.P17)  chargée comme par « Ouvrir » ;\n"
        "  un exercice (.E38)        ouvert avec son énoncé et sa configuration.\n"
        "\n"
        "Options :\n"
        "  -h, --help     affiche cette aide et quitte ;\n"
        "  -v, --version  affiche la version et quitte ;\n"
        "  --chemins      indique où Optalis lit ses fichiers (aide, exercices)\n"
        "                 et où il écrit le fichier d'échange TEMPQX.TMP, puis quitte.\n");
}

QString versionText()
{
    return QStringLiteral("Optalis version %1\n").arg(QStringLiteral(OPTALIS_VERSION));
}

QString pathsText(const QString &programDir)
{
    const QString shipped = paths::shippedDir(programDir);
    return QStringLiteral("Fichiers fournis (aide, exercices) : %1\n"
                          "Fichier d'échange : %2\n")
        .arg(QDir::toNativeSeparators(shipped),
             QDir::toNativeSeparators(
                 QDir(paths::exchangeDir(programDir)).filePath(QStringLiteral("TEMPQX.TMP"))));
}

namespace {

    bool openExercise(FeuilleP &window, const QString &file)
    {
        // The exercise's texts and configuration are named relative to its own folder.
        const QFileInfo info(file);
        // The exercise reader takes a missing file for an empty one.
        if (!info.isFile()) {
            exomsg::lectureImpossible(&window);
            return false;
        }
        FeuillePExo host(window, info.absolutePath());
        host.shared().repexo = exofile::withSeparator(info.absolutePath());
        Fichexo chooser(host);
        chooser.fichierexo->setText(QDir::toNativeSeparators(info.absoluteFilePath()));
        if (!chooser.apercu())
            return false;
        chooser.ouvreur_Click();
        return host.fich() == chooser.fichierexo->text();
    }

    bool openConfig(FeuilleP &window, const QString &file)
    {
        SharedValues &sv = window.shared();
        // A file that is not loaded does not become the one the window saves to.
        const QString previous = sv.fichconfig;
        sv.fichconfig = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
        FeuillePConfig host(window);
        if (chargeconfig(host))
            return true;
        sv.fichconfig = previous;
        return false;
    }

} // namespace

bool openFile(FeuilleP &window, const QString &file)
{
    if (QFileInfo(file).suffix().compare(QLatin1String("E38"), Qt::CaseInsensitive) == 0)
        return openExercise(window, file);
    return openConfig(window, file);
}

} // namespace commandline
