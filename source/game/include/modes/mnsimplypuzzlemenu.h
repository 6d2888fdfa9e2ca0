// MNSimplyPuzzleMenu: the Simply Puzzle menu, one choice screen (difficulty spinner, four
// puzzle-type radio buttons, play and back) with a side panel repeating the choice. Play
// emits PlaySignal(ePuzzleTypeFlag, difficulty); the state tells the mode whether to stay
// (open, or a game started) or go back to the front end. The debug profile also gets the
// "MINI" difficulty, first. Owned by the mode; main thread only.
#pragma once

#include <modes/mnmodemenu.h>

namespace Kelvo_lib {

class MNSimplyPuzzleMenu : public MNModeMenu {
public:
    MNSimplyPuzzleMenu();

    // The choice back at its defaults, for the active profile as it is now, whatever the
    // language.
    void Rebuild() override;
    void Open();
    void PostGameMenu();

    void ButtonPressed(TUIScreen* screen, TUIButton* button) override;
    // The pressed radio button stays on, and sounds as one turned on.
    void RadioButtonPressed(TUIScreen* screen, TUIRadioButton* radio) override;
    void SpinnerPressed(TUIScreen* screen, TUISpinner* spinner) override;

    int GetPuzzleType() const { return m_game; }
    ePuzzleDifficulty GetDifficulty() const { return m_difficulty; }
    const char* GetDifficultyString() const { return m_difficultyString; }
    const char* GetPuzzleString() const { return m_puzzleString; }
    TUIScreen* GetChoiceScreen() const { return m_createScreen; }
    TUIButton* GetPlayButton() const { return m_createPlayButton; }

    kSignal2<int, ePuzzleDifficulty> PlaySignal;

    // Whether the active profile is the debug profile.
    static bool IsDebugProfile();

private:
    void Build() override;
    void RemoveScreens() override;
    void BuildChoiceScreen(const kArray<TUIString>& difficulties);
    void BuildPanel();
    static void CopyText(char* out, const char* text);

    TUIScreen* m_createScreen = nullptr;
    TUIButton* m_createPlayButton = nullptr;
    TUIScreen* m_createSubScreen = nullptr;
    char m_difficultyString[64] = {};
    char m_puzzleString[64] = {};
    int m_game = 0;
    ePuzzleDifficulty m_difficulty = PUZZLE_DIFFICULTY_BEGINNER;
    // The difficulty of each of the spinner's entries, in its order.
    ePuzzleDifficulty m_offered[PUZZLE_DIFFICULTIES] = {};
    int m_numOffered = 0;
};

} // namespace Kelvo_lib
