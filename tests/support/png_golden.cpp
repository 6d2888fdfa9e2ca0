// PNG reading and writing through libpng's simplified interface, and the golden check.
#include "png_golden.h"

#include <console/gx.h>

#include <png.h>

#include <cstdlib>
#include <filesystem>

namespace png_golden {

namespace {

std::filesystem::path GoldenPath(const std::string& name, const char* callerFile) {
    return std::filesystem::path(callerFile).parent_path() / "golden" / (name + ".png");
}

int ChannelDifference(u32 a, u32 b, int shift) {
    return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
}

int PixelDifference(u32 a, u32 b) {
    return std::max(
        {ChannelDifference(a, b, 16), ChannelDifference(a, b, 8), ChannelDifference(a, b, 0)});
}

} // namespace

Image ReadEmbeddedFrameBuffer(u32 left, u32 top, u32 width, u32 height) {
    Image image{width, height, std::vector<u32>(static_cast<size_t>(width) * height)};
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            image.rgb[y * width + x] = GXReadEFBColorForTest(left + x, top + y) & 0xFFFFFF;
        }
    }
    return image;
}

bool ReadPng(const std::string& path, Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    std::vector<u8> bytes(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr) == 0) {
        png_image_free(&png);
        return false;
    }
    image = Image{png.width, png.height, std::vector<u32>(size_t{png.width} * png.height)};
    for (size_t i = 0; i < image.rgb.size(); ++i) {
        image.rgb[i] = u32{bytes[3 * i]} << 16 | u32{bytes[3 * i + 1]} << 8 | bytes[3 * i + 2];
    }
    return true;
}

bool WritePng(const std::string& path, const Image& image) {
    std::vector<u8> bytes(image.rgb.size() * 3);
    for (size_t i = 0; i < image.rgb.size(); ++i) {
        bytes[3 * i] = static_cast<u8>(image.rgb[i] >> 16);
        bytes[3 * i + 1] = static_cast<u8>(image.rgb[i] >> 8);
        bytes[3 * i + 2] = static_cast<u8>(image.rgb[i]);
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width;
    png.height = image.height;
    png.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr) != 0;
}

testing::AssertionResult MatchesGolden(const std::string& name, const Image& image, int tolerance,
                                       const char* callerFile) {
    const std::filesystem::path golden = GoldenPath(name, callerFile);
    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::create_directories(golden.parent_path());
        return WritePng(golden.string(), image)
                   ? testing::AssertionSuccess() << "rewrote " << golden
                   : testing::AssertionFailure() << "cannot write " << golden;
    }
    Image expected;
    if (!ReadPng(golden.string(), expected)) {
        return testing::AssertionFailure() << "no golden image " << golden;
    }
    const std::string actual = testing::TempDir() + name + ".actual.png";
    if (expected.width != image.width || expected.height != image.height) {
        WritePng(actual, image);
        return testing::AssertionFailure()
               << "size differs from " << golden << "; drawn " << actual;
    }
    size_t mismatches = 0;
    size_t first = 0;
    for (size_t i = 0; i < image.rgb.size(); ++i) {
        if (PixelDifference(image.rgb[i], expected.rgb[i]) > tolerance && mismatches++ == 0) {
            first = i;
        }
    }
    if (mismatches == 0) {
        return testing::AssertionSuccess();
    }
    WritePng(actual, image);
    return testing::AssertionFailure()
           << mismatches << " pixels differ from " << golden << " by more than " << tolerance
           << ", first at (" << first % image.width << ", " << first / image.width
           << "): " << std::hex << image.rgb[first] << " for " << expected.rgb[first] << "; drawn "
           << actual;
}

} // namespace png_golden
