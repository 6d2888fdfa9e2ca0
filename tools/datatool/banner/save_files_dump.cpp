// Dumps of save.dat and banner.bin; the banner's layout is the flash library's own record.
#include "banner/save_files_dump.h"
#include "host_files.h"

#include <console/nand.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <strings.h>

namespace datatool {
namespace {

// The game's save block.
constexpr unsigned int kGameBlockSize = 5972;
constexpr unsigned int kShownBytes = 16;

unsigned int RoundUp32(unsigned int size) {
    return (size + 31u) & ~31u;
}

unsigned int Big32(const unsigned char* field) {
    return static_cast<unsigned int>(field[0]) << 24 | field[1] << 16 | field[2] << 8 | field[3];
}

bool AllZero(const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

void AppendUtf8(unsigned int c, std::string* text) {
    if (c < 0x80) {
        text->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text->push_back(static_cast<char>(0xC0 | c >> 6));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c >= 0xD800 && c < 0xE000) {
        text->push_back('?'); // half of a pair: no title uses one
    } else {
        text->push_back(static_cast<char>(0xE0 | c >> 12));
        text->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// A comment line: big-endian UTF-16 up to its first zero character.
std::string CommentLine(const unsigned char* line) {
    std::string text;
    for (unsigned int i = 0; i < NAND_BANNER_COMMENT_CHARS; ++i) {
        const unsigned int c = static_cast<unsigned int>(line[2 * i]) << 8 | line[2 * i + 1];
        if (c == 0) {
            break;
        }
        AppendUtf8(c, &text);
    }
    return text;
}

void PrintPicture(const char* name, const unsigned char* file, std::size_t offset,
                  unsigned int size, unsigned int width, unsigned int height, FILE* out) {
    std::fprintf(out, "%-11s offset %zu, %u bytes (%u x %u RGB5A3), %s\n", name, offset, size,
                 width, height, AllZero(file + offset, size) ? "empty" : "drawn");
}

bool ParseBlockSize(int argc, char** argv, unsigned int* blockSize) {
    if (argc == 1) {
        return true;
    }
    char* end = nullptr;
    const unsigned long value = argc == 3 ? std::strtoul(argv[2], &end, 10) : 0;
    if (argc != 3 || std::strcmp(argv[1], "--block-size") != 0 || *end != '\0' || value == 0 ||
        value > 0x7FFFFFFFul) {
        std::fprintf(stderr, "usage: datatool dump save.dat [--block-size N]\n");
        return false;
    }
    *blockSize = static_cast<unsigned int>(value);
    return true;
}

} // namespace

bool IsSaveFile(const std::string& path) {
    return strcasecmp(std::filesystem::path(path).filename().c_str(), "save.dat") == 0;
}

bool IsBannerFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::error_code error;
    if (std::filesystem::file_size(path, error) != sizeof(NANDBanner) || error ||
        !ReadHostFile(path, &bytes)) {
        return false;
    }
    return Big32(bytes.data()) == NAND_BANNER_SIGNATURE;
}

bool DumpSaveFile(const std::vector<unsigned char>& bytes, unsigned int blockSize, FILE* out) {
    const unsigned int rounded = RoundUp32(blockSize);
    std::fprintf(out, "length      %zu bytes\n", bytes.size());
    std::fprintf(out, "block       %u bytes, stored as %u (%u bytes of zero padding)\n", blockSize,
                 rounded, rounded - blockSize);
    if (bytes.size() != rounded) {
        std::fprintf(out, "framing     %s: the game loads only a file of %u bytes\n",
                     bytes.size() < rounded ? "truncated" : "too long", rounded);
        return false;
    }
    const bool padded = AllZero(bytes.data() + blockSize, rounded - blockSize);
    std::fprintf(out, "padding     %s\n", padded ? "zero" : "not zero");
    std::fprintf(out, "first bytes");
    for (unsigned int i = 0; i < kShownBytes && i < bytes.size(); ++i) {
        std::fprintf(out, " %02x", bytes[i]);
    }
    std::fprintf(out, "\n");
    return padded;
}

void DumpBannerFile(const std::vector<unsigned char>& bytes, FILE* out) {
    const unsigned char* file = bytes.data();
    const unsigned int speeds = static_cast<unsigned int>(file[offsetof(NANDBanner, iconSpeed)])
                                    << 8 |
                                file[offsetof(NANDBanner, iconSpeed) + 1];
    std::fprintf(out, "length      %zu bytes\n", bytes.size());
    std::fprintf(out, "signature   0x%08x\n", Big32(file + offsetof(NANDBanner, signature)));
    std::fprintf(out, "flag        0x%08x\n", Big32(file + offsetof(NANDBanner, flag)));
    std::fprintf(out, "icon speeds 0x%04x:", speeds);
    for (unsigned int frame = 0; frame < NAND_BANNER_ICON_MAX; ++frame) {
        std::fprintf(out, " %u", speeds >> (2 * frame) & 3u);
    }
    std::fprintf(out, "\nreserved    %s\n",
                 AllZero(file + offsetof(NANDBanner, reserved), sizeof(NANDBanner::reserved))
                     ? "zero"
                     : "not zero");
    const std::size_t comment = offsetof(NANDBanner, comment);
    std::fprintf(out, "title       \"%s\"\n", CommentLine(file + comment).c_str());
    std::fprintf(out, "subtitle    \"%s\"\n",
                 CommentLine(file + comment + sizeof(NANDBanner::comment[0])).c_str());
    PrintPicture("banner", file, offsetof(NANDBanner, bannerTexture), NAND_BANNER_TEXTURE_SIZE,
                 NAND_BANNER_TEXTURE_WIDTH, NAND_BANNER_TEXTURE_HEIGHT, out);
    for (unsigned int frame = 0; frame < NAND_BANNER_ICON_MAX; ++frame) {
        char name[16];
        std::snprintf(name, sizeof(name), "icon %u", frame + 1);
        PrintPicture(name, file, offsetof(NANDBanner, iconTexture) + frame * NAND_BANNER_ICON_SIZE,
                     NAND_BANNER_ICON_SIZE, NAND_BANNER_ICON_WIDTH, NAND_BANNER_ICON_HEIGHT, out);
    }
}

int RunSaveFileDump(int argc, char** argv) {
    unsigned int blockSize = kGameBlockSize;
    std::vector<unsigned char> bytes;
    if (!ParseBlockSize(argc, argv, &blockSize)) {
        return 2;
    }
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    std::printf("file        %s\n", argv[0]);
    return DumpSaveFile(bytes, blockSize, stdout) ? 0 : 1;
}

int RunBannerFileDump(int argc, char** argv) {
    std::vector<unsigned char> bytes;
    if (argc != 1) {
        std::fprintf(stderr, "usage: datatool dump banner.bin\n");
        return 2;
    }
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    if (bytes.size() != sizeof(NANDBanner)) {
        std::fprintf(stderr, "datatool: '%s' is not a banner of %zu bytes\n", argv[0],
                     sizeof(NANDBanner));
        return 1;
    }
    std::printf("file        %s\n", argv[0]);
    DumpBannerFile(bytes, stdout);
    return 0;
}

} // namespace datatool
