// kSoundManager: the sound slots, the 24 channel records and their three-pass choice, and
// the master volume.
#include <framework/ksoundmanager.h>

#include <kelvo/audio/kaudio.h>
#include <kelvo/audio/ksound.h>
#include <kelvo/platform/klog.h>

#include <strings.h>

namespace Kelvo_lib {

namespace {

using SoundChannel = kSoundManager::SoundChannel;
using SoundFile = kSoundManager::SoundFile;

constexpr const char* kSystem = "kSoundManager";
constexpr int kListBytes = 20480;

kArray<SoundChannel, FixedMemArrayTrait<kListBytes>> s_channelList;
kArray<SoundFile, FixedMemArrayTrait<kListBytes>> s_soundList;
float s_masterVolume = 1.0f;

bool IsHighPriorityChannel(int channel) {
    return channel >= kSoundManager::K_FIRST_HIGH_PRIORITY_CHANNEL;
}

void ResetChannel(SoundChannel& channel) {
    channel.m_soundIndex = -1;
    channel.m_bHighPriority = IsHighPriorityChannel(channel.m_channelIdx);
}

void StopDeviceChannel(const SoundChannel& channel) {
    const kAudioChannel handle = kAudio::GetChannel(channel.m_channelIdx);
    if (!handle.IsAny()) {
        kAudio::ChannelStop(handle);
    }
}

bool IsLoaded(int index) {
    return index >= 0 && index < s_soundList.Size() && s_soundList(index).m_sound != nullptr;
}

// An id played several times holds several channels: each one is stopped and freed.
void StopChannelsHolding(int index) {
    for (int i = 0; i < s_channelList.Size(); ++i) {
        SoundChannel& channel = s_channelList(i);
        if (channel.m_soundIndex == index) {
            StopDeviceChannel(channel);
            ResetChannel(channel);
        }
    }
}

bool SharedWithAnotherId(const kSound* sound, int index) {
    for (int i = 0; i < s_soundList.Size(); ++i) {
        if (i != index && s_soundList(i).m_sound == sound) {
            return true;
        }
    }
    return false;
}

// The first free slot, else a new one at the end; -1 when the storage is full.
int FreeSlot() {
    for (int i = 0; i < s_soundList.Size(); ++i) {
        if (s_soundList(i).m_sound == nullptr) {
            return i;
        }
    }
    if (s_soundList.Size() == kSoundManager::MaxSounds()) {
        return -1;
    }
    return s_soundList.Add();
}

// The first loaded slot of that name, in any case; -1 for none.
int LoadedSlotNamed(const char* filename) {
    for (int i = 0; i < s_soundList.Size(); ++i) {
        const SoundFile& file = s_soundList(i);
        if (file.m_sound != nullptr && strcasecmp(file.m_filename, filename) == 0) {
            return i;
        }
    }
    return -1;
}

int FirstFreeChannel(bool bHighPriority) {
    for (int i = 0; i < s_channelList.Size(); ++i) {
        const SoundChannel& channel = s_channelList(i);
        if (channel.m_soundIndex == -1 && (bHighPriority || !channel.m_bHighPriority)) {
            return i;
        }
    }
    return -1;
}

// Resets every channel whose sound has finished, up to the first one the request may take.
int ReclaimFinishedChannel(bool bHighPriority) {
    for (int i = 0; i < s_channelList.Size(); ++i) {
        SoundChannel& channel = s_channelList(i);
        const kAudioChannel handle = kAudio::GetChannel(channel.m_channelIdx);
        if (handle.IsAny() || kAudio::ChannelIsPlaying(handle)) {
            continue;
        }
        kAudio::ChannelStop(handle);
        ResetChannel(channel);
        if (bHighPriority || !IsHighPriorityChannel(i)) {
            return i;
        }
    }
    return -1;
}

int StealOrdinaryChannel() {
    for (int i = 0; i < s_channelList.Size(); ++i) {
        SoundChannel& channel = s_channelList(i);
        if (!channel.m_bHighPriority) {
            StopDeviceChannel(channel);
            ResetChannel(channel);
            return i;
        }
    }
    return -1;
}

// Starts the id's sound on the claimed channel; false, logged, when the device refused it.
bool StartOnChannel(int index, int channel, float volume) {
    const SoundFile& file = s_soundList(index);
    const kAudioChannel requested = kAudio::GetChannel(channel);
    const kAudioChannel played = kAudio::Play(file.m_sound, requested, 0);
    if (played.IsAny()) {
        kLogSys(kSystem, "kSoundManager::Play Error - Invalid channel returned\n");
        return false;
    }
    if (played != requested) {
        kAudio::ChannelStop(played);
        kAudio::ChannelStop(requested);
        kLogSys(kSystem, "kSoundManager::Play Error - Channel mismatch\n");
        return false;
    }
    kAudio::ChannelSetVolume(played, volume);
    kAudio::ChannelSetPan(played, 0.0f);
    kAudio::ChannelSetFrequency(played, file.m_sound->Frequency());
    return true;
}

} // namespace

void kSoundManager::Init() {
    if (s_channelList.Size() != 0) {
        kLogSys(kSystem, "Init: Already initialised\n");
        return;
    }
    for (int i = 0; i < K_CHANNEL_COUNT; ++i) {
        SoundChannel& channel = s_channelList(s_channelList.Add());
        channel.m_channelIdx = i;
        ResetChannel(channel);
    }
}

void kSoundManager::DeInit() {
    for (int i = 0; i < s_soundList.Size(); ++i) {
        int index = i;
        Free(index);
    }
    s_soundList.Empty();
    s_channelList.Empty();
}

int kSoundManager::Load(kIOStreamSeekable* stream, const char* filename) {
    const int slot = FreeSlot();
    if (slot < 0) {
        kLogSys(kSystem, "kSoundManager::Load Error - All %d sound slots are taken\n", MaxSounds());
        return -1;
    }
    SoundFile& file = s_soundList(slot);
    const int named = filename != nullptr ? LoadedSlotNamed(filename) : -1;
    if (named >= 0) {
        file.m_sound = s_soundList(named).m_sound;
        file.m_filename = filename;
        return slot;
    }
    kSound* sound = stream != nullptr ? kSound::Import(stream, filename) : nullptr;
    if (sound == nullptr) {
        kLogSys(kSystem, "kSoundManager::Load Error - Could not load %s\n",
                filename != nullptr ? filename : "(no name)");
        return -1;
    }
    file.m_sound = sound;
    file.m_filename = filename;
    return slot;
}

void kSoundManager::Free(int& index) {
    if (!IsLoaded(index)) {
        return;
    }
    StopChannelsHolding(index); // the device no longer reads the sound once they are stopped
    SoundFile& file = s_soundList(index);
    if (!SharedWithAnotherId(file.m_sound, index)) {
        delete file.m_sound;
    }
    file = SoundFile{};
    index = -1;
}

bool kSoundManager::Play(int index, bool bHighPriority) {
    if (!IsLoaded(index)) {
        kLogSys(kSystem, "kSoundManager::Play Error - No sound with id %d\n", index);
        return false;
    }
    const float volume = s_masterVolume * s_soundList(index).m_volume;
    if (volume <= 0.0f) {
        return false;
    }
    int channel = -1;
    if (!AssignChannel(index, channel, bHighPriority)) {
        kLogSys(kSystem, "Couldn't assign channel for %d\n", index);
        return false;
    }
    if (!StartOnChannel(index, channel, volume)) {
        ResetChannel(s_channelList(channel));
        return false;
    }
    return true;
}

void kSoundManager::SetMasterVolume(float volume) {
    s_masterVolume = !(volume > 0.0f) ? 0.0f : (volume > 1.0f ? 1.0f : volume);
    // Every channel still holding a sound: an id played several times holds several.
    for (int i = 0; i < s_channelList.Size(); ++i) {
        const SoundChannel& channel = s_channelList(i);
        const kAudioChannel handle = IsLoaded(channel.m_soundIndex)
                                         ? kAudio::GetChannel(channel.m_channelIdx)
                                         : kAudioChannel();
        if (!handle.IsAny()) {
            kAudio::ChannelSetVolume(handle,
                                     s_masterVolume * s_soundList(channel.m_soundIndex).m_volume);
        }
    }
}

float kSoundManager::GetMasterVolume() {
    return s_masterVolume;
}

bool kSoundManager::AssignChannel(int index, int& channel, bool bHighPriority) {
    int found = FirstFreeChannel(bHighPriority);
    if (found < 0) {
        found = ReclaimFinishedChannel(bHighPriority);
    }
    if (found < 0 && bHighPriority) {
        found = StealOrdinaryChannel();
    }
    if (found < 0) {
        return false;
    }
    s_channelList(found).m_soundIndex = index;
    s_channelList(found).m_bHighPriority = bHighPriority;
    channel = found;
    return true;
}

int kSoundManager::MaxSounds() {
    return kListBytes / static_cast<int>(sizeof(SoundFile));
}

} // namespace Kelvo_lib
