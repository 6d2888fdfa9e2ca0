// The game's sound table: its per-frame tick while a music cue plays (against the audio
// device's own per-frame update, which every frame pays anyway), and loading every effect
// and cue of the built disc at start-up (against reading the same files whole from the disc,
// the part no loader can avoid). After the run it prints both comparisons.
#include <services/mnsound.h>

#include <kelvo/audio/kaudio.h>
#include <kelvo/io/kfileiostream.h>
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>

#include <console/host.h>

#include <benchmark/benchmark.h>

#include "support/comparison_main.h"

#include <string>
#include <vector>

namespace {

using Kelvo_lib::kAudio;
using Kelvo_lib::MNSound;

constexpr float kFrame = 1.0f / 60.0f;

class QuietLog : public Kelvo_lib::kLogHook {
public:
    void Reset() override {}
    void Message(long, int, int, const char*, const char*, bool) override {}
    void Print(const char*) override {}
};

// The audio device on the headless host, and the log kept quiet, while it lives.
class SoundSetUp {
public:
    SoundSetUp() {
        kLog->Hook(&m_quiet);
        HostOptions options = HostGetOptions();
        options.kind = HostKind::Headless;
        HostSetOptions(options);
        kAudio::Init();
        kAudio::DeviceCreate(0, 0, nullptr);
    }
    ~SoundSetUp() { kAudio::Deinit(); }

private:
    QuietLog m_quiet;
};

std::vector<std::string> SoundFiles() {
    std::vector<std::string> paths;
    for (int id = 0; id < Kelvo_lib::SFX_COUNT; ++id) {
        if (const char* name = MNSound::GetSoundEffectName(id)) { // ids without a sound have none
            paths.push_back(std::string("wii/audio/") + name + ".dsp");
        }
    }
    for (int cue = 0; cue < Kelvo_lib::MUSIC_COUNT; ++cue) {
        paths.push_back(std::string("wii/audio/") + MNSound::GetMusicName(cue) + ".ogg");
    }
    return paths;
}

// The sound table loaded and the title music playing, as on the title screen.
void StartTitleMusic() {
    MNSound::Init(3, 2);
    MNSound::PlayMusic(Kelvo_lib::MUSIC_TITLE);
    for (int frame = 0; frame < 20; ++frame) {
        MNSound::Tick(kFrame);
    }
}

void BM_SoundTick(benchmark::State& state) {
    SoundSetUp setUp;
    StartTitleMusic();
    for (auto _ : state) {
        MNSound::PlayRandomInGameMusic();
        MNSound::Tick(kFrame);
    }
    MNSound::Deinit();
}
BENCHMARK(BM_SoundTick);

void BM_AudioUpdate(benchmark::State& state) {
    SoundSetUp setUp;
    StartTitleMusic();
    for (auto _ : state) {
        kAudio::Update();
    }
    MNSound::Deinit();
}
BENCHMARK(BM_AudioUpdate);

void BM_LoadAllSounds(benchmark::State& state) {
    SoundSetUp setUp;
    for (auto _ : state) {
        MNSound::Init(3, 2);
        MNSound::Deinit();
    }
}
BENCHMARK(BM_LoadAllSounds)->Unit(benchmark::kMillisecond);

void BM_ReadAllSoundFiles(benchmark::State& state) {
    SoundSetUp setUp;
    const std::vector<std::string> paths = SoundFiles();
    std::vector<unsigned char> buffer;
    for (auto _ : state) {
        for (const std::string& path : paths) {
            SysFileHandle* handle =
                kPlatform_FileOpen(path.c_str(), K_IO_ACCESS_READ, K_IO_OPEN_EXISTING);
            if (handle == nullptr) {
                state.SkipWithError("the disc has no sounds: build the disc target");
                return;
            }
            Kelvo_lib::kFileIOStream stream(handle);
            buffer.resize(stream.Length());
            stream.Read(buffer.data(), static_cast<unsigned int>(buffer.size()));
            stream.Close();
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReadAllSoundFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"per frame", "BM_SoundTick", "MNSound tick", "BM_AudioUpdate", "device update"},
         {"start-up", "BM_LoadAllSounds", "load all sounds", "BM_ReadAllSoundFiles",
          "read the files"}});
}
