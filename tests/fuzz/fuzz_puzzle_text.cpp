// libFuzzer target: any bytes, read as a puzzle text and written back, must neither crash nor
// read past the text.
#include "alphabet.h"
#include "cluespg.h"
#include "cp1252.h"
#include "fileio.h"
#include "globals.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "trv600.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Setup {
    Setup()
    {
        InitGlobals();
        CreateClueGrids();
        WordList = &words;
        TRVCreateRenumGrid(15, 15);
    }
    TPlainWordList words;
    ScriptedPrompter boxes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Setup setup;
    if (size > 256 * 1024)
        return 0;
    // Every input starts from the same document, so that a finding reproduces alone.
    InitGlobals();
    SetAlphabet(DefaultAlphabet);
    DocControls = TDocumentControls{};
    setup.words.Clear();
    CurrentCluesSL->Clear();
    TRVCreateRenumGrid(15, 15);
    TRVSetSymMode(1);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList lines;
    for (const QByteArray &line : Cp1252::splitLines(bytes))
        lines << Cp1252::toUnicode(line);
    lines << QStringLiteral("FileName=fuzz.trv");
    // A refused text changes nothing: only a puzzle that was read is written and read again.
    if (!ReadPuzzleFromStrings(lines)) {
        setup.boxes.boxes.clear();
        return 0;
    }
    QStringList out;
    WritePuzzleToStrings(out);
    // What the writer produced reads back without complaint.
    setup.boxes.boxes.clear();
    ReadPuzzleFromStrings(out);
    if (!setup.boxes.boxes.isEmpty()) {
        std::fprintf(stderr, "re-reading the written text gave: %s\n", qPrintable(setup.boxes.lastText()));
        __builtin_trap();
    }
    setup.boxes.boxes.clear();
    return 0;
}
