// Opening files: the choice of reader by the first line, the deferred open, and the older
// format with its ".CLU" clue companion.
#include "documentcontrols.h"
#include "globals.h"
#include "layoutsettings.h"
#include "puzzlefiles.h"
#include "testdoc.h"

#include "pataux.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSpinBox>

#include <vector>

#include <cstdio>
#include <dlfcn.h>

namespace {
bool g_failNextClose = false;
}

// The engine's older-format reader closes its file with fclose: this one can make the next close
// fail after closing, as a full disk or a lost share does.
extern "C" int fclose(FILE *file)
{
    using CloseFn = int (*)(FILE *);
    static const CloseFn realClose = reinterpret_cast<CloseFn>(dlsym(RTLD_NEXT, "fclose"));
    const int result = realClose(file);
    if (g_failNextClose) {
        g_failNextClose = false;
        return EOF;
    }
    return result;
}

namespace {

class OpenTest : public DocTest
{
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        MainFormReady = true;
    }
    void TearDown() override
    {
        MainFormReady = false;
        DocTest::TearDown();
    }
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

const QByteArray kPuzzleBody = "\r\nColumns=2\r\nRows=1\r\nGRID:\r\n\ta b \r\nEND GRID\r\nEND.\r\n";

TEST_F(OpenTest, FirstLineChoosesTheReader)
{
    struct Case {
        const char *first;
        bool read;
        const char *message;
    } cases[] = {
        {"TRVFileFormat=2.0", true, nullptr},
        {"OWTFileFormat=2.0", true, nullptr},
        {"TRVFileFormat=3.1", true, "%1 has a file format that is more advanced than this version of Tarvel"},
        {"crossword (x) (2*1)", false, "%1 has an unknown file format."},
        {"OWTFileFormat=3.0", false, "%1 has an unknown file format."},
    };
    for (const auto &c : cases) {
        TRVCreateRenumGrid(5, 5);
        const QString path = writeFile(QStringLiteral("p.trv"), QByteArray(c.first) + kPuzzleBody);
        ScriptedPrompter boxes;
        OpenPuzzleFile(path);
        EXPECT_EQ(TRVGetWidth(), c.read ? 2 : 5) << c.first;
        if (c.message) {
            ASSERT_EQ(boxes.boxes.size(), 1) << c.first;
            EXPECT_TRUE(boxes.lastText().startsWith(QString::fromLatin1(c.message).arg(path))) << c.first;
        } else {
            EXPECT_TRUE(boxes.boxes.isEmpty()) << c.first << boxes.lastText().toStdString();
        }
    }
    ScriptedPrompter boxes;
    OpenPuzzleFile(dir.filePath(QStringLiteral("none.trv")));
    EXPECT_EQ(boxes.lastText(), dir.filePath(QStringLiteral("none.trv")) + QStringLiteral(" was not found."));
}

TEST_F(OpenTest, FileChosenDuringStartUpOpensWhenTheWindowIsReady)
{
    const QString path = writeFile(QStringLiteral("p.trv"), QByteArray("TRVFileFormat=2.0") + kPuzzleBody);
    MainFormReady = false;
    OpenPuzzleFile(path);
    EXPECT_EQ(PendingPuzzleFileName, path);
    EXPECT_EQ(TRVGetWidth(), 15);
    MainFormReady = true;
    OpenPendingPuzzleFile();
    EXPECT_EQ(TRVGetWidth(), 2);
    EXPECT_TRUE(PendingPuzzleFileName.isEmpty());
}

// A 3 x 3 older-format puzzle: across CAT (1) and DOG (3), down CUD (1) and TAG (2).
const QByteArray kOldPuzzle =
    "CROSSWORD (test) (3*3)\nSYMMETRY:  None.\nGRID:\n\tC A T \n\tU   A \n\tD O G \nEND.\n";

TEST_F(OpenTest, OlderFormatTakesCluesFromItsCompanionWhateverItsCase)
{
    // Also in a folder whose name is not plain ASCII, and with a word bank ending the down grid.
    struct Case {
        const char *folder;
        bool wordBank;
    } cases[] = {
        {"plain", false},
        {"Caf\xC3\xA9 puzzles", false},
        {"bank", true},
    };
    for (const auto &c : cases) {
        const QString folder = QString::fromUtf8(c.folder);
        ASSERT_TRUE(QDir(dir.path()).mkpath(folder));
        DocControls.WordBankCB = c.wordBank;
        WordBankMode = 0;
        prompter->boxes.clear();
        const QString puzzle = writeFile(folder + QStringLiteral("/old.OWT"), kOldPuzzle);
        // A stray line before the first answer still lets every clue find its row.
        writeFile(folder + QStringLiteral("/old.clu"),
                  " stray\r\n 1 CAT\r\nPet that purrs\r\n 3 DOG\r\nPet that barks\r\n"
                  " 1 CUD\r\nChewed again\r\n 2 TAG\r\nLabel\r\n");
        OpenPuzzleFile(puzzle);
        EXPECT_TRUE(prompter->boxes.isEmpty()) << c.folder << prompter->lastText().toStdString();
        EXPECT_EQ(TRVGetWidth(), 3) << c.folder;
        ASSERT_EQ(CluesAcrossSG->RowCount(), 3) << c.folder;
        EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Pet that purrs"));
        EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QStringLiteral("Pet that barks"));
        EXPECT_EQ(CluesDownSG->Cell(1, 1), QStringLiteral("Chewed again"));
        EXPECT_EQ(CluesDownSG->Cell(1, 2), QStringLiteral("Label"));
        EXPECT_EQ(CluesDownSG->Cell(0, CluesDownSG->RowCount() - 1),
                  c.wordBank ? QStringLiteral("WordBank") : QStringLiteral(" 2 TAG"));
        EXPECT_EQ(CurrentCluesSL->Value(QStringLiteral("TAG")), QStringLiteral("Label"));
        EXPECT_EQ(ClueCompanionName(puzzle), dir.filePath(folder + QStringLiteral("/old.clu")));
    }
}

TEST_F(OpenTest, OlderFormatCompanionProblems)
{
    const QString puzzle = writeFile(QStringLiteral("old.owt"), kOldPuzzle);
    // The companion is named with the folder as the caller gave it, a relative name included.
    const QString home = QDir::currentPath();
    QDir::setCurrent(dir.path());
    for (const QString &name : {puzzle, QStringLiteral("old.owt")}) {
        TRVCreateRenumGrid(5, 5);
        OpenPuzzleFile(name);
        EXPECT_EQ(TRVGetWidth(), 3) << "the grid loads without clues";
        EXPECT_EQ(prompter->lastText(), QStringLiteral("\"%1\" was not found. Puzzle has no clues.")
                                            .arg(name.left(name.size() - 3) + QStringLiteral("CLU")));
    }
    QDir::setCurrent(home);

    writeFile(QStringLiteral("old.CLU"), " 1 CAT\r\nPet that purrs\r\n 3 DOG\r\n");
    OpenPuzzleFile(puzzle);
    EXPECT_EQ(prompter->lastText(), QStringLiteral("File \"%1\" is missing some clue information. ")
                                        .arg(dir.filePath(QStringLiteral("old.CLU"))));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Pet that purrs"));

    writeFile(QStringLiteral("old.CLU"),
              " 1 CAT\r\nPet\r\n 3 DIG\r\nDug\r\n 1 CUD\r\nCud\r\n 2 TAG\r\nTag\r\n");
    OpenPuzzleFile(puzzle);
    EXPECT_EQ(prompter->lastText(),
              QStringLiteral("1 clue inconsistencies in %1").arg(dir.filePath(QStringLiteral("old.CLU"))));

    const QString noExtension = writeFile(QStringLiteral("older"), kOldPuzzle);
    OpenPuzzleFile(noExtension);
    EXPECT_EQ(prompter->lastText(), QStringLiteral("ZZZ: Couldn't add \".CLU\" suffix."));
}

TEST_F(OpenTest, OlderFormatLeavesABlankClueBlank)
{
    // Automatic clues on, and every draw picks another candidate.
    AutoClueSymmetrical = true;
    int draws = 0;
    StockClueRandom = [&draws](int n) { return draws++ % n; };
    const QString puzzle = writeFile(QStringLiteral("old.owt"), kOldPuzzle);
    writeFile(QStringLiteral("old.CLU"),
              " 1 CAT\r\nPet that purrs\r\n 3 DOG\r\n\r\n 1 CUD\r\nChewed again\r\n"
              " 2 TAG\r\nLabel\r\n");
    for (int pass = 0; pass < 2; ++pass) {
        OpenPuzzleFile(puzzle);
        EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
        ASSERT_EQ(CluesAcrossSG->Cell(0, 2), QStringLiteral(" 3 DOG"));
        EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QString()) << pass;
        EXPECT_TRUE(CurrentCluesSL->Value(QStringLiteral("DOG")).isEmpty()) << pass;
    }
    EXPECT_EQ(draws, 0);
    // No stock clue was remembered to come back with a later rebuild.
    MainFormReady = false;
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QString());
}

TEST_F(OpenTest, OlderFormatErrorPutsHotSpotsBack)
{
    DocControls.ShowHotSpots = true;
    const QString puzzle = writeFile(QStringLiteral("bad.owt"), "CROSSWORD no size here\n");
    ReadOldPuzzleFile(puzzle);
    EXPECT_EQ(prompter->boxes.first().text,
              QStringLiteral("TRV file error number 2 while reading from file."));
    EXPECT_TRUE(DocControls.ShowHotSpots);
    EXPECT_EQ(TRVGetShowHotSpots(), 1);
}

// ---- A puzzle that cannot be read never replaces the open one ---------------------------------

const QString kGarden = QStringLiteral(TRV_TEST_DATA "/main/garden.trv");

QByteArray gardenBytes()
{
    QFile file(kGarden);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

struct BrokenText {
    const char *name;
    QByteArray bytes;
    const char *message; // %1: the name the puzzle was opened by
};

// garden.trv broken in the ways a file or a download is.
std::vector<BrokenText> brokenTexts()
{
    const QByteArray garden = gardenBytes();
    return {
        {"cut before the grid", garden.left(garden.indexOf("GRID:")), "File %1 contains no GRID section."},
        {"size not allowed", QByteArray(garden).replace("\nColumns=5\r", "\nColumns=60\r"),
         "File %1 contains an invalid puzzle size."},
        {"unreadable size", QByteArray(garden).replace("\nRows=5\r", "\nRows=five\r"),
         "File %1 contains an invalid puzzle size."},
        {"bad header", "Not a puzzle\r\n" + garden, "%1 has an unknown file format."},
        {"empty", QByteArray(), "%1 has an unknown file format."},
    };
}

/** garden.trv open, edited since (so unsaved), with its text kept to compare. */
class OpenOverGardenTest : public OpenTest
{
protected:
    void SetUp() override
    {
        OpenTest::SetUp();
        ASSERT_TRUE(OpenPuzzleFile(kGarden));
        ASSERT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
        ASSERT_EQ(Columns, 5);
        PuzzleModified = true;
        words.saved = false;
        WritePuzzleToStrings(m_garden);
        prompter->boxes.clear();
    }

    /** One message, then the open puzzle exactly as it was: grid, words, clues, title, state. */
    void expectGardenStays(const QString &message)
    {
        ASSERT_EQ(prompter->boxes.size(), 1) << texts(*prompter).join('\n').toStdString();
        EXPECT_EQ(prompter->lastText(), message);
        QStringList now;
        WritePuzzleToStrings(now);
        EXPECT_EQ(now, m_garden);
        EXPECT_EQ(Columns, 5);
        EXPECT_EQ(Rows, 5);
        EXPECT_EQ(DocControls.PuzzleTitle, QStringLiteral("Garden Friends"));
        EXPECT_TRUE(DocControls.ShowHotSpots);
        EXPECT_EQ(TRVGetShowHotSpots(), 1);
        EXPECT_TRUE(PuzzleModified);
        EXPECT_FALSE(words.saved);
        EXPECT_FALSE(LoadingPuzzle);
        prompter->boxes.clear();
    }

    QStringList m_garden;
};

TEST_F(OpenOverGardenTest, BrokenFileLeavesTheOpenPuzzle)
{
    std::vector<BrokenText> cases = brokenTexts();
    cases.push_back({"older format, size not allowed", "CROSSWORD (big) (0*5)\nGRID:\n\tC \nEND.\n",
                     "TRV file error number 3 while reading from file."});
    cases.push_back({"older format, size unreadable", "CROSSWORD no size\nGRID:\n\tC \nEND.\n",
                     "TRV file error number 2 while reading from file."});
    for (const BrokenText &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(c.bytes.startsWith("CROSSWORD") ? QStringLiteral("broken.owt")
                                                                       : QStringLiteral("broken.trv"),
                                       c.bytes);
        EXPECT_FALSE(OpenPuzzleFile(path));
        expectGardenStays(QString::fromLatin1(c.message).arg(path));
    }
    const QString missing = dir.filePath(QStringLiteral("missing.trv"));
    EXPECT_FALSE(OpenPuzzleFile(missing));
    expectGardenStays(missing + QStringLiteral(" was not found."));
}

TEST_F(OpenOverGardenTest, OlderFormatWhoseCloseFailsLeavesTheOpenPuzzle)
{
    // The engine has read the whole grid when its close fails.
    const QString path = writeFile(QStringLiteral("old.owt"), kOldPuzzle);
    g_failNextClose = true;
    EXPECT_FALSE(OpenPuzzleFile(path));
    EXPECT_FALSE(g_failNextClose) << "the engine's close was the one that failed";
    expectGardenStays(QStringLiteral("TRV file error number 98 while reading from file."));
}

TEST_F(OpenOverGardenTest, BrokenDownloadLeavesTheOpenPuzzle)
{
    const QString address = QStringLiteral("http://puzzles.example/garden.trv");
    for (const BrokenText &c : brokenTexts()) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ReadPuzzleFromBytes(c.bytes, address));
        expectGardenStays(QString::fromLatin1(c.message).arg(address));
    }
    // A sound download is read and left unmodified.
    EXPECT_TRUE(ReadPuzzleFromBytes(gardenBytes(), address));
    EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
    EXPECT_FALSE(PuzzleModified);
}

TEST_F(OpenTest, BothReadersSetTheSizeControls)
{
    QSpinBox columns, rows;
    QComboBox sizes;
    sizes.addItems(PuzzleSizeItems);
    PatAuxControls.ColCountSpEd = &columns;
    PatAuxControls.RowCountSpEd = &rows;
    PatAuxControls.PuzzleSizeCmBx = &sizes;
    struct Case {
        const char *name;
        QByteArray bytes;
        int columns, rows;
    } cases[] = {
        {"p.trv", QByteArray("TRVFileFormat=2.0") + kPuzzleBody, 2, 1},
        {"old.owt", kOldPuzzle, 3, 3},
    };
    for (const auto &c : cases) {
        OpenPuzzleFile(writeFile(QString::fromLatin1(c.name), c.bytes));
        EXPECT_EQ(Columns, c.columns) << c.name;
        EXPECT_EQ(Rows, c.rows) << c.name;
        EXPECT_EQ(columns.value(), c.columns) << c.name;
        EXPECT_EQ(rows.value(), c.rows) << c.name;
        EXPECT_EQ(sizes.currentText(), CustomSizeText(c.columns, c.rows)) << c.name;
    }
    PatAuxControls = TPatAuxControls{};
}

TEST_F(OpenTest, NewPuzzleDefaults)
{
    ClueColumns = 9;
    DocControls.PuzzleTitle = QStringLiteral("Old");
    FreeformMode = true;
    SetDefaultLayout();
    EXPECT_EQ(ClueColumns, 4);
    EXPECT_DOUBLE_EQ(CellWidth, 0.35);
    EXPECT_EQ(LeadingPercentage, 115);
    EXPECT_EQ(TitleFont, QStringLiteral("Times New Roman"));
    EXPECT_EQ(ClueThemeStyle, DefaultClueThemeStyle);
    EXPECT_TRUE(DocControls.PuzzleTitle.isEmpty());
    FreeformMode = false;
    SetDefaultLayout();
    EXPECT_DOUBLE_EQ(CellWidth, 0.25);
}

// Every setting off its factory value.
TLayoutSettings oddLayout()
{
    TLayoutSettings s;
    s.PaperWidth = 8.27, s.PaperHeight = 11.69;
    s.MarginLeft = 0.3, s.MarginRight = 0.4, s.MarginTop = 0.5, s.MarginBottom = 0.6;
    s.PutFrameOnCode = 3, s.PutTitleOnCode = 5;
    s.FrameStyle = QStringLiteral("Odd = 0.05\" Line * 0");
    s.FrameInside = {0.1, 0.2, 0.3, 0.4}, s.FrameOutside = {0.2, 0.3, 0.4, 0.5};
    s.WorksheetLine = QStringLiteral("Name:");
    s.WorksheetFontSize = 20, s.WorksheetFontName = QStringLiteral("Odd");
    s.CellWidth = 0.4, s.CellHeight = 0.45, s.PuzzleLeft = 0.7, s.PuzzleTop = 0.8, s.GridLineThickness = 0.03;
    s.CellNumberPercent = 50, s.PuzzleNumberFont = QStringLiteral("Odd");
    s.clPuzzleGrid = s.clPuzzleNumber = s.RemovedCellColor = 0x123456;
    s.BlockedCellColor = 3, s.PuzzlePage = 2;
    s.AlignSolution = s.NumberedSolution = true;
    s.CellWidthSol = 0.2, s.CellHeightSol = 0.22, s.SolutionLeft = 1.1, s.SolutionTop = 1.2;
    s.GridLineThicknessSol = 0.02, s.CellLetterPercent = 70, s.SolutionFont = QStringLiteral("Odd");
    s.SolutionThemeBold = false, s.SolutionThemeColor = true;
    s.clSolutionNumber = s.clSolutionGrid = s.clSolutionLetter = s.clClues = s.clWordBank = 0x654321;
    s.ClueColumns = 2, s.SeparateClues = true, s.LeadingPercentage = 130;
    s.AcrossText = QStringLiteral("Over"), s.DownText = QStringLiteral("Under");
    s.ClueNumberFont = s.ClueTextFont = s.AcrDwnFont = QStringLiteral("Odd");
    s.ClueNumberFontSize = s.ClueTextFontSize = s.AcrDwnFontSize = 9;
    s.ClueNumberStyle = s.ClueThemeStyle = fsItalic;
    s.ClueThemeInColor = s.ClueThemeAllCaps = true;
    s.AcrDwnBold = s.AcrDwnCapitals = false, s.NewColumnDown = true;
    s.ClueColumnGap = 0.3, s.PuzzleClueGap = 0.4;
    s.WordBankMode = 0, s.WordBankSort = 2, s.WordBankHeader = QStringLiteral("WORDS:"), s.WordBankPage = 2;
    s.asWordBankHeight = 1.5;
    s.CreditsLine = QStringLiteral("Old credits");
    s.TitleFont = s.SubtitleFont = s.CreditsFont = QStringLiteral("Odd");
    s.TitleFontSize = 20, s.SubtitleFontSize = 10, s.CreditsFontSize = 9;
    s.TitleColor = s.SubtitleColor = 0x111111;
    s.TitleStyle = s.SubtitleStyle = fsUnderline;
    s.SubtitleExtraSpacing = 0.2;
    s.SolutionHeaderText = QStringLiteral("Answers"), s.SolutionHeaderFont = QStringLiteral("Odd");
    s.SolutionHeaderFontSize = 14, s.SolutionHeaderStyle = fsBold, s.SolutionHeaderColor = 0x222222;
    s.AutoCellSize = s.AutoCellShape = s.AutoCenter = s.AutoClueColumns = s.AutoClueSize = s.AutoClueSpacing =
        s.AutoMargins = s.AutoNewColumn = s.AutoTitleSize = s.AutoLayout_OnApply = s.AutoLayout_OnSpill =
            false;
    s.AutoLayoutPageChoice = 3, s.AskBeforeUsingTwoPages = false;
    return s;
}

TEST_F(OpenTest, ANewPuzzleTakesTheFactoryLayoutButKeepsThePageItsPartsAndTheAutoLayout)
{
    const TLayoutSettings odd = oddLayout();
    FileHooks.MakerWebAddress = [] { return QStringLiteral("Made with care"); };
    FileHooks.CenteredGridLeft = [] { return (PaperWidth - Columns * 0.35) / 2 - MarginLeft; };
    struct Case {
        const char *name;
        bool freeform;
        double cell, left;
    };
    const Case cases[] = {
        {"symmetrical", false, 0.25, 0},
        {"freeform", true, 0.35, (8.27 - Columns * 0.35) / 2 - 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LayoutSettings = odd;
        FreeformMode = c.freeform;
        SetDefaultLayout();
        TLayoutSettings expected; // the factory values
        expected.CellWidth = expected.CellHeight = c.cell;
        expected.PuzzleLeft = c.left;
        expected.CreditsLine = QStringLiteral("Made with care");
        // What a new puzzle keeps: the paper, the border, the cell colours, the solution grid's
        // place and numbering, the clue placement, the word bank, the subtitle spacing, the
        // solution header and the Auto-Layout switches.
        expected.PaperWidth = odd.PaperWidth, expected.PaperHeight = odd.PaperHeight;
        expected.FrameStyle = odd.FrameStyle, expected.FrameInside = odd.FrameInside;
        expected.FrameOutside = odd.FrameOutside;
        expected.RemovedCellColor = odd.RemovedCellColor, expected.BlockedCellColor = odd.BlockedCellColor;
        expected.AlignSolution = odd.AlignSolution, expected.NumberedSolution = odd.NumberedSolution;
        expected.SolutionLeft = odd.SolutionLeft, expected.SolutionTop = odd.SolutionTop;
        expected.SeparateClues = odd.SeparateClues;
        expected.WordBankMode = odd.WordBankMode, expected.WordBankSort = odd.WordBankSort;
        expected.WordBankHeader = odd.WordBankHeader, expected.WordBankPage = odd.WordBankPage;
        expected.asWordBankHeight = odd.asWordBankHeight;
        expected.SubtitleExtraSpacing = odd.SubtitleExtraSpacing;
        expected.SolutionHeaderText = odd.SolutionHeaderText,
        expected.SolutionHeaderFont = odd.SolutionHeaderFont;
        expected.SolutionHeaderFontSize = odd.SolutionHeaderFontSize;
        expected.SolutionHeaderStyle = odd.SolutionHeaderStyle;
        expected.SolutionHeaderColor = odd.SolutionHeaderColor;
        expected.AutoCellSize = expected.AutoCellShape = expected.AutoCenter = expected.AutoClueColumns =
            expected.AutoClueSize = expected.AutoClueSpacing = expected.AutoMargins = expected.AutoNewColumn =
                expected.AutoTitleSize = expected.AutoLayout_OnApply = expected.AutoLayout_OnSpill = false;
        expected.AutoLayoutPageChoice = odd.AutoLayoutPageChoice;
        expected.AskBeforeUsingTwoPages = odd.AskBeforeUsingTwoPages;
        EXPECT_TRUE(LayoutSettings == expected);
    }
}

} // namespace
