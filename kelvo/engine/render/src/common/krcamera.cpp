// The camera's projection and its view, the rigid inverse of its placement.
#include <kelvo/render/krcamera.h>
#include <kelvo/render/krender.h>

#include <cmath>

namespace Kelvo_lib {

namespace {

constexpr double kHalfFieldOfView = 3.14159265358979323846 / 2.0 * 0.5;
constexpr float kAspectScale = 1.3f;
constexpr float kNear = 1.0f;
constexpr float kFar = 3000.0f;

} // namespace

krCamera::krCamera() : localToWorld(krMatrixIdentity()) {
    const double tangent = std::tan(kHalfFieldOfView);
    const float depthScale = kFar / (kFar - kNear);
    krElement(projectionMatrix, 0, 0) = static_cast<float>(1.0 / tangent);
    krElement(projectionMatrix, 1, 1) = static_cast<float>(1.0 / (tangent / kAspectScale));
    krElement(projectionMatrix, 2, 2) = depthScale;
    krElement(projectionMatrix, 2, 3) = 1.0f;
    krElement(projectionMatrix, 3, 2) = -depthScale * kNear;
}

void krCamera::Select() const {
    kRender::TransformSet(KR_TRANSFORM_PROJECTION, projectionMatrix);
    krMatrix view;
    for (unsigned int r = 0; r < 3; ++r) {
        for (unsigned int c = 0; c < 3; ++c) {
            krElement(view, r, c) = krElement(localToWorld, c, r);
        }
    }
    for (unsigned int j = 0; j < 3; ++j) {
        float dot = 0.0f;
        for (unsigned int k = 0; k < 3; ++k) {
            dot += krElement(localToWorld, 3, k) * krElement(localToWorld, j, k);
        }
        krElement(view, 3, j) = -dot;
    }
    krElement(view, 3, 3) = 1.0f;
    kRender::TransformSet(KR_TRANSFORM_VIEW, view);
}

} // namespace Kelvo_lib
