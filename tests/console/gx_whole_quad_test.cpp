// Quads whose corners all lie inside the clip volume go from the clip stage to the
// rasteriser in one pass; they must draw what their two fan triangles draw one at a
// time: every corner first, both windings, each culling mode, whole, half-pixel and
// subpixel corners, the scissor through them, corners past the near plane or the guard
// band or not numbers, steady values (+0, -0, huge) and ones that change, flat and
// point-like quads, with and without the depth test (one quad passing through another).
#include "golden_image.h"
#include "gx_test_support.h"

#include <console/gx.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using WholeQuad = std::array<gxtest::Vertex, 4>;

// A rectangle clockwise from its top left, the texture coordinates given per corner.
WholeQuad WholeQuadAt(f32 left, f32 top, f32 right, f32 bottom, u32 rgba,
                      const std::array<f32, 4>& s, const std::array<f32, 4>& t) {
    return {{{left, top, -0.25f, rgba, s[0], t[0]},
             {right, top, -0.5f, rgba, s[1], t[1]},
             {right, bottom, -0.75f, rgba, s[2], t[2]},
             {left, bottom, -0.5f, rgba, s[3], t[3]}}};
}

std::vector<WholeQuad> WholeQuads() {
    constexpr std::array<f32, 4> kS = {0, 1, 1, 0}, kT = {0, 0, 1, 1};
    constexpr std::array<f32, 4> kZeros = {0, 0, 0, 0},
                                 kNegativeZeros = {-0.0f, -0.0f, -0.0f, -0.0f};
    constexpr std::array<f32, 4> kHuge = {3e38f, 3e38f, 3e38f, 3e38f},
                                 kHalves = {0.5f, 0.5f, 0.5f, 0.5f};
    constexpr f32 kSubpixel = 1.0f / 16, kHalfSubpixel = 1.0f / 32;
    std::vector<WholeQuad> quads;
    const f32 offsets[] = {0,    kHalfSubpixel,   kSubpixel, 0.5f - kHalfSubpixel,
                           0.5f, 0.5f + kSubpixel};
    for (u32 i = 0; i < std::size(offsets); ++i) {
        const f32 x = 2 + 10 * static_cast<f32>(i), o = offsets[i];
        quads.push_back(WholeQuadAt(x + o, 2 + o, x + 7 + o, 9 - o, gxtest::kWhite, kS, kT));
        quads.push_back(WholeQuadAt(x - o, 12 + o, x + 8.5f, 18 + o, 0xC08040FF, kT, kS));
    }
    quads.push_back(WholeQuadAt(2, 22, 12, 30, 0x80FF40C0, kZeros, kZeros));
    quads.push_back(WholeQuadAt(14, 22, 24, 30, 0, kNegativeZeros, kNegativeZeros));
    quads.push_back(WholeQuadAt(-3.5f, 32, 6, 40, gxtest::kWhite, kNegativeZeros, kHalves));
    quads.push_back(WholeQuadAt(26, 22, 36, 30, gxtest::kWhite, kHuge, kHalves));
    quads.push_back(WholeQuadAt(38, 22, 50, 30, gxtest::kWhite, {1, 0, 0, 1}, {1, 1, 0, 0}));
    quads.push_back(WholeQuadAt(52, 22, 70, 34, gxtest::kWhite, kS, kT)); // past the edge
    quads.push_back(WholeQuadAt(-3e9f, 42, 10, 46, 0x60C0A0FF, kS, kT));  // past the guard band
    quads.push_back(WholeQuadAt(60, 36, 70, std::nanf(""), gxtest::kWhite, kS, kT)); // not a number
    quads.push_back(WholeQuadAt(8, 32, 8, 40, gxtest::kWhite, kS, kT));              // no width
    quads.push_back(WholeQuadAt(10, 34, 20, 34, gxtest::kWhite, kS, kT));            // no height
    quads.push_back(WholeQuadAt(22.03f, 34, 22.05f, 34.02f, gxtest::kWhite, kS, kT));
    quads.push_back({{{30, 34, 0, gxtest::kWhite, 0, 0},
                      {40, 36, 0, 0xFF0000FF, 1, 0},
                      {38, 46, 0, 0x00FF00FF, 1, 1},
                      {28, 44, 0, 0x0000FFFF, 0, 1}}}); // turned
    quads.push_back({{{44, 36, -0.5f, gxtest::kWhite, 0, 0},
                      {54, 36, 0.5f, gxtest::kWhite, 1, 0},
                      {54, 46, -0.5f, gxtest::kWhite, 1, 1},
                      {44, 46, -0.5f, gxtest::kWhite, 0, 1}}}); // through the near plane
    quads.push_back({{{3, 3, -0.5f, 0x2040E0FF, 0, 0},
                      {8, 3, -0.5f, 0x2040E0FF, 1, 0},
                      {8, 8, -0.5f, 0x2040E0FF, 1, 1},
                      {3, 8, -0.5f, 0x2040E0FF, 0, 1}}}); // through the first, depth deciding
    return quads;
}

// The quad's corners from corner `first` on, reversed when `reversed`.
WholeQuad Reordered(const WholeQuad& q, u32 first, bool reversed) {
    WholeQuad out;
    for (u32 i = 0; i < 4; ++i) {
        out[i] = q[(first + (reversed ? 4 - i : i)) % 4];
    }
    return out;
}

// As a quad, or as its two fan triangles each drawn alone.
void DrawWholeQuad(const WholeQuad& q, bool asQuad) {
    if (asQuad) {
        gxtest::Draw(GX_QUADS, q.data(), 4);
    } else {
        gxtest::Draw(GX_TRIANGLES, {q[0], q[1], q[2]});
        gxtest::Draw(GX_TRIANGLES, {q[0], q[2], q[3]});
    }
}

TEST(GXWholeQuadTest, QuadsDrawWhatTheirTwoFanTrianglesDraw) {
    std::vector<u32> texels(64);
    for (u32 i = 0; i < texels.size(); ++i) {
        texels[i] = (i * 0x2F6B1D53u) | 0x40000000u * (i % 4);
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 8, 8);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 8, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    const std::vector<WholeQuad> quads = WholeQuads();
    struct Scissor {
        u32 left, top, width, height;
    };
    for (const Scissor scissor : {Scissor{0, 0, 640, 480}, Scissor{5, 3, 41, 29}}) {
        for (const GXCullMode cull : {GX_CULL_NONE, GX_CULL_BACK, GX_CULL_FRONT, GX_CULL_ALL}) {
            for (const bool depth : {false, true}) {
                for (u32 order = 0; order < 8; ++order) {
                    const auto draw = [&](bool asQuads) {
                        gxtest::Reset(0xFF336699);
                        gxtest::UseTexture(texture, GX_MODULATE);
                        GXSetZMode(depth, GX_LEQUAL, depth);
                        GXSetCullMode(cull);
                        GXSetScissor(scissor.left, scissor.top, scissor.width, scissor.height);
                        for (const WholeQuad& quad : quads) {
                            DrawWholeQuad(Reordered(quad, order % 4, order >= 4), asQuads);
                        }
                        return ReadFrameBuffer(0, 0, 72, 48).argb;
                    };
                    EXPECT_EQ(draw(true), draw(false))
                        << "scissor " << scissor.left << " cull " << cull << " depth " << depth
                        << " order " << order;
                }
            }
        }
    }
}

TEST(GXWholeQuadTest, QuadsInPerspectiveDrawWhatTheirTwoFanTrianglesDraw) {
    // Facing the eye (one w at every corner) and tilted away from it (w changing), one
    // of them in a single colour, whose halves' planes are alike whatever w does.
    const std::vector<WholeQuad> quads = {
        {{{-3, 1, -6, 0xFF0000FF, 0, 0},
          {-1, 1, -6, 0x00FF00FF, 1, 0},
          {-1, -1, -6, 0x0000FFFF, 1, 1},
          {-3, -1, -6, gxtest::kWhite, 0, 1}}},
        {{{0, 1, -5, gxtest::kWhite, 0, 0},
          {2, 1, -7, gxtest::kWhite, 0, 0},
          {2, -1, -7, gxtest::kWhite, 0, 0},
          {0, -1, -5, gxtest::kWhite, 0, 0}}},
        {{{-2, -1.5f, -5, gxtest::kWhite, 0, 0},
          {2, -1.5f, -5, 0x00FF00FF, 1, 0},
          {2, -3, -8, 0x0000FFFF, 1, 1},
          {-2, -3, -8, gxtest::kWhite, 0, 1}}},
    };
    for (u32 order = 0; order < 8; ++order) {
        const auto draw = [&](bool asQuads) {
            gxtest::Reset(0xFF336699);
            gxtest::UsePerspective(90.0f, 640.0f / 480.0f, 1.0f, 100.0f);
            for (const WholeQuad& quad : quads) {
                DrawWholeQuad(Reordered(quad, order % 4, order >= 4), asQuads);
            }
            return ReadFrameBuffer(0, 0, 640, 480).argb;
        };
        EXPECT_EQ(draw(true), draw(false)) << "order " << order;
    }
}

} // namespace
