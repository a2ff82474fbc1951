// trv_cach.cpp - the flexibility cache: 256 hash chains over a fixed pool of entries, with a
// recency list from which the least recently used entry is taken once the pool is full.
#include "trv_cach.h"

#include <cstring>
#include <new>

#include "trv_grid.h"

FlexCache::FlexCache(int size) {
    for (int &t : HashTops) t = -1;
    if (size > 0) Cache = new (std::nothrow) CacheEntry[size];
    CacheSize = Cache ? size : 0;
}

FlexCache::~FlexCache() { delete[] Cache; }

int FlexCache::HashCacheKey(const char *key) {
    uint32_t h = 0;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(key); *p; p++) h = (h * 2) ^ *p;
    return int(((h >> 8) ^ h) & HashKeyMask);
}

// The key of a word: its cell characters, Empty as the character 2.
static bool makeKey(const Cww1Word &word, char key[MaxCacheWS + 1]) {
    if (word.length < MinCacheWS || word.length > MaxCacheWS) return false;
    for (int i = 0; i < word.length; i++) key[i] = word.cell[i]->letter;
    key[word.length] = 0;
    return true;
}

void FlexCache::unlinkHash(int e) {
    CacheEntry &c = Cache[e];
    if (c.P_Hash != -1)
        Cache[c.P_Hash].Hash_N = c.Hash_N;
    else
        HashTops[HashCacheKey(c.entry)] = c.Hash_N;
    if (c.Hash_N != -1) Cache[c.Hash_N].P_Hash = c.P_Hash;
    c.P_Hash = c.Hash_N = -1;
}

void FlexCache::unlinkLRU(int e) {
    CacheEntry &c = Cache[e];
    if (c.P_LRU != -1)
        Cache[c.P_LRU].LRU_N = c.LRU_N;
    else
        LRUtop = c.LRU_N;
    if (c.LRU_N != -1)
        Cache[c.LRU_N].P_LRU = c.P_LRU;
    else
        LRUend = c.P_LRU;
    c.P_LRU = c.LRU_N = -1;
}

void FlexCache::pushFront(int e) {
    CacheEntry &c = Cache[e];
    c.P_LRU = -1;
    c.LRU_N = LRUtop;
    if (LRUtop != -1) Cache[LRUtop].P_LRU = e;
    LRUtop = e;
    if (LRUend == -1) LRUend = e;
}

int FlexCache::GetFromCache(Cww1Word &word) {
    char key[MaxCacheWS + 1];
    if (!Cache || !makeKey(word, key)) return 0;
    for (int e = HashTops[HashCacheKey(key)]; e != -1; e = Cache[e].Hash_N) {
        CacheEntry &c = Cache[e];
        if (std::strcmp(c.entry, key) != 0) continue;
        int open = 0;
        for (int i = 0; i < word.length; i++) {
            CELL &cl = *word.cell[i];
            unsigned long bits = c.bitwise[i];
            int n = 0;
            cl.acr[0] = 0;
            for (int code = 1; code < 32; code++) {
                unsigned v = code <= 26 ? unsigned((bits >> (26 - code)) & 1) : 0u;
                cl.acr[code] = v;
                n += v;
            }
            cl.uniques[0] = cl.uniques[1] = cl.mtotalf = n;
            if (cl.letter == Empty) open++;
        }
        word.totalfits = c.tfits;
        word.relflex = open ? unsigned(word.totalfits / open) : 65535u;
        if (LRUtop != e) {
            unlinkLRU(e);
            pushFront(e);
        }
        return 1;
    }
    return 0;
}

void FlexCache::WriteToCache(Cww1Word &word) {
    char key[MaxCacheWS + 1];
    if (!Cache || CacheSize <= 0 || !makeKey(word, key)) return;
    int e;
    if (CacheInUse < CacheSize) {
        e = CacheInUse++;
    } else {
        e = LRUend;
        unlinkHash(e);
        unlinkLRU(e);
    }
    CacheEntry &c = Cache[e];
    std::memcpy(c.entry, key, sizeof key);
    for (int i = 0; i < MaxCacheWS; i++) {
        unsigned long bits = 0;
        if (i < word.length)
            for (int code = 1; code <= 26; code++)
                if (word.cell[i]->acr[code]) bits |= 1ul << (26 - code);
        c.bitwise[i] = bits;
    }
    c.tfits = word.totalfits;
    int chain = HashCacheKey(key);
    c.P_Hash = -1;
    c.Hash_N = HashTops[chain];
    if (c.Hash_N != -1) Cache[c.Hash_N].P_Hash = e;
    HashTops[chain] = e;
    pushFront(e);
}
