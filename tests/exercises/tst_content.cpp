// The shipped classroom files: each exercise opens through the real window with its texts and
// configurations, every value its correction states is the one the program shows, the guided
// first exercise opens from the menu, and the committed files are those their description makes.
#include "config/dirlist.h"
#include "config/filelist.h"
#include "config/recordfile.h"
#include "exercises/exofile.h"
#include "exercises/exotexts.h"
#include "exercises/fichexo.h"
#include "exercises/hourglassrow.h"
#include "mainwindow/commandline.h"
#include "mainwindow/feuillep.h"
#include "platform/helpviewer.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"
#include "richtext/richtext.h"
#include "tests/filecase.h"
#include "tools/content/contentgen.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

const QString kData = QStringLiteral(OPTALIS_DATA_DIR);
const QString kExercises = kData + QStringLiteral("/exercices");

QStringList shippedExercises()
{
    return QDir(kExercises).entryList({QStringLiteral("*.E38")}, QDir::Files, QDir::Name);
}

// The text as the pane shows it; `raw` keeps the no-break spaces that plain text turns into
// spaces.
QString plainRtf(const QString &path, bool raw = false)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QTextDocument doc;
    richtext::readRtf(f.readAll(), &doc);
    return raw ? doc.toRawText() : doc.toPlainText();
}

// The first plain space where French typography wants one that does not break: before
// two-part punctuation, inside guillemets, between a number and "cm"; empty when none.
QString breakableFrenchSpace(const QString &text)
{
    static const QRegularExpression plain(
        QStringLiteral("[ \\t\\n][:;?!»]|«[ \\t\\n]|\\d[ \\t\\n]+cm\\b"));
    const QRegularExpressionMatch m = plain.match(text);
    return m.hasMatch() ? text.mid(std::max<qsizetype>(0, m.capturedStart() - 20), 40) : QString();
}

// Types as the pupil does: the field's text replaced, then Enter.
void typeIn(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

bool copyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files))
        if (!QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)))
            return false;
    return true;
}

} // namespace

class TestContent : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void committedFilesAreGenerated_data();
    void committedFilesAreGenerated();
    void textsRead_data();
    void textsRead();
    void exerciseList();
    void exerciseOpens_data();
    void exerciseOpens();
    void openedByName_data();
    void openedByName();
    void claims_data();
    void claims();
    void guidedExerciseFromTheMenu();
    void helpTopics_data();
    void helpTopics();
    void helpSpacing();
    void helpPictures_data();
    void helpPictures();
    void helpShowsItsPictures();
    void helpSearch();

private:
    struct Preview
    {
        QString title;
        int lit = 0;
        int hourglasses = 0;
        QString corrected;
        QString notions;
    };
    Preview openExercise(const QString &name);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedValues> sv;
    std::unique_ptr<FeuilleP> w;
    QStringList asked;
    QString startDir;
};

void TestContent::init()
{
    startDir = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    // The program's folder as the build lays it out.
    QVERIFY(copyFolder(kExercises, dir->filePath(QStringLiteral("exercices"))));
    QVERIFY(QFile::copy(kData + QStringLiteral("/optalis.PEM"),
                        dir->filePath(QStringLiteral("optalis.PEM"))));
    asked.clear();
    msgbox::setInterceptor([this](const msgbox::Request &r) {
        asked << r.title + QStringLiteral(": ") + r.text;
        return msgbox::Answer::Ok;
    });
    sv = std::make_unique<SharedValues>();
    w = std::make_unique<FeuilleP>(*sv, dir->path());
}

void TestContent::cleanup()
{
    w.reset();
    msgbox::setInterceptor(nullptr);
    QDir::setCurrent(startDir);
}

void TestContent::committedFilesAreGenerated_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("made");
    QMap<QString, QByteArray> files;
    QString error;
    QVERIFY2(contentgen::build(kData + QStringLiteral("/contenu"), &files, &error),
             qPrintable(error));
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
    // Nothing shipped that the description does not make.
    for (const QString &name : QDir(kExercises).entryList(QDir::Files))
        QVERIFY2(files.contains(QStringLiteral("exercices/") + name), qPrintable(name));
}

void TestContent::committedFilesAreGenerated()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, made);
    QFile f(kData + QLatin1Char('/') + name);
    QVERIFY2(f.open(QIODevice::ReadOnly), "run the content target and commit its files");
    QVERIFY(f.readAll() == made);
}

void TestContent::textsRead_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : QDir(kExercises).entryList({QStringLiteral("*.rtf")}, QDir::Files))
        QTest::newRow(qPrintable(name)) << name;
}

void TestContent::textsRead()
{
    QFETCH(QString, name);
    const QString text = plainRtf(QDir(kExercises).filePath(name), true);
    QVERIFY(text.size() > 200);
    // No markup shows through.
    for (const QString &bad :
         {QStringLiteral("\\"), QStringLiteral("{"), QStringLiteral("}"), QStringLiteral("*")})
        QVERIFY2(!text.contains(bad), qPrintable(bad));
    QVERIFY(text.contains(QStringLiteral("é")));
    // French spacing: a no-break space before the colon, never a plain one or none.
    QVERIFY(!text.contains(QStringLiteral(" :")));
    QVERIFY(!text.contains(QStringLiteral(" ?")));
    QCOMPARE(breakableFrenchSpace(text), QString());
}

Fichexo *activeExerciseWindow()
{
    return qobject_cast<Fichexo *>(QApplication::activeModalWidget());
}

TestContent::Preview TestContent::openExercise(const QString &name)
{
    Preview p;
    QTimer::singleShot(0, this, [&] {
        Fichexo *f = activeExerciseWindow();
        if (!f)
            return;
        f->Dir1->setPath(dir->filePath(QStringLiteral("exercices")));
        f->File1_Click(name);
        p.title = f->titratexo->text();
        for (QLabel *image : f->Image4)
            p.lit += image->pixmap().toImage() == f->Imagalu->pixmap().toImage();
        p.hourglasses = f->Text2->count();
        p.corrected = f->Label2->text();
        p.notions = f->Text1->toPlainText();
        f->ouvreur_Click();
        if (activeExerciseWindow())
            activeExerciseWindow()->reject();
    });
    w->exercises()->openexo_Click();
    return p;
}

// The window lists the shipped exercises under their French names, accents included, in the
// order of their numbers.
void TestContent::exerciseList()
{
    QStringList listed;
    QTimer::singleShot(0, this, [&] {
        Fichexo *f = activeExerciseWindow();
        if (!f)
            return;
        f->Dir1->setPath(dir->filePath(QStringLiteral("exercices")));
        for (int i = 0; i < f->File1->count(); ++i)
            listed << f->File1->item(i)->text();
        f->reject();
    });
    w->exercises()->openexo_Click();
    QCOMPARE(listed, shippedExercises());
    for (const QString &name : {QStringLiteral("05 Objet à l'infini.E38"),
                                QStringLiteral("09 Télescope - miroir plan.E38"),
                                QStringLiteral("13 Conditions de Gauss.E38")})
        QVERIFY2(listed.contains(name), qPrintable(name));
    for (int i = 0; i < listed.size(); ++i)
        QVERIFY2(listed[i].startsWith(QStringLiteral("%1 ").arg(i + 1, 2, 10, QLatin1Char('0'))),
                 qPrintable(listed[i]));
}

void TestContent::exerciseOpens_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = shippedExercises();
    QVERIFY(names.size() >= 10);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestContent::exerciseOpens()
{
    QFETCH(QString, name);
    QStringList records;
    QVERIFY(
        exofile::readRecords(QDir(kExercises).filePath(name), {1, 2, 3, 4, 5, 11, 12}, &records));
    const Preview p = openExercise(name);
    QCOMPARE(asked, QStringList());
    QCOMPARE(p.title, records[5].trimmed());
    QCOMPARE(breakableFrenchSpace(p.title), QString());
    QVERIFY(!p.title.isEmpty());
    QCOMPARE(p.lit, records[4].toInt());
    QVERIFY(p.lit >= 1 && p.lit <= 3);
    QCOMPARE(p.hourglasses, records[6].toInt());
    QVERIFY(p.hourglasses >= 1);
    QCOMPARE(p.corrected, QStringLiteral("Exercice corrigé"));
    QVERIFY(p.notions.endsWith(QLatin1Char('.')));

    // The statement, editable, and its configuration in the figure.
    QCOMPARE(w->supertext->toPlainText(), plainRtf(QDir(kExercises).filePath(records[0])));
    QVERIFY(!w->supertext->isReadOnly());
    QVERIFY(!records[1].trimmed().isEmpty());
    QVERIFY(w->windowTitle().endsWith(records[1]));

    // The correction, read-only, and its configuration.
    w->exercises()->opencor_Click();
    QCOMPARE(asked, QStringList());
    QCOMPARE(w->supertext->toPlainText(), plainRtf(QDir(kExercises).filePath(records[2])));
    QVERIFY(w->supertext->isReadOnly());
    QVERIFY(w->windowTitle().endsWith(records[3]));
}

void TestContent::openedByName_data()
{
    QTest::addColumn<QString>("request"); // empty: the path is given on the command line
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("statement");
    QTest::newRow("a grave, file manager") << QString() << QStringLiteral("05 Objet à l'infini.E38")
                                           << QStringLiteral("ex05-enonce.rtf");
    QTest::newRow("e acute, launcher")
        << QStringLiteral("exercices\\09 Télescope - miroir plan.E38")
        << QStringLiteral("09 Télescope - miroir plan.E38") << QStringLiteral("ex09-enonce.rtf");
    QTest::newRow("other case, launcher")
        << QStringLiteral("EXERCICES\\05 OBJET À L'INFINI.E38")
        << QStringLiteral("05 Objet à l'infini.E38") << QStringLiteral("ex05-enonce.rtf");
}

// A file manager's double click (the desktop entry passes the path) and the suite's launcher
// (a request in the exchange file's code page) open an exercise with an accented name.
void TestContent::openedByName()
{
    QFETCH(QString, request);
    QFETCH(QString, name);
    QFETCH(QString, statement);
    const QString file = dir->filePath(QStringLiteral("exercices/") + name);
    if (request.isEmpty()) {
        QVERIFY(commandline::openFile(*w, file));
    } else {
        QVERIFY(writeRecordsAt(w->exchangeFile(), {{31, request}}));
        w->Form_Activate();
    }
    QCOMPARE(asked, QStringList());
    QCOMPARE(w->supertext->toPlainText(), plainRtf(QDir(kExercises).filePath(statement)));
    const QString opened = QDir::cleanPath(QDir::fromNativeSeparators(w->fich->text()));
    QVERIFY2(opened.compare(file, fixtures::caseOf(dir->path())) == 0, qPrintable(opened));
}

void TestContent::claims_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("correction");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("typed");
    QFile f(QStringLiteral(OPTALIS_CLAIMS));
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    int line = 0;
    while (!f.atEnd()) {
        const QString row = QString::fromUtf8(f.readLine()).trimmed();
        ++line;
        if (row.isEmpty() || row.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cols = row.split(QLatin1Char('|'));
        QVERIFY2(cols.size() == 4 || cols.size() == 5, qPrintable(row));
        const QStringList typed = cols.size() == 5
            ? cols[4].split(QLatin1Char(' '), Qt::SkipEmptyParts)
            : QStringList();
        const QString label = QStringLiteral("%1: %2, %3 %4")
                                  .arg(line)
                                  .arg(cols[0].trimmed(), cols[1].trimmed(), cols[2].trimmed());
        QTest::newRow(qPrintable(label))
            << cols[0].trimmed() << (cols[1].trimmed() == QLatin1String("corrige"))
            << cols[2].trimmed() << cols[3].trimmed() << typed;
    }
}

void TestContent::claims()
{
    QFETCH(QString, name);
    QFETCH(bool, correction);
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    QFETCH(QStringList, typed);
    openExercise(name);
    if (correction)
        w->exercises()->opencor_Click();
    for (const QString &entry : typed) {
        const QStringList pair = entry.split(QLatin1Char('='));
        QVERIFY2(pair.size() == 2 && pair[0].startsWith(QLatin1Char('f')), qPrintable(entry));
        typeIn(w->Text1[size_t(pair[0].mid(1).toInt())], pair[1]);
    }
    QCOMPARE(asked, QStringList());
    QString text;
    if (shown.startsWith(QLatin1Char('f')))
        text = w->Text1[size_t(shown.mid(1).toInt())]->text();
    else
        text = w->Label3[size_t(shown.toInt())]->text();
    QCOMPARE(text, expected);
}

void TestContent::guidedExerciseFromTheMenu()
{
    ExoTexts *exo = w->exercises();
    QCOMPARE(exo->PRISENMAIN->text(), QStringLiteral("Prise en main"));
    exo->PRISENMAIN->trigger();
    QTRY_VERIFY(!w->fich->text().isEmpty()); // the entry runs once the menu has closed
    QCOMPARE(asked, QStringList());
    QCOMPARE(QDir::cleanPath(w->fich->text()), dir->filePath(QStringLiteral("optalis.PEM")));
    const QString text = w->supertext->toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("Prise en main d'Optalis")));
    QCOMPARE(text, plainRtf(kExercises + QStringLiteral("/priseenmain.rtf")));
    QVERIFY(w->windowTitle().endsWith(QStringLiteral("priseenmain.P17")));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("48,0 cm"));
    // Its steps 3 and 7: the object typed at 20 cm, the image read, rounded, in the tab.
    typeIn(w->Text1[4], QStringLiteral("20"));
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("46,7 cm"));
    QVERIFY(text.contains(QStringLiteral("60 - 13,33 = 46,67")));
    QVERIFY(text.contains(QStringLiteral("affiche 46,7")));
}

void TestContent::helpTopics_data()
{
    QTest::addColumn<QString>("anchor");
    // One section for each command and window.
    for (const char *a :
         {"figure",      "saisie",         "souris",      "objets",         "dispositif",
          "affichage",   "construction",   "infini",      "monture",        "telescope",
          "enregistrer", "ouvrir",         "copier",      "imprimer",       "exporter",
          "projection",  "calculatrice",   "priseenmain", "ouvrirexercice", "correction",
          "texte",       "fermerexercice", "quitter"})
        QTest::newRow(a) << QString::fromLatin1(a);
}

void TestContent::helpTopics()
{
    QFETCH(QString, anchor);
    QFile f(kData + QStringLiteral("/Qvex.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    const QRegularExpression section(
        QStringLiteral("<h[23] id=\"%1\">[^<]+</h[23]>\\s*<p>").arg(anchor));
    QVERIFY(section.match(html).hasMatch());
}

// The help as its window shows it keeps French spacing where the source breaks lines.
void TestContent::helpSpacing()
{
    QFile f(kData + QStringLiteral("/Qvex.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    const QString text = doc.toRawText();
    QVERIFY(text.contains(QStringLiteral("«\u00a0Objets et images\u00a0»")));
    QCOMPARE(breakableFrenchSpace(text), QString());
}

void TestContent::helpPictures_data()
{
    QTest::addColumn<QString>("picture");
    QFile f(kData + QStringLiteral("/Qvex.html"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    static const QRegularExpression img(QStringLiteral("<img src=\"([^\"]+)\""));
    int n = 0;
    for (auto it = img.globalMatch(QString::fromUtf8(f.readAll())); it.hasNext(); ++n) {
        const QString src = it.next().captured(1);
        QTest::newRow(qPrintable(src)) << src;
    }
    QVERIFY(n >= 5);
}

// The pictures are drawn by the build from the shipped configurations: they are beside the
// program and show a figure, not an empty canvas.
void TestContent::helpPictures()
{
    QFETCH(QString, picture);
    const QImage image(QStringLiteral(OPTALIS_PROGRAM_DIR "/") + picture);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() > 500);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() >= 4);
}

// The help window finds its pictures beside the help file, wherever the program runs from.
void TestContent::helpShowsItsPictures()
{
    helpviewer::showFinder(w.get(), QStringLiteral(OPTALIS_PROGRAM_DIR "/Qvex.hlp"));
    QCOMPARE(asked, QStringList());
    QTextBrowser *text = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("aide"))
            text = top->findChild<QTextBrowser *>(QStringLiteral("texte"));
    QVERIFY(text);
    const QVariant picture = text->loadResource(QTextDocument::ImageResource,
                                                QUrl(QStringLiteral("aide/figure-telescope.png")));
    QVERIFY(!qvariant_cast<QByteArray>(picture).isEmpty()
            || !qvariant_cast<QImage>(picture).isNull()
            || !qvariant_cast<QPixmap>(picture).isNull());
    text->window()->close();
}

// The search page takes the typing at once, goes from one occurrence to the next, and says
// when the words are not in the help.
void TestContent::helpSearch()
{
    helpviewer::showFinder(w.get(), QStringLiteral(OPTALIS_PROGRAM_DIR "/Qvex.hlp"));
    QWidget *help = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("aide"))
            help = top;
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowActive(help));
    auto *tabs = help->findChild<QTabWidget *>(QStringLiteral("onglets"));
    auto *words = help->findChild<QLineEdit *>(QStringLiteral("mots"));
    auto *result = help->findChild<QLabel *>(QStringLiteral("resultat"));
    auto *text = help->findChild<QTextBrowser *>(QStringLiteral("texte"));
    QVERIFY(tabs && words && result && text);
    tabs->setCurrentIndex(2);
    QVERIFY(words->hasFocus());
    words->insert(QStringLiteral("télescope")); // keyClicks takes ASCII only
    QTest::keyClick(words, Qt::Key_Return);
    const int first = text->textCursor().position();
    QCOMPARE(text->textCursor().selectedText().toLower(), QStringLiteral("télescope"));
    QTest::keyClick(words, Qt::Key_Return);
    QVERIFY(text->textCursor().position() > first);
    QCOMPARE(result->text(), QString());
    words->setText(QStringLiteral("hologramme"));
    QTest::keyClick(words, Qt::Key_Return);
    QCOMPARE(result->text(), QStringLiteral("« hologramme » ne figure pas dans l'aide."));
    // Typed with a plain space, words the help joins with a no-break one are found.
    words->setText(QStringLiteral("5 cm"));
    QTest::keyClick(words, Qt::Key_Return);
    QCOMPARE(result->text(), QString());
    QCOMPARE(text->textCursor().selectedText(), QStringLiteral("5\u00a0cm"));
    help->close();
}

QTEST_MAIN(TestContent)
#include "tst_content.moc"
