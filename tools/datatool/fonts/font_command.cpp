// datatool font OUT.KSB --sprite NAME --size PIXELS [--weight PIXELS] [--face FILE.ttf]:
// a sprite bank holding one font's glyph sheet, rendered from a TrueType face.
#include "commands.h"
#include "fonts/font_sheet.h"
#include "host_files.h"
#include "sprites/sprite_bank_writer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace datatool {
namespace {

bool ParseUnsigned(const char* text, unsigned int* value) {
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(text, &end, 10);
    if (end == text || *end != 0 || parsed > 0xFFFFFFFFul) {
        std::fprintf(stderr, "datatool: '%s' is not a whole number\n", text);
        return false;
    }
    *value = static_cast<unsigned int>(parsed);
    return true;
}

bool ParseFloat(const char* text, float* value) {
    char* end = nullptr;
    *value = std::strtof(text, &end);
    if (end == text || *end != 0) {
        std::fprintf(stderr, "datatool: '%s' is not a number\n", text);
        return false;
    }
    return true;
}

bool ParseOption(const std::string& option, const char* value, FontSheetRequest* request) {
    if (option == "--sprite") {
        request->spriteName = value;
        return true;
    }
    if (option == "--face") {
        request->facePath = value;
        return true;
    }
    if (option == "--size") {
        return ParseUnsigned(value, &request->pixelSize);
    }
    if (option == "--weight") {
        return ParseFloat(value, &request->weight);
    }
    std::fprintf(stderr, "datatool: unknown option '%s'\n", option.c_str());
    return false;
}

} // namespace

int RunFontCommand(int argc, char** argv) {
    if (argc < 1 || argc % 2 != 1) {
        std::fprintf(stderr, "usage: datatool font OUT.KSB --sprite NAME --size PIXELS "
                             "[--weight PIXELS] [--face FILE.ttf]\n");
        return 2;
    }
    FontSheetRequest request;
    for (int i = 1; i < argc; i += 2) {
        if (!ParseOption(argv[i], argv[i + 1], &request)) {
            return 2;
        }
    }
    SpriteBankContent bank;
    std::string error;
    if (!BuildFontBank(request, &bank, &error)) {
        std::fprintf(stderr, "datatool: %s\n", error.c_str());
        return 1;
    }
    return WriteHostFile(argv[0], WriteSpriteBank(bank, kCurrentLayout)) ? 0 : 1;
}

} // namespace datatool
