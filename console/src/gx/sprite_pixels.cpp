// Picks the sprite loop's widest pixel loop the processor runs.
#include "gx/sprite_pixels.h"

#include "gx/runtime_simd.h"

namespace {

constinit u32 s_widestStep = 16; // pixels a step of the widest loop picked

} // namespace

GXSpritePixelLoop GXWideSpritePixelLoop([[maybe_unused]] bool linear,
                                        [[maybe_unused]] bool modulate,
                                        [[maybe_unused]] bool blend) {
#if defined(__x86_64__)
    if (s_widestStep >= 16 && GXHasAvx512Bw()) {
        return GXSpritePixelLoopAvx512(linear, modulate, blend);
    }
    if (s_widestStep >= 8 && GXHasAvx2()) {
        return GXSpritePixelLoopAvx2(linear, modulate, blend);
    }
#endif
    return nullptr;
}

void GXLimitSpritePixelStepForTest(u32 pixels) {
    s_widestStep = pixels;
}
