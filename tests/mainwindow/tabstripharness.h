// Gives a main window its painted tab strip and panels when it was built with plain holders:
// the holders' children, names and hints move to the real widgets. A window that builds the
// strip itself is left as it is.
#pragma once

#include "mainwindow/feuillep.h"
#include "mainwindow/onglets.h"
#include "mainwindow/panels.h"
#include "platform/sharedvalues.h"

#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

namespace harness {

inline void adopt(FeuilleP &w, QWidget *&member, QWidget *fresh)
{
    QWidget *old = member;
    fresh->setObjectName(old->objectName());
    fresh->setAccessibleName(old->accessibleName());
    fresh->setGeometry(old->geometry());
    fresh->setProperty("optalisHint", old->property("optalisHint"));
    fresh->installEventFilter(&w);
    fresh->setMouseTracking(true);
    fresh->setVisible(!old->isHidden());
    for (QObject *child : old->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget)
            continue;
        const bool hidden = widget->isHidden();
        widget->setParent(fresh);
        widget->setVisible(!hidden);
    }
    member = fresh;
    delete old;
}

inline TabStrip *installTabStrip(FeuilleP &w)
{
    if (auto *strip = qobject_cast<TabStrip *>(w.Onglets))
        return strip;
    auto *strip = new TabStrip(w, &w);
    strip->stackUnder(w.Onglets);
    adopt(w, w.Picture3, new ObjectsPanel(w, strip));
    adopt(w, w.Picture1, new DevicePanel(w, strip));
    adopt(w, w.frame2, new DisplayPanel(w, strip));
    adopt(w, w.Picture6, new ConstructionPanel(w, strip));
    adopt(w, w.Onglets, strip);
    placePanelControls(w);
    return strip;
}

// A main window as a user finds it at start-up, with its own exchange file.
struct ShownWindow
{
    QTemporaryDir dir;
    SharedValues sv;
    FeuilleP w {sv, dir.path()};
    TabStrip *strip = installTabStrip(w);

    bool show()
    {
        w.show();
        return QTest::qWaitForWindowExposed(&w);
    }
};

// Clicks the middle of a tab's caption.
inline void clickTab(TabStrip *strip, int tab)
{
    const int x = (strip->bordonglet[size_t(tab - 1)] + strip->bordonglet[size_t(tab)]) / 2;
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(x, 5));
}

} // namespace harness
