// A main window stand-in for the configuration code: it holds the control values, keeps their
// ranges and logs every change made to it, in order.
#pragma once

#include "config/confighost.h"
#include "platform/sharedvalues.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

class FakeHost : public ConfigHost
{
public:
    // The window at start-up: one decimal, 60 cm, the six boxes ticked by the program.
    FakeHost()
    {
        sv.nzoom = 1;
        sv.longaxe = 60;
        sv.echelle = 12.91667f;
        for (int k : {1, 2, 7, 11, 13, 14})
            checks[size_t(k)] = true;
        texts = {QStringLiteral("60,0"), QStringLiteral("-10,0"), QStringLiteral("48,0"),
                 QStringLiteral("10,0"), QStringLiteral("0,0"),   QStringLiteral("3,0"),
                 QStringLiteral("8,0"),  QStringLiteral("8,0"),   QStringLiteral("8,0")};
        window.setWindowTitle(QStringLiteral("Optalis"));
    }

    QWidget *mainWindow() override { return &window; }
    SharedValues &shared() override { return sv; }
    int combo1Index() const override { return combo; }
    int combo1Count() const override { return 3; }
    void setCombo1Index(int index) override
    {
        combo = index;
        note(QStringLiteral("Combo1=%1").arg(index));
    }
    int hscrollValue(int n) const override { return scrolls[size_t(n - 1)]; }
    int hscrollMinimum(int n) const override { return minimums[size_t(n - 1)]; }
    int hscrollMaximum(int n) const override { return maximums[size_t(n - 1)]; }
    void setHScrollMaximum(int n, int maximum) override
    {
        maximums[size_t(n - 1)] = maximum;
        note(QStringLiteral("HScroll%1.max=%2").arg(n).arg(maximum));
    }
    void setHScrollValue(int n, int value) override
    {
        scrolls[size_t(n - 1)] = value;
        note(QStringLiteral("HScroll%1=%2").arg(n).arg(value));
    }
    bool check1(int k) const override { return checks[size_t(k)]; }
    void setCheck1(int k, bool ticked) override
    {
        checks[size_t(k)] = ticked;
        note(QStringLiteral("Check1(%1)=%2").arg(k).arg(int(ticked)));
    }
    bool check2() const override { return infinity; }
    void setCheck2(bool ticked) override
    {
        infinity = ticked;
        note(QStringLiteral("Check2=%1").arg(int(ticked)));
    }
    QString text1(int k) const override { return texts[size_t(k)]; }
    void setText1(int k, const QString &text) override
    {
        texts[size_t(k)] = text;
        note(QStringLiteral("Text1(%1)=%2").arg(k).arg(text));
    }
    void showScale(const QString &label) override
    {
        scale = label;
        note(QStringLiteral("Label2=") + label);
    }
    void setCaption(const QString &caption) override
    {
        window.setWindowTitle(caption);
        note(QStringLiteral("caption=") + caption);
    }
    void testpos() override { note(QStringLiteral("testpos")); }
    void majaff() override { note(QStringLiteral("majaff")); }
    void holdRedraws(bool hold) override
    {
        note(hold ? QStringLiteral("hold") : QStringLiteral("release"));
    }

    QWidget window;
    SharedValues sv;
    int combo = 0;
    std::array<int, 3> scrolls {4, 80, 100};
    std::array<int, 3> minimums {1, 5, 1};
    std::array<int, 3> maximums {9, 101, 300};
    std::array<bool, 18> checks {};
    bool infinity = false;
    std::array<QString, 9> texts;
    QString scale = QStringLiteral("60 cm");
    QStringList log;
    // Runs at each logged change, to look at the dialogs while the loader works.
    std::function<void()> onChange;

private:
    void note(const QString &change)
    {
        log << change;
        if (onChange)
            onChange();
    }
};
