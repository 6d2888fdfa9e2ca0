// The strap screen's steps and its A press, which counts only once the prompt shows.
#include "frame_step.h"
#include "log_capture.h"
#include "shell_test_support.h"

#include <shell/mnbuiltinbanks.h>
#include <shell/mnstrapscreen.h>

#include <framework/kspritemanager.h>
#include <services/mnresourcemanager.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;

class StrapScreenTest : public shell_test::ShellTest {
protected:
    // Ticks until the seconds have passed.
    void Run(MNStrapScreen& strap, float seconds) {
        for (float t = 0.0f; t < seconds - kFrame / 2; t += kFrame) {
            strap.Tick(kFrame);
        }
    }

    // An A press and release, a frame each.
    void Press(MNStrapScreen& strap) {
        HoldA(true);
        strap.Tick(kFrame);
        HoldA(false);
        strap.Tick(kFrame);
    }
};

TEST_F(StrapScreenTest, APressCountsOnlyOnceThePromptShowsThenTheScreenFadesOut) {
    test_support::LogCapture log;
    MNStrapScreen strap(kSharedPtr<kSpriteBank>(new kSpriteBank("", false)));
    EXPECT_TRUE(log.Contains("No strap bank"));
    EXPECT_EQ(strap.GetState(), MNStrapScreen::FADE_IN);
    Run(strap, MNStrapScreen::K_FADE_TIME);
    EXPECT_EQ(strap.GetState(), MNStrapScreen::WAITING);
    Press(strap); // too early: ignored
    Run(strap, MNStrapScreen::K_PROMPT_DELAY - MNStrapScreen::K_FADE_TIME);
    ASSERT_EQ(strap.GetState(), MNStrapScreen::PROMPT);
    Run(strap, 10.0f);
    EXPECT_EQ(strap.GetState(), MNStrapScreen::PROMPT); // it waits for the player

    Press(strap);
    EXPECT_EQ(strap.GetState(), MNStrapScreen::FADE_OUT);
    Run(strap, MNStrapScreen::K_FADE_TIME);
    EXPECT_TRUE(strap.IsFinished());
    strap.Render(); // draws nothing once finished
}

TEST_F(StrapScreenTest, ThePictureIsExpandedOnlyOnceTheFadeLetsItShow) {
    MNResourceManager::Init();
    MNBuiltInBanks::Register();
    {
        MNStrapScreen strap(MNResourceManager::GetSpriteBank("strap"));
        const unsigned int uploads = kSpriteManager::GetPageUploadCount();
        strap.Render(); // the fade is still wholly black
        EXPECT_EQ(kSpriteManager::GetPageUploadCount(), uploads);
        strap.Tick(kFrame);
        strap.Render();
        EXPECT_GT(kSpriteManager::GetPageUploadCount(), uploads);
    }
    MNResourceManager::Deinit();
}

} // namespace
