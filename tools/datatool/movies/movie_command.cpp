// datatool movie OUT.thp --style N --seconds S: one of the five start-up movies, drawn
// here frame by frame in the game's look and scored as a sting: a grid of paper cells pops in
// over night blue, each with a soft pluck, the style's pattern lights in its accent colour
// with a chime, and the whole grid sways, closes in and breathes over a held chord until it
// fades to black with it, so that every frame moves and sounds. Written as a 640 x 448 THP
// movie at 25 frames a second, its sound as loud as the title music that follows the movies.
#include "commands.h"
#include "option_values.h"

#include <sound/sound_synth.h>

#include <kelvo/movie/thpfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>

namespace datatool {
namespace {

constexpr u32 kWidth = 640;
constexpr u32 kHeight = 448;
constexpr f32 kFrameRate = 25.0f;
constexpr f32 kMinSeconds = 1.0f;
constexpr f32 kMaxSeconds = 60.0f;
constexpr int kGrid = 5;
constexpr int kCells = kGrid * kGrid;
constexpr f32 kPitch = 64.0f;
constexpr f32 kPi = 3.14159265f;
constexpr u32 kNightBlue = 0x1B2A4A;
constexpr u32 kSlate = 0x2E4272;
constexpr u32 kPaper = 0xFAF7F0;
constexpr u32 kAccents[] = {0xFFD23F, 0x3BB273, 0x4D9DE0, 0xE15554, 0xFFD23F};
// Each style's lit cells, one bit per cell, row by row from the top left.
constexpr u32 kPatterns[] = {0x1041041, 0x0427C84, 0x0E8C62E, 0x1555555, 0x1151151};
// Each style's key: the root of its chord, in hertz.
constexpr f32 kRoots[] = {261.63f, 293.66f, 329.63f, 349.23f, 392.0f};
// The timeline, as fractions of the movie: the cells pop in until kPopsEnd, the pattern
// lights from kLightStart; the last kFadeSeconds fade to black.
constexpr f32 kPopsEnd = 0.3f;
constexpr f32 kLightStart = 0.35f;
constexpr f32 kPopSeconds = 0.25f;
constexpr f32 kLightSeconds = 0.4f;
constexpr f32 kFadeSeconds = 0.5f;
constexpr f32 kPeak = 16384.0f; // -6 dBFS
// The sting's loudness, K-weighted as the music's: the movies' sound is mixed in at full
// volume, the title music after them plays at the start-up music level (2 of 5, a channel
// volume of 0.4 that the voices play 14.1 dB down), so the sting takes the cues' -21 LUFS
// less those 14.1 dB. Never louder, though, than the -6 dBFS peak.
constexpr double kLoudness = -35.1;

struct Style {
    u32 accent;
    u32 pattern;
    f32 root;
    f32 seconds;
};

f32 Clamp01(f32 value) {
    return std::fmin(1.0f, std::fmax(0.0f, value));
}

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

f32 PopStart(const Style& style, int cell) {
    return kPopsEnd * style.seconds * cell / kCells;
}

bool IsLit(const Style& style, int cell) {
    return ((style.pattern >> (kCells - 1 - cell)) & 1) != 0;
}

// The lit cells take their colour one after another.
f32 LightStart(const Style& style, int cell) {
    return kLightStart * style.seconds + 0.05f * cell;
}

// A cell's size while it pops in: it overshoots a little and settles.
f32 PopScale(f32 age) {
    const f32 p = Clamp01(age / kPopSeconds);
    return std::sin(p * kPi / 2) * (1.0f + 0.15f * std::sin(p * kPi));
}

f32 Fade(const Style& style, f32 t) {
    return Clamp01((style.seconds - t) / kFadeSeconds);
}

void DrawFrame(const Style& style, u32 frame, u8* rgb) {
    const f32 t = frame / kFrameRate;
    for (u32 y = 0; y < kHeight; ++y) {
        const u32 background = Blend(kNightBlue, kSlate, 0.35f * y / kHeight);
        for (u32 x = 0; x < kWidth; ++x) {
            Put(rgb, x, y, background);
        }
    }
    // The grid sways about the centre and slowly closes in; lit cells breathe.
    const f32 angle = 0.12f * std::sin(2.0f * kPi * t / style.seconds);
    const f32 zoom = 0.88f + 0.12f * t / style.seconds;
    for (int cell = 0; cell < kCells; ++cell) {
        const f32 age = t - PopStart(style, cell);
        if (age < 0.0f) {
            continue;
        }
        const f32 light =
            IsLit(style, cell) ? Clamp01((t - LightStart(style, cell)) / kLightSeconds) : 0.0f;
        const f32 breath = 1.0f + 0.06f * light * std::sin(2.0f * kPi * (t - 0.1f * cell));
        const f32 side = (kPitch - 10) * zoom * PopScale(age) * breath;
        const f32 gx = (cell % kGrid - 2) * kPitch * zoom;
        const f32 gy = (cell / kGrid - 2) * kPitch * zoom;
        const f32 cx = kWidth / 2.0f + gx * std::cos(angle) - gy * std::sin(angle);
        const f32 cy = kHeight / 2.0f + gx * std::sin(angle) + gy * std::cos(angle);
        FillCell(rgb, cx, cy + 2, side, Blend(kNightBlue, 0, 0.5f)); // shadow
        FillCell(rgb, cx, cy, side, Blend(kPaper, style.accent, light));
    }
    const f32 fade = Fade(style, t);
    for (size_t i = 0; fade < 1.0f && i < static_cast<size_t>(kWidth) * kHeight * 3; ++i) {
        rgb[i] = static_cast<u8>(std::lround(rgb[i] * fade));
    }
}

// A note into the stereo mix: a soft rise, then a fall of the time constant.
void AddNote(std::vector<f32>& mix, f32 at, f32 hz, f32 level, f32 attack, f32 decay, f32 pan) {
    const u32 count = static_cast<u32>(mix.size() / 2);
    for (u32 i = static_cast<u32>(at * THP_SOUND_FREQUENCY); i < count; ++i) {
        const f32 age = static_cast<f32>(i) / THP_SOUND_FREQUENCY - at;
        const f32 envelope = std::fmin(1.0f, age / attack) * std::exp(-age / decay);
        if (envelope < 1e-4f && age > attack) {
            break;
        }
        const f32 value = level * envelope * std::sin(2.0f * kPi * hz * age);
        mix[i * 2] += value * (1.0f - pan);
        mix[i * 2 + 1] += value * (1.0f + pan);
    }
}

// The samples rounded at a scale.
SynthSamples Scaled(const std::vector<f32>& mix, f32 scale) {
    SynthSamples sound(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        sound[i] = static_cast<s16>(std::lround(mix[i] * scale));
    }
    return sound;
}

// The sting: a held chord from the first frame, a pluck for each cell that pops in (rising
// through the chord), a chime as the pattern lights; faded out with the picture and brought
// to the loudness of the music after it.
std::vector<s16> Sting(const Style& style) {
    const u32 count = static_cast<u32>(style.seconds * THP_SOUND_FREQUENCY);
    std::vector<f32> mix(count * 2, 0.0f);
    const f32 chord[] = {1.0f, 1.25992f, 1.49831f, 2.0f}; // root, major third, fifth, octave
    for (int i = 0; i < 3; ++i) {
        AddNote(mix, 0.0f, style.root * chord[i] / 2, 0.25f, 0.05f, 1000.0f, 0.3f * (i - 1));
    }
    for (int cell = 0; cell < kCells; ++cell) {
        const f32 hz = style.root * chord[cell % 4] * (cell < kCells / 2 ? 1.0f : 2.0f);
        AddNote(mix, PopStart(style, cell), hz, 0.3f, 0.004f, 0.08f, 0.15f * (cell % kGrid - 2));
    }
    const f32 lightAt = kLightStart * style.seconds;
    AddNote(mix, lightAt, style.root * 2.0f, 0.6f, 0.01f, 0.35f, -0.2f);
    AddNote(mix, lightAt + 0.25f, style.root * 3.0f, 0.5f, 0.01f, 0.35f, 0.2f);
    AddNote(mix, lightAt + 0.5f, style.root * 4.0f, 0.4f, 0.01f, 0.5f, 0.0f);
    f32 loudest = 0.0f;
    for (u32 i = 0; i < count; ++i) {
        const f32 fade = Fade(style, static_cast<f32>(i) / THP_SOUND_FREQUENCY);
        mix[i * 2] *= fade;
        mix[i * 2 + 1] *= fade;
        loudest = std::max({loudest, std::fabs(mix[i * 2]), std::fabs(mix[i * 2 + 1])});
    }
    const SynthSamples atPeak = Scaled(mix, kPeak / loudest);
    const double gain =
        std::pow(10.0, (kLoudness - LoudnessLufs(atPeak, 2, THP_SOUND_FREQUENCY)) / 20.0);
    const SynthSamples mastered =
        Scaled(mix, kPeak / loudest * static_cast<f32>(std::min(1.0, gain)));
    return std::vector<s16>(mastered.begin(), mastered.end());
}

// The style and length the options give; the reason when they are missing or bad.
std::string ParseMovieOptions(int argc, char** argv, int* style, f32* seconds) {
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        const bool bStyle = option == "--style";
        if (!bStyle && option != "--seconds") {
            return "unknown option '" + option + "'";
        }
        if (i + 1 >= argc) {
            return option + " needs a value";
        }
        const std::string value = argv[i + 1];
        if (bStyle) {
            const std::optional<unsigned long> parsed =
                ParseWholeNumber(value.c_str(), std::size(kAccents) - 1);
            if (!parsed) {
                return "--style takes a whole number from 0 to 4, not '" + value + "'";
            }
            *style = static_cast<int>(*parsed);
        } else {
            const std::optional<float> parsed =
                ParseNumber(value.c_str(), kMinSeconds, kMaxSeconds);
            if (!parsed) {
                return "--seconds takes a number from 1 to 60, not '" + value + "'";
            }
            *seconds = *parsed;
        }
    }
    return *style < 0 || *seconds == 0.0f ? "--style and --seconds are required" : "";
}

} // namespace

int RunMovieCommand(int argc, char** argv) {
    int style = -1;
    f32 seconds = 0.0f;
    const std::string error =
        argc < 1 ? "no output file (OUT.thp)" : ParseMovieOptions(argc, argv, &style, &seconds);
    if (!error.empty()) {
        std::fprintf(stderr, "datatool movie: %s\nusage: datatool movie %s\n", error.c_str(),
                     kMovieArguments);
        return 2;
    }
    const Style chosen{kAccents[style], kPatterns[style], kRoots[style], seconds};
    THPMovieSource source{};
    source.width = kWidth;
    source.height = kHeight;
    source.frameRate = kFrameRate;
    source.numFrames = static_cast<u32>(std::lround(seconds * kFrameRate));
    source.jpegQuality = 60;
    source.drawFrame = [&](u32 frame, u8* rgb) { DrawFrame(chosen, frame, rgb); };
    source.sndChannels = 2;
    source.sound = Sting(chosen);
    FILE* out = std::fopen(argv[0], "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "datatool: cannot write '%s'\n", argv[0]);
        return 1;
    }
    const bool written = THPWriteMovie(source, [out](const u8* bytes, u32 size) {
        return std::fwrite(bytes, 1, size, out) == size;
    });
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "datatool: '%s' could not be written whole\n", argv[0]);
        std::remove(argv[0]);
        return 1;
    }
    return 0;
}

} // namespace datatool
