// One frame of the whole game on the title screen, headless: the platform's frame step,
// input, sound, the game's tick and the client's picture with the buffer swap; against the
// same frame with the drawing left out (the swap still copies the frame), so that the
// cost of the picture path shows. The disc image is the build's own.
#include "support/comparison_main.h"
#include "support/headless_game.h"

#include <shell/mntitlescreen.h>

namespace {

using namespace Kelvo_lib;

// The game as far as the title screen.
class TitleGame : public bench::HeadlessGame {
public:
    TitleGame() : HeadlessGame("bench_title_frame_nand") {
        MNTitleScreen::Init();
        Frame(true); // the client moves from the (empty) splash sequence to the title
    }
    ~TitleGame() { MNTitleScreen::Deinit(); }
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
