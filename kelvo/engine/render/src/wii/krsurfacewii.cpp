// Surfaces: the one primary surface, selecting a surface (viewport, scissor, pixel
// format and screen matrix) and render-target textures.
#include "krenderwii_private.h"

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>

namespace Kelvo_lib {

using namespace kRenderWII_Private;

namespace {

struct BitDepths {
    u32 colour;
    u32 alpha;
    u32 depth;
};

BitDepths DepthsOfPixelFormat(int format) {
    switch (format) {
    case GX_PF_RGB8_Z24:
        return {24, 8, 24};
    case GX_PF_RGBA6_Z24:
        return {18, 6, 24};
    case GX_PF_RGB565_Z16:
        return {16, 0, 16};
    default:
        kLogFmt("Unknown frame buffer pixel format!\n");
        return {0, 0, 0};
    }
}

// Maps clip z to the graphics processor's range: rows (1, 0, 0, 0), (0, 1, 0, 0),
// (0, 0, -1, 0), (0, 0, 1, -1).
krMatrix ScreenMatrix() {
    krMatrix screen = krMatrixIdentity();
    krElement(screen, 2, 2) = -1.0f;
    krElement(screen, 3, 2) = 1.0f;
    krElement(screen, 3, 3) = -1.0f;
    return screen;
}

// Copies the picture of a render-target surface into its texture and clears it.
void CopyToSurfaceTexture(const krSurfaceInternal& surface) {
    const u16 width = static_cast<u16>(surface.m_screenWidth);
    const u16 height = static_cast<u16>(surface.m_screenHeight);
    GXDrawDone();
    GXSetTexCopySrc(0, 0, width, height);
    GXSetTexCopyDst(width, height, GX_TF_RGBA8, GX_FALSE);
    GXCopyTex(surface.m_surfaceTexture->m_data, GX_TRUE);
    GXPixModeSync();
}

} // namespace

krSurface* kRender::SurfaceCreate(const krSurfaceDesc&) {
    if (m_bPrimarySurfaceCreated) {
        kLogSys("WII", "SurfaceCreate: Primary surface already created\n");
        return nullptr;
    }
    krSurfaceInternal& surface = m_primarySurface;
    surface.m_surfaceTexture = nullptr;
    surface.m_screenWidth = MyDemoGetWidth();
    surface.m_screenHeight = MyDemoGetHeight();
    const BitDepths depths = DepthsOfPixelFormat(MyDemoGetFormat());
    kLogFmt("PrimarySurface: %d x %d - %d bpp - %d depth\n", surface.m_screenWidth,
            surface.m_screenHeight, depths.colour, depths.depth);
    krSurfaceDesc& desc = surface.Desc();
    desc.xRes = surface.m_screenWidth;
    desc.yRes = surface.m_screenHeight;
    desc.colourBits = depths.colour;
    desc.alphaBits = depths.alpha;
    desc.depthBits = depths.depth;
    desc.stencilBits = 0;
    desc.caps = 0;
    surface.m_screenAspect =
        surface.m_screenHeight == 0
            ? 0.0f
            : static_cast<float>(surface.m_screenWidth / surface.m_screenHeight);
    m_bPrimarySurfaceCreated = true;
    MyDemoBeforeRender();
    SurfaceSelect(&surface);
    for (int frame = 0; frame < 2; ++frame) {
        BufferClear(0xFF000000);
        BufferSwap();
    }
    return &surface;
}

void kRender::SurfaceDestroy(krSurface* surface) {
    if (surface == &m_primarySurface) {
        m_bPrimarySurfaceCreated = false;
    }
}

bool kRender::SurfaceSelect(krSurface* surface) {
    krDrawHelp::Flush();
    if (surface == nullptr) {
        return false;
    }
    if (surface == m_currentSurface) {
        return true;
    }
    // Every surface kRender hands out is one of its own.
    auto* selected = static_cast<krSurfaceInternal*>(surface);
    if (m_currentSurface != nullptr && m_currentSurface->m_surfaceTexture != nullptr) {
        CopyToSurfaceTexture(*m_currentSurface);
    }
    GXDrawDone();
    const bool alpha =
        selected->m_surfaceTexture != nullptr && selected->m_surfaceTexture->m_bAlpha;
    GXSetPixelFmt(alpha ? GX_PF_RGBA6_Z24 : GX_PF_RGB8_Z24, GX_ZC_LINEAR);
    GXSetViewport(0.0f, 0.0f, static_cast<f32>(selected->m_screenWidth),
                  static_cast<f32>(selected->m_screenHeight), 0.0f, 1.0f);
    GXSetScissor(0, 0, selected->m_screenWidth, selected->m_screenHeight);
    m_renderState.screenMatrix = ScreenMatrix();
    m_renderState.dirtyMatrix = true;
    m_renderState.dirtyVPMatrix = true;
    m_currentSurface = selected;
    return true;
}

krSurface* kRender::SurfaceGetCurrent() {
    return m_currentSurface;
}

void kRender::SurfaceTextureDestroy(krSurfaceTexture* texture) {
    if (texture == nullptr) {
        return;
    }
    auto* internal = static_cast<krSurfaceTextureInternal*>(texture);
    if (internal->m_surface == m_currentSurface) {
        m_currentSurface = nullptr;
    }
    kLogSys("WII", "SurfaceTextureDestroy\n");
    if (m_surfaceTextureList.RemoveElement(internal) == 0) {
        return;
    }
    if (m_currentSurface == nullptr && m_defaultSurface != nullptr) {
        SurfaceSelect(m_defaultSurface);
    }
}

} // namespace Kelvo_lib
