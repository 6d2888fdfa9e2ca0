// The render device's file-scope state, shared by its units (device, surfaces, frame,
// streams, shaders, transforms). One instance of each; main thread only.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/render/krender.h>

namespace Kelvo_lib::kRenderWII_Private {

class krSurfaceTextureInternal;

class krSurfaceInternal : public krSurface {
public:
    krSurfaceDesc& Desc() { return m_desc; }

    u32 m_screenWidth = 0;
    u32 m_screenHeight = 0;
    float m_screenAspect = 0.0f;
    krSurfaceTextureInternal* m_surfaceTexture = nullptr;
};

// A render-target texture the picture of its surface is copied into.
class krSurfaceTextureInternal : public krSurfaceTexture {
public:
    RcPtr<krTextureResourceWII> m_textureBackBuffer;
    krSurfaceInternal* m_surface = nullptr;
    bool m_bAlpha = false;
    int m_size = 0;
    u8* m_data = nullptr;
};

using SurfaceList = kArray<krSurfaceInternal*, TArrayTrait<3, 8, 16, K_MEM_TAG_RENDER>>;
using SurfaceTextureList =
    kArray<krSurfaceTextureInternal*, TArrayTrait<3, 8, 16, K_MEM_TAG_RENDER>>;

extern krRenderState m_renderState;
extern krShader* m_shader;
extern krShaderFF m_defaultShader;
extern krSurfaceInternal m_primarySurface;
extern bool m_bPrimarySurfaceCreated;
extern krSurfaceInternal* m_currentSurface;
extern krSurfaceInternal* m_defaultSurface;
extern SurfaceList m_surfaceList;
extern SurfaceTextureList m_surfaceTextureList;
// A per-frame scratch block, rewound at every swap.
extern u8* m_dynamicData;
extern u32 m_dynamicPos;
extern u32 m_dynamicSize;
extern u32 m_drawCallCount;

// Rebuilds the cached products when a transform changed; false when nothing did.
bool UpdateTransforms();

} // namespace Kelvo_lib::kRenderWII_Private
