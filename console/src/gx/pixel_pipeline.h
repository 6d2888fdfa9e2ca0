// The compiled pixel pipeline as every span loop reads it: the triangle's planes, the
// stages with their input slots, the samplers and pixel operations, and the span and
// rectangle functions GXPreparePixelPipeline chose, with the two steps that any loop may
// take (a sampling stage's coordinates along a line, a rectangle drawn span by span).
// The pipeline is filled at GXBegin and read-only while its primitive draws. Main thread
// only.
#pragma once

#include "gx/pixel_ops.h"
#include "gx/tev.h"
#include "gx/texture.h"
#include "gx/vertex_types.h"

constexpr u32 kGXMaxInterpolants = kGXAttributeSlots;

// A triangle's values over the screen: value (times 1/w when perspective) at pixel
// centre (px, py) is base + dx * px + dy * py; depth in 24-bit units likewise.
struct GXTrianglePlanes {
    f32 base[kGXMaxInterpolants];
    f32 dx[kGXMaxInterpolants];
    f32 dy[kGXMaxInterpolants];
    f32 inverseWBase, inverseWDx, inverseWDy;
    f64 depthBase, depthDx, depthDy;
    bool linear[GX_MAX_TEVSTAGE]; // per texturing stage: bilinear, else nearest
};

// How a pipeline shades: the single-stage environments that have loops of their own,
// or the general one.
enum class GXShading { PassColour, Replace, Modulate, ModulateTextureAlpha, General };

// A rasterised colour channel (0 to 255 as interpolated) limited to 0 to 255 and
// rounded up by a half, ready to truncate: one value, or lanes of them.
template <typename T>
T GXColourChannelToTruncate(T value) {
    value = value > 0.0f ? value : 0.0f; // also catches NaN
    value = value < 255.0f ? value : 255.0f;
    return value + 0.5f;
}

// A rasterised colour channel as the environment reads it.
inline s32 GXColourByte(f32 value) {
    return static_cast<s32>(GXColourChannelToTruncate(value));
}

struct GXPixelPipeline;
// Draws pixels [xBegin, xEnd) of line y, all inside the scissor.
using GXSpanFunction = void (*)(const GXPixelPipeline& pipeline, const GXTrianglePlanes& planes,
                                u32 y, u32 xBegin, u32 xEnd);
// Draws pixels [xBegin, xEnd) of lines [yBegin, yEnd), all inside the scissor: the spans
// of an affine screen-aligned rectangle, each line the same.
using GXRectangleFunction = void (*)(const GXPixelPipeline& pipeline,
                                     const GXTrianglePlanes& planes, u32 yBegin, u32 yEnd,
                                     u32 xBegin, u32 xEnd);

// Where the general texture environment finds a stage's inputs, per pixel: one array
// of values that the stage's selections index.
enum GXTevSlot : u8 {
    kGXSlotRegisters = 0, // previous, 0, 1, 2: red, green, blue, alpha each
    kGXSlotTexel = 16,
    kGXSlotRasterised = 20,
    kGXSlotKonst = 24,
    kGXSlotZero = 28,
    kGXSlotOne = 29,
    kGXSlotHalf = 30,
    kGXSlotCount = 31,
};

struct GXPipelineStage {
    GXTevStage tev;
    s32 colourAt;         // first of the four interpolants of its rasterised colour; -1: black
    s32 coordAt;          // first of the two interpolants of its texture coordinate; -1: (0, 0)
    s32 samplerAt;        // its texture's sampler; -1 when it reads no texture
    u8 colourSlots[3][4]; // per colour channel, the slots of inputs a, b, c, d
    u8 alphaSlots[4];
    u8 textureSwap[4];    // channel of the texel read as red, green, blue, alpha
    u8 rasterisedSwap[4]; // likewise for the rasterised colour
    s32 konst[4];
    u32 slotsRead; // bit per GXTevSlot its inputs read
};

struct GXPixelPipeline {
    u32 gather[kGXMaxInterpolants]; // the attribute slot behind each interpolant
    u32 interpolantCount;
    u32 stageCount;
    GXPipelineStage stages[GX_MAX_TEVSTAGE];
    GXTextureSampler samplers[GX_MAX_TEVSTAGE];
    s32 registers[16]; // every pixel's starting registers, as the slots hold them
    GXPixelOps ops;
    bool alphaAlways;
    bool sourceAlphaBlend;         // blending is the usual source-alpha one
    u32 writeMask;                 // bits of 0xAARRGGBB the update masks let through
    GXSpanFunction span[2];        // [perspective]
    GXRectangleFunction rectangle; // affine screen-aligned rectangles
    bool spriteLoop;               // span[0] is the sprite loop
    GXSpanFunction perPixelSpan;   // what the sprite loop hands spans on to
};

// A sampling stage's texture coordinates along line y, from pixel x on (row holds the
// interpolants at x = 0 of the line): what every affine span loop steps; (0, 0) when
// the stage samples nothing.
inline void GXStartStageCoordinates(const GXPixelPipeline& p, const GXTrianglePlanes& t,
                                    u32 stageIndex, const f32* row, u32 x, GXCoordinateStep& s,
                                    GXCoordinateStep& tc) {
    const GXPipelineStage& stage = p.stages[stageIndex];
    s = tc = {0, 0};
    if (stage.samplerAt >= 0 && stage.coordAt >= 0) {
        const GXTextureSampler& sampler = p.samplers[stage.samplerAt];
        const u32 k = static_cast<u32>(stage.coordAt);
        s = GXStepCoordinate(row[k] + t.dx[k] * 0.5f, t.dx[k], sampler.width, x);
        tc = GXStepCoordinate(row[k + 1] + t.dx[k + 1] * 0.5f, t.dx[k + 1], sampler.height, x);
    }
}

// A rectangle drawn as its lines, one span at a time.
inline void GXDrawRectangleBySpans(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 yBegin,
                                   u32 yEnd, u32 xBegin, u32 xEnd) {
    for (u32 y = yBegin; y < yEnd; ++y) {
        p.span[0](p, t, y, xBegin, xEnd);
    }
}
