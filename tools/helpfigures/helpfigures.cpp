// Draws the pictures of the help with the program's own window: each configuration is loaded
// as a pupil would open it and the figure is saved as PNG, so the help shows what the program
// draws today. A picture may show the figure in projection mode, or the whole projected screen.
//   helpfigures <exercise folder> <output folder> <name.P17=picture.png[@projection|@ecran]>...
#include "config/chargeconfig.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepconfig.h"
#include "mainwindow/figureview.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        QTextStream(stderr) << "usage: helpfigures <exercise folder> <output folder> "
                               "<name.P17=picture.png[@projection|@ecran]>...\n";
        return 2;
    }
    // A configuration that needs a message to load is not fit for the help.
    QString message;
    msgbox::setInterceptor([&message](const msgbox::Request &r) {
        message = r.title + QStringLiteral(" : ") + r.text;
        return msgbox::Answer::Ok;
    });
    QTemporaryDir programDir; // keeps the exchange file out of the build tree
    SharedValues shared;
    FeuilleP window(shared, programDir.path());
    window.show();
    FeuillePConfig host(window);
    const QDir from(args[1]);
    const QDir to(args[2]);
    to.mkpath(QStringLiteral("."));
    for (int i = 3; i < args.size(); ++i) {
        const QStringList pair = args[i].split(QLatin1Char('='));
        if (pair.size() != 2)
            return 2;
        const QStringList picture = pair[1].split(QLatin1Char('@'));
        shared.fichconfig = from.filePath(pair[0]);
        message.clear();
        if (!chargeconfig(host) || !message.isEmpty()) {
            QTextStream(stderr) << pair[0] << " : " << message << '\n';
            return 1;
        }
        const QString mode = picture.value(1);
        window.setProjection(mode == QLatin1String("projection"));
        window.setFullScreen(mode == QLatin1String("ecran"));
        QWidget *shown = window.Picture2;
        if (window.fullScreen()) {
            // The screen of a classroom projector, 16:10, whatever screen draws the pictures.
            shown = window.Picture2->window();
            shown->resize(1024, 640);
        }
        const bool saved = shown->grab().save(to.filePath(picture[0]));
        window.setProjection(false);
        if (!saved) {
            QTextStream(stderr) << "cannot write " << to.filePath(picture[0]) << '\n';
            return 1;
        }
    }
    return 0;
}
