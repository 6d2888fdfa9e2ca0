// The mode menus' base: its screens built again only after the language changed, IsOpen and
// IsGame from m_state, the kinds' names, and the sounds of hovering and pressing that every mode
// menu shares.
#include "game_ui_fixture.h"

#include <modes/mnmodemenu.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;

class CountingMenu : public MNModeMenu {
public:
    CountingMenu() : MNModeMenu(nullptr) { BuildScreens(); }

    void SetState(int state) { m_state = state; }
    TUIScreen* Screen() const { return m_screen; }

    int builds = 0;
    int removals = 0;

private:
    void Build() override {
        ++builds;
        m_screen = AddScreen();
    }
    void RemoveScreens() override {
        ++removals;
        RemoveScreen(m_screen);
    }

    TUIScreen* m_screen = nullptr;
};

using ModeMenuTest = GameUITest;

TEST_F(ModeMenuTest, ScreensAreBuiltAgainOnlyAfterTheLanguageChanged) {
    CountingMenu menu;
    EXPECT_EQ(menu.builds, 1);
    menu.Rebuild();
    EXPECT_EQ(menu.builds, 1);
    MNProfileManager::SetLanguage(MNProfileManager::GetLanguage(), false, false);
    menu.Rebuild();
    menu.Rebuild();
    EXPECT_EQ(menu.builds, 2);
    EXPECT_EQ(menu.removals, 1);
}

TEST_F(ModeMenuTest, KindsAreNamedInTheMenusOrderAndOtherFlagsNotAtAll) {
    const struct {
        int typeFlag;
        const char* name;
    } kinds[] = {{PUZZLE_FLAG_CROSSWORD, "Crossword"},
                 {PUZZLE_FLAG_FITWORD, "Fitword"},
                 {PUZZLE_FLAG_SUDOKU, "Sudoku"},
                 {PUZZLE_FLAG_WORDSEARCH, "Wordsearch"}};
    for (const auto& kind : kinds) {
        EXPECT_STREQ(MNModeMenu::KindName(kind.typeFlag), kind.name);
    }
    EXPECT_EQ(MNModeMenu::KindName(0), nullptr);
    EXPECT_EQ(MNModeMenu::KindName(PUZZLE_FLAG_ANAGRAM), nullptr);
}

TEST_F(ModeMenuTest, OpenAndGameFollowTheState) {
    CountingMenu menu;
    EXPECT_FALSE(menu.IsOpen() || menu.IsGame());
    menu.SetState(MNModeMenu::STATE_OPEN);
    EXPECT_TRUE(menu.IsOpen());
    EXPECT_FALSE(menu.IsGame());
    menu.SetState(MNModeMenu::STATE_GAME);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_TRUE(menu.IsGame());
}

TEST_F(ModeMenuTest, HoveringAndPressingPlayTheSharedSounds) {
    CountingMenu menu;
    TUIButton* const button = menu.AddButton(menu.Screen(), "OK", 0.5f, 0.5f);
    TUIRadioButton* const radio = menu.AddRadioButton(menu.Screen(), "Radio", 0.5f, 0.6f);
    kArray<TUIString> entries;
    entries.Push(TUIString("one"));
    TUISpinner* const spinner = menu.AddSpinner(menu.Screen(), entries, 0.5f, 0.7f);

    menu.ButtonSelected(menu.Screen(), button);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_HIGHLIGHT);
    button->m_bEnabled = false;
    menu.ButtonSelected(menu.Screen(), button);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_HIGHLIGHT_DISABLED);
    radio->m_bOn = true;
    menu.RadioButtonPressed(menu.Screen(), radio);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_RADIO_ON);
    radio->m_bOn = false;
    menu.RadioButtonPressed(menu.Screen(), radio);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_RADIO_OFF);
    menu.SpinnerPressed(menu.Screen(), spinner);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_SPINNER);
    menu.RadioButtonSelected(menu.Screen(), radio);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_HIGHLIGHT);
    MNSound::PlaySoundEffect(SFX_BACK);
    menu.SpinnerSelected(menu.Screen(), spinner);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_HIGHLIGHT);
}

} // namespace
