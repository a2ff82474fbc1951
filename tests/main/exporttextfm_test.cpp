// The Export As Text dialog: which controls each choice enables, the preview of each choice, and
// the exact text copied to the clipboard and written to a file.
#include "cluespg.h"
#include "cp1252.h"
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

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(TRV_TEST_DATA "/layout/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray fileBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1252::fromUnicode(line) + "\r\n";
    return bytes;
}

std::unique_ptr<TClueGrid> makeGrid(const std::vector<std::pair<QString, QString>> &rows)
{
    auto grid = std::make_unique<TClueGrid>();
    grid->SetRowCount(int(rows.size()) + 1);
    for (int i = 0; i < int(rows.size()); ++i) {
        grid->SetCell(0, i + 1, rows[size_t(i)].first);
        grid->SetCell(1, i + 1, rows[size_t(i)].second);
    }
    return grid;
}

// The dialog over clue grids of our own (the same answers as the expected files).
class ExportTextFmTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = {CluesAcrossSG, CluesDownSG};
        m_savedTexts = {AcrossText, DownText, SolutionHeaderText};
        m_savedCapitals = AcrDwnCapitals;
        AcrossText = QStringLiteral("Across");
        DownText = QStringLiteral("Down");
        SolutionHeaderText = QStringLiteral("Solution");
        AcrDwnCapitals = true;
        m_across = makeGrid({{QStringLiteral(" 1 CAT"), QStringLiteral("Feline pet")},
                             {QStringLiteral(" 7 CAF\u00C9"), QStringLiteral("Paris caf\u00E9")},
                             {QString(), QStringLiteral("Unnumbered note")},
                             {QStringLiteral("12 Dog"), QStringLiteral("Canine pet")},
                             {QStringLiteral("1002 ELK"), QStringLiteral("Antlered deer")}});
        m_down = makeGrid({{QStringLiteral(" 1 COW"), QStringLiteral("Bovine")},
                           {QStringLiteral(" 2 EMU"), QStringLiteral("Big bird")},
                           {QStringLiteral("999 OWL"), QStringLiteral("Night hunter")},
                           {QStringLiteral("1000 YAK"), QStringLiteral("Shaggy ox")}});
        CluesAcrossSG = m_across.get();
        CluesDownSG = m_down.get();
        ASSERT_TRUE(m_folder.isValid());
        m_form = std::make_unique<TExportTextFm>();
        m_form->show();
    }

    void TearDown() override
    {
        m_form.reset();
        CluesAcrossSG = m_saved.first;
        CluesDownSG = m_saved.second;
        AcrossText = m_savedTexts[0];
        DownText = m_savedTexts[1];
        SolutionHeaderText = m_savedTexts[2];
        AcrDwnCapitals = m_savedCapitals;
    }

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

    std::unique_ptr<TClueGrid> m_across, m_down;
    std::pair<TClueGrid *, TClueGrid *> m_saved;
    QStringList m_savedTexts;
    bool m_savedCapitals = true;
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
            EXPECT_EQ(control->isEnabled(), !c.clues) << c.name << ": " << control->objectName().toStdString();
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
        EXPECT_EQ(fileBytes(f.PreviewLines()), fixture(c.file)) << c.file;
        EXPECT_EQ(f.TextPreviewMemo->toPlainText(), f.PreviewLines().join('\n')) << c.file;
    }
}

TEST_F(ExportTextFmTest, RefreshPreviewFollowsThePuzzle)
{
    m_form->ExportSolutionRB->click();
    m_down->SetRowCount(1);
    m_across->SetRowCount(2);
    m_form->RefreshPreview();
    EXPECT_EQ(m_form->PreviewLines(), QStringList{"SOLUTION  ACROSS:  1 cat;  DOWN"});
    m_form->ExportCluesRB->click();
    EXPECT_EQ(m_form->PreviewLines(), QStringList({"ACROSS", "", "1 Feline pet", "", "DOWN", ""}));
}

TEST_F(ExportTextFmTest, CopyPutsTheLinesEachEndedByCrLfOnTheClipboard)
{
    chooseAlignedClues();
    m_form->CopyToClipboardBtn->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Cp1252::toUnicode(fixture("text-clues-aligned.txt")));
}

TEST_F(ExportTextFmTest, ExportWritesTheTextAddingTxt)
{
    ScriptedUiDialogs dialogs;
    ScriptedPrompter prompter;
    dialogs.FileNames << path("clues");
    chooseAlignedClues();
    m_form->ExportSaveBtn->click();
    EXPECT_EQ(dialogs.Asked, QStringList{"save: Export As Text"});
    EXPECT_EQ(dialogs.Proposed, QStringList{GetDocumentsFolder()});
    EXPECT_EQ(readBytes(path("clues.txt")), fixture("text-clues-aligned.txt"));
    EXPECT_FALSE(QFile::exists(path("clues")));
    EXPECT_TRUE(prompter.boxes.isEmpty());

    // A name with an extension of its own keeps it; the dialog proposes the last file again.
    dialogs.FileNames << path("solution.lst");
    m_form->ExportSolutionRB->click();
    m_form->ExportSaveBtn->click();
    EXPECT_EQ(dialogs.Proposed.value(1), path("clues.txt"));
    EXPECT_EQ(readBytes(path("solution.lst")), fixture("text-solution-direction.txt"));
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
    EXPECT_EQ(readBytes(file), fixture("text-clues-1space.txt"));
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
    EXPECT_TRUE(prompter.boxes[0].text.contains(QDir::toNativeSeparators(file))) << prompter.boxes[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(QDir(m_folder.path()).isEmpty());
}

} // namespace
