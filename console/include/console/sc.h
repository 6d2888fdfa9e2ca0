// System configuration: the console's settings as the game reads them. Fixed
// defaults (English, stereo, 4:3); tests and the host may change them.
#pragma once

#include <console/types.h>

enum : u8 {
    SC_LANG_JAPANESE = 0,
    SC_LANG_ENGLISH = 1,
    SC_LANG_GERMAN = 2,
    SC_LANG_FRENCH = 3,
    SC_LANG_SPANISH = 4,
    SC_LANG_ITALIAN = 5,
    SC_LANG_DUTCH = 6,
};

enum : u8 {
    SC_SOUND_MODE_MONO = 0,
    SC_SOUND_MODE_STEREO = 1,
    SC_SOUND_MODE_SURROUND = 2,
};

enum : u8 {
    SC_ASPECT_RATIO_4x3 = 0,
    SC_ASPECT_RATIO_16x9 = 1,
};

u8 SCGetLanguage();
u8 SCGetSoundMode();
u8 SCGetAspectRatio();

void SCSetLanguageForTest(u8 language);
void SCSetSoundModeForTest(u8 mode);
void SCSetAspectRatioForTest(u8 ratio);
