// What a pupil met when using the window with the mouse and the keyboard: refusals of the
// telescope, the panels left behind, fields and boxes that did not react as they look.
#include "config/chargeconfig.h"
#include "config/configfile.h"
#include "config/enregistrer.h"
#include "config/filelist.h"
#include "config/ouvrir.h"
#include "config/recordfile.h"
#include "mainwindow/draghandle.h"
#include "mainwindow/feuillepconfig.h"
#include "mainwindow/figureview.h"
#include "platform/msgbox.h"
#include "tabstripharness.h"
#include "tests/messagelog.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

class TestPupilFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void refusedTelescopeLeavesThePanelAsBefore();
    void telescopeTicksAgainAfterARefusal();
    void unsettledCorrectionsGiveBackTheFields_data();
    void unsettledCorrectionsGiveBackTheFields();
    void loadingShowsNoIntermediateRefusal();
    void saveCutsTheExtensionOfTheFileNameOnly_data();
    void saveCutsTheExtensionOfTheFileNameOnly();
    void rejectedFileIsNotTheSaveTarget();
    void openDialogByKeyboard();
    void saveDialogByKeyboard();
    void fieldShortcuts();
    void pasteIsFiltered();
    void statusLineIsRead();
    void checkBoxesFillTheirPlace_data();
    void checkBoxesFillTheirPlace();
    void tabFollowsTheVisualOrder_data();
    void tabFollowsTheVisualOrder();
    void exerciseButtonShowsTheFocus();
    void boxTickedAndUntickedLeavesTheFigure_data();
    void boxTickedAndUntickedLeavesTheFigure();

private:
    void type(int field, const QString &text);
    void clickBox(QCheckBox *box);
    QStringList fields() const;

    std::unique_ptr<harness::ShownWindow> window;
    FeuilleP *w = nullptr;
    QList<msgbox::Request> asked;
};

void TestPupilFaults::init()
{
    recordMessages(asked);
    window = std::make_unique<harness::ShownWindow>();
    w = &window->w;
    QVERIFY(window->show());
}

void TestPupilFaults::cleanup()
{
    window.reset();
    msgbox::setInterceptor(nullptr);
}

// Typed into the field on its own panel, then Enter.
void TestPupilFaults::type(int field, const QString &text)
{
    QLineEdit *t = w->Text1[size_t(field)];
    const int tab = t->parentWidget() == w->Picture3 ? 1 : 2;
    harness::clickTab(window->strip, tab);
    QVERIFY(t->isVisible());
    t->setFocus();
    t->selectAll();
    QTest::keyClicks(t, text);
    QTest::keyClick(t, Qt::Key_Return);
}

void TestPupilFaults::clickBox(QCheckBox *box)
{
    QWidget *panel = box->parentWidget();
    const int tab = panel == w->Picture3 ? 1
        : panel == w->Picture1           ? 2
        : panel == w->frame2             ? 3
                                         : 4;
    harness::clickTab(window->strip, tab);
    QVERIFY(box->isVisible());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

QStringList TestPupilFaults::fields() const
{
    QStringList texts;
    for (const QLineEdit *t : w->Text1)
        texts << t->text();
    return texts;
}

void TestPupilFaults::refusedTelescopeLeavesThePanelAsBefore()
{
    type(4, QStringLiteral("55"));
    clickBox(w->Check1[6]);
    QCOMPARE(asked.size(), 1);
    QVERIFY(!w->Check1[6]->isChecked());
    for (int i : {2, 3, 8})
        QVERIFY2(w->Text1[size_t(i)]->isHidden(), qPrintable(QString::number(i)));
    QCOMPARE(w->Text1[0]->x(), 190);
    // Another tab and back: still one column, nothing without its caption.
    harness::clickTab(window->strip, 1);
    harness::clickTab(window->strip, 2);
    for (int i : {2, 3, 8})
        QVERIFY(w->Text1[size_t(i)]->isHidden());
    QCOMPARE(w->Text1[0]->x(), 190);
}

void TestPupilFaults::telescopeTicksAgainAfterARefusal()
{
    type(4, QStringLiteral("55"));
    clickBox(w->Check1[6]);
    QCOMPARE(asked.size(), 1);
    type(4, QStringLiteral("12"));
    clickBox(w->Check1[6]);
    QCOMPARE(asked.size(), 1);
    QVERIFY(w->Check1[6]->isChecked());
    QVERIFY(w->lastFigure().telescope);
    QCOMPARE(w->Text1[2]->text(), QStringLiteral("48,2"));
    QCOMPARE(w->Label3[2]->text(), QStringLiteral("0,8 cm"));
    QCOMPARE(w->Label3[3]->text(), QStringLiteral("-0,8 cm"));
    QCOMPARE(w->Label3[4]->text(), QStringLiteral("-17,3 cm"));
    QCOMPARE(w->Label3[5]->text(), QStringLiteral("-2,8 cm"));
}

void TestPupilFaults::unsettledCorrectionsGiveBackTheFields_data()
{
    QTest::addColumn<QString>("how");
    // With an 8 cm mount and a 5 cm focal length the beam after the plane mirror is wider than
    // it is long: each pass moves the lens further down and never catches up with it.
    QTest::newRow("ticking the telescope") << "tick";
    QTest::newRow("typing the focal length") << "type";
    // A 10,1 cm mount and 8 cm focal length settle with the object at 40 cm, not at 30.
    QTest::newRow("dragging the object") << "drag";
}

void TestPupilFaults::unsettledCorrectionsGiveBackTheFields()
{
    QFETCH(QString, how);
    QStringList expected;
    if (how == QLatin1String("tick")) {
        type(1, QStringLiteral("5"));
        expected = fields();
        clickBox(w->Check1[6]);
    } else if (how == QLatin1String("type")) {
        clickBox(w->Check1[6]);
        QVERIFY(w->lastFigure().telescope);
        expected = fields();
        expected[1] = QStringLiteral("-5,0"); // the focal length shows as a negative value
        type(1, QStringLiteral("5"));
    } else {
        w->HScroll2->setValue(101);
        type(1, QStringLiteral("8"));
        type(4, QStringLiteral("40"));
        clickBox(w->Check1[6]);
        QVERIFY(w->lastFigure().telescope);
        QVERIFY(asked.isEmpty());
        expected = fields();
        expected[4] = QStringLiteral("30,0");
        DragHandle *ab = w->handles[0];
        const QPoint grip(ab->width() / 2, ab->height() / 2);
        QTest::mousePress(ab, Qt::LeftButton, {}, grip);
        const QPoint to = grip + QPoint(qRound(-10 * window->sv.echelle), 0);
        QMouseEvent e(QEvent::MouseMove, to, ab->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(ab, &e);
        QTest::mouseRelease(ab, Qt::LeftButton, {}, to);
    }
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Configuration impossible"));
    QVERIFY(!w->Check1[6]->isChecked());
    QVERIFY(!w->lastFigure().telescope);
    QCOMPARE(fields(), expected);
}

void TestPupilFaults::loadingShowsNoIntermediateRefusal()
{
    // Saved with the telescope off and a 30 cm mount, on a 2 m axis.
    FeuillePConfig host(*w);
    for (int i = 0; i < 5; ++i)
        w->Command3_Click(1);
    w->HScroll2->setValue(300);
    ConfigValues values = readControls(host);
    QCOMPARE(values.text1[6], QStringLiteral("30,0"));
    QVERIFY(!values.check1[6]);
    const QString path = window->dir.filePath(QStringLiteral("large.P17"));
    QByteArray bytes;
    QVERIFY(buildConfigFile(values, &bytes) && writeConfigFile(path, bytes));

    // A fresh window in telescope mode opens it.
    harness::ShownWindow other;
    QVERIFY(other.show());
    other.w.Check1[6]->setCheckState(Qt::Checked);
    QVERIFY(other.w.lastFigure().telescope);
    asked.clear();
    FeuillePConfig otherHost(other.w);
    other.sv.fichconfig = path;
    QVERIFY(chargeconfig(otherHost));
    QCOMPARE(asked.size(), 0);
    QCOMPARE(other.w.Text1[6]->text(), QStringLiteral("30,0"));
    QVERIFY(!other.w.Check1[6]->isChecked());
}

void TestPupilFaults::saveCutsTheExtensionOfTheFileNameOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved"); // relative to the test folder
    QTest::newRow("folder with a dot") << "tp.v2/essai.P17"
                                       << "tp.v2/essai.P17";
    QTest::newRow("other extension") << "essai.txt"
                                     << "essai.P17";
    QTest::newRow("two dots in the name") << "essai.v1.txt"
                                          << "essai.P17";
}

void TestPupilFaults::saveCutsTheExtensionOfTheFileNameOnly()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QDir root(window->dir.path());
    QVERIFY(root.mkpath(QStringLiteral("tp.v2")));
    FeuillePConfig host(*w);
    Enregistrer save(host);
    save.show();
    save.File1->setPath(root.path());
    save.Text1->setText(root.filePath(typed));
    QTest::mouseClick(save.Command1, Qt::LeftButton);
    QVERIFY(asked.isEmpty());
    const QString expected = QDir::toNativeSeparators(root.filePath(saved));
    QVERIFY2(QFileInfo::exists(expected), qPrintable(expected));
    QCOMPARE(w->windowTitle(), QStringLiteral("Optalis - ") + expected);
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("tp.P17"))));
}

void TestPupilFaults::rejectedFileIsNotTheSaveTarget()
{
    QDir root(window->dir.path());
    const QString good = QDir::toNativeSeparators(root.filePath(QStringLiteral("bon.P17")));
    FeuillePConfig host(*w);
    {
        Enregistrer save(host);
        save.show();
        save.Text1->setText(good);
        QTest::mouseClick(save.Command1, Qt::LeftButton);
    }
    // A well-formed record file of another program.
    QByteArray bytes;
    QVERIFY(buildConfigFile(readControls(host), &bytes));
    bytes.replace(0, 128, encodeRecord(QStringLiteral("AUTRE")));
    QFile foreign(root.filePath(QStringLiteral("autre.P17")));
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write(bytes);
    foreign.close();
    {
        Ouvrir open(host);
        open.show();
        open.ficharge->setText(QDir::toNativeSeparators(foreign.fileName()));
        QTest::mouseClick(open.Command1, Qt::LeftButton);
    }
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, QStringLiteral("Ce fichier ne correspond pas à cette application"));
    QCOMPARE(window->sv.fichconfig, good);
    Enregistrer save(host);
    QCOMPARE(save.Text1->text(), good);
}

void TestPupilFaults::openDialogByKeyboard()
{
    QDir root(window->dir.path());
    FeuillePConfig host(*w);
    for (const char *name : {"a.P17", "b.P17"}) {
        Enregistrer save(host);
        save.show();
        save.Text1->setText(root.filePath(QLatin1String(name)));
        QTest::mouseClick(save.Command1, Qt::LeftButton);
    }
    w->setWindowTitle(QStringLiteral("Optalis"));
    QDir::setCurrent(root.path());
    Ouvrir open(host);
    open.File1->setPath(root.path());
    open.show();
    QVERIFY(QTest::qWaitForWindowActive(&open));
    QCOMPARE(open.focusWidget(), open.File1);
    QCOMPARE(open.File1->currentRow(), 0);
    QVERIFY(open.Command1->isDefault());
    QTest::keyClick(open.File1, Qt::Key_Down);
    QCOMPARE(open.File1->currentItem()->text(), QStringLiteral("b.P17"));
    QTest::keyClick(open.File1, Qt::Key_Return);
    QVERIFY(asked.isEmpty());
    QVERIFY(!open.isVisible());
    QCOMPARE(w->windowTitle(),
             QStringLiteral("Optalis - ")
                 + QDir::toNativeSeparators(root.filePath(QStringLiteral("b.P17"))));
}

void TestPupilFaults::saveDialogByKeyboard()
{
    QDir root(window->dir.path());
    QDir::setCurrent(root.path());
    FeuillePConfig host(*w);
    Enregistrer save(host);
    save.show();
    QVERIFY(QTest::qWaitForWindowActive(&save));
    QCOMPARE(save.focusWidget(), save.Text1);
    QVERIFY(save.Command1->isDefault());
    save.Text1->selectAll();
    QTest::keyClicks(save.Text1, QStringLiteral("clavier"));
    QTest::keyClick(save.Text1, Qt::Key_Return);
    QVERIFY(asked.isEmpty()); // saved once: a second save would have asked to overwrite
    QVERIFY(!save.isVisible());
    QVERIFY(QFileInfo::exists(root.filePath(QStringLiteral("clavier.P17"))));
}

void TestPupilFaults::fieldShortcuts()
{
    QLineEdit *t = w->Text1[4];
    harness::clickTab(window->strip, 1);
    t->setFocus();
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(t->selectedText(), t->text());
    QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0,0"));
    QTest::keyClick(t, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(t->text(), QString());
    QTest::keyClick(t, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(t->text(), QStringLiteral("0,0"));
    QTest::keyClick(t, Qt::Key_End);
    QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(t->text(), QStringLiteral("0,00,0"));
}

void TestPupilFaults::pasteIsFiltered()
{
    QLineEdit *t = w->Text1[4];
    harness::clickTab(window->strip, 1);
    t->setFocus();
    t->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("x = 12.5 cm"));
    QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(t->text(), QStringLiteral("12,5"));
    QTest::keyClick(t, Qt::Key_Return);
    QCOMPARE(t->text(), QStringLiteral("12,5"));
    QCOMPARE(w->Label3[0]->text(), w->Label3[0]->text()); // drawn without a message
    QVERIFY(asked.isEmpty());
}

namespace {
QStringList announced;
void recordAnnouncement(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::NameChanged && event->object()
        && event->object()->objectName() == QLatin1String("info"))
        announced
            << QAccessible::queryAccessibleInterface(event->object())->text(QAccessible::Name);
}
} // namespace

void TestPupilFaults::statusLineIsRead()
{
    QAccessible::setActive(true);
    announced.clear();
    QAccessible::installUpdateHandler(recordAnnouncement);
    const QPoint over(10, 10);
    QMouseEvent e(QEvent::MouseMove, over, w->Command7->mapToGlobal(over), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->Command7, &e);
    QAccessible::installUpdateHandler(nullptr);
    const QString hint = QStringLiteral("Si vous rencontrez une difficulté avec cette application");
    QCOMPARE(w->info->text(), hint);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w->info);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), hint);
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Ligne d'état"));
    // Announcements reach a screen reader only where the platform has one (not offscreen).
    if (QAccessible::isActive())
        QVERIFY(announced.contains(hint));
}

void TestPupilFaults::checkBoxesFillTheirPlace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("object at infinity") << "Check2" << QSize(201, 13);
    QTest::newRow("telescope") << "Check1_6" << QSize(361, 17);
    QTest::newRow("white background") << "Check1_12" << QSize(105, 17);
    QTest::newRow("extend the rays") << "Check1_0" << QSize(129, 17);
}

void TestPupilFaults::checkBoxesFillTheirPlace()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    auto *box = w->findChild<QCheckBox *>(name);
    QVERIFY(box);
    clickBox(box);
    const bool ticked = box->isChecked();
    QCOMPARE(box->size(), size);
    // The far end of its place, past the end of the caption, ticks it too.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(size.width() - 3, size.height() / 2));
    QCOMPARE(box->isChecked(), !ticked);
}

void TestPupilFaults::tabFollowsTheVisualOrder_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Objets et images") << 1 << QStringList {"Check2", "Text1_4", "Text1_5"};
    QTest::newRow("Dispositif") << 2 << QStringList {"Check1_6", "Text1_0", "Text1_1", "HScroll2"};
    QTest::newRow("Affichage") << 3 << QStringList {"Check1_2",   "Check1_5",   "Check1_11",
                                                    "Check1_4",   "Check1_7",   "Check1_12",
                                                    "Command3_0", "Command3_1", "Check1_17",
                                                    "Commandp_1"}; // "-" disabled at one decimal
    QTest::newRow("Construction") << 4 << QStringList {"Check1_0", "Check1_9",  "HScroll1",
                                                       "Check1_1", "Check1_13", "Check1_14"};
}

void TestPupilFaults::tabFollowsTheVisualOrder()
{
    QFETCH(int, tab);
    QFETCH(QStringList, order);
    harness::clickTab(window->strip, tab);
    auto *first = w->findChild<QWidget *>(order.first());
    first->setFocus();
    QStringList seen {first->objectName()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(seen, order);
}

// The picture of the exercise menu takes the focus by Tab: it must show it, as buttons do.
void TestPupilFaults::exerciseButtonShowsTheFocus()
{
    QVERIFY(QTest::qWaitForWindowActive(w));
    const QImage plain = w->btexo->grab().toImage();
    w->btexo->setFocus(Qt::TabFocusReason);
    QVERIFY(w->btexo->hasFocus());
    const QImage focused = w->btexo->grab().toImage();
    QCOMPARE(focused.pixelColor(1, 1), QColor(Qt::black));
    QCOMPARE(focused.copy(3, 3, plain.width() - 6, plain.height() - 6),
             plain.copy(3, 3, plain.width() - 6, plain.height() - 6)); // the picture unchanged
    QVERIFY(focused != plain);
}

void TestPupilFaults::boxTickedAndUntickedLeavesTheFigure_data()
{
    QTest::addColumn<int>("box");
    QTest::newRow("Graduer les axes") << 17;
    QTest::newRow("Fond blanc") << 12;
    QTest::newRow("Afficher tous les rayons") << 5;
    QTest::newRow("telescope") << 6;
}

// Ticking a box and unticking it again gives back the very picture it started from.
void TestPupilFaults::boxTickedAndUntickedLeavesTheFigure()
{
    QFETCH(int, box);
    const QImage before = w->Picture2->canvas().image().copy();
    QCheckBox *check = w->Check1[size_t(box)];
    clickBox(check);
    QVERIFY(w->Picture2->canvas().image() != before);
    clickBox(check);
    QCOMPARE(w->Picture2->canvas().image(), before);
}

QTEST_MAIN(TestPupilFaults)
#include "tst_pupilfaults.moc"
