// The game's sound table over the voice device on a test disc: music queued and started
// 0.15 s later (and reported while queued), changes of cue, the random in-game music, the
// home-button fade and restart, the music scaled below its level, an effect asked for again within
// a frame started once, and missing or unreadable files, unknown ids and levels, which are logged
// once and play silence. Effects at their levels are heard in the scenario test of the scripted
// sound sequence.
#include "../kelvo/audio_device_support.h"
#include "../kelvo/ogg_codec.h"
#include "frame_step.h"
#include "log_capture.h"
#include "temporary_host_directory.h"

#include <services/mnsound.h>

#include <framework/ksoundmanager.h>
#include <kelvo/audio/kaudiostream.h>
#include <kelvo/audio/kdspadpcm.h>

#include <set>

namespace {

using namespace audio_device_test;
using Kelvo_lib::MNSound;
using test_support::LogCapture;
using test_support::TemporaryDisc;

constexpr u32 kBlocksPerFrame = 6;
constexpr int kEffects = Kelvo_lib::SFX_COUNT;
constexpr int kCues = Kelvo_lib::MUSIC_COUNT;

sound_test::Bytes ToneCue(double hz) {
    return ogg_codec::Encode(ogg_codec::Tones(32000, 32000, {hz, hz}, 8000.0), 2, 32000);
}

double Peak(const audio_test::Output& output) {
    double peak = 0.0;
    for (const s16 sample : output.left) {
        peak = std::max(peak, std::abs(static_cast<double>(sample)));
    }
    return peak;
}

class SoundTest : public AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        for (int cue = 0; cue < kCues; ++cue) {
            m_disc.Write(std::string("wii/audio/") + MNSound::GetMusicName(cue) + ".ogg",
                         ToneCue(400.0 + 100.0 * cue));
        }
    }
    void TearDown() override {
        MNSound::Deinit();
        AudioDeviceTest::TearDown();
    }

    // Frames of the main loop: the sound tick, then a frame's worth of output.
    static audio_test::Output Frames(int count) {
        audio_test::Output all;
        for (int i = 0; i < count; ++i) {
            MNSound::Tick(kFrame60Hz);
            const audio_test::Output output = Run(kBlocksPerFrame);
            all.left.insert(all.left.end(), output.left.begin(), output.left.end());
        }
        return all;
    }

    // The number of ticks after which the music stream plays, or -1 within `limit`.
    static int TicksUntilMusicPlays(int limit) {
        for (int tick = 1; tick <= limit; ++tick) {
            MNSound::Tick(kFrame60Hz);
            if (Kelvo_lib::kAudioStream::Tick()) {
                return tick;
            }
        }
        return -1;
    }

    TemporaryDisc m_disc;
};

TEST_F(SoundTest, AQueuedCueIsReportedAtOnceAndStartsAfterItsDelay) {
    MNSound::Init(3, 5);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), -1);
    MNSound::PlayMusic(Kelvo_lib::MUSIC_TITLE);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), Kelvo_lib::MUSIC_TITLE);
    EXPECT_EQ(TicksUntilMusicPlays(30), 9) << "0.15 s at 60 frames a second";
    EXPECT_GT(Peak(Frames(10)), 1000.0);

    // A change of cue silences the old one at once and starts the new one after the delay.
    MNSound::PlayMusic(Kelvo_lib::MUSIC_INGAME2);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), Kelvo_lib::MUSIC_INGAME2);
    EXPECT_FALSE(Kelvo_lib::kAudioStream::Tick());
    EXPECT_EQ(TicksUntilMusicPlays(30), 9);

    MNSound::StopMusic();
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), -1);
    Frames(2);
    EXPECT_EQ(Peak(Frames(2)), 0.0);
}

TEST_F(SoundTest, InGameMusicAskedForEveryFrameStartsAndChangesOnlyWhenForced) {
    MNSound::Init(3, 5);
    MNSound::PlayMusic(Kelvo_lib::MUSIC_TITLE);
    std::set<int> chosen;
    for (int round = 0; round < 12; ++round) {
        MNSound::PlayRandomInGameMusic();
        const int cue = MNSound::GetMusicPlayingIdx();
        ASSERT_GE(cue, Kelvo_lib::MUSIC_INGAME1);
        ASSERT_LE(cue, Kelvo_lib::MUSIC_INGAME3);
        for (int frame = 0; frame < 12; ++frame) {
            MNSound::PlayRandomInGameMusic();
            MNSound::Tick(kFrame60Hz);
        }
        EXPECT_EQ(MNSound::GetMusicPlayingIdx(), cue);
        EXPECT_TRUE(Kelvo_lib::kAudioStream::Tick()) << "the cue started despite the calls";
        chosen.insert(cue);
        MNSound::ForceRandomMusicChange();
        MNSound::PlayRandomInGameMusic();
        EXPECT_NE(MNSound::GetMusicPlayingIdx(), cue) << "a forced change takes another cue";
        MNSound::StopMusic();
    }
    EXPECT_EQ(chosen.size(), 3u);
}

TEST_F(SoundTest, TheHomeButtonMenuFadesTheMusicOutAndRestartsItAfter) {
    MNSound::Init(3, 5);
    MNSound::PlayMusic(Kelvo_lib::MUSIC_INGAME1);
    Frames(20);
    MNSound::FadeDownForHomeMenu();
    Frames(20);
    EXPECT_LT(Peak(Frames(5)), 50.0);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), Kelvo_lib::MUSIC_INGAME1);

    MNSound::RestartAfterHomeMenu();
    EXPECT_EQ(TicksUntilMusicPlays(30), 9);
    EXPECT_GT(Peak(Frames(10)), 1000.0);
}

TEST_F(SoundTest, ScaledMusicPlaysInWholeLevelsBelowItsLevelUntilScaledBack) {
    MNSound::Init(3, 5);
    MNSound::PlayMusic(Kelvo_lib::MUSIC_INGAME1);
    Frames(20);
    // The peak once a change has reached the output.
    const auto settled = [] {
        Frames(20);
        return Peak(Frames(10));
    };
    const double full = settled();
    MNSound::SetMusicVolume(2);
    const double levelTwo = settled();
    MNSound::SetMusicVolume(5);
    MNSound::ScaleMusic(0.5f);
    EXPECT_EQ(MNSound::GetMusicVolume(), 2) << "(int)(0.5 x 5)";
    EXPECT_NEAR(settled(), levelTwo, levelTwo * 0.05);
    EXPECT_LT(levelTwo, full * 0.5);
    MNSound::SetMusicVolume(4);
    EXPECT_EQ(MNSound::GetMusicVolume(), 2) << "a new level stays scaled";
    MNSound::ScaleMusic(-0.5f);
    EXPECT_EQ(MNSound::GetMusicVolume(), 0);
    EXPECT_EQ(settled(), 0.0);
    MNSound::ScaleMusic(1.5f);
    EXPECT_EQ(MNSound::GetMusicVolume(), 4);
    MNSound::SetMusicVolume(5);
    EXPECT_NEAR(settled(), full, full * 0.05);
}

// Several screens answering one event each ask for the hover sound: copies started together
// would add up to a clipping mix, so the effect starts once until the next frame.
TEST_F(SoundTest, AnEffectAskedForAgainWithinAFrameStartsOnce) {
    const std::vector<short> tone(16000, 1000); // half a second, to outlast the frames
    const sound_test::SoundPtr effect(Kelvo_lib::kSound_DSPEncode(
        tone.data(), static_cast<unsigned int>(tone.size()), 32000, false, 0));
    for (const char* name : {"highlight", "press"}) {
        m_disc.Write(std::string("wii/audio/") + name + ".dsp",
                     sound_test::Write(Kelvo_lib::kSound_DSPWrite, *effect));
    }
    const auto playing = [] {
        int channels = 0;
        for (int channel = 0; channel < Kelvo_lib::kSoundManager::K_CHANNEL_COUNT; ++channel) {
            channels += kAudio::ChannelIsPlaying(kAudio::GetChannel(channel)) ? 1 : 0;
        }
        return channels;
    };
    MNSound::Init(5, 5);
    for (int i = 0; i < 3; ++i) {
        MNSound::PlaySoundEffect(Kelvo_lib::SFX_HIGHLIGHT);
    }
    MNSound::PlaySoundEffect(Kelvo_lib::SFX_PRESS);
    EXPECT_EQ(playing(), 2) << "the hover sound once, the press beside it";
    EXPECT_EQ(MNSound::GetLastSoundEffect(), Kelvo_lib::SFX_PRESS);
    Frames(1);
    MNSound::PlaySoundEffect(Kelvo_lib::SFX_HIGHLIGHT);
    EXPECT_EQ(playing(), 3) << "again on the next frame";
}

TEST_F(SoundTest, MissingAndUnreadableFilesAreLoggedOnceAndPlaySilence) {
    std::filesystem::remove_all(m_disc.Root() / "wii");
    m_disc.Write("wii/audio/press.dsp", std::string(200, 'x'));
    m_disc.Write("wii/audio/cues/title.ogg", std::string("OggS") + std::string(300, '\0'));
    LogCapture log;
    MNSound::Init(5, 5);
    int withSound = 0;
    for (int id = 0; id < kEffects; ++id) {
        withSound += MNSound::GetSoundEffectName(id) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(log.CountContaining("it plays silence"), withSound + kCues);
    EXPECT_EQ(log.CountContaining("wii/audio/press.dsp is unreadable"), 1);

    const size_t logged = log.lines.size();
    MNSound::PlaySoundEffect(Kelvo_lib::SFX_PRESS);
    MNSound::PlayMusic(Kelvo_lib::MUSIC_TITLE);
    EXPECT_EQ(Peak(Frames(20)), 0.0);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), Kelvo_lib::MUSIC_TITLE) << "silent, but playing";
    MNSound::PlayRandomInGameMusic();
    Frames(20);
    EXPECT_EQ(log.lines.size(), logged);
}

TEST_F(SoundTest, UnknownIdsAndLevelsAreLoggedAndChangeNothing) {
    MNSound::Init(3, 5);
    MNSound::PlayMusic(Kelvo_lib::MUSIC_TITLE);
    LogCapture log;
    for (const int id : {-1, kEffects}) {
        MNSound::PlaySoundEffect(id);
    }
    for (const int cue : {-1, kCues}) {
        MNSound::PlayMusic(cue);
    }
    EXPECT_EQ(log.CountContaining("no sound effect"), 2);
    MNSound::PlaySoundEffect(11);
    EXPECT_EQ(log.CountContaining("effect 11 has no sound"), 1) << "an id nothing plays";
    EXPECT_EQ(MNSound::GetSoundEffectName(11), nullptr);
    EXPECT_EQ(log.CountContaining("no music cue"), 2);
    EXPECT_EQ(MNSound::GetMusicPlayingIdx(), Kelvo_lib::MUSIC_TITLE);
    EXPECT_EQ(MNSound::GetSoundEffectName(Kelvo_lib::SFX_COUNT), nullptr);

    MNSound::SetSoundEffectVolume(9);
    MNSound::SetMusicVolume(-2);
    EXPECT_EQ(log.CountContaining("outside 0 to 5"), 2);
    EXPECT_FLOAT_EQ(Kelvo_lib::kSoundManager::GetMasterVolume(), 1.0f);
}

} // namespace
