// MNHeadToHead: sub-game 5, two players taking turns with one remote on one puzzle. Both are
// chosen on the mode's own profile screen (a profile or the guest); then Sprint (lives: a
// wrong entry costs one and the turn) or Marathon (a clock each: a wrong entry costs 30
// seconds, the turn stays). A right entry shows the next player's screen over the hidden
// puzzle and passes the turn; a solved grid goes on to the next ticked type. The results
// live in the profile's MNHeadToHeadData only: nothing is saved. Owned by the world; main
// thread only; a puzzle the bank cannot give is logged and ends the game on the menu.
#pragma once

#include <modes/mnpuzzlemode.h>
#include <puzzles/mncountdown.h>

namespace Kelvo_lib {

class MNHeadToHeadMenu;
class MNProfileUI;
struct MNHeadToHeadData;

class MNHeadToHead : public MNPuzzleMode {
public:
    static constexpr float kErrorPenalty = 30.0f;   // Marathon seconds per wrong entry
    static constexpr float kWarningSeconds = 30.0f; // the last seconds tick once a second

    explicit MNHeadToHead(MNSubGameWorld* world);
    ~MNHeadToHead() override;

    void Init() override;
    void Deinit() override;
    // Starts with the choice of player 1.
    void Activate() override;
    // The choice of players, the result record's times, the next puzzle of a solved one,
    // the background, then the Marathon clock of the player in turn.
    void Tick(float delta) override;
    void QuitPuzzle() override { DoGameOver(GAME_OVER_FAILED); }
    void ResetPuzzle() override {}
    void ResumePuzzle() override { SetBackgroundByTurn(); }
    void UnPause() override { m_bPause = false; }

    MNHeadToHeadMenu* GetMenu() const;
    MNProfileUI* GetProfileScreen() const { return m_profileUI; }
    // 1 or 2 while that player is being chosen, 0 once both are.
    int GetCurrentProfileSelect() const { return m_currentProfileSelect; }
    int GetTurn() const { return m_turn; }
    int GetLives(int player) const { return m_lives[player]; }
    float GetClock(int player) const { return m_fCurrentTime[player]; }
    bool IsPaused() const { return m_bPause; }
    bool IsSprint() const { return m_bSprintGame; }

    // The menu's requests: a game's rules, and starting it or going on after a turn's screen.
    void OnNewSprint(int lives, int puzzles, ePuzzleDifficulty difficulty);
    void OnNewMarathon(float time, int puzzles, ePuzzleDifficulty difficulty);
    void OnPlay();

protected:
    void DoGameOver(int result) override;
    // The menu; back on its variant choice returns to the choice of player 2.
    void TickUI(float delta) override;
    // The pause screen goes up: the clock stands.
    void PauseClock() override { m_bPause = true; }

private:
    void ResetGame(bool bSprint, float timeLimit, int lives);
    void ChoosePlayers();
    void BackToPlayerTwo();
    MNHeadToHeadData* Record() const;

    void NewPuzzle();
    // The type after typeFlag among the ticked ones: sudoku, fitword, crossword, wordsearch.
    int NextPuzzleType(int typeFlag) const;
    void ConnectPlay();
    void DisconnectPlay();
    void OnValidEntry();
    void OnError();
    void SprintError();
    void MarathonError();
    void TickClock(float delta);
    void TimeUp();
    // The game is over: the menu's screen menu shows on the menu layer, the puzzle gone.
    void EndOnMenu(int menu);

    // The menu's turn, error or penalty screen over the game, hiding it.
    void ShowTurnScreen(int menu);
    void SetBackgroundByTurn();
    void UpdateProfile();
    int RemainingSeconds(int player) const;
    void LogLayers() const;

    int m_puzzles = 0;
    float m_fTimeLimit = 0.0f;
    float m_fCurrentTime[2] = {};
    bool m_bSprintGame = true;
    int m_turn = 0;
    int m_lives[2] = {};
    bool m_bPause = false;
    int m_waitForErrorFix = 0;
    bool m_bStartNew = false;
    ePuzzleDifficulty m_difficulty = PUZZLE_DIFFICULTY_BEGINNER;
    kUILayer* m_profileLayer = nullptr;
    MNProfileUI* m_profileUI = nullptr;
    int m_currentProfileSelect = 0;
    // Warns while the whole seconds left to the player in turn are 1 to 30; the beat restarts
    // only as the mode is entered, so it goes on across turns and games.
    MNCountdown m_countdown{MNCountdown::WINDOW_WHOLE_SECONDS, kWarningSeconds};
};

} // namespace Kelvo_lib
