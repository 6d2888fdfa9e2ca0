// The profile screen in the real front end over a fresh flash memory, driven by scripted
// pointer moves and A presses: the two-press choice, name entry on the keyboard, rename,
// erase with its confirmation, choosing a profile, and the Head to Head choice of players.
#include "frontend_fixture.h"
#include "log_capture.h"

#include <services/mnsound.h>
#include <tui/mnkeyboard.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using frontend_test::FrontEndTest;
using test_support::LogCapture;

class ProfileScreenTest : public FrontEndTest {
protected:
    void Press(const TUIComponent* component) { ClickAt(ProfilePlace(component)); }
    void PressSlot(int slot) { Press(Menu()->GetProfileButton(slot)); }
    MNProfileMenu* Menu() { return ProfileMenu(); }

    // One press of a keyboard key per letter ('\b' for backspace).
    void Type(const std::string& letters) {
        MNKeyboard* keyboard = Menu()->GetKeyboard();
        for (char letter : letters) {
            int index = keyboard->GetNumKeys() - 1;
            while (index >= 0 && keyboard->GetLetter(index) != letter) {
                --index;
            }
            ASSERT_GE(index, 0) << letter;
            const MNKeyboardKey& key = keyboard->GetKey(index);
            ClickAt(
                PointAt(static_cast<int>(key.x + key.w / 2), static_cast<int>(key.y + key.h / 2)));
        }
    }
    // Creates a profile in an empty slot as a player does: select, open, type, save.
    void Create(int slot, const std::string& name) {
        if (Menu()->GetProfileButton(slot)->m_fixWidth != MNProfileMenu::kWideButton) {
            PressSlot(slot);
        }
        PressSlot(slot);
        Type(name);
        Press(Menu()->GetSaveButton());
    }
    const MNSaveProfileData& Record(int slot) {
        return MNProfileManager::GetSaveData().profiles[slot];
    }
    int Saves(const LogCapture& log) { return log.Count("MNProfileManager: save written"); }
};

TEST_F(ProfileScreenTest, AFreshBlockShowsDefaultNamesAndTheSecondPressOpensNameEntry) {
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_STREQ(Menu()->GetProfileName(slot), ("Player " + std::to_string(slot + 1)).c_str());
        EXPECT_EQ(Menu()->GetProfileButton(slot)->m_fixWidth, slot == 0 ? 256 : 187);
    }
    EXPECT_FALSE(Menu()->GetEraseButton()->m_bVisible);
    PressSlot(1);
    EXPECT_EQ(Menu()->GetActiveScreen(), Menu()->GetMainScreen());
    EXPECT_EQ(Menu()->GetProfileButton(1)->m_fixWidth, 256);
    EXPECT_EQ(Menu()->GetProfileButton(0)->m_fixWidth, 187);
    PressSlot(1);
    EXPECT_EQ(Menu()->GetActiveScreen(), Menu()->GetNameScreen());
    EXPECT_EQ(Menu()->GetKeyboard()->GetCursorPos(), -1);
    Frames(1);
    EXPECT_FALSE(Menu()->GetSaveButton()->m_bEnabled); // nothing typed yet
}

TEST_F(ProfileScreenTest, SavingATypedNameCreatesTheProfileWithoutChoosingIt) {
    LogCapture log;
    Create(1, "AB");
    EXPECT_EQ(Menu()->GetActiveScreen(), Menu()->GetMainScreen());
    EXPECT_EQ(Record(1).bUsed, 1);
    EXPECT_STREQ(Record(1).name, "AB");
    EXPECT_EQ(Record(1).handedness, 1);
    EXPECT_STREQ(Menu()->GetProfileName(1), "AB");
    EXPECT_TRUE(Menu()->IsProfileValid(1));
    EXPECT_TRUE(Menu()->GetEraseButton()->m_bVisible);
    EXPECT_EQ(Saves(log), 1);
    EXPECT_EQ(Menu()->GetState(), MNProfileMenu::STATE_CHOOSING);
    EXPECT_EQ(TopId(), "profile_menu");
}

TEST_F(ProfileScreenTest, NamesAreCutAtEightLettersAndBlankNamesCannotBeSaved) {
    PressSlot(2);
    PressSlot(2);
    Type("   ");
    EXPECT_FALSE(Menu()->GetSaveButton()->m_bEnabled);
    Type("\b\b\bABCDEFGHIJK");
    EXPECT_TRUE(Menu()->GetSaveButton()->m_bEnabled);
    Press(Menu()->GetSaveButton());
    EXPECT_STREQ(Record(2).name, "ABCDEFGH");
}

TEST_F(ProfileScreenTest, RenameKeepsTheRecordAndBackPutsTheOldNameBack) {
    Create(0, "ANNA");
    MNProfileManager::GetProfile(0)->SetMusicVolume(2);
    Press(Menu()->GetEditButton());
    EXPECT_STREQ(Menu()->GetKeyboard()->GetString(), "ANNA    ");
    EXPECT_EQ(Menu()->GetKeyboard()->GetCursorPos(), 3);
    Type("\bE");
    EXPECT_STREQ(Menu()->GetProfileName(0), "ANNE"); // the button follows the typing
    ClickAt(PointAt(30, static_cast<int>(TUIArt::DisplayHeight()) - 30));
    EXPECT_STREQ(Menu()->GetProfileName(0), "ANNA");
    EXPECT_STREQ(Record(0).name, "ANNA");

    Press(Menu()->GetEditButton());
    Type("S");
    Press(Menu()->GetSaveButton());
    EXPECT_STREQ(Record(0).name, "ANNAS");
    EXPECT_EQ(Record(0).musicVolume, 2);
}

TEST_F(ProfileScreenTest, EraseAsksFirstThenClearsTheSlot) {
    Create(0, "ZED");
    LogCapture log;
    Press(Menu()->GetEraseButton());
    EXPECT_EQ(Menu()->GetActiveScreen(), Menu()->GetEraseScreen());
    Press(Menu()->GetNoButton());
    EXPECT_EQ(Menu()->GetActiveScreen(), Menu()->GetMainScreen());
    EXPECT_EQ(Record(0).bUsed, 1);
    Press(Menu()->GetEraseButton());
    Press(Menu()->GetYesButton());
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_ERASE);
    EXPECT_EQ(Record(0).bUsed, 0);
    EXPECT_STREQ(Record(0).name, "Player 1");
    EXPECT_FALSE(Menu()->IsProfileValid(0));
    EXPECT_FALSE(Menu()->GetEraseButton()->m_bVisible);
    EXPECT_EQ(Saves(log), 1);
    PressSlot(0);
    EXPECT_EQ(Menu()->GetActiveScreen(), Menu()->GetNameScreen());
}

// Each rebuild highlights the active profile's button with the hover sound, also where the
// highlight stays on it.
TEST_F(ProfileScreenTest, EveryRebuildHighlightsTheActiveProfileWithTheHoverSound) {
    for (int i = 0; i < 2; ++i) {
        MNSound::PlaySoundEffect(SFX_PRESS);
        Menu()->Rebuild();
        EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_HIGHLIGHT) << i;
        EXPECT_EQ(Menu()->GetMainScreen()->m_activeComponent, Menu()->GetProfileButton(0));
    }
}

TEST_F(ProfileScreenTest, ChoosingAProfileAppliesItsVolumesSavesAndOpensTheMainMenu) {
    Create(3, "KIM");
    MNProfileManager::GetProfile(3)->SetSoundVolume(5);
    MNProfileManager::GetProfile(3)->SetMusicVolume(3);
    LogCapture log;
    PressSlot(3);
    Frames(1);
    EXPECT_EQ(MNProfileManager::GetActiveProfileIndex(), 3);
    EXPECT_EQ(MNSound::GetSoundEffectVolume(), 5);
    EXPECT_EQ(MNSound::GetMusicVolume(), 3);
    EXPECT_EQ(Saves(log), 1);
    EXPECT_EQ(TopId(), "main_menu");
    // Coming back highlights the active profile's button.
    Back();
    EXPECT_EQ(TopId(), "profile_menu");
    EXPECT_EQ(Menu()->GetMainScreen()->m_activeComponent, Menu()->GetProfileButton(3));
}

// Head to Head uses its own instance: two players pick a profile or the guest in turn.
class HeadToHeadChoiceTest : public ProfileScreenTest {
protected:
    void SetUp() override {
        ProfileScreenTest::SetUp();
        Create(0, "ANN");
        Create(2, "CY");
        Manager().AddUI("head_to_head_profile_select", &m_choice);
        Manager().PushLayer("h2h")->PushUI(&m_choice);
        m_choice.SetHeadToHeadMode(1, false);
    }
    void TearDown() override {
        Manager().PopLayer();
        Manager().RemoveUI("head_to_head_profile_select");
        ProfileScreenTest::TearDown();
    }
    MNProfileMenu* Choice() { return m_choice.GetMenu(); }
    void Pick(TUIButton* button) {
        ClickAt(ChoicePlace(button));
        ClickAt(ChoicePlace(button));
    }
    std::string ChoicePlace(const TUIComponent* component) {
        const kUIRect rect = Choice()->GetBounds(component);
        return PointAt(static_cast<int>(rect.x + rect.w / 2),
                       static_cast<int>(rect.y + rect.h / 2));
    }
    std::vector<bool> Enabled() {
        std::vector<bool> enabled;
        for (int slot = 0; slot < 4; ++slot) {
            enabled.push_back(Choice()->GetProfileButton(slot)->m_bEnabled);
        }
        enabled.push_back(Choice()->GetGuestButton()->m_bEnabled);
        return enabled;
    }

    MNProfileUI m_choice;
};

TEST_F(HeadToHeadChoiceTest, ThePickOfPlayerOneIsClosedToPlayerTwo) {
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, false, true}));
    EXPECT_FALSE(Choice()->GetEditButton()->m_bVisible);
    Pick(Choice()->GetProfileButton(2));
    EXPECT_EQ(m_choice.GetState(), MNProfileUI::STATE_CHOSEN);
    EXPECT_STREQ(m_choice.GetHeadToHeadName(), "CY");
    Frames(1);
    EXPECT_EQ(TopId(), "head_to_head_profile_select") << "it never opens the main menu";
    m_choice.SetState(MNProfileUI::STATE_CHOOSING);
    m_choice.SetHeadToHeadMode(2, false);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, false, false, true}));
    Pick(Choice()->GetGuestButton());
    EXPECT_STREQ(m_choice.GetHeadToHeadName(), "Guest");
    EXPECT_EQ(Choice()->GetHeadToHeadPlayerIndex(), MNProfileMenu::kGuestIndex);
}

TEST_F(HeadToHeadChoiceTest, AGuestPlayerOneLeavesTheGuestClosedAndBackIsReported) {
    Pick(Choice()->GetGuestButton());
    m_choice.SetState(MNProfileUI::STATE_CHOOSING);
    m_choice.SetHeadToHeadMode(2, false);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, false, false}));
    ClickAt(PointAt(30, static_cast<int>(TUIArt::DisplayHeight()) - 30));
    EXPECT_EQ(m_choice.GetState(), MNProfileUI::STATE_BACK);
}

} // namespace
