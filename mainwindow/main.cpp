// Starts Optalis: the command line first (its informative options need no display), then French
// translations of Qt's own texts, the main window, and the file named on the command line.
#include "mainwindow/commandline.h"
#include "mainwindow/feuillep.h"
#include "platform/arguments.h"
#include "platform/paths.h"
#include "platform/sharedvalues.h"
#include "platform/translators.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <cstdio>

namespace {

int print(std::FILE *stream, const QString &text, int code)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("optalis"));
    const commandline::Request request = commandline::parse(arguments::fromCommandLine(argc, argv));
    switch (request.action) {
    case commandline::Action::Help:
        return print(stdout, commandline::helpText(), 0);
    case commandline::Action::Version:
        return print(stdout, commandline::versionText(), 0);
    case commandline::Action::Error:
        return print(stderr, request.error + QLatin1Char('\n'), 2);
    case commandline::Action::Paths: {
        QCoreApplication core(argc, argv);
        return print(stdout, commandline::pathsText(QCoreApplication::applicationDirPath()), 0);
    }
    case commandline::Action::Run:
        break;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.optalis.Optalis"));
    // The installed icon theme has the program's icon; a copied program shows the default.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.optalis.Optalis")));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString shippedDir = paths::shippedDir(programDir);
    const auto french = translators::installFrench(shippedDir);

    SharedValues shared;
    FeuilleP window(shared, shippedDir, paths::exchangeDir(programDir));
    rememberProjection(window);
    window.show();
    if (!request.file.isEmpty())
        commandline::openFile(window, request.file);
    return app.exec();
}
