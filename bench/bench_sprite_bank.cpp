// Loading a sprite bank of about 2 MiB from the disc image: two sprites of noise (which
// LZSS cannot shrink) on 512 x 512 pages, written by the data tool's bank writer into a
// disc directory of the bench's own; each iteration opens, reads and checks the whole
// bank through the DVD layer, as the game's resource manager does, beside reading the same
// file whole with the C library.
#include "support/comparison_main.h"

#include <framework/kspritebank.h>
#include <sprites/sprite_bank_writer.h>

#include <kelvo/platform/klog.h>

#include <console/host.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

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

// The bench's disc directory, made for one benchmark and removed after it.
class TemporaryDisc {
public:
    TemporaryDisc() {
        char pattern[] = "/tmp/bench_sprite_bank_XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            m_root = pattern;
            m_fileSize = MakeDisc(m_root);
        }
    }
    ~TemporaryDisc() {
        if (!m_root.empty()) {
            fs::remove_all(m_root);
        }
    }
    TemporaryDisc(const TemporaryDisc&) = delete;
    TemporaryDisc& operator=(const TemporaryDisc&) = delete;

    bool IsMade() const { return m_fileSize != 0; }
    fs::path BankPath() const { return m_root / "wii/bench.KSB"; }
    std::size_t FileSize() const { return m_fileSize; }

private:
    fs::path m_root;
    std::size_t m_fileSize = 0;
};

void BM_LoadSpriteBankFromDisc(benchmark::State& state) {
    const TemporaryDisc disc;
    if (!disc.IsMade()) {
        state.SkipWithError("no temporary directory");
        return;
    }
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
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * disc.FileSize()));
    state.counters["file_bytes"] = static_cast<double>(disc.FileSize());
}

// The same file read whole into memory with the C library, the floor of any loader.
void BM_ReadBankFile(benchmark::State& state) {
    const TemporaryDisc disc;
    if (!disc.IsMade()) {
        state.SkipWithError("no temporary directory");
        return;
    }
    std::vector<char> bytes(disc.FileSize());
    for (auto _ : state) {
        FILE* const file = std::fopen(disc.BankPath().c_str(), "rb");
        if (file == nullptr || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            state.SkipWithError("the bank's file could not be read");
        }
        if (file != nullptr) {
            std::fclose(file);
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * disc.FileSize()));
}

BENCHMARK(BM_LoadSpriteBankFromDisc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBankFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparison(argc, argv,
                                    {"a bank of about 2 MiB", "BM_LoadSpriteBankFromDisc",
                                     "loaded and checked", "BM_ReadBankFile", "read with fread"});
}
