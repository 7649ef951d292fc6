// What the configuration dialogs and the loader need of the main window: its scene controls,
// the shared values, its caption and its two redraw routines, without including the window.
#pragma once

#include <QString>

class QWidget;
struct ConfigValues;
struct ControlRanges;
struct SharedValues;

class ConfigHost
{
public:
    virtual ~ConfigHost() = default;

    // The window the dialogs are placed from and the message boxes are shown over.
    virtual QWidget *mainWindow() = 0;
    virtual SharedValues &shared() = 0;

    // Setting a control runs that control's own change handler, as a user's change does.
    virtual int combo1Index() const = 0; // precision list
    virtual int combo1Count() const = 0;
    virtual void setCombo1Index(int index) = 0;

    // n is 1, 2 or 3 for HScroll1 (arrows), HScroll2 (mount diameter), HScroll3 (angle).
    virtual int hscrollValue(int n) const = 0;
    virtual int hscrollMinimum(int n) const = 0;
    virtual int hscrollMaximum(int n) const = 0;
    virtual void setHScrollMaximum(int n, int maximum) = 0;
    virtual void setHScrollValue(int n, int value) = 0;

    // Ticked means fully ticked: a greyed box counts as unticked.
    virtual bool check1(int k) const = 0;
    virtual void setCheck1(int k, bool ticked) = 0;
    virtual bool check2() const = 0; // "Objet à l'infini"
    virtual void setCheck2(bool ticked) = 0;

    virtual QString text1(int k) const = 0;
    virtual void setText1(int k, const QString &text) = 0;

    // The scale label and the scale buttons, for the scale now in shared().nzoom.
    virtual void showScale(const QString &label) = 0;
    virtual void setCaption(const QString &caption) = 0;

    virtual void testpos() = 0;
    virtual void majaff() = 0;
    // Holds testpos and majaff while the controls are set one by one, so that no mix of old
    // and new values is validated or drawn.
    virtual void holdRedraws(bool hold) = 0;
};

// What a save writes: the controls and shared values at this moment.
ConfigValues readControls(ConfigHost &host);
// What a load may put into the controls.
ControlRanges controlRanges(const ConfigHost &host);
