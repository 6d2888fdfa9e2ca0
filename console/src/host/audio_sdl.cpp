// The window host's sound: an SDL audio device whose callback, on SDL's audio thread,
// plays whole DMA blocks through AI (which runs the DMA callback in interrupt context).
// Headless hosts open no device: the retrace's pump plays the blocks.
#include <console/ai.h>
#include <console/host.h>
#include <console/os.h>

#include "host/audio_host.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {

constexpr int kBlocksPerPull = 8; // 24 ms

SDL_AudioDeviceID s_device = 0;

void PullBlocks(void*, Uint8* stream, int length) {
    s16* frames = reinterpret_cast<s16*>(stream);
    const u32 frameCount = static_cast<u32>(length) / 4;
    AIPlayFrames(frames, frameCount);
    HostAudioCapture(frames, frameCount);
}

void Stop() {
    if (s_device != 0) {
        SDL_CloseAudioDevice(s_device);
        s_device = 0;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Runs the step with the standard error stream sent nowhere: the sound libraries under SDL
// print lines of their own when no sound card answers, where one line of ours says it.
template <typename Step>
auto WithLibraryMessagesHeld(Step step) {
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY);
    if (saved >= 0 && nowhere >= 0) {
        dup2(nowhere, STDERR_FILENO);
    }
    const auto result = step();
    std::fflush(stderr);
    if (saved >= 0 && nowhere >= 0) {
        dup2(saved, STDERR_FILENO);
    }
    for (const int fd : {saved, nowhere}) {
        if (fd >= 0) {
            close(fd);
        }
    }
    return result;
}

void ReportNoSound() {
    OSReport("host: no sound (%s); the game runs without sound\n", SDL_GetError());
}

} // namespace

bool HostAudioDeviceOpen() {
    return s_device != 0;
}

void HostAudioStart() {
    if (HostGetOptions().kind != HostKind::Window || s_device != 0) {
        return;
    }
    if (WithLibraryMessagesHeld([] { return SDL_InitSubSystem(SDL_INIT_AUDIO); }) != 0) {
        ReportNoSound();
        return;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(AI_SAMPLE_RATE);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = static_cast<Uint16>(AI_FRAME_SAMPLES * kBlocksPerPull);
    wanted.callback = PullBlocks;
    SDL_AudioSpec obtained{};
    s_device = WithLibraryMessagesHeld(
        [&] { return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0); });
    if (s_device == 0) {
        ReportNoSound();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    std::atexit(Stop);
    SDL_PauseAudioDevice(s_device, 0);
}
