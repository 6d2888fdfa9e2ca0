// The YUV span loop: the movie player's four-stage conversion (chroma terms from two
// I8 planes onto a register, the luma plane added, green moved into place) drawn
// without blending, alpha test or depth writes, nearest-sampled along texel rows. The
// stages' fixed inputs are resolved once per primitive; runs of pixels then go through
// all four stages in one vector loop of GXTevCombine's own arithmetic, so it draws
// exactly what the general environment draws, and hands it any span it does not cover
// (bilinear, or texel rows that change along the line). Main thread only.
#pragma once

#include "gx/span.h"

// The YUV loop for the pipeline (its tables readied), or null when the pipeline is not
// the set-up it draws.
GXSpanFunction GXPrepareYuvSpan(const GXPixelPipeline& pipeline);
