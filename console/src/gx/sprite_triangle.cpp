// The sprite loop's triangle set-up: the columns stepped, or found one texel apart at
// once, the texels they read, and the rasterised colour's weights.
#include "gx/sprite_triangle.h"

#include <algorithm>
#include <cstring>

namespace gx_sprite {

constinit SpriteTriangle s_triangle{};
constinit Columns s_columns{};

namespace {

// Fills columns [from, to), s stepped from `u` at column `from`; notes whether all their
// weights are 0 (texel centres on pixel centres, as a sprite drawn 1:1), when filtering
// across reads each column's texel alone, just as nearest does.
void StepColumns(const GXTextureSampler& sampler, bool linear, GXCoordinateStep u, u32 from,
                 u32 to) {
    const s32 centre = linear ? 128 : 0; // bilinear weighs the texels around the point
    const Wrapping wrapping = WrappingOf(sampler, linear);
    s32 weights = 0;
    bool oneToOne = true;
    for (u32 x = from; x < to; ++x, u.at += u.step) {
        const s32 texel = GXStepTexel(u.at) - centre;
        s_columns.element[x] = static_cast<u32>(wrapping.Reduce(texel >> 8) + 1);
        s_columns.weight[x] = static_cast<u64>(texel & 0xFF) * kEveryLane;
        weights |= texel & 0xFF;
        // The last column only completes a pair; no span draws it.
        oneToOne = oneToOne && (x == from || x + 1 == to ||
                                s_columns.element[x] == s_columns.element[x - 1] + 1);
    }
    s_triangle.unweighted = weights == 0;
    s_triangle.oneToOne = oneToOne;
}

// The texels columns [from, to) read: -1 to width, and whether in order.
void TexelsRead(const GXTextureSampler& sampler, bool linear, u32 from, u32 to) {
    s32 first = INT_MAX;
    s32 last = INT_MIN;
    bool inOrder = true;
    for (u32 x = from; x < to; ++x) {
        const s32 texel = static_cast<s32>(s_columns.element[x]) - 1;
        inOrder = inOrder && texel >= last;
        first = std::min(first, texel);
        last = std::max(last, texel);
    }
    s_triangle.first = first;
    s_triangle.last = std::min(last + (linear ? 1 : 0), static_cast<s32>(sampler.width));
    s_triangle.inOrder = inOrder;
}

// Fills columns [left, right] (right > left) as StepColumns does, without stepping, when
// the columns left of `right` each read the texel after their left neighbour's at one
// weight: s advances by one texel a pixel, or so nearly that no column's 1/256 texel
// differs from the first's, and no texel between left and right - 1 wraps or clamps.
// False, having filled nothing, otherwise.
bool StepOneToOne(const GXTextureSampler& sampler, bool linear, GXCoordinateStep u, u32 left,
                  u32 right) {
    // Column i is at u.at + i * 2^32 + i * (u.step - 2^32): where what lies below the
    // first's 1/256 texel stays below the next 1/256 texel at column right, it does at
    // every column between.
    constexpr s64 kTexel = s64{1} << 32;
    constexpr s64 kFraction = s64{1} << 24;
    const s64 below = u.at & (kFraction - 1);
    const s64 drift = (u.step - kTexel) * static_cast<s64>(right - left);
    if (below + drift < 0 || below + drift >= kFraction) {
        return false;
    }
    const s32 texel = GXStepTexel(u.at) - (linear ? 128 : 0);
    const Wrapping wrapping = WrappingOf(sampler, linear);
    const s32 first = wrapping.Reduce(texel >> 8);
    const s32 last = first + static_cast<s32>(right - left) - 1;
    if (wrapping.Reduce((texel >> 8) + static_cast<s32>(right - left) - 1) != last) {
        return false;
    }
    const u64 weight = static_cast<u64>(texel & 0xFF) * kEveryLane;
    const u32 element = static_cast<u32>(first + 1) - left;
    for (u32 x = left; x <= right; ++x) {
        s_columns.element[x] = element + x;
        s_columns.weight[x] = weight;
    }
    // The column completing the last pair may wrap or clamp.
    s_columns.element[right] =
        static_cast<u32>(wrapping.Reduce((texel >> 8) + static_cast<s32>(right - left)) + 1);
    s_triangle.unweighted = (texel & 0xFF) == 0;
    s_triangle.oneToOne = true;
    s_triangle.first = first;
    s_triangle.last = std::min(last + (linear ? 1 : 0), sampler.width);
    s_triangle.inOrder = true;
    return true;
}

// The rasterised colour's weights when it is the same all over the triangle: the four
// channels at once, each as GXColourByte reads it.
template <GXShading kShading>
bool Modulation(const GXTrianglePlanes& t, Lanes& out, bool& modulate) {
    modulate = false;
    if constexpr (kShading == GXShading::Replace) {
        return true;
    } else {
        using Four = f32 __attribute__((vector_size(16)));
        using FourBytes = s32 __attribute__((vector_size(16)));
        Four base, dx, dy;
        std::memcpy(&base, t.base, sizeof base);
        std::memcpy(&dx, t.dx, sizeof dx);
        std::memcpy(&dy, t.dy, sizeof dy);
        const FourBytes steady = dx == 0.0f && dy == 0.0f;
        if (!EveryLane(reinterpret_cast<Words>(steady))) {
            return false;
        }
        const FourBytes bytes = __builtin_convertvector(GXColourChannelToTruncate(base), FourBytes);
        FourBytes weights = bytes + (bytes >> 7);
        if (kShading == GXShading::ModulateTextureAlpha) {
            weights[3] = 256;
        }
        // Lanes run blue, green, red, alpha.
        out = __builtin_convertvector(
            __builtin_shufflevector(weights, weights, 2, 1, 0, 3, 2, 1, 0, 3), Lanes);
        modulate = !EveryLane(reinterpret_cast<Words>(weights == 256));
        return true;
    }
}

} // namespace

void FindColumns(const GXPixelPipeline& p, const GXTrianglePlanes& t, f32 atPixelZero, u32 left,
                 u32 right) {
    const GXTextureSampler& sampler = p.samplers[0];
    const u32 s = static_cast<u32>(p.stages[0].coordAt);
    const bool linear = t.linear[0];
    const GXCoordinateStep u = GXStepCoordinate(atPixelZero, t.dx[s], sampler.width, left);
    if (right > left && StepOneToOne(sampler, linear, u, left, right)) {
        return;
    }
    StepColumns(sampler, linear, u, left, right + 1);
    TexelsRead(sampler, linear, left, right);
}

template <GXShading kShading>
void PrepareTriangle(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 left, u32 right) {
    const u32 s = static_cast<u32>(p.stages[0].coordAt);
    s_triangle.drawable = Modulation<kShading>(t, s_triangle.modulation, s_triangle.modulate);
    s_triangle.turned = t.dx[s + 1] != 0.0f;
    if (!s_triangle.drawable || s_triangle.turned) {
        return;
    }
    s_triangle.steadyRows = t.dy[s] == 0.0f;
    if (s_triangle.steadyRows) {
        FindColumns(p, t, t.base[s] + t.dx[s] * 0.5f, left, right);
    }
}

template void PrepareTriangle<GXShading::Replace>(const GXPixelPipeline&, const GXTrianglePlanes&,
                                                  u32, u32);
template void PrepareTriangle<GXShading::Modulate>(const GXPixelPipeline&, const GXTrianglePlanes&,
                                                   u32, u32);
template void PrepareTriangle<GXShading::ModulateTextureAlpha>(const GXPixelPipeline&,
                                                               const GXTrianglePlanes&, u32, u32);

} // namespace gx_sprite
