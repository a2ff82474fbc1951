// trv_wrds.cpp - the theme-word store: fixed string slots, the word records, the by-size
// tables that the search reads, and the report of where each theme word stands in the grid.
#include "trv_wrds.h"

#include <cstdio>
#include <cstring>

#include "trv_grid.h"

themewords ThmWds;
TRVThemeWordLocationProc UIThemeWordLocation = nullptr;

// ---- String slots ---------------------------------------------------------------------

int VirtualArrayOfStrings::GetNewStringId(int size) {
    if (size < 0 || size > MaxStringEntry) {
        ErrorBox("Requested a virtual string that is too large");
        return -1;
    }
    if (NumEntries >= MaxStringEntries) {
        ErrorBox("Ran out of virtual strings to allocate! ");
        return -1;
    }
    for (int i = 0; i < MaxStringEntries; i++) {
        if (!StringInUse[i]) {
            StringInUse[i] = 1;
            WordArray[i][0] = 0;
            NumEntries++;
            return i;
        }
    }
    ErrorBox("Ran out of virtual strings to allocate! ");
    return -1;
}

void VirtualArrayOfStrings::ReleaseString(int id) {
    if (id < 0 || id >= MaxStringEntries || !StringInUse[id]) {
        static char text[300];
        std::snprintf(text, sizeof text,
                      "Attempt to release virtual string %d, which was not in use. %d entries are in use.",
                      id, NumEntries);
        ErrorBox(text);
        return;
    }
    StringInUse[id] = 0;
    WordArray[id][0] = 0;
    NumEntries--;
}

// ---- Case-insensitive comparison (Windows-1252 / Latin-1 letters too) -----------------

int AlphaSize(const char *word) {
    int n = 0;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(word); *p; p++)
        if (*p > 7) n++;
    return n;
}

int mytoupper(int c) {
    c &= 0xFF;
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c & ~0x20;
    return c;
}

int mychricmp(int a, int b) {
    int ua = mytoupper(a & 0xFF), ub = mytoupper(b & 0xFF);
    if (ua == ub) return 0;
    return ua > ub ? 1 : -1;
}

int mystricmp(const char *s1, const char *s2) {
    const unsigned char *a = reinterpret_cast<const unsigned char *>(s1);
    const unsigned char *b = reinterpret_cast<const unsigned char *>(s2);
    for (;; a++, b++) {
        if (!*a && !*b) return 0;
        if (!*a) return -1;
        if (!*b) return 1;
        int r = mychricmp(*a, *b);
        if (r) return r;
    }
}

// ---- Word records ---------------------------------------------------------------------

void themewords::NewWord(const char *word, const char *clue, int priority) {
    (void)clue; // clues live in the program, not here
    if (!word) word = "";
    if (NumWordRecsUsed >= MaxStringEntries) {
        WarningBox("tw::NW. Ran out of wordrec's.");
        return;
    }
    wordrec &rec = WordRec[NumWordRecsUsed];
    if (rec.Priority != -1) {
        WarningBox("tw::NW. wordrec may be in use.");
        return;
    }
    size_t len = std::strlen(word);
    int id = VStrings.GetNewStringId(len > size_t(MaxStringEntry) ? MaxStringEntry + 1 : int(len));
    if (id < 0) return; // no string slot: the record stays free
    std::memcpy(VStrings.WordArray[id], word, len + 1);
    rec.Priority = priority;
    rec.WordId = id;
    rec.PlacedAtSlotx = -1;
    NumWordRecsUsed++;
}

void themewords::DeleteWord(int wn) {
    // Records are used densely from 0, so every record below the count holds a word, even
    // one sent with the priority -1 that otherwise marks a free record.
    if (NumWordRecsUsed <= 0 || wn < 0 || wn >= NumWordRecsUsed) {
        ErrorBox("Attempt to delete an unused WordRec.");
        return;
    }
    VStrings.ReleaseString(WordRec[wn].WordId);
    for (int i = wn; i < NumWordRecsUsed - 1; i++) WordRec[i] = WordRec[i + 1];
    NumWordRecsUsed--;
    WordRec[NumWordRecsUsed] = wordrec{};
}

void themewords::DeleteAll() {
    for (int wn = NumWordRecsUsed - 1; wn >= 0; wn--) DeleteWord(wn);
}

const char *themewords::Word(int wn) const {
    if (wn < 0 || wn >= NumWordRecsUsed) return "";
    int id = WordRec[wn].WordId;
    if (id < 0 || id >= MaxStringEntries) return "";
    return VStrings.WordArray[id];
}

int themewords::SlotxLocation(int wn) const {
    if (wn < 0 || wn >= NumWordRecsUsed) return -1;
    return WordRec[wn].PlacedAtSlotx;
}

void themewords::SlotxLocation(int wn, int Slotx) {
    if (wn < 0 || wn >= NumWordRecsUsed) return;
    wordrec &rec = WordRec[wn];
    if (SetupBySizeIsValid) {
        int n = AlphaSize(Word(wn));
        if (n > 0 && n <= MaxThemeLength) {
            if (rec.PlacedAtSlotx == -1 && Slotx != -1)
                CountBySizeUnplaced[n]--;
            else if (rec.PlacedAtSlotx != -1 && Slotx == -1)
                CountBySizeUnplaced[n]++;
        }
    }
    rec.PlacedAtSlotx = Slotx;
}

void themewords::ClearAllSlotxLocations() {
    for (int wn = 0; wn < NumWordRecsUsed; wn++) SlotxLocation(wn, -1);
}

void themewords::SetupBySize() {
    for (int n = 0; n <= MaxThemeLength; n++) CountBySize[n] = 0;
    for (int wn = 0; wn < NumWordRecsUsed; wn++) {
        int n = AlphaSize(Word(wn));
        if (n > 0 && n <= MaxThemeLength) CountBySize[n]++;
    }
    CountBySizeCumulative[0] = 0;
    for (int n = 1; n <= MaxThemeLength; n++)
        CountBySizeCumulative[n] = CountBySizeCumulative[n - 1] + CountBySize[n];
    for (int n = 0; n <= MaxThemeLength; n++) CountBySize[n] = CountBySizeUnplaced[n] = 0;
    for (int wn = 0; wn < NumWordRecsUsed; wn++) {
        int n = AlphaSize(Word(wn));
        if (n <= 0 || n > MaxThemeLength) continue;
        MainArray[CountBySizeCumulative[n - 1] + CountBySize[n]] = wn;
        CountBySize[n]++;
        if (WordRec[wn].PlacedAtSlotx == -1) CountBySizeUnplaced[n]++;
    }
    SetupBySizeIsValid = 1;
}

int themewords::WordNumber(int n, int k) {
    if (!SetupBySizeIsValid) MesgBox("themewords::WordNumber -- Not SetupBySizeIsValid");
    if (n < 1 || n > MaxThemeLength || k < 1 || k > CountBySize[n]) return -1;
    int at = CountBySizeCumulative[n - 1] + k - 1;
    if (at < 0 || at >= MaxStringEntries) return -1;
    return MainArray[at];
}

const char *themewords::Word(int n, int k) {
    if (!SetupBySizeIsValid) MesgBox("themewords::Word -- Not SetupBySizeIsValid");
    if (n < 1 || n > MaxThemeLength || k < 1 || k > CountBySize[n]) return "";
    int at = CountBySizeCumulative[n - 1] + k - 1;
    if (at < 0 || at >= MaxStringEntries) return "";
    return Word(MainArray[at]);
}

// ---- Location report ------------------------------------------------------------------

static void CorrectAllThemeWordLocations(int Draw) {
    ThmWds.ClearAllSlotxLocations();
    if (UIThemeWordLocation) UIThemeWordLocation(' ', 0, nullptr);
    ThmWds.SetupBySize();

    cell *C = CELLS::Cell;
    if (Grid.HasCells() && WSLOTS::Slot) {
        char letters[MaxThemeLength + 1];
        for (int s = 0; s < WSLOTS::NumberWords; s++) {
            const WSLOT &slot = WSLOTS::Slot[s];
            int len = slot.Length;
            if (len <= 0 || len > MaxThemeLength) continue;
            bool open = false;
            for (int i = 0, x = slot.xFirstCell; i < len; i++, x += slot.next) {
                letters[i] = C[x].letter;
                if (letters[i] == Empty) open = true;
            }
            if (open) continue;
            letters[len] = 0;
            bool across = slot.next == 1;
            for (int k = 1; k <= ThmWds.CountBySize[len]; k++) {
                int wn = ThmWds.WordNumber(len, k);
                if (wn < 0 || mystricmp(ThmWds.Word(wn), letters) != 0) continue;
                ThmWds.SlotxLocation(wn, s);
                if (UIThemeWordLocation)
                    UIThemeWordLocation(across ? 'A' : 'D', C[slot.xFirstCell].boxnumber, letters);
                for (int i = 0, x = slot.xFirstCell; i < len; i++, x += slot.next)
                    C[x].FontColor = across ? ccLime : ccFuchsia;
            }
        }

        int first = Grid.FirstIndex(), last = Grid.LastIndex();
        for (int x = first; x <= last; x++) {
            cell &c = C[x];
            int fc = c.FontColor;
            if (fc < ccThemeHorz || fc > ccFuchsia) continue;
            if (fc == ccThemeHorz || fc == ccThemeVert)
                c.FontColor = ccBlack;
            else if (fc == ccLime)
                c.FontColor = ccThemeHorz;
            else
                c.FontColor = ccThemeVert;
            if (Draw) c.DispLet = Empty;
        }
        if (Draw) {
            for (int x = first; x <= last; x++) {
                int row = x / Grid.Down, column = x % Grid.Down;
                if (column < 1 || C[x].DispLet != Empty) continue;
                CallDraw(UIDrawCellLetter, row, column);
                CallDraw(UIDrawCellNumber, row, column);
            }
        }
    }

    if (UIThemeWordLocation) UIThemeWordLocation('*', 0, nullptr);
    ThmWds.SetupBySizeInvalidate();
}

// ---- Exports --------------------------------------------------------------------------

extern "C" {

void TRVEstablishThemeWordCallBacks(TRVThemeWordLocationProc proc) { UIThemeWordLocation = proc; }

// The store and the location report hold EngineBusy: while a construction or a report runs,
// the words cannot be added, deleted or reported again from inside its callbacks.
void TRVNewThemeWord(const char *word, const char *clue, int priority) {
    EngineBusy busy;
    if (busy.Refused()) return;
    ThmWds.NewWord(word, clue, priority);
    if ((word && *word) || (clue && *clue) || priority != 0) SavedState = 0;
}

void TRVThemeDeleteAll(void) {
    EngineBusy busy;
    if (!busy.Refused()) ThmWds.DeleteAll();
}

void TRVThemeDeleteWord(int wordNumber) {
    EngineBusy busy;
    if (busy.Refused()) return;
    ErrorBox("TRVThemeDeleteWord");
    ThmWds.DeleteWord(wordNumber);
    SavedState = 0;
}

void TRVCorrectAllThemeWordLocations(int draw) {
    EngineBusy busy;
    if (!busy.Refused()) CorrectAllThemeWordLocations(draw);
}

} // extern "C"
