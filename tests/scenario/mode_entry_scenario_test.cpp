// Every mode reached from the main menu and left again, in the real game by input script
// alone: each shows its screen with the pointer drawn and gives the main menu back.
#include "game_run.h"
#include "png_golden.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace mode_entry_scenario {

using game_run::At;
using game_run::Click;

// Each mode: its row on the main menu, and the way back from the screen it opens with: a
// click at a place, or B when the place is negative.
struct Mode {
    const char* name;
    int row;
    int backX, backY;
};
constexpr Mode kModes[] = {
    {"Tournament", 114, 80, 460},
    {"Quick Blast", 164, 60, 460},
    {"Fast and Fun", 263, 30, 466},
    {"Head to Head", 312, 82, 460}, // player 1's choice: its back button
};
constexpr int kAwayX = 500, kAwayY = 400;
constexpr int kRestX = 600, kRestY = 40;
constexpr int kMenuFrame = 500; // the profile made and chosen: the main menu is up
constexpr int kPerMode = 60;

// The Tournament's button on the main menu: sky at rest, sun yellow when last chosen.
constexpr int kButtonX = 205, kButtonY = 110;
constexpr u32 kSky = 0x4D9DE0, kSun = 0xFFD23F;

bool Near(u32 a, u32 b) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > 16) {
            return false;
        }
    }
    return true;
}

// Whether the shot shows the main menu, told by its Tournament button (the background
// drifts, so whole pictures differ from frame to frame).
bool ShowsMainMenu(const std::filesystem::path& shot) {
    png_golden::Image image;
    if (!png_golden::ReadPng(shot.string(), image) || image.width <= kButtonX) {
        return false;
    }
    const u32 colour = image.rgb[kButtonY * image.width + kButtonX];
    return Near(colour, kSky) || Near(colour, kSun);
}

std::string Frame(int frame, const std::string& events) {
    return std::to_string(frame) + " " + events + "\n";
}

// The first profile "A" made and chosen, then each mode entered and left.
std::string Script() {
    game_run::Script start;
    start.MakeFirstProfile("A"); // the main menu from kMenuFrame
    std::string script = start.text;
    for (int i = 0; i < 4; ++i) {
        const int frame = kMenuFrame + i * kPerMode;
        const Mode& mode = kModes[i];
        script += Click(frame, 320, mode.row);
        script += Frame(frame + 20, At(kAwayX, kAwayY));
        if (mode.backX < 0) {
            script += Frame(frame + 28, "hold B") + Frame(frame + 30, "hold none");
        } else {
            script += Click(frame + 28, mode.backX, mode.backY);
        }
        script += Frame(frame + 45, At(kRestX, kRestY));
    }
    return script;
}

class ModeEntryScenarioTest : public game_run::GameRunTest {};

TEST_F(ModeEntryScenarioTest, EachModeShowsThePointerAndGivesTheMainMenuBack) {
    std::string options;
    for (int i = 0; i < 4; ++i) {
        const int frame = kMenuFrame + i * kPerMode;
        const std::string index = std::to_string(i);
        options += Screenshot(("mode_entry_in_" + index).c_str(), frame + 25);
        options += Screenshot(("mode_entry_back_" + index).c_str(), frame + 50);
    }
    std::string log;
    const int frames = kMenuFrame + 4 * kPerMode;
    ASSERT_EQ(RunGame(Script(), frames, options, log), 0) << log;
    EXPECT_TRUE(ShotMatches("mode_entry_in_0")) << "the Tournament's screen with the pointer";
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kModes[i].name);
        const std::string index = std::to_string(i);
        EXPECT_FALSE(ShowsMainMenu(s_dir / ("mode_entry_in_" + index + ".png")));
        EXPECT_TRUE(ShowsMainMenu(s_dir / ("mode_entry_back_" + index + ".png")));
    }
}

} // namespace mode_entry_scenario
