// A frame of 2,000 sprites (16 x 16 pixels) through the 2-D batch and the render layer:
// from one texture page (two draws of 1,000 quads) and from four pages in turn (every
// sprite a draw of its own), beside the graphics processor's own work on the same frame,
// the same draws replayed straight into GX without the render layer.
#include "support/comparison_main.h"

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <console/gx.h>

#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr int kSprites = 2000;
constexpr float kSpriteSize = 16.0f;
constexpr int kColumns = 40;
constexpr int kRows = 31;
constexpr u32 kPageSize = 256;

struct Position {
    float x, y;
};

Position SpritePosition(int sprite) {
    return {static_cast<float>(sprite % kColumns) * kSpriteSize,
            static_cast<float>(sprite / kColumns % kRows) * kSpriteSize};
}

// The render layer with its primary surface, and four tiled texture pages.
class RenderSetUp {
public:
    RenderSetUp() {
        kRender::Init();
        kRender::SurfaceCreate(krSurfaceDesc());
        for (u32 p = 0; p < 4; ++p) {
            m_pages.emplace_back(
                krTextureResourceWII::CreateTexture(kPageSize, kPageSize, 1, K_IMAGE_ARGB_8888));
            u8* tiles = static_cast<u8*>(m_pages.back()->GetMipMapData(0));
            for (u32 i = 0; i < kPageSize * kPageSize * 4; ++i) {
                tiles[i] = static_cast<u8>(i * 7 + p * 50);
            }
            m_pages.back()->preswizzled = true;
            m_pages.back()->Dirty();
        }
    }

    const RcPtr<krTextureResourceWII>& Page(int sprite, int pages) const {
        return m_pages[static_cast<size_t>(sprite % pages)];
    }

private:
    std::vector<RcPtr<krTextureResourceWII>> m_pages;
};

RenderSetUp& SetUp() {
    static RenderSetUp s_setUp;
    return s_setUp;
}

void DrawFrame(const RenderSetUp& setUp, int pages) {
    for (int sprite = 0; sprite < kSprites; ++sprite) {
        const Position at = SpritePosition(sprite);
        krDrawHelp::DrawSubBitmap(
            KR_DRAW_PIXELS, setUp.Page(sprite, pages), at.x, at.y, at.x + kSpriteSize, at.y, at.x,
            at.y + kSpriteSize, at.x + kSpriteSize, at.y + kSpriteSize, 0.0f, 0.0f, 0.0625f, 0.0f,
            0.0f, 0.0625f, 0.0625f, 0.0625f, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
    }
    krDrawHelp::Flush();
}

// The batch's vertices of the whole frame, in clip coordinates, and its indices.
struct GXFrame {
    struct Vertex {
        float x, y, z;
        u32 colour;
        float u, v;
    };
    std::vector<Vertex> vertices;
    std::vector<u16> indices;
};

GXFrame BuildGXFrame() {
    GXFrame frame;
    const float width = static_cast<float>(kRender::SurfaceGetCurrent()->GetDesc().xRes);
    const float height = static_cast<float>(kRender::SurfaceGetCurrent()->GetDesc().yRes);
    for (int sprite = 0; sprite < kSprites; ++sprite) {
        const Position at = SpritePosition(sprite);
        for (int corner = 0; corner < 4; ++corner) {
            const float x = at.x + kSpriteSize * static_cast<float>(corner % 2);
            const float y = at.y + kSpriteSize * static_cast<float>(corner / 2);
            frame.vertices.push_back({2.0f * x / width - 1.0f, 1.0f - 2.0f * y / height, 0.0f,
                                      0xFFFFFFFF, 0.0625f * static_cast<float>(corner % 2),
                                      0.0625f * static_cast<float>(corner / 2)});
        }
    }
    for (int quad = 0; quad < krDrawHelp::kMaxQuads; ++quad) {
        const u16 first = static_cast<u16>(quad * 4);
        for (const u16 corner : {0, 1, 3, 0, 3, 2}) {
            frame.indices.push_back(static_cast<u16>(first + corner));
        }
    }
    return frame;
}

// The graphics processor's part of a frame: per draw, the page loaded and the quads'
// indices sent, with the state the batch's draws leave set.
void ReplayFrameInGX(const RenderSetUp& setUp, const GXFrame& frame, int pages) {
    const int quadsPerDraw = pages == 1 ? krDrawHelp::kMaxQuads : 1;
    for (int first = 0; first < kSprites; first += quadsPerDraw) {
        GXLoadTexObj(&setUp.Page(first, pages)->texObj, GX_TEXMAP0);
        const GXFrame::Vertex* base = &frame.vertices[static_cast<size_t>(first) * 4];
        GXSetArray(GX_VA_POS, &base->x, sizeof(GXFrame::Vertex));
        GXSetArray(GX_VA_CLR0, &base->colour, sizeof(GXFrame::Vertex));
        GXSetArray(GX_VA_TEX0, &base->u, sizeof(GXFrame::Vertex));
        const u16 count = static_cast<u16>(quadsPerDraw * 6);
        GXBegin(GX_TRIANGLES, GX_VTXFMT0, count);
        for (u16 i = 0; i < count; ++i) {
            GXPosition1x16(frame.indices[i]);
            GXColor1x16(frame.indices[i]);
            GXTexCoord1x16(frame.indices[i]);
        }
        GXEnd();
    }
    GXDrawDone();
}

void BM_BatchedSpriteFrame(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const RenderSetUp& setUp = SetUp();
    const u32 drawsBefore = kRender::GetDrawCallCount();
    for (auto _ : state) {
        DrawFrame(setUp, pages);
    }
    state.counters["draws_per_frame"] =
        static_cast<double>(kRender::GetDrawCallCount() - drawsBefore) /
        static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * kSprites);
}

// The same frame's draws straight into GX, with the GX state of the batch's last draw.
void BM_GXReplayFrame(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const RenderSetUp& setUp = SetUp();
    DrawFrame(setUp, pages);
    const GXFrame frame = BuildGXFrame();
    for (auto _ : state) {
        ReplayFrameInGX(setUp, frame, pages);
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}

BENCHMARK(BM_BatchedSpriteFrame)->Arg(1)->Arg(4)->ArgName("pages")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GXReplayFrame)->Arg(1)->Arg(4)->ArgName("pages")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"2,000 sprites from one page", "BM_BatchedSpriteFrame/pages:1", "render layer",
          "BM_GXReplayFrame/pages:1", "GX alone"},
         {"2,000 sprites from four pages", "BM_BatchedSpriteFrame/pages:4", "render layer",
          "BM_GXReplayFrame/pages:4", "GX alone"}});
}
