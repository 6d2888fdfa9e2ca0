// Turned sprite spans: the texel rows a span reads, found once, and its pixels sampled
// two at a time, filtered as GXSampleTexel filters.
#include "gx/sprite_turned.h"

#include "gx/sprite_triangle.h"
#include "gx/texture_rows.h"

#include <algorithm>

namespace gx_sprite {
namespace {

// A turned sprite's texel rows: those the lines from `first` (unwrapped) on read, each
// found once per span.
class TurnedRows {
public:
    static constexpr s32 kMaxRows = 64;

    // False when the span reads more rows than it keeps.
    bool Start(const GXTextureSampler& sampler, s32 first, s32 last, s32 left, s32 right) {
        if (last - first >= kMaxRows) {
            return false;
        }
        m_first = first;
        for (s32 line = first; line <= last; ++line) {
            m_rows[line - first] = GXTextureRow(
                gx_texture::Wrap(line, sampler.height, sampler.maskT, sampler.wrapT), left, right);
        }
        return true;
    }

    const u32* operator[](s32 line) const { return m_rows[line - m_first]; }

private:
    s32 m_first = 0;
    const u32* m_rows[kMaxRows]; // lines Start found; left unset, as a span reads no others
};

// A turned sprite's texel coordinates in 1/256 texels.
struct TexelPoint {
    s32 u, v;
};

// Two pixels of a turned sprite at points a and b: their texels, or (bilinear) the four
// around each point filtered down the two columns and then across, as GXSampleTexel.
template <bool kLinear>
[[gnu::always_inline]] inline Lanes SampleTurned(const TurnedRows& rows, const Wrapping& wrapping,
                                                 TexelPoint a, TexelPoint b) {
    const auto element = [&](s32 u) { return static_cast<u32>(wrapping.Reduce(u >> 8) + 1); };
    if constexpr (!kLinear) {
        return Widen(u64{rows[a.v >> 8][element(a.u)]} | u64{rows[b.v >> 8][element(b.u)]} << 32);
    } else {
        // A point's two columns, each filtered down: its left texel's lanes, then its right's.
        const auto columns = [&](TexelPoint p) {
            const s32 v = p.v - 128;
            const u32 at = element(p.u - 128);
            const u64 down = static_cast<u64>(v & 0xFF) * kEveryLane;
            return Lerp(Widen(Load(rows[v >> 8] + at)), Widen(Load(rows[(v >> 8) + 1] + at)),
                        reinterpret_cast<Lanes>(Halves{down, down}));
        };
        const Lanes first = columns(a);
        const Lanes second = columns(b);
        const Lanes left = __builtin_shufflevector(first, second, 0, 1, 2, 3, 8, 9, 10, 11);
        const Lanes right = __builtin_shufflevector(first, second, 4, 5, 6, 7, 12, 13, 14, 15);
        const u64 acrossA = static_cast<u64>((a.u - 128) & 0xFF) * kEveryLane;
        const u64 acrossB = static_cast<u64>((b.u - 128) & 0xFF) * kEveryLane;
        return Lerp(left, right, reinterpret_cast<Lanes>(Halves{acrossA, acrossB}));
    }
}

} // namespace

template <bool kLinear, bool kBlend>
bool DrawTurnedPixels(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin,
                      u32 xEnd) {
    const GXTextureSampler& sampler = p.samplers[0];
    const u32 k = static_cast<u32>(p.stages[0].coordAt);
    const f32 py = static_cast<f32>(y) + 0.5f;
    GXCoordinateStep s =
        GXStepCoordinate(t.base[k] + t.dy[k] * py + t.dx[k] * 0.5f, t.dx[k], sampler.width, xBegin);
    GXCoordinateStep tc = GXStepCoordinate(t.base[k + 1] + t.dy[k + 1] * py + t.dx[k + 1] * 0.5f,
                                           t.dx[k + 1], sampler.height, xBegin);
    constexpr s32 centre = kLinear ? 128 : 0;
    const u32 last = xEnd - xBegin - 1;
    const auto texelAt = [](const GXCoordinateStep& c, u32 i) {
        return (GXStepTexel(c.at + c.step * i) - centre) >> 8;
    };
    const s32 top = std::min(texelAt(tc, 0), texelAt(tc, last));
    const s32 bottom = std::max(texelAt(tc, 0), texelAt(tc, last)) + (kLinear ? 1 : 0);
    const Wrapping wrapping = WrappingOf(sampler, kLinear);
    const s32 leftmost = std::min(texelAt(s, 0), texelAt(s, last));
    const s32 rightmost = std::max(texelAt(s, 0), texelAt(s, last));
    s32 left = wrapping.Reduce(leftmost);
    s32 right = wrapping.Reduce(rightmost) + (kLinear ? 1 : 0);
    if (left > wrapping.Reduce(rightmost) || rightmost - leftmost + 1 >= sampler.width) {
        left = -1; // the span wraps round the texture: the whole row
        right = sampler.width;
    }
    TurnedRows rows;
    if (!rows.Start(sampler, top, bottom, left, std::min(right, sampler.width))) {
        return false;
    }
    u32* const pixels = GXEmbeddedFrameBuffer().ColourRow(y);
    const Lanes modulation = s_triangle.modulation;
    const auto point = [&](u32 i) {
        return TexelPoint{GXStepTexel(s.at + s.step * i), GXStepTexel(tc.at + tc.step * i)};
    };
    // Pixels i and j of the span (from its start) as a pair.
    const auto pairAt = [&](u32 i, u32 j) {
        const Lanes colour = SampleTurned<kLinear>(rows, wrapping, point(i), point(j));
        return s_triangle.modulate ? (colour * modulation + 128) >> 8 : colour;
    };
    const u32 count = xEnd - xBegin;
    u32 i = 0;
    for (; i + 4 <= count; i += 4) {
        Write<kBlend>(pairAt(i, i + 1), pairAt(i + 2, i + 3), pixels + xBegin + i);
    }
    if (i < count) {
        const auto at = [&](u32 j) { return std::min(j, count - 1); };
        WriteLast<kBlend>(pairAt(i, at(i + 1)), pairAt(at(i + 2), at(i + 3)), pixels, xBegin + i,
                          count - i);
    }
    return true;
}

template bool DrawTurnedPixels<false, false>(const GXPixelPipeline&, const GXTrianglePlanes&, u32,
                                             u32, u32);
template bool DrawTurnedPixels<false, true>(const GXPixelPipeline&, const GXTrianglePlanes&, u32,
                                            u32, u32);
template bool DrawTurnedPixels<true, false>(const GXPixelPipeline&, const GXTrianglePlanes&, u32,
                                            u32, u32);
template bool DrawTurnedPixels<true, true>(const GXPixelPipeline&, const GXTrianglePlanes&, u32,
                                           u32, u32);

} // namespace gx_sprite
