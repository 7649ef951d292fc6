#include "platform/translators.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

namespace translators {

namespace {

    void install(std::vector<std::unique_ptr<QTranslator>> &installed, const QString &name,
                 const QString &dir)
    {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QLocale(QLocale::French), name, QStringLiteral("_"), dir))
            return;
        QCoreApplication::installTranslator(translator.get());
        installed.push_back(std::move(translator));
    }

} // namespace

QString printCatalogue(const QString &shippedDir)
{
    return QDir(paths::translationsDir(shippedDir)).filePath(QStringLiteral("qtprint_fr.qm"));
}

std::vector<std::unique_ptr<QTranslator>> installFrench(const QString &shippedDir)
{
    std::vector<std::unique_ptr<QTranslator>> installed;
    install(installed, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Installed last, so it is searched first.
    install(installed, QStringLiteral("qtprint"), paths::translationsDir(shippedDir));
    return installed;
}

} // namespace translators
