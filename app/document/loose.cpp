// The freeform builder: word preparation, the randomised attempts, the size searches and the
// passage of the adopted attempt into the engine's grid.
#include "loose.h"

#include "alphabet.h"
#include "pataux.h"
#include "trv600.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr char16_t kEmpty = TRV_EMPTY;
constexpr char16_t kRemoved = TRV_REMOVED;
constexpr int kBuckets = 27; // "A".."Z" and one for every other character
// Pending messages are processed at most this often; more often only costs time.
constexpr auto kPumpInterval = std::chrono::milliseconds(25);

} // namespace

const QString FreeformWordsNote = QStringLiteral(
    "\n\nNote: The answer words appear in blue and the clues appear in green. Answer words always "
    "start on a new line touching the left margin. Press the \"Enter\" or down-arrow keys to get a "
    "new line. ");

const QString FreeformOneLetterText =
    QStringLiteral("With crossword puzzles, one-letter words can't be answer words. This is because a "
                   "one-letter word would be entirely embedded in the word that it crosses; it can't "
                   "\"stick out\" to show it exists. \n\nTherefore, this program will ignore one-letter "
                   "answer words that may be in your list of words and clues. One-letter words in "
                   "clues are fine.") +
    FreeformWordsNote;

const QString FreeformOneWordText =
    QStringLiteral("Just as \"it takes two to tango,\" a crossword puzzle must have at least two answer "
                   "words for these answer words to cross. \n\nYou have only one answer word. Please "
                   "provide more answer words.") +
    FreeformWordsNote;

const QString FreeformNoSharedLettersText =
    QStringLiteral("A freeform crossword puzzle requires that the answer words cross at a letter the "
                   "words have in common.\n\nRight now, the answer words in your word list have no "
                   "letters in common. ") +
    FreeformWordsNote;

const QString FreeformNothingPlacedText =
    QStringLiteral("None of the answer words could be placed in the grid. The grid has not been changed.");

int TFreeformResult::LetterCount() const
{
    return static_cast<int>(
        std::count_if(Cells.begin(), Cells.end(), [](QChar c) { return c.unicode() > 20; }));
}

bool HasOneLetterAnswer(const QList<TFreeformEntry> &entries)
{
    return std::any_of(entries.begin(), entries.end(),
                       [](const TFreeformEntry &e) { return e.Answer.size() == 1; });
}

bool WordsShareNoLetters(const QList<TFreeformEntry> &entries)
{
    bool seen[26] = {};
    for (const TFreeformEntry &e : entries) {
        bool mine[26] = {};
        for (QChar c : UpperCaseText(e.Answer)) {
            if (c < 'A' || c > 'Z')
                continue;
            const int i = c.unicode() - 'A';
            if (seen[i])
                return false;
            mine[i] = true;
        }
        for (int i = 0; i < 26; ++i)
            seen[i] = seen[i] || mine[i];
    }
    return true;
}

TFreeformRefusal CheckFreeformWords(const QList<TFreeformEntry> &entries)
{
    const auto answers = std::count_if(entries.begin(), entries.end(),
                                       [](const TFreeformEntry &e) { return !e.Answer.isEmpty(); });
    if (answers == 0)
        return TFreeformRefusal::NoWords;
    if (answers == 1)
        return TFreeformRefusal::OneWord;
    if (WordsShareNoLetters(entries))
        return TFreeformRefusal::NoSharedLetters;
    return TFreeformRefusal::None;
}

QString FreeformRefusalText(TFreeformRefusal refusal)
{
    switch (refusal) {
    case TFreeformRefusal::OneWord: return FreeformOneWordText;
    case TFreeformRefusal::NoSharedLetters: return FreeformNoSharedLettersText;
    case TFreeformRefusal::NoWords:
    case TFreeformRefusal::None: break;
    }
    return {};
}

void ClearGridUnlessOpen()
{
    if (GridHasNoOpenCells())
        TRVClearGrid();
}

std::vector<QChar> ReadFreeformGridCells()
{
    const int columns = TRVGetWidth();
    const int rows = TRVGetHeight();
    std::vector<QChar> cells;
    cells.reserve(static_cast<size_t>(columns * rows));
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            cells.push_back(GetCellLetter(c, r));
    return cells;
}

bool StoreFreeformResult(const TFreeformResult &result)
{
    if (!result.Adopted || result.Columns < 1 || result.Rows < 1)
        return false;
    TRVResizeGrid(result.Columns, result.Rows);
    SetPuzzleDimensions(result.Columns, result.Rows, false);
    for (int r = 1; r <= result.Rows; ++r)
        for (int c = 1; c <= result.Columns; ++c) {
            QChar b = result.Cell(c, r);
            if (b.unicode() == kEmpty)
                b = QChar(kRemoved);
            // Lower case: the letters come in unfixed, also over a fixed letter of the same kind.
            const QChar lower = LowerCaseChar(b);
            if (lower != GetCellLetter(c, r))
                SetCellLetter(c, r, lower);
        }
    TRVRenumberGrid();
    return true;
}

// ---- The builder ---------------------------------------------------------------------------

TFreeformBuilder::TFreeformBuilder(QList<TFreeformEntry> entries, TFreeformOptions options)
    : m_entries(std::move(entries)), m_options(std::move(options))
{
    m_buckets.resize(kBuckets);
    for (auto &bucket : m_buckets)
        bucket.reserve(BucketCapacity);
}

void TFreeformBuilder::PrepareWords()
{
    std::vector<std::vector<TWord>> byLength(MaxSide + 1);
    for (int i = 0; i < m_entries.size(); ++i) {
        QString word;
        for (QChar c : m_entries[i].Answer)
            if (IsAlphabetChar(c))
                word += UpperCaseChar(c);
        if (word.size() < 2)
            m_leftOut.push_back({i, m_entries[i].Answer, TFreeformDropReason::TooShort});
        else if (word.size() > MaxSide)
            m_leftOut.push_back({i, m_entries[i].Answer, TFreeformDropReason::TooLong});
        else
            byLength[word.size()].push_back({i, word});
    }
    for (int n = MaxSide; n >= 2; --n)
        m_master.insert(m_master.end(), byLength[n].begin(), byLength[n].end());
}

int TFreeformBuilder::FreeformAttemptCount() const
{
    const int words = static_cast<int>(m_master.size());
    if (words <= 200)
        return 50;
    return std::max(1, 50 - (words - 200) / 4);
}

long long TFreeformBuilder::FreeformScore(int placed, int columns, int rows)
{
    const double diagonal = std::sqrt(double(columns) * columns + double(rows) * rows);
    return std::llround(placed * 100000.0 + 1000.0 - 10.0 * diagonal);
}

TFreeformResult TFreeformBuilder::BuildFreeformPuzzle()
{
    // Every build starts afresh, so a builder run twice gives the same puzzle twice.
    m_random.seed(m_options.EveryPuzzleDifferent ? m_options.Seed : 5u);
    m_bestScore = 0;
    m_best.fill(QChar(kEmpty));
    m_bestColumns = m_bestRows = 0;
    m_bestSpots.clear();
    m_attempts = 0;
    m_cancelled = false;
    m_master.clear();
    m_leftOut.clear();
    m_lastPump = std::chrono::steady_clock::now();
    PrepareWords();
    if (!m_master.empty()) {
        if (m_options.AutoSize)
            FreeformAutoSizeSearch();
        else
            FreeformFixedSizeSearch();
    }

    TFreeformResult result;
    result.Adopted = m_bestScore > 0;
    result.Cancelled = m_cancelled;
    result.Attempts = m_attempts;
    std::vector<bool> placed(m_master.size());
    if (result.Adopted) {
        result.Columns = m_bestColumns;
        result.Rows = m_bestRows;
        result.Score = m_bestScore;
        result.Cells.reserve(size_t(m_bestColumns * m_bestRows));
        for (int r = 1; r <= m_bestRows; ++r)
            for (int c = 1; c <= m_bestColumns; ++c)
                result.Cells.push_back(m_best[r * Stride + c]);
        for (const TSpot &spot : m_bestSpots) {
            const TWord &w = m_master[spot.Word];
            placed[spot.Word] = true;
            result.Placed.push_back(
                {w.Entry, w.Text, m_entries[w.Entry].Clue, spot.Column, spot.Row, spot.Across});
        }
    }
    for (const TFreeformDrop &d : m_leftOut)
        result.Dropped.push_back(d);
    for (size_t i = 0; i < m_master.size(); ++i)
        if (!placed[i])
            result.Dropped.push_back(
                {m_master[i].Entry, m_entries[m_master[i].Entry].Answer, TFreeformDropReason::NotPlaced});
    std::sort(result.Dropped.begin(), result.Dropped.end(),
              [](const TFreeformDrop &a, const TFreeformDrop &b) { return a.Entry < b.Entry; });
    return result;
}

bool TFreeformBuilder::AttemptTrimmed(int &columns, int &rows)
{
    // One attempt, trimmed to the cells it used; adopted when it does at least as well as the
    // best so far.
    const int placed = FreeformAttempt();
    TrimScratchGrid(columns, rows);
    const long long score = FreeformScore(placed, columns, rows);
    if (!Qualifies(placed, score))
        return false;
    AdoptScratchGrid(score, columns, rows);
    if (m_options.SizeShown)
        m_options.SizeShown(columns, rows);
    return true;
}

void TFreeformBuilder::FreeformAutoSizeSearch()
{
    const int n = FreeformAttemptCount();
    m_colBound = m_rowBound = MaxSide;
    if (m_options.SizeShown)
        m_options.SizeShown(MaxSide, MaxSide);
    for (int k = 1; k <= n; ++k) {
        int columns = 0, rows = 0;
        AttemptTrimmed(columns, rows);
        ReportProgress(k * 100 / (2 * n));
        if ((m_cancelled = IsCancelled()))
            return;
    }
    if (m_bestScore == 0)
        return;

    // Shrink while an attempt still does as well as the best one.
    m_colBound = m_bestColumns;
    m_rowBound = m_bestRows;
    bool adopted = true;
    while (adopted) {
        adopted = false;
        if (m_colBound > 1)
            --m_colBound;
        if (m_rowBound > 1)
            --m_rowBound;
        for (int k = 1; k <= n; ++k) {
            int columns = 0, rows = 0;
            if (AttemptTrimmed(columns, rows)) {
                m_colBound = columns;
                m_rowBound = rows;
                adopted = true;
            }
            ReportProgress(k * 100 / (2 * n) + 50);
            if ((m_cancelled = IsCancelled()))
                return;
            if (adopted)
                break;
        }
    }
}

void TFreeformBuilder::FreeformFixedSizeSearch()
{
    const int n = FreeformAttemptCount();
    m_colBound = std::clamp(m_options.Columns, 1, MaxSide);
    m_rowBound = std::clamp(m_options.Rows, 1, MaxSide);
    for (int k = 1; k <= n; ++k) {
        const int placed = FreeformAttempt();
        ReportProgress(k * 100 / n);
        const long long score = FreeformScore(placed, m_colBound, m_rowBound);
        if (Qualifies(placed, score))
            AdoptScratchGrid(score, m_colBound, m_rowBound);
        if ((m_cancelled = IsCancelled()))
            return;
    }
}

int TFreeformBuilder::FreeformAttempt()
{
    ++m_attempts;
    m_scratch.fill(QChar(kEmpty));
    if (!m_options.AutoSize) {
        const int columns = m_options.Columns;
        const auto &cells = m_options.GridCells;
        for (int r = 1; r <= std::min(m_options.Rows, MaxSide); ++r)
            for (int c = 1; c <= std::min(columns, MaxSide); ++c) {
                const size_t i = size_t((r - 1) * columns + (c - 1));
                const QChar cell = i < cells.size() ? cells[i] : QChar(kEmpty);
                At(c, r) = IsLetter(cell) ? QChar(kEmpty) : cell;
            }
    }
    for (auto &bucket : m_buckets)
        bucket.clear();
    m_spots.clear();

    std::vector<int> work(m_master.size());
    for (size_t i = 0; i < work.size(); ++i)
        work[i] = int(i);
    const int k = std::max(1, int(work.size()) / 2);
    int placed = 0;
    while (!work.empty()) {
        const int left = int(work.size());
        const int a = int(Next() % std::uint32_t(std::min(left, k)));
        bool added = false;
        for (int i = 0; i < left && !added; ++i) {
            const int index = (a + i) % left;
            PumpByClock();
            if (TryToAddWordToScratchGrid(placed == 0, work[index])) {
                ++placed;
                work.erase(work.begin() + index);
                added = true;
            }
        }
        if (!added)
            break;
    }
    return placed;
}

bool TFreeformBuilder::TryToAddWordToScratchGrid(bool first, int wordIndex)
{
    const QString &word = m_master[wordIndex].Text;
    const int n = int(word.size());
    if (first) {
        const int c0 = int(Next() % std::uint32_t(m_colBound)) + 1;
        const int r0 = int(Next() % std::uint32_t(m_rowBound)) + 1;
        int c = c0, r = r0;
        do {
            const bool acrossFirst = Next() % 2 == 0;
            for (int turn = 0; turn < 2; ++turn) {
                const bool across = (turn == 0) == acrossFirst;
                const bool fits = across ? CanPlaceAcross(word, 1, c, r) : CanPlaceDown(word, 1, c, r);
                if (fits && PlaceWordOnScratchGrid(wordIndex, c, r, 0, across))
                    return true;
            }
            if (++c > m_colBound) {
                c = 1;
                if (++r > m_rowBound)
                    r = 1;
            }
        } while (c != c0 || r != r0);
        return false;
    }

    const int s = int(Next() % std::uint32_t(n));
    for (int i = 0; i < n; ++i) {
        const int p = (s + i) % n + 1;
        const QChar letter = word[p - 1];
        auto &bucket = m_buckets[BucketOf(letter)];
        const int count = int(bucket.size());
        if (count == 0)
            continue;
        const int start = int(Next() % std::uint32_t(count));
        for (int j = 0; j < count; ++j) {
            TRecord &rec = bucket[(start + j) % count];
            if (rec.Letter == letter) {
                const int x = rec.Column, y = rec.Row;
                if (rec.Direction == 'a') {
                    if (CanPlaceDown(word, p, x, y) && HasRoomFor(word, p)) {
                        rec.Letter = QChar(kEmpty);
                        return PlaceWordOnScratchGrid(wordIndex, x, y - p + 1, p, false);
                    }
                } else if (CanPlaceAcross(word, p, x, y) && HasRoomFor(word, p)) {
                    rec.Letter = QChar(kEmpty);
                    return PlaceWordOnScratchGrid(wordIndex, x - p + 1, y, p, true);
                }
            }
            PumpByClock();
        }
    }
    return false;
}

bool TFreeformBuilder::LetterAt(int c, int r) const
{
    if (c < 1 || c > m_colBound || r < 1 || r > m_rowBound)
        return false;
    return IsLetter(At(c, r));
}

bool TFreeformBuilder::Enclosed(int c, int r) const
{
    if (At(c, r).unicode() != kEmpty)
        return false;
    const int around = LetterAt(c - 1, r) + LetterAt(c + 1, r) + LetterAt(c, r - 1) + LetterAt(c, r + 1);
    return around > 2;
}

bool TFreeformBuilder::CanPlaceAcross(const QString &word, int p, int x, int y) const
{
    const int n = int(word.size());
    if (LetterAt(x - 1, y) || LetterAt(x + 1, y))
        return false;
    const int s = x - p + 1;
    const int e = x + n - p;
    if (s > 1 && s - 1 <= m_colBound && Blocked(s - 1, y))
        return false;
    if (e >= 0 && e < m_colBound && Blocked(e + 1, y))
        return false;
    for (int i = 0; i < n; ++i) {
        const int c = s + i;
        if (c < 1 || c > m_colBound)
            return false;
        const QChar cell = At(c, y);
        if (cell == word[i])
            continue; // a crossing
        if (cell.unicode() != kEmpty)
            return false;
        if ((y > 1 && Blocked(c, y - 1)) || (y < m_rowBound && Blocked(c, y + 1)))
            return false;
    }
    return true;
}

bool TFreeformBuilder::CanPlaceDown(const QString &word, int p, int x, int y) const
{
    const int n = int(word.size());
    if (LetterAt(x, y - 1) || LetterAt(x, y + 1))
        return false;
    const int s = y - p + 1;
    const int e = y + n - p;
    if (s > 1 && s - 1 <= m_rowBound && Blocked(x, s - 1))
        return false;
    if (e >= 0 && e < m_rowBound && Blocked(x, e + 1))
        return false;
    for (int i = 0; i < n; ++i) {
        const int r = s + i;
        if (r < 1 || r > m_rowBound)
            return false;
        const QChar cell = At(x, r);
        if (cell == word[i])
            continue;
        if (cell.unicode() != kEmpty)
            return false;
        if ((x > 1 && Blocked(x - 1, r)) || (x < m_colBound && Blocked(x + 1, r)))
            return false;
    }
    return true;
}

int TFreeformBuilder::BucketOf(QChar letter)
{
    return (letter >= 'A' && letter <= 'Z') ? letter.unicode() - 'A' : kBuckets - 1;
}

bool TFreeformBuilder::HasRoomFor(const QString &word, int q) const
{
    // A word goes in whole or not at all: every letter but the crossing needs a record.
    int need[kBuckets] = {};
    for (int i = 0; i < word.size(); ++i)
        if (i + 1 != q)
            ++need[BucketOf(word[i])];
    for (int b = 0; b < kBuckets; ++b)
        if (need[b] && int(m_buckets[b].size()) + need[b] > BucketCapacity)
            return false;
    return true;
}

bool TFreeformBuilder::PlaceWordOnScratchGrid(int wordIndex, int column, int row, int q, bool across)
{
    const QString &word = m_master[wordIndex].Text;
    if (!HasRoomFor(word, q))
        return false;
    for (int i = 0; i < word.size(); ++i) {
        const int c = across ? column + i : column;
        const int r = across ? row : row + i;
        At(c, r) = word[i];
        if (i + 1 != q)
            m_buckets[BucketOf(word[i])].push_back(
                {word[i], std::uint8_t(c), std::uint8_t(r), across ? 'a' : 'd'});
    }
    m_spots.push_back({wordIndex, column, row, across});
    return true;
}

void TFreeformBuilder::TrimScratchGrid(int &columns, int &rows)
{
    auto rowEmpty = [&](int r) {
        for (int c = 1; c <= m_colBound; ++c)
            if (At(c, r).unicode() != kEmpty)
                return false;
        return true;
    };
    auto columnEmpty = [&](int c) {
        for (int r = 1; r <= m_rowBound; ++r)
            if (At(c, r).unicode() != kEmpty)
                return false;
        return true;
    };
    int top = 0;
    while (top < m_rowBound && rowEmpty(top + 1))
        ++top;
    int left = 0;
    while (left < m_colBound && columnEmpty(left + 1))
        ++left;
    if (top > 0 || left > 0) {
        for (int r = 1; r <= m_rowBound; ++r)
            for (int c = 1; c <= m_colBound; ++c) {
                const int fromC = c + left, fromR = r + top;
                At(c, r) = (fromC <= m_colBound && fromR <= m_rowBound) ? At(fromC, fromR) : QChar(kEmpty);
            }
        for (TSpot &spot : m_spots) {
            spot.Column -= left;
            spot.Row -= top;
        }
    }
    rows = m_rowBound;
    while (rows > 1 && rowEmpty(rows))
        --rows;
    columns = m_colBound;
    while (columns > 1 && columnEmpty(columns))
        --columns;
}

void TFreeformBuilder::AdoptScratchGrid(long long score, int columns, int rows)
{
    m_bestScore = score;
    m_bestColumns = columns;
    m_bestRows = rows;
    m_best = m_scratch;
    m_bestSpots = m_spots;
}

void TFreeformBuilder::PumpByClock()
{
    if (!m_options.Pump)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPump < kPumpInterval)
        return;
    m_lastPump = now;
    m_options.Pump();
}
