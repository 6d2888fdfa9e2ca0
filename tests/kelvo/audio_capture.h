// The headless host's sound output captured as the game drives it (--audio-out): fields run
// with an Update each and the retrace pumping the audio frames, the capture to a file of the
// test's own read back as a WAV file, one side of its frames, and the tones in a window of it.
#pragma once

#include "temporary_file.h"

#include <kelvo/audio/kaudio.h>

#include <console/ai.h>
#include <console/host.h>
#include <console/vi.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace audio_capture {

// Runs fields as the game does: an Update each, then the retrace.
inline void RunFields(int fields) {
    for (int field = 0; field < fields; ++field) {
        Kelvo_lib::kAudio::Update();
        VIWaitForRetrace();
    }
}

// The host's output written to a file from construction until Stop.
class Capture {
public:
    Capture() {
        HostOptions capture = HostGetOptions();
        std::snprintf(capture.audioOut, sizeof(capture.audioOut), "%s", m_file.Path());
        HostSetOptions(capture);
    }

    // Ends the capture; the bytes of the WAV file.
    std::string Stop() const {
        HostOptions closed = HostGetOptions();
        closed.audioOut[0] = '\0';
        HostSetOptions(closed);
        VIWaitForRetrace();
        std::ifstream file(m_file.Path(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    }

private:
    const test_support::TemporaryFile m_file{""};
};

// One side of a captured wave's 16-bit stereo frames, little-endian.
inline std::vector<double> Side(const std::string& wave, unsigned int side) {
    constexpr unsigned int kWaveHeaderBytes = 44;
    std::vector<double> samples;
    for (size_t at = kWaveHeaderBytes + 2 * side; at + 1 < wave.size(); at += 4) {
        samples.push_back(
            static_cast<s16>(static_cast<u8>(wave[at]) | static_cast<u8>(wave[at + 1]) << 8));
    }
    return samples;
}

// The tone of `hz` in a window of the output (whole periods of every tone), removed from it;
// its amplitude.
inline double TakeTone(std::vector<double>& window, double hz) {
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

} // namespace audio_capture
