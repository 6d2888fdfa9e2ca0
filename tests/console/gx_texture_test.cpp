// Textures drawn through GX: every format read from its tiles, nearest and bilinear
// filtering, wrapping, palettes, and what happens with textures that cannot be used.
#include "golden_image.h"
#include "gx_test_support.h"

#include <console/gx.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using gxtest::ArgbAt;
using gxtest::DrawRect;

constexpr u32 kTexWidth = 16;
constexpr u32 kTexHeight = 8;
using gxtest::kWhite;

// A texture in one format with the colours it must show, texel by texel.
struct FormatCase {
    const char* name;
    std::vector<u8> image;
    std::vector<u8> palette; // big-endian RGB5A3 entries for C8
    u32 format;
    std::vector<u32> expected; // 0xAARRGGBB
};

u32 Expand5(u32 v) {
    return v << 3 | v >> 2;
}

u32 Rgb5a3(u16 v) {
    if (v & 0x8000) {
        return 0xFF000000 | Expand5((v >> 10) & 31) << 16 | Expand5((v >> 5) & 31) << 8 |
               Expand5(v & 31);
    }
    const u32 a = (v >> 12) & 7;
    return (a << 5 | a << 2 | a >> 1) << 24 | ((v >> 8) & 15) * 0x11 << 16 |
           ((v >> 4) & 15) * 0x11 << 8 | (v & 15) * 0x11;
}

std::vector<FormatCase> FormatCases() {
    constexpr u32 n = kTexWidth * kTexHeight;
    std::vector<u32> argb(n);
    std::vector<u16> rgb565(n);
    std::vector<u8> bytes(n);
    for (u32 i = 0; i < n; ++i) {
        argb[i] = (i * 0x9E3779B9u) | 0x10000000u * (i % 16);
        rgb565[i] = static_cast<u16>(i * 40503u);
        bytes[i] = static_cast<u8>(i * 29 + 7);
    }
    std::vector<u32> expected565(n), expectedI8(n), expectedC8(n);
    std::vector<u8> palette(512);
    for (u32 entry = 0; entry < 256; ++entry) {
        // Opaque and translucent entries alternate.
        const u16 value = static_cast<u16>(entry % 2 ? 0x8000 | entry * 97 : entry * 131 & 0x7FFF);
        palette[2 * entry] = static_cast<u8>(value >> 8);
        palette[2 * entry + 1] = static_cast<u8>(value);
    }
    for (u32 i = 0; i < n; ++i) {
        const u16 v = rgb565[i];
        expected565[i] = 0xFF000000 | Expand5(v >> 11) << 16 |
                         ((v >> 5 & 63) << 2 | (v >> 5 & 63) >> 4) << 8 | Expand5(v & 31);
        expectedI8[i] = bytes[i] * 0x01010101u;
        expectedC8[i] =
            Rgb5a3(static_cast<u16>(palette[2 * bytes[i]] << 8 | palette[2 * bytes[i] + 1]));
    }
    return {
        {"RGBA8", gxtest::TileRgba8(argb, kTexWidth, kTexHeight), {}, GX_TF_RGBA8, argb},
        {"RGB565",
         gxtest::TileRgb565(rgb565, kTexWidth, kTexHeight),
         {},
         GX_TF_RGB565,
         expected565},
        {"I8", gxtest::TileBytes(bytes, kTexWidth, kTexHeight), {}, GX_TF_I8, expectedI8},
        {"C8", gxtest::TileBytes(bytes, kTexWidth, kTexHeight), palette, GX_TF_C8, expectedC8},
    };
}

GXTexObj MakeTexture(const FormatCase& c, GXTlutObj& tlut, GXTexFilter filter, u16 width,
                     u16 height, GXTexWrapMode wrap = GX_CLAMP) {
    GXTexObj texture;
    if (c.format == GX_TF_C8) {
        GXInitTlutObj(&tlut, c.palette.data(), GX_TL_RGB5A3, 256);
        GXLoadTlut(&tlut, GX_TLUT0);
        GXInitTexObjCI(&texture, c.image.data(), width, height, GX_TF_C8, wrap, wrap, GX_FALSE,
                       GX_TLUT0);
    } else {
        GXInitTexObj(&texture, c.image.data(), width, height, static_cast<GXTexFmt>(c.format), wrap,
                     wrap, GX_FALSE);
    }
    GXInitTexObjLOD(&texture, filter, filter, 0.0f, 0.0f, 0.0f, GX_FALSE, GX_FALSE, GX_ANISO_1);
    return texture;
}

// Draws the texture 1:1 with its top-left texel at (left, top).
void DrawOneToOne(const FormatCase& c, GXTexFilter filter, f32 left, f32 top) {
    GXTlutObj tlut;
    const GXTexObj texture = MakeTexture(c, tlut, filter, kTexWidth, kTexHeight);
    gxtest::UseTexture(texture, GX_REPLACE);
    DrawRect(left, top, left + kTexWidth, top + kTexHeight, kWhite);
}

TEST(GXTextureTest, EachFormatDrawnOneToOneReproducesItsTexels) {
    const std::vector<FormatCase> cases = FormatCases();
    for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
        for (const GXPixelFmt pixelFormat : {GX_PF_RGB8_Z24, GX_PF_RGBA6_Z24}) {
            gxtest::Reset();
            GXSetPixelFmt(pixelFormat, GX_ZC_LINEAR);
            for (u32 k = 0; k < cases.size(); ++k) {
                DrawOneToOne(cases[k], filter, 4.0f + 20.0f * k, 4.0f);
            }
            for (u32 k = 0; k < cases.size(); ++k) {
                for (u32 i = 0; i < kTexWidth * kTexHeight; ++i) {
                    const u32 actual = ArgbAt(4 + 20 * k + i % kTexWidth, 4 + i / kTexWidth);
                    const u32 expected = cases[k].expected[i];
                    SCOPED_TRACE(testing::Message() << cases[k].name << " texel " << i << " filter "
                                                    << filter << " pixel format " << pixelFormat);
                    if (pixelFormat == GX_PF_RGB8_Z24) {
                        ASSERT_EQ(actual, expected | 0xFF000000);
                    } else { // six bits a channel, alpha kept
                        ASSERT_EQ(actual & 0xFCFCFCFC, expected & 0xFCFCFCFC);
                    }
                }
            }
            if (pixelFormat == GX_PF_RGB8_Z24 && filter == GX_NEAR) {
                EXPECT_TRUE(MatchesGolden(ReadFrameBuffer(0, 0, 84, 16), "texture_formats", 0));
            }
        }
    }
}

TEST(GXTextureTest, MagnifiedTexelsAreRepeatedOrBlendedBetweenTheirCentres) {
    // Two texels, black and white, drawn over four pixels and two rows.
    const std::vector<u8> image = gxtest::TileRgba8({0xFF000000, 0xFFFFFFFF}, 2, 1);
    // Pixel centres fall a quarter texel from the texel centres at twice the size, and
    // halfway between them when shifted by half a texel.
    struct Case {
        GXTexFilter filter;
        GXTexWrapMode wrap;
        f32 s0, s1;
        u32 pixels;
        u8 expected[4];
    };
    const Case cases[] = {
        {GX_NEAR, GX_REPEAT, 0.0f, 1.0f, 4, {0, 0, 255, 255}},
        {GX_LINEAR, GX_REPEAT, 0.0f, 1.0f, 4, {64, 64, 191, 191}}, // the first wraps to white
        {GX_LINEAR, GX_CLAMP, 0.0f, 1.0f, 4, {0, 64, 191, 255}},
        {GX_LINEAR, GX_REPEAT, 0.25f, 1.25f, 2, {128, 128}}, // midpoints
        {GX_LINEAR, GX_CLAMP, 0.25f, 1.25f, 2, {128, 255}},
    };
    gxtest::Reset();
    for (u32 k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        GXTexObj texture;
        GXInitTexObj(&texture, image.data(), 2, 1, GX_TF_RGBA8, c.wrap, c.wrap, GX_FALSE);
        GXInitTexObjLOD(&texture, c.filter, c.filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
        gxtest::UseTexture(texture, GX_REPLACE);
        DrawRect(0, 2.0f * k, static_cast<f32>(c.pixels), 2.0f * k + 2, kWhite, 0.0f, c.s0, 0.0f,
                 c.s1, 1.0f);
        for (u32 x = 0; x < c.pixels; ++x) {
            EXPECT_EQ(ArgbAt(x, 2 * k), 0xFF000000u | c.expected[x] * 0x010101u)
                << "case " << k << " x " << x;
            EXPECT_EQ(ArgbAt(x, 2 * k + 1), ArgbAt(x, 2 * k)) << "one texel row";
        }
    }
    // A ramp magnified eight times, every filter and wrap side by side.
    const std::vector<u8> ramp =
        gxtest::TileRgba8({0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080,
                           0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF, 0xFF404040, 0xFF800000, 0xFF008000,
                           0xFF000080, 0xFFC0C0C0, 0xFF808000, 0xFF008080},
                          4, 4);
    gxtest::ClearFrameBuffer(0xFF000000);
    for (u32 k = 0; k < 3; ++k) {
        GXTexObj texture;
        GXInitTexObj(&texture, ramp.data(), 4, 4, GX_TF_RGBA8, cases[k].wrap, cases[k].wrap,
                     GX_FALSE);
        GXInitTexObjLOD(&texture, cases[k].filter, cases[k].filter, 0, 0, 0, GX_FALSE, GX_FALSE,
                        GX_ANISO_1);
        gxtest::UseTexture(texture, GX_REPLACE);
        DrawRect(34.0f * k, 0, 34.0f * k + 32, 32, kWhite);
    }
    EXPECT_TRUE(MatchesGolden(ReadFrameBuffer(0, 0, 100, 32), "texture_magnified"));
}

// A texture whose filters differ draws magnified as with its magnifying filter alone and
// minified as with its minifying one.
TEST(GXTextureTest, MagnifiedAndMinifiedTexturesTakeTheirOwnFilters) {
    std::vector<u32> ramp(16);
    for (u32 i = 0; i < ramp.size(); ++i) {
        ramp[i] = 0xFF000000 | (i * 0x9E3779B9u & 0xFFFFFF);
    }
    const std::vector<u8> image = gxtest::TileRgba8(ramp, 4, 4);
    // The texture drawn twice its size and half its size, side by side.
    const auto draw = [&](GXTexFilter minify, GXTexFilter magnify) {
        gxtest::Reset();
        GXTexObj texture;
        GXInitTexObj(&texture, image.data(), 4, 4, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
        GXInitTexObjLOD(&texture, minify, magnify, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
        gxtest::UseTexture(texture, GX_REPLACE);
        DrawRect(0, 0, 8, 8, kWhite);
        DrawRect(10, 0, 12, 2, kWhite);
        return std::pair{ReadFrameBuffer(0, 0, 8, 8).argb, ReadFrameBuffer(10, 0, 2, 2).argb};
    };
    const auto nearest = draw(GX_NEAR, GX_NEAR);
    const auto linear = draw(GX_LINEAR, GX_LINEAR);
    ASSERT_NE(nearest, linear);
    const auto minifyNearest = draw(GX_NEAR, GX_LINEAR);
    EXPECT_EQ(minifyNearest.first, linear.first);
    EXPECT_EQ(minifyNearest.second, nearest.second);
    const auto minifyLinear = draw(GX_LINEAR, GX_NEAR);
    EXPECT_EQ(minifyLinear.first, nearest.first);
    EXPECT_EQ(minifyLinear.second, linear.second);
}

TEST(GXTextureTest, CoordinatesOutsideTheTextureRepeatMirrorOrClamp) {
    // A 4 x 4 texture whose texel (x, y) has red 64 x and green 64 y, drawn over
    // coordinates -1 to 2 at one pixel a texel.
    std::vector<u32> texels(16);
    for (u32 i = 0; i < 16; ++i) {
        texels[i] = 0xFF000000 | (i % 4) * 64 << 16 | (i / 4) * 64 << 8;
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 4, 4);
    struct Case {
        GXTexWrapMode wrap;
        u32 (*texel)(s32 coordinate);
    };
    const Case cases[] = {
        {GX_REPEAT, [](s32 c) { return static_cast<u32>((c + 4) % 4); }},
        {GX_CLAMP, [](s32 c) { return static_cast<u32>(c < 0 ? 0 : (c > 3 ? 3 : c)); }},
        {GX_MIRROR, [](s32 c) { return static_cast<u32>(c < 0 ? -c - 1 : (c > 3 ? 7 - c : c)); }},
    };
    for (const Case& c : cases) {
        gxtest::Reset();
        GXTexObj texture;
        GXInitTexObj(&texture, image.data(), 4, 4, GX_TF_RGBA8, c.wrap, c.wrap, GX_FALSE);
        GXInitTexObjLOD(&texture, GX_NEAR, GX_NEAR, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
        gxtest::UseTexture(texture, GX_REPLACE);
        DrawRect(0, 0, 12, 12, kWhite, 0.0f, -1.0f, -1.0f, 2.0f, 2.0f);
        for (s32 y = 0; y < 12; ++y) {
            for (s32 x = 0; x < 12; ++x) {
                const u32 expected =
                    0xFF000000 | c.texel(x - 4) * 64 << 16 | c.texel(y - 4) * 64 << 8;
                ASSERT_EQ(ArgbAt(x, y), expected) << "wrap " << c.wrap << " at " << x << ", " << y;
            }
        }
    }
}

TEST(GXTextureTest, ImagesAreReadWhenDrawnPalettesWhenLoaded) {
    std::vector<u8> image = gxtest::TileBytes(std::vector<u8>(64, 1), 8, 8);
    std::vector<u8> palette = {0x80, 0x00, 0xFC, 0x00}; // entry 0 black, entry 1 red
    gxtest::Reset();
    GXTlutObj tlut;
    GXInitTlutObj(&tlut, palette.data(), GX_TL_RGB5A3, 2);
    GXLoadTlut(&tlut, GX_TLUT3);
    GXTexObj texture;
    GXInitTexObjCI(&texture, image.data(), 8, 8, GX_TF_C8, GX_CLAMP, GX_CLAMP, GX_FALSE, GX_TLUT3);
    gxtest::UseTexture(texture, GX_REPLACE);

    palette[2] = 0x80; // blue; not loaded yet
    palette[3] = 0x1F;
    DrawRect(0, 0, 8, 8, kWhite);
    EXPECT_EQ(ArgbAt(3, 3), 0xFFFF0000u) << "the palette loaded before the change";

    std::fill(image.begin(), image.end(), 0); // the image is read at draw time
    DrawRect(0, 0, 8, 8, kWhite);
    EXPECT_EQ(ArgbAt(3, 3), 0xFF000000u);

    std::fill(image.begin(), image.end(), 1);
    GXLoadTlut(&tlut, GX_TLUT3);
    DrawRect(0, 0, 8, 8, kWhite);
    EXPECT_EQ(ArgbAt(3, 3), 0xFF0000FFu) << "the palette as reloaded";
}

TEST(GXTextureTest, TexturesThatCannotBeUsedSampleAsTransparentBlack) {
    std::vector<u8> image(512, 0xFF);
    struct Case {
        const char* what;
        void (*setUp)(GXTexObj& texture, const u8* image);
    };
    const Case cases[] = {
        {"no image",
         [](GXTexObj& t, const u8*) {
             GXInitTexObj(&t, nullptr, 8, 8, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
         }},
        {"unsupported format",
         [](GXTexObj& t, const u8* i) {
             GXInitTexObj(&t, i, 8, 8, GX_TF_CMPR, GX_CLAMP, GX_CLAMP, GX_FALSE);
         }},
        {"zero width",
         [](GXTexObj& t, const u8* i) {
             GXInitTexObj(&t, i, 0, 8, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
         }},
        {"no such palette slot",
         [](GXTexObj& t, const u8* i) {
             GXInitTexObjCI(&t, i, 8, 8, GX_TF_C8, GX_CLAMP, GX_CLAMP, GX_FALSE, 40);
         }},
    };
    for (const Case& c : cases) {
        gxtest::Reset(0xFF123456);
        GXTexObj texture{};
        c.setUp(texture, image.data());
        gxtest::UseTexture(texture, GX_REPLACE);
        GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_CLEAR);
        DrawRect(0, 0, 8, 8, kWhite);
        EXPECT_EQ(ArgbAt(4, 4), 0xFF123456u) << c.what;
    }
    gxtest::Reset(0xFF123456);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 8, 8, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    GXLoadTexObj(&texture, static_cast<GXTexMapID>(9));                 // reported and ignored
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP7, GX_COLOR0A0); // never loaded
    GXSetTevOp(GX_TEVSTAGE0, GX_REPLACE);
    DrawRect(0, 0, 8, 8, kWhite);
    EXPECT_EQ(ArgbAt(4, 4), 0xFF000000u);
}

} // namespace
