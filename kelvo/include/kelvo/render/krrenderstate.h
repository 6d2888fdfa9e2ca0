// The render state kRender keeps: transforms and their cached products, the eight
// vertex streams and the index stream, the current vertex description with where each
// attribute lies, and the textures bound to the eight stages (counted references,
// released when the state goes). Written by kRender, read by the shaders. Main thread.
#pragma once

#include <kelvo/containers/kresource.h>
#include <kelvo/render/krmatrix.h>
#include <kelvo/render/krtextureresourcewii.h>
#include <kelvo/render/krvertexdesc.h>

namespace Kelvo_lib {

constexpr u32 KR_NUM_STREAMS = 8;
constexpr u32 KR_NUM_TEXTURE_STAGES = 8;
constexpr u32 KR_NUM_COLOURS = 2;

struct VertexStream {
    const u8* pData;
    u32 stride;            // bytes from one vertex to the next
    krCacheIdWII* cacheID; // null: the draw waits for the graphics processor
    u32 numVerts;
};

struct krRenderStateCommon {
    krMatrix worldMatrix;
    krMatrix viewMatrix;
    krMatrix projectionMatrix;
    krMatrix screenMatrix;
    krMatrix WVPMatrix;
};

struct krRenderState : krRenderStateCommon {
    krMatrix wv; // world x view
    krMatrix ps; // projection x screen
    VertexStream stream[KR_NUM_STREAMS]{};
    const u16* pIndex = nullptr;
    u32 indexStride = 0;
    u32 numIndices = 0; // indices the index stream holds
    krCacheIdWII* indexCacheID = nullptr;
    krVertexDesc* curVertexDesc = nullptr;
    bool dirtyMatrix = false;
    bool dirtyVPMatrix = false;
    // Byte offset in its vertex and stream slot of each attribute; offset -1: absent.
    int posOffset = -1;
    int nrmOffset = -1;
    int colOffset[KR_NUM_COLOURS]{-1, -1};
    int texOffset[KR_NUM_TEXTURE_STAGES]{-1, -1, -1, -1, -1, -1, -1, -1};
    int posStream = 0;
    int nrmStream = 0;
    int colStream[KR_NUM_COLOURS]{};
    int texStream[KR_NUM_TEXTURE_STAGES]{};
    RcPtr<krTextureResourceWII> textureRef[KR_NUM_TEXTURE_STAGES];
};

} // namespace Kelvo_lib
