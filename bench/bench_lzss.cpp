// LZSSDecode throughput against memcpy of the same output size, on a 512 x 512 ARGB page
// packed by the data tool: a drawn picture (flat areas, gradients and edges, as sprite
// art is) and noise (almost all literals, the eight-literal groups).
#include "support/comparison_main.h"

#include <framework/lzssdecode.h>
#include <sprites/gx_tiles.h>
#include <sprites/lzss_encoder.h>

#include <cstring>
#include <random>

namespace {

constexpr unsigned int kPageSide = 512;

datatool::ArgbImage Picture() {
    datatool::ArgbImage image(kPageSide, kPageSide);
    for (unsigned int y = 0; y < kPageSide; ++y) {
        for (unsigned int x = 0; x < kPageSide; ++x) {
            const int dx = static_cast<int>(x) - 256;
            const int dy = static_cast<int>(y) - 256;
            std::uint32_t argb = 0xFF000000u | (y / 2) << 16 | 0x4080u; // a vertical gradient
            if (dx * dx + dy * dy < 160 * 160) {
                argb = 0xFFF2B632u;
            }
            if ((x / 64 + y / 64) % 5 == 0) {
                argb = 0; // transparent squares
            }
            image.Set(x, y, argb);
        }
    }
    return image;
}

datatool::ArgbImage Noise() {
    datatool::ArgbImage image(kPageSide, kPageSide);
    std::mt19937 random(7);
    for (std::uint32_t& pixel : image.pixels) {
        pixel = random();
    }
    return image;
}

struct Page {
    std::vector<unsigned char> plain;
    std::vector<unsigned char> packed;
};

Page Pack(const datatool::ArgbImage& image) {
    Page page;
    page.plain = datatool::TileRGBA8(image);
    page.packed = datatool::LZSSEncode(page.plain);
    return page;
}

void Decode(benchmark::State& state, const Page& page) {
    std::vector<unsigned char> out(page.plain.size());
    for (auto _ : state) {
        Kelvo_lib::LZSSDecode(out.data(), static_cast<unsigned int>(out.size()), page.packed.data(),
                              static_cast<unsigned int>(page.packed.size()));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
    state.counters["ratio"] = static_cast<double>(page.packed.size()) / page.plain.size();
}

void BM_LZSSDecodePicture(benchmark::State& state) {
    static const Page page = Pack(Picture());
    Decode(state, page);
}

void BM_LZSSDecodeNoise(benchmark::State& state) {
    static const Page page = Pack(Noise());
    Decode(state, page);
}

void BM_MemcpySameSize(benchmark::State& state) {
    std::vector<unsigned char> in(kPageSide * kPageSide * 4, 0x5A);
    std::vector<unsigned char> out(in.size());
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), in.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size()));
}

BENCHMARK(BM_LZSSDecodePicture);
BENCHMARK(BM_LZSSDecodeNoise);
BENCHMARK(BM_MemcpySameSize);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"512 x 512 picture page", "BM_LZSSDecodePicture", "LZSS", "BM_MemcpySameSize", "memcpy"},
         {"512 x 512 noise page", "BM_LZSSDecodeNoise", "LZSS", "BM_MemcpySameSize", "memcpy"}});
}
