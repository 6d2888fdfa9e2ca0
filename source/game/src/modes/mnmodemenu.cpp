#include <modes/mnmodemenu.h>

#include <services/mnprofilemanager.h>
#include <services/mnsound.h>

#include <framework/ktext.h>

namespace Kelvo_lib {

namespace {

// The text ids of the levels by LevelOf: as the name of the level chosen, and as an entry to
// choose.
constexpr int kLevelNames[PUZZLE_LEVELS] = {TEXT_BEGINNER, TEXT_INTERMEDIATE, TEXT_PRO};
constexpr int kLevelChoices[PUZZLE_LEVELS] = {TEXT_BEGINNER_CHOICE, TEXT_INTERMEDIATE_CHOICE,
                                              TEXT_PRO_CHOICE};

} // namespace

const char* MNModeMenu::KindName(int typeFlag) {
    for (const KindChoice& kind : kKindChoices) {
        if (kind.typeFlag == typeFlag) {
            return kText::Text(kind.text);
        }
    }
    return nullptr;
}

const char* MNModeMenu::LevelName(ePuzzleDifficulty level) {
    return kText::Text(kLevelNames[LevelOf(level)]);
}

const char* MNModeMenu::LevelChoice(ePuzzleDifficulty level) {
    return kText::Text(kLevelChoices[LevelOf(level)]);
}

void MNModeMenu::AppendLevels(kArray<TUIString>& entries, bool bChoices) {
    for (ePuzzleDifficulty level : PUZZLE_LEVEL_LIST) {
        entries(entries.Add(1)) = TUIString(bChoices ? LevelChoice(level) : LevelName(level));
    }
}

void MNModeMenu::Rebuild() {
    if (m_languageBuilt == MNProfileManager::GetLanguageUpdateID()) {
        return;
    }
    RemoveScreens();
    BuildScreens();
}

void MNModeMenu::BuildScreens() {
    m_languageBuilt = MNProfileManager::GetLanguageUpdateID();
    Build();
}

void MNModeMenu::ButtonSelected(TUIScreen*, TUIButton* button) {
    MNSound::PlaySoundEffect(button->m_bEnabled ? SFX_HIGHLIGHT : SFX_HIGHLIGHT_DISABLED);
}

void MNModeMenu::RadioButtonPressed(TUIScreen*, TUIRadioButton* radio) {
    MNSound::PlaySoundEffect(radio->m_bOn ? SFX_RADIO_ON : SFX_RADIO_OFF);
}

void MNModeMenu::SpinnerPressed(TUIScreen*, TUISpinner*) {
    MNSound::PlaySoundEffect(SFX_SPINNER);
}

void MNModeMenu::RadioButtonSelected(TUIScreen*, TUIRadioButton*) {
    MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
}

void MNModeMenu::SpinnerSelected(TUIScreen*, TUISpinner*) {
    MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
}

} // namespace Kelvo_lib
