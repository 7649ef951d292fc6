// French for Qt's own texts: Qt's catalogue, then the program's catalogue of the texts of Qt's
// print dialogs that Qt's catalogue leaves in English.
#pragma once

#include <QString>
#include <QTranslator>
#include <memory>
#include <vector>

namespace translators {

// The program's catalogue of Qt's print dialog texts, in the folder `paths::translationsDir`.
QString printCatalogue(const QString &shippedDir);

// Installs Qt's French catalogue, then the program's, so the program's entries win; a catalogue
// that cannot be read is left out. They stay installed as long as the returned translators live.
std::vector<std::unique_ptr<QTranslator>> installFrench(const QString &shippedDir);

} // namespace translators
