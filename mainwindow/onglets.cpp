#include "mainwindow/onglets.h"

#include "mainwindow/feuillep.h"
#include "platform/numbers.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr QRgb kBeige = qRgb(210, 205, 200);
constexpr QRgb kDarkGrey = qRgb(128, 128, 128);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

const char *const kCaptions[5]
    = {"", "Objets et images", "Dispositif", "Affichage", "Construction"};
} // namespace

TabStrip::TabStrip(FeuilleP &owner, QWidget *parent)
    : QWidget(parent)
    , w(owner)
    , m_canvas(1, 1)
{
    // Every pixel comes from the canvas.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_canvas.setBackColor(kBeige);
}

QWidget *TabStrip::panel(int tab) const
{
    switch (tab) {
    case 1:
        return w.Picture3;
    case 2:
        return w.Picture1;
    case 3:
        return w.frame2;
    case 4:
        return w.Picture6;
    default:
        return nullptr;
    }
}

void TabStrip::paintEvent(QPaintEvent *)
{
    Onglets_Paint();
    QPainter p(this);
    p.drawImage(0, 0, m_canvas.image());
}

void TabStrip::Onglets_Paint()
{
    Canvas &c = m_canvas;
    c.resize(width(), height());
    c.clearOps();
    c.setBackColor(kBeige);
    c.cls();
    const double W = c.scaleWidth();
    if (ongletactif == 0)
        ongletactif = 1;
    const int a = ongletactif;

    c.setFontName(QStringLiteral("Arial"));
    c.setFontSize(8);
    c.setFontBold(false);
    c.setForeColor(kBlack);
    for (int i = 1; i <= 4; ++i)
        titreonglet[size_t(i)] = QString::fromUtf8(kCaptions[i]);
    const int th = numbers::roundEven(c.textHeight(QStringLiteral("W")));

    // The active caption is measured in bold, so the tabs widen a little around it.
    double total = 0;
    for (int i = 1; i <= 4; ++i) {
        c.setFontBold(i == a);
        total = numbers::roundEven(total + c.textWidth(titreonglet[size_t(i)]));
    }
    const double gap = (W - total) / 8;
    bordonglet[0] = -1;
    for (int i = 1; i <= 3; ++i) {
        c.setFontBold(i == a);
        bordonglet[size_t(i)] = int16_t(numbers::roundEven(
            bordonglet[size_t(i - 1)] + c.textWidth(titreonglet[size_t(i)]) + 2 * gap));
    }
    bordonglet[4] = int16_t(numbers::roundEven(W));

    drawRelief(th);
    drawCaptions(gap);
    placeActivePanel(th);
}

void TabStrip::drawRelief(int th)
{
    Canvas &c = m_canvas;
    const double W = c.scaleWidth(), H = c.scaleHeight();
    const int a = ongletactif;
    c.box(0, 0, W - 1, H - 1, kDarkGrey);
    c.line(0, 0, 0, H - 1, kWhite);
    for (size_t i = 0; i <= 4; ++i) {
        const double x = bordonglet[i];
        c.line(x - 1, 1, x - 1, th + 1, kDarkGrey);
        c.line(x, 0, x, th, kWhite);
    }
    for (size_t i = 0; i <= 3; ++i)
        c.line(bordonglet[i] + 1, 0, bordonglet[i + 1] - 1, 0, kWhite);
    // The base line stays open under the active tab.
    c.line(0, th + 1, bordonglet[size_t(a - 1)] + 2, th + 1, kWhite);
    c.line(bordonglet[size_t(a)], th + 1, W, th + 1, kWhite);
}

void TabStrip::drawCaptions(double gap)
{
    Canvas &c = m_canvas;
    for (int i = 1; i <= 4; ++i) {
        const bool active = i == ongletactif;
        c.setFontBold(active);
        c.currentY = active ? 2 : 1;
        c.currentX = bordonglet[size_t(i - 1)] + gap;
        c.print(titreonglet[size_t(i)]);
    }
    c.setFontBold(false);
}

void TabStrip::placeActivePanel(int th)
{
    Canvas &c = m_canvas;
    const double W = c.scaleWidth(), H = c.scaleHeight();
    for (int i = 1; i <= 4; ++i)
        if (i != ongletactif && panel(i))
            panel(i)->hide();
    if (QWidget *shown = panel(ongletactif)) {
        const int left = 4, top = th + 5;
        shown->setGeometry(left, top, int(W) - 4 - left, int(H) - 4 - top);
        shown->show();
    }
    // Sunken frame around the panel.
    c.box(1, th + 2, W - 2, H - 2, kBeige);
    c.box(2, th + 3, W - 3, H - 3, kBeige);
    c.box(3, th + 4, W - 4, H - 4, kDarkGrey);
    c.box(4, th + 5, W - 4, H - 4, kWhite);
}

void TabStrip::mouseReleaseEvent(QMouseEvent *event)
{
    Onglets_MouseUp(event->button(), event->modifiers(), event->position().x(),
                    event->position().y());
    event->accept();
}

// Taken here, so that the window under the strip does not put its own hint back.
void TabStrip::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void TabStrip::Onglets_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double x, double y)
{
    if (y < 0 || y > kHitBand)
        return;
    int chosen = 0;
    for (size_t i = 1; i <= 4; ++i)
        if (bordonglet[i - 1] < x && x <= bordonglet[i])
            chosen = int(i);
    // A release beside the tabs (the button was pressed on the strip) keeps the active tab.
    if (chosen == 0 || chosen == ongletactif)
        return;
    ongletactif = int16_t(chosen);
    repaint();
}
