// The 2-D scene the game spends its time on, drawn by our graphics processor and by
// pixman: bilinear-filtered RGBA8 sprites (64 x 64, magnified to 80, 96 and 112
// pixels), alpha-blended in three layers that each tile the 640 x 496 frame once, so
// every pixel is covered three times. GX draws them as the render layer does (texture
// colour x vertex colour, texture alpha, source-alpha blending, no depth test); pixman
// composites the same sprites, premultiplied, with OVER and its bilinear filter, edges
// padded as GX clamps them. After the run it prints both times per frame and their ratio.
#include <console/gx.h>
#include <console/mtx.h>

#include <benchmark/benchmark.h>

#include "support/comparison_main.h"
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr u32 kFrameWidth = 640;
constexpr u32 kFrameHeight = 496;
constexpr u32 kSpriteSize = 64;
constexpr u32 kSpriteKinds = 4;
constexpr u32 kLayerSizes[] = {96, 80, 112}; // on-screen size of each layer's sprites

struct Sprite {
    s32 x, y; // top-left corner in the frame
    u32 size; // on-screen width and height
    u32 kind; // which texture
};

// Every layer tiles the frame from a negative offset, so sprites straddle its edges.
std::vector<Sprite> MakeScene() {
    std::vector<Sprite> scene;
    for (u32 layer = 0; layer < std::size(kLayerSizes); ++layer) {
        const s32 size = static_cast<s32>(kLayerSizes[layer]);
        const s32 offset = -size / 3 * static_cast<s32>(layer + 1) / 2;
        for (s32 y = offset; y < static_cast<s32>(kFrameHeight); y += size) {
            for (s32 x = offset; x < static_cast<s32>(kFrameWidth); x += size) {
                scene.push_back({x, y, kLayerSizes[layer], static_cast<u32>(scene.size()) % 4});
            }
        }
    }
    return scene;
}

// A round sprite: colour gradients, opaque centre, soft edge, transparent corners.
// Row-major 0xAARRGGBB, straight (not premultiplied) alpha.
std::vector<u32> MakeSpriteImage(u32 kind) {
    std::vector<u32> argb(kSpriteSize * kSpriteSize);
    const f32 centre = (kSpriteSize - 1) / 2.0f;
    for (u32 y = 0; y < kSpriteSize; ++y) {
        for (u32 x = 0; x < kSpriteSize; ++x) {
            const f32 distance = std::hypot(x - centre, y - centre) / centre;
            const f32 coverage = std::fmin(std::fmax((1.05f - distance) * 4.0f, 0.0f), 1.0f);
            const u32 alpha = static_cast<u32>(coverage * 255.0f + 0.5f);
            const u32 r = (x * 4 + kind * 60) & 0xFF;
            const u32 g = (y * 4 + kind * 30) & 0xFF;
            const u32 b = ((x + y) * 2 + kind * 90) & 0xFF;
            argb[y * kSpriteSize + x] = alpha << 24 | r << 16 | g << 8 | b;
        }
    }
    return argb;
}

// The console's RGBA8 tiles: 4 x 4 texels, alpha-red pairs then green-blue pairs.
std::vector<u8> TileRgba8(const std::vector<u32>& argb) {
    constexpr u32 kTilesPerRow = kSpriteSize / 4;
    std::vector<u8> tiles(argb.size() * 4);
    for (u32 y = 0; y < kSpriteSize; ++y) {
        for (u32 x = 0; x < kSpriteSize; ++x) {
            u8* tile = &tiles[((y / 4) * kTilesPerRow + x / 4) * 64];
            const u32 at = ((y % 4) * 4 + x % 4) * 2;
            const u32 texel = argb[y * kSpriteSize + x];
            tile[at] = static_cast<u8>(texel >> 24);
            tile[at + 1] = static_cast<u8>(texel >> 16);
            tile[32 + at] = static_cast<u8>(texel >> 8);
            tile[33 + at] = static_cast<u8>(texel);
        }
    }
    return tiles;
}

std::vector<u32> Premultiply(const std::vector<u32>& argb) {
    std::vector<u32> out(argb.size());
    for (size_t i = 0; i < argb.size(); ++i) {
        const u32 a = argb[i] >> 24;
        u32 result = a << 24;
        for (u32 shift = 0; shift < 24; shift += 8) {
            result |= ((((argb[i] >> shift) & 0xFF) * a + 127) / 255) << shift;
        }
        out[i] = result;
    }
    return out;
}

void SetUpGX(const std::vector<std::vector<u8>>& images, std::vector<GXTexObj>& textures) {
    GXInit(nullptr, 0);
    GXSetViewport(0, 0, kFrameWidth, kFrameHeight, 0, 1);
    GXSetScissor(0, 0, kFrameWidth, kFrameHeight);
    Mtx44 projection;
    MTXOrtho(projection, 0, kFrameHeight, 0, kFrameWidth, 0, 1);
    GXSetProjection(projection, GX_ORTHOGRAPHIC);
    Mtx identity;
    MTXIdentity(identity);
    GXLoadPosMtxImm(identity, GX_PNMTX0);
    GXSetCullMode(GX_CULL_NONE);
    GXSetZMode(GX_FALSE, GX_LEQUAL, GX_FALSE);
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    GXSetNumChans(1);
    GXSetNumTexGens(1);
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetNumTevStages(1);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP0, GX_COLOR0A0);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO);
    GXSetTevColorOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXSetTevAlphaIn(GX_TEVSTAGE0, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA);
    GXSetTevAlphaOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
    GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_POS, GX_POS_XYZ, GX_F32, 0);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_CLR0, GX_CLR_RGBA, GX_RGBA8, 0);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_TEX0, GX_TEX_ST, GX_F32, 0);
    textures.resize(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        GXInitTexObj(&textures[i], images[i].data(), kSpriteSize, kSpriteSize, GX_TF_RGBA8,
                     GX_CLAMP, GX_CLAMP, GX_FALSE);
        GXInitTexObjLOD(&textures[i], GX_LINEAR, GX_LINEAR, 0, 0, 0, GX_FALSE, GX_FALSE,
                        GX_ANISO_1);
    }
}

void DrawSpriteGX(const Sprite& sprite) {
    const f32 left = static_cast<f32>(sprite.x);
    const f32 top = static_cast<f32>(sprite.y);
    const f32 right = left + static_cast<f32>(sprite.size);
    const f32 bottom = top + static_cast<f32>(sprite.size);
    const f32 corners[4][4] = {
        {left, top, 0, 0}, {right, top, 1, 0}, {right, bottom, 1, 1}, {left, bottom, 0, 1}};
    GXBegin(GX_QUADS, GX_VTXFMT0, 4);
    for (const auto& corner : corners) {
        GXPosition3f32(corner[0], corner[1], 0.0f);
        GXColor1u32(0xFFFFFFFF);
        GXTexCoord2f32(corner[2], corner[3]);
    }
    GXEnd();
}

void BM_SceneGX(benchmark::State& state) {
    std::vector<std::vector<u8>> images;
    for (u32 kind = 0; kind < kSpriteKinds; ++kind) {
        images.push_back(TileRgba8(MakeSpriteImage(kind)));
    }
    std::vector<GXTexObj> textures;
    SetUpGX(images, textures);
    const std::vector<Sprite> scene = MakeScene();
    for (auto _ : state) {
        for (const Sprite& sprite : scene) {
            GXLoadTexObj(&textures[sprite.kind], GX_TEXMAP0);
            DrawSpriteGX(sprite);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kFrameWidth * kFrameHeight * 3);
}
BENCHMARK(BM_SceneGX)->Unit(benchmark::kMillisecond);

void BM_ScenePixman(benchmark::State& state) {
    std::vector<std::vector<u32>> pixels;
    std::vector<pixman_image_t*> sprites;
    for (u32 kind = 0; kind < kSpriteKinds; ++kind) {
        pixels.push_back(Premultiply(MakeSpriteImage(kind)));
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_a8r8g8b8, kSpriteSize, kSpriteSize,
                                                         pixels.back().data(), kSpriteSize * 4);
        pixman_image_set_filter(image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(image, PIXMAN_REPEAT_PAD);
        sprites.push_back(image);
    }
    std::vector<u32> frame(kFrameWidth * kFrameHeight, 0xFF000000);
    pixman_image_t* destination = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, kFrameWidth, kFrameHeight, frame.data(), kFrameWidth * 4);
    const std::vector<Sprite> scene = MakeScene();
    for (auto _ : state) {
        for (const Sprite& sprite : scene) {
            pixman_image_t* source = sprites[sprite.kind];
            pixman_transform_t transform;
            const pixman_fixed_t scale =
                pixman_double_to_fixed(static_cast<double>(kSpriteSize) / sprite.size);
            pixman_transform_init_scale(&transform, scale, scale);
            pixman_image_set_transform(source, &transform);
            pixman_image_composite32(PIXMAN_OP_OVER, source, nullptr, destination, 0, 0, 0, 0,
                                     sprite.x, sprite.y, static_cast<s32>(sprite.size),
                                     static_cast<s32>(sprite.size));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kFrameWidth * kFrameHeight * 3);
    pixman_image_unref(destination);
    for (pixman_image_t* image : sprites) {
        pixman_image_unref(image);
    }
}
BENCHMARK(BM_ScenePixman)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparison(
        argc, argv, {"scene per frame", "BM_SceneGX", "GX", "BM_ScenePixman", "pixman"});
}
