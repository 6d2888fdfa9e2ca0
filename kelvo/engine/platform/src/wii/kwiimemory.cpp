// The tracked allocator: every block of the program carries a 32-byte header that
// links it into the live list (newest first) and counts it towards its call site.
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>

#include <cstring>
#include <mutex>

namespace {

// Field order keeps the header at 32 bytes with 64-bit pointers, so payloads keep
// the heap's 32-byte alignment.
struct MemoryEntry {
    u32 size;
    u32 ordinal;
    TrackEntry* trackEntry;
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

void* Track(MemoryEntry* entry, const char* file, const char* function, u32 line, u32 size) {
    TrackEntry* site = FindEntry(file, function, line);
    site->size += static_cast<s32>(size);
    entry->size = size;
    entry->trackEntry = site;
    entry->ordinal = s_ordinal++;
    LinkAtHead(entry);
    return PayloadOf(entry);
}

void Untrack(MemoryEntry* entry) {
    memStats.actualSize -= static_cast<s32>(entry->size);
    entry->trackEntry->size -= static_cast<s32>(entry->size);
    Unlink(entry);
}

void GrowActualSize(u32 size) {
    memStats.actualSize += static_cast<s32>(size);
    if (memStats.actualSize > memStats.actualPeak) {
        memStats.actualPeak = memStats.actualSize;
    }
}

[[noreturn]] void ReportOutOfMemory(const char* file, const char* function, u32 line, u32 size,
                                    const char* failedIn, int failedLine) {
    kLogFmt("Out of memory: %s:%d %s %d bytes\n", file, static_cast<int>(line), function,
            static_cast<int>(size));
    kLogFmt("%dk allocated\n", memStats.actualSize / 1024);
    kLogFmt("%dk largest free\n", 0);
    kLogFmt("Allocation Map\n");
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
    std::lock_guard guard(s_lock);
    ++memStats.numAllocs;
    ++memStats.totalAllocs;
    if (memStats.numAllocs > memStats.peakAllocs) {
        memStats.peakAllocs = memStats.numAllocs;
    }
    GrowActualSize(size);
    void* block = size <= UINT32_MAX - kHeaderSize
                      ? MEMAllocFromAllocator(&MyDemoAllocator1, size + kHeaderSize)
                      : nullptr;
    if (block == nullptr) {
        ReportOutOfMemory(file, function, line, size, "kPlatform_DebugAlloc", __LINE__);
    }
    return Track(static_cast<MemoryEntry*>(block), file, function, line, size);
}

void* kPlatform_DebugRealloc(const char* file, const char* function, u32 line, u32, void* pointer,
                             u32 size) {
    EnsurePlatform();
    std::lock_guard guard(s_lock);
    ++memStats.totalReallocs;
    MemoryEntry* old = pointer != nullptr ? HeaderOf(pointer) : nullptr;
    if (old != nullptr && size == 0) {
        --memStats.numAllocs;
    } else if (old == nullptr && size != 0) {
        ++memStats.numAllocs;
    }
    if (old != nullptr) {
        Untrack(old);
    }
    if (old != nullptr && size == 0) {
        MEMFreeToAllocator(&MyDemoAllocator1, old);
        return nullptr;
    }
    void* block = size <= UINT32_MAX - kHeaderSize
                      ? MEMAllocFromAllocator(&MyDemoAllocator1, size + kHeaderSize)
                      : nullptr;
    if (block == nullptr) {
        ReportOutOfMemory(file, function, line, size, "kPlatform_DebugRealloc", __LINE__);
    }
    if (old != nullptr) {
        const u32 usable = MEMGetSizeForMBlockExpHeap(old);
        const u32 wanted = size + kHeaderSize;
        std::memcpy(block, old, wanted < usable ? wanted : usable);
        MEMFreeToAllocator(&MyDemoAllocator1, old);
    }
    GrowActualSize(size);
    return Track(static_cast<MemoryEntry*>(block), file, function, line, size);
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
    Untrack(entry);
    MEMFreeToAllocator(&MyDemoAllocator1, entry);
}

kMemStats kPlatform_GetMemStats() {
    std::lock_guard guard(s_lock);
    return memStats;
}
