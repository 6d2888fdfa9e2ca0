// The sound a headless run captured with --audio-out, read back to find where its sounds begin
// and end and to tell which of the game's effects started where: an effect is decoded from the
// disc's own DSP file and fitted to the capture where a sound begins after silence (runs with
// the music turned down). The capture is 32 kHz, 640 samples to a PAL field; effects are told
// apart on its left channel alone (they play centred).
#pragma once

#include <services/mnsound.h>

#include <kelvo/audio/kdspadpcm.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace effect_capture {

constexpr long kSamplesPerFrame = 640;
constexpr int kLoud = 48;      // louder than this is sound
constexpr long kGap = 320;     // 10 ms of silence end a sound
constexpr long kLag = 128;     // how far a fit looks either side of the onset's alignment
constexpr double kFits = 0.02; // the part of the sound a fit may leave unexplained

using Samples = std::vector<short>;

inline long FrameStart(int frame) {
    return static_cast<long>(frame) * kSamplesPerFrame;
}

// A capture's interleaved stereo samples from a frame of two samples on, up to count frames
// (fewer at its end; none for a file that is not a 16-bit stereo WAV with the 44-byte
// header). Read a part at a time: a whole run's capture is larger than the game's heaps that
// serve us.
inline Samples ReadStereo(const std::filesystem::path& path, long from, long count) {
    constexpr long kHeader = 44;
    std::ifstream file(path, std::ios::binary);
    unsigned char header[kHeader] = {};
    if (!file.read(reinterpret_cast<char*>(header), kHeader) || header[22] != 2 ||
        header[34] != 16 || from < 0 || count <= 0) {
        return {};
    }
    std::vector<unsigned char> bytes(static_cast<size_t>(count) * 4);
    file.seekg(kHeader + from * 4);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Samples stereo(static_cast<size_t>(file.gcount()) / 4 * 2);
    for (size_t i = 0; i < stereo.size(); ++i) {
        stereo[i] = static_cast<short>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return stereo;
}

// The left channel alone of those samples.
inline Samples ReadCapture(const std::filesystem::path& path, long from, long count) {
    const Samples stereo = ReadStereo(path, from, count);
    Samples left(stereo.size() / 2);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = stereo[2 * i];
    }
    return left;
}

// An effect's samples from the disc's DSP ADPCM file, decoded as the voices decode it.
inline Samples DecodeEffect(const std::string& discDir, int id) {
    const std::filesystem::path path =
        std::filesystem::path(discDir) / "wii/audio" /
        (std::string(Kelvo_lib::MNSound::GetSoundEffectName(id)) + ".dsp");
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    if (bytes.size() < Kelvo_lib::K_DSP_HEADER_SIZE) {
        return {};
    }
    Kelvo_lib::kDSPADPCMHeader header;
    Kelvo_lib::kDSPADPCM_ReadHeader(bytes.data(), &header);
    Samples samples;
    int history1 = 0, history2 = 0;
    for (size_t frame = Kelvo_lib::K_DSP_HEADER_SIZE;
         frame + Kelvo_lib::K_DSP_FRAME_BYTES <= bytes.size() && samples.size() < header.numSamples;
         frame += Kelvo_lib::K_DSP_FRAME_BYTES) {
        const int pair = bytes[frame] >> 4 & 7;
        const int scale = bytes[frame] & 15;
        for (unsigned int i = 0; i < Kelvo_lib::K_DSP_FRAME_SAMPLES; ++i) {
            const int byte = bytes[frame + 1 + i / 2];
            int nibble = i % 2 == 0 ? byte >> 4 : byte & 15;
            nibble = nibble >= 8 ? nibble - 16 : nibble;
            const long long value =
                (static_cast<long long>(nibble) * (1ll << scale) * 2048 +
                 static_cast<long long>(header.coefficients[2 * pair]) * history1 +
                 static_cast<long long>(header.coefficients[2 * pair + 1]) * history2 + 1024) >>
                11;
            history2 = history1;
            history1 = static_cast<int>(std::clamp<long long>(value, -32768, 32767));
            samples.push_back(static_cast<short>(history1));
        }
    }
    samples.resize(std::min<size_t>(samples.size(), header.numSamples));
    return samples;
}

// A stretch of sound in a capture: its first loud sample and the one after its last.
struct Span {
    long begin, end;
};

// The sounds between two samples of a capture: each from its first loud sample after at least
// `gap` quiet ones to its last loud sample before the next such gap.
inline std::vector<Span> Sounds(const std::filesystem::path& capture, long from, long to,
                                long gap) {
    constexpr long kChunk = 1 << 20;
    std::vector<Span> sounds;
    long quiet = gap;
    for (long at = std::max(0l, from); at < to; at += kChunk) {
        const Samples part = ReadCapture(capture, at, std::min(kChunk, to - at));
        for (size_t i = 0; i < part.size(); ++i) {
            if (std::abs(part[i]) <= kLoud) {
                ++quiet;
                continue;
            }
            const long sample = at + static_cast<long>(i);
            if (quiet >= gap) {
                sounds.push_back({sample, sample + 1});
            }
            sounds.back().end = sample + 1;
            quiet = 0;
        }
        if (static_cast<long>(part.size()) < std::min(kChunk, to - at)) {
            break; // the end of the capture
        }
    }
    return sounds;
}

// Where sounds begin between two samples of a capture: the first loud sample after kGap
// quiet ones.
inline std::vector<long> Onsets(const std::filesystem::path& capture, long from, long to) {
    std::vector<long> onsets;
    for (const Span& sound : Sounds(capture, from, to, kGap)) {
        onsets.push_back(sound.begin);
    }
    return onsets;
}

// The part of the capture's energy from an onset that the effects, started together (or the
// second secondDelay samples after the first) and each at its best gain, leave unexplained
// (0 a perfect fit, 1 nothing of them); one or two effects, each long enough to be told apart.
inline double Unexplained(const std::filesystem::path& capture, long onset,
                          std::initializer_list<int> ids, const std::string& discDir,
                          long secondDelay = 0) {
    std::vector<Samples> effects;
    size_t length = 0;
    long lead = 0; // the quiet start of the first effect, before its own first loud sample
    for (int id : ids) {
        effects.push_back(DecodeEffect(discDir, id));
        if (effects.size() == 2) {
            effects.back().insert(effects.back().begin(), static_cast<size_t>(secondDelay), 0);
        }
        length = std::max(length, effects.back().size());
    }
    if (effects.empty() || effects.size() > 2 || effects[0].empty()) {
        return 1.0;
    }
    while (lead < static_cast<long>(effects[0].size()) && std::abs(effects[0][lead]) <= kLoud) {
        ++lead;
    }
    const long first = onset - lead - kLag;
    const Samples window =
        ReadCapture(capture, std::max(0l, first), static_cast<long>(length) + 2 * kLag + 1);
    double best = 1.0;
    for (long lag = -kLag; lag <= kLag; ++lag) {
        const long start = onset - lead + lag - std::max(0l, first);
        if (start < 0 || start + static_cast<long>(length) > static_cast<long>(window.size())) {
            continue;
        }
        // Normal equations of the least-squares gains.
        double g[2][2] = {}, r[2] = {}, energy = 0.0;
        for (size_t i = 0; i < length; ++i) {
            const double x = window[start + i];
            energy += x * x;
            for (size_t a = 0; a < effects.size(); ++a) {
                const double ea = i < effects[a].size() ? effects[a][i] : 0.0;
                r[a] += x * ea;
                for (size_t b = 0; b < effects.size(); ++b) {
                    g[a][b] += ea * (i < effects[b].size() ? effects[b][i] : 0.0);
                }
            }
        }
        if (energy <= 0.0) {
            continue;
        }
        double explained = r[0] * r[0] / g[0][0];
        if (effects.size() == 2) {
            const double det = g[0][0] * g[1][1] - g[0][1] * g[1][0];
            const double a = (r[0] * g[1][1] - r[1] * g[0][1]) / det;
            const double b = (r[1] * g[0][0] - r[0] * g[1][0]) / det;
            explained = a * r[0] + b * r[1];
        }
        best = std::min(best, 1.0 - explained / energy);
    }
    return best;
}

} // namespace effect_capture
