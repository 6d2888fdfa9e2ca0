// GXSetNumTexGens, GXSetTexCoordGen2 and coordinate pass-through.
#include "gx/tex_gen.h"

#include "gx/vertex_route.h"

#include <console/gx.h>
#include <console/os.h>

namespace {

struct TexGenState {
    u32 count;
    u32 source[kGXTexCoordCount]; // vertex texture coordinate passed through
    bool otherReported;
};

constinit TexGenState s_texGen{};

} // namespace

void GXResetTexGens() {
    s_texGen = TexGenState{};
    for (u32 coordinate = 0; coordinate < kGXTexCoordCount; ++coordinate) {
        s_texGen.source[coordinate] = coordinate;
    }
    GXSetNumTexGens(1);
}

void GXGenerateTexCoords(const GXVertexInput& vertex, f32* attributes) {
    f32* out = attributes + kGXTexCoordSlot;
    for (u32 coordinate = 0; coordinate < s_texGen.count; ++coordinate) {
        const u32 source = s_texGen.source[coordinate];
        const bool given = vertex.hasTexCoord[source];
        out[2 * coordinate] = given ? vertex.texCoord[source][0] : 0.0f;
        out[2 * coordinate + 1] = given ? vertex.texCoord[source][1] : 0.0f;
    }
    for (u32 coordinate = s_texGen.count; coordinate < kGXTexCoordCount; ++coordinate) {
        out[2 * coordinate] = 0.0f;
        out[2 * coordinate + 1] = 0.0f;
    }
}

u32 GXTexGenCount() {
    return s_texGen.count;
}

u32 GXTexGenSource(u32 coordinate) {
    return s_texGen.source[coordinate];
}

void GXSetNumTexGens(u8 count) {
    if (count > kGXTexCoordCount) {
        OSReport("GXSetNumTexGens: %u coordinates; 8 used\n", count);
        count = kGXTexCoordCount;
    }
    s_texGen.count = count;
    GXVertexStateChanged();
}

void GXSetTexCoordGen2(GXTexCoordID coordinate, GXTexGenType function, GXTexGenSrc source,
                       u32 matrix, GXBool, u32 postMatrix) {
    if (coordinate >= GX_MAX_TEXCOORD) {
        OSReport("GXSetTexCoordGen2: unknown coordinate %u; ignored\n", coordinate);
        return;
    }
    const bool fromVertex = source >= GX_TG_TEX0 && source <= GX_TG_TEX7;
    const bool passThrough = fromVertex && function <= GX_TG_MTX2x4 && matrix == GX_IDENTITY &&
                             postMatrix == GX_PTIDENTITY;
    if (!passThrough && !s_texGen.otherReported) {
        OSReport("GXSetTexCoordGen2: only pass-through is modelled (coordinate %u, source %u, "
                 "matrix %u)\n",
                 coordinate, source, matrix);
        s_texGen.otherReported = true;
    }
    s_texGen.source[coordinate] = fromVertex ? source - GX_TG_TEX0 : coordinate;
    GXVertexStateChanged();
}
