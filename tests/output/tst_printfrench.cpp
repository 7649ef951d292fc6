// Qt's print dialogs speak French once the program's translators are installed: the texts Qt's
// own catalogue leaves in English come from the program's catalogue.
#include "fakeprinthost.h"
#include "output/confimp.h"
#include "platform/translators.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

std::unique_ptr<QPrinter> pdfPrinter()
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

// Every text a dialog can show, hidden parts included: the options pane and the tabs not chosen
// are shown by a click.
QStringList texts(QWidget *dialog)
{
    QList<QWidget *> widgets = dialog->findChildren<QWidget *>();
    widgets.prepend(dialog);
    QStringList found;
    const auto add = [&found](const QString &text) {
        if (!text.isEmpty())
            found << QString(text).remove(QLatin1Char('&'));
    };
    for (QWidget *w : widgets) {
        if (w->isWindow())
            add(w->windowTitle());
        add(w->toolTip());
        if (auto *label = qobject_cast<QLabel *>(w))
            add(label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            add(button->text());
        if (auto *group = qobject_cast<QGroupBox *>(w))
            add(group->title());
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            add(edit->placeholderText());
        if (auto *combo = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < combo->count(); ++i)
                add(combo->itemText(i));
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(tabs->tabText(i));
    }
    return found;
}

// English that Qt's French catalogue alone leaves in the print dialogs.
const QStringList english = {
    QStringLiteral("Double Sided Printing"),
    QStringLiteral("Off"),
    QStringLiteral("Long side binding"),
    QStringLiteral("Short side binding"),
    QStringLiteral("Specify pages or ranges separated by commas. Ranges are specified by two "
                   "numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9."),
    QStringLiteral("Printer Properties"),
    QStringLiteral("Advanced"),
    QStringLiteral("There are conflicts in some options. Please fix them."),
};

} // namespace

class TestPrintFrench : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void catalogue_data();
    void catalogue();
    void dialogs_data();
    void dialogs();
    void missingCatalogue();

private:
    QStringList printDialogTexts(bool withProperties);
};

void TestPrintFrench::catalogue_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("french");
    const auto row = [](const char *context, const char *source, const QString &french) {
        QTest::newRow(source) << QString::fromLatin1(context) << QString::fromLatin1(source)
                              << french;
    };
    row("QPrintSettingsOutput", "Double Sided Printing", QStringLiteral("Recto verso"));
    row("QPrintSettingsOutput", "Off", QStringLiteral("Désactivé"));
    row("QPrintSettingsOutput", "Long side binding", QStringLiteral("Reliure bord long"));
    row("QPrintSettingsOutput", "Short side binding", QStringLiteral("Reliure bord court"));
    row("QPrintSettingsOutput", "Pages", QStringLiteral("Pages"));
    row("QPrintSettingsOutput",
        "Specify pages or ranges separated by commas. Ranges are specified by two numbers "
        "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
        QStringLiteral("Indiquez des pages ou des intervalles séparés par des virgules. Un "
                       "intervalle s'écrit avec deux numéros séparés par un tiret. Par exemple, "
                       "3,5-7,9 imprime les pages 3, 5, 6, 7 et 9."));
    row("QPrintDialog", "Invalid Pages Definition", QStringLiteral("Pages mal indiquées"));
    row("QPrintDialog",
        "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' "
        "to define ranges and make sure ranges do not intersect with each other.",
        QStringLiteral("« %1 » n'est pas écrit correctement. Séparez les pages et les "
                       "intervalles par des virgules (« , »), écrivez un intervalle avec un tiret "
                       "(« - ») et veillez à ce que les intervalles ne se chevauchent pas."));
    row("QPrintDialog", "Duplex Settings Conflicts",
        QStringLiteral("Conflit des réglages recto verso"));
    row("QPrintDialog", "There are conflicts in duplex settings. Do you want to fix them?",
        QStringLiteral("Les réglages recto verso sont en conflit. Voulez-vous les corriger ?"));
    row("QPrintPropertiesDialog", "Printer Properties",
        QStringLiteral("Propriétés de l'imprimante"));
    row("QPrintPropertiesDialog", "Page Setup Conflicts",
        QStringLiteral("Conflit des options de mise en page"));
    row("QPrintPropertiesDialog",
        "There are conflicts in page setup options. Do you want to fix them?",
        QStringLiteral("Des options de mise en page sont en conflit. Voulez-vous les corriger ?"));
    row("QPrintPropertiesDialog", "Advanced Option Conflicts",
        QStringLiteral("Conflit des options avancées"));
    row("QPrintPropertiesDialog",
        "There are conflicts in some advanced options. Do you want to fix them?",
        QStringLiteral("Des options avancées sont en conflit. Voulez-vous les corriger ?"));
    row("QPrintPropertiesWidget", "Advanced", QStringLiteral("Avancé"));
    row("QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
        QStringLiteral("Des options sont en conflit. Veuillez les corriger."));
    row("QCupsPrinterSupport", "Authentication Needed", QStringLiteral("Authentification requise"));
    row("QCupsPrinterSupport", "Authentication needed to use %1.",
        QStringLiteral("Une authentification est requise pour utiliser %1."));
    row("QCupsPrinterSupport", "Authentication needed to use %1 on %2.",
        QStringLiteral("Une authentification est requise pour utiliser %1 sur %2."));
    row("QCupsPrinterSupport", "Username:", QStringLiteral("Nom d'utilisateur :"));
    row("QCupsPrinterSupport", "Password:", QStringLiteral("Mot de passe :"));
    QTest::newRow("input slot Automatic")
        << QStringLiteral("Print Device Input Slot") << QStringLiteral("Automatic")
        << QStringLiteral("Automatique");
    QTest::newRow("output bin Automatic")
        << QStringLiteral("Print Device Output Bin") << QStringLiteral("Automatic")
        << QStringLiteral("Automatique");
    // Entries of Qt's catalogue that are wrong: the program's must win.
    row("QPageSize", "Letter Extra", QStringLiteral("Letter Extra")); // not "Legal Extra"
    row("QPageSize", "Envelope Personal", QStringLiteral("Enveloppe Personnelle"));
    row("QPageSize", "Custom (%1pc x %2pc)", QStringLiteral("Personnalisée (%1pc x %2pc)"));
    row("QPrintDialog", "Left to Right, Top to Bottom",
        QStringLiteral("De gauche à droite puis de haut en bas"));
    // Qt's own entries stay in use beside the program's.
    row("QPrintDialog", "&Print", QStringLiteral("Im&primer"));
    row("QPrintSettingsOutput", "Duplex Printing", QStringLiteral("Impression recto-verso"));
}

void TestPrintFrench::catalogue()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, french);
    const auto installed = translators::installFrench(QStringLiteral(OPTALIS_PROGRAM_DIR));
    QCOMPARE(QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData()),
             french);
}

QStringList TestPrintFrench::printDialogTexts(bool withProperties)
{
    FakePrintHost host(pdfPrinter());
    Confimp confimp(host);
    confimp.show();
    QStringList found;
    QTimer::singleShot(0, [&] {
        auto *setup = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        QVERIFY(setup);
        if (withProperties) {
            QTimer::singleShot(0, [&] {
                auto *properties = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(properties && properties != setup);
                found = texts(properties);
                properties->reject();
            });
            auto *button = setup->findChild<QPushButton *>(QStringLiteral("properties"));
            QVERIFY(button && button->isEnabled());
            button->click();
        } else {
            found = texts(setup);
        }
        setup->reject();
    });
    confimp.Command2->click();
    return found;
}

void TestPrintFrench::dialogs_data()
{
    QTest::addColumn<bool>("withProperties");
    QTest::newRow("print dialog") << false;
    QTest::newRow("printer properties") << true;
}

void TestPrintFrench::dialogs()
{
    if (!qtOwnPrintDialog())
        QSKIP("the system's own print dialog speaks the system's language, not Qt's catalogue");
    QFETCH(bool, withProperties);
    const auto installed = translators::installFrench(QStringLiteral(OPTALIS_PROGRAM_DIR));
    const QStringList found = printDialogTexts(withProperties);
    QVERIFY(!found.isEmpty());
    QStringList left;
    for (const QString &text : english)
        if (found.contains(text))
            left << text;
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u'|')));
    // Qt's catalogue calls "Letter Extra" so too: two paper sizes of one name.
    QVERIFY(found.count(QStringLiteral("Legal Extra")) <= 1);
    // The texts that must be there, so that a dialog missing them cannot pass unseen.
    const QStringList expected = withProperties
        ? QStringList {QStringLiteral("Propriétés de l'imprimante"), QStringLiteral("Avancé")}
        : QStringList {QStringLiteral("Recto verso"), QStringLiteral("Reliure bord long"),
                       QStringLiteral("Reliure bord court")};
    for (const QString &text : expected)
        QVERIFY2(found.contains(text), qPrintable(found.join(u'|')));
}

void TestPrintFrench::missingCatalogue()
{
    if (!qtOwnPrintDialog())
        QSKIP("the system's own print dialog speaks the system's language, not Qt's catalogue");
    // A program copied without its translations folder keeps Qt's own French.
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const auto installed = translators::installFrench(empty.path());
    QCOMPARE(installed.size(), size_t(1));
    QCOMPARE(QCoreApplication::translate("QPrintDialog", "&Print"), QStringLiteral("Im&primer"));
    const QStringList found = printDialogTexts(true);
    QVERIFY2(found.contains(QStringLiteral("Options de la tâche")), qPrintable(found.join(u'|')));
}

QTEST_MAIN(TestPrintFrench)
#include "tst_printfrench.moc"
