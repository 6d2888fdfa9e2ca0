// MNFastAndFunMenu: the Fast and Fun menu: the difficulty choice (intermediate and pro open
// once the best run of the level below reaches 15), the best run and what a run must reach,
// and between puzzles the complete, unlocked, game-over and end-of-challenge screens with the
// counts and the time left. It reads the profile's Fast and Fun record and never writes it.
// Owned by the mode; main thread only.
#pragma once

#include <modes/mnmodemenu.h>

namespace Kelvo_lib {

class MNProfile;
struct MNFastAndFunData;

class MNFastAndFunMenu : public MNModeMenu {
public:
    // Puzzles completed in one run that open the next difficulty.
    static constexpr int kUnlockRun = 15;
    static constexpr int kTimeRemainingSize = 32;

    explicit MNFastAndFunMenu(MNProfile* profile);

    // Another profile than the one shown has had no best run seen after a game yet.
    void SetProfile(MNProfile* profile) override;
    // The difficulty choice, with the difficulties the profile has opened.
    void Open();
    // The screen after a puzzle: complete (solved) or game over (lost), unlocked when the run
    // just reached kUnlockRun for the first time (never on pro); each with its sound.
    void PostGameMenu(bool bSolved);
    // The counts, names and the time left, from the profile as it is now.
    void Update();

    void ButtonPressed(TUIScreen* screen, TUIButton* button) override;

    ePuzzleDifficulty GetDifficulty() const { return m_difficulty; }
    int GetBest() const { return m_best; }
    const char* GetTimeRemaining() const { return m_timeRemaining; }
    TUIScreen* GetDifficultyScreen() const { return m_difficultyScreen; }
    TUIScreen* GetConfirmScreen() const { return m_confirmScreen; }
    TUIScreen* GetCompleteScreen() const { return m_puzzleCompleteScreen; }
    TUIScreen* GetCompleteUnlockedScreen() const { return m_puzzleCompleteUnlockedScreen; }
    TUIScreen* GetGameOverScreen() const { return m_gameOverScreen; }
    TUIScreen* GetGameOverUnlockedScreen() const { return m_gameOverUnlockedScreen; }
    TUIScreen* GetQuitConfirmScreen() const { return m_quitComfirmScreen; }
    // A level's button; null for MINI or past pro.
    TUIButton* GetDifficultyButton(ePuzzleDifficulty level) const;
    const TUIText* GetCompleteText() const { return m_completeText; }
    const TUIText* GetGameOverText() const { return m_gameOverText; }
    const TUIText* GetBestScoreText() const { return m_bestScore; }
    const TUIText* GetNeedText() const { return m_needText; }
    const TUIText* GetInfoText() const { return m_infoText; }

    kSignal0<> NewGameSignal;
    kSignal1<ePuzzleDifficulty> PlaySignal;

private:
    void Build() override;
    void RemoveScreens() override;
    void BuildDifficultyScreens();
    void BuildCompleteScreens();
    void BuildGameOverScreens();
    TUIButton* AddChoice(TUIScreen* screen, const TUIString& text, float y);
    void AddBack(TUIScreen* screen);
    // The difficulty buttons open as far as the profile's best runs reach.
    void EnableDifficulties();
    // No best run seen after a game: the next game over can tell no fresh unlock.
    void ForgetSeenBestRuns();
    void ShowDifficultyChoice();
    void UpdateBest();
    void UpdateTimeRemaining();
    void UpdateCounts();
    MNFastAndFunData* Data() const;
    // The best run of a level, -1 for none.
    int BestRun(ePuzzleDifficulty level) const;

    TUIScreen* m_difficultyScreen = nullptr;
    TUIScreen* m_difficultySubScreen = nullptr;
    TUIButton* m_difficultyBeginnerButton = nullptr;
    TUIButton* m_difficultyIntermediateButton = nullptr;
    TUIButton* m_difficultyProButton = nullptr;
    TUIScreen* m_confirmScreen = nullptr;
    TUIScreen* m_confirmSubScreen = nullptr;
    TUIButton* m_confirmPlayButton = nullptr;
    TUIScreen* m_puzzleCompleteScreen = nullptr;
    TUIButton* m_completePlayButton = nullptr;
    TUIButton* m_endChallengeButton = nullptr;
    TUIScreen* m_puzzleCompleteUnlockedScreen = nullptr;
    TUIButton* m_completeUnlockedPlayButton = nullptr;
    TUIButton* m_endChallengeUnlockedButton = nullptr;
    TUIScreen* m_gameOverScreen = nullptr;
    TUIButton* m_gameOverContinueButton = nullptr;
    TUIScreen* m_gameOverUnlockedScreen = nullptr;
    TUIButton* m_gameOverUnlockedContinueButton = nullptr;
    TUIScreen* m_subPuzzleCompleteScreen = nullptr;
    TUIScreen* m_quitComfirmScreen = nullptr;
    TUIButton* m_yes = nullptr;
    TUIButton* m_no = nullptr;
    TUIText* m_needText = nullptr;
    TUIText* m_subNeedText = nullptr;
    TUIText* m_completeText = nullptr;
    TUIText* m_gameOverText = nullptr;
    TUIText* m_bestScore = nullptr;
    TUIText* m_subBestScore = nullptr;
    TUIText* m_infoText = nullptr;

    ePuzzleDifficulty m_difficulty = PUZZLE_DIFFICULTY_BEGINNER;
    int m_currentPuzzle = 0; // puzzles completed in the run
    int m_nextPuzzle = 1;
    char m_timeRemaining[kTimeRemainingSize] = {};
    const char* m_nextDifficultyString = "";
    const char* m_currentDifficultyString = "";
    int m_lastMostBeginnerPuzzlesComplete = -1;
    int m_lastMostIntermediatePuzzlesComplete = -1;
    int m_lastMostProPuzzlesComplete = -1;
    int m_best = 0;
    TUIScreen* m_prevScreen = nullptr;
};

} // namespace Kelvo_lib
