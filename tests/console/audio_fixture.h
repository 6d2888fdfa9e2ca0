// A fixture with AX and MIX set up over arena memory, helpers that place sample data in
// an arena and start voices on it, and the output played through AI.
#pragma once

#include <console/ai.h>
#include <console/ax.h>
#include <console/mix.h>
#include <console/os.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace audio_test {

// Arena memory taken once per process from the top of MEM2: AX's memory, then samples,
// then a spare DMA block at kDmaBlockOffset.
constexpr u32 kArenaBytes = 4u << 20;
constexpr u32 kDmaBlockOffset = kArenaBytes - 1024;
constexpr u32 kSampleBytes = kDmaBlockOffset - AX_MEMORY_SIZE;

inline u8* TestArena() {
    static u8* block = [] {
        u8* base = static_cast<u8*>(OSGetMEM2ArenaHi()) - kArenaBytes;
        OSSetMEM2ArenaHi(base);
        return base;
    }();
    return block;
}

struct Output {
    std::vector<s16> left;
    std::vector<s16> right;
};

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        AIInit(nullptr);
        AXInitSpecifyMem(AX_MAX_VOICES, TestArena());
        ASSERT_EQ(AXGetMaxVoices(), AX_MAX_VOICES);
        MIXInitSpecifyMem(m_mixMemory);
        AXRegisterCallback(MIXUpdateSettings);
        m_samples = TestArena() + AX_MEMORY_SIZE;
        m_used = 0;
    }

    void TearDown() override {
        AXQuit();
        MIXQuit();
    }

    // Copies bytes into arena memory; their physical address.
    u32 Place(const std::vector<u8>& bytes) {
        m_used = (m_used + 31u) & ~31u;
        EXPECT_LE(m_used + bytes.size(), kSampleBytes);
        std::memcpy(m_samples + m_used, bytes.data(), bytes.size());
        const u32 physical = OSCachedToPhysical(m_samples + m_used);
        m_used += static_cast<u32>(bytes.size());
        return physical;
    }

    static std::vector<u8> BigEndian(const std::vector<s16>& samples) {
        std::vector<u8> bytes;
        for (const s16 sample : samples) {
            bytes.push_back(static_cast<u8>(static_cast<u16>(sample) >> 8));
            bytes.push_back(static_cast<u8>(sample));
        }
        return bytes;
    }

    // A voice playing from `start` to `end` (inclusive) of the format's addresses, loop
    // at `loop` when given, hard left at full level unless the caller changes it.
    AXVPB* StartVoice(u16 format, u32 start, u32 end, f32 ratio, const u32* loop = nullptr) {
        AXVPB* voice = PrepareVoice(format, start, end, ratio, loop);
        AXSetVoiceState(voice, AX_PB_STATE_RUN);
        return voice;
    }

    // The same voice, not started.
    AXVPB* PrepareVoice(u16 format, u32 start, u32 end, f32 ratio, const u32* loop = nullptr) {
        AXVPB* voice = AXAcquireVoice(AX_PRIORITY_HIGHEST, nullptr, nullptr);
        EXPECT_NE(voice, nullptr);
        if (voice == nullptr) {
            return nullptr;
        }
        const u32 loopAddress = loop != nullptr ? *loop : start;
        const AXPBADDR addr{static_cast<u16>(loop != nullptr),   format,
                            static_cast<u16>(loopAddress >> 16), static_cast<u16>(loopAddress),
                            static_cast<u16>(end >> 16),         static_cast<u16>(end),
                            static_cast<u16>(start >> 16),       static_cast<u16>(start)};
        AXSetVoiceAddr(voice, &addr);
        AXSetVoiceSrcType(voice, AX_SRC_TYPE_LINEAR);
        AXSetVoiceSrcRatio(voice, ratio);
        MIXInitChannel(voice, 0, 0, -960, -960, -960, MIX_PAN_LEFT, 127, 0);
        return voice;
    }

    AXVPB* PreparePcm16(const std::vector<s16>& samples, f32 ratio,
                        const u32* loopIndex = nullptr) {
        const u32 first = Place(BigEndian(samples)) / 2;
        const u32 loop = loopIndex != nullptr ? first + *loopIndex : 0;
        return PrepareVoice(AX_PB_FORMAT_PCM16, first, first + static_cast<u32>(samples.size()) - 1,
                            ratio, loopIndex != nullptr ? &loop : nullptr);
    }

    AXVPB* StartPcm16(const std::vector<s16>& samples, f32 ratio, const u32* loopIndex = nullptr) {
        AXVPB* voice = PreparePcm16(samples, ratio, loopIndex);
        AXSetVoiceState(voice, AX_PB_STATE_RUN);
        return voice;
    }

    // Plays whole blocks; a frame is mixed as a block starts and heard in the next one.
    static Output Play(u32 blocks) {
        std::vector<s16> frames(blocks * AI_FRAME_SAMPLES * 2);
        AIPlayFrames(frames.data(), blocks * AI_FRAME_SAMPLES);
        Output output;
        for (size_t i = 0; i < frames.size(); i += 2) {
            output.left.push_back(frames[i]);
            output.right.push_back(frames[i + 1]);
        }
        return output;
    }

    // The blocks that follow the one playing when the voices were started.
    static Output Heard(u32 blocks) {
        Output output = Play(blocks + 1);
        output.left.erase(output.left.begin(), output.left.begin() + AI_FRAME_SAMPLES);
        output.right.erase(output.right.begin(), output.right.begin() + AI_FRAME_SAMPLES);
        return output;
    }

    u8 m_mixMemory[MIX_MEMORY_SIZE] = {};
    u8* m_samples = nullptr;
    u32 m_used = 0;
};

} // namespace audio_test
