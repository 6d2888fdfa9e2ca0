// The small pieces every puzzle widget draws and reads input with: the A button and its
// per-frame state, the pointer in screen pixels, texts of the language file and sprites placed
// in pixels. Main thread only; a missing text is empty, a missing sprite a null pointer.
#pragma once

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

bool IsAButtonHeld();
// The A button's state after this frame, from the one before: -1 idle, 1 pressed this frame,
// 2 held, 3 let go this frame.
int NextAButtonState(int previous);

int DisplayWidth();
int DisplayHeight();
int PointerX();
int PointerY();

// The language file's text id, or "" when there is none.
const char* Txt(int id);
// A sprite of the bank placed in pixels and drawn with its transparency.
kSharedPtr<kSprite> PixelSprite(const char* bank, const char* name);
// Prints the text centred on the sprite.
void PrintCentred(kFont& font, const kSprite& sprite, const char* text);

} // namespace Kelvo_lib
