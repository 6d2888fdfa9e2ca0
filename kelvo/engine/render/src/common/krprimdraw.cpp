// The unit sphere table, filled before the program runs.
#include <kelvo/render/krprimdraw.h>

#include <cmath>
#include <numbers>

namespace Kelvo_lib {

namespace {

constexpr u32 kWhite = 0xFFFFFFFF;

// The vertex at fractions u of a turn round and v of a half turn down from the top.
krVertexPrimDraw SphereVertex(float u, float v) {
    const float longitude = 2.0f * std::numbers::pi_v<float> * u;
    const float polar = std::numbers::pi_v<float> * v;
    const float x = std::sin(polar) * std::cos(longitude);
    const float y = std::cos(polar);
    const float z = std::sin(polar) * std::sin(longitude);
    krVertexPrimDraw vertex;
    vertex.p = krVertexStruct::Vector(x, y, z);
    vertex.n = vertex.p;
    vertex.colour = kWhite;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

bool FillSphere() {
    sphereVertList[0] = SphereVertex(0.0f, 0.0f);
    for (int ring = 0; ring < K_SPHERE_RINGS; ++ring) {
        for (int segment = 0; segment < K_SPHERE_SEGMENTS; ++segment) {
            sphereVertList[1 + ring * K_SPHERE_SEGMENTS + segment] = SphereVertex(
                0.1f * static_cast<float>(segment), 0.05f + 0.1f * static_cast<float>(ring));
        }
    }
    sphereVertList[K_SPHERE_VERT_COUNT - 1] = SphereVertex(0.0f, 1.0f);
    return true;
}

} // namespace

krVertexPrimDraw sphereVertList[K_SPHERE_VERT_COUNT];

namespace {
[[maybe_unused]] const bool s_bSphereFilled = FillSphere();
} // namespace

} // namespace Kelvo_lib
