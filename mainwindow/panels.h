// The four panels under the tab strip. Each paints its own titles and captions around the
// scene's controls, which live on it; some controls are placed at every painting.
#pragma once

#include "platform/canvas.h"

#include <QFont>
#include <QWidget>

class FeuilleP;

// Places, sizes and dresses the controls that FeuilleP created on the panels, and keeps the
// painted captions in step with the switches they describe. Run once, after the controls exist.
void placePanelControls(FeuilleP &w);

// "Arial" at a size in points, as the panels' painting measures it (one pixel per unit).
QFont panelFont(double points, bool bold = false);

class Panel : public QWidget
{
    Q_OBJECT
public:
    Canvas &canvas() { return m_canvas; }

protected:
    Panel(FeuilleP &owner, QWidget *parent);
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // Draws on a canvas already cleared to the panel's background.
    virtual void paintPanel(Canvas &c) = 0;

    FeuilleP &w;

private:
    Canvas m_canvas;
};

// "Objets et images" (Picture3).
class ObjectsPanel : public Panel
{
    Q_OBJECT
public:
    ObjectsPanel(FeuilleP &owner, QWidget *parent);

protected:
    void paintPanel(Canvas &c) override;

private:
    void paintObjectCaptions(Canvas &c);
    void paintImageNames(Canvas &c);
};

// "Dispositif" (Picture1).
class DevicePanel : public Panel
{
    Q_OBJECT
public:
    DevicePanel(FeuilleP &owner, QWidget *parent);

protected:
    void paintPanel(Canvas &c) override;

private:
    void paintTitles(Canvas &c, bool telescope);
};

// "Affichage" (frame2).
class DisplayPanel : public Panel
{
    Q_OBJECT
public:
    DisplayPanel(FeuilleP &owner, QWidget *parent);

protected:
    void paintPanel(Canvas &c) override;

private:
    void paintPrecisionBox(Canvas &c);
};

// "Construction" (Picture6).
class ConstructionPanel : public Panel
{
    Q_OBJECT
public:
    ConstructionPanel(FeuilleP &owner, QWidget *parent);

protected:
    void paintPanel(Canvas &c) override;
};
