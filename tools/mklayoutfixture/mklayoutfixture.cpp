// mklayoutfixture.cpp - makes the page-layout fixtures tests/data/layout/puzzle15.trv,
// puzzle21.trv and puzzle13.trv: a 15 x 15, a 21 x 21 and a 13 x 13 benchmark pattern filled by
// the engine with its fixed seed, every answer given a stock clue from the clue files (picked
// with a fixed seed), a title and a subtitle, saved by the document layer as a puzzle file
// (Windows-1252, CR LF). Each file is read back and its clue rows counted.
//
// The 13 x 13 puzzle has long clues, so that its clues need a second page: each answer's clue
// is followed by the answer's other glosses in the clue files and then by cross-references to
// the next answers ("see also ANSWER: clue"), joined by "; ", until it is at least 170
// characters long.
//
// A fill from the build's dictionary leaves a fifth to a quarter of its answers without a stock
// clue, so the fill uses a dictionary of its own: the build's word lists (SCOWL, the same lists
// and size, in the same order) cut down to the words the clue files hold, packed into a
// temporary folder. The fills from this smaller dictionary take several minutes.
//
// Usage: mklayoutfixture <folder holding ZEDAVIV> <output folder> [file ...]
//   e.g. build/bin/mklayoutfixture build/bin tests/data/layout puzzle13.trv
//   Without file names every fixture is made.
// The folder must hold the clue files ZEDAVIV/Clues.02 ... Clues.17 of the build.
#include "bench_patterns.h"
#include "dictpack.h"

#include "alphabet.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "layoutsettings.h"
#include "pataux.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "trv600.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QTemporaryDir>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

struct Fixture {
    const char *pattern;
    const char *file;
    const char *title;
    const char *subtitle;
    unsigned clueSeed;
    int clueLength; // clues are lengthened to this many characters with more glosses (0: not)
};

const Fixture kFixtures[] = {
    {"15x15-01", "puzzle15.trv", "Layout Fifteen", "A filled 15 x 15 grid with stock clues", 15, 0},
    {"21x21", "puzzle21.trv", "Layout Twenty-One", "A filled 21 x 21 grid with stock clues", 21, 0},
    {"13x13", "puzzle13.trv", "Layout Thirteen", "A filled 13 x 13 grid with long clues", 13, 170},
};

void Nothing(int, int) {}
void NoRejects() {}

/** The answers the clue files of the folder give clues for, upper case: per file Clues.NN the
 *  lines whose key (their first run of letters) is NN letters long. */
std::unordered_set<std::string> CluedWords(const QString &clueFolder)
{
    std::unordered_set<std::string> words;
    for (int length = 2; length <= trvdict::MaxLength; ++length) {
        QFile file(clueFolder + QStringLiteral("Clues.%1").arg(length, 2, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine();
            std::string key;
            for (char c : line) {
                if (!std::isalpha(static_cast<unsigned char>(c)))
                    break;
                key += char(std::toupper(static_cast<unsigned char>(c)));
            }
            if (int(key.size()) == length && line.indexOf('|') == length)
                words.insert(key);
        }
    }
    return words;
}

/** Every gloss of every answer in the clue files of the folder, keyed by the upper-case answer,
 *  in file order. */
QHash<QString, QStringList> AllGlosses(const QString &clueFolder)
{
    QHash<QString, QStringList> glosses;
    for (int length = 2; length <= trvdict::MaxLength; ++length) {
        QFile file(clueFolder + QStringLiteral("Clues.%1").arg(length, 2, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QStringList parts = QString::fromLatin1(file.readLine()).trimmed().split(QLatin1Char('|'));
            if (parts.size() > 1 && parts[0].size() == length)
                glosses[parts[0].toUpper()] += parts.mid(1);
        }
    }
    return glosses;
}

/** Lengthens every clue to length characters: first with the answer's other glosses, then with
 *  cross-references to the answers after it ("see also ANSWER: its clue"), in turn. */
void LengthenClues(const QHash<QString, QStringList> &glosses, int length)
{
    struct Answer {
        TClueGrid *grid;
        int row;
        QString word;
        QString clue;
    };
    std::vector<Answer> answers;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r)
            answers.push_back(
                {grid, r, AnswerOfKey(grid->Cell(0, r)).trimmed().toUpper(), grid->Cell(1, r).trimmed()});
    for (size_t i = 0; i < answers.size(); ++i) {
        Answer &a = answers[i];
        QString clue = a.clue;
        QStringList seen{clue.toLower()};
        for (const QString &gloss : glosses.value(a.word)) {
            if (clue.size() >= length)
                break;
            if (seen.contains(gloss.toLower()))
                continue;
            seen << gloss.toLower();
            clue += QStringLiteral("; ") + gloss;
        }
        for (size_t k = 1; k < answers.size() && clue.size() < length; ++k) {
            const Answer &other = answers[(i + k) % answers.size()];
            clue += QStringLiteral("; see also ") + other.word + QStringLiteral(": ") + other.clue.toLower();
        }
        a.grid->SetCell(1, a.row, clue);
        StoreClueForAnswer(a.grid->Cell(0, a.row), clue);
    }
}

/** Packs the build's word lists, cut down to the clued words, into folder/ZEDAVIV. */
bool MakeCluedDictionary(const QString &clueFolder, const QString &folder)
{
    const std::unordered_set<std::string> clued = CluedWords(clueFolder);
    std::vector<std::string> all, kept;
    std::string error;
    std::vector<std::string> listNames;
    for (const QString &name : QStringLiteral(TRV_SCOWL_LISTS).split(QLatin1Char(','), Qt::SkipEmptyParts))
        listNames.push_back(name.toStdString());
    if (!trvdict::readScowl(TRV_SCOWL_DIR, listNames, TRV_SCOWL_SIZE, all, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    for (const std::string &w : all)
        if (clued.count(w))
            kept.push_back(w);
    std::vector<trvdict::ListFile> lists;
    if (!trvdict::writeDictionary(QDir(folder).filePath(QStringLiteral("ZEDAVIV")).toStdString(), kept,
                                  &lists, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    size_t packed = 0;
    for (const auto &list : lists)
        packed += list.words;
    const std::unordered_set<std::string> distinct(all.begin(), all.end());
    std::printf("dictionary: %zu of %zu words have a stock clue\n", packed, distinct.size());
    return packed > 0;
}

const BenchPattern *FindPattern(const char *name)
{
    for (const auto &p : BenchPatterns())
        if (std::strcmp(p.name, name) == 0)
            return &p;
    return nullptr;
}

/** Answer rows of the across and down grids; the answers still without a clue go to unclued. */
int CountClues(QStringList *unclued = nullptr)
{
    int rows = 0;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r) {
            ++rows;
            if (unclued && grid->Cell(1, r).trimmed().isEmpty())
                unclued->append(AnswerOfKey(grid->Cell(0, r)));
        }
    return rows;
}

/** A fresh document state with the new-puzzle layout on US Letter paper. */
void ResetDocument(TPlainWordList &words)
{
    InitGlobals();
    SetAlphabet(DefaultAlphabet);
    DocControls = TDocumentControls{};
    FreeClueGrids();
    CreateClueGrids();
    words.Clear();
    WordList = &words;
    SetDefaultLayout();
    // The paper is fixed so that the file does not depend on this machine's printers.
    PaperWidth = 8.5;
    PaperHeight = 11;
}

bool MakeFixture(const Fixture &f, const QString &outputFolder, const QString &clueFolder,
                 TPlainWordList &words)
{
    const BenchPattern *pattern = FindPattern(f.pattern);
    if (!pattern) {
        std::fprintf(stderr, "no pattern %s\n", f.pattern);
        return false;
    }
    ResetDocument(words);
    TRVThemeDeleteAll();
    LoadBenchPattern(*pattern);
    TRVSetSymMode(1);
    // Without TRV_CONSTRUCT_RANDOM the engine uses its fixed seed, so the fill repeats.
    const int result = TRVConstructCmd(TRV_RIPUP_ALLOWED);
    if (result != TRV_FINISHED) {
        std::fprintf(stderr, "%s: construction ended with %d, not finished\n", f.pattern, result);
        return false;
    }
    SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
    DocControls.PuzzleTitle = QString::fromLatin1(f.title);
    DocControls.PuzzleSubtitle = QString::fromLatin1(f.subtitle);

    // The answers, then a stock clue for each; the pick among an answer's candidates repeats.
    std::mt19937 pick(f.clueSeed);
    StockClueRandom = [&pick](int n) { return n > 0 ? int(pick() % unsigned(n)) : 0; };
    CluesNeedRebuild = true;
    RebuildClueGrids();
    AssignStockClues(false);
    StockClueRandom = nullptr;
    if (f.clueLength > 0)
        LengthenClues(AllGlosses(clueFolder), f.clueLength);

    const QString fileName = QDir(outputFolder).filePath(QString::fromLatin1(f.file));
    if (!SavePuzzleFile(fileName)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(fileName));
        return false;
    }

    // Read back as the program opens it.
    ResetDocument(words);
    ReadTextPuzzleFile(fileName);
    QStringList unclued;
    const int rows = CountClues(&unclued);
    std::printf("%s: pattern %s, %d x %d, %d clues (%d across, %d down), %d without a clue%s%s\n",
                qPrintable(fileName), f.pattern, Columns, Rows, rows, CluesAcrossSG->RowCount() - 1,
                CluesDownSG->RowCount() - 1, int(unclued.size()), unclued.isEmpty() ? "" : ": ",
                qPrintable(unclued.join(QLatin1Char(' '))));
    return rows > 0 && unclued.isEmpty();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mklayoutfixture <folder holding ZEDAVIV> <output folder> [file ...]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The output folder is taken before entering the dictionary's folder, which the engine needs.
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    const QString folder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir dictionary;
    if (!QDir(output).exists() || !dictionary.isValid()) {
        std::fprintf(stderr, "no folder %s\n", argv[2]);
        return 1;
    }
    // The stock clues come from the given folder, the fill's words from the temporary one.
    SetProgramFolderForTesting(AddBackslash(folder));
    if (!MakeCluedDictionary(AddBackslash(folder) + QStringLiteral("ZEDAVIV/"), dictionary.path()) ||
        !QDir::setCurrent(dictionary.path())) {
        std::fprintf(stderr, "cannot make the dictionary from %s\n", argv[1]);
        return 1;
    }
    ScriptedPrompter quiet; // messages are recorded, not shown
    installEngineMessageHandler();
    TRVEstablishConstructInfoCB(Nothing);
    TRVEstablishRejectedWordsCB(NoRejects);

    TPlainWordList words;
    bool ok = true;
    QStringList only;
    for (int i = 3; i < argc; ++i)
        only << QString::fromLocal8Bit(argv[i]);
    const QString clueFolder = AddBackslash(folder) + QStringLiteral("ZEDAVIV/");
    for (const Fixture &f : kFixtures)
        if (only.isEmpty() || only.contains(QString::fromLatin1(f.file)))
            ok = MakeFixture(f, output, clueFolder, words) && ok;
    for (const auto &box : quiet.boxes)
        std::fprintf(stderr, "message: %s\n", qPrintable(box.text));
    WordList = nullptr;
    QDir::setCurrent(QDir::rootPath()); // leave the temporary folder before it goes
    return ok ? 0 : 1;
}
