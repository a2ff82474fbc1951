// The puzzle file: a byte-identical round trip of a rich puzzle, hostile and truncated files,
// defaults of missing keys, and saving.
#include "cluesview.h"
#include "globals.h"
#include "layoutsettings.h"
#include "puzzlefiles.h"
#include "testdoc.h"

#include "cp1252.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>

#include <clocale>

namespace {

QByteArray fileBytes(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class PuzzleFileTest : public DocTest
{
protected:
    // A puzzle with special letters, fixed and unfixed letters, every cell code, a literal mark
    // character as a letter, a word list, clues and non-default values in every section.
    void makeRichPuzzle()
    {
        SetAlphabet(DefaultAlphabet + QChar(0xD1) + QLatin1Char('|'));
        setGrid({QStringLiteral("CAT*") + QChar(0xF1) + QStringLiteral("u"), QStringLiteral("o*|-~*"),
                 QStringLiteral("wing*-")});
        TRVSetSymMode(2);
        DocControls.PuzzleTitle = QStringLiteral("Caf") + QChar(0xE9) + QStringLiteral(" animals");
        DocControls.PuzzleSubtitle = QStringLiteral("A \"quoted\" subtitle = with equals");
        DocControls.LooseAutoSize = false;
        DocControls.EveryPuzzleDifferent = true;
        DocControls.FlagTwoLetterSlots = true;
        DocControls.Exchanged = true;
        DocControls.WordBankCB = true;
        DocControls.AutoLayout = false;
        CreatedBy = QStringLiteral("Tester");
        CreditsLine = QStringLiteral("Made with care");
        PaperWidth = 8.25;
        MarginLeft = 0.75;
        FrameInside.Top = 0.3;
        FrameStyle = QStringLiteral("Solid = Line 2, Line 255, None 0");
        PutFrameOnCode = 5;
        WorksheetLine = QStringLiteral("Name: ________");
        CellWidth = 0.3125;
        GridLineThickness = 0.0075;
        BlockedCellColor = 3;
        RemovedCellColor = 0x123456;
        PuzzleLeft = 1.5;
        AlignSolution = true;
        SolutionFont = QStringLiteral("Liberation Serif");
        ClueColumns = 3;
        AcrossText = QStringLiteral("Horizontal");
        ClueNumberStyle = fsBold;
        ClueThemeStyle = fsItalic;
        WordBankMode = 1;
        WordBankSort = 3;
        WordBankHeader = QStringLiteral("Word bank");
        WordBankPage = 2;
        asWordBankHeight = 1.25;
        PutTitleOnCode = 6;
        TitleStyle = fsBold | fsUnderline;
        SubtitleExtraSpacing = 0.125;
        AutoCellShape = true;
        AutoCenter = false;
        AutoLayoutPageChoice = 3;
        words.AddEntry(QStringLiteral("CAT\tFeline friend"));
        words.AddEntry(QStringLiteral("WING\tIt has feathers | and a bar"));
        RebuildClueGrids();
        CluesAcrossSG->SetCell(1, 1, QStringLiteral("Feline friend"));
        CluesDownSG->SetCell(1, 1, QStringLiteral("Moo-maker"));
    }

    QStringList write()
    {
        QStringList list;
        WritePuzzleToStrings(list);
        return list;
    }
};

TEST_F(PuzzleFileTest, RichPuzzleRoundTripIsByteIdentical)
{
    makeRichPuzzle();
    const QStringList first = write();
    ReadPuzzleFromStrings(first);
    EXPECT_TRUE(prompter->boxes.isEmpty()) << texts(*prompter).join('\n').toStdString();
    const QStringList second = write();
    ASSERT_EQ(first.size(), second.size());
    for (int i = 0; i < first.size(); ++i)
        EXPECT_EQ(first[i], second[i]) << "line " << i;
    EXPECT_EQ(words.EntryCount(), 3) << "no blank entry is added by a read";

    // The state itself came back, not just the text.
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet + QChar(0xD1) + QLatin1Char('|'));
    EXPECT_EQ(TRVGetSymMode(), 2);
    EXPECT_TRUE(TRVIsCellFixed(1, 1));
    EXPECT_FALSE(TRVIsCellFixed(1, 2));
    EXPECT_EQ(GetCellLetter(3, 2), QLatin1Char('|'));
    EXPECT_EQ(TRVGetCell(5, 2), char(TRV_REMOVED));
    EXPECT_EQ(TRVGetCell(4, 2), char(TRV_EMPTY));
    EXPECT_EQ(BlockedCellColor, 3);
    EXPECT_EQ(WordBankPage, 2);
    EXPECT_DOUBLE_EQ(SubtitleExtraSpacing, 0.125);
    EXPECT_EQ(DocControls.PuzzleTitle, QStringLiteral("Caf") + QChar(0xE9) + QStringLiteral(" animals"));
    EXPECT_EQ(CluesDownSG->Cell(1, 1), QStringLiteral("Moo-maker"));
    EXPECT_EQ(CurrentCluesSL->Value(QStringLiteral("COW")), QStringLiteral("Moo-maker"));
    EXPECT_EQ(words.GetClue(1), QStringLiteral("It has feathers | and a bar"));

    // Lines the format fixes.
    EXPECT_TRUE(first.contains(QStringLiteral("SubtitleExtraSpacing=0.125")));
    EXPECT_TRUE(first.contains(QStringLiteral("\tC A T * ") + QChar(0xF1) + QStringLiteral(" u ")));
    EXPECT_TRUE(first.contains(QStringLiteral("\to * |*- ~ * ")));
    EXPECT_TRUE(first.contains(QStringLiteral("\t0\t--\tCAT\t|Feline friend")));
    EXPECT_TRUE(first.contains(QStringLiteral("\t0\t--\t\t|"))) << "the trailing empty entry is written";
    EXPECT_EQ(first.last(), QStringLiteral("END."));
}

TEST_F(PuzzleFileTest, FileRoundTripThroughDiskIsByteIdenticalWithCrLf)
{
    makeRichPuzzle();
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.trv")), b = dir.filePath(QStringLiteral("b.trv"));
    ASSERT_TRUE(SavePuzzleFile(a));
    ReadTextPuzzleFile(a);
    ASSERT_TRUE(SavePuzzleFile(b));
    const QByteArray bytes = fileBytes(a);
    EXPECT_EQ(bytes, fileBytes(b));
    EXPECT_TRUE(bytes.contains("PuzzleTitle=Caf\xe9 animals\r\n")) << "Windows-1252 with CR LF";
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_FALSE(PuzzleModified);
}

TEST_F(PuzzleFileTest, FixtureFileReadsAndWritesBackUnchanged)
{
    const QString fixture = QStringLiteral(TRV_TEST_DATA "/clues/rich.trv");
    ReadTextPuzzleFile(fixture);
    EXPECT_TRUE(prompter->boxes.isEmpty()) << texts(*prompter).join('\n').toStdString();
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.trv"));
    ASSERT_TRUE(SavePuzzleFile(out));
    EXPECT_EQ(fileBytes(out), fileBytes(fixture));
}

TEST_F(PuzzleFileTest, LfOnlyFileReadsTheSame)
{
    QByteArray crlf = fileBytes(QStringLiteral(TRV_TEST_DATA "/clues/rich.trv"));
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("lf.trv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lf);
    f.close();
    ReadTextPuzzleFile(f.fileName());
    const QString out = dir.filePath(QStringLiteral("out.trv"));
    ASSERT_TRUE(SavePuzzleFile(out));
    EXPECT_EQ(fileBytes(out), crlf);
}

TEST_F(PuzzleFileTest, RealsAreWrittenWithAPointWhateverTheLocale)
{
    const char *old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German));
    PaperWidth = 8.5;
    SubtitleExtraSpacing = 0.25;
    const QStringList list = write();
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_TRUE(list.contains(QStringLiteral("PaperWidth=8.5")));
    EXPECT_TRUE(list.contains(QStringLiteral("SubtitleExtraSpacing=0.250")));
    PaperWidth = 1;
    ReadPuzzleFromStrings(list);
    EXPECT_DOUBLE_EQ(PaperWidth, 8.5);
}

TEST_F(PuzzleFileTest, RepeatedReadsDoNotGrowTheWordList)
{
    words.AddEntry(QStringLiteral("ANT\tWorker"));
    QStringList text = write();
    for (int i = 0; i < 3; ++i) {
        ReadPuzzleFromStrings(text);
        text = write();
    }
    EXPECT_EQ(words.EntryCount(), 2);
}

TEST_F(PuzzleFileTest, MissingKeysTakeTheirDefaults)
{
    ReadPuzzleFromStrings({QStringLiteral("TRVFileFormat=2.0"), QStringLiteral("GRID:")});
    EXPECT_EQ(TRVGetWidth(), 51);
    EXPECT_EQ(TRVGetHeight(), 51);
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet);
    EXPECT_DOUBLE_EQ(PaperWidth, 8.5);
    EXPECT_DOUBLE_EQ(FrameOutside.Bottom, 0.63);
    EXPECT_EQ(PutFrameOnCode, 7);
    EXPECT_EQ(FrameStyle, QStringLiteral("None = None 0, None 12632256, None 0"));
    EXPECT_EQ(AcrossText, QStringLiteral("Across"));
    EXPECT_EQ(TitleFontSize, 36);
    EXPECT_TRUE(DocControls.AutoLayout) << "the auto-layout keys are true unless \"F\"";
    EXPECT_FALSE(AutoCellShape);
    EXPECT_FALSE(AlignSolution);
    EXPECT_FALSE(FreeformMode);
}

TEST_F(PuzzleFileTest, OutOfRangeValuesTakeTheirDefaults)
{
    ReadPuzzleFromStrings({QStringLiteral("TRVFileFormat=2.0"), QStringLiteral("Columns=3"),
                           QStringLiteral("Rows=1"), QStringLiteral("PutFrameOnCode=9"),
                           QStringLiteral("PutTitleOnCode=-1"), QStringLiteral("TitleFontSize=217"),
                           QStringLiteral("SubtitleFontSize=abc"), QStringLiteral("AutoLayoutPageChoice=4"),
                           QStringLiteral("TightlyCrossed=F"), QStringLiteral("WordBankCB=T"),
                           QStringLiteral("WordBankPager=3"), QStringLiteral("WordBankMode=Elsewhere"),
                           QStringLiteral("GRID:"), QStringLiteral("\ta b c ")});
    EXPECT_EQ(PutFrameOnCode, 7);
    EXPECT_EQ(PutTitleOnCode, 2);
    EXPECT_EQ(TitleFontSize, 36);
    EXPECT_EQ(SubtitleFontSize, 16);
    EXPECT_EQ(AutoLayoutPageChoice, 1) << "other values leave the setting";
    EXPECT_TRUE(FreeformMode);
    EXPECT_TRUE(DocControls.WordBankCB);
    EXPECT_EQ(WordBankPage, 3);
    EXPECT_EQ(WordBankMode, 1);
    EXPECT_TRUE(prompter->boxes.isEmpty());
}

struct HostileCase {
    const char *name;
    QStringList lines;
    const char *message; // the start of the one message expected, or null for none
};

TEST_F(PuzzleFileTest, HostileFilesNeverReadPastTheTextAndReportOnce)
{
    const QString h = QStringLiteral("TRVFileFormat=2.0");
    const HostileCase cases[] = {
        {"short grid row",
         {h, "Columns=3", "Rows=2", "GRID:", "\ta b ", "\ta b c ", "END GRID"},
         "File x.trv contains an error in the GRID section starting at column 3 of row 1."},
        {"missing grid rows",
         {h, "Columns=2", "Rows=3", "GRID:", "\ta b ", "END GRID"},
         "File x.trv contains an error in the GRID section starting at column 1 of row 2."},
        {"text ends in the grid",
         {h, "Columns=2", "Rows=3", "GRID:"},
         "File x.trv contains an error in the GRID section starting at column 1 of row 1."},
        {"edge code without flag",
         {h, "Columns=2", "Rows=1", "GRID:", "\ta | "},
         "File x.trv contains an error in the GRID section starting at column 2 of row 1."},
        {"no grid", {h, "Columns=2", "Rows=1"}, "File x.trv contains no GRID section."},
        {"absurd columns",
         {h, "Columns=99999999999", "Rows=1", "GRID:", "\ta "},
         "File x.trv contains an invalid puzzle size."},
        {"negative columns",
         {h, "Columns=-4", "Rows=1", "GRID:"},
         "File x.trv contains an invalid puzzle size."},
        {"columns 60", {h, "Columns=60", "Rows=2", "GRID:"}, "File x.trv contains an invalid puzzle size."},
        {"empty lines in theme words",
         {h, "Columns=1", "Rows=1", "GRID:", "\t* ", "THEME WORDS:", "", "\t0", "\t0\t--\tANT\t|Worker",
          "END THEME WORDS"},
         "x.trv has problems in the THEME WORDS section. 2 line(s) were rejected."},
        {"empty lines in current clues",
         {h, "Columns=2", "Rows=1", "GRID:", "\ta b ", "CURRENT CLUES ACROSS:", "", "CURRENT CLUES DOWN:", "",
          "\t", "END CURRENT CLUES"},
         "x.trv contains inconsistencies between the solution and the clues."},
        {"blocks out of order",
         {h, "Columns=2", "Rows=1", "END THEME WORDS", "THEME WORDS:", "END CURRENT CLUES",
          "CURRENT CLUES DOWN:", "GRID:", "\ta b "},
         nullptr},
    };
    for (const HostileCase &c : cases) {
        ScriptedPrompter boxes;
        QStringList lines = c.lines;
        lines << QStringLiteral("FileName=x.trv");
        ReadPuzzleFromStrings(lines);
        if (!c.message) {
            EXPECT_TRUE(boxes.boxes.isEmpty()) << c.name << ": " << boxes.lastText().toStdString();
            continue;
        }
        ASSERT_EQ(boxes.boxes.size(), 1) << c.name << ": " << texts(boxes).join('\n').toStdString();
        EXPECT_TRUE(boxes.lastText().startsWith(QLatin1String(c.message)))
            << c.name << ": " << boxes.lastText().toStdString();
    }
}

TEST_F(PuzzleFileTest, ManyBadCellsMakeOneMessage)
{
    ReadPuzzleFromStrings({QStringLiteral("TRVFileFormat=2.0"), QStringLiteral("Columns=10"),
                           QStringLiteral("Rows=10"), QStringLiteral("GRID:"), QStringLiteral("\t# # # "),
                           QStringLiteral("FileName=x.trv")});
    ASSERT_EQ(prompter->boxes.size(), 1);
    EXPECT_TRUE(prompter->lastText().contains(QStringLiteral("100 cells could not be read")));
}

TEST_F(PuzzleFileTest, BinaryDataIsSurvived)
{
    QRandomGenerator random(6);
    for (int round = 0; round < 20; ++round) {
        QByteArray bytes(4096, '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        QStringList lines{QStringLiteral("TRVFileFormat=2.0"), QStringLiteral("GRID:")};
        for (const QByteArray &line : Cp1252::splitLines(bytes))
            lines << Cp1252::toUnicode(line);
        ScriptedPrompter boxes;
        ReadPuzzleFromStrings(lines);
        EXPECT_LE(boxes.boxes.size(), 3);
        QStringList out;
        WritePuzzleToStrings(out);
        EXPECT_EQ(out.last(), QStringLiteral("END."));
    }
}

TEST_F(PuzzleFileTest, CluesThatNoLongerFitTheGridAreCountedAsLost)
{
    setGrid({"AB", "CD"});
    RebuildClueGrids();
    CluesAcrossSG->SetCell(1, 1, QStringLiteral("First"));
    QStringList text = write();
    text.replace(text.indexOf(QStringLiteral("\t 1 AB\t|First")), QStringLiteral("\t 1 XY\t|First"));
    text << QStringLiteral("FileName=x.trv");
    ReadPuzzleFromStrings(text);
    EXPECT_EQ(prompter->lastText(),
              QStringLiteral("x.trv contains inconsistencies between the solution and the "
                             "clues. The solution was kept, possibly losing up to 1 current clues."));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
}

TEST_F(PuzzleFileTest, FailedSaveWarnsAndKeepsTheDocumentModified)
{
    PuzzleModified = true;
    EXPECT_FALSE(SavePuzzleFile(QStringLiteral("/nonexistent-folder/x.trv")));
    EXPECT_EQ(prompter->lastText(),
              QStringLiteral(
                  "An error occurred while trying to save your puzzle file. Please try again, perhaps saving "
                  "it to a different drive Letter (e.g., C:) or to a floppy diskette.\n\n"
                  "/nonexistent-folder/x.trv: No such file or directory"));
    EXPECT_EQ(prompter->boxes.last().kind, Prompter::Warning);
    EXPECT_TRUE(PuzzleModified);
}

} // namespace

#include "cluesedit.h"

namespace {

TEST_F(PuzzleFileTest, RoundTripThroughTheRealEditorKeepsItsEntries)
{
    TCluesEdit editor;
    TCluesEditWordList list(&editor);
    WordList = &list;
    editor.AddEntry(QStringLiteral("ANT\tWorker"));
    editor.AddEntry(QStringLiteral("BEE\tBuzzer"));
    setGrid({"ANT"});
    const int entries = editor.EntryCount();
    QStringList text = write();
    for (int i = 0; i < 3; ++i) {
        ReadPuzzleFromStrings(text);
        const QStringList again = write();
        EXPECT_EQ(again, text) << "pass " << i;
        text = again;
    }
    EXPECT_EQ(editor.EntryCount(), entries);
    EXPECT_EQ(editor.GetWord(1), QStringLiteral("BEE"));
    EXPECT_EQ(editor.GetClue(1), QStringLiteral("Buzzer"));
    WordList = &words;
}

} // namespace
