// MNDiscFiles: the disc files the game cannot be played without, in the order it first reads
// them: the sprite banks it draws from the disc (fonts, pointer, start-up and title pictures,
// the menus' and puzzle screens' art), the UK English texts and puzzle bank. The entry point
// hands them to the console before it reads the disc, so that a folder holding only part of
// the disc is refused at once; a sound, music cue, movie or save picture that is missing is
// left to the game, which goes on without it. Static; main thread only.
#pragma once

namespace Kelvo_lib {

class MNDiscFiles {
public:
    static int GetCount();
    // The disc path of the file, null outside 0 to GetCount() - 1.
    static const char* GetPath(int index);
    // The first file the disc lacks, null when it holds them all; the program itself ends
    // there (console/dvd.h, DVDHostCheckFiles).
    static const char* Check();
};

} // namespace Kelvo_lib
