// The render device: its state, start-up and shut-down, and the draw call.
#include "krenderwii_private.h"

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

namespace Kelvo_lib {

namespace kRenderWII_Private {

krRenderState m_renderState;
krShader* m_shader = nullptr;
krShaderFF m_defaultShader;
krSurfaceInternal m_primarySurface;
bool m_bPrimarySurfaceCreated = false;
krSurfaceInternal* m_currentSurface = nullptr;
krSurfaceInternal* m_defaultSurface = nullptr;
SurfaceList m_surfaceList;
SurfaceTextureList m_surfaceTextureList;
u8* m_dynamicData = nullptr;
u32 m_dynamicPos = 0;
u32 m_dynamicSize = 0;
u32 m_drawCallCount = 0;

} // namespace kRenderWII_Private

using namespace kRenderWII_Private;

namespace {

constexpr u32 kDynamicBytes = 4096;

} // namespace

void kRender::Init() {
    kLogSys("WII", "Render Init\n");
    m_shader = &m_defaultShader;
    m_bPrimarySurfaceCreated = false;
    const krMatrix identity = krMatrixIdentity();
    m_renderState.worldMatrix = identity;
    m_renderState.viewMatrix = identity;
    m_renderState.projectionMatrix = identity;
    m_renderState.screenMatrix = identity;
    m_renderState.WVPMatrix = identity;
    m_renderState.indexCacheID = nullptr;
    m_renderState.curVertexDesc = nullptr;
    m_renderState.dirtyMatrix = true;
    m_renderState.dirtyVPMatrix = true;
    GXSetMisc(GX_MT_XF_FLUSH, GX_XF_FLUSH_SAFE);
    m_defaultSurface = nullptr;
    m_currentSurface = nullptr;
    m_dynamicSize = kDynamicBytes;
    if (m_dynamicData == nullptr) { // a second Init keeps the block
        m_dynamicData = static_cast<u8*>(kPlatform_ReleaseAlloc(K_MEM_TAG_RENDER, kDynamicBytes));
    }
    m_dynamicPos = 0;
}

void kRender::Deinit() {
    kLogSys("WII", "Render Deinit\n");
    SetShader(nullptr);
    for (RcPtr<krTextureResourceWII>& stage : m_renderState.textureRef) {
        stage = RcPtr<krTextureResourceWII>();
    }
    for (s32 i = m_surfaceTextureList.Size() - 1; i >= 0; --i) {
        SurfaceTextureDestroy(m_surfaceTextureList(i));
    }
    m_surfaceTextureList.Empty();
    for (s32 i = m_surfaceList.Size() - 1; i >= 0; --i) {
        SurfaceDestroy(m_surfaceList(i));
    }
    m_surfaceList.Empty();
    if (m_dynamicData != nullptr) {
        kPlatform_ReleaseFree(m_dynamicData);
        m_dynamicData = nullptr;
    }
}

void kRender::PostGeometryAdv(krPrimitiveType primType, int startIndex, int count, const char*,
                              const char*, int) {
    UpdateTransforms();
    if (m_shader == nullptr) {
        kLogSys("WII", "PostGeometryAdv: no shader is current\n");
        return;
    }
    if (startIndex < 0 || count < 0) {
        kLogSys("WII", "PostGeometryAdv: negative start %d or count %d\n", startIndex, count);
        return;
    }
    if (m_shader->ProcessGeometry(m_renderState, primType, static_cast<unsigned int>(startIndex),
                                  static_cast<unsigned int>(count))) {
        ++m_drawCallCount;
    }
}

const krRenderState& kRender::GetRenderState() {
    return m_renderState;
}

u32 kRender::GetDrawCallCount() {
    return m_drawCallCount;
}

} // namespace Kelvo_lib
