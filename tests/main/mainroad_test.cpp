// The main road of the program: a puzzle made with Make Puzzle, laid out automatically and
// shown page by page, without a message box or a form on the way; and a build that fails inside
// stops there.
#include "mainwindowtest.h"

#include "alphabet.h"
#include "autolayout.h"
#include "autopatconfirmdlg.h"
#include "cluespg.h"
#include "constructingdlg.h"
#include "globals.h"
#include "lines.h"
#include "myoverrides.h"
#include "trv600.h"
#include "uidialogs.h"
#include "wysiwyg.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QRadioButton>
#include <QToolButton>

#include <new>
#include <set>
#include <string>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";

// count distinct made-up words of 4 to 8 letters from common letters, so that they cross well.
QStringList madeUpWords(int count)
{
    const char consonants[] = "rstlnmdcpbgh";
    const char vowels[] = "aeiou";
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    std::set<std::string> seen;
    QStringList words;
    while (words.size() < count) {
        const int length = 4 + int(next(5));
        std::string w;
        for (int i = 0; i < length; ++i)
            w += i % 2 ? vowels[next(5)] : consonants[next(12)];
        if (seen.insert(w).second)
            words << QString::fromStdString(w) + QStringLiteral("\tClue number %1").arg(words.size() + 1);
    }
    return words;
}

class MainRoadTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_notice = ShowAutoPatternNotice;
        m_showProgress = AutoLayoutHooks.ShowProgress;
    }
    void TearDown() override
    {
        ShowAutoPatternNotice = m_notice;
        if (ConstructingDlg)
            ConstructingDlg->OnProgress = nullptr;
        delete ConstructingDlg;
        AutoLayoutHooks.ShowProgress = m_showProgress;
        SetupLoose = SetupTight = false;
        MainWindowTest::TearDown();
    }

    // The built dictionary linked into the test's program folder; false when this build has none.
    bool linkDictionary()
    {
        if (!QFile::exists(QStringLiteral(TRV_BIN_DIR "/ZEDAVIV/E.P03")))
            return false;
        for (int n = 1; n <= 17; ++n) {
            const QString name = QStringLiteral("ZEDAVIV/E.P%1").arg(n, 2, 10, QLatin1Char('0'));
            QFile::remove(programFile(name));
            QFile::link(QStringLiteral(TRV_BIN_DIR "/") + name, programFile(name));
        }
        return true;
    }

    // Every page shown and painted as the user would page through them.
    void paintEveryPage(TMainFm *window)
    {
        QCoreApplication::processEvents();
        window->ViewPortPaint();
        for (int page = 1; page <= PageCount; ++page) {
            window->SetCurrentPage(page);
            window->ViewPortPaint();
        }
        QCoreApplication::processEvents();
    }

    // Nothing was asked and nothing was shown.
    void expectQuietRoad()
    {
        QStringList texts;
        for (const ScriptedPrompter::Box &box : prompter.boxes)
            texts << box.text;
        EXPECT_TRUE(texts.isEmpty()) << texts.join(" | ").toStdString();
        EXPECT_TRUE(forms.Asked.isEmpty()) << forms.Asked.join(" | ").toStdString();
    }

    // Every clue row of both grids carries its first line in the flow.
    static void expectNumberedClues()
    {
        for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
            for (int r = 1; r < grid->RowCount(); ++r) {
                bool ok = false;
                grid->Cell(3, r).toInt(&ok);
                EXPECT_TRUE(ok) << "row " << r << " of " << (grid == CluesAcrossSG ? "across" : "down");
            }
    }

    ScriptedPrompter prompter;
    ScriptedUiDialogs forms;
    std::function<TAutoPatAnswer(QWidget *)> m_notice;
    std::function<void()> m_showProgress;
};

TEST_F(MainRoadTest, FreeformBuildOfTwoHundredWordsLaysOutItsPagesQuietly)
{
    SetupLoose = true;
    TMainFm *window = makeReadyWindow();
    DocControls.AutoLayout = true;
    for (const QString &w : madeUpWords(200))
        WordList->AddEntry(w);
    window->GlueRandomCB->setChecked(false);
    window->show();
    window->ConstructSpBtn->click();
    paintEveryPage(window);

    expectQuietRoad();
    ASSERT_TRUE(FreeformMode);
    EXPECT_GT(CluesAcrossSG->RowCount() + CluesDownSG->RowCount(), 100);
    expectNumberedClues();
    EXPECT_TRUE(SequenceReady);
    EXPECT_GE(LastClueLine(), 1);
    EXPECT_GE(PageCount, 2);
}

TEST_F(MainRoadTest, BuildWithoutAutomaticCluesShowsTheGridAndEmptyClueColumns)
{
    if (!linkDictionary())
        GTEST_SKIP() << "this build made no dictionary";
    ShowAutoPatternNotice = [](QWidget *) { return TAutoPatAnswer::Ok; };
    TMainFm *window = makeReadyWindow(kFilled);
    DocControls.AutoLayout = true;
    TRVClearGridLetters(1);
    window->GlueRandomCB->setChecked(false);
    window->show();
    window->ConstructSpBtn->click();
    ASSERT_TRUE(GridHasNoOpenCells());
    paintEveryPage(window);

    expectQuietRoad();
    EXPECT_GT(CluesAcrossSG->RowCount(), 1);
    EXPECT_GT(CluesDownSG->RowCount(), 1);
    expectNumberedClues();
    EXPECT_GE(LastClueLine(), 1);
    EXPECT_GE(PageCount, 2);
}

TEST_F(MainRoadTest, PuzzleWithoutClueLinesComposesItsPages)
{
    // Word slots in the grid, clue grids not made yet (as a grid handed to the engine directly).
    if (!linkDictionary())
        GTEST_SKIP() << "this build made no dictionary";
    TMainFm *window = makeReadyWindow(kFilled);
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        grid->SetRowCount(1);
    CluesNeedRebuild = false;
    ASSERT_GT(TRVGetWLCountTotal(), 0);
    ClueFlow_InvalidateAll();
    ClueFlow_EstablishAll();
    paintEveryPage(window);
    ShowPendingLayoutMessages();

    expectQuietRoad();
    EXPECT_GE(PageCount, 2);
}

TEST_F(MainRoadTest, BuildFailingInsideReportsOnceAndMakesNoCluesOrLayout)
{
    if (!linkDictionary())
        GTEST_SKIP() << "this build made no dictionary";
    ShowAutoPatternNotice = [](QWidget *) { return TAutoPatAnswer::Ok; };
    TMainFm *window = makeReadyWindow(kFilled);
    DocControls.AutoLayout = true;
    TRVClearGridLetters(1);
    window->GlueRandomCB->setChecked(false);
    window->show();
    window->ConstructSpBtn->click();
    ASSERT_TRUE(ConstructingDlg);
    TRVClearGridLetters(1);
    prompter.boxes.clear();

    int layouts = 0;
    AutoLayoutHooks.ShowProgress = [&layouts] { ++layouts; };
    ConstructingDlg->OnProgress = [](int, int) { throw std::bad_alloc(); };
    int rebuilds = 0; // every rebuild of the clue grids ends in a reset of their models
    const QMetaObject::Connection counting =
        QObject::connect(CluesAcrossSG, &QAbstractItemModel::modelReset, [&rebuilds] { ++rebuilds; });
    window->ConstructSpBtnClick();
    QObject::disconnect(counting);

    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_TRUE(prompter.lastText().startsWith("An error occurred while constructing your puzzle"))
        << prompter.lastText().toStdString();
    EXPECT_EQ(rebuilds, 0);
    EXPECT_EQ(layouts, 0);
    // The window is back.
    EXPECT_TRUE(window->ClientPanel->isEnabled());
    EXPECT_FALSE(window->IsBuilding());
    EXPECT_FALSE(ConstructingDlg->isVisible());
    EXPECT_FALSE(ConstructCanceled);
}

} // namespace
