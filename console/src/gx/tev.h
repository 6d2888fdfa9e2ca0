// The texture environment: up to 16 stages, each combining its texture, rasterised
// colour, konst and registers as d + lerp(a, b, c) with bias, scale and clamp, per
// colour and per alpha, in the console's signed 11-bit arithmetic. Holds what the
// setters program (stages, register start values, konst colours, swap tables) and the
// arithmetic the pixel pipeline runs. Bad arguments are reported and ignored. Main
// thread only.
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
    GXTevKColorSel konstColour;
    GXTevKAlphaSel konstAlpha;
    GXTevSwapSel rasterisedSwap, textureSwap;
};

constexpr s32 kGXTevMin = -1024;
constexpr s32 kGXTevMax = 1023;

struct GXTevState {
    u32 stageCount;
    GXTevStage stages[GX_MAX_TEVSTAGE];
    s16 registers[4][4]; // start values of previous, 0, 1, 2: red, green, blue, alpha
    GXColor konst[GX_MAX_KCOLOR];
    u8 swapTables[GX_MAX_TEVSWAP][4]; // source channel of red, green, blue, alpha
};

// GXInit's state: one stage; stage 0 replaces with its texture, the others pass the
// previous colour; stage n reads coordinate n and map n (none beyond 7) with colour 0;
// registers and konst colours 0; konst selections, swap modes and tables as gx.h says.
void GXResetTev();
const GXTevState& GXCurrentTev();

bool GXTevReadsTexture(const GXTevStage& stage);

// The stage's konst input, red, green, blue, alpha.
void GXTevKonst(const GXTevState& tev, const GXTevStage& stage, s32 out[4]);

// d + lerp(a, b, c), or d minus it, with bias and scale, as gx.h describes.
inline s32 GXTevCombine(s32 a, s32 b, s32 c, s32 d, GXTevOp op, GXTevBias bias, GXTevScale scale,
                        bool clamp) {
    a &= 0xFF;
    b &= 0xFF;
    c &= 0xFF;
    const s32 weight = c + (c >> 7);
    static constexpr s32 kBias[] = {0, 128, -128, 0};
    static constexpr s32 kShift[] = {0, 1, 2, 0};
    const s32 shift = kShift[scale];
    const s32 lerp = ((a * (256 - weight) + b * weight) * (1 << shift) + 128) >> 8;
    s32 value = (d + kBias[bias]) * (1 << shift) + (op == GX_TEV_SUB ? -lerp : lerp);
    if (scale == GX_CS_DIVIDE_2) {
        value >>= 1;
    }
    const s32 low = clamp ? 0 : kGXTevMin;
    const s32 high = clamp ? 255 : kGXTevMax;
    return value < low ? low : (value > high ? high : value);
}
