// datatool movie OUT.thp --style N --seconds S: one of the five start-up movies, drawn
// here frame by frame in the game's look (a grid of paper cells popping in over night blue,
// the style's pattern lit in its accent colour, a fade to black at the end) with a soft
// two-note chime, written as a 640 x 448 THP movie at 25 frames a second.
#include "commands.h"

#include <kelvo/movie/thpfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace datatool {
namespace {

constexpr u32 kWidth = 640;
constexpr u32 kHeight = 448;
constexpr f32 kFrameRate = 25.0f;
constexpr int kGrid = 5;
constexpr u32 kNightBlue = 0x1B2A4A;
constexpr u32 kSlate = 0x2E4272;
constexpr u32 kPaper = 0xFAF7F0;
constexpr u32 kAccents[] = {0xFFD23F, 0x3BB273, 0x4D9DE0, 0xE15554, 0xFFD23F};
// Each style's lit cells, one bit per cell, row by row from the top left.
constexpr u32 kPatterns[] = {0x1041041, 0x0427C84, 0x0E8C62E, 0x1555555, 0x1151151};

struct Style {
    u32 accent;
    u32 pattern;
    f32 seconds;
};

u32 Blend(u32 a, u32 b, f32 t) {
    u32 out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const f32 mixed = ((a >> shift) & 0xFF) * (1.0f - t) + ((b >> shift) & 0xFF) * t;
        out |= static_cast<u32>(std::lround(mixed)) << shift;
    }
    return out;
}

void Put(u8* rgb, u32 x, u32 y, u32 colour) {
    u8* at = rgb + (static_cast<size_t>(y) * kWidth + x) * 3;
    at[0] = static_cast<u8>(colour >> 16);
    at[1] = static_cast<u8>(colour >> 8);
    at[2] = static_cast<u8>(colour);
}

// A rounded square centred at (cx, cy) of side `side` (radius a sixth of it).
void FillCell(u8* rgb, f32 cx, f32 cy, f32 side, u32 colour) {
    const f32 half = side / 2;
    const f32 radius = side / 6;
    for (int y = static_cast<int>(cy - half); y < static_cast<int>(cy + half); ++y) {
        for (int x = static_cast<int>(cx - half); x < static_cast<int>(cx + half); ++x) {
            const f32 dx = std::fmax(std::fabs(x + 0.5f - cx) - (half - radius), 0.0f);
            const f32 dy = std::fmax(std::fabs(y + 0.5f - cy) - (half - radius), 0.0f);
            if (dx * dx + dy * dy <= radius * radius && x >= 0 && y >= 0 && x < int(kWidth) &&
                y < int(kHeight)) {
                Put(rgb, static_cast<u32>(x), static_cast<u32>(y), colour);
            }
        }
    }
}

void DrawFrame(const Style& style, u32 frame, u8* rgb) {
    const f32 t = frame / kFrameRate;
    const f32 fade = std::fmin(1.0f, std::fmax(0.0f, (style.seconds - t) / 0.5f));
    for (u32 y = 0; y < kHeight; ++y) {
        const u32 background = Blend(kNightBlue, kSlate, 0.35f * y / kHeight);
        for (u32 x = 0; x < kWidth; ++x) {
            Put(rgb, x, y, background);
        }
    }
    constexpr f32 kPitch = 64.0f;
    for (int cell = 0; cell < kGrid * kGrid; ++cell) {
        const f32 start = 0.2f + 0.06f * cell;
        const f32 grow = std::fmin(1.0f, std::fmax(0.0f, (t - start) / 0.25f));
        if (grow <= 0.0f) {
            continue;
        }
        const bool lit = (style.pattern >> (kGrid * kGrid - 1 - cell)) & 1;
        const f32 light = std::fmin(1.0f, std::fmax(0.0f, (t - 2.0f) / 0.5f));
        const u32 colour = lit ? Blend(kPaper, style.accent, light) : kPaper;
        const f32 cx = kWidth / 2.0f + (cell % kGrid - 2) * kPitch;
        const f32 cy = kHeight / 2.0f + (cell / kGrid - 2) * kPitch;
        FillCell(rgb, cx, cy + 2, (kPitch - 10) * grow, Blend(kNightBlue, 0, 0.5f)); // shadow
        FillCell(rgb, cx, cy, (kPitch - 10) * grow, colour);
    }
    for (size_t i = 0; fade < 1.0f && i < static_cast<size_t>(kWidth) * kHeight * 3; ++i) {
        rgb[i] = static_cast<u8>(std::lround(rgb[i] * fade));
    }
}

// Two soft bell notes as the pattern lights, peaking near -6 dBFS, the right a touch softer.
std::vector<s16> Chime(f32 seconds) {
    const u32 count = static_cast<u32>(seconds * THP_SOUND_FREQUENCY);
    std::vector<s16> sound(count * 2, 0);
    const struct { f32 at, hz; } notes[] = {{2.0f, 660.0f}, {2.25f, 990.0f}};
    for (const auto& note : notes) {
        for (u32 i = static_cast<u32>(note.at * THP_SOUND_FREQUENCY); i < count; ++i) {
            const f32 age = static_cast<f32>(i) / THP_SOUND_FREQUENCY - note.at;
            const f32 envelope = std::fmin(1.0f, age / 0.01f) * std::exp(-age * 3.0f);
            const f32 value = 8000.0f * envelope * std::sin(2.0f * M_PI * note.hz * age);
            sound[i * 2] = static_cast<s16>(sound[i * 2] + std::lround(value));
            sound[i * 2 + 1] = static_cast<s16>(sound[i * 2 + 1] + std::lround(value * 0.8f));
        }
    }
    return sound;
}

} // namespace

int RunMovieCommand(int argc, char** argv) {
    int style = -1;
    f32 seconds = 0.0f;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--style") == 0) {
            style = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--seconds") == 0) {
            seconds = static_cast<f32>(std::atof(argv[i + 1]));
        }
    }
    if (argc != 5 || style < 0 || style > 4 || seconds < 1.0f || seconds > 60.0f) {
        std::fprintf(stderr, "movie: OUT.thp --style 0..4 --seconds 1..60\n");
        return 2;
    }
    const Style chosen{kAccents[style], kPatterns[style], seconds};
    THPMovieSource source{};
    source.width = kWidth;
    source.height = kHeight;
    source.frameRate = kFrameRate;
    source.numFrames = static_cast<u32>(std::lround(seconds * kFrameRate));
    source.jpegQuality = 60;
    source.drawFrame = [&](u32 frame, u8* rgb) { DrawFrame(chosen, frame, rgb); };
    source.sndChannels = 2;
    source.sound = Chime(seconds);
    FILE* out = std::fopen(argv[0], "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "movie: cannot write %s\n", argv[0]);
        return 1;
    }
    const bool written = THPWriteMovie(source, [out](const u8* bytes, u32 size) {
        return std::fwrite(bytes, 1, size, out) == size;
    });
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "movie: %s could not be written whole\n", argv[0]);
        std::remove(argv[0]);
        return 1;
    }
    return 0;
}

} // namespace datatool
