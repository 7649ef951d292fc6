// Reading and writing an exercise text of 1 MB with formatting and a table: the time the pane
// waits for when a text is opened or saved.
#include "benchmarks/benchmain.h"
#include "richtext/richtext.h"

#include <QTextDocument>

namespace {

// About 1 MB of RTF: paragraphs with bold, italic, colour, sub- and superscripts, accents and
// Greek letters, and a 3-column table every 50 paragraphs.
QByteArray megabyteRtf()
{
    QByteArray rtf("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman "
                   "Times New Roman;}{\\f2\\froman\\fcharset2 Symbol;}}{\\colortbl;\\red0\\green0"
                   "\\blue200;\\red200\\green0\\blue0;}\n");
    int paragraph = 0;
    while (rtf.size() < 1024 * 1024) {
        if (++paragraph % 50 == 0) {
            for (int row = 0; row < 5; ++row) {
                rtf += "\\trowd\\trgaph70\\cellx2000\\cellx5000\\cellx8000\n";
                for (int cell = 0; cell < 3; ++cell)
                    rtf += "\\pard\\intbl\\qc {\\b OA}{\\sub 1} = 12,5 cm\\cell\n";
                rtf += "\\row\n";
            }
            continue;
        }
        rtf += "\\pard\\qj\\li284\\fi-142\\sa120\\f1\\fs24 L'objet {\\b AB} est plac\\'e9 \\'e0 "
               "20\\~cm de la lentille ; {\\i f'} = 10 cm et l'image {\\cf1 A'{\\sub 1}B'{\\sub "
               "1}} est r\\'e9elle. L'angle {\\f2 \\'61} vaut 30\\'b0 et x{\\super 2} = 4 "
               "\\u8364? \\ldblquote \\'9cil\\rdblquote .\\par\n";
    }
    rtf += "}";
    return rtf;
}

// About 250 KB shaped like the slow real files: a long table whose cells change format every few
// words, as report generators and Word's tables of results write them.
QByteArray tableRtf()
{
    QByteArray rtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New "
                   "Roman;}}{\\colortbl;\\red0\\green0\\blue200;}\n");
    while (rtf.size() < 250 * 1024) {
        rtf += "\\trowd\\trgaph70\\trleft-70\\cellx1500\\cellx3000\\cellx4500\\cellx6000\\cellx7500"
               "\n";
        for (int cell = 0; cell < 5; ++cell)
            rtf += "\\pard\\intbl\\ql\\f1\\fs20 {\\b Mesure} {\\i d} = {\\cf1 12,5}{\\super 2} "
                   "{\\f0 cm}\\cell\n";
        rtf += "\\row\n";
    }
    rtf += "}";
    return rtf;
}

// The floor: the same text, without its formats, set as plain text.
void plainTextFloor(benchmark::State &state, const QByteArray &rtf)
{
    QTextDocument read;
    richtext::readRtf(rtf, &read);
    const QString text = read.toPlainText();
    for (auto _ : state) {
        QTextDocument doc;
        doc.setPlainText(text);
        benchmark::DoNotOptimize(doc.characterCount());
    }
}

void BM_PlainTextFloor(benchmark::State &state)
{
    plainTextFloor(state, megabyteRtf());
}

void BM_PlainTextFloorTables(benchmark::State &state)
{
    plainTextFloor(state, tableRtf());
}

void BM_ReadRtfTables(benchmark::State &state)
{
    const QByteArray rtf = tableRtf();
    for (auto _ : state) {
        QTextDocument doc;
        richtext::readRtf(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
}

void BM_ReadRtf(benchmark::State &state)
{
    const QByteArray rtf = megabyteRtf();
    for (auto _ : state) {
        QTextDocument doc;
        richtext::readRtf(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * rtf.size());
}

void BM_WriteRtf(benchmark::State &state)
{
    QTextDocument doc;
    richtext::readRtf(megabyteRtf(), &doc);
    for (auto _ : state) {
        const QByteArray out = richtext::writeRtf(&doc);
        benchmark::DoNotOptimize(out.size());
    }
}

} // namespace

BENCHMARK(BM_PlainTextFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextFloorTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRtfTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);
