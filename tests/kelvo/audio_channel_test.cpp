// Sample channels of the voice device, heard through AI: channel choice and stealing,
// volume and pan levels, pause, one-shot ends, replays on a busy channel, samples freed as
// soon as they are taken off their channel, Terminate and the fade-down.
#include "audio_device_support.h"

namespace {

using namespace audio_device_test;
using Kelvo_lib::K_AUDIO_PLAY_LOOP;
using Kelvo_lib::K_AUDIO_PLAY_NEVER_STEAL;
using Kelvo_lib::K_AUDIO_PLAY_PAUSED;
using sound_test::LogRecorder;

class AudioChannelTest : public AudioDeviceTest {
protected:
    kAudioChannel PlayLooping(kAudioChannel channel = kAudioChannel(), unsigned int flags = 0) {
        return kAudio::Play(m_dc.get(), channel, flags | K_AUDIO_PLAY_LOOP);
    }

    const sound_test::SoundPtr m_dc = Dc(10000);
};

TEST_F(AudioChannelTest, AnyChannelIsTheFirstNotBusyOneAndAStoppedChannelIsNotBusy) {
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_EQ(PlayLooping(), kAudioChannel::Of(i, 1));
    }
    kAudio::ChannelStop(kAudio::GetChannel(1));
    EXPECT_EQ(PlayLooping(), kAudioChannel::Of(1, 2));
    EXPECT_EQ(PlayLooping(), kAudioChannel::Of(3, 1));
}

TEST_F(AudioChannelTest, AFullDeviceStealsTheOldestChannelUnlessTold) {
    for (unsigned int i = 0; i < 96; ++i) {
        ASSERT_EQ(PlayLooping(), kAudioChannel::Of(i, 1));
    }
    Run(3);
    // Channel 0 becomes the newest; channel 1 the oldest.
    ASSERT_EQ(PlayLooping(kAudio::GetChannel(0)), kAudioChannel::Of(0, 1));
    EXPECT_TRUE(PlayLooping(kAudioChannel(), K_AUDIO_PLAY_NEVER_STEAL).IsAny());
    const kAudioChannel stolen = PlayLooping();
    EXPECT_EQ(stolen, kAudioChannel::Of(1, 2));
    Run(3);
    EXPECT_TRUE(kAudio::ChannelIsPlaying(stolen));
    EXPECT_FALSE(kAudio::ChannelIsPlaying(kAudioChannel::Of(1, 1)));
}

TEST_F(AudioChannelTest, VolumeAndPanSetTheMixerLevels) {
    const struct {
        float volume, pan;
        double left, right; // the DC of 10,000 as heard
    } cases[] = {
        {1.0f, 0.0f, 7071, 7071}, {0.5f, 0.0f, 2236, 2236}, // -10 dB
        {0.25f, 0.0f, 707, 707},  {0.0f, 0.0f, 0, 0},       {1.7f, 0.0f, 7071, 7071},
        {1.0f, -1.0f, 10000, 0},  {1.0f, 1.0f, 0, 10000},   {0.5f, 1.5f, 0, 3162},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(testing::Message() << "volume " << entry.volume << " pan " << entry.pan);
        const kAudioChannel channel = PlayLooping();
        kAudio::ChannelSetVolume(channel, entry.volume);
        kAudio::ChannelSetPan(channel, entry.pan);
        const audio_test::Output output = Run(6);
        EXPECT_NEAR(Mean(output.left, 96), entry.left, 15.0 + entry.left * 0.01);
        EXPECT_NEAR(Mean(output.right, 96), entry.right, 15.0 + entry.right * 0.01);
        kAudio::ChannelStop(channel);
        Run(2);
    }
}

TEST_F(AudioChannelTest, PausedStartIsSilentUntilResumed) {
    const kAudioChannel channel = PlayLooping(kAudioChannel(), K_AUDIO_PLAY_PAUSED);
    EXPECT_TRUE(Silent(Run(10)));
    EXPECT_TRUE(kAudio::ChannelIsPlaying(channel)); // paused channels are busy
    channel.Resume();
    EXPECT_NEAR(Mean(Run(6).left, 96), 7071, 80);
}

// Flags 2, 32 and 64 mean nothing: the sample plays once, then the channel is free.
TEST_F(AudioChannelTest, OneShotSampleEndsAndFreesItsChannel) {
    const kAudioChannel channel = kAudio::Play(m_dc.get(), kAudio::GetChannel(3), 2 | 32 | 64);
    EXPECT_EQ(channel, kAudioChannel(3));
    EXPECT_NEAR(Mean(Run(4).left, 96), 7071, 80);
    EXPECT_TRUE(kAudio::ChannelIsPlaying(channel));
    Run(20); // 1,400 samples: 15 blocks
    EXPECT_FALSE(kAudio::ChannelIsPlaying(channel));
    EXPECT_TRUE(Silent(Run(4)));
}

// The old voice is released after the new one was linked: the new one stays stoppable.
TEST_F(AudioChannelTest, ReplayOnABusyChannelLeavesTheNewVoiceStoppable) {
    const sound_test::SoundPtr quiet = Dc(2000);
    const kAudioChannel first = PlayLooping();
    const kAudioChannel second = kAudio::Play(quiet.get(), first, K_AUDIO_PLAY_LOOP);
    EXPECT_EQ(second, first);
    EXPECT_NEAR(Mean(Run(6).left, 96), 1414, 30);
    EXPECT_TRUE(kAudio::ChannelIsPlaying(second));
    kAudio::ChannelStop(second);
    Run(2);
    EXPECT_FALSE(kAudio::ChannelIsPlaying(second));
    EXPECT_TRUE(Silent(Run(4)));
}

// Whatever takes a sample off its channel releases its voice before returning, so the
// sample may be deleted at once: the next frame mixed neither hears nor reads it (freed
// sound data is poisoned in the sanitizer build).
TEST_F(AudioChannelTest, SampleTakenOffItsChannelMayBeDeletedAtOnce) {
    const sound_test::SoundPtr silence = Dc(0);
    const struct {
        const char* how;
        std::function<void(kAudioChannel)> takeOff;
    } cases[] = {
        {"stop", [](kAudioChannel channel) { kAudio::ChannelStop(channel); }},
        {"new sound on the channel",
         [&silence](kAudioChannel channel) {
             EXPECT_EQ(kAudio::Play(silence.get(), channel, K_AUDIO_PLAY_LOOP), channel);
         }},
        {"terminate", [](kAudioChannel) { Kelvo_lib::kAudioWII::Terminate(); }},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.how);
        sound_test::SoundPtr sound = Dc(10000);
        const kAudioChannel channel = kAudio::Play(sound.get(), kAudioChannel(), K_AUDIO_PLAY_LOOP);
        EXPECT_NEAR(Mean(Run(4).left, 96), 7071, 80);
        entry.takeOff(channel);
        sound.reset();
        Run(1); // mixed before the sample was taken off
        EXPECT_TRUE(Silent(Run(4)));
    }
}

TEST_F(AudioChannelTest, RefusesSoundsItCannotPlayWithoutTakingAChannel) {
    LogRecorder log;
    const kAudioChannel playing = PlayLooping();
    EXPECT_TRUE(kAudio::Play(nullptr, playing, 0).IsAny());
    EXPECT_TRUE(log.Logged("Play: Invalid sound buffer"));
    const sound_test::SoundPtr pcm =
        sound_test::MakeSound(Kelvo_lib::K_SAMPLE_PCM_I16_1CH, 32000, sound_test::Bytes(200, 1));
    EXPECT_TRUE(kAudio::Play(pcm.get(), playing, 0).IsAny());
    EXPECT_TRUE(log.Logged("Play: Only mono DSP ADPCM samples"));
    EXPECT_TRUE(kAudio::ChannelIsPlaying(playing));
}

TEST_F(AudioChannelTest, TerminateStopsEveryChannelAndFadeDownLowersSamples) {
    const kAudioChannel sample = PlayLooping();
    GeneratedStream stream(Pcm16(2), 32000, Constant(4000, 4000));
    const kAudioChannel music = kAudio::PlayStream(&stream, kAudioChannel(), 4);
    Kelvo_lib::WiiFadeDown();
    // -55 dB leaves 13 of the sample's 7,071; the stream keeps its 4,000 on each side.
    EXPECT_NEAR(Mean(Run(6).left, 96), 4013, 5);
    Kelvo_lib::kAudioWII::Terminate();
    Run(2);
    EXPECT_FALSE(kAudio::ChannelIsPlaying(sample));
    EXPECT_FALSE(kAudio::ChannelIsPlaying(music));
    EXPECT_TRUE(Silent(Run(4)));
}

} // namespace
