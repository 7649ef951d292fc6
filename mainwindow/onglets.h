// The tab strip under the figure: four tabs painted by the program (no native tab control),
// each showing one panel of the scene's controls. The painting also lays the panels out.
#pragma once

#include "platform/canvas.h"

#include <QWidget>
#include <array>
#include <cstdint>

class FeuilleP;

class TabStrip : public QWidget
{
    Q_OBJECT
public:
    // Releases lower than this (in pixels from the top) never choose a tab, whatever the
    // height of the captions.
    static constexpr int kHitBand = 15;

    explicit TabStrip(FeuilleP &owner, QWidget *parent = nullptr);

    int16_t ongletactif = 0; // active tab 1..4; 0 until the first painting
    std::array<int16_t, 6> bordonglet {}; // tab i spans (bordonglet[i-1], bordonglet[i]]
    std::array<QString, 6> titreonglet; // captions in slots 1..4

    // Draws the strip into canvas() and places the active panel.
    void Onglets_Paint();
    void Onglets_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

    // The panel of tab 1..4.
    QWidget *panel(int tab) const;
    Canvas &canvas() { return m_canvas; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void drawRelief(int th);
    void drawCaptions(double gap);
    void placeActivePanel(int th);

    FeuilleP &w;
    Canvas m_canvas;
};
