// Chosen parts of a page as a metafile and on the clipboard: the area measured, the records
// (read back by an independent walker), the names of exported files.
#include "emfwalker.h"
#include "globals.h"
#include "layoutdoc.h"
#include "layoutsettings.h"
#include "pageparts.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcessEnvironment>
#include <QUrl>

#include <iostream>

#include <cmath>

namespace {

class PagePartsTest : public LayoutDocTest
{
protected:
    void SetUp() override
    {
        LayoutDocTest::SetUp();
        load(QStringLiteral(TRV_TEST_DATA "/main/filled15.trv"));
        DocControls.PuzzleTitle = QStringLiteral("Parts Title");
        DocControls.PuzzleSubtitle = QStringLiteral("Parts Subtitle");
        CreditsLine = QStringLiteral("Made with Tarvel");
        PutTitleOnCode = 1; // titles on the grid page only
        flow();
    }
    static TPageRect gridRect(bool solution)
    {
        const TPageRect a = solution ? CellPageRectFor(1, 1) : CellPageRect(1, 1);
        const TPageRect b = solution ? CellPageRectFor(Columns, Rows) : CellPageRect(Columns, Rows);
        return {a.Left, a.Top, b.Right, b.Bottom};
    }
};

TEST_F(PagePartsTest, BoundsTakeInEachPartWhereItIsDrawn)
{
    const TPageRect grid = gridRect(false);
    const TPageRect solution = gridRect(true);
    const double credits = CreditsFontSize / 72.0 * 1.25;
    struct Case {
        const char *name;
        int page, flags;
        bool any;
        TPageRect rect; // checked when any; NaN sides are not checked
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"the grid and its credits",
         PuzzlePage,
         PartGrid,
         true,
         {grid.Left, grid.Top, grid.Right, grid.Bottom + credits}},
        {"the solution grid alone", SolutionPage, PartSolution, true, solution},
        {"the titles, from the top margin", 1, PartTitles, true, {nan, MarginTop, nan, nan}},
        {"titles on a page without them", SolutionPage, PartTitles, false, {}},
        {"the grid off its page", SolutionPage, PartGrid, false, {}},
        {"the clues of the grid page", PuzzlePage, PartClues, true, {nan, nan, nan, nan}},
        {"no word bank when it is off", WordBankPage, PartWordBank, false, {}},
        {"nothing chosen", PuzzlePage, 0, false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TPartsBounds b = PagePartsBounds(c.page, c.flags);
        ASSERT_EQ(b.Any, c.any);
        if (!c.any)
            continue;
        const double got[4] = {b.Rect.Left, b.Rect.Top, b.Rect.Right, b.Rect.Bottom};
        const double want[4] = {c.rect.Left, c.rect.Top, c.rect.Right, c.rect.Bottom};
        for (int i = 0; i < 4; ++i) {
            if (!std::isnan(want[i])) {
                EXPECT_NEAR(got[i], want[i], 1e-9) << "side " << i;
            }
        }
    }
    // All parts together take in each of them.
    const TPartsBounds all = PagePartsBounds(PuzzlePage, PartTitles | PartGrid | PartClues | PartWordBank);
    for (int flags : {int(PartTitles), int(PartGrid), int(PartClues)}) {
        const TPageRect one = PagePartsBounds(PuzzlePage, flags).Rect;
        EXPECT_LE(all.Rect.Left, one.Left);
        EXPECT_LE(all.Rect.Top, one.Top);
        EXPECT_GE(all.Rect.Right, one.Right);
        EXPECT_GE(all.Rect.Bottom, one.Bottom);
    }
}

TEST_F(PagePartsTest, AWordBankAtTheFootOfALegalPageIsMeasured)
{
    PaperHeight = 14;
    DocControls.WordBankCB = true;
    WordBankMode = 1;
    WordBankPage = PuzzlePage;
    WordBankRect = {1, 12.5, 7.5, 13.2};
    const TPartsBounds b = PagePartsBounds(PuzzlePage, PartWordBank);
    ASSERT_TRUE(b.Any);
    EXPECT_DOUBLE_EQ(b.Rect.Top, 12.5);
    EXPECT_DOUBLE_EQ(b.Rect.Bottom, 13.2 + ClueTextFontSize / 72.0);
}

TEST_F(PagePartsTest, MetafilesOfTheCopySetsAreSoundAndHoldTheirTexts)
{
    TitleStyle = fsBold; // numbers stay plain after a bold title
    const struct {
        const char *name;
        int page, flags;
    } sets[] = {
        {"grid", PuzzlePage, PartGrid},
        {"grid and clues", PuzzlePage, PartGrid | PartClues | PartWordBank},
        {"solution", SolutionPage, PartSolution},
        {"title, grid and clues", PuzzlePage, PartTitles | PartGrid | PartClues},
    };
    for (const auto &set : sets) {
        SCOPED_TRACE(set.name);
        TPagePartsPicture picture;
        ASSERT_TRUE(RenderPagePartsPicture(set.page, set.flags, &picture));
        const TEmfWalker emf(picture.Emf);
        EXPECT_EQ(emf.Problems(), QStringList());
        EXPECT_GT(emf.Count(EmfType::Polygon16), 0);
        // The frame is the area measured, in hundredths of a millimetre.
        const TPageRect b = PagePartsBounds(set.page, set.flags).Rect;
        EXPECT_NEAR(emf.Frame().Right, (b.Right - b.Left) * 2540, 2);
        EXPECT_NEAR(emf.Frame().Bottom, (b.Bottom - b.Top) * 2540, 2);
        EXPECT_FALSE(picture.Png.isNull());
        EXPECT_NEAR(picture.Png.width(), (b.Right - b.Left) * 200, 1);

        const QList<TEmfTextInfo> texts = emf.Texts();
        QStringList words;
        for (const TEmfTextInfo &t : texts) {
            words << t.Text;
            bool number = false;
            t.Text.toInt(&number);
            if (number && t.Font.Face == PuzzleNumberFont) {
                EXPECT_EQ(t.Font.Weight, 400) << t.Text.toStdString();
                EXPECT_FALSE(t.Font.Italic);
            }
        }
        if (set.flags & PartTitles) {
            ASSERT_FALSE(words.isEmpty());
            EXPECT_EQ(words.first(), QStringLiteral("Parts Title"));
        }
        if (set.flags & PartClues) {
            // The headings and the first line of each clue in order.
            const int across = int(words.indexOf(AcrDwnCapitals ? AcrossText.toUpper() : AcrossText));
            const int down = int(words.indexOf(AcrDwnCapitals ? DownText.toUpper() : DownText));
            EXPECT_GE(across, 0);
            EXPECT_GT(down, across);
            int at = across;
            for (int r = 1; r < CluesAcrossSG->RowCount(); ++r) {
                int page = 0;
                TPageRect rect;
                if (!ClueFlow_GetPlacement(CluesAcrossSG->Cell(3, r).toInt(), &page, &rect) ||
                    page != set.page)
                    continue;
                const QString first = CluesAcrossSG->Row(r).Lines.value(0);
                const int found = int(words.indexOf(first, at + 1));
                EXPECT_GT(found, at) << first.toStdString();
                at = std::max(at, found);
            }
        }
    }
}

TEST_F(PagePartsTest, TheClipboardGetsTheMetafileAndAPngOrStaysAsItWas)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("the user's text"));
    // Nothing there: nothing copied.
    ASSERT_EQ(clipboard->text(), QStringLiteral("the user's text"));
    EXPECT_FALSE(CopyPagePartsToClipboard(SolutionPage, PartGrid | PartTitles));
    EXPECT_EQ(clipboard->text(), QStringLiteral("the user's text"));
    // Saving a file leaves the clipboard alone.
    TPagePartsPicture picture;
    ASSERT_TRUE(RenderPagePartsPicture(PuzzlePage, PartGrid, &picture));
    const QString file = dir.filePath(QStringLiteral("grid.emf"));
    ASSERT_TRUE(SaveMetafile(picture, file));
    EXPECT_EQ(clipboard->text(), QStringLiteral("the user's text"));

    ASSERT_TRUE(CopyPagePartsToClipboard(PuzzlePage, PartGrid));
    const QMimeData *data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(data->data(QStringLiteral("image/emf")), saved.readAll());
    EXPECT_TRUE(data->hasImage());
}

// An office suite reads the exported grid and clues: the picture it draws has the area's
// proportions and dark grid lines and text.
TEST_F(PagePartsTest, LibreOfficeDrawsTheExportedGridAndClues)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "libreoffice is not installed";
    if (qEnvironmentVariableIsSet("TRV_KEEP_EMF_TEST")) {
        dir.setAutoRemove(false);
        std::cout << "exported picture in " << dir.path().toStdString() << std::endl;
    }
    const int flags = PartGrid;
    TPagePartsPicture picture;
    ASSERT_TRUE(RenderPagePartsPicture(PuzzlePage, flags, &picture));
    const QString emf = dir.filePath(QStringLiteral("page.emf"));
    ASSERT_TRUE(SaveMetafile(picture, emf));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office, {QStringLiteral("-env:UserInstallation=") +
                               QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("png"), QStringLiteral("--outdir"), dir.path(), emf});
    ASSERT_TRUE(process.waitForFinished(120000)) << "libreoffice did not finish";
    QImage image(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(image.isNull()) << process.readAll().toStdString();
    QRect box;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128 && qGray(image.pixel(x, y)) < 96) {
                box |= QRect(x, y, 1, 1);
                ++dark;
            }
    ASSERT_GT(dark, 1000);
    // The grid's width spans the dark parts (the credits line below is narrower); the picture
    // is as wide against its height as the area.
    const TPageRect grid = gridRect(false);
    const TPageRect b = PagePartsBounds(PuzzlePage, flags).Rect;
    EXPECT_NEAR(double(box.width()) / box.height(), (grid.Right - grid.Left) / (b.Bottom - b.Top), 0.1);
    // Grid lines: the middle of the first row of cells, crossed from side to side, meets a
    // dark run for each block and line.
    const double scale = box.width() / (grid.Right - grid.Left);
    const int y = box.top() + int(CellHeight * 0.5 * scale);
    int runs = 0;
    bool inRun = false;
    for (int x = box.left(); x <= box.right(); ++x) {
        const bool isDark = qGray(image.pixel(x, y)) < 200; // thin lines come out grey
        runs += isDark && !inRun;
        inRun = isDark;
    }
    EXPECT_GE(runs, Columns / 2) << "row at y " << y;
}

TEST(MetafileNameTest, TheSuffixIsAddedOnlyToANameWithoutOne)
{
    const struct {
        const char *chosen, *written;
    } cases[] = {
        {"/tmp/puzzle", "/tmp/puzzle.EMF"},
        {"/tmp/my.dir/puzzle", "/tmp/my.dir/puzzle.EMF"},
        {"/tmp/x.emf", "/tmp/x.emf"},
        {"/tmp/x.EMF", "/tmp/x.EMF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MetafileFileName(QString::fromLatin1(c.chosen)), QString::fromLatin1(c.written));
}

TEST_F(PagePartsTest, SavingReplacesAFileOnlyWhenWhollyWritten)
{
    TPagePartsPicture picture;
    ASSERT_TRUE(RenderPagePartsPicture(PuzzlePage, PartGrid, &picture));
    const QString existing = dir.filePath(QStringLiteral("puzzle"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    // "puzzle" is written as "puzzle.EMF"; the file "puzzle" survives.
    const QString written = MetafileFileName(existing);
    ASSERT_TRUE(SaveMetafile(picture, written));
    QFile kept(existing);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    // Over an existing metafile: replaced.
    ASSERT_TRUE(SaveMetafile(picture, written));
    EXPECT_EQ(QFileInfo(written).size(), picture.Emf.size());
    // A missing folder: false, nothing made.
    QString error;
    EXPECT_FALSE(SaveMetafile(picture, dir.filePath(QStringLiteral("none/x.emf")), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
