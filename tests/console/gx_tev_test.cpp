// The texture environment's arithmetic as the console computes it: the movie player's
// four-stage YUV-to-RGB set-up, lerp rounding, bias and scale, signed 11-bit registers,
// konst colours and their selections, and swap tables.
#include "golden_image.h"
#include "gx_test_support.h"

#include <console/gx.h>
#include <console/mtx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using gxtest::ArgbAt;
using gxtest::DrawRect;

u32 Red(u32 argb) {
    return (argb >> 16) & 0xFF;
}

// ---- The movie player's conversion ----

constexpr u16 kFrameWidth = 640;
constexpr u16 kFrameHeight = 480;

struct PlaneTexture {
    std::vector<u8> image;
    GXTexObj texture;

    PlaneTexture(const std::vector<u8>& values, u16 width, u16 height)
        : image(gxtest::TileBytes(values, width, height)) {
        GXInitTexObj(&texture, image.data(), width, height, GX_TF_I8, GX_CLAMP, GX_CLAMP, GX_FALSE);
        GXInitTexObjLOD(&texture, GX_NEAR, GX_NEAR, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    }
};

void SetTevStage(GXTevStageID stage, GXTexCoordID coordinate, GXTexMapID map,
                 const GXTevColorArg (&colour)[4], GXTevScale colourScale, GXBool colourClamp,
                 const GXTevAlphaArg (&alpha)[4], GXTevOp alphaOp, GXBool alphaClamp) {
    GXSetTevOrder(stage, coordinate, map, GX_COLOR_NULL);
    GXSetTevColorIn(stage, colour[0], colour[1], colour[2], colour[3]);
    GXSetTevColorOp(stage, GX_TEV_ADD, GX_TB_ZERO, colourScale, colourClamp, GX_TEVPREV);
    GXSetTevAlphaIn(stage, alpha[0], alpha[1], alpha[2], alpha[3]);
    GXSetTevAlphaOp(stage, alphaOp, GX_TB_ZERO, GX_CS_SCALE_1, alphaClamp, GX_TEVPREV);
    GXSetTevSwapMode(stage, GX_TEV_SWAP0, GX_TEV_SWAP0);
}

// The movie player's set-up: 1:1 pixels, Y on map 0 through coordinate 0, U and V on
// maps 1 and 2 through coordinate 1, four stages adding the chroma terms to Y.
void SetUpMovieDrawing() {
    GXInit(nullptr, 0);
    gxtest::ClearFrameBuffer(0xFF000000);
    GXSetPixelFmt(GX_PF_RGB8_Z24, GX_ZC_LINEAR);
    Mtx44 projection;
    MTXOrtho(projection, 0, kFrameHeight, 0, kFrameWidth, 0.0f, -1.0f);
    GXSetProjection(projection, GX_ORTHOGRAPHIC);
    GXSetViewport(0, 0, kFrameWidth, kFrameHeight, 0, 1);
    GXSetScissor(0, 0, kFrameWidth, kFrameHeight);
    Mtx identity;
    MTXIdentity(identity);
    GXLoadPosMtxImm(identity, GX_PNMTX0);
    GXSetZMode(GX_TRUE, GX_ALWAYS, GX_FALSE);
    GXSetBlendMode(GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO, GX_LO_CLEAR);
    GXSetColorUpdate(GX_TRUE);
    GXSetAlphaUpdate(GX_FALSE);
    GXSetNumChans(0);
    GXSetNumTexGens(2);
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetTexCoordGen2(GX_TEXCOORD1, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    GXSetVtxAttrFmt(GX_VTXFMT7, GX_VA_POS, GX_POS_XYZ, GX_S16, 0);
    GXSetVtxAttrFmt(GX_VTXFMT7, GX_VA_TEX0, GX_TEX_ST, GX_U16, 0);
    GXSetNumTevStages(4);
    SetTevStage(GX_TEVSTAGE0, GX_TEXCOORD1, GX_TEXMAP1,
                {GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST, GX_CC_C0}, GX_CS_SCALE_1, GX_FALSE,
                {GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_A0}, GX_TEV_SUB, GX_FALSE);
    GXSetTevKColorSel(GX_TEVSTAGE0, GX_TEV_KCSEL_K0);
    GXSetTevKAlphaSel(GX_TEVSTAGE0, GX_TEV_KASEL_K0_A);
    SetTevStage(GX_TEVSTAGE1, GX_TEXCOORD1, GX_TEXMAP2,
                {GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST, GX_CC_CPREV}, GX_CS_SCALE_2, GX_FALSE,
                {GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_APREV}, GX_TEV_SUB, GX_FALSE);
    GXSetTevKColorSel(GX_TEVSTAGE1, GX_TEV_KCSEL_K1);
    GXSetTevKAlphaSel(GX_TEVSTAGE1, GX_TEV_KASEL_K1_A);
    SetTevStage(GX_TEVSTAGE2, GX_TEXCOORD0, GX_TEXMAP0,
                {GX_CC_ZERO, GX_CC_TEXC, GX_CC_ONE, GX_CC_CPREV}, GX_CS_SCALE_1, GX_TRUE,
                {GX_CA_TEXA, GX_CA_ZERO, GX_CA_ZERO, GX_CA_APREV}, GX_TEV_ADD, GX_TRUE);
    SetTevStage(GX_TEVSTAGE3, GX_TEXCOORD_NULL, GX_TEXMAP_NULL,
                {GX_CC_APREV, GX_CC_CPREV, GX_CC_KONST, GX_CC_ZERO}, GX_CS_SCALE_1, GX_TRUE,
                {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO}, GX_TEV_ADD, GX_TRUE);
    GXSetTevKColorSel(GX_TEVSTAGE3, GX_TEV_KCSEL_K2);
    GXSetTevSwapModeTable(GX_TEV_SWAP0, GX_CH_RED, GX_CH_GREEN, GX_CH_BLUE, GX_CH_ALPHA);
    GXSetTevColorS10(GX_TEVREG0, GXColorS10{-90, 0, -114, 135});
    GXSetTevKColor(GX_KCOLOR0, GXColor{0, 0, 226, 88});
    GXSetTevKColor(GX_KCOLOR1, GXColor{179, 0, 0, 182});
    GXSetTevKColor(GX_KCOLOR2, GXColor{255, 0, 255, 128});
}

// Corners clockwise from the one that shows the planes' top left.
void DrawMovieCorners(const s16 (&corners)[4][2]) {
    static constexpr u16 kCoordinates[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    GXBegin(GX_QUADS, GX_VTXFMT7, 4);
    for (u32 i = 0; i < 4; ++i) {
        GXPosition3s16(corners[i][0], corners[i][1], 0);
        GXTexCoord2u16(kCoordinates[i][0], kCoordinates[i][1]);
    }
    GXEnd();
}

void DrawMovieQuad(s16 x, s16 y, s16 width, s16 height) {
    const s16 right = static_cast<s16>(x + width);
    const s16 bottom = static_cast<s16>(y + height);
    DrawMovieCorners({{x, y}, {right, y}, {right, bottom}, {x, bottom}});
}

s32 ToLevel(f64 value) {
    return std::clamp(static_cast<s32>(std::lround(value)), 0, 255);
}

TEST(GXTevTest, MoviePlayerSetUpTurnsYuvIntoBt601Rgb) {
    // Y ramps across and down, U and V (at half resolution) cover their whole range.
    constexpr u16 kWidth = 64;
    constexpr u16 kHeight = 32;
    std::vector<u8> y(kWidth * kHeight), u(kWidth * kHeight / 4), v(kWidth * kHeight / 4);
    for (u32 row = 0; row < kHeight; ++row) {
        for (u32 column = 0; column < kWidth; ++column) {
            y[row * kWidth + column] = static_cast<u8>((column * 4 + row * 37) % 256);
        }
    }
    for (u32 row = 0; row < kHeight / 2; ++row) {
        for (u32 column = 0; column < kWidth / 2; ++column) {
            u[row * kWidth / 2 + column] = static_cast<u8>(column * 255 / 31);
            v[row * kWidth / 2 + column] = static_cast<u8>(row * 255 / 15);
        }
    }
    const PlaneTexture yPlane(y, kWidth, kHeight);
    const PlaneTexture uPlane(u, kWidth / 2, kHeight / 2);
    const PlaneTexture vPlane(v, kWidth / 2, kHeight / 2);
    SetUpMovieDrawing();
    GXLoadTexObj(&yPlane.texture, GX_TEXMAP0);
    GXLoadTexObj(&uPlane.texture, GX_TEXMAP1);
    GXLoadTexObj(&vPlane.texture, GX_TEXMAP2);
    DrawMovieQuad(100, 50, kWidth, kHeight);

    s32 worst = 0;
    for (u32 row = 0; row < kHeight; ++row) {
        for (u32 column = 0; column < kWidth; ++column) {
            const f64 luma = y[row * kWidth + column];
            const f64 cb = u[(row / 2) * kWidth / 2 + column / 2] - 128.0;
            const f64 cr = v[(row / 2) * kWidth / 2 + column / 2] - 128.0;
            const s32 expected[3] = {ToLevel(luma + 1.402 * cr),
                                     ToLevel(luma - 0.344136 * cb - 0.714136 * cr),
                                     ToLevel(luma + 1.772 * cb)};
            const u32 drawn = ArgbAt(100 + column, 50 + row);
            const s32 actual[3] = {static_cast<s32>(Red(drawn)),
                                   static_cast<s32>((drawn >> 8) & 0xFF),
                                   static_cast<s32>(drawn & 0xFF)};
            for (u32 channel = 0; channel < 3; ++channel) {
                worst = std::max(worst, std::abs(actual[channel] - expected[channel]));
            }
        }
    }
    EXPECT_LE(worst, 3);
    EXPECT_EQ(ArgbAt(99, 50), 0xFF000000u) << "nothing outside the quad";
    EXPECT_EQ(ArgbAt(100 + kWidth, 50), 0xFF000000u);
}

// Noise Y, U and V planes of a frame's size, U and V at half its width and height.
struct NoisePlanes {
    NoisePlanes(u16 width, u16 height)
        : y(Noise(width * height, 12345), width, height),
          u(Noise(width * height / 4, 777), width / 2, height / 2),
          v(Noise(width * height / 4, 4242), width / 2, height / 2) {}

    static std::vector<u8> Noise(u32 count, u32 seed) {
        std::vector<u8> values(count);
        for (u8& value : values) {
            seed = seed * 1103515245u + 12345u;
            value = static_cast<u8>(seed >> 16);
        }
        return values;
    }

    void Load() const {
        GXLoadTexObj(&y.texture, GX_TEXMAP0);
        GXLoadTexObj(&u.texture, GX_TEXMAP1);
        GXLoadTexObj(&v.texture, GX_TEXMAP2);
    }

    PlaneTexture y, u, v;
};

TEST(GXTevTest, MovieSetUpDrawsWhatTheGeneralEnvironmentDraws) {
    // The set-up as it stands, and followed by a stage that passes the previous colour
    // on (which no dedicated loop draws), over noise planes: the pictures must agree.
    struct Case {
        const char* what;
        s16 corners[4][2];
        bool extremeRegisters; // drive the chroma stages into their clamps
        bool keepsAlpha;       // a frame buffer with alpha, alpha updated
        bool wide;             // planes of 300 x 8 rather than 40 x 24
        GXColor konst;         // stage 3's: which channels it copies, or how it mixes them
    };
    constexpr GXColor kCopies{255, 0, 255, 128};
    const Case cases[] = {
        {"1:1", {{5, 3}, {45, 3}, {45, 27}, {5, 27}}, false, false, false, kCopies},
        {"1:1 with alpha", {{5, 3}, {45, 3}, {45, 27}, {5, 27}}, false, true, false, kCopies},
        {"clamping registers", {{5, 3}, {45, 3}, {45, 27}, {5, 27}}, true, false, false, kCopies},
        {"stretched", {{1, 2}, {84, 2}, {84, 51}, {1, 51}}, true, false, false, kCopies},
        {"shrunk", {{9, 4}, {36, 4}, {36, 21}, {9, 21}}, false, false, false, kCopies},
        {"mirrored", {{60, 4}, {3, 4}, {3, 50}, {60, 50}}, false, false, false, kCopies},
        {"over the top left",
         {{-13, -7}, {27, -7}, {27, 17}, {-13, 17}},
         false,
         false,
         false,
         kCopies},
        {"turned", {{20, 0}, {58, 14}, {44, 52}, {6, 38}}, true, false, false, kCopies},
        {"mixing konst",
         {{5, 3}, {45, 3}, {45, 27}, {5, 27}},
         false,
         false,
         false,
         {200, 77, 128, 9}},
        {"wide, 1:1 from an odd column",
         {{7, 40}, {307, 40}, {307, 48}, {7, 48}},
         false,
         false,
         true,
         kCopies},
        {"wide, stretched", {{2, 30}, {315, 30}, {315, 60}, {2, 60}}, true, false, true, kCopies},
    };
    const NoisePlanes small(40, 24);
    const NoisePlanes wide(300, 8);
    const auto draw = [&](const Case& c, u32 stages) {
        SetUpMovieDrawing();
        if (c.keepsAlpha) {
            GXSetPixelFmt(GX_PF_RGBA6_Z24, GX_ZC_LINEAR);
            GXSetAlphaUpdate(GX_TRUE);
        }
        if (c.extremeRegisters) {
            GXSetTevColorS10(GX_TEVREG0, GXColorS10{1023, -1024, 700, -900});
            GXSetTevKColor(GX_KCOLOR1, GXColor{255, 255, 128, 255});
        }
        GXSetTevKColor(GX_KCOLOR2, c.konst);
        (c.wide ? wide : small).Load();
        GXSetNumTevStages(static_cast<u8>(stages));
        GXSetTevOrder(GX_TEVSTAGE4, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
        GXSetTevOp(GX_TEVSTAGE4, GX_PASSCLR);
        DrawMovieCorners(c.corners);
        return ReadFrameBuffer(0, 0, 320, 64).argb;
    };
    for (const Case& c : cases) {
        EXPECT_EQ(draw(c, 4), draw(c, 5)) << c.what;
    }
}

// ---- Single-stage arithmetic ----

// Colour = d + lerp(a, b, c) with a, b, d in registers 1, 2, 0 and c the konst colour,
// all channels alike; the result is read as red.
struct Arithmetic {
    const char* what;
    s16 a, b, d;
    u8 c;
    GXTevOp op;
    GXTevBias bias;
    GXTevScale scale;
    u32 expected;
};

u32 Evaluate(const Arithmetic& e) {
    gxtest::Reset();
    GXSetNumTexGens(0);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
    GXSetTevColorS10(GX_TEVREG1, GXColorS10{e.a, e.a, e.a, 0});
    GXSetTevColorS10(GX_TEVREG2, GXColorS10{e.b, e.b, e.b, 0});
    GXSetTevColorS10(GX_TEVREG0, GXColorS10{e.d, e.d, e.d, 0});
    GXSetTevKColor(GX_KCOLOR0, GXColor{e.c, e.c, e.c, 0});
    GXSetTevKColorSel(GX_TEVSTAGE0, GX_TEV_KCSEL_K0);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_C1, GX_CC_C2, GX_CC_KONST, GX_CC_C0);
    GXSetTevColorOp(GX_TEVSTAGE0, e.op, e.bias, e.scale, GX_TRUE, GX_TEVPREV);
    DrawRect(0, 0, 2, 2, 0xFFFFFFFF);
    return Red(ArgbAt(0, 0));
}

TEST(GXTevTest, CombinerRoundsBiasesScalesAndClampsAsTheConsole) {
    const Arithmetic cases[] = {
        // 2 x 64/256 = a half: rounds up when added, down (away from zero) when taken off.
        {"half added", 0, 2, 100, 64, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 101},
        {"half subtracted", 0, 2, 100, 64, GX_TEV_SUB, GX_TB_ZERO, GX_CS_SCALE_1, 99},
        {"quarter added", 0, 1, 100, 64, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 100},
        {"quarter subtracted", 0, 1, 100, 64, GX_TEV_SUB, GX_TB_ZERO, GX_CS_SCALE_1, 100},
        // c of 255 is one, c of 128 is 129/256.
        {"c 255 is one", 10, 200, 0, 255, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 200},
        {"c 128 is 129/256", 0, 255, 0, 128, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 128},
        {"lerp between a and b", 100, 200, 0, 64, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 125},
        // The product is rounded after scaling: 2 x (100 + 1/4) = 200.5.
        {"scale 2", 0, 1, 100, 64, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_2, 201},
        {"scale 4", 0, 1, 10, 32, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_4, 41},
        {"halving rounds down", 0, 0, 101, 0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_DIVIDE_2, 50},
        {"add half then halve", 0, 0, 100, 0, GX_TEV_ADD, GX_TB_ADDHALF, GX_CS_DIVIDE_2, 114},
        {"subtract half", 0, 0, 200, 0, GX_TEV_ADD, GX_TB_SUBHALF, GX_CS_SCALE_1, 72},
        // a and b read the low 8 bits of a register, d all of it.
        {"a of -1 reads 255", -1, 0, 0, 0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 255},
        {"negative d", 0, 100, -50, 255, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 50},
        {"clamped high", 0, 0, 300, 0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 255},
        {"clamped low", 0, 0, -20, 0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, 0},
    };
    for (const Arithmetic& e : cases) {
        EXPECT_EQ(Evaluate(e), e.expected) << e.what;
    }
}

// ---- Signed registers across stages ----

// Stage 0 leaves d + lerp(0, 255, one) unclamped in register 1; stage 1 shows register
// 1's low 8 bits through input a, which is how far it was limited to 11 bits.
u32 LowBitsAfterUnclampedStage(s16 d, GXTevOp op) {
    gxtest::Reset();
    GXSetNumTexGens(0);
    GXSetNumTevStages(2);
    GXSetTevColorS10(GX_TEVREG0, GXColorS10{d, d, d, 0});
    GXSetTevColor(GX_TEVREG2, GXColor{255, 255, 255, 255});
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_C2, GX_CC_ONE, GX_CC_C0);
    GXSetTevColorOp(GX_TEVSTAGE0, op, GX_TB_ZERO, GX_CS_SCALE_1, GX_FALSE, GX_TEVREG1);
    GXSetTevOrder(GX_TEVSTAGE1, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
    GXSetTevColorIn(GX_TEVSTAGE1, GX_CC_C1, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO);
    GXSetTevColorOp(GX_TEVSTAGE1, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    DrawRect(0, 0, 2, 2, 0xFFFFFFFF);
    return Red(ArgbAt(0, 0));
}

TEST(GXTevTest, UnclampedResultsStopAtElevenBits) {
    EXPECT_EQ(LowBitsAfterUnclampedStage(300, GX_TEV_ADD), 555u % 256) << "555 is kept";
    EXPECT_EQ(LowBitsAfterUnclampedStage(1000, GX_TEV_ADD), 1023u % 256) << "1255 stops at 1023";
    EXPECT_EQ(LowBitsAfterUnclampedStage(-1000, GX_TEV_SUB), 0u) << "-1255 stops at -1024";
    EXPECT_EQ(LowBitsAfterUnclampedStage(-100, GX_TEV_SUB), 157u) << "-355 is kept";
}

TEST(GXTevTest, SignedRegistersOffsetAGradient) {
    // Each patch: its register value plus the vertex gradient, unclamped, then halved
    // with half added and clamped: (register + gradient + 128) / 2.
    const s16 registers[] = {-1024, -300, -128, -1, 0, 127, 300, 1023};
    gxtest::Reset();
    GXSetNumTexGens(0);
    GXSetNumTevStages(2);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR0A0);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_RASC, GX_CC_ONE, GX_CC_C0);
    GXSetTevColorOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_FALSE, GX_TEVPREV);
    GXSetTevOrder(GX_TEVSTAGE1, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
    GXSetTevColorIn(GX_TEVSTAGE1, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_CPREV);
    GXSetTevColorOp(GX_TEVSTAGE1, GX_TEV_ADD, GX_TB_ADDHALF, GX_CS_DIVIDE_2, GX_TRUE, GX_TEVPREV);
    for (u32 i = 0; i < std::size(registers); ++i) {
        const s16 r = registers[i];
        GXSetTevColorS10(GX_TEVREG0,
                         GXColorS10{r, static_cast<s16>(-r), static_cast<s16>(r / 2), 0});
        const f32 left = 12.0f * i;
        gxtest::Draw(GX_QUADS, {{left, 0, 0, 0x000000FF, 0, 0},
                                {left + 12, 0, 0, 0xFF8040FF, 0, 0},
                                {left + 12, 24, 0, 0xFFFFFFFF, 0, 0},
                                {left, 24, 0, 0x4080FFFF, 0, 0}});
    }
    const TestImage patches = ReadFrameBuffer(0, 0, 96, 24);
    struct Uniform {
        GXColorS10 value;
        u32 vertex;   // 0xRRGGBBAA
        u32 expected; // 0xRRGGBB
    };
    const Uniform uniform[] = {
        // (-300 + 128) / 2 clamps to 0; (300 + 128) / 2 = 214.
        {{-300, 300, -150, 0}, 0x000000FF, 0x00D600},
        // 1023 + 255 stops at 1023 before halving; -1023 + 255 stays negative.
        {{1023, -1023, 511, 0}, 0xFFFFFFFF, 0xFF00FF},
        {{-1, 1, 0, 0}, 0x6432C8FF, 0x7159A4},
    };
    for (const Uniform& u : uniform) {
        GXSetTevColorS10(GX_TEVREG0, u.value);
        DrawRect(200, 0, 202, 2, u.vertex);
        EXPECT_EQ(ArgbAt(200, 0) & 0xFFFFFF, u.expected) << u.value.r;
    }
    EXPECT_TRUE(MatchesGolden(patches, "tev_signed_registers"));
}

// ---- Konst colours and swap tables ----

TEST(GXTevTest, KonstSelectionsPickFractionsColoursAndChannels) {
    struct Selection {
        GXTevKColorSel colour;
        GXTevKAlphaSel alpha;
    };
    const Selection selections[] = {
        {GX_TEV_KCSEL_1, GX_TEV_KASEL_1},       {GX_TEV_KCSEL_7_8, GX_TEV_KASEL_3_4},
        {GX_TEV_KCSEL_1_2, GX_TEV_KASEL_1_2},   {GX_TEV_KCSEL_1_8, GX_TEV_KASEL_1_8},
        {GX_TEV_KCSEL_K0, GX_TEV_KASEL_K0_A},   {GX_TEV_KCSEL_K1, GX_TEV_KASEL_K1_R},
        {GX_TEV_KCSEL_K2, GX_TEV_KASEL_K2_G},   {GX_TEV_KCSEL_K3, GX_TEV_KASEL_K3_B},
        {GX_TEV_KCSEL_K0_R, GX_TEV_KASEL_K3_A}, {GX_TEV_KCSEL_K1_G, GX_TEV_KASEL_K2_A},
        {GX_TEV_KCSEL_K2_B, GX_TEV_KASEL_K1_A}, {GX_TEV_KCSEL_K3_A, GX_TEV_KASEL_K0_R},
    };
    gxtest::Reset(0xFF204060);
    GXSetNumTexGens(0);
    GXSetTevKColor(GX_KCOLOR0, GXColor{250, 20, 90, 200});
    GXSetTevKColor(GX_KCOLOR1, GXColor{30, 240, 60, 100});
    GXSetTevKColor(GX_KCOLOR2, GXColor{120, 80, 220, 160});
    GXSetTevKColor(GX_KCOLOR3, GXColor{10, 130, 250, 40});
    // Konst colour times the vertex colour, over the background by konst alpha.
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_KONST, GX_CC_RASC, GX_CC_ZERO);
    GXSetTevAlphaIn(GX_TEVSTAGE0, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_KONST);
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_CLEAR);
    for (u32 i = 0; i < std::size(selections); ++i) {
        GXSetTevKColorSel(GX_TEVSTAGE0, selections[i].colour);
        GXSetTevKAlphaSel(GX_TEVSTAGE0, selections[i].alpha);
        const f32 left = 10.0f * i;
        gxtest::Draw(GX_QUADS, {{left, 0, 0, 0xFFFFFFFF, 0, 0},
                                {left + 10, 0, 0, 0xFFFFFFFF, 0, 0},
                                {left + 10, 16, 0, 0x808080FF, 0, 0},
                                {left, 16, 0, 0x303030FF, 0, 0}});
    }
    // Unblended checks at the white top edge: the konst colour itself.
    GXSetBlendMode(GX_BM_NONE, GX_BL_ONE, GX_BL_ZERO, GX_LO_CLEAR);
    const TestImage blended = ReadFrameBuffer(0, 0, 120, 16);
    struct Expected {
        u32 patch;
        u32 rgb;
    };
    const Expected expected[] = {
        {0, 0xFFFFFF}, {1, 0xE0E0E0}, {2, 0x808080}, {3, 0x202020},
        {4, 0xFA145A}, {7, 0x0A82FA}, {8, 0xFAFAFA}, {11, 0x282828},
    };
    for (const Expected& e : expected) {
        GXSetTevKColorSel(GX_TEVSTAGE0, selections[e.patch].colour);
        DrawRect(200, 0, 202, 2, 0xFFFFFFFF);
        EXPECT_EQ(ArgbAt(200, 0) & 0xFFFFFF, e.rgb) << "patch " << e.patch;
    }
    EXPECT_TRUE(MatchesGolden(blended, "tev_konst"));
}

TEST(GXTevTest, InitSelectsAQuarterAndFullAlphaForKonst) {
    gxtest::Reset();
    GXSetNumTexGens(0);
    GXSetPixelFmt(GX_PF_RGBA6_Z24, GX_ZC_LINEAR);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_KONST);
    GXSetTevAlphaIn(GX_TEVSTAGE0, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_KONST);
    DrawRect(0, 0, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(ArgbAt(0, 0), 0xFF414141u) << "64 as six bits, widened";
}

TEST(GXTevTest, SwapTablesReorderTexelAndRasterisedChannels) {
    const std::vector<u8> image = gxtest::TileRgba8(std::vector<u32>(16, 0x80C86432), 4, 4);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 4, 4, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    struct Case {
        const char* what;
        GXTevSwapSel rasterised, texture;
        GXTevColorChan table[4];
        u32 expected; // texel x vertex colour (10, 20, 30 and alpha 255, as swapped)
    };
    const Case cases[] = {
        {"defaults",
         GX_TEV_SWAP0,
         GX_TEV_SWAP0,
         {GX_CH_RED, GX_CH_GREEN, GX_CH_BLUE, GX_CH_ALPHA},
         0x080806},
        {"red everywhere",
         GX_TEV_SWAP0,
         GX_TEV_SWAP1,
         {GX_CH_RED, GX_CH_RED, GX_CH_RED, GX_CH_ALPHA},
         0x081017},
        {"alpha as blue",
         GX_TEV_SWAP0,
         GX_TEV_SWAP2,
         {GX_CH_RED, GX_CH_GREEN, GX_CH_ALPHA, GX_CH_ALPHA},
         0x08080F},
        {"rasterised reversed",
         GX_TEV_SWAP3,
         GX_TEV_SWAP0,
         {GX_CH_BLUE, GX_CH_GREEN, GX_CH_RED, GX_CH_ALPHA},
         0x170802},
    };
    for (const Case& c : cases) {
        gxtest::Reset();
        gxtest::UseTexture(texture, GX_MODULATE);
        const GXTevSwapSel custom = c.rasterised != GX_TEV_SWAP0 ? c.rasterised : c.texture;
        GXSetTevSwapModeTable(custom, c.table[0], c.table[1], c.table[2], c.table[3]);
        GXSetTevSwapMode(GX_TEVSTAGE0, c.rasterised, c.texture);
        DrawRect(0, 0, 2, 2, 0x0A141EFF);
        EXPECT_EQ(ArgbAt(0, 0) & 0xFFFFFF, c.expected) << c.what;
    }
}

TEST(GXTevTest, BadSettingsAreIgnored) {
    gxtest::Reset();
    GXSetNumTexGens(0);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_KONST);
    GXSetTevKColor(GX_KCOLOR0, GXColor{10, 20, 30, 40});
    GXSetTevKColorSel(GX_TEVSTAGE0, GX_TEV_KCSEL_K0);
    GXSetTevKColorSel(GX_TEVSTAGE0, static_cast<GXTevKColorSel>(0x09)); // not a selection
    GXSetTevKColor(static_cast<GXTevKColorID>(4), GXColor{99, 99, 99, 99});
    GXSetTevSwapMode(GX_TEVSTAGE0, GX_TEV_SWAP0, static_cast<GXTevSwapSel>(4));
    GXSetTevSwapModeTable(GX_TEV_SWAP0, GX_CH_RED, static_cast<GXTevColorChan>(4), GX_CH_BLUE,
                          GX_CH_ALPHA);
    GXSetTevColorS10(static_cast<GXTevRegID>(4), GXColorS10{1, 2, 3, 4});
    DrawRect(0, 0, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(ArgbAt(0, 0), 0xFF0A141Eu);
}

} // namespace
