// ArgbImage: a picture as the data tool handles it before it becomes texture pages:
// width x height pixels, rows from the top, each pixel 0xAARRGGBB, not premultiplied.
#pragma once

#include <cstdint>
#include <vector>

namespace datatool {

struct ArgbImage {
    ArgbImage() = default;
    ArgbImage(unsigned int w, unsigned int h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}

    std::uint32_t At(unsigned int x, unsigned int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
    void Set(unsigned int x, unsigned int y, std::uint32_t argb) {
        pixels[static_cast<std::size_t>(y) * width + x] = argb;
    }

    unsigned int width = 0;
    unsigned int height = 0;
    std::vector<std::uint32_t> pixels;
};

inline unsigned int Alpha(std::uint32_t argb) {
    return argb >> 24;
}

} // namespace datatool
