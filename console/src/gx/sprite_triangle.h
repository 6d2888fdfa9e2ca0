// The sprite loop's set-up of the triangle being drawn: whether its spans are the loop's,
// the rasterised colour's weights, and for each pixel column the texel and bilinear
// weight it reads, with the texels the columns read. GXPrepareSpriteTriangle fills it
// once per triangle (and the spans line by line when their lines read different
// columns); the loop's spans read it. Main thread only.
#pragma once

#include "gx/efb.h"
#include "gx/pixel_pipeline.h"
#include "gx/sprite_pair_lanes.h"

#include <algorithm>
#include <climits>

namespace gx_sprite {

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

extern SpriteTriangle s_triangle;
extern Columns s_columns;

// Texel index x wrapped (or clamped) as the texture's s wraps, one to the left allowed
// when bilinear: its neighbour is then the row's element after it.
struct Wrapping {
    s32 lowest, highest, mask;

    s32 Reduce(s32 x) const { return std::min(std::max(x, lowest), highest) & mask; }
};

inline Wrapping WrappingOf(const GXTextureSampler& sampler, bool linear) {
    if (sampler.wrapS == GX_CLAMP) {
        return {linear ? -1 : 0, sampler.width - 1, -1};
    }
    return {INT_MIN, INT_MAX, sampler.maskS};
}

// Each pixel column's texel and weight from `left` to `right` (and the column after,
// which completes a pair), for the line whose s at pixel 0 is `atPixelZero`, and the
// texels columns left to right (exclusive) read.
void FindColumns(const GXPixelPipeline& p, const GXTrianglePlanes& t, f32 atPixelZero, u32 left,
                 u32 right);

// Readies the triangle for the pipeline's shading: whether the loop can draw it, whether
// it is turned, and, when every line reads the same columns, those columns.
template <GXShading kShading>
void PrepareTriangle(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 left, u32 right);

} // namespace gx_sprite
