// The window host's sound: an SDL audio device whose callback, on SDL's audio thread,
// plays whole DMA blocks through AI (which runs the DMA callback in interrupt context).
// Headless hosts open no device: the retrace's pump plays the blocks.
#include <console/ai.h>
#include <console/host.h>
#include <console/os.h>

#include "host/audio_host.h"

#include <SDL.h>

#include <cstdlib>

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

} // namespace

bool HostAudioDeviceOpen() {
    return s_device != 0;
}

void HostAudioStart() {
    if (HostGetOptions().kind != HostKind::Window || s_device != 0) {
        return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        OSReport("host: no sound: %s\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(AI_SAMPLE_RATE);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = static_cast<Uint16>(AI_FRAME_SAMPLES * kBlocksPerPull);
    wanted.callback = PullBlocks;
    SDL_AudioSpec obtained{};
    s_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (s_device == 0) {
        OSReport("host: no sound: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    std::atexit(Stop);
    SDL_PauseAudioDevice(s_device, 0);
}
