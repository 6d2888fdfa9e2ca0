#include <frontend/mnprofileui.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <tui/mnkeyboard.h>

#include <framework/kstoragemanager.h>
#include <framework/ktext.h>
#include <kelvo/platform/klog.h>

#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr float kSlotY[MNProfileMenu::kNumSlots] = {0.17f, 0.27f, 0.37f, 0.47f};
constexpr float kHeadToHeadSlotY[MNProfileMenu::kNumSlots] = {0.47f, 0.57f, 0.67f, 0.77f};
constexpr float kKeyboardX = 140.0f;
constexpr float kKeyboardY = 150.0f;
constexpr int kKeySpacing = 6;

// Bounded copy: the text is cut to fit and always terminated.
void CopyName(char* out, int capacity, const char* text) {
    int i = 0;
    for (; text != nullptr && i < capacity - 1 && text[i] != '\0'; ++i) {
        out[i] = text[i];
    }
    out[i] = '\0';
}

const char* TextOf(int id) {
    const char* const text = kText::Text(id);
    return text != nullptr ? text : "";
}

} // namespace

// --- MNProfileMenu ---

MNProfileMenu::MNProfileMenu() {
    m_keyboard = new MNKeyboard(MNProfileManager::GetLanguage(), true);
    m_keyboard->SetPosition(kKeyboardX, kKeyboardY);
    m_keyboard->SetColour(0xFF000000);
    m_keyboard->SetMaxStringLength(kMaxTypedName);
    kLogFmt("ProfileUI constructor\n");
    Build();
}

MNProfileMenu::~MNProfileMenu() {
    delete m_keyboard;
}

const char* MNProfileMenu::GetProfileName(int slot) const {
    return slot >= 0 && slot < kNumSlots ? m_profileName[slot] : "";
}

bool MNProfileMenu::IsProfileValid(int slot) const {
    return slot >= 0 && slot < kNumSlots && m_profileValid[slot];
}

TUIButton* MNProfileMenu::GetProfileButton(int slot) const {
    return slot >= 0 && slot < kNumSlots ? m_profileButtons[slot] : nullptr;
}

void MNProfileMenu::SetDefaultName(int slot) {
    CopyName(m_profileName[slot], kNameLength, TextOf(TEXT_PLAYER_1 + slot));
}

void MNProfileMenu::LoadSlot(int slot, bool bLogMissing) {
    MNProfile* const profile = MNProfileManager::GetProfile(slot);
    kLogFmt(" %d : %p\n", slot, static_cast<void*>(profile));
    if (profile == nullptr && bLogMissing) {
        kLogFmt("NULL PROFILE!!\n");
    }
    const MNSaveProfileData* const record = profile != nullptr ? profile->GetSaveData() : nullptr;
    if (record != nullptr && record->bUsed != 0) {
        CopyName(m_profileName[slot], kNameLength, profile->GetName());
        m_profileValid[slot] = true;
        m_profileHanded[slot] = record->handedness;
    } else {
        SetDefaultName(slot);
        m_profileValid[slot] = false;
        m_profileHanded[slot] = 1;
    }
    kLogFmt("  %d:%s: handed %d\n", slot, m_profileName[slot], m_profileHanded[slot]);
}

void MNProfileMenu::ReloadProfiles() {
    for (int slot = 0; slot < kNumSlots; ++slot) {
        LoadSlot(slot, true);
    }
    m_profileIndex = 0;
    m_currentProfileName = m_profileName[0];
}

void MNProfileMenu::Build() {
    m_languageBuilt = MNProfileManager::GetLanguageUpdateID();
    ReloadProfiles();
    m_currentHanded = m_profileHanded[0];
    CopyName(m_guestName, kNameLength, TextOf(TEXT_GUEST));
    BuildMainScreen();
    BuildEraseScreen();
    BuildNameScreen();
    SetActiveScreen(m_mainScreen);
}

void MNProfileMenu::BuildMainScreen() {
    m_mainScreen = AddScreen();
    for (int slot = 0; slot < kNumSlots; ++slot) {
        m_profileButtons[slot] =
            AddButton(m_mainScreen, TUIString("%s", m_profileName[slot]), 0.5f, kSlotY[slot], false,
                      slot == 0 ? kWideButton : kNarrowButton);
    }
    m_editButton =
        AddButton(m_mainScreen, TextOf(TEXT_EDIT_PROFILE_NAME), 0.5f, 0.73f, false, kNarrowButton);
    m_eraseButton = AddButton(m_mainScreen, TextOf(TEXT_ERASE), 0.5f, 0.83f, false, kNarrowButton);
    m_eraseButton->m_bVisible = m_profileValid[0];
    m_title = AddText(m_mainScreen, TextOf(TEXT_PROFILES), 0.5f, 0.05f, true);
    m_description = AddText(m_mainScreen, "", 0.5f, 0.16f);
    m_subTitle = AddText(m_mainScreen, "", 0.5f, 0.27f, true);
    m_guestButton =
        AddButton(m_mainScreen, TUIString("%s", m_guestName), 0.5f, 0.57f, false, kNarrowButton);
    m_guestButton->m_bVisible = false;
    m_guestButton->m_bEnabled = false;
    m_backButton = AddButton(m_mainScreen, TextOf(TEXT_BACK), -1.0f, -2.0f, true);
    m_backButton->m_bVisible = false;
}

void MNProfileMenu::BuildEraseScreen() {
    m_eraseScreen = AddScreen();
    AddText(m_eraseScreen, TextOf(TEXT_ERASE_PROFILE), 0.5f, 0.05f, true);
    AddText(m_eraseScreen, TextOf(TEXT_ERASE_PROFILE_WARNING), 0.5f, 0.20f)->m_fFixedWidth = 0.8f;
    AddText(m_eraseScreen, TextOf(TEXT_ERASE_PROFILE_SURE), 0.5f, 0.40f)->m_fFixedWidth = 0.8f;
    m_yesButton = AddButton(m_eraseScreen, TextOf(TEXT_YES), 0.5f, 0.65f);
    m_noButton = AddButton(m_eraseScreen, TextOf(TEXT_NO), 0.5f, 0.77f);
    AddButton(m_eraseScreen, "", -1.0f, -2.0f, true);
}

void MNProfileMenu::BuildNameScreen() {
    m_editNameScreen = AddScreen();
    AddText(m_editNameScreen, TextOf(TEXT_ENTER_YOUR_NAME), 0.5f, 0.05f, true);
    TUIText* const name =
        AddText(m_editNameScreen, TUIString("%s_", &m_currentProfileName), 0.5f, 0.13f);
    name->m_bBoxed = true;
    name->m_bCursor = true;
    name->m_maxTyped = kMaxTypedName;
    m_saveButton = AddButton(m_editNameScreen, TextOf(TEXT_DONE), 0.5f, 0.70f);
    AddButton(m_editNameScreen, "", -1.0f, -2.0f, true);
}

void MNProfileMenu::RemoveScreens() {
    for (TUIScreen* screen : {m_mainScreen, m_eraseScreen, m_editNameScreen}) {
        if (screen != nullptr) {
            RemoveScreen(screen);
        }
    }
}

void MNProfileMenu::Rebuild() {
    if (m_languageBuilt != MNProfileManager::GetLanguageUpdateID()) {
        RemoveScreens();
        Build();
    }
    SetActiveScreen(m_mainScreen);
    const int active = MNProfileManager::GetActiveProfileIndex();
    TUIButton* const button = m_profileButtons[active >= 0 && active < kNumSlots ? active : 0];
    // The hover sound on every rebuild; activations that come together (a layer popped through
    // this screen, a mode pushing its own copy and rebuilding it) start it once, as the sound
    // table starts an effect at most once a frame.
    ButtonSelected(m_mainScreen, button);
    m_mainScreen->m_activeComponent = button;
}

int MNProfileMenu::SlotOf(const TUIButton* button) const {
    for (int slot = 0; slot < kNumSlots; ++slot) {
        if (m_profileButtons[slot] == button) {
            return slot;
        }
    }
    return button == m_guestButton ? kGuestIndex : -1;
}

void MNProfileMenu::SelectSlotButton(TUIButton* selected) {
    for (TUIButton* button : m_profileButtons) {
        button->m_fixWidth = kNarrowButton;
    }
    m_guestButton->m_fixWidth = kNarrowButton;
    selected->m_fixWidth = kWideButton;
}

// --- Handlers ---

void MNProfileMenu::PlayPressSound(const TUIScreen* screen, const TUIButton* button) {
    if (!button->m_bVisible) {
        return;
    }
    if (button->m_bBack) {
        MNSound::PlaySoundEffect(SFX_BACK);
    }
    if (button != m_yesButton) {
        MNSound::PlaySoundEffect(screen == m_editNameScreen ? SFX_CONFIRM : SFX_PRESS);
    }
}

void MNProfileMenu::ButtonPressed(TUIScreen* screen, TUIButton* button) {
    PlayPressSound(screen, button);
    if (screen == m_mainScreen) {
        MainScreenPressed(button);
    } else if (screen == m_eraseScreen) {
        ErasePressed(button);
    } else if (screen == m_editNameScreen && !m_bHeadToHeadMode) {
        NameScreenPressed(button);
    }
}

void MNProfileMenu::ButtonSelected(TUIScreen*, TUIButton* button) {
    if (button->m_bVisible) {
        MNSound::PlaySoundEffect(button->m_bEnabled ? SFX_HIGHLIGHT : SFX_HIGHLIGHT_DISABLED);
    }
}

void MNProfileMenu::RadioButtonPressed(TUIScreen*, TUIRadioButton* radio) {
    MNSound::PlaySoundEffect(radio->m_bOn ? SFX_RADIO_OFF : SFX_RADIO_ON);
}

void MNProfileMenu::SpinnerPressed(TUIScreen*, TUISpinner*) {
    MNSound::PlaySoundEffect(SFX_SPINNER);
}

void MNProfileMenu::RadioButtonSelected(TUIScreen*, TUIRadioButton*) {
    MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
}

void MNProfileMenu::MainScreenPressed(TUIButton* button) {
    const int slot = SlotOf(button);
    if (slot >= 0 && slot < kNumSlots) {
        ProfilePressed(slot);
    } else if (slot == kGuestIndex) {
        GuestPressed();
    } else if (button == m_editButton && !m_bHeadToHeadMode) {
        kLogFmt("Edit button non head to head\n");
        StartNameEntry(m_profileValid[m_profileIndex]);
    } else if (button == m_eraseButton) {
        SetActiveScreen(m_eraseScreen);
    } else if (button == m_backButton && m_bHeadToHeadMode) {
        kLogFmt("BACK\n");
        m_state = STATE_BACK;
    }
}

void MNProfileMenu::ProfilePressed(int slot) {
    TUIButton* const button = m_profileButtons[slot];
    if (button->m_fixWidth != kWideButton) {
        SelectSlotButton(button);
        m_profileIndex = slot;
        m_currentProfileName = m_profileName[slot];
        m_editButton->m_bVisible = !m_bHeadToHeadMode;
        m_eraseButton->m_bVisible = !m_bHeadToHeadMode && m_profileValid[slot];
    } else if (!m_profileValid[slot]) {
        kLogFmt("Profile %d not valid\n", slot);
        if (!m_bHeadToHeadMode) {
            StartNameEntry(false);
        }
    } else if (m_bHeadToHeadMode) {
        CopyName(m_headToHeadName, kNameLength, m_profileName[slot]);
        m_headToHeadPlayerIndex = slot;
        button->m_bEnabled = false;
        m_state = STATE_CHOSEN;
    } else {
        ChooseProfile(slot);
    }
}

void MNProfileMenu::ChooseProfile(int slot) {
    m_state = STATE_CHOSEN;
    MNProfileManager::SetActiveProfile(slot);
    MNProfileManager::SaveData(false);
    if (const MNProfile* const profile = MNProfileManager::GetProfile(slot)) {
        profile->ApplyVolumes();
    }
}

void MNProfileMenu::GuestPressed() {
    if (!m_bHeadToHeadMode) {
        return;
    }
    if (m_guestButton->m_fixWidth != kWideButton) {
        m_editButton->m_bVisible = false;
        m_eraseButton->m_bVisible = false;
        CopyName(m_headToHeadName, kNameLength, TextOf(TEXT_GUEST));
        SelectSlotButton(m_guestButton);
    } else {
        m_headToHeadPlayerIndex = kGuestIndex;
        m_guestButton->m_bEnabled = false;
        m_state = STATE_CHOSEN;
    }
}

void MNProfileMenu::StartNameEntry(bool bRename) {
    CopyName(m_savedName, kNameLength, m_profileName[m_profileIndex]);
    SetActiveScreen(m_editNameScreen);
    m_keyboard->SetKeySpacing(kKeySpacing, kKeySpacing);
    m_keyboard->SetMaxStringLength(kMaxTypedName);
    m_bKeyboardDebounce = true;
    if (bRename) {
        kLogFmt("Valid profile edit name: %s\n", m_profileName[m_profileIndex]);
        m_keyboard->SetString(m_profileName[m_profileIndex]);
        const int length = static_cast<int>(std::strlen(m_profileName[m_profileIndex]));
        m_keyboard->SetCursorPos(length - 1);
    } else {
        kLogFmt("Unused profile edit name\n");
        m_keyboard->SetString("");
        m_keyboard->SetCursorPos(-1);
    }
}

void MNProfileMenu::ErasePressed(TUIButton* button) {
    if (button == m_yesButton) {
        const int slot = m_profileIndex;
        m_profileValid[slot] = false;
        SetDefaultName(slot);
        MNProfile* const profile = MNProfileManager::GetProfile(slot);
        if (profile != nullptr) {
            profile->Clear();
            CopyName(profile->GetSaveData()->name, MN_PROFILE_NAME_SIZE, m_profileName[slot]);
        }
        m_currentProfileName = m_profileName[slot];
        m_eraseButton->m_bVisible = false;
        MNSound::PlaySoundEffect(SFX_ERASE);
        MNProfileManager::SaveData(false);
    }
    SetActiveScreen(m_mainScreen);
}

void MNProfileMenu::NameScreenPressed(TUIButton* button) {
    const int slot = m_profileIndex;
    if (button == m_saveButton) {
        SaveName();
    } else if (button->m_bBack) {
        CopyName(m_profileName[slot], kNameLength, m_savedName);
        m_currentProfileName = m_profileName[slot];
    }
    SetActiveScreen(m_mainScreen);
}

void MNProfileMenu::SaveName() {
    const int slot = m_profileIndex;
    char name[kNameLength];
    m_keyboard->GetTyped(name, kNameLength);
    if (!m_keyboard->HasTyped()) {
        kLogFmt("ERROR: Profile name is empty\n");
        return;
    }
    m_eraseButton->m_bVisible = true;
    CopyName(m_profileName[slot], kNameLength, name);
    m_currentProfileName = m_profileName[slot];
    MNProfile* const profile = MNProfileManager::GetProfile(slot);
    if (profile == nullptr) {
        kLogFmt("ERROR: No profile in slot %d\n", slot);
        return;
    }
    MNSaveProfileData* const record = profile->GetSaveData();
    if (record->bUsed == 0) {
        profile->Clear();
        record->handedness = static_cast<u8>(m_currentHanded);
        m_profileHanded[slot] = m_currentHanded;
    }
    CopyName(record->name, MN_PROFILE_NAME_SIZE, name);
    record->bUsed = 1;
    kLogFmt("Profile %d now valid\n", slot);
    m_profileValid[slot] = true;
    MNSound::PlaySoundEffect(SFX_CONFIRM);
    MNProfileManager::SaveData(false);
}

// --- Tick and drawing ---

void MNProfileMenu::Tick(float delta) {
    TUI::Tick(delta);
    if (GetActiveScreen() == m_editNameScreen) {
        TickKeyboard();
    }
}

void MNProfileMenu::TickKeyboard() {
    m_keyboard->SetLanguage(MNProfileManager::GetLanguage());
    const MNInputEdge& pointer = GetPointer();
    // The press that opened the keyboard goes on unseen until the button is up.
    m_keyboard->MouseHit(pointer.GetX(), pointer.GetY(), false,
                         pointer.StateHoldingBack(m_bKeyboardDebounce));
    m_keyboard->Tick(0.0f);
    char name[kNameLength];
    m_keyboard->GetTyped(name, kNameLength);
    if (!m_bHeadToHeadMode) {
        CopyName(m_profileName[m_profileIndex], kNameLength, name);
        m_currentProfileName = m_profileName[m_profileIndex];
    }
    m_saveButton->m_bEnabled = m_keyboard->HasTyped();
}

void MNProfileMenu::Render() {
    if (GetActiveScreen() == m_editNameScreen) {
        m_keyboard->Render();
    }
    TUI::Render();
}

// --- Head to Head ---

void MNProfileMenu::SetHeadToHeadMode(int playerNum, bool bBack) {
    m_bHeadToHeadMode = true;
    m_playerNum = playerNum;
    m_title->m_text = TextOf(TEXT_HEAD_TO_HEAD);
    m_description->m_text = TextOf(TEXT_HEAD_TO_HEAD_INTRODUCTION);
    m_description->m_fFixedWidth = 0.8f;
    m_subTitle->m_text = TUIString(TextOf(TEXT_CHOOSE_YOUR_PROFILE), &m_playerNum);
    m_subTitle->m_fFixedWidth = 0.8f;
    for (int slot = 0; slot < kNumSlots; ++slot) {
        m_profileButtons[slot]->m_fY = kHeadToHeadSlotY[slot];
    }
    m_guestButton->m_fY = 0.87f;
    m_guestButton->m_bVisible = true;
    if (m_headToHeadPlayerIndex != kGuestIndex && !bBack) {
        m_guestButton->m_bEnabled = true;
    }
    m_backButton->m_bVisible = true;
    m_editButton->m_bVisible = false;
    m_eraseButton->m_bVisible = false;
    if (!bBack) {
        m_headToHeadPlayerIndex = -1;
    }
    if (playerNum == 1) {
        m_guestButton->m_bEnabled = true;
        for (int slot = 0; slot < kNumSlots; ++slot) {
            m_profileButtons[slot]->m_bEnabled = m_profileValid[slot];
        }
    } else {
        // Player 2: what player 1 took stays disabled; going back frees it again.
        if (m_headToHeadPlayerIndex == kGuestIndex) {
            m_guestButton->m_bEnabled = true;
        }
        for (int slot = 0; slot < kNumSlots; ++slot) {
            if (m_profileValid[slot] && slot == m_headToHeadPlayerIndex) {
                m_profileButtons[slot]->m_bEnabled = true;
            }
        }
    }
    CopyName(m_guestName, kNameLength, TextOf(TEXT_GUEST));
    m_mainScreen->m_activeComponent = nullptr;
    for (TUIButton* button : m_profileButtons) {
        button->m_fixWidth = kNarrowButton;
    }
    m_guestButton->m_fixWidth = kNarrowButton;
    m_headToHeadPlayerIndex = -1;
    SetActiveScreen(m_mainScreen);
}

// --- MNProfileUI ---

namespace {
[[maybe_unused]] kClass* const s_registeredRecords[] = {MNProfileWidget::StaticClass()};
} // namespace

MNProfileUI::~MNProfileUI() {
    Free();
}

void MNProfileUI::Free() {
    delete m_widget;
    m_widget = nullptr;
    delete m_menu;
    m_menu = nullptr;
}

void MNProfileUI::Init() {
    Free();
    m_menu = new MNProfileMenu;
    m_widget = new MNProfileWidget;
    m_widget->m_tui = m_menu;
}

void MNProfileUI::Deinit() {
    Free();
}

void MNProfileUI::Activate(kUILayer* layer) {
    m_layer = layer;
    Rebuild();
    kStorageManager::SetConfirmSystemMenuWarning(true);
}

void MNProfileUI::Tick(float) {
    if (m_menu == nullptr || m_menu->IsHeadToHeadMode() || m_menu->GetState() != STATE_CHOSEN) {
        return;
    }
    kUI* const mainMenu = GetUIManager() != nullptr ? GetUIManager()->FindUI("main_menu") : nullptr;
    if (mainMenu == nullptr || m_layer == nullptr) {
        kLogFmt("ERROR: Couldn't find main menu\n");
        return;
    }
    // When the main menu lies just below (it came back here), uncovering it keeps the layer
    // from growing with every round trip; the first time it goes on top of this screen.
    kUILayer* const layer = m_layer;
    const int count = layer->GetNumUIs();
    if (count >= 2 && layer->GetUI(count - 2) == mainMenu) {
        layer->RemoveUI(this);
    } else {
        layer->PushUI(mainMenu);
    }
}

void MNProfileUI::SetHeadToHeadMode(int playerNum, bool bBack) {
    if (m_menu != nullptr) {
        m_menu->SetHeadToHeadMode(playerNum, bBack);
    }
}

int MNProfileUI::GetState() const {
    return m_menu != nullptr ? m_menu->GetState() : STATE_CHOOSING;
}

void MNProfileUI::SetState(int state) {
    if (m_menu != nullptr) {
        m_menu->SetState(state);
    }
}

const char* MNProfileUI::GetHeadToHeadName() const {
    return m_menu != nullptr ? m_menu->GetHeadToHeadName() : "";
}

void MNProfileUI::ReloadProfiles() {
    if (m_menu != nullptr) {
        m_menu->ReloadProfiles();
    }
}

void MNProfileUI::Rebuild() {
    if (m_menu != nullptr) {
        m_menu->Rebuild();
    }
}

} // namespace Kelvo_lib
