// Checks the WAV that sound_sequence_game captured with --audio-out against its script
// (sound_sequence.h): each effect starts where it was played and as loud as its level
// makes it, level 0 is silent, each music cue starts 0.15 s after it was asked for (the
// change of cue silencing the old one at once), the music sits under the effects, and no
// sample clips. Usage: wav_sound_check FILE.wav. Exit code 0 when all holds, 1 when not
// (each failure printed), 2 for a file that is not the capture's WAV.
#include "sound_sequence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace sound_sequence;

constexpr size_t kHeaderBytes = 44;
constexpr int kSilence = 16;      // at most this loud counts as silence
constexpr int kOnset = 48;        // the first sample louder than this starts a sound
constexpr int kLatencyFrames = 2; // a sound started on a frame is heard within this many

int s_failures = 0;

// The gain the voice device gives a channel volume: 32 steps, step s playing at
// 10 x log2(s / 32) dB, step 0 silent.
double VoiceGain(double volume) {
    const double step = std::floor(32.0 * volume);
    return step <= 0.0 ? 0.0 : std::pow(10.0, 10.0 * std::log2(step / 32.0) / 20.0);
}

void Fail(const std::string& what) {
    std::printf("FAIL: %s\n", what.c_str());
    ++s_failures;
}

unsigned int Little(const std::string& bytes, size_t at, int count) {
    unsigned int value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The louder side of each stereo frame, or empty for a file that is not 32 kHz 16-bit stereo.
std::vector<int> Loudness(const std::string& bytes, bool* bClipped) {
    if (bytes.size() < kHeaderBytes || bytes.compare(0, 4, "RIFF") != 0 ||
        bytes.compare(8, 4, "WAVE") != 0 || Little(bytes, 22, 2) != 2 ||
        Little(bytes, 24, 4) != 32000 || Little(bytes, 34, 2) != 16) {
        return {};
    }
    std::vector<int> loudness;
    *bClipped = false;
    for (size_t at = kHeaderBytes; at + 3 < bytes.size(); at += 4) {
        const short left = static_cast<short>(Little(bytes, at, 2));
        const short right = static_cast<short>(Little(bytes, at + 2, 2));
        *bClipped =
            *bClipped || left == 32767 || left == -32768 || right == 32767 || right == -32768;
        loudness.push_back(std::max(std::abs(left), std::abs(right)));
    }
    return loudness;
}

size_t At(int frame) {
    return static_cast<size_t>(frame) * kSamplesPerFrame;
}

int Peak(const std::vector<int>& loudness, int fromFrame, int toFrame) {
    const auto first =
        loudness.begin() + static_cast<long>(std::min(At(fromFrame), loudness.size()));
    const auto last = loudness.begin() + static_cast<long>(std::min(At(toFrame), loudness.size()));
    return first == last ? 0 : *std::max_element(first, last);
}

// The frame in which the first sound louder than kOnset begins, from fromFrame on; -1 for none.
int OnsetFrame(const std::vector<int>& loudness, int fromFrame, int toFrame) {
    for (size_t i = At(fromFrame); i < std::min(At(toFrame), loudness.size()); ++i) {
        if (loudness[i] > kOnset) {
            return static_cast<int>(i / kSamplesPerFrame);
        }
    }
    return -1;
}

// A sound asked for on `frame` is heard from that frame to kLatencyFrames later, and not before.
void ExpectStart(const std::vector<int>& loudness, const char* what, int askedFrame, int frame,
                 int searchEnd) {
    const int onset = OnsetFrame(loudness, askedFrame, searchEnd);
    if (onset < frame || onset > frame + kLatencyFrames) {
        Fail(std::string(what) + " starts in frame " + std::to_string(onset) + ", expected " +
             std::to_string(frame) + " to " + std::to_string(frame + kLatencyFrames));
    }
}

void CheckEffects(const std::vector<int>& loudness) {
    if (Peak(loudness, 0, EffectFrame(0) + kEffectSpacing) > kSilence) {
        Fail("sound before the first effect or at level 0");
    }
    const int fullLevel = kEffectLevels - 1;
    const int full =
        Peak(loudness, EffectFrame(fullLevel), EffectFrame(fullLevel) + kEffectSpacing);
    for (int level = 1; level <= fullLevel; ++level) {
        const int frame = EffectFrame(level);
        const std::string what = "the effect at level " + std::to_string(level);
        ExpectStart(loudness, what.c_str(), frame, frame, frame + kEffectSpacing);
        const double expected = full * VoiceGain(static_cast<double>(level) / fullLevel);
        const int peak = Peak(loudness, frame, frame + kEffectSpacing);
        if (std::abs(peak - expected) > 0.03 * full) {
            Fail(what + " peaks at " + std::to_string(peak) + ", expected about " +
                 std::to_string(static_cast<int>(expected)));
        }
    }
}

void CheckMusic(const std::vector<int>& loudness) {
    const int titleStart = kTitleFrame + kMusicDelayFrames;
    if (Peak(loudness, EffectFrame(kEffectLevels - 1) + kEffectSpacing, titleStart) > kSilence) {
        Fail("sound before the title music was due");
    }
    ExpectStart(loudness, "the title music", kTitleFrame, titleStart, kChangeFrame);

    const int changeStart = kChangeFrame + kMusicDelayFrames;
    if (Peak(loudness, kChangeFrame + kLatencyFrames, changeStart) > kSilence) {
        Fail("the title music goes on after the change of cue");
    }
    ExpectStart(loudness, "the second cue", kChangeFrame + kLatencyFrames, changeStart, kLastFrame);

    const int music = Peak(loudness, titleStart, kChangeFrame);
    const int effect = Peak(loudness, EffectFrame(kEffectLevels - 1),
                            EffectFrame(kEffectLevels - 1) + kEffectSpacing);
    if (music < 4 * kOnset || music >= effect) {
        Fail("the music peaks at " + std::to_string(music) + ", the loudest effect at " +
             std::to_string(effect) + ": the music should be audible and under the effects");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: wav_sound_check FILE.wav\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    bool bClipped = false;
    const std::vector<int> loudness = Loudness(bytes, &bClipped);
    if (loudness.size() < At(kLastFrame - kLatencyFrames)) {
        std::fprintf(stderr, "wav_sound_check: '%s' is not a capture of the whole sequence\n",
                     argv[1]);
        return 2;
    }
    if (bClipped) {
        Fail("a sample clips");
    }
    CheckEffects(loudness);
    CheckMusic(loudness);
    return s_failures == 0 ? 0 : 1;
}
