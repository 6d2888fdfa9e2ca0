// The music controller over the voice device: calls before Init, a load that starts paused
// on the music channel (never one of the effects' channels 0 to 23), reloads on the same
// channel, prebuffering once, volume, stop and reset, and streams it or the device refuses.
#include "audio_device_support.h"
#include "ogg_test_support.h"

#include <kelvo/audio/kaudiostream.h>
#include <kelvo/audio/koggstream.h>

#include <algorithm>
#include <functional>

namespace {

using namespace audio_device_test;
using Kelvo_lib::kAudioStream;
using Kelvo_lib::kOGGStream;
using sound_test::LogRecorder;

constexpr unsigned int kMusicRate = 32000;
constexpr int kMusic = kAudioStream::K_MUSIC_CHANNEL;

class AudioMusicStreamTest : public AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        const std::vector<short> music =
            ogg_codec::Tones(kMusicRate / 2, kMusicRate, {1000, 2000}, 8000);
        m_disc.Write("music.ogg", ogg_codec::Encode(music, 2, kMusicRate));
        kAudioStream::Init();
    }
    void TearDown() override {
        kAudioStream::Deinit();
        g_preBufferOGG = false;
        AudioDeviceTest::TearDown();
    }

    const Channel& Music() const { return m_device->ChannelAt(kMusic); }

    static bool BuffersSilent(const Channel& channel) {
        for (unsigned int i = 0; i < channel.m_streamBufferSize; ++i) {
            if (channel.m_leftBuffer[i] != 0 || channel.m_rightBuffer[i] != 0) {
                return false;
            }
        }
        return true;
    }

    ogg_test::DiscDirectory m_disc;
    LogRecorder m_log;
};

TEST_F(AudioMusicStreamTest, CallsBeforeInitAreRefusedWithTheirOwnLine) {
    kAudioStream::Deinit();
    kOGGStream stream("music.ogg", false);
    const struct {
        const char* line;
        std::function<bool()> call;
    } cases[] = {
        {"Load: Stream system not initialised",
         [&] { return kAudioStream::LoadStream(&stream, false); }},
        {"Play: Stream system not initialised", kAudioStream::Play},
        {"Stop: Stream system not initialised", kAudioStream::Stop},
        {"Reset: Stream system not initialised", kAudioStream::Reset},
        {"SetVolume: Stream system not initialised", [] { return kAudioStream::SetVolume(0.5f); }},
        {"Tick: Stream system not initialised", kAudioStream::Tick},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.line);
        m_log.lines.clear();
        EXPECT_FALSE(entry.call());
        EXPECT_TRUE(m_log.Logged(entry.line));
    }
    EXPECT_TRUE(kAudioStream::Deinit());
    EXPECT_TRUE(m_log.Logged("Deinit: Stream not initialised"));
    EXPECT_TRUE(kAudioStream::Init());
    EXPECT_TRUE(kAudioStream::Init());
    EXPECT_TRUE(m_log.Logged("Init: Stream already initialised"));
    EXPECT_FALSE(Music().m_bStream) << "nothing reached the device";
}

TEST_F(AudioMusicStreamTest, LoadStartsPausedOnTheMusicChannelAndPlayResumesIt) {
    kOGGStream stream("music.ogg", false);
    ASSERT_TRUE(kAudioStream::LoadStream(&stream, true));
    EXPECT_TRUE(m_log.Logged("Load: Loaded on chan 95 (0)"));
    EXPECT_TRUE(stream.IsLooping());
    EXPECT_EQ(Music().m_stream, &stream);
    EXPECT_TRUE(Music().m_bPaused);
    for (int i = 0; i < Kelvo_lib::kAudioStream::K_MUSIC_CHANNEL; ++i) {
        ASSERT_FALSE(m_device->ChannelAt(i).m_bStream) << i;
        ASSERT_EQ(m_device->ChannelAt(i).ref, 0) << "channel " << i << " was never handed out";
    }
    EXPECT_FALSE(kAudioStream::Tick()) << "paused";
    Run(10);
    EXPECT_FALSE(kAudioStream::Tick()) << "still paused";

    EXPECT_TRUE(kAudioStream::Play());
    EXPECT_TRUE(m_log.Logged("Play: Resuming"));
    EXPECT_TRUE(Music().m_bPlaying);
    EXPECT_TRUE(kAudioStream::Tick());
    EXPECT_FALSE(Silent(Run(400))) << "music from the first refill on";
}

TEST_F(AudioMusicStreamTest, ReloadStopsTheFirstStreamAndReusesItsChannel) {
    kOGGStream first("music.ogg", false);
    kOGGStream second("music.ogg", false);
    ASSERT_TRUE(kAudioStream::LoadStream(&first, false));
    kAudioStream::Play();
    ASSERT_TRUE(kAudioStream::LoadStream(&second, false));
    EXPECT_EQ(Music().m_stream, &second);
    EXPECT_TRUE(Music().m_bPaused);
    EXPECT_FALSE(kAudioStream::Tick());
    EXPECT_EQ(Music().ref, 0) << "asked for by its handle, not for any channel";
    EXPECT_EQ(std::count(m_log.lines.begin(), m_log.lines.end(), "Load: Loaded on chan 95 (0)"), 2);
}

TEST_F(AudioMusicStreamTest, PrebufferFlagFillsTheBuffersForOneLoadOnly) {
    kOGGStream stream("music.ogg", false);
    g_preBufferOGG = true;
    ASSERT_TRUE(kAudioStream::LoadStream(&stream, true));
    EXPECT_FALSE(g_preBufferOGG);
    EXPECT_TRUE(m_log.Logged(" Prebuffering"));
    EXPECT_FALSE(BuffersSilent(Music()));

    ASSERT_TRUE(kAudioStream::LoadStream(&stream, true));
    EXPECT_TRUE(BuffersSilent(Music()));
}

TEST_F(AudioMusicStreamTest, StreamsThatCannotPlayLeaveNothingLoaded) {
    kOGGStream missing("missing.ogg", false);
    kOGGStream eightBit("music.ogg", true);
    EXPECT_FALSE(kAudioStream::LoadStream(nullptr, false));
    EXPECT_TRUE(m_log.Logged("Load: Error creating kOGGStream"));
    EXPECT_FALSE(kAudioStream::LoadStream(&missing, false));
    EXPECT_TRUE(m_log.Logged("Load: Error with kOGGStream"));
    EXPECT_TRUE(kAudioStream::LoadStream(&eightBit, false)) << "the device refuses it";
    EXPECT_TRUE(m_log.Logged("Only accept 16bit stream"));
    EXPECT_FALSE(kAudioStream::Tick());
    m_log.lines.clear();
    EXPECT_FALSE(kAudioStream::Play());
    EXPECT_TRUE(m_log.Logged("Play: No stream loaded"));
    EXPECT_FALSE(kAudioStream::Stop());
    EXPECT_FALSE(kAudioStream::Reset());
    EXPECT_TRUE(m_log.Logged("Reset: Stream system not playing"));
}

TEST_F(AudioMusicStreamTest, StopKeepsTheStreamLoadedAndResetForgetsIt) {
    kOGGStream stream("music.ogg", false);
    ASSERT_TRUE(kAudioStream::LoadStream(&stream, false));
    kAudioStream::Play();
    EXPECT_TRUE(kAudioStream::Stop());
    EXPECT_FALSE(kAudio::ChannelIsPlaying(kAudio::GetChannel(kMusic)));
    EXPECT_TRUE(kAudioStream::Tick()) << "still loaded";
    EXPECT_TRUE(kAudioStream::Reset());
    EXPECT_FALSE(kAudioStream::Tick());
    EXPECT_FALSE(kAudioStream::Play());
}

TEST_F(AudioMusicStreamTest, VolumeReachesTheChannelNowAndOnLaterLoads) {
    kOGGStream stream("music.ogg", false);
    EXPECT_TRUE(kAudioStream::SetVolume(0.5f));
    ASSERT_TRUE(kAudioStream::LoadStream(&stream, false));
    EXPECT_FLOAT_EQ(Music().m_volume, 0.5f);
    EXPECT_TRUE(kAudioStream::SetVolume(0.25f));
    EXPECT_FLOAT_EQ(Music().m_volume, 0.25f);
}

} // namespace
