// The sound manager over the voice device: playing at the master volume, the channel
// choice (ordinary sounds on 0 to 18, high priority also on 19 to 23 and stealing), finished
// channels coming back, freeing sounds that still play, ids sharing a name, bad ids, the slot
// limit, and effects beside the music stream, which keeps its own channel.
#include "../kelvo/audio_device_support.h"
#include "../kelvo/ogg_test_support.h"

#include <framework/ksoundmanager.h>

#include <kelvo/audio/kaudiostream.h>
#include <kelvo/audio/koggstream.h>
#include <kelvo/io/kmemoryiostream.h>

#include <limits>

namespace {

using namespace audio_device_test;
using Kelvo_lib::kMemoryIOStream;
using Kelvo_lib::kSoundManager;
using sound_test::Bytes;
using sound_test::LogRecorder;

constexpr int kOrdinaryChannels = kSoundManager::K_FIRST_HIGH_PRIORITY_CHANNEL;

// A DSP file of `count` samples of one value, looping or played once.
Bytes DspFile(short value, unsigned int rate, unsigned int count = 1400, bool loop = true) {
    const std::vector<short> samples(count, value);
    const sound_test::SoundPtr sound(
        Kelvo_lib::kSound_DSPEncode(samples.data(), count, rate, loop, 0));
    return sound_test::Write(Kelvo_lib::kSound_DSPWrite, *sound);
}

int Load(Bytes file, const char* name) {
    kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_READ);
    return kSoundManager::Load(&stream, name);
}

class SoundManagerTest : public AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        kSoundManager::Init();
        kSoundManager::SetMasterVolume(1.0f);
    }
    void TearDown() override {
        Kelvo_lib::kAudioStream::Deinit();
        kSoundManager::DeInit();
        kSoundManager::SetMasterVolume(1.0f); // as the program starts with
        AudioDeviceTest::TearDown();
    }

    const Channel& DeviceChannel(int index) const { return m_device->ChannelAt(index); }
    static bool Busy(int index) { return kAudio::ChannelIsPlaying(kAudio::GetChannel(index)); }

    // Plays the id on `count` channels; true when every play started.
    static bool PlayTimes(int id, int count, bool bHighPriority) {
        bool started = true;
        for (int i = 0; i < count; ++i) {
            started = kSoundManager::Play(id, bHighPriority) && started;
        }
        return started;
    }

    LogRecorder m_log;
};

TEST_F(SoundManagerTest, PlaysAtTheMasterVolumeCentredAtItsOwnRate) {
    const int id = Load(DspFile(1000, 22050), "tone.dsp");
    ASSERT_EQ(id, 0);
    kSoundManager::SetMasterVolume(0.5f);
    ASSERT_TRUE(kSoundManager::Play(id, false));
    EXPECT_TRUE(Busy(0));
    EXPECT_FLOAT_EQ(DeviceChannel(0).m_volume, 0.5f);
    EXPECT_FLOAT_EQ(DeviceChannel(0).m_pan, 0.0f);
    EXPECT_EQ(DeviceChannel(0).m_freq, 22050u);

    const struct {
        float set, stored;
    } volumes[] = {{0.25f, 0.25f},
                   {1.5f, 1.0f},
                   {-1.0f, 0.0f},
                   {std::numeric_limits<float>::quiet_NaN(), 0.0f}};
    for (const auto& entry : volumes) {
        SCOPED_TRACE(entry.set);
        kSoundManager::SetMasterVolume(entry.set);
        EXPECT_EQ(kSoundManager::GetMasterVolume(), entry.stored);
        EXPECT_FLOAT_EQ(DeviceChannel(0).m_volume, entry.stored) << "applied while it plays";
    }
    EXPECT_FALSE(kSoundManager::Play(id, true)) << "silent";
    EXPECT_FALSE(Busy(1));
}

TEST_F(SoundManagerTest, MasterVolumeReachesEveryChannelPlayingAnId) {
    const int id = Load(DspFile(1000, 32000), "tone.dsp");
    ASSERT_TRUE(PlayTimes(id, 3, false));
    kSoundManager::SetMasterVolume(0.25f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(DeviceChannel(i).m_volume, 0.25f) << i;
    }
}

TEST_F(SoundManagerTest, OrdinarySoundsKeepOffTheHighPriorityChannels) {
    const int id = Load(DspFile(100, 32000), "tone.dsp");
    ASSERT_TRUE(PlayTimes(id, kOrdinaryChannels, false));
    for (int i = 0; i < kSoundManager::K_CHANNEL_COUNT; ++i) {
        EXPECT_EQ(Busy(i), i < kOrdinaryChannels) << i;
    }
    EXPECT_FALSE(kSoundManager::Play(id, false));
    EXPECT_TRUE(m_log.Logged("Couldn't assign channel for 0"));
    EXPECT_TRUE(kSoundManager::Play(id, true));
    EXPECT_TRUE(Busy(kOrdinaryChannels));
}

// With all 24 channels busy a high-priority sound takes the first channel holding an
// ordinary one, which then counts as high priority itself.
TEST_F(SoundManagerTest, HighPriorityStealsTheFirstOrdinaryChannel) {
    const int ordinary = Load(DspFile(100, 32000), "ordinary.dsp");
    const int urgent = Load(DspFile(100, 16000), "urgent.dsp");
    ASSERT_TRUE(PlayTimes(ordinary, kOrdinaryChannels, false));
    ASSERT_TRUE(PlayTimes(ordinary, kSoundManager::K_CHANNEL_COUNT - kOrdinaryChannels, true));
    ASSERT_TRUE(PlayTimes(urgent, 2, true));
    for (int i = 0; i < kSoundManager::K_CHANNEL_COUNT; ++i) {
        EXPECT_TRUE(Busy(i)) << i;
        EXPECT_EQ(DeviceChannel(i).m_sampleFreq, i < 2 ? 16000u : 32000u) << i;
    }
    EXPECT_FALSE(kSoundManager::Play(ordinary, false)) << "nothing ordinary to take";
}

TEST_F(SoundManagerTest, FinishedSoundsGiveTheirChannelsBack) {
    const int blip = Load(DspFile(100, 32000, 320, false), "blip.dsp");
    ASSERT_TRUE(PlayTimes(blip, kSoundManager::K_CHANNEL_COUNT, true));
    Run(10);
    EXPECT_TRUE(kSoundManager::Play(blip, false));
    EXPECT_TRUE(Busy(0));
    for (int i = 1; i < kSoundManager::K_CHANNEL_COUNT; ++i) {
        EXPECT_FALSE(Busy(i)) << i;
    }
    EXPECT_TRUE(PlayTimes(blip, kOrdinaryChannels - 1, false)) << "channels 1 to 18 again";
}

// An id playing on several channels: Free stops every one of them before it deletes the
// sound, so no later frame reads the freed data (poisoned in the sanitizer build), and the
// channels are free for the next sounds.
TEST_F(SoundManagerTest, FreeingAPlayingSoundStopsEveryChannelPlayingIt) {
    int tone = Load(DspFile(1000, 32000), "tone.dsp");
    const int other = Load(DspFile(1000, 16000), "other.dsp");
    ASSERT_TRUE(PlayTimes(tone, 3, false));
    EXPECT_FALSE(Silent(Run(4)));
    kSoundManager::Free(tone);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Busy(i)) << i;
    }
    Run(1); // mixed before the Free
    EXPECT_TRUE(Silent(Run(4)));
    ASSERT_TRUE(kSoundManager::Play(other, false));
    EXPECT_EQ(DeviceChannel(0).m_sampleFreq, 16000u) << "channel 0 was given back";
}

// Two ids of one name (in any case) share the sound: the second load reads nothing, and the
// sound lives until the last of them is freed.
TEST_F(SoundManagerTest, IdsSharingANameKeepTheSoundUntilTheLastIsFreed) {
    kLog->Unhook(&m_log); // its lines would count as allocations
    Bytes unread(64, 0x55);
    kMemoryIOStream second(unread.data(), static_cast<unsigned int>(unread.size()),
                           K_IO_ACCESS_READ);
    const s32 before = BytesAllocated();
    const int first = Load(DspFile(100, 32000), "Beep.dsp");
    int shared = kSoundManager::Load(&second, "BEEP.DSP");
    ASSERT_GE(first, 0);
    ASSERT_NE(shared, first);
    EXPECT_EQ(second.Tell(), 0);

    int freed = first;
    kSoundManager::Free(freed);
    EXPECT_EQ(freed, -1);
    EXPECT_TRUE(kSoundManager::Play(shared, false)) << "the sound is still there";
    kSoundManager::Free(shared);
    EXPECT_EQ(BytesAllocated(), before) << "deleted once, with the last id";
}

// Without a sound of that name loaded, a later load of it must read its stream.
TEST_F(SoundManagerTest, FreedIdNeverLendsItsNameToALaterLoad) {
    int id = Load(DspFile(100, 32000), "gone.dsp");
    kSoundManager::Free(id);
    EXPECT_EQ(kSoundManager::Load(nullptr, "gone.dsp"), -1);
    const int again = Load(DspFile(100, 32000), "gone.dsp");
    EXPECT_TRUE(kSoundManager::Play(again, false));
}

TEST_F(SoundManagerTest, BadAndFreeIdsChangeNothing) {
    int id = Load(DspFile(100, 32000), "tone.dsp");
    const int freedCopy = id;
    kSoundManager::Free(id);
    for (const int bad : {-1, freedCopy, 1, 5000}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(kSoundManager::Play(bad, true));
        int kept = bad;
        kSoundManager::Free(kept);
        EXPECT_EQ(kept, bad);
    }
    for (int i = 0; i < kSoundManager::K_CHANNEL_COUNT; ++i) {
        EXPECT_FALSE(Busy(i)) << i;
    }
}

TEST_F(SoundManagerTest, FailedLoadsLeaveTheirSlotFree) {
    Bytes garbage(200, 0x11);
    EXPECT_EQ(kSoundManager::Load(nullptr, "a.dsp"), -1);
    EXPECT_EQ(Load(garbage, "b.dsp"), -1);
    EXPECT_EQ(Load(DspFile(100, 32000), "c.unknown"), -1);
    EXPECT_TRUE(m_log.Logged("Could not load c.unknown"));
    EXPECT_EQ(Load(DspFile(100, 32000), "d.dsp"), 0);
}

TEST_F(SoundManagerTest, LoadBeyondTheSlotStorageIsRefused) {
    std::vector<int> ids = {Load(DspFile(100, 32000), "tone.dsp")};
    while (static_cast<int>(ids.size()) < kSoundManager::MaxSounds()) {
        ids.push_back(kSoundManager::Load(nullptr, "tone.dsp"));
        ASSERT_EQ(ids.back(), static_cast<int>(ids.size()) - 1);
    }
    EXPECT_EQ(kSoundManager::Load(nullptr, "tone.dsp"), -1);
    EXPECT_TRUE(m_log.Logged("sound slots are taken"));
    int freed = ids[7];
    kSoundManager::Free(freed);
    EXPECT_EQ(kSoundManager::Load(nullptr, "tone.dsp"), 7);
}

// Music plays on its own channel: every effect channel stays the sound manager's, and the
// high-priority steal takes an effect, never the music.
TEST_F(SoundManagerTest, EffectsAndMusicKeepTheirOwnChannels) {
    ogg_test::DiscDirectory disc;
    disc.Write("music.ogg",
               ogg_codec::Encode(ogg_codec::Tones(16000, 32000, {1000, 2000}, 8000), 2, 32000));
    Kelvo_lib::kOGGStream music("music.ogg", false);
    Kelvo_lib::kAudioStream::Init();
    ASSERT_TRUE(Kelvo_lib::kAudioStream::LoadStream(&music, true));
    Kelvo_lib::kAudioStream::Play();
    const kAudioChannel musicChannel = kAudio::GetChannel(Kelvo_lib::kAudioStream::K_MUSIC_CHANNEL);

    const int effect = Load(DspFile(100, 32000, 32000), "effect.dsp");
    EXPECT_TRUE(PlayTimes(effect, kOrdinaryChannels, false));
    EXPECT_TRUE(PlayTimes(effect, kSoundManager::K_CHANNEL_COUNT - kOrdinaryChannels + 3, true));
    Run(20);
    EXPECT_TRUE(kAudio::ChannelIsPlaying(musicChannel));
    EXPECT_FALSE(m_log.Logged("reused"));
    for (int i = 0; i < kSoundManager::K_CHANNEL_COUNT; ++i) {
        EXPECT_TRUE(Busy(i)) << i;
    }
    EXPECT_TRUE(Kelvo_lib::kAudioStream::Tick());
}

} // namespace
