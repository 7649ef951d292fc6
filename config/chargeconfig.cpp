#include "config/chargeconfig.h"

#include "config/configfile.h"
#include "config/confighost.h"
#include "platform/msgbox.h"
#include "platform/sharedvalues.h"

#include <QDialog>

namespace {

// The order matters: each control's change handler runs as the control is set, and some of
// them read controls set before them.
void applyConfig(ConfigHost &host, const ConfigValues &v)
{
    SharedValues &sv = host.shared();
    host.setCheck2(false);
    host.setCombo1Index(v.combo1);
    sv.nzoom = int16_t(v.nzoom);
    sv.longaxe = int16_t(v.longaxe);
    sv.echelle = v.echelle;
    host.setHScrollValue(1, v.hscroll[0]);
    host.showScale(scaleLabel(sv.nzoom, sv.longaxe));
    host.setHScrollMaximum(2, mountMaximum(sv.longaxe));
    host.setHScrollValue(2, v.hscroll[1]);
    host.setHScrollValue(3, v.hscroll[2]);
    // Boxes are cleared before the fields are filled, and ticked only after.
    for (int k = 0; k < 18; ++k)
        host.setCheck1(k, false);
    for (int k = 0; k < 9; ++k)
        host.setText1(k, v.text1[size_t(k)]);
    for (int k = 0; k < 18; ++k)
        host.setCheck1(k, v.check1[size_t(k)]);
    host.setCheck2(v.check2);
}

} // namespace

bool chargeconfig(ConfigHost &host, QDialog *ouvrir)
{
    const bool fromDialog = ouvrir && ouvrir->isVisible();
    if (fromDialog)
        ouvrir->repaint();
    QWidget *parent = fromDialog ? static_cast<QWidget *>(ouvrir) : host.mainWindow();
    SharedValues &sv = host.shared();
    ConfigValues values;
    switch (readConfigFile(sv.fichconfig, controlRanges(host), &values)) {
    case ConfigRead::Foreign:
        msgbox::show(parent, QStringLiteral("Ce fichier ne correspond pas à cette application"),
                     QStringLiteral("Fichier non valide"), msgbox::Icon::Critical);
        return false;
    case ConfigRead::Unreadable:
        msgbox::show(parent, QStringLiteral("Lecture impossible sur disque"),
                     QStringLiteral("Erreur lors du chargement du fichier"),
                     msgbox::Icon::Critical);
        return false;
    case ConfigRead::Ok:
        break;
    }
    host.holdRedraws(true);
    applyConfig(host, values);
    host.holdRedraws(false);
    if (ouvrir)
        ouvrir->accept();
    host.setCaption(QStringLiteral("Optalis - ") + sv.fichconfig);
    host.testpos();
    host.majaff();
    return true;
}
