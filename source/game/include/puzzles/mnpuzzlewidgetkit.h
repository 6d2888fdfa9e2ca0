// The small pieces every puzzle widget draws with: texts of the language file, sprites placed
// in pixels, and the places the puzzle screens share (the title-safe margin, the clock's and
// the counter's). Main thread only; a missing text is empty, a missing sprite a null pointer.
#pragma once

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/containers/ksharedptr.h>

#include <initializer_list>

namespace Kelvo_lib {

// Text that no layout places stays this many pixels inside the picture's top and bottom
// edges (about 5 %), where a television's overscan does not cut it.
constexpr int K_TITLE_SAFE_Y = 24;

int DisplayWidth();
int DisplayHeight();

// The language file's text id, or "" when there is none.
const char* Txt(int id);
// A sprite of the bank placed in pixels and drawn with its transparency.
kSharedPtr<kSprite> PixelSprite(const char* bank, const char* name);
// Whether every sprite the disc was asked for is there.
bool AllLoaded(std::initializer_list<const kSprite*> sprites);
// Prints the text centred on the sprite, in the colour given.
void PrintCentred(kFont& font, const kSprite& sprite, const char* text, unsigned int colour);

// The clock's place on the screens that no layout places: the wordsearch's column, title-safe.
int ClockX();
// The counter's place on those screens: the crossword's column, at K_TITLE_SAFE_Y.
constexpr int K_COUNTER_X = 45;

} // namespace Kelvo_lib
