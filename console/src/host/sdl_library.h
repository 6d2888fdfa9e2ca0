// The SDL library, opened on the first call that needs it, so that a headless run never
// loads it nor the display, sound and input libraries it brings. One table of the SDL calls
// the window and sound hosts make, typed by SDL's own header. The first caller, on any
// thread, opens it; the table is null, after the reason is reported, when the library or
// one of its calls cannot be found.
#pragma once

#include <SDL.h>

#define HOST_SDL_CALLS(CALL)                                                                       \
    CALL(Init)                                                                                     \
    CALL(InitSubSystem)                                                                            \
    CALL(QuitSubSystem)                                                                            \
    CALL(WasInit)                                                                                  \
    CALL(Quit)                                                                                     \
    CALL(GetError)                                                                                 \
    CALL(SetHint)                                                                                  \
    CALL(GetCurrentVideoDriver)                                                                    \
    CALL(CreateWindow)                                                                             \
    CALL(DestroyWindow)                                                                            \
    CALL(SetWindowSize)                                                                            \
    CALL(CreateRenderer)                                                                           \
    CALL(DestroyRenderer)                                                                          \
    CALL(SetRenderDrawColor)                                                                       \
    CALL(RenderSetLogicalSize)                                                                     \
    CALL(RenderClear)                                                                              \
    CALL(RenderCopy)                                                                               \
    CALL(RenderPresent)                                                                            \
    CALL(CreateTexture)                                                                            \
    CALL(DestroyTexture)                                                                           \
    CALL(LockTexture)                                                                              \
    CALL(UnlockTexture)                                                                            \
    CALL(PollEvent)                                                                                \
    CALL(OpenAudioDevice)                                                                          \
    CALL(PauseAudioDevice)                                                                         \
    CALL(CloseAudioDevice)

// Each member is the SDL call of its name without the SDL_ prefix.
struct SdlLibrary {
#define HOST_SDL_MEMBER(name) decltype(&SDL_##name) name;
    HOST_SDL_CALLS(HOST_SDL_MEMBER)
#undef HOST_SDL_MEMBER
};

const SdlLibrary* HostSdl();
