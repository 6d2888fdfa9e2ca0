// MNSound: the game's sound table. Effects are played by eSoundEffect through the sound
// manager, music by eMusicCue on the music stream; everything is loaded once by Init and
// owned here until Deinit. A requested cue starts 0.15 s later, in Tick. An effect starts at
// most once a frame (from one Tick to the next): asked for again, it is not stacked on
// itself. Static service, main thread only: a missing or unreadable file is logged once and
// plays silence, and an unknown id or level is logged and ignored. The ids the enumeration
// leaves out (11 to 13, 19, 20, 22, 27 to 32 and 39) have no sound: nothing in the game
// plays them.
#pragma once

namespace Kelvo_lib {

enum eSoundEffect {
    SFX_BACK = 0,
    SFX_HIGHLIGHT = 1,
    SFX_PRESS = 2,
    SFX_CONFIRM = 3,
    SFX_ERASE = 4,
    SFX_HIGHLIGHT_DISABLED = 5,
    SFX_LIST_UP = 6,
    SFX_SPINNER = 7, // also a list moving down
    SFX_VOLUME = 8,
    SFX_RADIO_OFF = 9,
    SFX_RADIO_ON = 10,
    SFX_DOWN_LIST = 14,
    SFX_ACROSS_LIST = 15,
    SFX_RIGHT = 16,
    SFX_WRONG = 17,
    SFX_TILE_REMOVE = 18,
    SFX_ANSWER_OPEN = 21,
    SFX_SWEEP_TICK = 23,
    SFX_END_OF_LIST = 24, // a step past either end of a list of puzzles
    SFX_CELL_SELECT = 25,
    SFX_TILE_PLACE = 26,
    SFX_TURN_OVER = 33, // Head to Head: the turn passes, or an error
    SFX_TIME_UP = 34,
    SFX_LAST_SECONDS = 35,
    SFX_TARGET_EXPIRED = 36,
    SFX_TICK = 37,
    SFX_TOCK = 38,
    SFX_RESULT_BEST = 40,
    SFX_RESULT_GOOD = 41,
    SFX_RESULT_FAIR = 42,
    SFX_RESULT_POOR = 43,
    SFX_KEY_BACKSPACE = 44,
    SFX_KEY_LETTER = 45,
    SFX_COUNT = 46,
};

enum eMusicCue {
    MUSIC_TITLE = 0,
    MUSIC_INGAME1 = 1,
    MUSIC_INGAME2 = 2,
    MUSIC_INGAME3 = 3,
    MUSIC_COUNT = 4,
};

class MNSound {
public:
    // Seconds between PlayMusic and the cue starting.
    static constexpr float K_MUSIC_START_DELAY = 0.15f;

    // Starts the sound manager and the music stream, sets the volume levels (mnvolume.h) and
    // loads every effect "wii/audio/<name>.dsp" and cue "wii/audio/<name>.ogg".
    static void Init(int effectVolume, int musicVolume);
    static void Deinit();
    // Once per frame: starts a queued cue when its time comes, moves a fade on.
    static void Tick(float delta);

    static void PlaySoundEffect(int id);
    // The cue queued or playing (also silently, when its file is missing), -1 for none.
    static int GetMusicPlayingIdx();
    static void StopMusic();
    // Stops what plays and queues the cue to start K_MUSIC_START_DELAY later.
    static void PlayMusic(int cue);
    // The levels played (mnvolume.h), brought into range.
    static void SetSoundEffectVolume(int level);
    static void SetMusicVolume(int level);
    static int GetSoundEffectVolume();
    // The level the music plays at: its level, or below it while scaled.
    static int GetMusicVolume();
    // Plays the music at (int)(fraction x its level), fraction 0.0 to 1.0, leaving its level
    // as it is: the fades of a screen of the game's own; 1.0 plays the level again.
    static void ScaleMusic(float fraction);
    // The effect last asked for (whether or not its file loaded), -1 before the first.
    static int GetLastSoundEffect();
    // The next PlayRandomInGameMusic changes track even while an in-game cue plays.
    static void ForceRandomMusicChange();
    // Keeps an in-game cue playing: starts one at random when none plays (or on a forced
    // change, another than the one playing).
    static void PlayRandomInGameMusic();

    // Around the home-button menu: effects are pulled down and the music fades out; after
    // it the music comes back at its level, the cue that played starting again.
    static void FadeDownForHomeMenu();
    static void RestartAfterHomeMenu();

    // The table: file names under "wii/audio/", without extension; null outside it and for
    // an id without a sound.
    static const char* GetSoundEffectName(int id);
    static const char* GetMusicName(int cue);
};

} // namespace Kelvo_lib
