// RGB to YUV 4:2:2 conversion of the display copy, line by line.
#include "gx/display_copy.h"

#include "gx/efb.h"

#include <algorithm>
#include <cstring>

namespace {

// BT.601 studio-range coefficients, scaled by 2^16.
constexpr s32 kLumaR = 16829;
constexpr s32 kLumaG = 33039;
constexpr s32 kLumaB = 6416;
constexpr s32 kBlueR = -9714;
constexpr s32 kBlueG = -19070;
constexpr s32 kBlueB = 28784;
constexpr s32 kRedR = 28784;
constexpr s32 kRedG = -24103;
constexpr s32 kRedB = -4681;

constexpr u32 kYScaleOne = 256;

u8 Luma(u32 argb) {
    const s32 r = (argb >> 16) & 0xFF;
    const s32 g = (argb >> 8) & 0xFF;
    const s32 b = argb & 0xFF;
    return static_cast<u8>(16 + ((kLumaR * r + kLumaG * g + kLumaB * b + 0x8000) >> 16));
}

// Chroma of a pixel pair from the sums of its two pixels' channels.
u8 Chroma(s32 kr, s32 kg, s32 kb, s32 rSum, s32 gSum, s32 bSum) {
    return static_cast<u8>(128 + ((kr * rSum + kg * gSum + kb * bSum + 0x10000) >> 17));
}

void ConvertLine(const u32* source, u32 pairs, u8* destination) {
    for (u32 pair = 0; pair < pairs; ++pair) {
        const u32 left = source[2 * pair];
        const u32 right = source[2 * pair + 1];
        const s32 rSum = static_cast<s32>(((left >> 16) & 0xFF) + ((right >> 16) & 0xFF));
        const s32 gSum = static_cast<s32>(((left >> 8) & 0xFF) + ((right >> 8) & 0xFF));
        const s32 bSum = static_cast<s32>((left & 0xFF) + (right & 0xFF));
        u8* out = destination + 4 * pair;
        out[0] = Luma(left);
        out[1] = Chroma(kBlueR, kBlueG, kBlueB, rSum, gSum, bSum);
        out[2] = Luma(right);
        out[3] = Chroma(kRedR, kRedG, kRedB, rSum, gSum, bSum);
    }
}

// Source line for output line `line` of `lines`: the source line under the output
// line's centre. Every output line then shows the source row that a point on it maps
// back to, and the first and last lines still come from the first and last rows.
u32 NearestSourceLine(u32 line, u32 lines, u32 sourceHeight) {
    if (lines == 0) {
        return 0;
    }
    return static_cast<u32>((2ull * line + 1) * sourceHeight / (2ull * lines));
}

} // namespace

u32 GXDisplayCopyLines(u32 sourceHeight, u32 yScale) {
    if (sourceHeight == 0) {
        return 0;
    }
    return (sourceHeight - 1) * kYScaleOne / yScale + 1;
}

void GXCopyToExternalFrameBuffer(const EmbeddedFrameBuffer& efb, const GXCopyState& copy,
                                 u8* destination) {
    const u32 lines = GXDisplayCopyLines(copy.srcHeight, copy.yScale);
    const u32 linesWritten = std::min<u32>(lines, copy.dstHeight);
    const u32 pairs = std::min<u32>(copy.srcWidth, copy.dstWidth) / 2;
    const u32 stride = copy.dstWidth * 2u;
    u32 previousSource = ~0u;
    for (u32 line = 0; line < linesWritten; ++line) {
        const u32 source = NearestSourceLine(line, lines, copy.srcHeight);
        u8* row = destination + line * stride;
        if (source == previousSource) {
            std::memcpy(row, row - stride, pairs * 4u);
        } else {
            ConvertLine(efb.ColourRow(copy.srcTop + source) + copy.srcLeft, pairs, row);
        }
        previousSource = source;
    }
}
