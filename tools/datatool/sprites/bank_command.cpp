// datatool bank OUT.KSB [--layout current|wide-cells|old] [--page-size N] SPRITE...
// where SPRITE is --sprite NAME [--mask] [--hotspot NAME X Y]... IMAGE... (PNG or SVG
// files, one frame each). "@FILE" stands for the words of FILE ('#' starts a comment,
// double quotes keep a word's blanks), whose image paths are relative to FILE's folder.
#include "commands.h"
#include "host_files.h"
#include "image_files.h"
#include "option_values.h"
#include "sprite_bank_builder.h"
#include "sprite_bank_writer.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>

namespace datatool {
namespace {

namespace fs = std::filesystem;

struct Word {
    std::string text;
    fs::path folder; // where a relative path in it starts
};

bool ReadWords(const std::string& path, std::vector<Word>* words) {
    if (!IsInputFile(path)) {
        return false;
    }
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "datatool: cannot read '%s'\n", path.c_str());
        return false;
    }
    const fs::path folder = fs::path(path).parent_path();
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line.substr(0, line.find('#')));
        for (std::string text; in >> std::quoted(text);) {
            words->push_back(Word{text, folder});
        }
    }
    return true;
}

bool ExpandWords(int argc, char** argv, std::vector<Word>* words) {
    for (int i = 0; i < argc; ++i) {
        if (argv[i][0] == '@') {
            if (!ReadWords(argv[i] + 1, words)) {
                return false;
            }
        } else {
            words->push_back(Word{argv[i], fs::path()});
        }
    }
    return true;
}

bool ParseUnsigned(const std::string& text, unsigned int* value) {
    const std::optional<unsigned long> parsed = ParseWholeNumber(text.c_str(), UINT32_MAX);
    if (!parsed) {
        std::fprintf(stderr, "datatool: '%s' is not a number\n", text.c_str());
        return false;
    }
    *value = static_cast<unsigned int>(*parsed);
    return true;
}

bool ParseLayout(const std::string& name, SpriteBankLayout* layout) {
    if (name == "current") {
        *layout = kCurrentLayout;
    } else if (name == "wide-cells") {
        *layout = kWideCellLayout;
    } else if (name == "old") {
        *layout = kOldLayout;
    } else {
        std::fprintf(stderr, "datatool: unknown layout '%s' (current, wide-cells, old)\n",
                     name.c_str());
        return false;
    }
    return true;
}

struct BankRequest {
    std::string outPath;
    SpriteBankLayout layout = kCurrentLayout;
    unsigned int pageSize = kDefaultPageSize;
    std::vector<SpriteSource> sprites;             // each frame empty until it is read
    std::vector<std::vector<fs::path>> framePaths; // of each sprite
};

class RequestParser {
public:
    explicit RequestParser(const std::vector<Word>& words) : m_words(words) {}

    // false after saying why on stderr.
    bool Parse(BankRequest* request) {
        while (m_next < m_words.size()) {
            if (!ParseWord(request)) {
                return false;
            }
        }
        return true;
    }

private:
    bool ParseWord(BankRequest* request) {
        const std::string& word = m_words[m_next++].text;
        if (word == "--layout") {
            return Take(1) && ParseLayout(m_words[m_next - 1].text, &request->layout);
        }
        if (word == "--page-size") {
            return Take(1) && ParseUnsigned(m_words[m_next - 1].text, &request->pageSize);
        }
        if (word == "--sprite") {
            if (!Take(1)) {
                return false;
            }
            request->sprites.push_back(SpriteSource{});
            request->sprites.back().name = m_words[m_next - 1].text;
            request->framePaths.emplace_back();
            return true;
        }
        if (request->sprites.empty()) {
            std::fprintf(stderr, "datatool: '%s' comes before any --sprite\n", word.c_str());
            return false;
        }
        SpriteSource& sprite = request->sprites.back();
        if (word == "--mask") {
            sprite.bMask = true;
            return true;
        }
        if (word == "--hotspot") {
            HotSpotSource hotSpot;
            if (!Take(3)) {
                return false;
            }
            hotSpot.name = m_words[m_next - 3].text;
            sprite.hotSpots.push_back(hotSpot);
            return ParseUnsigned(m_words[m_next - 2].text, &sprite.hotSpots.back().x) &&
                   ParseUnsigned(m_words[m_next - 1].text, &sprite.hotSpots.back().y);
        }
        const Word& frame = m_words[m_next - 1];
        sprite.frames.emplace_back();
        request->framePaths.back().push_back(
            fs::path(frame.text).is_absolute() ? fs::path(frame.text) : frame.folder / frame.text);
        return true;
    }

    bool Take(std::size_t count) {
        if (m_next + count > m_words.size()) {
            std::fprintf(stderr, "datatool: '%s' needs %zu more words\n",
                         m_words[m_next - 1].text.c_str(), count);
            return false;
        }
        m_next += count;
        return true;
    }

    const std::vector<Word>& m_words;
    std::size_t m_next = 0;
};

// A hot spot lies in every frame of its sprite (its right and bottom edges included).
bool HotSpotsInsideFrames(const SpriteSource& sprite) {
    for (const HotSpotSource& hotSpot : sprite.hotSpots) {
        for (const ArgbImage& frame : sprite.frames) {
            if (hotSpot.x > frame.width || hotSpot.y > frame.height) {
                std::fprintf(stderr,
                             "datatool: sprite '%s': hot spot '%s' (%u, %u) lies outside its "
                             "%u x %u frame\n",
                             sprite.name.c_str(), hotSpot.name.c_str(), hotSpot.x, hotSpot.y,
                             frame.width, frame.height);
                return false;
            }
        }
    }
    return true;
}

bool ReadFrames(BankRequest* request) {
    for (std::size_t sprite = 0; sprite < request->sprites.size(); ++sprite) {
        const std::vector<fs::path>& paths = request->framePaths[sprite];
        for (std::size_t frame = 0; frame < paths.size(); ++frame) {
            std::string error;
            if (!ReadImageFile(paths[frame].string(), &request->sprites[sprite].frames[frame],
                               &error)) {
                std::fprintf(stderr, "datatool: %s\n", error.c_str());
                return false;
            }
        }
        if (!HotSpotsInsideFrames(request->sprites[sprite])) {
            return false;
        }
    }
    return true;
}

} // namespace

int RunBankCommand(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: datatool bank OUT.KSB [--layout L] [--page-size N] "
                             "--sprite NAME [--mask] [--hotspot NAME X Y] IMAGE...\n");
        return 2;
    }
    BankRequest request;
    request.outPath = argv[0];
    std::vector<Word> words;
    if (!ExpandWords(argc - 1, argv + 1, &words)) {
        return 1;
    }
    std::string error;
    if (!RequestParser(words).Parse(&request) ||
        !CheckSpriteRequest(request.sprites, request.pageSize, &error)) {
        if (!error.empty()) {
            std::fprintf(stderr, "datatool: %s\n", error.c_str());
        }
        return 2;
    }
    if (!ReadFrames(&request)) {
        return 1;
    }
    SpriteBankContent bank;
    if (!BuildSpriteBank(request.sprites, request.pageSize, &bank, &error)) {
        std::fprintf(stderr, "datatool: %s\n", error.c_str());
        return 1;
    }
    return WriteHostFile(request.outPath, WriteSpriteBank(bank, request.layout)) ? 0 : 1;
}

} // namespace datatool
