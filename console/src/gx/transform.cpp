// Position matrices, projection and viewport.
#include "gx/transform.h"

#include "gx/colour_channel.h"
#include "gx/tex_gen.h"
#include "gx/vertex_route.h"

#include <console/gx.h>
#include <console/os.h>

#include <bit>
#include <cmath>
#include <cstring>

namespace {

constexpr u32 kMatrixSlots = GX_PNMTX9 / 3 + 1;
constexpr f64 kDepthMax = 16777215.0;

struct TransformState {
    f32 matrices[kMatrixSlots][3][4];
    bool identity[kMatrixSlots]; // the slot's matrix is exactly the identity
    u32 current;
    GXProjectionType projection;
    // perspective: m00, m02, m11, m12, m22, m23; orthographic: m00, m03, m11, m13, m22, m23
    f32 projectionTerms[6];
    GXViewportState viewport;
    GXViewportMapping mapping;
    // Chosen at GXBegin: when the primitive's vertices take the 2-D routine (channel 0
    // alone and from the vertex colour, at most coordinate 0 passed through), whether
    // coordinate 0 is generated.
    bool passTexCoord0;
};

constinit TransformState s_transform{};

constexpr f32 kIdentity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

bool ValidSlot(u32 slot) {
    return slot % 3 == 0 && slot / 3 < kMatrixSlots;
}

bool IsIdentity(const f32 matrix[3][4]) {
    for (u32 row = 0; row < 3; ++row) {
        for (u32 column = 0; column < 4; ++column) {
            const f32 expected = row == column ? 1.0f : 0.0f;
            // Bitwise: a -0 term would keep a -0 position's sign.
            if (std::bit_cast<u32>(matrix[row][column]) != std::bit_cast<u32>(expected)) {
                return false;
            }
        }
    }
    return true;
}

// The position in eye space. Through the identity, each finite coordinate plus 0 (which
// the general sum's zero terms come to: a -0 turns +0); infinities and NaN take the sum.
[[gnu::always_inline]] inline void ToEye(const f32 position[3], f32 eye[3]) {
    const f32* p = position;
    if (s_transform.identity[s_transform.current] && std::isfinite(p[0]) && std::isfinite(p[1]) &&
        std::isfinite(p[2])) {
        for (u32 row = 0; row < 3; ++row) {
            eye[row] = p[row] + 0.0f;
        }
        return;
    }
    const f32(*m)[4] = s_transform.matrices[s_transform.current];
    for (u32 row = 0; row < 3; ++row) {
        eye[row] = m[row][0] * p[0] + m[row][1] * p[1] + m[row][2] * p[2] + m[row][3];
    }
}

[[gnu::always_inline]] inline void Project(const f32 eye[3], f32 clip[4]) {
    const f32* p = s_transform.projectionTerms;
    if (s_transform.projection == GX_PERSPECTIVE) {
        clip[0] = p[0] * eye[0] + p[1] * eye[2];
        clip[1] = p[2] * eye[1] + p[3] * eye[2];
        clip[3] = -eye[2];
    } else {
        clip[0] = p[0] * eye[0] + p[1];
        clip[1] = p[2] * eye[1] + p[3];
        clip[3] = 1.0f;
    }
    clip[2] = p[4] * eye[2] + p[5];
}

void TransformGeneral(const GXVertexInput& vertex, GXClipVertex& out) {
    f32 eye[3];
    ToEye(vertex.position, eye);
    Project(eye, out.clip);
    GXRasterisedColours(vertex, out.attributes);
    GXGenerateTexCoords(vertex, out.attributes);
}

// Four attribute slots, stored at once.
using Slots = f32 __attribute__((vector_size(16)));
using Words = s32 __attribute__((vector_size(16)));
static_assert(kGXAttributeSlots == 24 && kGXColourSlot == 0 && kGXTexCoordSlot == 8);

void StoreSlots(f32* at, Slots slots) {
    std::memcpy(at, &slots, sizeof slots);
}

// What the general routine computes in the 2-D state, in one pass: colour 0 (white when
// absent) and channel 1 off, coordinate 0 (0, 0 when absent or not generated) and the
// other coordinates 0.
void TransformTwoD(const GXVertexInput& vertex, GXClipVertex& out) {
    f32 eye[3];
    ToEye(vertex.position, eye);
    Project(eye, out.clip);
    const u8* c = vertex.colour[0];
    const Slots colour = vertex.hasColour[0]
                             ? __builtin_convertvector((Words{c[0], c[1], c[2], c[3]}), Slots)
                             : Slots{255.0f, 255.0f, 255.0f, 255.0f};
    const f32* st = vertex.texCoord[0];
    const Slots texCoord = s_transform.passTexCoord0 && vertex.hasTexCoord[0]
                               ? Slots{st[0], st[1], 0.0f, 0.0f}
                               : Slots{};
    f32* a = out.attributes;
    StoreSlots(a, colour);
    StoreSlots(a + 4, Slots{});
    StoreSlots(a + 8, texCoord);
    StoreSlots(a + 12, Slots{});
    StoreSlots(a + 16, Slots{});
    StoreSlots(a + 20, Slots{});
}

bool TexGensAtMostCoordinate0() {
    return GXTexGenCount() == 0 || (GXTexGenCount() == 1 && GXTexGenSource(0) == 0);
}

} // namespace

void GXResetTransformState() {
    s_transform = TransformState{};
    GXChooseVertexRoute(false);
    for (u32 slot = 0; slot < kMatrixSlots; ++slot) {
        GXLoadPosMtxImm(kIdentity, slot * 3);
    }
    const f32 identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    GXSetProjection(identity, GX_ORTHOGRAPHIC);
    GXSetViewport(0.0f, 0.0f, 640.0f, 480.0f, 0.0f, 1.0f);
}

void GXPrepareTransform() {
    const GXViewportState& v = s_transform.viewport;
    s_transform.mapping = {v.left + v.width * 0.5f,
                           v.width * 0.5f,
                           v.top + v.height * 0.5f,
                           -v.height * 0.5f,
                           static_cast<f64>(v.farZ) * kDepthMax,
                           static_cast<f64>(v.farZ - v.nearZ) * kDepthMax};
    GXChooseVertexRoute(GXChannelsAreVertexColour0() && TexGensAtMostCoordinate0());
    s_transform.passTexCoord0 = GXTexGenCount() == 1;
}

void GXTransformVertex(const GXVertexInput& vertex, GXClipVertex& out) {
    if (GXVertexRouteIsTwoD()) {
        TransformTwoD(vertex, out);
    } else {
        TransformGeneral(vertex, out);
    }
}

void GXTransformVertexInGeneralForTest(const GXVertexInput& vertex, GXClipVertex& out) {
    TransformGeneral(vertex, out);
}

const GXViewportMapping& GXCurrentViewportMapping() {
    return s_transform.mapping;
}

void GXSetProjection(const f32 matrix[4][4], GXProjectionType type) {
    if (type != GX_PERSPECTIVE && type != GX_ORTHOGRAPHIC) {
        OSReport("GXSetProjection: unknown projection type %u; ignored\n", type);
        return;
    }
    const u32 column = type == GX_PERSPECTIVE ? 2 : 3;
    s_transform.projection = type;
    f32* terms = s_transform.projectionTerms;
    terms[0] = matrix[0][0];
    terms[1] = matrix[0][column];
    terms[2] = matrix[1][1];
    terms[3] = matrix[1][column];
    terms[4] = matrix[2][2];
    terms[5] = matrix[2][3];
}

void GXLoadPosMtxImm(const f32 matrix[3][4], u32 slot) {
    if (!ValidSlot(slot)) {
        OSReport("GXLoadPosMtxImm: matrix slot %u does not exist; ignored\n", slot);
        return;
    }
    for (u32 row = 0; row < 3; ++row) {
        for (u32 column = 0; column < 4; ++column) {
            s_transform.matrices[slot / 3][row][column] = matrix[row][column];
        }
    }
    s_transform.identity[slot / 3] = IsIdentity(matrix);
}

void GXSetCurrentMtx(u32 slot) {
    if (!ValidSlot(slot)) {
        OSReport("GXSetCurrentMtx: matrix slot %u does not exist; ignored\n", slot);
        return;
    }
    s_transform.current = slot / 3;
}

void GXSetViewport(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ) {
    s_transform.viewport = {left, top, width, height, nearZ, farZ};
}

void GXSetViewportJitter(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ, u32 field) {
    // The lower field samples half a line further down.
    const f32 jitter = field == VI_FIELD_BELOW ? 0.5f : 0.0f;
    GXSetViewport(left, top - jitter, width, height, nearZ, farZ);
}

const GXViewportState& GXGetViewportState() {
    return s_transform.viewport;
}
