// Writes a sprite bank file from its content, in the current layout or in one of the
// older ones the engine still reads. Pure function.
#pragma once

#include "sprite_bank_builder.h"

#include <vector>

namespace datatool {

struct SpriteBankLayout {
    bool bOldHeader; // version 1: no platform and flags
    bool bOldFrames; // "FRAM" frames, without totalw and totalh
    bool bWideCells; // "CELL" cells of 32-bit fields
};

constexpr SpriteBankLayout kCurrentLayout{false, false, false};
constexpr SpriteBankLayout kWideCellLayout{false, false, true};
constexpr SpriteBankLayout kOldLayout{true, true, true};

std::vector<unsigned char> WriteSpriteBank(const SpriteBankContent& bank,
                                           const SpriteBankLayout& layout);

} // namespace datatool
