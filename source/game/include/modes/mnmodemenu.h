// MNModeMenu: what the five game modes' menus share. m_state tells the mode whether the
// menu is open, a game or run was started from it, or it was left (the mode then goes back
// to the front end); the profile whose records it shows; its screens built again when the
// language changed since they were built; and the sounds of hovering and pressing a button,
// a radio button or a spinner. Owned by its mode; main thread only.
#pragma once

#include <services/mntextid.h>
#include <services/puzzletypes.h>
#include <tui/tui.h>

namespace Kelvo_lib {

class MNProfile;

class MNModeMenu : public TUI {
public:
    enum eState { STATE_CLOSED = 0, STATE_OPEN = 1, STATE_GAME = 2 };

    // The name of an ePuzzleTypeFlag's kind in the current language; null for another flag.
    static const char* KindName(int typeFlag);
    // A level's text in the current language: as the level chosen ("Beginner"), and as an
    // entry to choose. MINI reads as beginner: it is no level of the menus.
    static const char* LevelName(ePuzzleDifficulty level);
    static const char* LevelChoice(ePuzzleDifficulty level);

    bool IsOpen() const { return m_state == STATE_OPEN; }
    bool IsGame() const { return m_state == STATE_GAME; }

    // The profile whose records the menu shows; null shows empty values and starts nothing.
    virtual void SetProfile(MNProfile* profile) { m_profile = profile; }
    // Builds the screens again when the language changed since they were built.
    virtual void Rebuild();

    // The highlight sound, the disabled one over a disabled button.
    void ButtonSelected(TUIScreen* screen, TUIButton* button) override;
    // The radio button's sound for on or off.
    void RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) override;
    // The spinner's sound.
    void SpinnerPressed(TUIScreen* screen, TUISpinner* spinner) override;
    // The highlight sound.
    void RadioButtonSelected(TUIScreen* screen, TUIRadioButton* radio) override;
    void SpinnerSelected(TUIScreen* screen, TUISpinner* spinner) override;

protected:
    // A puzzle kind as the menus list it: its ePuzzleTypeFlag and the text id of its name.
    struct KindChoice {
        int typeFlag;
        int text;
    };

    // The kinds in the order every mode menu lists them.
    static constexpr KindChoice kKindChoices[4] = {{PUZZLE_FLAG_CROSSWORD, TEXT_CROSSWORD},
                                                   {PUZZLE_FLAG_FITWORD, TEXT_FITWORD},
                                                   {PUZZLE_FLAG_SUDOKU, TEXT_SUDOKU},
                                                   {PUZZLE_FLAG_WORDSEARCH, TEXT_WORDSEARCH}};

    explicit MNModeMenu(MNProfile* profile) : m_profile(profile) {}

    // Every screen of the menu, in the current language.
    virtual void Build() = 0;
    // Every screen Build made, removed.
    virtual void RemoveScreens() = 0;
    // Build, with the language noted for Rebuild.
    void BuildScreens();
    // The levels' texts, beginner first, appended to a spinner's entries: as entries to
    // choose, or as the names of the level chosen.
    static void AppendLevels(kArray<TUIString>& entries, bool bChoices);

    int m_state = STATE_CLOSED;
    MNProfile* m_profile;

private:
    int m_languageBuilt = -1;
};

} // namespace Kelvo_lib
