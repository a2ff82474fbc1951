// trv_scan.cpp - the packed dictionary lists (loaded lazily, one per word length), the plain
// walks that find which letters fit a pattern, a per-length bitmap index that gives the same
// answers while visiting only records that can fit, and the slot scanner built on them.
#include "trv_scan.h"

#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "trv_cach.h"
#include "trv_grid.h"
#include "trv_wrds.h"

const int psize[MaxWordLength + 1] = {0, 2, 2, 2, 4, 4, 4, 6, 6, 6, 8, 8, 8, 10, 10, 10, 12, 12};

const FlexSet fsBitPositionOfOneLetter[32] = {
    0,        1u << 30, 1u << 29, 1u << 28, 1u << 27, 1u << 26, 1u << 25, 1u << 24,
    1u << 23, 1u << 22, 1u << 21, 1u << 20, 1u << 19, 1u << 18, 1u << 17, 1u << 16,
    1u << 15, 1u << 14, 1u << 13, 1u << 12, 1u << 11, 1u << 10, 1u << 9,  1u << 8,
    1u << 7,  1u << 6,  1u << 5,  0,        0,        0,        0,        0};

int Hit = 0;
bool ScanUseIndex = true;
static bool CommonWordsOnly = false;
uint64_t ScanRecordsVisited = 0;

static FlexCache *FlexibilityCache = nullptr;
static int CacheNeedsInitialization = 1;

// The files hold little-endian units, loaded as they are; the scans also read several units
// as one integer.
static_assert(std::endian::native == std::endian::little, "the dictionary scans need a little-endian host");

namespace {

constexpr int MaxUnits = MAXPS / 2;

// Letter groups by word length (lengths 10 and up have none) and the group of each code.
const int base[MaxWordLength + 1] = {0, 1, 4, 4, 4, 3, 3, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1};
unsigned char groupOf(int groups, int code) {
    if (code < 1 || code > 26) return 0;
    switch (groups) {
    case 4: return code <= 6 ? 0 : code <= 12 ? 1 : code <= 18 ? 2 : 3;
    case 3: return code <= 8 ? 0 : code <= 18 ? 1 : 2;
    case 2: return code <= 12 ? 0 : 1;
    default: return 0;
    }
}
int bitsPerLetter(int groups) { return groups == 2 ? 1 : 2; }

enum class Layout {
    Records,
    Sections1,
    Sections2,
    Huge
};

// How the scanner reads a loaded list: by its length and its size.
Layout layoutOf(int length, uint32_t bytes) {
    if (length == 1) return Layout::Records;
    if (length <= 3) return bytes < SectionedListLimit ? Layout::Sections1 : Layout::Records;
    if (length <= 9) return bytes < SectionedListLimit ? Layout::Sections2 : Layout::Records;
    return bytes < SectionedListLimit ? Layout::Records : Layout::Huge;
}

// Walks the sections of a list: f(header, records, count) for each section. A count that runs
// past the data is cut to the whole records that are there, and the walk ends after it.
template <class F> void forEachSection(const uint16_t *u, uint32_t nunits, int hdrUnits, int nu, F f) {
    uint32_t pos = 0;
    while (pos + hdrUnits <= nunits) {
        unsigned hdr = u[pos];
        unsigned count = hdrUnits == 1 ? hdr >> 8 : u[pos + 1];
        if (count == 0) break;
        pos += hdrUnits;
        uint32_t take = std::min<uint32_t>(count, (nunits - pos) / nu);
        f(hdr, u + pos, take);
        pos += take * nu;
        if (take < count) break;
    }
}

// Accumulated letters: per unit, three 32-bit masks of the codes seen in its fields
// (field 0 bits 10-14, field 1 bits 5-9, field 2 bits 0-4).
struct Seen {
    uint32_t f[MaxUnits * 3] = {};
    long fits = 0;
};

// Letter masks of the two low fields of a unit, as one 64-bit value: bit c for a code c in
// bits 0-4, bit 32 + c for a code c in bits 5-9.
struct LowFields {
    uint64_t m[1024];
    LowFields() {
        for (unsigned v = 0; v < 1024; v++)
            m[v] = (uint64_t(1) << (v & 31)) | (uint64_t(1) << (32 + (v >> 5)));
    }
};
const LowFields lowFields;

inline uint64_t load64(const uint16_t *p) {
    uint64_t x;
    std::memcpy(&x, p, 8);
    return x;
}
inline uint32_t load32(const uint16_t *p) {
    uint32_t x;
    std::memcpy(&x, p, 4);
    return x;
}

// Adds the letters of one record to the masks (s0: field 0; s12: fields 1 and 2). The
// unit loops are written as folds so that the masks stay in registers.
template <int NU, size_t... J>
inline void addRecord(const uint16_t *r, uint32_t *s0, uint64_t *s12, std::index_sequence<J...>) {
    ((s0[J] |= 1u << ((r[J] >> 10) & 31), s12[J] |= lowFields.m[r[J] & 1023]), ...);
}

// The masked compare of n records, 64 at a time without branches, then the letters of the
// records that fit. Reads up to RecordPadUnits units past the last record (the lists are
// padded for it); units beyond the record's own are masked out.
// Units 0-3 of a record are compared as one 64-bit word, units 4-5 as a 32-bit word; a word
// without known letters is not compared (Low, High say which are).
template <int NU, bool Low, bool High>
void walkRecords(const uint16_t *r, uint32_t n, uint64_t m1, uint64_t p1, uint64_t m2, uint64_t p2,
                 Seen &out) {
    constexpr auto units = std::make_index_sequence<NU>{};
    uint32_t s0[NU] = {};
    uint64_t s12[NU] = {};
    long fits = 0;
    for (uint32_t k = 0; k < n; k += 64) {
        const uint16_t *block = r + size_t(k) * NU;
        const uint32_t count = std::min<uint32_t>(64, n - k);
        uint64_t hits = 0;
        for (uint32_t b = 0; b < count; b++) {
            const uint16_t *q = block + size_t(b) * NU;
            uint64_t diff = 0;
            if constexpr (Low) diff = (load64(q) & m1) ^ p1;
            if constexpr (High) diff |= (load32(q + 4) & m2) ^ p2;
            hits |= uint64_t(diff == 0) << b;
        }
        if (hits == ~uint64_t(0)) {
            for (uint32_t b = 0; b < 64; b++) addRecord<NU>(block + size_t(b) * NU, s0, s12, units);
            fits += 64;
            continue;
        }
        for (; hits; hits &= hits - 1, fits++)
            addRecord<NU>(block + size_t(std::countr_zero(hits)) * NU, s0, s12, units);
    }
    for (int j = 0; j < NU; j++) {
        out.f[3 * j] |= s0[j];
        out.f[3 * j + 1] |= uint32_t(s12[j] >> 32);
        out.f[3 * j + 2] |= uint32_t(s12[j]);
    }
    out.fits += fits;
    ScanRecordsVisited += n;
}

template <int NU>
void walkUnits(const uint16_t *r, uint32_t n, const uint16_t *p, const uint16_t *m, Seen &out) {
    uint64_t m1 = 0, p1 = 0, m2 = 0, p2 = 0;
    for (int j = 0; j < NU && j < 4; j++) {
        m1 |= uint64_t(m[j]) << (16 * j);
        p1 |= uint64_t(p[j]) << (16 * j);
    }
    for (int j = 4; j < NU; j++) {
        m2 |= uint64_t(m[j]) << (16 * (j - 4));
        p2 |= uint64_t(p[j]) << (16 * (j - 4));
    }
    if constexpr (NU > 4) {
        if (m1 && m2)
            walkRecords<NU, true, true>(r, n, m1, p1, m2, p2, out);
        else if (m2)
            walkRecords<NU, false, true>(r, n, m1, p1, m2, p2, out);
        else
            walkRecords<NU, true, false>(r, n, m1, p1, m2, p2, out);
    } else {
        walkRecords<NU, true, false>(r, n, m1, p1, m2, p2, out);
    }
}

void walk(int nu, const uint16_t *r, uint32_t n, const uint16_t *p, const uint16_t *m, Seen &out) {
    switch (nu) {
    case 1: walkUnits<1>(r, n, p, m, out); break;
    case 2: walkUnits<2>(r, n, p, m, out); break;
    case 3: walkUnits<3>(r, n, p, m, out); break;
    case 4: walkUnits<4>(r, n, p, m, out); break;
    case 5: walkUnits<5>(r, n, p, m, out); break;
    case 6: walkUnits<6>(r, n, p, m, out); break;
    default: break;
    }
}

// Unit and field of a position: letters are grouped in threes from the end of the word.
int unitOf(int length, int i) { return (psize[length] / 2) - 1 - (length - 1 - i) / 3; }
int fieldOf(int length, int i) { return 2 - (length - 1 - i) % 3; }
int shiftOf(int length, int i) { return 5 * ((length - 1 - i) % 3); }

// Writes the rows of the word from the accumulated letters.
void finish(Cww1Word &word, const Seen &seen) {
    int L = word.length;
    for (int i = 0; i < L && i < MaxWordLength; i++) {
        uint32_t bits = L <= MaxWordLength ? seen.f[unitOf(L, i) * 3 + fieldOf(L, i)] : 0;
        CELL &c = *word.cell[i];
        int n = 0;
        c.acr[0] = 0;
        for (int code = 1; code < 32; code++) {
            unsigned v = (bits >> code) & 1;
            c.acr[code] = v;
            n += v;
        }
        c.uniques[0] = c.uniques[1] = c.mtotalf = n;
    }
    word.totalfits = seen.fits;
}

bool refuseHugeList(int length) {
    if (length >= 10 && Lexicon.wlist[length].asize >= SectionedListLimit) {
        static char text[300];
        std::snprintf(text, sizeof text, "TRV: Internal error, wordsize=%d (huge list)\n", length);
        ErrorBox(text);
        return true;
    }
    return false;
}

// ---- Record index -----------------------------------------------------------------------
// Per loaded length: the records the plain walk would visit, and per position and code a
// bitmap of the records that hold that code there. A pattern's candidates are the AND of the
// bitmaps of its known letters, which are exactly the records that pass the masked compare.

struct ListIndex {
    bool built = false;
    int length = 0;
    int nu = 0;
    uint32_t n = 0;
    size_t words = 0;
    const uint16_t *recs = nullptr; // n records of nu units
    std::vector<uint16_t> copy;     // the records of a sectioned list, headers left out
    std::vector<uint16_t> hdr;      // per record, its section header (sectioned lists)
    bool testHeaders = false;       // some record disagrees with its section's signature
    std::vector<uint64_t> bits;
    std::vector<uint64_t> common; // the records that are common words; empty without C.Pnn
    int32_t off[MaxWordLength][32];
    Seen all; // the answer of a pattern without letters
};

ListIndex Index[MaxWordLength + 1];

unsigned recordSignature(int length, const uint16_t *r) {
    int groups = base[length], bpl = bitsPerLetter(groups);
    unsigned sig = 0;
    for (int i = 0; i < length; i++)
        sig = (sig << bpl) | groupOf(groups, (r[unitOf(length, i)] >> shiftOf(length, i)) & 31);
    return sig;
}

void dropIndex(int length) { Index[length] = ListIndex{}; }

// Builds the index of one loaded list into ix; may throw std::bad_alloc.
void buildIndex(int length, ListIndex &ix) {
    ix.length = length;
    ix.nu = psize[length] / 2;
    const WLIST &w = Lexicon.wlist[length];
    if (!w.top || w.nwords == 0) return;
    uint32_t nunits = w.asize / 2;
    Layout lay = layoutOf(length, w.asize);
    if (lay == Layout::Records) {
        ix.recs = w.top;
        ix.n = nunits / ix.nu;
    } else if (lay == Layout::Sections1 || lay == Layout::Sections2) {
        int hdrUnits = lay == Layout::Sections1 ? 1 : 2;
        unsigned sigBits = (1u << (bitsPerLetter(base[length]) * length)) - 1;
        forEachSection(w.top, nunits, hdrUnits, ix.nu, [&](unsigned hdr, const uint16_t *r, uint32_t count) {
            for (uint32_t k = 0; k < count; k++, r += ix.nu) {
                ix.copy.insert(ix.copy.end(), r, r + ix.nu);
                ix.hdr.push_back(uint16_t(hdr));
                if ((hdr & sigBits) != recordSignature(length, r)) ix.testHeaders = true;
            }
        });
        ix.copy.resize(ix.copy.size() + RecordPadUnits, 0);
        ix.recs = ix.copy.data();
        ix.n = uint32_t(ix.hdr.size());
    } else {
        return; // huge lists are refused before any scan
    }
    ix.words = (ix.n + 63) / 64;

    // The full answer, and which codes occur at each position.
    uint16_t zero[MaxUnits] = {};
    walk(ix.nu, ix.recs, ix.n, zero, zero, ix.all);
    ScanRecordsVisited -= ix.n;
    size_t blocks = 0;
    for (int i = 0; i < length; i++) {
        uint32_t present = ix.all.f[unitOf(length, i) * 3 + fieldOf(length, i)];
        for (int c = 0; c < 32; c++) ix.off[i][c] = (present >> c) & 1 ? int32_t(blocks++ * ix.words) : -1;
    }
    ix.bits.assign(blocks * ix.words, 0);
    for (int i = 0; i < length; i++) {
        int u = unitOf(length, i), sh = shiftOf(length, i);
        const uint16_t *r = ix.recs + u;
        for (uint32_t k = 0; k < ix.n; k++, r += ix.nu)
            ix.bits[ix.off[i][(*r >> sh) & 31] + k / 64] |= uint64_t(1) << (k % 64);
    }
}

// Marks the records of the index that the common-word list of the length (ZEDAVIV/C.Pnn, in
// the layout of the dictionary files) holds. Without that file no record is marked.
void markCommonWords(int length, ListIndex &ix) {
    char name[32];
    std::snprintf(name, sizeof name, "ZEDAVIV/C.P%02d", length);
    FILE *f = std::fopen(name, "rb");
    if (!f) return;
    std::vector<uint16_t> units;
    uint16_t buf[4096];
    size_t got;
    while ((got = std::fread(buf, 2, 4096, f)) > 0) units.insert(units.end(), buf, buf + got);
    std::fclose(f);
    const uint32_t nunits = uint32_t(std::min<size_t>(units.size(), MaxListRecords * size_t(ix.nu)));
    auto key = [&](const uint16_t *r) {
        return std::string(reinterpret_cast<const char *>(r), 2 * size_t(ix.nu));
    };
    std::unordered_set<std::string> words;
    const Layout lay = layoutOf(length, 2 * nunits);
    if (lay == Layout::Sections1 || lay == Layout::Sections2)
        forEachSection(units.data(), nunits, lay == Layout::Sections1 ? 1 : 2, ix.nu,
                       [&](unsigned, const uint16_t *r, uint32_t count) {
                           for (uint32_t k = 0; k < count; k++, r += ix.nu) words.insert(key(r));
                       });
    else
        for (uint32_t k = 0; k + ix.nu <= nunits; k += ix.nu) words.insert(key(units.data() + k));
    if (words.empty()) return;
    ix.common.assign(ix.words, 0);
    for (uint32_t k = 0; k < ix.n; k++)
        if (words.count(key(ix.recs + size_t(k) * ix.nu))) ix.common[k / 64] |= uint64_t(1) << (k % 64);
}

// The index of a length, built at its first use; null when there is no memory for it, and
// the caller then walks the list (the index is tried again at the next scan).
const ListIndex *indexFor(int length) {
    ListIndex &ix = Index[length];
    if (ix.built) return &ix;
    try {
        ListIndex fresh;
        buildIndex(length, fresh);
        if (fresh.n) markCommonWords(length, fresh);
        fresh.built = true;
        ix = std::move(fresh);
    } catch (const std::bad_alloc &) {
        ix = ListIndex{};
        return nullptr;
    }
    return &ix;
}

// The scan through the index; false (nothing done) when the index could not be built.
bool indexedScan(Cww1Word &word, unsigned SegPattern, unsigned SegMask) {
    int L = word.length;
    const ListIndex *index = indexFor(L);
    if (!index) return false;
    const ListIndex &ix = *index;
    Seen seen;
    const uint64_t *maps[MaxWordLength];
    int k = 0;
    for (int i = 0; i < L; i++) {
        char ch = word.cell[i]->letter;
        if (ch == Empty) continue;
        int32_t off = ix.n ? ix.off[i][ch & 31] : -1;
        if (off < 0) {
            finish(word, seen); // no record has this letter here
            return true;
        }
        maps[k++] = ix.bits.data() + off;
    }
    if (ix.n == 0) {
        finish(word, seen);
        return true;
    }
    const uint64_t *common = CommonWordsOnly && !ix.common.empty() ? ix.common.data() : nullptr;
    if (k == 0 && !common) {
        finish(word, ix.all);
        return true;
    }
    const int nu = ix.nu;
    for (size_t w = 0; w < ix.words; w++) {
        uint64_t x = common ? common[w] : ~uint64_t(0);
        for (int j = 0; j < k && x; j++) x &= maps[j][w];
        while (x) {
            uint32_t r = uint32_t(w * 64 + std::countr_zero(x));
            x &= x - 1;
            if (ix.testHeaders && (ix.hdr[r] & SegMask) != SegPattern) continue;
            seen.fits++;
            const uint16_t *rec = ix.recs + size_t(r) * nu;
            for (int j = 0; j < nu; j++) {
                unsigned v = rec[j];
                seen.f[3 * j] |= 1u << ((v >> 10) & 31);
                uint64_t low = lowFields.m[v & 1023];
                seen.f[3 * j + 1] |= uint32_t(low >> 32);
                seen.f[3 * j + 2] |= uint32_t(low);
            }
        }
    }
    finish(word, seen);
    return true;
}

} // namespace

// Defined after the index so that it is destroyed first: releasing a list drops its index.
lexicon Lexicon;

// ---- Word lists -----------------------------------------------------------------------

lexicon::~lexicon() {
    for (int n = 0; n <= MaxWordLength; n++) Release(n);
}

void lexicon::Release(int WordSize) {
    if (WordSize < 0 || WordSize > MaxWordLength) return;
    delete[] wlist[WordSize].top;
    wlist[WordSize] = WLIST{};
    dropIndex(WordSize);
}

void lexicon::ReadWordList(int WordSize) {
    if (WordSize < 1 || WordSize > MaxWordLength) return;
    Release(WordSize);
    WLIST &w = wlist[WordSize];
    const int ps = psize[WordSize];

    char nameE[32], nameD[32];
    std::snprintf(nameE, sizeof nameE, "ZEDAVIV/E.P%02d", WordSize);
    std::snprintf(nameD, sizeof nameD, "ZEDAVIV/D.P%02d", WordSize);
    const char *name = nameE;
    FILE *f = std::fopen(nameE, "rb");
    if (!f) {
        name = nameD;
        f = std::fopen(nameD, "rb");
    }
    if (!f) {
        static char text[300];
        std::snprintf(text, sizeof text, "Cannot open '%s' or '%s'", nameE, nameD);
        ErrorBox(text);
        return;
    }
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || st.st_size < 0) {
        static char text[300];
        std::snprintf(text, sizeof text, "Cannot obtain status of '%s'\n", name);
        ErrorBox(text);
        std::fclose(f);
        return;
    }
    uint64_t size = uint64_t(st.st_size);
    if (size / ps + 1 > MaxListRecords) {
        static char text[300];
        std::snprintf(text, sizeof text, "Enforcing ceiling of %ld words max.\n", long(size / ps + 1));
        ErrorBox(text);
    }
    // Room for the records that will be used; a trailing partial record is never a word.
    uint64_t want = std::min<uint64_t>(size / ps, MaxListRecords) * ps;
    uint16_t *buf = want ? new (std::nothrow) uint16_t[want / 2 + RecordPadUnits]() : nullptr;
    if (want && !buf) {
        ErrorBox("Ran out of memory while trying to access crossword puzzle dictionary. Please free up "
                 "some memory (close other applications, restart Windows, etc.) and try again.");
        static char text[300];
        std::snprintf(text, sizeof text, "%d-let (Failed) ", WordSize);
        ErrorBox(text);
        std::fclose(f);
        return;
    }
    size_t got = want ? std::fread(buf, 1, want, f) : 0;
    if (got < want && std::ferror(f)) {
        static char text[300];
        std::snprintf(text, sizeof text, "TRV: Error reading %s after %ld bytes\n", name, long(got));
        ErrorBox(text);
        delete[] buf;
        w.asize = uint32_t(got);
        std::fclose(f);
        return;
    }
    std::fclose(f);
    uint32_t records = uint32_t(got / ps);
    if (records == 0) {
        delete[] buf;
        return;
    }
    w.top = buf;
    w.nwords = records;
    w.asize = records * uint32_t(ps);
}

// ---- Scans ----------------------------------------------------------------------------

void SegFlexibility(int length, unsigned SegPattern, unsigned SegMask, const uint16_t *pattern,
                    const uint16_t *mask, Cww1Word &word) {
    Seen seen;
    const WLIST &w = Lexicon.wlist[length];
    if (length >= 1 && length <= 9 && w.top && w.nwords) {
        const int nu = psize[length] / 2;
        const uint32_t nunits = w.asize / 2;
        Layout lay = layoutOf(length, w.asize);
        if (lay == Layout::Records) {
            walk(nu, w.top, nunits / nu, pattern, mask, seen);
        } else {
            int hdrUnits = lay == Layout::Sections1 ? 1 : 2;
            forEachSection(w.top, nunits, hdrUnits, nu, [&](unsigned hdr, const uint16_t *r, uint32_t count) {
                if ((hdr & SegMask) == SegPattern) walk(nu, r, count, pattern, mask, seen);
            });
        }
    }
    finish(word, seen);
}

void flexibility(int length, const uint16_t *pattern, const uint16_t *mask, Cww1Word &word) {
    Seen seen;
    const WLIST &w = Lexicon.wlist[length];
    if (length >= 10 && length <= MaxWordLength && w.top && w.nwords && !refuseHugeList(length)) {
        const int nu = psize[length] / 2;
        walk(nu, w.top, (w.asize / 2) / nu, pattern, mask, seen);
    }
    finish(word, seen);
}

int ScanLexicon(Cww1Word &word) {
    const int L = word.length;
    if (L < 1 || L > MaxWordLength) {
        static char text[300];
        std::snprintf(text, sizeof text, "TRV: Internal error, wordsize=%d\n", L);
        ErrorBox(text);
        word.totalfits = 0;
        return 0;
    }
    if (psize[L] > MAXPS) {
        ErrorBox("TRV: A word slot is to large.");
        return 0;
    }
    // Section signature of the known letters.
    unsigned SegPattern = 0, SegMask = 0;
    if (L >= 2 && L <= 9) {
        int groups = base[L], bpl = bitsPerLetter(groups);
        for (int i = 0; i < L; i++) {
            SegPattern <<= bpl;
            SegMask <<= bpl;
            char ch = word.cell[i]->letter;
            if (ch != Empty) {
                SegPattern += groupOf(groups, ch & 31);
                SegMask += (1u << bpl) - 1;
            }
        }
    }
    // Record pattern and mask, unit by unit as the records are packed.
    uint16_t pattern[MaxUnits] = {}, mask[MaxUnits] = {};
    for (int i = 0, u = 0; i < L; i++) {
        pattern[u] = uint16_t(pattern[u] << 5);
        mask[u] = uint16_t(mask[u] << 5);
        char ch = word.cell[i]->letter;
        if (ch != Empty) {
            pattern[u] = uint16_t(pattern[u] + (ch & 31));
            mask[u] = uint16_t(mask[u] + 31);
        }
        if ((L - i - 1) % 3 == 0) u++;
    }
    if (Lexicon.wlist[L].nwords == 0) Lexicon.ReadWordList(L);
    const int loaded = Lexicon.wlist[L].nwords != 0;

    if (ScanUseIndex && L >= 10 && refuseHugeList(L)) {
        finish(word, Seen{});
    } else if (!ScanUseIndex || !indexedScan(word, SegPattern, SegMask)) {
        if (L < 10)
            SegFlexibility(L, SegPattern, SegMask, pattern, mask, word);
        else
            flexibility(L, pattern, mask, word);
    }
    return loaded;
}

void FlushFlexibilityCache() {
    delete FlexibilityCache;
    FlexibilityCache = nullptr;
    CacheNeedsInitialization = 1;
}

void SetCommonWordsOnly(bool on) {
    if (on == CommonWordsOnly) return;
    CommonWordsOnly = on;
    FlushFlexibilityCache(); // its answers came from the other word set
}

bool CommonWordsOnlySet() { return CommonWordsOnly; }

void recalc_flexibility(Cww1Word &word) {
    if (CacheNeedsInitialization) {
        // Without the cache every scan still works, only slower: the program goes on rather
        // than ending with the user's work unsaved.
        FlexibilityCache = new (std::nothrow) FlexCache(DefaultCacheSize);
        if (FlexibilityCache && !FlexibilityCache->Cache) {
            delete FlexibilityCache;
            FlexibilityCache = nullptr;
        }
        if (!FlexibilityCache) ErrorBox("Low on memory.  Can not allocate FC.");
        CacheNeedsInitialization = 0;
    }
    Hit = 0;
    if (FlexibilityCache && FlexibilityCache->GetFromCache(word)) {
        Hit = -1;
        return;
    }
    // An answer from a list that could not be loaded is not kept: the list is tried again
    // at the next use of the same pattern too.
    if (ScanLexicon(word) && FlexibilityCache) FlexibilityCache->WriteToCache(word);
    int open = 0;
    for (int i = 0; i < word.length && i < MaxWordLength; i++)
        if (word.cell[i]->letter == Empty) open++;
    word.relflex = open ? unsigned(word.totalfits / open) : 65535u;
}

// ---- Slot scanner ---------------------------------------------------------------------

scanner::scanner() {
    for (int i = 0; i < MaxWordLength; i++) {
        sWord.cell[i] = &sCell[i];
        sCell[i].acr = sCell[i].dwn = FlexCount[i];
    }
    sWord.dir = across;
}

FlexSet scanner::LetterSet(int position) const {
    FlexSet set = 0;
    if (position < 0 || position >= MaxWordLength) return set;
    for (int c = 1; c < 32; c++)
        if (FlexCount[position][c]) set |= 1u << (31 - c);
    return set;
}

int scanner::ComputeFlexibility(int SlotIndex) {
    if (!CELLS::Cell || !WSLOTS::Slot || SlotIndex < 0 || SlotIndex >= WSLOTS::NumberWords) return 1;
    const WSLOT &slot = WSLOTS::Slot[SlotIndex];
    const int L = slot.Length;
    if (L > MaxWordLength || L < 1) return 1;

    bool allFixed = true;
    for (int i = 0, x = slot.xFirstCell; i < L; i++, x += slot.next) {
        sCell[i].letter = CELLS::Cell[x].letter;
        if (!CELLS::Cell[x].IsFixed) allFixed = false;
    }
    sWord.length = L;
    if (allFixed) {
        for (int i = 0; i < L; i++) {
            for (int c = 1; c < 32; c++) FlexCount[i][c] = 0;
            FlexCount[i][sCell[i].letter & 31] = 1;
        }
    } else {
        recalc_flexibility(sWord);
    }

    // Theme words of this length that agree with the letters already in the slot.
    for (int k = 1; k <= ThmWds.CountBySize[L]; k++) {
        const char *tw = ThmWds.Word(L, k);
        bool fits = true;
        for (int i = 0; i < L && fits; i++) {
            if (!tw[i])
                fits = false;
            else if (sCell[i].letter != Empty && mytoupper(sCell[i].letter) != mytoupper(tw[i]))
                fits = false;
        }
        if (!fits) continue;
        for (int i = 0; i < L; i++) FlexCount[i][tw[i] & 31] += 1;
    }

    int IsStillOkay = 1;
    const bool isDown = slot.next != 1;
    for (int i = 0, x = slot.xFirstCell; i < L; i++, x += slot.next) {
        FlexSet set = LetterSet(i);
        FlexSet combo;
        if (!fsHorz || !fsVert || !fsCombo) {
            combo = set;
        } else if (isDown) {
            fsVert[x] = set;
            combo = fsCombo[x] = set & fsHorz[x];
        } else {
            fsHorz[x] = set;
            combo = fsCombo[x] = set & fsVert[x];
        }
        if (combo == 0) IsStillOkay = 0;
    }
    return IsStillOkay;
}

int scanner::IsInLexicon(const char *Word) {
    if (!Word) return 0;
    size_t n = std::strlen(Word);
    if (n == 0 || n > size_t(MaxWordLength)) return 0;
    for (size_t i = 0; i < n; i++) sCell[i].letter = Word[i];
    sWord.length = int(n);
    if (CommonWordsOnly) {
        // Spelling knows every word; this answer must not enter the common words' cache.
        CommonWordsOnly = false;
        ScanLexicon(sWord);
        CommonWordsOnly = true;
    } else {
        recalc_flexibility(sWord);
    }
    for (size_t i = 0; i < n; i++) {
        bool any = false;
        for (int c = 1; c < 32 && !any; c++) any = FlexCount[i][c] != 0;
        if (!any) return 0;
    }
    return 1;
}
