// The tracked allocator against the C library's on mixed workloads: a number of
// live blocks of log-uniform sizes from 16 bytes up (2,000 of up to 64 KiB, 50,000
// of up to 512 bytes), each step freeing one block at random and allocating
// another in its place.
#include "support/comparison_main.h"

#include <console/os.h>
#include <kelvo/platform/kmemory.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr u32 kSteps = 65536;

// The 2,000 blocks of up to 64 KiB hold some 16 MiB, which would fill the console's first
// arena three quarters: there, on most random traces, chance fragmentation soon leaves no
// hole for a large block, and the run ends out of memory. Twice the room measures the
// allocator rather than exhaustion. The arena is sized before any library's initialisers
// run, as the benchmark library's allocate through the engine.
void SizeArenasForTheWorkload() {
    OSSetArenaSizes(2 * OS_MEM1_ARENA_SIZE, OS_MEM2_ARENA_SIZE);
}
[[gnu::section(".preinit_array"),
  gnu::used]] void (*const s_sizeArenas)() = SizeArenasForTheWorkload;

struct Workload {
    std::vector<u32> sizes; // of the first live blocks, then of each step's
    std::vector<u32> slots; // which live block each step replaces
};

Workload MixedWorkload(u32 liveBlocks, u32 largestSize) {
    Workload made;
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> logSize(std::log(16.0), std::log(largestSize));
    std::uniform_int_distribution<u32> slot(0, liveBlocks - 1);
    for (u32 i = 0; i < std::max(kSteps, liveBlocks); ++i) {
        made.sizes.push_back(static_cast<u32>(std::exp(logSize(random))));
        made.slots.push_back(slot(random));
    }
    return made;
}

// Arguments: live blocks, largest size.
template <typename Alloc, typename Free>
void RunMixedWorkload(benchmark::State& state, Alloc alloc, Free release) {
    const u32 liveBlocks = static_cast<u32>(state.range(0));
    const Workload workload = MixedWorkload(liveBlocks, static_cast<u32>(state.range(1)));
    std::vector<void*> live(liveBlocks);
    for (u32 i = 0; i < liveBlocks; ++i) {
        live[i] = alloc(workload.sizes[i]);
    }
    u32 step = 0;
    for (auto _ : state) {
        void*& block = live[workload.slots[step]];
        release(block);
        block = alloc(workload.sizes[step]);
        benchmark::DoNotOptimize(block);
        step = (step + 1) % kSteps;
    }
    for (void* block : live) {
        release(block);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_TrackedAllocator(benchmark::State& state) {
    RunMixedWorkload(
        state, [](u32 size) { return kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, size); },
        [](void* block) { kPlatform_ReleaseFree(block); });
}

void BM_SystemAllocator(benchmark::State& state) {
    RunMixedWorkload(
        state, [](u32 size) { return std::malloc(size); }, [](void* block) { std::free(block); });
}

BENCHMARK(BM_TrackedAllocator)->Args({2000, 65536})->Args({50000, 512});
BENCHMARK(BM_SystemAllocator)->Args({2000, 65536})->Args({50000, 512});

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"2,000 live blocks, free and allocate", "BM_TrackedAllocator/2000/65536", "tracked",
          "BM_SystemAllocator/2000/65536", "glibc"},
         {"50,000 live blocks, free and allocate", "BM_TrackedAllocator/50000/512", "tracked",
          "BM_SystemAllocator/50000/512", "glibc"}});
}
