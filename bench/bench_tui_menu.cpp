// A full menu frame of the game's UI toolkit: the animated background, a TUI screen of a
// title, ten buttons and a line of text, and the pointer, ticked and drawn with the disc's
// art; against the baseline of the frame's copy to the television's buffer, which every
// frame pays.
#include "support/comparison_main.h"

#include <tui/mnbackground.h>
#include <tui/tui.h>

#include <services/mnresourcemanager.h>

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

using namespace Kelvo_lib;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

class TenButtonMenu : public TUI {
public:
    TenButtonMenu() {
        TUIScreen* screen = AddScreen();
        AddText(screen, "Choose a puzzle", 0.5f, 0.03f, true);
        for (int i = 0; i < 10; ++i) {
            AddButton(screen, "Crossword", i < 5 ? 0.3f : 0.7f, 0.15f + 0.12f * (i % 5), false,
                      187);
        }
        AddText(screen, "Pick the puzzle to play next.", 0.5f, 0.78f);
        SetShowHelp(true);
        SetActiveScreen(screen);
    }
};

struct MenuSetUp {
    MenuSetUp() {
        kRender::Init();
        kRender::SurfaceCreate(krSurfaceDesc());
        MNResourceManager::Init();
        background = new MNBackgroundWidget;
        menu = new TenButtonMenu;
    }
    MNBackgroundWidget* background;
    TenButtonMenu* menu;
};

MenuSetUp& SetUp() {
    static MenuSetUp s_setUp;
    return s_setUp;
}

void BM_MenuFrame(benchmark::State& state) {
    MenuSetUp& setUp = SetUp();
    for (auto _ : state) {
        kRender::BufferClear(0xFF000000);
        setUp.background->Tick(kFrame);
        setUp.menu->Tick(kFrame);
        setUp.background->Render();
        setUp.menu->Render();
        krDrawHelp::Flush();
    }
}
BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMillisecond);

// The fixed cost of every frame: its copy to the television's buffer.
void BM_FrameSwap(benchmark::State& state) {
    SetUp();
    for (auto _ : state) {
        kRender::BufferSwap();
    }
}
BENCHMARK(BM_FrameSwap)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparison(
        argc, argv, {"menu frame", "BM_MenuFrame", "menu drawn", "BM_FrameSwap", "frame copy"});
}
