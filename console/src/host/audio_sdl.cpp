// The window host's sound: an SDL audio device whose callback, on SDL's audio thread,
// plays whole DMA blocks through AI (which runs the DMA callback in interrupt context).
// Headless hosts open no device: the retrace's pump plays the blocks.
#include <console/ai.h>
#include <console/host.h>
#include <console/os.h>

#include "host/audio_host.h"
#include "host/sdl_library.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {

constexpr int kBlocksPerPull = 8; // 24 ms

SDL_AudioDeviceID s_device = 0;
// Set once the device is asked for.
const SdlLibrary* s_sdl = nullptr;

void PullBlocks(void*, Uint8* stream, int length) {
    s16* frames = reinterpret_cast<s16*>(stream);
    const u32 frameCount = static_cast<u32>(length) / 4;
    AIPlayFrames(frames, frameCount);
    HostAudioCapture(frames, frameCount);
}

void Stop() {
    if (s_device != 0) {
        s_sdl->CloseAudioDevice(s_device);
        s_device = 0;
    }
    s_sdl->QuitSubSystem(SDL_INIT_AUDIO);
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
    OSReport("host: no sound (%s); the game runs without sound\n", s_sdl->GetError());
}

} // namespace

bool HostAudioDeviceOpen() {
    return s_device != 0;
}

void HostAudioStart() {
    if (HostGetOptions().kind != HostKind::Window || s_device != 0) {
        return;
    }
    s_sdl = HostSdl();
    if (s_sdl == nullptr) {
        OSReport("host: no sound (SDL cannot be loaded); the game runs without sound\n");
        return;
    }
    if (WithLibraryMessagesHeld([] { return s_sdl->InitSubSystem(SDL_INIT_AUDIO); }) != 0) {
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
        [&] { return s_sdl->OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0); });
    if (s_device == 0) {
        ReportNoSound();
        s_sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    std::atexit(Stop);
    s_sdl->PauseAudioDevice(s_device, 0);
}
