// Our DSP ADPCM encoder against the console's voices: encoded sounds played back through
// AX, set up from their header as the voice device does, come back above a stated
// signal-to-noise floor, and loops repeat bit for bit.
#include <kelvo/audio/kaxvoice.h>
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/platform/kplatform.h>

#include <console/ai.h>
#include <console/ax.h>
#include <console/mem.h>
#include <console/mix.h>
#include <console/os.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace Kelvo_lib;

constexpr unsigned int kSampleRate = 32000;

double SignalToNoise(const std::vector<short>& signal, const std::vector<short>& heard) {
    double power = 0.0;
    double noise = 0.0;
    for (size_t i = 0; i < signal.size(); ++i) {
        power += static_cast<double>(signal[i]) * signal[i];
        noise += static_cast<double>(signal[i] - heard[i]) * (signal[i] - heard[i]);
    }
    return 10.0 * std::log10(power / std::fmax(noise, 1.0));
}

std::vector<short> Sine(unsigned int count, double period, double amplitude) {
    std::vector<short> samples(count);
    for (unsigned int i = 0; i < count; ++i) {
        samples[i] = static_cast<short>(std::lround(amplitude * std::sin(2 * M_PI * i / period)));
    }
    return samples;
}

// Seeded uniform noise: no predictor helps, so the scale carries it.
std::vector<short> Noise(unsigned int count) {
    std::vector<short> samples(count);
    unsigned int state = 12345;
    for (short& sample : samples) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<short>(static_cast<int>(state >> 16) - 32768) / 2;
    }
    return samples;
}

// A linear sweep from 50 Hz to 12 kHz.
std::vector<short> Chirp(unsigned int count) {
    std::vector<short> samples(count);
    const double seconds = static_cast<double>(count) / kSampleRate;
    for (unsigned int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double phase = 2 * M_PI * (50.0 * t + (12000.0 - 50.0) * t * t / (2 * seconds));
        samples[i] = static_cast<short>(std::lround(12000 * std::sin(phase)));
    }
    return samples;
}

class DspPlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kPlatform_Init();
        s_axMemory = MEMAllocFromAllocator(&MyDemoAllocator2, AX_MEMORY_SIZE);
        s_mixMemory = MEMAllocFromAllocator(&MyDemoAllocator2, MIX_MEMORY_SIZE);
    }
    static void TearDownTestSuite() {
        MEMFreeToAllocator(&MyDemoAllocator2, s_axMemory);
        MEMFreeToAllocator(&MyDemoAllocator2, s_mixMemory);
    }

    void SetUp() override {
        AIInit(nullptr);
        AXInitSpecifyMem(AX_MAX_VOICES, s_axMemory);
        MIXInitSpecifyMem(s_mixMemory);
        AXRegisterCallback(MIXUpdateSettings);
    }
    void TearDown() override {
        AXQuit();
        MIXQuit();
    }

    // Starts a voice on the sound as the voice device does, hard left at full level, so
    // the left output is the decoded sample.
    static void StartVoice(const kSound& sound, bool loop) {
        AXVPB* voice = AXAcquireVoice(AX_PRIORITY_HIGHEST, nullptr, nullptr);
        ASSERT_NE(voice, nullptr);
        kAX_SetUpDSPVoice(voice, static_cast<const unsigned char*>(sound.GetData()), loop);
        MIXInitChannel(voice, 0, 0, -960, -960, -960, MIX_PAN_LEFT, 127, 0);
        AXSetVoiceState(voice, AX_PB_STATE_RUN);
    }

    // The first `count` left samples heard after the block that was playing at the start.
    static std::vector<short> Hear(unsigned int count) {
        const unsigned int blocks = (count + AI_FRAME_SAMPLES - 1) / AI_FRAME_SAMPLES + 1;
        std::vector<s16> frames(blocks * AI_FRAME_SAMPLES * 2);
        AIPlayFrames(frames.data(), blocks * AI_FRAME_SAMPLES);
        std::vector<short> left;
        for (unsigned int i = AI_FRAME_SAMPLES; i < AI_FRAME_SAMPLES + count; ++i) {
            left.push_back(frames[2 * i]);
        }
        return left;
    }

    static void* s_axMemory;
    static void* s_mixMemory;
};

void* DspPlaybackTest::s_axMemory = nullptr;
void* DspPlaybackTest::s_mixMemory = nullptr;

using SoundPtr = std::unique_ptr<kSound>;

TEST_F(DspPlaybackTest, SineAndChirpComeBackAboveTheNoiseFloor) {
    const struct {
        const char* name;
        std::vector<short> samples;
        double floorDb;
    } cases[] = {
        {"1 kHz sine", Sine(kSampleRate, 32.0, 16000), 60.0},
        {"quiet 440 Hz sine", Sine(kSampleRate, kSampleRate / 440.0, 300), 60.0},
        {"50 Hz to 12 kHz chirp", Chirp(kSampleRate), 35.0},
        {"white noise", Noise(kSampleRate), 20.0},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        const unsigned int count = static_cast<unsigned int>(entry.samples.size());
        const SoundPtr sound(kSound_DSPEncode(entry.samples.data(), count, kSampleRate, false, 0));
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->DataSize(), K_DSP_HEADER_SIZE + (count + 13) / 14 * K_DSP_FRAME_BYTES);
        StartVoice(*sound, false);
        const std::vector<short> heard = Hear(count + AI_FRAME_SAMPLES);
        const std::vector<short> played(heard.begin(), heard.begin() + count);
        const double snr = SignalToNoise(entry.samples, played);
        RecordProperty(entry.name, std::to_string(snr));
        EXPECT_GT(snr, entry.floorDb);
        // The voice ends with the last sample.
        EXPECT_TRUE(
            std::all_of(heard.begin() + count, heard.end(), [](short s) { return s == 0; }));
    }
}

TEST_F(DspPlaybackTest, LoopsRepeatBitForBitFromTheLoopStart) {
    constexpr unsigned int kCount = 800;
    constexpr unsigned int kLoopStart = 130; // inside a frame
    const std::vector<short> samples = Sine(kCount, 67.0, 20000);
    const SoundPtr sound(kSound_DSPEncode(samples.data(), kCount, kSampleRate, true, kLoopStart));
    ASSERT_NE(sound, nullptr);
    StartVoice(*sound, true);
    const std::vector<short> heard = Hear(3 * kCount);
    constexpr unsigned int kLoopLength = kCount - kLoopStart;
    for (unsigned int i = kCount; i < heard.size(); ++i) {
        ASSERT_EQ(heard[i], heard[i - kLoopLength]) << i;
    }
    EXPECT_GT(SignalToNoise(samples, heard), 30.0);
}

TEST(DspEncoderTest, RefusesNothingToEncodeAndLoopsBeyondTheEnd) {
    const std::vector<short> samples(10, 100);
    EXPECT_EQ(kSound_DSPEncode(samples.data(), 0, kSampleRate, false, 0), nullptr);
    EXPECT_EQ(kSound_DSPEncode(samples.data(), 10, kSampleRate, true, 10), nullptr);
    const SoundPtr sound(kSound_DSPEncode(samples.data(), 10, kSampleRate, true, 9));
    ASSERT_NE(sound, nullptr);
    kDSPADPCMHeader header;
    kDSPADPCM_ReadHeader(static_cast<const unsigned char*>(sound->GetData()), &header);
    EXPECT_EQ(header.numSamples, 10u);
    EXPECT_EQ(header.loopFlag, 1);
    EXPECT_EQ(header.currentAddress, 2u);
    EXPECT_EQ(header.loopAddress, 11u);
    EXPECT_EQ(header.endAddress, 11u);
    EXPECT_EQ(header.sampleRate, kSampleRate);
}

} // namespace
