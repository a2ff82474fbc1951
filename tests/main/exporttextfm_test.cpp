// The Export As Text dialog: which controls each choice enables, the preview of each choice, and
// the exact text copied to the clipboard and written to a file.
#include "cluetextgrids.h"
#include "exporttextfm.h"
#include "globals.h"
#include "prompter.h"
#include "uidialogs.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The dialog over clue grids of our own (the same answers as the expected files).
class ExportTextFmTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_form = std::make_unique<TExportTextFm>();
        m_form->show();
    }

    void TearDown() override { m_form.reset(); }

    QString path(const QString &name) const { return m_folder.path() + QLatin1Char('/') + name; }

    void writeOld(const QString &file)
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }

    /** Chooses clues with aligned numbers and two blanks: the text of text-clues-aligned.txt. */
    void chooseAlignedClues()
    {
        m_form->ClueSpacing2RB->click();
        m_form->AlignNumbersCB->click();
    }

    TClueTextGrids m_grids;
    QTemporaryDir m_folder;
    std::unique_ptr<TExportTextFm> m_form;
};

TEST_F(ExportTextFmTest, IsAModelessPreview)
{
    EXPECT_EQ(m_form->windowTitle(), "Export As Text  (Preview)");
    EXPECT_FALSE(m_form->isModal());
    EXPECT_TRUE(m_form->TextPreviewMemo->isReadOnly());
    EXPECT_EQ(ExportTextFm, m_form.get());
}

TEST_F(ExportTextFmTest, EachChoiceEnablesItsOwnControls)
{
    TExportTextFm &f = *m_form;
    const std::vector<QWidget *> clueControls{f.ExportCluesGB, f.ClueSpacing1RB, f.ClueSpacing2RB,
                                              f.ClueSpacingTabRB, f.AlignNumbersCB};
    const std::vector<QWidget *> solutionControls{f.UppercaseCB, f.ExportSolutionGB, f.SolutionByDirectionRB,
                                                  f.SolutionByNumberRB};
    struct Case {
        const char *name;
        std::function<void()> choose;
        bool clues, hyphenate;
    };
    const Case cases[] = {
        {"solution by direction", [&] { f.ExportSolutionRB->click(); }, false, false},
        {"solution by number", [&] { f.SolutionByNumberRB->click(); }, false, true},
        {"clues", [&] { f.ExportCluesRB->click(); }, true, false},
        {"solution again, by number kept", [&] { f.ExportSolutionRB->click(); }, false, true},
        {"back to by direction", [&] { f.SolutionByDirectionRB->click(); }, false, false},
    };
    for (const Case &c : cases) {
        c.choose();
        for (QWidget *control : clueControls)
            EXPECT_EQ(control->isEnabled(), c.clues) << c.name << ": " << control->objectName().toStdString();
        for (QWidget *control : solutionControls)
            EXPECT_EQ(control->isEnabled(), !c.clues)
                << c.name << ": " << control->objectName().toStdString();
        EXPECT_EQ(f.HyphenateCB->isEnabled(), c.hyphenate) << c.name;
    }
}

TEST_F(ExportTextFmTest, ThePreviewShowsEachChoice)
{
    TExportTextFm &f = *m_form;
    struct Case {
        std::function<void()> choose;
        const char *file;
    };
    const Case cases[] = {
        {[] {}, "text-clues-1space.txt"},
        {[&] { f.ClueSpacing2RB->click(); }, "text-clues-2spaces.txt"},
        {[&] { f.ClueSpacingTabRB->click(); }, "text-clues-tab.txt"},
        {[&] { chooseAlignedClues(); }, "text-clues-aligned.txt"},
        {[&] { f.ExportSolutionRB->click(); }, "text-solution-direction.txt"},
        {[&] {
             f.SolutionByNumberRB->click();
             f.HyphenateCB->click();
             f.UppercaseCB->click();
         },
         "text-solution-number.txt"},
        // The spacing and the align box chosen before are kept.
        {[&] { f.ExportCluesRB->click(); }, "text-clues-aligned.txt"},
    };
    for (const Case &c : cases) {
        c.choose();
        EXPECT_EQ(cp1252FileBytes(f.PreviewLines()), layoutFixture(c.file)) << c.file;
        EXPECT_EQ(f.TextPreviewMemo->toPlainText(), f.PreviewLines().join('\n')) << c.file;
    }
}

TEST_F(ExportTextFmTest, RefreshPreviewFollowsThePuzzle)
{
    m_form->ExportSolutionRB->click();
    CluesDownSG->SetRowCount(1);
    CluesAcrossSG->SetRowCount(2);
    m_form->RefreshPreview();
    EXPECT_EQ(m_form->PreviewLines(), QStringList{"SOLUTION  ACROSS:  1 cat;  DOWN"});
    m_form->ExportCluesRB->click();
    EXPECT_EQ(m_form->PreviewLines(), QStringList({"ACROSS", "", "1 Feline pet", "", "DOWN", ""}));
}

TEST_F(ExportTextFmTest, CopyPutsTheLinesEachEndedByCrLfOnTheClipboard)
{
    chooseAlignedClues();
    m_form->CopyToClipboardBtn->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              Cp1252::toUnicode(layoutFixture("text-clues-aligned.txt")));
}

TEST_F(ExportTextFmTest, ExportWritesTheTextAddingTxt)
{
    ScriptedUiDialogs dialogs;
    ScriptedPrompter prompter;
    dialogs.FileNames << path("clues");
    chooseAlignedClues();
    m_form->ExportSaveBtn->click();
    EXPECT_EQ(dialogs.Asked, QStringList{"save: Export As Text"});
    EXPECT_EQ(dialogs.Proposed, QStringList{QDir(GetDocumentsFolder()).filePath("Untitled.txt")});
    EXPECT_EQ(readBytes(path("clues.txt")), layoutFixture("text-clues-aligned.txt"));
    EXPECT_FALSE(QFile::exists(path("clues")));
    EXPECT_TRUE(prompter.boxes.isEmpty());

    // A name with an extension of its own keeps it; the dialog proposes the last file again.
    dialogs.FileNames << path("solution.lst");
    m_form->ExportSolutionRB->click();
    m_form->ExportSaveBtn->click();
    EXPECT_EQ(dialogs.Proposed.value(1), path("clues.txt"));
    EXPECT_EQ(readBytes(path("solution.lst")), layoutFixture("text-solution-direction.txt"));
}

TEST_F(ExportTextFmTest, AnExistingFileIsReplacedOnlyWhenTheUserAgrees)
{
    ScriptedUiDialogs dialogs;
    ScriptedPrompter prompter;
    const QString file = path("puzzle.txt");
    writeOld(file);
    const QString question = QDir::toNativeSeparators(file) + " already exists.\nDo you want to replace it?";

    dialogs.FileNames << file;
    prompter.answers << Prompter::No;
    m_form->ExportSaveBtn->click();
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(prompter.boxes[0].text, question);
    EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Yes | Prompter::No);
    EXPECT_EQ(readBytes(file), "old");

    dialogs.FileNames << file;
    prompter.answers << Prompter::Yes;
    m_form->ExportSaveBtn->click();
    EXPECT_EQ(prompter.lastText(), question);
    EXPECT_EQ(readBytes(file), layoutFixture("text-clues-1space.txt"));
}

TEST_F(ExportTextFmTest, CancelWritesNothing)
{
    ScriptedUiDialogs dialogs; // no answer: the save dialog is cancelled
    ScriptedPrompter prompter;
    m_form->ExportSaveBtn->click();
    EXPECT_EQ(dialogs.Asked.size(), 1);
    EXPECT_TRUE(QDir(m_folder.path()).isEmpty());
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

TEST_F(ExportTextFmTest, AFailedWriteIsReportedAndLeavesNoFile)
{
    ScriptedUiDialogs dialogs;
    ScriptedPrompter prompter;
    const QString file = path("missing/clues.txt");
    dialogs.FileNames << file;
    m_form->ExportSaveBtn->click();
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(prompter.boxes[0].kind, Prompter::Error);
    EXPECT_TRUE(prompter.boxes[0].text.contains(QDir::toNativeSeparators(file)))
        << prompter.boxes[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QDir(m_folder.path()).isEmpty());
}

} // namespace
