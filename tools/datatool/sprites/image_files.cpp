// PNG files through libpng's simplified reader, SVG files through librsvg onto a cairo
// surface (premultiplied, so its pixels are divided back by their alpha).
#include "image_files.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <strings.h>
#include <system_error>

namespace datatool {
namespace {

// Far beyond any picture the console shows, and small enough to hold in memory.
constexpr double kMaxImageSide = 8192;

bool SizeFits(double width, double height, std::string* error) {
    if (width > kMaxImageSide || height > kMaxImageSide) {
        *error = "larger than 8192 pixels a side";
        return false;
    }
    return true;
}

bool HasExtension(const std::string& path, const char* extension) {
    const std::size_t length = std::strlen(extension);
    return path.size() >= length && strcasecmp(path.c_str() + path.size() - length, extension) == 0;
}

bool ReadPng(const std::string& path, ArgbImage* image, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
        *error = png.message;
        return false;
    }
    if (!SizeFits(png.width, png.height, error)) {
        png_image_free(&png);
        return false;
    }
    png.format = PNG_FORMAT_ARGB;
    std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr) == 0) {
        *error = png.message;
        png_image_free(&png);
        return false;
    }
    *image = ArgbImage(png.width, png.height);
    for (std::size_t i = 0; i < image->pixels.size(); ++i) {
        const unsigned char* p = &bytes[4 * i];
        image->pixels[i] = (static_cast<std::uint32_t>(p[0]) << 24) |
                           (static_cast<std::uint32_t>(p[1]) << 16) |
                           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
    }
    return true;
}

std::uint32_t Unpremultiply(std::uint32_t premultiplied) {
    const unsigned int alpha = premultiplied >> 24;
    if (alpha == 0) {
        return 0;
    }
    std::uint32_t argb = premultiplied & 0xFF000000u;
    for (unsigned int shift = 0; shift < 24; shift += 8) {
        const unsigned int channel = (premultiplied >> shift) & 0xFF;
        argb |= static_cast<std::uint32_t>((channel * 255 + alpha / 2) / alpha) << shift;
    }
    return argb;
}

// Draws the document onto a cairo ARGB32 surface of its own size and copies it out.
bool RenderSvg(RsvgHandle* handle, ArgbImage* image, std::string* error) {
    double width = 0;
    double height = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) || width < 1 ||
        height < 1) {
        *error = "the SVG gives no width and height in pixels";
        return false;
    }
    if (!SizeFits(width, height, error)) {
        return false;
    }
    const int w = static_cast<int>(std::ceil(width));
    const int h = static_cast<int>(std::ceil(height));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cairo = cairo_create(surface);
    const RsvgRectangle viewport = {0, 0, width, height};
    GError* rsvgError = nullptr;
    const bool bDrawn = rsvg_handle_render_document(handle, cairo, &viewport, &rsvgError);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    if (bDrawn) {
        *image = ArgbImage(static_cast<unsigned int>(w), static_cast<unsigned int>(h));
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            for (int x = 0; x < w; ++x) {
                image->Set(static_cast<unsigned int>(x), static_cast<unsigned int>(y),
                           Unpremultiply(row[x]));
            }
        }
    } else {
        *error = rsvgError != nullptr ? rsvgError->message : "the SVG cannot be drawn";
        g_clear_error(&rsvgError);
    }
    cairo_surface_destroy(surface);
    return bDrawn;
}

bool ReadSvg(const std::string& path, ArgbImage* image, std::string* error) {
    GError* rsvgError = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &rsvgError);
    if (handle == nullptr) {
        *error = rsvgError != nullptr ? rsvgError->message : "not an SVG file";
        g_clear_error(&rsvgError);
        return false;
    }
    const bool bRead = RenderSvg(handle, image, error);
    g_object_unref(handle);
    return bRead;
}

} // namespace

bool ReadImageFile(const std::string& path, ArgbImage* image, std::string* error) {
    bool bRead = false;
    std::error_code notFile;
    if (!std::filesystem::is_regular_file(path, notFile)) {
        *error = "not a file that can be read";
    } else if (HasExtension(path, ".png")) {
        bRead = ReadPng(path, image, error);
    } else if (HasExtension(path, ".svg")) {
        bRead = ReadSvg(path, image, error);
    } else {
        *error = "not a .png or .svg file";
    }
    if (!bRead) {
        *error = "'" + path + "': " + *error;
    }
    return bRead;
}

} // namespace datatool
