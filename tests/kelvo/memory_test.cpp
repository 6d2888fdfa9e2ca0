// The tracked allocator: counters, call-site totals, alignment, reallocation, the
// out-of-memory report, freed blocks held for reuse and use-after-free detection in the
// sanitizer build.
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>

#include <console/mem.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRACKED_HEAP_UNDER_ASAN 1
#endif
#endif

s32 NoneSiteSize() {
    return FindEntry("none", "none", 0)->size;
}

TEST(TrackedMemoryTest, CountersAndSiteTotalReturnAfterAllocReallocFree) {
    const kMemStats before = kPlatform_GetMemStats();
    const s32 siteBefore = NoneSiteSize();
    void* block = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 100);
    EXPECT_EQ(NoneSiteSize(), siteBefore + 100);
    block = kPlatform_ReleaseRealloc(K_MEM_TAG_GENERAL, block, 5000);
    EXPECT_EQ(kPlatform_GetMemStats().actualSize, before.actualSize + 5000);
    block = kPlatform_ReleaseRealloc(K_MEM_TAG_GENERAL, block, 10);
    kPlatform_ReleaseFree(block);
    const kMemStats after = kPlatform_GetMemStats();
    EXPECT_EQ(after.actualSize, before.actualSize);
    EXPECT_EQ(NoneSiteSize(), siteBefore);
    EXPECT_EQ(after.numAllocs, before.numAllocs);
    EXPECT_EQ(after.totalAllocs - before.totalAllocs, 1);
    EXPECT_EQ(after.totalReallocs - before.totalReallocs, 2);
    EXPECT_EQ(after.totalFrees - before.totalFrees, 1);
    EXPECT_GE(after.actualPeak, before.actualSize + 5000);
}

TEST(TrackedMemoryTest, FreeingNullCountsAFreeAndReleasesNothing) {
    const kMemStats before = kPlatform_GetMemStats();
    kPlatform_ReleaseFree(nullptr);
    const kMemStats after = kPlatform_GetMemStats();
    EXPECT_EQ(after.numAllocs, before.numAllocs - 1);
    EXPECT_EQ(after.totalFrees, before.totalFrees + 1);
    EXPECT_EQ(after.actualSize, before.actualSize);
}

TEST(TrackedMemoryTest, ReallocToZeroFreesAndReallocOfNullAllocates) {
    const kMemStats before = kPlatform_GetMemStats();
    void* block = kPlatform_ReleaseRealloc(K_MEM_TAG_GENERAL, nullptr, 64);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, before.numAllocs + 1);
    EXPECT_EQ(kPlatform_ReleaseRealloc(K_MEM_TAG_GENERAL, block, 0), nullptr);
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, before.numAllocs);
    EXPECT_EQ(kPlatform_GetMemStats().actualSize, before.actualSize);
}

TEST(TrackedMemoryTest, PayloadsAreAlignedAndSurviveReallocation) {
    const u32 sizes[] = {0, 1, 31, 32, 33, 1000, 65536};
    for (u32 size : sizes) {
        u8* block = static_cast<u8*>(kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, size));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 32, 0u) << size;
        for (u32 i = 0; i < size; ++i) {
            block[i] = static_cast<u8>(i * 7);
        }
        block = static_cast<u8*>(kPlatform_ReleaseRealloc(K_MEM_TAG_GENERAL, block, size * 2 + 64));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 32, 0u) << size;
        for (u32 i = 0; i < size; ++i) {
            ASSERT_EQ(block[i], static_cast<u8>(i * 7)) << size;
        }
        kPlatform_ReleaseFree(block);
    }
}

TEST(TrackedMemoryTest, NewAndDeleteGoThroughTheTrackedAllocator) {
    const kMemStats before = kPlatform_GetMemStats();
    auto* values = new std::vector<int>(1000, 7);
    EXPECT_GT(kPlatform_GetMemStats().actualSize, before.actualSize + 4000);
    delete values;
    EXPECT_EQ(kPlatform_GetMemStats().actualSize, before.actualSize);
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, before.numAllocs);
}

TEST(TrackedMemoryTest, FullCallSiteTableSharesItsLastEntry) {
    TrackEntry* previous = nullptr;
    for (u32 line = 1; line <= 4100; ++line) {
        TrackEntry* entry = FindEntry("many.cpp", "Many", line);
        ASSERT_NE(entry, nullptr);
        if (line > 4000) {
            EXPECT_EQ(entry, previous);
        }
        previous = entry;
    }
    EXPECT_EQ(FindEntry("NONE", "None", 0), FindEntry("none", "none", 0));
}

TEST(TrackedMemoryTest, ConcurrentThreadsKeepCountersConsistent) {
    constexpr int kBlocksPerThread = 2000;
    std::array<std::thread, 4> threads;
    const kMemStats before = kPlatform_GetMemStats();
    for (int t = 0; t < 4; ++t) {
        threads[t] = std::thread([t] {
            std::array<void*, kBlocksPerThread> blocks;
            for (int i = 0; i < kBlocksPerThread; ++i) {
                blocks[i] = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 16 + (i * t) % 500);
                if (i % 3 == 2) {
                    kPlatform_ReleaseFree(blocks[i - 1]);
                    blocks[i - 1] = nullptr;
                }
            }
            for (void* block : blocks) {
                if (block != nullptr) {
                    kPlatform_ReleaseFree(block);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const kMemStats after = kPlatform_GetMemStats();
    EXPECT_EQ(after.actualSize, before.actualSize);
    EXPECT_EQ(after.numAllocs, before.numAllocs);
}

TEST(TrackedMemoryDeathTest, ExhaustionPrintsTheMapNewestFirstAndAsserts) {
    EXPECT_DEATH(
        {
            kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 777);
            kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 999);
            for (;;) {
                kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 1 << 20);
            }
        },
        "Out of memory: none:0 none 1048576 bytes\n-?[0-9]+k allocated\n0k largest free\n"
        "Allocation Map\n(.|\n)*\n999\nnone\n0\nnone\n[0-9]+\n777\nnone\n0\nnone\n(.|\n)*"
        "Assertion : 0\n");
}

TEST(TrackedMemoryDeathTest, AReusedFreedBlockStillComesFirstInTheMap) {
    EXPECT_DEATH(
        {
            void* first = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 555);
            kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 666);
            kPlatform_ReleaseFree(first);
            kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 555); // takes the first one's block
            for (;;) {
                kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 1 << 20);
            }
        },
        "Allocation Map\n(.|\n)*\n555\nnone\n0\nnone\n[0-9]+\n666\nnone\n0\nnone\n(.|\n)*"
        "Assertion : 0\n");
}

// Prints as the debug hook does. Its first line, logged on another thread, holds the log until
// the main thread has run out of memory, and then allocates.
class AllocatingLateHook : public Kelvo_lib::kLogHookDebug {
public:
    void Message(long time, int level, int indent, const char* sys, const char* text,
                 bool newLine) override {
        if (!s_held.exchange(true)) {
            while (!s_exhausted) {
                std::this_thread::yield();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100)); // into the report
            const std::string copy(64, 'x');
        }
        kLogHookDebug::Message(time, level, indent, sys, text, newLine);
    }

    static inline std::atomic<bool> s_held{false};
    static inline std::atomic<bool> s_exhausted{false};
};

// The report waits for a line that another thread is logging through a hook that allocates,
// where the two threads would otherwise each hold the lock the other waits for.
TEST(TrackedMemoryDeathTest, ExhaustionWaitsForAnotherThreadsLineWhoseHookAllocates) {
    EXPECT_DEATH(
        {
            alarm(10); // a deadlock ends the run without the report
            static AllocatingLateHook hook;
            kLog->Hook(&hook);
            std::thread logger([] { kLogFmt("a line from another thread\n"); });
            while (!AllocatingLateHook::s_held) {
                std::this_thread::yield();
            }
            AllocatingLateHook::s_exhausted = true;
            for (;;) {
                kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 1 << 20);
            }
        },
        "a line from another thread\n(.|\n)*Out of memory: none:0 none 1048576 bytes\n");
}

// Small blocks freed lately may be held back for reuse; the heap gets them back before an
// allocation would fail.
TEST(TrackedMemoryTest, FreedSmallBlocksLeaveRoomForTheLargestAllocation) {
    const MEMHeapHandle heap = static_cast<MEMHeapHandle>(MyDemoAllocator1.heap);
    std::vector<void*> blocks;
    blocks.reserve(2000);
    const u32 largest = MEMGetAllocatableSizeForExpHeapEx(heap, 32);
    for (u32 size = 16; blocks.size() < 2000; size = size % 4000 + 48) {
        blocks.push_back(kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, size));
    }
    for (void* block : blocks) {
        kPlatform_ReleaseFree(block);
    }
    void* const whole = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, largest - 32);
    EXPECT_NE(whole, nullptr);
    kPlatform_ReleaseFree(whole);
}

// A cache full of blocks of one size makes room for the sizes freed since, so that a block
// of the first size comes from the heap again rather than from blocks held for it for good.
TEST(TrackedMemoryTest, BlocksOfASizeNoLongerAskedForLeaveTheFullCache) {
    const MEMHeapHandle heap = static_cast<MEMHeapHandle>(MyDemoAllocator1.heap);
    const auto allocateThenFree = [](u32 size, std::size_t count) {
        std::vector<void*> blocks(count);
        for (void*& block : blocks) {
            block = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, size);
        }
        for (void* block : blocks) {
            kPlatform_ReleaseFree(block);
        }
    };
    allocateThenFree(4000, 200);
    allocateThenFree(32, 20000);
    const u32 freeBefore = MEMGetTotalFreeSizeForExpHeap(heap);
    void* const block = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 4000);
    EXPECT_LE(MEMGetTotalFreeSizeForExpHeap(heap) + 4000, freeBefore);
    kPlatform_ReleaseFree(block);
}

#ifndef TRACKED_HEAP_UNDER_ASAN
// A freed block of up to 16 KiB, header included, waits for the next request of its size,
// which takes it without the heap; a larger one goes straight back to the heap.
TEST(TrackedMemoryTest, FreedBlocksUpTo16KiBAreReusedAndLargerOnesReturnToTheHeap) {
    const MEMHeapHandle heap = static_cast<MEMHeapHandle>(MyDemoAllocator1.heap);
    for (const u32 size : {12000u, 16000u}) {
        void* const block = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, size);
        kPlatform_ReleaseFree(block);
        const u32 freeWhileCached = MEMGetTotalFreeSizeForExpHeap(heap);
        EXPECT_EQ(kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, size), block) << size;
        EXPECT_EQ(MEMGetTotalFreeSizeForExpHeap(heap), freeWhileCached) << size;
        kPlatform_ReleaseFree(block);
    }
    void* const large = kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, 16 * 1024);
    const u32 freeWhileLive = MEMGetTotalFreeSizeForExpHeap(heap);
    kPlatform_ReleaseFree(large);
    EXPECT_GE(MEMGetTotalFreeSizeForExpHeap(heap), freeWhileLive + 16 * 1024);
}
#endif

#ifdef TRACKED_HEAP_UNDER_ASAN
struct Probe {
    int value = 1;
};

TEST(TrackedMemoryDeathTest, SanitizerReportsUseAfterFreeOfNewedObject) {
    EXPECT_DEATH(
        {
            Probe* probe = new Probe;
            delete probe;
            volatile int value = probe->value;
            (void)value;
        },
        "use-after-poison|heap-use-after-free");
}
#endif

} // namespace
