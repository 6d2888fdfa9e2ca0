// Language files recognised and printed through the game's own loader.
#include "text/language_file_dump.h"

#include <framework/ktext.h>

#include <kelvo/io/kmemoryiostream.h>

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
