// One 640 x 480 movie frame: decoded into the graphics processor's Y, U and V textures,
// drawn alone through the four-stage texture environment, and both, against libjpeg-turbo's
// own decode of the same JPEG to RGB and against memcpy of the drawn frame's bytes.
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

void BM_THPVideoDecode(benchmark::State& state) {
    const std::vector<u8>& jpeg = FrameJpeg();
    Planes planes;
    for (auto _ : state) {
        if (!Decode(jpeg, planes)) {
            state.SkipWithError("decode failed");
            return;
        }
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

// Baseline: libjpeg-turbo's ordinary decode of the same JPEG into RGB rows.
void BM_LibjpegTurboDecodeRGB(benchmark::State& state) {
    const std::vector<u8>& jpeg = FrameJpeg();
    std::vector<u8> rgb(kWidth * kHeight * 3);
    for (auto _ : state) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr error{};
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, jpeg.data(), jpeg.size());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = rgb.data() + info.output_scanline * kWidth * 3;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(rgb.data());
    }
}
BENCHMARK(BM_LibjpegTurboDecodeRGB)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"movie frame decode", "BM_THPVideoDecode", "THP", "BM_LibjpegTurboDecodeRGB",
          "libjpeg-turbo"},
         {"movie frame draw", "BM_THPDraw", "YUV to RGB", "BM_MemcpyFrame", "memcpy"}});
}
