// A main window with its painted tab strip, for the tests of the strip and its panels.
#pragma once

#include "mainwindow/feuillep.h"
#include "mainwindow/onglets.h"
#include "platform/sharedvalues.h"

#include <QTemporaryDir>
#include <QtTest>

namespace harness {

// A main window as a user finds it at start-up, with its own exchange file.
struct ShownWindow
{
    QTemporaryDir dir;
    SharedValues sv;
    FeuilleP w {sv, dir.path()};
    TabStrip *strip = qobject_cast<TabStrip *>(w.Onglets);

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
