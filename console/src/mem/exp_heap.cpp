// Expanded heap over caller-given memory. The heap record sits at the 32-byte
// aligned start of the region; behind it the area is tiled by blocks, each a
// 32-byte header and its payload. Free blocks never touch (a freed block merges
// with its free neighbours) and sit in power-of-two size classes, with a bitmap
// of the classes that hold any. Each class is a treap ordered by address (the
// priority a hash of the address), every node knowing its parent and the
// largest payload below it, so the lowest or highest block that fits is found
// without a walk, a block leaves its tree without a search from the root, and
// every call costs O(log n). Allocation is good fit: the classes are searched
// upward from the request's own and the lowest block that fits is taken, so
// the lowest fitting block of the smallest class that has one; a negative
// alignment takes the highest free block that fits instead. Each header also
// keeps the distance back to the free block just below it, so a freed block
// finds both neighbours at once.
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
#include <utility>

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
// payloads of [32 << (c - 1), 32 << c) bytes, the last one everything from 8 MiB up.
constexpr u32 kSizeClassCount = 20;
// Blocks name each other by their offset from the area's start; this one names none.
constexpr u32 kNoBlock = 0xFFFFFFFF;

// Front of every block; `size` counts the payload bytes behind it. `freeBelow` is
// the distance back to the header of the free block just below, 0 when there is
// none. Free blocks are nodes of their class's treap: `left`, `right` and
// `parent`, and the largest payload in each child's subtree (kept in the parent,
// so a search or an update reads no header off its path). Quarantined blocks,
// which no tree holds, queue oldest first through `queueNext` instead.
struct alignas(kGranule) BlockHeader {
    u32 tag;
    u32 size;
    u32 freeBelow;
    u32 left;
    u32 right;
    u32 leftLargest;
    u32 rightLargest;
    union {
        u32 parent;
        u32 queueNext;
    };
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

std::uintptr_t AddressOf(const void* at) {
    return reinterpret_cast<std::uintptr_t>(at);
}

constexpr std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t alignment) {
    return (value + alignment - 1) & ~(alignment - 1);
}

// Bytes from `at` up to the next multiple of `alignment` (a power of two).
std::uintptr_t PaddingUp(const void* at, u32 alignment) {
    return RoundUp(AddressOf(at), alignment) - AddressOf(at);
}

// Bytes from the previous multiple of `alignment` up to `at`.
std::uintptr_t PaddingDown(const void* at, u32 alignment) {
    return AddressOf(at) & (alignment - 1);
}

// Alignments of magnitude below a granule still give granule-aligned blocks.
std::optional<AlignmentRequest> ParseAlignment(int alignment) {
    const u32 magnitude =
        alignment < 0 ? 0u - static_cast<u32>(alignment) : static_cast<u32>(alignment);
    if (magnitude < 4 || !std::has_single_bit(magnitude)) {
        return std::nullopt;
    }
    return AlignmentRequest{std::max(magnitude, kGranule), alignment < 0};
}

u32 SizeClassOf(u32 size) {
    return std::min(static_cast<u32>(std::bit_width(size / kGranule)), kSizeClassCount - 1);
}

// A treap node's priority: a mix of its offset, so the tree's shape is random
// with respect to the order blocks come and go, and the same on every run.
u32 PriorityOf(u32 offset) {
    u32 mixed = (offset / kGranule) * 0x9E3779B1u;
    mixed ^= mixed >> 15;
    mixed *= 0x85EBCA77u;
    return mixed ^ (mixed >> 13);
}

void Poison(const void* at, std::size_t bytes) {
    ASAN_POISON_MEMORY_REGION(at, bytes);
}

void Unpoison(const void* at, std::size_t bytes) {
    ASAN_UNPOISON_MEMORY_REGION(at, bytes);
}

// Headers are always poisoned in the sanitizer build; an addressable "header"
// lies inside a live payload, so the pointer it was derived from is no block.
bool MayBeHeader(const u8* at) {
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
[[gnu::no_sanitize_address]] BlockHeader LoadHeader(const u8* at) {
    return *reinterpret_cast<const BlockHeader*>(at);
}

[[gnu::no_sanitize_address]] void StoreHeader(u8* at, const BlockHeader& header) {
    *reinterpret_cast<BlockHeader*>(at) = header;
}

[[gnu::no_sanitize_address]] u32 LoadField(const u8* at, u32 BlockHeader::*field) {
    return reinterpret_cast<const BlockHeader*>(at)->*field;
}

[[gnu::no_sanitize_address]] void StoreField(u8* at, u32 BlockHeader::*field, u32 value) {
    reinterpret_cast<BlockHeader*>(at)->*field = value;
}

u32 PayloadBetween(const u8* header, const u8* end) {
    return static_cast<u32>(end - header - kHeaderSize);
}

// The payload size of the live block behind `payload`, or nothing when it is none.
std::optional<u32> UsedSizeOf(const u8* payload) {
    if (payload == nullptr || PaddingDown(payload, kGranule) != 0 ||
        !MayBeHeader(payload - kHeaderSize)) {
        return std::nullopt;
    }
    const u8* const header = payload - kHeaderSize;
    if (LoadField(header, &BlockHeader::tag) != kUsedTag) {
        return std::nullopt;
    }
    return LoadField(header, &BlockHeader::size);
}

// The payload at the lowest `alignment` multiple in the free block, if it fits.
std::optional<Placement> BottomPlacementIn(u8* block, const BlockHeader& header, u32 payloadSize,
                                           u32 alignment) {
    const std::uintptr_t padding = PaddingUp(block + kHeaderSize, alignment);
    if (padding + payloadSize > header.size) {
        return std::nullopt;
    }
    return Placement{block, block + padding};
}

// The payload at the highest `alignment` multiple in the free block, if it fits.
std::optional<Placement> TopPlacementIn(u8* block, const BlockHeader& header, u32 payloadSize,
                                        u32 alignment) {
    if (payloadSize > header.size) {
        return std::nullopt;
    }
    u8* const end = block + kHeaderSize + header.size;
    const std::uintptr_t taken = payloadSize + PaddingDown(end - payloadSize, alignment);
    if (taken > header.size) {
        return std::nullopt;
    }
    return Placement{block, end - taken - kHeaderSize};
}

} // namespace

struct MEMiExpHeap {
    MEMiExpHeap(u8* region, u32 regionSize, u8* areaStart, u8* areaEnd, u16 options)
        : m_options(options), m_region(region), m_regionSize(regionSize), m_areaStart(areaStart),
          m_areaEnd(areaEnd),
          m_quarantineBudget(
              kSanitized ? std::min(kMaxQuarantineBytes, AreaBytes() / kQuarantineShareOfHeap)
                         : 0) {
        m_roots.fill(kNoBlock);
        LinkFree(areaStart, PayloadBetween(areaStart, areaEnd));
    }

    bool IsValid() const { return m_magic == kHeapMagic; }
    u8* Region() const { return m_region; }
    u32 RegionSize() const { return m_regionSize; }

    void* Allocate(u32 size, AlignmentRequest alignment) {
        const std::uintptr_t payloadSize = RoundUp(std::max(size, 1u), kGranule);
        if (payloadSize > AreaBytes()) {
            return nullptr;
        }
        const std::lock_guard guard(m_lock);
        std::optional<Placement> placement = Find(static_cast<u32>(payloadSize), alignment);
        if (!placement && ReleaseQuarantine()) {
            placement = Find(static_cast<u32>(payloadSize), alignment);
        }
        if (!placement) {
            return nullptr;
        }
        const u32 usedSize = Carve(*placement, static_cast<u32>(payloadSize));
        u8* const payload = placement->header + kHeaderSize;
        Unpoison(payload, usedSize);
        if ((m_options & MEM_HEAP_OPT_0_CLEAR) != 0) {
            std::memset(payload, 0, usedSize);
        }
        return payload;
    }

    // False when `payload` is not a live block of this heap.
    bool Release(u8* payload) {
        if (!IsInArea(payload)) {
            return false;
        }
        const std::lock_guard guard(m_lock);
        const std::optional<u32> size = UsedSizeOf(payload);
        if (!size || !IsIntact(payload - kHeaderSize)) {
            return false;
        }
        Poison(payload, *size);
        Quarantine(payload - kHeaderSize, *size);
        return true;
    }

    u32 TotalFreeSize() {
        const std::lock_guard guard(m_lock);
        return m_freeBytes;
    }

    // Largest classes first: once a payload is found, subtrees whose largest
    // block cannot beat it are skipped.
    u32 AllocatableSize(u32 alignment) {
        const std::lock_guard guard(m_lock);
        u32 largest = 0;
        for (u32 classes = m_nonEmptyClasses; classes != 0;) {
            const u32 sizeClass = static_cast<u32>(std::bit_width(classes)) - 1;
            GrowToLargestPayload(m_roots[sizeClass], alignment, largest);
            classes &= ~(1u << sizeClass);
        }
        return largest;
    }

    void FlushQuarantine() {
        const std::lock_guard guard(m_lock);
        ReleaseQuarantine();
    }

private:
    u32 AreaBytes() const { return static_cast<u32>(m_areaEnd - m_areaStart); }

    bool IsInArea(const u8* payload) const {
        const std::uintptr_t at = AddressOf(payload);
        return at >= AddressOf(m_areaStart) + kHeaderSize && at < AddressOf(m_areaEnd);
    }

    // A live header reached through a stray pointer may hold anything: before the
    // heap acts on one, its block must end inside the area and the free block it
    // names below must be there.
    bool IsIntact(const u8* header) const {
        const BlockHeader fields = LoadHeader(header);
        if (fields.size % kGranule != 0 || fields.size > PayloadBetween(header, m_areaEnd)) {
            return false;
        }
        if (fields.freeBelow == 0) {
            return true;
        }
        if (fields.freeBelow % kGranule != 0 ||
            fields.freeBelow > AddressOf(header) - AddressOf(m_areaStart)) {
            return false;
        }
        const u8* const below = header - fields.freeBelow;
        return LoadField(below, &BlockHeader::tag) == kFreeTag &&
               LoadField(below, &BlockHeader::size) + kHeaderSize == fields.freeBelow;
    }

    std::optional<Placement> Find(u32 payloadSize, AlignmentRequest alignment) const {
        return alignment.fromTop ? FindFromTop(payloadSize, alignment.bytes)
                                 : FindFromBottom(payloadSize, alignment.bytes);
    }

    // The lowest fitting block of the smallest class that has one, payload at its
    // lowest aligned address. Smaller classes cannot hold a fit.
    std::optional<Placement> FindFromBottom(u32 payloadSize, u32 alignment) const {
        for (u32 classes = m_nonEmptyClasses & (~0u << SizeClassOf(payloadSize)); classes != 0;
             classes &= classes - 1) {
            const u32 root = m_roots[static_cast<u32>(std::countr_zero(classes))];
            const std::optional<Placement> found =
                FirstFitIn(root, payloadSize, false, [&](u8* block, const BlockHeader& header) {
                    return BottomPlacementIn(block, header, payloadSize, alignment);
                });
            if (found) {
                return found;
            }
        }
        return std::nullopt;
    }

    // The highest free block that fits, payload at its highest aligned address.
    std::optional<Placement> FindFromTop(u32 payloadSize, u32 alignment) const {
        std::optional<Placement> highest;
        for (u32 classes = m_nonEmptyClasses & (~0u << SizeClassOf(payloadSize)); classes != 0;
             classes &= classes - 1) {
            const u32 root = m_roots[static_cast<u32>(std::countr_zero(classes))];
            const std::optional<Placement> found =
                FirstFitIn(root, payloadSize, true, [&](u8* block, const BlockHeader& header) {
                    return TopPlacementIn(block, header, payloadSize, alignment);
                });
            if (found && (!highest || found->freeBlock > highest->freeBlock)) {
                highest = found;
            }
        }
        return highest;
    }

    // The first block of the tree, in address order or (`highestFirst`) its
    // reverse, that `place` accepts. Subtrees without a payload of `payloadSize`
    // are skipped, so with the default alignment (every block that large fits)
    // the search goes straight down one path.
    template <typename Place>
    std::optional<Placement> FirstFitIn(u32 tree, u32 payloadSize, bool highestFirst,
                                        const Place& place) const {
        if (tree == kNoBlock) {
            return std::nullopt;
        }
        const BlockHeader header = LoadHeader(At(tree));
        const bool fitsLeft = header.leftLargest >= payloadSize;
        const bool fitsRight = header.rightLargest >= payloadSize;
        const u32 before = highestFirst ? header.right : header.left;
        const u32 after = highestFirst ? header.left : header.right;
        if (highestFirst ? fitsRight : fitsLeft) {
            if (std::optional<Placement> found =
                    FirstFitIn(before, payloadSize, highestFirst, place)) {
                return found;
            }
        }
        if (header.size >= payloadSize) {
            if (std::optional<Placement> found = place(At(tree), header)) {
                return found;
            }
        }
        if (highestFirst ? fitsLeft : fitsRight) {
            return FirstFitIn(after, payloadSize, highestFirst, place);
        }
        return std::nullopt;
    }

    void GrowToLargestPayload(u32 tree, u32 alignment, u32& largest) const {
        if (tree == kNoBlock) {
            return;
        }
        const BlockHeader header = LoadHeader(At(tree));
        const std::uintptr_t padding = PaddingUp(At(tree) + kHeaderSize, alignment);
        if (padding < header.size) {
            largest = std::max(largest, static_cast<u32>(header.size - padding));
        }
        if (header.leftLargest > largest) {
            GrowToLargestPayload(header.left, alignment, largest);
        }
        if (header.rightLargest > largest) {
            GrowToLargestPayload(header.right, alignment, largest);
        }
    }

    // Turns the placed block into a used one and returns its payload size. The
    // space before and after it in the free block stays free as blocks of their
    // own, except a bare header's worth after it (a block that could never be
    // used), which joins the payload.
    u32 Carve(const Placement& placement, u32 payloadSize) {
        const BlockHeader free = LoadHeader(placement.freeBlock);
        u8* const freeEnd = placement.freeBlock + kHeaderSize + free.size;
        u8* usedEnd = placement.header + kHeaderSize + payloadSize;
        if (freeEnd - usedEnd == kHeaderSize) {
            usedEnd = freeEnd;
        }
        UnlinkFree(placement.freeBlock, free.size);
        const u32 usedSize = PayloadBetween(placement.header, usedEnd);
        StoreHeader(placement.header,
                    BlockHeader{kUsedTag, usedSize, 0, kNoBlock, kNoBlock, 0, 0, {kNoBlock}});
        if (placement.header > placement.freeBlock) {
            LinkFree(placement.freeBlock, PayloadBetween(placement.freeBlock, placement.header));
        }
        if (usedEnd < freeEnd) {
            LinkFree(usedEnd, PayloadBetween(usedEnd, freeEnd));
        }
        return usedSize;
    }

    // Gives a block back to the free classes, merged with its free neighbours. Its
    // header, when the free block below swallows it, is wiped so that a stale
    // pointer to it is refused (a swallowed header above says "free" already).
    void MergeIntoFreeClasses(u8* block) {
        const BlockHeader header = LoadHeader(block);
        u8* end = block + kHeaderSize + header.size;
        if (end < m_areaEnd && LoadField(end, &BlockHeader::tag) == kFreeTag) {
            const u32 aboveSize = LoadField(end, &BlockHeader::size);
            UnlinkFree(end, aboveSize);
            end += kHeaderSize + aboveSize;
        }
        if (header.freeBelow == 0) {
            LinkFree(block, PayloadBetween(block, end));
            return;
        }
        u8* const below = block - header.freeBelow;
        StoreHeader(block, BlockHeader{});
        GrowFree(below, PayloadBetween(below, end));
    }

    // A free block grown where it lies: while it stays in its class, only the largest
    // sizes along its path in the tree change.
    void GrowFree(u8* block, u32 size) {
        const u32 before = LoadField(block, &BlockHeader::size);
        const u32 sizeClass = SizeClassOf(size);
        if (sizeClass != SizeClassOf(before)) {
            UnlinkFree(block, before);
            LinkFree(block, size);
            return;
        }
        StoreField(block, &BlockHeader::size, size);
        m_freeBytes += size - before;
        RefreshAncestors(OffsetOf(block));
        SetFreeBelow(block + kHeaderSize + size, kHeaderSize + size);
    }

    // A freed block waits here, poisoned, until newer ones push it out; blocks
    // larger than the whole quarantine (and every block outside the sanitizer
    // build, where the budget is 0) go back at once. Only tag and queueNext
    // change: freeBelow stays in step with the neighbour below meanwhile.
    void Quarantine(u8* block, u32 size) {
        const u32 bytes = kHeaderSize + size;
        if (bytes > m_quarantineBudget) {
            MergeIntoFreeClasses(block);
            return;
        }
        while (m_quarantineBytes + bytes > m_quarantineBudget) {
            ReleaseOldestQuarantined();
        }
        StoreField(block, &BlockHeader::tag, kQuarantinedTag);
        StoreField(block, &BlockHeader::queueNext, kNoBlock);
        if (m_quarantineTail != nullptr) {
            StoreField(m_quarantineTail, &BlockHeader::queueNext, OffsetOf(block));
        } else {
            m_quarantineHead = block;
        }
        m_quarantineTail = block;
        m_quarantineBytes += bytes;
    }

    void ReleaseOldestQuarantined() {
        u8* const oldest = m_quarantineHead;
        const BlockHeader header = LoadHeader(oldest);
        m_quarantineHead = header.queueNext == kNoBlock ? nullptr : At(header.queueNext);
        if (m_quarantineHead == nullptr) {
            m_quarantineTail = nullptr;
        }
        m_quarantineBytes -= kHeaderSize + header.size;
        MergeIntoFreeClasses(oldest);
    }

    // Returns whether any block was released.
    bool ReleaseQuarantine() {
        const bool releasedAny = m_quarantineHead != nullptr;
        while (m_quarantineHead != nullptr) {
            ReleaseOldestQuarantined();
        }
        return releasedAny;
    }

    // Free blocks take their place in their class's tree and tell the block
    // above them where they start.
    void LinkFree(u8* block, u32 size) {
        StoreHeader(block, BlockHeader{kFreeTag, size, 0, kNoBlock, kNoBlock, 0, 0, {kNoBlock}});
        const u32 sizeClass = SizeClassOf(size);
        Insert(sizeClass, OffsetOf(block));
        m_nonEmptyClasses |= 1u << sizeClass;
        m_freeBytes += size;
        SetFreeBelow(block + kHeaderSize + size, kHeaderSize + size);
    }

    void UnlinkFree(u8* block, u32 size) {
        const u32 sizeClass = SizeClassOf(size);
        Erase(sizeClass, OffsetOf(block));
        if (m_roots[sizeClass] == kNoBlock) {
            m_nonEmptyClasses &= ~(1u << sizeClass);
        }
        m_freeBytes -= size;
        SetFreeBelow(block + kHeaderSize + size, 0);
    }

    // The block at `header`, when the area goes on that far, learns whether a
    // free block lies just below it.
    void SetFreeBelow(u8* header, u32 distance) {
        if (header < m_areaEnd) {
            StoreField(header, &BlockHeader::freeBelow, distance);
        }
    }

    // Treap operations on one class's tree, by offset. They touch only the headers
    // on their path and write only what changes; a node leaves its tree from where
    // it hangs, through its parent link, without a walk from the root.
    // Insertion goes down while the nodes outrank the new one, each passed node's
    // largest size on the way down growing to the new one's; where the new node
    // outranks the subtree, the subtree splits around it and hangs from it.
    void Insert(u32 sizeClass, u32 node) {
        const u32 size = Field(node, &BlockHeader::size);
        const u32 priority = PriorityOf(node);
        u32 parent = kNoBlock;
        u32 current = m_roots[sizeClass];
        while (current != kNoBlock && PriorityOf(current) >= priority) {
            const bool onLeft = node < current;
            u32 BlockHeader::*const largest =
                onLeft ? &BlockHeader::leftLargest : &BlockHeader::rightLargest;
            if (size > Field(current, largest)) {
                StoreField(At(current), largest, size);
            }
            parent = current;
            current = Field(current, onLeft ? &BlockHeader::left : &BlockHeader::right);
        }
        const auto [below, above] = Split(current, node);
        SetLeft(node, below);
        SetRight(node, above);
        HangFrom(sizeClass, parent, node);
    }

    // The node's children join in its place; the largest sizes above it shrink
    // only as far as it was the largest below them.
    void Erase(u32 sizeClass, u32 node) {
        const BlockHeader header = LoadHeader(At(node));
        HangFrom(sizeClass, header.parent, Join(header.left, header.right), node);
        if (header.parent != kNoBlock) {
            RefreshAncestors(header.parent);
        }
    }

    // Makes `subtree` the root of the class's tree (no `parent`) or the child of
    // `parent` on the side of `key`, `subtree`'s own offset unless it is empty.
    void HangFrom(u32 sizeClass, u32 parent, u32 subtree, u32 key) {
        if (parent == kNoBlock) {
            m_roots[sizeClass] = subtree;
            if (subtree != kNoBlock) {
                StoreField(At(subtree), &BlockHeader::parent, kNoBlock);
            }
        } else if (key < parent) {
            SetLeft(parent, subtree);
        } else {
            SetRight(parent, subtree);
        }
    }

    void HangFrom(u32 sizeClass, u32 parent, u32 node) { HangFrom(sizeClass, parent, node, node); }

    // The tree's nodes below `key` and those above it, as two trees.
    std::pair<u32, u32> Split(u32 tree, u32 key) {
        if (tree == kNoBlock) {
            return {kNoBlock, kNoBlock};
        }
        if (tree < key) {
            const auto [below, above] = Split(Field(tree, &BlockHeader::right), key);
            SetRight(tree, below);
            return {tree, above};
        }
        const auto [below, above] = Split(Field(tree, &BlockHeader::left), key);
        SetLeft(tree, above);
        return {below, tree};
    }

    // One tree of two, every node of `below` lying below every node of `above`.
    u32 Join(u32 below, u32 above) {
        if (below == kNoBlock || above == kNoBlock) {
            return below == kNoBlock ? above : below;
        }
        if (PriorityOf(below) > PriorityOf(above)) {
            SetRight(below, Join(Field(below, &BlockHeader::right), above));
            return below;
        }
        SetLeft(above, Join(below, Field(above, &BlockHeader::left)));
        return above;
    }

    // After `node`'s own size or a largest size of its changed, brings those of
    // its ancestors up to date, up to the first that stays the same.
    void RefreshAncestors(u32 node) {
        for (u32 parent = Field(node, &BlockHeader::parent); parent != kNoBlock;
             node = parent, parent = Field(node, &BlockHeader::parent)) {
            u32 BlockHeader::*const side =
                node < parent ? &BlockHeader::leftLargest : &BlockHeader::rightLargest;
            const u32 largest = Largest(node);
            if (Field(parent, side) == largest) {
                return;
            }
            StoreField(At(parent), side, largest);
        }
    }

    void SetLeft(u32 node, u32 child) {
        SetChild(node, child, &BlockHeader::left, &BlockHeader::leftLargest);
    }

    void SetRight(u32 node, u32 child) {
        SetChild(node, child, &BlockHeader::right, &BlockHeader::rightLargest);
    }

    void SetChild(u32 node, u32 child, u32 BlockHeader::*link, u32 BlockHeader::*largestField) {
        const u32 largest = Largest(child);
        if (Field(node, link) != child) {
            StoreField(At(node), link, child);
            if (child != kNoBlock) {
                StoreField(At(child), &BlockHeader::parent, node);
            }
        }
        if (Field(node, largestField) != largest) {
            StoreField(At(node), largestField, largest);
        }
    }

    // The largest payload in the tree.
    u32 Largest(u32 tree) const {
        if (tree == kNoBlock) {
            return 0;
        }
        return std::max({Field(tree, &BlockHeader::size), Field(tree, &BlockHeader::leftLargest),
                         Field(tree, &BlockHeader::rightLargest)});
    }

    u32 Field(u32 node, u32 BlockHeader::*field) const { return LoadField(At(node), field); }
    u8* At(u32 offset) const { return m_areaStart + offset; }
    u32 OffsetOf(const u8* block) const { return static_cast<u32>(block - m_areaStart); }

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
    // Each class's tree root, kNoBlock while the class is empty.
    std::array<u32, kSizeClassCount> m_roots{};
};

namespace {

constexpr std::uintptr_t kRecordBytes = RoundUp(sizeof(MEMiExpHeap), kGranule);
static_assert(alignof(MEMiExpHeap) <= kGranule);
static_assert(kRecordBytes <= 6 * kGranule, "a heap costs its region under 256 bytes");

bool CheckHeap(MEMHeapHandle heap, const char* caller) {
    if (heap != nullptr && heap->IsValid()) {
        return true;
    }
    OSReport("%s: invalid heap %p\n", caller, static_cast<void*>(heap));
    return false;
}

} // namespace

MEMHeapHandle MEMCreateExpHeapEx(void* start, u32 size, u16 options) {
    u8* const region = static_cast<u8*>(start);
    const std::uintptr_t first = RoundUp(AddressOf(region), kGranule);
    const std::uintptr_t last = (AddressOf(region) + size) & ~std::uintptr_t{kGranule - 1};
    if (region == nullptr || last < first + kRecordBytes + kSmallestBlock) {
        OSReport("%s: %u bytes at %p cannot hold a heap\n", __func__, size, start);
        return nullptr;
    }
    u8* const record = region + (first - AddressOf(region));
    u8* const areaStart = record + kRecordBytes;
    u8* const areaEnd = region + (last - AddressOf(region));
    Unpoison(region, size);
    Poison(areaStart, static_cast<std::size_t>(areaEnd - areaStart));
    return new (record) MEMiExpHeap(region, size, areaStart, areaEnd, options);
}

void* MEMDestroyExpHeap(MEMHeapHandle heap) {
    if (!CheckHeap(heap, __func__)) {
        return nullptr;
    }
    u8* const region = heap->Region();
    const u32 size = heap->RegionSize();
    heap->~MEMiExpHeap();
    Unpoison(region, size);
    // A stale handle then fails the magic check.
    std::memset(static_cast<void*>(heap), 0, sizeof(MEMiExpHeap));
    return region;
}

void* MEMAllocFromExpHeapEx(MEMHeapHandle heap, u32 size, int alignment) {
    if (!CheckHeap(heap, __func__)) {
        return nullptr;
    }
    const std::optional<AlignmentRequest> request = ParseAlignment(alignment);
    if (!request) {
        OSReport("%s: invalid alignment %d\n", __func__, alignment);
        return nullptr;
    }
    return heap->Allocate(size, *request);
}

void MEMFreeToExpHeap(MEMHeapHandle heap, void* block) {
    if (CheckHeap(heap, __func__) && !heap->Release(static_cast<u8*>(block))) {
        OSReport("%s: %p is not a live block of heap %p\n", __func__, block,
                 static_cast<void*>(heap));
    }
}

u32 MEMGetTotalFreeSizeForExpHeap(MEMHeapHandle heap) {
    return CheckHeap(heap, __func__) ? heap->TotalFreeSize() : 0;
}

u32 MEMGetAllocatableSizeForExpHeapEx(MEMHeapHandle heap, int alignment) {
    if (!CheckHeap(heap, __func__)) {
        return 0;
    }
    const std::optional<AlignmentRequest> request = ParseAlignment(alignment);
    if (!request) {
        OSReport("%s: invalid alignment %d\n", __func__, alignment);
        return 0;
    }
    return heap->AllocatableSize(request->bytes);
}

void MEMFlushQuarantineForExpHeap(MEMHeapHandle heap) {
    if (CheckHeap(heap, __func__)) {
        heap->FlushQuarantine();
    }
}

u32 MEMGetSizeForMBlockExpHeap(const void* block) {
    const std::optional<u32> size = UsedSizeOf(static_cast<const u8*>(block));
    if (!size) {
        OSReport("%s: %p is not a live heap block\n", __func__, block);
        return 0;
    }
    return *size;
}
