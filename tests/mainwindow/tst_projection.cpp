#include "mainwindow/draghandle.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/figureview.h"
#include "mainwindow/projectionscreen.h"
#include "platform/numbers.h"
#include "platform/sharedvalues.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestProjection : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void figureOfEachMode_data();
    void figureOfEachMode();
    void handlesFollowAndDrag_data();
    void handlesFollowAndDrag();
    void fullScreenComesAndGoes_data();
    void fullScreenComesAndGoes();
    void valuesUnderTheFigure_data();
    void valuesUnderTheFigure();
    void fullScreenOnTheWindowsScreen_data();
    void fullScreenOnTheWindowsScreen();
    void modeRemembered_data();
    void modeRemembered();

private:
    // "window", "projection" or "full screen".
    void enter(const QByteArray &mode);

    std::unique_ptr<QTemporaryDir> settingsDir;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SharedValues> sv;
    std::unique_ptr<FeuilleP> w;
};

void TestProjection::initTestCase()
{
    // The user's own settings are neither read nor written.
    settingsDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir->path());
}

void TestProjection::init()
{
    QSettings(QStringLiteral("optalis"), QStringLiteral("optalis")).clear();
    dir = std::make_unique<QTemporaryDir>();
    sv = std::make_unique<SharedValues>();
    w = std::make_unique<FeuilleP>(*sv, dir->path());
}

void TestProjection::cleanup()
{
    w.reset();
}

void TestProjection::enter(const QByteArray &mode)
{
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    if (mode == "projection")
        w->projectionBox->click();
    if (mode == "full screen") {
        QTest::keyClick(w.get(), Qt::Key_F11);
        QVERIFY(w->fullScreen());
        // The screen takes the keys once the system has activated it.
        QTRY_COMPARE(QApplication::activeWindow(), w->Picture2->window());
    }
}

namespace {
// Rows in the column `x` that are not of the background `back`.
int rowsOver(const QImage &image, int x, QRgb back)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += (image.pixel(x, y) & 0xffffff) != (back & 0xffffff);
    return n;
}
} // namespace

// What the window shows is the figure in the style of its mode, on the chosen background:
// the axis as wide as the mode says, at the figure's zoom.
void TestProjection::figureOfEachMode_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<bool>("white");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<double>("textScale");
    QTest::newRow("window") << QByteArray("window") << false << 1 << 1.0;
    QTest::newRow("projection") << QByteArray("projection") << false << 2 << 1.5;
    QTest::newRow("full screen") << QByteArray("full screen") << false << 3 << 2.0;
    QTest::newRow("projection, white background") << QByteArray("projection") << true << 2 << 1.5;
    QTest::newRow("full screen, white background") << QByteArray("full screen") << true << 3 << 2.0;
}

void TestProjection::figureOfEachMode()
{
    QFETCH(QByteArray, mode);
    QFETCH(bool, white);
    QFETCH(int, lineWidth);
    QFETCH(double, textScale);
    // Only the axis crosses the figure's left part: no rays.
    for (int box : {1, 13, 14})
        w->Check1[size_t(box)]->setChecked(false);
    w->Check1[12]->setChecked(white);
    enter(mode);
    FigureView *figure = w->Picture2;
    const double zoom = figure->zoom();
    // The figure alone, without the button over its corner.
    QImage shown(figure->size(), QImage::Format_RGB32);
    figure->render(&shown, {}, {}, QWidget::DrawWindowBackground);
    const DisplayList &list = figure->canvas().displayList();
    QCOMPARE(list.back & 0xffffff, white ? 0xffffffu : 0u);
    QImage expected = figurepainter::render(list, zoom, {lineWidth, textScale});
    expected.setDevicePixelRatio(1);
    QCOMPARE(shown, expected.copy(shown.rect()));
    const int rows = rowsOver(shown, figure->toWidget(100, 0).x(), list.back);
    QVERIFY2(std::abs(rows - lineWidth * zoom) < 1, qPrintable(QString::number(rows)));
    QCOMPARE(w->projection(), lineWidth > 1);
    // Around the figure, the screen has the figure's background.
    if (w->fullScreen()) {
        const QImage screen = figure->window()->grab().toImage();
        QCOMPARE(screen.pixel(0, 0) & 0xffffff, list.back & 0xffffff);
    }
}

// The handles stay centred on their element, reach further in projection, and a drag moves
// the element to the place under the pointer, at any zoom.
void TestProjection::handlesFollowAndDrag_data()
{
    QTest::addColumn<int>("handle");
    QTest::addColumn<double>("cm");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("units"); // the handle's own width in canvas units, 0 when not fixed
    QTest::addColumn<int>("reach"); // canvas units beyond the element on each side
    const struct
    {
        const char *mode;
        int reach;
    } modes[] = {{"window", 0}, {"projection", 6}, {"full screen", 6}};
    for (const auto &m : modes) {
        QTest::addRow("%s, object to 20 cm", m.mode) << 0 << 20.0 << 4 << 10 << m.reach;
        QTest::addRow("%s, mirror to 40 cm", m.mode) << 1 << 40.0 << 0 << 10 << m.reach;
        // Taken on its diagonal, in the middle of its handle.
        QTest::addRow("%s, plane mirror to 50 cm", m.mode) << 2 << 50.0 << 2 << 0 << m.reach;
    }
}

void TestProjection::handlesFollowAndDrag()
{
    QFETCH(int, handle);
    QFETCH(double, cm);
    QFETCH(int, field);
    QFETCH(int, units);
    QFETCH(int, reach);
    w->Check1[6]->setChecked(handle >= 2);
    const QByteArray tag = QTest::currentDataTag();
    enter(tag.left(tag.indexOf(',')));
    FigureView *figure = w->Picture2;
    const double zoom = figure->zoom();
    DragHandle *h = w->handles[size_t(handle)];
    QCOMPARE(h->parentWidget(), figure);
    QVERIFY(h->isVisible());
    if (units > 0)
        QVERIFY(std::abs(h->width() - (units + 2 * reach) * zoom) <= 1);
    const QString before = w->Text1[size_t(field)]->text();
    const int canvasX = numbers::roundEven(cm * sv->echelle);
    const QPoint pointer(figure->toWidget(canvasX, 0).x() - h->x(), h->height() / 2);
    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(h->width() / 2, h->height() / 2));
    QMouseEvent move(QEvent::MouseMove, pointer, h->mapToGlobal(pointer), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(h, &move);
    QTest::mouseRelease(h, Qt::LeftButton, {}, pointer);
    // A screen pixel is less than a canvas unit once zoomed: the element goes to the place
    // under the pointer, within a step of the shown precision of the aimed one.
    const double reached = numbers::fieldValue(w->Text1[size_t(field)]->text());
    QVERIFY2(std::abs(reached - cm) < 0.1 + 1e-9, qPrintable(QString::number(reached)));
    // Redrawn at the element's new place: the handle is centred there.
    const int centre = figure->toWidget(reached * sv->echelle, 0).x();
    QVERIFY2(std::abs(h->x() + h->width() / 2 - centre) <= 1,
             qPrintable(QStringLiteral("%1 %2").arg(h->x() + h->width() / 2).arg(centre)));
    // The window's keys work on the projected figure too.
    QTest::keyClick(h, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->Text1[size_t(field)]->text(), before);
}

// F11 shows the figure alone on the whole screen with the images' values under it; Escape,
// F11 again or leaving projection brings it back into the window as it was.
void TestProjection::fullScreenComesAndGoes_data()
{
    QTest::addColumn<QString>("leave");
    QTest::addColumn<bool>("projectionAfter");
    QTest::newRow("Escape") << "escape" << true;
    QTest::newRow("F11 again") << "f11" << true;
    QTest::newRow("projection box cleared") << "box" << false;
}

void TestProjection::fullScreenComesAndGoes()
{
    QFETCH(QString, leave);
    QFETCH(bool, projectionAfter);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const QRect before = w->Picture2->geometry();
    const QImage figureBefore = w->Picture2->canvas().image();
    enter("full screen");
    ProjectionScreen *screen = qobject_cast<ProjectionScreen *>(w->Picture2->parentWidget());
    QVERIFY(screen);
    QVERIFY(screen->isVisible());
    QVERIFY(screen->windowState() & Qt::WindowFullScreen);
    QVERIFY(w->projection());
    QVERIFY(w->projectionBox->isChecked());
    QVERIFY(w->Picture2->zoom() >= 1);
    QVERIFY(screen->rect().contains(w->Picture2->geometry()));
    QCOMPARE(screen->values()->text(),
             QStringLiteral("A'B' : position %1, hauteur %2")
                 .arg(w->Label3[0]->text(), w->Label3[1]->text()));
    QVERIFY(w->Picture2->geometry().bottom() < screen->values()->geometry().top());
    if (leave == QLatin1String("escape"))
        QTest::keyClick(w->handles[0], Qt::Key_Escape);
    else if (leave == QLatin1String("f11"))
        QTest::keyClick(screen, Qt::Key_F11);
    else
        w->projectionBox->setChecked(false);
    QVERIFY(!w->fullScreen());
    QVERIFY(!screen->isVisible());
    QCOMPARE(w->Picture2->parentWidget(), w.get());
    QCOMPARE(w->Picture2->geometry(), before);
    QCOMPARE(w->Picture2->zoom(), 1.0);
    QCOMPARE(w->projection(), projectionAfter);
    if (!projectionAfter)
        QCOMPARE(w->Picture2->canvas().image(), figureBefore);
}

// The values of each image, as the panel shows them: on one line when they fit the screen,
// one line for each image otherwise.
void TestProjection::valuesUnderTheFigure_data()
{
    QTest::addColumn<bool>("telescope");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("mirror alone") << false << QStringList {QStringLiteral("A'B'")};
    QTest::newRow("telescope") << true
                               << QStringList {QStringLiteral("A₁B₁"), QStringLiteral("A'₁B'₁"),
                                               QStringLiteral("A₂B₂")};
}

void TestProjection::valuesUnderTheFigure()
{
    QFETCH(bool, telescope);
    QFETCH(QStringList, names);
    w->Check1[6]->setChecked(telescope);
    enter("full screen");
    auto *screen = qobject_cast<ProjectionScreen *>(w->Picture2->parentWidget());
    QVERIFY(screen);
    QStringList rows;
    for (int i = 0; i < names.size(); ++i)
        rows << QStringLiteral("%1 : position %2, hauteur %3")
                    .arg(names[i], w->Label3[size_t(2 * i)]->text(),
                         w->Label3[size_t(2 * i + 1)]->text());
    const QLabel *values = screen->values();
    const QString line = rows.join(QStringLiteral("     "));
    const bool fits = values->fontMetrics().horizontalAdvance(line) < screen->width();
    QCOMPARE(values->text(), fits ? line : rows.join(QLatin1Char('\n')));
    QVERIFY(values->sizeHint().height() <= values->height());
    QVERIFY(w->Picture2->geometry().bottom() < values->geometry().top());
    // A move of the object shows at once.
    w->Text1[4]->setText(QStringLiteral("20,0"));
    w->Text1_LostFocus(4);
    QVERIFY(values->text().contains(w->Label3[0]->text()));
}

// The figure fills the screen the window is on: the projector, when the window was moved there.
void TestProjection::fullScreenOnTheWindowsScreen_data()
{
    QTest::addColumn<int>("screen");
    QTest::newRow("laptop") << 0;
    QTest::newRow("projector") << 1;
}

void TestProjection::fullScreenOnTheWindowsScreen()
{
    QFETCH(int, screen);
    const QList<QScreen *> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    QScreen *target = screens[screen];
    w->setScreen(target);
    w->move(target->geometry().topLeft() + QPoint(20, 20));
    enter("full screen");
    QCOMPARE(w->screen(), target);
    QWidget *shown = w->Picture2->window();
    QCOMPARE(shown->screen(), target);
    QCOMPARE(shown->geometry(), target->geometry());
    QCOMPARE(w->Picture2->width(), target->geometry().width());
}

// The mode is the room's: kept from one session to the next, apart from any configuration.
void TestProjection::modeRemembered_data()
{
    QTest::addColumn<QString>("steps"); // b: the box clicked, f: F11 then Escape
    QTest::addColumn<bool>("remembered");
    QTest::newRow("never set") << "" << false;
    QTest::newRow("ticked") << "b" << true;
    QTest::newRow("ticked then cleared") << "bb" << false;
    QTest::newRow("through F11") << "f" << true;
}

void TestProjection::modeRemembered()
{
    QFETCH(QString, steps);
    QFETCH(bool, remembered);
    rememberProjection(*w);
    QVERIFY(!w->projection());
    for (QChar step : steps) {
        if (step == QLatin1Char('b')) {
            w->projectionBox->click();
        } else {
            enter("full screen");
            QTest::keyClick(w->Picture2, Qt::Key_Escape);
        }
    }
    w.reset();
    SharedValues next;
    FeuilleP again(next, dir->path());
    QVERIFY(!again.projection()); // nothing read before it is asked
    rememberProjection(again);
    QCOMPARE(again.projection(), remembered);
    QCOMPARE(again.projectionBox->isChecked(), remembered);
    QCOMPARE(again.Picture2->style().lineWidth, remembered ? 2 : 1);
}

int main(int argc, char *argv[])
{
    // Two screens side by side, as a laptop and the room's projector.
    // Named from the current folder: Qt splits the platform's arguments at ':', which a
    // Windows path's drive letter has.
    QTemporaryDir dir(QStringLiteral("tst_projection-XXXXXX"));
    QFile config(QDir::current().relativeFilePath(dir.filePath(QStringLiteral("ecrans.json"))));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(R"({"screens": [
        {"name": "portable", "x": 0, "y": 0, "width": 1024, "height": 768},
        {"name": "projecteur", "x": 1024, "y": 0, "width": 1280, "height": 800}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    TestProjection test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_projection.moc"
