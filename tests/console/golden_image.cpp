// PNG reading and writing through libpng's simplified interface, and the comparison.
#include "golden_image.h"

#include <console/gx.h>

#include <png.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string GoldenPath(const std::string& name) {
    return (std::filesystem::path(__FILE__).parent_path() / "golden" / (name + ".png")).string();
}

bool Updating() {
    const char* flag = std::getenv("UPDATE_GOLDEN");
    return flag != nullptr && flag[0] == '1';
}

int Channel(u32 argb, u32 shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

} // namespace

TestImage ReadFrameBuffer(u32 left, u32 top, u32 width, u32 height) {
    TestImage image{width, height, std::vector<u32>(width * height)};
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            image.argb[y * width + x] = GXReadEFBColorForTest(left + x, top + y);
        }
    }
    return image;
}

bool WritePng(const std::string& path, const TestImage& image) {
    std::vector<u8> rgba(image.argb.size() * 4);
    for (size_t i = 0; i < image.argb.size(); ++i) {
        const u32 argb = image.argb[i];
        rgba[4 * i] = static_cast<u8>(argb >> 16);
        rgba[4 * i + 1] = static_cast<u8>(argb >> 8);
        rgba[4 * i + 2] = static_cast<u8>(argb);
        rgba[4 * i + 3] = static_cast<u8>(argb >> 24);
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&png, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

bool ReadPng(const std::string& path, TestImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    std::vector<u8> rgba(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr) == 0) {
        return false;
    }
    image.width = png.width;
    image.height = png.height;
    image.argb.resize(static_cast<size_t>(png.width) * png.height);
    for (size_t i = 0; i < image.argb.size(); ++i) {
        image.argb[i] = static_cast<u32>(rgba[4 * i + 3]) << 24 |
                        static_cast<u32>(rgba[4 * i]) << 16 |
                        static_cast<u32>(rgba[4 * i + 1]) << 8 | rgba[4 * i + 2];
    }
    return true;
}

::testing::AssertionResult MatchesGolden(const TestImage& image, const std::string& name,
                                         int tolerance) {
    const std::string path = GoldenPath(name);
    if (Updating()) {
        return WritePng(path, image) ? ::testing::AssertionSuccess()
                                     : ::testing::AssertionFailure() << "cannot write " << path;
    }
    TestImage golden;
    if (!ReadPng(path, golden)) {
        return ::testing::AssertionFailure()
               << "cannot read " << path << " (UPDATE_GOLDEN=1 writes it)";
    }
    if (golden.width != image.width || golden.height != image.height) {
        return ::testing::AssertionFailure()
               << name << ": " << image.width << " x " << image.height << ", golden "
               << golden.width << " x " << golden.height;
    }
    for (u32 y = 0; y < image.height; ++y) {
        for (u32 x = 0; x < image.width; ++x) {
            for (u32 shift = 0; shift < 32; shift += 8) {
                if (std::abs(Channel(image.At(x, y), shift) - Channel(golden.At(x, y), shift)) >
                    tolerance) {
                    return ::testing::AssertionFailure()
                           << name << ": pixel " << x << ", " << y << " is " << std::hex
                           << image.At(x, y) << ", golden " << golden.At(x, y);
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}
