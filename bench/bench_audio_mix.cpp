// The console's audio frame at full load: 96 looping DSP ADPCM voices at rates from
// 11,025 to 48,000 Hz, each resampled to 32 kHz and mixed at its own level and pan, for
// 10 s of output through AI's DMA callback. The counter cpu_share is the CPU time spent
// per second of audio: the share of one core the DSP's work takes in real time.
#include <kelvo/audio/kaxvoice.h>
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/platform/kplatform.h>

#include <console/ai.h>
#include <console/ax.h>
#include <console/mem.h>
#include <console/mix.h>
#include <console/os.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using Kelvo_lib::kDSPADPCMHeader;
using Kelvo_lib::kSound;

constexpr unsigned int kSeconds = 10;
constexpr unsigned int kBlocks = kSeconds * AI_SAMPLE_RATE / AI_FRAME_SAMPLES;
constexpr unsigned int kSampleRate = 32000;

// One second of a chord, looping over its whole length.
kSound* EncodedChord() {
    std::vector<short> samples(kSampleRate);
    for (unsigned int i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        samples[i] =
            static_cast<short>(6000 * (std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 277 * t) +
                                       std::sin(2 * M_PI * 330 * t)));
    }
    return Kelvo_lib::kSound_DSPEncode(samples.data(), kSampleRate, kSampleRate, true, 0);
}

void StartVoice(const kSound& sound, u32 index) {
    AXVPB* voice = AXAcquireVoice(AX_PRIORITY_HIGHEST, nullptr, nullptr);
    Kelvo_lib::kAX_SetUpDSPVoice(voice, static_cast<const u8*>(sound.GetData()), true);
    const f32 rate =
        11025.0f + (48000.0f - 11025.0f) * static_cast<f32>(index) / (AX_MAX_VOICES - 1);
    AXSetVoiceSrcRatio(voice, rate / AI_SAMPLE_RATE);
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

} // namespace

BENCHMARK_MAIN();
