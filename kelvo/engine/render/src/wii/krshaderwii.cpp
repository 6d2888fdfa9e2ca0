// The shaders and the current-shader management of kRender.
#include "krenderwii_private.h"

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

using namespace kRenderWII_Private;

namespace {

// The matrix GX takes for a projection: the transpose of a row-vector matrix, with the
// z translation negated for the graphics processor's clip range.
void LoadProjection(const krMatrix& m, GXProjectionType type) {
    const krMatrix p = krMatrixTranspose(m);
    f32 projection[4][4];
    for (unsigned int r = 0; r < 4; ++r) {
        for (unsigned int c = 0; c < 4; ++c) {
            projection[r][c] = krElement(p, r, c);
        }
    }
    projection[2][3] = -projection[2][3];
    GXSetProjection(projection, type);
}

// Loads the row-vector matrix m as the column-vector position matrix (its first three
// columns become the rows).
void LoadPositionMatrix(const krMatrix& m) {
    f32 position[3][4];
    for (unsigned int r = 0; r < 3; ++r) {
        for (unsigned int c = 0; c < 4; ++c) {
            position[r][c] = krElement(m, c, r);
        }
    }
    GXLoadPosMtxImm(position, GX_PNMTX0);
}

// False for the primitive types GX does not draw (points, user primitives).
bool PrimitiveOf(krPrimitiveType type, GXPrimitive& primitive) {
    switch (type) {
    case KR_PRIM_TRILIST:
        primitive = GX_TRIANGLES;
        return true;
    case KR_PRIM_LINELIST:
        primitive = GX_LINES;
        return true;
    case KR_PRIM_TRISTRIP:
        primitive = GX_TRIANGLESTRIP;
        return true;
    default:
        return false;
    }
}

void SetCulling(krCullMode mode) {
    switch (mode) {
    case KR_CULL_NONE:
        GXSetCullMode(GX_CULL_NONE);
        break;
    case KR_CULL_ANTICLOCKWISE:
        GXSetCullMode(GX_CULL_BACK);
        break;
    case KR_CULL_CLOCKWISE:
        GXSetCullMode(GX_CULL_FRONT);
        break;
    }
}

// Colour = texture colour x vertex colour, alpha = texture alpha; without a texture the
// vertex colour as it is.
void SetCombiners(const krRenderState& rs) {
    const GXChannelID channel = rs.colOffset[0] != -1 ? GX_COLOR0A0 : GX_COLOR_NULL;
    GXSetNumChans(1);
    if (rs.textureRef[0].Get() == nullptr) {
        GXSetNumTexGens(0);
        GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP0, channel);
        GXSetTevOp(GX_TEVSTAGE0, GX_PASSCLR);
        return;
    }
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetNumTexGens(1);
    GXSetNumTevStages(1);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP0, channel);
    GXSetTevColorIn(GX_TEVSTAGE0, GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO);
    GXSetTevColorOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXSetTevAlphaIn(GX_TEVSTAGE0, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA);
    GXSetTevAlphaOp(GX_TEVSTAGE0, GX_TEV_ADD, GX_TB_ZERO, GX_CS_SCALE_1, GX_TRUE, GX_TEVPREV);
    GXSetAlphaCompare(GX_ALWAYS, 0, GX_AOP_OR, GX_ALWAYS, 0);
}

// The attributes in the order GX takes their indices: position, normal, colours 0 and 1,
// texture coordinates 0 to 7. Offsets of -1 are absent.
struct BoundAttribute {
    GXAttr attribute;
    int offset;
    int stream;
};

constexpr u32 kMaxAttributes = 2 + KR_NUM_COLOURS + KR_NUM_TEXTURE_STAGES;

u32 CollectAttributes(const krRenderState& rs, BoundAttribute (&out)[kMaxAttributes]) {
    u32 count = 0;
    const auto add = [&](u32 attribute, int offset, int stream) {
        if (offset != -1) {
            out[count++] = {static_cast<GXAttr>(attribute), offset, stream};
        }
    };
    add(GX_VA_POS, rs.posOffset, rs.posStream);
    add(GX_VA_NRM, rs.nrmOffset, rs.nrmStream);
    for (u32 i = 0; i < KR_NUM_COLOURS; ++i) {
        add(GX_VA_CLR0 + i, rs.colOffset[i], rs.colStream[i]);
    }
    for (u32 i = 0; i < KR_NUM_TEXTURE_STAGES; ++i) {
        add(GX_VA_TEX0 + i, rs.texOffset[i], rs.texStream[i]);
    }
    return count;
}

// Every attribute must lie in a bound stream and every index name a vertex each of those
// streams holds, so the graphics processor never reads past a stream.
bool GeometryIsDrawable(const krRenderState& rs, const BoundAttribute* attributes,
                        u32 numAttributes, unsigned int count) {
    if (count > rs.numIndices || count > 0xFFFF || (count > 0 && rs.pIndex == nullptr)) {
        kLogSys("WII", "ProcessGeometry: %u indices, the index stream holds %u\n", count,
                rs.numIndices);
        return false;
    }
    if (rs.posOffset == -1) {
        kLogSys("WII", "ProcessGeometry: no vertex description with a position is set\n");
        return false;
    }
    u32 vertices = 0xFFFFFFFF;
    for (u32 a = 0; a < numAttributes; ++a) {
        const int slot = attributes[a].stream;
        const VertexStream* stream =
            slot >= 0 && slot < static_cast<int>(KR_NUM_STREAMS) ? &rs.stream[slot] : nullptr;
        if (stream == nullptr || stream->pData == nullptr || stream->stride > 0xFF) {
            kLogSys("WII", "ProcessGeometry: stream %d is unbound or its stride too wide\n",
                    attributes[a].stream);
            return false;
        }
        vertices = stream->numVerts < vertices ? stream->numVerts : vertices;
    }
    for (unsigned int i = 0; i < count; ++i) {
        if (rs.pIndex[i] >= vertices) {
            kLogSys("WII", "ProcessGeometry: index %u names vertex %u of %u\n", i, rs.pIndex[i],
                    vertices);
            return false;
        }
    }
    return true;
}

void SendIndex(GXAttr attribute, u16 index) {
    switch (attribute) {
    case GX_VA_POS:
        GXPosition1x16(index);
        break;
    case GX_VA_NRM:
        GXNormal1x16(index);
        break;
    case GX_VA_CLR0:
    case GX_VA_CLR1:
        GXColor1x16(index);
        break;
    default:
        GXTexCoord1x16(index);
        break;
    }
}

} // namespace

krShader::~krShader() {
    if (kRender::GetShader() == this && this != kRender::GetDefaultShader()) {
        kRender::SetDefaultShader();
    }
}

bool krShaderWII::Select(const krRenderState&) {
    return true;
}

bool krShaderWII::UpdateTransform(const krRenderState&) {
    return true;
}

bool krShaderWII::ProcessGeometry(const krRenderState& rs, krPrimitiveType type, unsigned int,
                                  unsigned int count) {
    GXPrimitive primitive{};
    if (!PrimitiveOf(type, primitive)) {
        return false;
    }
    BoundAttribute attributes[kMaxAttributes];
    const u32 numAttributes = CollectAttributes(rs, attributes);
    if (!GeometryIsDrawable(rs, attributes, numAttributes, count)) {
        return false;
    }
    GXSetZMode(m_drawContext.zEnable, GX_LEQUAL, m_drawContext.zWriteEnable);
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    SetCulling(m_drawContext.cullMode);
    SetCombiners(rs);
    for (u32 a = 0; a < numAttributes; ++a) {
        const VertexStream& stream = rs.stream[attributes[a].stream];
        GXSetArray(attributes[a].attribute, stream.pData + attributes[a].offset,
                   static_cast<u8>(stream.stride));
    }
    GXBegin(primitive, GX_VTXFMT0, static_cast<u16>(count));
    for (unsigned int i = 0; i < count; ++i) {
        for (u32 a = 0; a < numAttributes; ++a) {
            SendIndex(attributes[a].attribute, rs.pIndex[i]);
        }
    }
    GXEnd();
    if (rs.stream[0].cacheID == nullptr) {
        GXDrawDone();
    }
    return true;
}

bool krShaderFF::ProcessGeometry(const krRenderState& rs, krPrimitiveType type,
                                 unsigned int startIndex, unsigned int count) {
    GXPrimitive primitive{};
    if (!PrimitiveOf(type, primitive)) {
        return false; // before any GX state changes
    }
    LoadProjection(rs.ps, GX_PERSPECTIVE);
    krMatrix position = rs.wv;
    for (unsigned int r = 0; r < 4; ++r) {
        krElement(position, r, 2) = -krElement(position, r, 2);
    }
    LoadPositionMatrix(position);
    return krShaderWII::ProcessGeometry(rs, type, startIndex, count);
}

bool krShader2D::ProcessGeometry(const krRenderState& rs, krPrimitiveType type,
                                 unsigned int startIndex, unsigned int count) {
    GXPrimitive primitive{};
    if (!PrimitiveOf(type, primitive)) {
        return false; // before any GX state changes
    }
    LoadProjection(rs.screenMatrix, GX_ORTHOGRAPHIC);
    LoadPositionMatrix(krMatrixIdentity());
    return krShaderWII::ProcessGeometry(rs, type, startIndex, count);
}

void kRender::SetShader(krShader* shader) {
    m_shader = shader;
    if (shader != nullptr) {
        shader->Select(m_renderState);
    }
}

krShader* kRender::GetShader() {
    return m_shader;
}

krShader* kRender::GetDefaultShader() {
    return &m_defaultShader;
}

void kRender::SetDefaultShader() {
    SetShader(GetDefaultShader());
}

} // namespace Kelvo_lib
