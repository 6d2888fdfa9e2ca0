// VI's conversion of a YUV 4:2:2 frame buffer to RGB: every way through it (the widest
// vectors, narrower ones for what they leave, pairs one by one) gives the BT.601 formula's
// result and writes no byte outside each line's pixels.
#include "vi/xfb_to_rgb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr u8 kUntouched = 0xA5;
constexpr u32 kSpare = 7; // bytes after each line's pixels, in both buffers

u8 Channel(s32 scaled) {
    return static_cast<u8>(std::clamp((scaled + 0x8000) >> 16, 0, 255));
}

// The formula, a pixel at a time.
void ExpectedPixel(u8 luma, u8 cb, u8 cr, u8* rgb) {
    const s32 y = 76309 * (luma - 16);
    rgb[0] = Channel(y + 104597 * (cr - 128));
    rgb[1] = Channel(y - 25675 * (cb - 128) - 53279 * (cr - 128));
    rgb[2] = Channel(y + 132201 * (cb - 128));
}

struct Frame {
    u32 width;
    u32 height;
    std::vector<u8> xfb; // rows of width * 2 + kSpare bytes
};

u32 XfbStride(const Frame& frame) {
    return frame.width * 2 + kSpare;
}
u32 RgbPitch(const Frame& frame) {
    return frame.width * 3 + kSpare;
}

std::vector<u8> Expected(const Frame& frame) {
    std::vector<u8> rgb(RgbPitch(frame) * frame.height, kUntouched);
    for (u32 line = 0; line < frame.height; ++line) {
        for (u32 x = 0; x < frame.width; ++x) {
            const u8* pair = &frame.xfb[line * XfbStride(frame) + x / 2 * 4];
            ExpectedPixel(pair[x % 2 * 2], pair[1], pair[3], &rgb[line * RgbPitch(frame) + x * 3]);
        }
    }
    return rgb;
}

std::vector<u8> Converted(const Frame& frame) {
    std::vector<u8> rgb(RgbPitch(frame) * frame.height, kUntouched);
    VIConvertXfbToRgb(frame.xfb.data(), XfbStride(frame), frame.width, frame.height, rgb.data(),
                      RgbPitch(frame));
    return rgb;
}

Frame RandomFrame(u32 width, u32 height, std::mt19937& random) {
    Frame frame{width, height, std::vector<u8>(height * (width * 2 + kSpare))};
    std::uniform_int_distribution<u32> byte(0, 255);
    for (u8& value : frame.xfb) {
        value = static_cast<u8>(byte(random));
    }
    return frame;
}

TEST(XfbToRgbTest, EveryWidthMatchesTheFormulaAndStaysInItsLines) {
    // Up to three of the widest steps (32 pixels) with every remainder, which goes through
    // each narrower set, then the console's widths.
    std::vector<u32> widths;
    for (u32 width = 2; width <= 3 * 32 + 32; width += 2) {
        widths.push_back(width);
    }
    widths.insert(widths.end(), {608, 610, 640});
    std::mt19937 random(23);
    for (const u32 width : widths) {
        const Frame frame = RandomFrame(width, 24, random);
        EXPECT_EQ(Converted(frame), Expected(frame)) << "width " << width;
    }
}

TEST(XfbToRgbTest, EveryChromaPairMatchesTheFormulaWithLumaAcrossItsRange) {
    // A pair for each Cb and Cr; the two lumas run through all values at different paces,
    // so that both pixels meet each extreme. Lines of 512 pixels go through the widest
    // vectors, of 16 and 8 through the narrower ones, of 6 one pair at a time.
    std::vector<u8> pairs;
    for (u32 cr = 0; cr < 256; ++cr) {
        for (u32 cb = 0; cb < 256; ++cb) {
            pairs.insert(pairs.end(),
                         {static_cast<u8>(cb + cr), static_cast<u8>(cb),
                          static_cast<u8>(cb * 7 + cr * 3 + 128), static_cast<u8>(cr)});
        }
    }
    for (const u32 width : {512u, 16u, 8u, 6u}) {
        const u32 lineBytes = width * 2;
        Frame frame{width, static_cast<u32>(pairs.size() / lineBytes), {}};
        frame.xfb.resize(frame.height * XfbStride(frame));
        for (u32 line = 0; line < frame.height; ++line) {
            std::copy_n(&pairs[line * lineBytes], lineBytes, &frame.xfb[line * XfbStride(frame)]);
        }
        EXPECT_EQ(Converted(frame), Expected(frame)) << "width " << width;
    }
}

} // namespace
