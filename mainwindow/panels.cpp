#include "mainwindow/panels.h"

#include "mainwindow/feuillep.h"
#include "platform/numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

namespace {
constexpr QRgb kPanelBack = qRgb(240, 235, 230);
constexpr QRgb kDarkGrey = qRgb(128, 128, 128);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

void setTextFont(Canvas &c, bool bold)
{
    c.setFontName(QStringLiteral("Arial"));
    c.setFontSize(8);
    c.setFontBold(bold);
    c.setForeColor(kBlack);
}

void printAt(Canvas &c, double x, double y, const QString &text)
{
    c.currentX = x;
    c.currentY = y;
    c.print(text);
}

// Right-aligned against the left edge of `control`, `dy` pixels below its top.
void printBefore(Canvas &c, const QString &text, const QWidget *control, int dy,
                 bool endLine = true)
{
    c.currentX = control->x() - c.textWidth(text);
    c.currentY = control->y() + dy;
    c.print(text, endLine);
}

void printCentred(Canvas &c, const QString &text, double centre, double y)
{
    printAt(c, centre - c.textWidth(text) / 2, y, text);
}

// A letter followed by its subscript digit, 4 pixels lower; the next letter is back up.
void printSubscripted(Canvas &c, const QString &letter, const QString &digit)
{
    c.print(letter, false);
    c.currentY += 4;
    c.print(digit, false);
    c.currentY -= 4;
}

void printImageName(Canvas &c, double y, const QString &a, const QString &b, const QString &digit)
{
    c.currentX = 10;
    c.currentY = y;
    printSubscripted(c, a, digit);
    printSubscripted(c, b, digit);
}

void whiteLabel(QLabel *label)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::white);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
}

// Captions painted beside the narrow boxes Check1(1), (13) and (14).
const char *const kRayCaptions[3]
    = {"passant par le centre C", "passant par le foyer", "parallèle à l'axe optique"};

struct Place
{
    QWidget *control;
    int left, top, width, height;
};

void placeAll(std::initializer_list<Place> places)
{
    for (const Place &p : places)
        p.control->setGeometry(p.left, p.top, p.width, p.height);
}

void placeDeviceControls(FeuilleP &w)
{
    // The first column's controls move with the telescope mode at every painting.
    placeAll({
        {w.Check1[6], 16, 8, 361, 17},
        {w.Text1[0], 190, 64, 65, 19},
        {w.Text1[1], 190, 92, 65, 19},
        {w.HScroll2, 198, 120, 57, 17},
        {w.Text1[2], 320, 64, 65, 19},
        {w.Text1[8], 320, 116, 65, 19},
        {w.Text1[3], 320, 136, 65, 19},
        {w.Text1[6], 120, 144, 65, 19},
        {w.Text1[7], 336, 0, 65, 19},
    });
}

void placeObjectControls(FeuilleP &w)
{
    placeAll({
        {w.Check2, 48, 32, 201, 13},
        {w.Text1[4], 120, 52, 65, 19},
        {w.Text1[5], 288, 52, 65, 19},
        {w.Label1, 168, 53, 41, 17},
        {w.HScroll3, 216, 52, 73, 17},
    });
    for (size_t i = 0; i < 6; ++i) {
        QLabel *l = w.Label3[i];
        l->setGeometry(i % 2 ? 296 : 144, 88 + 24 * int(i / 2), 97, 17);
        l->setFont(panelFont(8.25));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    w.Label1->setFont(panelFont(9.75));
    w.Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const bool infinity = w.Check2->isChecked();
    w.Label1->setVisible(infinity);
    w.HScroll3->setVisible(infinity);
    w.Text1[4]->setVisible(!infinity);
    w.Text1[5]->setVisible(!infinity);
}

void placeConstructionControls(FeuilleP &w)
{
    // Check1(1), (13) and (14) are placed again at every painting, beside their captions.
    placeAll({
        {w.Check1[0], 128, 8, 129, 17},
        {w.Check1[9], 128, 28, 129, 17},
        {w.HScroll1, 252, 48, 97, 17},
        {w.Check1[1], 130, 98, 17, 17},
        {w.Check1[13], 130, 118, 17, 17},
        {w.Check1[14], 130, 138, 17, 17},
        {w.Check1[8], 288, 32, 241, 17},
        {w.Check1[10], 352, 72, 17, 17},
        {w.Check1[15], 352, 96, 17, 17},
        {w.Check1[16], 352, 120, 17, 17},
    });
    // Their own captions are cut off: a screen reader says what the user reads beside them.
    const int rayBoxes[3] = {1, 13, 14};
    for (int i = 0; i < 3; ++i)
        w.Check1[size_t(rayBoxes[i])]->setAccessibleName(u8(kRayCaptions[i]));
}

void placeDisplayControls(FeuilleP &w)
{
    placeAll({
        {w.Check1[2], 16, 24, 137, 17},
        {w.Check1[5], 184, 24, 145, 17},
        {w.Check1[11], 16, 44, 161, 17},
        {w.Check1[4], 184, 44, 241, 17},
        {w.Check1[7], 16, 64, 113, 17},
        {w.Check1[12], 184, 64, 105, 17},
        {w.Command3[0], 176, 108, 17, 17},
        {w.Command3[1], 248, 108, 17, 17},
        {w.Label2, 192, 108, 57, 17},
        {w.Check1[17], 280, 108, 113, 17},
        {w.Commandp[0], 176, 131, 17, 22},
        {w.Commandp[1], 248, 131, 17, 22},
        {w.Label4, 212, 132, 17, 17},
        {w.projectionBox, 280, 134, 121, 17},
    });
    w.Combo1->move(32, 96);
    w.Check1[3]->move(0, 128);
    // The scale label sits under the edges of its two buttons.
    w.Command3[0]->raise();
    w.Command3[1]->raise();
    whiteLabel(w.Label2);
    w.Label2->setAlignment(Qt::AlignCenter);
    whiteLabel(w.Label4);
    w.Label4->setFont(panelFont(8.25));
    // The exponent sits at the top of its box, above the line of "10".
    w.Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}
} // namespace

QFont panelFont(double points, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    // Same conversion as the canvas, so that painted and native texts match.
    f.setPixelSize(std::max(1, numbers::roundEven(points * 96.0 / 72.0)));
    f.setBold(bold);
    return f;
}

// Tab goes through a panel's controls as they are read: by rows from the top, each row from
// the left.
void orderTabs(QWidget *panel)
{
    QList<QWidget *> controls;
    for (QWidget *c : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (c->focusPolicy() & Qt::TabFocus)
            controls << c;
    std::stable_sort(controls.begin(), controls.end(), [](const QWidget *a, const QWidget *b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    for (int i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

void placePanelControls(FeuilleP &w)
{
    placeDeviceControls(w);
    placeObjectControls(w);
    placeConstructionControls(w);
    placeDisplayControls(w);
    // The scroll bars are reached with Tab and moved with the arrow keys, as the fields are.
    for (QScrollBar *bar : {w.HScroll1, w.HScroll2, w.HScroll3})
        bar->setFocusPolicy(Qt::StrongFocus);
    for (QWidget *panel : {w.Picture3, w.Picture1, w.frame2, w.Picture6})
        orderTabs(panel);
    // The click handlers do not repaint this panel, yet its captions follow both switches.
    QWidget *objects = w.Picture3;
    for (QCheckBox *box : {w.Check2, w.Check1[6]})
        QObject::connect(box, &QCheckBox::stateChanged, objects, [objects] { objects->update(); });
}

Panel::Panel(FeuilleP &owner, QWidget *parent)
    : QWidget(parent)
    , w(owner)
    , m_canvas(1, 1)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(kPanelBack));
    setPalette(pal);
    setFont(panelFont(8));
}

void Panel::paintEvent(QPaintEvent *)
{
    m_canvas.resize(width(), height());
    m_canvas.clearOps();
    m_canvas.setBackColor(kPanelBack);
    m_canvas.cls();
    paintPanel(m_canvas);
    QPainter p(this);
    p.drawImage(0, 0, m_canvas.image());
}

// Taken here, so that the strip and the window do not replace the panel's hint.
void Panel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

ObjectsPanel::ObjectsPanel(FeuilleP &owner, QWidget *parent)
    : Panel(owner, parent)
{
}

void ObjectsPanel::paintPanel(Canvas &c)
{
    setTextFont(c, true);
    printAt(c, 10, 10, QStringLiteral("Objet AB"));
    c.setFontBold(false);
    paintObjectCaptions(c);
    paintImageNames(c);
    c.setFontSize(8);
    c.setFontBold(false);
    printBefore(c, QStringLiteral("Position : "), w.Label3[0], 0);
    printBefore(c, QStringLiteral("Hauteur : "), w.Label3[1], 0);
}

void ObjectsPanel::paintObjectCaptions(Canvas &c)
{
    if (!w.Check2->isChecked()) {
        printBefore(c, QStringLiteral("Position (cm) : "), w.Text1[4], 3);
        printBefore(c, QStringLiteral("Hauteur (cm) : "), w.Text1[5], 3);
        return;
    }
    // Measured with a plain "a" and spaces, so the sentence ends at the angle's label.
    c.currentX = w.Label1->x() - c.textWidth(u8("Diamètre apparent : a =   "));
    c.currentY = w.Text1[4]->y() + 3;
    c.print(u8("Diamètre apparent : "), false);
    c.setFontSize(10);
    c.currentY -= 2;
    c.print(u8("α"), false);
    c.print(QStringLiteral(" = "), false);
    c.setFontSize(8);
}

void ObjectsPanel::paintImageNames(Canvas &c)
{
    c.setFontBold(true);
    if (!w.Check1[6]->isChecked()) {
        printAt(c, 10, 88, QStringLiteral("A'B'"));
        return;
    }
    const QString one = QStringLiteral("1"), two = QStringLiteral("2");
    printImageName(c, 88, QStringLiteral("A"), QStringLiteral("B"), one);
    printImageName(c, 112, QStringLiteral("A'"), QStringLiteral("B'"), one);
    printImageName(c, 136, QStringLiteral("A"), QStringLiteral("B"), two);
    c.setFontBold(false);
    printBefore(c, QStringLiteral("Position : "), w.Label3[2], 0);
    printBefore(c, QStringLiteral("Position : "), w.Label3[4], 0);
    printBefore(c, QStringLiteral("Hauteur : "), w.Label3[3], 0);
    printBefore(c, QStringLiteral("Hauteur : "), w.Label3[5], 0);
}

DevicePanel::DevicePanel(FeuilleP &owner, QWidget *parent)
    : Panel(owner, parent)
{
}

void DevicePanel::paintPanel(Canvas &c)
{
    const double W = c.scaleWidth(), H = c.scaleHeight();
    const bool telescope = w.Check1[6]->isChecked();
    c.line(0, 31, W, 31, kWhite);
    if (telescope) {
        c.line(W / 2, 30, W / 2, H, kDarkGrey);
        c.line(W / 2 + 1.5, 30, W / 2 + 1.5, H, kWhite);
    }
    c.line(0, 30, W, 30, kDarkGrey);
    setTextFont(c, true);
    paintTitles(c, telescope);
    c.setFontBold(false);
    const QString position = QStringLiteral("Position (cm) : ");
    const QString focal = QStringLiteral("Distance focale (cm) : ");
    printBefore(c, position, w.Text1[0], 3);
    if (telescope)
        printBefore(c, position, w.Text1[2], 3);
    printBefore(c, focal, w.Text1[1], 3);
    if (telescope) {
        printBefore(c, focal, w.Text1[3], 3);
        printBefore(c, position, w.Text1[8], 3);
    }
    printBefore(c, u8("Diamètre de la monture : "), w.HScroll2, 3);
}

// Lays the spherical mirror's controls out in one column or in the left one of two.
void DevicePanel::paintTitles(Canvas &c, bool telescope)
{
    const double W = c.scaleWidth();
    const int field = telescope ? 120 : 190;
    w.Text1[0]->move(field, w.Text1[0]->y());
    w.Text1[1]->move(field, w.Text1[1]->y());
    w.HScroll2->move(field + 8, w.HScroll2->y());
    if (telescope) {
        printCentred(c, u8("Miroir sphérique (primaire)"), W / 4, 38);
        printCentred(c, QStringLiteral("Miroir plan (secondaire)"), 3 * W / 4, 38);
        printCentred(c, QStringLiteral("Lentille"), 3 * W / 4, 95);
    } else {
        printCentred(c, u8("Miroir sphérique"), W / 2, 38);
    }
}

DisplayPanel::DisplayPanel(FeuilleP &owner, QWidget *parent)
    : Panel(owner, parent)
{
}

void DisplayPanel::paintPanel(Canvas &c)
{
    setTextFont(c, true);
    printAt(c, 10, 4, u8("Paramètres"));
    printAt(c, 10, w.Check1[12]->y() + 27, QStringLiteral("Axe optique"));
    c.setFontSize(8);
    c.setFontBold(false);
    printBefore(c, QStringLiteral("Longueur de l'axe principal : "), w.Command3[0], 2);
    w.Label4->move(w.Label4->x(), w.Commandp[0]->y() + 1);
    paintPrecisionBox(c);
}

// Reads as "10" to the power of Label4's text, followed by "cm".
void DisplayPanel::paintPrecisionBox(Canvas &c)
{
    const QWidget *minus = w.Commandp[0], *plus = w.Commandp[1];
    const double x1 = minus->x() + minus->width(), y1 = minus->y();
    const double x2 = plus->x(), y2 = plus->y() + plus->height() - 1;
    c.box(x1, y1, x2, y2, kWhite, true);
    c.box(x1, y1, x2, y2, kBlack);
    printBefore(c, u8("Précision des positions : "), minus, 5, false);
    const QString ten = QStringLiteral("10");
    c.currentX = w.Label4->x() - c.textWidth(ten);
    c.print(ten, false);
    c.currentX = w.Label4->x() + w.Label4->width();
    c.print(QStringLiteral("cm"));
}

ConstructionPanel::ConstructionPanel(FeuilleP &owner, QWidget *parent)
    : Panel(owner, parent)
{
}

void ConstructionPanel::paintPanel(Canvas &c)
{
    setTextFont(c, true);
    printAt(c, 10, 78, QStringLiteral("Construction du rayon incident issu de B :"));
    QCheckBox *const boxes[3] = {w.Check1[1], w.Check1[13], w.Check1[14]};
    for (int i = 0; i < 3; ++i)
        boxes[i]->move(130, 98 + 20 * i);
    c.setFontBold(false);
    const int captionX = w.Check1[1]->x() + w.Check1[1]->width() + 3;
    for (int i = 0; i < 3; ++i)
        printAt(c, captionX, boxes[i]->y() + 1, u8(kRayCaptions[i]));
    printBefore(c, u8("Position des flèches : "), w.HScroll1, 1);
}
