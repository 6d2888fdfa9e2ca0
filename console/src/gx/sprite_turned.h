// The sprite loop's turned spans: sprites whose texture coordinate t changes across a
// line as well as down (turned or sheared), drawn two pixels at a time from the few texel
// rows a span reads, with what the loop found for the triangle. Main thread only.
#pragma once

#include "gx/pixel_pipeline.h"

namespace gx_sprite {

// Columns [xBegin, xEnd) of line y of a turned sprite: both coordinates stepped per pixel
// as the per-pixel loop steps them, the texel rows the span reads found first. False,
// having drawn nothing, when the span reads more rows than the loop keeps.
template <bool kLinear, bool kBlend>
bool DrawTurnedPixels(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin,
                      u32 xEnd);

} // namespace gx_sprite
