// The main loop's timing: the frame-time ceiling before and after the splash sequence, and
// the disc check period on the headless host's virtual clock.
#include <shell/mnframeclock.h>

#include <kelvo/platform/kplatform.h>

#include <gtest/gtest.h>

namespace {

using Kelvo_lib::MNFrameClock;

TEST(FrameClockTest, FrameTimeIsCutToTheCeilingOfThePhase) {
    struct Case {
        float elapsed;
        bool bSplashFinished;
        float expected;
    };
    const Case cases[] = {
        {0.02f, true, 0.02f},        {0.06f, true, 0.06f},    {0.5f, true, 0.06f},
        {0.02f, false, 0.02f},       {0.066f, false, 0.066f}, {0.07f, false, 1.0f / 15.0f},
        {3.0f, false, 1.0f / 15.0f}, {-1.0f, true, 0.0f}, // the clock went back
    };
    for (const Case& c : cases) {
        MNFrameClock clock(10.0f);
        EXPECT_NEAR(clock.NextFrameTime(10.0f + c.elapsed, c.bSplashFinished), c.expected, 1e-5f)
            << c.elapsed << (c.bSplashFinished ? " after" : " during") << " the splash";
    }
}

TEST(FrameClockTest, OnTheVirtualClockEachFrameIsOneFieldAndTheDiscCheckEvery100PalFrames) {
    ASSERT_EQ(kPlatform_Process(), 1);
    MNFrameClock clock(kPlatform_GetSeconds());
    int checks = 0;
    for (int frame = 1; frame <= 500; ++frame) {
        ASSERT_EQ(kPlatform_Process(), 1);
        MyDemoDoneRender();
        MyDemoBeforeRender();
        EXPECT_NEAR(clock.NextFrameTime(kPlatform_GetSeconds(), true), 0.02f, 1e-4f);
        if (clock.IsDiscCheckDue()) {
            EXPECT_EQ(frame % 100, 0) << frame;
            ++checks;
        }
    }
    EXPECT_EQ(checks, 5);
}

} // namespace
