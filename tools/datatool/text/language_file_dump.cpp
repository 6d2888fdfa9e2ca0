// Language files recognised and printed through the game's own loader.
#include "text/language_file_dump.h"

#include <framework/ktext.h>

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/io/kzipiostream.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace datatool {
namespace {

using Kelvo_lib::kText;

// The text as one line of UTF-8.
std::string Printable(const char* text) {
    std::string line;
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (byte == '\n') {
            line += "\\n";
        } else if (byte < 0x80) {
            line += static_cast<char>(byte);
        } else {
            line += static_cast<char>(0xC0 | (byte >> 6));
            line += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return line;
}

bool IsCompressed(const std::vector<unsigned char>& bytes) {
    return bytes.size() >= 2 && bytes[0] == 'Z' && bytes[1] == 'Z';
}

constexpr unsigned int kSizeFieldBytes = 4;

// How many of size bytes the zlib stream at offset of bytes inflates to.
unsigned int InflatedBytes(std::vector<unsigned char> bytes, unsigned int offset,
                           unsigned int size) {
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    stream.Seek(static_cast<int>(offset), K_IO_SEEK_SET);
    Kelvo_lib::kZipIOStream zip(&stream, K_IO_ACCESS_READ, 4096);
    std::vector<char> chunk(4096);
    unsigned int total = 0;
    while (total < size) {
        const unsigned int got =
            zip.Read(chunk.data(), std::min(size - total, static_cast<unsigned int>(chunk.size())));
        if (got == 0) {
            break;
        }
        total += got;
    }
    return total;
}

// How the file is cut short: within its header line, before its compressed body's size or
// end, or within its last entry (each ends with a line end); empty when it is whole.
std::string Shortfall(const std::vector<unsigned char>& bytes) {
    const auto lineEnd = std::find(bytes.begin(), bytes.end(), '\n');
    if (lineEnd == bytes.end()) {
        return "it ends within its header line";
    }
    const auto bodyStart = static_cast<unsigned int>(lineEnd - bytes.begin() + 1);
    if (!IsCompressed(bytes)) {
        return bytes.size() > bodyStart && bytes.back() != '\n' ? "its last entry has no line end"
                                                                : "";
    }
    if (bytes.size() < bodyStart + kSizeFieldBytes) {
        return "its compressed body has no size";
    }
    const unsigned int size = static_cast<unsigned int>(bytes[bodyStart]) |
                              bytes[bodyStart + 1] << 8 | bytes[bodyStart + 2] << 16 |
                              static_cast<unsigned int>(bytes[bodyStart + 3]) << 24;
    const unsigned int inflated = InflatedBytes(bytes, bodyStart + kSizeFieldBytes, size);
    return inflated < size ? "its body inflates to " + std::to_string(inflated) + " of its " +
                                 std::to_string(size) + " bytes"
                           : "";
}

} // namespace

// As the game's loader reads it: a header line (carriage returns dropped wherever they
// are) naming any language or none, then a body the loader takes. The header must be text,
// which no sound file's is, unless the file is named as a language file: then a damaged
// header is still the game's to read.
bool IsLanguageFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string header;
    if (!std::getline(file, header)) {
        return false;
    }
    const bool bText = std::all_of(header.begin(), header.end(), [](char c) {
        return c == '\r' || c == '\t' || static_cast<unsigned char>(c) >= 0x20;
    });
    std::vector<unsigned char> bytes;
    file.seekg(0);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    const bool bNamed = path.size() >= 4 && path.compare(path.size() - 4, 4, ".txz") == 0;
    const bool bLoads = (bText || bNamed) && !file.bad() && kText::Load(&stream);
    kText::Reset();
    return bLoads;
}

bool DumpLanguageFile(const std::vector<unsigned char>& bytes, FILE* out) {
    if (const std::string shortfall = Shortfall(bytes); !shortfall.empty()) {
        std::fprintf(stderr, "datatool: the language file is truncated: %s\n", shortfall.c_str());
        return false;
    }
    std::vector<unsigned char> copy = bytes;
    Kelvo_lib::kMemoryIOStream stream(copy.data(), static_cast<unsigned int>(copy.size()),
                                      K_IO_ACCESS_READ);
    if (!kText::Load(&stream)) {
        std::fprintf(stderr, "datatool: not a language file the game loads\n");
        return false;
    }
    std::fprintf(out, "language  %s\n", kText::LanguageName(kText::GetLanguage()));
    std::fprintf(out, "body      %s\n", IsCompressed(bytes) ? "compressed" : "plain");
    std::fprintf(out, "texts     %d\n", kText::NumTexts());
    for (int id = 0; id < kText::NumTexts(); ++id) {
        std::fprintf(out, "%s \"%s\"\n", kText::TextId(id), Printable(kText::Text(id)).c_str());
    }
    kText::Reset();
    return true;
}

} // namespace datatool
