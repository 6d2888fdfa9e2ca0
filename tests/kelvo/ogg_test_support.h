// Ogg Vorbis music under test: a disc directory of its own for each test with files made by
// libvorbisenc, reads of a stream in chosen sizes, and PCM compared with what the encoder
// was given, within the codec's tolerance.
#pragma once

#include "ogg_codec.h"

#include <kelvo/audio/koggstream.h>

#include <console/host.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ogg_test {

using ogg_codec::Bytes;

// While it lives the disc is a fresh directory; the previous disc comes back after.
class DiscDirectory {
public:
    DiscDirectory() {
        char pattern[] = "/tmp/ogg_stream_test_XXXXXX";
        m_root = mkdtemp(pattern) != nullptr ? pattern : "";
        EXPECT_FALSE(m_root.empty());
        HostOptions options = HostGetOptions();
        std::snprintf(m_previous, sizeof(m_previous), "%s", options.discDir);
        std::snprintf(options.discDir, sizeof(options.discDir), "%s", m_root.c_str());
        HostSetOptions(options);
    }
    ~DiscDirectory() {
        HostOptions options = HostGetOptions();
        std::snprintf(options.discDir, sizeof(options.discDir), "%s", m_previous);
        HostSetOptions(options);
        std::filesystem::remove_all(m_root);
    }
    DiscDirectory(const DiscDirectory&) = delete;
    DiscDirectory& operator=(const DiscDirectory&) = delete;

    void Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream file(m_root + "/" + name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::string m_root;
    char m_previous[kHostPathCapacity] = {};
};

// Reads of the given sizes in turn, the last repeated, until `total` bytes came or a read
// came back short.
inline Bytes ReadInSizes(Kelvo_lib::kOGGStream& stream, const std::vector<unsigned int>& sizes,
                         size_t total) {
    Bytes out;
    for (size_t i = 0; out.size() < total; ++i) {
        const unsigned int size = sizes[i < sizes.size() ? i : sizes.size() - 1];
        const unsigned int wanted =
            total - out.size() < size ? static_cast<unsigned int>(total - out.size()) : size;
        Bytes block(wanted);
        const unsigned int got = stream.Read(block.data(), wanted);
        out.insert(out.end(), block.begin(), block.begin() + got);
        if (got < wanted) {
            break;
        }
    }
    return out;
}

inline Bytes Repeated(const Bytes& bytes, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

// The root-mean-square difference between decoded 16-bit little-endian PCM and what the
// encoder was given, relative to the signal's own; 1.0 when the lengths differ.
inline double RelativeError(const Bytes& decoded, const std::vector<short>& pcm) {
    if (decoded.size() != 2 * pcm.size() || pcm.empty()) {
        return 1.0;
    }
    double error = 0.0;
    double signal = 0.0;
    for (size_t i = 0; i < pcm.size(); ++i) {
        const short sample = static_cast<short>(decoded[2 * i] | decoded[2 * i + 1] << 8);
        error += std::pow(sample - pcm[i], 2);
        signal += std::pow(pcm[i], 2);
    }
    return std::sqrt(error / signal);
}

} // namespace ogg_test
