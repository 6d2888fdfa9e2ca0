// Shaders turn the bound geometry into graphics-processor commands: matrices, depth,
// blending, culling, texture combiners, vertex arrays and the indices. krShaderFF draws
// 3-D geometry through the camera's projection, krShader2D screen-space geometry given
// in clip coordinates. A shader destroyed while current hands over to the default
// shader. Main thread only; primitive types GX does not draw return false, drawing nothing.
#pragma once

#include <kelvo/render/krrenderstate.h>

namespace Kelvo_lib {

enum krPrimitiveType : u32 {
    KR_PRIM_TRILIST = 0,
    KR_PRIM_LINELIST = 1,
    KR_PRIM_POINTLIST = 2,
    KR_PRIM_TRISTRIP = 3,
    KR_PRIM_USER = 0x100,
};

enum krCullMode : u32 {
    KR_CULL_ANTICLOCKWISE = 0,
    KR_CULL_CLOCKWISE = 1,
    KR_CULL_NONE = 2,
};

struct krDrawContext {
    bool alphaBlendEnable;
    bool zEnable;
    bool zWriteEnable;
    krCullMode cullMode;
};

class krShaderCommon {};

class krShader : public krShaderCommon {
public:
    krShader() = default;
    krShader(const krShader&) = delete;
    krShader& operator=(const krShader&) = delete;
    // The current shader, unless it is the default one, gives way to the default shader.
    virtual ~krShader();

    virtual bool Select(const krRenderState& rs) = 0;
    virtual bool UpdateTransform(const krRenderState& rs) = 0;
    // Draws count indices of the index stream from its first one; startIndex is unused.
    virtual bool ProcessGeometry(const krRenderState& rs, krPrimitiveType type,
                                 unsigned int startIndex, unsigned int count) = 0;
};

class krShaderWII : public krShader {
public:
    bool Select(const krRenderState& rs) override;
    bool UpdateTransform(const krRenderState& rs) override;
    // The drawing path shared by every shader, after its matrices are loaded.
    bool ProcessGeometry(const krRenderState& rs, krPrimitiveType type, unsigned int startIndex,
                         unsigned int count) override;

    krDrawContext m_drawContext{true, true, true, KR_CULL_NONE};
};

// Perspective: the projection and screen transforms, positions through world x view.
class krShaderFF : public krShaderWII {
public:
    bool ProcessGeometry(const krRenderState& rs, krPrimitiveType type, unsigned int startIndex,
                         unsigned int count) override;
};

// Orthographic: x and y pass through unchanged (clip coordinates), z maps to -z - 1.
class krShader2D : public krShaderWII {
public:
    bool ProcessGeometry(const krRenderState& rs, krPrimitiveType type, unsigned int startIndex,
                         unsigned int count) override;
};

} // namespace Kelvo_lib
