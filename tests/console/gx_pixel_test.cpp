// The texture environment and the pixel operations: TEV modes and explicit inputs,
// alpha compare, depth modes, blending, update masks, every frame buffer format and
// the texture copy.
#include "golden_image.h"
#include "gx_test_support.h"

#include <console/gx.h>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <vector>

namespace {

using gxtest::ArgbAt;
using gxtest::DrawRect;

// One texel (red 200, green 100, blue 50, alpha 128) under the vertex colour red 128,
// green 255, blue 64, alpha 200.
constexpr u32 kTexel = 0x80C86432;
constexpr u32 kVertexRgba = 0x80FF40C8;

struct SolidTexture {
    std::vector<u8> image;
    GXTexObj texture;

    explicit SolidTexture(u32 argb) : image(gxtest::TileRgba8(std::vector<u32>(16, argb), 4, 4)) {
        GXInitTexObj(&texture, image.data(), 4, 4, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    }
};

// The frame buffer keeps alpha (six bits a channel) so that the tests can see it.
void ResetWithAlpha() {
    gxtest::Reset(0);
    GXSetPixelFmt(GX_PF_RGBA6_Z24, GX_ZC_LINEAR);
}

u32 SixBits(u32 argb) {
    return argb & 0xFCFCFCFC;
}

TEST(GXPixelTest, TevModesCombineTextureAndVertexColour) {
    struct Case {
        GXTevMode mode;
        u32 expected; // 0xAARRGGBB
    };
    const Case cases[] = {
        {GX_MODULATE, 0x6565640D}, // texture x vertex, alpha too
        {GX_REPLACE, kTexel},      {GX_PASSCLR, 0xC880FF40},
        {GX_DECAL, 0xC8A4B139}, // vertex to texture by texture alpha; vertex alpha
        {GX_BLEND, 0x65E4FF65}, // vertex to white by texture colour; alpha modulated
    };
    const SolidTexture solid(kTexel);
    for (const Case& c : cases) {
        ResetWithAlpha();
        gxtest::UseTexture(solid.texture, c.mode);
        DrawRect(0, 0, 4, 4, kVertexRgba);
        EXPECT_EQ(SixBits(ArgbAt(1, 1)), SixBits(c.expected)) << "mode " << c.mode;
    }
}

TEST(GXPixelTest, ExplicitInputsModulateColourAndTakeTextureAlpha) {
    // What the render layer sets for textured geometry.
    const SolidTexture solid(kTexel);
    ResetWithAlpha();
    gxtest::UseTexture(solid.texture, GX_REPLACE);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO);
    GXSetTevColorOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXSetTevAlphaIn(GX_TEVSTAGE0, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA);
    GXSetTevAlphaOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    DrawRect(0, 0, 4, 4, kVertexRgba);
    EXPECT_EQ(SixBits(ArgbAt(1, 1)), SixBits(0x8065640D));

    // Subtract, bias, scale and clamp: (vertex - texture) x 2, with and without clamp.
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_RASC);
    GXSetTevColorOp(GX_TEVSTAGE0, GX_TEV_SUB, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_TEXC, GX_CC_ZERO, GX_CC_ZERO, GX_CC_RASC);
    GXSetTevColorOp(GX_TEVSTAGE0, GX_TEV_SUB, GX_TB_ADDHALF, GX_CS_DIVIDE_2, GX_TRUE, GX_TEVPREV);
    DrawRect(0, 0, 4, 4, kVertexRgba);
    // ((vertex + 128) - texture) / 2: red (128 + 128 - 200) / 2 = 28, green 141, blue 71
    EXPECT_EQ(ArgbAt(1, 1) & 0x00FCFCFC, 0x001C8C44u & 0x00FCFCFC);
}

TEST(GXPixelTest, DedicatedPathsMatchTheGeneralEnvironment) {
    // Each mode once as the single stage, and once followed by a stage that passes the
    // previous colour on (which no dedicated path draws): the pictures must agree.
    std::vector<u32> texels(64);
    for (u32 i = 0; i < texels.size(); ++i) {
        texels[i] = (i * 0x2F6B1D53u) | 0x20000000u * (i % 8);
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 8, 8);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 8, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    auto draw = [&] {
        gxtest::Draw(GX_TRIANGLES, {{2, 3, 0, 0xFF2080FF, -0.3f, 0.1f},
                                    {60, 9, 0, 0x30FF10A0, 1.7f, -0.4f},
                                    {17, 50, 0, 0x8010FF60, 0.4f, 2.2f}});
    };
    for (const GXTevMode mode : {GX_MODULATE, GX_REPLACE, GX_PASSCLR, GX_DECAL, GX_BLEND}) {
        for (const GXTexFilter filter : {GX_NEAR, GX_LINEAR}) {
            GXInitTexObjLOD(&texture, filter, filter, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
            ResetWithAlpha();
            gxtest::UseTexture(texture, mode);
            draw();
            const TestImage single = ReadFrameBuffer(0, 0, 64, 64);
            ResetWithAlpha();
            gxtest::UseTexture(texture, mode);
            GXSetNumTevStages(2);
            GXSetTevOrder(GX_TEVSTAGE1, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
            GXSetTevOp(GX_TEVSTAGE1, GX_PASSCLR);
            draw();
            EXPECT_EQ(ReadFrameBuffer(0, 0, 64, 64).argb, single.argb)
                << "mode " << mode << " filter " << filter;
        }
    }
}

TEST(GXPixelTest, FlatColouredSpansMatchTheGeneralEnvironment) {
    // One-colour triangles over a gradient, through every way the colour reaches the
    // buffer; the general environment (a second stage passing the colour on) must
    // draw the same pixels.
    struct Case {
        GXBlendMode blend;
        GXBlendFactor source, destination;
        bool colourUpdate, alphaUpdate;
        GXCompare alphaCompare;
        GXPixelFmt format;
    };
    const Case cases[] = {
        {GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO, true, true, GX_ALWAYS, GX_PF_RGBA6_Z24},
        {GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO, true, false, GX_ALWAYS, GX_PF_RGB565_Z16},
        {GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO, false, true, GX_ALWAYS, GX_PF_RGBA6_Z24},
        {GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, true, true, GX_ALWAYS, GX_PF_RGBA6_Z24},
        {GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, true, false, GX_ALWAYS, GX_PF_RGB8_Z24},
        {GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, true, true, GX_ALWAYS, GX_PF_RGB8_Z24},
        {GX_BM_BLEND, GX_BL_ONE, GX_BL_ONE, true, true, GX_ALWAYS, GX_PF_RGBA6_Z24},
        {GX_BM_SUBTRACT, GX_BL_ONE, GX_BL_ONE, true, true, GX_ALWAYS, GX_PF_RGBA6_Z24},
        {GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, true, true, GX_GREATER, GX_PF_RGBA6_Z24},
    };
    const SolidTexture solid(kTexel);
    auto draw = [&solid](u32 stages, const Case& c) {
        gxtest::Reset(0);
        GXSetPixelFmt(c.format, GX_ZC_LINEAR);
        GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
        gxtest::UseTexture(solid.texture, GX_PASSCLR);
        gxtest::Draw(GX_QUADS, {{0, 0, 0, 0xFF0000FF, 0, 0},
                                {48, 0, 0, 0x00FF0080, 0, 0},
                                {48, 40, 0, 0x0000FF20, 0, 0},
                                {0, 40, 0, 0xFFFFFFC0, 0, 0}});
        GXSetNumTevStages(stages);
        GXSetTevOrder(GX_TEVSTAGE1, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
        GXSetTevOp(GX_TEVSTAGE1, GX_PASSCLR);
        GXSetBlendMode(c.blend, c.source, c.destination, GX_LO_NOOP);
        GXSetColorUpdate(c.colourUpdate ? GX_TRUE : GX_FALSE);
        GXSetAlphaUpdate(c.alphaUpdate ? GX_TRUE : GX_FALSE);
        GXSetAlphaCompare(c.alphaCompare, 0x60, GX_AOP_AND, GX_ALWAYS, 0);
        for (const u32 rgba : {0x30A0F080u, 0xF0102050u, 0x80808000u}) {
            gxtest::Draw(GX_TRIANGLES,
                         {{3, 2, 0, rgba, 0, 0}, {45, 7, 0, rgba, 0, 0}, {11, 38, 0, rgba, 0, 0}});
        }
        return ReadFrameBuffer(0, 0, 48, 40);
    };
    for (const Case& c : cases) {
        EXPECT_EQ(draw(1, c).argb, draw(2, c).argb)
            << "blend " << c.blend << " factors " << c.source << ", " << c.destination
            << " updates " << c.colourUpdate << c.alphaUpdate << " format " << c.format;
    }
}

TEST(GXPixelTest, ModulateReplaceAndPassColourOverAGradient) {
    std::vector<u32> texels(64);
    for (u32 i = 0; i < texels.size(); ++i) {
        const u32 x = i % 8, y = i / 8;
        texels[i] = 0xFF000000 | (x * 36) << 16 | (y * 36) << 8 | ((x + y) % 2 ? 0xFF : 0x40);
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 8, 8);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 8, 8, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    GXInitTexObjLOD(&texture, GX_NEAR, GX_NEAR, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    gxtest::Reset();
    const GXTevMode modes[] = {GX_MODULATE, GX_REPLACE, GX_PASSCLR};
    for (u32 k = 0; k < std::size(modes); ++k) {
        gxtest::UseTexture(texture, modes[k]);
        const f32 left = 34.0f * k;
        gxtest::Draw(GX_QUADS, {{left, 0, 0, 0xFF0000FF, 0, 0},
                                {left + 32, 0, 0, 0x00FF00FF, 1, 0},
                                {left + 32, 32, 0, 0x0000FFFF, 1, 1},
                                {left, 32, 0, 0xFFFFFFFF, 0, 1}});
    }
    EXPECT_TRUE(MatchesGolden(ReadFrameBuffer(0, 0, 100, 32), "tev_modes"));
}

TEST(GXPixelTest, OverlappingQuadsBlendBySourceAlpha) {
    gxtest::Reset(0xFF000000);
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
    DrawRect(4, 4, 40, 40, 0x0000FFFF);   // opaque blue
    DrawRect(20, 20, 56, 56, 0xFF000080); // half red
    DrawRect(12, 30, 48, 46, 0x00FF0040); // quarter green
    EXPECT_EQ(ArgbAt(8, 8), 0xFF0000FFu);
    EXPECT_EQ(ArgbAt(24, 24), 0xFF80007Fu) << "red 255 x 129/256 over blue 255 x 127/256";
    EXPECT_EQ(ArgbAt(50, 50), 0xFF800000u);
    EXPECT_TRUE(MatchesGolden(ReadFrameBuffer(0, 0, 60, 60), "blend_overlap"));
}

TEST(GXPixelTest, BlendModesAndFactors) {
    struct Case {
        const char* what;
        GXBlendMode mode;
        GXBlendFactor source, destination;
        GXLogicOp logic;
        u32 expected; // source 0x80 50 A0 F0 (alpha 128) over 0x41 C3 61 30
    };
    const Case cases[] = {
        {"none", GX_BM_NONE, GX_BL_ONE, GX_BL_ONE, GX_LO_CLEAR, 0x8050A0F0},
        {"add", GX_BM_BLEND, GX_BL_ONE, GX_BL_ONE, GX_LO_CLEAR, 0xC1FFFFFF},
        {"multiply", GX_BM_BLEND, GX_BL_DSTCLR, GX_BL_ZERO, GX_LO_CLEAR, 0x213D3D2D},
        {"destination alpha", GX_BM_BLEND, GX_BL_INVDSTALPHA, GX_BL_DSTALPHA, GX_LO_CLEAR,
         0x706D90BF},
        {"subtract", GX_BM_SUBTRACT, GX_BL_ONE, GX_BL_ONE, GX_LO_CLEAR, 0x00730000},
        {"xor", GX_BM_LOGIC, GX_BL_ONE, GX_BL_ONE, GX_LO_XOR, 0xC193C1C0},
        {"no-op", GX_BM_LOGIC, GX_BL_ONE, GX_BL_ONE, GX_LO_NOOP, 0x41C36130},
    };
    for (const Case& c : cases) {
        ResetWithAlpha();
        gxtest::ClearFrameBuffer(0x41C36130); // exact in six bits a channel
        GXSetBlendMode(c.mode, c.source, c.destination, c.logic);
        DrawRect(0, 0, 4, 4, 0x50A0F080);
        EXPECT_EQ(SixBits(ArgbAt(1, 1)), SixBits(c.expected)) << c.what;
    }
}

TEST(GXPixelTest, LessOrEqualDepthKeepsTheNearestSurface) {
    gxtest::Reset();
    // Near (z -0.25) drawn first, then a far one (-0.75) across it, then one at the
    // same depth as the near one, which wins (equal passes).
    DrawRect(4, 4, 36, 36, 0xFF0000FF, -0.25f);
    DrawRect(20, 20, 52, 52, 0x00FF00FF, -0.75f);
    DrawRect(28, 4, 44, 20, 0x0000FFFF, -0.25f);
    EXPECT_EQ(ArgbAt(30, 30), 0xFFFF0000u) << "the far quad is hidden";
    EXPECT_EQ(ArgbAt(45, 45), 0xFF00FF00u);
    EXPECT_EQ(ArgbAt(30, 10), 0xFF0000FFu) << "equal depth is drawn";
    EXPECT_EQ(GXReadEFBDepthForTest(30, 30), 0x400000u) << "a quarter of the range, rounded";
    EXPECT_EQ(GXReadEFBDepthForTest(45, 45), 0xBFFFFFu);
    EXPECT_TRUE(MatchesGolden(ReadFrameBuffer(0, 0, 56, 56), "depth_order"));
}

TEST(GXPixelTest, DepthModesTestAndUpdateAsAsked) {
    struct Case {
        GXBool compare;
        GXCompare function;
        GXBool update;
        bool drawn;
        u32 depthAfter; // the far quad at 0xBFFFFF over a near one at 0x400000
    };
    const Case cases[] = {
        {GX_TRUE, GX_LEQUAL, GX_TRUE, false, 0x400000},
        {GX_TRUE, GX_GREATER, GX_TRUE, true, 0xBFFFFF},
        {GX_TRUE, GX_GREATER, GX_FALSE, true, 0x400000},
        {GX_TRUE, GX_NEVER, GX_TRUE, false, 0x400000},
        {GX_FALSE, GX_NEVER, GX_TRUE, true, 0x400000}, // no test, and then no update either
    };
    for (const Case& c : cases) {
        gxtest::Reset();
        DrawRect(0, 0, 4, 4, 0xFF0000FF, -0.25f);
        GXSetZMode(c.compare, c.function, c.update);
        DrawRect(0, 0, 4, 4, 0x00FF00FF, -0.75f);
        EXPECT_EQ(ArgbAt(1, 1), c.drawn ? 0xFF00FF00u : 0xFFFF0000u) << c.function;
        EXPECT_EQ(GXReadEFBDepthForTest(1, 1), c.depthAfter) << c.function;
    }
}

TEST(GXPixelTest, AlphaCompareDiscardsPixelsWithTheirDepth) {
    gxtest::Reset();
    GXSetAlphaCompare(GX_GREATER, 100, GX_AOP_AND, GX_LESS, 200);
    DrawRect(0, 0, 4, 4, 0xFF000064, -0.5f);  // alpha 100: fails
    DrawRect(4, 0, 8, 4, 0x00FF0096, -0.5f);  // alpha 150: passes
    DrawRect(8, 0, 12, 4, 0x0000FFC8, -0.5f); // alpha 200: fails
    EXPECT_EQ(ArgbAt(1, 1), 0xFF000000u);
    EXPECT_EQ(GXReadEFBDepthForTest(1, 1), 0xFFFFFFu);
    EXPECT_EQ(ArgbAt(5, 1), 0xFF00FF00u);
    EXPECT_EQ(GXReadEFBDepthForTest(5, 1), 0x800000u);
    EXPECT_EQ(ArgbAt(9, 1), 0xFF000000u);
    GXSetAlphaCompare(GX_LEQUAL, 100, GX_AOP_OR, GX_GEQUAL, 200);
    DrawRect(0, 0, 12, 4, 0xFFFFFFC8, -0.25f);
    EXPECT_EQ(ArgbAt(5, 1), 0xFFFFFFFFu);
}

TEST(GXPixelTest, UpdateMasksKeepColourOrAlpha) {
    ResetWithAlpha();
    gxtest::ClearFrameBuffer(0x40C06030);
    GXSetColorUpdate(GX_FALSE);
    DrawRect(0, 0, 4, 4, 0x102030F0);
    EXPECT_EQ(SixBits(ArgbAt(1, 1)), SixBits(0xF0C06030)) << "alpha only";
    GXSetColorUpdate(GX_TRUE);
    GXSetAlphaUpdate(GX_FALSE);
    DrawRect(0, 0, 4, 4, 0x50607010);
    EXPECT_EQ(SixBits(ArgbAt(1, 1)), SixBits(0xF0506070)) << "colour only";
}

TEST(GXPixelTest, EveryFrameBufferFormatKeepsFullWhiteAndItsDepthBits) {
    struct Case {
        GXPixelFmt format;
        u32 grey;  // a grey of 0x99 as stored
        u32 depth; // 0x123456 as stored
    };
    const Case cases[] = {
        {GX_PF_RGB8_Z24, 0xFF999999, 0x123456},
        {GX_PF_RGBA6_Z24, 0x9A9A9A9A, 0x123456},
        {GX_PF_RGB565_Z16, 0xFF9C9A9C, 0x123400},
    };
    for (const Case& c : cases) {
        gxtest::Reset(0);
        GXSetPixelFmt(c.format, GX_ZC_LINEAR);
        GXSetZMode(GX_TRUE, GX_ALWAYS, GX_TRUE);
        DrawRect(0, 0, 2, 2, 0xFFFFFFFF, -0x123456 / 16777215.0f);
        DrawRect(2, 0, 4, 2, 0x99999999, -0x123456 / 16777215.0f);
        EXPECT_EQ(ArgbAt(0, 0), 0xFFFFFFFFu) << c.format;
        EXPECT_EQ(ArgbAt(2, 0), c.grey) << c.format;
        EXPECT_EQ(GXReadEFBDepthForTest(0, 0), c.depth) << c.format;
    }
}

TEST(GXPixelTest, InitRestoresTheConsoleDefaults) {
    gxtest::Reset();
    // State a previous user left behind.
    GXSetCullMode(GX_CULL_ALL);
    GXSetAlphaCompare(GX_NEVER, 0, GX_AOP_AND, GX_NEVER, 0);
    GXSetZMode(GX_TRUE, GX_NEVER, GX_FALSE);
    GXSetBlendMode(GX_BM_SUBTRACT, GX_BL_ONE, GX_BL_ONE, GX_LO_CLEAR);
    GXSetColorUpdate(GX_FALSE);
    GXSetScissor(0, 0, 1, 1);
    GXSetNumTevStages(3);
    GXSetChanCtrl(GX_COLOR0A0, GX_DISABLE, GX_SRC_REG, GX_SRC_REG, GX_LIGHT_NULL, GX_DF_NONE,
                  GX_AF_NONE);
    const f32 shifted[3][4] = {{1, 0, 0, 300}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    GXLoadPosMtxImm(shifted, GX_PNMTX0);
    GXSetCurrentMtx(GX_PNMTX1);

    GXInit(nullptr, 0);
    gxtest::UsePixelProjection(); // also loads the identity into GX_PNMTX0
    GXLoadPosMtxImm(shifted, GX_PNMTX1);
    GXSetNumChans(1);
    GXSetTevOp(GX_TEVSTAGE0, GX_PASSCLR);
    gxtest::Draw(GX_QUADS, {{0, 0, 0, 0x336699FF, 0, 0},
                            {8, 0, 0, 0x336699FF, 0, 0},
                            {8, 8, 0, 0x336699FF, 0, 0},
                            {0, 8, 0, 0x336699FF, 0, 0}}); // clockwise: kept by back culling
    EXPECT_EQ(ArgbAt(4, 4), 0xFF336699u) << "vertex colour, one stage, matrix 0, no blending";
    EXPECT_EQ(GXReadEFBDepthForTest(4, 4), 0u);
}

TEST(GXPixelTest, ColourChannelsTakeTheVertexOrMaterialColour) {
    struct Case {
        u8 channels;
        GXChannelID channel;
        GXColorSrc source;
        u32 expected;
    };
    // Blended over black by the channel's alpha: the vertex alpha is a half.
    const Case cases[] = {
        {1, GX_COLOR0A0, GX_SRC_VTX, 0xFF1A334D},
        {1, GX_COLOR0A0, GX_SRC_REG, 0xFFFFFFFF}, // the material register holds white
        {1, GX_ALPHA0, GX_SRC_REG, 0xFF336699},   // only alpha from the register
        {0, GX_COLOR0A0, GX_SRC_VTX, 0xFF000000}, // no channel: black, transparent
    };
    for (const Case& c : cases) {
        gxtest::Reset();
        GXSetNumChans(c.channels);
        GXSetChanCtrl(c.channel, GX_DISABLE, GX_SRC_REG, c.source, GX_LIGHT_NULL, GX_DF_NONE,
                      GX_AF_NONE);
        GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_CLEAR);
        DrawRect(0, 0, 4, 4, 0x33669980);
        EXPECT_EQ(ArgbAt(1, 1), c.expected) << c.channel << " " << c.source;
    }
}

TEST(GXPixelTest, ChannelAndCoordinateChangesBetweenQuadsTakeEffectAtOnce) {
    // Quads drawn one after another, each after a change of the colour channels or the
    // generated coordinates, against each drawn alone in the initial state with the
    // colour and coordinates that the state so far gives it.
    std::vector<u32> texels(16);
    for (u32 i = 0; i < texels.size(); ++i) {
        texels[i] = 0xFF000000 | i * 0x0F1E2D;
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 4, 4);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 4, 4, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    const auto control = [](GXChannelID channel, GXColorSrc source) {
        return [=] {
            GXSetChanCtrl(channel, GX_DISABLE, GX_SRC_REG, source, GX_LIGHT_NULL, GX_DF_NONE,
                          GX_AF_NONE);
        };
    };
    constexpr u32 kVertex = 0x336699C0;
    struct Change {
        std::function<void()> apply;
        u32 rgba;         // the rasterised colour from then on
        bool coordinates; // whether the quad's texture coordinates still reach the texture
    };
    const Change changes[] = {
        {[] { GXSetNumChans(0); }, 0x00000000, true},
        {[] { GXSetNumChans(1); }, kVertex, true},
        {control(GX_COLOR0A0, GX_SRC_REG), 0xFFFFFFFF, true},
        {control(GX_COLOR0A0, GX_SRC_VTX), kVertex, true},
        {control(GX_ALPHA0, GX_SRC_REG), 0x336699FF, true},
        {control(GX_COLOR0, GX_SRC_REG), 0xFFFFFFFF, true},
        {control(GX_COLOR0A0, GX_SRC_VTX), kVertex, true},
        {[] { GXSetNumTexGens(0); }, kVertex, false},
        {[] { GXSetNumTexGens(1); }, kVertex, true},
        {[] { GXSetNumChans(0); }, 0x00000000, true},
        {[] { GXSetNumChans(2); }, kVertex, true},
        {[] { GXSetNumTexGens(2); }, kVertex, true},
    };
    const auto setUp = [&] {
        gxtest::Reset();
        gxtest::UseTexture(texture, GX_MODULATE);
        GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_CLEAR);
    };
    const auto draw = [](u32 i, u32 rgba, bool coordinates) {
        const f32 left = static_cast<f32>(8 * i);
        const f32 s0 = coordinates ? 0.1f : 0.0f, t0 = coordinates ? 0.2f : 0.0f;
        const f32 s1 = coordinates ? 0.9f : 0.0f, t1 = coordinates ? 0.7f : 0.0f;
        DrawRect(left, 0, left + 8, 8, rgba, 0, s0, t0, s1, t1);
        return ReadFrameBuffer(8 * i, 0, 8, 8).argb;
    };
    std::vector<std::vector<u32>> alone;
    for (u32 i = 0; i < std::size(changes); ++i) {
        setUp();
        alone.push_back(draw(i, changes[i].rgba, changes[i].coordinates));
    }
    setUp();
    for (u32 i = 0; i < std::size(changes); ++i) {
        changes[i].apply();
        EXPECT_EQ(draw(i, kVertex, true), alone[i]) << "after change " << i;
    }
}

TEST(GXPixelTest, TextureCopyRoundTripsAndClears) {
    gxtest::Reset(0xFF000000);
    gxtest::Draw(
        GX_TRIANGLES,
        {{0, 0, 0, 0xFF0000FF, 0, 0}, {22, 3, 0, 0x00FF00FF, 0, 0}, {5, 10, 0, 0x0000FFFF, 0, 0}});
    const TestImage drawn = ReadFrameBuffer(0, 0, 22, 10);
    GXSetCopyClear(GXColor{0x10, 0x20, 0x30, 0xFF}, 0x777777);
    GXSetTexCopySrc(0, 0, 22, 10);
    GXSetTexCopyDst(22, 10, GX_TF_RGBA8, GX_FALSE);
    std::vector<u8> copy(6 * 3 * 64);
    GXCopyTex(copy.data(), GX_TRUE);
    EXPECT_EQ(ArgbAt(21, 9), 0xFF102030u) << "the source is cleared";
    EXPECT_EQ(GXReadEFBDepthForTest(21, 9), 0x777777u);
    EXPECT_EQ(ArgbAt(22, 9), 0xFF000000u) << "only the source";

    GXTexObj texture;
    GXInitTexObj(&texture, copy.data(), 22, 10, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    GXInitTexObjLOD(&texture, GX_NEAR, GX_NEAR, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    gxtest::UseTexture(texture, GX_REPLACE);
    DrawRect(100, 50, 122, 60, 0xFFFFFFFF);
    EXPECT_EQ(ReadFrameBuffer(100, 50, 22, 10).argb, drawn.argb);
}

} // namespace
