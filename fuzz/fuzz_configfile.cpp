// The configuration file: any bytes through an in-memory device. A file that loads must save
// and load again to the same values.
#include "config/configfile.h"
#include "fuzz/fuzzqt.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

namespace {
bool sameValues(const ConfigValues &a, const ConfigValues &b)
{
    return a.combo1 == b.combo1 && a.nzoom == b.nzoom && a.longaxe == b.longaxe
        && a.echelle == b.echelle && a.hscroll == b.hscroll && a.check2 == b.check2
        && a.check1 == b.check1 && a.text1 == b.text1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer device(&bytes);
    fuzzCheck(device.open(QIODevice::ReadOnly), "open buffer");
    const ControlRanges ranges;
    ConfigValues values;
    const ConfigRead result = readConfigFile(&device, ranges, &values);
    ConfigValues direct;
    fuzzCheck(parseConfigFile(bytes, ranges, &direct) == result,
              "the device and the bytes read differently");
    if (result != ConfigRead::Ok)
        return 0;

    QByteArray saved;
    fuzzCheck(buildConfigFile(values, &saved), "a loaded file cannot be saved");
    fuzzCheck(saved.size() == ConfigFileSize, "a saved file has the wrong size");
    ConfigValues reloaded;
    fuzzCheck(parseConfigFile(saved, ranges, &reloaded) == ConfigRead::Ok,
              "a saved file does not load");
    fuzzCheck(sameValues(values, reloaded), "a saved file loads other values");
    return 0;
}
