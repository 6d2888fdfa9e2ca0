// Transforms: storing world, view and projection, and rebuilding the cached products
// only when something changed.
#include "krenderwii_private.h"

namespace Kelvo_lib {

using namespace kRenderWII_Private;

void kRender::TransformSet(krTransformType type, const krMatrix& m) {
    krRenderState& rs = m_renderState;
    switch (type) {
    case KR_TRANSFORM_WORLD:
        rs.worldMatrix = m;
        rs.dirtyMatrix = true;
        break;
    case KR_TRANSFORM_VIEW:
        rs.viewMatrix = m;
        rs.dirtyVPMatrix = true;
        rs.dirtyMatrix = true;
        break;
    case KR_TRANSFORM_PROJECTION:
        rs.projectionMatrix = m;
        rs.dirtyVPMatrix = true;
        rs.dirtyMatrix = true;
        break;
    }
}

bool kRenderWII_Private::UpdateTransforms() {
    krRenderState& rs = m_renderState;
    if (!rs.dirtyMatrix) {
        return false;
    }
    rs.dirtyMatrix = false;
    if (rs.dirtyVPMatrix) {
        rs.dirtyVPMatrix = false;
        rs.ps = krMatrixMultiply(rs.projectionMatrix, rs.screenMatrix);
    }
    rs.wv = krMatrixMultiply(rs.worldMatrix, rs.viewMatrix);
    rs.WVPMatrix = krMatrixMultiply(rs.wv, rs.projectionMatrix);
    if (m_shader != nullptr) {
        m_shader->UpdateTransform(rs);
    }
    return true;
}

} // namespace Kelvo_lib
