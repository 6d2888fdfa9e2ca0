// The tracked allocator behind every new, container and string. Blocks come from
// the first arena's heap with a 32-byte header (payloads stay 32-byte aligned),
// are linked newest first and counted per call site. It never returns null for a
// non-zero size: exhaustion prints the allocation map and asserts. Thread-safe.
#pragma once

#include <console/types.h>

// Allocation tags: callers say what a block is for; the allocator keeps no use of it.
enum : u32 {
    K_MEM_TAG_GENERAL = 0,
    K_MEM_TAG_OBJECT = 1,
    K_MEM_TAG_SOUND = 2,
    K_MEM_TAG_IMAGE = 6,
    K_MEM_TAG_ZLIB = 8,
    K_MEM_TAG_CLASS = 13,
    K_MEM_TAG_RENDER = 16,
};

struct kMemStats {
    s32 actualSize;
    s32 actualPeak;
    s32 numAllocs;
    s32 peakAllocs;
    s32 totalAllocs;
    s32 totalReallocs;
    s32 totalFrees;
};

struct TrackEntry {
    const char* fileName;
    const char* function;
    u32 line;
    s32 size;
};

void* kPlatform_DebugAlloc(const char* file, const char* function, u32 line, u32 tag, u32 size);
void* kPlatform_DebugRealloc(const char* file, const char* function, u32 line, u32 tag,
                             void* pointer, u32 size);
void* kPlatform_ReleaseAlloc(u32 tag, u32 size);
void* kPlatform_ReleaseRealloc(u32 tag, void* pointer, u32 size);
void kPlatform_ReleaseFree(void* pointer);

// A snapshot of the counters.
kMemStats kPlatform_GetMemStats();
// The call-site total for a site, created when absent (shared last entry when full).
TrackEntry* FindEntry(const char* fileName, const char* function, u32 line);
