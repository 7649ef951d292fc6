#include "mainwindow/feuillep.h"
#include "mainwindow/onglets.h"
#include "tabstripharness.h"

#include <QLabel>
#include <QtTest>
#include <memory>

class TestOnglets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startUpShowsTheFirstTab();
    void release_data();
    void release();
    void activeCaption_data();
    void activeCaption();
    void boldCaptionWidensItsTab();
    void panelInTheSunkenFrame_data();
    void panelInTheSunkenFrame();
    void hints_data();
    void hints();

private:
    void activate(int tab);
    int captionInk(int tab);

    std::unique_ptr<harness::ShownWindow> window;
    FeuilleP *w = nullptr;
    TabStrip *strip = nullptr;
};

void TestOnglets::init()
{
    window = std::make_unique<harness::ShownWindow>();
    w = &window->w;
    strip = window->strip;
    QVERIFY(window->show());
}

void TestOnglets::cleanup()
{
    window.reset();
}

void TestOnglets::activate(int tab)
{
    harness::clickTab(strip, tab);
    QCOMPARE(strip->ongletactif, int16_t(tab));
}

// Black pixels in the caption band of a tab.
int TestOnglets::captionInk(int tab)
{
    strip->repaint();
    const QImage image = strip->canvas().image();
    int ink = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = strip->bordonglet[size_t(tab - 1)] + 1; x < strip->bordonglet[size_t(tab)];
             ++x)
            ink += (image.pixel(x, y) & 0xffffff) == 0;
    return ink;
}

void TestOnglets::startUpShowsTheFirstTab()
{
    QCOMPARE(strip->ongletactif, int16_t(1));
    QVERIFY(w->Picture3->isVisible());
    for (QWidget *hidden : {w->Picture1, w->frame2, w->Picture6})
        QVERIFY(!hidden->isVisible());
    const QStringList captions(strip->titreonglet.begin() + 1, strip->titreonglet.begin() + 5);
    QCOMPARE(captions,
             QStringList({"Objets et images", "Dispositif", "Affichage", "Construction"}));
}

void TestOnglets::release_data()
{
    QTest::addColumn<int>("startTab");
    QTest::addColumn<int>("boundary"); // X = bordonglet(boundary) + dx
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("expected");
    const int left = Qt::LeftButton;
    QTest::newRow("Y = 15 still chooses") << 1 << 3 << -5 << 15 << left << 3;
    QTest::newRow("Y = 16 chooses nothing") << 1 << 3 << -5 << 16 << left << 1;
    QTest::newRow("above the strip chooses nothing") << 1 << 2 << -5 << -1 << left << 1;
    QTest::newRow("exactly on a boundary: the tab on its left") << 1 << 2 << 0 << 8 << left << 2;
    QTest::newRow("just right of a boundary: the next tab") << 1 << 2 << 1 << 8 << left << 3;
    QTest::newRow("right edge belongs to tab 4") << 1 << 4 << 0 << 8 << left << 4;
    QTest::newRow("beside the strip on the right keeps the active tab")
        << 3 << 4 << 10 << 8 << left << 3;
    QTest::newRow("beside the strip on the left keeps the active tab")
        << 2 << 0 << -4 << 8 << left << 2;
    QTest::newRow("right button chooses too") << 4 << 1 << -5 << 8 << int(Qt::RightButton) << 1;
}

void TestOnglets::release()
{
    QFETCH(int, startTab);
    QFETCH(int, boundary);
    QFETCH(int, dx);
    QFETCH(int, y);
    QFETCH(int, button);
    QFETCH(int, expected);
    if (startTab != 1)
        activate(startTab);
    const QPointF at(strip->bordonglet[size_t(boundary)] + dx, y);
    QMouseEvent up(QEvent::MouseButtonRelease, at, strip->mapToGlobal(at), Qt::MouseButton(button),
                   Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &up);
    QCOMPARE(strip->ongletactif, int16_t(expected));
    QVERIFY(strip->panel(expected)->isVisible());
}

void TestOnglets::activeCaption_data()
{
    QTest::addColumn<int>("tab");
    for (int tab = 1; tab <= 4; ++tab)
        QTest::addRow("tab %d active", tab) << tab;
}

// The active caption sits one pixel lower; every caption is one gap right of its tab's edge.
void TestOnglets::activeCaption()
{
    QFETCH(int, tab);
    activate(tab);
    strip->canvas().setRecording(true);
    strip->repaint();
    QList<Canvas::Op> texts;
    for (const Canvas::Op &op : strip->canvas().ops())
        if (op.kind == Canvas::Op::Text)
            texts.append(op);
    strip->canvas().setRecording(false);
    QCOMPARE(texts.size(), 4);
    const double gap = texts[0].x1 - strip->bordonglet[0];
    QVERIFY(gap > 2);
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(texts[i - 1].text, strip->titreonglet[size_t(i)]);
        QCOMPARE(texts[i - 1].y1, i == tab ? 2.0 : 1.0);
        QVERIFY(qAbs(texts[i - 1].x1 - strip->bordonglet[size_t(i - 1)] - gap) < 1e-9);
    }
    QCOMPARE(strip->bordonglet[0], int16_t(-1));
    QCOMPARE(strip->bordonglet[4], int16_t(strip->width()));
}

void TestOnglets::boldCaptionWidensItsTab()
{
    const auto width = [this](size_t i) { return strip->bordonglet[i] - strip->bordonglet[i - 1]; };
    const int firstActive = width(1), secondInactive = width(2);
    const int inkActive = captionInk(1);
    activate(2);
    QVERIFY(inkActive > captionInk(1) + 10);
    QVERIFY(width(1) < firstActive);
    QVERIFY(width(2) > secondInactive);
}

void TestOnglets::panelInTheSunkenFrame_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("objects") << 1;
    QTest::newRow("device") << 2;
    QTest::newRow("display") << 3;
    QTest::newRow("construction") << 4;
}

void TestOnglets::panelInTheSunkenFrame()
{
    QFETCH(int, tab);
    activate(tab);
    QWidget *panel = strip->panel(tab);
    QCOMPARE(panel->x(), 4);
    QCOMPARE(panel->width(), strip->width() - 8);
    QCOMPARE(panel->y() + panel->height(), strip->height() - 4);
    const int th = panel->y() - 5;
    QVERIFY(th >= 11 && th <= 15);
    const QImage image = strip->canvas().image();
    const auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
    const QColor grey(128, 128, 128), white(Qt::white), beige(210, 205, 200);
    QCOMPARE(at(3, 60), grey); // shadow on the left and on top
    QCOMPARE(at(60, th + 4), grey);
    QCOMPARE(at(strip->width() - 4, 60), white); // light on the right and at the bottom
    QCOMPARE(at(60, strip->height() - 4), white);
    // The base line of the tabs stays open under the active one.
    for (int i = 1; i <= 4; ++i) {
        const int mid = (strip->bordonglet[size_t(i - 1)] + strip->bordonglet[size_t(i)]) / 2;
        QCOMPARE(at(mid, th + 1), i == tab ? beige : white);
    }
}

void TestOnglets::hints_data()
{
    QTest::addColumn<int>("tab"); // 0: the strip itself
    QTest::addColumn<QString>("hint");
    QTest::newRow("strip") << 0 << "Cliquer sur un onglet pour l'afficher";
    QTest::newRow("objects") << 1 << "Positions et dimensions de l'objet et des images";
    QTest::newRow("device") << 2 << "Vous pouvez définir les paramètres du dispositif";
    QTest::newRow("display")
        << 3 << "Les options d'affichage s'appliquent également à l'image copiée ou imprimée.";
    QTest::newRow("construction") << 4 << "Représentation de la construction de l'image";
}

// Moving over the strip or a panel shows its hint, not the window's behind it.
void TestOnglets::hints()
{
    QFETCH(int, tab);
    QFETCH(QString, hint);
    QWidget *target = strip;
    if (tab > 0) {
        activate(tab);
        target = strip->panel(tab);
    }
    w->info->clear();
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QCOMPARE(w->info->text(), hint);
}

QTEST_MAIN(TestOnglets)
#include "tst_onglets.moc"
