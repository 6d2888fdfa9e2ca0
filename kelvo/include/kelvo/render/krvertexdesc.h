// Vertex descriptions: which attribute lies in which stream at which offset, built in
// code by Reg (at most 20 entries, stored inside the description, never allocated) and
// programmed into GX vertex format 0 by kRender::SetVertexDesc. krVertexStruct is the
// engine's 36-byte 3-D vertex with one shared description; krVertex has its layout without
// its constructors. Main thread only; an invalid description is a programming error and
// stops the program when it is set.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/math/kmmatrix.h>

#include <cstddef>

namespace Kelvo_lib {

enum krVertexDescUsage : u32 {
    KR_USAGE_POSITION = 0, // x, y, z
    KR_USAGE_NORMAL = 3,
    KR_USAGE_TEXCOORD = 5, // usage index 0 to 7
    KR_USAGE_COLOUR = 8,   // usage index 0 or 1
    KR_USAGE_POSITION2D = 11,
};

enum krVertexDescType : u32 {
    KR_TYPE_FLOAT2 = 1,
    KR_TYPE_FLOAT3 = 2,
    KR_TYPE_COLOUR = 4,    // 32 bits, bytes red, green, blue, alpha in memory order
    KR_TYPE_COLOUR565 = 11 // 16 bits
};

// Set by code that programs the GX vertex format itself (movies, the home-button menu):
// the next SetVertexDesc then programs the format again even for the same description.
extern bool g_resetWiiVertexDesc;

class krVertexDescCommon {};

class krVertexDesc : public krVertexDescCommon {
public:
    struct Value {
        u16 stream;
        u16 offset;
        u16 type;
        u16 usage;
        u16 usageIndex;
    };
    using krVertexDescArrayTrait = FixedMemArrayTrait<200>;

    krVertexDesc();
    krVertexDesc(const krVertexDesc&) = delete;
    krVertexDesc& operator=(const krVertexDesc&) = delete;

    // Appends an entry (each value kept in 16 bits).
    void Reg(unsigned int stream, unsigned int offset, unsigned int type, unsigned int usage,
             unsigned int usageIndex);

    kArray<Value, krVertexDescArrayTrait> desc;
    u32 descID;

    static u32 curdescID;
};

struct krVertexStruct {
    using Vector = kmMatrix<1, 3, float, kSIMD_WII>;

    krVertexStruct() = default;
    krVertexStruct(float x, float y, float z, float nx, float ny, float nz, u32 vertexColour,
                   float tu, float tv)
        : p(x, y, z), n(nx, ny, nz), colour(vertexColour), u(tu), v(tv) {}

    // Position, normal, colour 0 and texture coordinate 0 in stream 0.
    static krVertexDesc* GetDesc();

    Vector p;
    Vector n;
    u32 colour; // 0xRRGGBBAA
    float u;
    float v;
};
static_assert(sizeof(krVertexStruct) == 36);

// krVertexStruct's fields and layout, left unset on construction: for tables filled field
// by field, drawn with krVertexStruct::GetDesc().
struct krVertex {
    krVertex() {}

    krVertexStruct::Vector p;
    krVertexStruct::Vector n;
    u32 colour; // 0xRRGGBBAA
    float u;
    float v;
};
static_assert(sizeof(krVertex) == sizeof(krVertexStruct));
static_assert(offsetof(krVertex, colour) == offsetof(krVertexStruct, colour) &&
              offsetof(krVertex, v) == offsetof(krVertexStruct, v));

} // namespace Kelvo_lib
