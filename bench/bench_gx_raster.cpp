// The software graphics processor's drawing speed: 2,000 textured 32 x 32 sprites a
// frame as the render layer's 2-D batch draws them (indexed vertices, texture times
// vertex colour, source-alpha blending, 1,000 quads a primitive), full-screen fills
// plain, textured and blended, and perspective-textured triangles with depth test;
// the fill beside the C library storing the same words; a small quad's set-up alone. After
// the run it prints the plain fill against the C library's, and each heavier full-screen fill
// against the plain one.
#include "gx_test_support.h"
#include "support/comparison_main.h"

#include <console/gx.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr u32 kScreenWidth = 640;
constexpr u32 kScreenHeight = 480;

using BatchVertex = gxtest::Vertex;

// A 32 x 32 RGBA8 texture in tiles, with some translucent texels.
std::vector<u8> MakeTexture() {
    std::vector<u8> tiles(32 * 32 * 4);
    for (size_t i = 0; i < tiles.size(); ++i) {
        tiles[i] = static_cast<u8>(i * 37 + 11);
    }
    return tiles;
}

void SetUp(const GXTexObj* texture, GXTevMode mode, GXBlendMode blend, bool depth) {
    GXInit(nullptr, 0);
    GXSetViewport(0, 0, kScreenWidth, kScreenHeight, 0, 1);
    GXSetScissor(0, 0, kScreenWidth, kScreenHeight);
    const f32 projection[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, -1}, {0, 0, 0, -1}};
    GXSetProjection(projection, GX_ORTHOGRAPHIC);
    GXSetCullMode(GX_CULL_NONE);
    GXSetNumChans(1);
    GXSetZMode(depth ? GX_TRUE : GX_FALSE, GX_LEQUAL, depth ? GX_TRUE : GX_FALSE);
    GXSetBlendMode(blend, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    GXSetNumTexGens(texture != nullptr ? 1 : 0);
    if (texture != nullptr) {
        GXLoadTexObj(texture, GX_TEXMAP0);
        GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE,
                          GX_PTIDENTITY);
    }
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP0, GX_COLOR0A0);
    GXSetTevOp(GX_TEVSTAGE0, mode);
}

void DrawIndexed(const std::vector<BatchVertex>& vertices, const std::vector<u16>& indices,
                 u32 first, u32 count) {
    gxtest::DrawIndexed(vertices.data(), indices.data() + first, static_cast<u16>(count));
}

// Quads as the 2-D batch writes them, in clip coordinates.
void AddQuad(f32 left, f32 top, f32 width, f32 height, std::vector<BatchVertex>& vertices,
             std::vector<u16>& indices) {
    const f32 x0 = 2.0f * left / kScreenWidth - 1.0f;
    const f32 x1 = 2.0f * (left + width) / kScreenWidth - 1.0f;
    const f32 y0 = 1.0f - 2.0f * top / kScreenHeight;
    const f32 y1 = 1.0f - 2.0f * (top + height) / kScreenHeight;
    const u16 base = static_cast<u16>(vertices.size());
    vertices.push_back({x0, y0, 0, 0xFFE0C0FF, 0, 0});
    vertices.push_back({x1, y0, 0, 0xFFE0C0FF, 1, 0});
    vertices.push_back({x0, y1, 0, 0xFFE0C0FF, 0, 1});
    vertices.push_back({x1, y1, 0, 0xFFE0C0FF, 1, 1});
    for (const u16 corner : {0, 1, 3, 0, 3, 2}) {
        indices.push_back(static_cast<u16>(base + corner));
    }
}

constexpr u32 kQuads = 1000;

// kQuads squares of `size` pixels spread over the screen.
void AddScatteredQuads(f32 size, std::vector<BatchVertex>& vertices, std::vector<u16>& indices) {
    for (u32 q = 0; q < kQuads; ++q) {
        AddQuad(static_cast<f32>(q * 37 % 600), static_cast<f32>(q * 53 % 440), size, size,
                vertices, indices);
    }
}

void BM_Sprites32x32(benchmark::State& state) {
    const std::vector<u8> image = MakeTexture();
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 32, 32, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    GXInitTexObjLOD(&texture, GX_LIN_MIP_LIN, GX_LINEAR, 0, 0, 0, GX_FALSE, GX_FALSE, GX_ANISO_1);
    SetUp(&texture, GX_MODULATE, GX_BM_BLEND, false);
    std::vector<BatchVertex> vertices;
    std::vector<u16> indices;
    AddScatteredQuads(32, vertices, indices);
    for (auto _ : state) {
        DrawIndexed(vertices, indices, 0, kQuads * 6);
        DrawIndexed(vertices, indices, 0, kQuads * 6);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kQuads * 32 * 32);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Sprites32x32)->Unit(benchmark::kMillisecond);

// 1,000 textured 16 x 16 quads in one primitive with an empty scissor: what a quad
// costs from the vertex calls to the pixel hand-off, no pixel drawn.
void BM_QuadSetUp(benchmark::State& state) {
    const std::vector<u8> image = MakeTexture();
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 32, 32, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    SetUp(&texture, GX_MODULATE, GX_BM_BLEND, false);
    GXSetScissor(0, 0, 0, 0);
    std::vector<BatchVertex> vertices;
    std::vector<u16> indices;
    AddScatteredQuads(16, vertices, indices);
    std::vector<BatchVertex> clockwise;
    for (u32 q = 0; q < kQuads; ++q) {
        for (const u32 corner : {0, 1, 3, 2}) {
            clockwise.push_back(vertices[4 * q + corner]);
        }
    }
    for (auto _ : state) {
        gxtest::Draw(GX_QUADS, clockwise.data(), static_cast<u16>(clockwise.size()));
    }
    state.SetItemsProcessed(state.iterations() * kQuads);
}
BENCHMARK(BM_QuadSetUp)->Unit(benchmark::kMicrosecond);

void FullScreen(benchmark::State& state, const GXTexObj* texture, GXTevMode mode, GXBlendMode blend,
                bool depth) {
    SetUp(texture, mode, blend, depth);
    std::vector<BatchVertex> vertices;
    std::vector<u16> indices;
    AddQuad(0, 0, kScreenWidth, kScreenHeight, vertices, indices);
    for (BatchVertex& v : vertices) {
        v.s *= 20.0f; // a 32 x 32 texture repeated, magnified
        v.t *= 15.0f;
    }
    for (auto _ : state) {
        DrawIndexed(vertices, indices, 0, 6);
    }
    state.SetItemsProcessed(state.iterations() * kScreenWidth * kScreenHeight);
}

void BM_FullScreenFill(benchmark::State& state) {
    FullScreen(state, nullptr, GX_PASSCLR, GX_BM_NONE, false);
}
BENCHMARK(BM_FullScreenFill)->Unit(benchmark::kMillisecond);

// The fill's baseline: the same words stored by the C library.
void BM_MemsetFullScreen(benchmark::State& state) {
    std::vector<u32> frame(kScreenWidth * kScreenHeight);
    for (auto _ : state) {
        std::fill(frame.begin(), frame.end(), 0xFFE0C0FFu);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kScreenWidth * kScreenHeight);
}
BENCHMARK(BM_MemsetFullScreen)->Unit(benchmark::kMillisecond);

void BM_FullScreenFillDepthTested(benchmark::State& state) {
    FullScreen(state, nullptr, GX_PASSCLR, GX_BM_NONE, true);
}
BENCHMARK(BM_FullScreenFillDepthTested)->Unit(benchmark::kMillisecond);

void BM_FullScreenTexturedBlended(benchmark::State& state) {
    const std::vector<u8> image = MakeTexture();
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 32, 32, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    FullScreen(state, &texture, GX_MODULATE, GX_BM_BLEND, false);
}
BENCHMARK(BM_FullScreenTexturedBlended)->Unit(benchmark::kMillisecond);

void BM_FullScreenGeneralEnvironment(benchmark::State& state) {
    const std::vector<u8> image = MakeTexture();
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 32, 32, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    SetUp(&texture, GX_MODULATE, GX_BM_BLEND, false);
    GXSetNumTevStages(2);
    GXSetTevOrder(GX_TEVSTAGE1, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR_NULL);
    GXSetTevOp(GX_TEVSTAGE1, GX_PASSCLR);
    std::vector<BatchVertex> vertices;
    std::vector<u16> indices;
    AddQuad(0, 0, kScreenWidth, kScreenHeight, vertices, indices);
    for (auto _ : state) {
        DrawIndexed(vertices, indices, 0, 6);
    }
    state.SetItemsProcessed(state.iterations() * kScreenWidth * kScreenHeight);
}
BENCHMARK(BM_FullScreenGeneralEnvironment)->Unit(benchmark::kMillisecond);

void BM_PerspectiveTexturedTriangles(benchmark::State& state) {
    const std::vector<u8> image = MakeTexture();
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 32, 32, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);
    SetUp(&texture, GX_MODULATE, GX_BM_NONE, true);
    const f32 projection[4][4] = {
        {1, 0, 0, 0}, {0, 1.3f, 0, 0}, {0, 0, -1.0f / 2999, -3000.0f / 2999}, {0, 0, -1, 0}};
    GXSetProjection(projection, GX_PERSPECTIVE);
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
    GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    for (auto _ : state) {
        state.PauseTiming(); // every frame starts on a cleared depth buffer
        gxtest::ClearFrameBuffer(0xFF000000, 0xFFFFFF);
        state.ResumeTiming();
        GXBegin(GX_TRIANGLESTRIP, GX_VTXFMT0, 4);
        GXPosition3f32(-4, -1, -1.5f);
        GXColor1u32(0xFFFFFFFF);
        GXTexCoord2f32(0, 0);
        GXPosition3f32(4, -1, -1.5f);
        GXColor1u32(0xFFFFFFFF);
        GXTexCoord2f32(8, 0);
        GXPosition3f32(-4, 3, -20);
        GXColor1u32(0xFFFFFFFF);
        GXTexCoord2f32(0, 30);
        GXPosition3f32(4, 3, -20);
        GXColor1u32(0xFFFFFFFF);
        GXTexCoord2f32(8, 30);
        GXEnd();
    }
}
BENCHMARK(BM_PerspectiveTexturedTriangles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"full-screen fill", "BM_FullScreenFill", "GX", "BM_MemsetFullScreen", "std::fill"},
         {"full-screen fill, depth-tested", "BM_FullScreenFillDepthTested", "GX",
          "BM_FullScreenFill", "plain fill"},
         {"full-screen fill, textured and blended", "BM_FullScreenTexturedBlended", "GX",
          "BM_FullScreenFill", "plain fill"},
         {"full-screen fill, general texture environment", "BM_FullScreenGeneralEnvironment", "GX",
          "BM_FullScreenFill", "plain fill"}});
}
