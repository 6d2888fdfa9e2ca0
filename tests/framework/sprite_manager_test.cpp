// The sprite manager through the real render layer: the page cache (recycling the least
// recently used of 101 pages, one upload per page, a destroyed bank taking only its own
// pages), frames and cells that draw nothing, pages that cannot become textures, the flip
// offset of a trimmed frame, and golden pictures of a sprite drawn plain, flipped, rotated,
// clipped and faded. Goldens: tests/framework/golden/ (png_golden.h).
#include "log_capture.h"
#include "png_golden.h"
#include "render_fixture.h"
#include "sprite_test_bank.h"

#include <framework/ksprite.h>
#include <framework/kspritemanager.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <set>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using png_golden::ReadEmbeddedFrameBuffer;
using sprite_test_bank::Filled;
using sprite_test_bank::Load;
using test_support::LogCapture;
using namespace render_fixture;

class SpriteManagerTest : public PictureTest {
protected:
    // Draws frame 0 (or frameIndex) of the sprite with its box at (x, y), at its own size.
    static void Draw(const kSpriteBank* bank, const char* name, float x, float y,
                     const std::function<void(SpriteState&)>& change = {}) {
        const kSpriteBankSprite* sprite = bank->FindSprite(name);
        ASSERT_NE(sprite, nullptr);
        SpriteState state{
            x, y, float(sprite->width), float(sprite->height), 0, 0, 1, 1, 0, 0, 0, 0xFFFFFFFF, 1};
        if (change) {
            change(state);
        }
        kSpriteManager::Render(bank, sprite, &state);
        krDrawHelp::Flush();
    }
};

std::string SpriteName(int i) {
    char name[16];
    std::snprintf(name, sizeof(name), "s%d", i);
    return name;
}

// count sprites "s0", "s1", ... of one 6 x 6 frame each, every one on a page of its own.
kSharedPtr<kSpriteBank> OnePagePerSprite(int count) {
    std::vector<datatool::SpriteSource> sprites;
    for (int i = 0; i < count; ++i) {
        sprites.push_back({SpriteName(i), {Filled(6, 6, 0xFF000000u + i)}, {}, false});
    }
    return Load(sprites, 8);
}

int PageOf(const kSpriteBank* bank, int sprite) {
    const kSpriteBankFrame* frame =
        bank->GetFrame(static_cast<int>(bank->GetSprite(sprite)->frameIndex));
    return bank->GetCell(static_cast<int>(frame->cellIndex))->pageIndex;
}

TEST_F(SpriteManagerTest, CacheRecyclesTheLeastRecentlyUsedOf101Pages) {
    const kSharedPtr<kSpriteBank> bank = OnePagePerSprite(103);
    std::set<int> pages;
    for (int i = 0; i < 103; ++i) {
        pages.insert(PageOf(bank.Get(), i));
    }
    ASSERT_EQ(pages.size(), 103u);
    const auto draw = [&](int i) { Draw(bank.Get(), SpriteName(i).c_str(), 0, 0); };
    const auto cached = [&](int i) {
        return kSpriteManager::IsPageCached(bank.Get(), PageOf(bank.Get(), i));
    };

    const unsigned int uploads = kSpriteManager::GetPageUploadCount();
    for (int i = 0; i <= 100; ++i) {
        draw(i);
    }
    EXPECT_EQ(kSpriteManager::GetPageUploadCount(), uploads + 101);
    draw(0); // a hit: to the front, no upload
    draw(101);
    EXPECT_EQ(kSpriteManager::GetPageUploadCount(), uploads + 102);
    EXPECT_EQ(kSpriteManager::GetNumCachedPages(), 101);
    EXPECT_TRUE(cached(0)) << "drawn again, so it survived";
    EXPECT_FALSE(cached(1)) << "the least recently used";
    EXPECT_TRUE(cached(101));

    draw(1); // uploaded again, recycling page 2
    EXPECT_EQ(kSpriteManager::GetPageUploadCount(), uploads + 103);
    EXPECT_FALSE(cached(2));
    EXPECT_EQ(kSpriteManager::GetNumCachedPages(), 101);
}

TEST_F(SpriteManagerTest, APageDrawnTwiceIsUploadedOnce) {
    const kSharedPtr<kSpriteBank> bank = Load({{"a", {Filled(8, 8, 0xFFFF0000)}, {}, false},
                                               {"b", {Filled(8, 8, 0xFF00FF00)}, {}, false}});
    const unsigned int uploads = kSpriteManager::GetPageUploadCount();
    Draw(bank.Get(), "a", 0, 0);
    Draw(bank.Get(), "a", 10, 0);
    Draw(bank.Get(), "b", 20, 0); // the same page
    EXPECT_EQ(kSpriteManager::GetPageUploadCount(), uploads + 1);
    EXPECT_EQ(Pixel(24, 4), kGreen);
}

TEST_F(SpriteManagerTest, DestroyingABankRemovesOnlyItsOwnPages) {
    kSharedPtr<kSpriteBank> first = OnePagePerSprite(2);
    const kSharedPtr<kSpriteBank> second = OnePagePerSprite(1);
    Draw(first.Get(), "s0", 0, 0);
    Draw(first.Get(), "s1", 0, 0);
    Draw(second.Get(), "s0", 0, 0);
    const int before = kSpriteManager::GetNumCachedPages();
    const kSpriteBank* gone = first.Get();
    first = kSharedPtr<kSpriteBank>();
    EXPECT_EQ(kSpriteManager::GetNumCachedPages(), before - 2);
    EXPECT_FALSE(kSpriteManager::IsPageCached(gone, 0));
    EXPECT_TRUE(kSpriteManager::IsPageCached(second.Get(), 0));
}

TEST_F(SpriteManagerTest, EmptyRequestsDrawNothingAndTouchNoPage) {
    const kSharedPtr<kSpriteBank> bank = Load(
        {{"a", {Filled(8, 8, 0xFFFFFFFF)}, {}, false}, {"blank", {Filled(8, 8, 0)}, {}, false}});
    const unsigned int uploads = kSpriteManager::GetPageUploadCount();
    const u32 draws = kRender::GetDrawCallCount();
    Draw(bank.Get(), "a", 10, 10, [](SpriteState& s) { s.clipX1 = 0.0f; }); // no width
    Draw(bank.Get(), "a", 10, 10, [](SpriteState& s) { s.clipY0 = s.clipY1 = 0.5f; });
    Draw(bank.Get(), "a", 641, 10);    // right of the fixed 640-pixel screen
    Draw(bank.Get(), "a", 10, 497);    // below its 496 lines
    Draw(bank.Get(), "blank", 10, 10); // a frame without cells
    kSpriteManager::Render(bank.Get(), nullptr, nullptr);
    bank->FindSprite("a")->numFrames = 0;
    Draw(bank.Get(), "a", 10, 10);
    EXPECT_EQ(kSpriteManager::GetPageUploadCount(), uploads);
    EXPECT_EQ(kRender::GetDrawCallCount(), draws);
    EXPECT_EQ(Pixel(12, 12), kBackground);
}

TEST_F(SpriteManagerTest, AFrameIndexBeyondTheSpriteDrawsItsLastFrame) {
    const kSharedPtr<kSpriteBank> bank =
        Load({{"two", {Filled(8, 8, 0xFFFF0000), Filled(8, 8, 0xFF0000FF)}, {}, false}});
    Draw(bank.Get(), "two", 10, 10, [](SpriteState& s) { s.frameIndex = 5; });
    EXPECT_EQ(Pixel(14, 14), kBlue);
}

TEST_F(SpriteManagerTest, APageThatCannotBeATextureIsLoggedOnceAndSkipped) {
    datatool::SpriteBankContent content =
        sprite_test_bank::Build({{"a", {Filled(8, 8, 0xFFFFFFFF)}, {}, false}});
    content.pages[0].type = K_IMAGE_RGBA_8888; // no texture format
    const kSharedPtr<kSpriteBank> bank = Load(content);
    LogCapture log;
    const u32 draws = kRender::GetDrawCallCount();
    Draw(bank.Get(), "a", 10, 10);
    Draw(bank.Get(), "a", 10, 10);
    EXPECT_EQ(log.CountContaining("Out of memory for texture in Unknown, 16x16"), 1);
    EXPECT_EQ(kRender::GetDrawCallCount(), draws);
}

// A frame trimmed to 32 of its 40 pixels, 2 from its left: mirrored, its box lies 6 from the
// left instead.
TEST_F(SpriteManagerTest, HorizontalFlipMirrorsTheFrameOffsetInsideItsFullWidth) {
    datatool::SpriteBankContent content =
        sprite_test_bank::Build({{"trimmed", {Filled(32, 8, 0xFFFF0000)}, {}, false}});
    content.frames[0].totalw = 40;
    content.frames[0].offsetx = 2;
    const kSharedPtr<kSpriteBank> bank = Load(content);
    Draw(bank.Get(), "trimmed", 100, 10);
    Draw(bank.Get(), "trimmed", 100, 30, [](SpriteState& s) { s.flipFlags = K_SPRITE_FLIP_X; });
    EXPECT_EQ(Pixel(101, 14), kBackground);
    EXPECT_EQ(Pixel(102, 14), kRed);
    EXPECT_EQ(Pixel(133, 14), kRed);
    EXPECT_EQ(Pixel(105, 34), kBackground);
    EXPECT_EQ(Pixel(106, 34), kRed);
    EXPECT_EQ(Pixel(137, 34), kRed);
    EXPECT_EQ(Pixel(138, 34), kBackground);
}

// 32 x 24: red, green, blue and white quadrants, the white one with a clear notch, so that
// every mirror, turn and cut shows.
datatool::ArgbImage QuadrantPicture() {
    datatool::ArgbImage image(32, 24);
    for (unsigned int y = 0; y < 24; ++y) {
        for (unsigned int x = 0; x < 32; ++x) {
            const bool notch = x >= 26 && y >= 18;
            image.Set(x, y, notch ? 0 : 0xFF000000 | QuadrantColour(x, y, 32, 24));
        }
    }
    return image;
}

struct GoldenCase {
    const char* name;
    std::function<void(kSprite&)> pose;
    int screenFade = 0; // the alpha of a screen fade drawn over the sprite, if any

    friend void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }
};

class SpriteGoldenTest : public SpriteManagerTest,
                         public testing::WithParamInterface<GoldenCase> {};

TEST_P(SpriteGoldenTest, DrawsTheSpriteAsPosed) {
    const std::unique_ptr<kSprite> sprite(
        kSprite::Create(Load({{"quads", {QuadrantPicture()}, {}, false}}), "quads"));
    ASSERT_NE(sprite, nullptr);
    sprite->SetPosition(16, 20);
    GetParam().pose(*sprite);
    sprite->Render();
    if (GetParam().screenFade > 0) {
        kSpriteManager::SetScreenFade(GetParam().screenFade);
    }
    krDrawHelp::Flush();
    EXPECT_TRUE(MatchesGolden(std::string("sprite_") + GetParam().name,
                              ReadEmbeddedFrameBuffer(0, 0, 64, 64)));
}

INSTANTIATE_TEST_SUITE_P(
    Poses, SpriteGoldenTest,
    testing::Values(GoldenCase{"plain", [](kSprite&) {}},
                    GoldenCase{
                        "flipped",
                        [](kSprite& s) { s.m_flipFlags = K_SPRITE_FLIP_X | K_SPRITE_FLIP_Y; }},
                    GoldenCase{"rotated",
                               [](kSprite& s) {
                                   s.SetRotation(30.0f);
                                   s.m_rotationCenterX = 0.5f;
                                   s.m_rotationCenterY = 0.5f;
                               }},
                    // The middle half of the picture at its natural size.
                    GoldenCase{"clipped",
                               [](kSprite& s) {
                                   s.SetWidth(16);
                                   s.SetHeight(12);
                                   s.m_clipX0 = s.m_clipY0 = 0.25f;
                                   s.m_clipX1 = s.m_clipY1 = 0.75f;
                               }},
                    // Faded as the splash screens fade: half black over everything.
                    GoldenCase{"faded", [](kSprite&) {}, 128}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

} // namespace
