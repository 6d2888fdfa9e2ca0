// datatool font OUT.KSB --sprite NAME --size PIXELS [--weight PIXELS] [--face FILE.ttf]:
// a sprite bank holding one font's glyph sheet, rendered from a TrueType face.
#include "commands.h"
#include "fonts/font_sheet.h"
#include "host_files.h"
#include "option_values.h"
#include "sprites/sprite_bank_writer.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>

namespace datatool {
namespace {

bool ParseUnsigned(const char* text, unsigned int* value) {
    const std::optional<unsigned long> parsed = ParseWholeNumber(text, UINT32_MAX);
    if (!parsed) {
        std::fprintf(stderr, "datatool: '%s' is not a whole number\n", text);
        return false;
    }
    *value = static_cast<unsigned int>(*parsed);
    return true;
}

bool ParseFloat(const char* text, float* value) {
    const std::optional<float> parsed = ParseNumber(text, 0.0f, FLT_MAX);
    if (!parsed) {
        std::fprintf(stderr, "datatool: '%s' is not a number\n", text);
        return false;
    }
    *value = *parsed;
    return true;
}

constexpr const char* kFontOptions[] = {"--sprite", "--face", "--size", "--weight"};

// Takes the option's value (null when the arguments end first); false after saying why.
bool ParseOption(const std::string& option, const char* value, FontSheetRequest* request) {
    if (std::find(std::begin(kFontOptions), std::end(kFontOptions), option) ==
        std::end(kFontOptions)) {
        std::fprintf(stderr, "datatool: unknown option '%s'\n", option.c_str());
        return false;
    }
    if (value == nullptr) {
        std::fprintf(stderr, "datatool: %s needs a value\n", option.c_str());
        return false;
    }
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
    return ParseFloat(value, &request->weight);
}

} // namespace

int RunFontCommand(int argc, char** argv) {
    if (argc < 1) {
        std::fprintf(stderr, "usage: datatool font OUT.KSB --sprite NAME --size PIXELS "
                             "[--weight PIXELS] [--face FILE.ttf]\n");
        return 2;
    }
    FontSheetRequest request;
    for (int i = 1; i < argc; i += 2) {
        if (!ParseOption(argv[i], i + 1 < argc ? argv[i + 1] : nullptr, &request)) {
            return 2;
        }
    }
    std::string error;
    if (!CheckFontRequest(request, &error)) {
        std::fprintf(stderr, "datatool: %s\n", error.c_str());
        return 2;
    }
    SpriteBankContent bank;
    if (!BuildFontBank(request, &bank, &error)) {
        std::fprintf(stderr, "datatool: %s\n", error.c_str());
        return 1;
    }
    return WriteHostFile(argv[0], WriteSpriteBank(bank, kCurrentLayout)) ? 0 : 1;
}

} // namespace datatool
