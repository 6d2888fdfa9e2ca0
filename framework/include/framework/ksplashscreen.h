// kSplashScreen: the start-up sequence, pictures with fades and logo movies, one after the
// other, each for its time; a key press may cut some short (the caller calls
// AdvanceState(true)). A static service: the sequence owns its sprites and the movie
// playing; a movie that cannot be loaded is logged and passed over at the next frame.
// Main thread only.
#pragma once

#include <framework/ksprite.h>
#include <framework/kspritebank.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/movie/kmovie.h>

namespace Kelvo_lib {

class kSplashScreen {
public:
    enum State : int {
        K_SPLASH_NOT_STARTED = 0,
        K_SPLASH_FADE_IN = 1,
        K_SPLASH_FADE_OUT = 2,
        K_SPLASH_SHOWING = 3,
        K_SPLASH_MOVIE = 4,
        K_SPLASH_FINISHED = 5,
    };

    static void AddImage(kSharedPtr<kSpriteBank> spriteBank, const char* imageId, float time,
                         float fadeIn, float fadeOut, bool bAllowKeySkip);
    static void AddMovie(const char* filename, float time, bool bAllowKeySkip);
    static void Start();
    static void AdvanceState(bool skip);
    static void Tick(float delta);
    static void Render();
    static bool IsFinished();
    static bool IsAllowKeySkip();
    static void PauseMovie();
    static void ResumeMovie();
    static void Clear();

    // The sequence's position, for tests and the log.
    static int GetState();
    static int GetCurrentScreen();
    // The screen fade alpha the current fade state draws (0 outside fades).
    static int GetFadeAlpha();
};

} // namespace Kelvo_lib
