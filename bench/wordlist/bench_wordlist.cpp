// bench_wordlist - the word-and-clue editor with long lists: a word-list file of many lines
// imported and exported, and a puzzle with many theme words opened in the main window. Prints
// the seconds of each; both grow linearly with the list.
#include "cluesedit.h"
#include "fileio.h"
#include "globals.h"
#include "lines.h"
#include "mainfm.h"
#include "prompter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

double Seconds(const QElapsedTimer &t) { return t.nsecsElapsed() / 1e9; }

// Distinct upper-case words of 3 to 10 letters, the same on every run.
QStringList MakeWords(int count)
{
    std::mt19937 random(7);
    QStringList words;
    for (int i = 0; i < count; ++i) {
        QString word;
        const int length = 3 + int(random() % 8);
        for (int k = 0; k < length; ++k)
            word += QChar(u'A' + int(random() % 26));
        words << word;
    }
    return words;
}

void BenchWordListFile(int count)
{
    QStringList fileLines;
    const QStringList words = MakeWords(count);
    for (int i = 0; i < count; ++i)
        fileLines << words[i] + QStringLiteral("\t|Clue number %1").arg(i);
    TEntries entries;
    QElapsedTimer t;
    t.start();
    entries.LoadLines(fileLines);
    const double import = Seconds(t);
    t.start();
    const QStringList saved = entries.ListFileLines();
    const double exportSeconds = Seconds(t);
    std::printf("word list, %d lines: import %.3f s, export %.3f s (%lld lines out)\n", count, import,
                exportSeconds, static_cast<long long>(saved.size()));
}

void BenchPuzzleOpen(int count, const QString &folder)
{
    TMainFm window;
    MainFormReady = true;
    window.resize(1000, 700);
    window.show();
    QCoreApplication::processEvents();

    // The new puzzle's text with the theme words put in.
    QStringList text;
    WritePuzzleToStrings(text);
    const int start = int(text.indexOf(QStringLiteral("THEME WORDS:")));
    if (start < 0) {
        std::fprintf(stderr, "no theme-word section in the puzzle text\n");
        return;
    }
    const QStringList words = MakeWords(count);
    QStringList theme;
    for (const QString &word : words)
        theme << QStringLiteral("\t0\t--\t%1\t|A clue for %2").arg(word, word.toLower());
    for (int i = int(theme.size()) - 1; i >= 0; --i)
        text.insert(start + 1, theme[i]);
    const QString name = folder + QStringLiteral("/many.trv");
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        return;
    }
    file.write(text.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    file.close();

    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu = std::clock();
    const bool opened = window.OpenPuzzleFileOrUrl(name, false);
    const double openSeconds = Seconds(wall);
    // What follows the open before the user can go on: painting and the idle passes.
    FirstIdle = false; // no tour, no command-line file
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        window.OnIdleEvent();
    }
    const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    std::printf("puzzle with %d theme words: opened in %.3f s, drawn and idle by %.3f s (%.3f s CPU)%s, "
                "%d entries\n",
                count, openSeconds, Seconds(wall), cpuSeconds, opened ? "" : " - NOT OPENED",
                window.ClueEditor->EntryCount());
    MainFormReady = false;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int themeWords = argc > 2 ? std::atoi(argv[2]) : 10000;
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    // Settings and user data of the bench's own.
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    InitGlobals();
    ScriptedPrompter quiet; // messages are answered, not shown
    BenchWordListFile(lines);
    std::fflush(stdout);
    BenchPuzzleOpen(themeWords, home.path());
    return 0;
}
