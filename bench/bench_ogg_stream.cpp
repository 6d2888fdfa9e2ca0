// A minute of stereo music at 44,100 Hz decoded whole through kOGGStream, in the voice
// device's 16,384-byte reads, against plain ov_read on the same file in memory: the
// difference is the stream layer (its block buffer and carry-over). The file is made once
// with libvorbisenc and read from a disc directory of its own. After the run it prints both
// times and the stream layer's share.
#include "../tests/kelvo/ogg_codec.h"

#include <kelvo/audio/koggstream.h>
#include <kelvo/platform/klog.h>

#include <console/host.h>

#include <benchmark/benchmark.h>

#include "support/comparison_main.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr unsigned int kRate = 44100;
constexpr unsigned int kSeconds = 60;
constexpr unsigned int kReadBytes = 16384;
constexpr const char* kFileName = "minute.ogg";

class QuietLog : public Kelvo_lib::kLogHook {
public:
    void Reset() override {}
    void Message(long, int, int, const char*, const char*, bool) override {}
    void Print(const char*) override {}
};

// A chord whose notes swell and fade, over a little noise, so the file has a music-like rate.
std::vector<short> MinuteOfMusic() {
    std::vector<short> pcm(2 * kRate * kSeconds);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 300.0);
    const double notes[] = {220.0, 277.2, 329.6, 440.0};
    for (unsigned int frame = 0; frame < kRate * kSeconds; ++frame) {
        const double t = static_cast<double>(frame) / kRate;
        for (unsigned int channel = 0; channel < 2; ++channel) {
            double sample = noise(random);
            for (unsigned int n = 0; n < 4; ++n) {
                const double swell = 0.5 + 0.5 * std::sin(2 * M_PI * (0.2 + 0.1 * n) * t + channel);
                sample += 3000 * swell * std::sin(2 * M_PI * notes[n] * (1 + 0.002 * channel) * t);
            }
            pcm[2 * frame + channel] = static_cast<short>(std::lround(sample));
        }
    }
    return pcm;
}

// The file, encoded once, and a disc directory holding it for the stream.
const ogg_codec::Bytes& MinuteFile() {
    static const ogg_codec::Bytes file = [] {
        ogg_codec::Bytes made = ogg_codec::Encode(MinuteOfMusic(), 2, kRate, 0.4f);
        char pattern[] = "/tmp/bench_ogg_stream_XXXXXX";
        if (made.empty() || mkdtemp(pattern) == nullptr) {
            std::abort();
        }
        std::ofstream(std::string(pattern) + "/" + kFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(made.data()), static_cast<long>(made.size()));
        HostOptions options = HostGetOptions();
        std::snprintf(options.discDir, sizeof(options.discDir), "%s", pattern);
        HostSetOptions(options);
        std::atexit([] { std::filesystem::remove_all(HostGetOptions().discDir); });
        return made;
    }();
    return file;
}

void BM_OggStream(benchmark::State& state) {
    MinuteFile();
    QuietLog quiet;
    kLog->Hook(&quiet);
    Kelvo_lib::kOGGStream stream(kFileName, false);
    std::vector<unsigned char> out(kReadBytes);
    size_t bytes = 0;
    for (auto _ : state) {
        stream.Rewind(true);
        while (stream.Read(out.data(), kReadBytes) == kReadBytes) {
            bytes += kReadBytes;
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_OggStream)->Unit(benchmark::kMillisecond);

void BM_PlainOvRead(benchmark::State& state) {
    const ogg_codec::Bytes& file = MinuteFile();
    ogg_codec::MemorySource source{&file, 0};
    OggVorbis_File decoder;
    if (ov_open_callbacks(&source, &decoder, nullptr, 0, ogg_codec::MemorySource::kCallbacks) !=
        0) {
        state.SkipWithError("the file does not open");
        return;
    }
    std::vector<char> out(kReadBytes);
    size_t bytes = 0;
    for (auto _ : state) {
        ov_raw_seek(&decoder, 0);
        for (long got; (got = ov_read(&decoder, out.data(), 4096, 0, 2, 1, nullptr)) > 0;) {
            bytes += static_cast<size_t>(got);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    ov_clear(&decoder);
}
BENCHMARK(BM_PlainOvRead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparison(
        argc, argv,
        {"a minute decoded", "BM_OggStream", "kOGGStream", "BM_PlainOvRead", "ov_read"});
}
