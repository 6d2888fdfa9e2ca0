// Vertex description, formats, arrays and the write calls.
#include "gx/vertex.h"

#include "gx/vertex_types.h"

#include <console/os.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr u32 kFirstAttribute = GX_VA_POS;
constexpr u32 kLastAttribute = GX_VA_TEX7;
constexpr u32 kAttributeCount = kLastAttribute - kFirstAttribute + 1;

struct AttributeFormat {
    GXCompCnt count;
    GXCompType type;
    u8 fraction;
};

enum class Kind : u8 { Position, Normal, Colour, TexCoord };

struct StreamAttribute {
    u32 attribute;
    GXAttrType how;
    AttributeFormat format;
    f32 scale; // of the format's fixed-point values; 1 for F32, whose writes multiply by it
};

// The writes of the common formats (XYZ positions and ST coordinates in F32, RGBA8
// colours), direct or through an array, which go straight into the vertex when the stream
// entry they fill was resolved to them at GXBegin; any other write takes the checked path.
enum class FastWrite : u8 {
    Checked,
    DirectPosition,
    DirectColour,
    DirectTexCoord,
    IndexedPosition,
    IndexedColour,
    IndexedTexCoord
};

struct VertexState {
    GXAttrType description[kAttributeCount];
    AttributeFormat formats[GX_MAX_VTXFMT][kAttributeCount];
    const u8* arrays[kAttributeCount];
    u8 strides[kAttributeCount];

    // The primitive being written.
    bool open;
    bool dropping;
    bool strayReported; // a write outside a primitive was reported since the last one
    bool checkEveryWrite;
    StreamAttribute stream[kAttributeCount];
    u32 streamLength;
    u32 cursor;
    // Per stream entry; all Checked while no primitive is open or its writes are dropped.
    FastWrite fast[kAttributeCount];
    GXVertexInput vertex;
    GXVertexSink sink; // takes each finished vertex
};

constinit VertexState s_vertex{};

bool IsDrawnAttribute(u32 attribute) {
    return attribute >= kFirstAttribute && attribute <= kLastAttribute;
}

u32 Slot(u32 attribute) {
    return attribute - kFirstAttribute;
}

Kind KindOf(u32 attribute) {
    switch (attribute) {
    case GX_VA_POS:
        return Kind::Position;
    case GX_VA_NRM:
        return Kind::Normal;
    case GX_VA_CLR0:
    case GX_VA_CLR1:
        return Kind::Colour;
    default:
        return Kind::TexCoord;
    }
}

const char* NameOf(Kind kind) {
    static const char* const kNames[] = {"position", "normal", "colour", "texture coordinate"};
    return kNames[static_cast<u32>(kind)];
}

bool ValidFormat(u32 attribute, GXCompCnt count, GXCompType type, u8 fraction) {
    switch (KindOf(attribute)) {
    case Kind::Position:
        return count <= GX_POS_XYZ && type <= GX_F32 && fraction < 32;
    case Kind::Normal:
        return count == GX_NRM_XYZ && type == GX_F32;
    case Kind::Colour:
        return (count == GX_CLR_RGBA && type == GX_RGBA8) ||
               (count == GX_CLR_RGB && type == GX_RGB565);
    case Kind::TexCoord:
        return count <= GX_TEX_ST && type <= GX_F32 && fraction < 32;
    }
    return false;
}

void ForgetFastWrites() {
    std::fill(std::begin(s_vertex.fast), std::end(s_vertex.fast), FastWrite::Checked);
}

bool HasCommonFormat(const StreamAttribute& entry) {
    const AttributeFormat& format = entry.format;
    switch (KindOf(entry.attribute)) {
    case Kind::Position:
        return format.count == GX_POS_XYZ && format.type == GX_F32;
    case Kind::Colour:
        return format.count == GX_CLR_RGBA && format.type == GX_RGBA8;
    case Kind::TexCoord:
        return format.count == GX_TEX_ST && format.type == GX_F32;
    default:
        return false;
    }
}

FastWrite FastWriteFor(const StreamAttribute& entry) {
    if (!HasCommonFormat(entry)) {
        return FastWrite::Checked;
    }
    const bool direct = entry.how == GX_DIRECT;
    switch (KindOf(entry.attribute)) {
    case Kind::Position:
        return direct ? FastWrite::DirectPosition : FastWrite::IndexedPosition;
    case Kind::Colour:
        return direct ? FastWrite::DirectColour : FastWrite::IndexedColour;
    default: // texture coordinates: normals have no common format
        return direct ? FastWrite::DirectTexCoord : FastWrite::IndexedTexCoord;
    }
}

// True when the next write is the given fast one, to be written without further checks.
bool IsNext(FastWrite write) {
    return s_vertex.fast[s_vertex.cursor] == write;
}

void Drop(const char* why, u32 attribute) {
    ForgetFastWrites();
    if (!s_vertex.dropping) {
        OSReport("GX: %s (attribute %u); the rest of the primitive is dropped\n", why, attribute);
    }
    s_vertex.dropping = true;
}

// The stream entry the next write fills, or null when that write does not fit.
const StreamAttribute* Expect(Kind kind, GXAttrType how) {
    if (!s_vertex.open) {
        if (!s_vertex.strayReported) {
            OSReport("GX: %s written outside GXBegin/GXEnd; ignored\n", NameOf(kind));
        }
        s_vertex.strayReported = true;
        return nullptr;
    }
    if (s_vertex.dropping) {
        return nullptr;
    }
    const StreamAttribute& next = s_vertex.stream[s_vertex.cursor];
    if (KindOf(next.attribute) != kind || (how == GX_INDEX16) != (next.how == GX_INDEX16)) {
        Drop("a write does not match the vertex description", next.attribute);
        return nullptr;
    }
    return &next;
}

bool FormatIs(const StreamAttribute& entry, GXCompCnt count, GXCompType type) {
    if (entry.format.count == count && entry.format.type == type) {
        return true;
    }
    Drop("a direct write does not match the attribute format", entry.attribute);
    return false;
}

// True when the next write is a direct one of this kind and form; reported when it does
// not fit.
bool AcceptsDirect(Kind kind, GXCompCnt count, GXCompType type) {
    const StreamAttribute* entry = Expect(kind, GX_DIRECT);
    return entry != nullptr && FormatIs(*entry, count, type);
}

// Readies the vertex for the next one's writes. Only the presence marks are cleared: every
// vertex writes its position whole, and colours and coordinates are read only when present.
void ForgetAttributes(GXVertexInput& vertex) {
    std::fill(std::begin(vertex.hasColour), std::end(vertex.hasColour), false);
    std::fill(std::begin(vertex.hasTexCoord), std::end(vertex.hasTexCoord), false);
}

void Advance() {
    if (++s_vertex.cursor < s_vertex.streamLength) {
        return;
    }
    s_vertex.sink(s_vertex.vertex);
    s_vertex.cursor = 0;
    ForgetAttributes(s_vertex.vertex);
}

f32 FractionScale(const AttributeFormat& format) {
    return format.type == GX_F32 ? 1.0f : 1.0f / static_cast<f32>(1u << format.fraction);
}

// Array values are in the host's order, as the program stored them.
template <typename T>
T Load(const u8* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

f32 ReadComponent(const u8* at, GXCompType type, f32 scale) {
    switch (type) {
    case GX_U8:
        return static_cast<f32>(*at) * scale;
    case GX_S8:
        return static_cast<f32>(static_cast<s8>(*at)) * scale;
    case GX_U16:
        return static_cast<f32>(Load<u16>(at)) * scale;
    case GX_S16:
        return static_cast<f32>(Load<s16>(at)) * scale;
    default:
        return Load<f32>(at);
    }
}

u32 ComponentSize(GXCompType type) {
    static const u32 kSizes[] = {1, 1, 2, 2, 4};
    return kSizes[type];
}

void ReadComponents(const u8* at, const AttributeFormat& format, u32 count, f32* out) {
    const f32 scale = FractionScale(format);
    for (u32 i = 0; i < count; ++i) {
        out[i] = ReadComponent(at + i * ComponentSize(format.type), format.type, scale);
    }
}

void SetColour(u32 which, u32 rgba) {
    u8* colour = s_vertex.vertex.colour[which];
    colour[0] = static_cast<u8>(rgba >> 24);
    colour[1] = static_cast<u8>(rgba >> 16);
    colour[2] = static_cast<u8>(rgba >> 8);
    colour[3] = static_cast<u8>(rgba);
    s_vertex.vertex.hasColour[which] = true;
}

u32 ExpandRgb565(u16 value) {
    const u32 r = (value >> 11) & 0x1F;
    const u32 g = (value >> 5) & 0x3F;
    const u32 b = value & 0x1F;
    return ((r << 3 | r >> 2) << 24) | ((g << 2 | g >> 4) << 16) | ((b << 3 | b >> 2) << 8) | 0xFF;
}

// The stream entry being filled; its writes are checked already.
const StreamAttribute& Current() {
    return s_vertex.stream[s_vertex.cursor];
}

// The array element a fast indexed write reads, or null when the next write is not that
// one or its attribute has no array (the checked path reports that).
const u8* FastElement(FastWrite write, u16 index) {
    if (!IsNext(write)) {
        return nullptr;
    }
    const u32 slot = Slot(Current().attribute);
    const u8* base = s_vertex.arrays[slot];
    return base == nullptr ? nullptr : base + static_cast<size_t>(index) * s_vertex.strides[slot];
}

void ReadIndexed(const StreamAttribute& entry, u16 index) {
    const u32 slot = Slot(entry.attribute);
    const u8* base = s_vertex.arrays[slot];
    if (base == nullptr) {
        Drop("an indexed attribute has no array", entry.attribute);
        return;
    }
    const u8* at = base + static_cast<size_t>(index) * s_vertex.strides[slot];
    GXVertexInput& vertex = s_vertex.vertex;
    switch (KindOf(entry.attribute)) {
    case Kind::Position:
        vertex.position[2] = 0.0f;
        ReadComponents(at, entry.format, entry.format.count == GX_POS_XYZ ? 3 : 2, vertex.position);
        break;
    case Kind::Normal: // lighting is not modelled, so normals are not read
        break;
    case Kind::Colour:
        SetColour(entry.attribute - GX_VA_CLR0,
                  entry.format.type == GX_RGB565 ? ExpandRgb565(Load<u16>(at)) : Load<u32>(at));
        break;
    case Kind::TexCoord: {
        const u32 coordinate = entry.attribute - GX_VA_TEX0;
        vertex.texCoord[coordinate][1] = 0.0f;
        ReadComponents(at, entry.format, entry.format.count == GX_TEX_ST ? 2 : 1,
                       vertex.texCoord[coordinate]);
        vertex.hasTexCoord[coordinate] = true;
        break;
    }
    }
}

void WriteIndex(Kind kind, u16 index) {
    if (const StreamAttribute* entry = Expect(kind, GX_INDEX16)) {
        ReadIndexed(*entry, index);
        if (!s_vertex.dropping) {
            Advance();
        }
    }
}

// Multiplied by the scale even for F32, so that a signalling NaN is quietened as for the
// fixed-point formats.
void SetPosition(f32 x, f32 y, f32 z) {
    const f32 scale = Current().scale;
    s_vertex.vertex.position[0] = x * scale;
    s_vertex.vertex.position[1] = y * scale;
    s_vertex.vertex.position[2] = z * scale;
    Advance();
}

void SetTexCoord(f32 s, f32 t) {
    const StreamAttribute& entry = Current();
    const u32 coordinate = entry.attribute - GX_VA_TEX0;
    s_vertex.vertex.texCoord[coordinate][0] = s * entry.scale;
    s_vertex.vertex.texCoord[coordinate][1] = t * entry.scale;
    s_vertex.vertex.hasTexCoord[coordinate] = true;
    Advance();
}

} // namespace

void GXResetVertexState() {
    s_vertex = VertexState{};
    for (auto& formats : s_vertex.formats) {
        for (u32 slot = 0; slot < kAttributeCount; ++slot) {
            const u32 attribute = slot + kFirstAttribute;
            const bool colour = KindOf(attribute) == Kind::Colour;
            const GXCompCnt count = colour ? GX_CLR_RGBA : GX_POS_XYZ; // XYZ and ST are both 1
            formats[slot] = {count, colour ? GX_RGBA8 : GX_F32, 0};
        }
        formats[Slot(GX_VA_NRM)].count = GX_NRM_XYZ;
    }
    GXClearVtxDesc();
}

bool GXOpenVertexStream(GXVtxFmt format, GXVertexSink sink) {
    s_vertex.open = true;
    s_vertex.sink = sink;
    s_vertex.dropping = false;
    s_vertex.strayReported = false;
    s_vertex.cursor = 0;
    s_vertex.streamLength = 0;
    s_vertex.vertex = GXVertexInput{};
    ForgetFastWrites();
    if (format >= GX_MAX_VTXFMT) {
        Drop("unknown vertex format", format);
        return false;
    }
    if (s_vertex.description[Slot(GX_VA_POS)] == GX_NONE) {
        Drop("the vertex description has no position", GX_VA_POS);
        return false;
    }
    for (u32 slot = 0; slot < kAttributeCount; ++slot) {
        if (s_vertex.description[slot] != GX_NONE) {
            StreamAttribute& entry = s_vertex.stream[s_vertex.streamLength];
            const AttributeFormat& attributeFormat = s_vertex.formats[format][slot];
            entry = {slot + kFirstAttribute, s_vertex.description[slot], attributeFormat,
                     FractionScale(attributeFormat)};
            s_vertex.fast[s_vertex.streamLength++] =
                s_vertex.checkEveryWrite ? FastWrite::Checked : FastWriteFor(entry);
        }
    }
    return true;
}

bool GXCloseVertexStream() {
    const bool whole = s_vertex.cursor == 0;
    s_vertex.open = false;
    ForgetFastWrites();
    return whole;
}

void GXCheckEveryVertexWriteForTest() {
    s_vertex.checkEveryWrite = true;
}

void GXClearVtxDesc() {
    for (GXAttrType& how : s_vertex.description) {
        how = GX_NONE;
    }
    s_vertex.description[Slot(GX_VA_POS)] = GX_DIRECT;
}

void GXSetVtxDesc(GXAttr attribute, GXAttrType type) {
    if (!IsDrawnAttribute(attribute) || type > GX_INDEX16) {
        OSReport("GXSetVtxDesc: attribute %u as %u is not supported; ignored\n", attribute, type);
        return;
    }
    if (type == GX_INDEX8) {
        OSReport("GXSetVtxDesc: 8-bit indices (attribute %u) are not supported; ignored\n",
                 attribute);
        return;
    }
    s_vertex.description[Slot(attribute)] = type;
}

void GXSetVtxAttrFmt(GXVtxFmt format, GXAttr attribute, GXCompCnt count, GXCompType type,
                     u8 fraction) {
    if (format >= GX_MAX_VTXFMT || !IsDrawnAttribute(attribute) ||
        !ValidFormat(attribute, count, type, fraction)) {
        OSReport("GXSetVtxAttrFmt: format %u attribute %u (%u, %u, %u) is not supported; "
                 "ignored\n",
                 format, attribute, count, type, fraction);
        return;
    }
    s_vertex.formats[format][Slot(attribute)] = {count, type, fraction};
}

void GXSetArray(GXAttr attribute, const void* base, u8 stride) {
    if (!IsDrawnAttribute(attribute)) {
        OSReport("GXSetArray: attribute %u has no array; ignored\n", attribute);
        return;
    }
    s_vertex.arrays[Slot(attribute)] = static_cast<const u8*>(base);
    s_vertex.strides[Slot(attribute)] = stride;
}

void GXPosition3f32(f32 x, f32 y, f32 z) {
    if (IsNext(FastWrite::DirectPosition) || AcceptsDirect(Kind::Position, GX_POS_XYZ, GX_F32)) {
        SetPosition(x, y, z);
    }
}

void GXPosition2f32(f32 x, f32 y) {
    if (AcceptsDirect(Kind::Position, GX_POS_XY, GX_F32)) {
        SetPosition(x, y, 0.0f);
    }
}

void GXPosition3s16(s16 x, s16 y, s16 z) {
    if (AcceptsDirect(Kind::Position, GX_POS_XYZ, GX_S16)) {
        SetPosition(x, y, z);
    }
}

void GXPosition1x16(u16 index) {
    if (const u8* at = FastElement(FastWrite::IndexedPosition, index)) {
        std::memcpy(s_vertex.vertex.position, at, sizeof s_vertex.vertex.position);
        Advance();
    } else {
        WriteIndex(Kind::Position, index);
    }
}

void GXNormal3f32(f32, f32, f32) {
    if (AcceptsDirect(Kind::Normal, GX_NRM_XYZ, GX_F32)) {
        Advance();
    }
}

void GXNormal1x16(u16 index) {
    WriteIndex(Kind::Normal, index);
}

void GXColor1u32(u32 rgba) {
    if (IsNext(FastWrite::DirectColour) || AcceptsDirect(Kind::Colour, GX_CLR_RGBA, GX_RGBA8)) {
        SetColour(Current().attribute - GX_VA_CLR0, rgba);
        Advance();
    }
}

void GXColor1x16(u16 index) {
    if (const u8* at = FastElement(FastWrite::IndexedColour, index)) {
        SetColour(Current().attribute - GX_VA_CLR0, Load<u32>(at));
        Advance();
    } else {
        WriteIndex(Kind::Colour, index);
    }
}

void GXTexCoord2f32(f32 s, f32 t) {
    if (IsNext(FastWrite::DirectTexCoord) || AcceptsDirect(Kind::TexCoord, GX_TEX_ST, GX_F32)) {
        SetTexCoord(s, t);
    }
}

void GXTexCoord2u16(u16 s, u16 t) {
    if (AcceptsDirect(Kind::TexCoord, GX_TEX_ST, GX_U16)) {
        SetTexCoord(s, t);
    }
}

void GXTexCoord1x16(u16 index) {
    if (const u8* at = FastElement(FastWrite::IndexedTexCoord, index)) {
        const u32 coordinate = Current().attribute - GX_VA_TEX0;
        std::memcpy(s_vertex.vertex.texCoord[coordinate], at, 2 * sizeof(f32));
        s_vertex.vertex.hasTexCoord[coordinate] = true;
        Advance();
    } else {
        WriteIndex(Kind::TexCoord, index);
    }
}
