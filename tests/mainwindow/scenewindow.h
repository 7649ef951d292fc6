// A main window with its configuration host, and the scene it shows as readable lines: what
// a configuration sets, for tests that compare two windows.
#pragma once

#include "mainwindow/feuillep.h"
#include "mainwindow/feuillepconfig.h"
#include "platform/sharedvalues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>

namespace scenewindow {

struct Window
{
    explicit Window(const QString &dir)
        : w(sv, dir)
        , host(w)
    {
    }
    SharedValues sv;
    FeuilleP w;
    FeuillePConfig host;
};

// Everything a configuration carries, and what shows it, as readable lines.
inline QStringList sceneOf(Window &win)
{
    FeuilleP &w = win.w;
    QStringList s;
    s << QStringLiteral("precision %1 %2 %3")
             .arg(w.Combo1->currentIndex())
             .arg(w.Label4->text(), win.sv.fmtnum);
    s << QStringLiteral("scale %1 %2 %3 buttons %4%5")
             .arg(win.sv.nzoom)
             .arg(win.sv.longaxe)
             .arg(w.Label2->text())
             .arg(int(w.Command3[0]->isEnabled()))
             .arg(int(w.Command3[1]->isEnabled()));
    for (QScrollBar *bar : {w.HScroll1, w.HScroll2, w.HScroll3})
        s << QStringLiteral("%1 %2 of %3")
                 .arg(bar->objectName())
                 .arg(bar->value())
                 .arg(bar->maximum());
    for (QCheckBox *box : w.Check1)
        s << QStringLiteral("%1 %2").arg(box->objectName()).arg(int(box->checkState()));
    s << QStringLiteral("Check2 %1").arg(int(w.Check2->checkState()));
    for (QLineEdit *field : w.Text1)
        s << QStringLiteral("%1 %2").arg(field->objectName(), field->text());
    s << QStringLiteral("caption ") + w.windowTitle();
    return s;
}

} // namespace scenewindow
