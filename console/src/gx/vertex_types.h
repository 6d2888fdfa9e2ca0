// The vertex records that travel down the drawing pipeline: what the write calls and
// arrays deliver, and the transformed vertex that clipping and rasterising consume.
// Plain values owned by whoever holds them. Main thread only.
#pragma once

#include <console/types.h>

constexpr u32 kGXColourCount = 2;
constexpr u32 kGXTexCoordCount = 8;

// A vertex as given: object-space position, colours and texture coordinates. An
// attribute the vertex description leaves out is marked absent.
struct GXVertexInput {
    f32 position[3];
    u8 colour[kGXColourCount][4]; // red, green, blue, alpha
    bool hasColour[kGXColourCount];
    f32 texCoord[kGXTexCoordCount][2];
    bool hasTexCoord[kGXTexCoordCount];
};

// Slots of the per-vertex values that are interpolated across a primitive: the two
// rasterised colours (0 to 255 per channel) and the generated texture coordinates.
constexpr u32 kGXColourSlot = 0;                                    // 4 per colour
constexpr u32 kGXTexCoordSlot = kGXColourSlot + 4 * kGXColourCount; // 2 per coordinate
constexpr u32 kGXAttributeSlots = kGXTexCoordSlot + 2 * kGXTexCoordCount;

// After transform: clip-space position (the console's clip volume: -w <= z <= 0,
// x and y within w of the viewport) and the values to interpolate.
struct GXClipVertex {
    f32 clip[4];
    f32 attributes[kGXAttributeSlots];
};

// After clipping and the viewport: embedded frame buffer pixels (y down), depth in
// 24-bit units, the clip-space w for perspective-correct interpolation, and the values
// to interpolate: those of the clip vertex it was projected from, which outlives it.
struct GXScreenVertex {
    f32 x, y;
    f64 depth;
    f32 w;
    const f32* attributes;
};
