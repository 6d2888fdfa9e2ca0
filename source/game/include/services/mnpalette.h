// MNPalette: the game's colours, 0xAARRGGBB, for every screen it draws itself (menus,
// puzzles, dialogs, the title): what each is for is its name's comment. Where a screen's
// layout gives a colour of its own, that colour is used instead. Constants only.
#pragma once

namespace Kelvo_lib {

struct MNPalette {
    static constexpr unsigned int kNightBlue = 0xFF1B2A4A; // backgrounds
    static constexpr unsigned int kSlate = 0xFF2E4272;     // panels, hinted cells
    static constexpr unsigned int kPaper = 0xFFFAF7F0;     // grids, clue cards, plates
    static constexpr unsigned int kInk = 0xFF1A1A1A;       // letters and digits on paper
    static constexpr unsigned int kUsedInk = 0xFF565C6C;   // words already used, on paper
    static constexpr unsigned int kSun = 0xFFFFD23F;       // highlight, selection
    static constexpr unsigned int kPaleSun = 0xFFFFF0C0;   // a softer highlight
    static constexpr unsigned int kLeaf = 0xFF3BB273;      // right, complete
    static constexpr unsigned int kBrick = 0xFFE15554;     // wrong, errors
    static constexpr unsigned int kSky = 0xFF4D9DE0;       // buttons at rest, player entries
    static constexpr unsigned int kGrey = 0xFF8A8FA0;      // disabled
    static constexpr unsigned int kWhite = 0xFFFFFFFF;     // text on dark
};

} // namespace Kelvo_lib
