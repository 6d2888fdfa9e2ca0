// kSoundManager: short sound effects by id. It owns the loaded kSounds (ids loaded under one
// name, in any case, share one sound, deleted with the last of them) and 24 channel records
// mapped one to one onto the audio device's channels 0 to 23, of which 19 to 23 are kept for
// high-priority sounds; a high-priority sound may also steal a channel holding an ordinary
// one. Music plays on a channel of its own (kAudioStream), out of this range. Static service,
// main thread only: a failed Load answers -1 and a failed Play false, both logged; bad or
// free ids are ignored.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/io/kiostream.h>

namespace Kelvo_lib {

class kSound;

class kSoundManager {
public:
    static constexpr int K_CHANNEL_COUNT = 24;
    static constexpr int K_FIRST_HIGH_PRIORITY_CHANNEL = 19;

    // One record per device channel 0 to 23.
    struct SoundChannel {
        int m_channelIdx;     // the device channel, equal to the record's index
        int m_soundIndex;     // the sound id it was last given, -1 when free
        bool m_bHighPriority; // channels 19 to 23 when free; else how its sound was played
    };

    // One slot per sound id; free while m_sound is null.
    struct SoundFile {
        kSound* m_sound = nullptr;
        float m_volume = 1.0f; // its own level, under the master volume
        kString m_filename;
    };

    // Creates the 24 channel records; once until DeInit.
    static void Init();
    // Frees every id still loaded and empties both lists.
    static void DeInit();

    // The sound id, or -1 when the stream is null, the import fails or every slot is taken.
    // A name already loaded shares that sound without reading the stream.
    static int Load(kIOStreamSeekable* stream, const char* filename);
    // Stops every channel still given the id, releases the id (its sound is deleted unless
    // another id shares it) and sets it to -1.
    static void Free(int& index);
    // True when the sound started at the master volume, centred, at its own rate.
    static bool Play(int index, bool bHighPriority);
    // Clamped to 0.0 to 1.0; applies to every sound still playing.
    static void SetMasterVolume(float volume);
    static float GetMasterVolume();

    // Chooses and claims a channel for the id: a free one, else one whose sound finished,
    // else (high priority only) the first one holding an ordinary sound.
    static bool AssignChannel(int index, int& channel, bool bHighPriority);

    // How many sound slots the inline storage holds.
    static int MaxSounds();
};

template <>
struct kIsBitwiseMovable<kSoundManager::SoundFile> : std::true_type {};

} // namespace Kelvo_lib
