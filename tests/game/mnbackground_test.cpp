// The animated background's looks: a look outside the nine is logged and gives the menus'
// look, and the motion follows the random generator it is lent.
#include "game_golden_fixture.h"
#include "log_capture.h"

#include <tui/mnbackground.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;

TEST_F(GameUITest, UnknownBackgroundLooksGiveTheMenusLook) {
    MNBackgroundWidget background;
    background.SetMode(BACKGROUND_WORDSEARCH);
    test_support::LogCapture log;
    for (const int look : {-1, 9, 1000}) {
        background.SetMode(static_cast<eBackgroundLook>(look));
        EXPECT_EQ(background.GetMode(), BACKGROUND_MENUS) << look;
    }
    EXPECT_EQ(log.CountContaining("no look"), 3);
}

TEST_F(GameUITest, BackgroundMotionFollowsTheGeneratorItIsLent) {
    const auto picture = [this](u32 seed) {
        kmRandomMersenneTwister random(seed);
        MNBackgroundWidget background;
        background.SetRandomGenerator(&random);
        background.SetMode(BACKGROUND_FITWORD);
        background.Tick(0.5f);
        background.Render();
        kRender::BufferSwap();
        background.Render();
        return game_golden::Picture(m_surface).rgb;
    };
    EXPECT_EQ(picture(7), picture(7));
    EXPECT_NE(picture(7), picture(8));
}

} // namespace
