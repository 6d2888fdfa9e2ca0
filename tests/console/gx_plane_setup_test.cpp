// The rule that lets a screen-aligned rectangle's second fan triangle take the first's
// plane: wherever it holds, the plane worked out over the second triangle is the same bit
// for bit, over signed zeros, subnormals, huge values, infinities and NaN, rectangles of
// either orientation and negative extents; and it holds for what sprites and glyphs draw.
// A steady value's plane taken as it is matches the one worked out, over every corner
// order of triangles either side of the origin.
#include "gx/plane_setup.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr f32 kInfinity = std::numeric_limits<f32>::infinity();

const std::vector<f32> kValues = {0.0f,
                                  -0.0f,
                                  std::numeric_limits<f32>::denorm_min(),
                                  -std::numeric_limits<f32>::denorm_min(),
                                  std::numeric_limits<f32>::min(),
                                  -1e-38f,
                                  1e-30f,
                                  0.5f,
                                  -0.25f,
                                  1.0f,
                                  1.0f / 3,
                                  255.0f,
                                  -4096.5f,
                                  1e20f,
                                  3e38f,
                                  -3e38f,
                                  kInfinity,
                                  -kInfinity,
                                  std::numeric_limits<f32>::quiet_NaN()};

// Rectangles in 1/16 pixels as (x0, y0) to (x1, y1), corner 0 at (x0, y0) and corner 1
// at (x1, y0): from the top left, a thin one, a far one, and those whose corner 0 is at
// another corner (negative width, height or both).
struct Extent {
    s64 x0, y0, x1, y1;
};
const std::vector<Extent> kExtents = {
    {16, 16, 32, 32}, {3, 5, 260, 7},   {0, 0, 1, 1},     {-8000, 4000, 131000, 90000},
    {32, 16, 16, 32}, {16, 32, 32, 16}, {32, 32, 16, 16}, {5, 1000, 900, -3},
};

bool SameBits(const GXPlane& a, const GXPlane& b) {
    return std::bit_cast<u32>(a.base) == std::bit_cast<u32>(b.base) &&
           std::bit_cast<u32>(a.dx) == std::bit_cast<u32>(b.dx) &&
           std::bit_cast<u32>(a.dy) == std::bit_cast<u32>(b.dy);
}

struct Halves {
    GXPlaneSetup first, second;
    f32 width, height;
};

// The two fan triangles' set-ups, as the rasteriser makes them.
Halves HalvesOf(const Extent& e) {
    const s64 x[4] = {e.x0, e.x1, e.x1, e.x0};
    const s64 y[4] = {e.y0, e.y0, e.y1, e.y1};
    const s64 area = (e.x1 - e.x0) * (e.y1 - e.y0);
    const s64 secondX[3] = {x[0], x[2], x[3]};
    const s64 secondY[3] = {y[0], y[2], y[3]};
    Halves h{GXPlaneSetup::OfSnapped(x, y, area), GXPlaneSetup::OfSnapped(secondX, secondY, area),
             0, 0};
    h.width = h.first.x[1] - h.first.x[0];
    h.height = h.first.y[2] - h.first.y[0];
    return h;
}

// Whether the rule holds for corner values v, failing the test if it holds where the
// two triangles' planes differ.
bool ExpectRuleSound(const Halves& h, const f32 v[4]) {
    const bool shared = GXRectangleHalvesShareThePlane(v[0], v[1], v[2], v[3], h.width, h.height);
    if (shared) {
        EXPECT_TRUE(SameBits(h.first.Of(v[0], v[1], v[2]), h.second.Of(v[0], v[2], v[3])))
            << v[0] << " " << v[1] << " " << v[2] << " " << v[3] << " over " << h.width << " x "
            << h.height;
    }
    return shared;
}

TEST(GXPlaneSetup, SharedPlanesAreTheSameBitForBit) {
    u32 shared = 0;
    for (const Extent& extent : kExtents) {
        const Halves h = HalvesOf(extent);
        for (const f32 a : kValues) {
            for (const f32 b : kValues) {
                const f32 alongX[4] = {a, b, b, a};
                const f32 alongY[4] = {a, a, b, b};
                const f32 mixed[4] = {a, b, a, b};
                shared += ExpectRuleSound(h, alongX) + ExpectRuleSound(h, alongY);
                EXPECT_FALSE(ExpectRuleSound(h, mixed) &&
                             std::bit_cast<u32>(a) != std::bit_cast<u32>(b));
            }
        }
    }
    // Not a rule that never holds: most finite pairs over the top-left rectangles.
    EXPECT_GT(shared, 1000u);
}

TEST(GXPlaneSetup, SpritesAndGlyphsShareTheirPlanes) {
    const Halves h = HalvesOf({100 * 16, 40 * 16, 116 * 16, 56 * 16});
    const f32 colour[4] = {240.0f, 240.0f, 240.0f, 240.0f};
    const f32 s[4] = {0.25f, 0.5f, 0.5f, 0.25f};
    const f32 t[4] = {0.0f, 0.0f, 0.25f, 0.25f};
    const f32 flipped[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    for (const f32* v : {colour, s, t, flipped}) {
        EXPECT_TRUE(ExpectRuleSound(h, v)) << v[0] << " " << v[1] << " " << v[2] << " " << v[3];
    }
}

// Snapped triangles: down-right ones (rectangle halves, thin, far, either side of the
// origin) and ones with a corner left of or above corner 0.
const std::vector<std::array<s64, 6>> kTriangles = {
    {16, 16, 32, 16, 32, 32},  {16, 16, 32, 32, 16, 32},      {-40, -24, 8, -24, 8, 5},
    {-40, -24, 8, 5, -40, 5},  {3, 5, 260, 5, 260, 7},        {-8000, 4000, 131000, 4001, 7, 90000},
    {0, 0, 1, 0, 1, 1},        {32, 16, 16, 16, 16, 32},      {16, 32, 16, 16, 32, 16},
    {-5, 40, -90, 60, 30, 90}, {100, 100, 130, 90, 120, 140}, {-16, -16, -32, -32, 0, -40},
};

TEST(GXPlaneSetup, SteadyValuesTakenAsTheyAreMatchThePlanesWorkedOut) {
    u32 taken = 0;
    for (const auto& corners : kTriangles) {
        s64 x[3] = {corners[0], corners[2], corners[4]};
        s64 y[3] = {corners[1], corners[3], corners[5]};
        s64 area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
        if (area < 0) { // clockwise, as the rasteriser orders them
            std::swap(x[1], x[2]);
            std::swap(y[1], y[2]);
            area = -area;
        }
        const GXPlaneSetup setup = GXPlaneSetup::OfSnapped(x, y, area);
        taken += setup.downRight ? 1 : 0;
        for (const f32 a : kValues) {
            for (const f32 b : {a, 1.0f, -0.0f}) {
                const GXPlane plane = setup.Of(a, a, b);
                EXPECT_TRUE(SameBits(plane, setup.WorkedOut(a, a, b)))
                    << a << " " << b << " over " << x[0] << "," << y[0] << " " << x[1] << ","
                    << y[1] << " " << x[2] << "," << y[2];
            }
        }
    }
    EXPECT_GE(taken, 6u);
}

} // namespace
