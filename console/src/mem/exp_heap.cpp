// Expanded heap over caller-given memory. The heap record sits at the 32-byte
// aligned start of the region; behind it every block begins with a 32-byte
// header. Free blocks form a list in address order (first fit from the bottom,
// last fit from the top) and merge with free neighbours when a block comes back.
// In the sanitizer build everything but live payloads stays poisoned, and freed
// blocks queue in a quarantine (through their headers) before they are reused.
#include <console/mem.h>
#include <console/os.h>

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>

#if defined(__SANITIZE_ADDRESS__)
#define MEM_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MEM_SANITIZED 1
#endif
#endif
#ifndef MEM_SANITIZED
#define MEM_SANITIZED 0
#endif

namespace {

constexpr u32 kHeapMagic = 0x45585048;      // "EXPH"
constexpr u32 kUsedTag = 0x55534544;        // "USED"
constexpr u32 kFreeTag = 0x46524545;        // "FREE"
constexpr u32 kQuarantinedTag = 0x51524e54; // "QRNT"
constexpr u32 kGranule = 32;
constexpr u32 kMaxQuarantineBytes = 4u << 20;
constexpr u32 kQuarantineShareOfHeap = 8;
constexpr bool kSanitized = MEM_SANITIZED != 0;

// Front of every block; `size` counts the payload bytes behind it. Free blocks
// link to their free neighbours in address order through prev and next;
// quarantined blocks queue oldest first through next.
struct alignas(kGranule) BlockHeader {
    u32 tag;
    u32 size;
    u8* prev;
    u8* next;
};
static_assert(sizeof(BlockHeader) == kGranule, "headers keep payloads 32-byte aligned");
constexpr u32 kHeaderSize = sizeof(BlockHeader);
constexpr u32 kSmallestBlock = kHeaderSize + kGranule;

struct AlignmentRequest {
    u32 bytes;
    bool fromTop;
};

// Where an allocation goes: inside which free block, and where its header starts.
struct Placement {
    u8* freeBlock;
    u8* header;
};

std::uintptr_t addressOf(const void* at) {
    return reinterpret_cast<std::uintptr_t>(at);
}

constexpr std::uintptr_t roundUp(std::uintptr_t value, std::uintptr_t alignment) {
    return (value + alignment - 1) & ~(alignment - 1);
}

// Bytes from `at` up to the next multiple of `alignment` (a power of two).
std::uintptr_t paddingUp(const void* at, u32 alignment) {
    return roundUp(addressOf(at), alignment) - addressOf(at);
}

// Bytes from the previous multiple of `alignment` up to `at`.
std::uintptr_t paddingDown(const void* at, u32 alignment) {
    return addressOf(at) & (alignment - 1);
}

// Alignments of magnitude below a granule still give granule-aligned blocks.
std::optional<AlignmentRequest> parseAlignment(int alignment) {
    const u32 magnitude =
        alignment < 0 ? 0u - static_cast<u32>(alignment) : static_cast<u32>(alignment);
    if (magnitude < 4 || !std::has_single_bit(magnitude)) {
        return std::nullopt;
    }
    return AlignmentRequest{std::max(magnitude, kGranule), alignment < 0};
}

void poison(const void* at, std::size_t bytes) {
    ASAN_POISON_MEMORY_REGION(at, bytes);
}

void unpoison(const void* at, std::size_t bytes) {
    ASAN_UNPOISON_MEMORY_REGION(at, bytes);
}

// Headers are always poisoned in the sanitizer build; an addressable "header"
// lies inside a live payload, so the pointer it was derived from is no block.
bool mayBeHeader(const u8* at) {
#if MEM_SANITIZED
    for (u32 offset = 0; offset < kHeaderSize; offset += 8) {
        if (!__asan_address_is_poisoned(at + offset)) {
            return false;
        }
    }
#else
    (void)at;
#endif
    return true;
}

// Headers are read and written as copies, exposed only for the copy itself.
BlockHeader loadHeader(const u8* at) {
    BlockHeader header;
    unpoison(at, kHeaderSize);
    std::memcpy(&header, at, kHeaderSize);
    poison(at, kHeaderSize);
    return header;
}

void storeHeader(u8* at, const BlockHeader& header) {
    unpoison(at, kHeaderSize);
    std::memcpy(at, &header, kHeaderSize);
    poison(at, kHeaderSize);
}

void storeNext(u8* block, u8* next) {
    BlockHeader header = loadHeader(block);
    header.next = next;
    storeHeader(block, header);
}

void storePrev(u8* block, u8* prev) {
    BlockHeader header = loadHeader(block);
    header.prev = prev;
    storeHeader(block, header);
}

u8* blockEnd(u8* block) {
    return block + kHeaderSize + loadHeader(block).size;
}

u32 payloadBetween(const u8* header, const u8* end) {
    return static_cast<u32>(end - header - kHeaderSize);
}

// The header of a live block behind `payload`, or nothing when it is none.
std::optional<BlockHeader> usedHeaderOf(const u8* payload) {
    if (payload == nullptr || paddingDown(payload, kGranule) != 0 ||
        !mayBeHeader(payload - kHeaderSize)) {
        return std::nullopt;
    }
    const BlockHeader header = loadHeader(payload - kHeaderSize);
    if (header.tag != kUsedTag) {
        return std::nullopt;
    }
    return header;
}

} // namespace

struct MEMiExpHeap {
    MEMiExpHeap(u8* region, u32 regionSize, u8* areaStart, u8* areaEnd, u16 options)
        : m_options(options), m_region(region), m_regionSize(regionSize), m_areaStart(areaStart),
          m_areaEnd(areaEnd),
          m_quarantineBudget(
              kSanitized ? std::min(kMaxQuarantineBytes, areaBytes() / kQuarantineShareOfHeap)
                         : 0) {
        linkFree(areaStart, payloadBetween(areaStart, areaEnd), nullptr, nullptr);
    }

    bool isValid() const { return m_magic == kHeapMagic; }
    u8* region() const { return m_region; }
    u32 regionSize() const { return m_regionSize; }

    void* allocate(u32 size, AlignmentRequest alignment) {
        const std::uintptr_t payloadSize = roundUp(std::max(size, 1u), kGranule);
        if (payloadSize > areaBytes()) {
            return nullptr;
        }
        const std::lock_guard guard(m_lock);
        std::optional<Placement> placement = find(static_cast<u32>(payloadSize), alignment);
        if (!placement && releaseQuarantine()) {
            placement = find(static_cast<u32>(payloadSize), alignment);
        }
        if (!placement) {
            return nullptr;
        }
        carve(*placement, static_cast<u32>(payloadSize));
        u8* const payload = placement->header + kHeaderSize;
        unpoison(payload, payloadSize);
        if ((m_options & MEM_HEAP_OPT_0_CLEAR) != 0) {
            std::memset(payload, 0, payloadSize);
        }
        return payload;
    }

    // False when `payload` is not a live block of this heap.
    bool release(u8* payload) {
        if (!isInArea(payload)) {
            return false;
        }
        const std::lock_guard guard(m_lock);
        const std::optional<BlockHeader> header = usedHeaderOf(payload);
        if (!header) {
            return false;
        }
        poison(payload, header->size);
        quarantine(payload - kHeaderSize, header->size);
        return true;
    }

    u32 totalFreeSize() {
        const std::lock_guard guard(m_lock);
        u32 total = 0;
        for (u8* block = m_freeHead; block != nullptr;) {
            const BlockHeader header = loadHeader(block);
            total += header.size;
            block = header.next;
        }
        return total;
    }

    u32 allocatableSize(u32 alignment) {
        const std::lock_guard guard(m_lock);
        u32 largest = 0;
        for (u8* block = m_freeHead; block != nullptr;) {
            const BlockHeader header = loadHeader(block);
            const std::uintptr_t padding = paddingUp(block + kHeaderSize, alignment);
            if (padding < header.size) {
                largest = std::max(largest, static_cast<u32>(header.size - padding));
            }
            block = header.next;
        }
        return largest;
    }

    void flushQuarantine() {
        const std::lock_guard guard(m_lock);
        releaseQuarantine();
    }

private:
    u32 areaBytes() const { return static_cast<u32>(m_areaEnd - m_areaStart); }

    bool isInArea(const u8* payload) const {
        const std::uintptr_t at = addressOf(payload);
        return at >= addressOf(m_areaStart) + kHeaderSize && at < addressOf(m_areaEnd);
    }

    std::optional<Placement> find(u32 payloadSize, AlignmentRequest alignment) const {
        return alignment.fromTop ? findFromTop(payloadSize, alignment.bytes)
                                 : findFromBottom(payloadSize, alignment.bytes);
    }

    // The lowest free block that fits, payload at its lowest aligned address.
    std::optional<Placement> findFromBottom(u32 payloadSize, u32 alignment) const {
        for (u8* block = m_freeHead; block != nullptr;) {
            const BlockHeader header = loadHeader(block);
            const std::uintptr_t padding = paddingUp(block + kHeaderSize, alignment);
            if (padding + payloadSize <= header.size) {
                return Placement{block, block + padding};
            }
            block = header.next;
        }
        return std::nullopt;
    }

    // The highest free block that fits, payload at its highest aligned address.
    std::optional<Placement> findFromTop(u32 payloadSize, u32 alignment) const {
        for (u8* block = m_freeTail; block != nullptr;) {
            const BlockHeader header = loadHeader(block);
            if (payloadSize <= header.size) {
                u8* const end = block + kHeaderSize + header.size;
                const std::uintptr_t taken =
                    payloadSize + paddingDown(end - payloadSize, alignment);
                if (taken <= header.size) {
                    return Placement{block, end - taken - kHeaderSize};
                }
            }
            block = header.prev;
        }
        return std::nullopt;
    }

    // Turns the placed block into a used one; the space before and after it in
    // the free block stays free as blocks of their own.
    void carve(const Placement& placement, u32 payloadSize) {
        const BlockHeader free = loadHeader(placement.freeBlock);
        u8* const freeEnd = placement.freeBlock + kHeaderSize + free.size;
        u8* const usedEnd = placement.header + kHeaderSize + payloadSize;
        u8* prev = free.prev;
        unlinkFree(free);
        if (placement.header > placement.freeBlock) {
            linkFree(placement.freeBlock, payloadBetween(placement.freeBlock, placement.header),
                     prev, free.next);
            prev = placement.freeBlock;
        }
        if (usedEnd < freeEnd) {
            linkFree(usedEnd, payloadBetween(usedEnd, freeEnd), prev, free.next);
        }
        storeHeader(placement.header, BlockHeader{kUsedTag, payloadSize, nullptr, nullptr});
    }

    // Gives a block back to the free list, merged with its free neighbours. A
    // header swallowed by the block below is wiped, so a stale pointer to it is
    // refused.
    void mergeIntoFreeList(u8* block, u32 size) {
        u8* prev = nullptr;
        u8* next = m_freeHead;
        while (next != nullptr && next < block) {
            prev = next;
            next = loadHeader(next).next;
        }
        u8* start = block;
        u8* end = block + kHeaderSize + size;
        if (prev != nullptr && blockEnd(prev) == block) {
            storeHeader(block, BlockHeader{});
            start = prev;
            prev = loadHeader(prev).prev;
        }
        if (next == end) {
            const BlockHeader following = loadHeader(next);
            end = next + kHeaderSize + following.size;
            next = following.next;
        }
        linkFree(start, payloadBetween(start, end), prev, next);
    }

    // A freed block waits here, poisoned, until newer ones push it out; blocks
    // larger than the whole quarantine (and every block outside the sanitizer
    // build, where the budget is 0) go back at once.
    void quarantine(u8* block, u32 size) {
        const u32 bytes = kHeaderSize + size;
        if (bytes > m_quarantineBudget) {
            mergeIntoFreeList(block, size);
            return;
        }
        while (m_quarantineBytes + bytes > m_quarantineBudget) {
            releaseOldestQuarantined();
        }
        storeHeader(block, BlockHeader{kQuarantinedTag, size, nullptr, nullptr});
        if (m_quarantineTail != nullptr) {
            storeNext(m_quarantineTail, block);
        } else {
            m_quarantineHead = block;
        }
        m_quarantineTail = block;
        m_quarantineBytes += bytes;
    }

    void releaseOldestQuarantined() {
        u8* const oldest = m_quarantineHead;
        const BlockHeader header = loadHeader(oldest);
        m_quarantineHead = header.next;
        if (m_quarantineHead == nullptr) {
            m_quarantineTail = nullptr;
        }
        m_quarantineBytes -= kHeaderSize + header.size;
        mergeIntoFreeList(oldest, header.size);
    }

    // Returns whether any block was released.
    bool releaseQuarantine() {
        const bool releasedAny = m_quarantineHead != nullptr;
        while (m_quarantineHead != nullptr) {
            releaseOldestQuarantined();
        }
        return releasedAny;
    }

    void linkFree(u8* block, u32 size, u8* prev, u8* next) {
        storeHeader(block, BlockHeader{kFreeTag, size, prev, next});
        setNextFree(prev, block);
        setPrevFree(next, block);
    }

    void unlinkFree(const BlockHeader& header) {
        setNextFree(header.prev, header.next);
        setPrevFree(header.next, header.prev);
    }

    // A null block stands for the list's ends.
    void setNextFree(u8* block, u8* next) {
        if (block != nullptr) {
            storeNext(block, next);
        } else {
            m_freeHead = next;
        }
    }

    void setPrevFree(u8* block, u8* prev) {
        if (block != nullptr) {
            storePrev(block, prev);
        } else {
            m_freeTail = prev;
        }
    }

    const u32 m_magic = kHeapMagic;
    const u16 m_options;
    std::mutex m_lock;
    u8* const m_region;
    const u32 m_regionSize;
    u8* const m_areaStart;
    u8* const m_areaEnd;
    u8* m_freeHead = nullptr;
    u8* m_freeTail = nullptr;
    u8* m_quarantineHead = nullptr;
    u8* m_quarantineTail = nullptr;
    u32 m_quarantineBytes = 0;
    const u32 m_quarantineBudget;
};

namespace {

constexpr std::uintptr_t kRecordBytes = roundUp(sizeof(MEMiExpHeap), kGranule);
static_assert(alignof(MEMiExpHeap) <= kGranule);

bool checkHeap(MEMHeapHandle heap, const char* caller) {
    if (heap != nullptr && heap->isValid()) {
        return true;
    }
    OSReport("%s: invalid heap %p\n", caller, static_cast<void*>(heap));
    return false;
}

} // namespace

MEMHeapHandle MEMCreateExpHeapEx(void* start, u32 size, u16 options) {
    u8* const region = static_cast<u8*>(start);
    const std::uintptr_t first = roundUp(addressOf(region), kGranule);
    const std::uintptr_t last = (addressOf(region) + size) & ~std::uintptr_t{kGranule - 1};
    if (region == nullptr || last < first + kRecordBytes + kSmallestBlock) {
        OSReport("%s: %u bytes at %p cannot hold a heap\n", __func__, size, start);
        return nullptr;
    }
    u8* const record = region + (first - addressOf(region));
    u8* const areaStart = record + kRecordBytes;
    u8* const areaEnd = region + (last - addressOf(region));
    unpoison(region, size);
    poison(areaStart, static_cast<std::size_t>(areaEnd - areaStart));
    return new (record) MEMiExpHeap(region, size, areaStart, areaEnd, options);
}

void* MEMDestroyExpHeap(MEMHeapHandle heap) {
    if (!checkHeap(heap, __func__)) {
        return nullptr;
    }
    u8* const region = heap->region();
    const u32 size = heap->regionSize();
    heap->~MEMiExpHeap();
    unpoison(region, size);
    // A stale handle then fails the magic check.
    std::memset(static_cast<void*>(heap), 0, sizeof(MEMiExpHeap));
    return region;
}

void* MEMAllocFromExpHeapEx(MEMHeapHandle heap, u32 size, int alignment) {
    if (!checkHeap(heap, __func__)) {
        return nullptr;
    }
    const std::optional<AlignmentRequest> request = parseAlignment(alignment);
    if (!request) {
        OSReport("%s: invalid alignment %d\n", __func__, alignment);
        return nullptr;
    }
    return heap->allocate(size, *request);
}

void MEMFreeToExpHeap(MEMHeapHandle heap, void* block) {
    if (checkHeap(heap, __func__) && !heap->release(static_cast<u8*>(block))) {
        OSReport("%s: %p is not a live block of heap %p\n", __func__, block,
                 static_cast<void*>(heap));
    }
}

u32 MEMGetTotalFreeSizeForExpHeap(MEMHeapHandle heap) {
    return checkHeap(heap, __func__) ? heap->totalFreeSize() : 0;
}

u32 MEMGetAllocatableSizeForExpHeapEx(MEMHeapHandle heap, int alignment) {
    if (!checkHeap(heap, __func__)) {
        return 0;
    }
    const std::optional<AlignmentRequest> request = parseAlignment(alignment);
    if (!request) {
        OSReport("%s: invalid alignment %d\n", __func__, alignment);
        return 0;
    }
    return heap->allocatableSize(request->bytes);
}

void MEMFlushQuarantineForExpHeap(MEMHeapHandle heap) {
    if (checkHeap(heap, __func__)) {
        heap->flushQuarantine();
    }
}

u32 MEMGetSizeForMBlockExpHeap(const void* block) {
    const std::optional<BlockHeader> header = usedHeaderOf(static_cast<const u8*>(block));
    if (!header) {
        OSReport("%s: %p is not a live heap block\n", __func__, block);
        return 0;
    }
    return header->size;
}
