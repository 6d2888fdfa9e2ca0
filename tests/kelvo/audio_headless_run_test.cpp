// A headless run of kAudio as the game drives it (an Update each field, the retrace
// pumping the audio frames), a looping DSP file and a PCM stream playing at once,
// captured with --audio-out: each tone is heard at its level on its side, and nothing
// else is (no gap or repeat where the stream's halves are refilled).
#include "audio_capture.h"
#include "audio_device_support.h"

#include <string>

namespace {

using namespace audio_device_test;
using audio_capture::Side;
using audio_capture::TakeTone;
using Kelvo_lib::K_AUDIO_PLAY_LOOP;
using Kelvo_lib::K_AUDIO_PLAY_PREBUFFER;

// AX converts at a truncated 16.16 ratio: 44,100 Hz plays at 44,099.6 Hz.
double PlayedHz(double hz, unsigned int rate) {
    const double ratio = 65536.0 * rate / AI_SAMPLE_RATE;
    return hz * std::floor(ratio) / ratio;
}

class AudioHeadlessRunTest : public AudioDeviceTest {};

TEST_F(AudioHeadlessRunTest, DspFileAndPcmStreamAreHeardTogetherInTheCapture) {
    const audio_capture::Capture capture;

    // 500 Hz at 16 kHz, looping over one second; music of 1 kHz left and 2 kHz right.
    std::vector<short> tone(16000);
    for (size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<short>(std::lround(8000 * std::sin(2 * M_PI * i / 32.0)));
    }
    const sound_test::SoundPtr dsp = sound_test::Import(
        sound_test::Write(Kelvo_lib::kSound_DSPWrite, *LoopingDsp(tone, 16000)), "tone.dsp");
    ASSERT_NE(dsp, nullptr);
    GeneratedStream music(Pcm16(2), 44100, Sine(1000, 2000, 6000, 44100));
    ASSERT_FALSE(kAudio::Play(dsp.get(), kAudioChannel(), K_AUDIO_PLAY_LOOP).IsAny());
    ASSERT_FALSE(kAudio::PlayStream(&music, kAudioChannel(), K_AUDIO_PLAY_PREBUFFER).IsAny());
    audio_capture::RunFields(100); // two seconds of PAL fields
    const std::string wave = capture.Stop();

    // One second from 0.5 s: across both refills of the stream's first pass.
    const struct {
        const char* side;
        double at500, at1000, at2000;
    } expected[] = {{"left", 5657, 6000, 0}, {"right", 5657, 0, 6000}};
    for (unsigned int side = 0; side < 2; ++side) {
        SCOPED_TRACE(expected[side].side);
        const std::vector<double> samples = Side(wave, side);
        ASSERT_GE(samples.size(), 48000u);
        std::vector<double> window(samples.begin() + 16000, samples.begin() + 48000);
        EXPECT_NEAR(TakeTone(window, 500), expected[side].at500, 120);
        EXPECT_NEAR(TakeTone(window, PlayedHz(1000, 44100)), expected[side].at1000, 120);
        EXPECT_NEAR(TakeTone(window, PlayedHz(2000, 44100)), expected[side].at2000, 120);
        double worst = 0.0;
        for (const double rest : window) {
            worst = std::fmax(worst, std::fabs(rest));
        }
        EXPECT_LT(worst, 160.0); // linear interpolation, and the sample's loop point
    }
}

} // namespace
