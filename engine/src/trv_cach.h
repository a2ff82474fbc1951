// trv_cach.h - the flexibility cache: letter sets of recently scanned short patterns, looked up
// by the slot's cell characters through 256 hash chains, replaced least recently used first.
#ifndef TRV_CACH_H
#define TRV_CACH_H

#include "trv_scan.h"

constexpr int HashBreadth = 256;
constexpr int HashKeyMask = 255;
constexpr int MinCacheWS = 3;
constexpr int MaxCacheWS = 9;
constexpr int DefaultCacheSize = 800;

#pragma pack(push, 1)
struct CacheEntry {
    char entry[MaxCacheWS + 1]; // the key, NUL-terminated
    int P_Hash;                 // previous and next entry in the hash chain
    int Hash_N;
    int P_LRU; // neighbour toward the most and the least recently used end
    int LRU_N;
    long tfits;
    unsigned long bitwise[MaxCacheWS]; // per position: "A" bit 25 ... "Z" bit 0
};
#pragma pack(pop)

class FlexCache {
  public:
    int HashTops[HashBreadth];
    int LRUtop = -1;
    int LRUend = -1;
    CacheEntry *Cache = nullptr;
    int CacheInUse = 0;
    int CacheSize = 0;

    explicit FlexCache(int size = DefaultCacheSize);
    ~FlexCache();
    FlexCache(const FlexCache &) = delete;
    FlexCache &operator=(const FlexCache &) = delete;

    // 1 on a hit: the word's rows, totalfits and relflex are filled; else 0.
    int GetFromCache(Cww1Word &word);
    // Stores the word's rows and totalfits (after a miss).
    void WriteToCache(Cww1Word &word);
    // The chain of a key.
    static int HashCacheKey(const char *key);

  private:
    void unlinkHash(int e);
    void unlinkLRU(int e);
    void pushFront(int e);
};

#endif
