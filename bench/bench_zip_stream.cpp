// The zip stream inflating a 4 MiB text-like body against zlib's own inflate on the
// same compressed buffer: the difference is the stream layer (the memory stream, the
// transfer buffer and the codec's bookkeeping). Run with the language loader's 2 KiB
// transfer buffer and a 64 KiB one.
#include "support/comparison_main.h"

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/io/kzipiostream.h>
#include <kelvo/platform/klog.h>

#include <random>
#include <string>
#include <zlib.h>

namespace {

constexpr size_t kBodySize = 4u << 20;

// Keeps the codec's allocation lines out of the measurement.
class QuietLog : public Kelvo_lib::kLogHook {
public:
    void Reset() override {}
    void Message(long, int, int, const char*, const char*, bool) override {}
    void Print(const char*) override {}
};

struct Bodies {
    std::string plain;
    std::string packed;
};

const Bodies& TextBodies() {
    static const Bodies bodies = [] {
        static const char* const kWords[] = {"sudoku ",     "fitword ", "crossword ", "anagram ",
                                             "wordsearch ", "puzzle ",  "the ",       "a ",
                                             "clue ",       "across\n", "down\n",     "score "};
        Bodies made;
        std::mt19937 random(42);
        std::uniform_int_distribution<size_t> word(0, std::size(kWords) - 1);
        while (made.plain.size() < kBodySize) {
            made.plain += kWords[word(random)];
        }
        made.plain.resize(kBodySize);
        uLongf size = compressBound(made.plain.size());
        made.packed.resize(size);
        compress2(reinterpret_cast<Bytef*>(made.packed.data()), &size,
                  reinterpret_cast<const Bytef*>(made.plain.data()), made.plain.size(), 8);
        made.packed.resize(size);
        return made;
    }();
    return bodies;
}

void BM_ZipStreamInflate(benchmark::State& state) {
    QuietLog quiet;
    kLog->Hook(&quiet);
    const Bodies& bodies = TextBodies();
    std::string packed = bodies.packed;
    std::string out(kBodySize, '\0');
    const auto bufferSize = static_cast<unsigned int>(state.range(0));
    for (auto _ : state) {
        Kelvo_lib::kMemoryIOStream source(packed.data(), static_cast<unsigned int>(packed.size()),
                                          K_IO_ACCESS_READ);
        Kelvo_lib::kZipIOStream zip(&source, K_IO_ACCESS_READ, bufferSize);
        const unsigned int got = zip.Read(out.data(), kBodySize);
        if (got != kBodySize) {
            state.SkipWithError("the zip stream did not give the whole body");
        }
        benchmark::DoNotOptimize(out.data());
    }
    kLog->Unhook(&quiet);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBodySize));
}
BENCHMARK(BM_ZipStreamInflate)->Arg(2048)->Arg(65536)->Unit(benchmark::kMillisecond);

// zlib alone, given the compressed body in pieces of the argument's size (0: all at
// once). Fed 2 KiB at a time zlib itself slows down (it updates its window on every
// return), so the stream layer's own cost is the difference at equal piece sizes.
void BM_ZlibInflate(benchmark::State& state) {
    const Bodies& bodies = TextBodies();
    std::string packed = bodies.packed;
    std::string out(kBodySize, '\0');
    const auto piece = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        z_stream z{};
        inflateInit(&z);
        z.next_in = reinterpret_cast<Bytef*>(packed.data());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        size_t fed = 0;
        int result = Z_OK;
        while (result == Z_OK) {
            const size_t left = packed.size() - fed;
            const size_t size = piece == 0 || piece > left ? left : piece;
            z.avail_in = static_cast<uInt>(size);
            fed += size;
            result = inflate(&z, Z_NO_FLUSH);
        }
        if (result != Z_STREAM_END) {
            state.SkipWithError("zlib did not reach the end of the body");
        }
        inflateEnd(&z);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBodySize));
}
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(2048)->Arg(65536)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(argc, argv,
                                     {{"4 MiB inflated through 2 KiB", "BM_ZipStreamInflate/2048",
                                       "zip stream", "BM_ZlibInflate/2048", "zlib"},
                                      {"4 MiB inflated through 64 KiB", "BM_ZipStreamInflate/65536",
                                       "zip stream", "BM_ZlibInflate/65536", "zlib"}});
}
