// Program-wide values shared by the windows. One instance is created by main() and handed
// to each window by reference, so every test starts from a fresh state.
#pragma once

#include <QString>
#include <cstdint>

struct SharedValues
{
    float echelle = 0.0f; // canvas units per cm, left by the last redraw
    int16_t longaxe = 0; // cm of main axis shown
    int16_t nzoom = 1; // scale index 0..12
    QString fmtnum = QStringLiteral("##############0.0");
    QString msgcopie;
    QString fichconfig; // path of the current configuration file
    QString repexo; // directory of the current exercise file
    int16_t exocorrige = 0;
    int16_t textemodif = 0;
    double memoire = 0.0; // calculator memory, kept for the program's life
};
