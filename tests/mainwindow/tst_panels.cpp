#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "mainwindow/onglets.h"
#include "mainwindow/panels.h"
#include "tabstripharness.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>
#include <memory>

namespace {
enum Anchor { LeftEdge, RightEdge, Centre };

// Width of a text in "Arial" as the panels measure it.
double widthOf(const QString &text, double size = 8, bool bold = false)
{
    Canvas c(1, 1);
    c.setFontName(QStringLiteral("Arial"));
    c.setFontSize(size);
    c.setFontBold(bold);
    return c.textWidth(text);
}
} // namespace
Q_DECLARE_METATYPE(Anchor)

class TestPanels : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void paintedTexts_data();
    void paintedTexts();
    void telescopeLayout_data();
    void telescopeLayout();
    void fieldsMoveBeforeTheFigureIsRedrawn();
    void imageRowsInTelescopeMode();
    void apparentDiameterCaption();
    void captionsFollowTheSwitchesAtOnce_data();
    void captionsFollowTheSwitchesAtOnce();
    void precisionBox();
    void pixels_data();
    void pixels();

private:
    void activate(int tab);
    Panel *panel(int tab) const;
    // Texts painted by the panel of `tab` at its next painting.
    QList<Canvas::Op> paintedOps(int tab);
    static QList<Canvas::Op> texts(const QList<Canvas::Op> &ops, const QString &text);

    std::unique_ptr<harness::ShownWindow> window;
    FeuilleP *w = nullptr;
    TabStrip *strip = nullptr;
};

void TestPanels::init()
{
    window = std::make_unique<harness::ShownWindow>();
    w = &window->w;
    strip = window->strip;
    QVERIFY(window->show());
}

void TestPanels::cleanup()
{
    window.reset();
}

void TestPanels::activate(int tab)
{
    harness::clickTab(strip, tab);
    QCoreApplication::processEvents();
    QVERIFY(strip->panel(tab)->isVisible());
}

Panel *TestPanels::panel(int tab) const
{
    return qobject_cast<Panel *>(strip->panel(tab));
}

QList<Canvas::Op> TestPanels::paintedOps(int tab)
{
    Panel *p = panel(tab);
    p->canvas().setRecording(true);
    p->repaint();
    const std::vector<Canvas::Op> &ops = p->canvas().ops();
    QList<Canvas::Op> out(ops.begin(), ops.end());
    p->canvas().setRecording(false);
    return out;
}

QList<Canvas::Op> TestPanels::texts(const QList<Canvas::Op> &ops, const QString &text)
{
    QList<Canvas::Op> out;
    for (const Canvas::Op &op : ops)
        if (op.kind == Canvas::Op::Text && op.text == text)
            out.append(op);
    return out;
}

void TestPanels::paintedTexts_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<Anchor>("anchor");
    QTest::addColumn<double>("x"); // left edge, right edge or centre of the text
    QTest::addColumn<double>("y");
    const double half = 401 / 2.0; // the panels are 401 pixels wide
    QTest::newRow("objects: title") << 1 << "Objet AB" << true << LeftEdge << 10.0 << 10.0;
    QTest::newRow("objects: before the position field")
        << 1 << "Position (cm) : " << false << RightEdge << 120.0 << 55.0;
    QTest::newRow("objects: image name") << 1 << "A'B'" << true << LeftEdge << 10.0 << 88.0;
    QTest::newRow("objects: before the image position")
        << 1 << "Position : " << false << RightEdge << 144.0 << 88.0;
    QTest::newRow("objects: before the image height")
        << 1 << "Hauteur : " << false << RightEdge << 296.0 << 88.0;
    QTest::newRow("device: one title") << 2 << "Miroir sphérique" << true << Centre << half << 38.0;
    QTest::newRow("device: mirror position")
        << 2 << "Position (cm) : " << false << RightEdge << 190.0 << 67.0;
    QTest::newRow("device: mount")
        << 2 << "Diamètre de la monture : " << false << RightEdge << 198.0 << 123.0;
    QTest::newRow("display: axis title 27 pixels below Fond blanc")
        << 3 << "Axe optique" << true << LeftEdge << 10.0 << 91.0;
    QTest::newRow("display: axis length")
        << 3 << "Longueur de l'axe principal : " << false << RightEdge << 176.0 << 110.0;
    QTest::newRow("display: precision")
        << 3 << "Précision des positions : " << false << RightEdge << 176.0 << 136.0;
    QTest::newRow("display: ten before the exponent")
        << 3 << "10" << false << RightEdge << 212.0 << 136.0;
    QTest::newRow("display: unit after the exponent")
        << 3 << "cm" << false << LeftEdge << 229.0 << 136.0;
    QTest::newRow("construction: title")
        << 4 << "Construction du rayon incident issu de B :" << true << LeftEdge << 10.0 << 78.0;
    QTest::newRow("construction: through the centre")
        << 4 << "passant par le centre C" << false << LeftEdge << 150.0 << 99.0;
    QTest::newRow("construction: parallel")
        << 4 << "parallèle à l'axe optique" << false << LeftEdge << 150.0 << 139.0;
    QTest::newRow("construction: arrows")
        << 4 << "Position des flèches : " << false << RightEdge << 252.0 << 49.0;
}

void TestPanels::paintedTexts()
{
    QFETCH(int, tab);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(Anchor, anchor);
    QFETCH(double, x);
    QFETCH(double, y);
    activate(tab);
    QCOMPARE(panel(tab)->width(), 401);
    const QList<Canvas::Op> found = texts(paintedOps(tab), text);
    QCOMPARE(found.size(), 1);
    const double width = widthOf(text, 8, bold);
    const double expectedLeft
        = anchor == LeftEdge ? x : (anchor == RightEdge ? x - width : x - width / 2);
    QVERIFY2(qAbs(found[0].x1 - expectedLeft) < 1e-6,
             qPrintable(QStringLiteral("left %1, expected %2").arg(found[0].x1).arg(expectedLeft)));
    QCOMPARE(found[0].y1, y);
    QCOMPARE(found[0].color, qRgb(0, 0, 0) & 0xffffffu);
}

void TestPanels::telescopeLayout_data()
{
    QTest::addColumn<bool>("telescope");
    QTest::addColumn<int>("fieldX");
    QTest::addColumn<int>("mountX");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("positionCaptions");
    QTest::newRow("one column") << false << 190 << 198 << QStringList {"Miroir sphérique"} << 1;
    QTest::newRow("two columns") << true << 120 << 128
                                 << QStringList {"Miroir sphérique (primaire)",
                                                 "Miroir plan (secondaire)", "Lentille"}
                                 << 3;
}

void TestPanels::telescopeLayout()
{
    QFETCH(bool, telescope);
    QFETCH(int, fieldX);
    QFETCH(int, mountX);
    QFETCH(QStringList, titles);
    QFETCH(int, positionCaptions);
    activate(2);
    w->Check1[6]->setChecked(telescope);
    QCOMPARE(w->Text1[0]->pos(), QPoint(fieldX, 64));
    QCOMPARE(w->Text1[1]->pos(), QPoint(fieldX, 92));
    QCOMPARE(w->HScroll2->pos(), QPoint(mountX, 120));
    for (int i : {2, 3, 8})
        QCOMPARE(w->Text1[size_t(i)]->isVisible(), telescope);
    const QList<Canvas::Op> ops = paintedOps(2);
    QStringList painted;
    for (const char *t : {"Miroir sphérique", "Miroir sphérique (primaire)",
                          "Miroir plan (secondaire)", "Lentille"})
        if (!texts(ops, QString::fromUtf8(t)).isEmpty())
            painted.append(t);
    QCOMPARE(painted, titles);
    QCOMPARE(texts(ops, QStringLiteral("Position (cm) : ")).size(), positionCaptions);
    if (telescope) {
        // The right column's captions end at its fields.
        const QList<Canvas::Op> focal = texts(ops, QStringLiteral("Distance focale (cm) : "));
        QCOMPARE(focal.size(), 2);
        QCOMPARE(focal[1].y1, 139.0);
        QVERIFY(qAbs(focal[1].x1 + widthOf(focal[1].text) - 320) < 1e-6);
    }
}

void TestPanels::fieldsMoveBeforeTheFigureIsRedrawn()
{
    activate(2);
    // Runs when the click handler lets pending events through, just before it redraws.
    int fieldX = -1;
    size_t figureOps = 1;
    Canvas &figure = w->Picture2->canvas();
    figure.setRecording(true);
    QMetaObject::invokeMethod(
        this,
        [&] {
            fieldX = w->Text1[0]->x();
            figureOps = figure.ops().size();
        },
        Qt::QueuedConnection);
    w->Check1[6]->setChecked(true);
    QCOMPARE(figureOps, size_t(0));
    QCOMPARE(fieldX, 120);
    QVERIFY(!figure.ops().empty());
    figure.setRecording(false);
}

void TestPanels::imageRowsInTelescopeMode()
{
    w->Check1[6]->setChecked(true);
    const QList<Canvas::Op> ops = paintedOps(1);
    // Letters on the row, digits 4 pixels lower, in printing order.
    QStringList rows;
    for (const Canvas::Op &op : ops)
        if (op.kind == Canvas::Op::Text && op.x1 < 60 && op.y1 >= 88)
            rows.append(QStringLiteral("%1@%2").arg(op.text).arg(op.y1));
    QCOMPARE(rows,
             QStringList({"A@88", "1@92", "B@88", "1@92", "A'@112", "1@116", "B'@112", "1@116",
                          "A@136", "2@140", "B@136", "2@140"}));
    QCOMPARE(texts(ops, QStringLiteral("A'B'")).size(), 0);
    QCOMPARE(texts(ops, QStringLiteral("Position : ")).size(), 3);
    QCOMPARE(texts(ops, QStringLiteral("Hauteur : ")).size(), 3);
    // Each subscript follows its letter.
    const QList<Canvas::Op> a = texts(ops, QStringLiteral("A"));
    const QList<Canvas::Op> one = texts(ops, QStringLiteral("1"));
    QVERIFY(qAbs(one[0].x1 - a[0].x1 - widthOf(QStringLiteral("A"), 8, true)) < 1e-6);
}

void TestPanels::apparentDiameterCaption()
{
    w->Check2->setChecked(true);
    QVERIFY(w->Label1->isVisibleTo(w->Picture3));
    QVERIFY(w->HScroll3->isVisibleTo(w->Picture3));
    QVERIFY(!w->Text1[4]->isVisibleTo(w->Picture3));
    const QList<Canvas::Op> ops = paintedOps(1);
    const QList<Canvas::Op> sentence = texts(ops, QStringLiteral("Diamètre apparent : "));
    const QList<Canvas::Op> alpha = texts(ops, QStringLiteral("α"));
    const QList<Canvas::Op> equals = texts(ops, QStringLiteral(" = "));
    QCOMPARE(sentence.size(), 1);
    QCOMPARE(alpha.size(), 1);
    QCOMPARE(equals.size(), 1);
    QVERIFY(qAbs(sentence[0].x1 + widthOf(QStringLiteral("Diamètre apparent : a =   "))
                 - w->Label1->x())
            < 1e-6);
    QCOMPARE(sentence[0].y1, 55.0);
    // The Greek letter is larger and 2 pixels higher; " = " stays at its height.
    QCOMPARE(alpha[0].y1, 53.0);
    QVERIFY(qAbs(alpha[0].x1 - sentence[0].x1 - widthOf(sentence[0].text)) < 1e-6);
    QCOMPARE(equals[0].y1, 53.0);
    QVERIFY(qAbs(equals[0].x1 - alpha[0].x1 - widthOf(QStringLiteral("α"), 10)) < 1e-6);
    QVERIFY(texts(ops, QStringLiteral("Position (cm) : ")).isEmpty());
    QVERIFY(QFontMetricsF(panelFont(10)).inFont(QChar(0x3b1)));
}

void TestPanels::captionsFollowTheSwitchesAtOnce_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("appears");
    QTest::newRow("object at infinity") << "Check2"
                                        << "Diamètre apparent : ";
    QTest::newRow("telescope mode") << "Check1_6"
                                    << "B'";
}

void TestPanels::captionsFollowTheSwitchesAtOnce()
{
    QFETCH(QString, box);
    QFETCH(QString, appears);
    QVERIFY(panel(1)->isVisible());
    QCOMPARE(texts(paintedOps(1), appears).size(), 0);
    QCoreApplication::processEvents();
    // The controls that the switch shows or hides are repainted anyway; the captions beside
    // them must be too.
    struct Repainted : QObject
    {
        QRegion region;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                region += static_cast<QPaintEvent *>(e)->region();
            return false;
        }
    } repainted;
    panel(1)->installEventFilter(&repainted);
    panel(1)->canvas().setRecording(true);
    w->findChild<QCheckBox *>(box)->setChecked(true);
    QTRY_VERIFY((QRegion(panel(1)->rect()) - repainted.region).isEmpty());
    panel(1)->removeEventFilter(&repainted);
    const std::vector<Canvas::Op> &ops = panel(1)->canvas().ops();
    QCOMPARE(texts(QList<Canvas::Op>(ops.begin(), ops.end()), appears).size(), 1);
}

void TestPanels::precisionBox()
{
    activate(3);
    const QList<Canvas::Op> ops = paintedOps(3);
    // The white box between the buttons, then its outline.
    QList<Canvas::Op> boxes;
    for (const Canvas::Op &op : ops)
        if (op.kind == Canvas::Op::FilledBox || op.kind == Canvas::Op::Box)
            boxes.append(op);
    QCOMPARE(boxes.size(), 2);
    for (const Canvas::Op &op : boxes)
        QCOMPARE(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)), QRectF(193, 131, 55, 21));
    QCOMPARE(boxes[0].kind, Canvas::Op::FilledBox);
    QCOMPARE(boxes[0].color, 0xffffffu);
    QCOMPARE(boxes[1].color, 0u);
    // The exponent is written 4 pixels above the line of "10", in the box.
    QCOMPARE(w->Label4->geometry(), QRect(212, 132, 17, 17));
    QCOMPARE(texts(ops, QStringLiteral("10"))[0].y1 - w->Label4->y(), 4.0);
    QCOMPARE(QColor(w->frame2->grab().toImage().pixel(193, 140)), QColor(Qt::black));
}

void TestPanels::pixels_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("telescope");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");
    const QColor back(240, 235, 230), grey(128, 128, 128), white(Qt::white);
    QTest::newRow("panel background") << 1 << false << QPoint(380, 150) << back;
    QTest::newRow("value label on the panel background") << 1 << false << QPoint(235, 102) << back;
    QTest::newRow("scale label on white") << 3 << false << QPoint(196, 122) << white;
    QTest::newRow("separator shadow under the check box") << 2 << false << QPoint(50, 30) << grey;
    QTest::newRow("one column: no middle separator") << 2 << false << QPoint(200, 150) << back;
    QTest::newRow("two columns: middle shadow") << 2 << true << QPoint(200, 150) << grey;
    QTest::newRow("two columns: middle light") << 2 << true << QPoint(202, 150) << white;
}

void TestPanels::pixels()
{
    QFETCH(int, tab);
    QFETCH(bool, telescope);
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    w->Check1[6]->setChecked(telescope);
    activate(tab);
    const QImage shot = panel(tab)->grab().toImage();
    QCOMPARE(QColor(shot.pixel(at)), colour);
}

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
