// The command line: what it asks for, and a file named on it opened as the matching command
// opens it, a file that cannot be read reported with the loader's own message.
#include "config/enregistrer.h"
#include "config/ouvrir.h"
#include "mainwindow/commandline.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepconfig.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"
#include "tests/exercises/exofixtures.h"
#include "tests/mainwindow/scenewindow.h"
#include "tests/messagelog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using commandline::Action;

using scenewindow::sceneOf;
using scenewindow::Window;

Q_DECLARE_METATYPE(commandline::Action)

class TestCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void parse_data();
    void parse();
    void configOpensAsOuvrir();
    void exerciseOpensWithItsTexts();
    void unreadableFileChangesNothing_data();
    void unreadableFileChangesNothing();

private:
    QString path(const QString &name) const
    {
        return QDir::toNativeSeparators(dir->filePath(name));
    }

    std::unique_ptr<QTemporaryDir> dir;
    QString startDir;
    QList<msgbox::Request> asked;
};

void TestCommandLine::init()
{
    dir = std::make_unique<QTemporaryDir>();
    startDir = QDir::currentPath();
    // The save dialog writes into the current folder.
    QDir::setCurrent(dir->path());
    recordMessages(asked);
}

void TestCommandLine::cleanup()
{
    msgbox::setInterceptor(nullptr);
    QDir::setCurrent(startDir);
}

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error"); // a part of the message

    QTest::newRow("nothing: plain start") << QStringList {} << Action::Run << ""
                                          << "";
    QTest::newRow("a configuration") << QStringList {"a b.P17"} << Action::Run << "a b.P17"
                                     << "";
    QTest::newRow("an exercise") << QStringList {"exo3.E38"} << Action::Run << "exo3.E38"
                                 << "";
    QTest::newRow("--help") << QStringList {"--help"} << Action::Help << ""
                            << "";
    QTest::newRow("-h after a file") << QStringList {"a.P17", "-h"} << Action::Help << ""
                                     << "";
    QTest::newRow("--version") << QStringList {"--version"} << Action::Version << ""
                               << "";
    QTest::newRow("--chemins") << QStringList {"--chemins"} << Action::Paths << ""
                               << "";
    QTest::newRow("unknown option") << QStringList {"--vite"} << Action::Error << ""
                                    << "option inconnue « --vite »";
    QTest::newRow("two files") << QStringList {"a.P17", "b.P17"} << Action::Error << ""
                               << "un seul fichier";
    QTest::newRow("a file named like an option after --")
        << QStringList {"--", "-x.P17"} << Action::Run << "-x.P17"
        << "";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, args);
    QFETCH(Action, action);
    QFETCH(QString, file);
    QFETCH(QString, error);
    const commandline::Request r = commandline::parse(args);
    QCOMPARE(r.action, action);
    QCOMPARE(r.file, file);
    QVERIFY2(r.error.contains(error), qPrintable(r.error));
    QCOMPARE(r.error.isEmpty(), error.isEmpty());
}

void TestCommandLine::configOpensAsOuvrir()
{
    Window saved(dir->path());
    saved.w.Command3_Click(1);
    saved.w.Commandp_Click(1);
    saved.w.Check1[6]->setCheckState(Qt::Checked);
    saved.w.Check1[2]->setCheckState(Qt::Unchecked);
    saved.w.HScroll3->setValue(40);
    saved.w.Text1[4]->setText(QStringLiteral("35"));
    saved.w.Text1_LostFocus(4);
    Enregistrer save(saved.host);
    save.show();
    save.Text1->setText(QStringLiteral("scène"));
    QTest::mouseClick(save.Command1, Qt::LeftButton);

    Window byDialog(dir->path());
    Ouvrir open(byDialog.host);
    open.show();
    open.ficharge->setText(path(QStringLiteral("scène.P17")));
    QTest::mouseClick(open.Command1, Qt::LeftButton);

    // Named relative to the current folder, as a shell may give it.
    Window byCommandLine(dir->path());
    QVERIFY(commandline::openFile(byCommandLine.w, QStringLiteral("scène.P17")));
    QCOMPARE(asked.size(), 0);
    QCOMPARE(sceneOf(byCommandLine), sceneOf(byDialog));
    QCOMPARE(byCommandLine.sv.fichconfig, byDialog.sv.fichconfig);
    QVERIFY(sceneOf(byCommandLine) != sceneOf(*std::make_unique<Window>(dir->path())));
}

void TestCommandLine::exerciseOpensWithItsTexts()
{
    // An exercise in a folder of its own, not the program's.
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("classe")));
    const QString folder = path(QStringLiteral("classe"));
    QVERIFY(fixtures::copyData(QStringLiteral("enonce1.rtf"), folder + "/enonce1.rtf"));
    QVERIFY(fixtures::writeConfig(folder + "/c1.P17", QStringLiteral("20,0")));
    QVERIFY(fixtures::writeExo(
        folder + "/a.E38",
        fixtures::exercise(QStringLiteral("enonce1.rtf"), QStringLiteral("c1.P17"))));
    Window win(dir->path());
    QVERIFY(commandline::openFile(win.w, folder + "/a.E38"));
    QCOMPARE(asked.size(), 0);
    QCOMPARE(win.w.fich->text(), QDir::toNativeSeparators(folder + "/a.E38"));
    QCOMPARE(win.w.supertext->toPlainText().trimmed(), QStringLiteral("Enonce un"));
    QCOMPARE(win.w.Text1[4]->text(), QStringLiteral("20,0"));
    QCOMPARE(win.sv.fichconfig, QDir::toNativeSeparators(folder + "/c1.P17"));
}

void TestCommandLine::unreadableFileChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // none: the file does not exist
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    const QByteArray foreign = QByteArray("\x07\x00optalis", 9) + QByteArray(4599, ' ');
    QTest::newRow("configuration of another program")
        << "autre.P17" << foreign << "Ce fichier ne correspond pas à cette application"
        << "Fichier non valide";
    QTest::newRow("configuration missing")
        << "absente.P17" << QByteArray() << "Lecture impossible sur disque"
        << "Erreur lors du chargement du fichier";
    QTest::newRow("configuration cut short")
        << "court.p17" << QByteArray("\x07\x00OPTALIS", 9) << "Lecture impossible sur disque"
        << "Erreur lors du chargement du fichier";
    QTest::newRow("exercise missing")
        << "absent.E38" << QByteArray() << "Vérifier:\n- le nom du fichier,\n- l'état du lecteur."
        << "Lecture impossible";
    QTest::newRow("any other file is taken for a configuration")
        << "notes.txt" << QByteArray("bonjour") << "Lecture impossible sur disque"
        << "Erreur lors du chargement du fichier";
}

void TestCommandLine::unreadableFileChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QString, title);
    if (!content.isEmpty())
        QVERIFY(fixtures::putBytes(path(name), content));
    Window win(dir->path());
    win.sv.fichconfig = QStringLiteral("avant.P17");
    const QStringList before = sceneOf(win);
    const QString text = win.w.supertext->toHtml();

    QVERIFY(!commandline::openFile(win.w, path(name)));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().text, message);
    QCOMPARE(asked.first().title, title);
    QCOMPARE(sceneOf(win), before);
    QCOMPARE(win.sv.fichconfig, QStringLiteral("avant.P17"));
    QCOMPARE(win.w.supertext->toHtml(), text);
    QVERIFY(win.w.fich->text().isEmpty());
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
