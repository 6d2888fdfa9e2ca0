// Expanded heaps and their allocators, each test over a buffer of its own.
#include <console/mem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define MEM_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MEM_TEST_SANITIZED 1
#endif
#endif

#ifdef MEM_TEST_SANITIZED
#include <sanitizer/asan_interface.h>
#endif

namespace {

constexpr u32 kHeaderSize = 32;
constexpr u32 kHeapSize = 256 * 1024;

std::uintptr_t addressOf(const void* at) {
    return reinterpret_cast<std::uintptr_t>(at);
}

bool allBytesAre(const void* block, u32 size, u8 value) {
    const u8* bytes = static_cast<const u8*>(block);
    return std::all_of(bytes, bytes + size, [value](u8 byte) { return byte == value; });
}

class ExpHeapTest : public ::testing::Test {
protected:
    void SetUp() override { createHeap(0); }
    void TearDown() override { MEMDestroyExpHeap(m_heap); }

    void createHeap(u16 options, u32 size = kHeapSize) {
        if (m_heap != nullptr) {
            MEMDestroyExpHeap(m_heap);
        }
        m_heap = MEMCreateExpHeapEx(m_buffer.get(), size, options);
        ASSERT_NE(m_heap, nullptr);
        m_capacity = MEMGetTotalFreeSizeForExpHeap(m_heap);
    }

    u8* alloc(u32 size, int alignment = 32) {
        return static_cast<u8*>(MEMAllocFromExpHeapEx(m_heap, size, alignment));
    }
    void release(void* block) { MEMFreeToExpHeap(m_heap, block); }

    // Free bytes once the quarantine (sanitizer build) has given its blocks back.
    u32 settledFreeSize() {
        MEMFlushQuarantineForExpHeap(m_heap);
        return MEMGetTotalFreeSizeForExpHeap(m_heap);
    }

    // A refused block leaves the heap's accounts as they were.
    bool refusesFree(void* block) {
        const u32 before = MEMGetTotalFreeSizeForExpHeap(m_heap);
        release(block);
        return MEMGetTotalFreeSizeForExpHeap(m_heap) == before;
    }

    u8* bufferEnd() const { return m_buffer.get() + kHeapSize; }

    std::unique_ptr<u8, decltype(&std::free)> m_buffer{
        static_cast<u8*>(std::aligned_alloc(64, kHeapSize)), &std::free};
    MEMHeapHandle m_heap = nullptr;
    u32 m_capacity = 0;
};

TEST_F(ExpHeapTest, HeapRecordAndBlocksLieInsideTheGivenRegion) {
    EXPECT_GE(addressOf(m_heap), addressOf(m_buffer.get()));
    EXPECT_LT(addressOf(m_heap), addressOf(bufferEnd()));
    EXPECT_GT(m_capacity, kHeapSize - 256);
    EXPECT_EQ(MEMGetAllocatableSizeForExpHeapEx(m_heap, 32), m_capacity);
    u8* const whole = alloc(m_capacity);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole + m_capacity, bufferEnd());
}

TEST_F(ExpHeapTest, FreeingInAnyOrderCoalescesBackIntoOneBlock) {
    std::array<int, 3> order{0, 1, 2};
    do {
        const std::array<u8*, 3> blocks{alloc(100), alloc(200), alloc(300)};
        for (int index : order) {
            release(blocks[index]);
        }
        EXPECT_EQ(settledFreeSize(), m_capacity);
        EXPECT_EQ(MEMGetAllocatableSizeForExpHeapEx(m_heap, 32), m_capacity);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(ExpHeapTest, TakesTheLowestFittingBlockOfTheSmallestClassThatHasOne) {
    // Free blocks of 4096, 96, 64 and 128 bytes in address order, kept apart by
    // live ones; first fit would hand out `large` every time.
    u8* const large = alloc(4096);
    alloc(32);
    u8* const middling = alloc(96);
    alloc(32);
    u8* const small = alloc(64);
    alloc(32);
    u8* const roomy = alloc(128);
    alloc(32);
    for (u8* block : {large, middling, small, roomy}) {
        release(block);
    }
    MEMFlushQuarantineForExpHeap(m_heap);
    struct Request {
        u32 size;
        u8* expected;
    };
    const std::array<Request, 4> requests{{{64, middling}, {96, roomy}, {64, small}, {32, large}}};
    for (const Request& request : requests) {
        EXPECT_EQ(alloc(request.size), request.expected) << request.size;
    }
}

TEST_F(ExpHeapTest, SizeClassesSplitExactlyAtPowersOfTwo) {
    // Above a larger free block lie one of 2^k granules (the first size of its
    // class) and then one of a granule less (the last size of the class below).
    for (u32 classStart = 64; classStart <= 16384; classStart *= 2) {
        SCOPED_TRACE(classStart);
        createHeap(0);
        u8* const larger = alloc(4 * classStart);
        alloc(32);
        u8* const startOfClass = alloc(classStart);
        alloc(32);
        u8* const endOfClassBelow = alloc(classStart - 32);
        alloc(32);
        for (u8* block : {larger, startOfClass, endOfClassBelow}) {
            release(block);
        }
        MEMFlushQuarantineForExpHeap(m_heap);
        EXPECT_EQ(alloc(classStart - 32), endOfClassBelow);
        EXPECT_EQ(alloc(classStart), startOfClass);
    }
}

TEST_F(ExpHeapTest, ARemainderTooSmallForABlockJoinsTheAllocation) {
    u8* const gap = alloc(128);
    alloc(32);
    release(gap);
    MEMFlushQuarantineForExpHeap(m_heap);
    u8* const block = alloc(96);
    ASSERT_EQ(block, gap);
    EXPECT_EQ(MEMGetSizeForMBlockExpHeap(block), 128u);
    std::memset(block, 0x3c, 128);
}

TEST_F(ExpHeapTest, BlocksAtTheEndOfTheAreaLeaveTheBytesBeyondUntouched) {
    constexpr u32 kTrailer = 64;
    createHeap(0, kHeapSize - kTrailer);
    u8* const areaEnd = bufferEnd() - kTrailer;
    std::memset(areaEnd, 0xa5, kTrailer);
    u8* const top = alloc(64, -32);
    u8* const belowTop = alloc(64, -32);
    EXPECT_EQ(top + 64, areaEnd);
    EXPECT_EQ(belowTop + 64 + kHeaderSize, top);
    release(top);
    release(belowTop);
    EXPECT_EQ(settledFreeSize(), m_capacity);
    u8* const whole = alloc(m_capacity);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole + m_capacity, areaEnd);
    release(whole);
    EXPECT_EQ(settledFreeSize(), m_capacity);
    EXPECT_TRUE(allBytesAre(areaEnd, kTrailer, 0xa5));
}

TEST_F(ExpHeapTest, NegativeAlignmentAllocatesFromTheTop) {
    u8* const bottom = alloc(64);
    u8* const gap = alloc(64);
    alloc(32);
    release(gap);
    MEMFlushQuarantineForExpHeap(m_heap);
    // The gap fits too, but the highest free block that fits is the top one.
    u8* const top = alloc(64, -32);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top + 64, bufferEnd());
    EXPECT_LT(bottom, top);
}

TEST_F(ExpHeapTest, EveryPayloadHonoursItsAlignmentAndSize) {
    constexpr std::array<int, 10> kAlignments{4, 8, 16, 32, 64, 128, 1024, 4096, -64, -4096};
    constexpr std::array<u32, 7> kSizes{0, 1, 31, 32, 33, 100, 1000};
    for (int alignment : kAlignments) {
        SCOPED_TRACE(alignment);
        const std::uintptr_t expected = std::max(32, std::abs(alignment));
        std::vector<u8*> blocks;
        for (u32 size : kSizes) {
            u8* const block = alloc(size, alignment);
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(addressOf(block) % expected, 0u);
            const u32 usable = MEMGetSizeForMBlockExpHeap(block);
            EXPECT_GE(usable, std::max(size, 1u));
            EXPECT_EQ(usable % 32, 0u);
            std::memset(block, 0x5a, usable);
            blocks.push_back(block);
        }
        std::for_each(blocks.begin(), blocks.end(), [this](u8* block) { release(block); });
        EXPECT_EQ(settledFreeSize(), m_capacity);
    }
}

TEST_F(ExpHeapTest, ExhaustionReturnsNullUntilABlockIsFreed) {
    std::vector<u8*> blocks;
    while (u8* block = alloc(1000)) {
        blocks.push_back(block);
    }
    ASSERT_GT(blocks.size(), 100u);
    EXPECT_LT(MEMGetAllocatableSizeForExpHeapEx(m_heap, 32), 1000u);
    EXPECT_EQ(alloc(0xffffffffu), nullptr);
    u8* const middle = blocks[blocks.size() / 2];
    release(middle);
    // Without a flush: a failing allocation releases the quarantine and retries.
    EXPECT_EQ(alloc(1000), middle);
    EXPECT_EQ(alloc(1000), nullptr);
}

TEST_F(ExpHeapTest, RandomWorkloadKeepsAccountsAndContents) {
    struct Live {
        u8* block;
        u32 usable;
        u8 pattern;
    };
    constexpr std::array<int, 4> kAlignments{32, 64, 256, -32};
    std::mt19937 random(20240611);
    std::vector<Live> live;
    const s64 area = s64{m_capacity} + kHeaderSize;
    for (int step = 0; step < 4000; ++step) {
        if (live.empty() || random() % 100 < 55) {
            const u32 size = 1 + random() % 3000;
            const int alignment = kAlignments[random() % kAlignments.size()];
            const u32 allocatable = MEMGetAllocatableSizeForExpHeapEx(m_heap, alignment);
            u8* const block = alloc(size, alignment);
            ASSERT_EQ(block != nullptr, allocatable >= size) << "step " << step;
            if (block != nullptr) {
                const Live entry{block, MEMGetSizeForMBlockExpHeap(block), static_cast<u8>(step)};
                ASSERT_GE(entry.usable, size);
                std::memset(block, entry.pattern, entry.usable);
                live.push_back(entry);
            }
        } else {
            const std::size_t index = random() % live.size();
            ASSERT_TRUE(allBytesAre(live[index].block, live[index].usable, live[index].pattern))
                << "step " << step;
            release(live[index].block);
            live[index] = live.back();
            live.pop_back();
        }
        // Every block is a header plus its payload, and free blocks never touch,
        // so what is neither free nor live is one header per free block.
        s64 used = 0;
        for (const Live& entry : live) {
            used += kHeaderSize + entry.usable;
        }
        const s64 freeHeaders = area - used - settledFreeSize();
        ASSERT_GE(freeHeaders, 0) << "step " << step;
        ASSERT_EQ(freeHeaders % kHeaderSize, 0) << "step " << step;
        ASSERT_LE(freeHeaders / kHeaderSize, static_cast<s64>(live.size()) + 1) << "step " << step;
    }
}

// The placement rule, from the live blocks alone: free blocks merge, so they are the
// gaps between live ones. From the bottom, the lowest gap of the smallest size class
// (payload sizes [2^k, 2^(k+1)) granules) that holds the request at its alignment,
// payload at its lowest aligned address; from the top, the highest gap that holds it,
// payload at its highest aligned address. Classes below the request's are never searched.
class PlacementModel {
public:
    PlacementModel(u8* areaStart, u8* areaEnd) : m_areaStart(areaStart), m_areaEnd(areaEnd) {}

    u8* expected(u32 request, int alignment) const {
        const u32 size = (std::max(request, 1u) + 31) / 32 * 32;
        const std::uintptr_t align = std::max<u32>(32, std::abs(alignment));
        u8* best = nullptr;
        u32 bestClass = 0;
        for (const auto& [payload, room] : gaps()) {
            if (room < size || classOf(room) < classOf(size)) {
                continue;
            }
            const std::uintptr_t start = addressOf(payload);
            const std::uintptr_t at = alignment < 0 ? (start + room - size) & ~(align - 1)
                                                    : (start + align - 1) & ~(align - 1);
            if (at < start || at + size > start + room) {
                continue;
            }
            const bool better =
                best == nullptr || (alignment < 0 ? payload > best : classOf(room) < bestClass);
            if (better) {
                best = payload + (at - start);
                bestClass = classOf(room);
            }
        }
        return best;
    }

    void allocated(u8* payload, u32 usable) { m_live[payload] = usable; }
    void released(u8* payload) { m_live.erase(payload); }
    std::size_t liveCount() const { return m_live.size(); }
    u8* liveBlock(std::size_t index) const { return std::next(m_live.begin(), index)->first; }

private:
    static u32 classOf(u32 size) { return std::min<u32>(std::bit_width(size / 32), 19); }

    // Payload start and size of each gap, lowest first.
    std::vector<std::pair<u8*, u32>> gaps() const {
        std::vector<std::pair<u8*, u32>> found;
        u8* at = m_areaStart;
        for (const auto& [payload, size] : m_live) {
            if (payload - kHeaderSize > at) {
                found.emplace_back(at + kHeaderSize,
                                   static_cast<u32>(payload - at) - 2 * kHeaderSize);
            }
            at = payload + size;
        }
        if (at < m_areaEnd) {
            found.emplace_back(at + kHeaderSize, static_cast<u32>(m_areaEnd - at) - kHeaderSize);
        }
        return found;
    }

    u8* const m_areaStart;
    u8* const m_areaEnd;
    std::map<u8*, u32> m_live; // payload and usable size
};

// A random trace: each step frees a random live block (always once `liveLimit` are live,
// else `freePercent` of the time) or asks for `requestSize` bytes at one of the alignments.
struct Trace {
    int steps;
    u32 freePercent;
    std::size_t liveLimit;
    std::function<u32(std::mt19937&)> requestSize;
    std::vector<int> alignments;
};

class ExpHeapPlacementTest : public ExpHeapTest {
protected:
    // Every address the heap returns is the one the model names.
    void replay(const Trace& trace) {
        u8* const areaStart = alloc(32) - kHeaderSize;
        release(areaStart + kHeaderSize);
        PlacementModel model(areaStart, bufferEnd());
        std::mt19937 random(77);
        for (int step = 0; step < trace.steps; ++step) {
            const std::size_t live = model.liveCount();
            if (live != 0 && (live >= trace.liveLimit || random() % 100 < trace.freePercent)) {
                u8* const victim = model.liveBlock(random() % live);
                release(victim);
                model.released(victim);
                continue;
            }
            const u32 request = trace.requestSize(random);
            const int alignment = trace.alignments[random() % trace.alignments.size()];
            MEMFlushQuarantineForExpHeap(m_heap);
            u8* const want = model.expected(request, alignment);
            u8* const block = alloc(request, alignment);
            ASSERT_EQ(block, want)
                << "step " << step << ", " << request << " bytes at " << alignment;
            if (block != nullptr) {
                model.allocated(block, MEMGetSizeForMBlockExpHeap(block));
            }
        }
    }
};

TEST_F(ExpHeapPlacementTest, ManyFreeBlocksStillGiveTheBlockThePolicyNames) {
    replay({3000,
            40,
            SIZE_MAX,
            [](std::mt19937& random) { return 1 + random() % (random() % 8 == 0 ? 9000 : 700); },
            {32, 32, 32, 64, 256, 4096, -32, -4096}});
}

TEST_F(ExpHeapPlacementTest, ReplacingRandomBlocksOfLogUniformSizesKeepsThePolicy) {
    // Sizes spread evenly over orders of magnitude, as the allocator benchmark asks for
    // them, with a fixed number live: free blocks split and merge across classes.
    replay({20000,
            0,
            40,
            [](std::mt19937& random) {
                return static_cast<u32>(std::exp(
                    std::uniform_real_distribution(std::log(16.0), std::log(16384.0))(random)));
            },
            {32}});
}

TEST_F(ExpHeapTest, ClearOptionZeroesEveryAllocation) {
    createHeap(MEM_HEAP_OPT_0_CLEAR);
    u8* const dirty = alloc(256);
    std::memset(dirty, 0xab, 256);
    release(dirty);
    MEMFlushQuarantineForExpHeap(m_heap);
    u8* const block = alloc(256);
    ASSERT_EQ(block, dirty);
    EXPECT_TRUE(allBytesAre(block, MEMGetSizeForMBlockExpHeap(block), 0));
}

TEST_F(ExpHeapTest, AllocatorServesAlignedBlocksFromItsHeap) {
    MEMAllocator allocator;
    MEMInitAllocatorForExpHeap(&allocator, m_heap, 64);
    u8* const block = static_cast<u8*>(MEMAllocFromAllocator(&allocator, 100));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(addressOf(block) % 64, 0u);
    EXPECT_GT(block, m_buffer.get());
    EXPECT_LT(block, bufferEnd());
    MEMFreeToAllocator(&allocator, block);
    EXPECT_EQ(settledFreeSize(), m_capacity);
}

TEST_F(ExpHeapTest, InvalidArgumentsAreReportedAndGiveSafeResults) {
    u8* const live = alloc(128);
    std::memset(live, 0, 128);
    u8* const freedFirst = alloc(64);
    u8* const freed = alloc(64);
    alloc(64);
    u8* const mergedUp = alloc(64);
    u8* const swallowed = alloc(64);
    release(freedFirst);
    release(freed);
    release(swallowed);
    release(mergedUp);
    MEMFlushQuarantineForExpHeap(m_heap);
    int outside = 0;
    MEMAllocator orphan;
    MEMInitAllocatorForExpHeap(&orphan, nullptr, 32);
    struct Case {
        const char* name;
        std::function<bool()> refused;
        const char* report;
    };
    const std::vector<Case> cases{
        {"alloc on null heap", [] { return !MEMAllocFromExpHeapEx(nullptr, 32, 32); },
         "invalid heap"},
        {"alignment 3", [&] { return !alloc(32, 3); }, "invalid alignment"},
        {"alignment 0", [&] { return !alloc(32, 0); }, "invalid alignment"},
        {"alignment 48", [&] { return !alloc(32, 48); }, "invalid alignment"},
        {"free null", [&] { return refusesFree(nullptr); }, "not a live block"},
        {"free inside payload", [&] { return refusesFree(live + 32); }, "not a live block"},
        {"free outside heap", [&] { return refusesFree(&outside); }, "not a live block"},
        {"double free", [&] { return refusesFree(freed); }, "not a live block"},
        {"double free of a block merged from above", [&] { return refusesFree(swallowed); },
         "not a live block"},
        {"double free of a merged block", [&] { return refusesFree(mergedUp); },
         "not a live block"},
        {"size of null", [] { return MEMGetSizeForMBlockExpHeap(nullptr) == 0; }, "not a live"},
        {"size inside payload", [&] { return MEMGetSizeForMBlockExpHeap(live + 32) == 0; },
         "not a live"},
        {"free size of null heap", [] { return MEMGetTotalFreeSizeForExpHeap(nullptr) == 0; },
         "invalid heap"},
        {"create over null", [] { return !MEMCreateExpHeapEx(nullptr, 4096, 0); }, "cannot hold"},
        {"create too small", [&] { return !MEMCreateExpHeapEx(&outside, sizeof outside, 0); },
         "cannot hold"},
        {"destroy null heap", [] { return !MEMDestroyExpHeap(nullptr); }, "invalid heap"},
        {"null allocator", [] { return !MEMAllocFromAllocator(nullptr, 32); }, "invalid allocator"},
        {"allocator without heap", [&] { return !MEMAllocFromAllocator(&orphan, 32); },
         "invalid heap"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(test.refused());
        EXPECT_NE(::testing::internal::GetCapturedStderr().find(test.report), std::string::npos);
    }
    EXPECT_EQ(MEMGetSizeForMBlockExpHeap(live), 128u);
}

#ifndef MEM_TEST_SANITIZED
// (The sanitizer build refuses any header that is not poisoned.)
TEST_F(ExpHeapTest, PayloadBytesCopiedFromAHeaderDoNotMakeABlock) {
    u8* const half = alloc(kHeapSize / 2);
    u8* const host = alloc(1024);
    // A live block's own header, whose block would run past the area from here.
    std::memcpy(host, half - kHeaderSize, kHeaderSize);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(refusesFree(host + kHeaderSize));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("not a live block"), std::string::npos);
}
#endif

TEST_F(ExpHeapTest, ThreadsSharingAHeapKeepTheirBlocksIntact) {
    auto worker = [this](u8 id) {
        std::mt19937 random(id);
        std::vector<u8*> mine;
        for (int step = 0; step < 2000; ++step) {
            if (mine.size() < 16 && random() % 2 == 0) {
                if (u8* block = alloc(1 + random() % 512)) {
                    std::memset(block, id, MEMGetSizeForMBlockExpHeap(block));
                    mine.push_back(block);
                }
            } else if (!mine.empty()) {
                u8* const block = mine.back();
                EXPECT_TRUE(allBytesAre(block, MEMGetSizeForMBlockExpHeap(block), id));
                release(block);
                mine.pop_back();
            }
        }
        std::for_each(mine.begin(), mine.end(), [this](u8* block) { release(block); });
    };
    std::vector<std::thread> threads;
    for (u8 id = 1; id <= 4; ++id) {
        threads.emplace_back(worker, id);
    }
    std::for_each(threads.begin(), threads.end(), [](std::thread& thread) { thread.join(); });
    EXPECT_EQ(settledFreeSize(), m_capacity);
}

#ifdef MEM_TEST_SANITIZED

TEST_F(ExpHeapTest, OnlyLivePayloadsAreAddressable) {
    u8* const block = alloc(100);
    const u32 usable = MEMGetSizeForMBlockExpHeap(block);
    EXPECT_EQ(__asan_region_is_poisoned(block, usable), nullptr);
    EXPECT_TRUE(__asan_address_is_poisoned(block - 1));
    EXPECT_TRUE(__asan_address_is_poisoned(block + usable));
    EXPECT_TRUE(__asan_address_is_poisoned(bufferEnd() - 1));
    release(block);
    EXPECT_TRUE(__asan_address_is_poisoned(block));
}

TEST_F(ExpHeapTest, QuarantinedBlocksCountAsUsedAndAreNotReused) {
    u8* const block = alloc(100);
    release(block);
    EXPECT_LT(MEMGetTotalFreeSizeForExpHeap(m_heap), m_capacity);
    EXPECT_NE(alloc(100), block);
}

u8 readByte(const void* at) {
    return *static_cast<const volatile u8*>(at);
}

using ExpHeapDeathTest = ExpHeapTest;

TEST_F(ExpHeapDeathTest, AccessToFreedBlockOrPastPayloadIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    u8* const block = alloc(64);
    EXPECT_DEATH(readByte(block + MEMGetSizeForMBlockExpHeap(block)), "use-after-poison");
    release(block);
    EXPECT_DEATH(readByte(block), "use-after-poison|heap-use-after-free");
}

#endif

} // namespace
