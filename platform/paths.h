// Where the program reads the files it ships with and where it writes the exchange file. The
// one place that decides it: everything else asks here.
#pragma once

#include <QString>

namespace paths {

// Folder of the help, the exercises and "optalis.PEM". An installed program (a
// `share/optalis` folder next to its `bin`) reads them there; a program run from the build tree
// or from a copied folder reads them beside itself.
QString shippedDir(const QString &programDir);

// Folder the exercise window opens on: the shipped exercises ("exercices" in the shipped
// folder) when they are there, else the shipped folder itself.
QString exercisesDir(const QString &shippedDir);

// Folder of the program's own translation catalogues: "translations" in the shipped folder.
QString translationsDir(const QString &shippedDir);

// True when `programDir` is the `bin` of an installed tree.
bool isInstalled(const QString &programDir);

// Folder of the exchange file "TEMPQX.TMP": the program's own folder for a copied or portable
// program that may write there, else the user's data folder (created on demand). An installed
// program never writes beside itself, even when run by root.
QString exchangeDir(const QString &programDir);

// The user's data folder, as `exchangeDir` uses it.
QString userDataDir();

// Folder a save dialog opens on: `current` (the folder last browsed), unless it lies among the
// shipped files of an installed program or cannot be written, where a pupil could not save:
// then the user's documents folder, or the home folder when there is none.
QString saveDir(const QString &programDir, const QString &current);

} // namespace paths
