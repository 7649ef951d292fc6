// The configuration file: 36 records holding the precision, the scale, the three scroll bars,
// every option box and every numeric field of the main window.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

class QIODevice;

constexpr int ConfigRecordCount = 36;
constexpr int ConfigFileSize = ConfigRecordCount * 128;

struct ConfigValues
{
    int combo1 = 0; // precision list index
    int nzoom = 1;
    int longaxe = 60;
    float echelle = 0.0f;
    std::array<int, 3> hscroll {4, 80, 100}; // HScroll1, HScroll2, HScroll3
    bool check2 = false;
    std::array<bool, 18> check1 {};
    std::array<QString, 9> text1;
};

// What the receiving controls accept. HScroll2's maximum is not here: the file's own axis
// length sets it before its value is applied.
struct ControlRanges
{
    int combo1Count = 3;
    std::array<int, 3> hscrollMinimum {1, 5, 1};
    std::array<int, 3> hscrollMaximum {9, 0, 300};
};

// The 36 record texts, in record order.
QStringList configRecordTexts(const ConfigValues &values);
// All 4608 bytes; fails, with nothing built, when a text does not fit its record.
bool buildConfigFile(const ConfigValues &values, QByteArray *bytes, QString *error = nullptr);

enum class ConfigRead {
    Ok,
    Unreadable, // cannot be read, cut short, a bad record or a value no control accepts
    Foreign, // record 1 is not the signature
};

// Checks the whole file before anything is used: `values` is set only when the result is Ok.
// Bytes beyond record 36 are ignored. `why` says what was wrong, for tests.
ConfigRead parseConfigFile(const QByteArray &content, const ControlRanges &ranges,
                           ConfigValues *values, QString *why = nullptr);
ConfigRead readConfigFile(QIODevice *device, const ControlRanges &ranges, ConfigValues *values,
                          QString *why = nullptr);
ConfigRead readConfigFile(const QString &path, const ControlRanges &ranges, ConfigValues *values,
                          QString *why = nullptr);

// Replaces the file at `path` by `layout` in one step: written beside it, then renamed over it,
// so that a failure leaves the previous file as it was. Bytes of the previous file beyond the
// layout are kept.
bool writeConfigFile(const QString &path, const QByteArray &layout, QString *error = nullptr);

// HScroll2's maximum, in millimetres, for an axis of `longaxe` cm.
int mountMaximum(int longaxe);
// Text of the scale label: "60 cm", "2 m".
QString scaleLabel(int nzoom, int longaxe);
