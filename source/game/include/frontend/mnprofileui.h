// MNProfileUI: the profile screen ("profile_menu", and Head to Head's own instance): the
// player picks one of the four profile slots, creates a profile in an empty slot by typing
// its name on the on-screen keyboard, renames or erases one; in Head to Head mode two
// players each pick a profile or the guest. The UI owns its widget and its MNProfileMenu,
// which owns its screens and keyboard. Main thread only; a missing profile is logged and
// its slot shown empty, texts are cut to fit their buffers.
#pragma once

#include <services/mnsavedata.h>
#include <tui/tui.h>

#include <ui/kui.h>

namespace Kelvo_lib {

class MNKeyboard;
class MNProfile;

// Passes Tick and Render on to the profile menu. Created by class.
class MNProfileWidget : public kRTTI<MNProfileWidget, TUIWidgetBase, kCLSID<0, 0, 0, 0>> {};

class MNProfileMenu : public TUI {
public:
    static constexpr int kNumSlots = 4;
    static constexpr int kGuestIndex = 4;
    static constexpr int kNameLength = 32;
    static constexpr int kMaxTypedName = MN_TYPED_NAME_LETTERS;
    static constexpr int kWideButton = 256;
    static constexpr int kNarrowButton = 187;

    enum eState { STATE_CHOOSING = 0, STATE_CHOSEN = 2, STATE_BACK = 3 };

    MNProfileMenu();
    ~MNProfileMenu() override;

    void Tick(float delta) override;
    // The keyboard under the name screen, then the active screen.
    void Render() override;
    void ButtonPressed(TUIScreen* screen, TUIButton* button) override;
    void ButtonSelected(TUIScreen* screen, TUIButton* button) override;
    void RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) override;
    void SpinnerPressed(TUIScreen* screen, TUISpinner* spinner) override;
    void RadioButtonSelected(TUIScreen* screen, TUIRadioButton* radio) override;

    // Builds the screens again when the language changed, then shows the main screen with
    // the active profile's button highlighted.
    void Rebuild();
    // The slots' names and flags from the save block; the first slot selected.
    void ReloadProfiles();
    // Turns the screen into the choice of player playerNum (1 or 2); bBack: player 2 went
    // back to player 1, whose last pick stays.
    void SetHeadToHeadMode(int playerNum, bool bBack);

    int GetState() const { return m_state; }
    void SetState(int state) { m_state = state; }
    const char* GetHeadToHeadName() const { return m_headToHeadName; }
    int GetHeadToHeadPlayerIndex() const { return m_headToHeadPlayerIndex; }
    bool IsHeadToHeadMode() const { return m_bHeadToHeadMode; }
    int GetProfileIndex() const { return m_profileIndex; }
    const char* GetProfileName(int slot) const;
    bool IsProfileValid(int slot) const;

    // The menu's screens and buttons, for callers that look at what shows.
    TUIScreen* GetMainScreen() const { return m_mainScreen; }
    TUIScreen* GetEraseScreen() const { return m_eraseScreen; }
    TUIScreen* GetNameScreen() const { return m_editNameScreen; }
    TUIButton* GetProfileButton(int slot) const;
    TUIButton* GetGuestButton() const { return m_guestButton; }
    TUIButton* GetEditButton() const { return m_editButton; }
    TUIButton* GetEraseButton() const { return m_eraseButton; }
    TUIButton* GetSaveButton() const { return m_saveButton; }
    TUIButton* GetYesButton() const { return m_yesButton; }
    TUIButton* GetNoButton() const { return m_noButton; }
    MNKeyboard* GetKeyboard() const { return m_keyboard; }
    // Where a component of this menu is drawn, in pixels.
    kUIRect GetBounds(const TUIComponent* component) const { return component->Bounds(m_art); }

private:
    void Build();
    void BuildMainScreen();
    void BuildEraseScreen();
    void BuildNameScreen();
    void RemoveScreens();
    void LoadSlot(int slot, bool bLogMissing);
    void SetDefaultName(int slot);
    void SelectSlotButton(TUIButton* selected);
    int SlotOf(const TUIButton* button) const;
    void PlayPressSound(const TUIScreen* screen, const TUIButton* button);

    void MainScreenPressed(TUIButton* button);
    void ProfilePressed(int slot);
    void ChooseProfile(int slot);
    void GuestPressed();
    void StartNameEntry(bool bRename);
    void ErasePressed(TUIButton* button);
    void NameScreenPressed(TUIButton* button);
    void SaveName();

    void TickKeyboard();

    TUIScreen* m_mainScreen = nullptr;
    TUIButton* m_profileButtons[kNumSlots] = {};
    TUIButton* m_editButton = nullptr;
    TUIButton* m_eraseButton = nullptr;
    TUIText* m_title = nullptr;
    TUIText* m_description = nullptr;
    TUIText* m_subTitle = nullptr;
    TUIButton* m_guestButton = nullptr;
    TUIButton* m_backButton = nullptr;
    TUIScreen* m_eraseScreen = nullptr;
    TUIButton* m_yesButton = nullptr;
    TUIButton* m_noButton = nullptr;
    TUIScreen* m_editNameScreen = nullptr;
    TUIButton* m_saveButton = nullptr;
    MNKeyboard* m_keyboard = nullptr;
    bool m_bKeyboardDebounce = false;
    char m_savedName[kNameLength] = {};
    int m_profileIndex = 0;
    char m_profileName[kNumSlots][kNameLength] = {};
    bool m_profileValid[kNumSlots] = {};
    int m_profileHanded[kNumSlots] = {1, 1, 1, 1};
    int m_currentHanded = 1;
    char* m_currentProfileName = m_profileName[0];
    char m_headToHeadName[kNameLength] = {};
    char m_guestName[kNameLength] = {};
    int m_state = STATE_CHOOSING;
    int m_languageBuilt = -1;
    bool m_bHeadToHeadMode = false;
    int m_headToHeadPlayerIndex = -1;
    int m_playerNum = 1; // shown in the Head to Head subtitle
};

class MNProfileUI : public kUI, public kHasSlots<> {
public:
    enum eState {
        STATE_CHOOSING = MNProfileMenu::STATE_CHOOSING,
        STATE_CHOSEN = MNProfileMenu::STATE_CHOSEN,
        STATE_BACK = MNProfileMenu::STATE_BACK,
    };

    MNProfileUI() = default;
    ~MNProfileUI() override;

    void Init() override;
    void Deinit() override;
    void Activate(kUILayer* layer) override;
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return m_widget; }
    // Outside Head to Head, once a profile is chosen the main menu comes up on the layer.
    void Tick(float delta) override;

    void SetHeadToHeadMode(int playerNum, bool bBack);
    int GetState() const;
    void SetState(int state);
    const char* GetHeadToHeadName() const;
    void ReloadProfiles();
    void Rebuild();
    MNProfileMenu* GetMenu() const { return m_menu; }

private:
    void Free();

    MNProfileWidget* m_widget = nullptr;
    MNProfileMenu* m_menu = nullptr;
    kUILayer* m_layer = nullptr;
};

} // namespace Kelvo_lib
