// Shared set-up of the clue and puzzle-file tests: a clean document state, a word list that
// behaves like the editor's, and a grid drawn from text rows.
#pragma once

#include "alphabet.h"
#include "checkpts.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "prompter.h"
#include "trv600.h"

#include "testgrid.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>
#include <vector>

/** A word list like the editor's: entries of word, separator and clue, with the one empty
 *  entry kept at the end. */
class TestWordList : public TWordListAccess
{
public:
    struct Entry {
        QString text;
        QString label = QStringLiteral(" -  ");
    };
    std::vector<Entry> entries{Entry{}};
    bool saved = true;
    int notified = 0;

    int EntryCount() const override { return int(entries.size()); }
    QString GetWord(int e) const override { return split(e).first; }
    QString GetClue(int e) const override { return split(e).second; }
    QString GetSlotLabel(int e) const override { return entries.at(size_t(e)).label; }
    void AddEntry(const QString &text) override
    {
        entries.insert(entries.end() - 1, Entry{text});
        saved = false;
    }
    void Clear() override
    {
        entries.assign(1, Entry{});
        saved = true;
    }
    void MarkSaved() override { saved = true; }
    bool IsSaved() const override { return saved; }
    void NotifyAllChanged() override { ++notified; }

    void setLabel(int e, const QString &label) { entries.at(size_t(e)).label = label; }

private:
    // The word runs up to the first Tab, blank or comma; the clue follows the separator run.
    QPair<QString, QString> split(int e) const
    {
        const QString &t = entries.at(size_t(e)).text;
        int sep = 0;
        while (sep < t.size() && t[sep] != '\t' && t[sep] != ' ' && t[sep] != ',')
            ++sep;
        int clue = sep;
        while (clue < t.size() && (t[clue] == '\t' || t[clue] == ' ' || t[clue] == ','))
            ++clue;
        return {t.left(sep).trimmed(), t.mid(clue).trimmed()};
    }
};

/** Fresh globals, grids, word list, prompter and hooks for every test. */
class DocTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        SetAlphabet(DefaultAlphabet);
        DocControls = TDocumentControls{};
        DocHooks = TDocumentHooks{};
        FileHooks = TPuzzleFileHooks{};
        CheckPointHooks = TCheckPointHooks{};
        FreeClueGrids();
        CreateClueGrids();
        WordList = &words;
        ResetStockClueReports();
        StockClueRandom = [](int) { return 0; };
        SetProgramFolderForTesting(QStringLiteral(TRV_CLUE_FIXTURE_DIR) + QLatin1Char('/'));
        prompter = std::make_unique<ScriptedPrompter>();
        TRVCreateRenumGrid(15, 15);
        TRVSetSymMode(1);
        CluesNeedRebuild = true;
    }
    void TearDown() override
    {
        prompter.reset();
        WordList = nullptr;
        SetProgramFolderForTesting(QString());
    }

    /** Draws the grid from text rows (see SetTestGrid). */
    static void setGrid(const QStringList &rows) { SetTestGrid(rows); }

    static QStringList texts(const ScriptedPrompter &p)
    {
        QStringList t;
        for (const auto &box : p.boxes)
            t << box.text;
        return t;
    }

    TestWordList words;
    std::unique_ptr<ScriptedPrompter> prompter;
};

// Readable failure output for Qt texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
