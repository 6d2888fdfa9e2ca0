// The tracked allocator against the C library's on one mixed workload: 2,000 live
// blocks of 16 bytes to 64 KiB (log-uniform sizes), each step freeing one block at
// random and allocating another in its place.
#include <kelvo/platform/kmemory.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>

namespace {

constexpr int kLiveBlocks = 2000;
constexpr int kSteps = 8192;

struct Workload {
    std::array<u32, kSteps> sizes;
    std::array<u32, kSteps> slots;
};

const Workload& MixedWorkload() {
    static const Workload workload = [] {
        Workload made{};
        std::mt19937 random(1234);
        std::uniform_real_distribution<double> logSize(std::log(16.0), std::log(65536.0));
        std::uniform_int_distribution<u32> slot(0, kLiveBlocks - 1);
        for (int i = 0; i < kSteps; ++i) {
            made.sizes[i] = static_cast<u32>(std::exp(logSize(random)));
            made.slots[i] = slot(random);
        }
        return made;
    }();
    return workload;
}

template <typename Alloc, typename Free>
void RunMixedWorkload(benchmark::State& state, Alloc alloc, Free release) {
    const Workload& workload = MixedWorkload();
    std::array<void*, kLiveBlocks> live{};
    for (int i = 0; i < kLiveBlocks; ++i) {
        live[i] = alloc(workload.sizes[i]);
    }
    int step = 0;
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

BENCHMARK(BM_TrackedAllocator);
BENCHMARK(BM_SystemAllocator);

} // namespace

BENCHMARK_MAIN();
