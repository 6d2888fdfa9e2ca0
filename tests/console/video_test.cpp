// The video interface's latching and retrace clock, and the render modes.
#include <console/gx.h>
#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

GXRenderModeObj Adjusted(const GXRenderModeObj& base) {
    GXRenderModeObj mode{};
    GXAdjustForOverscan(&base, &mode, 0, 16);
    return mode;
}

TEST(VideoTest, OverscanTrimsSixteenLinesFromEachEdge) {
    const GXRenderModeObj ntsc = Adjusted(GXNtsc480IntDf);
    EXPECT_EQ(ntsc.efbHeight, 448);
    EXPECT_EQ(ntsc.xfbHeight, 448);
    EXPECT_EQ(ntsc.viYOrigin, 16);
    EXPECT_EQ(ntsc.viHeight, 448);
    const GXRenderModeObj pal = Adjusted(GXPal528IntDf);
    EXPECT_EQ(pal.efbHeight, 496);
    EXPECT_EQ(pal.viHeight, 496);
    EXPECT_EQ(pal.fbWidth, 640);
}

TEST(VideoTest, CopyScaleGivesTheExternalFrameBufferHeight) {
    const std::pair<u16, u16> cases[] = {{448, 448}, {496, 526}, {480, 480}};
    for (const auto& [efb, xfb] : cases) {
        GXInit(nullptr, 0);
        EXPECT_EQ(GXSetDispCopyYScale(GXGetYScaleFactor(efb, xfb)), xfb) << efb;
    }
}

TEST(VideoTest, ShowsBlackUntilUnblankedThenTheLatchedBuffer) {
    VIInit();
    VIConfigure(&GXPal528IntDf);
    int first = 0;
    int second = 0;
    VISetNextFrameBuffer(&first);
    VIFlush();
    VIWaitForRetrace();
    EXPECT_EQ(VIGetShownFrameBuffer(), nullptr);
    VISetBlack(FALSE);
    EXPECT_EQ(VIGetShownFrameBuffer(), nullptr); // not flushed yet
    VIFlush();
    EXPECT_EQ(VIGetShownFrameBuffer(), nullptr); // shown from the next retrace
    VIWaitForRetrace();
    EXPECT_EQ(VIGetShownFrameBuffer(), &first);
    VISetNextFrameBuffer(&second);
    VIWaitForRetrace();
    EXPECT_EQ(VIGetShownFrameBuffer(), &first);
    VIFlush();
    VIWaitForRetrace();
    EXPECT_EQ(VIGetShownFrameBuffer(), &second);
}

TEST(VideoTest, RetraceAdvancesTheVirtualClockByOneField) {
    ASSERT_TRUE(HostUsesVirtualClock());
    const std::pair<const GXRenderModeObj*, double> cases[] = {{&GXPal528IntDf, 50.0},
                                                               {&GXNtsc480IntDf, 59.94}};
    for (const auto& [mode, fieldsPerSecond] : cases) {
        VIInit();
        VIConfigure(mode);
        const OSTime before = OSGetTime();
        VIWaitForRetrace();
        const double seconds = static_cast<double>(OSGetTime() - before) / OS_TIMER_CLOCK;
        EXPECT_NEAR(seconds, 1.0 / fieldsPerSecond, 1e-6);
    }
}

TEST(VideoTest, PostRetraceCallbackSeesEveryRetrace) {
    static u32 s_seen = 0;
    VIInit();
    const VIRetraceCallback previous = VISetPostRetraceCallback([](u32 count) { s_seen = count; });
    EXPECT_EQ(previous, nullptr);
    VIWaitForRetrace();
    VIWaitForRetrace();
    EXPECT_EQ(s_seen, 2u);
    VISetPostRetraceCallback(nullptr);
}

// As on the console, where it runs with interrupts masked: the audio DMA callback cannot run
// beside it.
TEST(VideoTest, PostRetraceCallbackRunsWithInterruptsDisabled) {
    static BOOL s_enabledBefore = TRUE;
    VIInit();
    VISetPostRetraceCallback([](u32) {
        s_enabledBefore = OSDisableInterrupts();
        OSRestoreInterrupts(s_enabledBefore);
    });
    VIWaitForRetrace();
    VISetPostRetraceCallback(nullptr);
    EXPECT_EQ(s_enabledBefore, FALSE);
    const BOOL level = OSDisableInterrupts(); // and enabled again after it
    EXPECT_EQ(level, TRUE);
    OSRestoreInterrupts(level);
}

TEST(InterruptsTest, DisablingNestsAndKeepsOtherThreadsOut) {
    const BOOL outer = OSDisableInterrupts();
    const BOOL inner = OSDisableInterrupts();
    EXPECT_EQ(outer, TRUE);
    EXPECT_EQ(inner, FALSE);
    std::atomic<bool> entered{false};
    std::thread other([&entered] {
        const BOOL level = OSDisableInterrupts();
        entered = true;
        OSRestoreInterrupts(level);
    });
    OSRestoreInterrupts(inner);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(entered); // still held by the outer level
    OSRestoreInterrupts(outer);
    other.join();
    EXPECT_TRUE(entered);
}

} // namespace
