// A headless run as the game drives its sound (an Update each field, the retrace pumping the
// audio frames), captured with --audio-out: an Ogg Vorbis stream loops through the music
// controller while the sound manager plays an effect, every effect channel fills up and a
// high-priority effect steals one; then the music stops. The capture holds the music on both
// sides across its loop points, the effect beside it, and nothing of the music after the stop.
#include "../kelvo/audio_capture.h"
#include "../kelvo/audio_device_support.h"
#include "../kelvo/ogg_test_support.h"

#include <framework/ksoundmanager.h>

#include <kelvo/audio/kaudiostream.h>
#include <kelvo/audio/koggstream.h>
#include <kelvo/io/kmemoryiostream.h>

#include <string>

namespace {

using namespace audio_device_test;
using audio_capture::RunFields;
using audio_capture::Side;
using audio_capture::TakeTone;
using Kelvo_lib::kAudioStream;
using Kelvo_lib::kSoundManager;

constexpr unsigned int kRate = 32000; // the output's rate too: tones keep their frequency
constexpr double kMusicLevel = 8000;
constexpr double kEffectLevel = 8000;

double Rms(const std::vector<double>& window) {
    double sum = 0.0;
    for (const double sample : window) {
        sum += sample * sample;
    }
    return std::sqrt(sum / window.size());
}

// A DSP effect of a 500 Hz tone at 16 kHz, played once.
sound_test::Bytes EffectFile(unsigned int samples, double level) {
    std::vector<short> tone(samples);
    for (size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<short>(std::lround(level * std::sin(2 * M_PI * i / 32.0)));
    }
    const sound_test::SoundPtr sound(
        Kelvo_lib::kSound_DSPEncode(tone.data(), samples, 16000, false, 0));
    return sound_test::Write(Kelvo_lib::kSound_DSPWrite, *sound);
}

int LoadEffect(sound_test::Bytes file, const char* name) {
    Kelvo_lib::kMemoryIOStream stream(file.data(), static_cast<unsigned int>(file.size()),
                                      K_IO_ACCESS_READ);
    return kSoundManager::Load(&stream, name);
}

class SoundMusicHeadlessTest : public AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        kSoundManager::Init();
        kAudioStream::Init();
    }
    void TearDown() override {
        kAudioStream::Deinit();
        kSoundManager::DeInit();
        AudioDeviceTest::TearDown();
    }

    ogg_test::DiscDirectory m_disc;
};

TEST_F(SoundMusicHeadlessTest, LoopingMusicAndEffectsAreHeardTogetherUntilTheMusicStops) {
    // Half a second of music (1 kHz left, 2 kHz right) looping; a 3 s effect at 500 Hz.
    m_disc.Write(
        "music.ogg",
        ogg_codec::Encode(ogg_codec::Tones(kRate / 2, kRate, {1000, 2000}, kMusicLevel), 2, kRate));
    Kelvo_lib::kOGGStream music("music.ogg", false);
    const int effect = LoadEffect(EffectFile(48000, kEffectLevel), "effect.dsp");
    const int quiet = LoadEffect(EffectFile(48000, 0), "quiet.dsp");
    ASSERT_GE(quiet, 0);

    const audio_capture::Capture capture;
    g_preBufferOGG = true;
    ASSERT_TRUE(kAudioStream::LoadStream(&music, true));
    ASSERT_TRUE(kAudioStream::Play());
    ASSERT_TRUE(kSoundManager::Play(effect, true));
    RunFields(75); // 1.5 s: the music loops twice
    // Every effect channel taken, then a high-priority steal.
    for (int i = 1; i < kSoundManager::K_CHANNEL_COUNT + 1; ++i) {
        ASSERT_TRUE(kSoundManager::Play(quiet, i >= kSoundManager::K_FIRST_HIGH_PRIORITY_CHANNEL))
            << i;
    }
    RunFields(50);
    EXPECT_TRUE(kAudioStream::Tick());
    ASSERT_TRUE(kAudioStream::Stop());
    RunFields(25);
    const std::string wave = capture.Stop();

    // Whole periods of every tone: 0.25 s to 1.25 s (loop points at 0.5 and 1.0 s), 1.75 s
    // to 2.25 s after the steal (the effect on channel 0 stays), and 2.6 s to 2.9 s.
    const struct {
        const char* window;
        size_t from, to;
        double effect;
        double music[2];
    } windows[] = {
        {"looping", 8000, 40000, kEffectLevel / std::sqrt(2.0), {kMusicLevel, kMusicLevel}},
        {"after the steal",
         56000,
         72000,
         kEffectLevel / std::sqrt(2.0),
         {kMusicLevel, kMusicLevel}},
        {"stopped", 83200, 92800, kEffectLevel / std::sqrt(2.0), {0, 0}},
    };
    for (unsigned int side = 0; side < 2; ++side) {
        const std::vector<double> samples = Side(wave, side);
        ASSERT_GE(samples.size(), 92800u);
        for (const auto& entry : windows) {
            SCOPED_TRACE(std::string(side == 0 ? "left, " : "right, ") + entry.window);
            std::vector<double> window(samples.begin() + static_cast<long>(entry.from),
                                       samples.begin() + static_cast<long>(entry.to));
            const double mine = TakeTone(window, side == 0 ? 1000 : 2000);
            const double other = TakeTone(window, side == 0 ? 2000 : 1000);
            EXPECT_NEAR(TakeTone(window, 500), entry.effect, 150);
            EXPECT_NEAR(mine, entry.music[side], 0.05 * kMusicLevel);
            EXPECT_LT(other, 100.0);
            EXPECT_LT(Rms(window), 0.03 * kMusicLevel) << "no gap or repeat at a loop point";
        }
    }
}

} // namespace
