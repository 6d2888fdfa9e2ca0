// The per-frame cost of the picture: the display copy of a full PAL frame (640 x 496
// embedded lines to 526 YUV 4:2:2 lines), with and without the clear that the
// platform's frame end asks for, and VI's conversion of the shown frame to RGB; each
// beside a streaming pass over its bytes, the C library copying the larger of what it
// reads and what it writes.
#include "support/comparison_main.h"

#include <console/gx.h>
#include <console/vi.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr u16 kWidth = 640;
constexpr u16 kEfbHeight = 496;
constexpr u16 kXfbHeight = 526;

// Sets up the PAL copy as the platform does and fills the frame buffer with a pattern.
void SetUpPalCopy() {
    GXInit(nullptr, 0);
    const u32 lines = GXSetDispCopyYScale(GXGetYScaleFactor(kEfbHeight, kXfbHeight));
    GXSetDispCopyDst(kWidth, static_cast<u16>(lines));
    GXSetDispCopySrc(0, 0, kWidth, kEfbHeight);
    GXSetCopyClear(GXColor{30, 60, 90, 0}, 0xFFFFFF);
    for (u32 y = 0; y < kEfbHeight; ++y) {
        for (u32 x = 0; x < kWidth; ++x) {
            GXPokeEFBColorForTest(x, y, GXColor{static_cast<u8>(x), static_cast<u8>(y), 77, 0});
        }
    }
}

void CopyPalFrame(benchmark::State& state, GXBool clear) {
    SetUpPalCopy();
    std::vector<u8> xfb(kWidth * kXfbHeight * 2);
    for (auto _ : state) {
        GXCopyDisp(xfb.data(), clear);
        benchmark::DoNotOptimize(xfb.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kXfbHeight);
}

void BM_CopyDispPalFrame(benchmark::State& state) {
    CopyPalFrame(state, GX_FALSE);
}
void BM_CopyDispPalFrameAndClear(benchmark::State& state) {
    CopyPalFrame(state, GX_TRUE);
}

void BM_ConvertShownPalFrameToRGB(benchmark::State& state) {
    SetUpPalCopy();
    std::vector<u8> xfb(kWidth * kXfbHeight * 2);
    GXCopyDisp(xfb.data(), GX_FALSE);
    GXRenderModeObj mode{};
    GXAdjustForOverscan(&GXPal528IntDf, &mode, 0, 16);
    mode.xfbHeight = kXfbHeight;
    VIInit();
    VIConfigure(&mode);
    VISetNextFrameBuffer(xfb.data());
    VISetBlack(FALSE);
    VIFlush();
    VIWaitForRetrace();
    std::vector<u8> rgb(kWidth * kXfbHeight * 3);
    for (auto _ : state) {
        VIConvertShownFrameToRGB(rgb.data(), kWidth * 3, static_cast<u32>(rgb.size()));
        benchmark::DoNotOptimize(rgb.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kXfbHeight);
}

// The baselines: a plain copy of the embedded frame (640 x 496 words), which the display
// copy reads, and of the RGB frame (640 x 526 x 3 bytes), which the conversion writes.
void CopyBytes(benchmark::State& state, size_t bytes) {
    std::vector<u8> source(bytes, 0x5A);
    std::vector<u8> destination(bytes);
    for (auto _ : state) {
        std::memcpy(destination.data(), source.data(), bytes);
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kXfbHeight);
}
void BM_MemcpyEmbeddedFrame(benchmark::State& state) {
    CopyBytes(state, size_t{kWidth} * kEfbHeight * 4);
}
void BM_MemcpyRgbFrame(benchmark::State& state) {
    CopyBytes(state, size_t{kWidth} * kXfbHeight * 3);
}

} // namespace

BENCHMARK(BM_CopyDispPalFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyDispPalFrameAndClear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertShownPalFrameToRGB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyEmbeddedFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyRgbFrame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return bench::RunWithComparisons(argc, argv,
                                     {{"display copy", "BM_CopyDispPalFrame", "GX",
                                       "BM_MemcpyEmbeddedFrame", "memcpy of what it reads"},
                                      {"XFB to RGB", "BM_ConvertShownPalFrameToRGB", "VI",
                                       "BM_MemcpyRgbFrame", "memcpy of what it writes"}});
}
