// The exercise window as a pupil sees and drives it: where it lies, what it lists, what the
// preview shows, and opening with the mouse and the keyboard.
#include "config/dirlist.h"
#include "config/drivelist.h"
#include "config/filelist.h"
#include "exercises/fichexo.h"
#include "exercises/hourglassrow.h"
#include "exercises/titleband.h"
#include "exofixtures.h"
#include "fakeexohost.h"
#include "platform/msgbox.h"
#include "tests/filecase.h"
#include "tests/messagelog.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

int litIcons(const Fichexo &w)
{
    const QImage lit = w.Imagalu->pixmap().toImage();
    int n = 0;
    for (QLabel *image : w.Image4)
        n += image->isVisibleTo(&w) && image->pixmap().toImage() == lit;
    return n;
}

int shownIcons(const Fichexo &w)
{
    int n = 0;
    for (QLabel *image : w.Image4)
        n += image->isVisibleTo(&w);
    return n;
}

} // namespace

class TestFichexo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void laidOverTheMainWindow();
    void listsExerciseFilesInAnyCase();
    void opensOnTheShippedExercises();
    void activationPreviewsTheFirst();
    void emptyFolderPreviewsNothing();
    void preview_data();
    void preview();
    void unreadableFileIsReported();
    void titleBandFadesToWhite();
    void opens_data();
    void opens();
    void missingStatementKeepsTheWindowOpen();
    void blankConfigurationLoadsOnlyTheStatement();
    void closeButtonLoadsNothing();
    void shippedPreviewsAreHeard_data();
    void shippedPreviewsAreHeard();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    QString repexo() const { return QDir::toNativeSeparators(dir->path() + QLatin1Char('/')); }
    void writeExercise(const QString &name, const QStringList &records)
    {
        QVERIFY(fixtures::writeExo(path(name), records));
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeExoHost> host;
    QList<msgbox::Request> asked;
    QString startDir;
};

void TestFichexo::init()
{
    dir = std::make_unique<QTemporaryDir>();
    host = std::make_unique<FakeExoHost>(dir->path());
    startDir = QDir::currentPath();
    recordMessages(asked);
}

void TestFichexo::cleanup()
{
    msgbox::setInterceptor(nullptr);
    QDir::setCurrent(startDir);
}

void TestFichexo::laidOverTheMainWindow()
{
    host->window.setWindowTitle(QStringLiteral("Optalis - essai.P17"));
    Fichexo w(*host);
    QCOMPARE(w.windowTitle(), QStringLiteral("Optalis - essai.P17"));
    QCOMPARE(w.geometry(), host->window.geometry());
    QCOMPARE(w.Frame1->y(), w.tito->height() - 8);
    QCOMPARE(w.Frame1->height(), w.height());
    QCOMPARE(w.fichierexo->geometry().right() + 1, w.width() + 2);
    QCOMPARE(w.Frame2->pos(),
             QPoint((w.width() - w.Frame2->width()) / 2, (w.height() - w.Frame2->height()) / 2));
    QVERIFY(w.Frame2->isHidden());
    QCOMPARE(w.Label3->pos(), w.Label2->pos() + QPoint(1, 1));
    QVERIFY(w.ouvreur->isDefault());
    QCOMPARE(w.ouvreur->toolTip(), QStringLiteral("Ouvrir l'exercice sélectionné"));
    QCOMPARE(w.Image5->toolTip(), QStringLiteral("Fermer sans charger d'exercice"));
    QVERIFY(w.titratexo->text().isEmpty());
    QCOMPARE(w.intratro->text(), QStringLiteral("Sélectionner un fichier"));
    // Drives, folders and exercises, top to bottom, inside the left panel.
    QVERIFY(w.Drive1->geometry().bottom() < w.Dir1->geometry().top());
    QVERIFY(w.Dir1->geometry().bottom() < w.Label5->geometry().top());
    QVERIFY(w.Label5->geometry().bottom() < w.File1->geometry().top());
    QVERIFY(w.Frame1->mapTo(&w, w.File1->geometry().bottomLeft()).y() < w.height());
}

void TestFichexo::listsExerciseFilesInAnyCase()
{
    for (const char *name : {"b.E38", "A.e38", "c.txt", "d.E38.bak"})
        writeExercise(QLatin1String(name), {QStringLiteral("x.rtf")});
    Fichexo w(*host);
    QStringList listed;
    for (int i = 0; i < w.File1->count(); ++i)
        listed << w.File1->item(i)->text();
    QCOMPARE(listed, QStringList({"A.e38", "b.E38"}));
}

void TestFichexo::opensOnTheShippedExercises()
{
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("exercices")));
    writeExercise(QStringLiteral("exercices/a.E38"), {QStringLiteral("x.rtf")});
    Fichexo w(*host);
    QCOMPARE(QDir(w.File1->path()), QDir(path(QStringLiteral("exercices"))));
    QCOMPARE(w.File1->count(), 1);
}

void TestFichexo::activationPreviewsTheFirst()
{
    writeExercise(QStringLiteral("b.E38"), fixtures::exercise(QStringLiteral("b.rtf")));
    QStringList first = fixtures::exercise(QStringLiteral("a.rtf"));
    first[10] = QStringLiteral("Premier");
    writeExercise(QStringLiteral("a.E38"), first);
    Fichexo w(*host);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.File1->currentRow(), 0);
    QCOMPARE(w.File1->currentItem()->isSelected(), true);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.File1));
    QCOMPARE(w.fichierexo->text(), repexo() + QStringLiteral("a.E38"));
    QCOMPARE(host->sv.repexo, repexo());
    QCOMPARE(w.titratexo->text(), QStringLiteral("Premier"));
    QVERIFY(!w.intratro->isVisible());
    QVERIFY(w.ouvreur->isVisible());
    QCOMPARE(QDir::currentPath(), QDir(dir->path()).absolutePath());
}

void TestFichexo::emptyFolderPreviewsNothing()
{
    Fichexo w(*host);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.File1->count(), 0);
    QVERIFY(w.fichierexo->text().isEmpty());
    QVERIFY(w.intratro->isVisible());
    QVERIFY(!w.ouvreur->isVisible());
    QVERIFY(!w.Label4->isVisible());
    QCOMPARE(shownIcons(w), 0);
    QVERIFY(asked.isEmpty());
}

void TestFichexo::preview_data()
{
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<int>("lit");
    QTest::addColumn<QString>("corrected");
    QTest::addColumn<QString>("hourglasses");

    const QStringList base = fixtures::exercise(QStringLiteral("e.rtf"));
    const auto with = [&base](int record, const QString &text) {
        QStringList r = base;
        r[record - 1] = text;
        return r;
    };
    QTest::newRow("level 2") << base << 2 << "Non corrigé"
                             << "666";
    QTest::newRow("level 1,5 reads 1") << with(5, "1,5") << 1 << "Non corrigé"
                                       << "666";
    QTest::newRow("level 2.5 lights all") << with(5, "2.5") << 3 << "Non corrigé"
                                          << "666";
    QTest::newRow("level -1 lights none") << with(5, "-1") << 0 << "Non corrigé"
                                          << "666";
    QTest::newRow("level word lights none") << with(5, "facile") << 0 << "Non corrigé"
                                            << "666";
    QTest::newRow("correction text") << with(3, "c.rtf") << 2 << "Exercice corrigé"
                                     << "666";
    QTest::newRow("blank correction") << with(3, "   ") << 2 << "Non corrigé"
                                      << "666";
    QTest::newRow("hourglasses 2.5") << with(12, "2.5") << 2 << "Non corrigé"
                                     << "66";
    QTest::newRow("hourglasses 3.5") << with(12, "3.5") << 2 << "Non corrigé"
                                     << "6666";
    QTest::newRow("hourglasses word") << with(12, "long") << 2 << "Non corrigé"
                                      << "";
    QTest::newRow("four records") << base.mid(0, 4) << 0 << "Non corrigé"
                                  << "";
}

void TestFichexo::preview()
{
    QFETCH(QStringList, records);
    writeExercise(QStringLiteral("p.E38"), records);
    Fichexo w(*host);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTEST(litIcons(w), "lit");
    QCOMPARE(shownIcons(w), 3);
    QTEST(w.Label2->text(), "corrected");
    QCOMPARE(w.Label3->text(), w.Label2->text());
    QTEST(w.Text2->text(), "hourglasses");
    QCOMPARE(w.Text2->count(), w.Text2->text().size());
    QCOMPARE(w.titratexo->text(), records.size() > 4 ? QStringLiteral("Image d'un objet") : "");
    QCOMPARE(w.Text1->toPlainText(), records.size() > 4 ? QStringLiteral("Miroir sphérique") : "");
    QVERIFY(asked.isEmpty());
}

void TestFichexo::unreadableFileIsReported()
{
    writeExercise(QStringLiteral("a.E38"), fixtures::exercise(QStringLiteral("a.rtf")));
    QByteArray bad = fixtures::fileBytes(path(QStringLiteral("a.E38")));
    bad[2 * 128] = char(200); // record 3 claims 200 bytes
    QVERIFY(fixtures::putBytes(path(QStringLiteral("z.E38")), bad));
    Fichexo w(*host);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.titratexo->text(), QStringLiteral("Image d'un objet"));
    w.File1->setCurrentRow(1);
    w.File1_Click(QStringLiteral("z.E38"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Lecture impossible"));
    QCOMPARE(asked[0].text,
             QStringLiteral("Vérifier:\n- le nom du fichier,\n- l'état du lecteur."));
    QCOMPARE(asked[0].icon, msgbox::Icon::Critical);
    QCOMPARE(w.titratexo->text(), QStringLiteral("Image d'un objet"));
    QVERIFY(w.Label2->isVisible());
}

void TestFichexo::titleBandFadesToWhite()
{
    Fichexo w(*host);
    const QImage band = w.tito->grab().toImage();
    // Pixels wholly inside a letter carry its colour exactly: red and green 255.
    int first = -1, last = -1;
    QColor firstColour, lastColour;
    for (int x = 0; x < band.width(); ++x)
        for (int y = 0; y < band.height(); ++y) {
            const QColor c = band.pixelColor(x, y);
            if (c.red() != 255 || c.green() != 255)
                continue;
            if (first < 0) {
                first = x;
                firstColour = c;
            }
            last = x;
            lastColour = c;
        }
    QVERIFY(first >= 30);
    QCOMPARE(firstColour.blue(), 161);
    QVERIFY(last > first);
    QCOMPARE(lastColour.blue(), 255);
    QCOMPARE(band.pixelColor(5, 5), TitleBand::background);
}

void TestFichexo::opens_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter in the list") << "enter";
    QTest::newRow("double click") << "double";
    QTest::newRow("open button") << "button";
}

void TestFichexo::opens()
{
    QFETCH(QString, how);
    QDir(dir->path()).mkdir(QStringLiteral("textes"));
    QVERIFY(fixtures::copyData(QStringLiteral("enonce1.rtf"),
                               path(QStringLiteral("textes/enonce1.rtf"))));
    QVERIFY(fixtures::writeConfig(path(QStringLiteral("config1.p17")), QStringLiteral("20,0")));
    writeExercise(QStringLiteral("a.E38"),
                  fixtures::exercise(QStringLiteral("Textes\\Enonce1.RTF"),
                                     QStringLiteral("CONFIG1.P17"), QStringLiteral("c.rtf")));
    host->sv.textemodif = 1;
    Fichexo w(*host);
    bool waitShown = false;
    host->onLoad = [&] { waitShown = w.Frame2->isVisible(); };
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (how == QLatin1String("enter")) {
        QTest::keyClick(w.File1, Qt::Key_Return);
    } else if (how == QLatin1String("double")) {
        const QPoint at = w.File1->visualItemRect(w.File1->item(0)).center();
        QTest::mouseClick(w.File1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.File1->viewport(), Qt::LeftButton, {}, at);
    } else {
        QTest::mouseClick(w.ouvreur, Qt::LeftButton);
    }
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(!w.isVisible());
    QCOMPARE(host->pane.toPlainText().trimmed(), QStringLiteral("Enonce un"));
    QVERIFY(!host->pane.isReadOnly());
    QCOMPARE(host->fich(), repexo() + QStringLiteral("a.E38"));
    QCOMPARE(host->sv.exocorrige, int16_t(1));
    QCOMPARE(host->sv.textemodif, int16_t(0));
    const QString log = host->log.join(QLatin1Char('\n'));
    QVERIFY2(log.compare(QStringLiteral("chargeconfig ") + repexo() + "config1.p17",
                         fixtures::caseOf(repexo()))
                 == 0,
             qPrintable(log));
    QVERIFY(waitShown);
    QVERIFY(w.Frame2->isHidden());
    QVERIFY(asked.isEmpty());
}

void TestFichexo::missingStatementKeepsTheWindowOpen()
{
    writeExercise(QStringLiteral("a.E38"),
                  fixtures::exercise(QStringLiteral("absent.rtf"), QStringLiteral("c.P17")));
    host->setFich(QStringLiteral("avant"));
    Fichexo w(*host);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ouvreur_Click();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Fichier absent"));
    QCOMPARE(asked[0].text,
             QStringLiteral("Le fichier ") + repexo()
                 + QStringLiteral("absent.rtf est introuvable"));
    QCOMPARE(asked[0].icon, msgbox::Icon::Critical);
    QVERIFY(w.isVisible());
    QVERIFY(w.Frame2->isHidden());
    QCOMPARE(host->fich(), QStringLiteral("avant"));
    QCOMPARE(host->pane.toPlainText(), QStringLiteral("Introduction"));
    QVERIFY(host->log.isEmpty());
}

void TestFichexo::blankConfigurationLoadsOnlyTheStatement()
{
    QVERIFY(fixtures::copyData(QStringLiteral("enonce1.rtf"), path(QStringLiteral("e.rtf"))));
    writeExercise(QStringLiteral("a.E38"), fixtures::exercise(QStringLiteral("e.rtf"), "   "));
    Fichexo w(*host);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ouvreur_Click();
    QCOMPARE(host->pane.toPlainText().trimmed(), QStringLiteral("Enonce un"));
    QVERIFY(host->log.isEmpty());
    QCOMPARE(host->sv.exocorrige, int16_t(0));
}

void TestFichexo::closeButtonLoadsNothing()
{
    QVERIFY(fixtures::copyData(QStringLiteral("enonce1.rtf"), path(QStringLiteral("e.rtf"))));
    writeExercise(QStringLiteral("a.E38"), fixtures::exercise(QStringLiteral("e.rtf")));
    Fichexo w(*host);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.Image5, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(host->pane.toPlainText(), QStringLiteral("Introduction"));
    QVERIFY(host->fich().isEmpty());
}

void TestFichexo::shippedPreviewsAreHeard_data()
{
    QTest::addColumn<QString>("name");
    const QDir shipped(QStringLiteral(OPTALIS_DATA_DIR "/exercices"));
    for (const QString &name : shipped.entryList({QStringLiteral("*.E38")}, QDir::Files))
        QTest::newRow(qPrintable(name)) << name;
}

// A screen reader hears the title and the correction state the pupil reads.
void TestFichexo::shippedPreviewsAreHeard()
{
    QFETCH(QString, name);
    FakeExoHost shippedHost(QStringLiteral(OPTALIS_DATA_DIR));
    Fichexo w(shippedHost);
    w.Form_Activate(); // the first exercise is heard before the pupil picks this one
    w.File1_Click(name);
    QVERIFY(!w.titratexo->text().isEmpty());
    QCOMPARE(w.titratexo->accessibleName(), w.titratexo->text());
    QCOMPARE(w.titratexo->accessibleDescription(), QStringLiteral("Titre de l'exercice"));
    for (QLabel *label : {w.Label2, w.Label3}) {
        QVERIFY(label->text() == QStringLiteral("Exercice corrigé")
                || label->text() == QStringLiteral("Non corrigé"));
        QCOMPARE(label->accessibleName(), label->text());
    }
    QVERIFY(asked.isEmpty());
}

QTEST_MAIN(TestFichexo)
#include "tst_fichexo.moc"
