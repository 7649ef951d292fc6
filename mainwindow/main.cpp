// Starts Optalis: French translations of Qt's own texts, then the main window.
#include "mainwindow/feuillep.h"
#include "platform/sharedvalues.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtFrench);

    SharedValues shared;
    FeuilleP window(shared, QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
