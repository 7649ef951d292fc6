// Builds the shipped classroom files (exercise catalogues, their RTF texts, their configurations
// and the guided first exercise) from the readable description kept in data/contenu.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace contentgen {

// File name (relative to the data folder, "/" separated) -> bytes. False with a reason when
// the description is wrong; nothing is built then.
bool build(const QString &sourceDir, QMap<QString, QByteArray> *files, QString *error);

// Writes what build() made under `dataDir`, through the program's own writers.
bool write(const QString &sourceDir, const QString &dataDir, QString *error);

// The RTF of a text written in the small markup of the description: "# " title, "## "
// heading, "- " list item, *bold*, blank line between paragraphs, "₁" "₂" as subscripts.
bool markupToRtf(const QString &markup, QByteArray *rtf, QString *error);

} // namespace contentgen
