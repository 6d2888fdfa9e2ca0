// The embedded frame buffer, its copy to a YUV 4:2:2 external frame buffer and VI's
// conversion of the shown buffer back to RGB.
#include <console/gx.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr u32 kWidth = 640;

struct Rgb {
    u8 r, g, b;
};

GXRenderModeObj AdjustedMode(const GXRenderModeObj& base, u16 xfbHeight) {
    GXRenderModeObj mode{};
    GXAdjustForOverscan(&base, &mode, 0, 16);
    mode.xfbHeight = xfbHeight;
    return mode;
}

// The copy set-up the platform makes; returns the external frame buffer's line count.
u32 ConfigureCopy(const GXRenderModeObj& mode) {
    GXInit(nullptr, 0);
    const u32 lines = GXSetDispCopyYScale(GXGetYScaleFactor(mode.efbHeight, mode.xfbHeight));
    GXSetDispCopyDst(mode.fbWidth, static_cast<u16>(lines));
    GXSetDispCopySrc(0, 0, mode.fbWidth, mode.efbHeight);
    return lines;
}

void PokeRow(u32 y, const std::vector<Rgb>& pairs) {
    for (u32 pair = 0; pair < pairs.size(); ++pair) {
        const GXColor colour{pairs[pair].r, pairs[pair].g, pairs[pair].b, 0};
        GXPokeEFBColorForTest(2 * pair, y, colour);
        GXPokeEFBColorForTest(2 * pair + 1, y, colour);
    }
}

// Shows the buffer through VI (as the platform's frame end does) and reads it as RGB.
std::vector<u8> ShowAndRead(const GXRenderModeObj& mode, void* xfb) {
    VIInit();
    VIConfigure(&mode);
    VISetNextFrameBuffer(xfb);
    VISetBlack(FALSE);
    VIFlush();
    VIWaitForRetrace();
    const VIFrameSize size = VIGetShownFrameSize();
    std::vector<u8> rgb(size.width * size.height * 3);
    EXPECT_TRUE(VIConvertShownFrameToRGB(rgb.data(), size.width * 3, rgb.size()));
    return rgb;
}

Rgb PixelAt(const std::vector<u8>& rgb, u32 x, u32 y) {
    const u8* pixel = &rgb[(y * kWidth + x) * 3];
    return {pixel[0], pixel[1], pixel[2]};
}

bool Near(Rgb actual, Rgb expected, int tolerance) {
    return std::abs(actual.r - expected.r) <= tolerance &&
           std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

// Colours of every kind, extremes included; both pixels of a pair share one colour.
Rgb PatternColour(u32 pair, u32 y) {
    static const Rgb kExtremes[] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},
                                    {0, 255, 0},   {0, 0, 255},     {255, 255, 0},
                                    {0, 255, 255}, {255, 0, 255},   {128, 128, 128}};
    if (y % 16 == 0) {
        return kExtremes[pair % std::size(kExtremes)];
    }
    return {static_cast<u8>(pair * 37 + y * 11), static_cast<u8>(pair * 91 + y * 7 + 80),
            static_cast<u8>((pair * 13) ^ (y * 5))};
}

TEST(DisplayCopyTest, PatternComesBackThroughCopyAndDisplay) {
    const GXRenderModeObj mode = AdjustedMode(GXNtsc480IntDf, 448);
    const u32 lines = ConfigureCopy(mode);
    ASSERT_EQ(lines, 448u);
    for (u32 y = 0; y < mode.efbHeight; ++y) {
        std::vector<Rgb> pairs(kWidth / 2);
        for (u32 pair = 0; pair < pairs.size(); ++pair) {
            pairs[pair] = PatternColour(pair, y);
        }
        PokeRow(y, pairs);
    }
    std::vector<u8> xfb(kWidth * lines * 2);
    GXCopyDisp(xfb.data(), GX_FALSE);
    const std::vector<u8> rgb = ShowAndRead(mode, xfb.data());
    int failures = 0;
    for (u32 y = 0; y < lines && failures < 5; ++y) {
        for (u32 x = 0; x < kWidth && failures < 5; ++x) {
            const Rgb expected = PatternColour(x / 2, y);
            const Rgb actual = PixelAt(rgb, x, y);
            if (!Near(actual, expected, 3)) {
                ADD_FAILURE() << "pixel " << x << ", " << y << ": " << int(actual.r) << " "
                              << int(actual.g) << " " << int(actual.b) << " for " << int(expected.r)
                              << " " << int(expected.g) << " " << int(expected.b);
                ++failures;
            }
        }
    }
}

TEST(DisplayCopyTest, PairsAreStoredAsLumaBlueLumaRed) {
    struct Case {
        const char* name;
        Rgb left, right;
        u8 bytes[4];
    };
    const Case cases[] = {
        {"black", {0, 0, 0}, {0, 0, 0}, {16, 128, 16, 128}},
        {"white", {255, 255, 255}, {255, 255, 255}, {235, 128, 235, 128}},
        {"red", {255, 0, 0}, {255, 0, 0}, {81, 90, 81, 240}},
        {"green", {0, 255, 0}, {0, 255, 0}, {145, 54, 145, 34}},
        {"blue", {0, 0, 255}, {0, 0, 255}, {41, 240, 41, 110}},
        {"white then black", {255, 255, 255}, {0, 0, 0}, {235, 128, 16, 128}},
    };
    for (const Case& c : cases) {
        ConfigureCopy(AdjustedMode(GXNtsc480IntDf, 448));
        GXPokeEFBColorForTest(0, 0, GXColor{c.left.r, c.left.g, c.left.b, 0});
        GXPokeEFBColorForTest(1, 0, GXColor{c.right.r, c.right.g, c.right.b, 0});
        std::vector<u8> xfb(kWidth * 448 * 2);
        GXCopyDisp(xfb.data(), GX_FALSE);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(xfb[i], c.bytes[i]) << c.name << " byte " << i;
        }
    }
}

// A pair's bytes by BT.601 studio range in 16.16 fixed point, chroma from the pair's sums.
std::vector<u8> ExpectedPair(GXColor left, GXColor right) {
    const auto luma = [](GXColor c) {
        return 16 + ((16829 * c.r + 33039 * c.g + 6416 * c.b + 0x8000) >> 16);
    };
    const s32 r = left.r + right.r, g = left.g + right.g, b = left.b + right.b;
    const s32 blue = 128 + ((-9714 * r - 19070 * g + 28784 * b + 0x10000) >> 17);
    const s32 red = 128 + ((28784 * r - 24103 * g - 4681 * b + 0x10000) >> 17);
    return {static_cast<u8>(luma(left)), static_cast<u8>(blue), static_cast<u8>(luma(right)),
            static_cast<u8>(red)};
}

// Every pair of a line, wherever it falls among those converted together and in a line's
// last few, gets its own bytes whatever its alpha.
TEST(DisplayCopyTest, EveryPairOfALineIsConvertedOnItsOwn) {
    for (const u16 width : {u16{kWidth}, u16{30}, u16{6}}) {
        GXInit(nullptr, 0);
        GXSetDispCopyDst(width, 1);
        GXSetDispCopySrc(0, 0, width, 1);
        std::vector<GXColor> line(width);
        for (u32 x = 0; x < width; ++x) {
            line[x] = {static_cast<u8>(x * 97 + 13), static_cast<u8>(x * 61 ^ 0xA5),
                       static_cast<u8>(x * x * 7), static_cast<u8>(x * 29)};
            GXPokeEFBColorForTest(x, 0, line[x]);
        }
        std::vector<u8> xfb(width * 2u);
        GXCopyDisp(xfb.data(), GX_FALSE);
        for (u32 pair = 0; pair < width / 2u; ++pair) {
            const std::vector<u8> actual(xfb.begin() + 4 * pair, xfb.begin() + 4 * pair + 4);
            EXPECT_EQ(actual, ExpectedPair(line[2 * pair], line[2 * pair + 1]))
                << "width " << width << ", pair " << pair;
        }
    }
}

// Line y of the source is coloured so that it can be told back within 3 levels.
Rgb LineColour(u32 y) {
    return {static_cast<u8>(8 * (y % 32)), static_cast<u8>(16 * (y / 32)), 128};
}
u32 LineOf(Rgb colour) {
    return (colour.r + 4) / 8 + 32 * ((colour.g + 8) / 16);
}

TEST(DisplayCopyTest, PalCopyStretches496LinesTo526InOrder) {
    const GXRenderModeObj mode = AdjustedMode(GXPal528IntDf, 526);
    const u32 lines = ConfigureCopy(mode);
    ASSERT_EQ(lines, 526u);
    for (u32 y = 0; y < 496; ++y) {
        PokeRow(y, std::vector<Rgb>(kWidth / 2, LineColour(y)));
    }
    std::vector<u8> xfb(kWidth * lines * 2);
    GXCopyDisp(xfb.data(), GX_FALSE);
    const std::vector<u8> rgb = ShowAndRead(mode, xfb.data());
    ASSERT_EQ(rgb.size(), kWidth * 526 * 3);
    std::vector<bool> seen(496, false);
    u32 previous = 0;
    for (u32 y = 0; y < lines; ++y) {
        const u32 source = LineOf(PixelAt(rgb, kWidth - 1, y));
        ASSERT_LT(source, 496u) << "line " << y;
        EXPECT_TRUE(source == previous || source == previous + 1) << "line " << y;
        seen[source] = true;
        previous = source;
    }
    EXPECT_EQ(LineOf(PixelAt(rgb, 0, 0)), 0u);
    EXPECT_EQ(LineOf(PixelAt(rgb, 0, 525)), 495u);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0);
}

TEST(DisplayCopyTest, CopyStaysInsideTheDestination) {
    struct Case {
        u16 srcWidth, srcHeight, dstWidth, dstHeight;
        u32 lines; // lines the copy writes
    };
    const Case cases[] = {
        {640, 496, 640, 526, 526}, // the PAL frame
        {640, 496, 320, 100, 100}, // a destination smaller both ways
        {100, 50, 640, 526, 53},   // a narrow, short source
        {640, 496, 641, 526, 526}, // an odd destination width
        {640, 496, 640, 0, 0},     // no destination height set
    };
    constexpr u8 kUntouched = 0; // no luma or chroma byte is ever 0
    for (const Case& c : cases) {
        GXInit(nullptr, 0);
        GXSetDispCopySrc(0, 0, c.srcWidth, c.srcHeight);
        GXSetDispCopyYScale(GXGetYScaleFactor(496, 526));
        GXSetDispCopyDst(c.dstWidth, c.dstHeight);
        const size_t stride = c.dstWidth * 2u;
        const size_t inside = stride * c.lines;
        std::vector<u8> xfb(inside + 4096, kUntouched);
        GXCopyDisp(xfb.data(), GX_FALSE);
        const auto beyond = xfb.begin() + static_cast<std::ptrdiff_t>(inside);
        EXPECT_TRUE(std::all_of(beyond, xfb.end(), [](u8 byte) { return byte == kUntouched; }))
            << c.srcWidth << " x " << c.srcHeight << " to " << c.dstWidth << " x " << c.dstHeight;
        if (c.lines > 0) {
            const size_t lastPixel = stride * (c.lines - 1) + std::min(c.srcWidth, c.dstWidth) * 2u;
            EXPECT_NE(xfb[lastPixel - 1], kUntouched) << "last line of " << c.dstWidth;
            EXPECT_EQ(xfb[lastPixel], kUntouched) << "beyond the source on " << c.dstWidth;
        }
    }
}

TEST(DisplayCopyTest, SourceBeyondTheFrameBufferIsClipped) {
    GXInit(nullptr, 0);
    GXSetDispCopySrc(600, 500, 100, 100);
    const GXCopyState& copy = GXGetCopyState();
    EXPECT_EQ(copy.srcWidth, 40);
    EXPECT_EQ(copy.srcHeight, 28);
    GXSetDispCopySrc(700, 0, 10, 10);
    EXPECT_EQ(copy.srcWidth, 0);
}

TEST(DisplayCopyTest, ClearFillsTheSourceRectangleAfterTheCopy) {
    for (const GXBool clear : {GX_FALSE, GX_TRUE}) {
        GXInit(nullptr, 0);
        GXSetDispCopySrc(0, 0, 64, 32);
        GXSetDispCopyDst(64, 32);
        GXSetCopyClear(GXColor{10, 20, 30, 0}, 0x123456);
        GXPokeEFBColorForTest(0, 0, GXColor{255, 255, 255, 0});
        GXPokeEFBColorForTest(1, 0, GXColor{255, 255, 255, 0});
        GXPokeEFBDepthForTest(63, 31, 7);
        GXPokeEFBColorForTest(64, 0, GXColor{1, 2, 3, 0});
        std::vector<u8> xfb(64 * 32 * 2);
        GXCopyDisp(xfb.data(), clear);
        EXPECT_EQ(xfb[0], 235) << "copied before the clear";
        if (clear) {
            EXPECT_EQ(GXReadEFBColorForTest(0, 0), 0xFF0A141Eu);
            EXPECT_EQ(GXReadEFBDepthForTest(63, 31), 0x123456u);
        } else {
            EXPECT_EQ(GXReadEFBColorForTest(0, 0), 0xFFFFFFFFu);
            EXPECT_EQ(GXReadEFBDepthForTest(63, 31), 7u);
        }
        EXPECT_EQ(GXReadEFBColorForTest(64, 0), 0xFF010203u) << "outside the source";
    }
}

// Stretched (lines repeated), shrunk (lines skipped) and into a destination shorter than
// the copy: the copy with the clear is the copy without it, and every line is cleared,
// but not the one below. (Columns 512 on, depth 0: what other tests read stays as it was.)
TEST(DisplayCopyTest, ClearAfterAScaledCopyLeavesTheCopyAsWithoutIt) {
    struct Case {
        u16 sourceHeight, lines, dstHeight;
    };
    constexpr u32 kLeft = 512;
    constexpr u32 kClear = 0xFF0A141E;
    for (const Case c : {Case{496, 526, 526}, Case{480, 240, 240}, Case{100, 100, 40}}) {
        const u32 below = 8u + c.sourceHeight;
        std::vector<u8> copies[2];
        for (const GXBool clear : {GX_FALSE, GX_TRUE}) {
            GXInit(nullptr, 0);
            GXSetDispCopySrc(kLeft, 8, 64, c.sourceHeight);
            GXSetDispCopyYScale(GXGetYScaleFactor(c.sourceHeight, c.lines));
            GXSetDispCopyDst(64, c.dstHeight);
            GXSetCopyClear(GXColor{10, 20, 30, 0}, 0);
            for (u32 y = 8; y <= below; ++y) {
                for (u32 x = kLeft; x < kLeft + 64; ++x) {
                    GXPokeEFBColorForTest(x, y, GXColor{static_cast<u8>(y), 0, 0, 0});
                }
            }
            copies[clear].assign(64u * c.dstHeight * 2, 0);
            GXCopyDisp(copies[clear].data(), clear);
        }
        EXPECT_EQ(copies[1], copies[0]) << c.sourceHeight << " lines to " << c.lines;
        u32 cleared = 0;
        for (u32 y = 8; y < below; ++y) {
            cleared += GXReadEFBColorForTest(kLeft + 63, y) == kClear ? 1 : 0;
        }
        EXPECT_EQ(cleared, c.sourceHeight) << c.sourceHeight << " lines to " << c.lines;
        EXPECT_NE(GXReadEFBColorForTest(kLeft, below), kClear) << "below it";
    }
}

TEST(DisplayCopyTest, ClearOfWholeLinesGivesEveryPixelItsDepth) {
    // Depth cleared over whole lines, then one pixel's written: its line keeps the clear
    // depth elsewhere, and the lines below the source keep theirs, whatever ran before.
    GXInit(nullptr, 0);
    GXPokeEFBDepthForTest(3, 40, 77);
    GXPokeEFBDepthForTest(4, 40, 0);
    GXSetDispCopySrc(0, 0, kWidth, 32);
    GXSetDispCopyDst(kWidth, 32);
    GXSetCopyClear(GXColor{0, 0, 0, 0}, 0x00ABCDEF);
    std::vector<u8> xfb(kWidth * 32 * 2);
    GXCopyDisp(xfb.data(), GX_TRUE);
    GXPokeEFBDepthForTest(5, 5, 9);
    EXPECT_EQ(GXReadEFBDepthForTest(5, 5), 9u);
    EXPECT_EQ(GXReadEFBDepthForTest(6, 5), 0xABCDEFu);
    EXPECT_EQ(GXReadEFBDepthForTest(639, 31), 0xABCDEFu);
    EXPECT_EQ(GXReadEFBDepthForTest(3, 40), 77u);
    EXPECT_EQ(GXReadEFBDepthForTest(4, 40), 0u);
}

TEST(DisplayCopyTest, FrameBufferKeepsWhatThePixelFormatHolds) {
    struct Case {
        GXPixelFmt format;
        u32 colour, depth;
    };
    const Case cases[] = {
        {GX_PF_RGB8_Z24, 0xFF13375B, 0x123456},
        {GX_PF_RGBA6_Z24, 0x7D103459, 0x123456},
        {GX_PF_RGB565_Z16, 0xFF10345A, 0x123400},
        {static_cast<GXPixelFmt>(9), 0xFF13375B, 0x123456}, // unknown: RGB8/Z24
    };
    for (const Case& c : cases) {
        GXInit(nullptr, 0);
        GXSetPixelFmt(c.format, GX_ZC_LINEAR);
        GXPokeEFBColorForTest(5, 6, GXColor{0x13, 0x37, 0x5B, 0x7F});
        GXPokeEFBDepthForTest(5, 6, 0xAB123456);
        EXPECT_EQ(GXReadEFBColorForTest(5, 6), c.colour) << c.format;
        EXPECT_EQ(GXReadEFBDepthForTest(5, 6), c.depth) << c.format;
    }
    GXPokeEFBColorForTest(640, 0, GXColor{1, 1, 1, 1});
    GXPokeEFBDepthForTest(0, 528, 1);
    EXPECT_EQ(GXReadEFBColorForTest(640, 0), 0u);
    EXPECT_EQ(GXReadEFBDepthForTest(0, 528), 0u);
}

TEST(DisplayCopyTest, DisplayShowsBlackUntilUnblanked) {
    const GXRenderModeObj mode = AdjustedMode(GXNtsc480IntDf, 448);
    const u32 lines = ConfigureCopy(mode);
    GXSetCopyClear(GXColor{255, 255, 255, 0}, 0xFFFFFF);
    GXCopyDisp(nullptr, GX_TRUE); // reported; only clears
    std::vector<u8> xfb(kWidth * lines * 2);
    GXCopyDisp(xfb.data(), GX_FALSE);
    VIInit();
    VIConfigure(&mode);
    VISetNextFrameBuffer(xfb.data());
    VIFlush();
    VIWaitForRetrace();
    std::vector<u8> rgb(kWidth * lines * 3, 0x55);
    ASSERT_TRUE(VIConvertShownFrameToRGB(rgb.data(), kWidth * 3, rgb.size()));
    EXPECT_EQ(std::count(rgb.begin(), rgb.end(), 0), static_cast<long>(rgb.size()));
    VISetBlack(FALSE);
    VIFlush();
    VIWaitForRetrace();
    ASSERT_TRUE(VIConvertShownFrameToRGB(rgb.data(), kWidth * 3, rgb.size()));
    EXPECT_EQ(std::count(rgb.begin(), rgb.end(), 255), static_cast<long>(rgb.size()));
}

TEST(DisplayCopyTest, ConversionRefusesTooSmallABuffer) {
    const GXRenderModeObj mode = AdjustedMode(GXPal528IntDf, 526);
    VIInit();
    VIConfigure(&mode);
    const VIFrameSize size = VIGetShownFrameSize();
    EXPECT_EQ(size.width, 640u);
    EXPECT_EQ(size.height, 526u);
    std::vector<u8> rgb(640 * 3 * 526);
    EXPECT_FALSE(VIConvertShownFrameToRGB(rgb.data(), 640 * 3, rgb.size() - 1));
    EXPECT_FALSE(VIConvertShownFrameToRGB(rgb.data(), 640 * 3 - 1, rgb.size()));
    EXPECT_TRUE(VIConvertShownFrameToRGB(rgb.data(), 640 * 3, rgb.size()));
}

// A pair's result depends on its own bytes alone, wherever in the line it lies (the
// conversions work a few pairs at a time and finish a line one by one): turning each
// line's pairs round by a few places turns the result round by as many.
constexpr u32 kTurn = 5;

template <typename Pair>
std::vector<Pair> TurnedRound(const std::vector<Pair>& lines, u32 pairsPerLine) {
    std::vector<Pair> turned(lines.size());
    for (u32 at = 0; at < lines.size(); ++at) {
        const u32 line = at / pairsPerLine * pairsPerLine;
        turned[line + (at - line + kTurn) % pairsPerLine] = lines[at];
    }
    return turned;
}

struct PairBytes {
    u8 bytes[4];
    bool operator==(const PairBytes&) const = default;
};

struct PairPixels {
    u8 bytes[6];
    bool operator==(const PairPixels&) const = default;
};

TEST(DisplayCopyTest, EveryPairIsCopiedAsItWouldBeAnywhereInTheLine) {
    constexpr u16 kCopyWidth = 2 * 45; // not a whole number of steps
    constexpr u16 kLines = 4;
    GXInit(nullptr, 0);
    GXSetDispCopySrc(0, 0, kCopyWidth, kLines);
    GXSetDispCopyDst(kCopyWidth, kLines);
    std::vector<u32> colours(kCopyWidth / 2 * kLines * 2);
    std::srand(7);
    for (u32& colour : colours) {
        colour = static_cast<u32>(std::rand());
    }
    const auto copy = [&](const std::vector<u32>& pixels) {
        for (u32 i = 0; i < pixels.size(); ++i) {
            const u32 c = pixels[i];
            GXPokeEFBColorForTest(i % kCopyWidth, i / kCopyWidth,
                                  GXColor{u8(c >> 16), u8(c >> 8), u8(c), 0xFF});
        }
        std::vector<PairBytes> xfb(colours.size() / 2);
        GXCopyDisp(xfb.data(), GX_FALSE);
        return xfb;
    };
    // Pixels go round in pairs, so colours are handled as pairs of two words.
    std::vector<u64> pairs(colours.size() / 2);
    std::memcpy(pairs.data(), colours.data(), colours.size() * sizeof(u32));
    std::vector<u64> turnedPairs = TurnedRound(pairs, kCopyWidth / 2);
    std::vector<u32> turnedColours(colours.size());
    std::memcpy(turnedColours.data(), turnedPairs.data(), colours.size() * sizeof(u32));
    EXPECT_EQ(copy(turnedColours), TurnedRound(copy(colours), kCopyWidth / 2));
}

TEST(DisplayCopyTest, OneColourLinesAreCopiedAsTheirPairsOneByOne) {
    // Line 3k is one colour; lines 3k + 1 and 3k + 2 differ from it in one pixel, in the
    // copy's first block of pixels or after its last whole one. Only the differing pixel's
    // pair may differ from line 3k's copy.
    constexpr u16 kCopyWidth = 2 * 45; // not a whole number of blocks
    constexpr u16 kLines = 3 * 16;
    GXInit(nullptr, 0);
    GXSetDispCopySrc(0, 0, kCopyWidth, kLines);
    GXSetDispCopyDst(kCopyWidth, kLines);
    const auto differingPixel = [](u32 y) {
        const u32 k = y / 3;
        return y % 3 == 1 ? k * 7 % 32 : kCopyWidth - 1 - k * 5 % 20;
    };
    for (u32 y = 0; y < kLines; ++y) {
        const u32 colour = (y / 3 + 1) * 0x9E3779B1u;
        const GXColor one{u8(colour >> 16), u8(colour >> 8), u8(colour), 0xFF};
        const GXColor other{u8(one.r ^ 0x80), u8(one.g ^ 0x80), u8(one.b ^ 0x80), 0xFF};
        for (u32 x = 0; x < kCopyWidth; ++x) {
            GXPokeEFBColorForTest(x, y, y % 3 != 0 && x == differingPixel(y) ? other : one);
        }
    }
    std::vector<PairBytes> xfb(kCopyWidth / 2 * kLines);
    GXCopyDisp(xfb.data(), GX_FALSE);
    for (u32 y = 0; y < kLines; ++y) {
        const PairBytes* line = &xfb[y * kCopyWidth / 2];
        const PairBytes* oneColour = &xfb[(y - y % 3) * kCopyWidth / 2];
        for (u32 pair = 0; pair < kCopyWidth / 2; ++pair) {
            const bool bDiffers = y % 3 != 0 && pair == differingPixel(y) / 2;
            EXPECT_EQ(line[pair] == oneColour[pair], !bDiffers)
                << "line " << y << ", pair " << pair;
        }
    }
}

TEST(DisplayCopyTest, EveryPairIsShownAsItWouldBeAnywhereInTheLine) {
    const GXRenderModeObj mode = AdjustedMode(GXNtsc480IntDf, 448);
    const auto show = [&](const std::vector<PairBytes>& xfb) {
        const std::vector<u8> rgb = ShowAndRead(mode, const_cast<PairBytes*>(xfb.data()));
        std::vector<PairPixels> pixels(rgb.size() / 6);
        std::memcpy(pixels.data(), rgb.data(), rgb.size());
        return pixels;
    };
    std::vector<PairBytes> xfb(kWidth / 2 * 448);
    std::srand(11);
    for (PairBytes& pair : xfb) {
        for (u8& byte : pair.bytes) {
            byte = static_cast<u8>(std::rand());
        }
    }
    EXPECT_EQ(show(TurnedRound(xfb, kWidth / 2)), TurnedRound(show(xfb), kWidth / 2));
}

} // namespace
