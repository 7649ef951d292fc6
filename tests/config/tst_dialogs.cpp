// The save and open dialogs as a user drives them: names typed, files listed and clicked,
// questions answered, messages shown.
#include "config/configfile.h"
#include "config/dirlist.h"
#include "config/drivelist.h"
#include "config/enregistrer.h"
#include "config/filelist.h"
#include "config/ouvrir.h"
#include "config/recordfile.h"
#include "fakehost.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "tests/messagelog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kEmptyName = QStringLiteral("Il faut donner un nom au fichier!");
const QString kSaveTitle = QStringLiteral("Enregistrement impossible");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool putBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray validFile()
{
    FakeHost host;
    host.combo = 1;
    QByteArray bytes;
    buildConfigFile(readControls(host), &bytes);
    return bytes;
}

// Types as a keyboard does, letters outside ASCII included, which QTest's key clicks refuse.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Where a listed file shows, or a point outside the list when it is not listed.
QPoint placeOf(QListWidget *list, const QString &name)
{
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? QPoint(-1, -1) : list->visualItemRect(found.first()).center();
}

void click(QListWidget *list, const QString &name)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, placeOf(list, name));
}

void doubleClick(QListWidget *list, const QString &name)
{
    click(list, name);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, placeOf(list, name));
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void placedAndNamed();
    void proposedName_data();
    void proposedName();
    void nameGivesFile_data();
    void nameGivesFile();
    void refusedSaveKeepsDialogOpen_data();
    void refusedSaveKeepsDialogOpen();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void fileListShowsConfigurationsInAnyCase();
    void enterInFolderListMovesTheSave();
    void fileClickGivesFullPath();
    void openRefusedKeepsDialogOpen_data();
    void openRefusedKeepsDialogOpen();
    void openClosesWhateverTheOutcome_data();
    void openClosesWhateverTheOutcome();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QString native(const QString &name) const { return QDir::toNativeSeparators(path(name)); }
    QStringList entries() const
    {
        return QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    void expectMessage(const QString &text, const QString &title, msgbox::Icon icon);
    std::unique_ptr<Enregistrer> saveDialog();
    std::unique_ptr<Ouvrir> openDialog();

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeHost> host;
    QString startDir;
    QList<msgbox::Request> asked;
    QList<msgbox::Answer> answers;
};

void TestDialogs::init()
{
    dir = std::make_unique<QTemporaryDir>();
    host = std::make_unique<FakeHost>();
    host->window.setGeometry(100, 80, 600, 400);
    startDir = QDir::currentPath();
    QDir::setCurrent(dir->path());
    recordMessages(asked, &answers);
}

void TestDialogs::cleanup()
{
    msgbox::setInterceptor(nullptr);
    QDir::setCurrent(startDir);
    host.reset();
}

void TestDialogs::expectMessage(const QString &text, const QString &title, msgbox::Icon icon)
{
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, text);
    QCOMPARE(asked[0].title, title);
    QCOMPARE(asked[0].icon, icon);
}

std::unique_ptr<Enregistrer> TestDialogs::saveDialog()
{
    auto d = std::make_unique<Enregistrer>(*host);
    d->show();
    return d;
}

std::unique_ptr<Ouvrir> TestDialogs::openDialog()
{
    auto d = std::make_unique<Ouvrir>(*host);
    d->show();
    return d;
}

void TestDialogs::placedAndNamed()
{
    host->window.show();
    const QPoint corner = host->window.frameGeometry().topLeft() + QPoint(20, 20);
    const auto save = saveDialog();
    const auto open = openDialog();
    QCOMPARE(save->size(), QSize(371, 441));
    QCOMPARE(open->size(), QSize(369, 423));
    QCOMPARE(save->windowTitle(), QStringLiteral("Enregistrer les paramètres."));
    QCOMPARE(open->windowTitle(), QStringLiteral("Ouvrir une configuration"));
    for (QDialog *d : {static_cast<QDialog *>(save.get()), static_cast<QDialog *>(open.get())}) {
        QCOMPARE(d->frameGeometry().topLeft(), corner);
        for (QWidget *w : d->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
    }
    QVERIFY(!open->Frame1->isVisible());
}

void TestDialogs::proposedName_data()
{
    QTest::addColumn<QString>("program"); // under a fresh root holding an installed tree
    QTest::addColumn<QString>("fichconfig"); // "@" stands for that root
    QTest::addColumn<QString>("proposed");

    QTest::newRow("installed exercise: bare name")
        << "usr/bin"
        << "@/usr/share/optalis/exercices/ex01-enonce.P17"
        << "ex01-enonce.P17";
    QTest::newRow("pupil's own file: kept whole") << "usr/bin"
                                                  << "@/home/eleve/essai.P17"
                                                  << "@/home/eleve/essai.P17";
    QTest::newRow("build tree exercise: kept whole") << "build"
                                                     << "@/build/exercices/ex01-enonce.P17"
                                                     << "@/build/exercices/ex01-enonce.P17";
    QTest::newRow("first save: empty") << "usr/bin"
                                       << ""
                                       << "";
    QTest::newRow("bare name") << "usr/bin"
                               << "essai.P17"
                               << "essai.P17";
}

void TestDialogs::proposedName()
{
    QFETCH(QString, program);
    QFETCH(QString, fichconfig);
    QFETCH(QString, proposed);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const char *made :
         {"usr/bin", "usr/share/optalis/exercices", "home/eleve", "build/exercices"})
        QVERIFY(QDir(root.path()).mkpath(QString::fromLatin1(made)));
    fichconfig.replace(QLatin1Char('@'), root.path());
    proposed.replace(QLatin1Char('@'), root.path());
    const QString folder = QFileInfo(fichconfig).path();
    if (program == QLatin1String("build") && !fichconfig.isEmpty()
        && QDir::cleanPath(paths::saveDir(root.filePath(program), folder)) != folder)
        QSKIP("this system keeps saves out of every program's folder, build trees included");
    QCOMPARE(Enregistrer::proposedName(root.filePath(program), fichconfig), proposed);
}

void TestDialogs::nameGivesFile_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("file");
    QTest::newRow("bare name") << "essai"
                               << "essai.P17";
    QTest::newRow("with its extension") << "essai.P17"
                                        << "essai.P17";
    QTest::newRow("another extension") << "essai.txt"
                                       << "essai.P17";
    QTest::newRow("surrounded by spaces") << "  essai  "
                                          << "essai.P17";
    QTest::newRow("spaces before the point") << "essai .txt"
                                             << "essai.P17";
    QTest::newRow("relative path") << "sous/essai"
                                   << "sous/essai.P17";
    QTest::newRow("point in a folder's name") << "<dir>/sous.v2/essai.txt"
                                              << "sous.v2/essai.P17";
    // Typed as the system writes paths (a drive letter and backslashes on Windows); "Ł" is
    // outside Windows' Western code page.
    QTest::newRow("accented folder and name, full path")
        << "<native>/réglages été Łódź/mon réglage"
        << "réglages été Łódź/mon réglage.P17";
}

void TestDialogs::nameGivesFile()
{
    QFETCH(QString, typed);
    QFETCH(QString, file);
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("sous")));
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("sous.v2")));
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("réglages été Łódź")));
    typed.replace(QLatin1String("<dir>"), dir->path());
    if (typed.startsWith(QLatin1String("<native>")))
        typed = QDir::toNativeSeparators(typed.replace(QLatin1String("<native>"), dir->path()));
    const auto d = saveDialog();
    typeText(d->Text1, typed);
    QTest::mouseClick(d->Command1, Qt::LeftButton);
    QCOMPARE(asked.size(), 0);
    QCOMPARE(fileBytes(path(file)).size(), 4608);
    QCOMPARE(d->Text1->text(), native(file));
    QCOMPARE(host->sv.fichconfig, native(file));
    QCOMPARE(host->window.windowTitle(), QStringLiteral("Optalis - ") + native(file));
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Accepted));
}

void TestDialogs::refusedSaveKeepsDialogOpen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("extension only") << ".P17" << kEmptyName;
    QTest::newRow("a point") << "." << kEmptyName;
    QTest::newRow("blanks") << "   " << kEmptyName;
    QTest::newRow("nothing") << "" << kEmptyName;
    QTest::newRow("folder missing") << "absent/essai"
                                    << "Ecriture impossible sur disque";
}

void TestDialogs::refusedSaveKeepsDialogOpen()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const auto d = saveDialog();
    d->Text1->setText(typed);
    // Enter in the name field saves as the button does.
    QTest::keyClick(d->Text1, Qt::Key_Return);
    expectMessage(message, kSaveTitle, msgbox::Icon::Critical);
    QCOMPARE(entries(), QStringList());
    QVERIFY(d->isVisible());
    QCOMPARE(host->window.windowTitle(), QStringLiteral("Optalis"));
    // A name that could be formed is kept for the next save, even though nothing was written.
    QCOMPARE(host->sv.fichconfig, message == kEmptyName ? QString() : native("absent/essai.P17"));
}

void TestDialogs::overwriteQuestion_data()
{
    QTest::addColumn<msgbox::Answer>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("No leaves the file") << msgbox::Answer::No << false;
    QTest::newRow("Yes after a double click on the file replaces it")
        << msgbox::Answer::Yes << true;
}

void TestDialogs::overwriteQuestion()
{
    QFETCH(msgbox::Answer, answer);
    QFETCH(bool, replaced);
    const QByteArray previous("previous content");
    QVERIFY(putBytes(path("essai.P17"), previous));
    const auto d = saveDialog();
    answers << answer;
    if (replaced) {
        doubleClick(d->File1, QStringLiteral("essai.P17"));
    } else {
        d->Text1->setText(QStringLiteral("essai"));
        QTest::mouseClick(d->Command1, Qt::LeftButton);
    }
    expectMessage(QStringLiteral("Ecraser le fichier existant?"),
                  QStringLiteral("Ce fichier existe déjà!"), msgbox::Icon::Warning);
    QCOMPARE(asked[0].buttons, msgbox::Buttons::YesNo);
    QCOMPARE(d->Text1->text(), native("essai.P17"));
    QCOMPARE(fileBytes(path("essai.P17")).size() == 4608, replaced);
    if (!replaced)
        QCOMPARE(fileBytes(path("essai.P17")), previous);
    QCOMPARE(d->isVisible(), !replaced);
    QCOMPARE(host->window.windowTitle(),
             replaced ? QStringLiteral("Optalis - ") + native("essai.P17")
                      : QStringLiteral("Optalis"));
}

void TestDialogs::fileListShowsConfigurationsInAnyCase()
{
    for (const char *name : {"b.p17", "a.P17", "c.P17.bak", "d.txt", "e.P1"})
        QVERIFY(putBytes(path(QLatin1String(name)), "x"));
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("dossier.P17")));
    const QStringList expected {QStringLiteral("a.P17"), QStringLiteral("b.p17")};
    const auto save = saveDialog();
    const auto open = openDialog();
    for (FileList *list : {save->File1, open->File1}) {
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        QCOMPARE(shown, expected);
    }
}

void TestDialogs::enterInFolderListMovesTheSave()
{
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("sous")));
    QVERIFY(putBytes(path("sous/x.P17"), "x"));
    host->sv.fichconfig = native("essai.P17");
    const auto d = saveDialog();
    QCOMPARE(d->Text1->text(), native("essai.P17"));
    const QList<QTreeWidgetItem *> found
        = d->Dir1->findItems(QStringLiteral("sous"), Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    d->Dir1->setCurrentItem(found.first());
    QCOMPARE(d->Dir1->path(), dir->path()); // highlighting is not opening
    QTest::keyClick(d->Dir1, Qt::Key_Return);
    QCOMPARE(d->File1->path(), path("sous"));
    QCOMPARE(d->File1->count(), 1);
    // Enter opened the folder, saved nothing, and the name lost its old folder.
    QVERIFY(d->isVisible());
    QCOMPARE(d->Text1->text(), QStringLiteral("essai.P17"));
    QTest::mouseClick(d->Command1, Qt::LeftButton);
    QCOMPARE(fileBytes(path("sous/essai.P17")).size(), 4608);
    QCOMPARE(QDir::currentPath(), path("sous"));
}

void TestDialogs::fileClickGivesFullPath()
{
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("sous")));
    QVERIFY(putBytes(path("sous/essai.P17"), validFile()));
    QDir::setCurrent(QDir::rootPath());
    const auto d = openDialog();
    QVERIFY(d->Dir1->setPath(path("sous")));
    click(d->File1, QStringLiteral("essai.P17"));
    QCOMPARE(d->ficharge->text(), native("sous/essai.P17"));
    QCOMPARE(QDir::currentPath(), path("sous"));
    QVERIFY(d->isVisible());
    QCOMPARE(host->log, QStringList());
}

void TestDialogs::openRefusedKeepsDialogOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("told");
    QTest::newRow("empty path does nothing") << "" << false;
    QTest::newRow("spaces do nothing") << "    " << false;
    QTest::newRow("file deleted since the list was filled") << "essai.P17" << true;
    QTest::newRow("a folder") << "dossier" << true;
}

void TestDialogs::openRefusedKeepsDialogOpen()
{
    QFETCH(QString, name);
    QFETCH(bool, told);
    QVERIFY(putBytes(path("essai.P17"), validFile()));
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("dossier")));
    host->sv.fichconfig = QStringLiteral("avant.P17");
    const auto d = openDialog();
    const QString typed = told ? native(name) : name;
    if (name.endsWith(QLatin1String(".P17"))) {
        click(d->File1, name);
        QCOMPARE(d->ficharge->text(), typed);
        QVERIFY(QFile::remove(path(name)));
    } else {
        d->ficharge->setText(typed);
    }
    QTest::mouseClick(d->Command1, Qt::LeftButton);
    if (told)
        expectMessage(QStringLiteral("Nom de fichier incorrect ou chemin non valide"),
                      QStringLiteral("impossible d'ouvrir ce fichier"), msgbox::Icon::Critical);
    else
        QCOMPARE(asked.size(), 0);
    // A file that was not loaded does not become the one to save to.
    QCOMPARE(host->sv.fichconfig, QStringLiteral("avant.P17"));
    QVERIFY(d->isVisible());
    QVERIFY(!d->Frame1->isVisible());
    QCOMPARE(host->log, QStringList());
}

void TestDialogs::openClosesWhateverTheOutcome_data()
{
    QTest::addColumn<QString>("signature");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("configuration loaded behind the wait panel") << "OPTALIS" << true;
    QTest::newRow("other file refused") << "optalis" << false;
}

void TestDialogs::openClosesWhateverTheOutcome()
{
    QFETCH(QString, signature);
    QFETCH(bool, loaded);
    const QString name = QStringLiteral("réglages été Łódź/départ.P17");
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("réglages été Łódź")));
    QVERIFY(putBytes(path(name), validFile().replace(0, 128, encodeRecord(signature))));
    host->infinity = true;
    const auto d = openDialog();
    typeText(d->ficharge, native(name));
    // The dialog closes before the redraw; until then the panel covers it.
    bool panelShown = true;
    host->onChange
        = [&] { panelShown = panelShown && (d->Frame1->isVisible() || !d->isVisible()); };
    QTest::keyClick(d->ficharge, Qt::Key_Return);
    host->onChange = nullptr;
    QVERIFY(!d->isVisible());
    QVERIFY(panelShown);
    QCOMPARE(host->infinity, !loaded); // a refused file leaves Check2 ticked
    QCOMPARE(host->combo, loaded ? 1 : 0);
    QCOMPARE(host->log.isEmpty(), !loaded);
    if (loaded)
        QCOMPARE(host->window.windowTitle(), QStringLiteral("Optalis - ") + native(name));
    else
        expectMessage(QStringLiteral("Ce fichier ne correspond pas à cette application"),
                      QStringLiteral("Fichier non valide"), msgbox::Icon::Critical);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
