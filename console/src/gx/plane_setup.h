// A value's plane over a snapped triangle (value = base + dx x + dy y, in pixels) from
// its corner values, and when a screen-aligned rectangle's two fan triangles give a
// value the very same plane, bit for bit, without working out the second.
#pragma once

#include <console/types.h>

#include <bit>

struct GXPlane {
    f32 base, dx, dy;
};

// Whether a value (or a product of a value's change) is finite and not -0, so that
// subtracting a zero of either sign leaves it as it is.
inline bool GXPlainProduct(f32 product) {
    const u32 bits = std::bit_cast<u32>(product);
    return (bits & 0x7F800000u) != 0x7F800000u && bits != 0x80000000u;
}

// A triangle's corners in pixels and the inverse of its doubled area.
struct GXPlaneSetup {
    f32 x[3], y[3];
    f32 inverseDeterminant;
    // Corners 1 and 2 lie neither left of nor above corner 0, and the area is positive.
    bool downRight;

    // The triangle with corners snapped to x, y (in 1/16 pixels), of doubled area `area`.
    static GXPlaneSetup OfSnapped(const s64* x, const s64* y, s64 area) {
        constexpr s64 kSubpixels = 16;
        GXPlaneSetup setup{};
        for (u32 i = 0; i < 3; ++i) {
            setup.x[i] = static_cast<f32>(x[i]) / kSubpixels;
            setup.y[i] = static_cast<f32>(y[i]) / kSubpixels;
        }
        setup.inverseDeterminant =
            static_cast<f32>(kSubpixels * kSubpixels) / static_cast<f32>(area);
        setup.downRight = x[1] >= x[0] && x[2] >= x[0] && y[1] >= y[0] && y[2] >= y[0] && area > 0;
        return setup;
    }

    // The plane of a value with these corner values. A steady one (the same plain value
    // at every corner) over a down-right triangle is taken as it is: its changes are +0
    // times offsets of +0 or more, times a positive inverse, so dx and dy come to +0,
    // and subtracting their products leaves a plain value alone.
    GXPlane Of(f32 v0, f32 v1, f32 v2) const {
        const u32 bits = std::bit_cast<u32>(v0);
        if (downRight && bits == std::bit_cast<u32>(v1) && bits == std::bit_cast<u32>(v2) &&
            GXPlainProduct(v0)) {
            return {v0, 0.0f, 0.0f};
        }
        return WorkedOut(v0, v1, v2);
    }

    // The plane worked out in full.
    GXPlane WorkedOut(f32 v0, f32 v1, f32 v2) const {
        const f32 dx = ((v1 - v0) * (y[2] - y[0]) - (v2 - v0) * (y[1] - y[0])) * inverseDeterminant;
        const f32 dy = ((v2 - v0) * (x[1] - x[0]) - (v1 - v0) * (x[2] - x[0])) * inverseDeterminant;
        return {v0 - dx * x[0] - dy * y[0], dx, dy};
    }
};

// Whether the value with corner values v0 to v3 has the same plane over both fan
// triangles (0, 1, 2 and 0, 2, 3) of the rectangle whose corner 0 is its top left,
// corners clockwise, `width` and `height` pixels as the set-up of the first has them
// (x[1] - x[0] and y[2] - y[0]). True only when the value changes along one axis alone
// (equal corners bit for bit) and its change times the width and the height is finite
// and not -0: the sums of the two triangles then round alike.
// Over the first triangle dx = (a h - b 0) k and dy = (b w - a w) k, over the second
// dx = (b h - c h) k and dy = (c w - b 0) k, with a, b, c the changes from corner 0 to
// corners 1, 2, 3 and the same k. Along x alone a = b and c = +0; along y alone a = +0
// and b = c; either way both come to the same change times w or h, give or take a
// signed zero subtracted, so long as the products are plain. The bases then follow.
inline bool GXRectangleHalvesShareThePlane(f32 v0, f32 v1, f32 v2, f32 v3, f32 width, f32 height) {
    const u32 b0 = std::bit_cast<u32>(v0), b1 = std::bit_cast<u32>(v1);
    const u32 b2 = std::bit_cast<u32>(v2), b3 = std::bit_cast<u32>(v3);
    const bool alongX = b1 == b2 && b0 == b3;
    const bool alongY = b0 == b1 && b2 == b3;
    const f32 change = (alongX ? v1 : v2) - v0;
    return (alongX || alongY) && width > 0.0f && height > 0.0f && GXPlainProduct(change * width) &&
           GXPlainProduct(change * height);
}
