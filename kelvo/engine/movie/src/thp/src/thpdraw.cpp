// YUV to RGB in the texture environment: U and V scaled by konst colours onto a signed
// register offset, then Y added, green built in alpha and moved into place by the last stage.
#include "thpdraw.h"

#include <console/mtx.h>

namespace {

void SetStage(GXTevStageID stage, GXTexCoordID coordinate, GXTexMapID map, GXTevColorArg a,
              GXTevColorArg b, GXTevColorArg c, GXTevColorArg d, GXTevScale scale, GXBool clamp) {
    GXSetTevOrder(stage, coordinate, map, GX_COLOR_NULL);
    GXSetTevColorIn(stage, a, b, c, d);
    GXSetTevColorOp(stage, GX_TEV_ADD, GX_TB_ZERO, scale, clamp, GX_TEVPREV);
    GXSetTevSwapMode(stage, GX_TEV_SWAP0, GX_TEV_SWAP0);
}

void SetStageAlpha(GXTevStageID stage, GXTevAlphaArg a, GXTevAlphaArg b, GXTevAlphaArg c,
                   GXTevAlphaArg d, GXTevOp op, GXBool clamp) {
    GXSetTevAlphaIn(stage, a, b, c, d);
    GXSetTevAlphaOp(stage, op, GX_TB_ZERO, GX_CS_SCALE_1, clamp, GX_TEVPREV);
}

void LoadIntensity(GXTexObj* texture, unsigned char* data, short width, short height,
                   GXTexMapID map) {
    GXInitTexObj(texture, data, static_cast<u16>(width), static_cast<u16>(height), GX_TF_I8,
                 GX_CLAMP, GX_CLAMP, GX_FALSE);
    GXInitTexObjLOD(texture, GX_NEAR, GX_NEAR, 0.0f, 0.0f, 0.0f, GX_FALSE, GX_FALSE, GX_ANISO_1);
    GXLoadTexObj(texture, map);
}

// What the set-up changed besides the above, back as GXInit left it, which is how the
// engine keeps it: alpha written (the render layer's fills and sprites draw in their fast
// loops only then), the register and konst colours, the four stages' konst selections and
// the last three's passing on of the rasterised colour, and the second coordinate passing
// the second texture coordinate through.
void RestoreInitialState() {
    GXSetAlphaUpdate(GX_TRUE);
    GXSetTevColorS10(GX_TEVREG0, GXColorS10{0, 0, 0, 0});
    for (u32 konst = GX_KCOLOR0; konst <= GX_KCOLOR2; ++konst) {
        GXSetTevKColor(static_cast<GXTevKColorID>(konst), GXColor{0, 0, 0, 0});
    }
    for (u32 stage = GX_TEVSTAGE0; stage <= GX_TEVSTAGE3; ++stage) {
        const auto id = static_cast<GXTevStageID>(stage);
        GXSetTevKColorSel(id, GX_TEV_KCSEL_1_4);
        GXSetTevKAlphaSel(id, GX_TEV_KASEL_1);
        if (stage != GX_TEVSTAGE0) {
            GXSetTevOrder(id, static_cast<GXTexCoordID>(stage), static_cast<GXTexMapID>(stage),
                          GX_COLOR0A0);
            GXSetTevOp(id, GX_PASSCLR);
        }
    }
    GXSetTexCoordGen2(GX_TEXCOORD1, GX_TG_MTX2x4, GX_TG_TEX1, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
}

} // namespace

void THPGXYuv2RgbSetup(const GXRenderModeObj* mode) {
    const f32 width = mode->fbWidth;
    const f32 height = mode->efbHeight;
    GXSetPixelFmt(GX_PF_RGB8_Z24, GX_ZC_LINEAR);
    Mtx44 projection;
    MTXOrtho(projection, 0.0f, height, 0.0f, width, 0.0f, -1.0f);
    GXSetProjection(projection, GX_ORTHOGRAPHIC);
    GXSetViewport(0.0f, 0.0f, width, height, 0.0f, 1.0f);
    GXSetScissor(0, 0, mode->fbWidth, mode->efbHeight);
    Mtx identity;
    MTXIdentity(identity);
    GXLoadPosMtxImm(identity, GX_PNMTX0);
    GXSetCurrentMtx(GX_PNMTX0);
    GXSetZMode(GX_ENABLE, GX_ALWAYS, GX_DISABLE);
    GXSetBlendMode(GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO, GX_LO_CLEAR);
    GXSetColorUpdate(GX_TRUE);
    GXSetAlphaUpdate(GX_FALSE);
    GXSetDispCopyGamma(GX_GM_1_0);
    GXSetNumChans(0);
    GXSetNumTexGens(2);
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetTexCoordGen2(GX_TEXCOORD1, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXInvalidateTexAll();
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    GXSetVtxAttrFmt(GX_VTXFMT7, GX_VA_POS, GX_POS_XYZ, GX_S16, 0);
    GXSetVtxAttrFmt(GX_VTXFMT7, GX_VA_TEX0, GX_TEX_ST, GX_U16, 0);

    GXSetNumTevStages(4);
    SetStage(GX_TEVSTAGE0, GX_TEXCOORD1, GX_TEXMAP1, GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST, GX_CC_C0,
             GX_CS_SCALE_1, GX_FALSE);
    SetStageAlpha(GX_TEVSTAGE0, GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_A0, GX_TEV_SUB,
                  GX_FALSE);
    GXSetTevKColorSel(GX_TEVSTAGE0, GX_TEV_KCSEL_K0);
    GXSetTevKAlphaSel(GX_TEVSTAGE0, GX_TEV_KASEL_K0_A);
    SetStage(GX_TEVSTAGE1, GX_TEXCOORD1, GX_TEXMAP2, GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST,
             GX_CC_CPREV, GX_CS_SCALE_2, GX_FALSE);
    SetStageAlpha(GX_TEVSTAGE1, GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_APREV, GX_TEV_SUB,
                  GX_FALSE);
    GXSetTevKColorSel(GX_TEVSTAGE1, GX_TEV_KCSEL_K1);
    GXSetTevKAlphaSel(GX_TEVSTAGE1, GX_TEV_KASEL_K1_A);
    SetStage(GX_TEVSTAGE2, GX_TEXCOORD0, GX_TEXMAP0, GX_CC_ZERO, GX_CC_TEXC, GX_CC_ONE, GX_CC_CPREV,
             GX_CS_SCALE_1, GX_TRUE);
    SetStageAlpha(GX_TEVSTAGE2, GX_CA_TEXA, GX_CA_ZERO, GX_CA_ZERO, GX_CA_APREV, GX_TEV_ADD,
                  GX_TRUE);
    SetStage(GX_TEVSTAGE3, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_CC_APREV, GX_CC_CPREV, GX_CC_KONST,
             GX_CC_ZERO, GX_CS_SCALE_1, GX_TRUE);
    SetStageAlpha(GX_TEVSTAGE3, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_TEV_ADD,
                  GX_TRUE);
    GXSetTevKColorSel(GX_TEVSTAGE3, GX_TEV_KCSEL_K2);
    GXSetTevSwapModeTable(GX_TEV_SWAP0, GX_CH_RED, GX_CH_GREEN, GX_CH_BLUE, GX_CH_ALPHA);
    GXSetTevColorS10(GX_TEVREG0, GXColorS10{-90, 0, -114, 135});
    GXSetTevKColor(GX_KCOLOR0, GXColor{0, 0, 226, 88});
    GXSetTevKColor(GX_KCOLOR1, GXColor{179, 0, 0, 182});
    GXSetTevKColor(GX_KCOLOR2, GXColor{255, 0, 255, 128});
}

void THPGXYuv2RgbDraw(unsigned char* y_data, unsigned char* u_data, unsigned char* v_data, short x,
                      short y, short textureWidth, short textureHeight, short polygonWidth,
                      short polygonHeight) {
    GXTexObj textures[3];
    LoadIntensity(&textures[0], y_data, textureWidth, textureHeight, GX_TEXMAP0);
    LoadIntensity(&textures[1], u_data, textureWidth / 2, textureHeight / 2, GX_TEXMAP1);
    LoadIntensity(&textures[2], v_data, textureWidth / 2, textureHeight / 2, GX_TEXMAP2);
    const s16 right = static_cast<s16>(x + polygonWidth);
    const s16 bottom = static_cast<s16>(y + polygonHeight);
    GXBegin(GX_QUADS, GX_VTXFMT7, 4);
    GXPosition3s16(x, y, 0);
    GXTexCoord2u16(0, 0);
    GXPosition3s16(right, y, 0);
    GXTexCoord2u16(1, 0);
    GXPosition3s16(right, bottom, 0);
    GXTexCoord2u16(1, 1);
    GXPosition3s16(x, bottom, 0);
    GXTexCoord2u16(0, 1);
    GXEnd();
}

void THPGXRestore() {
    GXSetZMode(GX_ENABLE, GX_ALWAYS, GX_DISABLE);
    GXSetBlendMode(GX_BM_NONE, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_SET);
    GXSetNumTexGens(1);
    GXSetNumChans(0);
    GXSetNumTevStages(1);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP0, GX_COLOR_NULL);
    GXSetTevOp(GX_TEVSTAGE0, GX_REPLACE);
    for (u32 stage = GX_TEVSTAGE0; stage <= GX_TEVSTAGE3; ++stage) {
        GXSetTevSwapMode(static_cast<GXTevStageID>(stage), GX_TEV_SWAP0, GX_TEV_SWAP0);
    }
    GXSetTevSwapModeTable(GX_TEV_SWAP0, GX_CH_RED, GX_CH_GREEN, GX_CH_BLUE, GX_CH_ALPHA);
    GXSetTevSwapModeTable(GX_TEV_SWAP1, GX_CH_RED, GX_CH_RED, GX_CH_RED, GX_CH_ALPHA);
    GXSetTevSwapModeTable(GX_TEV_SWAP2, GX_CH_GREEN, GX_CH_GREEN, GX_CH_GREEN, GX_CH_ALPHA);
    GXSetTevSwapModeTable(GX_TEV_SWAP3, GX_CH_BLUE, GX_CH_BLUE, GX_CH_BLUE, GX_CH_ALPHA);
    RestoreInitialState();
}
