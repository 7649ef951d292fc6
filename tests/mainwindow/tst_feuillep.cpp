#include "config/recordfile.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"
#include "tests/messagelog.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>
#include <memory>

class TestFeuilleP : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void exchangeFileAtStartUp();
    void activationReadsAndEmptiesTheRequest();
    void closing_data();
    void closing();
    void canvasFollowsTheWindowWidth();
    void enlargeAndReduce();
    void imageLabelsAfterStartUp();
    void statusHints_data();
    void statusHints();
    void copyConfirmationStaysOnTheCopyButton();
    void backgroundGradient();
    void everyControlIsNamed();
    void mainWindowIsAFrameNamedByItsCaption();
    void helpOpensBesideTheProgram();
    void missingHelpIsReported();

private:
    QByteArray exchangeBytes() const;
    QString record(int n) const;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedValues> sv;
    std::unique_ptr<FeuilleP> w;
    QList<msgbox::Request> asked;
    QList<msgbox::Answer> answers;
};

void TestFeuilleP::init()
{
    dir = std::make_unique<QTemporaryDir>();
    sv = std::make_unique<SharedValues>();
    recordMessages(asked, &answers, msgbox::Answer::Cancel);
    w = std::make_unique<FeuilleP>(*sv, dir->path());
}

void TestFeuilleP::cleanup()
{
    w.reset();
    msgbox::setInterceptor(nullptr);
}

QByteArray TestFeuilleP::exchangeBytes() const
{
    QFile f(w->exchangeFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TestFeuilleP::record(int n) const
{
    QString text;
    QFile f(w->exchangeFile());
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<unreadable>");
    RecordFile rf(&f);
    return rf.read(n, &text) ? text : QStringLiteral("<bad>");
}

void TestFeuilleP::exchangeFileAtStartUp()
{
    const QByteArray bytes = exchangeBytes();
    QCOMPARE(bytes.size(), 11 * 128);
    QCOMPARE(bytes.mid(10 * 128, 5), QByteArray("\x03\x00OUI", 5));
    QCOMPARE(bytes.mid(10 * 128 + 5), QByteArray(123, '\0'));
    QCOMPARE(bytes.left(10 * 128), QByteArray(10 * 128, '\0'));
}

void TestFeuilleP::activationReadsAndEmptiesTheRequest()
{
    QVERIFY(writeRecordsAt(w->exchangeFile(), {{31, QStringLiteral("exo3.E38")}}));
    QCOMPARE(record(31), QStringLiteral("exo3.E38"));
    w->Form_Activate();
    QCOMPARE(record(31), QString());
    QCOMPARE(record(11), QStringLiteral("OUI"));
    // No such exercise beside the program: said once, as a file that cannot be read.
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Lecture impossible"));
    QCOMPARE(exchangeBytes().size(), 31 * 128);
}

void TestFeuilleP::closing_data()
{
    QTest::addColumn<bool>("textEdited");
    QTest::addColumn<QList<msgbox::Answer>>("given");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closes");
    using A = msgbox::Answer;
    QTest::newRow("confirmed") << false << QList<A> {A::Ok} << 1 << true;
    QTest::newRow("cancelled") << false << QList<A> {A::Cancel} << 1 << false;
    QTest::newRow("edited text, cancel at the first question")
        << true << QList<A> {A::Cancel} << 1 << false;
    QTest::newRow("edited text, OK then cancel")
        << true << QList<A> {A::Ok, A::Cancel} << 2 << false;
    QTest::newRow("edited text, both confirmed") << true << QList<A> {A::Ok, A::Ok} << 2 << true;
}

void TestFeuilleP::closing()
{
    QFETCH(bool, textEdited);
    QFETCH(QList<msgbox::Answer>, given);
    QFETCH(int, questions);
    QFETCH(bool, closes);
    QVERIFY(writeRecordsAt(w->exchangeFile(), {{31, QStringLiteral("exo1.E38")}}));
    sv->textemodif = textEdited ? 1 : 0;
    answers = given;
    w->show();
    QCOMPARE(w->close(), closes);
    QCOMPARE(asked.size(), questions);
    const bool stoppedAtFirst = textEdited && questions == 1;
    QCOMPARE(asked.last().text,
             stoppedAtFirst ? QStringLiteral("Attention: perte des modifications du texte.")
                            : QStringLiteral("Quitter vraiment Optalis ?"));
    QCOMPARE(asked.first().icon, msgbox::Icon::Question);
    QCOMPARE(asked.first().buttons, msgbox::Buttons::OkCancel);
    if (textEdited)
        QCOMPARE(asked.first().title, QStringLiteral("Abandon des données?"));
    else
        QCOMPARE(asked.first().title, QStringLiteral("Fermer"));
    QCOMPARE(record(11), closes ? QStringLiteral("NON") : QStringLiteral("OUI"));
    QCOMPARE(record(31), closes ? QString() : QStringLiteral("exo1.E38"));
}

void TestFeuilleP::canvasFollowsTheWindowWidth()
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (int width : {791, 900, 640}) {
        w->resize(width, 546);
        QCOMPARE(w->Picture2->width(), w->width() - 16);
    }
}

void TestFeuilleP::enlargeAndReduce()
{
    QCOMPARE(w->Picture2->height(), 265);
    w->Command5->click();
    QCOMPARE(w->Picture2->height(), 501);
    QCOMPARE(w->Command5->toolTip(), QStringLiteral("Diminuer"));
    QCOMPARE(w->Picture2->canvas().pixelHeight(), 501);
    w->Command5->click();
    QCOMPARE(w->Picture2->height(), 265);
    QCOMPARE(w->Command5->toolTip(), QStringLiteral("Agrandir"));
}

void TestFeuilleP::imageLabelsAfterStartUp()
{
    QCOMPARE(w->Label3[0]->text(), QStringLiteral("48,0 cm"));
    QCOMPARE(w->Label3[1]->text(), QStringLiteral("-0,6 cm"));
    QCOMPARE(sv->longaxe, int16_t(60));
    QCOMPARE(w->Label2->text(), QStringLiteral("60 cm"));
    QCOMPARE(w->HScroll2->maximum(), 101);
    // The figure is on the canvas: the white axis at mid-height.
    QCOMPARE(w->Picture2->canvas().pixel(100, 135) & 0xffffff, 0xffffffu);
}

void TestFeuilleP::statusHints_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    QTest::newRow("canvas") << "Picture2"
                            << "Vous pouvez déplacer les objets avec la souris et agrandir cette "
                               "fenêtre";
    QTest::newRow("enlarge") << "Command5"
                             << "Cliquer pour agrandir la fenêtre";
    QTest::newRow("close") << "Command1"
                           << "Pour retrouver le module principal et quitter cette application";
    QTest::newRow("open") << "Command2"
                          << "Pour retrouver une situation enregistrée";
    QTest::newRow("help") << "Command7"
                          << "Si vous rencontrez une difficulté avec cette application";
    QTest::newRow("calculator") << "Command8"
                                << "Afficher la machine à calculer";
    QTest::newRow("print") << "Command10"
                           << "Configurer l'imprimante et imprimer l'image";
    QTest::newRow("save") << "Command11"
                          << "Enregistrer les paramètres en cours";
    QTest::newRow("exercises") << "btexo"
                               << "Ouvrir un énoncé, enregistrer le texte, obtenir la correction, "
                                  "imprimer ou fermer";
    QTest::newRow("tab strip") << "Onglets"
                               << "Cliquer sur un onglet pour l'afficher";
    QTest::newRow("object handle") << "AB"
                                   << "Vous pouvez utiliser la souris pour déplacer l'objet";
}

void TestFeuilleP::statusHints()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);
    auto *target = w->findChild<QWidget *>(control);
    QVERIFY(target);
    QTest::mouseMove(target, QPoint(2, 2));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(target, &enter);
    QCOMPARE(w->info->text(), hint);
    // A move over the control that reaches the window must not undo the hint.
    const QPointF inside = target->mapTo(w.get(), QPointF(2, 2));
    QMouseEvent over(QEvent::MouseMove, inside, inside, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.get(), &over);
    QCOMPARE(w->info->text(), hint);
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 300), QPointF(3, 300), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.get(), &move);
    QCOMPARE(w->info->text(), FeuilleP::restText());
}

void TestFeuilleP::copyConfirmationStaysOnTheCopyButton()
{
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(w->Command4, &enter);
    QCOMPARE(w->info->text(),
             QStringLiteral("Copier pour placer l'image dans le presse- papiers "
                            "puis coller depuis Word, Paint..."));
    w->info->setText(sv->msgcopie);
    QCoreApplication::sendEvent(w->Command4, &enter);
    QCOMPARE(w->info->text(), sv->msgcopie);
}

void TestFeuilleP::backgroundGradient()
{
    const QImage shot = w->grab().toImage();
    // Row 300: 255 - 27.5 and 255 - 37.5, halves to even.
    QCOMPARE(QColor(shot.pixel(3, 300)), QColor(228, 228, 218));
    QCOMPARE(QColor(shot.pixel(3, 45)), QColor(251, 251, 249));
}

void TestFeuilleP::everyControlIsNamed()
{
    const auto widgets = w->findChildren<QWidget *>();
    for (QWidget *c : widgets) {
        const bool control = qobject_cast<QAbstractButton *>(c) || qobject_cast<QLineEdit *>(c)
            || qobject_cast<QScrollBar *>(c) || qobject_cast<QTextEdit *>(c);
        if (!control || c->objectName().startsWith(QLatin1String("qt_")))
            continue;
        bool inner = false; // parts of a compound Qt control
        for (QWidget *p = c->parentWidget(); p && p != w.get(); p = p->parentWidget())
            inner |= qobject_cast<QAbstractScrollArea *>(p) || qobject_cast<QAbstractButton *>(p);
        if (inner)
            continue;
        QVERIFY2(!c->objectName().isEmpty(), c->metaObject()->className());
        QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(c->objectName()));
    }
    for (QLabel *l : w->Label3)
        QVERIFY(!l->accessibleDescription().isEmpty());
}

void TestFeuilleP::mainWindowIsAFrameNamedByItsCaption()
{
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(w.get());
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Optalis"));
    // The caption names the configuration in use: so does the window.
    w->setWindowTitle(QStringLiteral("Optalis - réglage.P17"));
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Optalis - réglage.P17"));
}

void TestFeuilleP::helpOpensBesideTheProgram()
{
    QVERIFY(QFile::copy(QStringLiteral(OPTALIS_DATA_DIR "/Qvex.html"),
                        dir->filePath(QStringLiteral("Qvex.html"))));
    w->Command7->click();
    QVERIFY(asked.isEmpty());
    QWidget *help = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("aide") && top->isVisible())
            help = top;
    QVERIFY(help);
    QVERIFY(!w->Picture2->backgroundPicture().isNull());
    help->close();
}

void TestFeuilleP::missingHelpIsReported()
{
    w->Command7->click();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().text.contains(QLatin1String("Qvex.hlp")));
}

QTEST_MAIN(TestFeuilleP)
#include "tst_feuillep.moc"
