// Start-up, video modes, the frame loop and the clocks. ctest runs each test in a
// process of its own, so each starts right after the platform came up before main.
#include <kelvo/platform/kplatform.h>

#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct ModeCase {
    const char* name;
    u32 tvFormat;
    VITVMode tvMode;
    u16 efbHeight, xfbHeight, viYOrigin, viHeight;
};

void PrintTo(const ModeCase& modeCase, std::ostream* out) {
    *out << modeCase.name;
}

class PlatformModeTest : public testing::TestWithParam<ModeCase> {
protected:
    void TearDown() override {
        HostOptions options = HostGetOptions();
        options.tvFormat = VI_PAL;
        HostSetOptions(options);
        MyDemoSetRenderMode(nullptr);
    }
};

TEST_P(PlatformModeTest, SelectsWorkingModeForTvFormat) {
    const ModeCase& expected = GetParam();
    HostOptions options = HostGetOptions();
    options.tvFormat = expected.tvFormat;
    HostSetOptions(options);
    MyDemoSetRenderMode(nullptr);
    const GXRenderModeObj& mode = *s_curMode;
    EXPECT_EQ(mode.viTVmode, expected.tvMode);
    EXPECT_EQ(mode.fbWidth, 640);
    EXPECT_EQ(mode.efbHeight, expected.efbHeight);
    EXPECT_EQ(mode.xfbHeight, expected.xfbHeight);
    EXPECT_EQ(mode.viXOrigin, 40);
    EXPECT_EQ(mode.viYOrigin, expected.viYOrigin);
    EXPECT_EQ(mode.viWidth, 640);
    EXPECT_EQ(mode.viHeight, expected.viHeight);
    EXPECT_EQ(MyDemoGetWidth(), 640u);
    EXPECT_EQ(MyDemoGetHeight(), expected.efbHeight);
    EXPECT_EQ(MyDemoGetFormat(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    TvFormats, PlatformModeTest,
    testing::Values(ModeCase{"Ntsc", VI_NTSC, VI_TVMODE_NTSC_INT, 448, 448, 16, 448},
                    ModeCase{"Pal", VI_PAL, VI_TVMODE_PAL_INT, 496, 526, 24, 526},
                    ModeCase{"Eu60", VI_EURGB60, VI_TVMODE_PAL_INT, 496, 526, 24, 526},
                    ModeCase{"Mpal", VI_MPAL, VI_TVMODE_PAL_INT, 496, 526, 24, 526}),
    [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST(PlatformTest, StartUpRanBeforeMainAndRunsOnlyOnce) {
    ASSERT_TRUE(kPlatform_IsInitialised());
    const GXRenderModeObj* mode = s_curMode;
    void* current = MyDemoGetCurrentBuffer();
    const u32 retraces = VIGetRetraceCount();
    kPlatform_Init();
    kPlatform_Init();
    EXPECT_EQ(s_curMode, mode);
    EXPECT_EQ(MyDemoGetCurrentBuffer(), current);
    EXPECT_EQ(VIGetRetraceCount(), retraces);
}

TEST(PlatformTest, AntiAliasedModeReportsFormat2) {
    GXRenderModeObj mode = *s_curMode;
    mode.aa = GX_TRUE;
    MyDemoSetRenderMode(&mode);
    EXPECT_EQ(MyDemoGetFormat(), 2);
    mode.aa = GX_FALSE;
    MyDemoSetRenderMode(&mode);
    EXPECT_EQ(MyDemoGetFormat(), 0);
}

TEST(PlatformTest, ScreenStaysBlackUntilFirstFrameThenBuffersAlternate) {
    if (VIGetShownFrameBuffer() != nullptr) {
        GTEST_SKIP() << "a frame was shown before this test; it needs a process of its own";
    }
    void* first = MyDemoGetFrameBuffer(1);
    void* second = MyDemoGetFrameBuffer(2);
    ASSERT_NE(first, second);
    EXPECT_EQ(MyDemoGetCurrentBuffer(), second);
    const u32 retraces = VIGetRetraceCount();
    void* expected[] = {second, first, second, first};
    for (void* buffer : expected) {
        MyDemoBeforeRender();
        MyDemoDoneRender();
        EXPECT_EQ(VIGetShownFrameBuffer(), buffer);
    }
    EXPECT_EQ(VIGetRetraceCount(), retraces + 4);
}

TEST(PlatformTest, FrameBuffersFollowTheFifoInTheFirstArena) {
    const uintptr_t first = reinterpret_cast<uintptr_t>(MyDemoGetFrameBuffer(1));
    const uintptr_t second = reinterpret_cast<uintptr_t>(MyDemoGetFrameBuffer(2));
    const u32 size = 640 * 526 * 2;
    EXPECT_EQ(first % 32, 0u);
    EXPECT_EQ(second % 32, 0u);
    EXPECT_GE(second, first + size);
    EXPECT_LE(second + size, reinterpret_cast<uintptr_t>(OSGetMEM1ArenaLo()));
}

TEST(PlatformTest, SecondsStartAtZeroAndFollowTheRetraces) {
    EXPECT_EQ(kPlatform_GetSeconds(), 0.0f);
    float previous = 0.0f;
    for (int field = 1; field <= 50; ++field) {
        VIWaitForRetrace();
        const float now = kPlatform_GetSeconds();
        EXPECT_GT(now, previous);
        previous = now;
    }
    EXPECT_NEAR(previous, 1.0f, 1e-4f); // 50 PAL fields
}

TEST(PlatformTest, TickCountIsMillisecondsOfTheTimeBase) {
    const u32 before = kPlatform_TickCount();
    for (int field = 0; field < 50; ++field) {
        VIWaitForRetrace();
    }
    EXPECT_NEAR(static_cast<double>(kPlatform_TickCount() - before), 1000.0, 1.0);
}

TEST(PlatformTest, ProcessEndsTheLoopAtTheFrameLimit) {
    const HostOptions unlimited = HostGetOptions();
    HostOptions options = unlimited;
    options.frameLimit = static_cast<s32>(HostFrameCount()) + 3;
    HostSetOptions(options);
    EXPECT_EQ(kPlatform_Process(), 1);
    EXPECT_EQ(kPlatform_Process(), 1);
    EXPECT_EQ(kPlatform_Process(), 1);
    EXPECT_EQ(kPlatform_Process(), 0);
    EXPECT_EQ(kPlatform_Process(), 0);
    HostSetOptions(unlimited);
}

TEST(PlatformTest, SnprintfReturnsWhatItWrote) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(kPlatform_snprintf(buffer, 0, "%s", "abc"), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(kPlatform_snprintf(buffer, 1, "%s", "abc"), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(kPlatform_snprintf(buffer, 8, "%d", 42), 2);
    EXPECT_STREQ(buffer, "42");
    EXPECT_EQ(kPlatform_snprintf(buffer, 8, "%s", "0123456789"), 7);
    EXPECT_STREQ(buffer, "0123456");
}

} // namespace
