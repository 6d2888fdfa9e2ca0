// Fonts: the glyph order of the sheet, advances and string bounds, spacing, fixed widths,
// automatic and explicit shadows, per-line centring, empty fonts and glyphs the sprite lacks;
// the data tool's font sheet rendered from DejaVu Sans; and a golden line of text drawn from
// that sheet with its shadow, the sheet built in the test through the font writer.
#include "png_golden.h"
#include "render_fixture.h"
#include "sprite_test_bank.h"

#include <fonts/font_sheet.h>

#include <framework/kfont.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using png_golden::ReadEmbeddedFrameBuffer;
using sprite_test_bank::Filled;
using sprite_test_bank::Load;

using render_fixture::kBackground;
using render_fixture::Pixel;

constexpr u32 kOpaqueWhite = 0xFFFFFFFF;

// A glyph sprite whose frame f is (f % 64 + 1) x (f / 64 + 1) pixels, so that a character's
// measures tell which frame it got.
kSharedPtr<kSpriteBank> NumberedGlyphs(unsigned int frames = 256) {
    datatool::SpriteSource sprite{"font", {}, {}, false};
    for (unsigned int f = 0; f < frames; ++f) {
        sprite.frames.push_back(Filled(f % 64 + 1, f / 64 + 1, kOpaqueWhite));
    }
    return Load({sprite});
}

int FrameOf(const kFont& font, char c) {
    return (font.ChrHeight(c) - 2) * 64 + font.ChrWidth(c) - 2;
}

TEST(FontTest, CharactersMapToTheSheetColumnByColumn) {
    const kFont font(NumberedGlyphs(), "FONT");
    const std::pair<char, int> expected[] = {{'!', 0},   {'1', 1},      {'A', 2},     {'Q', 3},
                                             {'a', 4},   {'q', 5},      {'"', 16},    {'B', 18},
                                             {'~', 213}, {'\xE9', 140}, {'\xFF', 237}};
    for (const auto& [c, frame] : expected) {
        EXPECT_EQ(FrameOf(font, c), frame) << int(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(font.ChrWidth('\x10'), 0);
    EXPECT_EQ(font.ChrHeight('\x10'), 0);
}

TEST(FontTest, GlyphsBeyondTheSpritesFramesAndMissingSpritesMeasureNothing) {
    const kFont shortFont(NumberedGlyphs(20), "font");
    EXPECT_EQ(FrameOf(shortFont, 'B'), 18);
    EXPECT_EQ(shortFont.ChrWidth('C'), 0) << "frame 34 is beyond the sprite";
    kFont empty(NumberedGlyphs(4), "no such font");
    empty.SetPixelSpacingReduction(0, 3);
    int width = -1;
    int height = -1;
    empty.GetStringBound(width, height, "A b\nc");
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(empty.ChrWidth('A'), 0);
}

// Glyphs 8 x 12 but for the 14-pixel "W": the widest glyph is 14, the highest 12.
kSharedPtr<kSpriteBank> BlockGlyphs() {
    datatool::SpriteSource sprite{"blocks", {}, {}, false};
    for (int f = 0; f < 256; ++f) {
        sprite.frames.push_back(
            Filled(kFont::CharacterOfFrame(f) == 'W' ? 14 : 8, 12, kOpaqueWhite));
    }
    return Load({sprite});
}

struct BoundCase {
    const char* text;
    float scale;
    int reduceX;
    int reduceY;
    int fixedWidth;
    int width;
    int height;
};

class StringBoundTest : public testing::TestWithParam<BoundCase> {};

TEST_P(StringBoundTest, MeasuresTheWidestLineAndEveryLineAdvance) {
    const BoundCase& c = GetParam();
    kFont font(BlockGlyphs(), "blocks");
    font.SetScale(c.scale);
    font.SetPixelSpacingReduction(c.reduceX, c.reduceY);
    font.SetFixedCharWidth(c.fixedWidth);
    int width = -1;
    int height = -1;
    font.GetStringBound(width, height, c.text);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StringBoundTest,
    testing::Values(BoundCase{"", 1.0f, 0, 0, 0, 0, 12}, BoundCase{"", 1.0f, 0, 3, 0, 0, 9},
                    BoundCase{" ", 1.0f, 0, 0, 0, 4, 12}, // 14 / 3
                    BoundCase{" ", 2.0f, 0, 0, 0, 9, 24}, BoundCase{"ab\nc", 1.0f, 0, 0, 0, 18, 24},
                    BoundCase{"aW", 1.0f, 0, 0, 0, 24, 12},
                    BoundCase{"a\x10W", 1.0f, 0, 0, 0, 24, 12}, // no glyph, no advance
                    BoundCase{"aW", 1.0f, 2, 0, 0, 20, 12},
                    BoundCase{"aW", 1.0f, -2, 3, 0, 24, 9},    // negative counts as 0
                    BoundCase{"aW", 1.5f, 3, 0, 10, 32, 18})); // fixed 10 x 1.5, + 1 each

class FontRenderTest : public render_fixture::PictureTest {
protected:
    void TearDown() override {
        kFont::SetAutoShadow(false);
        PictureTest::TearDown();
    }
};

struct ShadowCase {
    bool bAutoShadow;
    unsigned int colour;
    bool bNoAutoShadow;
    bool bSetShadowAfter; // SetShadow(true, green) after SetColour
    u32 shadow;           // the pixel right of and below the glyph
};

class FontShadowTest : public FontRenderTest, public testing::WithParamInterface<ShadowCase> {};

TEST_P(FontShadowTest, DrawsTheShadowFirstOnePixelRightAndDown) {
    const ShadowCase& c = GetParam();
    kFont font(BlockGlyphs(), "blocks");
    kFont::SetAutoShadow(c.bAutoShadow);
    font.SetShadow(true, 0xFFFF0000); // lost at SetColour
    font.SetColour(c.colour, c.bNoAutoShadow);
    if (c.bSetShadowAfter) {
        font.SetShadow(true, 0xFF00FF00);
    }
    font.Print(10, 10, "a", 0, 0.0f);
    krDrawHelp::Flush();
    EXPECT_EQ(Pixel(17, 21), c.colour & 0xFFFFFF) << "the glyph over its shadow";
    EXPECT_EQ(Pixel(18, 22), c.shadow);
}

INSTANTIATE_TEST_SUITE_P(Colours, FontShadowTest,
                         testing::Values(ShadowCase{true, 0xFFFFFFFF, false, false, 0x606060},
                                         ShadowCase{true, 0xFFFFFF00, false, false, 0x000000},
                                         ShadowCase{true, 0xFF0000FF, false, false, kBackground},
                                         ShadowCase{true, 0xFFFFFFFF, true, false, kBackground},
                                         ShadowCase{false, 0xFFFFFFFF, false, false, kBackground},
                                         ShadowCase{false, 0xFFFFFFFF, false, true, 0x00FF00}));

TEST_F(FontRenderTest, PrintCenterXCentresEveryLineOnItsOwn) {
    const kFont font(BlockGlyphs(), "blocks");
    font.PrintCenterX(100, "a\nWW");
    krDrawHelp::Flush();
    // "a" is 9 wide: (640 - 9) / 2 = 315; "WW" 30: 305; the second line 12 lower.
    EXPECT_EQ(Pixel(314, 105), kBackground);
    EXPECT_EQ(Pixel(315, 105), 0xFFFFFFu);
    EXPECT_EQ(Pixel(304, 117), kBackground);
    EXPECT_EQ(Pixel(305, 117), 0xFFFFFFu);
}

TEST(FontSheetTest, RendersTheGlyphOrderOnACommonLineBox) {
    datatool::FontSheetRequest request;
    request.spriteName = "sans";
    request.pixelSize = 16;
    datatool::SpriteSource regular;
    std::string error;
    ASSERT_TRUE(datatool::RenderFontSheet(request, &regular, &error)) << error;
    ASSERT_EQ(regular.frames.size(), 256u);
    const unsigned int lineHeight = regular.frames[2].height;
    for (const datatool::ArgbImage& frame : regular.frames) {
        EXPECT_EQ(frame.height, lineHeight);
    }
    EXPECT_EQ(regular.frames[14].width, 1u) << "frame 14 is a space";
    EXPECT_EQ(regular.frames[14].pixels[0], 0x00FFFFFFu);
    EXPECT_LT(regular.frames[1].width, regular.frames[2].width) << "'1' is narrower than 'A'";

    request.weight = 2.0f;
    datatool::SpriteSource bold;
    ASSERT_TRUE(datatool::RenderFontSheet(request, &bold, &error)) << error;
    EXPECT_GT(bold.frames[2].width, regular.frames[2].width);

    for (const auto& [size, weight, face] : {std::tuple(0u, 0.0f, datatool::kDefaultFontFace),
                                             std::tuple(16u, -1.0f, datatool::kDefaultFontFace),
                                             std::tuple(16u, 0.0f, "/nonexistent.ttf")}) {
        request = {face, "sans", size, weight};
        EXPECT_FALSE(datatool::RenderFontSheet(request, &bold, &error));
        EXPECT_FALSE(error.empty());
    }
}

kSharedPtr<kSpriteBank> SheetBank(unsigned int pixelSize) {
    datatool::FontSheetRequest request;
    request.spriteName = "sans";
    request.pixelSize = pixelSize;
    datatool::SpriteBankContent content;
    std::string error;
    EXPECT_TRUE(datatool::BuildFontBank(request, &content, &error)) << error;
    return Load(content);
}

TEST(FontSheetTest, EachGlyphIsOneCellFillingItsFrame) {
    const kSharedPtr<kSpriteBank> bank = SheetBank(20);
    const kSpriteBankSprite* sprite = bank->FindSprite("sans");
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(sprite->numFrames, 256u);
    const kSpriteBankFrame& frame = *bank->GetFrame(static_cast<int>(sprite->frameIndex) + 2);
    ASSERT_EQ(frame.numCells, 1u);
    const kSpriteBankCell& cell = *bank->GetCell(static_cast<int>(frame.cellIndex));
    EXPECT_EQ(cell.offsetX, 0);
    EXPECT_EQ(cell.offsetY, 0);
    EXPECT_EQ(cell.w, frame.width);
    EXPECT_EQ(cell.h, frame.height);
}

TEST_F(FontRenderTest, DrawsALineOfTheRenderedSheetWithItsShadow) {
    kFont font(SheetBank(20), "sans");
    kFont::SetAutoShadow(true);
    font.SetColour(0xFFFFFF00, false); // yellow, with a black shadow
    font.Print(4, 4, "Sprites & fonts: \xC9t\xE9!", 0, 0.0f);
    krDrawHelp::Flush();
    EXPECT_TRUE(MatchesGolden("text_line", ReadEmbeddedFrameBuffer(0, 0, 256, 32)));
}

} // namespace
