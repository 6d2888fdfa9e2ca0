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
    }
    GXSetNumTevStages(1);
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
