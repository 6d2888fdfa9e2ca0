// Alpha compare, depth mode, blend mode and update masks.
#include "gx/pixel_ops.h"

#include <console/os.h>

namespace {

constinit GXPixelOps s_ops{};

// Factor per channel for a source (asSource) or destination factor.
u32 Factor(GXBlendFactor factor, bool asSource, u32 source, u32 destination, u32 shift) {
    const u32 other = asSource ? destination : source; // the colour factors name the other side
    switch (factor) {
    case GX_BL_ZERO:
        return 0;
    case GX_BL_ONE:
        return 255;
    case GX_BL_SRCCLR:
        return (other >> shift) & 0xFF;
    case GX_BL_INVSRCCLR:
        return 255 - ((other >> shift) & 0xFF);
    case GX_BL_SRCALPHA:
        return source >> 24;
    case GX_BL_INVSRCALPHA:
        return 255 - (source >> 24);
    case GX_BL_DSTALPHA:
        return destination >> 24;
    default: // GX_BL_INVDSTALPHA
        return 255 - (destination >> 24);
    }
}

u32 Blend(const GXPixelOps& ops, u32 source, u32 destination) {
    u32 result = 0;
    for (u32 shift = 0; shift < 32; shift += 8) {
        const u32 s = GXBlendWeight(Factor(ops.sourceFactor, true, source, destination, shift));
        const u32 d =
            GXBlendWeight(Factor(ops.destinationFactor, false, source, destination, shift));
        const u32 value =
            (((source >> shift) & 0xFF) * s + ((destination >> shift) & 0xFF) * d + 128) >> 8;
        result |= (value > 255 ? 255 : value) << shift;
    }
    return result;
}

u32 Subtract(u32 source, u32 destination) {
    u32 result = 0;
    for (u32 shift = 0; shift < 32; shift += 8) {
        const u32 s = (source >> shift) & 0xFF;
        const u32 d = (destination >> shift) & 0xFF;
        result |= (d > s ? d - s : 0) << shift;
    }
    return result;
}

u32 Logic(GXLogicOp op, u32 s, u32 d) {
    switch (op) {
    case GX_LO_CLEAR:
        return 0;
    case GX_LO_AND:
        return s & d;
    case GX_LO_REVAND:
        return s & ~d;
    case GX_LO_COPY:
        return s;
    case GX_LO_INVAND:
        return ~s & d;
    case GX_LO_NOOP:
        return d;
    case GX_LO_XOR:
        return s ^ d;
    case GX_LO_OR:
        return s | d;
    case GX_LO_NOR:
        return ~(s | d);
    case GX_LO_EQUIV:
        return ~(s ^ d);
    case GX_LO_INV:
        return ~d;
    case GX_LO_REVOR:
        return s | ~d;
    case GX_LO_INVCOPY:
        return ~s;
    case GX_LO_INVOR:
        return ~s | d;
    case GX_LO_NAND:
        return ~(s & d);
    default: // GX_LO_SET
        return ~0u;
    }
}

} // namespace

void GXResetPixelOps() {
    s_ops = GXPixelOps{};
    GXSetAlphaCompare(GX_ALWAYS, 0, GX_AOP_AND, GX_ALWAYS, 0);
    GXSetZMode(GX_TRUE, GX_LEQUAL, GX_TRUE);
    GXSetBlendMode(GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO, GX_LO_CLEAR);
    GXSetColorUpdate(GX_TRUE);
    GXSetAlphaUpdate(GX_TRUE);
}

const GXPixelOps& GXCurrentPixelOps() {
    return s_ops;
}

bool GXAlphaCompareAlwaysPasses(const GXPixelOps& ops) {
    const bool first = ops.alphaCompare[0] == GX_ALWAYS;
    const bool second = ops.alphaCompare[1] == GX_ALWAYS;
    return (ops.alphaOp == GX_AOP_OR && (first || second)) ||
           (ops.alphaOp == GX_AOP_AND && first && second) ||
           (ops.alphaOp == GX_AOP_XNOR && first && second);
}

u32 GXBlendPixel(const GXPixelOps& ops, u32 source, u32 destination) {
    switch (ops.blendMode) {
    case GX_BM_BLEND:
        return Blend(ops, source, destination);
    case GX_BM_SUBTRACT:
        return Subtract(source, destination);
    case GX_BM_LOGIC:
        return Logic(ops.logicOp, source, destination);
    default:
        return source;
    }
}

void GXSetAlphaCompare(GXCompare comp0, u8 ref0, GXAlphaOp op, GXCompare comp1, u8 ref1) {
    if (comp0 > GX_ALWAYS || comp1 > GX_ALWAYS || op > GX_AOP_XNOR) {
        OSReport("GXSetAlphaCompare: %u %u %u not supported; ignored\n", comp0, op, comp1);
        return;
    }
    s_ops.alphaCompare[0] = comp0;
    s_ops.alphaCompare[1] = comp1;
    s_ops.alphaReference[0] = ref0;
    s_ops.alphaReference[1] = ref1;
    s_ops.alphaOp = op;
}

void GXSetZMode(GXBool compareEnable, GXCompare function, GXBool updateEnable) {
    if (function > GX_ALWAYS) {
        OSReport("GXSetZMode: unknown function %u; ignored\n", function);
        return;
    }
    s_ops.zCompare = compareEnable != GX_FALSE;
    s_ops.zFunction = function;
    s_ops.zUpdate = updateEnable != GX_FALSE;
}

void GXSetBlendMode(GXBlendMode mode, GXBlendFactor srcFactor, GXBlendFactor dstFactor,
                    GXLogicOp logicOp) {
    if (mode > GX_BM_SUBTRACT || srcFactor > GX_BL_INVDSTALPHA || dstFactor > GX_BL_INVDSTALPHA ||
        logicOp > GX_LO_SET) {
        OSReport("GXSetBlendMode: %u (%u, %u, %u) not supported; ignored\n", mode, srcFactor,
                 dstFactor, logicOp);
        return;
    }
    s_ops.blendMode = mode;
    s_ops.sourceFactor = srcFactor;
    s_ops.destinationFactor = dstFactor;
    s_ops.logicOp = logicOp;
}

void GXSetColorUpdate(GXBool updateEnable) {
    s_ops.colourUpdate = updateEnable != GX_FALSE;
}

void GXSetAlphaUpdate(GXBool updateEnable) {
    s_ops.alphaUpdate = updateEnable != GX_FALSE;
}
