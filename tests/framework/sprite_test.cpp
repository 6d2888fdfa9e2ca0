// Sprites: the animation clock in every play mode with the quarter-frame bias, ping-pong
// bounces and the one SignalFinished, sprites without frames, creation, display-fraction
// coordinates, and hit tests on rectangles, masks, flips, scale and masks too small to hold
// a block.
#include "log_capture.h"
#include "render_fixture.h"
#include "sprite_test_bank.h"

#include <framework/ksprite.h>
#include <framework/kspritemanager.h>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

using namespace Kelvo_lib;
using sprite_test_bank::Filled;
using sprite_test_bank::Load;
using test_support::LogCapture;

constexpr std::uint32_t kOpaque = 0xFFFFFFFF;
constexpr std::uint32_t kClear = 0x00FFFFFF;

struct TimeCase {
    PlayMode mode;
    bool bPlaying;
    float frameRate;
    float t;
    float time; // what the clock holds afterwards
    unsigned int frame;
    unsigned int loop;
    float direction;
    bool bPlayingAfter;
};

class PlayTimeTest : public testing::TestWithParam<TimeCase> {};

// A 4-frame animation: at 2 frames per second its last frame begins at 1.5 s.
TEST_P(PlayTimeTest, FoldsTimeIntoTheAnimationAndPicksTheBiasedFrame) {
    const TimeCase& c = GetParam();
    PlayController clock;
    clock.m_numFrames = 4;
    clock.m_playMode = c.mode;
    clock.m_bIsPlaying = c.bPlaying;
    clock.m_frameRate = c.frameRate;
    clock.SetTime(c.t);
    EXPECT_FLOAT_EQ(clock.m_currentTime, c.time);
    EXPECT_EQ(clock.m_currentFrame, c.frame);
    EXPECT_EQ(clock.m_currentLoop, c.loop);
    EXPECT_EQ(clock.m_playDirection, c.direction);
    EXPECT_EQ(clock.m_bIsPlaying, c.bPlayingAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PlayTimeTest,
    testing::Values(TimeCase{PLAY_ONCE, false, 7.5f, 0.1f, 0.1f, 1, 0, 1, false},
                    TimeCase{PLAY_ONCE, false, 7.5f, 0.05f, 0.05f, 0, 0, 1, false},
                    TimeCase{PLAY_ONCE, false, 2.0f, 0.4f, 0.4f, 1, 0, 1, false},
                    TimeCase{PLAY_ONCE, false, 2.0f, 2.0f, 0.5f, 1, 1, 1, false},
                    TimeCase{PLAY_ONCE, false, 2.0f, -0.5f, 1.0f, 2, 0, 1, false},
                    TimeCase{PLAY_LOOP, true, 2.0f, 3.0f, 1.5f, 3, 1, 1, true},
                    TimeCase{PLAY_LOOP_REVERSE, true, 2.0f, -2.0f, 1.0f, 2, 1, 1, true},
                    TimeCase{PLAY_LOOP_PINGPONG, false, 2.0f, 2.0f, 1.0f, 2, 1, -1, false},
                    TimeCase{PLAY_LOOP_PINGPONG, true, 2.0f, -2.0f, 0.5f, 1, 1, 1, true},
                    TimeCase{PLAY_ONCE_PINGPONG, true, 2.0f, 2.5f, 0.5f, 1, 1, -1, true},
                    TimeCase{PLAY_ONCE_PINGPONG, true, 2.0f, -0.5f, 0.0f, 0, 0, 1, false},
                    TimeCase{PLAY_ONCE, true, 2.0f, 3.0f, 1.5f, 3, 0, 1, false},
                    TimeCase{PLAY_ONCE_REVERSE, true, 2.0f, -1.0f, 0.0f, 0, 0, 1, false},
                    TimeCase{PLAY_ONCE_REVERSE, true, 2.0f, 1.0f, 1.0f, 2, 0, 1, true},
                    // A frame rate that is not positive shows the first frame.
                    TimeCase{PLAY_LOOP, true, 0.0f, 1.0f, 0.0f, 0, 0, 1, true},
                    TimeCase{PLAY_LOOP, true, -2.0f, 1.0f, 0.0f, 0, 0, 1, true}));

TEST(PlayControllerTest, HugeOrInvalidTimesEndWithAFrameOfTheAnimation) {
    PlayController clock;
    clock.m_numFrames = 4;
    clock.m_playMode = PLAY_LOOP;
    for (const float t : {1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()}) {
        clock.SetTime(t);
        EXPECT_LT(clock.m_currentFrame, 4u) << t;
        EXPECT_GE(clock.m_currentTime, 0.0f) << t;
        EXPECT_LE(clock.m_currentTime, 0.4f) << t;
    }
}

TEST(PlayControllerTest, SetFrameWrapsAndCopesWithNoFrames) {
    PlayController clock;
    clock.m_numFrames = 4;
    clock.SetFrame(6);
    EXPECT_EQ(clock.m_currentFrame, 2u);
    clock.m_numFrames = 1;
    clock.SetFrame(3);
    EXPECT_EQ(clock.m_currentFrame, 0u);
    clock.m_numFrames = 0;
    clock.SetFrame(5);
    EXPECT_EQ(clock.m_currentFrame, 0u);
    EXPECT_EQ(clock.m_currentTime, 0.0f);
}

class FinishCounter : public kHasSlots<> {
public:
    void OnFinished() { ++count; }
    int count = 0;
};

TEST(PlayControllerTest, SignalsFinishedOnceWhenAOnceAnimationRunsPastItsEnd) {
    PlayController clock;
    FinishCounter counter;
    clock.SignalFinished.Connect(&counter, &FinishCounter::OnFinished);
    clock.m_numFrames = 4;
    clock.m_frameRate = 2.0f;
    clock.m_bIsPlaying = true;
    clock.SetTime(3.0f);
    clock.SetTime(3.0f);
    EXPECT_EQ(counter.count, 1);
    EXPECT_FALSE(clock.m_bIsPlaying);

    clock.m_bIsPlaying = true;
    clock.m_bIsPaused = true;
    clock.SetTime(-1.0f); // a stop: no signal, not paused any more
    EXPECT_EQ(counter.count, 1);
    EXPECT_FALSE(clock.m_bIsPaused);
}

// A 16 x 8 sprite whose left half is solid, with a collision mask.
std::vector<datatool::SpriteSource> HalfSolidSprites() {
    datatool::ArgbImage left = Filled(16, 8, kClear);
    datatool::ArgbImage top = Filled(16, 8, kClear);
    datatool::ArgbImage edge = Filled(10, 4, kClear); // solid in pixel column 9 only
    for (unsigned int y = 0; y < 8; ++y) {
        for (unsigned int x = 0; x < 16; ++x) {
            left.Set(x, y, x < 8 ? kOpaque : kClear);
            top.Set(x, y, y < 4 ? kOpaque : kClear);
        }
    }
    for (unsigned int y = 0; y < 4; ++y) {
        edge.Set(9, y, kOpaque);
    }
    return {{"left", {left}, {}, true},
            {"top", {top}, {}, true},
            {"edge", {edge}, {}, true},
            {"plain", {Filled(16, 8, kOpaque)}, {}, false}};
}

struct HitCase {
    const char* sprite;
    unsigned int flipFlags;
    float x;
    float y;
    bool bHit;
};

class MouseHitTest : public testing::TestWithParam<HitCase> {};

TEST_P(MouseHitTest, HitsTheRectangleAndTheSetBlocksOfTheMask) {
    const HitCase& c = GetParam();
    const std::unique_ptr<kSprite> sprite(kSprite::Create(Load(HalfSolidSprites()), c.sprite));
    ASSERT_NE(sprite, nullptr);
    sprite->SetPosition(100.0f, 50.0f);
    sprite->m_flipFlags = c.flipFlags;
    EXPECT_EQ(sprite->MouseHit(c.x, c.y, false), c.bHit);
}

INSTANTIATE_TEST_SUITE_P(Points, MouseHitTest,
                         testing::Values(HitCase{"plain", 0, 100.0f, 50.0f, true},
                                         HitCase{"plain", 0, 115.9f, 57.9f, true},
                                         HitCase{"plain", 0, 116.0f, 50.0f,
                                                 false}, // right edge: u is 1
                                         HitCase{"plain", 0, 100.0f, 58.0f, false}, // bottom edge
                                         HitCase{"plain", 0, 99.9f, 50.0f, false},
                                         HitCase{"left", 0, 102.0f, 52.0f, true},
                                         HitCase{"left", 0, 110.0f, 52.0f, false},
                                         HitCase{"left", K_SPRITE_FLIP_X, 102.0f, 52.0f, false},
                                         HitCase{"left", K_SPRITE_FLIP_X, 110.0f, 52.0f, true},
                                         HitCase{"top", K_SPRITE_FLIP_Y, 102.0f, 51.0f, false},
                                         HitCase{"top", K_SPRITE_FLIP_Y, 102.0f, 56.0f, true},
                                         // Two mask columns: pixel column 9 falls in the last one.
                                         HitCase{"edge", 0, 109.0f, 51.0f, true},
                                         HitCase{"edge", 0, 101.0f, 51.0f, false}));

TEST(SpriteTest, HitTestScalesAboutTheHotSpotUnlessScaleIsIgnored) {
    const std::unique_ptr<kSprite> sprite(kSprite::Create(Load(HalfSolidSprites()), "PLAIN"));
    ASSERT_NE(sprite, nullptr);
    sprite->SetPosition(100.0f, 50.0f);
    sprite->m_hotspotX = 0.5f;
    sprite->m_hotspotY = 0.5f;
    sprite->m_scaleX = 2.0f;
    sprite->m_scaleY = 2.0f;
    EXPECT_TRUE(sprite->MouseHit(85.0f, 43.0f, false));
    EXPECT_FALSE(sprite->MouseHit(85.0f, 43.0f, true));
    EXPECT_TRUE(sprite->MouseHit(93.0f, 47.0f, true));
}

TEST(SpriteTest, MasksTooSmallForABlockAndSpritesWithoutFramesAreNeverHit) {
    datatool::SpriteBankContent content = sprite_test_bank::Build(HalfSolidSprites());
    content.frames[0].width = 3; // "left" keeps a mask of no whole block
    const kSharedPtr<kSpriteBank> bank = Load(content);
    const std::unique_ptr<kSprite> narrow(kSprite::Create(bank, "left"));
    ASSERT_NE(narrow, nullptr);
    EXPECT_FALSE(narrow->MouseHit(1.0f, 1.0f, false));

    const std::unique_ptr<kSprite> empty(kSprite::Create(bank, "plain"));
    ASSERT_NE(empty, nullptr);
    empty->m_sprite->numFrames = 0;
    empty->m_numFrames = 0;
    empty->SetFrame(3);
    EXPECT_EQ(empty->m_currentFrame, 0u);
    EXPECT_FALSE(empty->MouseHit(1.0f, 1.0f, false));
}

TEST(SpriteTest, CreateRefusesAnEmptyBankQuietlyAndAMissingNameWithALogLine) {
    LogCapture log;
    EXPECT_EQ(kSprite::Create(kSharedPtr<kSpriteBank>(), "plain"), nullptr);
    EXPECT_TRUE(log.lines.empty());
    const kSharedPtr<kSpriteBank> bank = Load(HalfSolidSprites());
    EXPECT_EQ(kSprite::Create(bank, "missing"), nullptr);
    EXPECT_TRUE(log.Contains("Failed to find sprite 'missing'"));
}

class SpriteCoordinateTest : public render_fixture::RenderTest {};

TEST_F(SpriteCoordinateTest, NormalCoordinatesConvertAtTheSetterAndBack) {
    ASSERT_EQ(kSpriteManager::GetDisplayWidth(), 640);
    const std::unique_ptr<kSprite> sprite(kSprite::Create(Load(HalfSolidSprites()), "plain"));
    ASSERT_NE(sprite, nullptr);
    sprite->SetNormalCoordinates(true);
    sprite->SetX(0.5f);
    sprite->SetWidth(0.25f);
    EXPECT_EQ(sprite->m_x, 320.0f);
    EXPECT_EQ(sprite->m_width, 160.0f);
    EXPECT_EQ(sprite->GetX(), 0.5f);
    EXPECT_TRUE(sprite->MouseHit(0.5f, 0.0f, false));
    sprite->SetNormalCoordinates(false);
    EXPECT_EQ(sprite->GetX(), 320.0f);
}

} // namespace
