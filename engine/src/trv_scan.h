// trv_scan.h - dictionary word lists by length and the letter-fit scanner that tells which
// letters can still stand in each cell of a slot.
#ifndef TRV_SCAN_H
#define TRV_SCAN_H

#include <cstdint>

using FlexSet = uint32_t;  // "A" is bit 30 ... "Z" bit 5

constexpr int MaxWordLength = 17;
constexpr int MAXPS = 12;
constexpr uint32_t MaxListRecords = 65535;
extern const int psize[MaxWordLength + 1];
extern const FlexSet fsBitPositionOfOneLetter[32];

struct WLIST {
    uint32_t nwords = 0;  // records loaded; 0 = not loaded
    uint32_t asize = 0;   // bytes of record data loaded
    uint16_t *top = nullptr;
};

class lexicon {
public:
    WLIST wlist[MaxWordLength + 1];
    lexicon() = default;
    ~lexicon();
    lexicon(const lexicon &) = delete;
    lexicon &operator=(const lexicon &) = delete;
    void ReadWordList(int WordSize);
};

extern lexicon Lexicon;

enum DIR { across = 0, down = 1 };

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
    // Letter sets of the live engine, one per cell index; set by the engine before use.
    FlexSet *fsHorz = nullptr;
    FlexSet *fsVert = nullptr;
    FlexSet *fsCombo = nullptr;

    int ComputeFlexibility(int SlotIndex);  // 1 still okay, 0 stuck
    int IsInLexicon(const char *Word);
};

extern int Hit;  // -1 when the last scan came from the cache

#endif
