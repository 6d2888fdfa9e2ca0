// MNTournamentMenu: the Tournament's menu: the difficulty choice, the ladder of 20 slots
// climbing upward with the selected (or hovered) slot's details, the result of the puzzle just
// played and the end-of-tournament screens with the score and rank, which unlock the next
// difficulty. It reads and writes the profile's tournament record and asks the mode, through
// its three signals, to start a tournament or to play or pass a slot; it fades the music out
// for the final result, plays its jingle and fades it back in. Owned by the mode; main thread
// only. Without a profile it shows an empty, locked ladder.
#pragma once

#include <modes/mnmodemenu.h>
#include <services/mnsavedata.h>

#include <kelvo/containers/ksharedptr.h>

namespace Kelvo_lib {

class MNProfile;
class kSprite;

class MNTournamentMenu : public MNModeMenu {
public:
    // The screens, for the mode and its tests to tell which one is up.
    enum eScreen {
        SCREEN_NONE = -1,
        SCREEN_RESUME,
        SCREEN_DIFFICULTY,
        SCREEN_SELECT,
        SCREEN_RESULTS,
        SCREEN_COMPLETE_WITH_PASSES,
        SCREEN_NO_MORE_PASSES,
        SCREEN_SCORE,
        SCREEN_FAILED,
        SCREEN_SUCCESS,
        SCREEN_PLAY_AGAIN,
        SCREEN_ALL_COMPLETE,
    };
    static constexpr int kSlots = 20;
    static constexpr int kColumns = 5;

    explicit MNTournamentMenu(MNProfile* profile);

    // Everything shown, from the profile's tournament record.
    void Update();
    // After a puzzle: its result, and the next playable slot chosen.
    void PostGameMenu();
    // The difficulty screen for a new tournament, else the resume screen.
    void Open();

    // The music back at its full level, a fade dropped: the mode calls it when it
    // leaves and whenever a puzzle starts, so that no fade is left half done.
    void RestoreMusic();
    // The mode could not start the puzzle asked for: the ladder stays up.
    void PuzzleRefused() { m_state = STATE_OPEN; }
    // The mode could not draw a tournament at the difficulty asked for.
    void NewTournamentRefused() { m_bNewTournamentRefused = true; }

    void Tick(float delta) override;
    void Render() override;
    void ButtonPressed(TUIScreen* screen, TUIButton* button) override;
    void ButtonSelected(TUIScreen* screen, TUIButton* button) override;

    eScreen GetShownScreen() const;
    int GetPuzzleNumber() const { return m_puzzleNumber; }
    int GetScore() const { return m_score; }
    const char* GetRankString() const { return m_rankString; }
    float GetFadeMusicTimer() const { return m_fadeMusicTimer; }
    TUIButton* GetSlotButton(int number) const { return m_buttonList[number - 1]; }
    TUIButton* GetPlayButton() const { return m_confirmPlayButton; }
    TUIButton* GetPassButton() const { return m_confirmPassButton; }

    // The rank text id of a total score.
    static int RankTextId(int score);
    // The result jingle of a total score, -1 for none.
    static int ResultJingle(int score);

    kSignal1<ePuzzleDifficulty> NewTournamentSignal;
    kSignal1<int> StartPuzzleSignal;
    kSignal1<int> PassPuzzleSignal;

protected:
    // The slots' marks, over the ladder and under the pointer.
    void RenderOverlay() override;

private:
    void Build() override;
    void RemoveScreens() override;
    void BuildSprites();
    void BuildResumeScreens();
    void BuildSelectScreen();
    void BuildResultScreens();
    void BuildEndScreens();
    TUIButton* AddBack(TUIScreen* screen);
    TUIText* AddMessage(TUIScreen* screen, const TUIString& text, float y);

    MNTournamentData* Data() const;
    int SlotStatus(int index) const;
    bool IsPlayable(int index) const;
    // Complete, within the target time or not.
    bool IsFinished(int index) const;
    int CountSlots(int statusA, int statusB) const;
    void FormatTime(char* out, float seconds) const;
    void ShowSelect(int number);
    void Select(int number);
    // The first (or last) slot that is open or passed, -1 for none; and it selected.
    int FindOpenOrPassed(bool bLast) const;
    void SelectOpenOrPassed(bool bLast);
    void EndOfPuzzleCheck();
    void StartFadeOut();
    void TickFade(float delta);
    // Emits the new tournament; false, with the difficulty screen saying so, when the mode
    // could not draw one.
    bool StartNewTournament(ePuzzleDifficulty difficulty);
    void UnlockAndStart(bool bPlayNow);

    void PressResume(TUIButton* button);
    void PressDifficulty(TUIButton* button);
    void PressSelect(TUIButton* button);
    void PressPass();
    // The result and end-of-tournament screens.
    void PressEnd(TUIButton* button);
    void PressScoreContinue();

    TUIScreen* m_resumeScreen = nullptr;
    TUIButton* m_resumeButton = nullptr;
    TUIButton* m_startNewButton = nullptr;
    TUIScreen* m_difficultyScreen = nullptr;
    TUIButton* m_beginnerButton = nullptr;
    TUIButton* m_intermediateButton = nullptr;
    TUIButton* m_proButton = nullptr;
    TUIScreen* m_selectScreen = nullptr;
    TUIButton* m_buttonList[kSlots] = {};
    TUIButton* m_confirmPlayButton = nullptr;
    TUIButton* m_confirmPassButton = nullptr;
    TUIScreen* m_resultsScreen = nullptr;
    TUIButton* m_resultsContinueButton = nullptr;
    TUIScreen* m_completeWithPassesScreen = nullptr;
    TUIButton* m_completeAllButton = nullptr;
    TUIButton* m_completeWithPassesContinueButton = nullptr;
    TUIScreen* m_noMorePassesScreen = nullptr;
    TUIButton* m_noMorePassesContinueButton = nullptr;
    TUIButton* m_noMorePassesEndButton = nullptr;
    TUIScreen* m_scoreScreen = nullptr;
    TUIButton* m_scoreContinueButton = nullptr;
    TUIScreen* m_failedScreen = nullptr;
    TUIButton* m_failedContinueButton = nullptr;
    TUIScreen* m_successScreen = nullptr;
    TUIButton* m_successPlayNowButton = nullptr;
    TUIButton* m_successPlayLaterButton = nullptr;
    TUIScreen* m_playAgainScreen = nullptr;
    TUIButton* m_playAgainButton = nullptr;
    TUIButton* m_playLaterButton = nullptr;
    TUIScreen* m_allCompleteScreen = nullptr;
    TUIButton* m_allCompleteContinueButton = nullptr;
    const char* m_difficultyString = "";
    const char* m_completedDifficulty = "";
    int m_passes = 0;
    int m_passesUsed = 0;
    int m_puzzleNumber = 1;
    int m_lastPuzzleNumber = -1;
    int m_completePuzzleNumber = -1;
    TUIButton* m_lastPuzzleButton = nullptr;
    char m_timeLimitString[32] = {};
    char m_completeTimeLimitString[32] = {};
    char m_completeTimeTakenString[32] = {};
    const char* m_puzzleTypeString = "";
    const char* m_completePuzzleTypeString = "";
    const char* m_puzzleStatusString = "";
    const char* m_completePuzzleStatusString = "";
    int m_score = 0;
    const char* m_rankString = "";
    float m_fadeMusicTimer = 0.0f;
    kSharedPtr<kSprite> m_tickSprite;
    kSharedPtr<kSprite> m_exclamationSprite;
    kSharedPtr<kSprite> m_boxSprite;
    const TUIButton* m_lastSeenButton = nullptr; // the last button under the pointer
    TUIText* m_noPuzzlesText = nullptr;
    bool m_bNewTournamentRefused = false;
};

} // namespace Kelvo_lib
