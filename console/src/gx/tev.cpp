// The texture environment's setters and standard modes.
#include "gx/tev.h"

#include <console/os.h>

namespace {

constinit GXTevState s_tev{};

struct ModeInputs {
    GXTevColorArg colour[4];
    GXTevAlphaArg alpha[4];
};

ModeInputs InputsOf(GXTevMode mode) {
    switch (mode) {
    case GX_MODULATE:
        return {{GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO},
                {GX_CA_ZERO, GX_CA_TEXA, GX_CA_RASA, GX_CA_ZERO}};
    case GX_DECAL:
        return {{GX_CC_RASC, GX_CC_TEXC, GX_CC_TEXA, GX_CC_ZERO},
                {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_RASA}};
    case GX_BLEND:
        return {{GX_CC_RASC, GX_CC_ONE, GX_CC_TEXC, GX_CC_ZERO},
                {GX_CA_ZERO, GX_CA_TEXA, GX_CA_RASA, GX_CA_ZERO}};
    case GX_REPLACE:
        return {{GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_TEXC},
                {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA}};
    default: // GX_PASSCLR
        return {{GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_RASC},
                {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_RASA}};
    }
}

GXTevStage* StageFor(GXTevStageID stage, const char* call) {
    if (stage >= GX_MAX_TEVSTAGE) {
        OSReport("%s: unknown stage %u; ignored\n", call, stage);
        return nullptr;
    }
    return &s_tev.stages[stage];
}

bool ValidOp(GXTevOp op, GXTevBias bias, GXTevScale scale, GXTevRegID output, const char* call) {
    if (op > GX_TEV_SUB || bias > GX_TB_SUBHALF || scale > GX_CS_DIVIDE_2 || output > GX_TEVREG2) {
        OSReport("%s: operation %u, bias %u, scale %u, output %u not supported; ignored\n", call,
                 op, bias, scale, output);
        return false;
    }
    return true;
}

} // namespace

void GXResetTev() {
    s_tev = GXTevState{};
    for (u32 stage = 0; stage < GX_MAX_TEVSTAGE; ++stage) {
        const auto id = static_cast<GXTevStageID>(stage);
        const u32 unit = stage < GX_MAX_TEXMAP ? stage : GX_TEXMAP_NULL;
        GXSetTevOrder(id, static_cast<GXTexCoordID>(unit), static_cast<GXTexMapID>(unit),
                      GX_COLOR0A0);
        GXSetTevOp(id, stage == 0 ? GX_REPLACE : GX_PASSCLR);
        GXSetTevKColorSel(id, GX_TEV_KCSEL_1_4);
        GXSetTevKAlphaSel(id, GX_TEV_KASEL_1);
        GXSetTevSwapMode(id, GX_TEV_SWAP0, GX_TEV_SWAP0);
    }
    GXSetTevSwapModeTable(GX_TEV_SWAP0, GX_CH_RED, GX_CH_GREEN, GX_CH_BLUE, GX_CH_ALPHA);
    GXSetTevSwapModeTable(GX_TEV_SWAP1, GX_CH_RED, GX_CH_RED, GX_CH_RED, GX_CH_ALPHA);
    GXSetTevSwapModeTable(GX_TEV_SWAP2, GX_CH_GREEN, GX_CH_GREEN, GX_CH_GREEN, GX_CH_ALPHA);
    GXSetTevSwapModeTable(GX_TEV_SWAP3, GX_CH_BLUE, GX_CH_BLUE, GX_CH_BLUE, GX_CH_ALPHA);
    GXSetNumTevStages(1);
}

void GXTevKonst(const GXTevState& tev, const GXTevStage& stage, s32 out[4]) {
    // Selections 0 to 7 are eighths of one, counted down (one itself reads 255).
    const auto fraction = [](u32 selection) { return selection == 0 ? 255 : 32 * (8 - selection); };
    const auto channelOf = [&](u32 selection) {
        const GXColor& k = tev.konst[selection & 3];
        const u8 channels[4] = {k.r, k.g, k.b, k.a};
        return static_cast<s32>(channels[(selection >> 2) & 3]);
    };
    const u32 colour = stage.konstColour;
    for (u32 channel = 0; channel < 3; ++channel) {
        if (colour < GX_TEV_KCSEL_K0) {
            out[channel] = fraction(colour);
        } else if (colour < GX_TEV_KCSEL_K0_R) {
            const GXColor& k = tev.konst[colour & 3];
            const u8 rgb[3] = {k.r, k.g, k.b};
            out[channel] = rgb[channel];
        } else {
            out[channel] = channelOf(colour);
        }
    }
    const u32 alpha = stage.konstAlpha;
    out[3] = alpha < GX_TEV_KASEL_K0_R ? fraction(alpha) : channelOf(alpha);
}

const GXTevState& GXCurrentTev() {
    return s_tev;
}

bool GXTevReadsTexture(const GXTevStage& stage) {
    for (u32 i = 0; i < 4; ++i) {
        if (stage.colourIn[i] == GX_CC_TEXC || stage.colourIn[i] == GX_CC_TEXA ||
            stage.alphaIn[i] == GX_CA_TEXA) {
            return true;
        }
    }
    return false;
}

void GXSetNumTevStages(u8 count) {
    if (count == 0 || count > GX_MAX_TEVSTAGE) {
        OSReport("GXSetNumTevStages: %u stages; ignored\n", count);
        return;
    }
    s_tev.stageCount = count;
}

void GXSetTevOrder(GXTevStageID stage, GXTexCoordID coordinate, GXTexMapID map,
                   GXChannelID channel) {
    if (GXTevStage* s = StageFor(stage, "GXSetTevOrder")) {
        s->coordinate = coordinate;
        s->map = map;
        s->channel = channel;
    }
}

void GXSetTevOp(GXTevStageID stage, GXTevMode mode) {
    if (mode > GX_PASSCLR) {
        OSReport("GXSetTevOp: unknown mode %u; ignored\n", mode);
        return;
    }
    ModeInputs inputs = InputsOf(mode);
    // Later stages build on the previous stage instead of the rasterised colour.
    if (stage != GX_TEVSTAGE0) {
        for (u32 i = 0; i < 4; ++i) {
            inputs.colour[i] = inputs.colour[i] == GX_CC_RASC ? GX_CC_CPREV : inputs.colour[i];
            inputs.alpha[i] = inputs.alpha[i] == GX_CA_RASA ? GX_CA_APREV : inputs.alpha[i];
        }
    }
    GXSetTevColorIn(stage, inputs.colour[0], inputs.colour[1], inputs.colour[2], inputs.colour[3]);
    GXSetTevAlphaIn(stage, inputs.alpha[0], inputs.alpha[1], inputs.alpha[2], inputs.alpha[3]);
    GXSetTevColorOp(stage, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXSetTevAlphaOp(stage, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
}

void GXSetTevColorIn(GXTevStageID stage, GXTevColorArg a, GXTevColorArg b, GXTevColorArg c,
                     GXTevColorArg d) {
    if (a > GX_CC_ZERO || b > GX_CC_ZERO || c > GX_CC_ZERO || d > GX_CC_ZERO) {
        OSReport("GXSetTevColorIn: unknown input; ignored\n");
        return;
    }
    if (GXTevStage* s = StageFor(stage, "GXSetTevColorIn")) {
        s->colourIn[0] = a;
        s->colourIn[1] = b;
        s->colourIn[2] = c;
        s->colourIn[3] = d;
    }
}

void GXSetTevAlphaIn(GXTevStageID stage, GXTevAlphaArg a, GXTevAlphaArg b, GXTevAlphaArg c,
                     GXTevAlphaArg d) {
    if (a > GX_CA_ZERO || b > GX_CA_ZERO || c > GX_CA_ZERO || d > GX_CA_ZERO) {
        OSReport("GXSetTevAlphaIn: unknown input; ignored\n");
        return;
    }
    if (GXTevStage* s = StageFor(stage, "GXSetTevAlphaIn")) {
        s->alphaIn[0] = a;
        s->alphaIn[1] = b;
        s->alphaIn[2] = c;
        s->alphaIn[3] = d;
    }
}

void GXSetTevColorOp(GXTevStageID stage, GXTevOp op, GXTevBias bias, GXTevScale scale, GXBool clamp,
                     GXTevRegID output) {
    GXTevStage* s = StageFor(stage, "GXSetTevColorOp");
    if (s != nullptr && ValidOp(op, bias, scale, output, "GXSetTevColorOp")) {
        s->colourOp = op;
        s->colourBias = bias;
        s->colourScale = scale;
        s->colourClamp = clamp != GX_FALSE;
        s->colourOut = output;
    }
}

void GXSetTevAlphaOp(GXTevStageID stage, GXTevOp op, GXTevBias bias, GXTevScale scale, GXBool clamp,
                     GXTevRegID output) {
    GXTevStage* s = StageFor(stage, "GXSetTevAlphaOp");
    if (s != nullptr && ValidOp(op, bias, scale, output, "GXSetTevAlphaOp")) {
        s->alphaOp = op;
        s->alphaBias = bias;
        s->alphaScale = scale;
        s->alphaClamp = clamp != GX_FALSE;
        s->alphaOut = output;
    }
}

void GXSetTevColorS10(GXTevRegID id, GXColorS10 color) {
    if (id > GX_TEVREG2) {
        OSReport("GXSetTevColorS10: unknown register %u; ignored\n", id);
        return;
    }
    const s16 values[4] = {color.r, color.g, color.b, color.a};
    for (u32 channel = 0; channel < 4; ++channel) {
        const s32 value = values[channel];
        s_tev.registers[id][channel] = static_cast<s16>(
            value < kGXTevMin ? kGXTevMin : (value > kGXTevMax ? kGXTevMax : value));
    }
}

void GXSetTevColor(GXTevRegID id, GXColor color) {
    GXSetTevColorS10(id, GXColorS10{color.r, color.g, color.b, color.a});
}

void GXSetTevKColor(GXTevKColorID id, GXColor color) {
    if (id >= GX_MAX_KCOLOR) {
        OSReport("GXSetTevKColor: unknown konst colour %u; ignored\n", id);
        return;
    }
    s_tev.konst[id] = color;
}

void GXSetTevKColorSel(GXTevStageID stage, GXTevKColorSel selection) {
    if (selection > GX_TEV_KCSEL_K3_A ||
        (selection > GX_TEV_KCSEL_1_8 && selection < GX_TEV_KCSEL_K0)) {
        OSReport("GXSetTevKColorSel: unknown selection %u; ignored\n", selection);
        return;
    }
    if (GXTevStage* s = StageFor(stage, "GXSetTevKColorSel")) {
        s->konstColour = selection;
    }
}

void GXSetTevKAlphaSel(GXTevStageID stage, GXTevKAlphaSel selection) {
    if (selection > GX_TEV_KASEL_K3_A ||
        (selection > GX_TEV_KASEL_1_8 && selection < GX_TEV_KASEL_K0_R)) {
        OSReport("GXSetTevKAlphaSel: unknown selection %u; ignored\n", selection);
        return;
    }
    if (GXTevStage* s = StageFor(stage, "GXSetTevKAlphaSel")) {
        s->konstAlpha = selection;
    }
}

void GXSetTevSwapMode(GXTevStageID stage, GXTevSwapSel rasterised, GXTevSwapSel texture) {
    if (rasterised >= GX_MAX_TEVSWAP || texture >= GX_MAX_TEVSWAP) {
        OSReport("GXSetTevSwapMode: unknown tables %u, %u; ignored\n", rasterised, texture);
        return;
    }
    if (GXTevStage* s = StageFor(stage, "GXSetTevSwapMode")) {
        s->rasterisedSwap = rasterised;
        s->textureSwap = texture;
    }
}

void GXSetTevSwapModeTable(GXTevSwapSel table, GXTevColorChan red, GXTevColorChan green,
                           GXTevColorChan blue, GXTevColorChan alpha) {
    if (table >= GX_MAX_TEVSWAP || red > GX_CH_ALPHA || green > GX_CH_ALPHA || blue > GX_CH_ALPHA ||
        alpha > GX_CH_ALPHA) {
        OSReport("GXSetTevSwapModeTable: table %u (%u, %u, %u, %u); ignored\n", table, red, green,
                 blue, alpha);
        return;
    }
    const GXTevColorChan channels[4] = {red, green, blue, alpha};
    for (u32 channel = 0; channel < 4; ++channel) {
        s_tev.swapTables[table][channel] = static_cast<u8>(channels[channel]);
    }
}
