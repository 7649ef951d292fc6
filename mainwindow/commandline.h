// The command line: `optalis [FICHIER.P17 | FICHIER.E38]`, `--help`, `--version`, `--chemins`.
// It is read before any window exists, so the informative options work without a display.
#pragma once

#include <QString>
#include <QStringList>

class FeuilleP;

namespace commandline {

enum class Action { Run, Help, Version, Paths, Error };

struct Request
{
    Action action = Action::Run;
    QString file; // the file to open at start-up, if any
    QString error; // French, for Action::Error
};

// `args` without the program's name.
Request parse(const QStringList &args);

QString helpText();
QString versionText();
// Where the shipped files are read and the exchange file written, for a technician or a
// launcher to find them.
QString pathsText(const QString &programDir);

// Opens `file` as the matching command does: an exercise (".E38") as the launcher's request
// does, anything else as "&Ouvrir" loads a configuration. A file that cannot be read has
// been reported and changes nothing. True when the file was opened.
bool openFile(FeuilleP &window, const QString &file);

} // namespace commandline
