// trv_scan.h - dictionary word lists by length and the letter-fit scanner that tells which
// letters can still stand in each cell of a slot.
#ifndef TRV_SCAN_H
#define TRV_SCAN_H

#include <cstdint>

using FlexSet = uint32_t; // "A" is bit 30 ... "Z" bit 5

constexpr int MaxWordLength = 17;
constexpr int MAXPS = 12;
constexpr uint32_t MaxListRecords = 65535;
// Lists of lengths 2 to 9 smaller than this are divided into sections by letter-group signature.
constexpr uint32_t SectionedListLimit = 65500;
extern const int psize[MaxWordLength + 1];
extern const FlexSet fsBitPositionOfOneLetter[32];

// Units of zeros after the loaded data, so that the scans may read whole 64-bit words.
constexpr int RecordPadUnits = 4;

struct WLIST {
    uint32_t nwords = 0;     // records loaded; 0 = not loaded
    uint32_t asize = 0;      // bytes of record data loaded
    uint16_t *top = nullptr; // followed by RecordPadUnits zero units
};

class lexicon {
  public:
    WLIST wlist[MaxWordLength + 1];
    lexicon() = default;
    ~lexicon();
    lexicon(const lexicon &) = delete;
    lexicon &operator=(const lexicon &) = delete;
    void ReadWordList(int WordSize);
    // Forgets one loaded list (and its search index); the next use reads it again.
    void Release(int WordSize);
};

extern lexicon Lexicon;

enum DIR {
    across = 0,
    down = 1
};

struct CELL {
    char letter = 0;
    unsigned *dwn = nullptr;
    unsigned *acr = nullptr;
    int mtotalf = 0;
    int uniques[2] = {};
};

struct Cww1Word {
    int length = 0;
    DIR dir = across;
    CELL *cell[MaxWordLength] = {};
    long totalfits = 0;
    unsigned relflex = 0;
};

class scanner {
  public:
    scanner();
    scanner(const scanner &) = delete;
    scanner &operator=(const scanner &) = delete;
    // Letter sets of the live engine, one per cell index; set by the engine before use.
    FlexSet *fsHorz = nullptr;
    FlexSet *fsVert = nullptr;
    FlexSet *fsCombo = nullptr;

    Cww1Word sWord;
    CELL sCell[MaxWordLength];
    unsigned FlexCount[MaxWordLength][32] = {}; // per position: entry c set when code c fits

    int ComputeFlexibility(int SlotIndex); // 1 still okay, 0 stuck
    int IsInLexicon(const char *Word);
    // The letters flagged in one position's row.
    FlexSet LetterSet(int position) const;
};

// Fills the rows of the word's cells from the cache or from the dictionary.
void recalc_flexibility(Cww1Word &word);
// The dictionary scan of one word pattern without the cache: the indexed scan, or the plain
// walk of the list when ScanUseIndex is false. Both give the same rows and totalfits.
// Returns 1 when the list of the word's length is loaded, 0 when it is empty or missing.
int ScanLexicon(Cww1Word &word);
// The plain walks: lengths 1 to 9 (section by section where the list has sections) and 10 to 17.
void SegFlexibility(int length, unsigned SegPattern, unsigned SegMask, const uint16_t *pattern,
                    const uint16_t *mask, Cww1Word &word);
void flexibility(int length, const uint16_t *pattern, const uint16_t *mask, Cww1Word &word);
// Drops the flexibility cache; it is made again at the next scan.
void FlushFlexibilityCache();
// With on, the indexed scans see only the common words of each length that has a common-word
// list (ZEDAVIV/C.Pnn); the other lengths, the plain walks and the spelling see every word.
void SetCommonWordsOnly(bool on);
bool CommonWordsOnlySet();

extern int Hit;                     // -1 when the last scan came from the cache
extern bool ScanUseIndex;           // true: scans use the per-length record index
extern uint64_t ScanRecordsVisited; // records compared by the plain walks so far

#endif
