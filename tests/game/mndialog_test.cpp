// The system-dialog layer: which console events open and close dialogs, options chosen with
// the pointer and A, how RESET and POWER end the run, and the dialog box's layout.
#include "game_ui_fixture.h"
#include "log_capture.h"
#include "temporary_host_directory.h"

#include <services/mndialog.h>
#include <services/mndialogbox.h>
#include <shell/mnbuiltinbanks.h>

#include <framework/kdialog.h>
#include <framework/kevent.h>
#include <framework/kspritemanager.h>
#include <framework/kstoragemanager.h>

#include <console/hbm.h>
#include <console/wpad.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using namespace Kelvo_lib;

class MNDialogTest : public GameUITest {
protected:
    static float Width() { return static_cast<float>(kSpriteManager::GetDisplayWidth()); }
    static float Height() { return static_cast<float>(kSpriteManager::GetDisplayHeight()); }

    void SetUp() override {
        GameUITest::SetUp();
        MNBuiltInBanks::Register();
        kEvent::Init();
        kDialogManager::Init(nullptr, nullptr, nullptr);
        MNDialog::Init();
        MNDialog::PreloadHomeMenu();
    }

    void TearDown() override {
        MNDialog::Deinit();
        kDialogManager::Deinit();
        kEvent::Deinit();
        GameUITest::TearDown();
    }

    // One frame with the pointer at pixel (x, y) and A held or not.
    void Frame(float x, float y, bool bHoldA) {
        HostInputSetPointer(0, x / Width(), y / Height());
        HostInputSetHeld(0, bHoldA ? u32{WPAD_BUTTON_A} : 0u);
        Step();
        MNDialog::Tick(0.02f);
    }

    // A press and release at the centre of a rectangle.
    void ClickAt(const MNDialogBox::Rect& rect) {
        Frame(rect.x + rect.w / 2, rect.y + rect.h / 2, true);
        Frame(rect.x + rect.w / 2, rect.y + rect.h / 2, false);
    }
};

TEST_F(MNDialogTest, OnlyPlayerOnesRemoteAndTheDiscOpenAndCloseTheirDialogs) {
    kDialog remote("", "", kEvent::kDialogPriority);
    kDialog disc("", "", kEvent::kDialogPriority);
    kEvent::ControllerCommunicationLostSignal(&remote, 1);
    EXPECT_FALSE(MNDialog::IsDialogOpen()) << "another remote than player 1's";
    kEvent::ControllerCommunicationLostSignal(&remote, 0);
    EXPECT_TRUE(MNDialog::IsDialogOpen());
    kEvent::DiscErrorSignal(&disc);
    EXPECT_EQ(kDialogManager::GetActiveDialog(), &disc);
    kEvent::ControllerCommunicationEstablishedSignal(&remote, 1);
    EXPECT_TRUE(kDialogManager::IsOpen(&remote));
    kEvent::ControllerCommunicationEstablishedSignal(&remote, 0);
    kEvent::DiscOkSignal(&disc);
    EXPECT_FALSE(MNDialog::IsDialogOpen());
}

TEST_F(MNDialogTest, APressOverAnOptionChoosesItAndClosesTheDialog) {
    for (int chosen : {0, 1}) {
        kDialog dialog("Title", "Body", 3);
        dialog.m_optionList.Push("Yes");
        dialog.m_optionList.Push("No");
        kDialogManager::Open(&dialog);
        MNDialogBox box;
        box.Layout(dialog);
        ASSERT_EQ(box.GetNumButtons(), 2);

        ClickAt(box.GetPanel()); // the panel between the texts is no button
        ASSERT_TRUE(kDialogManager::IsOpen(&dialog));
        ClickAt(box.GetButton(chosen));
        EXPECT_FALSE(kDialogManager::IsOpen(&dialog));
        EXPECT_EQ(dialog.m_currentOption, chosen);
    }
}

TEST_F(MNDialogTest, ResetOrPowerBlacksTheScreenAndEndsTheRunOnceAndPowerWins) {
    struct Case {
        bool bReset;
        bool bPower;
        MNDialog::eExit exit;
    };
    const Case cases[] = {{true, false, MNDialog::EXIT_RESET},
                          {false, true, MNDialog::EXIT_POWER},
                          {true, true, MNDialog::EXIT_RESET}}; // the reset was carried out first
    for (const Case& c : cases) {
        MNDialog::Deinit();
        MNDialog::Init();
        EXPECT_FALSE(MNDialog::IsScreenBlack());
        if (c.bReset) {
            kEvent::ResetButtonSignal();
        }
        if (c.bPower) {
            kEvent::PowerButtonSignal();
        }
        MNDialog::Tick(0.02f);
        EXPECT_TRUE(MNDialog::IsExitRequested());
        EXPECT_TRUE(MNDialog::IsScreenBlack());
        EXPECT_EQ(MNDialog::GetExit(), c.exit);
    }
}

// RESET pressed while the save is being written (the console's events are polled inside the
// flash-memory wait): the screen goes black at once, the run ends only after the save, and
// the save file holds the whole block.
TEST_F(MNDialogTest, ResetDuringASaveWaitsForTheSaveAndTheFileIsComplete) {
    test_support::TemporaryNand nand;
    constexpr int kSize = 5972;
    kStorageManager::Init(kSize, "", "");
    kStorageManager::SetAutoSave(true);
    std::vector<u8> block(kSize, 0);
    kStorageManager::LoadData(block.data()); // creates the file
    for (int i = 0; i < kSize; ++i) {
        block[i] = static_cast<u8>(i * 7);
    }
    struct ResetInTheWait : public kHasSlots<> {
        void OnHome() {
            bSaving = kStorageManager::IsSaving();
            kEvent::ResetButtonSignal(); // as the console's RESET does
            bEndedMeanwhile = MNDialog::IsExitRequested();
            bBlack = MNDialog::IsScreenBlack();
        }
        bool bSaving = false;
        bool bEndedMeanwhile = true;
        bool bBlack = false;
    } listener;
    kEvent::HomeButtonSignal.Connect(&listener, &ResetInTheWait::OnHome);
    HostInputSetHeld(0, WPAD_BUTTON_HOME); // seen by the first poll inside the save
    kStorageManager::SaveData(block.data());
    HostInputSetHeld(0, 0);
    ASSERT_TRUE(listener.bSaving);
    EXPECT_FALSE(listener.bEndedMeanwhile);
    EXPECT_TRUE(listener.bBlack);
    MNDialog::Tick(0.02f);
    EXPECT_EQ(MNDialog::GetExit(), MNDialog::EXIT_RESET);

    std::vector<u8> file;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(nand.Root())) {
        if (entry.path().filename() == "save.dat") {
            std::ifstream in(entry.path(), std::ios::binary);
            file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    ASSERT_GE(file.size(), block.size());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), file.begin()));
    kStorageManager::Deinit();
}

// HOME not allowed shows its sign for a second instead; a HOME press while a dialog is
// open is ignored.
TEST_F(MNDialogTest, HomeOpensTheMenuOnlyWhenAllowedAndNothingElseIsOpen) {
    struct Case {
        bool bEnabled;
        bool bDialogOpen;
        bool bOpens;
        bool bSign;
    };
    const Case cases[] = {
        {true, false, true, false}, {false, false, false, true}, {true, true, false, false}};
    for (const Case& c : cases) {
        kDialog dialog("", "Body", 3);
        if (c.bDialogOpen) {
            kDialogManager::Open(&dialog);
        }
        MNDialog::SetHomeButtonEnabled(c.bEnabled);
        kEvent::HomeButtonSignal();
        EXPECT_EQ(HBMIsOpen(), c.bOpens) << c.bEnabled << c.bDialogOpen;
        EXPECT_TRUE(MNDialog::IsDialogOpen() == (c.bOpens || c.bDialogOpen));
        EXPECT_EQ(MNDialog::IsHomeOffIconShown(), c.bSign) << c.bEnabled << c.bDialogOpen;
        MNDialog::Tick(0.98f);
        EXPECT_EQ(MNDialog::IsHomeOffIconShown(), c.bSign) << "still shown";
        MNDialog::Tick(0.04f);
        EXPECT_FALSE(MNDialog::IsHomeOffIconShown()) << "gone after a second";
        if (c.bOpens) {
            kEvent::HomeButtonSignal(); // HOME again closes the menu
        }
        EXPECT_FALSE(HBMIsOpen());
        MNDialog::SetHomeButtonEnabled(true);
        kDialogManager::Close(&dialog);
    }
}

// The sign says HOME is refused: it goes the moment HOME is allowed (the strap screen ends
// while it shows) and does not come back when HOME is refused again.
TEST_F(MNDialogTest, TheHomeSignGoesOnceHomeIsAllowed) {
    MNDialog::SetHomeButtonEnabled(false);
    kEvent::HomeButtonSignal();
    MNDialog::Tick(0.5f);
    ASSERT_TRUE(MNDialog::IsHomeOffIconShown());
    MNDialog::SetHomeButtonEnabled(true);
    EXPECT_FALSE(MNDialog::IsHomeOffIconShown());
    EXPECT_FALSE(HBMIsOpen());
    MNDialog::SetHomeButtonEnabled(false);
    EXPECT_FALSE(MNDialog::IsHomeOffIconShown());
    MNDialog::SetHomeButtonEnabled(true);
}

// The entry point preloads the menu at start-up; before that HOME opens nothing.
TEST_F(MNDialogTest, HomeOpensNoMenuUntilItIsPreloaded) {
    MNDialog::Deinit();
    MNDialog::Init();
    kEvent::HomeButtonSignal();
    EXPECT_FALSE(HBMIsOpen());
    EXPECT_FALSE(MNDialog::IsDialogOpen());
    MNDialog::PreloadHomeMenu();
    kEvent::HomeButtonSignal();
    EXPECT_TRUE(HBMIsOpen());
    MNDialog::Render();
    kEvent::HomeButtonSignal();
    EXPECT_FALSE(HBMIsOpen());
}

TEST_F(MNDialogTest, HomeMenuChoicesCloseItResetOrReturnToTheConsoleMenu) {
    struct Case {
        HBMSelect choice;
        MNDialog::eExit exit;
    };
    const Case cases[] = {{HBM_SELECT_CLOSE, MNDialog::EXIT_NONE},
                          {HBM_SELECT_RESET, MNDialog::EXIT_RESET},
                          {HBM_SELECT_MENU, MNDialog::EXIT_MENU}};
    for (const Case& c : cases) {
        MNDialog::Deinit();
        MNDialog::Init();
        MNDialog::PreloadHomeMenu();
        kEvent::HomeButtonSignal();
        ASSERT_TRUE(HBMIsOpen());
        const HBMButton& button = HBMGetButton(c.choice);
        const MNDialogBox::Rect rect = {button.x * Width(), button.y * Height(), button.w * Width(),
                                        button.h * Height()};
        ClickAt(rect);
        EXPECT_FALSE(HBMIsOpen()) << c.choice;
        EXPECT_EQ(MNDialog::GetExit(), c.exit) << c.choice;
    }
}

TEST_F(MNDialogTest, DialogBoxReadsTextsByIdInEnglishBeforeALanguageIsSet) {
    kText::SetLanguage(KTEXT_NONE);
    EXPECT_STRNE(MNDialogBox::TextOf(101, "literal").CStr(), "NO LANGUAGE SET");
    EXPECT_STREQ(MNDialogBox::TextOf(101, "").CStr(), kText::SystemText(101, KTEXT_UK_ENGLISH));
    EXPECT_STREQ(MNDialogBox::TextOf(-1, "literal").CStr(), "literal");
}

TEST_F(MNDialogTest, LongOptionsStackInsideThePanelWithoutOverlapping) {
    struct Case {
        const char* first;
        const char* second;
    };
    const Case cases[] = {{"Yes", "No"},
                          {"Continue without saving", "Return to the Wii Menu Screen"}};
    for (const Case& c : cases) {
        kDialog dialog("", "A body long enough to be wrapped over more than one line of the panel.",
                       3);
        dialog.m_optionList.Push(c.first);
        dialog.m_optionList.Push(c.second);
        MNDialogBox box;
        box.Layout(dialog);
        const MNDialogBox::Rect& panel = box.GetPanel();
        const MNDialogBox::Rect& a = box.GetButton(0);
        const MNDialogBox::Rect& b = box.GetButton(1);
        for (const MNDialogBox::Rect& r : {a, b}) {
            EXPECT_TRUE(panel.Contains(r.x, r.y) && panel.Contains(r.x + r.w - 1, r.y + r.h - 1))
                << c.first;
        }
        EXPECT_TRUE(a.x + a.w <= b.x || a.y + a.h <= b.y) << c.first;
        EXPECT_EQ(box.OptionAt(b.x + 1, b.y + 1), 1);
    }
}

} // namespace
