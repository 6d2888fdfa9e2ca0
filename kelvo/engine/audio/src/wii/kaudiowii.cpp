// kAudio over the voice device: the one device, the driver and output descriptions, the
// operations forwarded to the device, Terminate, WiiFadeDown and LogDebug.
#include "kaudiowii-ax.h"
#include <kelvo/audio/kaudio.h>
#include <kelvo/platform/klog.h>

#include <cstdarg>
#include <cstdio>

namespace Kelvo_lib {

namespace kAudioWII_Private {

namespace {
WIIDevice* s_wiiDevice = nullptr;
} // namespace

void LogDebug(const char* func, const char* format, ...) {
    if (format == nullptr) {
        return;
    }
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    kLogSys("AUDIO", "%s: %s\n", func != nullptr ? func : "", text);
}

} // namespace kAudioWII_Private

namespace {

using kAudioWII_Private::LogDebug;
using kAudioWII_Private::s_wiiDevice;
using kAudioWII_Private::WIIDevice;

constexpr const char* kSystem = "AUDIO";

struct kAudioDriverDescCommon {
    const char* name;
};
struct kAudioDriverDesc : kAudioDriverDescCommon {};
struct kAudioOutputDescCommon {
    const char* name;
};
struct kAudioOutputDesc : kAudioOutputDescCommon {};

constexpr kAudioDriverDesc kWiiDriver{{"WII"}};
constexpr kAudioOutputDesc kWiiOutput{{"WII"}};

bool s_bInitialised = false;
const kAudioDriverDesc* s_driverList = nullptr;
const kAudioOutputDesc* s_outputList = nullptr;

} // namespace

void kAudio::Init() {
    if (s_bInitialised) {
        LogDebug("Init", "Already initialised");
        return;
    }
    s_bInitialised = true;
    kLogSys(kSystem, "Initialising audio\n");
    s_driverList = &kWiiDriver;
    s_outputList = &kWiiOutput;
    kLogSys(kSystem, "Driver: %s\n", s_driverList->name);
    kLogSys(kSystem, "  %d: %s\n", 0, s_outputList->name);
    kLogSys(kSystem, "Audio inited\n");
}

void kAudio::Deinit() {
    if (!s_bInitialised) {
        LogDebug("Deinit", "Not initialised");
        return;
    }
    s_bInitialised = false;
    kLogSys(kSystem, "Deinitialising audio\n");
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->Deinit();
        delete s_wiiDevice;
        s_wiiDevice = nullptr;
    }
}

WIIDevice* kAudio::DeviceCreate(int deviceId, int, void*) {
    if (deviceId != 0 && deviceId != -1) {
        return nullptr;
    }
    if (s_wiiDevice != nullptr) {
        kLogSys(kSystem, "WII Device already created!\n");
        return nullptr;
    }
    s_wiiDevice = new WIIDevice();
    s_wiiDevice->Init();
    return s_wiiDevice;
}

void kAudio::Update() {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->Update();
    }
}

kAudioChannel kAudio::GetChannel(int index) {
    return s_wiiDevice != nullptr ? s_wiiDevice->GetChannel(index) : kAudioChannel();
}

kAudioChannel kAudio::Play(kSound* buffer, kAudioChannel channel, unsigned int flags) {
    return s_wiiDevice != nullptr ? s_wiiDevice->Play(buffer, channel, flags) : kAudioChannel();
}

kAudioChannel kAudio::PlayStream(kSoundStream* stream, kAudioChannel channel, unsigned int flags) {
    return s_wiiDevice != nullptr ? s_wiiDevice->PlayStream(stream, channel, flags)
                                  : kAudioChannel();
}

void kAudio::ChannelStop(kAudioChannel channel) {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->ChannelStop(channel);
    }
}

void kAudio::ChannelResume(kAudioChannel channel) {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->ChannelResume(channel);
    }
}

bool kAudio::ChannelIsPlaying(kAudioChannel channel) {
    return s_wiiDevice != nullptr && s_wiiDevice->ChannelIsPlaying(channel);
}

void kAudio::ChannelSetVolume(kAudioChannel channel, float volume) {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->ChannelSetVolume(channel, volume);
    }
}

void kAudio::ChannelSetPan(kAudioChannel channel, float pan) {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->ChannelSetPan(channel, pan);
    }
}

void kAudio::ChannelSetFrequency(kAudioChannel channel, unsigned int hz) {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->ChannelSetFrequency(channel, hz);
    }
}

void kAudioWII::Terminate() {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->Terminate();
    }
}

void WiiFadeDown() {
    if (s_wiiDevice != nullptr) {
        s_wiiDevice->FadeDownSamples();
    }
}

} // namespace Kelvo_lib
