// mksamples: makes the sample word lists and sample puzzles that ship in the program folder.
//
// Word lists: for every theme of samplelists.cpp a freeform list "<Theme>.ff.thm" and a
// symmetrical list "<Theme>.sym.thm", answers and clues from WordNet's hyponym trees, written
// and read back by the word-list model of the editor.
//
// Puzzles: a few of those lists made into puzzles by the document and engine code the program
// uses: the freeform builder with its fixed seed, or a stock pattern of the program's StockPat
// filled by the engine with its fixed seed from a dictionary of common clued words; the theme
// words' clues from the list and the others' from the clue files (a seeded pick), a title, the
// page laid out by the Auto-Layout expert; saved as the program saves, then opened as the
// program opens it (no message may come up) and saved again, which must give the same bytes.
//
// Usage: mksamples --wordnet DIR --scowl DIR --lists english,american --exclude FILE
//                  --program DIR --manifest FILE
//   DIR of --program holds ZEDAVIV/Clues.NN and StockPat, and receives the samples; FILE gets
//   their names, one a line, for the installation.
#include "puzzlefiles.h"
#include "samplelists.h"

#include "alphabet.h"
#include "autolayout.h"
#include "cluespg.h"
#include "cluetext.h"
#include "cp1252.h"
#include "dictpack.h"
#include "fileio.h"
#include "globals.h"
#include "layoutsettings.h"
#include "lines.h"
#include "loose.h"
#include "mainfm.h"
#include "pataux.h"
#include "prompter.h"
#include "stockpat.h"
#include "trv600.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using namespace mksamples;

struct Options {
    std::string wordnet, scowl, exclude, program, manifest;
    std::vector<std::string> lists{"english", "american"};
};

/** A sample puzzle: the list it is made from, its kind, size and title. */
struct Sample {
    const char *theme;
    bool freeform;
    int size;
    const char *title;
};

const Sample kSamples[] = {
    {"Birds", true, 15, "Birds"},
    {"Music", true, 17, "Musical Instruments"},
    {"Countries", true, 21, "Countries of the World"},
    {"Space", false, 13, "Sky and Space"},
    {"Weather", false, 15, "Weather"},
    {"Furniture", false, 17, "Furniture"},
};

// The largest SCOWL size of the lists' answers and of the words the symmetrical fills draw on:
// common words only.
constexpr int kFillLevel = 50;
// Engine steps one pattern's fills may take before the next stock pattern is tried.
constexpr long kFillBudget = 400000;
// The stock patterns of the size, best fit first, that a symmetrical sample tries.
constexpr size_t kPatternsTried = 6;
// Seed of the pick among an answer's stock clues.
constexpr unsigned kClueSeed = 32;

QString q(const std::string &s) { return QString::fromStdString(s); }

QString listPath(const Options &o, const char *theme, bool freeform)
{
    return QDir(q(o.program))
        .filePath(QString::fromLatin1(theme) +
                  (freeform ? QStringLiteral(".ff.thm") : QStringLiteral(".sym.thm")));
}

QString puzzlePath(const Options &o, const Sample &s)
{
    return QDir(q(o.program))
        .filePath(QString::fromLatin1(s.title) +
                  (s.freeform ? QStringLiteral(" (freeform).trv") : QStringLiteral(" (symmetrical).trv")));
}

/** The word list of a headless document, with the slot labels the engine's reports give. */
class LabelledWordList : public TWordListAccess
{
public:
    struct Item {
        QString word, clue, label = kUnsetSlotLabel;
    };
    QList<Item> items;

    int EntryCount() const override { return int(items.size()) + 1; }
    QString GetWord(int e) const override { return e < items.size() ? items[e].word : QString(); }
    QString GetClue(int e) const override { return e < items.size() ? items[e].clue : QString(); }
    QString GetSlotLabel(int e) const override { return e < items.size() ? items[e].label : kUnsetSlotLabel; }
    void AddEntry(const QString &text) override
    {
        items.append({TEntries::WordOfText(text), TEntries::ClueOfText(text)});
    }
    void Clear() override { items.clear(); }
    void MarkSaved() override {}
    bool IsSaved() const override { return true; }
    void NotifyAllChanged() override {}
};

LabelledWordList Words;
int PlacedThemeWords = 0; // entries labelled since it was last reset

/** The engine's theme-word report, as the main window takes it: the first unplaced entry of
 *  the word gets the slot's label, and the clue-grid row is marked as the user's word. */
void ThemeWordPlaced(char code, int number, const char *word)
{
    if (number == 0) {
        if (code == ' ')
            for (auto &item : Words.items)
                item.label = kUnsetSlotLabel;
        return;
    }
    const QString upper = UpperCaseText(Cp1252::toUnicode(QByteArray(word)));
    const QString label = QString::number(number) + QLatin1Char(' ') + QLatin1Char(code);
    for (auto &item : Words.items) {
        if (UpperCaseText(item.word) != upper)
            continue;
        if (item.label == label)
            break;
        if (item.label != kUnsetSlotLabel)
            continue;
        item.label = label;
        ++PlacedThemeWords;
        break;
    }
    TClueGrid *grid = code == 'A' ? CluesAcrossSG : CluesDownSG;
    const QString key = MakeAnswerKey(number, upper);
    for (int r = 1; grid && r < grid->RowCount(); ++r)
        if (grid->Cell(0, r) == key)
            grid->Row(r).ThemeWord = true;
}

long Steps = 0;
bool Cancelled = false;
void OnProgress(int, int)
{
    if (++Steps > kFillBudget && !Cancelled) {
        Cancelled = true;
        TRVUserCancel();
    }
}
void NoRejects() {}

/** A fresh document: the new-puzzle layout of the kind on US Letter paper (so the file does
 *  not depend on this machine's printers). */
void ResetDocument(bool freeform)
{
    InitGlobals();
    SetAlphabet(DefaultAlphabet);
    DocControls = TDocumentControls{};
    DocControls.EveryPuzzleDifferent = true; // as a new puzzle has it
    FreeformMode = freeform;
    FreeClueGrids();
    CreateClueGrids();
    Words.Clear();
    WordList = &Words;
    SetDefaultLayout();
    PaperWidth = 8.5;
    PaperHeight = 11;
    TRVSetShowHotSpots(0);
}

/** Sends the list's words to the engine as the main window does: upper case, only those whose
 *  length has a slot. */
void SendThemeWords()
{
    TRVThemeDeleteAll();
    for (const auto &item : Words.items) {
        const QByteArray letters = Cp1252::fromUnicode(UpperCaseText(item.word));
        if (!letters.isEmpty() && TRVGetWLCount(int(letters.size())) > 0)
            TRVNewThemeWord(letters.constData(), "", 0);
    }
}

bool WriteList(const QString &path, const std::vector<Entry> &entries)
{
    QStringList lines;
    for (const Entry &e : entries)
        lines << q(e.answer) + QLatin1Char('\t') + q(e.clue);
    TEntries list;
    list.LoadLines(lines);
    if (!list.SaveToFile(path))
        return false;
    // Read back as "import" reads it.
    TEntries back;
    if (!back.LoadFromFile(path))
        return false;
    for (size_t i = 0; i < entries.size(); ++i)
        if (back.GetWord(int(i)) != q(entries[i].answer) || back.GetClue(int(i)) != q(entries[i].clue)) {
            std::fprintf(stderr, "mksamples: %s reads back differently at entry %zu\n", qPrintable(path),
                         i + 1);
            return false;
        }
    return true;
}

/** The common words of the dictionary lists that the clue files give a clue and that are fit for
 *  a general audience, packed into folder/ZEDAVIV. */
bool MakeFillDictionary(const Options &o, const WordNet &wn, const Exclusions &excluded,
                        const QString &folder)
{
    std::unordered_set<std::string> clued;
    for (int length = 2; length <= trvdict::MaxLength; ++length) {
        QFile file(QDir(q(o.program))
                       .filePath(QStringLiteral("ZEDAVIV/Clues.%1").arg(length, 2, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine();
            const int bar = int(line.indexOf('|'));
            if (bar == length)
                clued.insert(line.left(bar).toLower().toStdString());
        }
    }
    std::vector<std::string> all, kept;
    std::string error;
    if (!trvdict::readScowl(o.scowl, o.lists, kFillLevel, all, &error)) {
        std::fprintf(stderr, "mksamples: %s\n", error.c_str());
        return false;
    }
    for (const std::string &w : all) {
        const std::string lower = mkclues::lowerAscii(w);
        if (clued.count(lower) && !excluded.Excludes(lower) && !wn.UnsuitableForm(lower))
            kept.push_back(w);
    }
    if (!trvdict::writeDictionary(QDir(folder).filePath(QStringLiteral("ZEDAVIV")).toStdString(), kept,
                                  nullptr, &error)) {
        std::fprintf(stderr, "mksamples: %s\n", error.c_str());
        return false;
    }
    return !kept.empty();
}

bool LoadWords(const QString &path)
{
    TEntries list;
    if (!list.LoadFromFile(path))
        return false;
    for (int e = 0; e < list.EntryCount(); ++e)
        if (!list.GetWord(e).isEmpty())
            Words.AddEntry(list.GetWord(e) + QLatin1Char('\t') + list.GetClue(e));
    return !Words.items.isEmpty();
}

bool BuildFreeform(const Sample &s)
{
    QList<TFreeformEntry> entries;
    for (const auto &item : Words.items)
        entries.append({item.word, item.clue});
    TFreeformOptions options;
    options.AutoSize = false;
    options.Columns = options.Rows = s.size;
    TRVCreateRenumGrid(s.size, s.size);
    options.GridCells = ReadFreeformGridCells();
    const TFreeformResult result = TFreeformBuilder(entries, options).BuildFreeformPuzzle();
    if (!StoreFreeformResult(result))
        return false;
    DocControls.LooseAutoSize = false;
    SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
    PuzzleLeft = (PaperWidth - Columns * CellWidth) / 2 - MarginLeft;
    std::printf("%s: %d of %d words placed\n", s.title, int(result.Placed.size()), int(entries.size()));
    SendThemeWords();
    return true;
}

bool BuildSymmetrical(const Sample &s, const QString &dictionary)
{
    TStockPatterns patterns;
    if (!patterns.ParseStockPatFile()) {
        std::fprintf(stderr, "mksamples: %s\n", qPrintable(patterns.FailureText()));
        return false;
    }
    QStringList words;
    for (const auto &item : Words.items)
        words << item.word;
    patterns.SetThemeWords(words);
    // The patterns of the size, the best fit for the words first.
    std::vector<std::pair<int, int>> ranked;
    for (int n = 1; n <= patterns.Count(); ++n) {
        int columns = 0, rows = 0;
        patterns.PatternSize(n, columns, rows);
        if (columns == s.size && rows == s.size)
            ranked.emplace_back(-patterns.ThemeFitScore(n), n);
    }
    std::sort(ranked.begin(), ranked.end());
    if (ranked.size() > kPatternsTried)
        ranked.resize(kPatternsTried);
    const QString programFolder = QDir::currentPath();
    QDir::setCurrent(dictionary);
    // Each pattern is filled as Make Puzzle fills it; the one that takes the most of the list's
    // words is filled again (the same seeds give the same fill) and kept.
    const auto fill = [&patterns](int n) {
        TRVSetSymMode(1);
        if (!patterns.SelectPattern(n))
            return -1;
        SendThemeWords();
        Steps = 0;
        Cancelled = false;
        if (TRVConstructKeepingThemeWords(TRV_RIPUP_ALLOWED, TMainFm::MakePuzzleAttempts) != TRV_FINISHED)
            return -1;
        PlacedThemeWords = 0;
        TRVCorrectAllThemeWordLocations(0);
        return PlacedThemeWords;
    };
    int best = 0, bestPlaced = -1;
    for (const auto &[score, n] : ranked) {
        const int placed = fill(n);
        if (placed > bestPlaced) {
            best = n;
            bestPlaced = placed;
        }
    }
    const bool filled = best > 0 && fill(best) == bestPlaced;
    QDir::setCurrent(programFolder);
    if (!filled) {
        std::fprintf(stderr, "mksamples: no %dx%d pattern filled for %s\n", s.size, s.size, s.theme);
        return false;
    }
    std::printf("%s: pattern %s, %d of %d words placed\n", s.title, qPrintable(patterns.Pattern(best).Name),
                bestPlaced, int(Words.items.size()));
    SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
    return true;
}

/** Answer rows without a clue. */
QStringList Unclued()
{
    QStringList answers;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r)
            if (grid->Cell(1, r).trimmed().isEmpty())
                answers << grid->Cell(0, r).trimmed();
    return answers;
}

int ThemeRows()
{
    int n = 0;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r)
            n += grid->Row(r).ThemeWord;
    return n;
}

bool MakeSample(const Options &o, const Sample &s, const QString &dictionary, ScriptedPrompter &prompter)
{
    ResetDocument(s.freeform);
    if (!LoadWords(listPath(o, s.theme, s.freeform)))
        return false;
    if (!(s.freeform ? BuildFreeform(s) : BuildSymmetrical(s, dictionary)))
        return false;
    DocControls.PuzzleTitle = QString::fromLatin1(s.title);
    DocControls.PuzzleSubtitle =
        s.freeform ? QStringLiteral("A freeform crossword") : QStringLiteral("A crossword");
    CluesNeedRebuild = true;
    RebuildClueGrids();
    std::mt19937 pick(kClueSeed);
    StockClueRandom = [&pick](int n) { return n > 0 ? int(pick() % unsigned(n)) : 0; };
    AssignStockClues(false);
    StockClueRandom = nullptr;
    const QStringList unclued = Unclued();
    if (!unclued.isEmpty()) {
        std::fprintf(stderr, "mksamples: %s: no clue for %s\n", s.title,
                     qPrintable(unclued.join(QStringLiteral(", "))));
        return false;
    }
    DocControls.AutoLayout = true;
    RunAutoLayout(0);
    if (LastAutoLayoutRun().Outcome != TAutoLayoutOutcome::Fitted) {
        std::fprintf(stderr, "mksamples: %s: the page could not be laid out\n", s.title);
        return false;
    }
    const int themeRows = ThemeRows();
    const QString path = puzzlePath(o, s);
    if (!SavePuzzleFile(path))
        return false;

    // Opened as the program opens it, then saved again: the same bytes, and not a word said.
    QFile first(path);
    if (!first.open(QIODevice::ReadOnly))
        return false;
    const QByteArray written = first.readAll();
    ResetDocument(!s.freeform);
    MainFormReady = true;
    OpenPuzzleFile(path);
    MainFormReady = false;
    const QString again = path + QStringLiteral(".again");
    const bool saved = SavePuzzleFile(again);
    QFile second(again);
    const QByteArray reread = saved && second.open(QIODevice::ReadOnly) ? second.readAll() : QByteArray();
    second.remove();
    if (reread != written) {
        std::fprintf(stderr, "mksamples: %s does not save back as it was read\n", qPrintable(path));
        return false;
    }
    if (!prompter.boxes.isEmpty()) {
        std::fprintf(stderr, "mksamples: %s: %s\n", s.title, qPrintable(prompter.lastText()));
        return false;
    }
    std::printf("%s: %d x %d, %d clues, %d of them the list's, %d page(s)\n",
                qPrintable(QFileInfo(path).fileName()), Columns, Rows,
                CluesAcrossSG->RowCount() + CluesDownSG->RowCount() - 2, themeRows, PageCount);
    return true;
}

bool ParseArguments(int argc, char **argv, Options &o)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--wordnet")
            o.wordnet = value;
        else if (key == "--scowl")
            o.scowl = value;
        else if (key == "--exclude")
            o.exclude = value;
        else if (key == "--program")
            o.program = value;
        else if (key == "--manifest")
            o.manifest = value;
        else if (key == "--lists") {
            o.lists.clear();
            for (const QString &name : q(value).split(QLatin1Char(','), Qt::SkipEmptyParts))
                o.lists.push_back(name.toStdString());
        } else
            return false;
    }
    return !o.wordnet.empty() && !o.scowl.empty() && !o.exclude.empty() && !o.program.empty() &&
           !o.lists.empty() && !o.manifest.empty();
}

} // namespace

int main(int argc, char **argv)
{
    Options o;
    if (!ParseArguments(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: mksamples --wordnet DIR --scowl DIR --lists L1,L2 --exclude FILE --program DIR "
                     "--manifest FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Start-up events (screens, fonts) are delivered before any page is measured, not at the
    // Auto-Layout expert's first pump, wherever that falls.
    QCoreApplication::processEvents();
    o.program = QFileInfo(q(o.program)).absoluteFilePath().toStdString();
    SetProgramFolderForTesting(AddBackslash(q(o.program)));
    ScriptedPrompter prompter; // messages are recorded, never shown
    installEngineMessageHandler();
    TRVEstablishConstructInfoCB(OnProgress);
    TRVEstablishRejectedWordsCB(NoRejects);
    TRVEstablishThemeWordCallBacks(ThemeWordPlaced);
    FileHooks.MakerWebAddress = [] { return TMainFm::DefaultCreditsLine(); };

    std::string error;
    WordNet wn;
    Commonness common;
    Exclusions excluded;
    if (!wn.Load(o.wordnet, &error) || !common.Load(o.scowl, o.lists, kFillLevel, &error) ||
        !excluded.Load(o.exclude, &error)) {
        std::fprintf(stderr, "mksamples: %s\n", error.c_str());
        return 1;
    }

    bool ok = true;
    QStringList made;
    for (const Theme &theme : Themes())
        for (bool freeform : {true, false}) {
            const std::vector<Entry> list = MakeList(wn, common, excluded, theme,
                                                     freeform ? FreeformShape() : SymmetricalShape(), &error);
            const QString path = listPath(o, theme.name, freeform);
            if (list.size() < 12 || !WriteList(path, list)) {
                std::fprintf(stderr, "mksamples: %s: %zu words %s\n", qPrintable(path), list.size(),
                             error.c_str());
                ok = false;
            }
            made << QFileInfo(path).fileName();
        }

    QTemporaryDir dictionary;
    if (!ok || !dictionary.isValid() || !MakeFillDictionary(o, wn, excluded, dictionary.path()))
        return 1;
    for (const Sample &s : kSamples) {
        if (!MakeSample(o, s, dictionary.path(), prompter)) {
            std::fprintf(stderr, "mksamples: %s was not made\n", s.title);
            ok = false;
        }
        made << QFileInfo(puzzlePath(o, s)).fileName();
        prompter.boxes.clear();
    }
    WordList = nullptr;
    // Written last, so that a failed run leaves no manifest and the build runs the tool again.
    QString writeError;
    if (ok && !Cp1252::writeTextLines(q(o.manifest), made, &writeError)) {
        std::fprintf(stderr, "mksamples: %s: %s\n", o.manifest.c_str(), qPrintable(writeError));
        ok = false;
    }
    return ok ? 0 : 1;
}
