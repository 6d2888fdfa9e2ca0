// MNSimplyPuzzle: sub-game 3, free play of one puzzle at a time of the type and difficulty
// chosen in its menu; a solved crossword or fitword with a hidden word goes on to its anagram,
// a stopped puzzle is stored in the profile and resumed on the next entry, and the debug
// profile steps through the bank's puzzles with left and right. Owned by the world; main
// thread only; a puzzle the bank cannot give leaves the player on the menu (logged).
#pragma once

#include <modes/mnpuzzlemode.h>

namespace Kelvo_lib {

class MNSimplyPuzzleMenu;

class MNSimplyPuzzle : public MNPuzzleMode {
public:
    static constexpr float kCheatFirstRepeat = 0.6f;
    static constexpr float kCheatRepeat = 0.3f;

    explicit MNSimplyPuzzle(MNSubGameWorld* world);

    void Init() override;
    void Deinit() override;
    // Shows the menu and resumes a stored puzzle.
    void Activate() override;
    // The background, then the debug stepping.
    void Tick(float delta) override;
    void QuitPuzzle() override;

    MNSimplyPuzzleMenu* GetMenu() const;
    int GetCheatPuzzleId() const { return m_cheatPuzzleId; }

    // The menu's play request: a random puzzle of the type (ePuzzleTypeFlag) and difficulty.
    void OnPlay(int type, ePuzzleDifficulty difficulty);

protected:
    void DoGameOver(int result) override;

private:
    // One direction of the debug stepping: a press steps at once, a hold repeats.
    struct CheatKey {
        float repeat = 0.0f;
        bool bFirstPress = true;
    };
    void TickCheatKey(CheatKey& key, int input, bool bPrevious, float delta);
    void Cheat(bool bPrevious);
    SaveGameActivePuzzle* ResumeRecord() const;

    int m_cheatPuzzleId = -1;
    ePuzzleDifficulty m_currentDifficulty = PUZZLE_DIFFICULTY_BEGINNER;
    CheatKey m_cheatFwd;
    CheatKey m_cheatBwd;
};

} // namespace Kelvo_lib
