// The audio DMA and its callbacks, the headless pump on the virtual clock, the
// --audio-out capture and the physical address space.
#include <console/ai.h>
#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include "audio_fixture.h"
#include "temporary_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A DMA block in arena memory whose left samples count up and right ones count down.
u32 PatternBlock() {
    static const u32 physical = [] {
        u8* block = audio_test::TestArena() + audio_test::kDmaBlockOffset;
        for (u32 i = 0; i < AI_FRAME_SAMPLES; ++i) {
            const u16 left = static_cast<u16>(i);
            const u16 right = static_cast<u16>(-static_cast<s32>(i));
            block[4 * i] = static_cast<u8>(left >> 8);
            block[4 * i + 1] = static_cast<u8>(left);
            block[4 * i + 2] = static_cast<u8>(right >> 8);
            block[4 * i + 3] = static_cast<u8>(right);
        }
        return OSCachedToPhysical(block);
    }();
    return physical;
}

int g_blocksStarted = 0;
void CountBlock() {
    ++g_blocksStarted;
    AIInitDMA(PatternBlock(), AI_FRAME_BYTES);
}

int g_chainedCalls = 0;
AIDCallback g_displaced = nullptr;
void ChainedCallback() {
    ++g_chainedCalls;
    g_displaced();
}

class AudioOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        AIInit(nullptr);
        AIStartDMA();
        m_previous = AIRegisterDMACallback(CountBlock);
        AIInitDMA(PatternBlock(), AI_FRAME_BYTES);
        g_blocksStarted = 0;
    }
    // Every test plays whole blocks, so the next one starts on a block's start.
    void TearDown() override {
        AIRegisterDMACallback(m_previous);
        AIInitDMA(0, 0);
    }

    AIDCallback m_previous = nullptr;
};

TEST_F(AudioOutputTest, PlaysBigEndianBlocksAndRunsTheCallbackAsEachStarts) {
    std::vector<s16> frames(AI_FRAME_SAMPLES * 2 * 2);
    AIPlayFrames(frames.data(), 50);
    AIPlayFrames(frames.data() + 100, AI_FRAME_SAMPLES * 2 - 50);
    EXPECT_EQ(g_blocksStarted, 2);
    for (u32 i = 0; i < AI_FRAME_SAMPLES * 2; ++i) {
        ASSERT_EQ(frames[2 * i], static_cast<s16>(i % AI_FRAME_SAMPLES)) << i;
        ASSERT_EQ(frames[2 * i + 1], static_cast<s16>(-static_cast<s32>(i % AI_FRAME_SAMPLES)));
    }
    EXPECT_EQ(AIGetDMAStartAddr(), PatternBlock());
}

TEST_F(AudioOutputTest, RefusesBlocksThatAreUnalignedOrOutsideTheArenas) {
    AIInitDMA(PatternBlock() + 4, AI_FRAME_BYTES);
    AIInitDMA(PatternBlock(), 100);
    AIInitDMA(0x0F000000u, AI_FRAME_BYTES);
    AIInitDMA(OS_MEM2_PHYSICAL_BASE + OS_MEM2_ARENA_SIZE - 32, 64);
    EXPECT_EQ(AIGetDMAStartAddr(), PatternBlock());
}

TEST_F(AudioOutputTest, ChainedCallbacksRunTheOneTheyDisplaced) {
    g_chainedCalls = 0;
    g_displaced = AIRegisterDMACallback(ChainedCallback);
    EXPECT_EQ(g_displaced, CountBlock);
    std::vector<s16> frames(AI_FRAME_SAMPLES * 2 * 3);
    AIPlayFrames(frames.data(), AI_FRAME_SAMPLES * 3);
    EXPECT_EQ(g_chainedCalls, 3);
    EXPECT_EQ(g_blocksStarted, 3);
    EXPECT_EQ(AIRegisterDMACallback(CountBlock), ChainedCallback);
}

TEST_F(AudioOutputTest, HeadlessPumpPlaysSixAndTwoThirdBlocksPerPalField) {
    ASSERT_TRUE(HostUsesVirtualClock());
    VIInit();
    VIWaitForRetrace(); // whatever is due before, and this field's share
    g_blocksStarted = 0;
    for (int field = 0; field < 3; ++field) {
        VIWaitForRetrace();
    }
    EXPECT_EQ(g_blocksStarted, 20);
    for (int field = 0; field < 150; ++field) {
        VIWaitForRetrace();
    }
    EXPECT_EQ(g_blocksStarted, 20 + 1000);
}

u32 Little32(const std::string& bytes, size_t at) {
    return static_cast<u8>(bytes[at]) | static_cast<u8>(bytes[at + 1]) << 8 |
           static_cast<u8>(bytes[at + 2]) << 16 |
           static_cast<u32>(static_cast<u8>(bytes[at + 3])) << 24;
}

TEST_F(AudioOutputTest, AudioOutCapturesEveryPumpedBlockAsWave) {
    const test_support::TemporaryFile captureFile("");
    const std::string path = captureFile.Path();
    const HostOptions original = HostGetOptions();
    HostOptions options = original;
    std::snprintf(options.audioOut, sizeof(options.audioOut), "%s", path.c_str());
    HostSetOptions(options);
    VIInit();
    for (int field = 0; field < 3; ++field) {
        VIWaitForRetrace();
    }
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    HostSetOptions(original);
    VIWaitForRetrace(); // closes the capture
    std::remove(path.c_str());

    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Little32(bytes, 24), AI_SAMPLE_RATE);
    const u32 dataBytes = Little32(bytes, 40);
    EXPECT_EQ(dataBytes, 20 * AI_FRAME_BYTES);
    EXPECT_EQ(bytes.size(), 44 + dataBytes);
    EXPECT_EQ(Little32(bytes, 4), 36 + dataBytes);
    // Little-endian frames: left 5 is 05 00, right -5 is FB FF.
    EXPECT_EQ(bytes.substr(44 + 5 * 4, 4), std::string("\x05\x00\xFB\xFF", 4));
}

TEST(PhysicalAddressTest, MapsBothArenasAndRefusesEverythingElse) {
    u8* mem1 = static_cast<u8*>(OSGetMEM1ArenaLo());
    u8* mem2 = audio_test::TestArena();
    const u32 physical1 = OSCachedToPhysical(mem1 + 100);
    const u32 physical2 = OSCachedToPhysical(mem2);
    EXPECT_LT(physical1, OS_MEM1_ARENA_SIZE);
    EXPECT_GE(physical2, OS_MEM2_PHYSICAL_BASE);
    EXPECT_LT(physical2, OS_MEM2_PHYSICAL_BASE + OS_MEM2_ARENA_SIZE);
    EXPECT_EQ(OSPhysicalToCached(physical1), mem1 + 100);
    EXPECT_EQ(OSPhysicalToCached(physical2), mem2);
    int local = 0;
    EXPECT_EQ(OSCachedToPhysical(&local), OS_PHYSICAL_INVALID);
    EXPECT_EQ(OSPhysicalToCached(OS_MEM1_ARENA_SIZE), nullptr);
    EXPECT_EQ(OSPhysicalToCached(OS_MEM2_PHYSICAL_BASE - 1), nullptr);
    EXPECT_EQ(OSPhysicalToCached(OS_MEM2_PHYSICAL_BASE + OS_MEM2_ARENA_SIZE), nullptr);
    EXPECT_EQ(OSPhysicalToCached(OS_PHYSICAL_INVALID), nullptr);
}

} // namespace
