// Golden images for the graphics tests: small RGBA PNG files in tests/console/golden/,
// compared channel by channel within a tolerance. Run the tests with
// UPDATE_GOLDEN=1 in the environment to write the images instead (then look at
// each one before keeping it).
#pragma once

#include <console/types.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct TestImage {
    u32 width = 0;
    u32 height = 0;
    std::vector<u32> argb; // row by row, 0xAARRGGBB

    u32 At(u32 x, u32 y) const { return argb[y * width + x]; }
};

// A rectangle of the embedded frame buffer as its test hook reads it.
TestImage ReadFrameBuffer(u32 left, u32 top, u32 width, u32 height);

bool WritePng(const std::string& path, const TestImage& image);
bool ReadPng(const std::string& path, TestImage& image);

// Compares the image with golden/<name>.png; channels may differ by tolerance.
::testing::AssertionResult MatchesGolden(const TestImage& image, const std::string& name,
                                         int tolerance = 1);
