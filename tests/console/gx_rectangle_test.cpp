// Screen-aligned rectangles, which the rasteriser hands to the pixel pipeline whole,
// against the same rectangles drawn as two triangles through the general set-up: odd
// sizes, fractional places, the scissor's edges, scaled and flipped texture coordinates,
// every filter, wrap, shading and blending; and the texel coordinate a rectangle's lines
// take against the stepped one.
#include "golden_image.h"
#include "gx/texture.h"
#include "gx_test_support.h"

#include <console/gx.h>

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using Quad = std::array<gxtest::Vertex, 4>;

using gxtest::kWhite;

Quad Rectangle(f32 left, f32 top, f32 right, f32 bottom, u32 rgba, f32 s0 = 0, f32 t0 = 0,
               f32 s1 = 1, f32 t1 = 1) {
    return {{{left, top, 0, rgba, s0, t0},
             {right, top, 0, rgba, s1, t0},
             {right, bottom, 0, rgba, s1, t1},
             {left, bottom, 0, rgba, s0, t1}}};
}

// Rectangles of one to several pixels, at whole places, on pixel centres and between
// them, magnified, minified, one to one shifted, flipped, beyond the texture, tinted,
// across the scissor's four edges, and one whose colour changes across it.
std::vector<Quad> Rectangles() {
    return {
        Rectangle(1, 1, 2, 2, kWhite),
        Rectangle(3, 4, 10, 7, 0xC0A080FF),
        Rectangle(12, 2, 13, 19, kWhite),
        Rectangle(14.3f, 2.7f, 25.55f, 9.1f, kWhite),
        Rectangle(26.5f, 2.5f, 33.5f, 11.5f, 0x80FF40C0),
        Rectangle(34.49f, 2.51f, 50.49f, 10.51f, kWhite),
        Rectangle(2, 20, 26, 32, kWhite),
        Rectangle(28.2f, 20.6f, 37.8f, 25.4f, kWhite),
        Rectangle(40, 20, 56, 28, kWhite, 1, 1, 0, 0),
        Rectangle(2, 34, 40, 50, kWhite, -0.7f, -0.4f, 2.3f, 1.6f),
        Rectangle(42.6f, 34.4f, 58.6f, 42.4f, 0xFFFFFF80, 0.03f, 0.01f, 1.03f, 1.01f),
        Rectangle(-3.25f, 52, 6.75f, 59, kWhite),
        Rectangle(55.5f, 52, 70, 59, 0xC0A080FF, 0, 0, 0.5f, 1),
        Rectangle(20, -5.6f, 29, 6.2f, kWhite),
        Rectangle(30, 56.3f, 41, 66, kWhite, 0, 0, 1, 2),
        {{{44, 44, 0, 0xFF0000FF, 0, 0},
          {53, 44, 0, 0x0000FFFF, 1, 0},
          {53, 50, 0, 0x0000FFFF, 1, 1},
          {44, 50, 0, 0xFF0000FF, 0, 1}}},
    };
}

// A 16 x 8 texture with opaque, transparent and translucent texels.
std::vector<u8> TextureImage() {
    std::vector<u32> argb(16 * 8);
    for (u32 i = 0; i < argb.size(); ++i) {
        const u32 alpha = i % 5 == 0 ? 0x00 : (i % 3 == 0 ? 0x80 : 0xFF);
        argb[i] = alpha << 24 | ((i * 0x9E3779B9u) & 0xFFFFFF);
    }
    return gxtest::TileRgba8(argb, 16, 8);
}

struct Blending {
    GXBlendMode mode;
    GXBlendFactor source, destination;
};

constexpr Blending kBlendings[] = {
    {GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO},
    {GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA},
    {GX_BM_BLEND, GX_BL_ONE, GX_BL_ONE},
    {GX_BM_SUBTRACT, GX_BL_ONE, GX_BL_ONE},
};

// The frame drawn with the rectangles as quads, or each as its two fan triangles.
TestImage Draw(const std::vector<Quad>& quads, bool asTriangles) {
    for (const Quad& q : quads) {
        if (asTriangles) {
            gxtest::Draw(GX_TRIANGLES, {q[0], q[1], q[2]});
            gxtest::Draw(GX_TRIANGLES, {q[0], q[2], q[3]});
        } else {
            gxtest::Draw(GX_QUADS, {q[0], q[1], q[2], q[3]});
        }
    }
    return ReadFrameBuffer(0, 0, 72, 72);
}

TEST(GXRectangleTest, RectanglesDrawWhatTheirTwoTrianglesDraw) {
    const std::vector<u8> image = TextureImage();
    const std::vector<Quad> quads = Rectangles();
    const GXTevMode modes[] = {GX_REPLACE, GX_MODULATE, GX_PASSCLR};
    for (const GXTexWrapMode wrap : {GX_CLAMP, GX_REPEAT}) {
        for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
            GXTexObj texture;
            GXInitTexObj(&texture, image.data(), 16, 8, GX_TF_RGBA8, wrap, wrap, GX_FALSE);
            GXInitTexObjLOD(&texture, filter, filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
            for (const GXTevMode mode : modes) {
                for (const Blending& blending : kBlendings) {
                    const auto draw = [&](bool asTriangles) {
                        gxtest::Reset(0xFF336699);
                        gxtest::UseTexture(texture, mode);
                        GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
                        GXSetBlendMode(blending.mode, blending.source, blending.destination,
                                       GX_LO_NOOP);
                        GXSetScissor(4, 3, 60, 60);
                        return Draw(quads, asTriangles).argb;
                    };
                    EXPECT_EQ(draw(false), draw(true))
                        << "wrap " << wrap << ", filter " << filter << ", mode " << mode
                        << ", blend " << blending.mode << " " << blending.source << " "
                        << blending.destination;
                }
            }
        }
    }
}

// The rectangle with its corners starting from corner `first`, clockwise or not.
Quad Turned(const Quad& q, u32 first, bool reversed) {
    Quad out;
    for (u32 i = 0; i < 4; ++i) {
        out[i] = q[(first + (reversed ? 4 - i : i)) % 4];
    }
    return out;
}

TEST(GXRectangleTest, RectanglesOfOddCoordinatesDrawWhatTheirTwoTrianglesDraw) {
    // Texture coordinates that change along one axis, the other or neither, through
    // signed zeros, subnormals, huge values, infinities and NaN, with the corners in
    // every order, with and without the depth test.
    constexpr f32 kInfinity = std::numeric_limits<f32>::infinity();
    constexpr f32 kTiny = std::numeric_limits<f32>::denorm_min();
    const f32 values[][2] = {{0.0f, -0.0f},     {-0.0f, 0.0f},      {-kTiny, kTiny},
                             {-kTiny, -0.0f},   {1e30f, -1e30f},    {-3e38f, 3e38f},
                             {kInfinity, 0.5f}, {0.5f, -kInfinity}, {std::nanf(""), 1.0f},
                             {-1e-30f, -2e-30f}};
    std::vector<Quad> quads;
    f32 top = 2;
    for (const auto& v : values) {
        quads.push_back(Rectangle(2, top, 7.5f, top + 5, kWhite, v[0], v[0], v[1], v[0]));
        quads.push_back(Rectangle(10, top, 15, top + 5.5f, kWhite, v[0], v[0], v[0], v[1]));
        quads.push_back(Rectangle(18, top, 24, top + 5, 0xC0A080FF, v[0], v[1], v[0], v[1]));
        top += 7;
    }
    const std::vector<u8> image = TextureImage();
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 16, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    for (const bool depthTest : {false, true}) {
        for (u32 first = 0; first < 4; ++first) {
            for (const bool reversed : {false, true}) {
                std::vector<Quad> turned;
                for (const Quad& q : quads) {
                    turned.push_back(Turned(q, first, reversed));
                }
                const auto draw = [&](bool asTriangles) {
                    gxtest::Reset(0xFF336699);
                    gxtest::UseTexture(texture, GX_MODULATE);
                    GXSetZMode(depthTest, GX_LEQUAL, depthTest);
                    return Draw(turned, asTriangles).argb;
                };
                EXPECT_EQ(draw(false), draw(true))
                    << "depth test " << depthTest << ", first corner " << first << ", reversed "
                    << reversed;
            }
        }
    }
}

TEST(GXRectangleTest, ARectanglesLinesAreOneSpanEach) {
    const std::vector<u8> image = TextureImage();
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 16, 8, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    gxtest::Reset();
    gxtest::UseTexture(texture, GX_MODULATE);
    GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    // Lines 2 to 9 hold pixel centres inside (the top edge's own, not the bottom's);
    // the scissor leaves 5 to 8.
    GXSetScissor(0, 5, 640, 4);
    const u64 before = GXSpriteSpanCountForTest();
    const Quad q = Rectangle(2.5f, 2.5f, 20.25f, 9.75f, 0xFFC08040);
    gxtest::Draw(GX_QUADS, {q[0], q[1], q[2], q[3]});
    EXPECT_EQ(GXSpriteSpanCountForTest() - before, 4u);
}

// What GXStepTexel gives for a coordinate stepped by nothing across a line.
s32 SteppedTexel(f32 coordinate, s32 size) {
    return GXStepTexel(GXStepCoordinate(coordinate, 0.0f, size, 37).at);
}

// Special coordinates, then coordinates across and around the texture, every few thousand
// bit patterns.
std::vector<f32> Coordinates() {
    constexpr f32 kInfinity = std::numeric_limits<f32>::infinity();
    std::vector<f32> coordinates = {0.0f,
                                    -0.0f,
                                    1e-30f,
                                    -1e-30f,
                                    0.5f,
                                    -0.5f,
                                    1.0f / 3,
                                    -1.0f / 3,
                                    4095.99f,
                                    -4096.01f,
                                    1e20f,
                                    -1e20f,
                                    kInfinity,
                                    -kInfinity,
                                    std::numeric_limits<f32>::quiet_NaN(),
                                    std::numeric_limits<f32>::denorm_min()};
    for (u32 bits = std::bit_cast<u32>(-8.0f); bits > 0x80000000u; bits -= 4099) {
        coordinates.push_back(std::bit_cast<f32>(bits));
    }
    for (u32 bits = 0; bits < std::bit_cast<u32>(8.0f); bits += 4099) {
        coordinates.push_back(std::bit_cast<f32>(bits));
    }
    return coordinates;
}

TEST(GXRectangleTest, LineCoordinatesAreFlooredAsTheSteppedOnes) {
    const std::vector<f32> coordinates = Coordinates();
    for (const s32 size : {1, 7, 8, 64, 480, 1024}) {
        for (const f32 coordinate : coordinates) {
            ASSERT_EQ(GXSteadyTexel(coordinate, size), SteppedTexel(coordinate, size))
                << coordinate << " of " << size;
        }
    }
}

TEST(GXRectangleTest, LineCoordinatesFourAtOnceAreFlooredAsOneAtATime) {
    const std::vector<f32> coordinates = Coordinates();
    for (const s32 size : {1, 7, 8, 64, 480, 1024}) {
        for (size_t i = 0; i + 4 <= coordinates.size(); ++i) {
            const f32* four = &coordinates[i];
            const GXFourTexels texels =
                GXSteadyTexels(GXFourCoordinates{four[0], four[1], four[2], four[3]}, size);
            for (u32 lane = 0; lane < 4; ++lane) {
                ASSERT_EQ(texels[lane], GXSteadyTexel(four[lane], size))
                    << four[lane] << " of " << size << " in lane " << lane;
            }
        }
    }
}

// Lines `first` to `last` at base + dy * (y + 0.5) + dx * 0.5 of a texture `size` high.
struct Lines {
    f32 base, dy, dx;
    s32 size;
    u32 first, last;
};

// Line y's coordinate as the lines evaluate it, in single precision, and its texel.
s32 EvaluatedTexel(const Lines& l, u32 y) {
    const GXFourCoordinates py = GXFourCoordinates{} + (static_cast<f32>(y) + 0.5f);
    return GXSteadyTexels(l.base + l.dy * py + l.dx * 0.5f, l.size)[0];
}

// Whether the lines take the closed form; a failure where it gives a line another texel
// than the evaluated one.
bool TakeTheClosedForm(const Lines& l) {
    const std::optional<GXLineTexels> form =
        GXExactLineTexels(l.base, l.dy, l.dx, l.size, l.first, l.last);
    for (u32 y = l.first; form && y <= l.last; ++y) {
        const s32 texel = form->first + form->step * static_cast<s32>(y - l.first);
        if (texel != EvaluatedTexel(l, y)) {
            ADD_FAILURE() << l.base << " + " << l.dy << " a line, " << l.dx << " a pixel, of "
                          << l.size << " at line " << y << ": " << texel << " for "
                          << EvaluatedTexel(l, y);
            break;
        }
    }
    return form.has_value();
}

TEST(GXRectangleTest, LineCoordinatesInClosedFormAreTheEvaluatedOnes) {
    // Coordinates and changes that are exact, one unit in the last place off, large,
    // negative, subnormal, infinite and NaN, over lines near the top and far down.
    constexpr f32 kInfinity = std::numeric_limits<f32>::infinity();
    constexpr f32 kTiny = std::numeric_limits<f32>::denorm_min();
    const f32 quarter = 0.25f;
    const f32 step = 1.0f / 64;
    const std::vector<f32> bases = {
        0.0f,      -0.0f,        quarter,  std::nextafter(quarter, 1.0f),
        -0.75f,    3.0f / 64,    1.0f / 3, 1e6f,
        -4096.5f,  1e30f,        kTiny,    -kTiny * 3,
        kInfinity, std::nanf("")};
    const std::vector<f32> changes = {step,         -step,     std::nextafter(step, 1.0f),
                                      1.0f / 32,    0.5f / 64, 1.0f / 3,
                                      2.0f,         -1024.0f,  0.0f,
                                      kTiny,        kTiny * 2, -kInfinity,
                                      std::nanf("")};
    const f32 across[] = {0.0f, -0.0f, 1.0f / 128, kTiny, kInfinity};
    const u32 lines[][2] = {{0, 15}, {3, 40}, {100, 131}, {470, 479}, {4000000, 4000020}};
    u32 closed = 0;
    for (const s32 size : {1, 7, 8, 64, 480, 1024}) {
        for (const f32 base : bases) {
            for (const f32 dy : changes) {
                for (const f32 dx : across) {
                    for (const auto& range : lines) {
                        closed += TakeTheClosedForm({base, dy, dx, size, range[0], range[1]});
                    }
                }
            }
        }
    }
    EXPECT_GT(closed, 1000u);
    // Lines that a test of the proof's each limit keeps from the closed form: half a pixel's
    // change below the least subnormal; a sum beyond 24 bits that the pixel's half brings back;
    // a product beyond 24 bits that the base brings back; a coordinate beyond 24 bits; a product
    // beyond 24 bits by the half line.
    const Lines limits[] = {{0.0f, 0.0f, -kTiny, 64, 0, 15},
                            {8388608.0f, 1.0f, -16777216.0f, 1, 0, 15},
                            {-48.0f, 32.0f + 1.0f / 262144, 0.0f, 1024, 0, 1},
                            {0.5f - 1.0f / 16777216, 0.0f, 1.5f, 64, 0, 15},
                            {0.0f, 24.0f + 1.0f / 262144, 0.0f, 1024, 0, 1}};
    for (const Lines& l : limits) {
        TakeTheClosedForm(l);
    }
    // A 1:1 glyph's, as drawn, takes the closed form, either way up; one a unit off, or with
    // a subnormal change across, does not.
    EXPECT_TRUE(TakeTheClosedForm({quarter - step * 20, step, 0.0f, 64, 20, 35}));
    EXPECT_TRUE(TakeTheClosedForm({0.75f, -step, 0.0f, 64, 0, 15}));
    EXPECT_FALSE(TakeTheClosedForm({quarter, std::nextafter(step, 1.0f), 0.0f, 64, 20, 35}));
    EXPECT_FALSE(TakeTheClosedForm({quarter, step, kTiny, 64, 20, 35}));
}

TEST(GXRectangleTest, TallRectanglesDrawWhatTheirTwoTrianglesDraw) {
    // Lines whose texel coordinates take the closed form (one to one, magnified, flipped,
    // shifted by a texel) and ones a unit in the last place away that do not.
    const f32 off = std::nextafter(1.0f, 2.0f);
    const std::vector<Quad> quads = {
        Rectangle(2, 2, 18, 10, kWhite),
        Rectangle(20, 2, 36, 18, kWhite, 0, 0, 1, 2),
        Rectangle(38, 2, 54, 10, 0xC0A080FF, 0, 1, 1, 0),
        Rectangle(2, 20, 18, 36, kWhite, 0, 0.125f, 1, 0.125f + 2),
        Rectangle(20, 20, 36, 28, kWhite, 0, 0, 1, off),
        Rectangle(38, 20, 54, 28, kWhite, 0, off, 1, 0),
        Rectangle(2.5f, 40.5f, 18.5f, 60.5f, kWhite, 0, -1, 1, 1.5f),
        Rectangle(20, 40, 36, 71, kWhite, 0, 0, 1, 31.0f / 8),
        Rectangle(56, 2, 70, 71, kWhite, 0, 0, 1, 69.0f / 128),
    };
    const std::vector<u8> image = TextureImage();
    for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
        for (const bool blend : {false, true}) {
            GXTexObj texture;
            GXInitTexObj(&texture, image.data(), 16, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT,
                         GX_FALSE);
            GXInitTexObjLOD(&texture, filter, filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
            const auto draw = [&](bool asTriangles) {
                gxtest::Reset(0xFF336699);
                gxtest::UseTexture(texture, GX_MODULATE);
                GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
                GXSetBlendMode(blend ? GX_BM_BLEND : GX_BM_NONE, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA,
                               GX_LO_NOOP);
                return Draw(quads, asTriangles).argb;
            };
            EXPECT_EQ(draw(false), draw(true)) << "filter " << filter << ", blend " << blend;
        }
    }
}

} // namespace
