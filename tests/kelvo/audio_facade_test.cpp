// kAudio: one device created once, handles with reuse counts, stale and bad handles
// refused by every channel operation, and safe answers without a device.
#include "audio_device_support.h"

#include <functional>
#include <string>

namespace {

using namespace audio_device_test;
using Kelvo_lib::K_AUDIO_PLAY_LOOP;
using sound_test::LogRecorder;

TEST(AudioFacadeTest, InitTwiceAndDeinitWithoutInitOnlyLog) {
    LogRecorder log;
    kAudio::Init();
    kAudio::Init();
    EXPECT_TRUE(log.Logged("Init: Already initialised"));
    kAudio::Deinit();
    kAudio::Deinit();
    EXPECT_TRUE(log.Logged("Deinit: Not initialised"));
}

TEST(AudioFacadeTest, WithoutADeviceEveryCallAnswersSafely) {
    const sound_test::SoundPtr sound = Dc(1000);
    GeneratedStream stream(Pcm16(2), 32000, Constant(1, 1));
    EXPECT_TRUE(kAudio::GetChannel(0).IsAny());
    EXPECT_TRUE(kAudio::Play(sound.get(), kAudioChannel(), 0).IsAny());
    EXPECT_TRUE(kAudio::PlayStream(&stream, kAudioChannel(), 0).IsAny());
    EXPECT_FALSE(kAudio::ChannelIsPlaying(kAudioChannel(0)));
    kAudioChannel(0).Stop();
    kAudioChannel(0).Resume();
    kAudioChannel(0).SetVolume(0.5f);
    kAudio::Update();
    Kelvo_lib::kAudioWII::Terminate();
    Kelvo_lib::WiiFadeDown();
}

// Beyond its buffer nothing is written (the sanitizer build checks); the line is cut.
TEST(AudioFacadeTest, LogDebugCutsLongTextsToItsBuffer) {
    LogRecorder log;
    const std::string longText(3000, 'x');
    Kelvo_lib::kAudioWII_Private::LogDebug("Long", "%s", longText.c_str());
    Kelvo_lib::kAudioWII_Private::LogDebug("Null", nullptr);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].substr(0, 7), "Long: x");
    EXPECT_LE(log.lines[0].size(), 1023u);
}

class AudioHandleTest : public AudioDeviceTest {};

// The fixture created the device with id 0.
TEST_F(AudioHandleTest, DeviceIsCreatedOnceForIdZeroOrMinusOne) {
    LogRecorder log;
    EXPECT_EQ(kAudio::DeviceCreate(1, 0, nullptr), nullptr);
    EXPECT_EQ(kAudio::DeviceCreate(-1, 0, nullptr), nullptr);
    EXPECT_TRUE(log.Logged("WII Device already created!"));
    EXPECT_EQ(m_device->ChannelCount(), 96);
    kAudio::Deinit();
    EXPECT_TRUE(kAudio::GetChannel(0).IsAny());
    kAudio::Init();
    EXPECT_NE(kAudio::DeviceCreate(-1, 0, nullptr), nullptr);
}

TEST_F(AudioHandleTest, GetChannelNamesAChannelWithItsReuseCount) {
    LogRecorder log;
    EXPECT_EQ(kAudio::GetChannel(5), kAudioChannel(5));
    EXPECT_TRUE(kAudio::GetChannel(96).IsAny());
    EXPECT_TRUE(kAudio::GetChannel(-1).IsAny());
    EXPECT_TRUE(log.Logged("GetChannel: Internal channel index error"));
    const sound_test::SoundPtr sound = Dc(1000);
    const kAudioChannel handle = kAudio::Play(sound.get(), kAudioChannel(), 0);
    EXPECT_EQ(handle, kAudioChannel((1u << 12) + 0));
    EXPECT_EQ(kAudio::GetChannel(0), handle);
}

// Each channel operation names itself when it refuses a handle.
TEST_F(AudioHandleTest, EveryChannelOperationRefusesStaleAndBadHandles) {
    const sound_test::SoundPtr sound = Dc(1000);
    const kAudioChannel stale = kAudio::GetChannel(0);
    const kAudioChannel current = kAudio::Play(sound.get(), kAudioChannel(), K_AUDIO_PLAY_LOOP);
    ASSERT_EQ(current.Index(), 0u);
    Run(4);
    const struct {
        const char* name;
        std::function<void(kAudioChannel)> operation;
    } operations[] = {
        {"ChannelStop", kAudio::ChannelStop},
        {"ChannelResume", kAudio::ChannelResume},
        {"ChannelIsPlaying", [](kAudioChannel h) { EXPECT_FALSE(kAudio::ChannelIsPlaying(h)); }},
        {"ChannelSetVolume", [](kAudioChannel h) { kAudio::ChannelSetVolume(h, 0.0f); }},
        {"ChannelSetPan", [](kAudioChannel h) { kAudio::ChannelSetPan(h, 1.0f); }},
        {"ChannelSetFrequency", [](kAudioChannel h) { kAudio::ChannelSetFrequency(h, 8000); }},
    };
    for (const auto& entry : operations) {
        SCOPED_TRACE(entry.name);
        LogRecorder log;
        entry.operation(stale);
        entry.operation(kAudioChannel());
        entry.operation(kAudioChannel::Of(200, 0));
        const std::string name = entry.name;
        EXPECT_TRUE(log.Logged(name + ": Channel has been reused"));
        EXPECT_TRUE(log.Logged(name + ": Invalid channel specified"));
        EXPECT_TRUE(log.Logged(name + ": Internal channel index error"));
    }
    // Nothing reached the channel: it still plays at full level.
    EXPECT_TRUE(kAudio::ChannelIsPlaying(current));
    EXPECT_NEAR(Mean(Run(4).left, 96), 707.0, 15.0);
    LogRecorder log;
    EXPECT_TRUE(kAudio::Play(sound.get(), stale, 0).IsAny());
    EXPECT_TRUE(log.Logged("Play: Channel has been reused"));
    EXPECT_TRUE(kAudio::Play(sound.get(), kAudioChannel::Of(96, 0), 0).IsAny());
    EXPECT_TRUE(log.Logged("Play: Invalid channel specified"));
}

} // namespace
