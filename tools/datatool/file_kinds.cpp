#include "file_kinds.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

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
    std::vector<unsigned char> start(16);
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(file.gcount()));
    return start;
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
