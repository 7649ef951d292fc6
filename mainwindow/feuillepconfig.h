// The main window as the configuration dialogs and the loader see it, and the two commands
// that open those dialogs.
#pragma once

#include "config/confighost.h"

class FeuilleP;
class QScrollBar;

class FeuillePConfig : public ConfigHost
{
public:
    explicit FeuillePConfig(FeuilleP &window);

    QWidget *mainWindow() override;
    SharedValues &shared() override;
    int combo1Index() const override;
    int combo1Count() const override;
    void setCombo1Index(int index) override;
    int hscrollValue(int n) const override;
    int hscrollMinimum(int n) const override;
    int hscrollMaximum(int n) const override;
    void setHScrollMaximum(int n, int maximum) override;
    void setHScrollValue(int n, int value) override;
    bool check1(int k) const override;
    void setCheck1(int k, bool ticked) override;
    bool check2() const override;
    void setCheck2(bool ticked) override;
    QString text1(int k) const override;
    void setText1(int k, const QString &text) override;
    void showScale(const QString &label) override;
    void setCaption(const QString &caption) override;
    void testpos() override;
    void majaff() override;
    void holdRedraws(bool hold) override;

private:
    QScrollBar *scroll(int n) const;

    FeuilleP &w;
};

// "&Ouvrir": the open dialog, modal.
void openConfigDialog(FeuilleP &window);
// "&Enregistrer": the save dialog, modal.
void saveConfigDialog(FeuilleP &window);
