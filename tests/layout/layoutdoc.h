// A puzzle loaded headless for the page tests: globals, clue grids and a word list, the page
// model flowed, and a PDF-file printer standing in for the printer.
#pragma once

#include "alphabet.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "printersource.h"
#include "printing.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "trv600.h"
#include "wysiwyg.h"

#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

/** Answers the print dialogs as told. */
class ScriptedPrintDialogs : public TPrintDialogs
{
public:
    int From = 0, To = 0, Copies = 1;
    bool Collate = false, Accept = true;
    int Shown = 0;
    bool PrintDialog(QPrinter &printer, int, int) override
    {
        ++Shown;
        printer.setFromTo(From, To);
        printer.setCopyCount(Copies);
        printer.setCollateCopies(Collate);
        return Accept;
    }
    /** What the page set-up dialog showed and what the user picks there (none: no change). */
    QPageLayout SetupOpenedWith;
    std::function<void(QPrinter &)> SetupPick;
    bool PrinterSetupDialog(QPrinter &printer) override
    {
        SetupOpenedWith = printer.pageLayout();
        if (Accept && SetupPick)
            SetupPick(printer);
        return Accept;
    }
};

class LayoutDocTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        AutoClueSymmetrical = AutoClueFreeform = false;
        SetAlphabet(DefaultAlphabet);
        DocControls = TDocumentControls{};
        DocHooks = TDocumentHooks{};
        FileHooks = TPuzzleFileHooks{};
        LayoutHooks = TLayoutHooks{};
        PrintHooks = TPrintHooks{};
        FreeClueGrids();
        CreateClueGrids();
        WordList = &words;
        prompter = std::make_unique<ScriptedPrompter>();
        ASSERT_TRUE(dir.isValid());
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setOutputFileName(pdfPath());
        SetPrinterForTesting(printer.get());
        SetPrintDialogs(&dialogs);
    }
    void TearDown() override
    {
        SetPrintDialogs(nullptr);
        SetPrinterForTesting(nullptr);
        prompter.reset();
        WordList = nullptr;
    }

    /** Opens a puzzle file and gives every answer without a clue the clue "Clue for " + the
     *  answer, so the page has text to flow. */
    void load(const QString &file)
    {
        TRVCreateRenumGrid(15, 15);
        LoadingPuzzle = true;
        ReadTextPuzzleFile(file);
        LoadingPuzzle = false;
        CluesNeedRebuild = true;
        RebuildClueGrids();
        for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
            for (int r = 1; r < grid->RowCount(); ++r)
                if (grid->Cell(1, r).trimmed().isEmpty())
                    grid->SetCell(1, r, QStringLiteral("Clue for ") + AnswerOfKey(grid->Cell(0, r)));
        flow();
    }
    static void flow()
    {
        WYSIWYGChange();
        ClueFlow_InvalidateAll();
        ClueFlow_EstablishAll();
    }
    QString pdfPath() const { return dir.filePath(QStringLiteral("out.pdf")); }

    static bool hasTool(const char *name)
    {
        return !QStandardPaths::findExecutable(QLatin1String(name)).isEmpty();
    }
    static QString run(const QString &program, const QStringList &args)
    {
        QProcess process;
        process.start(program, args);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    TPlainWordList words;
    std::unique_ptr<ScriptedPrompter> prompter;
    QTemporaryDir dir;
    std::unique_ptr<QPrinter> printer;
    ScriptedPrintDialogs dialogs;
};

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
