// The 2-D sprite loop against the per-pixel loops: every state it takes draws the same
// pixels as the general texture environment, in each of its pixel loops; states it does
// not take are left to the per-pixel loops, and textures are read afresh for every
// primitive.
#include "golden_image.h"
#include "gx/efb.h"
#include "gx/runtime_simd.h"
#include "gx/sprite_pixels.h"
#include "gx_test_support.h"

#include <console/gx.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr u32 kTextureWidth = 16; // a texture of 16 x 8 texels
constexpr u32 kTextureHeight = 8;

struct Texture {
    std::vector<u8> image;
    std::vector<u8> palette; // big-endian RGB5A3, for C8
    GXTexObj texture{};
    GXTlutObj tlut{};
};

// Texels opaque, transparent and in between, in each format; `seed` varies them.
Texture MakeTexture(u32 format, GXTexWrapMode wrap, GXTexFilter filter, u32 width = kTextureWidth,
                    u32 height = kTextureHeight, u32 seed = 0) {
    const u32 n = width * height;
    std::vector<u32> argb(n);
    std::vector<u16> rgb565(n);
    std::vector<u8> bytes(n);
    for (u32 i = 0; i < n; ++i) {
        const u32 alpha = i % 5 == 0 ? 0x00 : (i % 3 == 0 ? 0x80 : 0xFF);
        argb[i] = alpha << 24 | (((i + seed) * 0x9E3779B9u) & 0xFFFFFF);
        rgb565[i] = static_cast<u16>((i + seed) * 40503u);
        bytes[i] = static_cast<u8>((i + seed) * 29 + 7);
    }
    Texture t;
    switch (format) {
    case GX_TF_RGBA8:
        t.image = gxtest::TileRgba8(argb, width, height);
        break;
    case GX_TF_RGB565:
        t.image = gxtest::TileRgb565(rgb565, width, height);
        break;
    default:
        t.image = gxtest::TileBytes(bytes, width, height);
        break;
    }
    const u16 w = static_cast<u16>(width);
    const u16 h = static_cast<u16>(height);
    if (format == GX_TF_C8) {
        t.palette.resize(512);
        for (u32 entry = 0; entry < 256; ++entry) {
            const u32 key = entry + seed;
            const u16 value = static_cast<u16>(key % 2 ? 0x8000 | key * 97 : key * 131 & 0x7FFF);
            t.palette[2 * entry] = static_cast<u8>(value >> 8);
            t.palette[2 * entry + 1] = static_cast<u8>(value);
        }
        GXInitTlutObj(&t.tlut, t.palette.data(), GX_TL_RGB5A3, 256);
        GXInitTexObjCI(&t.texture, t.image.data(), w, h, GX_TF_C8, wrap, wrap, GX_FALSE, GX_TLUT0);
    } else {
        GXInitTexObj(&t.texture, t.image.data(), w, h, static_cast<GXTexFmt>(format), wrap, wrap,
                     GX_FALSE);
    }
    GXInitTexObjLOD(&t.texture, filter, filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    return t;
}

struct Shading {
    const char* name;
    GXTevColorArg colour[4];
    GXTevAlphaArg alpha[4];
};

const Shading kShadings[] = {
    {"replace",
     {GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_TEXC},
     {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA}},
    {"modulate",
     {GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO},
     {GX_CA_ZERO, GX_CA_TEXA, GX_CA_RASA, GX_CA_ZERO}},
    {"modulate colour, texture alpha",
     {GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO},
     {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA}},
};

// A stage after the first that passes the colour on, which only the general environment
// draws.
void AddPassingStage() {
    GXSetNumTevStages(2);
    GXSetTevOrder(GX_TEVSTAGE1, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
    GXSetTevOp(GX_TEVSTAGE1, GX_PASSCLR);
}

// Texture t replacing the colour, its palette loaded first.
void UseTexture(const Texture& t, bool general) {
    if (!t.palette.empty()) {
        GXLoadTlut(&t.tlut, GX_TLUT0);
    }
    gxtest::UseTexture(t.texture, GX_REPLACE);
    if (general) {
        AddPassingStage();
    }
}

// The state under test; `general` adds the passing stage.
void UseState(const Texture& t, const Shading& shading, bool blend, bool general) {
    gxtest::Reset(0xFF336699);
    UseTexture(t, false);
    GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
    GXSetTevColorIn(GX_TEVSTAGE0, shading.colour[0], shading.colour[1], shading.colour[2],
                    shading.colour[3]);
    GXSetTevAlphaIn(GX_TEVSTAGE0, shading.alpha[0], shading.alpha[1], shading.alpha[2],
                    shading.alpha[3]);
    if (blend) {
        GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    }
    if (general) {
        AddPassingStage();
    }
}

// Sprites magnified, minified, one to one, shifted by fractions of a pixel, with
// coordinates beyond the texture, tinted, and partly outside the scissor; turned quads,
// magnified, minified and beyond the texture; and a shaded quad, which the sprite loop
// hands on.
void DrawSprites() {
    gxtest::DrawRect(2, 2, 26, 14, 0xFFFFFFFF);                               // 1.5 x
    gxtest::DrawRect(30.3f, 2.6f, 39.9f, 7.4f, 0xC0A080FF);                   // 0.6 x, shifted
    gxtest::DrawRect(42, 2, 58, 10, 0x80FF40C0);                              // 1:1, tinted
    gxtest::DrawRect(2, 18, 40, 34, 0xFFFFFFFF, 0, -0.7f, -0.4f, 2.3f, 1.6f); // beyond 0..1
    gxtest::DrawRect(44, 18, 60, 30, 0xFFFFFFFF, 0, 1, 1, 0, 0);              // mirrored image
    gxtest::DrawRect(-7, 36, 9, 44, 0xFFFFFFFF);                              // left of the buffer
    gxtest::Draw(GX_QUADS, {{30, 36, 0, 0xFFFFFFFF, 0, 0},
                            {44, 40, 0, 0xFFFFFFFF, 1, 0},
                            {40, 54, 0, 0xFFFFFFFF, 1, 1},
                            {26, 50, 0, 0xFFFFFFFF, 0, 1}});
    gxtest::Draw(GX_QUADS, {{3, 46, 0, 0xFFFFFFFF, -0.5f, -0.5f},
                            {15, 47, 0, 0xFFFFFFFF, 1.5f, -0.5f},
                            {14, 55, 0, 0xFFFFFFFF, 1.5f, 1.5f},
                            {2, 54, 0, 0xFFFFFFFF, -0.5f, 1.5f}});
    gxtest::Draw(GX_QUADS, {{17, 46, 0, 0xC0A080FF, 0, 0},
                            {24, 47, 0, 0xC0A080FF, 1, 0},
                            {23, 52, 0, 0xC0A080FF, 1, 1},
                            {16, 51, 0, 0xC0A080FF, 0, 1}});
    gxtest::Draw(GX_QUADS, {{48, 36, 0, 0xFF0000FF, 0, 0},
                            {62, 36, 0, 0x00FF0080, 1, 0},
                            {62, 50, 0, 0x0000FFFF, 1, 1},
                            {48, 50, 0, 0xFFFFFFFF, 0, 1}});
}

// Spans at the right end of the buffer's lines, one to three pixels past a group of four,
// and sprites drawn 1:1 shifted by a fraction of a pixel (every column between two texels).
void DrawLineEndsAndShiftedSprites() {
    gxtest::DrawRect(629, 2, 645, 10, 0xFFFFFFFF);              // past the right end
    gxtest::DrawRect(601, 2, 606, 10, 0xC0A080FF);              // five pixels, tinted
    gxtest::DrawRect(608, 2, 622, 10, 0xFFFFFFFF);              // fourteen
    gxtest::DrawRect(600.3f, 12, 616.3f, 20, 0xFFFFFFFF);       // 1:1 shifted across
    gxtest::DrawRect(617.6f, 12.4f, 633.6f, 20.4f, 0x80FF40C0); // and down, tinted
}

// Every format, wrap, filter, shading and blending draws the same pixels in the sprite
// loop as in the general environment.
void ExpectWhatTheGeneralEnvironmentDraws(void (*draw)(), u32 left, u32 top, u32 width,
                                          u32 height) {
    const u32 formats[] = {GX_TF_RGBA8, GX_TF_RGB565, GX_TF_I8, GX_TF_C8};
    for (const u32 format : formats) {
        for (const GXTexWrapMode wrap : {GX_CLAMP, GX_REPEAT}) {
            for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
                const Texture t = MakeTexture(format, wrap, filter);
                for (const Shading& shading : kShadings) {
                    for (const bool blend : {false, true}) {
                        UseState(t, shading, blend, true);
                        draw();
                        const TestImage general = ReadFrameBuffer(left, top, width, height);
                        const u64 before = GXSpriteSpanCountForTest();
                        UseState(t, shading, blend, false);
                        draw();
                        EXPECT_GT(GXSpriteSpanCountForTest(), before);
                        EXPECT_EQ(ReadFrameBuffer(left, top, width, height).argb, general.argb)
                            << "format " << format << ", wrap " << wrap << ", filter " << filter
                            << ", " << shading.name << (blend ? ", blended" : "");
                    }
                }
            }
        }
    }
}

TEST(GXSpriteSpanTest, DrawsWhatTheGeneralEnvironmentDraws) {
    ExpectWhatTheGeneralEnvironmentDraws(DrawSprites, 0, 0, 64, 56);
    ExpectWhatTheGeneralEnvironmentDraws(DrawLineEndsAndShiftedSprites, 592, 0, 48, 24);
}

// Rectangles one to nineteen pixels wide (groups of eight with every remainder), 1:1 from
// texels 0 to 4, 1:1 shifted by half a pixel, magnified and minified; then the same across
// the scissor's left and right edges.
void DrawEveryWidth() {
    for (u32 width = 1; width <= 19; ++width) {
        const f32 left = static_cast<f32>(width * (width + 3) / 2);
        const f32 right = left + static_cast<f32>(width);
        const f32 across = static_cast<f32>(width) / kTextureWidth;
        const f32 start = static_cast<f32>(width % 5) / kTextureWidth;
        gxtest::DrawRect(left, 0, right, 4, 0xFFFFFFFF, 0, start, 0, start + across, 0.5f);
        gxtest::DrawRect(left + 0.5f, 5, right + 0.5f, 9, 0xC0A080FF, 0, 0, 0, across, 0.5f);
        gxtest::DrawRect(left, 10, right, 14, 0xFFFFFFFF);
        gxtest::DrawRect(left, 15, right, 19, 0x80FF40C0, 0, 0, 0, across * 2.5f, 1);
    }
    GXSetScissor(13, 20, 170, 4);
    gxtest::DrawRect(3, 20, 40, 24, 0xFFFFFFFF);
    gxtest::DrawRect(150, 20, 190, 24, 0xC0A080FF, 0, 0, 0, 2.5f, 1);
    GXSetScissor(0, 0, 640, 528);
}

TEST(GXSpriteSpanTest, EveryWidthDrawsWhatTheGeneralEnvironmentDraws) {
    ExpectWhatTheGeneralEnvironmentDraws(DrawEveryWidth, 0, 0, 232, 24);
}

// Rectangles sixteen pixels wide over a texture's sixteen texels, as whole text is drawn:
// give or take a little, so that each column's 1/256 texel stays the first's or changes
// part way along; shifted by fractions of a pixel, so that the first column reads texel -1
// or the last reads texel 16 (clamped or wrapped); and backwards.
void DrawNearlyOneToOne() {
    const f32 stretches[] = {0,           1.0f / 65536, -1.0f / 65536, 1.0f / 4096, -1.0f / 4096,
                             1.0f / 1024, -1.0f / 1024};
    const f32 shifts[] = {0, 0.25f, 0.5f, -0.5f, 0.75f / 256};
    f32 top = 0;
    for (const f32 stretch : stretches) {
        f32 left = 0;
        for (const f32 shift : shifts) {
            const f32 start = shift / kTextureWidth;
            const f32 end = start + 1 + stretch;
            gxtest::DrawRect(left, top, left + 16, top + 2, 0xFFFFFFFF, 0, start, 0, end, 0.25f);
            gxtest::DrawRect(left + 17, top, left + 33, top + 2, 0x80FF40C0, 0, end, 0, start, 1);
            left += 34;
        }
        top += 3;
    }
}

TEST(GXSpriteSpanTest, NearlyOneToOneDrawsWhatTheGeneralEnvironmentDraws) {
    ExpectWhatTheGeneralEnvironmentDraws(DrawNearlyOneToOne, 0, 0, 170, 21);
}

// Text: texels each opaque or transparent (in runs and alternating), tinted and blended,
// in rectangles of every width.
TEST(GXSpriteSpanTest, OpaqueAndTransparentTexelsDrawWhatTheGeneralEnvironmentDraws) {
    std::vector<u32> argb(kTextureWidth * kTextureHeight);
    for (u32 i = 0; i < argb.size(); ++i) {
        const bool ink = i < argb.size() / 2 ? i / 5 % 2 == 0 : i % 3 != 1;
        argb[i] = (ink ? 0xFF000000u : 0u) | ((i * 0x9E3779B9u) & 0xFFFFFF);
    }
    Texture t;
    t.image = gxtest::TileRgba8(argb, kTextureWidth, kTextureHeight);
    GXInitTexObj(&t.texture, t.image.data(), kTextureWidth, kTextureHeight, GX_TF_RGBA8, GX_CLAMP,
                 GX_CLAMP, GX_FALSE);
    for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
        GXInitTexObjLOD(&t.texture, filter, filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
        for (const Shading& shading : kShadings) {
            UseState(t, shading, true, true);
            DrawEveryWidth();
            const TestImage general = ReadFrameBuffer(0, 0, 232, 24);
            UseState(t, shading, true, false);
            DrawEveryWidth();
            EXPECT_EQ(ReadFrameBuffer(0, 0, 232, 24).argb, general.argb)
                << "filter " << filter << ", " << shading.name;
        }
    }
}

constexpr u32 kWidest = 40;
constexpr u32 kBand = 5; // lines per width: four drawn, one left
constexpr u32 kBandsHeight = kBand * (kWidest + 1);

// 64 x 4 texels: rows 0 and 1 mix alphas 0, 1, 127, 128, 254 and 255; rows 2 and 3 are
// runs of opaque and transparent texels, as text is.
Texture MixedAlphaTexture(GXTexFilter filter) {
    constexpr u32 kWidth = 64;
    constexpr u32 kAlphas[] = {0, 1, 127, 128, 254, 255};
    std::vector<u32> argb(kWidth * 4);
    for (u32 i = 0; i < argb.size(); ++i) {
        const u32 alpha = i < 2 * kWidth ? kAlphas[(i * 5 + i / 7) % 6] : (i / 3 % 2 ? 0 : 0xFF);
        argb[i] = alpha << 24 | ((i * 0x9E3779B9u) & 0xFFFFFF);
    }
    Texture t;
    t.image = gxtest::TileRgba8(argb, kWidth, 4);
    GXInitTexObj(&t.texture, t.image.data(), kWidth, 4, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    GXInitTexObjLOD(&t.texture, filter, filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    return t;
}

// A destination that differs from pixel to pixel for the blends to mix with; then
// rectangles 1:1 one to forty pixels wide, white and tinted, aligned and shifted by half a
// pixel both ways (filtered across and down), and each width again ending at the buffer's
// right edge.
void DrawWidthsUpToForty() {
    for (u32 y = 0; y < kBandsHeight; ++y) {
        for (u32 x = 0; x < EmbeddedFrameBuffer::kWidth; ++x) {
            const u32 v = (x * 131 + y * 71) * 0x010101u ^ 0xA05F00u;
            GXPokeEFBColorForTest(
                x, y,
                {static_cast<u8>(v >> 16), static_cast<u8>(v >> 8), static_cast<u8>(v), 0xFF});
        }
    }
    for (u32 width = 1; width <= kWidest; ++width) {
        const f32 w = static_cast<f32>(width);
        const f32 top = static_cast<f32>(width * kBand);
        const f32 start = static_cast<f32>(width % 9) / 64;
        const auto draw = [&](f32 left, f32 down, u32 rgba) {
            gxtest::DrawRect(left, top + down, left + w, top + down + 4, rgba, 0, start, 0,
                             start + w / 64, 1);
        };
        draw(0, 0, 0xFFFFFFFF);
        draw(45, 0, 0x80FF40C0);
        draw(90.5f, 0.5f, 0xFFFFFFFF);
        draw(135.5f, 0.5f, 0xC0A080FF);
        draw(static_cast<f32>(EmbeddedFrameBuffer::kWidth) - w, 0, 0x80FF40C0);
    }
}

// Each of the sprite loop's pixel loops, by the pixels it draws a step: sixteen (AVX-512),
// eight (AVX2) and four.
class GXSpritePixelLoopTest : public testing::TestWithParam<u32> {
protected:
    void SetUp() override {
        const u32 step = GetParam();
        if ((step == 16 && !GXHasAvx512Bw()) || (step == 8 && !GXHasAvx2())) {
            GTEST_SKIP() << "the processor lacks the loop's instructions";
        }
        GXLimitSpritePixelStepForTest(step);
    }
    void TearDown() override { GXLimitSpritePixelStepForTest(16); }
};

TEST_P(GXSpritePixelLoopTest, DrawsWhatTheGeneralEnvironmentDraws) {
    for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
        const Texture t = MixedAlphaTexture(filter);
        for (const Shading& shading : kShadings) {
            for (const bool blend : {false, true}) {
                UseState(t, shading, blend, true);
                DrawWidthsUpToForty();
                const TestImage general =
                    ReadFrameBuffer(0, 0, EmbeddedFrameBuffer::kWidth, kBandsHeight);
                const u64 before = GXSpriteSpanCountForTest();
                UseState(t, shading, blend, false);
                DrawWidthsUpToForty();
                EXPECT_GT(GXSpriteSpanCountForTest(), before);
                EXPECT_EQ(ReadFrameBuffer(0, 0, EmbeddedFrameBuffer::kWidth, kBandsHeight).argb,
                          general.argb)
                    << "filter " << filter << ", " << shading.name << (blend ? ", blended" : "");
            }
        }
    }
}

// `draw` in the general environment, then in the sprite loop: the same pixels from the
// buffer's corner over width x height.
void ExpectTheGeneralEnvironmentsPixels(const Texture& t, bool blend, void (*draw)(), u32 width,
                                        u32 height) {
    UseState(t, kShadings[1], blend, true);
    draw();
    const TestImage general = ReadFrameBuffer(0, 0, width, height);
    UseState(t, kShadings[1], blend, false);
    draw();
    EXPECT_EQ(ReadFrameBuffer(0, 0, width, height).argb, general.argb);
}

// Rectangles 1:1 of one to forty lines, nineteen pixels wide (whole steps and a remainder
// in each loop), starting three texel rows above the texture so that rows clamp or wrap,
// aligned and shifted by half a pixel down (filtered down) and across.
void DrawHeightsUpToForty() {
    constexpr f32 kWidth = 19;
    for (u32 lines = 1; lines <= kWidest; ++lines) {
        const f32 left = static_cast<f32>((lines - 1) % 8 * 48);
        const f32 top = static_cast<f32>((lines - 1) / 8 * 42);
        const f32 h = static_cast<f32>(lines);
        const auto draw = [&](f32 x, f32 y, u32 rgba) {
            gxtest::DrawRect(x, y, x + kWidth, y + h, rgba, 0, 0.125f, -3.0f / kTextureHeight,
                             0.125f + kWidth / 32, (h - 3) / kTextureHeight);
        };
        draw(left, top, 0xFFFFFFFF);
        draw(left + 22.5f, top + 0.5f, 0x80FF40C0);
    }
}

TEST_P(GXSpritePixelLoopTest, RectanglesOfEveryHeightDrawWhatTheGeneralEnvironmentDraws) {
    for (const GXTexWrapMode wrap : {GX_CLAMP, GX_REPEAT}) {
        for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
            const Texture t = MakeTexture(GX_TF_RGBA8, wrap, filter, 32, kTextureHeight);
            for (const bool blend : {false, true}) {
                SCOPED_TRACE(testing::Message() << "wrap " << wrap << ", filter " << filter
                                                << (blend ? ", blended" : ""));
                ExpectTheGeneralEnvironmentsPixels(t, blend, DrawHeightsUpToForty, 384, 210);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, GXSpritePixelLoopTest, testing::Values(16u, 8u, 0u));

// Sprites tinted with each channel in turn at the ends and middle of its range, the
// others full, then untinted: each channel weighs the texels as the environment does.
TEST(GXSpriteSpanTest, EveryTintWeighsTheTexelsAsTheGeneralEnvironmentDoes) {
    const auto draw = +[] {
        const u32 values[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
        u32 sprite = 0;
        for (u32 channel = 0; channel < 4; ++channel) {
            for (const u32 value : values) {
                const u32 shift = 24 - 8 * channel;
                const u32 rgba = (0xFFFFFFFFu & ~(0xFFu << shift)) | value << shift;
                const f32 x = static_cast<f32>(sprite % 12 * 10);
                const f32 y = static_cast<f32>(sprite / 12 * 6);
                gxtest::DrawRect(x, y, x + 8, y + 4, rgba, 0, 0, 0, 0.5f, 0.5f);
                ++sprite;
            }
        }
    };
    const Texture t = MakeTexture(GX_TF_RGBA8, GX_CLAMP, GX_NEAR);
    for (const bool blend : {false, true}) {
        SCOPED_TRACE(blend ? "blended" : "replaced");
        ExpectTheGeneralEnvironmentsPixels(t, blend, draw, 120, 12);
    }
}

// One primitive whose first rectangle decodes part of a 64-texel texture's rows and
// whose later ones read those rows further along, across and beyond the first's texels:
// each must find the texels it reads decoded, not only those the first read.
TEST(GXSpriteSpanTest, RectanglesReadingMoreOfRowsThanTheFirstFindThemDecoded) {
    const auto draw = +[] {
        constexpr f32 kTexel = 1.0f / 64;
        gxtest::Draw(GX_QUADS, {{0, 0, 0, 0xFFFFFFFF, 0, 0},
                                {8, 0, 0, 0xFFFFFFFF, 8 * kTexel, 0},
                                {8, 4, 0, 0xFFFFFFFF, 8 * kTexel, 0.5f},
                                {0, 4, 0, 0xFFFFFFFF, 0, 0.5f},
                                {10, 0, 0, 0xFFFFFFFF, 4 * kTexel, 0},
                                {50, 0, 0, 0xFFFFFFFF, 44 * kTexel, 0},
                                {50, 8, 0, 0xFFFFFFFF, 44 * kTexel, 1},
                                {10, 8, 0, 0xFFFFFFFF, 4 * kTexel, 1},
                                {52, 0, 0, 0xFFFFFFFF, 40 * kTexel, 0},
                                {76, 0, 0, 0xFFFFFFFF, 1, 0},
                                {76, 8, 0, 0xFFFFFFFF, 1, 1},
                                {52, 8, 0, 0xFFFFFFFF, 40 * kTexel, 1}});
    };
    for (const GXTexWrapMode wrap : {GX_CLAMP, GX_REPEAT}) {
        const Texture t = MakeTexture(GX_TF_RGBA8, wrap, GX_NEAR, 64, kTextureHeight);
        for (const bool blend : {false, true}) {
            SCOPED_TRACE(testing::Message() << "wrap " << wrap << (blend ? ", blended" : ""));
            ExpectTheGeneralEnvironmentsPixels(t, blend, draw, 80, 8);
        }
    }
}

TEST(GXSpriteSpanTest, OtherStatesAreLeftToThePerPixelLoops) {
    struct Case {
        const char* what;
        void (*apply)();
    };
    const Case cases[] = {
        {"depth test", [] { GXSetZMode(GX_TRUE, GX_LEQUAL, GX_TRUE); }},
        {"alpha test", [] { GXSetAlphaCompare(GX_GREATER, 10, GX_AOP_AND, GX_ALWAYS, 0); }},
        {"additive blending",
         [] { GXSetBlendMode(GX_BM_BLEND, GX_BL_ONE, GX_BL_ONE, GX_LO_NOOP); }},
        {"frame buffer with alpha", [] { GXSetPixelFmt(GX_PF_RGBA6_Z24, GX_ZC_LINEAR); }},
        {"colour update off", [] { GXSetColorUpdate(GX_FALSE); }},
    };
    const Texture t = MakeTexture(GX_TF_RGBA8, GX_CLAMP, GX_LINEAR);
    for (const Case& c : cases) {
        UseState(t, kShadings[0], false, false);
        c.apply();
        const u64 before = GXSpriteSpanCountForTest();
        gxtest::DrawRect(2, 2, 26, 14, 0xFFFFFFFF);
        EXPECT_EQ(GXSpriteSpanCountForTest(), before) << c.what;
    }
    // A repeat that is not a power of two, and mirroring, wrap per pixel.
    for (const GXTexWrapMode wrap : {GX_REPEAT, GX_MIRROR}) {
        const std::vector<u8> image =
            gxtest::TileRgba8(std::vector<u32>(16 * 4, 0xFF102030), 16, 4);
        GXTexObj texture;
        GXInitTexObj(&texture, image.data(), wrap == GX_REPEAT ? 12 : 16, 4, GX_TF_RGBA8, wrap,
                     wrap, GX_FALSE);
        gxtest::Reset();
        gxtest::UseTexture(texture, GX_REPLACE);
        GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
        const u64 before = GXSpriteSpanCountForTest();
        gxtest::DrawRect(2, 2, 26, 14, 0xFFFFFFFF, 0, 0, 0, 3, 1);
        EXPECT_EQ(GXSpriteSpanCountForTest(), before) << "wrap " << wrap;
    }
}

TEST(GXSpriteSpanTest, TextureMemoryIsReadAgainByTheNextPrimitive) {
    std::vector<u32> texels(16, 0xFF0000FF);
    std::vector<u8> image = gxtest::TileRgba8(texels, 4, 4);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 4, 4, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    gxtest::Reset();
    gxtest::UseTexture(texture, GX_REPLACE);
    GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
    const auto draw = +[] {
        gxtest::DrawRect(0, 0, 8, 8, 0xFFFFFFFF);
        gxtest::DrawRect(8, 0, 12, 4, 0xFFFFFFFF); // 1:1
    };
    draw();
    EXPECT_EQ(gxtest::ArgbAt(3, 3), 0xFF0000FFu);
    EXPECT_EQ(gxtest::ArgbAt(9, 1), 0xFF0000FFu);
    texels.assign(16, 0xFFFF8000);
    const std::vector<u8> changed = gxtest::TileRgba8(texels, 4, 4);
    std::copy(changed.begin(), changed.end(), image.begin());
    draw();
    EXPECT_EQ(gxtest::ArgbAt(3, 3), 0xFFFF8000u);
    EXPECT_EQ(gxtest::ArgbAt(9, 1), 0xFFFF8000u);
}

// Sprites of textures in every format and of sizes their tiles do not cover exactly,
// drawn in turn, more textures than the loop keeps decoded, with images changed in place
// between them (a texel, a whole image), palettes changed, and an image read again in
// another format and size: the sprite loop draws what the general environment draws.
TEST(GXSpriteSpanTest, TexturesDrawnInTurnShowTheirImagesAsTheyAreNow) {
    const auto draw = [](bool general) {
        std::vector<Texture> textures;
        const u32 formats[] = {GX_TF_RGBA8, GX_TF_RGB565, GX_TF_I8, GX_TF_C8};
        for (u32 i = 0; i < 12; ++i) {
            const GXTexWrapMode wrap = i % 2 ? GX_REPEAT : GX_CLAMP;
            const GXTexFilter filter = i % 3 == 0 ? GX_LINEAR : GX_NEAR;
            textures.push_back(MakeTexture(formats[i % 4], wrap, filter, 64, 12, i * 1000));
        }
        // Sizes the image's tiles do not cover exactly.
        textures.push_back(MakeTexture(GX_TF_RGBA8, GX_REPEAT, GX_NEAR, 6, 6, 77));
        textures.push_back(MakeTexture(GX_TF_I8, GX_CLAMP, GX_LINEAR, 20, 10, 88));
        gxtest::Reset(0xFF336699);
        GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
        GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
        u32 sprite = 0;
        const auto drawSprite = [&](const Texture& t) {
            UseTexture(t, general);
            const f32 x = static_cast<f32>(sprite % 9 * 70);
            const f32 y = static_cast<f32>(sprite / 9 * 14);
            gxtest::DrawRect(x, y, x + 64, y + 12, 0xFFFFFFFF, 0, -0.25f, 0, 1.25f, 1);
            ++sprite;
        };
        for (const Texture& t : textures) {
            drawSprite(t);
        }
        // Four textures in turn, one changed in place before each turn: its first texel, which
        // its rows' borders repeat, or another, and a C8 one's palette.
        const u32 inTurn[] = {3, 10, 12, 13};
        for (u32 round = 0; round < 8; ++round) {
            Texture& t = textures[inTurn[round % 4]];
            t.image[round < 4 ? 0 : (round * 397) % t.image.size()] ^= 0x21;
            if (!t.palette.empty()) {
                t.palette[(round * 397) % t.palette.size()] ^= 0x21;
            }
            for (const u32 i : inTurn) {
                drawSprite(textures[i]);
            }
        }
        textures[12].image.assign(textures[12].image.size(), 0x7F);
        const Texture redrawn = MakeTexture(GX_TF_C8, GX_CLAMP, GX_NEAR, 64, 12, 5);
        std::copy(redrawn.image.begin(), redrawn.image.end(), textures[11].image.begin());
        for (const Texture& t : textures) {
            drawSprite(t);
        }
        Texture asBytes = textures[8];
        GXInitTexObj(&asBytes.texture, textures[8].image.data(), 32, 12, GX_TF_I8, GX_CLAMP,
                     GX_CLAMP, GX_FALSE);
        drawSprite(asBytes);
        return ReadFrameBuffer(0, 0, 640, 100).argb;
    };
    const u64 before = GXSpriteSpanCountForTest();
    const std::vector<u32> sprites = draw(false);
    EXPECT_GT(GXSpriteSpanCountForTest(), before);
    EXPECT_EQ(sprites, draw(true));
}

// A primitive takes its rows without checking them only once it has decoded every row
// whole: here all but the last whole, then the last's changed half, which an earlier
// primitive decoded before the change.
TEST(GXSpriteSpanTest, RowsAreTakenUncheckedOnlyOnceEveryRowIsDecodedWhole) {
    constexpr u32 kWidth = 64;
    constexpr u32 kHeight = 8;
    std::vector<u32> texels(kWidth * kHeight);
    for (u32 i = 0; i < texels.size(); ++i) {
        texels[i] = 0xFF000000 | ((i * 0x9E3779B9u) & 0xFFFFFF);
    }
    std::vector<u8> image = gxtest::TileRgba8(texels, kWidth, kHeight);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), kWidth, kHeight, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP,
                 GX_FALSE);
    GXInitTexObjLOD(&texture, GX_NEAR, GX_NEAR, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    gxtest::Reset();
    gxtest::UseTexture(texture, GX_REPLACE);
    GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
    // Blended, opaque texels go through the decoded rows rather than straight from the image.
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    gxtest::DrawRect(0, 0, kWidth, kHeight, 0xFFFFFFFF);
    for (u32 x = kWidth / 2; x < kWidth; ++x) {
        texels[(kHeight - 1) * kWidth + x] ^= 0x00808080;
    }
    const std::vector<u8> changed = gxtest::TileRgba8(texels, kWidth, kHeight);
    std::copy(changed.begin(), changed.end(), image.begin());
    constexpr f32 kAllButLast = (kHeight - 1.0f) / kHeight;
    gxtest::Draw(GX_QUADS, {{0, 10, 0, 0xFFFFFFFF, 0, 0},
                            {kWidth, 10, 0, 0xFFFFFFFF, 1, 0},
                            {kWidth, 17, 0, 0xFFFFFFFF, 1, kAllButLast},
                            {0, 17, 0, 0xFFFFFFFF, 0, kAllButLast},
                            {kWidth / 2, 20, 0, 0xFFFFFFFF, 0.5f, kAllButLast},
                            {kWidth, 20, 0, 0xFFFFFFFF, 1, kAllButLast},
                            {kWidth, 21, 0, 0xFFFFFFFF, 1, 1},
                            {kWidth / 2, 21, 0, 0xFFFFFFFF, 0.5f, 1}});
    for (u32 x = kWidth / 2; x < kWidth; ++x) {
        EXPECT_EQ(gxtest::ArgbAt(x, 20), texels[(kHeight - 1) * kWidth + x]) << "column " << x;
    }
}

TEST(GXSpriteSpanTest, ATurnedSpriteRoundItsTextureReadsEveryTexelAfresh) {
    // A 64-texel repeat read whole by one sprite, then another texture at the same size
    // turned, its lines reading from texel 40 once round to texel 46 and on: the second must show
    // its own texels only, as the general environment draws them.
    std::vector<u32> plain(64 * 8, 0xFF102030);
    std::vector<u32> noise(64 * 8);
    for (u32 i = 0; i < noise.size(); ++i) {
        noise[i] = 0xFF000000 | ((i * 0x9E3779B9u) & 0xFFFFFF);
    }
    const std::vector<u8> first = gxtest::TileRgba8(plain, 64, 8);
    const std::vector<u8> second = gxtest::TileRgba8(noise, 64, 8);
    GXTexObj textures[2];
    GXInitTexObj(&textures[0], first.data(), 64, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    GXInitTexObj(&textures[1], second.data(), 64, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    for (GXTexObj& texture : textures) {
        GXInitTexObjLOD(&texture, GX_NEAR, GX_NEAR, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    }
    const auto draw = [&](bool general) {
        gxtest::Reset();
        GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
        if (general) {
            AddPassingStage();
        }
        gxtest::UseTexture(textures[0], GX_REPLACE);
        gxtest::DrawRect(0, 0, 64, 8, 0xFFFFFFFF);
        gxtest::UseTexture(textures[1], GX_REPLACE);
        gxtest::Draw(GX_QUADS, {{0, 12, 0, 0xFFFFFFFF, 0.625f, 0},
                                {64, 12.5f, 0, 0xFFFFFFFF, 1.75f, 0},
                                {64, 22.5f, 0, 0xFFFFFFFF, 1.75f, 1},
                                {0, 22, 0, 0xFFFFFFFF, 0.625f, 1}});
        return ReadFrameBuffer(0, 10, 64, 16).argb;
    };
    EXPECT_EQ(draw(false), draw(true));
}

} // namespace
