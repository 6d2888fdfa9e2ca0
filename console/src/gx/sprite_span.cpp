// The sprite span loop: its stepped spans and rectangles (the pixel loops four columns at
// a time, the lines that share texel rows) and its choice per primitive; the triangle
// set-up and the turned spans are beside it.
#include "gx/sprite_span.h"

#include "gx/efb.h"
#include "gx/sprite_pair_lanes.h"
#include "gx/sprite_pixels.h"
#include "gx/sprite_triangle.h"
#include "gx/sprite_turned.h"
#include "gx/texture_rows.h"

#include <algorithm>
#include <cstring>
#include <optional>

using namespace gx_sprite;

namespace {

// The bilinear filter's rows for the span being drawn; element i + 1 is texel i.
constinit u32 s_filtered[kGXMaxTextureSize + 6]{};
constinit u64 s_spansDrawn = 0;

using TrianglePreparation = void (*)(const GXPixelPipeline&, const GXTrianglePlanes&, u32, u32);
constinit TrianglePreparation s_prepareTriangle = nullptr; // for the pipeline's shading

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
            ++s_spansDrawn;
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
