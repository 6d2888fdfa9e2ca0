// Expanded heap over caller-given memory. The heap record sits at the 32-byte
// aligned start of the region; behind it the area is tiled by blocks, each a
// 32-byte header and its payload. Free blocks never touch (a freed block merges
// with its free neighbours) and sit in address-ordered lists by power-of-two size
// class, with a bitmap of the classes that hold any. Allocation is good fit: the
// classes are searched upward from the request's own and the first block that
// fits is taken, so the lowest fitting block of the smallest class that has one.
// Only the request's own class may hold blocks too small for it, so with the
// default alignment that search is short; a negative alignment scans the lists
// for the highest free block that fits. Each header also keeps the distance back
// to the free block just below it, so a freed block finds both neighbours at once.
// In the sanitizer build everything but live payloads stays poisoned, headers
// are reached only through unchecked accessors, and freed blocks queue in a
// quarantine (through their headers) before they are reused.
#include <console/mem.h>
#include <console/os.h>

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <type_traits>

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
// Class 0 holds empty payloads (header-only gaps that alignment leaves), class c
// payloads of [32 << (c - 1), 32 << c) bytes, the last one everything from 8 MiB
// up: an area holds few blocks that large, so scanning them stays short.
constexpr u32 kSizeClassCount = 20;

// Front of every block; `size` counts the payload bytes behind it. Free blocks
// link to the others of their size class through prev and next; quarantined
// blocks queue oldest first through next. `freeBelow` is the distance back to
// the header of the free block just below, 0 when there is none.
struct alignas(kGranule) BlockHeader {
    u32 tag;
    u32 size;
    u8* prev;
    u8* next;
    u32 freeBelow;
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

u32 sizeClassOf(u32 size) {
    return std::min(static_cast<u32>(std::bit_width(size / kGranule)), kSizeClassCount - 1);
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

// Headers are reached only through these accessors, which the address sanitizer
// leaves unchecked: headers stay poisoned for good, and no thread unpoisons one
// under another's feet. A live block's tag and size change only through its own
// allocation and release; its neighbours' changes write its freeBelow field
// alone, so the unlocked size query (tag and size) never races with them.
[[gnu::no_sanitize_address]] BlockHeader loadHeader(const u8* at) {
    return *reinterpret_cast<const BlockHeader*>(at);
}

[[gnu::no_sanitize_address]] void storeHeader(u8* at, const BlockHeader& header) {
    *reinterpret_cast<BlockHeader*>(at) = header;
}

template <typename Field>
[[gnu::no_sanitize_address]] Field loadField(const u8* at, Field BlockHeader::*field) {
    return reinterpret_cast<const BlockHeader*>(at)->*field;
}

template <typename Field>
[[gnu::no_sanitize_address]] void storeField(u8* at, Field BlockHeader::*field,
                                             std::type_identity_t<Field> value) {
    reinterpret_cast<BlockHeader*>(at)->*field = value;
}

u32 payloadBetween(const u8* header, const u8* end) {
    return static_cast<u32>(end - header - kHeaderSize);
}

// The payload size of the live block behind `payload`, or nothing when it is none.
std::optional<u32> usedSizeOf(const u8* payload) {
    if (payload == nullptr || paddingDown(payload, kGranule) != 0 ||
        !mayBeHeader(payload - kHeaderSize)) {
        return std::nullopt;
    }
    const u8* const header = payload - kHeaderSize;
    if (loadField(header, &BlockHeader::tag) != kUsedTag) {
        return std::nullopt;
    }
    return loadField(header, &BlockHeader::size);
}

// The header of a payload at the highest `alignment` multiple in the free block
// that still fits, or nothing when none does.
std::optional<u8*> topPlacementIn(u8* block, const BlockHeader& header, u32 payloadSize,
                                  u32 alignment) {
    if (payloadSize > header.size) {
        return std::nullopt;
    }
    u8* const end = block + kHeaderSize + header.size;
    const std::uintptr_t taken = payloadSize + paddingDown(end - payloadSize, alignment);
    if (taken > header.size) {
        return std::nullopt;
    }
    return end - taken - kHeaderSize;
}

} // namespace

struct MEMiExpHeap {
    MEMiExpHeap(u8* region, u32 regionSize, u8* areaStart, u8* areaEnd, u16 options)
        : m_options(options), m_region(region), m_regionSize(regionSize), m_areaStart(areaStart),
          m_areaEnd(areaEnd),
          m_quarantineBudget(
              kSanitized ? std::min(kMaxQuarantineBytes, areaBytes() / kQuarantineShareOfHeap)
                         : 0) {
        linkFree(areaStart, payloadBetween(areaStart, areaEnd));
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
        const u32 usedSize = carve(*placement, static_cast<u32>(payloadSize));
        u8* const payload = placement->header + kHeaderSize;
        unpoison(payload, usedSize);
        if ((m_options & MEM_HEAP_OPT_0_CLEAR) != 0) {
            std::memset(payload, 0, usedSize);
        }
        return payload;
    }

    // False when `payload` is not a live block of this heap.
    bool release(u8* payload) {
        if (!isInArea(payload)) {
            return false;
        }
        const std::lock_guard guard(m_lock);
        const std::optional<u32> size = usedSizeOf(payload);
        if (!size || !isIntact(payload - kHeaderSize)) {
            return false;
        }
        poison(payload, *size);
        quarantine(payload - kHeaderSize, *size);
        return true;
    }

    u32 totalFreeSize() {
        const std::lock_guard guard(m_lock);
        return m_freeBytes;
    }

    u32 allocatableSize(u32 alignment) {
        const std::lock_guard guard(m_lock);
        u32 largest = 0;
        forEachFree(0, [&](u8* block, const BlockHeader& header) {
            const std::uintptr_t padding = paddingUp(block + kHeaderSize, alignment);
            if (padding < header.size) {
                largest = std::max(largest, static_cast<u32>(header.size - padding));
            }
            return false;
        });
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

    // A live header reached through a stray pointer may hold anything: before the
    // heap acts on one, its block must end inside the area and the free block it
    // names below must be there.
    bool isIntact(const u8* header) const {
        const BlockHeader fields = loadHeader(header);
        if (fields.size % kGranule != 0 || fields.size > payloadBetween(header, m_areaEnd)) {
            return false;
        }
        if (fields.freeBelow == 0) {
            return true;
        }
        if (fields.freeBelow % kGranule != 0 ||
            fields.freeBelow > addressOf(header) - addressOf(m_areaStart)) {
            return false;
        }
        const u8* const below = header - fields.freeBelow;
        return loadField(below, &BlockHeader::tag) == kFreeTag &&
               loadField(below, &BlockHeader::size) + kHeaderSize == fields.freeBelow;
    }

    std::optional<Placement> find(u32 payloadSize, AlignmentRequest alignment) const {
        return alignment.fromTop ? findFromTop(payloadSize, alignment.bytes)
                                 : findFromBottom(payloadSize, alignment.bytes);
    }

    // The lowest fitting block of the smallest class that has one, payload at its
    // lowest aligned address. Smaller classes cannot hold a fit.
    std::optional<Placement> findFromBottom(u32 payloadSize, u32 alignment) const {
        std::optional<Placement> found;
        forEachFree(sizeClassOf(payloadSize), [&](u8* block, const BlockHeader& header) {
            const std::uintptr_t padding = paddingUp(block + kHeaderSize, alignment);
            if (padding + payloadSize <= header.size) {
                found = Placement{block, block + padding};
            }
            return found.has_value();
        });
        return found;
    }

    // The highest free block that fits, payload at its highest aligned address.
    std::optional<Placement> findFromTop(u32 payloadSize, u32 alignment) const {
        std::optional<Placement> highest;
        forEachFree(sizeClassOf(payloadSize), [&](u8* block, const BlockHeader& header) {
            if (!highest || block > highest->freeBlock) {
                if (const std::optional<u8*> at =
                        topPlacementIn(block, header, payloadSize, alignment)) {
                    highest = Placement{block, *at};
                }
            }
            return false;
        });
        return highest;
    }

    // Visits the free blocks of `fromClass` and above, class by class, each in
    // address order, until `visit` returns true.
    template <typename Visit>
    void forEachFree(u32 fromClass, Visit visit) const {
        for (u32 classes = m_nonEmptyClasses & (~0u << fromClass); classes != 0;
             classes &= classes - 1) {
            u8* block = firstFree(static_cast<u32>(std::countr_zero(classes)));
            while (block != nullptr) {
                const BlockHeader header = loadHeader(block);
                if (visit(block, header)) {
                    return;
                }
                block = header.next;
            }
        }
    }

    // Turns the placed block into a used one and returns its payload size. The
    // space before and after it in the free block stays free as blocks of their
    // own, except a bare header's worth after it (a block that could never be
    // used), which joins the payload.
    u32 carve(const Placement& placement, u32 payloadSize) {
        const BlockHeader free = loadHeader(placement.freeBlock);
        u8* const freeEnd = placement.freeBlock + kHeaderSize + free.size;
        u8* usedEnd = placement.header + kHeaderSize + payloadSize;
        if (freeEnd - usedEnd == kHeaderSize) {
            usedEnd = freeEnd;
        }
        unlinkFree(placement.freeBlock, free);
        const u32 usedSize = payloadBetween(placement.header, usedEnd);
        storeHeader(placement.header, BlockHeader{kUsedTag, usedSize, nullptr, nullptr, 0});
        if (placement.header > placement.freeBlock) {
            linkFree(placement.freeBlock, payloadBetween(placement.freeBlock, placement.header));
        }
        if (usedEnd < freeEnd) {
            linkFree(usedEnd, payloadBetween(usedEnd, freeEnd));
        }
        return usedSize;
    }

    // Gives a block back to the free lists, merged with its free neighbours. Its
    // header, when the free block below swallows it, is wiped so that a stale
    // pointer to it is refused (a swallowed header above says "free" already).
    void mergeIntoFreeLists(u8* block) {
        const BlockHeader header = loadHeader(block);
        u8* start = block;
        u8* end = block + kHeaderSize + header.size;
        if (header.freeBelow != 0) {
            start = block - header.freeBelow;
            unlinkFree(start, loadHeader(start));
            storeHeader(block, BlockHeader{});
        }
        if (end < m_areaEnd) {
            const BlockHeader above = loadHeader(end);
            if (above.tag == kFreeTag) {
                unlinkFree(end, above);
                end += kHeaderSize + above.size;
            }
        }
        linkFree(start, payloadBetween(start, end));
    }

    // A freed block waits here, poisoned, until newer ones push it out; blocks
    // larger than the whole quarantine (and every block outside the sanitizer
    // build, where the budget is 0) go back at once. Only tag and next change:
    // freeBelow stays in step with the neighbour below meanwhile.
    void quarantine(u8* block, u32 size) {
        const u32 bytes = kHeaderSize + size;
        if (bytes > m_quarantineBudget) {
            mergeIntoFreeLists(block);
            return;
        }
        while (m_quarantineBytes + bytes > m_quarantineBudget) {
            releaseOldestQuarantined();
        }
        storeField(block, &BlockHeader::tag, kQuarantinedTag);
        storeField(block, &BlockHeader::next, nullptr);
        if (m_quarantineTail != nullptr) {
            storeField(m_quarantineTail, &BlockHeader::next, block);
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
        mergeIntoFreeLists(oldest);
    }

    // Returns whether any block was released.
    bool releaseQuarantine() {
        const bool releasedAny = m_quarantineHead != nullptr;
        while (m_quarantineHead != nullptr) {
            releaseOldestQuarantined();
        }
        return releasedAny;
    }

    // Free blocks take their place in their class's list and tell the block
    // above them where they start.
    void linkFree(u8* block, u32 size) {
        const u32 sizeClass = sizeClassOf(size);
        u8* prev = nullptr;
        u8* next = firstFree(sizeClass);
        while (next != nullptr && next < block) {
            prev = next;
            next = loadField(next, &BlockHeader::next);
        }
        storeHeader(block, BlockHeader{kFreeTag, size, prev, next, 0});
        if (next != nullptr) {
            storeField(next, &BlockHeader::prev, block);
        }
        if (prev != nullptr) {
            storeField(prev, &BlockHeader::next, block);
        } else {
            setFirstFree(sizeClass, block);
        }
        m_freeBytes += size;
        setFreeBelow(block + kHeaderSize + size, kHeaderSize + size);
    }

    void unlinkFree(u8* block, const BlockHeader& header) {
        if (header.prev != nullptr) {
            storeField(header.prev, &BlockHeader::next, header.next);
        } else {
            setFirstFree(sizeClassOf(header.size), header.next);
        }
        if (header.next != nullptr) {
            storeField(header.next, &BlockHeader::prev, header.prev);
        }
        m_freeBytes -= header.size;
        setFreeBelow(block + kHeaderSize + header.size, 0);
    }

    // The block at `header`, when the area goes on that far, learns whether a
    // free block lies just below it.
    void setFreeBelow(u8* header, u32 distance) {
        if (header < m_areaEnd) {
            storeField(header, &BlockHeader::freeBelow, distance);
        }
    }

    u8* firstFree(u32 sizeClass) const {
        return (m_nonEmptyClasses >> sizeClass & 1) != 0 ? m_areaStart + m_firstFree[sizeClass]
                                                         : nullptr;
    }

    void setFirstFree(u32 sizeClass, u8* block) {
        const u32 bit = 1u << sizeClass;
        if (block == nullptr) {
            m_nonEmptyClasses &= ~bit;
            return;
        }
        m_firstFree[sizeClass] = static_cast<u32>(block - m_areaStart);
        m_nonEmptyClasses |= bit;
    }

    const u32 m_magic = kHeapMagic;
    const u16 m_options;
    std::mutex m_lock;
    u8* const m_region;
    const u32 m_regionSize;
    u32 m_freeBytes = 0;
    u8* const m_areaStart;
    u8* const m_areaEnd;
    u8* m_quarantineHead = nullptr;
    u8* m_quarantineTail = nullptr;
    u32 m_quarantineBytes = 0;
    const u32 m_quarantineBudget;
    u32 m_nonEmptyClasses = 0;
    // Each class's first free block, as an offset from the area's start (half
    // the record space of a pointer); meaningful while its bit is set.
    std::array<u32, kSizeClassCount> m_firstFree{};
};

namespace {

constexpr std::uintptr_t kRecordBytes = roundUp(sizeof(MEMiExpHeap), kGranule);
static_assert(alignof(MEMiExpHeap) <= kGranule);
static_assert(kRecordBytes <= 6 * kGranule, "a heap costs its region under 256 bytes");

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
    const std::optional<u32> size = usedSizeOf(static_cast<const u8*>(block));
    if (!size) {
        OSReport("%s: %p is not a live heap block\n", __func__, block);
        return 0;
    }
    return *size;
}
