// The texture environment: up to 16 stages, each combining its texture, rasterised
// colour and registers as d + lerp(a, b, c) with bias, scale and clamp, per colour and
// per alpha. Holds the stages the setters program and the arithmetic the pixel
// pipeline runs; the colour registers hold 0 and the constant input reads as 255.
// Main thread only.
#pragma once

#include <console/gx.h>

struct GXTevStage {
    GXTevColorArg colourIn[4];
    GXTevAlphaArg alphaIn[4];
    GXTevOp colourOp, alphaOp;
    GXTevBias colourBias, alphaBias;
    GXTevScale colourScale, alphaScale;
    bool colourClamp, alphaClamp;
    GXTevRegID colourOut, alphaOut;
    GXTexCoordID coordinate;
    u32 map; // GXTexMapID; no texture when it is not a map
    GXChannelID channel;
};

struct GXTevState {
    u32 stageCount;
    GXTevStage stages[GX_MAX_TEVSTAGE];
};

// GXInit's state: one stage; stage 0 replaces with its texture, the others pass the
// previous colour; stage n reads coordinate n and map n (none beyond 7) with colour 0.
void GXResetTev();
const GXTevState& GXCurrentTev();

bool GXTevReadsTexture(const GXTevStage& stage);

// d + lerp(a, b, c), or d minus it, with bias and scale; a, b and c are read as 8 bits,
// c widened so that 255 means one. Clamped to 0..255, or else to the registers'
// signed 11-bit range.
inline s32 GXTevCombine(s32 a, s32 b, s32 c, s32 d, GXTevOp op, GXTevBias bias, GXTevScale scale,
                        bool clamp) {
    a &= 0xFF;
    b &= 0xFF;
    c &= 0xFF;
    const s32 weight = c + (c >> 7);
    s32 lerp = a * (256 - weight) + b * weight; // 8 fraction bits
    if (op == GX_TEV_SUB) {
        lerp = -lerp;
    }
    static constexpr s32 kBias[] = {0, 128, -128, 0};
    s32 value = (d + kBias[bias]) * 256 + lerp;
    switch (scale) {
    case GX_CS_SCALE_2:
        value *= 2;
        break;
    case GX_CS_SCALE_4:
        value *= 4;
        break;
    case GX_CS_DIVIDE_2:
        value /= 2;
        break;
    default:
        break;
    }
    value = (value + 128) >> 8;
    const s32 low = clamp ? 0 : -1024;
    const s32 high = clamp ? 255 : 1023;
    return value < low ? low : (value > high ? high : value);
}
