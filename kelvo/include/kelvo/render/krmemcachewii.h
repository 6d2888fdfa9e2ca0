// Video-memory cache slots: each texture holds one krCacheIdWII, and a slot that a
// cache took is given back with krMemCacheWII::Free. Nothing fills a cache here, so a
// slot normally belongs to none. Main thread only; freeing a slot of another cache, or
// one not loaded, is a programming error and asserts.
#pragma once

#include <console/types.h>

#include <cstdint>

namespace Kelvo_lib {

class krMemCacheWII;

struct krCacheIdWII {
    u32 size;
    u32 align;
    bool loaded;
    std::uintptr_t address;
    u32 pool;
    krMemCacheWII* cache;
    u32 cost;
    u32 time;
    u32 drawcall;
    krCacheIdWII* next;
    krCacheIdWII* prev;
    char* vramptr;
    u32 lastusagecount;
    u32 usagecount;
    u32 frameid;
};

class krMemCacheWII {
public:
    // Unloads the slot and unlinks it from its neighbours; no memory changes hands.
    void Free(krCacheIdWII* item);

    krCacheIdWII* head;
    u32 time;
    u32 numPools;
    u32 poolSize;
    u32 totalSize;
    u32 bandwidthIn;
    u32 drawcall;
    char name[32];
};

} // namespace Kelvo_lib
