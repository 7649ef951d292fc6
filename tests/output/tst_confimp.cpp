#include "fakeprinthost.h"
#include "output/confimp.h"
#include "output/updown.h"
#include "platform/msgbox.h"
#include "recordingprinter.h"
#include "tests/messagelog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>
#include <functional>

namespace {

std::unique_ptr<QPrinter> pdfPrinter(const QString &file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    return printer;
}

// A main window whose printer records the job, in portrait at first.
struct RecordingHost : FakePrintHost
{
    RecordingHost()
        : FakePrintHost(std::make_unique<RecordingPrinter>())
    {
        printer().setPageOrientation(QPageLayout::Portrait);
    }
    RecordingEngine &engine() { return static_cast<RecordingPrinter &>(printer()).engine; }
};

// Runs `answer` on Qt's printer dialog once it is shown modal.
void whenPrinterDialogShows(std::function<void(QPrintDialog &)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(*dialog);
    });
}

} // namespace

class TestConfimp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void startsAfresh();
    void copyCount_data();
    void copyCount();
    void cancel();
    void printsTheJob();
    void noPrinter();
    void failedJob();
    void printerDialogChoosesPdf();
    void printerDialogCancelled();
    void printerDialogInFrench();

private:
    QList<msgbox::Request> asked;
};

void TestConfimp::init()
{
    recordMessages(asked);
}

void TestConfimp::cleanup()
{
    msgbox::setInterceptor(nullptr);
}

void TestConfimp::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("printer caption") << "Label2" << QRect(8, 18, 65, 17) << "Imprimante:";
    QTest::newRow("printer name") << "defaut" << QRect(80, 16, 177, 19) << "";
    QTest::newRow("options frame") << "Frame1" << QRect(16, 40, 257, 169) << "Options";
    QTest::newRow("title caption") << "Label5" << QRect(20, 24, 120, 13) << "Titre de la page :";
    QTest::newRow("title") << "Text1" << QRect(16, 40, 217, 19) << "Lumivera - Optalis";
    QTest::newRow("horizontal centring")
        << "Chec_0" << QRect(24, 80, 217, 13) << "Centrrer l'image horizontalement";
    QTest::newRow("vertical centring")
        << "Chec_1" << QRect(24, 104, 217, 13) << "Centrrer l'image verticalement";
    QTest::newRow("copies caption")
        << "Label3" << QRect(16, 136, 113, 17) << "Nombre d'exemplaires :";
    QTest::newRow("copies") << "Label4" << QRect(136, 134, 41, 17) << "1";
    QTest::newRow("up-down") << "UpDown1" << QRect(176, 134, 16, 19) << "";
    QTest::newRow("printers") << "Command2" << QRect(288, 8, 73, 57) << "&Imprimantes";
    QTest::newRow("cancel") << "Command3" << QRect(288, 80, 73, 57) << "&Annuler";
    QTest::newRow("ok") << "Command1" << QRect(288, 152, 73, 57) << "&OK";
    QTest::newRow("wait notice") << "Frame2" << QRect(16, 72, 345, 57) << "";
    QTest::newRow("wait text") << "Label1" << QRect(56, 24, 273, 17)
                               << "Veuillez patienter quelques instants...";
}

void TestConfimp::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    RecordingHost host;
    Confimp dialog(host);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Imprimer"));
    QCOMPARE(dialog.defaut->text(), QStringLiteral("Fichier PDF enregistreur.pdf"));
    QCOMPARE(dialog.size(), QSize(376, 221));
    auto *w = dialog.findChild<QWidget *>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), geometry);
    QVERIFY(!w->accessibleName().isEmpty());
    if (text.isEmpty())
        return;
    QString shown;
    if (auto *l = qobject_cast<QLabel *>(w))
        shown = l->text();
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        shown = e->text();
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        shown = b->text();
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        shown = g->title();
    QCOMPARE(shown, text);
}

void TestConfimp::startsAfresh()
{
    QTemporaryDir dir;
    FakePrintHost host(pdfPrinter(dir.filePath(QStringLiteral("sortie.pdf"))));
    Confimp dialog(host);
    QCOMPARE(dialog.defaut->text(), QStringLiteral("Fichier PDF sortie.pdf"));
    QVERIFY(!dialog.Chec[0]->isChecked());
    QVERIFY(!dialog.Chec[1]->isChecked());
    QVERIFY(dialog.Frame2->isHidden());
    QCOMPARE(dialog.UpDown1->value(), 1);
    // The dialog's top is 20 pixels below the main window's.
    QCOMPARE(dialog.y(), host.window.frameGeometry().top() + 20);
}

void TestConfimp::copyCount_data()
{
    QTest::addColumn<int>("ups");
    QTest::addColumn<int>("downs");
    QTest::addColumn<QString>("shown");
    QTest::newRow("three more") << 3 << 0 << "4";
    QTest::newRow("never under one") << 2 << 5 << "1";
    QTest::newRow("never over ninety-nine") << 120 << 0 << "99";
}

void TestConfimp::copyCount()
{
    QFETCH(int, ups);
    QFETCH(int, downs);
    QFETCH(QString, shown);
    RecordingHost host;
    Confimp dialog(host);
    for (int i = 0; i < ups; ++i)
        dialog.UpDown1->upButton()->click();
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(dialog.UpDown1, Qt::Key_Down);
    QCOMPARE(dialog.Label4->text(), shown);
    QCOMPARE(dialog.UpDown1->value(), shown.toInt());
}

void TestConfimp::cancel()
{
    RecordingHost host;
    RecordingEngine &engine = host.engine();
    Confimp dialog(host);
    dialog.show();
    dialog.Command3->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(engine.jobs, 0);
    QCOMPARE(host.printer().pageLayout().orientation(), QPageLayout::Portrait);
    QCOMPARE(host.unloads, 1);
}

void TestConfimp::printsTheJob()
{
    RecordingHost host;
    RecordingEngine &engine = host.engine();
    Confimp dialog(host);
    dialog.show();
    dialog.Text1->setText(QStringLiteral("Miroir concave"));
    dialog.Chec[0]->setChecked(true);
    dialog.Chec[1]->setChecked(true);
    dialog.UpDown1->setValue(3);
    dialog.Command1->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(asked.isEmpty());
    QCOMPARE(engine.jobs, 1);
    QCOMPARE(engine.pages, 3);
    QCOMPARE(int(engine.texts.size()), 3);
    QCOMPARE(engine.texts.front().text, QStringLiteral("Miroir concave"));
    const double device = RecordingEngine::kDpi / 1440.0 * 15;
    QCOMPARE(engine.backgrounds().front().bounds.size(), QSizeF(784 * device, 265 * device));
    QCOMPARE(host.printer().pageLayout().orientation(), QPageLayout::Portrait);
    // The wait notice took the place of the options while the job ran.
    QVERIFY(dialog.Frame1->isHidden());
    QVERIFY(!dialog.Frame2->isHidden());
    QCOMPARE(host.unloads, 1);
}

void TestConfimp::noPrinter()
{
    QTemporaryDir dir;
    FakePrintHost host(pdfPrinter(QString()));
    host.printer().setPageOrientation(QPageLayout::Portrait);
    Confimp dialog(host);
    QCOMPARE(dialog.defaut->text(), QStringLiteral("Aucune imprimante"));
    dialog.show();
    dialog.Command1->click();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().title, QStringLiteral("Imprimer"));
    QVERIFY(asked.first().text.startsWith(QStringLiteral("Aucune imprimante n'est disponible.")));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialog.isHidden());
    QCOMPARE(host.printer().pageLayout().orientation(), QPageLayout::Portrait);
    QVERIFY(dir.isValid() && QDir(dir.path()).isEmpty());
    QCOMPARE(host.unloads, 1);
}

void TestConfimp::failedJob()
{
    RecordingHost host;
    host.engine().failNewPage = true;
    Confimp dialog(host);
    dialog.show();
    dialog.UpDown1->setValue(2);
    dialog.Command1->click();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().icon, msgbox::Icon::Critical);
    QVERIFY(asked.first().text.startsWith(QStringLiteral("L'impression n'a pas pu se faire")));
    QCOMPARE(host.unloads, 1);
    QVERIFY(dialog.isHidden());
    QCOMPARE(host.printer().pageLayout().orientation(), QPageLayout::Portrait);
}

void TestConfimp::printerDialogChoosesPdf()
{
    if (!qtOwnPrintDialog())
        QSKIP("the system's own print dialog: no test can drive it");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("figure.pdf"));
    FakePrintHost host(pdfPrinter(QString()));
    Confimp dialog(host);
    dialog.show();
    whenPrinterDialogShows([file](QPrintDialog &setup) {
        auto *printers = setup.findChild<QComboBox *>(QStringLiteral("printers"));
        auto *name = setup.findChild<QLineEdit *>(QStringLiteral("filename"));
        QVERIFY(printers && name);
        printers->setCurrentIndex(printers->count() - 1); // printing into a PDF file
        name->setText(file);
        setup.accept();
    });
    dialog.Command2->click();
    QCOMPARE(dialog.defaut->text(), QStringLiteral("Fichier PDF figure.pdf"));
    dialog.UpDown1->setValue(2);
    dialog.Command1->click();
    QVERIFY(asked.isEmpty());
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n"), 2);
}

void TestConfimp::printerDialogCancelled()
{
    RecordingHost host;
    Confimp dialog(host);
    const QString before = dialog.defaut->text();
    dialog.show();
    whenPrinterDialogShows([](QPrintDialog &setup) { setup.reject(); });
    dialog.Command2->click();
    QCOMPARE(dialog.defaut->text(), before);
    QVERIFY(dialog.isVisible());
    QCOMPARE(host.printer().pageLayout().orientation(), QPageLayout::Portrait);
    QCOMPARE(host.unloads, 0);
}

void TestConfimp::printerDialogInFrench()
{
    if (!qtOwnPrintDialog())
        QSKIP("the system's own print dialog: no test can drive it");
    // Qt's own texts come from its French translation, loaded as the program does.
    QTranslator french;
    QVERIFY(french.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&french);
    FakePrintHost host(pdfPrinter(QString()));
    Confimp dialog(host);
    dialog.show();
    QStringList captions;
    QString title;
    whenPrinterDialogShows([&](QPrintDialog &setup) {
        title = setup.windowTitle();
        for (QAbstractButton *b : setup.findChildren<QAbstractButton *>())
            if (b->isVisible())
                captions << b->text();
        setup.reject();
    });
    dialog.Command2->click();
    QCoreApplication::removeTranslator(&french);
    QCOMPARE(title, QStringLiteral("Imprimer"));
    QVERIFY2(captions.contains(QStringLiteral("Annuler")), qPrintable(captions.join(u'|')));
    QVERIFY2(captions.contains(QStringLiteral("OK")), qPrintable(captions.join(u'|')));
    QVERIFY2(!captions.contains(QStringLiteral("Cancel")), qPrintable(captions.join(u'|')));
}

QTEST_MAIN(TestConfimp)
#include "tst_confimp.moc"
