// Checks that a PNG file has the given size and that every pixel is within a tolerance
// of one colour. Usage: png_colour_check FILE WIDTH HEIGHT RED GREEN BLUE TOLERANCE.
// Exit code 0 when it matches, 1 when it does not, 2 for bad arguments.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Expected {
    unsigned width, height;
    int colour[3];
    int tolerance;
};

bool ReadRgb(const char* path, png_image* image, std::vector<unsigned char>* pixels) {
    image->version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(image, path) == 0) {
        std::printf("cannot read %s: %s\n", path, image->message);
        return false;
    }
    image->format = PNG_FORMAT_RGB;
    pixels->resize(PNG_IMAGE_SIZE(*image));
    if (png_image_finish_read(image, nullptr, pixels->data(), 0, nullptr) == 0) {
        std::printf("cannot decode %s: %s\n", path, image->message);
        return false;
    }
    return true;
}

bool Matches(const png_image& image, const std::vector<unsigned char>& pixels,
             const Expected& expected) {
    if (image.width != expected.width || image.height != expected.height) {
        std::printf("size %u x %u, expected %u x %u\n", image.width, image.height, expected.width,
                    expected.height);
        return false;
    }
    for (size_t at = 0; at < pixels.size(); ++at) {
        const int channel = static_cast<int>(at % 3);
        if (std::abs(pixels[at] - expected.colour[channel]) > expected.tolerance) {
            const size_t pixel = at / 3;
            std::printf("pixel %zu, %zu: channel %d is %d, expected %d\n", pixel % image.width,
                        pixel / image.width, channel, pixels[at], expected.colour[channel]);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::printf("usage: png_colour_check FILE WIDTH HEIGHT RED GREEN BLUE TOLERANCE\n");
        return 2;
    }
    const Expected expected{static_cast<unsigned>(std::atoi(argv[2])),
                            static_cast<unsigned>(std::atoi(argv[3])),
                            {std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])},
                            std::atoi(argv[7])};
    png_image image{};
    std::vector<unsigned char> pixels;
    if (!ReadRgb(argv[1], &image, &pixels)) {
        return 1;
    }
    return Matches(image, pixels, expected) ? 0 : 1;
}
