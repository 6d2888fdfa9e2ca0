#include <modes/mnsimplypuzzlemenu.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <services/puzzletypes.h>

#include <framework/ktext.h>

#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

MNSimplyPuzzleMenu::MNSimplyPuzzleMenu() : MNModeMenu(nullptr) {
    BuildScreens();
}

bool MNSimplyPuzzleMenu::IsDebugProfile() {
    const MNProfile* const profile = MNProfileManager::GetActiveProfile();
    return profile != nullptr && std::strcmp(profile->GetName(), MNProfile::kDebugName) == 0;
}

void MNSimplyPuzzleMenu::CopyText(char* out, const char* text) {
    std::snprintf(out, 64, "%s", text != nullptr ? text : "");
}

void MNSimplyPuzzleMenu::Rebuild() {
    RemoveScreens();
    BuildScreens();
}

void MNSimplyPuzzleMenu::RemoveScreens() {
    RemoveScreen(m_createScreen);
    RemoveScreen(m_createSubScreen);
}

void MNSimplyPuzzleMenu::Build() {
    kArray<TUIString> difficulties;
    m_numOffered = 0;
    if (IsDebugProfile()) {
        difficulties(difficulties.Add(1)) = TUIString("MINI");
        m_offered[m_numOffered++] = PUZZLE_DIFFICULTY_MINI;
    }
    AppendLevels(difficulties, true);
    for (ePuzzleDifficulty level : PUZZLE_LEVEL_LIST) {
        m_offered[m_numOffered++] = level;
    }
    m_difficulty = m_offered[0];
    difficulties(0).Format(m_difficultyString, sizeof(m_difficultyString));
    CopyText(m_puzzleString, kText::Text(kKindChoices[0].text));
    m_game = kKindChoices[0].typeFlag;
    BuildChoiceScreen(difficulties);
    BuildPanel();
    m_state = STATE_CLOSED;
}

void MNSimplyPuzzleMenu::BuildChoiceScreen(const kArray<TUIString>& difficulties) {
    m_createScreen = AddScreen();
    AddText(m_createScreen, kText::Text(TEXT_SIMPLY_PUZZLE), 0.5f, 0.05f, true);
    AddText(m_createScreen, kText::Text(TEXT_SIMPLY_PUZZLE_INTRODUCTION), 0.5f, 0.12f);
    AddSpinner(m_createScreen, difficulties, 0.5f, 0.30f, -1);
    for (int i = 0; i < 4; ++i) {
        TUIRadioButton* const radio = AddRadioButton(
            m_createScreen, kText::Text(kKindChoices[i].text), 0.5f, 0.40f + 0.09f * i, -1);
        radio->m_bOn = i == 0;
    }
    m_createPlayButton = AddButton(m_createScreen, kText::Text(TEXT_PLAY), 0.5f, 0.80f, false, 256);
    AddButton(m_createScreen, kText::Text(TEXT_BACK), -1.0f, -2.0f, true, 160);
}

void MNSimplyPuzzleMenu::BuildPanel() {
    m_createSubScreen = AddScreen();
    AddText(m_createSubScreen, kText::Text(TEXT_SIMPLY_PUZZLE), 0.5f, 0.05f, true);
    AddText(m_createSubScreen, kText::Text(TEXT_PICK_LEVEL_AND_KIND), 0.5f, 0.16f);
    AddText(m_createSubScreen, kText::Text(TEXT_YOU_HAVE_CHOSEN), 0.5f, 0.47f);
    AddText(m_createSubScreen, TUIString("%s", m_difficultyString), 0.5f, 0.55f);
    AddText(m_createSubScreen, TUIString("%s", m_puzzleString), 0.5f, 0.63f);
    AddText(m_createSubScreen, kText::Text(TEXT_PRESS_PLAY), 0.5f, 0.78f);
}

void MNSimplyPuzzleMenu::Open() {
    m_state = STATE_OPEN;
    PostGameMenu();
}

void MNSimplyPuzzleMenu::PostGameMenu() {
    SetActiveScreen(m_createScreen);
    SetActiveSubScreen(m_createSubScreen);
}

void MNSimplyPuzzleMenu::ButtonPressed(TUIScreen* screen, TUIButton* button) {
    MNSound::PlaySoundEffect(button->m_bBack ? SFX_BACK : SFX_PRESS);
    if (screen != m_createScreen) {
        return;
    }
    if (button->m_bBack) {
        m_state = STATE_CLOSED;
    } else if (button == m_createPlayButton) {
        m_state = STATE_GAME;
        MNSound::PlaySoundEffect(SFX_CONFIRM);
        PlaySignal(m_game, m_difficulty);
    }
}

void MNSimplyPuzzleMenu::RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) {
    MNSound::PlaySoundEffect(SFX_RADIO_ON);
    if (screen != m_createScreen) {
        return;
    }
    int index = 0;
    for (int i = 0; i < screen->m_componentList.Size(); ++i) {
        TUIComponent* const component = screen->m_componentList(i);
        if (component->m_type != TUI_TYPE_RADIOBUTTON) {
            continue;
        }
        TUIRadioButton* const other = static_cast<TUIRadioButton*>(component);
        other->m_bOn = other == radio;
        if (other == radio) {
            m_game = kKindChoices[index].typeFlag;
            radio->m_text.Format(m_puzzleString, sizeof(m_puzzleString));
        }
        ++index;
    }
}

void MNSimplyPuzzleMenu::SpinnerPressed(TUIScreen* screen, TUISpinner* spinner) {
    MNModeMenu::SpinnerPressed(screen, spinner);
    if (screen != m_createScreen || spinner->m_textList.Size() == 0) {
        return;
    }
    const int index = spinner->m_index;
    spinner->m_textList(index).Format(m_difficultyString, sizeof(m_difficultyString));
    m_difficulty = index >= 0 && index < m_numOffered ? m_offered[index] : m_difficulty;
}

} // namespace Kelvo_lib
