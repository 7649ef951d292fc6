#include "mainwindow/feuillepconfig.h"

#include "config/enregistrer.h"
#include "config/ouvrir.h"
#include "mainwindow/feuillep.h"
#include "platform/sharedvalues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

Qt::CheckState tick(bool ticked)
{
    return ticked ? Qt::Checked : Qt::Unchecked;
}

} // namespace

FeuillePConfig::FeuillePConfig(FeuilleP &window)
    : w(window)
{
}

QWidget *FeuillePConfig::mainWindow()
{
    return &w;
}

SharedValues &FeuillePConfig::shared()
{
    return w.shared();
}

int FeuillePConfig::combo1Index() const
{
    return w.Combo1->currentIndex();
}

int FeuillePConfig::combo1Count() const
{
    return w.Combo1->count();
}

void FeuillePConfig::setCombo1Index(int index)
{
    w.Combo1->setCurrentIndex(index);
}

QScrollBar *FeuillePConfig::scroll(int n) const
{
    return n == 1 ? w.HScroll1 : n == 2 ? w.HScroll2 : w.HScroll3;
}

int FeuillePConfig::hscrollValue(int n) const
{
    return scroll(n)->value();
}

int FeuillePConfig::hscrollMinimum(int n) const
{
    return scroll(n)->minimum();
}

int FeuillePConfig::hscrollMaximum(int n) const
{
    return scroll(n)->maximum();
}

void FeuillePConfig::setHScrollMaximum(int n, int maximum)
{
    scroll(n)->setMaximum(maximum);
}

void FeuillePConfig::setHScrollValue(int n, int value)
{
    scroll(n)->setValue(value);
}

bool FeuillePConfig::check1(int k) const
{
    return w.Check1[size_t(k)]->checkState() == Qt::Checked;
}

void FeuillePConfig::setCheck1(int k, bool ticked)
{
    w.Check1[size_t(k)]->setCheckState(tick(ticked));
}

bool FeuillePConfig::check2() const
{
    return w.Check2->checkState() == Qt::Checked;
}

void FeuillePConfig::setCheck2(bool ticked)
{
    w.Check2->setCheckState(tick(ticked));
}

QString FeuillePConfig::text1(int k) const
{
    return w.Text1[size_t(k)]->text();
}

void FeuillePConfig::setText1(int k, const QString &text)
{
    w.Text1[size_t(k)]->setText(text);
}

void FeuillePConfig::showScale(const QString &label)
{
    w.Label2->setText(label);
    w.Label2->repaint();
    // The scale buttons follow the loaded scale, as after a click on them.
    const int nzoom = w.shared().nzoom;
    w.Command3[0]->setEnabled(nzoom > 0);
    w.Command3[1]->setEnabled(nzoom < 12);
}

void FeuillePConfig::setCaption(const QString &caption)
{
    w.setWindowTitle(caption);
}

void FeuillePConfig::testpos()
{
    w.testpos();
}

void FeuillePConfig::majaff()
{
    w.majaff();
}

void FeuillePConfig::holdRedraws(bool hold)
{
    w.holdRedraws(hold);
}

void openConfigDialog(FeuilleP &window)
{
    FeuillePConfig host(window);
    Ouvrir dialog(host);
    // Whatever the dialog loads is one step of the history.
    window.beginGesture(QStringLiteral("l'ouverture de la configuration"));
    dialog.exec();
    window.endGesture();
}

void saveConfigDialog(FeuilleP &window)
{
    FeuillePConfig host(window);
    Enregistrer dialog(host);
    dialog.exec();
}
