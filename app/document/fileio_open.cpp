// Opening puzzle files: the choice of reader by the first line, the deferred open during
// start-up, the older-format import with its ".CLU" clue companion, and new-puzzle defaults.
#include "fileio.h"

#include "alphabet.h"
#include "cluespg.h"
#include "cp1252.h"
#include "globals.h"
#include "layoutsettings.h"
#include "pataux.h"
#include "trv600.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString PendingPuzzleFileName;

namespace {

// Reads the companion's lines for one clue grid: an answer line that puts the reading in
// step with the row's answer key, then the clue line.
int readCompanionGrid(const QList<QByteArray> &lines, int &at, TClueGrid *grid, bool &truncated)
{
    int inconsistencies = 0;
    bool inStep = false;
    auto next = [&](QString &line) {
        if (at >= lines.size()) {
            truncated = true;
            return false;
        }
        line = Cp1252::toUnicode(lines.at(at++));
        return true;
    };
    for (int r = 1; r < grid->RowCount() && !truncated; ++r) {
        const QString key = grid->Cell(0, r);
        // The word-bank rows that may end the down grid are no answers: the file has no pair
        // for them.
        if (key.isEmpty() || key == QLatin1String("WordBank"))
            break;
        QString line;
        if (!next(line))
            break;
        if (line == key) {
            inStep = true;
        } else if (!inStep) {
            for (int extra = 0; extra < 2 && line != key; ++extra)
                if (!next(line))
                    break;
            if (truncated)
                break;
            if (line == key)
                inStep = true;
            else
                ++inconsistencies;
        } else {
            ++inconsistencies;
        }
        QString clue;
        if (!next(clue))
            break;
        grid->SetCell(1, r, clue);
        StoreClueForAnswer(key, clue);
    }
    return inconsistencies;
}

// The engine's grid: size, symmetry mode, and every cell with its fixed state.
class TEngineGridCopy
{
public:
    static TEngineGridCopy Take()
    {
        TEngineGridCopy copy;
        copy.m_width = TRVGetWidth();
        copy.m_height = TRVGetHeight();
        copy.m_mode = TRVGetSymMode();
        for (int r = 1; r <= copy.m_height; ++r)
            for (int c = 1; c <= copy.m_width; ++c) {
                QChar ch = GetCellLetter(c, r);
                // The case of a letter carries its fixed state, as in the puzzle file.
                if (IsAlphabetChar(ch))
                    ch = TRVIsCellFixed(c, r) ? UpperCaseChar(ch) : LowerCaseChar(ch);
                copy.m_cells += ch;
            }
        return copy;
    }

    /** Puts the grid back when the engine's grid is no longer the copied one. */
    void PutBack() const
    {
        if (TRVGetWidth() == m_width && TRVGetHeight() == m_height && TRVGetSymMode() == m_mode &&
            Take().m_cells == m_cells)
            return;
        TRVResizeGrid(m_width, m_height);
        TRVClearGrid();
        int at = 0;
        for (int r = 1; r <= m_height; ++r)
            for (int c = 1; c <= m_width; ++c)
                SetCellLetter(c, r, m_cells.at(at++));
        TRVSetSymMode(m_mode);
        TRVRenumberGrid();
        // The engine took the file's theme words too: it gets the word list's again.
        if (DocHooks.SendThemeWordsToEngine)
            DocHooks.SendThemeWordsToEngine();
        TRVInvalidateDisplay();
    }

private:
    int m_width = 0, m_height = 0, m_mode = 0;
    QString m_cells;
};

} // namespace

TFileResult LoadPuzzleFile(const QString &fileName)
{
    TFileResult result;
    if (!MainFormReady) {
        PendingPuzzleFileName = fileName;
        return result;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Add(TFileMessage::Information, QStringLiteral("%1 was not found.").arg(fileName));
        return result;
    }
    QByteArray first = file.readLine(4096);
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        result.Add(
            TFileMessage::Error,
            QStringLiteral("Error while reading file %1.  Please check puzzle and clues for completeness "
                           "and consistency.")
                .arg(fileName));
        return result;
    }
    while (first.endsWith('\n') || first.endsWith('\r'))
        first.chop(1);
    const QString line = Cp1252::toUnicode(first);

    if (line.startsWith(QLatin1String("CROSSWORD ")))
        return LoadOldPuzzleFile(fileName);
    if (line == QLatin1String("OWTFileFormat=2.0") || line == QLatin1String("TRVFileFormat=2.0"))
        return LoadTextPuzzleFile(fileName);
    if (line.startsWith(QLatin1String("TRVFileFormat="))) {
        result.Add(
            TFileMessage::Warning,
            QStringLiteral("%1 has a file format that is more advanced than this version of Tarvel that you "
                           "are using. If the puzzle you are now opening appears corrupted, you may wish "
                           "to upgrade your version of Tarvel or prepare a copy of your file, %1, in an "
                           "older file format  (using \"Save As...\").")
                .arg(fileName));
        const TFileResult read = LoadTextPuzzleFile(fileName);
        result.Ok = read.Ok;
        result.Messages += read.Messages;
        return result;
    }
    result.Add(TFileMessage::Information, QStringLiteral("%1 has an unknown file format.").arg(fileName));
    return result;
}

QString ClueCompanionName(const QString &puzzleFileName)
{
    const QFileInfo info(puzzleFileName);
    const QString base = info.fileName();
    const int dot = base.indexOf(QLatin1String(".owt"), 0, Qt::CaseInsensitive);
    if (dot < 0)
        return QString();
    const QString wanted = base.left(dot + 1) + QStringLiteral("CLU") + base.mid(dot + 4);
    // The folder part stays as the caller wrote it, so that messages name the file the same way.
    const QString folder = puzzleFileName.left(puzzleFileName.size() - base.size());
    const QDir dir = info.dir();
    if (dir.exists(wanted))
        return folder + wanted;
    // Linux names are case-sensitive: take the companion whatever the case of its extension.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : names)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0 && name.left(dot + 1) == wanted.left(dot + 1))
            return folder + name;
    return folder + wanted;
}

TFileResult LoadOldPuzzleFile(const QString &fileName)
{
    TFileResult result;
    const bool hotSpots = DocControls.ShowHotSpots;
    DocControls.ShowHotSpots = false;
    TRVSetShowHotSpots(0);

    // The engine opens the file itself: pass the name in the file system's encoding. It leaves
    // its grid alone when the file cannot be opened or its size read, but a failed close comes
    // after the grid was read: the open puzzle's grid is kept to be put back.
    const TEngineGridCopy before = TEngineGridCopy::Take();
    const int read = TRVReadPuzzle(QFile::encodeName(fileName).constData());
    if (read != 0) {
        result.Add(TFileMessage::Error,
                   QStringLiteral("TRV file error number %1 while reading from file.").arg(read));
        // The open puzzle stays as it was.
        before.PutBack();
        DocControls.ShowHotSpots = hotSpots;
        TRVSetShowHotSpots(hotSpots ? 1 : 0);
        return result;
    }
    if (WordList)
        WordList->Clear();

    SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
    DocControls.Exchanged = false;
    View = 2; // the penciled-in grid
    TRVInvalidateDisplay();
    if (FileHooks.ControlsChanged)
        FileHooks.ControlsChanged();
    if (FileHooks.AfterOldPuzzleRead)
        FileHooks.AfterOldPuzzleRead();
    // The grids take the companion's clues only: no stock clues while the file is read.
    const bool wasLoading = LoadingPuzzle;
    LoadingPuzzle = true;
    CreateClueGrids();
    CurrentCluesSL->Clear();
    CluesNeedRebuild = true;
    RebuildClueGrids();

    const QString companion = ClueCompanionName(fileName);
    if (companion.isEmpty()) {
        result.Add(TFileMessage::Error, QStringLiteral("ZZZ: Couldn't add \".CLU\" suffix."));
    } else {
        QFile file(companion);
        if (!file.open(QIODevice::ReadOnly)) {
            result.Add(TFileMessage::Error,
                       QStringLiteral("\"%1\" was not found. Puzzle has no clues.").arg(companion));
        } else {
            const QByteArray data = file.readAll();
            const bool failed = file.error() != QFileDevice::NoError;
            file.close();
            const QList<QByteArray> lines = Cp1252::splitLines(data);
            int at = 0;
            bool truncated = failed;
            int inconsistencies = 0;
            if (!failed) {
                inconsistencies += readCompanionGrid(lines, at, CluesAcrossSG, truncated);
                if (!truncated)
                    inconsistencies += readCompanionGrid(lines, at, CluesDownSG, truncated);
            }
            CluesAcrossSG->NotifyAllChanged();
            CluesDownSG->NotifyAllChanged();
            if (truncated) {
                result.Add(TFileMessage::Error,
                           QStringLiteral("File \"%1\" is missing some clue information. ").arg(companion));
            } else if (inconsistencies > 0) {
                result.Add(
                    TFileMessage::Error,
                    QStringLiteral("%1 clue inconsistencies in %2").arg(inconsistencies).arg(companion));
            }
        }
    }
    LoadingPuzzle = wasLoading;
    if (FileHooks.ComputeTitleBlockHeight)
        FileHooks.ComputeTitleBlockHeight();
    result.Ok = true;
    return result;
}

namespace {

template <typename... Members>
void copyMembers(TLayoutSettings &to, const TLayoutSettings &from, Members... members)
{
    ((to.*members = from.*members), ...);
}

} // namespace

void SetDefaultLayout()
{
    PencilSize = 60;
    PencilColor = 0x808080;
    PencilFont = InstalledPencilFont(QStringLiteral("Comic Sans MS"));
    // The factory layout, but for the paper, the border, the cell colours, the solution grid's
    // place and numbering, the clue placement, the word bank, the subtitle spacing, the solution
    // header and the Auto-Layout switches with the page mode: those stay as they were.
    using L = TLayoutSettings;
    L fresh;
    copyMembers(
        fresh, LayoutSettings, &L::PaperWidth, &L::PaperHeight, &L::FrameStyle, &L::FrameInside,
        &L::FrameOutside, &L::RemovedCellColor, &L::BlockedCellColor, &L::AlignSolution, &L::NumberedSolution,
        &L::SolutionLeft, &L::SolutionTop, &L::SeparateClues, &L::WordBankMode, &L::WordBankSort,
        &L::WordBankHeader, &L::WordBankPage, &L::asWordBankHeight, &L::SubtitleExtraSpacing,
        &L::SolutionHeaderText, &L::SolutionHeaderFont, &L::SolutionHeaderFontSize, &L::SolutionHeaderStyle,
        &L::SolutionHeaderColor, &L::AutoCellSize, &L::AutoCellShape, &L::AutoCenter, &L::AutoClueColumns,
        &L::AutoClueSize, &L::AutoClueSpacing, &L::AutoMargins, &L::AutoNewColumn, &L::AutoTitleSize,
        &L::AutoLayout_OnApply, &L::AutoLayout_OnSpill, &L::AutoLayoutPageChoice, &L::AskBeforeUsingTwoPages);
    LayoutSettings = fresh;
    InitPageMetrics();
    if (FreeformMode)
        CellWidth = CellHeight = 0.35;
    // A freeform grid stands centred on the paper just set.
    PuzzleLeft = FreeformMode && FileHooks.CenteredGridLeft ? FileHooks.CenteredGridLeft() : 0;
    CreditsLine = FileHooks.MakerWebAddress ? FileHooks.MakerWebAddress() : QString();
    DocControls.PuzzleTitle.clear();
    DocControls.PuzzleSubtitle.clear();
    if (FileHooks.ResetWindowLayoutValues)
        FileHooks.ResetWindowLayoutValues();
    if (FileHooks.WYSIWYGChange)
        FileHooks.WYSIWYGChange();
}
