// The YUV span loop: the movie player's four-stage conversion (chroma terms from two
// I8 planes onto a register, the luma plane added, green moved into place) drawn
// without blending, alpha test or depth writes, nearest-sampled along texel rows. Each
// stage's lerp, its inputs fixed but for the texel, is a linear term resolved once per
// primitive; sixteen pixels then go through all four stages at a time in 16-bit lanes,
// with GXTevCombine's rounding and clamps, so it draws exactly what the general
// environment draws. Texel rows stepped one or half a texel a pixel are copied whole.
// It hands the general environment any span it does not cover (bilinear, or texel rows
// that change along the line). Main thread only.
#pragma once

#include "gx/pixel_pipeline.h"

// The YUV loop for the pipeline (its tables readied), or null when the pipeline is not
// the set-up it draws.
GXSpanFunction GXPrepareYuvSpan(const GXPixelPipeline& pipeline);
