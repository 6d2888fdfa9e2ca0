// Golden images for the render suites: a region of the embedded frame buffer compared,
// with a small per-channel tolerance, against an RGB PNG in the golden/ folder beside the
// calling test's source. With UPDATE_GOLDEN=1 in the environment the PNG is
// (re)written instead; a mismatch leaves the picture drawn beside the test's temporary
// files for review.
#pragma once

#include <console/types.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace png_golden {

struct Image {
    u32 width = 0;
    u32 height = 0;
    std::vector<u32> rgb; // 0x00RRGGBB, rows top to bottom
};

// The colour of a region of the embedded frame buffer.
Image ReadEmbeddedFrameBuffer(u32 left, u32 top, u32 width, u32 height);

bool ReadPng(const std::string& path, Image& image);
bool WritePng(const std::string& path, const Image& image);

testing::AssertionResult MatchesGolden(const std::string& name, const Image& image,
                                       int tolerance = 3,
                                       const char* callerFile = __builtin_FILE());

} // namespace png_golden
