// The console's audio frame at full load: 96 looping DSP ADPCM voices at rates from
// 11,025 to 48,000 Hz, each resampled to 32 kHz and mixed at its own level and pan, for
// 10 s of output through AI's DMA callback. The counter cpu_share is the CPU time spent
// per second of audio: the share of one core the DSP's work takes in real time. Beside it,
// a plain version of that work: the same voices as 16-bit samples, each stepped through at
// its rate with linear interpolation and added into the stereo frame at its pan.
#include "support/comparison_main.h"

#include <kelvo/audio/kaxvoice.h>
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/platform/kplatform.h>

#include <console/ai.h>
#include <console/ax.h>
#include <console/mem.h>
#include <console/mix.h>
#include <console/os.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Kelvo_lib::kDSPADPCMHeader;
using Kelvo_lib::kSound;

constexpr unsigned int kSeconds = 10;
constexpr unsigned int kBlocks = kSeconds * AI_SAMPLE_RATE / AI_FRAME_SAMPLES;
constexpr unsigned int kSampleRate = 32000;

// One second of a chord, looping over its whole length.
std::vector<short> Chord() {
    std::vector<short> samples(kSampleRate);
    for (unsigned int i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        samples[i] =
            static_cast<short>(6000 * (std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 277 * t) +
                                       std::sin(2 * M_PI * 330 * t)));
    }
    return samples;
}

kSound* EncodedChord() {
    std::vector<short> samples = Chord();
    return Kelvo_lib::kSound_DSPEncode(samples.data(), kSampleRate, kSampleRate, true, 0);
}

// The rate of each of the voices, from 11,025 to 48,000 Hz.
f32 VoiceRate(u32 index) {
    return 11025.0f + (48000.0f - 11025.0f) * static_cast<f32>(index) / (AX_MAX_VOICES - 1);
}

void StartVoice(const kSound& sound, u32 index) {
    AXVPB* voice = AXAcquireVoice(AX_PRIORITY_HIGHEST, nullptr, nullptr);
    Kelvo_lib::kAX_SetUpDSPVoice(voice, static_cast<const u8*>(sound.GetData()), true);
    AXSetVoiceSrcRatio(voice, VoiceRate(index) / AI_SAMPLE_RATE);
    MIXInitChannel(voice, 0, -200, -960, -960, -960, static_cast<int>(index * 127 / AX_MAX_VOICES),
                   127, 0);
    AXSetVoiceState(voice, AX_PB_STATE_RUN);
}

void BM_Mix96AdpcmVoices(benchmark::State& state) {
    kPlatform_Init();
    void* axMemory = MEMAllocFromAllocator(&MyDemoAllocator2, AX_MEMORY_SIZE);
    void* mixMemory = MEMAllocFromAllocator(&MyDemoAllocator2, MIX_MEMORY_SIZE);
    kSound* chord = EncodedChord();
    AIInit(nullptr);
    AXInitSpecifyMem(AX_MAX_VOICES, axMemory);
    MIXInitSpecifyMem(mixMemory);
    AXRegisterCallback(MIXUpdateSettings);
    for (u32 i = 0; i < AX_MAX_VOICES; ++i) {
        StartVoice(*chord, i);
    }
    std::vector<s16> block(AI_FRAME_SAMPLES * 2);
    for (auto _ : state) {
        for (unsigned int i = 0; i < kBlocks; ++i) {
            AIPlayFrames(block.data(), AI_FRAME_SAMPLES);
        }
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["cpu_share"] = benchmark::Counter(
        kSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    AXQuit();
    MIXQuit();
    delete chord;
    MEMFreeToAllocator(&MyDemoAllocator2, axMemory);
    MEMFreeToAllocator(&MyDemoAllocator2, mixMemory);
}
BENCHMARK(BM_Mix96AdpcmVoices)->Unit(benchmark::kMillisecond);

// A looping voice of plain samples: its place in 16.16 fixed point, its step and its
// levels on the left and right, out of 256.
struct PlainVoice {
    u32 position;
    u32 step;
    s32 left;
    s32 right;
};

void MixPlainFrame(const std::vector<short>& samples, std::vector<PlainVoice>& voices,
                   std::vector<s32>& sums, s16* out) {
    std::fill(sums.begin(), sums.end(), 0);
    const u32 length = static_cast<u32>(samples.size()) << 16;
    for (PlainVoice& voice : voices) {
        for (u32 i = 0; i < AI_FRAME_SAMPLES; ++i) {
            const u32 at = voice.position >> 16;
            const s32 next = samples[at + 1 < samples.size() ? at + 1 : 0];
            const s32 fraction = static_cast<s32>((voice.position >> 8) & 0xFF);
            const s32 sample = samples[at] + (((next - samples[at]) * fraction) >> 8);
            sums[2 * i] += (sample * voice.left) >> 8;
            sums[2 * i + 1] += (sample * voice.right) >> 8;
            voice.position = (voice.position + voice.step) % length;
        }
    }
    for (std::size_t i = 0; i < sums.size(); ++i) {
        out[i] = static_cast<s16>(std::clamp(sums[i], -32768, 32767));
    }
}

void BM_MixPlainVoices(benchmark::State& state) {
    const std::vector<short> samples = Chord();
    std::vector<PlainVoice> voices;
    for (u32 i = 0; i < AX_MAX_VOICES; ++i) {
        const s32 pan = static_cast<s32>(i * 255 / AX_MAX_VOICES);
        voices.push_back(
            {0, static_cast<u32>(VoiceRate(i) / AI_SAMPLE_RATE * 65536.0f), 255 - pan, pan});
    }
    std::vector<s32> sums(AI_FRAME_SAMPLES * 2);
    std::vector<s16> block(AI_FRAME_SAMPLES * 2);
    for (auto _ : state) {
        for (unsigned int i = 0; i < kBlocks; ++i) {
            MixPlainFrame(samples, voices, sums, block.data());
        }
        benchmark::DoNotOptimize(block.data());
    }
}
BENCHMARK(BM_MixPlainVoices)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparison(argc, argv,
                                    {"10 s of 96 voices", "BM_Mix96AdpcmVoices", "AX and MIX",
                                     "BM_MixPlainVoices", "plain mix"});
}
