// Geometry input: vertex descriptions programmed into GX vertex format 0, and the vertex
// and index streams.
#include "krenderwii_private.h"

#include <console/os.h>
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

bool g_resetWiiVertexDesc = false;

u32 krVertexDesc::curdescID = 0;

krVertexDesc::krVertexDesc() : descID(curdescID++) {}

void krVertexDesc::Reg(unsigned int stream, unsigned int offset, unsigned int type,
                       unsigned int usage, unsigned int usageIndex) {
    desc.Push({static_cast<u16>(stream), static_cast<u16>(offset), static_cast<u16>(type),
               static_cast<u16>(usage), static_cast<u16>(usageIndex)});
}

krVertexDesc* krVertexStruct::GetDesc() {
    static krVertexDesc* const s_desc = [] {
        static krVertexDesc desc;
        desc.Reg(0, 0, KR_TYPE_FLOAT3, KR_USAGE_POSITION, 0);
        desc.Reg(0, 12, KR_TYPE_FLOAT3, KR_USAGE_NORMAL, 0);
        desc.Reg(0, 24, KR_TYPE_COLOUR, KR_USAGE_COLOUR, 0);
        desc.Reg(0, 28, KR_TYPE_FLOAT2, KR_USAGE_TEXCOORD, 0);
        return &desc;
    }();
    return s_desc;
}

using namespace kRenderWII_Private;

namespace {

// A description entry that is a programming error: logged, then the program stops.
[[noreturn]] void RejectVertexDesc(const char* message, const char* expression) {
    kLogFmt("%s", message);
    kPlatform_FailAssert("SetVertexDesc", __FILE__, __LINE__, expression);
}

// The GX format of one attribute of the description.
struct AttributeFormat {
    bool present = false;
    GXCompCnt count{};
    GXCompType type{};
};

struct VertexFormat {
    AttributeFormat position;
    AttributeFormat normal;
    AttributeFormat colour[KR_NUM_COLOURS];
    AttributeFormat texCoord[KR_NUM_TEXTURE_STAGES];
};

void ReadPosition(const krVertexDesc::Value& entry, krRenderState& rs, VertexFormat& format) {
    if (entry.type != KR_TYPE_FLOAT3) {
        RejectVertexDesc("kRender::SetVertexDesc: Invalid type specified for position\n",
                         "type == TYPE_FLOAT3");
    }
    rs.posOffset = entry.offset;
    rs.posStream = entry.stream;
    format.position = {true, entry.usage == KR_USAGE_POSITION ? GX_POS_XYZ : GX_POS_XY, GX_F32};
}

void ReadNormal(const krVertexDesc::Value& entry, krRenderState& rs, VertexFormat& format) {
    if (entry.type != KR_TYPE_FLOAT3) {
        RejectVertexDesc("kRender::SetVertexDesc: Invalid type specified for normal\n",
                         "type == TYPE_FLOAT3");
    }
    rs.nrmOffset = entry.offset;
    rs.nrmStream = entry.stream;
    format.normal = {true, GX_NRM_XYZ, GX_F32};
}

void ReadColour(const krVertexDesc::Value& entry, krRenderState& rs, VertexFormat& format) {
    if (entry.usageIndex >= KR_NUM_COLOURS) {
        RejectVertexDesc("kRender::SetVertexDesc: Invalid usage index for colour (0 or 1 valid)\n",
                         "usageIndex < 2");
    }
    rs.colOffset[entry.usageIndex] = entry.offset;
    rs.colStream[entry.usageIndex] = entry.stream;
    if (entry.type == KR_TYPE_COLOUR) {
        format.colour[entry.usageIndex] = {true, GX_CLR_RGBA, GX_RGBA8};
    } else if (entry.type == KR_TYPE_COLOUR565) {
        format.colour[entry.usageIndex] = {true, GX_CLR_RGB, GX_RGB565};
    } else {
        RejectVertexDesc("kRender::SetVertexDesc: Invalid type specified for colour (should be "
                         "TYPE_COLOUR)\n",
                         "type == TYPE_COLOUR");
    }
}

void ReadTexCoord(const krVertexDesc::Value& entry, krRenderState& rs, VertexFormat& format) {
    if (entry.usageIndex >= KR_NUM_TEXTURE_STAGES) {
        RejectVertexDesc("kRender::SetVertexDesc: Invalid usage index for texture (0-7 valid)\n",
                         "usageIndex < 8");
    }
    rs.texOffset[entry.usageIndex] = entry.offset;
    rs.texStream[entry.usageIndex] = entry.stream;
    if (entry.type != KR_TYPE_FLOAT2) {
        RejectVertexDesc("kRender::SetVertexDesc: Invalid type specified for tex coord\n",
                         "type == TYPE_FLOAT2");
    }
    format.texCoord[entry.usageIndex] = {true, GX_TEX_ST, GX_F32};
}

void ProgramAttribute(GXAttr attribute, const AttributeFormat& format) {
    if (format.present) {
        GXSetVtxDesc(attribute, GX_INDEX16);
        GXSetVtxAttrFmt(GX_VTXFMT0, attribute, format.count, format.type, 0);
    }
}

void ProgramVertexFormat(const VertexFormat& format) {
    GXClearVtxDesc();
    if (!format.position.present) {
        kPlatform_FailAssert("SetVertexDesc", __FILE__, __LINE__, "bGotPosition");
    }
    ProgramAttribute(GX_VA_POS, format.position);
    ProgramAttribute(GX_VA_NRM, format.normal);
    for (u32 i = 0; i < KR_NUM_COLOURS; ++i) {
        ProgramAttribute(static_cast<GXAttr>(GX_VA_CLR0 + i), format.colour[i]);
    }
    for (u32 i = 0; i < KR_NUM_TEXTURE_STAGES; ++i) {
        ProgramAttribute(static_cast<GXAttr>(GX_VA_TEX0 + i), format.texCoord[i]);
    }
}

void ClearAttributeOffsets(krRenderState& rs) {
    rs.posOffset = -1;
    rs.nrmOffset = -1;
    for (int& offset : rs.colOffset) {
        offset = -1;
    }
    for (int& offset : rs.texOffset) {
        offset = -1;
    }
}

} // namespace

void kRender::SetVertexDesc(krVertexDesc* pVDesc) {
    krRenderState& rs = m_renderState;
    if (pVDesc == rs.curVertexDesc && !g_resetWiiVertexDesc) {
        return;
    }
    g_resetWiiVertexDesc = false;
    if (pVDesc == nullptr) {
        kLogSys("WII", "SetVertexDesc: no description\n");
        return;
    }
    ClearAttributeOffsets(rs);
    VertexFormat format;
    for (s32 i = 0; i < pVDesc->desc.Size(); ++i) {
        const krVertexDesc::Value& entry = pVDesc->desc(i);
        switch (entry.usage) {
        case KR_USAGE_POSITION:
        case KR_USAGE_POSITION2D:
            ReadPosition(entry, rs, format);
            break;
        case KR_USAGE_NORMAL:
            ReadNormal(entry, rs, format);
            break;
        case KR_USAGE_COLOUR:
            ReadColour(entry, rs, format);
            break;
        case KR_USAGE_TEXCOORD:
            ReadTexCoord(entry, rs, format);
            break;
        default:
            kPlatform_FailAssert("SetVertexDesc", __FILE__, __LINE__,
                                 "!\"VertexDesc item type not supported\"");
        }
    }
    ProgramVertexFormat(format);
    rs.curVertexDesc = pVDesc;
}

void kRender::SetVertexStream(unsigned int stream, const void* data, unsigned int stride,
                              unsigned int numBytes, krCacheIdWII* cacheId) {
    if (numBytes == 0) {
        return;
    }
    if (stream >= KR_NUM_STREAMS || stride == 0 || data == nullptr) {
        kLogSys("WII", "SetVertexStream: stream %u, stride %u or data %p not valid\n", stream,
                stride, data);
        return;
    }
    DCFlushRange(const_cast<void*>(data), numBytes);
    GXInvalidateVtxCache();
    m_renderState.stream[stream] = {static_cast<const u8*>(data), stride, cacheId,
                                    numBytes / stride};
}

void kRender::SetIndexStream(const void* data, unsigned int stride, unsigned int numBytes,
                             krCacheIdWII* cacheId) {
    kAssertMsg(stride == 2, "stride == 2");
    if (numBytes == 0) {
        return;
    }
    if (data == nullptr) {
        kLogSys("WII", "SetIndexStream: no data\n");
        return;
    }
    DCFlushRange(const_cast<void*>(data), numBytes);
    m_renderState.pIndex = static_cast<const u16*>(data);
    m_renderState.indexStride = 2;
    m_renderState.numIndices = numBytes / 2;
    m_renderState.indexCacheID = cacheId;
}

} // namespace Kelvo_lib
