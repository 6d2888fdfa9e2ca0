// The sprite span loop.
#include "gx/sprite_span.h"

#include "gx/efb.h"
#include "gx/sprite_pixels.h"
#include "gx/texture_rows.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <optional>

namespace {

static_assert(std::endian::native == std::endian::little,
              "pixels are read as bytes: blue, green, red, alpha");

// Two pixels as eight 16-bit lanes: blue, green, red, alpha, then the second pixel.
using Lanes = u16 __attribute__((vector_size(16)));
using Bytes = u8 __attribute__((vector_size(16)));
using Halves = u64 __attribute__((vector_size(16)));
using Words = u32 __attribute__((vector_size(16)));

constexpr u64 kEveryLane = 0x0001000100010001ull;
constexpr u32 kColumns = EmbeddedFrameBuffer::kWidth + 2; // room for a pair's second pixel

// The triangle being drawn, as GXPrepareSpriteTriangle found it.
struct SpriteTriangle {
    bool drawable;    // its spans are the sprite loop's
    bool turned;      // t changes across a line too: its spans step both coordinates
    bool steadyRows;  // every line reads the same columns (s does not change down)
    bool modulate;    // the rasterised colour is not white
    Lanes modulation; // its weights, 256 meaning one
    s32 first, last;  // the texels (-1 to width) its columns read
    bool inOrder;     // and they read them left to right
    bool unweighted;  // every column's bilinear weight is 0: it reads its texel alone
    bool oneToOne;    // and each column reads the texel after its left neighbour's
};

// Per column: the element of a texel row (texel + 1) that the pixel reads first (its
// right-hand neighbour follows), and its bilinear weight in four lanes.
struct Columns {
    u32 element[kColumns];
    u64 weight[kColumns];
};

constinit SpriteTriangle s_triangle{};
constinit Columns s_columns{};
// The bilinear filter's rows for the span being drawn; element i + 1 is texel i.
constinit u32 s_filtered[kGXMaxTextureSize + 6]{};
constinit u64 s_spansDrawn = 0;

using TrianglePreparation = void (*)(const GXPixelPipeline&, const GXTrianglePlanes&, u32, u32);
constinit TrianglePreparation s_prepareTriangle = nullptr; // for the pipeline's shading

u64 Load(const u32* pixels) {
    u64 pair;
    std::memcpy(&pair, pixels, sizeof pair);
    return pair;
}

Lanes Widen(u64 pair) {
    const Bytes bytes = reinterpret_cast<Bytes>(Halves{pair, 0});
    return reinterpret_cast<Lanes>(__builtin_shufflevector(bytes, Bytes{}, 0, 16, 1, 17, 2, 18, 3,
                                                           19, 4, 20, 5, 21, 6, 22, 7, 23));
}

// Lanes holding 0 to 255 back to four pixels, `low`'s first.
Halves Pack(Lanes low, Lanes high) {
#if defined(__SSE2__)
    using Signed = short __attribute__((vector_size(16)));
    return reinterpret_cast<Halves>(
        __builtin_ia32_packuswb128(reinterpret_cast<Signed>(low), reinterpret_cast<Signed>(high)));
#else
    using Eight = u8 __attribute__((vector_size(8)));
    const Eight halves[2] = {__builtin_convertvector(low, Eight),
                             __builtin_convertvector(high, Eight)};
    Halves packed;
    std::memcpy(&packed, halves, sizeof packed);
    return packed;
#endif
}

// a to b by weight / 256, rounded, per lane: gx_texture::Lerp two pixels at a time.
// a * (256 - weight) + b * weight is at most 65280, so computing it as a * 256 plus
// (b - a) * weight, which may wrap on the way, gives it exactly.
Lanes Lerp(Lanes a, Lanes b, Lanes weight) {
    return ((a << 8) + (b - a) * weight + 128) >> 8;
}

// Where the pixel loop finds each column's texel: through the column's element, or, when
// the columns read the row in order one texel apart, at `offset` from the column.
struct TexelsOfColumns {
    const u32* row;
    s32 offset;

    u32 First(u32 x) const { return static_cast<u32>(static_cast<s32>(x) + offset); }
};

// The two pixels of columns x and x + 1.
template <bool kLinear, bool kContiguous>
[[gnu::always_inline]] inline Lanes Sample(const TexelsOfColumns& texels, u32 x) {
    const u32* element = s_columns.element;
    const u32* row = texels.row;
    if constexpr (kContiguous) {
        const u32 first = texels.First(x);
        if constexpr (!kLinear) {
            return Widen(Load(row + first));
        } else {
            Lanes weight;
            std::memcpy(&weight, &s_columns.weight[x], sizeof weight);
            return Lerp(Widen(Load(row + first)), Widen(Load(row + first + 1)), weight);
        }
    } else if constexpr (!kLinear) {
        return Widen(u64{row[element[x]]} | u64{row[element[x + 1]]} << 32);
    } else {
        // Each pixel's texel and its right-hand neighbour; then the two left texels and
        // the two right ones.
        const Words pairs =
            reinterpret_cast<Words>(Halves{Load(row + element[x]), Load(row + element[x + 1])});
        const Bytes sides =
            reinterpret_cast<Bytes>(__builtin_shufflevector(pairs, pairs, 0, 2, 1, 3));
        const Lanes left = reinterpret_cast<Lanes>(__builtin_shufflevector(
            sides, Bytes{}, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23));
        const Lanes right = reinterpret_cast<Lanes>(__builtin_shufflevector(
            sides, Bytes{}, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31));
        Lanes weight;
        std::memcpy(&weight, &s_columns.weight[x], sizeof weight);
        return Lerp(left, right, weight);
    }
}

Words LoadFour(const u32* pixels) {
    Words four;
    std::memcpy(&four, pixels, sizeof four);
    return four;
}

void StoreFour(u32* pixels, Words four) {
    std::memcpy(pixels, &four, sizeof four);
}

// The lanes of pixels 0 and 1, or 2 and 3, of four.
template <u32 kHalf>
Lanes WidenHalf(Words four) {
    return Widen(reinterpret_cast<Halves>(four)[kHalf]);
}

// Whether every lane of a comparison's result is set.
bool EveryLane(Words comparison) {
#if defined(__SSE2__)
    using Chars = char __attribute__((vector_size(16)));
    return __builtin_ia32_pmovmskb128(reinterpret_cast<Chars>(comparison)) == 0xFFFF;
#else
    const Halves halves = reinterpret_cast<Halves>(comparison);
    return (halves[0] & halves[1]) == ~u64{0};
#endif
}

// Source over two pixels by its alpha.
Lanes Blend(Lanes colour, Lanes destination) {
    const Lanes alpha = __builtin_shufflevector(colour, colour, 3, 3, 3, 3, 7, 7, 7, 7);
    return Lerp(destination, colour, alpha + (alpha >> 7));
}

// Four pixels, `first`'s two then `second`'s, written over `pixels`, but for those whose
// lanes `keep` sets. Blended, opaque pixels replace and transparent ones keep what is
// there, exactly as blending them gives, so four that are each one or the other (as the
// texels of text are) cost no arithmetic.
template <bool kBlend>
[[gnu::always_inline]] inline void Write(Lanes first, Lanes second, u32* pixels,
                                         Words keep = Words{}) {
    const Words opaque = Words{} + 0xFF000000u;
    const Words destination = LoadFour(pixels);
    Words source = reinterpret_cast<Words>(Pack(first, second));
    if constexpr (kBlend) {
        const Words alphas = source & opaque;
        const Words replaced = reinterpret_cast<Words>(alphas == opaque);
        if (!EveryLane(replaced)) {
            const Words kept = reinterpret_cast<Words>(alphas == 0);
            source = EveryLane(replaced | kept)
                         ? (source & replaced) | (destination & kept)
                         : reinterpret_cast<Words>(Pack(Blend(first, WidenHalf<0>(destination)),
                                                        Blend(second, WidenHalf<1>(destination))));
        }
    }
    StoreFour(pixels, ((source | opaque) & ~keep) | (destination & keep));
}

// The one to three pixels of line `row` from column x on that end a span: the four from x
// with the others kept as they are, or, at the end of the line, through a copy of four.
template <bool kBlend>
[[gnu::always_inline]] inline void WriteLast(Lanes first, Lanes second, u32* row, u32 x,
                                             u32 count) {
    if (x + 4 <= EmbeddedFrameBuffer::kWidth) {
        const Words lanes = {0, 1, 2, 3};
        Write<kBlend>(first, second, row + x, reinterpret_cast<Words>(lanes >= count));
        return;
    }
    u32 last[4] = {row[x], row[x], row[x], row[x]};
    std::copy(row + x, row + x + count, last);
    Write<kBlend>(first, second, last);
    std::copy(last, last + count, row + x);
}

// Columns [xBegin, xEnd) of line `pixels`, four at a time.
template <bool kLinear, bool kContiguous, bool kModulate, bool kBlend>
void DrawPixels(const TexelsOfColumns& texels, u32* pixels, u32 xBegin, u32 xEnd) {
    const Lanes modulation = s_triangle.modulation;
    const auto sample = [&](u32 x) {
        const Lanes colour = Sample<kLinear, kContiguous>(texels, x);
        if constexpr (kModulate) {
            return (colour * modulation + 128) >> 8;
        } else {
            return colour;
        }
    };
    u32 x = xBegin;
    for (; x + 4 <= xEnd; x += 4) {
        Write<kBlend>(sample(x), sample(x + 2), pixels + x);
    }
    if (x < xEnd) {
        const Lanes first = sample(x);
        WriteLast<kBlend>(first, x + 2 < xEnd ? sample(x + 2) : first, pixels, x, xEnd - x);
    }
}

using PixelLoop = void (*)(const TexelsOfColumns&, u32*, u32, u32);
using PixelLoops = PixelLoop[2][2][2]; // [linear][contiguous][modulate]

template <bool kBlend>
constexpr PixelLoops kPixelLoops = {
    {{DrawPixels<false, false, false, kBlend>, DrawPixels<false, false, true, kBlend>},
     {DrawPixels<false, true, false, kBlend>, DrawPixels<false, true, true, kBlend>}},
    {{DrawPixels<true, false, false, kBlend>, DrawPixels<true, false, true, kBlend>},
     {DrawPixels<true, true, false, kBlend>, DrawPixels<true, true, true, kBlend>}}};

// The loops the primitive's spans draw with, [filtered][modulate], its blend fixed when it
// begins; a wide loop is null where the processor has none.
struct PrimitiveLoops {
    GXSpritePixelLoop wide[2][2];
    const PixelLoops* pixels;
};
constinit PrimitiveLoops s_loops{};

// Texel index x wrapped (or clamped) as the texture's s wraps, one to the left allowed
// when bilinear: its neighbour is then the row's element after it.
struct Wrapping {
    s32 lowest, highest, mask;

    s32 Reduce(s32 x) const { return std::min(std::max(x, lowest), highest) & mask; }
};

Wrapping WrappingOf(const GXTextureSampler& sampler, bool linear) {
    if (sampler.wrapS == GX_CLAMP) {
        return {linear ? -1 : 0, sampler.width - 1, -1};
    }
    return {INT_MIN, INT_MAX, sampler.maskS};
}

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

// Each pixel column's texel and weight from `left` to `right` (and the column after,
// which completes a pair), for the line whose s at pixel 0 is `atPixelZero`, and the
// texels columns left to right (exclusive) read.
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

// Texels first to last of the rows above and below, filtered down by weight / 256.
const u32* FilterDown(const u32* top, const u32* bottom, u32 weight, s32 first, s32 last) {
    const Lanes weights = reinterpret_cast<Lanes>(Halves{weight * kEveryLane, weight * kEveryLane});
    const auto filter = [&](s32 i) {
        return Lerp(Widen(Load(top + i)), Widen(Load(bottom + i)), weights);
    };
    for (s32 i = first + 1; i <= last + 1; i += 4) {
        const Halves filtered = Pack(filter(i), filter(i + 2));
        std::memcpy(s_filtered + i, &filtered, sizeof filtered);
    }
    return s_filtered;
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

// Columns [xBegin, xEnd) of line y of a turned sprite: both coordinates stepped per pixel
// as the per-pixel loop steps them, the texel rows the span reads found first. False,
// having drawn nothing, when the span reads more rows than the loop keeps.
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
    ++s_spansDrawn;
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

// Texels straight onto the line, as the pixel loop would put them when it neither
// filters, modulates nor blends and reads one texel after another.
void CopyPixels(const TexelsOfColumns& texels, u32* pixels, u32 xBegin, u32 xEnd) {
    const u32* const from = texels.row + texels.First(xBegin);
    for (u32 x = xBegin; x < xEnd; ++x) {
        pixels[x] = from[x - xBegin] | 0xFF000000u;
    }
}

// Columns [xBegin, xEnd) of the lines of an unturned sprite triangle whose columns are
// stepped: what the lines share found once, each line's texels when it reads others
// than the line before. A rectangle's lines whose columns read one texel after another
// are drawn eight or sixteen pixels at a time where the processor can, the rest four at
// a time; or, when they copy texels from inside the image, straight from the image.
class SpriteLines {
public:
    SpriteLines(const GXPixelPipeline& p, const GXTrianglePlanes& t, bool blend, bool rectangle,
                u32 xBegin, u32 xEnd)
        : m_sampler(p.samplers[0]), m_coordinate(static_cast<u32>(p.stages[0].coordAt) + 1),
          m_linear(t.linear[0]), m_xBegin(xBegin), m_xEnd(xEnd) {
        // The texels these columns read: their ends' when in order, else the triangle's.
        m_first = s_triangle.first;
        m_last = s_triangle.last;
        if (s_triangle.inOrder) {
            m_first = static_cast<s32>(s_columns.element[xBegin]) - 1;
            m_last = std::min(static_cast<s32>(s_columns.element[xEnd - 1]) - (m_linear ? 0 : 1),
                              m_sampler.width);
        }
        m_offset = static_cast<s32>(s_columns.element[xBegin]) - static_cast<s32>(xBegin);
        const bool filtered = m_linear && !s_triangle.unweighted;
        if (!blend && !s_triangle.modulate && !filtered && s_triangle.oneToOne) {
            m_loop = CopyPixels;
            const s32 first = static_cast<s32>(s_columns.element[xBegin]) - 1;
            m_straight = rectangle && first >= 0 &&
                         first + static_cast<s32>(xEnd - xBegin) <= m_sampler.width;
        } else {
            m_loop = (*s_loops.pixels)[filtered][s_triangle.oneToOne][s_triangle.modulate];
            if (rectangle && s_triangle.oneToOne) {
                m_wideLoop = s_loops.wide[filtered][s_triangle.modulate];
            }
        }
        m_pixels = {nullptr, s_columns.weight, m_offset,
                    reinterpret_cast<Halves>(s_triangle.modulation)[0]};
    }

    // Lines [yBegin, yEnd): their texel coordinates a batch at a time, in closed form where
    // that is exact, else four at once; then each line, or the texel rows of a batch whose
    // lines each read one row found at once.
    void Draw(const GXTrianglePlanes& t, u32 yBegin, u32 yEnd) {
        constexpr u32 kBatch = 32;
        static_assert(kBatch % 4 == 0, "LineCoordinates fills four lines at a time");
        const std::optional<GXLineTexels> lines = ExactLines(t, yBegin, yEnd);
        s32 v[kBatch];
        for (u32 y = yBegin; y < yEnd; y += kBatch) {
            const u32 count = std::min(kBatch, yEnd - y);
            if (lines) {
                SteppedLineCoordinates(*lines, y - yBegin, count, v);
            } else {
                LineCoordinates(t, y, count, v);
            }
            if (!ReadWholeRows(v, count)) {
                for (u32 i = 0; i < count; ++i) {
                    DrawLine(y + i, v[i]);
                }
                continue;
            }
            s32 indices[kBatch];
            const u32* rows[kBatch];
            for (u32 i = 0; i < count; ++i) {
                indices[i] = RowIndex(v[i] >> 8);
            }
            GXTextureRows(indices, count, m_first, m_last, rows);
            DrawTexels(y, rows, count);
        }
    }

private:
    // t changes only down the lines (the triangle is not turned): lines y to y + count,
    // rounded up to four, at once.
    void LineCoordinates(const GXTrianglePlanes& t, u32 y, u32 count, s32* v) const {
        const u32 k = m_coordinate;
        const s32 centre = m_linear ? 128 : 0;
        for (u32 i = 0; i < count; i += 4) {
            const GXFourTexels lines = GXFourTexels{0, 1, 2, 3} + static_cast<s32>(y + i);
            const GXFourCoordinates py = __builtin_convertvector(lines, GXFourCoordinates) + 0.5f;
            const GXFourTexels texels =
                GXSteadyTexels(t.base[k] + t.dy[k] * py + t.dx[k] * 0.5f, m_sampler.height) -
                centre;
            std::memcpy(v + i, &texels, sizeof texels);
        }
    }

    // The closed form of lines [yBegin, yEnd)'s texel coordinates, when exact and worth
    // finding: more lines than four calls of GXSteadyTexels take, which cost about what
    // the test of exactness costs.
    std::optional<GXLineTexels> ExactLines(const GXTrianglePlanes& t, u32 yBegin, u32 yEnd) const {
        const u32 k = m_coordinate;
        if (yEnd - yBegin <= 16) {
            return std::nullopt;
        }
        return GXExactLineTexels(t.base[k], t.dy[k], t.dx[k], m_sampler.height, yBegin, yEnd - 1);
    }

    // Lines `from` to from + count - 1 (counted from the first) of the closed form, rounded
    // up to four, four at once.
    void SteppedLineCoordinates(GXLineTexels lines, u32 from, u32 count, s32* v) const {
        const s32 first = lines.first + lines.step * static_cast<s32>(from) - (m_linear ? 128 : 0);
        GXFourTexels four = first + GXFourTexels{0, 1, 2, 3} * lines.step;
        for (u32 i = 0; i < count; i += 4, four += 4 * lines.step) {
            std::memcpy(v + i, &four, sizeof four);
        }
    }

    // Line y, at texel coordinate v.
    void DrawLine(u32 y, s32 v) {
        const bool betweenRows = m_linear && (v & 0xFF) != 0; // filtered down
        if (m_straight && !betweenRows) {
            ++s_spansDrawn;
            CopyTexels(RowIndex(v >> 8), m_efb.ColourRow(y));
            return;
        }
        // Nearest reads whole texel rows; bilinear filters by the fraction too.
        const s32 texelsKey = m_linear ? v : v >> 8;
        if (m_texels == nullptr || texelsKey != m_texelsKey) {
            m_texels = TexelsAt(v);
            m_texelsKey = texelsKey;
        }
        DrawTexels(y, &m_texels, 1);
    }

    // Whether lines at texel coordinates v[0] to v[count - 1] each read one texel row as
    // it is, not copied straight from the image.
    bool ReadWholeRows(const s32* v, u32 count) const {
        if (m_straight) {
            return false;
        }
        s32 fractions = 0;
        for (u32 i = 0; i < count; ++i) {
            fractions |= v[i] & 0xFF;
        }
        return !m_linear || fractions == 0;
    }

    // Lines y to y + count - 1 from texel rows rows[0] on, element i + 1 texel i: the wide
    // loop's columns on all the lines in one call, then what it leaves line by line.
    void DrawTexels(u32 y, const u32* const* rows, u32 count) {
        s_spansDrawn += count;
        u32* const first = m_efb.ColourRow(y);
        constexpr u32 kStride = EmbeddedFrameBuffer::kWidth;
        u32 x = m_xBegin;
        if (m_wideLoop != nullptr) {
            m_pixels.rows = rows;
            x = m_wideLoop(m_pixels, GXSpriteLines{first, count, kStride}, x, m_xEnd);
        }
        if (x < m_xEnd) {
            for (u32 i = 0; i < count; ++i) {
                m_loop(TexelsOfColumns{rows[i], m_offset}, first + i * kStride, x, m_xEnd);
            }
        }
    }

    s32 RowIndex(s32 line) const {
        return gx_texture::Wrap(line, m_sampler.height, m_sampler.maskT, m_sampler.wrapT);
    }

    const u32* RowAt(s32 line) const { return GXTextureRow(RowIndex(line), m_first, m_last); }

    // The texels of texture row `row` straight from the image onto the line, as CopyPixels
    // puts them.
    void CopyTexels(s32 row, u32* line) const {
        u32* const pixels = line + m_xBegin;
        const u32 count = m_xEnd - m_xBegin;
        const s32 first = static_cast<s32>(m_xBegin) + m_offset - 1;
        GXDecodeTexels(row, first, first + static_cast<s32>(count) - 1, pixels);
        for (u32 x = 0; x < count; ++x) {
            pixels[x] |= 0xFF000000u;
        }
    }

    // The texels at v (1/256 texels, less half a texel when bilinear), filtered down.
    const u32* TexelsAt(s32 v) const {
        const u32* texels = RowAt(v >> 8);
        const u32 fraction = static_cast<u32>(v & 0xFF);
        if (m_linear && fraction != 0) {
            texels = FilterDown(texels, RowAt((v >> 8) + 1), fraction, m_first, m_last);
        }
        return texels;
    }

    EmbeddedFrameBuffer& m_efb = GXEmbeddedFrameBuffer();
    const GXTextureSampler& m_sampler;
    u32 m_coordinate; // interpolant of t
    bool m_linear;
    u32 m_xBegin, m_xEnd;
    s32 m_first = 0, m_last = 0;
    s32 m_offset = 0;
    PixelLoop m_loop = nullptr;
    bool m_straight = false; // a rectangle's line copied whole from the image: texels read once
    GXSpritePixelLoop m_wideLoop = nullptr; // eight or sixteen pixels at a time, then m_loop
    GXSpritePixels m_pixels;                // what m_wideLoop reads, but for the rows
    const u32* m_texels = nullptr;
    s32 m_texelsKey = 0;
};

template <bool kBlend>
void DrawSpriteSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin,
                    u32 xEnd) {
    const bool linear = t.linear[0];
    if (s_triangle.drawable && s_triangle.turned) {
        const bool drawn = linear ? DrawTurnedPixels<true, kBlend>(p, t, y, xBegin, xEnd)
                                  : DrawTurnedPixels<false, kBlend>(p, t, y, xBegin, xEnd);
        if (drawn) {
            return;
        }
    }
    if (!s_triangle.drawable || s_triangle.turned) {
        p.perPixelSpan(p, t, y, xBegin, xEnd);
        return;
    }
    if (!s_triangle.steadyRows) {
        const u32 s = static_cast<u32>(p.stages[0].coordAt);
        const f32 py = static_cast<f32>(y) + 0.5f;
        FindColumns(p, t, t.base[s] + t.dy[s] * py + t.dx[s] * 0.5f, xBegin, xEnd);
    }
    SpriteLines(p, t, kBlend, false, xBegin, xEnd).Draw(t, y, y + 1);
}

template <GXShading kShading>
GXSpanFunction Prepared(bool blend) {
    s_prepareTriangle = PrepareTriangle<kShading>;
    for (const bool filtered : {false, true}) {
        for (const bool modulate : {false, true}) {
            s_loops.wide[filtered][modulate] = GXWideSpritePixelLoop(filtered, modulate, blend);
        }
    }
    s_loops.pixels = blend ? &kPixelLoops<true> : &kPixelLoops<false>;
    return blend ? DrawSpriteSpan<true> : DrawSpriteSpan<false>;
}

} // namespace

GXSpanFunction GXPrepareSpriteSpan(const GXPixelPipeline& p, GXShading shading) {
    const GXTextureSampler& sampler = p.samplers[0];
    const bool textured = shading == GXShading::Replace || shading == GXShading::Modulate ||
                          shading == GXShading::ModulateTextureAlpha;
    const bool wraps =
        sampler.wrapS == GX_CLAMP || (sampler.wrapS == GX_REPEAT && sampler.maskS >= 0);
    const GXPixelOps& ops = p.ops;
    const bool blend = ops.blendMode != GX_BM_NONE;
    const bool plain = !ops.zCompare && p.alphaAlways && ops.colourUpdate &&
                       (!blend || p.sourceAlphaBlend) &&
                       GXEmbeddedFrameBuffer().PixelFormat() == GX_PF_RGB8_Z24;
    if (!textured || sampler.image == nullptr || !wraps || !plain) {
        return nullptr;
    }
    GXStartTextureRows(sampler);
    switch (shading) {
    case GXShading::Replace:
        return Prepared<GXShading::Replace>(blend);
    case GXShading::Modulate:
        return Prepared<GXShading::Modulate>(blend);
    default:
        return Prepared<GXShading::ModulateTextureAlpha>(blend);
    }
}

void GXPrepareSpriteTriangle(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 left,
                             u32 right) {
    s_prepareTriangle(p, t, left, right);
}

void GXDrawSpriteRectangle(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 yBegin,
                           u32 yEnd, u32 xBegin, u32 xEnd) {
    if (!s_triangle.drawable || s_triangle.turned || !s_triangle.steadyRows) {
        GXDrawRectangleBySpans(p, t, yBegin, yEnd, xBegin, xEnd);
        return;
    }
    SpriteLines(p, t, p.ops.blendMode != GX_BM_NONE, true, xBegin, xEnd).Draw(t, yBegin, yEnd);
}

u64 GXSpriteSpanCountForTest() {
    return s_spansDrawn;
}
