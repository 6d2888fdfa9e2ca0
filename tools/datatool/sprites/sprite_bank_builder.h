// Builds a sprite bank's records and pages from pictures: frames cut into cells no larger
// than a page (wholly transparent ones left out), packed onto ARGB 8888 pages with a
// one-pixel border copied from the frame, pages shrunk to a power of two (at least one GX
// tile), tiled and LZSS-packed; optional masks, one bit per 4 x 4 block holding alpha 128
// or more. Pure function; false, with the reason in error, for input a bank cannot hold.
#pragma once

#include "argb_image.h"

#include <framework/kspritebank.h>

#include <string>
#include <vector>

namespace datatool {

struct HotSpotSource {
    std::string name;
    unsigned int x = 0;
    unsigned int y = 0;
};

struct SpriteSource {
    std::string name;
    std::vector<ArgbImage> frames;
    std::vector<HotSpotSource> hotSpots;
    bool bMask = false;
};

// Everything a bank file holds, in the engine's own record types.
struct SpriteBankContent {
    Kelvo_lib::kSpriteBankHeader header{};
    std::vector<char> names;
    std::vector<Kelvo_lib::kSpriteBankSprite> sprites;
    std::vector<Kelvo_lib::kSpriteBankFrame> frames;
    std::vector<Kelvo_lib::kSpriteBankCell> cells;
    std::vector<Kelvo_lib::kSpriteBankHotSpot> hotSpots;
    std::vector<Kelvo_lib::kSpriteBankPage> pages;
    std::vector<unsigned char> pageData;
    std::vector<unsigned char> collisionData;
};

constexpr unsigned int kMinPageSize = 8;
constexpr unsigned int kMaxPageSize = 1024; // the largest texture the graphics processor takes
constexpr unsigned int kDefaultPageSize = 512;
constexpr unsigned int kBankPlatform = 2;

// Whether the sprites make a bank on pages of pageSize, whatever their frames' pictures:
// a page size that is a power of two from kMinPageSize to kMaxPageSize, and each sprite
// named (names ignore case, each once) with a frame and its hot spots named; false with
// the reason in error.
bool CheckSpriteRequest(const std::vector<SpriteSource>& sprites, unsigned int pageSize,
                        std::string* error);

// pageSize: the largest page, as above; also false for a frame of no pixels or more than
// 65,535 a side.
bool BuildSpriteBank(const std::vector<SpriteSource>& sprites, unsigned int pageSize,
                     SpriteBankContent* bank, std::string* error);

} // namespace datatool
