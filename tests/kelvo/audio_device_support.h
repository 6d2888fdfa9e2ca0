// The voice device under test: a fixture that creates it through kAudio on the headless
// host (so only the test pulls output, through the console fixture's Play and Heard),
// generated PCM streams, looping DC samples and level measurements.
#pragma once

#include "../console/audio_fixture.h"
#include "sound_test_support.h"

#include "kaudiowii-ax.h"
#include <kelvo/audio/kaudio.h>
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/audio/ksoundstream.h>

#include <console/host.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <vector>

namespace audio_device_test {

using Kelvo_lib::kAudio;
using Kelvo_lib::kAudioChannel;
using Kelvo_lib::kSAMPLE_FORMAT;
using Channel = Kelvo_lib::kAudioWII_Private::WIIDevice::Channel;
using SampleFunction = std::function<short(unsigned int frame, unsigned int channel)>;

inline kSAMPLE_FORMAT Pcm16(unsigned int channels) {
    return Kelvo_lib::kSampleFormat(channels, 16, 16, Kelvo_lib::K_SAMPLE_DATA_PCM_INTEGER);
}

// Little-endian PCM made sample by sample. It delivers `frames` frames (0: endless), then
// reads return 0 and IsEOF answers `endIsEOF`; each read gives at most `maxRead` bytes.
class GeneratedStream : public Kelvo_lib::kSoundStream {
public:
    GeneratedStream(kSAMPLE_FORMAT format, unsigned int rate, SampleFunction sample,
                    unsigned int frames = 0, bool endIsEOF = true, unsigned int maxRead = UINT_MAX)
        : m_format(format), m_rate(rate), m_sample(std::move(sample)),
          m_frameBytes(2 * Kelvo_lib::kSound::NumChannels(format)), m_frames(frames),
          m_endIsEOF(endIsEOF), m_maxRead(maxRead) {}

    kSAMPLE_FORMAT Format() const override { return m_format; }
    unsigned int Frequency() const override { return m_rate; }
    unsigned int GetFlags() const override { return 0; }
    unsigned int Read(void* buffer, unsigned int size) override {
        unsigned int count = size < m_maxRead ? size : m_maxRead;
        if (m_frames != 0) {
            const unsigned long long left = 1ull * m_frames * m_frameBytes - m_position;
            count = left < count ? static_cast<unsigned int>(left) : count;
        }
        unsigned char* bytes = static_cast<unsigned char*>(buffer);
        for (unsigned int i = 0; i < count; ++i, ++m_position) {
            const unsigned long long frame = m_position / m_frameBytes;
            const unsigned int channel = static_cast<unsigned int>(m_position % m_frameBytes) / 2;
            const unsigned short value =
                static_cast<unsigned short>(m_sample(static_cast<unsigned int>(frame), channel));
            bytes[i] = static_cast<unsigned char>(m_position % 2 == 0 ? value : value >> 8);
        }
        return count;
    }
    int Rewind(bool) override {
        m_position = 0;
        return 0;
    }
    bool IsEOF() override {
        return m_endIsEOF && m_frames != 0 && m_position >= 1ull * m_frames * m_frameBytes;
    }

    unsigned long long BytesRead() const { return m_position; }

private:
    kSAMPLE_FORMAT m_format;
    unsigned int m_rate;
    SampleFunction m_sample;
    unsigned int m_frameBytes;
    unsigned int m_frames;
    bool m_endIsEOF;
    unsigned int m_maxRead;
    unsigned long long m_position = 0;
};

inline SampleFunction Constant(short left, short right) {
    return
        [left, right](unsigned int, unsigned int channel) { return channel == 0 ? left : right; };
}

inline SampleFunction Sine(double leftHz, double rightHz, double amplitude, unsigned int rate) {
    return [=](unsigned int frame, unsigned int channel) {
        const double hz = channel == 0 ? leftHz : rightHz;
        return static_cast<short>(std::lround(amplitude * std::sin(2 * M_PI * hz * frame / rate)));
    };
}

// A DSP ADPCM sound of `count` samples that loops over all of them.
inline sound_test::SoundPtr LoopingDsp(const std::vector<short>& samples, unsigned int rate) {
    return sound_test::SoundPtr(Kelvo_lib::kSound_DSPEncode(
        samples.data(), static_cast<unsigned int>(samples.size()), rate, true, 0));
}

inline sound_test::SoundPtr Dc(short value, unsigned int count = 1400) {
    return LoopingDsp(std::vector<short>(count, value), 32000);
}

inline double Mean(const std::vector<s16>& samples, size_t last) {
    double sum = 0.0;
    for (size_t i = samples.size() - last; i < samples.size(); ++i) {
        sum += samples[i];
    }
    return sum / static_cast<double>(last);
}

inline bool Silent(const audio_test::Output& output) {
    for (size_t i = 0; i < output.left.size(); ++i) {
        if (output.left[i] != 0 || output.right[i] != 0) {
            return false;
        }
    }
    return true;
}

inline void Append(audio_test::Output& all, const audio_test::Output& more) {
    all.left.insert(all.left.end(), more.left.begin(), more.left.end());
    all.right.insert(all.right.end(), more.right.begin(), more.right.end());
}

inline s32 BytesAllocated() {
    return kPlatform_GetMemStats().actualSize;
}

// The console fixture's output helpers; AX and MIX are the device's, set up through kAudio.
class AudioDeviceTest : public audio_test::AudioTest {
protected:
    void SetUp() override {
        m_options = HostGetOptions();
        HostOptions headless = m_options;
        headless.kind = HostKind::Headless;
        HostSetOptions(headless);
        kAudio::Init();
        m_device = kAudio::DeviceCreate(0, 0, nullptr);
        ASSERT_NE(m_device, nullptr);
    }
    void TearDown() override {
        kAudio::Deinit();
        HostSetOptions(m_options);
    }

    const Channel& ChannelOf(kAudioChannel handle) const {
        return m_device->ChannelAt(static_cast<int>(handle.Index()));
    }

    // Plays blocks as the main loop does: an Update after every 6 or 7 blocks (a field).
    static audio_test::Output Run(u32 blocks) {
        audio_test::Output all;
        for (u32 done = 0; done < blocks;) {
            const u32 step = blocks - done < 7 ? blocks - done : 7;
            Append(all, Play(step));
            kAudio::Update();
            done += step;
        }
        return all;
    }

    HostOptions m_options{};
    Kelvo_lib::kAudioWII_Private::WIIDevice* m_device = nullptr;
};

} // namespace audio_device_test
