#include "file_kinds.h"

#include <console/nand.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <strings.h>

namespace datatool {
namespace {

struct ForeignKind {
    const char* signature;
    std::size_t length;
    const char* name;
};
constexpr ForeignKind kForeignKinds[] = {
    {"\x89PNG\r\n\x1a\n", 8, "a PNG picture"},
    {"\xFF\xD8\xFF", 3, "a JPEG picture"},
    {"GIF8", 4, "a GIF picture"},
    {"<svg", 4, "an SVG picture"},
    {"<?xml", 5, "an XML document (an SVG picture?)"},
    {"OggS", 4, "an Ogg stream (music: dump reads the sound effects' formats)"},
};

constexpr std::size_t kShownBytes = 8;

std::uint64_t Big32(const unsigned char* at) {
    return std::uint64_t{at[0]} << 24 | at[1] << 16 | at[2] << 8 | at[3];
}

std::uint64_t Little32(const unsigned char* at) {
    return std::uint64_t{at[3]} << 24 | at[2] << 16 | at[1] << 8 | at[0];
}

// A kind of file dump reads that says how long it is.
struct Layout {
    const char* signature; // its first 4 bytes; null for a kind told by its name's ending
    const char* ending;
    const char* name;
    std::size_t headerBytes;                              // at most kFileStartBytes
    std::uint64_t (*length)(const unsigned char* header); // the whole file's, by its header
};
constexpr Layout kLayouts[] = {
    {"FORM", nullptr, "a puzzle or sprite bank (IFF)", 12,
     [](const unsigned char* h) { return 8 + Big32(h + 4); }},
    // The movie's data comes last: its offset and size.
    {"THP\0", nullptr, "a THP movie", 48,
     [](const unsigned char* h) { return Big32(h + 40) + Big32(h + 28); }},
    {"RIFF", nullptr, "a WAV sound", 12,
     [](const unsigned char* h) { return 8 + Little32(h + 4); }},
    {"VAGp", nullptr, "a VAG sound", 48, [](const unsigned char* h) { return 48 + Big32(h + 12); }},
    {"SShd", nullptr, "an ADS sound", 40,
     [](const unsigned char* h) { return 40 + Big32(h + 36); }},
    {"SWAV", nullptr, "an SWAV sound", 36, [](const unsigned char* h) { return Big32(h + 8); }},
    {"NBNR", nullptr, "a save banner", 4,
     [](const unsigned char*) { return std::uint64_t{sizeof(NANDBanner)}; }},
    // Its data holds the nibble of its end address (at 20).
    {nullptr, ".dsp", "a DSP sound", 96,
     [](const unsigned char* h) { return 96 + Big32(h + 20) / 2 + 1; }},
};

bool HasEnding(const std::string& path, const char* ending) {
    const std::size_t length = std::strlen(ending);
    return path.size() >= length && strcasecmp(path.c_str() + path.size() - length, ending) == 0;
}

const Layout* LayoutOf(const std::string& path, const std::vector<unsigned char>& start) {
    for (const Layout& layout : kLayouts) {
        if (layout.signature != nullptr
                ? start.size() >= 4 && std::memcmp(start.data(), layout.signature, 4) == 0
                : HasEnding(path, layout.ending)) {
            return &layout;
        }
    }
    return nullptr;
}

// "N bytes beginning 52 49 46 46 ... ('RIFF....')".
std::string DescribeBytes(const std::vector<unsigned char>& start) {
    if (start.empty()) {
        return "an empty file";
    }
    const std::size_t shown = std::min(start.size(), kShownBytes);
    std::string hex;
    std::string text;
    for (std::size_t i = 0; i < shown; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof(byte), i == 0 ? "%02x" : " %02x", start[i]);
        hex += byte;
        text += start[i] >= 0x20 && start[i] < 0x7F ? static_cast<char>(start[i]) : '.';
    }
    return "a file beginning " + hex + " ('" + text + "')";
}

} // namespace

const char* ForeignFileKind(const std::vector<unsigned char>& start) {
    for (const ForeignKind& kind : kForeignKinds) {
        if (start.size() >= kind.length &&
            std::memcmp(start.data(), kind.signature, kind.length) == 0) {
            return kind.name;
        }
    }
    return nullptr;
}

std::vector<unsigned char> FileStart(const std::string& path) {
    std::vector<unsigned char> start(kFileStartBytes);
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(file.gcount()));
    return start;
}

bool ReportIfTruncated(const std::string& path, const std::vector<unsigned char>& start) {
    const Layout* layout = LayoutOf(path, start);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (layout == nullptr || error) {
        return false;
    }
    const bool bWholeHeader = size >= layout->headerBytes;
    const std::uint64_t length = bWholeHeader ? layout->length(start.data()) : 0;
    if (bWholeHeader && size >= length) {
        return false;
    }
    const std::string expected = bWholeHeader
                                     ? "header gives " + std::to_string(length)
                                     : "header alone takes " + std::to_string(layout->headerBytes);
    std::fprintf(stderr, "datatool: '%s' is truncated: %s of %ju bytes, whose %s\n", path.c_str(),
                 layout->name, size, expected.c_str());
    return true;
}

void ReportUnreadableFile(const std::string& path, const std::vector<unsigned char>& start) {
    const char* foreign = ForeignFileKind(start);
    std::fprintf(stderr,
                 "datatool: '%s' is no file dump reads: expected a sound file (.dsp .wav .vag .ads"
                 " .vb .swav), a puzzle bank, sprite bank, language file, save file, banner or"
                 " movie; found %s\n",
                 path.c_str(), foreign != nullptr ? foreign : DescribeBytes(start).c_str());
}

} // namespace datatool
