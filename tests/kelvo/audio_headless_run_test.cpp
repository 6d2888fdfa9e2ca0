// A headless run of kAudio as the game drives it (an Update each field, the retrace
// pumping the audio frames), a looping DSP file and a PCM stream playing at once,
// captured with --audio-out: each tone is heard at its level on its side, and nothing
// else is (no gap or repeat where the stream's halves are refilled).
#include "audio_device_support.h"
#include "temporary_file.h"

#include <console/vi.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace audio_device_test;
using Kelvo_lib::K_AUDIO_PLAY_LOOP;
using Kelvo_lib::K_AUDIO_PLAY_PREBUFFER;

constexpr unsigned int kWaveHeaderBytes = 44;

// One side of the captured 16-bit stereo frames, little-endian.
std::vector<double> Side(const std::string& wave, unsigned int side) {
    std::vector<double> samples;
    for (size_t at = kWaveHeaderBytes + 2 * side; at + 1 < wave.size(); at += 4) {
        samples.push_back(
            static_cast<s16>(static_cast<u8>(wave[at]) | static_cast<u8>(wave[at + 1]) << 8));
    }
    return samples;
}

// AX converts at a truncated 16.16 ratio: 44,100 Hz plays at 44,099.6 Hz.
double PlayedHz(double hz, unsigned int rate) {
    const double ratio = 65536.0 * rate / AI_SAMPLE_RATE;
    return hz * std::floor(ratio) / ratio;
}

// The tone of `hz` in the window (whole periods of every tone), removed from it; its
// amplitude.
double TakeTone(std::vector<double>& window, double hz) {
    double cosine = 0.0;
    double sine = 0.0;
    const double step = 2 * M_PI * hz / AI_SAMPLE_RATE;
    for (size_t i = 0; i < window.size(); ++i) {
        cosine += window[i] * std::cos(step * i);
        sine += window[i] * std::sin(step * i);
    }
    cosine *= 2.0 / window.size();
    sine *= 2.0 / window.size();
    for (size_t i = 0; i < window.size(); ++i) {
        window[i] -= cosine * std::cos(step * i) + sine * std::sin(step * i);
    }
    return std::hypot(cosine, sine);
}

class AudioHeadlessRunTest : public AudioDeviceTest {};

TEST_F(AudioHeadlessRunTest, DspFileAndPcmStreamAreHeardTogetherInTheCapture) {
    const test_support::TemporaryFile captureFile("");
    const std::string path = captureFile.Path();
    HostOptions capture = HostGetOptions();
    std::snprintf(capture.audioOut, sizeof(capture.audioOut), "%s", path.c_str());
    HostSetOptions(capture);

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
    for (int field = 0; field < 100; ++field) { // two seconds of PAL fields
        kAudio::Update();
        VIWaitForRetrace();
    }
    HostOptions closed = capture;
    closed.audioOut[0] = '\0';
    HostSetOptions(closed);
    VIWaitForRetrace();
    std::ifstream file(path, std::ios::binary);
    const std::string wave((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::remove(path.c_str());

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
