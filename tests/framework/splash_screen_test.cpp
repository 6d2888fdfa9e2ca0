// The start-up sequence: a picture's fades and times frame by frame, skipping, and movies:
// played to their end plus half a second, cut short by a key, or passed over when missing.
#include "../kelvo/audio_device_support.h"
#include "temporary_host_directory.h"

#include <framework/ksplashscreen.h>

#include <kelvo/movie/thpfile.h>
#include <kelvo/platform/kplatform.h>

#include <console/vi.h>

#include <vector>

namespace {

using Kelvo_lib::kSplashScreen;
constexpr float kFrame = 1.0f / 60;

// Ticks until the state leaves `state`; the frames it took.
int FramesIn(int state, int limit = 2000) {
    int frames = 0;
    while (kSplashScreen::GetState() == state && frames < limit) {
        kSplashScreen::Tick(kFrame);
        ++frames;
    }
    return frames;
}

class SplashScreenTest : public testing::Test {
protected:
    void TearDown() override { kSplashScreen::Clear(); }
};

TEST_F(SplashScreenTest, EmptySequenceIsFinishedBeforeAndAfterStart) {
    EXPECT_TRUE(kSplashScreen::IsFinished());
    kSplashScreen::Start();
    EXPECT_TRUE(kSplashScreen::IsFinished());
}

TEST_F(SplashScreenTest, PictureFadesInShowsAndFadesOut) {
    kSplashScreen::AddImage(Kelvo_lib::kSharedPtr<Kelvo_lib::kSpriteBank>(), "title", 1.0f, 0.5f,
                            0.5f, false);
    kSplashScreen::Start();
    ASSERT_EQ(kSplashScreen::GetState(), kSplashScreen::K_SPLASH_FADE_IN);
    EXPECT_EQ(kSplashScreen::GetFadeAlpha(), 255);
    EXPECT_NEAR(FramesIn(kSplashScreen::K_SPLASH_FADE_IN), 31, 1); // the frame after 0.5 s
    EXPECT_EQ(kSplashScreen::GetFadeAlpha(), 0);
    EXPECT_NEAR(FramesIn(kSplashScreen::K_SPLASH_SHOWING), 61, 1);
    EXPECT_LE(kSplashScreen::GetFadeAlpha(), 9);
    EXPECT_NEAR(FramesIn(kSplashScreen::K_SPLASH_FADE_OUT), 31, 1);
    EXPECT_TRUE(kSplashScreen::IsFinished());
}

TEST_F(SplashScreenTest, PictureWithoutTimeWaitsForItsSkip) {
    kSplashScreen::AddImage(Kelvo_lib::kSharedPtr<Kelvo_lib::kSpriteBank>(), "a", -1.0f, -2.0f,
                            0.0f, true);
    kSplashScreen::AddImage(Kelvo_lib::kSharedPtr<Kelvo_lib::kSpriteBank>(), "b", 1.0f, 0.5f, 0.0f,
                            false);
    kSplashScreen::Start();
    EXPECT_EQ(FramesIn(kSplashScreen::K_SPLASH_SHOWING, 300), 300);
    ASSERT_TRUE(kSplashScreen::IsAllowKeySkip());
    kSplashScreen::AdvanceState(true);
    EXPECT_EQ(kSplashScreen::GetCurrentScreen(), 1);
    EXPECT_EQ(kSplashScreen::GetState(), kSplashScreen::K_SPLASH_FADE_IN);
    kSplashScreen::AdvanceState(true); // a skip during a fade-in moves straight on
    EXPECT_TRUE(kSplashScreen::IsFinished());
}

class SplashMovieTest : public audio_device_test::AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        kPlatform_Init();
        THPMovieSource source{};
        source.width = source.height = 32;
        source.frameRate = 25.0f;
        source.numFrames = 25; // one second
        source.jpegQuality = 50;
        source.drawFrame = [](u32, u8* rgb) { std::fill(rgb, rgb + 32 * 32 * 3, 0x80); };
        std::vector<u8> file;
        ASSERT_TRUE(THPWriteMovie(source, &file));
        m_disc.Write("wii/movies/logo.thp", file);
    }
    void TearDown() override {
        kSplashScreen::Clear();
        AudioDeviceTest::TearDown();
    }

    // Runs the sequence as the game does for up to `fields` PAL fields; the fields taken.
    static int RunUntilFinished(int fields) {
        int field = 0;
        for (; field < fields && !kSplashScreen::IsFinished(); ++field) {
            VIWaitForRetrace();
            kSplashScreen::Tick(1.0f / 50);
            kSplashScreen::Render();
        }
        return field;
    }

    test_support::TemporaryDisc m_disc;
};

TEST_F(SplashMovieTest, MovieEndsHalfASecondAfterItStopsWhateverItsTime) {
    kSplashScreen::AddMovie("logo", 10.0f, true);
    kSplashScreen::Start();
    ASSERT_EQ(kSplashScreen::GetState(), kSplashScreen::K_SPLASH_MOVIE);
    const int fields = RunUntilFinished(1000);
    EXPECT_NEAR(fields, 50 + 25, 4); // one second of movie, half a second after
}

TEST_F(SplashMovieTest, KeySkipsAMovieAndAMissingOneIsPassedOver) {
    kSplashScreen::AddMovie("missing", 5.5f, true);
    kSplashScreen::AddMovie("logo", 4.0f, true);
    kSplashScreen::AddMovie("logo", 4.2f, true);
    kSplashScreen::Start();
    EXPECT_EQ(kSplashScreen::GetCurrentScreen(), 0);
    kSplashScreen::Tick(1.0f / 50);
    EXPECT_EQ(kSplashScreen::GetCurrentScreen(), 1);
    EXPECT_EQ(kSplashScreen::GetState(), kSplashScreen::K_SPLASH_MOVIE);
    RunUntilFinished(10);
    kSplashScreen::AdvanceState(true);
    EXPECT_EQ(kSplashScreen::GetCurrentScreen(), 2);
    EXPECT_EQ(kSplashScreen::GetState(), kSplashScreen::K_SPLASH_MOVIE);
    kSplashScreen::PauseMovie(); // a paused logo is replaced by what follows
    kSplashScreen::Tick(1.0f / 50);
    EXPECT_TRUE(kSplashScreen::IsFinished());
}

} // namespace
