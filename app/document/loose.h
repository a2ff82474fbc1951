// The freeform (criss-cross) builder: lays the answer words on a scratch grid of at most
// 51 x 51 cells, each new word crossing a letter of a word already placed, in many randomised
// attempts, keeps the attempt that places the most words in the smallest area and, with
// automatic size, shrinks the grid while an attempt still does as well. No windows: the
// caller passes the words, the size mode, the seed and its callbacks, and gets the result as
// data; StoreFreeformResult writes a result into the engine's grid.
#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

/** One entry of the word list: the answer as typed and its clue. */
struct TFreeformEntry {
    QString Answer;
    QString Clue;
};

/** What the caller asks for. */
struct TFreeformOptions {
    bool AutoSize = true;              // "Auto-size  (recommended)"; else the fixed size below
    int Columns = 15;                  // fixed size only
    int Rows = 15;                     // fixed size only
    std::vector<QChar> GridCells;      // fixed size only: the current grid, row by row (may be empty)
    bool EveryPuzzleDifferent = false; // "Make every puzzle different": use Seed, else seed 5
    std::uint32_t Seed = 5;
    std::function<bool()> Cancelled;                      // looked at after each attempt
    std::function<void(int percent)> Progress;            // after each attempt
    std::function<void(int columns, int rows)> SizeShown; // automatic size: the adopted size
    std::function<void()> Pump;                           // processes pending messages (by the clock)
};

/** One placed word of the adopted attempt; Column and Row (1-based) name its first letter. */
struct TFreeformPlacement {
    int Entry = 0; // index into the word list
    QString Word;  // prepared: alphabet characters only, upper case
    QString Clue;
    int Column = 0;
    int Row = 0;
    bool Across = true;
};

enum class TFreeformDropReason {
    TooShort,
    TooLong,
    NotPlaced
};

struct TFreeformDrop {
    int Entry = 0;
    QString Answer;
    TFreeformDropReason Reason = TFreeformDropReason::NotPlaced;
};

struct TFreeformResult {
    bool Adopted = false; // false: no word could be placed (or cancel came first)
    bool Cancelled = false;
    int Columns = 0; // size of the adopted attempt
    int Rows = 0;
    long long Score = 0;
    int Attempts = 0;
    std::vector<QChar> Cells; // Columns x Rows, row by row: letters (upper case) or cell codes
    QList<TFreeformPlacement> Placed;
    QList<TFreeformDrop> Dropped;

    QChar Cell(int column, int row) const { return Cells[(row - 1) * Columns + (column - 1)]; }
    int LetterCount() const;
};

/** Why a word list cannot make a freeform puzzle. */
enum class TFreeformRefusal {
    None,
    NoWords,
    OneWord,
    NoSharedLetters
};

/** Texts of the builder's messages; the note is appended to the refusals. */
extern const QString FreeformWordsNote;
extern const QString FreeformOneLetterText;
extern const QString FreeformOneWordText;
extern const QString FreeformNoSharedLettersText;
extern const QString FreeformNothingPlacedText;

/** True when an answer is exactly one character long. */
bool HasOneLetterAnswer(const QList<TFreeformEntry> &entries);
/** True when no answer has a letter "A" to "Z" that an earlier answer had. */
bool WordsShareNoLetters(const QList<TFreeformEntry> &entries);
/** The refusal for a word list (answers counted as given, empty ones skipped). */
TFreeformRefusal CheckFreeformWords(const QList<TFreeformEntry> &entries);
/** The refusal's message with the note, empty for None. */
QString FreeformRefusalText(TFreeformRefusal refusal);
/** Clears the engine's grid when it has no open cell. */
void ClearGridUnlessOpen();
/** The engine's grid as GridCells for a fixed-size build. */
std::vector<QChar> ReadFreeformGridCells();
/** Writes an adopted result into the engine's grid: resized to the result, every unused cell
 *  removed, every letter unfixed (lower case), renumbered. Without an adopted attempt the grid
 *  stays as it was and false comes back. */
bool StoreFreeformResult(const TFreeformResult &result);

class TFreeformBuilder
{
public:
    static constexpr int MaxSide = 51;
    static constexpr int BucketCapacity = MaxSide * MaxSide;

    explicit TFreeformBuilder(QList<TFreeformEntry> entries, TFreeformOptions options = {});

    /** Runs the whole build and gives its result. */
    TFreeformResult BuildFreeformPuzzle();

    // The search's steps, public for the tests.
    int FreeformAttemptCount() const;
    static long long FreeformScore(int placed, int columns, int rows);

private:
    struct TRecord {
        QChar Letter; // 2 once used up
        std::uint8_t Column = 0;
        std::uint8_t Row = 0;
        char Direction = 'a';
    };
    struct TWord {
        int Entry = 0;
        QString Text;
    };
    struct TSpot {
        int Word = 0; // index into m_master
        int Column = 0;
        int Row = 0;
        bool Across = true;
    };
    static constexpr int Stride = MaxSide + 2;

    void PrepareWords();
    void FreeformAutoSizeSearch();
    void FreeformFixedSizeSearch();
    int FreeformAttempt();
    bool AttemptTrimmed(int &columns, int &rows);
    bool TryToAddWordToScratchGrid(bool first, int word);
    bool CanPlaceAcross(const QString &word, int p, int x, int y) const;
    bool CanPlaceDown(const QString &word, int p, int x, int y) const;
    bool PlaceWordOnScratchGrid(int word, int column, int row, int q, bool across);
    void TrimScratchGrid(int &columns, int &rows);
    void AdoptScratchGrid(long long score, int columns, int rows);
    bool Qualifies(int placed, long long score) const { return placed > 0 && score >= m_bestScore; }

    QChar &At(int c, int r) { return m_scratch[r * Stride + c]; }
    QChar At(int c, int r) const { return m_scratch[r * Stride + c]; }
    static bool IsLetter(QChar ch) { return ch.unicode() > 20; }
    bool LetterAt(int c, int r) const;
    bool Enclosed(int c, int r) const;
    bool Blocked(int c, int r) const { return LetterAt(c, r) || Enclosed(c, r); }
    static int BucketOf(QChar letter);
    bool HasRoomFor(const QString &word, int q) const;
    std::uint32_t Next() { return m_random(); }
    void PumpByClock();
    bool IsCancelled() const { return m_options.Cancelled && m_options.Cancelled(); }
    void ReportProgress(int percent) const
    {
        if (m_options.Progress)
            m_options.Progress(percent);
    }

    QList<TFreeformEntry> m_entries;
    TFreeformOptions m_options;
    std::mt19937 m_random;
    std::chrono::steady_clock::time_point m_lastPump;

    std::vector<TWord> m_master; // longest first, list order within a length
    std::vector<TFreeformDrop> m_leftOut;
    std::array<QChar, Stride * Stride> m_scratch{};
    std::array<QChar, Stride * Stride> m_best{};
    int m_colBound = MaxSide;
    int m_rowBound = MaxSide;
    long long m_bestScore = 0;
    int m_bestColumns = 0;
    int m_bestRows = 0;
    int m_attempts = 0;
    bool m_cancelled = false;
    std::vector<std::vector<TRecord>> m_buckets; // 27, each reserved for BucketCapacity
    std::vector<TSpot> m_spots;                  // words placed in the current attempt
    std::vector<TSpot> m_bestSpots;
};
