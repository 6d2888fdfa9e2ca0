// One 640 x 480 movie frame: decoded into the graphics processor's Y, U and V textures,
// drawn alone through the four-stage texture environment, and both; the decode against
// libjpeg-turbo's own decode of the same JPEG into the same Y, U and V planes (row by row,
// untiled), whose bytes ours must equal or the decode reports an error, and the draw
// against memcpy of the drawn frame's bytes.
#include "support/comparison_main.h"
#include "thpdraw.h"

#include <kelvo/movie/thpfile.h>
#include <kelvo/platform/kplatform.h>

#include <console/thp.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr u32 kWidth = 640;
constexpr u32 kHeight = 480;

// A frame like the start-up movies': a gradient with rounded light squares on it.
void DrawFrame(u32, u8* rgb) {
    for (u32 y = 0; y < kHeight; ++y) {
        for (u32 x = 0; x < kWidth; ++x, rgb += 3) {
            const bool cell =
                (x % 64) > 8 && (y % 64) > 8 && std::hypot(x % 64 - 36.0, y % 64 - 36.0) < 34;
            rgb[0] = cell ? 250 : static_cast<u8>(27 + y / 12);
            rgb[1] = cell ? 247 : static_cast<u8>(42 + y / 16);
            rgb[2] = cell ? 240 : static_cast<u8>(74 + x / 20);
        }
    }
}

// The frame's JPEG, as a THP file written by the movie writer holds it.
const std::vector<u8>& FrameJpeg() {
    static const std::vector<u8> jpeg = [] {
        THPMovieSource source{};
        source.width = kWidth;
        source.height = kHeight;
        source.frameRate = 25.0f;
        source.numFrames = 1;
        source.jpegQuality = 60;
        source.drawFrame = DrawFrame;
        std::vector<u8> file;
        THPWriteMovie(source, &file);
        THPFileInfo info{};
        std::vector<u8> picture;
        if (THPReadFileInfo(file.data(), static_cast<u32>(file.size()), &info)) {
            THPForEachFrame(file.data(), static_cast<u32>(file.size()), info,
                            [&](u32, const THPFrameView& view) {
                                picture.assign(view.compData[0],
                                               view.compData[0] + view.compSize[0]);
                                return false;
                            });
        }
        return picture;
    }();
    return jpeg;
}

struct Planes {
    std::vector<u8> y = std::vector<u8>(kWidth * kHeight);
    std::vector<u8> u = std::vector<u8>(kWidth * kHeight / 4);
    std::vector<u8> v = std::vector<u8>(kWidth * kHeight / 4);
    u8 work[THP_WORK_SIZE];
};

bool Decode(const std::vector<u8>& jpeg, Planes& planes) {
    return THPVideoDecode(jpeg.data(), static_cast<u32>(jpeg.size()), kWidth, kHeight,
                          planes.y.data(), planes.u.data(), planes.v.data(), planes.work) == 0;
}

// libjpeg-turbo's raw decode of the JPEG straight into row-major planes, a 4:2:0 row of
// blocks (16 lines of Y, 8 of U and V) a call.
void DecodeWithLibjpegTurbo(const std::vector<u8>& jpeg, Planes& planes) {
    constexpr u32 kLumaRows = 16;
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.raw_data_out = TRUE;
    jpeg_start_decompress(&info);
    JSAMPROW y[kLumaRows], u[kLumaRows / 2], v[kLumaRows / 2];
    JSAMPARRAY rows[3] = {y, u, v};
    while (info.output_scanline < kHeight) {
        const u32 top = info.output_scanline;
        for (u32 row = 0; row < kLumaRows; ++row) {
            y[row] = &planes.y[(top + row) * kWidth];
        }
        for (u32 row = 0; row < kLumaRows / 2; ++row) {
            u[row] = &planes.u[(top / 2 + row) * (kWidth / 2)];
            v[row] = &planes.v[(top / 2 + row) * (kWidth / 2)];
        }
        jpeg_read_raw_data(&info, rows, kLumaRows);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
}

// A plane of I8 tiles (8 x 4 texels each) laid out row by row.
std::vector<u8> Untiled(const std::vector<u8>& tiles, u32 width, u32 height) {
    std::vector<u8> rows(width * height);
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            rows[y * width + x] = tiles[(y / 4 * (width / 8) + x / 8) * 32 + y % 4 * 8 + x % 8];
        }
    }
    return rows;
}

// Whether our decode's planes hold exactly the bytes of libjpeg-turbo's.
bool DecodesAsLibjpegTurbo(const std::vector<u8>& jpeg) {
    Planes ours, theirs;
    if (!Decode(jpeg, ours)) {
        return false;
    }
    DecodeWithLibjpegTurbo(jpeg, theirs);
    return Untiled(ours.y, kWidth, kHeight) == theirs.y &&
           Untiled(ours.u, kWidth / 2, kHeight / 2) == theirs.u &&
           Untiled(ours.v, kWidth / 2, kHeight / 2) == theirs.v;
}

void BM_THPVideoDecode(benchmark::State& state) {
    const std::vector<u8>& jpeg = FrameJpeg();
    if (!DecodesAsLibjpegTurbo(jpeg)) {
        state.SkipWithError("the decoded planes differ from libjpeg-turbo's");
        return;
    }
    Planes planes;
    for (auto _ : state) {
        Decode(jpeg, planes);
        benchmark::DoNotOptimize(planes.y.data());
    }
}
BENCHMARK(BM_THPVideoDecode)->Unit(benchmark::kMillisecond);

void Draw(Planes& planes) {
    THPGXYuv2RgbSetup(s_curMode);
    THPGXYuv2RgbDraw(planes.y.data(), planes.u.data(), planes.v.data(), 0, 0, kWidth, kHeight,
                     kWidth, kHeight);
    THPGXRestore();
    GXDrawDone();
}

void BM_THPDecodeAndDraw(benchmark::State& state) {
    kPlatform_Init();
    const std::vector<u8>& jpeg = FrameJpeg();
    Planes planes;
    for (auto _ : state) {
        Decode(jpeg, planes);
        Draw(planes);
    }
}
BENCHMARK(BM_THPDecodeAndDraw)->Unit(benchmark::kMillisecond);

void BM_THPDraw(benchmark::State& state) {
    kPlatform_Init();
    Planes planes;
    Decode(FrameJpeg(), planes);
    for (auto _ : state) {
        Draw(planes);
    }
}
BENCHMARK(BM_THPDraw)->Unit(benchmark::kMillisecond);

// Baseline of the draw: copying the frame's 32-bit pixels once.
void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<u32> from(kWidth * kHeight, 0xFF102030u);
    std::vector<u32> to(kWidth * kHeight);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size() * sizeof(u32));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

// Baseline of the decode: libjpeg-turbo producing the same planes.
void BM_LibjpegTurboDecodePlanes(benchmark::State& state) {
    const std::vector<u8>& jpeg = FrameJpeg();
    Planes planes;
    for (auto _ : state) {
        DecodeWithLibjpegTurbo(jpeg, planes);
        benchmark::DoNotOptimize(planes.y.data());
    }
}
BENCHMARK(BM_LibjpegTurboDecodePlanes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"movie frame decode to Y, U, V planes", "BM_THPVideoDecode", "THP",
          "BM_LibjpegTurboDecodePlanes", "libjpeg-turbo"},
         {"movie frame draw", "BM_THPDraw", "YUV to RGB", "BM_MemcpyFrame", "memcpy"}});
}
