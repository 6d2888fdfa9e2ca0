// Whole-game frame benchmarks, one per screen: each screen is reached in a headless game of
// its own by its own steps (the game's calls, or the pointer and buttons as a player uses
// them), then its frame is measured with the pointer sweeping over the picture. Beside them
// runs the frame's copy alone (the frame step and buffer swap, nothing ticked or drawn), and
// each screen prints its comparison with it and whether its whole frame keeps within the
// frame budget. A program lists its screens and calls RunScreens; main thread only.
#pragma once

#include "comparison_main.h"
#include "headless_game.h"

#include <console/host_input.h>
#include <console/wpad.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace bench {

// The game with a player's hands: pointer places in pixels of the 640 x 496 picture.
class ScreenGame : public HeadlessGame {
public:
    explicit ScreenGame(const std::string& nandName) : HeadlessGame(nandName.c_str()) {}

    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            Frame();
        }
    }

    static void PointAt(int x, int y) {
        HostInputSetPointer(0, (x + 0.5f) / 640.0f, (y + 0.5f) / 496.0f);
    }

    // A button pressed for a few frames and released, then `wait` frames.
    void Press(u32 button, int wait) {
        HostInputSetButton(0, button, true);
        Frames(4);
        HostInputSetButton(0, button, false);
        Frames(wait);
    }

    // A at a place, then `wait` frames.
    void Click(int x, int y, int wait = 10) {
        PointAt(x, y);
        Frames(2);
        Press(WPAD_BUTTON_A, wait);
    }

    // A frame with the pointer one step further along its sweep over the left of the picture.
    void SweepFrame() {
        m_step = (m_step + 1) % 64;
        PointAt(60 + 5 * m_step, 60 + 5 * (m_step % 16) * 4);
        Frame();
    }

private:
    int m_step = 0;
};

struct Screen {
    const char* name;
    // Brings a new game to the screen; false when it did not get there.
    bool (*reach)(ScreenGame& game);
};

inline void MeasureScreen(benchmark::State& state, const Screen& screen) {
    ScreenGame game(std::string("bench_screen_nand_") + std::to_string(getpid()));
    if (!screen.reach(game)) {
        state.SkipWithError("the screen was not reached");
        return;
    }
    for (auto _ : state) {
        game.SweepFrame();
    }
}

inline void MeasureFrameCopy(benchmark::State& state) {
    ScreenGame game(std::string("bench_screen_nand_") + std::to_string(getpid()));
    for (auto _ : state) {
        game.CopyFrame();
    }
}

// The CPU time a screen's whole frame is held to.
constexpr double kFrameBudgetMilliseconds = 1.5;

inline int RunScreens(int argc, char** argv, const std::vector<Screen>& screens) {
    // Benchmark names and comparison titles, kept for the whole run.
    static std::vector<std::string> names;
    static std::vector<std::string> titles;
    benchmark::RegisterBenchmark("BM_FrameCopyAlone", MeasureFrameCopy)
        ->Unit(benchmark::kMillisecond);
    for (const Screen& screen : screens) {
        names.push_back(std::string("BM_Screen/") + screen.name);
        titles.push_back(std::string(screen.name) + " per frame");
        benchmark::RegisterBenchmark(names.back().c_str(), [screen](benchmark::State& state) {
            MeasureScreen(state, screen);
        })->Unit(benchmark::kMillisecond);
    }
    std::vector<Comparison> comparisons;
    for (size_t i = 0; i < screens.size(); ++i) {
        comparisons.push_back({titles[i].c_str(), names[i].c_str(), "whole frame",
                               "BM_FrameCopyAlone", "frame copy alone", kFrameBudgetMilliseconds});
    }
    return RunWithComparisons(argc, argv, comparisons);
}

} // namespace bench
