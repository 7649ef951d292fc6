// Regenerates the shipped classroom files from their description:
//   makecontent <source folder> <data folder>
#include "contentgen.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: makecontent <source folder> <data folder>\n";
        return 2;
    }
    QString error;
    if (!contentgen::write(args[1], args[2], &error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    return 0;
}
