// The tracked allocator: every block of the program carries a 32-byte header that
// links it into the live list and counts it towards its call site. Blocks freed lately
// wait in a small cache for the next allocation of their size, as the C library's
// per-thread caches keep them, so that most calls skip the heap's search and merging. A
// cached block stays in the live list, so that neither its release nor its reuse touches
// its neighbours there; the out-of-memory report empties the cache and sorts the list
// newest first. Any thread, under one lock; exhaustion prints the map and asserts.
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>

#if defined(__SANITIZE_ADDRESS__)
#define TRACKED_HEAP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRACKED_HEAP_SANITIZED 1
#endif
#endif
#ifndef TRACKED_HEAP_SANITIZED
#define TRACKED_HEAP_SANITIZED 0
#endif

namespace {

// Field order keeps the header at 32 bytes with 64-bit pointers, so payloads keep
// the heap's 32-byte alignment. A cached block's `size` is the bytes it surely holds
// (header included), and it names the next block of its cache class instead of a site.
struct MemoryEntry {
    u32 size;
    u32 ordinal;
    union {
        TrackEntry* trackEntry;
        MemoryEntry* nextCached;
    };
    MemoryEntry* ListNext;
    MemoryEntry** ListPrevLink;
};
static_assert(sizeof(MemoryEntry) == 32, "the block header must stay 32 bytes");

constexpr u32 kHeaderSize = sizeof(MemoryEntry);
constexpr int kTrackEntryCount = 4000;

constinit std::recursive_mutex s_lock;
MemoryEntry* s_memHead = nullptr;
u32 s_ordinal = 0;
kMemStats memStats{};
TrackEntry fileList[kTrackEntryCount];
int fileIndex = 0;

MemoryEntry* HeaderOf(const void* payload) {
    return reinterpret_cast<MemoryEntry*>(const_cast<u8*>(static_cast<const u8*>(payload)) -
                                          kHeaderSize);
}

void* PayloadOf(MemoryEntry* entry) {
    return reinterpret_cast<u8*>(entry) + kHeaderSize;
}

// Before the allocator's lock is taken: the platform's start-up disables interrupts, and
// the audio code allocates with interrupts disabled, so the interrupt lock always comes
// first.
void EnsurePlatform() {
    if (!kPlatform_IsInitialised()) {
        kPlatform_Init();
    }
}

void LinkAtHead(MemoryEntry* entry) {
    entry->ListNext = s_memHead;
    entry->ListPrevLink = &s_memHead;
    if (s_memHead != nullptr) {
        s_memHead->ListPrevLink = &entry->ListNext;
    }
    s_memHead = entry;
}

void Unlink(MemoryEntry* entry) {
    if (entry->ListNext != nullptr) {
        entry->ListNext->ListPrevLink = entry->ListPrevLink;
    }
    *entry->ListPrevLink = entry->ListNext;
}

// The cache of freed blocks: a list per class of block size (header included), 32-byte
// steps up to 1 KiB, then quarter octaves up to kCoarseLimit. A cached block keeps in `size`
// the bytes it surely holds (its request rounded up to the heap's 32-byte granule; the heap
// may have given more), so that caching it reads no heap header: any block of a 32-byte
// class holds every request of its class; a quarter octave's first block is taken when it
// holds the request, else the next quarter octave's, which holds any. Larger blocks go straight
// back to the heap, which merges them, lest cached ones fragment it. The lists hold at most
// kCacheBytes together, a full cache making room by sending blocks back to the heap, and all go
// back before the heap reports exhaustion. The sanitizer build caches nothing: its heap holds freed
// blocks back to catch late uses.
constexpr bool kCaches = TRACKED_HEAP_SANITIZED == 0;
constexpr u32 kCacheBytes = 512u << 10;
constexpr u32 kGranule = 32;
constexpr u32 kFineLimit = 1024;
constexpr u32 kFineOctave = 10; // 2 to the 10th is kFineLimit
constexpr u32 kCoarseLimit = 16384;
constexpr u32 kFineClasses = kFineLimit / kGranule;
constexpr u32 kCacheClasses = kFineClasses + 4 * (std::bit_width(kCoarseLimit / kFineLimit) - 1);

MemoryEntry* s_cached[kCacheClasses] = {};
u32 s_cachedBytes = 0;
u32 s_classBytes[kCacheClasses] = {};
// When each class was last asked for a block or given one, on a clock of such calls.
u32 s_classUse[kCacheClasses] = {};
u32 s_useClock = 0;

// The cache class of a block of `bytes`, or kCacheClasses when it is too large for one.
u32 CacheClassOf(u32 bytes) {
    if (bytes <= kFineLimit) {
        return bytes == 0 ? 0 : (bytes - 1) / kGranule;
    }
    if (bytes > kCoarseLimit) {
        return kCacheClasses;
    }
    const u32 octave = static_cast<u32>(std::bit_width(bytes - 1)) - 1;
    const u32 quarter = ((bytes - 1) >> (octave - 2)) & 3;
    return kFineClasses + 4 * (octave - kFineOctave) + quarter;
}

// The class's first block, taken out of the cache (the class holds one).
MemoryEntry* PopFirst(u32 sizeClass) {
    MemoryEntry* const entry = s_cached[sizeClass];
    s_cached[sizeClass] = entry->nextCached;
    s_cachedBytes -= entry->size;
    s_classBytes[sizeClass] -= entry->size;
    return entry;
}

// The class's first block when it holds `bytes`, taken out of the cache; else null.
MemoryEntry* TakeFirstOfClass(u32 sizeClass, u32 bytes) {
    const MemoryEntry* const entry = s_cached[sizeClass];
    s_classUse[sizeClass] = ++s_useClock;
    return entry != nullptr && entry->size >= bytes ? PopFirst(sizeClass) : nullptr;
}

// A block of at least `bytes` from the cache, or null: the first block of the request's own
// class, else, for a quarter octave, that of the next class, which always holds the request.
MemoryEntry* TakeCached(u32 bytes) {
    const u32 sizeClass = CacheClassOf(bytes);
    if (!kCaches || sizeClass == kCacheClasses) {
        return nullptr;
    }
    if (MemoryEntry* const entry = TakeFirstOfClass(sizeClass, bytes)) {
        return entry;
    }
    const bool bQuarterOctave = sizeClass >= kFineClasses && sizeClass + 1 < kCacheClasses;
    return bQuarterOctave ? TakeFirstOfClass(sizeClass + 1, bytes) : nullptr;
}

// A block leaves the live list for the heap.
void ReturnToHeap(MemoryEntry* entry) {
    Unlink(entry);
    MEMFreeToAllocator(&MyDemoAllocator1, entry);
}

// When the cache is full, a class gives up a block: the one whose bytes, weighed by the time
// since it was last used, are the most. Sizes no longer asked for leave, and many small blocks
// stay for the many small requests.
void EvictOne() {
    u32 victim = 0;
    u64 worst = 0;
    for (u32 sizeClass = 0; sizeClass < kCacheClasses; ++sizeClass) {
        const u64 score =
            static_cast<u64>(s_classBytes[sizeClass]) * (s_useClock - s_classUse[sizeClass] + 1);
        if (score > worst) {
            worst = score;
            victim = sizeClass;
        }
    }
    ReturnToHeap(PopFirst(victim));
}

// Keeps a freed block of `bytes` for later when it is small enough for a class, making room
// for it.
bool Cache(MemoryEntry* entry, u32 bytes) {
    const u32 sizeClass = CacheClassOf(bytes);
    if (!kCaches || sizeClass == kCacheClasses) {
        return false;
    }
    const u32 held = (bytes + kGranule - 1) & ~(kGranule - 1);
    while (s_cachedBytes + held > kCacheBytes) {
        EvictOne();
    }
    entry->size = held;
    entry->nextCached = s_cached[sizeClass];
    s_cached[sizeClass] = entry;
    s_classUse[sizeClass] = ++s_useClock;
    s_cachedBytes += held;
    s_classBytes[sizeClass] += held;
    return true;
}

// A freed block, still in the live list, waits in the cache, or leaves the list for the heap.
void Release(MemoryEntry* entry, u32 bytes) {
    if (!Cache(entry, bytes)) {
        ReturnToHeap(entry);
    }
}

void FlushCache() {
    for (MemoryEntry*& head : s_cached) {
        while (head != nullptr) {
            MemoryEntry* const entry = head;
            head = entry->nextCached;
            ReturnToHeap(entry);
        }
    }
    s_cachedBytes = 0;
    std::fill(std::begin(s_classBytes), std::end(s_classBytes), 0u);
}

// A block for an allocation, and whether it is in the live list already (a cached one).
struct Block {
    MemoryEntry* entry;
    bool bListed;
};

// A block of `bytes` (header included): a cached one, else the heap's, which gets the
// cache's blocks back when it runs out; null when even then it has none.
Block TakeBlock(u32 bytes) {
    if (MemoryEntry* const cached = TakeCached(bytes)) {
        return {cached, true};
    }
    void* block = MEMAllocFromAllocator(&MyDemoAllocator1, bytes);
    if (block == nullptr && s_cachedBytes != 0) {
        FlushCache();
        block = MEMAllocFromAllocator(&MyDemoAllocator1, bytes);
    }
    return {static_cast<MemoryEntry*>(block), false};
}

// A block for a payload of `size`, null when the heap has none.
Block TakeBlockFor(u32 size) {
    return size <= UINT32_MAX - kHeaderSize ? TakeBlock(size + kHeaderSize) : Block{nullptr, false};
}

// The call sites found lately, by the addresses of their names and their line: a site
// found again (the same strings, so the same site) skips the table's search.
struct RecentSite {
    const char* file;
    const char* function;
    u32 line;
    TrackEntry* entry;
};
constexpr u32 kRecentSites = 256;
RecentSite s_recentSites[kRecentSites] = {};

TrackEntry* SiteOf(const char* file, const char* function, u32 line) {
    const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(file) ^
                               (reinterpret_cast<std::uintptr_t>(function) >> 4) ^
                               (line * 0x9E3779B1u);
    RecentSite& recent = s_recentSites[(key ^ (key >> 8)) % kRecentSites];
    if (recent.entry == nullptr || recent.file != file || recent.function != function ||
        recent.line != line) {
        recent = {file, function, line, FindEntry(file, function, line)};
    }
    return recent.entry;
}

void* Track(Block block, const char* file, const char* function, u32 line, u32 size) {
    MemoryEntry* const entry = block.entry;
    TrackEntry* site = SiteOf(file, function, line);
    site->size += static_cast<s32>(size);
    entry->size = size;
    entry->trackEntry = site;
    entry->ordinal = s_ordinal++;
    if (!block.bListed) {
        LinkAtHead(entry);
    }
    return PayloadOf(entry);
}

// The block stays in the live list until Release.
void Untrack(MemoryEntry* entry) {
    memStats.actualSize -= static_cast<s32>(entry->size);
    entry->trackEntry->size -= static_cast<s32>(entry->size);
}

void GrowActualSize(u32 size) {
    memStats.actualSize += static_cast<s32>(size);
    if (memStats.actualSize > memStats.actualPeak) {
        memStats.actualPeak = memStats.actualSize;
    }
}

// Two lists, each newest first, merged into one.
MemoryEntry* MergeNewestFirst(MemoryEntry* a, MemoryEntry* b) {
    MemoryEntry* head = nullptr;
    MemoryEntry** tail = &head;
    while (a != nullptr && b != nullptr) {
        MemoryEntry*& newer = a->ordinal > b->ordinal ? a : b;
        *tail = newer;
        tail = &newer->ListNext;
        newer = newer->ListNext;
    }
    *tail = a != nullptr ? a : b;
    return head;
}

// Sorts a list newest first in place (merge sort, recursing log n deep).
MemoryEntry* SortNewestFirst(MemoryEntry* list) {
    if (list == nullptr || list->ListNext == nullptr) {
        return list;
    }
    MemoryEntry* middle = list;
    for (MemoryEntry* ahead = list->ListNext; ahead != nullptr && ahead->ListNext != nullptr;
         ahead = ahead->ListNext->ListNext) {
        middle = middle->ListNext;
    }
    MemoryEntry* const second = middle->ListNext;
    middle->ListNext = nullptr;
    return MergeNewestFirst(SortNewestFirst(list), SortNewestFirst(second));
}

// Reused cached blocks keep their first place in the live list: the report puts it in order.
void SortLiveListNewestFirst() {
    s_memHead = SortNewestFirst(s_memHead);
    MemoryEntry** link = &s_memHead;
    for (MemoryEntry* entry = s_memHead; entry != nullptr; entry = entry->ListNext) {
        entry->ListPrevLink = link;
        link = &entry->ListNext;
    }
}

// Called without the allocator's lock: it takes the log's lock first, as a log hook that
// allocates does, so that the report cannot deadlock with another thread's line. The cache is
// emptied (blocks freed meanwhile), so every block in the list is live.
[[noreturn]] void ReportOutOfMemory(const char* file, const char* function, u32 line, u32 size,
                                    const char* failedIn, int failedLine) {
    const Kelvo_lib::kLogManager::Hold logHeld(*kLog);
    std::lock_guard guard(s_lock);
    FlushCache();
    kLogFmt("Out of memory: %s:%d %s %d bytes\n", file, static_cast<int>(line), function,
            static_cast<int>(size));
    kLogFmt("%dk allocated\n", memStats.actualSize / 1024);
    kLogFmt("%dk largest free\n", 0);
    kLogFmt("Allocation Map\n");
    SortLiveListNewestFirst();
    for (MemoryEntry* entry = s_memHead; entry != nullptr; entry = entry->ListNext) {
        kLogFmt("%llu\n%d\n%s\n%d\n%s\n",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(entry)),
                static_cast<int>(entry->size), entry->trackEntry->fileName,
                static_cast<int>(entry->trackEntry->line), entry->trackEntry->function);
    }
    kPlatform_FailAssert(failedIn, __FILE__, failedLine, "0");
}

bool SameName(const char* a, const char* b) {
    return a == b || (a != nullptr && b != nullptr && strcasecmp(a, b) == 0);
}

} // namespace

TrackEntry* FindEntry(const char* fileName, const char* function, u32 line) {
    for (int i = 0; i < fileIndex; ++i) {
        TrackEntry& entry = fileList[i];
        if (entry.line == line && SameName(entry.fileName, fileName) &&
            SameName(entry.function, function)) {
            return &entry;
        }
    }
    if (fileIndex == kTrackEntryCount) {
        // The table is full: further sites share its last entry.
        return &fileList[kTrackEntryCount - 1];
    }
    TrackEntry& entry = fileList[fileIndex++];
    entry = {fileName, function, line, 0};
    return &entry;
}

void* kPlatform_DebugAlloc(const char* file, const char* function, u32 line, u32, u32 size) {
    EnsurePlatform();
    std::unique_lock guard(s_lock);
    ++memStats.numAllocs;
    ++memStats.totalAllocs;
    if (memStats.numAllocs > memStats.peakAllocs) {
        memStats.peakAllocs = memStats.numAllocs;
    }
    GrowActualSize(size);
    const Block block = TakeBlockFor(size);
    if (block.entry == nullptr) {
        guard.unlock();
        ReportOutOfMemory(file, function, line, size, "kPlatform_DebugAlloc", __LINE__);
    }
    return Track(block, file, function, line, size);
}

void* kPlatform_DebugRealloc(const char* file, const char* function, u32 line, u32, void* pointer,
                             u32 size) {
    EnsurePlatform();
    std::unique_lock guard(s_lock);
    ++memStats.totalReallocs;
    MemoryEntry* old = pointer != nullptr ? HeaderOf(pointer) : nullptr;
    if (old != nullptr && size == 0) {
        --memStats.numAllocs;
    } else if (old == nullptr && size != 0) {
        ++memStats.numAllocs;
    }
    const u32 oldSize = old != nullptr ? old->size : 0;
    if (old != nullptr) {
        Untrack(old);
    }
    if (old != nullptr && size == 0) {
        Release(old, oldSize + kHeaderSize);
        return nullptr;
    }
    const Block block = TakeBlockFor(size);
    if (block.entry == nullptr) {
        guard.unlock();
        ReportOutOfMemory(file, function, line, size, "kPlatform_DebugRealloc", __LINE__);
    }
    if (old != nullptr) {
        std::memcpy(PayloadOf(block.entry), PayloadOf(old), size < oldSize ? size : oldSize);
        Release(old, oldSize + kHeaderSize);
    }
    GrowActualSize(size);
    return Track(block, file, function, line, size);
}

void* kPlatform_ReleaseAlloc(u32 tag, u32 size) {
    return kPlatform_DebugAlloc("none", "none", 0, tag, size);
}

void* kPlatform_ReleaseRealloc(u32 tag, void* pointer, u32 size) {
    return kPlatform_DebugRealloc("none", "none", 0, tag, pointer, size);
}

void kPlatform_ReleaseFree(void* pointer) {
    std::lock_guard guard(s_lock);
    --memStats.numAllocs;
    ++memStats.totalFrees;
    if (pointer == nullptr) {
        return;
    }
    MemoryEntry* entry = HeaderOf(pointer);
    const u32 size = entry->size;
    Untrack(entry);
    Release(entry, size + kHeaderSize);
}

kMemStats kPlatform_GetMemStats() {
    std::lock_guard guard(s_lock);
    return memStats;
}
