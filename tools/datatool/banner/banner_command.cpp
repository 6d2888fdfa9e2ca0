// datatool banner OUTDIR BANNER.svg|png ICONS.svg|png: the save banner's picture and its
// icon frames as the game reads them from the disc: OUTDIR/save_banner.tpl.bin and
// OUTDIR/save_icon_01.tpl.bin to _08.tpl.bin, tiled RGB5A3. ICONS holds the frames side
// by side, left to right.
#include "banner/rgb5a3_tiles.h"
#include "commands.h"
#include "host_files.h"
#include "sprites/image_files.h"

#include <console/nand.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace datatool {
namespace {

bool ReadSizedImage(const std::string& path, unsigned int width, unsigned int height,
                    ArgbImage* image) {
    std::string error;
    if (!ReadImageFile(path, image, &error)) {
        std::fprintf(stderr, "datatool: %s\n", error.c_str());
        return false;
    }
    if (image->width != width || image->height != height) {
        std::fprintf(stderr, "datatool: '%s' is %u x %u pixels, not %u x %u\n", path.c_str(),
                     image->width, image->height, width, height);
        return false;
    }
    return true;
}

ArgbImage IconFrame(const ArgbImage& strip, unsigned int frame) {
    ArgbImage icon(NAND_BANNER_ICON_WIDTH, NAND_BANNER_ICON_HEIGHT);
    for (unsigned int y = 0; y < icon.height; ++y) {
        for (unsigned int x = 0; x < icon.width; ++x) {
            icon.Set(x, y, strip.At(frame * NAND_BANNER_ICON_WIDTH + x, y));
        }
    }
    return icon;
}

bool WriteIcons(const std::filesystem::path& folder, const ArgbImage& strip) {
    for (unsigned int frame = 0; frame < NAND_BANNER_ICON_MAX; ++frame) {
        char name[32];
        std::snprintf(name, sizeof(name), "save_icon_%02u.tpl.bin", frame + 1);
        if (!WriteHostFile((folder / name).string(), TileRgb5a3(IconFrame(strip, frame)))) {
            return false;
        }
    }
    return true;
}

} // namespace

int RunBannerCommand(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: datatool banner OUTDIR BANNER.svg|png ICONS.svg|png\n");
        return 2;
    }
    ArgbImage banner;
    ArgbImage icons;
    if (!ReadSizedImage(argv[1], NAND_BANNER_TEXTURE_WIDTH, NAND_BANNER_TEXTURE_HEIGHT, &banner) ||
        !ReadSizedImage(argv[2], NAND_BANNER_ICON_WIDTH * NAND_BANNER_ICON_MAX,
                        NAND_BANNER_ICON_HEIGHT, &icons)) {
        return 1;
    }
    const std::filesystem::path folder(argv[0]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "datatool: cannot make '%s': %s\n", argv[0], error.message().c_str());
        return 1;
    }
    const bool written =
        WriteHostFile((folder / "save_banner.tpl.bin").string(), TileRgb5a3(banner)) &&
        WriteIcons(folder, icons);
    return written ? 0 : 1;
}

} // namespace datatool
