// YUV 4:2:2 to RGB8, line by line.
#include "vi/xfb_to_rgb.h"

#include <algorithm>

namespace {

// BT.601 studio-range inverse coefficients, scaled by 2^16.
constexpr s32 kLuma = 76309;
constexpr s32 kRedFromCr = 104597;
constexpr s32 kGreenFromCb = 25675;
constexpr s32 kGreenFromCr = 53279;
constexpr s32 kBlueFromCb = 132201;

u8 Clamped(s32 scaled) {
    return static_cast<u8>(std::clamp((scaled + 0x8000) >> 16, 0, 255));
}

void StorePixel(s32 luma, s32 redOffset, s32 greenOffset, s32 blueOffset, u8* out) {
    const s32 y = kLuma * (luma - 16);
    out[0] = Clamped(y + redOffset);
    out[1] = Clamped(y + greenOffset);
    out[2] = Clamped(y + blueOffset);
}

void ConvertLine(const u8* xfb, u32 pairs, u8* rgb) {
    for (u32 pair = 0; pair < pairs; ++pair) {
        const u8* in = xfb + 4 * pair;
        const s32 cb = in[1] - 128;
        const s32 cr = in[3] - 128;
        const s32 redOffset = kRedFromCr * cr;
        const s32 greenOffset = -kGreenFromCb * cb - kGreenFromCr * cr;
        const s32 blueOffset = kBlueFromCb * cb;
        StorePixel(in[0], redOffset, greenOffset, blueOffset, rgb + 6 * pair);
        StorePixel(in[2], redOffset, greenOffset, blueOffset, rgb + 6 * pair + 3);
    }
}

} // namespace

void VIConvertXfbToRgb(const u8* xfb, u32 xfbStride, u32 width, u32 height, u8* rgb, u32 rgbPitch) {
    for (u32 line = 0; line < height; ++line) {
        ConvertLine(xfb + line * xfbStride, width / 2, rgb + line * rgbPitch);
    }
}
