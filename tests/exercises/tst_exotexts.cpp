// The exercise menu on the real main window: what each entry does to the pane, its name field
// and the exercise flags, the messages of each failure, and the launcher's request.
#include "config/recordfile.h"
#include "exercises/comexo.h"
#include "exercises/exopane.h"
#include "exercises/exotexts.h"
#include "exercises/fichexo.h"
#include "exofixtures.h"
#include "mainwindow/feuillep.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"
#include "platform/testing/filesizelimit.h"
#include "richtext/richtext.h"
#include "tests/filecase.h"
#include "tests/messagelog.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

// What the file and printer dialogs answer, and what they were asked.
struct DialogScript
{
    QStringList paths; // next chosen paths; an empty text cancels
    bool printerChosen = true;
    QString pdf; // where the chosen printer prints
    QStringList asked;
};

class FakeComExo : public ComExo
{
public:
    explicit FakeComExo(DialogScript &script)
        : s(script)
    {
    }
    QString saveFileName(QWidget *, const QString &filter, const QString &suffix) override
    {
        s.asked << QStringLiteral("save %1 %2").arg(filter, suffix);
        return s.paths.isEmpty() ? QString() : s.paths.takeFirst();
    }
    QString openFileName(QWidget *, const QString &filter, const QString &initial) override
    {
        s.asked << QStringLiteral("open %1 %2").arg(filter, initial);
        return s.paths.isEmpty() ? QString() : s.paths.takeFirst();
    }
    bool choosePrinter(QWidget *, QPrinter *printer) override
    {
        s.asked << QStringLiteral("printer");
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(s.pdf);
        return s.printerChosen;
    }

private:
    DialogScript &s;
};

const QString kRtf = QStringLiteral("Texte au format RTF (*.RTF *.rtf)");

} // namespace

class TestExoTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void menuEntries();
    void stateTable_data();
    void stateTable();
    void failureMessages_data();
    void failureMessages();
    void guardCancelledKeepsTheText_data();
    void guardCancelledKeepsTheText();
    void guidedExerciseWithoutItsFile();
    void cancelledDialogs_data();
    void cancelledDialogs();
    void saving_data();
    void saving();
    void failedSaveKeepsFileAndFlag();
    void failedRetrieveChangesNothing();
    void printing_data();
    void printing();
    void exerciseWithConfigurationMovesTheFigure();
    void launcherRequest_data();
    void launcherRequest();
    void launcherOpensShippedExercise_data();
    void launcherOpensShippedExercise();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QString native(const QString &name) const { return QDir::toNativeSeparators(path(name)); }
    void run(const QString &step);
    void openExercise();
    QString paneText() const { return w->supertext->toPlainText().trimmed(); }
    void edit()
    {
        QTextCursor c(w->supertext->document());
        c.insertText(QStringLiteral("ma reponse "));
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedValues> sv;
    std::unique_ptr<FeuilleP> w;
    ExoTexts *exo = nullptr;
    DialogScript script;
    QList<msgbox::Request> asked;
    QList<msgbox::Answer> answers;
    QString startDir;
};

void TestExoTexts::init()
{
    dir = std::make_unique<QTemporaryDir>();
    startDir = QDir::currentPath();
    // The exercise of the program's folder, with a correction, both with a configuration.
    QVERIFY(fixtures::copyData(QStringLiteral("enonce1.rtf"), path(QStringLiteral("enonce1.rtf"))));
    QVERIFY(
        fixtures::copyData(QStringLiteral("corrige1.rtf"), path(QStringLiteral("corrige1.rtf"))));
    QVERIFY(fixtures::copyData(QStringLiteral("pem.rtf"), path(QStringLiteral("pem.rtf"))));
    QVERIFY(
        fixtures::copyData(QStringLiteral("retrouve.rtf"), path(QStringLiteral("retrouve.rtf"))));
    QVERIFY(fixtures::writeConfig(path(QStringLiteral("c1.P17")), QStringLiteral("20,0")));
    QVERIFY(fixtures::writeConfig(path(QStringLiteral("c2.P17")), QStringLiteral("30,0")));
    QVERIFY(fixtures::writeExo(
        path(QStringLiteral("a.E38")),
        fixtures::exercise(QStringLiteral("Enonce1.RTF"), QStringLiteral("c1.P17"),
                           QStringLiteral("corrige1.rtf"), QStringLiteral("c2.P17"))));
    QVERIFY(fixtures::writeExo(path(QStringLiteral("optalis.PEM")),
                               {QStringLiteral("pem.rtf"), QString()}));
    recordMessages(asked, &answers);
    sv = std::make_unique<SharedValues>();
    w = std::make_unique<FeuilleP>(*sv, dir->path());
    exo = w->exercises();
    script = DialogScript();
    script.pdf = path(QStringLiteral("sortie.pdf"));
    exo->setDialogs(std::make_unique<FakeComExo>(script));
}

void TestExoTexts::cleanup()
{
    w.reset();
    msgbox::setInterceptor(nullptr);
    QDir::setCurrent(startDir);
}

// Opens the program folder's exercise through the exercise window, as the pupil does.
void TestExoTexts::openExercise()
{
    QTimer::singleShot(0, this, [] {
        if (auto *window = qobject_cast<Fichexo *>(QApplication::activeModalWidget()))
            window->ouvreur_Click();
    });
    exo->openexo_Click();
}

void TestExoTexts::run(const QString &step)
{
    if (step == QLatin1String("open"))
        openExercise();
    else if (step == QLatin1String("correction"))
        exo->opencor_Click();
    else if (step == QLatin1String("guided"))
        exo->PRISENMAIN_Click();
    else if (step == QLatin1String("retrieve")) {
        script.paths << path(QStringLiteral("retrouve.rtf"));
        exo->opentexte_Click();
    } else if (step == QLatin1String("close"))
        exo->Closexo_Click();
    else if (step == QLatin1String("edit"))
        edit();
    else if (step == QLatin1String("save")) {
        script.paths << path(QStringLiteral("copie.rtf"));
        exo->savetexte_Click();
    }
}

void TestExoTexts::menuEntries()
{
    w->btexo_Click();
    QMenu *menu = exo->optionexo;
    QVERIFY(menu->isVisible());
    // Under the button, pushed left only as far as the screen's edge asks.
    const QPoint under = w->btexo->mapToGlobal(QPoint(0, w->btexo->height()));
    const int right = menu->screen()->availableGeometry().right() + 1;
    QCOMPARE(menu->pos(), QPoint(std::min(under.x(), right - menu->width()), under.y()));
    QStringList entries;
    for (QAction *a : menu->actions())
        entries << (a->isSeparator() ? QStringLiteral("--") : a->text());
    QCOMPARE(
        entries,
        QStringList({"Prise en main", "--", "Ouvrir un exercice (énoncé + configuration)",
                     "Voir la correction", "--", "Enregistrer le contenu de la fenêtre exercice",
                     "Retrouver un texte", "Imprimer le contenu de la fenêtre exercice", "--",
                     "Fermer l'exercice"}));
    menu->hide();
    // A click on the exercise button pops it up too, and so does the space bar on it.
    QTest::mouseClick(w->btexo, Qt::LeftButton);
    QVERIFY(menu->isVisible());
    menu->hide();
    QTest::keyClick(w->btexo, Qt::Key_Space);
    QVERIFY(menu->isVisible());
    menu->hide();
}

void TestExoTexts::stateTable_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("fich");
    QTest::addColumn<int>("exocorrige");
    QTest::addColumn<int>("textemodif");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("enabled"); // opencor, Closexo

    const QString exercise = QStringLiteral("a.E38");
    QTest::newRow("introduction") << QStringList() << "" << 0 << 0 << true << "Optalis"
                                  << "00";
    QTest::newRow("statement") << QStringList {"open"} << exercise << 1 << 0 << false << "Enonce un"
                               << "11";
    QTest::newRow("statement edited")
        << QStringList {"open", "edit"} << exercise << 1 << 1 << false << "ma reponse Enonce un"
        << "11";
    QTest::newRow("statement saved") << QStringList {"open", "edit", "save"} << exercise << 1 << 0
                                     << false << "ma reponse Enonce un"
                                     << "11";
    QTest::newRow("correction") << QStringList {"open", "correction"} << exercise << 1 << 0 << true
                                << "Corrige un"
                                << "11";
    QTest::newRow("correction twice") << QStringList {"open", "correction", "correction"}
                                      << exercise << 1 << 0 << true << "Corrige un"
                                      << "11";
    QTest::newRow("guided") << QStringList {"guided"} << "optalis.PEM" << 0 << 0 << false
                            << "Prise en main du simulateur"
                            << "01";
    QTest::newRow("retrieved") << QStringList {"open", "retrieve"} << "Texte: retrouve.rtf" << 0
                               << 0 << false << "Texte retrouve"
                               << "01";
    QTest::newRow("closed") << QStringList {"open", "correction", "close"} << "" << 0 << 0 << true
                            << "Optalis"
                            << "00";
    QTest::newRow("introduction edits untracked")
        << QStringList {"edit"} << "" << 0 << 0 << true << "ma reponse Optalis"
        << "00";
}

void TestExoTexts::stateTable()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, fich);
    QFETCH(QString, text);
    for (const QString &step : steps)
        run(step);
    QString expectedFich = fich;
    if (fich.startsWith(QLatin1String("Texte: ")))
        expectedFich = QStringLiteral("Texte: ") + native(fich.mid(7));
    else if (!fich.isEmpty())
        expectedFich = native(fich);
    QCOMPARE(w->fich->text(), expectedFich);
    QTEST(int(sv->exocorrige), "exocorrige");
    QTEST(int(sv->textemodif), "textemodif");
    QTEST(w->supertext->isReadOnly(), "readOnly");
    QVERIFY2(paneText().startsWith(text), qPrintable(paneText()));
    w->btexo_Click();
    const QString enabled = QStringLiteral("%1%2")
                                .arg(int(exo->opencor->isEnabled()))
                                .arg(int(exo->Closexo->isEnabled()));
    exo->optionexo->hide();
    QTEST(enabled, "enabled");
    for (QAction *a :
         {exo->PRISENMAIN, exo->openexo, exo->savetexte, exo->opentexte, exo->imprimetexte})
        QVERIFY(a->isEnabled());
    QVERIFY(asked.isEmpty());
}

void TestExoTexts::failureMessages_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");

    const QString check = QStringLiteral("Vérifier l'état du lecteur et le nom du fichier.");
    const int critical = int(msgbox::Icon::Critical);
    QTest::newRow("guard") << "guard"
                           << "Abandon des données?"
                           << "Attention: perte des modifications du texte."
                           << int(msgbox::Icon::Question);
    QTest::newRow("exercise file unreadable")
        << "unreadable"
        << "Lecture impossible"
        << "Vérifier:\n- le nom du fichier,\n- l'état du lecteur." << critical;
    QTest::newRow("correction text missing")
        << "correction missing"
        << "Fichier absent"
        << "Le fichier %1absent.rtf est introuvable" << critical;
    QTest::newRow("guided exercise text missing")
        << "guided missing"
        << "Erreur lors du chargement"
        << "Fichier introuvable. Revoir l'installation du logiciel." << critical;
    QTest::newRow("overwrite") << "overwrite"
                               << "Ecraser le fichier?"
                               << "Le fichier enonce1.rtf existe déjà.\nEcraser l'ancien?"
                               << int(msgbox::Icon::Question);
    QTest::newRow("write error") << "write"
                                 << "Erreur d'écriture." << check << critical;
    QTest::newRow("read error") << "read"
                                << "Erreur de lecture." << check << critical;
}

void TestExoTexts::failureMessages()
{
    QFETCH(QString, failure);
    QFETCH(QString, text);
    openExercise();
    const QString before = paneText();
    answers << msgbox::Answer::Cancel;
    if (failure == QLatin1String("guard")) {
        edit();
        exo->Closexo_Click();
    } else if (failure == QLatin1String("unreadable")) {
        QVERIFY(fixtures::putBytes(path(QStringLiteral("a.E38")), QByteArray(300, '\xff')));
        exo->opencor_Click();
    } else if (failure == QLatin1String("correction missing")) {
        QVERIFY(fixtures::writeExo(path(QStringLiteral("a.E38")),
                                   fixtures::exercise("enonce1.rtf", "", "absent.rtf")));
        exo->opencor_Click();
        text = text.arg(sv->repexo);
    } else if (failure == QLatin1String("guided missing")) {
        QVERIFY(QFile::remove(path(QStringLiteral("pem.rtf"))));
        exo->PRISENMAIN_Click();
    } else if (failure == QLatin1String("overwrite")) {
        script.paths << path(QStringLiteral("enonce1.rtf"));
        exo->savetexte_Click();
    } else if (failure == QLatin1String("write")) {
        script.paths << path(QStringLiteral("pas/de/dossier.rtf"));
        exo->savetexte_Click();
    } else if (failure == QLatin1String("read")) {
        script.paths << path(QStringLiteral("absent.rtf"));
        exo->opentexte_Click();
    }
    QCOMPARE(asked.size(), 1);
    QTEST(asked[0].title, "title");
    QCOMPARE(asked[0].text, text);
    QTEST(int(asked[0].icon), "icon");
    // A failure leaves the pane as it was, the statement of the exercise, and names it.
    if (failure != QLatin1String("guard"))
        QCOMPARE(paneText(), before);
    QCOMPARE(w->fich->text(), native(QStringLiteral("a.E38")));
    QVERIFY(w->cursor().shape() != Qt::WaitCursor);
}

void TestExoTexts::guardCancelledKeepsTheText_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("open an exercise") << "openexo";
    QTest::newRow("correction") << "opencor";
    QTest::newRow("retrieve") << "opentexte";
    QTest::newRow("close") << "Closexo";
    QTest::newRow("guided exercise") << "PRISENMAIN";
}

void TestExoTexts::guardCancelledKeepsTheText()
{
    QFETCH(QString, entry);
    openExercise();
    edit();
    const QString edited = paneText();
    answers << msgbox::Answer::Cancel;
    QAction *action = exo->optionexo->findChild<QAction *>(entry);
    QVERIFY(action);
    action->trigger();
    QCoreApplication::processEvents(); // the entries run once the menu has closed
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Abandon des données?"));
    QCOMPARE(paneText(), edited);
    QCOMPARE(sv->textemodif, int16_t(1));
    QCOMPARE(w->fich->text(), native(QStringLiteral("a.E38")));
    QVERIFY(script.asked.isEmpty());
}

void TestExoTexts::guidedExerciseWithoutItsFile()
{
    QVERIFY(QFile::remove(path(QStringLiteral("optalis.PEM"))));
    openExercise();
    exo->PRISENMAIN_Click();
    QVERIFY(asked.isEmpty());
    QCOMPARE(paneText(), QStringLiteral("Enonce un"));
    QCOMPARE(w->fich->text(), native(QStringLiteral("a.E38")));
}

void TestExoTexts::cancelledDialogs_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("textemodif");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("save") << "savetexte" << 1 << "save " + kRtf + " RTF";
    QTest::newRow("retrieve clears the flag first")
        << "opentexte" << 0 << "open " + kRtf + " *.rtf";
    QTest::newRow("print") << "imprimetexte" << 1 << "printer";
}

void TestExoTexts::cancelledDialogs()
{
    QFETCH(QString, entry);
    openExercise();
    edit();
    const QString edited = paneText();
    script.paths << QString();
    script.printerChosen = false;
    QAction *action = exo->optionexo->findChild<QAction *>(entry);
    action->trigger();
    QCoreApplication::processEvents();
    QTEST(QString(script.asked.value(0)), "dialog");
    QCOMPARE(paneText(), edited);
    QCOMPARE(w->fich->text(), native(QStringLiteral("a.E38")));
    QTEST(int(sv->textemodif), "textemodif");
    QVERIFY(!QFile::exists(script.pdf));
}

void TestExoTexts::saving_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<msgbox::Answer>("answer");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("written");
    QTest::newRow("new name asks nothing") << "neuf.rtf" << msgbox::Answer::Ok << false << true;
    QTest::newRow("existing name, OK") << "enonce1.rtf" << msgbox::Answer::Ok << true << true;
    QTest::newRow("existing name, Cancel")
        << "enonce1.rtf" << msgbox::Answer::Cancel << true << false;
}

void TestExoTexts::saving()
{
    QFETCH(QString, name);
    QFETCH(msgbox::Answer, answer);
    QFETCH(bool, asks);
    QFETCH(bool, written);
    openExercise();
    edit();
    const QByteArray before = fixtures::fileBytes(path(name));
    answers << answer;
    script.paths << path(name);
    exo->savetexte_Click();
    QCOMPARE(asked.size(), int(asks));
    if (asks)
        QCOMPARE(asked[0].title, QStringLiteral("Ecraser le fichier?"));
    const QByteArray after = fixtures::fileBytes(path(name));
    QCOMPARE(after != before, written);
    QCOMPARE(sv->textemodif, int16_t(written ? 0 : 1));
    if (written) {
        // What was saved reads back as the pane's text.
        QTextEdit back;
        QVERIFY(exopane::load(&back, path(name)));
        QCOMPARE(back.toPlainText().trimmed(), paneText());
    }
}

void TestExoTexts::failedSaveKeepsFileAndFlag()
{
    openExercise();
    edit();
    // A long text on a disk that takes 1000 bytes more at most: the write fails half way.
    w->supertext->textCursor().insertText(QString(20000, QLatin1Char('x')));
    QVERIFY(fixtures::putBytes(path(QStringLiteral("ancien.rtf")), "{\\rtf1\\ansi Ancien}"));
    const QByteArray before = fixtures::fileBytes(path(QStringLiteral("ancien.rtf")));
    script.paths << path(QStringLiteral("ancien.rtf"));
    if (!FileSizeLimit::supported)
        QSKIP("No file size limit on this system");
    {
        const FileSizeLimit limit(1000);
        exo->savetexte_Click();
    }
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked[1].title, QStringLiteral("Erreur d'écriture."));
    QCOMPARE(fixtures::fileBytes(path(QStringLiteral("ancien.rtf"))), before);
    QCOMPARE(sv->textemodif, int16_t(1));
    // The guard then still protects the text.
    answers << msgbox::Answer::Cancel;
    exo->Closexo_Click();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked[2].title, QStringLiteral("Abandon des données?"));
}

void TestExoTexts::failedRetrieveChangesNothing()
{
    openExercise();
    exo->opencor_Click();
    edit();
    const QString before = paneText();
    script.paths << path(QStringLiteral("absent.rtf"));
    exo->opentexte_Click();
    QCOMPARE(asked.size(), 2); // the guard, then the failure
    QCOMPARE(asked[1].title, QStringLiteral("Erreur de lecture."));
    QCOMPARE(paneText(), before);
    QCOMPARE(w->fich->text(), native(QStringLiteral("a.E38")));
    QCOMPARE(sv->exocorrige, int16_t(1));
    QCOMPARE(sv->textemodif, int16_t(1));
    QVERIFY(w->supertext->isReadOnly());
}

void TestExoTexts::printing_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("printed");
    QTest::newRow("no selection, whole text") << 3 << 3 << "Enonce un";
    QTest::newRow("selection only") << 0 << 6 << "Enonce";
}

void TestExoTexts::printing()
{
    QFETCH(int, from);
    QFETCH(int, to);
    openExercise();
    QTextCursor c = w->supertext->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    w->supertext->setTextCursor(c);
    QTEST(richtext::printedPart(w->supertext)->toPlainText().trimmed(), "printed");
    exo->imprimetexte_Click();
    QCOMPARE(script.asked, QStringList({"printer"}));
    QVERIFY(fixtures::fileBytes(script.pdf).startsWith("%PDF"));
    QVERIFY(asked.isEmpty());
}

void TestExoTexts::exerciseWithConfigurationMovesTheFigure()
{
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("48,0 cm"));
    openExercise();
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("20,0"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("46,7 cm"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Optalis - ") + native(QStringLiteral("c1.P17")));
    exo->opencor_Click();
    QCOMPARE(w->Text1[4]->text(), QStringLiteral("30,0"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("45,0 cm"));
}

void TestExoTexts::launcherRequest_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("correction");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("exocorrige");
    QTest::addColumn<QString>("folder"); // of the catalogue, its texts and configurations
    QTest::newRow("exercise with correction") << "a.E38"
                                              << "corrige1.rtf"
                                              << "Enonce un" << 1 << "";
    QTest::newRow("without correction") << "A.e38"
                                        << ""
                                        << "Enonce un" << 0 << "";
    QTest::newRow("subfolder, other case") << "EXOS\\a.E38"
                                           << "x.rtf"
                                           << "Enonce un" << 1 << "exos";
    QTest::newRow("subfolder, slash") << "exos/a.E38"
                                      << ""
                                      << "Enonce un" << 0 << "exos";
    QTest::newRow("blank request") << "   "
                                   << "x.rtf"
                                   << "Optalis" << 0 << "";
}

void TestExoTexts::launcherRequest()
{
    QFETCH(QString, request);
    QFETCH(QString, correction);
    QFETCH(QString, folder);
    QVERIFY(fixtures::writeExo(
        path(QStringLiteral("a.E38")),
        fixtures::exercise(QStringLiteral("enonce1.rtf"), QString(), correction)));
    // The subfolder's exercise names a statement and a configuration that only it holds.
    QDir(dir->path()).mkdir(QStringLiteral("exos"));
    QVERIFY(fixtures::copyData(QStringLiteral("enonce1.rtf"), path(QStringLiteral("exos/e.rtf"))));
    QVERIFY(fixtures::writeConfig(path(QStringLiteral("exos/c.P17")), QStringLiteral("25,0")));
    QVERIFY(fixtures::writeExo(
        path(QStringLiteral("exos/a.E38")),
        fixtures::exercise(QStringLiteral("e.rtf"), QStringLiteral("c.P17"), correction)));
    QVERIFY(writeRecordsAt(w->exchangeFile(), {{31, request}}));
    const QString xobjet = w->Text1[4]->text();
    w->Form_Activate();
    QString left;
    QVERIFY(readRecordAt(w->exchangeFile(), 31, &left));
    QVERIFY(left.isEmpty());
    QFETCH(QString, text);
    QVERIFY2(paneText().startsWith(text), qPrintable(paneText()));
    QTEST(int(sv->exocorrige), "exocorrige");
    QVERIFY(asked.isEmpty());
    if (!request.trimmed().isEmpty()) {
        const QString where = folder.isEmpty() ? dir->path() : path(folder);
        const QString wanted = QDir::toNativeSeparators(where + QLatin1Char('/'));
        QVERIFY2(sv->repexo.compare(wanted, fixtures::caseOf(where)) == 0, qPrintable(sv->repexo));
        QCOMPARE(w->Text1[4]->text(), folder.isEmpty() ? xobjet : QStringLiteral("25,0"));
        QVERIFY(!w->supertext->isReadOnly());
        // A second activation opens nothing.
        exo->Closexo_Click();
        w->Form_Activate();
        QVERIFY(paneText().startsWith(QLatin1String("Optalis")));
    }
}

void TestExoTexts::launcherOpensShippedExercise_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("separator");
    const QDir shipped(QStringLiteral(OPTALIS_DATA_DIR "/exercices"));
    for (const QString &name : shipped.entryList({QStringLiteral("*.E38")}, QDir::Files)) {
        QTest::newRow(qPrintable(name + " /")) << name << "/";
        QTest::newRow(qPrintable(name + " \\")) << name << "\\";
    }
}

// The launcher names a shipped exercise from the program's folder, as it lies beside it.
void TestExoTexts::launcherOpensShippedExercise()
{
    QFETCH(QString, name);
    QFETCH(QString, separator);
    const QDir shipped(QStringLiteral(OPTALIS_DATA_DIR "/exercices"));
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("exercices")));
    for (const QString &file : shipped.entryList(QDir::Files))
        QVERIFY(QFile::copy(shipped.filePath(file), path(QStringLiteral("exercices/") + file)));
    QVERIFY(
        writeRecordsAt(w->exchangeFile(), {{31, QStringLiteral("exercices") + separator + name}}));
    w->Form_Activate();
    QVERIFY2(asked.isEmpty(), qPrintable(asked.value(0).title + " / " + asked.value(0).text));
    QCOMPARE(w->fich->text(), native(QStringLiteral("exercices/") + name));
    QVERIFY(!paneText().isEmpty());
    QVERIFY2(!paneText().startsWith(QLatin1String("Optalis")), qPrintable(paneText()));
}

QTEST_MAIN(TestExoTexts)
#include "tst_exotexts.moc"
