// AX voices: ADPCM and PCM16 decoding, rate conversion, ends and loops, priorities and
// drops, and fetches that leave the arenas.
#include "audio_fixture.h"

#include <algorithm>
#include <cmath>

namespace {

using audio_test::AudioTest;
using audio_test::Output;

class AxTest : public AudioTest {};

TEST_F(AxTest, DecodesHandMadeAdpcmFramesAndReloadsTheLoopContext) {
    // Pair 0 predicts 0, pair 1 repeats the last sample, pair 2 extends the last two.
    AXPBADPCM adpcm{};
    adpcm.coefficients[2] = 2048;
    adpcm.coefficients[4] = 4096;
    adpcm.coefficients[5] = static_cast<u16>(-2048);
    adpcm.predScale = 0x02;
    const std::vector<u8> frames = {
        0x02, 0x17, 0xF8, 0x02, 0x34, 0x56, 0xED, 0x11, // pair 0, shift 2
        0x11, 0x11, 0x11, 0xFF, 0xF7, 0x77, 0x78, 0x80, // pair 1, shift 1
        0x2C, 0x77, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, // pair 2, shift 12: clamps
    };
    const u32 base = Place(frames) * 2;
    const u32 loop = base + 16 + 2 + 3; // the fourth sample of the second frame
    AXVPB* voice = StartVoice(AX_PB_FORMAT_ADPCM, base + 2, base + 32 + 2 + 3, 1.0f, &loop);
    AXSetVoiceAdpcm(voice, &adpcm);
    const AXPBADPCMLOOP loopContext{0x11, 10, 8};
    AXSetVoiceAdpcmLoop(voice, &loopContext);

    std::vector<s16> expected = {4,   28, -4, -32, 0,  8,  12,    16,    20,    24, -8,
                                 -12, 4,  4,  6,   8,  10, 12,    10,    8,     6,  20,
                                 34,  48, 62, 46,  30, 30, 28702, 32767, 32767, -1};
    const std::vector<s16> looped(expected.begin() + 17, expected.end());
    while (expected.size() < AI_FRAME_SAMPLES * 2) {
        expected.insert(expected.end(), looped.begin(), looped.end());
    }
    expected.resize(AI_FRAME_SAMPLES * 2);
    const Output output = Heard(2);
    EXPECT_EQ(output.left, expected);
    EXPECT_EQ(voice->pb.state, AX_PB_STATE_RUN);
}

TEST_F(AxTest, PlaysBigEndianPcm16ToItsInclusiveEndThenStops) {
    std::vector<s16> samples;
    for (s16 i = 0; i < 250; ++i) {
        samples.push_back(static_cast<s16>(1000 - 8 * i));
    }
    AXVPB* voice = StartPcm16(samples, 1.0f);
    const Output output = Heard(3);
    const std::vector<s16> played(output.left.begin(), output.left.begin() + 250);
    EXPECT_EQ(played, samples);
    for (size_t i = 250; i < output.left.size(); ++i) {
        ASSERT_EQ(output.left[i], 0) << i;
    }
    EXPECT_EQ(voice->pb.state, AX_PB_STATE_STOP);
    EXPECT_TRUE(
        std::all_of(output.right.begin(), output.right.end(), [](s16 s) { return s == 0; }));
}

// A voice at rate r plays ceil(N * 65536 / ratio) output samples, ratio = r / 32000 in 16.16.
TEST_F(AxTest, ConvertedRatesEndAtTheRightSampleAndInterpolateLinearly) {
    constexpr u32 kCount = 100;
    std::vector<s16> ramp;
    for (u32 i = 0; i < kCount; ++i) {
        ramp.push_back(static_cast<s16>(100 + 100 * i));
    }
    for (const u32 rate : {32000u, 11025u, 48000u}) {
        SCOPED_TRACE(rate);
        const f32 ratio = static_cast<f32>(rate) / 32000.0f;
        const u32 fixed = static_cast<u32>(static_cast<f64>(ratio) * 65536.0);
        const u32 expectedCount = static_cast<u32>((kCount * 65536u + fixed - 1) / fixed);
        AXVPB* voice = StartPcm16(ramp, ratio);
        const Output output = Heard(4);
        EXPECT_NE(output.left[expectedCount - 1], 0);
        for (u32 i = expectedCount; i < output.left.size(); ++i) {
            ASSERT_EQ(output.left[i], 0) << i;
        }
        for (u32 k = 0; (static_cast<u64>(k) * fixed >> 16) + 1 < kCount; ++k) {
            const f64 position = static_cast<f64>(k) * fixed / 65536.0;
            ASSERT_NEAR(output.left[k], 100 + 100 * position, 1.0) << k;
        }
        AXFreeVoice(voice);
    }
}

TEST_F(AxTest, LoopsWithoutASeamAtAnyRate) {
    constexpr u32 kPeriod = 40;
    std::vector<s16> period;
    for (u32 i = 0; i < kPeriod; ++i) {
        period.push_back(static_cast<s16>(std::lround(12000 * std::sin(2 * M_PI * i / kPeriod))));
    }
    const u32 loopStart = 0;
    for (const f32 ratio : {1.0f, 0.75f, 1.37f}) {
        SCOPED_TRACE(ratio);
        AXVPB* voice = StartPcm16(period, ratio, &loopStart);
        const Output output = Heard(6);
        const u32 fixed = static_cast<u32>(static_cast<f64>(ratio) * 65536.0);
        for (u32 k = 0; k < output.left.size(); ++k) {
            const u64 position = static_cast<u64>(k) * fixed;
            const s32 a = period[(position >> 16) % kPeriod];
            const s32 b = period[((position >> 16) + 1) % kPeriod];
            const s32 expected =
                a + static_cast<s32>(((b - a) * static_cast<s64>(position & 0xFFFF)) >> 16);
            ASSERT_NEAR(output.left[k], expected, 1) << k;
        }
        EXPECT_EQ(voice->pb.state, AX_PB_STATE_RUN);
        AXFreeVoice(voice);
    }
}

TEST_F(AxTest, CurrentAddressAdvancesOneBlockOfSamplesPerFrame) {
    const std::vector<s16> silence(AI_FRAME_SAMPLES * 8, 0);
    AXVPB* voice = StartPcm16(silence, 1.0f);
    Heard(1);
    const u32 before = (voice->pb.addr.currentAddressHi << 16) | voice->pb.addr.currentAddressLo;
    Play(2);
    const u32 after = (voice->pb.addr.currentAddressHi << 16) | voice->pb.addr.currentAddressLo;
    EXPECT_EQ(after - before, 2 * AI_FRAME_SAMPLES);
    const u32 start = OSCachedToPhysical(m_samples) / 2;
    EXPECT_GT(before, start);
}

std::vector<AXVPB*> g_dropped;
void RecordDrop(void* voice) {
    g_dropped.push_back(static_cast<AXVPB*>(voice));
}

TEST_F(AxTest, TakesTheLowestPriorityEarliestVoiceAndCallsItsDropCallback) {
    g_dropped.clear();
    std::vector<AXVPB*> voices;
    for (u32 i = 0; i < AX_MAX_VOICES; ++i) {
        voices.push_back(AXAcquireVoice(5, RecordDrop, nullptr));
        ASSERT_NE(voices.back(), nullptr);
    }
    EXPECT_EQ(AXAcquireVoice(5, RecordDrop, nullptr), nullptr); // nothing lower
    EXPECT_TRUE(g_dropped.empty());

    AXVPB* taken = AXAcquireVoice(10, nullptr, &g_dropped);
    EXPECT_EQ(taken, voices[0]);
    ASSERT_EQ(g_dropped.size(), 1u);
    EXPECT_EQ(g_dropped[0], voices[0]);
    EXPECT_EQ(taken->userContext, &g_dropped);
    EXPECT_EQ(taken->priority, 10u);

    // A later voice of lower priority goes before earlier ones of higher priority.
    AXFreeVoice(voices[7]);
    AXVPB* low = AXAcquireVoice(2, RecordDrop, nullptr);
    EXPECT_EQ(low, voices[7]);
    EXPECT_EQ(AXAcquireVoice(6, nullptr, nullptr), low);
    ASSERT_EQ(g_dropped.size(), 2u);
    EXPECT_EQ(g_dropped[1], low);
    // Equal priorities: the earliest acquired goes first.
    EXPECT_EQ(AXAcquireVoice(6, nullptr, nullptr), voices[1]);
}

TEST_F(AxTest, RefusesBadPrioritiesAndForeignVoices) {
    EXPECT_EQ(AXAcquireVoice(0, nullptr, nullptr), nullptr);
    EXPECT_EQ(AXAcquireVoice(32, nullptr, nullptr), nullptr);
    AXVPB stranger{};
    AXSetVoiceState(&stranger, AX_PB_STATE_RUN);
    AXFreeVoice(&stranger);
    EXPECT_EQ(stranger.pb.state, AX_PB_STATE_STOP);
    AXVPB* voice = AXAcquireVoice(1, nullptr, nullptr);
    AXFreeVoice(voice);
    AXSetVoiceState(voice, AX_PB_STATE_RUN); // freed: refused
    EXPECT_EQ(voice->pb.state, AX_PB_STATE_STOP);
}

TEST_F(AxTest, VoiceReadingOutsideTheArenasStopsSilently) {
    const std::vector<s16> tone(AI_FRAME_SAMPLES * 3, 5000);
    StartPcm16(tone, 1.0f);
    constexpr u32 kGap = 0x0F000000u; // between MEM1 and MEM2
    const u32 loop = kGap / 2;
    AXVPB* stray = StartVoice(AX_PB_FORMAT_PCM16, kGap / 2, kGap / 2 + 1000, 1.0f, &loop);
    AXVPB* adpcm = StartVoice(AX_PB_FORMAT_ADPCM, 0xFFFFFF00u, 0xFFFFFFF0u, 1.0f);
    const Output output = Heard(2);
    EXPECT_EQ(stray->pb.state, AX_PB_STATE_STOP);
    EXPECT_EQ(adpcm->pb.state, AX_PB_STATE_STOP);
    EXPECT_TRUE(
        std::all_of(output.left.begin(), output.left.end(), [](s16 s) { return s == 5000; }));
}

TEST_F(AxTest, FrameCallbackRunsOncePerBlockAfterTheMix) {
    static int s_frames = 0;
    s_frames = 0;
    AXRegisterCallback([] { ++s_frames; });
    Play(5);
    EXPECT_EQ(s_frames, 5);
    AXRegisterCallback(MIXUpdateSettings);
}

} // namespace
