// Printing to a PDF-file printer: pages, ranges, tiles, copies, and where the text lands.
#include "globals.h"
#include "layoutdoc.h"
#include "layoutsettings.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <set>

namespace {

struct PdfWord {
    QString Text;
    double Left, Top, Right, Bottom; // inches
};
using PdfPage = std::vector<PdfWord>;

// The words of every page, from pdftotext's bounding-box output.
std::vector<PdfPage> readWords(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    std::vector<PdfPage> pages;
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            pages.emplace_back();
            continue;
        }
        if (pages.empty())
            continue;
        QString text = m.captured(5);
        text.replace(QLatin1String("&amp;"), QLatin1String("&"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""));
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"));
        text.replace(QLatin1String("&apos;"), QLatin1String("'"))
            .replace(QLatin1String("&#39;"), QLatin1String("'"));
        pages.back().push_back({text, m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72,
                                m.captured(3).toDouble() / 72, m.captured(4).toDouble() / 72});
    }
    return pages;
}

int pdfPageCount(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const auto m = QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// A word with this text whose box starts inside the rectangle (with a small tolerance). The
// text extractor may join a clue number to the first word of its clue.
bool findWordIn(const PdfPage &page, const QString &text, const TPageRect &r, double slack = 0.06)
{
    static const QRegularExpression numbered(QStringLiteral("^\\d+"));
    for (const PdfWord &w : page)
        if ((w.Text == text || QString(w.Text).remove(numbered) == text) && w.Left >= r.Left - slack &&
            w.Left <= r.Right + slack && w.Top >= r.Top - slack && w.Top <= r.Bottom + slack)
            return true;
    return false;
}

bool pageHas(const PdfPage &page, const QString &text)
{
    return std::any_of(page.begin(), page.end(), [&](const PdfWord &w) { return w.Text == text; });
}

} // namespace

class PrintingTest : public LayoutDocTest
{
protected:
    void SetUp() override
    {
        LayoutDocTest::SetUp();
        if (!hasTool("pdftotext") || !hasTool("pdfinfo"))
            GTEST_SKIP() << "poppler-utils is not installed";
        load(QStringLiteral(TRV_TEST_DATA "/main/filled15.trv"));
        PrintJobTitle = QStringLiteral("Tarvel  -  filled15.trv");
    }
};

TEST_F(PrintingTest, EveryPageGoesToThePdfWithEachClueInItsPlace)
{
    ASSERT_GE(PageCount, 2);
    ASSERT_GT(CluesAcrossSG->RowCount(), 10);
    PrintPuzzle();
    EXPECT_EQ(dialogs.Shown, 1);
    EXPECT_EQ(pdfPageCount(pdfPath()), PageCount);
    const QString info = run(QStringLiteral("pdfinfo"), {pdfPath()});
    EXPECT_TRUE(info.contains(QLatin1String("612 x 792 pts"))) << info.toStdString();

    const auto pages = readWords(pdfPath());
    ASSERT_EQ(int(pages.size()), PageCount);
    int page = 0;
    TPageRect rect;
    // The headings at their lines, the across heading first.
    ASSERT_TRUE(ClueFlow_GetPlacement(1, &page, &rect));
    EXPECT_TRUE(findWordIn(pages[size_t(page - 1)], AcrossText, rect));
    ASSERT_TRUE(ClueFlow_GetPlacement(DownHeadingLine(), &page, &rect));
    EXPECT_TRUE(findWordIn(pages[size_t(page - 1)], DownText, rect));
    // Every cached line of every clue starts in its own line's rectangle.
    int checked = 0;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r) {
            const int first = grid->Cell(3, r).toInt();
            const QStringList &lines = grid->Row(r).Lines;
            for (int i = 0; i < lines.size(); ++i) {
                ASSERT_TRUE(ClueFlow_GetPlacement(first + i, &page, &rect));
                const QString word = lines[i].section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
                TPageRect text = rect;
                if (i > 0)
                    text.Left += NumberColumnWidthInches;
                EXPECT_TRUE(findWordIn(pages[size_t(page - 1)], word, text))
                    << "line " << first + i << " \"" << lines[i].toStdString() << "\" on page " << page
                    << " at " << text.Left << "," << text.Top;
                ++checked;
            }
        }
    EXPECT_GT(checked, 50);
    // A grid number in cell (1,1), and the solution's first letter in its cell.
    const TPageRect cell = CellPageRect(1, 1);
    EXPECT_TRUE(findWordIn(pages[size_t(PuzzlePage - 1)], QStringLiteral("1"), cell));
    const TPageRect solutionCell = CellPageRectFor(1, 1);
    EXPECT_TRUE(
        findWordIn(pages[size_t(PageCount - 1)], QString(UpperCaseChar(GetCellLetter(1, 1))), solutionCell));
}

TEST_F(PrintingTest, RangesCopiesAndTiles)
{
    struct Case {
        const char *name;
        int from, to, copies;
        bool collate, tiled;
    };
    const Case cases[] = {
        {"one page of a range 2-2", 2, 2, 1, false, false},
        {"two collated copies into one file", 0, 0, 2, true, false},
        {"a grid of 2 x 2 sheets", 0, 0, 1, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(pdfPath());
        if (c.tiled) {
            // The grid lies right and low, so it spans two sheets each way; the clues have
            // the column at its left.
            PuzzleLeft = 5;
            PuzzleTop = 7;
            CreditsLine = QStringLiteral("CREDITSMARK");
            flow();
            ASSERT_EQ(GridTileColumns, 2);
            ASSERT_EQ(GridTileRows, 2);
        }
        dialogs.From = c.from;
        dialogs.To = c.to;
        dialogs.Copies = c.copies;
        dialogs.Collate = c.collate;
        PrintPuzzle();
        const int sheetsPerCopy = c.from > 0 ? c.to - c.from + 1 : PageCount + (c.tiled ? 3 : 0);
        EXPECT_EQ(pdfPageCount(pdfPath()), sheetsPerCopy * c.copies);
        if (c.copies > 1) {
            EXPECT_EQ(LastPrintJobTitles,
                      (QStringList{PrintJobTitle + " - Copy 1", PrintJobTitle + " - Copy 2"}));
        }
        if (c.tiled) {
            const auto pages = readWords(pdfPath());
            ASSERT_GE(pages.size(), 4u);
            EXPECT_TRUE(pageHas(pages[2], QStringLiteral("CREDITSMARK")));
            EXPECT_FALSE(pageHas(pages[0], QStringLiteral("CREDITSMARK")));
            EXPECT_TRUE(pageHas(pages[0], AcrossText));
        }
    }
}

TEST_F(PrintingTest, CancelPrintsNothingAndWithoutAPrinterTheFileKeepsThePaper)
{
    dialogs.Accept = false;
    PrintPuzzle();
    EXPECT_FALSE(QFile::exists(pdfPath()));

    SetPrinterForTesting(nullptr);
    if (HasPrinter())
        GTEST_SKIP() << "this machine has a printer";
    ASSERT_TRUE(PrintsToFileOnly());
    PaperWidth = 8.27; // A4, as a puzzle file may ask for
    PaperHeight = 11.69;
    flow();
    CurrentPrinter()->setOutputFileName(pdfPath());
    dialogs.Accept = true;
    PrintPuzzle();
    EXPECT_TRUE(prompter->boxes.isEmpty());
    EXPECT_DOUBLE_EQ(PaperWidth, 8.27);
    const QString info = run(QStringLiteral("pdfinfo"), {pdfPath()});
    EXPECT_TRUE(
        info.contains(QRegularExpression(QStringLiteral("Page size: +595[.0-9]* x 84[12][.0-9]* pts"))))
        << info.toStdString();
    EXPECT_EQ(pdfPageCount(pdfPath()), PageCount);
}

TEST_F(PrintingTest, WithoutAPrinterSetUpChoosesThePaperOfThePagesAndThePdf)
{
    SetPrinterForTesting(nullptr);
    if (HasPrinter())
        GTEST_SKIP() << "this machine has a printer";
    ASSERT_TRUE(PrintsToFileOnly());
    PaperWidth = 8.5; // a Letter puzzle
    PaperHeight = 11;
    flow();
    // The dialog opens with the puzzle's paper; A4 landscape is chosen there.
    dialogs.SetupPick = [](QPrinter &printer) {
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
    };
    RunPrinterSetup();
    EXPECT_EQ(dialogs.SetupOpenedWith.pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(dialogs.SetupOpenedWith.orientation(), QPageLayout::Portrait);
    EXPECT_NEAR(PaperWidth, 11.69, 0.01);
    EXPECT_NEAR(PaperHeight, 8.27, 0.01);
    EXPECT_NEAR(PageRect.Right, 11.69, 0.01);

    // The next set-up opens with it, and the PDF's sheets are A4 landscape.
    dialogs.SetupPick = nullptr;
    RunPrinterSetup();
    EXPECT_EQ(dialogs.SetupOpenedWith.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(dialogs.SetupOpenedWith.orientation(), QPageLayout::Landscape);
    CurrentPrinter()->setOutputFileName(pdfPath());
    PrintPuzzle();
    EXPECT_TRUE(prompter->boxes.isEmpty());
    const QString info = run(QStringLiteral("pdfinfo"), {pdfPath()});
    EXPECT_TRUE(
        info.contains(QRegularExpression(QStringLiteral("Page size: +84[12][.0-9]* x 595[.0-9]* pts"))))
        << info.toStdString();
}

TEST_F(PrintingTest, APrinterWhosePaperChangedIsMeasuredAgainBeforeThePrint)
{
    // A printer that reports its metrics, laid out for Letter; then its paper is A4 (another
    // printer chosen, or its queue changed) when the print command starts.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath());
    printer.setPageSize(QPageSize(QPageSize::Letter));
    SetPrinterForTesting(&printer);
    WYSIWYGChange();
    flow();
    ASSERT_NEAR(PaperWidth, 8.5, 0.01);
    printer.setPageSize(QPageSize(QPageSize::A4));
    PrintPuzzle();
    EXPECT_FALSE(RefreshPrinterMetrics()) << "the kept metrics are those of the printer in use";
    SetPrinterForTesting(nullptr);
    EXPECT_NEAR(PaperWidth, 8.27, 0.01);
    EXPECT_NEAR(PageRect.Bottom, 11.69, 0.01);
}

TEST_F(PrintingTest, TheAutoLayoutOfferFollowsThePageChoice)
{
    struct Case {
        int choice;
        bool askTwo;
        int pages;
        bool offer;
    };
    const Case cases[] = {{1, false, 3, false}, {1, false, 4, true},  {1, true, 3, true},
                          {2, false, 3, true},  {3, false, 3, false}, {3, false, 4, true}};
    for (const Case &c : cases) {
        AutoLayoutPageChoice = c.choice;
        AskBeforeUsingTwoPages = c.askTwo;
        EXPECT_EQ(AutoLayoutOfferRule(c.pages), c.offer) << c.choice << " " << c.pages;
    }
    // No offer while nothing can run the expert.
    AutoLayoutPageChoice = 2;
    dialogs.Accept = false;
    PrintPuzzle();
    EXPECT_TRUE(prompter->boxes.isEmpty());
}

TEST_F(PrintingTest, ScreenAndPrinterDrawTheSameInchOperations)
{
    DocControls.PuzzleTitle = QStringLiteral("Same Everywhere");
    CreditsLine = QStringLiteral("Credits");
    flow();
    for (int page : {PuzzlePage, PageCount}) {
        QStringList screenLog, printerLog;
        QImage image(400, 500, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            TAsCanvas screen;
            screen.SetTargetView(&painter);
            screen.Log = &screenLog;
            PaintPage(screen, ScreenProfile, page);
        }
        TSimulatedPrinter sheet(PaperWidth, PaperHeight);
        TAsCanvas paper;
        paper.SetTargetSimulatedPrinter(&sheet);
        paper.Log = &printerLog;
        PaintPage(paper, PrinterProfile, page);
        EXPECT_GT(screenLog.size(), 20);
        EXPECT_EQ(screenLog.size(), printerLog.size()) << "page " << page;
        for (int i = 0; i < std::min(screenLog.size(), printerLog.size()); ++i)
            if (screenLog[i] != printerLog[i]) {
                ADD_FAILURE() << "page " << page << " operation " << i << ": " << screenLog[i].toStdString()
                              << " | " << printerLog[i].toStdString();
                break;
            }
    }
}

TEST_F(PrintingTest, WithoutAcrossCluesTheDownHeadingStandsWhereTheScreenPutsIt)
{
    CluesAcrossSG->SetRowCount(1);
    flow();
    PrintPuzzle();
    const auto pages = readWords(pdfPath());
    ASSERT_EQ(int(pages.size()), PageCount);
    for (const PdfPage &page : pages)
        EXPECT_FALSE(pageHas(page, AcrossText));
    int page = 0;
    TPageRect rect;
    ASSERT_TRUE(ClueFlow_GetPlacement(DownHeadingLine(), &page, &rect));
    EXPECT_TRUE(findWordIn(pages[size_t(page - 1)], DownText, rect));
}

TEST_F(PrintingTest, TooManyPagesIsSaidAgainBeforeThePrintDialog)
{
    ClueTextFontSize = 96;
    flow();
    ASSERT_GT(OverflowLineCount, 0);
    ShowPendingLayoutMessages();
    prompter->boxes.clear();
    dialogs.Accept = false;
    PrintPuzzle();
    EXPECT_EQ(dialogs.Shown, 1);
    ASSERT_EQ(prompter->boxes.size(), 1);
    EXPECT_EQ(prompter->lastText(),
              QStringLiteral("Your clues take up too many pages. Try to pack more clues into fewer pages."));
}

// ---- PDF export ---------------------------------------------------------------------------------

TEST_F(PrintingTest, PdfHoldsTheChosenPagesAtThePapersSizeWithFontsEmbedded)
{
    load(QStringLiteral(TRV_TEST_DATA "/layout/puzzle13.trv"));
    ASSERT_GE(PageCount, 3);
    const QString pdf = dir.filePath(QStringLiteral("export.pdf"));
    const struct {
        TPdfPages pages;
        int count;
    } cases[] = {{TPdfPages::All, PageCount}, {TPdfPages::Puzzle, PageCount - 1}, {TPdfPages::Solution, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.pages));
        ASSERT_TRUE(TRaveCanvas::SaveToPdf(pdf, c.pages));
        EXPECT_EQ(pdfPageCount(pdf), c.count);
        const auto pages = readWords(pdf);
        ASSERT_EQ(int(pages.size()), c.count);
        // The solution grid is on the last page only when the solution page is written.
        int column = 1;
        while (column < Columns && !IsAlphabetChar(GetCellLetter(column, 1)))
            ++column;
        const TPageRect solutionCell = CellPageRectFor(column, 1);
        const QString letter(UpperCaseChar(GetCellLetter(column, 1)));
        // (The extractor may join neighbouring letters into one word.)
        const bool found = std::any_of(pages.back().begin(), pages.back().end(), [&](const PdfWord &w) {
            return w.Text.startsWith(letter) && std::abs(w.Left - solutionCell.Left) < 0.2 &&
                   w.Top >= solutionCell.Top - 0.06 && w.Top <= solutionCell.Bottom;
        });
        EXPECT_EQ(found, c.pages != TPdfPages::Puzzle);
    }
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QLatin1String("612 x 792 pts"))) << info.toStdString();
    if (hasTool("pdffonts")) {
        ASSERT_TRUE(TRaveCanvas::SaveToPdf(pdf, TPdfPages::All));
        const QStringList fonts = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n')).mid(2);
        int listed = 0;
        for (const QString &line : fonts) {
            if (line.trimmed().isEmpty())
                continue;
            ++listed;
            // name, type, encoding, emb, sub, uni, object, id: "emb" is the fourth column from
            // the right end.
            const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            ASSERT_GE(columns.size(), 7);
            EXPECT_EQ(columns[columns.size() - 5], QLatin1String("yes")) << line.toStdString();
        }
        EXPECT_GT(listed, 0);
    }
}

// The PDF's title, from the export and from printing to a file alike, is the puzzle's title; a
// puzzle without one gives the file's name, never its path.
TEST_F(PrintingTest, PdfsAreTitledByThePuzzleNotByAPath)
{
    PrintJobTitle = QStringLiteral("Tarvel  -  /home/someone/puzzles/filled15.trv");
    const QString exported = dir.filePath(QStringLiteral("export.pdf"));
    const struct {
        QString title, exportTitle, printTitle;
    } cases[] = {
        {QStringLiteral("Birds of Prey"), QStringLiteral("Birds of Prey"), QStringLiteral("Birds of Prey")},
        {QStringLiteral("  Sun  and Moon "), QStringLiteral("Sun and Moon"), QStringLiteral("Sun and Moon")},
        {QString(), QStringLiteral("export"), QStringLiteral("out")},
    };
    auto titleOf = [](const QString &pdf) {
        for (const QString &line : run(QStringLiteral("pdfinfo"), {pdf}).split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("Title:")))
                return line.mid(6).trimmed();
        return QString();
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        DocControls.PuzzleTitle = c.title;
        ASSERT_TRUE(TRaveCanvas::SaveToPdf(exported, TPdfPages::Solution));
        EXPECT_EQ(titleOf(exported), c.exportTitle);
        QFile::remove(pdfPath());
        PrintPuzzle();
        EXPECT_EQ(titleOf(pdfPath()), c.printTitle);
    }
    EXPECT_EQ(LastPrintJobTitles.value(0), PrintJobTitle); // the print job keeps its own name
}

TEST_F(PrintingTest, PdfGivesEachGridTileItsOwnPartOfTheGrid)
{
    PuzzleLeft = 5;
    PuzzleTop = 7;
    flow();
    ASSERT_EQ(GridTileColumns, 2);
    ASSERT_EQ(GridTileRows, 2);
    const QString pdf = dir.filePath(QStringLiteral("tiles.pdf"));
    ASSERT_TRUE(TRaveCanvas::SaveToPdf(pdf, TPdfPages::All));
    EXPECT_EQ(pdfPageCount(pdf), PageCount + 3);
    const auto pages = readWords(pdf);
    ASSERT_GE(pages.size(), 4u);
    // The cell numbers of each tile page: different sets that together hold every number.
    std::set<int> all, expected;
    std::vector<std::set<int>> tiles(4);
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            if (TRVGetCellNumber(c, r) > 0)
                expected.insert(TRVGetCellNumber(c, r));
    for (int t = 0; t < 4; ++t)
        for (const PdfWord &w : pages[size_t(t)]) {
            bool number = false;
            const int n = w.Text.toInt(&number);
            // The first tile column shows the grid from its left edge; the clues of the grid
            // page stand left of it on the first tile.
            const bool inGrid = t % 2 == 1 || w.Left >= PuzzleLeft - 0.05;
            if (number && inGrid && expected.count(n))
                tiles[size_t(t)].insert(n);
        }
    for (const auto &tile : tiles) {
        EXPECT_FALSE(tile.empty());
        all.insert(tile.begin(), tile.end());
    }
    EXPECT_NE(tiles[0], tiles[1]);
    EXPECT_NE(tiles[0], tiles[2]);
    EXPECT_NE(tiles[1], tiles[3]);
    EXPECT_EQ(all, expected);
}

TEST_F(PrintingTest, PdfThatCannotBeWrittenLeavesNothingAndKeepsTheOldFile)
{
    const QString missing = dir.filePath(QStringLiteral("no such folder/out.pdf"));
    QString error;
    EXPECT_FALSE(TRaveCanvas::SaveToPdf(missing, TPdfPages::All, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(missing));
    // Over an existing file: replaced only by a whole PDF.
    const QString existing = dir.filePath(QStringLiteral("old.pdf"));
    {
        QFile old(existing);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_TRUE(TRaveCanvas::SaveToPdf(existing, TPdfPages::Solution));
    EXPECT_EQ(pdfPageCount(existing), 1);
}

TEST(PdfPenTest, PensAreWholeHundredthsOfAnInchFromOneHundredthToFiveInches)
{
    TAsCanvas cv;
    cv.PenInHundredths = true;
    const struct {
        double asked, written;
    } cases[] = {{0.001, 0.01}, {0.004, 0.01}, {0.024, 0.02}, {0.026, 0.03}, {7, 5}};
    for (const auto &c : cases) {
        cv.SetPenWidth(c.asked);
        EXPECT_DOUBLE_EQ(cv.PenWidth, c.written) << c.asked;
    }
}
