// Loading a sprite bank of about 2 MiB from the disc image: two sprites of noise (which
// LZSS cannot shrink) on 512 x 512 pages, written by the data tool's bank writer into a
// disc directory of the bench's own; each iteration opens, reads and checks the whole
// bank through the DVD layer, as the game's resource manager does.
#include <framework/kspritebank.h>
#include <sprites/sprite_bank_writer.h>

#include <kelvo/platform/klog.h>

#include <console/host.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr unsigned int kNoiseSide = 480;

class QuietLog : public Kelvo_lib::kLogHook {
public:
    void Reset() override {}
    void Message(long, int, int, const char*, const char*, bool) override {}
    void Print(const char*) override {}
};

datatool::SpriteSource NoiseSprite(const char* name, unsigned int seed) {
    datatool::SpriteSource sprite;
    sprite.name = name;
    datatool::ArgbImage image(kNoiseSide, kNoiseSide);
    std::mt19937 random(seed);
    for (std::uint32_t& pixel : image.pixels) {
        pixel = random();
    }
    sprite.frames.push_back(image);
    return sprite;
}

// Writes wii/bench.KSB into a new disc directory and points the drive at it.
std::size_t MakeDisc(const fs::path& root) {
    datatool::SpriteBankContent content;
    std::string error;
    if (!datatool::BuildSpriteBank({NoiseSprite("first", 1), NoiseSprite("second", 2)},
                                   datatool::kDefaultPageSize, &content, &error)) {
        std::fprintf(stderr, "bench_sprite_bank: %s\n", error.c_str());
        std::abort();
    }
    const std::vector<unsigned char> file = WriteSpriteBank(content, datatool::kCurrentLayout);
    fs::create_directories(root / "wii");
    std::ofstream(root / "wii/bench.KSB", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    HostOptions options = HostGetOptions();
    std::snprintf(options.discDir, sizeof(options.discDir), "%s", root.c_str());
    HostSetOptions(options);
    return file.size();
}

void BM_LoadSpriteBankFromDisc(benchmark::State& state) {
    char pattern[] = "/tmp/bench_sprite_bank_XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::size_t fileSize = MakeDisc(pattern);
    QuietLog quiet;
    kLog->Hook(&quiet);
    if (Kelvo_lib::kSpriteBank("wii/bench.KSB", false).GetNumSprites() != 2) {
        state.SkipWithError("the bank did not load");
    }
    for (auto _ : state) {
        Kelvo_lib::kSpriteBank bank("wii/bench.KSB", false);
        benchmark::DoNotOptimize(bank.GetPageData(bank.GetNumPages() - 1));
    }
    kLog->Unhook(&quiet);
    fs::remove_all(pattern);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileSize));
    state.counters["file_bytes"] = static_cast<double>(fileSize);
}

BENCHMARK(BM_LoadSpriteBankFromDisc)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
