// One frame of the whole game on the title screen, headless: the platform's frame step,
// input, sound, the game's tick and the client's picture with the buffer swap; against the
// same frame with the drawing left out (the swap still copies the frame), so that the
// cost of the picture path shows. The disc image is the build's own.
#include "support/comparison_main.h"

#include <shell/mainclient.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <shell/mnresourcemanager.h>
#include <shell/mnsound.h>
#include <shell/mntitlescreen.h>

#include <kelvo/input/kinputsystemwii.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <console/host.h>

#include <cstdio>
#include <filesystem>

namespace {

using namespace Kelvo_lib;

constexpr float kFrame = 0.02f;

class QuietLog : public kLogHook {
public:
    void Reset() override {}
    void Message(long, int, int, const char*, const char*, bool) override {}
    void Print(const char*) override {}
};

// The game brought up as the entry point does, as far as the title screen, with its flash
// memory in a directory of its own.
class TitleGame {
public:
    TitleGame() : m_nand(std::filesystem::temp_directory_path() / "bench_title_frame_nand") {
        std::filesystem::create_directories(m_nand);
        HostOptions options = HostGetOptions();
        std::snprintf(options.discDir, sizeof(options.discDir), "%s", PUZZLES_DISC_DIR);
        std::snprintf(options.nandDir, sizeof(options.nandDir), "%s", m_nand.c_str());
        HostSetOptions(options);
        kLog->Hook(&m_quiet);
        kRender::Init();
        m_surface = kRender::SurfaceCreate(krSurfaceDesc());
        m_input.Init(nullptr);
        kInputSystemBase::Select(&m_input);
        MNResourceManager::Init();
        MNSound::Init(3, 2);
        m_game.AddClient(&m_client);
        m_game.GetGameWorld()->Init();
        MNTitleScreen::Init();
        Frame(true); // the client moves from the (empty) splash sequence to the title
    }

    ~TitleGame() {
        MNTitleScreen::Deinit();
        m_game.GetGameWorld()->Deinit();
        m_game.RemoveClient(&m_client);
        MNSound::Deinit();
        MNResourceManager::Deinit();
        kInputSystemBase::Select(nullptr);
        kRender::SurfaceDestroy(m_surface);
        kRender::Deinit();
        std::filesystem::remove_all(m_nand);
    }

    void Frame(bool bDraw) {
        kPlatform_Process();
        m_input.Update();
        MNSound::Tick(kFrame);
        m_game.Tick(kFrame);
        if (bDraw) {
            m_client.Render();
        }
        krDrawHelp::Flush();
        kRender::BufferSwap();
    }

private:
    std::filesystem::path m_nand;
    QuietLog m_quiet;
    krSurface* m_surface = nullptr;
    kInputSystemWII m_input;
    MNGame m_game;
    MainClient m_client;
};

void RunFrames(benchmark::State& state, bool bDraw) {
    TitleGame game;
    for (auto _ : state) {
        game.Frame(bDraw);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TitleFrame(benchmark::State& state) {
    RunFrames(state, true);
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond);

void BM_TitleFrameWithoutDrawing(benchmark::State& state) {
    RunFrames(state, false);
}
BENCHMARK(BM_TitleFrameWithoutDrawing)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparison(argc, argv,
                                    {"title screen per frame", "BM_TitleFrame", "drawn",
                                     "BM_TitleFrameWithoutDrawing", "not drawn"});
}
