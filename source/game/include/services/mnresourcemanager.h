// MNResourceManager: the game's sprite banks and fonts by name. Banks are shared: a bank
// lives while a sprite or font made from it lives, and the banks every screen uses stay
// loaded until Deinit. Banks compiled into the program are read from memory, the others
// from the disc. Sprites and fonts are new objects the caller owns. Static service, main
// thread only: a missing or broken bank is logged and gives an empty bank, a missing
// sprite a logged null, a missing font an empty font.
#pragma once

#include <framework/kfont.h>
#include <framework/ksprite.h>
#include <framework/kspritebank.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class MNResourceManager {
public:
    static void Init();
    // Drops the banks kept loaded and forgets the shared ones (holders keep theirs alive).
    static void Deinit();

    // Makes a bank file that the program carries answer to the name, in place of the disc's;
    // the bytes stay the caller's and unchanged. Until Deinit.
    static void AddBuiltInBank(const char* name, const unsigned char* bytes, unsigned int size);

    // The built-in bank of that name, else "wii/" + name + ".KSB"; one bank per name while
    // anyone holds it.
    static kSharedPtr<kSpriteBank> GetSpriteBank(const char* name);
    // The disc path of a bank ("wii/" + name + ".KSB") into fileName; false for a name that
    // does not fit.
    static bool GetBankFileName(const char* name, char* fileName, int size);
    // A new sprite of the bank, the caller deletes it; the "wii_" + name variant when the
    // bank has one. Null, logged, when the bank has neither.
    static kSprite* GetSprite(const char* bank, const char* name);
    // A new font per request, its colour set with the automatic shadow on; the "wii_" variant
    // is preferred as for sprites, and the keyboard font answers as font "wii_keyboard" of
    // bank "keyboard" and as font "keyboard" of bank "wii_keyboard".
    static kSharedPtr<kFont> GetFont(const char* bank, const char* font);

    // Whether the bank holds a sprite of that name (ignoring case); logs nothing.
    static bool HasSprite(const kSpriteBank& bank, const char* name);
};

} // namespace Kelvo_lib
