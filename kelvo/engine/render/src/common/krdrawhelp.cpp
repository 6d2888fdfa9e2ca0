// The 2-D batch: quads queued under one key and drawn together through a 2-D shader.
#include <kelvo/platform/klog.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

namespace Kelvo_lib {

namespace {

struct Vertex {
    float x, y, z;
    u32 colour; // 0xRRGGBBAA
    float u, v;
};
static_assert(sizeof(Vertex) == 24);

struct Corner {
    float x, y;
    float u, v;
    u32 colour; // 0xAARRGGBB
};

// The texture and the sampling, blending and wrap choices all quads of a batch share.
struct BatchKey {
    krTextureResourceWII* texture;
    bool pointSample;
    bool alphaBlend;
    bool wrap;

    static BatchKey Of(unsigned int flags, krTextureResourceWII* texture) {
        return {texture, (flags & KR_DRAW_POINTSAMPLE) != 0, (flags & KR_DRAW_NOBLEND) == 0,
                (flags & KR_DRAW_WRAP) != 0};
    }
    bool operator==(const BatchKey&) const = default;
};

// The 2-D shader with the batch's choices; depth is neither tested nor written.
class BatchShader : public krShader2D {
public:
    explicit BatchShader(const BatchKey& key)
        : m_bPointSample(key.pointSample), m_bAlphaBlend(key.alphaBlend), m_bWrap(key.wrap) {
        m_drawContext.zEnable = false;
        m_drawContext.zWriteEnable = false;
    }

    bool m_bPointSample;
    bool m_bAlphaBlend;
    bool m_bWrap;
};

krVertexDesc* BatchVertexDesc() {
    static krVertexDesc* const s_desc = [] {
        static krVertexDesc desc;
        desc.Reg(0, 0, KR_TYPE_FLOAT3, KR_USAGE_POSITION, 0);
        desc.Reg(0, 12, KR_TYPE_COLOUR, KR_USAGE_COLOUR, 0);
        desc.Reg(0, 16, KR_TYPE_FLOAT2, KR_USAGE_TEXCOORD, 0);
        return &desc;
    }();
    return s_desc;
}

u32 RotateLeft8(u32 colour) {
    return colour << 8 | colour >> 24;
}

class DrawBatch {
public:
    static constexpr int kVertsPerQuad = 4;
    static constexpr int kIndicesPerQuad = 6;

    DrawBatch() {
        for (int q = 0; q < krDrawHelp::kMaxQuads; ++q) {
            const u16 first = static_cast<u16>(q * kVertsPerQuad);
            u16* index = &m_index[q * kIndicesPerQuad];
            const u16 triangles[kIndicesPerQuad] = {0, 1, 3, 0, 3, 2};
            for (int i = 0; i < kIndicesPerQuad; ++i) {
                index[i] = static_cast<u16>(first + triangles[i]);
            }
        }
    }

    // A quad with free corners, given in display fractions or (KR_DRAW_PIXELS) pixels.
    void AddToBatch(unsigned int flags, const RcPtr<krTextureResourceWII>& texture,
                    const Corner (&corners)[4], float z) {
        float xRes = 1.0f;
        float yRes = 1.0f;
        if ((flags & KR_DRAW_PIXELS) != 0 && !SurfaceSize(xRes, yRes)) {
            return;
        }
        const BatchKey key = BatchKey::Of(flags, texture.Get());
        if (((flags & KR_DRAW_ALONE) != 0 || !(key == m_key)) && m_currentBitmap > 0) {
            Flush();
        }
        m_key = key;
        m_currentTexture = texture;
        Vertex* quad = &m_verts[m_currentBitmap * kVertsPerQuad];
        for (int i = 0; i < kVertsPerQuad; ++i) {
            const Corner& corner = corners[i];
            quad[i] = {2.0f * (corner.x / xRes) - 1.0f,
                       1.0f - 2.0f * (corner.y / yRes),
                       z,
                       RotateLeft8(corner.colour),
                       corner.u,
                       corner.v};
        }
        ++m_currentBitmap;
        if ((flags & (KR_DRAW_ALONE | KR_DRAW_FLUSH)) != 0 ||
            m_currentBitmap == krDrawHelp::kMaxQuads) {
            Flush();
        }
    }

    void Flush() {
        if (m_currentBitmap == 0) {
            return;
        }
        BatchShader shader(m_key);
        kRender::SetShader(&shader);
        kRender::SetVertexDesc(BatchVertexDesc());
        const unsigned int quads = static_cast<unsigned int>(m_currentBitmap);
        constexpr unsigned int kVertexBytes = sizeof(Vertex);
        constexpr unsigned int kIndexBytes = sizeof(u16);
        kRender::SetVertexStream(0, m_verts, kVertexBytes, quads * kVertsPerQuad * kVertexBytes,
                                 nullptr);
        kRender::SetIndexStream(m_index, kIndexBytes, quads * kIndicesPerQuad * kIndexBytes,
                                nullptr);
        kRender::SetTextureResource(0, m_currentTexture);
        kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, static_cast<int>(quads * kIndicesPerQuad),
                                 __FILE__, __FUNCTION__, __LINE__);
        // Stage 0 is left empty, so the next bind loads (and rebuilds if dirty) again.
        kRender::SetTextureResource(0, RcPtr<krTextureResourceWII>());
        m_currentBitmap = 0;
        m_currentTexture = RcPtr<krTextureResourceWII>();
        m_key.texture = nullptr;
    }

private:
    // The size in pixels of the current surface, which pixel positions are divided by.
    static bool SurfaceSize(float& xRes, float& yRes) {
        const krSurface* surface = kRender::SurfaceGetCurrent();
        if (surface == nullptr || surface->GetDesc().xRes == 0 || surface->GetDesc().yRes == 0) {
            kLogSys("WII", "krDrawHelp: a quad in pixels needs a current surface\n");
            return false;
        }
        xRes = static_cast<float>(surface->GetDesc().xRes);
        yRes = static_cast<float>(surface->GetDesc().yRes);
        return true;
    }

    u16 m_index[krDrawHelp::kMaxQuads * kIndicesPerQuad];
    Vertex m_verts[krDrawHelp::kMaxQuads * kVertsPerQuad]{};
    RcPtr<krTextureResourceWII> m_currentTexture;
    int m_currentBitmap = 0;
    BatchKey m_key{nullptr, false, true, false};
};

DrawBatch s_drawBatch;

} // namespace

void krDrawHelp::DrawSubBitmap(unsigned int flags, RcPtr<krTextureResourceWII> texture, float x0,
                               float y0, float x1, float y1, float x2, float y2, float x3, float y3,
                               float u0, float v0, float u1, float v1, float u2, float v2, float u3,
                               float v3, unsigned int colour0, unsigned int colour1,
                               unsigned int colour2, unsigned int colour3) {
    const Corner corners[4] = {{x0, y0, u0, v0, colour0},
                               {x1, y1, u1, v1, colour1},
                               {x2, y2, u2, v2, colour2},
                               {x3, y3, u3, v3, colour3}};
    s_drawBatch.AddToBatch(flags, texture, corners, 0.0f);
}

void krDrawHelp::DrawRect(unsigned int flags, float x, float y, float w, float h,
                          unsigned int colour) {
    const bool centred = (flags & KR_DRAW_CENTRED) != 0;
    const float x0 = centred ? x - w / 2.0f : x;
    const float y0 = centred ? y - h / 2.0f : y;
    const float x1 = centred ? x + w / 2.0f : x + w;
    const float y1 = centred ? y + h / 2.0f : y + h;
    if (x0 == x1 || y0 == y1) {
        return;
    }
    const Corner corners[4] = {{x0, y0, 0.0f, 0.0f, colour},
                               {x1, y0, 1.0f, 0.0f, colour},
                               {x0, y1, 0.0f, 1.0f, colour},
                               {x1, y1, 1.0f, 1.0f, colour}};
    s_drawBatch.AddToBatch(flags, RcPtr<krTextureResourceWII>(), corners, 0.0f);
}

void krDrawHelp::Flush() {
    s_drawBatch.Flush();
}

} // namespace Kelvo_lib
