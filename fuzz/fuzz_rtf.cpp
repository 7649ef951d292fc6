// libFuzzer target: any bytes read as RTF into a document, written back and read again, must
// neither crash nor hang.
#include "platform/richtext.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Fonts and pictures need an application object; offscreen needs no display.
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument doc;
    if (!richtext::readRtf(bytes, &doc))
        return 0;
    const QByteArray written = richtext::writeRtf(&doc);
    QTextDocument again;
    richtext::readRtf(written, &again);
    return 0;
}
