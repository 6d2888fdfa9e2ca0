// The last seconds' countdown every timed clock warns with: each window's bounds, the two
// beats, and the run clock that Quick Blast and Fast and Fun follow a puzzle's clock with.
#include <modes/mnrunclock.h>
#include <puzzles/mncountdown.h>

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using namespace Kelvo_lib;

TEST(Countdown, EachWindowHoldsItsBoundsAsItsClockCountsThem) {
    const struct {
        MNCountdown::eWindow window;
        float length;
        float left;
        bool in;
    } cases[] = {
        {MNCountdown::WINDOW_WHOLE_SECONDS, 30.0f, 30.99f, true},
        {MNCountdown::WINDOW_WHOLE_SECONDS, 30.0f, 31.0f, false},
        {MNCountdown::WINDOW_WHOLE_SECONDS, 30.0f, 1.0f, true},
        {MNCountdown::WINDOW_WHOLE_SECONDS, 30.0f, 0.99f, false},
        {MNCountdown::WINDOW_WHOLE_SECONDS, 30.0f, std::numeric_limits<float>::quiet_NaN(), false},
        {MNCountdown::WINDOW_BELOW_LENGTH, 30.0f, 30.0f, false},
        {MNCountdown::WINDOW_BELOW_LENGTH, 30.0f, 0.01f, true},
        {MNCountdown::WINDOW_UP_TO_LENGTH, 29.5f, 29.5f, true},
        {MNCountdown::WINDOW_UP_TO_LENGTH, 29.5f, 0.0f, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MNCountdown(c.window, c.length).InWindow(c.left), c.in)
            << c.window << " " << c.length << " " << c.left;
    }
}

// The frames that warn, as '+' and '.', over 20 frames of a quarter second from 4.5 seconds
// left in a window of the last 4 seconds, restarted before the 10th frame.
std::string Beats(MNCountdown::eBeat beat) {
    MNCountdown countdown(MNCountdown::WINDOW_BELOW_LENGTH, 4.0f, beat);
    std::string heard;
    for (int frame = 0; frame < 20; ++frame) {
        if (frame == 9) {
            countdown.Restart();
        }
        heard += countdown.Warn(4.5f - 0.25f * static_cast<float>(frame), 0.25f) ? '+' : '.';
    }
    return heard;
}

TEST(Countdown, ABeatWarnsOnEntryOrOnceASecondIsCountedAndCountsOnlyInTheWindow) {
    EXPECT_EQ(Beats(MNCountdown::BEAT_ON_ENTRY), "...+...+.+...+...+..");
    EXPECT_EQ(Beats(MNCountdown::BEAT_AFTER_A_SECOND), "......+.....+...+...");
}

TEST(RunClock, FollowsOnlyAMovingPuzzleClockAndKeepsFinishedPuzzles) {
    MNRunClock clock;
    EXPECT_FALSE(clock.Follow(0.0f)) << "a puzzle clock standing at its start";
    EXPECT_TRUE(clock.Follow(2.5f));
    EXPECT_FALSE(clock.Follow(2.5f));
    clock.EndPuzzle();
    clock.EndPuzzle(1.5f);
    EXPECT_FLOAT_EQ(clock.Total(), 4.0f) << "the time last read, then the time given";
}

} // namespace
