// Graphics processor: render modes, the embedded frame buffer and its copies, and a
// software drawing pipeline (vertices, transform, clipping, textures, texture
// environment, pixel operations) that renders into it. Main thread only.
#pragma once

#include <vector>

#include <console/types.h>
#include <console/vi.h>

using GXBool = u8;
constexpr GXBool GX_TRUE = 1;
constexpr GXBool GX_FALSE = 0;
constexpr GXBool GX_ENABLE = 1;
constexpr GXBool GX_DISABLE = 0;

struct GXColor {
    u8 r, g, b, a;
};

struct GXRenderModeObj {
    VITVMode viTVmode;
    u16 fbWidth;
    u16 efbHeight;
    u16 xfbHeight;
    u16 viXOrigin;
    u16 viYOrigin;
    u16 viWidth;
    u16 viHeight;
    VIXFBMode xFBmode;
    u8 field_rendering;
    u8 aa;
    u8 sample_pattern[12][2];
    u8 vfilter[7];
};

extern GXRenderModeObj GXNtsc480IntDf;
extern GXRenderModeObj GXPal528IntDf;

enum GXPixelFmt : u32 {
    GX_PF_RGB8_Z24 = 0,
    GX_PF_RGBA6_Z24 = 1,
    GX_PF_RGB565_Z16 = 2,
};

enum GXZFmt16 : u32 {
    GX_ZC_LINEAR = 0,
};

enum GXCompare : u32 {
    GX_NEVER = 0,
    GX_LESS = 1,
    GX_EQUAL = 2,
    GX_LEQUAL = 3,
    GX_GREATER = 4,
    GX_NEQUAL = 5,
    GX_GEQUAL = 6,
    GX_ALWAYS = 7,
};

enum GXGamma : u32 {
    GX_GM_1_0 = 0,
    GX_GM_1_7 = 1,
    GX_GM_2_2 = 2,
};

struct GXFifoObj {
    void* base;
    u32 size;
};

GXFifoObj* GXInit(void* base, u32 size);
GXFifoObj* GXGetCPUFifo();
void* GXGetFifoBase(const GXFifoObj* fifo);
u32 GXGetFifoSize(const GXFifoObj* fifo);
void GXAbortFrame();
void GXDrawDone();

void GXAdjustForOverscan(const GXRenderModeObj* in, GXRenderModeObj* out, u16 horizontal,
                         u16 vertical);

void GXSetViewport(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ);
void GXSetViewportJitter(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ, u32 field);
void GXSetScissor(u32 left, u32 top, u32 width, u32 height);

f32 GXGetYScaleFactor(u16 efbHeight, u16 xfbHeight);
// Returns the number of external frame buffer lines a copy of the source produces.
u32 GXSetDispCopyYScale(f32 scale);
// A rectangle that leaves the 640 x 528 embedded frame buffer is reported and clipped.
void GXSetDispCopySrc(u16 left, u16 top, u16 width, u16 height);
void GXSetDispCopyDst(u16 width, u16 height);
void GXSetCopyFilter(GXBool antiAlias, const u8 samplePattern[12][2], GXBool verticalFilter,
                     const u8 filter[7]);
void GXSetDispCopyGamma(GXGamma gamma);
void GXSetPixelFmt(GXPixelFmt pixelFormat, GXZFmt16 depthFormat);
void GXSetCopyClear(GXColor clearColor, u32 clearZ);
// Converts the copy source of the embedded frame buffer into the external frame buffer
// at destination (YUV 4:2:2, rows of dstWidth * 2 bytes, at most dstHeight of them,
// scaled to the lines GXSetDispCopyYScale returned), then clears the source rectangle
// to the copy clear colour and depth when asked.
void GXCopyDisp(void* destination, GXBool clear);

// With compare off, depth is neither tested nor written.
void GXSetZMode(GXBool compareEnable, GXCompare function, GXBool updateEnable);
void GXSetColorUpdate(GXBool updateEnable);
void GXInvalidateVtxCache();
void GXInvalidateTexAll();

// ---- Drawing: geometry, transform, textures, texture environment, pixel operations ----
// Everything below draws into the embedded frame buffer at once (there is no command
// queue): GXEnd rasterises the primitive that GXBegin opened. Values of the enumerations
// are the console's own. Bad arguments are reported through OSReport and ignored.

enum GXPrimitive : u32 {
    GX_QUADS = 0x80,
    GX_TRIANGLES = 0x90,
    GX_TRIANGLESTRIP = 0x98,
    GX_TRIANGLEFAN = 0xA0,
    GX_LINES = 0xA8,
    GX_LINESTRIP = 0xB0,
    GX_POINTS = 0xB8,
};

enum GXVtxFmt : u32 {
    GX_VTXFMT0 = 0,
    GX_VTXFMT1,
    GX_VTXFMT2,
    GX_VTXFMT3,
    GX_VTXFMT4,
    GX_VTXFMT5,
    GX_VTXFMT6,
    GX_VTXFMT7,
    GX_MAX_VTXFMT,
};

enum GXAttr : u32 {
    GX_VA_PNMTXIDX = 0,
    GX_VA_POS = 9,
    GX_VA_NRM = 10,
    GX_VA_CLR0 = 11,
    GX_VA_CLR1 = 12,
    GX_VA_TEX0 = 13,
    GX_VA_TEX1,
    GX_VA_TEX2,
    GX_VA_TEX3,
    GX_VA_TEX4,
    GX_VA_TEX5,
    GX_VA_TEX6,
    GX_VA_TEX7,
    GX_VA_MAX_ATTR = 26,
    GX_VA_NULL = 0xFF,
};

enum GXAttrType : u32 {
    GX_NONE = 0,
    GX_DIRECT = 1,
    GX_INDEX8 = 2,
    GX_INDEX16 = 3,
};

// Component counts; the meaning depends on the attribute.
enum GXCompCnt : u32 {
    GX_POS_XY = 0,
    GX_POS_XYZ = 1,
    GX_NRM_XYZ = 0,
    GX_CLR_RGB = 0,
    GX_CLR_RGBA = 1,
    GX_TEX_S = 0,
    GX_TEX_ST = 1,
};

// Component types; positions, normals and texture coordinates use the first five,
// colours the rest.
enum GXCompType : u32 {
    GX_U8 = 0,
    GX_S8 = 1,
    GX_U16 = 2,
    GX_S16 = 3,
    GX_F32 = 4,
    GX_RGB565 = 0,
    GX_RGB8 = 1,
    GX_RGBX8 = 2,
    GX_RGBA4 = 3,
    GX_RGBA6 = 4,
    GX_RGBA8 = 5,
};

void GXClearVtxDesc();
void GXSetVtxDesc(GXAttr attribute, GXAttrType type);
// fraction: fixed-point bits of integer components (0 to 31).
void GXSetVtxAttrFmt(GXVtxFmt format, GXAttr attribute, GXCompCnt count, GXCompType type,
                     u8 fraction);
// The array an indexed attribute reads: element i starts at base + i * stride, its
// components in the host's byte order as the program stored them (a GX_RGBA8 colour
// is the 32-bit word 0xRRGGBBAA, a GX_RGB565 colour a 16-bit word). Indices are not
// checked against the array: the memory must hold every element the primitive names
// until GXEnd has drawn it.
void GXSetArray(GXAttr attribute, const void* base, u8 stride);

// Opens a primitive of vertexCount vertices in the given vertex format; the vertices
// follow as write calls, attribute by attribute in the order of GXAttr, each written as
// the vertex description says (direct value or index). Lines are one pixel wide;
// points are not drawn. GXEnd ends the primitive.
void GXBegin(GXPrimitive primitive, GXVtxFmt format, u16 vertexCount);
void GXEnd();
void GXPosition3f32(f32 x, f32 y, f32 z);
void GXPosition2f32(f32 x, f32 y);
void GXPosition3s16(s16 x, s16 y, s16 z);
void GXPosition1x16(u16 index);
void GXNormal3f32(f32 x, f32 y, f32 z);
void GXNormal1x16(u16 index);
void GXColor1u32(u32 rgba); // 0xRRGGBBAA
void GXColor1x16(u16 index);
void GXTexCoord2f32(f32 s, f32 t);
void GXTexCoord2u16(u16 s, u16 t);
void GXTexCoord1x16(u16 index);

enum GXProjectionType : u32 {
    GX_PERSPECTIVE = 0,
    GX_ORTHOGRAPHIC = 1,
};

// Position-normal matrix slots.
enum GXPosNrmMtx : u32 {
    GX_PNMTX0 = 0,
    GX_PNMTX1 = 3,
    GX_PNMTX2 = 6,
    GX_PNMTX3 = 9,
    GX_PNMTX4 = 12,
    GX_PNMTX5 = 15,
    GX_PNMTX6 = 18,
    GX_PNMTX7 = 21,
    GX_PNMTX8 = 24,
    GX_PNMTX9 = 27,
};

// Column-vector matrices (p' = M p). The projection is read as the console reads it:
// perspective uses m[0][0], m[0][2], m[1][1], m[1][2], m[2][2], m[2][3] (w = -z);
// orthographic uses m[0][0], m[0][3], m[1][1], m[1][3], m[2][2], m[2][3] (w = 1).
// The other elements are ignored.
void GXSetProjection(const f32 matrix[4][4], GXProjectionType type);
// A 3 x 4 row-major position matrix into one of the slots above.
void GXLoadPosMtxImm(const f32 matrix[3][4], u32 slot);
void GXSetCurrentMtx(u32 slot);

enum GXCullMode : u32 {
    GX_CULL_NONE = 0,
    GX_CULL_FRONT = 1,
    GX_CULL_BACK = 2,
    GX_CULL_ALL = 3,
};
// Front faces are those whose vertices run clockwise on the screen.
void GXSetCullMode(GXCullMode mode);

enum GXChannelID : u32 {
    GX_COLOR0 = 0,
    GX_COLOR1 = 1,
    GX_ALPHA0 = 2,
    GX_ALPHA1 = 3,
    GX_COLOR0A0 = 4,
    GX_COLOR1A1 = 5,
    GX_COLOR_ZERO = 6,
    GX_COLOR_NULL = 0xFF,
};

enum GXColorSrc : u32 {
    GX_SRC_REG = 0,
    GX_SRC_VTX = 1,
};

enum GXDiffuseFn : u32 {
    GX_DF_NONE = 0,
    GX_DF_SIGN = 1,
    GX_DF_CLAMP = 2,
};

enum GXAttnFn : u32 {
    GX_AF_SPEC = 0,
    GX_AF_SPOT = 1,
    GX_AF_NONE = 2,
};

constexpr u32 GX_LIGHT_NULL = 0;

void GXSetNumChans(u8 count);
// Lighting is not modelled: an enabled channel is reported and drawn as unlit. The
// channel's colour comes from the vertex (GX_SRC_VTX) or from white (GX_SRC_REG).
void GXSetChanCtrl(GXChannelID channel, GXBool lightingEnable, GXColorSrc ambientSource,
                   GXColorSrc materialSource, u32 lightMask, GXDiffuseFn diffuse,
                   GXAttnFn attenuation);

enum GXTexCoordID : u32 {
    GX_TEXCOORD0 = 0,
    GX_TEXCOORD1,
    GX_TEXCOORD2,
    GX_TEXCOORD3,
    GX_TEXCOORD4,
    GX_TEXCOORD5,
    GX_TEXCOORD6,
    GX_TEXCOORD7,
    GX_MAX_TEXCOORD,
    GX_TEXCOORD_NULL = 0xFF,
};

enum GXTexGenType : u32 {
    GX_TG_MTX3x4 = 0,
    GX_TG_MTX2x4 = 1,
};

enum GXTexGenSrc : u32 {
    GX_TG_POS = 0,
    GX_TG_NRM = 1,
    GX_TG_TEX0 = 4,
    GX_TG_TEX1,
    GX_TG_TEX2,
    GX_TG_TEX3,
    GX_TG_TEX4,
    GX_TG_TEX5,
    GX_TG_TEX6,
    GX_TG_TEX7,
};

constexpr u32 GX_IDENTITY = 60;    // texture matrix slot that holds the identity
constexpr u32 GX_PTIDENTITY = 125; // post-transform matrix slot that holds the identity

void GXSetNumTexGens(u8 count);
// Only texture coordinates passed through (GX_TG_TEXn with the identity matrices) are
// generated; other generations are reported and pass the coordinate through.
void GXSetTexCoordGen2(GXTexCoordID coordinate, GXTexGenType function, GXTexGenSrc source,
                       u32 matrix, GXBool normalise, u32 postMatrix);

enum GXTexFmt : u32 {
    GX_TF_I4 = 0,
    GX_TF_I8 = 1,
    GX_TF_IA4 = 2,
    GX_TF_IA8 = 3,
    GX_TF_RGB565 = 4,
    GX_TF_RGB5A3 = 5,
    GX_TF_RGBA8 = 6,
    GX_TF_CMPR = 14,
};

enum GXCITexFmt : u32 {
    GX_TF_C4 = 8,
    GX_TF_C8 = 9,
    GX_TF_C14X2 = 10,
};

enum GXTexWrapMode : u32 {
    GX_CLAMP = 0,
    GX_REPEAT = 1,
    GX_MIRROR = 2,
};

enum GXTexFilter : u32 {
    GX_NEAR = 0,
    GX_LINEAR = 1,
    GX_NEAR_MIP_NEAR = 2,
    GX_LIN_MIP_NEAR = 3,
    GX_NEAR_MIP_LIN = 4,
    GX_LIN_MIP_LIN = 5,
};

enum GXAnisotropy : u32 {
    GX_ANISO_1 = 0,
    GX_ANISO_2 = 1,
    GX_ANISO_4 = 2,
};

enum GXTexMapID : u32 {
    GX_TEXMAP0 = 0,
    GX_TEXMAP1,
    GX_TEXMAP2,
    GX_TEXMAP3,
    GX_TEXMAP4,
    GX_TEXMAP5,
    GX_TEXMAP6,
    GX_TEXMAP7,
    GX_MAX_TEXMAP,
    GX_TEXMAP_NULL = 0xFF,
};

enum GXTlutFmt : u32 {
    GX_TL_IA8 = 0,
    GX_TL_RGB565 = 1,
    GX_TL_RGB5A3 = 2,
};

enum GXTlut : u32 {
    GX_TLUT0 = 0,
    GX_TLUT1,
    GX_TLUT2,
    GX_TLUT3,
    GX_TLUT4,
    GX_TLUT5,
    GX_TLUT6,
    GX_TLUT7,
    GX_TLUT8,
    GX_TLUT9,
    GX_TLUT10,
    GX_TLUT11,
    GX_TLUT12,
    GX_TLUT13,
    GX_TLUT14,
    GX_TLUT15,
};

// A texture as GXInitTexObj describes it. The image stays the caller's: it is read in
// place, in the console's tile order and byte order, whenever a primitive samples it.
struct GXTexObj {
    const void* image;
    u16 width;
    u16 height;
    u32 format; // GXTexFmt or GXCITexFmt
    GXTexWrapMode wrapS;
    GXTexWrapMode wrapT;
    GXTexFilter minFilter;
    GXTexFilter magFilter;
    u32 tlut; // palette slot of colour-indexed formats
};

// A palette: entryCount 16-bit entries, big-endian, in the caller's memory.
struct GXTlutObj {
    const void* table;
    GXTlutFmt format;
    u16 entryCount;
};

void GXInitTexObj(GXTexObj* texture, const void* image, u16 width, u16 height, GXTexFmt format,
                  GXTexWrapMode wrapS, GXTexWrapMode wrapT, GXBool mipmap);
void GXInitTexObjCI(GXTexObj* texture, const void* image, u16 width, u16 height, GXCITexFmt format,
                    GXTexWrapMode wrapS, GXTexWrapMode wrapT, GXBool mipmap, u32 tlut);
// Mipmapping is not modelled: the level-of-detail range, bias and anisotropy are
// accepted, and a mipmap filter samples level 0 as its base filter does.
void GXInitTexObjLOD(GXTexObj* texture, GXTexFilter minFilter, GXTexFilter magFilter, f32 minLod,
                     f32 maxLod, f32 lodBias, GXBool biasClamp, GXBool edgeLod,
                     GXAnisotropy maxAnisotropy);
void GXInitTlutObj(GXTlutObj* tlut, const void* table, GXTlutFmt format, u16 entryCount);
void GXLoadTexObj(const GXTexObj* texture, GXTexMapID map);
// Copies the palette into the slot, as the console copies it into texture memory: a
// palette changed in memory afterwards needs loading again.
void GXLoadTlut(const GXTlutObj* tlut, u32 slot);

enum GXTevStageID : u32 {
    GX_TEVSTAGE0 = 0,
    GX_TEVSTAGE1,
    GX_TEVSTAGE2,
    GX_TEVSTAGE3,
    GX_TEVSTAGE4,
    GX_TEVSTAGE5,
    GX_TEVSTAGE6,
    GX_TEVSTAGE7,
    GX_TEVSTAGE8,
    GX_TEVSTAGE9,
    GX_TEVSTAGE10,
    GX_TEVSTAGE11,
    GX_TEVSTAGE12,
    GX_TEVSTAGE13,
    GX_TEVSTAGE14,
    GX_TEVSTAGE15,
    GX_MAX_TEVSTAGE,
};

enum GXTevMode : u32 {
    GX_MODULATE = 0,
    GX_DECAL = 1,
    GX_BLEND = 2,
    GX_REPLACE = 3,
    GX_PASSCLR = 4,
};

enum GXTevColorArg : u32 {
    GX_CC_CPREV = 0,
    GX_CC_APREV = 1,
    GX_CC_C0 = 2,
    GX_CC_A0 = 3,
    GX_CC_C1 = 4,
    GX_CC_A1 = 5,
    GX_CC_C2 = 6,
    GX_CC_A2 = 7,
    GX_CC_TEXC = 8,
    GX_CC_TEXA = 9,
    GX_CC_RASC = 10,
    GX_CC_RASA = 11,
    GX_CC_ONE = 12,
    GX_CC_HALF = 13,
    GX_CC_KONST = 14,
    GX_CC_ZERO = 15,
};

enum GXTevAlphaArg : u32 {
    GX_CA_APREV = 0,
    GX_CA_A0 = 1,
    GX_CA_A1 = 2,
    GX_CA_A2 = 3,
    GX_CA_TEXA = 4,
    GX_CA_RASA = 5,
    GX_CA_KONST = 6,
    GX_CA_ZERO = 7,
};

enum GXTevOp : u32 {
    GX_TEV_ADD = 0,
    GX_TEV_SUB = 1,
};

enum GXTevBias : u32 {
    GX_TB_ZERO = 0,
    GX_TB_ADDHALF = 1,
    GX_TB_SUBHALF = 2,
};

enum GXTevScale : u32 {
    GX_CS_SCALE_1 = 0,
    GX_CS_SCALE_2 = 1,
    GX_CS_SCALE_4 = 2,
    GX_CS_DIVIDE_2 = 3,
};

enum GXTevRegID : u32 {
    GX_TEVPREV = 0,
    GX_TEVREG0 = 1,
    GX_TEVREG1 = 2,
    GX_TEVREG2 = 3,
};

// Konst colours and, per stage, what GX_CC_KONST and GX_CA_KONST read: a fraction of
// one (GX_TEV_KCSEL_1 = 255 down to 1/8 = 32), a konst colour, or one of its channels.
enum GXTevKColorID : u32 {
    GX_KCOLOR0 = 0,
    GX_KCOLOR1,
    GX_KCOLOR2,
    GX_KCOLOR3,
    GX_MAX_KCOLOR,
};

enum GXTevKColorSel : u32 {
    GX_TEV_KCSEL_1 = 0x00,
    GX_TEV_KCSEL_7_8 = 0x01,
    GX_TEV_KCSEL_3_4 = 0x02,
    GX_TEV_KCSEL_5_8 = 0x03,
    GX_TEV_KCSEL_1_2 = 0x04,
    GX_TEV_KCSEL_3_8 = 0x05,
    GX_TEV_KCSEL_1_4 = 0x06,
    GX_TEV_KCSEL_1_8 = 0x07,
    GX_TEV_KCSEL_K0 = 0x0C,
    GX_TEV_KCSEL_K1 = 0x0D,
    GX_TEV_KCSEL_K2 = 0x0E,
    GX_TEV_KCSEL_K3 = 0x0F,
    GX_TEV_KCSEL_K0_R = 0x10,
    GX_TEV_KCSEL_K1_R = 0x11,
    GX_TEV_KCSEL_K2_R = 0x12,
    GX_TEV_KCSEL_K3_R = 0x13,
    GX_TEV_KCSEL_K0_G = 0x14,
    GX_TEV_KCSEL_K1_G = 0x15,
    GX_TEV_KCSEL_K2_G = 0x16,
    GX_TEV_KCSEL_K3_G = 0x17,
    GX_TEV_KCSEL_K0_B = 0x18,
    GX_TEV_KCSEL_K1_B = 0x19,
    GX_TEV_KCSEL_K2_B = 0x1A,
    GX_TEV_KCSEL_K3_B = 0x1B,
    GX_TEV_KCSEL_K0_A = 0x1C,
    GX_TEV_KCSEL_K1_A = 0x1D,
    GX_TEV_KCSEL_K2_A = 0x1E,
    GX_TEV_KCSEL_K3_A = 0x1F,
};

enum GXTevKAlphaSel : u32 {
    GX_TEV_KASEL_1 = 0x00,
    GX_TEV_KASEL_7_8 = 0x01,
    GX_TEV_KASEL_3_4 = 0x02,
    GX_TEV_KASEL_5_8 = 0x03,
    GX_TEV_KASEL_1_2 = 0x04,
    GX_TEV_KASEL_3_8 = 0x05,
    GX_TEV_KASEL_1_4 = 0x06,
    GX_TEV_KASEL_1_8 = 0x07,
    GX_TEV_KASEL_K0_R = 0x10,
    GX_TEV_KASEL_K1_R = 0x11,
    GX_TEV_KASEL_K2_R = 0x12,
    GX_TEV_KASEL_K3_R = 0x13,
    GX_TEV_KASEL_K0_G = 0x14,
    GX_TEV_KASEL_K1_G = 0x15,
    GX_TEV_KASEL_K2_G = 0x16,
    GX_TEV_KASEL_K3_G = 0x17,
    GX_TEV_KASEL_K0_B = 0x18,
    GX_TEV_KASEL_K1_B = 0x19,
    GX_TEV_KASEL_K2_B = 0x1A,
    GX_TEV_KASEL_K3_B = 0x1B,
    GX_TEV_KASEL_K0_A = 0x1C,
    GX_TEV_KASEL_K1_A = 0x1D,
    GX_TEV_KASEL_K2_A = 0x1E,
    GX_TEV_KASEL_K3_A = 0x1F,
};

// Swap tables reorder the channels of a stage's rasterised colour and texel before the
// stage reads them; each stage picks one table for each.
enum GXTevSwapSel : u32 {
    GX_TEV_SWAP0 = 0,
    GX_TEV_SWAP1,
    GX_TEV_SWAP2,
    GX_TEV_SWAP3,
    GX_MAX_TEVSWAP,
};

enum GXTevColorChan : u32 {
    GX_CH_RED = 0,
    GX_CH_GREEN = 1,
    GX_CH_BLUE = 2,
    GX_CH_ALPHA = 3,
};

// A register value as the combiner holds it: signed, -1024 to 1023 (values outside are
// limited to that range).
struct GXColorS10 {
    s16 r, g, b, a;
};

void GXSetNumTevStages(u8 count);
void GXSetTevOrder(GXTevStageID stage, GXTexCoordID coordinate, GXTexMapID map,
                   GXChannelID channel);
// Sets a stage's colour and alpha inputs and operations to one of the standard modes.
void GXSetTevOp(GXTevStageID stage, GXTevMode mode);
// Each stage computes d + ((1 - c) * a + c * b) (or d minus that), plus the bias, times
// the scale (halving rounds down), into the output register: clamped to 0..255 when
// asked, else kept as a signed 11-bit value. a, b and c read the low 8 bits of their
// input, c = 255 counting as one; d reads all 11. The product is rounded to the nearest
// integer, halves away from zero, after scaling. The pixel takes the last stage's
// result, limited to 0..255.
void GXSetTevColorIn(GXTevStageID stage, GXTevColorArg a, GXTevColorArg b, GXTevColorArg c,
                     GXTevColorArg d);
void GXSetTevAlphaIn(GXTevStageID stage, GXTevAlphaArg a, GXTevAlphaArg b, GXTevAlphaArg c,
                     GXTevAlphaArg d);
void GXSetTevColorOp(GXTevStageID stage, GXTevOp op, GXTevBias bias, GXTevScale scale, GXBool clamp,
                     GXTevRegID output);
void GXSetTevAlphaOp(GXTevStageID stage, GXTevOp op, GXTevBias bias, GXTevScale scale, GXBool clamp,
                     GXTevRegID output);
// The value every pixel's registers start with (GX_TEVPREV too); GXInit sets them to 0.
void GXSetTevColor(GXTevRegID id, GXColor color);
void GXSetTevColorS10(GXTevRegID id, GXColorS10 color);
// GXInit: konst colours 0, stages read GX_TEV_KCSEL_1_4 and GX_TEV_KASEL_1.
void GXSetTevKColor(GXTevKColorID id, GXColor color);
void GXSetTevKColorSel(GXTevStageID stage, GXTevKColorSel selection);
void GXSetTevKAlphaSel(GXTevStageID stage, GXTevKAlphaSel selection);
// GXInit: every stage uses table 0 for both; tables 0 to 3 are RGBA, RRRA, GGGA, BBBA.
void GXSetTevSwapMode(GXTevStageID stage, GXTevSwapSel rasterised, GXTevSwapSel texture);
void GXSetTevSwapModeTable(GXTevSwapSel table, GXTevColorChan red, GXTevColorChan green,
                           GXTevColorChan blue, GXTevColorChan alpha);

enum GXAlphaOp : u32 {
    GX_AOP_AND = 0,
    GX_AOP_OR = 1,
    GX_AOP_XOR = 2,
    GX_AOP_XNOR = 3,
};

// A pixel survives when (alpha comp0 ref0) op (alpha comp1 ref1) holds.
void GXSetAlphaCompare(GXCompare comp0, u8 ref0, GXAlphaOp op, GXCompare comp1, u8 ref1);

enum GXBlendMode : u32 {
    GX_BM_NONE = 0,
    GX_BM_BLEND = 1,
    GX_BM_LOGIC = 2,
    GX_BM_SUBTRACT = 3,
};

enum GXBlendFactor : u32 {
    GX_BL_ZERO = 0,
    GX_BL_ONE = 1,
    GX_BL_SRCCLR = 2,
    GX_BL_INVSRCCLR = 3,
    GX_BL_SRCALPHA = 4,
    GX_BL_INVSRCALPHA = 5,
    GX_BL_DSTALPHA = 6,
    GX_BL_INVDSTALPHA = 7,
    GX_BL_DSTCLR = GX_BL_SRCCLR,
    GX_BL_INVDSTCLR = GX_BL_INVSRCCLR,
};

enum GXLogicOp : u32 {
    GX_LO_CLEAR = 0,
    GX_LO_AND = 1,
    GX_LO_REVAND = 2,
    GX_LO_COPY = 3,
    GX_LO_INVAND = 4,
    GX_LO_NOOP = 5,
    GX_LO_XOR = 6,
    GX_LO_OR = 7,
    GX_LO_NOR = 8,
    GX_LO_EQUIV = 9,
    GX_LO_INV = 10,
    GX_LO_REVOR = 11,
    GX_LO_INVCOPY = 12,
    GX_LO_INVOR = 13,
    GX_LO_NAND = 14,
    GX_LO_SET = 15,
};

// GX_BM_BLEND: source * srcFactor + destination * dstFactor, alpha included; the colour
// factors name the other side (GX_BL_SRCCLR as srcFactor is the destination's colour,
// hence its alias GX_BL_DSTCLR). GX_BM_SUBTRACT: destination - source. GX_BM_LOGIC: the
// logic operation on the colour bits.
void GXSetBlendMode(GXBlendMode mode, GXBlendFactor srcFactor, GXBlendFactor dstFactor,
                    GXLogicOp logicOp);
void GXSetAlphaUpdate(GXBool updateEnable);

// Copies the texture copy source of the embedded frame buffer to destination as a
// tiled GX_TF_RGBA8 texture (the only copy format drawn), then clears the source to the
// copy clear colour and depth when asked. The destination must hold
// ceil(width / 4) * ceil(height / 4) * 64 bytes.
void GXSetTexCopySrc(u16 left, u16 top, u16 width, u16 height);
void GXSetTexCopyDst(u16 width, u16 height, GXTexFmt format, GXBool mipmap);
void GXCopyTex(void* destination, GXBool clear);
void GXPixModeSync();

enum GXMiscToken : u32 {
    GX_MT_XF_FLUSH = 1,
    GX_MT_DL_SAVE_CONTEXT = 2,
};
constexpr u32 GX_XF_FLUSH_NONE = 0;
constexpr u32 GX_XF_FLUSH_SAFE = 8;
void GXSetMisc(GXMiscToken token, u32 value);

// State the engine set, for tests.
struct GXViewportState {
    f32 left, top, width, height, nearZ, farZ;
};
struct GXCopyState {
    u16 srcLeft, srcTop, srcWidth, srcHeight;
    u16 dstWidth, dstHeight;
    u32 yScale; // 8.8 fixed-point inverse scale, as the copy hardware takes it
    GXPixelFmt pixelFormat;
    GXColor clearColor;
    u32 clearZ;
};
const GXViewportState& GXGetViewportState();
const GXCopyState& GXGetCopyState();
// The pixel format, pixel operations (alpha compare, depth, blending, colour and alpha
// updates), texture environment and viewport the setters last programmed, as bytes, for
// tests that compare the state a caller leaves behind.
std::vector<u8> GXDrawingStateForTest();

// The embedded frame buffer (640 x 528), read and written directly by tests: colour as
// 0xAARRGGBB as the pixel format stores it, depth in the low 24 bits. Reads outside
// the buffer give 0; writes outside it are dropped.
u32 GXReadEFBColorForTest(u32 x, u32 y);
// Spans drawn so far by the 2-D sprite loop rather than the per-pixel ones.
u64 GXSpriteSpanCountForTest();
u32 GXReadEFBDepthForTest(u32 x, u32 y);
void GXPokeEFBColorForTest(u32 x, u32 y, GXColor color);
void GXPokeEFBDepthForTest(u32 x, u32 y, u32 depth);
