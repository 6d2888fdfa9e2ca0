// kRender: the engine's render interface, static operations over one render state. It
// owns the primary surface (the television picture), clears and swaps the frame through
// the platform's frame steps, binds vertex descriptions, streams and textures, keeps the
// transforms and the current shader, and draws the bound geometry. Init first, main
// thread only. Bad arguments are logged and ignored; invalid vertex descriptions assert.
#pragma once

#include <kelvo/containers/kresource.h>
#include <kelvo/render/krmatrix.h>
#include <kelvo/render/krrenderstate.h>
#include <kelvo/render/krshader.h>
#include <kelvo/render/krtextureresourcewii.h>
#include <kelvo/render/krvertexdesc.h>

namespace Kelvo_lib {

enum krTransformType : u32 {
    KR_TRANSFORM_WORLD = 0,
    KR_TRANSFORM_VIEW = 1,
    KR_TRANSFORM_PROJECTION = 2,
};

struct krSurfaceDescCommon {
    u32 xRes;
    u32 yRes;
    u32 colourBits;
    u32 alphaBits;
    u32 depthBits;
    u32 stencilBits;
    u32 caps;
};

struct krSurfaceDesc : krSurfaceDescCommon {
    krSurfaceDesc() : krSurfaceDescCommon{} {}
};

class krSurfaceCommon {};

// The handle kRender gives out for a surface.
class krSurface : public krSurfaceCommon {
public:
    const krSurfaceDesc& GetDesc() const { return m_desc; }

protected:
    krSurface() = default;
    ~krSurface() = default;

    krSurfaceDesc m_desc;
};

class krSurfaceTextureCommon {};
// The handle of a render-target texture.
class krSurfaceTexture : public krSurfaceTextureCommon {
protected:
    krSurfaceTexture() = default;
    ~krSurfaceTexture() = default;
};

class kRender {
public:
    static void Init();
    static void Deinit();
    static bool IsReady() { return true; }

    // The primary surface, sized by the video mode; null when it exists already.
    static krSurface* SurfaceCreate(const krSurfaceDesc& desc);
    static void SurfaceDestroy(krSurface* surface);
    // Flushes the 2-D batch, then selects; false for null.
    static bool SurfaceSelect(krSurface* surface);
    static krSurface* SurfaceGetCurrent();
    static void SurfaceTextureDestroy(krSurfaceTexture* texture);

    // The colour (0xAARRGGBB, alpha dropped) and farthest depth the next copy clears to.
    static void BufferClear(unsigned int colour);
    // Ends the frame (after flushing the 2-D batch) and begins the next.
    static void BufferSwap();

    // Draws count indices of the bound geometry through the current shader; the last
    // three arguments (the caller's file, function and line) are unused.
    static void PostGeometryAdv(krPrimitiveType primType, int startIndex, int count,
                                const char* file, const char* function, int line);

    static void SetVertexDesc(krVertexDesc* pVDesc);
    static void SetVertexStream(unsigned int stream, const void* data, unsigned int stride,
                                unsigned int numBytes, krCacheIdWII* cacheId);
    static void SetIndexStream(const void* data, unsigned int stride, unsigned int numBytes,
                               krCacheIdWII* cacheId);
    // Binds a texture to stage 0 to 7, building its GX objects when new or dirty; null
    // unbinds the stage.
    static void SetTextureResource(int index, const RcPtr<krTextureResourceWII>& texture);

    static void SetShader(krShader* shader);
    static krShader* GetShader();
    static krShader* GetDefaultShader();
    static void SetDefaultShader();

    static void TransformSet(krTransformType type, const krMatrix& m);

    // What is bound and set, for inspection.
    static const krRenderState& GetRenderState();
    // Geometry draws made since the program started (draws a shader refused not counted).
    static u32 GetDrawCallCount();
};

} // namespace Kelvo_lib
