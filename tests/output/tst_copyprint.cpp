#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepoutput.h"
#include "mainwindow/figureview.h"
#include "output/confimp.h"
#include "output/figureexport.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"
#include "tests/mainwindow/tabstripharness.h"
#include "tests/messagelog.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

class TestCopyPrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void clipboardHoldsTheFigure_data();
    void clipboardHoldsTheFigure();
    void confirmationStaysOnTheButton();
    void copyMenu();
    void printsTheFigureAsDisplayed();
    void cancelKeepsTheFigure();
    void helpLoadsThePrintDialogHidden();
    void exportEntry();
    void exportThroughTheDialog_data();
    void exportThroughTheDialog();
    void exportFailureIsSaid();

private:
    QAction *menuEntry(const QString &name) const;
    void answerPrintDialog(bool ok);

    std::unique_ptr<harness::ShownWindow> window;
    FeuilleP *w = nullptr;
    SharedValues *sv = nullptr;
    const QTemporaryDir *dir = nullptr;
    QList<msgbox::Request> asked;
};

void TestCopyPrint::init()
{
    recordMessages(asked);
    window = std::make_unique<harness::ShownWindow>();
    w = &window->w;
    sv = &window->sv;
    dir = &window->dir;
    QGuiApplication::clipboard()->clear();
}

void TestCopyPrint::cleanup()
{
    window.reset();
    msgbox::setInterceptor(nullptr);
}

QAction *TestCopyPrint::menuEntry(const QString &name) const
{
    for (QAction *a : w->menucopie->actions())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void TestCopyPrint::answerPrintDialog(bool ok)
{
    QTimer::singleShot(0, this, [ok] {
        auto *dialog = qobject_cast<Confimp *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        (ok ? dialog->Command1 : dialog->Command3)->click();
    });
}

void TestCopyPrint::clipboardHoldsTheFigure_data()
{
    QTest::addColumn<bool>("white");
    QTest::addColumn<bool>("enlarged");
    QTest::newRow("black background") << false << false;
    QTest::newRow("white background") << true << false;
    QTest::newRow("black background, enlarged") << false << true;
    QTest::newRow("white background, enlarged") << true << true;
}

void TestCopyPrint::clipboardHoldsTheFigure()
{
    QFETCH(bool, white);
    QFETCH(bool, enlarged);
    w->Check1[12]->setChecked(white);
    if (enlarged)
        w->Command5->click();
    const QImage canvas = w->Picture2->canvas().image();
    QCOMPARE(canvas.height(), enlarged ? 501 : 265);
    w->Command4->click();
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), canvas.size());
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
             canvas.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(QColor(copied.pixel(2, 2)), white ? QColor(Qt::white) : QColor(Qt::black));
    // The same drawing as vectors, for the programs that paste them.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasImage());
    QCOMPARE(data->data(QStringLiteral("image/svg+xml")),
             figureexport::svg(w->Picture2->canvas().displayList(), w->windowTitle()));
    QCOMPARE(w->info->text(), sv->msgcopie);
    QCOMPARE(sv->msgcopie,
             QStringLiteral("L'image est copiée : vous pouvez la retrouver depuis toute "
                            "application Windows (coller)"));
}

void TestCopyPrint::confirmationStaysOnTheButton()
{
    w->Command4->click();
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(w->Command4, &enter);
    QCOMPARE(w->info->text(), sv->msgcopie);
    // Another element's hint replaces it, and the button's own hint comes back afterwards.
    QCoreApplication::sendEvent(w->Command10, &enter);
    QCOMPARE(w->info->text(), QStringLiteral("Configurer l'imprimante et imprimer l'image"));
    QCoreApplication::sendEvent(w->Command4, &enter);
    QVERIFY(w->info->text().startsWith(QStringLiteral("Copier pour placer l'image")));
}

void TestCopyPrint::copyMenu()
{
    QCOMPARE(w->menucopie->title(), QStringLiteral("menucopie"));
    QAction *copim = menuEntry(QStringLiteral("copim"));
    QAction *copigraph = menuEntry(QStringLiteral("copigraph"));
    QVERIFY(copim && copigraph);
    QCOMPARE(copim->text(), QStringLiteral("Copier l'animation"));
    QCOMPARE(copigraph->text(), QStringLiteral("Copier le graphe"));

    const QString before = w->info->text();
    copim->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             w->Picture2->canvas().image().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(w->info->text(), before); // no confirmation from the menu
    // The window has no graph: the clipboard is emptied and stays so.
    copigraph->trigger();
    QVERIFY(QGuiApplication::clipboard()->image().isNull());
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(!data || data->formats().isEmpty());
}

void TestCopyPrint::printsTheFigureAsDisplayed()
{
    const QString file = dir->filePath(QStringLiteral("figure.pdf"));
    QPrinter &printer = w->output->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    w->Command5->click();
    answerPrintDialog(true);
    w->Command10->click();
    QVERIFY(asked.isEmpty());
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QCOMPARE(bytes.count("/Type /Page\n"), 1);
    // Vectors and text: no picture of the figure.
    QVERIFY(!bytes.contains("/Subtype /Image"));
}

void TestCopyPrint::cancelKeepsTheFigure()
{
    const QImage before = w->Picture2->canvas().image();
    bool cleared = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<Confimp *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->Command3->click();
        QImage blank = w->Picture2->canvas().image();
        blank.fill(w->Picture2->canvas().backColor());
        cleared = w->Picture2->canvas().image() == blank;
    });
    w->Command10->click();
    // The dialog's unload clears the drawing; it is drawn again even if no window manager
    // activates the main window.
    QVERIFY(cleared);
    QCOMPARE(w->Picture2->canvas().image(), before);
    QVERIFY(w->Picture2->backgroundPicture().isNull());
}

void TestCopyPrint::helpLoadsThePrintDialogHidden()
{
    // No help file and no printer: the help's own message only, and no dialog left shown.
    w->Command7->click();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().text.contains(QStringLiteral("Qvex.hlp")));
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(top->objectName() != QLatin1String("confimp") || !top->isVisible());
    // The snapshot stays under the figure until the print dialog next closes.
    QVERIFY(!w->Picture2->backgroundPicture().isNull());
    answerPrintDialog(false);
    w->Command10->click();
    QVERIFY(w->Picture2->backgroundPicture().isNull());
}

void TestCopyPrint::exportEntry()
{
    QAction *entry = w->exportFigureAction;
    QVERIFY(entry);
    QVERIFY(w->figureMenu->actions().contains(entry));
    QCOMPARE(entry->text(), QStringLiteral("Exporter la figure…"));
    QCOMPARE(entry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    QVERIFY(w->actions().contains(entry));
}

void TestCopyPrint::exportThroughTheDialog_data()
{
    QTest::addColumn<bool>("fromAField");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("configuration"); // the open configuration's file
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow("PNG, suffix added") << false << 0 << ""
                                       << "figure.png"
                                       << "figure"
                                       << "figure.png" << QByteArray("\x89PNG");
    QTest::newRow("SVG, from a field") << true << 3 << "/home/prof/miroir concave.cfg"
                                       << "miroir concave.svg"
                                       << "figure.svg"
                                       << "figure.svg" << QByteArray("<?xml");
    QTest::newRow("PDF, suffix added") << false << 4 << "C:\\TP\\lunette.CFG"
                                       << "lunette.pdf"
                                       << "dessin"
                                       << "dessin.pdf" << QByteArray("%PDF");
}

void TestCopyPrint::exportThroughTheDialog()
{
    QFETCH(bool, fromAField);
    QFETCH(int, filter);
    QFETCH(QString, configuration);
    QFETCH(QString, proposed);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QByteArray, magic);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir->filePath("reglages"));
    QDir(dir->path()).mkpath(QStringLiteral("exports"));
    QSettings(QStringLiteral("optalis"), QStringLiteral("optalis"))
        .setValue(QStringLiteral("export/dossier"), dir->filePath(QStringLiteral("exports")));
    sv->fichconfig = configuration;
    QString title, folder, name;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QWidget *from = fromAField ? static_cast<QWidget *>(w->Text1[4]) : w->Picture2;
    from->setFocus();
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        folder = dialog->directory().absolutePath();
        dialog->selectNameFilter(figureexport::filters()[filter]);
        emit dialog->filterSelected(figureexport::filters()[filter]);
        auto *nameField = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name = nameField->text();
        nameField->setText(typed);
        static_cast<QDialog *>(dialog)->accept();
    });
    QTest::keyClick(from, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(title, QStringLiteral("Exporter la figure"));
    QCOMPARE(folder, dir->filePath(QStringLiteral("exports")));
    QCOMPARE(name, proposed);
    QFile file(dir->filePath(QStringLiteral("exports/") + written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(magic));
    QVERIFY(asked.isEmpty());
    QSettings settings(QStringLiteral("optalis"), QStringLiteral("optalis"));
    QCOMPARE(settings.value(QStringLiteral("export/format")).toInt(), filter);
}

void TestCopyPrint::exportFailureIsSaid()
{
    QVERIFY(!w->output->exportFigureTo(dir->filePath(QStringLiteral("absent/figure.svg")), 3));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().text, QStringLiteral("Ecriture impossible sur disque"));
    QCOMPARE(asked.first().title, QStringLiteral("Enregistrement impossible"));
}

QTEST_MAIN(TestCopyPrint)
#include "tst_copyprint.moc"
