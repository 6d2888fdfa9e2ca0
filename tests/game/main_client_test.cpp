// The client's move from the splash sequence to the title screen and on to the world, the
// splash skips it allows, and the title's A release, which must begin on the title itself.
#include "frame_step.h"
#include "log_capture.h"
#include "shell_test_support.h"

#include <shell/mainclient.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <shell/mntitlescreen.h>

#include <framework/ksplashscreen.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;

class MainClientTest : public shell_test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        m_game.AddClient(&m_client);
        m_game.GetGameWorld()->Init();
        MNTitleScreen::Init();
    }

    void TearDown() override {
        MNTitleScreen::Deinit();
        m_game.GetGameWorld()->Deinit();
        m_game.RemoveClient(&m_client);
        ShellTest::TearDown();
    }

    void Frame() {
        m_game.Tick(kFrame);
        m_client.Render();
    }

    MNGame m_game;
    MainClient m_client;
};

TEST_F(MainClientTest, SplashThenTitleThenTheWorldWhoseFrontEndBeginsPlay) {
    EXPECT_EQ(m_client.GetPhase(), MainClient::PHASE_SPLASH);
    Frame(); // no splash sequence: finished at once
    EXPECT_EQ(m_client.GetPhase(), MainClient::PHASE_TITLE);
    EXPECT_FALSE(MNTitleScreen::IsClosed());
    EXPECT_EQ(m_game.GetGameWorld()->GetCurrentSubGame(), nullptr);
    Frame(); // the title shows

    HoldA(true);
    Frame();
    EXPECT_EQ(m_client.GetPhase(), MainClient::PHASE_TITLE); // closes on the release
    HoldA(false);
    Frame();
    EXPECT_TRUE(MNTitleScreen::IsClosed());
    EXPECT_EQ(m_client.GetPhase(), MainClient::PHASE_WORLD);
    EXPECT_EQ(m_game.GetGameWorld()->GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
    Frame(); // the world draws through the client's view
}

TEST_F(MainClientTest, AReleaseOfAPressMadeBeforeTheTitleDoesNotCloseIt) {
    HoldA(true);
    Frame(); // the press that skipped the last movie is still held
    Frame();
    HoldA(false);
    Frame();
    EXPECT_FALSE(MNTitleScreen::IsClosed());
    EXPECT_EQ(m_client.GetPhase(), MainClient::PHASE_TITLE);
}

TEST_F(MainClientTest, SplashSequenceRunsFirstAndAPressSkipsOnlyWhereAllowed) {
    kSplashScreen::AddImage(kSharedPtr<kSpriteBank>(new kSpriteBank("", false)), "none", 1.0f, 0.0f,
                            0.0f, false);
    kSplashScreen::AddImage(kSharedPtr<kSpriteBank>(new kSpriteBank("", false)), "none", 30.0f,
                            0.0f, 0.0f, true);
    kSplashScreen::Start();
    HoldA(true);
    Frame();
    HoldA(false);
    Frame();
    EXPECT_EQ(kSplashScreen::GetCurrentScreen(), 0); // the first allows no skip
    for (int i = 0; i < 60; ++i) {
        Frame();
    }
    EXPECT_EQ(kSplashScreen::GetCurrentScreen(), 1);
    HoldA(true);
    Frame();
    HoldA(false);
    Frame();
    EXPECT_EQ(m_client.GetPhase(), MainClient::PHASE_TITLE);
}

TEST_F(MainClientTest, LogsItsStartAndEndUnderItsName) {
    test_support::LogCapture log;
    MainClient client;
    m_game.AddClient(&client);
    m_game.RemoveClient(&client);
    EXPECT_EQ(log.CountContaining("ClientInit"), 1);
    EXPECT_EQ(log.CountContaining("ClientDeinit"), 1);
}

} // namespace
