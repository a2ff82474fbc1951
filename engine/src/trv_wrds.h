// trv_wrds.h - the theme-word store: the user's own answers, grouped by length for the
// search, and the report of where each one stands after a construction.
#ifndef TRV_WRDS_H
#define TRV_WRDS_H

#include "trv600.h"

constexpr int MaxStringEntries = 1000;
constexpr int MaxStringEntry = 53;
constexpr int MaxThemeLength = 51;

// Fixed string slots of at most 53 characters.
struct VirtualArrayOfStrings {
    char WordArray[MaxStringEntries][MaxStringEntry + 1] = {};
    char StringInUse[MaxStringEntries] = {};
    int NumEntries = 0;

    int GetNewStringId(int size); // slot or -1
    void ReleaseString(int id);
};

struct wordrec {
    int Priority = -1; // -1 marks a free record
    int WordId = -1;
    int PlacedAtSlotx = -1;
};

class themewords {
  public:
    VirtualArrayOfStrings VStrings;
    wordrec WordRec[MaxStringEntries];
    int NumWordRecsUsed = 0;
    int SetupBySizeIsValid = 0;
    int CountBySize[MaxThemeLength + 1] = {};
    int CountBySizeUnplaced[MaxThemeLength + 1] = {};
    int CountBySizeCumulative[MaxThemeLength + 1] = {};
    int MainArray[MaxStringEntries] = {};

    void NewWord(const char *word, const char *clue, int priority);
    void DeleteWord(int wn);
    void DeleteAll();
    int NumThemeWords() const { return NumWordRecsUsed; }
    const char *Word(int wn) const;
    int SlotxLocation(int wn) const;
    void SlotxLocation(int wn, int Slotx);
    void ClearAllSlotxLocations();
    void SetupBySize();
    void SetupBySizeInvalidate() { SetupBySizeIsValid = 0; }
    // The k-th word (k from 1) of length n in by-size order: its word number / its text.
    int WordNumber(int n, int k);
    const char *Word(int n, int k);
};

extern themewords ThmWds;
extern TRVThemeWordLocationProc UIThemeWordLocation;

// Number of characters of a word whose code is above 7.
int AlphaSize(const char *word);
int mytoupper(int c);
int mychricmp(int a, int b);
int mystricmp(const char *s1, const char *s2);

#endif
