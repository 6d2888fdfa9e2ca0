// Golden pictures of Head to Head's variant choice over the menus' background in both TV
// formats: the pointer on each variant's button, its name and details in the pop-up beside the
// buttons, and both variants, each under its name, on the panel.
#include "frame_step.h"
#include "game_golden_fixture.h"

#include <modes/mnheadtoheadmenu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

using namespace Kelvo_lib;

class HeadToHeadMenuGoldenTest : public ui_test::InTvFormat<GameGoldenTest> {};

TEST_P(HeadToHeadMenuGoldenTest, TheVariantUnderThePointerShowsInThePopUp) {
    MNHeadToHeadMenu menu(nullptr);
    menu.Open();
    std::string tv = GetParam().name;
    std::transform(tv.begin(), tv.end(), tv.begin(), [](char c) { return std::tolower(c); });
    const struct {
        TUIButton* button;
        const char* golden;
    } variants[] = {{menu.GetModeSprintButton(), "head_to_head_sprint_pop_up"},
                    {menu.GetModeMarathonButton(), "head_to_head_marathon_pop_up"}};
    for (const auto& variant : variants) {
        const kUIRect button = menu.ActiveScreenBounds(variant.button);
        LoadScript({PointAt(static_cast<int>(button.x + 60), static_cast<int>(button.y + 20))});
        Step();
        menu.Tick(kFrame60Hz);
        DrawBackground(BACKGROUND_MENUS);
        menu.Render();
        EXPECT_TRUE(png_golden::MatchesGolden(variant.golden + ("_" + tv), Picture()));
    }
}

INSTANTIATE_TEST_SUITE_P(TvFormats, HeadToHeadMenuGoldenTest, ui_test::kTvFormats, ui_test::TvName);

} // namespace
