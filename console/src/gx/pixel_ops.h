// Pixel operations after the texture environment: alpha compare, the depth test and
// update on the 24-bit (or 16-bit) depth buffer, blending (none, blend with factors,
// subtract, logic operations), and the colour and alpha update masks. Holds the state
// the setters program and the per-pixel arithmetic. Main thread only.
#pragma once

#include <console/gx.h>

struct GXPixelOps {
    GXCompare alphaCompare[2];
    u8 alphaReference[2];
    GXAlphaOp alphaOp;
    bool zCompare;
    GXCompare zFunction;
    bool zUpdate;
    GXBlendMode blendMode;
    GXBlendFactor sourceFactor, destinationFactor;
    GXLogicOp logicOp;
    bool colourUpdate, alphaUpdate;
};

// GXInit's state: alpha compare always passes, depth test LEQUAL with update, no
// blending, colour and alpha updated.
void GXResetPixelOps();
const GXPixelOps& GXCurrentPixelOps();

inline bool GXCompareValues(GXCompare function, u32 value, u32 reference) {
    switch (function) {
    case GX_NEVER:
        return false;
    case GX_LESS:
        return value < reference;
    case GX_EQUAL:
        return value == reference;
    case GX_LEQUAL:
        return value <= reference;
    case GX_GREATER:
        return value > reference;
    case GX_NEQUAL:
        return value != reference;
    case GX_GEQUAL:
        return value >= reference;
    default:
        return true;
    }
}

bool GXAlphaCompareAlwaysPasses(const GXPixelOps& ops);

inline bool GXAlphaPasses(const GXPixelOps& ops, u32 alpha) {
    const bool first = GXCompareValues(ops.alphaCompare[0], alpha, ops.alphaReference[0]);
    const bool second = GXCompareValues(ops.alphaCompare[1], alpha, ops.alphaReference[1]);
    switch (ops.alphaOp) {
    case GX_AOP_AND:
        return first && second;
    case GX_AOP_OR:
        return first || second;
    case GX_AOP_XOR:
        return first != second;
    default:
        return first == second;
    }
}

// An 8-bit factor widened so that 255 means one.
inline u32 GXBlendWeight(u32 factor) {
    return factor + (factor >> 7);
}

// Source over destination by source alpha, the usual blend, per channel (alpha too),
// two channels to a 32-bit lane pair: the weights add up to 256, so no lane overflows.
inline u32 GXBlendSourceAlpha(u32 source, u32 destination) {
    const u32 alpha = source >> 24;
    const u32 sourceWeight = GXBlendWeight(alpha);
    const u32 destinationWeight = GXBlendWeight(255 - alpha);
    const u32 redBlue = (((source & 0x00FF00FF) * sourceWeight +
                          (destination & 0x00FF00FF) * destinationWeight + 0x00800080) >>
                         8) &
                        0x00FF00FF;
    const u32 alphaGreen = (((source >> 8) & 0x00FF00FF) * sourceWeight +
                            ((destination >> 8) & 0x00FF00FF) * destinationWeight + 0x00800080) &
                           0xFF00FF00;
    return redBlue | alphaGreen;
}

// Any blend mode; colours are 0xAARRGGBB.
u32 GXBlendPixel(const GXPixelOps& ops, u32 source, u32 destination);
