// The interactive puzzle: the applet's data file, the page that embeds the applet
// and the hosting service's page fields, built headless from the document globals.
#include "appletpage.h"
#include "publishdoc.h"

#include "alphabet.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "layoutsettings.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "trv600.h"

#include "testgrid.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

class PublishTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetPublishDocument(&words);
        prompter = std::make_unique<ScriptedPrompter>();
        setGrid({QStringLiteral("*A")});
    }
    void TearDown() override
    {
        prompter.reset();
        WordList = nullptr;
    }

    /** Draws the grid from text rows (see SetTestGrid). */
    static void setGrid(const QStringList &rows) { SetTestGrid(rows); }

    /** Gives a clue grid its rows: answer keys and clues. */
    static void setClues(TClueGrid *grid, const QList<QPair<QString, QString>> &rows)
    {
        grid->SetRowCount(int(rows.size()) + 1);
        for (int r = 0; r < rows.size(); ++r) {
            grid->SetCell(0, r + 1, rows[r].first);
            grid->SetCell(1, r + 1, rows[r].second);
        }
    }

    static QStringList keys(const QStringList &lines)
    {
        QStringList k;
        for (const QString &line : lines)
            k << line.section(QLatin1Char('='), 0, 0);
        return k;
    }

    TPlainWordList words;
    std::unique_ptr<ScriptedPrompter> prompter;
};

// ---- The data file ------------------------------------------------------------------------

TEST_F(PublishTest, DataFileOfASmallGridLineForLine)
{
    setClues(CluesAcrossSG, {{MakeAnswerKey(2, QStringLiteral("A")), QStringLiteral("First")}});
    setClues(CluesDownSG, {});
    RemovedCellColor = PageColor;
    const TPublishInputs in{QStringLiteral("My puzzle"), QStringLiteral("Ann"), QStringLiteral("1/2/2024")};
    const QStringList expected{
        QStringLiteral("PuzzleType=Crossword"),
        QStringLiteral("PuzzleTitle=My puzzle"),
        QStringLiteral("PuzzleDate=1/2/2024"),
        QStringLiteral("PuzzleAuthor=Ann"),
        QStringLiteral("PuzzleCopyright="),
        QStringLiteral("PuzzleBackgroundColor=#ECE9D8"),
        QStringLiteral("GridBackgroundColor=#ECE9D8"),
        QStringLiteral("PuzzleTextColor=#000080"),
        QStringLiteral("PuzzleTextSize=Normal"),
        QStringLiteral("CrosswordAllowCheck=True"),
        QStringLiteral("CrosswordAllowRevealWord=True"),
        QStringLiteral("CrosswordAllowRevealLetter=True"),
        QStringLiteral("CrosswordAllowSolve=False"),
        QStringLiteral("CrosswordForceUpperCase=True"),
        QStringLiteral("PuzzleUseTimer=True"),
        QStringLiteral("GridShadow=3"),
        QStringLiteral("GridWidth=2"),
        QStringLiteral("GridHeight=1"),
        QStringLiteral("GridValues=2 1A"),
        QStringLiteral("CWA=First"),
    };
    EXPECT_EQ(BuildPuzzleData(in, TPlayerPrefs{}), expected);
}

struct DataCase {
    const char *name;
    std::function<void(TPublishInputs &, TPlayerPrefs &)> setUp;
    QString present;   // a line the data must hold
    QString absentKey; // a key the data must not hold (empty: none)
};

TEST_F(PublishTest, DataFileCases)
{
    const QList<DataCase> cases{
        {"block and letter", [](TPublishInputs &, TPlayerPrefs &) {}, "GridValues=2 1A", {}},
        {"empty, removed and letters by rows",
         [](TPublishInputs &, TPlayerPrefs &) {
             setGrid({QStringLiteral("-~"), QStringLiteral("bC")});
         },
         "GridValues=1 0 1b1C",
         {}},
        {"layout Left", [](TPublishInputs &, TPlayerPrefs &p) { p.PuzzleLayout = 0; }, "GridShadow=3",
         "PuzzleLayout"},
        {"layout Middle",
         [](TPublishInputs &, TPlayerPrefs &p) { p.PuzzleLayout = 1; },
         "PuzzleLayout=Center",
         {}},
        {"layout Right",
         [](TPublishInputs &, TPlayerPrefs &p) { p.PuzzleLayout = 2; },
         "PuzzleLayout=Right",
         {}},
        {"red text",
         [](TPublishInputs &, TPlayerPrefs &p) { p.FontColor = 0x0000FF; },
         "PuzzleTextColor=#FF0000",
         {}},
        {"grid background from the removed-cell colour",
         [](TPublishInputs &, TPlayerPrefs &) {
             RemovedCellColor = 0x123456;
             PageColor = 0xFFFFFF;
         },
         "GridBackgroundColor=#563412",
         {}},
        {"grid background from the sample when removed equals page",
         [](TPublishInputs &, TPlayerPrefs &p) {
             RemovedCellColor = PageColor = 0x123456;
             p.Color = 0xFF0000;
         },
         "GridBackgroundColor=#0000FF",
         {}},
        {"no shadow selected",
         [](TPublishInputs &, TPlayerPrefs &p) { p.GridShadow = -1; },
         "GridShadow=0",
         {}},
        {"flags",
         [](TPublishInputs &, TPlayerPrefs &p) {
             p.ShowSolveBtn = true;
             p.DisplayTimer = false;
         },
         "CrosswordAllowSolve=True",
         {}},
        {"play mode",
         [](TPublishInputs &i, TPlayerPrefs &) {
             i.Title = QStringLiteral("X");
             i.PlayMode = true;
         },
         "PuzzleTitle=Play-Puzzle",
         {}},
    };
    for (const DataCase &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        TPublishInputs in;
        TPlayerPrefs prefs;
        c.setUp(in, prefs);
        const QStringList data = BuildPuzzleData(in, prefs);
        EXPECT_TRUE(data.contains(c.present)) << data.join('\n').toStdString();
        if (!c.absentKey.isEmpty()) {
            EXPECT_FALSE(keys(data).contains(c.absentKey));
        }
    }
}

TEST_F(PublishTest, DataValuesCarryNoLineBreaks)
{
    setClues(CluesAcrossSG,
             {{MakeAnswerKey(2, QStringLiteral("A")), QStringLiteral("\u201COne\u201D\nCWA=two")}});
    TPublishInputs in{QStringLiteral("T\r\nPuzzleAuthor=evil"), QStringLiteral("Ann\nX=1"),
                      QStringLiteral("today\r")};
    TPlayerPrefs prefs;
    prefs.MessageBelow = QStringLiteral("(c)\nGridValues=0 0 ");
    const QStringList data = BuildPuzzleData(in, prefs);
    const QStringList plain = BuildPuzzleData({}, TPlayerPrefs{});
    EXPECT_EQ(keys(data), keys(plain));
    for (const QString &line : data)
        EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << line.toStdString();
    EXPECT_TRUE(data.contains(QStringLiteral("PuzzleTitle=T  PuzzleAuthor=evil")));
    EXPECT_TRUE(data.contains(QStringLiteral("CWA=\"One\" CWA=two")));
}

// ---- The rich fixture, read back ----------------------------------------------------------

// What the applet reads of the data: the grid and both clue lists.
struct ReadBack {
    int width = 0, height = 0;
    QStringList cells; // "block", "open", "none" or the letter
    QStringList across, down;
    QStringList keys;
};

ReadBack readData(const QStringList &data)
{
    ReadBack b;
    for (const QString &line : data) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq), value = line.mid(eq + 1);
        b.keys << key;
        if (key == QLatin1String("GridWidth"))
            b.width = value.toInt();
        else if (key == QLatin1String("GridHeight"))
            b.height = value.toInt();
        else if (key == QLatin1String("CWA"))
            b.across << value;
        else if (key == QLatin1String("CWD"))
            b.down << value;
        else if (key == QLatin1String("GridValues"))
            for (qsizetype i = 0; i + 1 < value.size(); i += 2) {
                const QString pair = value.mid(i, 2);
                if (pair == QLatin1String("2 "))
                    b.cells << QStringLiteral("block");
                else if (pair == QLatin1String("1 "))
                    b.cells << QStringLiteral("open");
                else if (pair == QLatin1String("0 "))
                    b.cells << QStringLiteral("none");
                else if (pair.at(0) == QLatin1Char('1'))
                    b.cells << pair.mid(1);
                else
                    b.cells << QStringLiteral("bad ") + pair;
            }
    }
    return b;
}

TEST_F(PublishTest, RichFixtureReadsBackToTheGridAndClues)
{
    TRVCreateRenumGrid(15, 15);
    LoadingPuzzle = true;
    ReadTextPuzzleFile(QStringLiteral(TRV_TEST_DATA "/clues/rich.trv"));
    LoadingPuzzle = false;
    ASSERT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
    ASSERT_EQ(Columns, 6);
    ASSERT_EQ(Rows, 3);
    ASSERT_GT(CluesAcrossSG->RowCount(), 1);
    ASSERT_GT(CluesDownSG->RowCount(), 1);
    CluesAcrossSG->SetCell(1, 2, QStringLiteral("\u2018Curly\u2019 \u201Cquotes\u201D"));

    const TPublishInputs in{DocControls.PuzzleTitle, CreatedBy, QStringLiteral("today")};
    const ReadBack b = readData(BuildPuzzleData(in, TPlayerPrefs{}));

    EXPECT_EQ(b.width, Columns);
    EXPECT_EQ(b.height, Rows);
    QStringList engine;
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c) {
            const QChar ch = GetCellLetter(c, r);
            engine << (ch.unicode() == TRV_BLOCK   ? QStringLiteral("block")
                       : ch.unicode() == TRV_EMPTY ? QStringLiteral("open")
                       : ch.unicode() <= 5         ? QStringLiteral("none")
                                                   : QString(ch));
        }
    EXPECT_EQ(b.cells, engine);
    EXPECT_TRUE(engine.contains(QString(QChar(0xF1)))) << "the special letter reaches the data";
    EXPECT_TRUE(engine.contains(QStringLiteral("|"))) << "a mark character as a letter";
    EXPECT_TRUE(engine.contains(QStringLiteral("none")));

    QStringList across, down;
    for (int r = 1; r < CluesAcrossSG->RowCount(); ++r)
        across << StraightenQuotes(CluesAcrossSG->Cell(1, r));
    for (int r = 1; r < CluesDownSG->RowCount(); ++r)
        down << StraightenQuotes(CluesDownSG->Cell(1, r));
    EXPECT_EQ(b.across, across);
    EXPECT_EQ(b.down, down);
    EXPECT_TRUE(b.across.contains(QStringLiteral("Feline friend")));
    EXPECT_TRUE(b.across.contains(QStringLiteral("'Curly' \"quotes\"")));
    EXPECT_TRUE(b.down.contains(QStringLiteral("Moo-maker")));
    EXPECT_EQ(b.keys.count(QStringLiteral("PuzzleTitle")), 1);

    // The word bank in the clues ends the down grid with a blank row and its own row: no clues.
    const int rows = CluesDownSG->RowCount();
    CluesDownSG->SetRowCount(rows + 2);
    CluesDownSG->SetCell(0, rows + 1, QStringLiteral("WordBank"));
    CluesDownSG->SetCell(1, rows + 1, WordBankHeader + QStringLiteral("  COW, CAT"));
    const ReadBack withBank = readData(BuildPuzzleData(in, TPlayerPrefs{}));
    EXPECT_EQ(withBank.down, down);
    CluesDownSG->SetRowCount(rows);
}

// ---- The page -----------------------------------------------------------------------------

QStringList pageHead(const QString &title, const QString &width, const QString &height, const QString &prefix,
                     const QString &file)
{
    return {
        QStringLiteral("<html>"),
        QStringLiteral("<head>"),
        QStringLiteral("<title>") + title + QStringLiteral("</title>"),
        QStringLiteral("<meta name=\"generator\" content=\"Tarvel\">"),
        QStringLiteral("<meta http-equiv=\"pragma\" content=\"no-cache\">"),
        QStringLiteral("</head>"),
        QStringLiteral("<body bgcolor=\"#ECE9D8\">"),
        QStringLiteral("<center>"),
        QStringLiteral("<applet"),
        QStringLiteral("  codebase = \".\""),
        QStringLiteral("  code     = \"Halvard.TarvelLive.PuzzleViewer.class\""),
        QStringLiteral("  name     = \"TarvelLiveApplet\""),
        QStringLiteral("  width    = \"") + width + QStringLiteral("\""),
        QStringLiteral("  height   = \"") + height + QStringLiteral("\""),
        QStringLiteral("  hspace   = \"0\""),
        QStringLiteral("  vspace   = \"0\""),
        QStringLiteral("  align    = \"middle\""),
        QStringLiteral("  archive = \"") + prefix + QStringLiteral("TarvelLive.zip\""),
        QStringLiteral("  archive = \"") + prefix + QStringLiteral("TarvelLive.jar\""),
        QStringLiteral(">"),
        QStringLiteral("<param name=\"PuzzleFile\" value=\"") + file + QStringLiteral("\">"),
        QStringLiteral("Java must be enabled to use the <b>Tarvel Live</b> brand of on-screen "
                       "interactive crossword puzzle solving applet."),
        QStringLiteral("</applet>"),
    };
}

const QStringList pageTail{
    QStringLiteral("<p><font size=\"1\">Tarvel Live interactive crossword</font></p>"),
    QStringLiteral("</center>"),
    QStringLiteral("</body>"),
    QStringLiteral("</html>"),
};

TEST_F(PublishTest, OwnSitePageLineForLine)
{
    TPlayerPrefs prefs;
    prefs.AppletWidth = QStringLiteral("700");
    prefs.AppletHeight = QStringLiteral("450");
    const TPublishInputs in{QStringLiteral("Sunday"), {}, {}};
    EXPECT_EQ(BuildAppletPage(QStringLiteral("Sunday.txt"), true, in, prefs),
              pageHead(QStringLiteral("Sunday"), QStringLiteral("700"), QStringLiteral("450"), {},
                       QStringLiteral("Sunday.txt")) +
                  pageTail);
    EXPECT_EQ(BuildPageFields(QStringLiteral("Sunday.txt"), true, in, prefs),
              (QStringList{QStringLiteral("PageTitle=Sunday"), QStringLiteral("PageBGColor=#ECE9D8"),
                           QStringLiteral("AppletWidth=700"), QStringLiteral("AppletHeight=450"),
                           QStringLiteral("PuzzleFileName=Sunday.txt")}));
}

TEST_F(PublishTest, HostedPageWithWordBankLineForLine)
{
    DocControls.WordBankCB = true;
    WordBankSort = 0;
    WordBankHeader = QStringLiteral("Word Bank");
    setClues(CluesAcrossSG,
             {{MakeAnswerKey(1, QStringLiteral("DOG")), {}}, {MakeAnswerKey(4, QStringLiteral("CAT")), {}}});
    setClues(CluesDownSG, {});
    const TPublishInputs in{QStringLiteral("Pets"), {}, {}, true};
    const QStringList wordBank{
        QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" border=\"0\">"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td width=\"10%\">&nbsp;</td>"),
        QStringLiteral("<td width=\"80%\">"),
        QStringLiteral("<br><center><B>Word Bank</B></center><br>"),
        QStringLiteral("Cat, dog."),
        QStringLiteral("</td>"),
        QStringLiteral("<td width=\"10%\">&nbsp;</td>"),
        QStringLiteral("</table>"),
    };
    EXPECT_EQ(BuildAppletPage(QStringLiteral("Play-Puzzle.txt"), false, in, TPlayerPrefs{}),
              pageHead(QStringLiteral("Play-Puzzle"), QStringLiteral("95%"), QStringLiteral("95%"),
                       QStringLiteral("/applet-bin/"), QStringLiteral("Play-Puzzle.txt")) +
                  wordBank + pageTail);
    EXPECT_EQ(
        BuildPageFields(QStringLiteral("Play-Puzzle.txt"), false, in, TPlayerPrefs{}),
        (QStringList{QStringLiteral("PageTitle=Play-Puzzle"), QStringLiteral("PageBGColor=#ECE9D8"),
                     QStringLiteral("WhoHostse=WeHost"), QStringLiteral("AppletWidth=95%"),
                     QStringLiteral("AppletHeight=95%"), QStringLiteral("PuzzleFileName=Play-Puzzle.txt")}));
}

// ---- Hostile texts ------------------------------------------------------------------------

const QString hostileTitle =
    QStringLiteral("</title><script>alert(\"x\")</script> & Caf\u00E9 \u2615\nPuzzleAuthor=evil");
const QString hostileFile = QStringLiteral("a\"><script>x</script> & Caf\u00E9 \u2615.txt");

// A word list whose entries all sit in across slots, so the word bank in the given order takes
// the words as typed.
class PlacedWordList : public TPlainWordList
{
public:
    QString GetSlotLabel(int) const override { return QStringLiteral(" A  "); }
};

class HostilePublishTest : public PublishTest
{
protected:
    void SetUp() override
    {
        PublishTest::SetUp();
        WordList = &placed;
        placed.AddEntry(QStringLiteral("<script>w()</script>&\u00C9\tclue"));
        placed.AddEntry(QStringLiteral("Caf\u00E9\u2615\tclue"));
        DocControls.WordBankCB = true;
        WordBankSort = 2;
        WordBankHeader = QStringLiteral("</B><script>h()</script> \"& Caf\u00E9\" \u2615");
    }
    PlacedWordList placed;
    const TPublishInputs in{hostileTitle, {}, {}};
};

TEST_F(HostilePublishTest, PageEscapesTitleHeaderWordBankAndFileName)
{
    const QStringList page = BuildAppletPage(hostileFile, true, in, TPlayerPrefs{});
    const QString all = page.join('\n');
    EXPECT_FALSE(all.contains(QStringLiteral("<script"), Qt::CaseInsensitive)) << all.toStdString();
    for (const QString &line : page) {
        EXPECT_FALSE(line.contains('\n') || line.contains('\r')) << line.toStdString();
        for (QChar c : line)
            EXPECT_LT(c.unicode(), 0x80) << line.toStdString();
    }
    EXPECT_EQ(page.at(2),
              QStringLiteral("<title>&lt;/title&gt;&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
                             "&amp; Caf&#233; &#9749;&#10;PuzzleAuthor=evil</title>"));
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<br><center><B>&lt;/B&gt;&lt;script&gt;h()&lt;/script&gt; &quot;&amp; Caf&#233;&quot; "
        "&#9749;</B></center><br>")));
    EXPECT_TRUE(
        page.contains(QStringLiteral("&lt;script&gt;w()&lt;/script&gt;&amp;&#201; Caf&#233;&#9749;.")))
        << all.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<param name=\"PuzzleFile\" value=\"a%22%3E%3Cscript%3Ex%3C/script%3E%20%26%20Caf&#233;%20"
        "&#9749;.txt\">")));
    // A character beyond the basic plane is one reference.
    EXPECT_EQ(HtmlEscapeText(QStringLiteral("\U0001F600'")), QStringLiteral("&#128512;&#39;"));
}

TEST_F(HostilePublishTest, DataAndPageFieldsGainNoKey)
{
    const QStringList data = BuildPuzzleData(in, TPlayerPrefs{});
    EXPECT_EQ(data.at(1), QStringLiteral("PuzzleTitle=</title><script>alert(\"x\")</script> & Caf\u00E9 "
                                         "\u2615 PuzzleAuthor=evil"));
    EXPECT_EQ(keys(data), keys(BuildPuzzleData({}, TPlayerPrefs{})));
    const QStringList fields = BuildPageFields(hostileFile, true, in, TPlayerPrefs{});
    EXPECT_EQ(fields.at(0), QStringLiteral("PageTitle=</title><script>alert(\"x\")</script> & Caf\u00E9 "
                                           "\u2615 PuzzleAuthor=evil"))
        << "the hosting service builds its own page from the title as typed";
    EXPECT_EQ(keys(fields), (QStringList{QStringLiteral("PageTitle"), QStringLiteral("PageBGColor"),
                                         QStringLiteral("AppletWidth"), QStringLiteral("AppletHeight"),
                                         QStringLiteral("PuzzleFileName")}));
}

TEST_F(HostilePublishTest, PythonHtmlParserSeesTheTitleAndNoScript)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is missing";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pageFile = dir.filePath(QStringLiteral("page.html"));
    ASSERT_TRUE(SaveListConfirmOverwrite(BuildAppletPage(hostileFile, true, in, TPlayerPrefs{}), pageFile));
    const QString titleFile = dir.filePath(QStringLiteral("title.txt"));
    QFile t(titleFile);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(hostileTitle.toUtf8());
    t.close();

    auto check = [&](const QString &page) {
        QProcess p;
        p.start(python, {QStringLiteral(TRV_PUBLISH_CHECK_HTML), page, titleFile});
        EXPECT_TRUE(p.waitForFinished(30000));
        return std::make_pair(p.exitCode(),
                              QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
    };
    const auto [code, output] = check(pageFile);
    EXPECT_EQ(code, 0) << output.toStdString();

    // The checker itself catches a raw title.
    const QString rawFile = dir.filePath(QStringLiteral("raw.html"));
    ASSERT_TRUE(SaveListConfirmOverwrite(
        {QStringLiteral("<html><head><title>") + hostileTitle + QStringLiteral("</title></head></html>")},
        rawFile));
    EXPECT_NE(check(rawFile).first, 0);
}

} // namespace
