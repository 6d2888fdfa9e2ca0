// The one-pass vertex routine GXBegin chooses for the common 2-D state, against the
// general routine: the same clip positions, colours and coordinates bit for bit, and the
// general routine again whenever the state leaves the 2-D one.
#include "gx/transform.h"
#include "gx_test_support.h"

#include <console/gx.h>

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace two_d_transform {
namespace {

constexpr f32 kInfinity = std::numeric_limits<f32>::infinity();
constexpr f32 kValues[] = {
    0.0f,   -0.0f, 1e-45f,    -1e-45f,    0.5f,
    -3.75f, 1e30f, kInfinity, -kInfinity, std::numeric_limits<f32>::quiet_NaN()};
constexpr u8 kComponents[] = {0, 1, 0x80, 0xFE, 0xFF};

constexpr f32 kIdentity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
constexpr f32 kNegativeZeros[3][4] = {{1, -0.0f, 0, 0}, {0, 1, 0, -0.0f}, {0, 0, 1, 0}};
constexpr f32 kAffine[3][4] = {{0.5f, 0.25f, 0, 5}, {-0.25f, 2, 0, -3}, {0, 0, 1, -0.5f}};

// Orthographic, moving by -0 (which keeps a zero's sign) and by a number, and perspective.
struct Projection {
    f32 matrix[4][4];
    GXProjectionType type;
};
constexpr Projection kProjections[] = {
    {{{2, 0, 0, -0.0f}, {0, -2, 0, -0.0f}, {0, 0, 0.5f, -0.0f}, {0, 0, 0, 1}}, GX_ORTHOGRAPHIC},
    {{{2, 0, 0, -1}, {0, -2, 0, -1}, {0, 0, 0.5f, -1}, {0, 0, 0, 1}}, GX_ORTHOGRAPHIC},
    {{{2, 0, 0.5f, 0}, {0, 2, 0.25f, 0}, {0, 0, -1, -2}, {0, 0, -1, 0}}, GX_PERSPECTIVE}};

// The bits of a clip coordinate, any NaN as one (which NaN a sum gives depends on the
// order of its operands; a NaN vertex is never drawn).
u32 ClipBitsOf(f32 value) {
    return std::isnan(value) ? 0x7FC00000u : std::bit_cast<u32>(value);
}

// Vertex i of a sweep: positions, colours and coordinates from the edge values, both
// colours and two coordinates told apart, each present or absent in turn.
GXVertexInput EdgeVertex(u32 i) {
    constexpr u32 n = std::size(kValues);
    GXVertexInput vertex{};
    vertex.position[0] = kValues[i % n];
    vertex.position[1] = kValues[i / n % n];
    vertex.position[2] = kValues[(i + 3) % n];
    for (u32 channel = 0; channel < kGXColourCount; ++channel) {
        for (u32 component = 0; component < 4; ++component) {
            vertex.colour[channel][component] =
                kComponents[(i + channel + component * 2) % std::size(kComponents)];
        }
        vertex.hasColour[channel] = (i >> channel) % 3 != 0;
    }
    for (u32 coordinate = 0; coordinate < 2; ++coordinate) {
        vertex.texCoord[coordinate][0] = kValues[(i + 5 + coordinate) % n];
        vertex.texCoord[coordinate][1] = kValues[(i * 7 + coordinate) % n];
        vertex.hasTexCoord[coordinate] = (i + coordinate) % 4 != 1;
    }
    return vertex;
}

// Both routines over the sweep, the open primitive's choice against the general one.
void ExpectTheGeneralResults(const char* state) {
    for (u32 i = 0; i < std::size(kValues) * std::size(kValues); ++i) {
        const GXVertexInput vertex = EdgeVertex(i);
        GXClipVertex chosen;
        GXClipVertex general;
        GXTransformVertex(vertex, chosen);
        GXTransformVertexInGeneralForTest(vertex, general);
        for (u32 axis = 0; axis < 4; ++axis) {
            ASSERT_EQ(ClipBitsOf(chosen.clip[axis]), ClipBitsOf(general.clip[axis]))
                << state << ": vertex " << i << ", axis " << axis;
        }
        ASSERT_EQ(std::memcmp(chosen.attributes, general.attributes, sizeof general.attributes), 0)
            << state << ": vertex " << i;
    }
}

void UseTwoDState(u8 texGens, const Projection& projection) {
    gxtest::Reset();
    GXSetProjection(projection.matrix, projection.type);
    gxtest::UseVertexColour();
    GXSetNumChans(1);
    GXSetNumTexGens(texGens);
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
}

TEST(GXTransformTest, TheTwoDRoutineComputesWhatTheGeneralOneDoes) {
    // Every matrix kind through every projection, with and without coordinate 0.
    for (const u8 texGens : {0, 1}) {
        for (const Projection& projection : kProjections) {
            for (const auto* matrix : {&kIdentity, &kNegativeZeros, &kAffine}) {
                UseTwoDState(texGens, projection);
                GXLoadPosMtxImm(*matrix, GX_PNMTX0);
                GXSetCurrentMtx(GX_PNMTX0);
                GXPrepareTransform();
                ExpectTheGeneralResults("2-D");
            }
        }
    }
}

void FromRegister(GXChannelID channel) {
    GXSetChanCtrl(channel, GX_DISABLE, GX_SRC_REG, GX_SRC_REG, GX_LIGHT_NULL, GX_DF_NONE,
                  GX_AF_NONE);
}

TEST(GXTransformTest, AnyOtherStateTakesTheGeneralRoutine) {
    // Each change, made before GXBegin chooses and made after, within the primitive.
    const std::array<std::pair<const char*, std::function<void()>>, 7> changes = {{
        {"no channel", [] { GXSetNumChans(0); }},
        {"two channels", [] { GXSetNumChans(2); }},
        {"colour from the register", [] { FromRegister(GX_COLOR0); }},
        {"alpha from the register", [] { FromRegister(GX_ALPHA0); }},
        {"two coordinates", [] { GXSetNumTexGens(2); }},
        {"coordinate 0 from vertex coordinate 1",
         [] {
             GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX1, GX_IDENTITY, GX_FALSE,
                               GX_PTIDENTITY);
         }},
        {"a matrix between vertices", [] { GXLoadPosMtxImm(kAffine, GX_PNMTX0); }},
    }};
    for (const auto& [name, change] : changes) {
        UseTwoDState(1, kProjections[0]);
        change();
        GXPrepareTransform();
        ExpectTheGeneralResults(name);

        UseTwoDState(1, kProjections[0]);
        GXPrepareTransform();
        change();
        ExpectTheGeneralResults(name);
    }
}

} // namespace
} // namespace two_d_transform
