// MNQuickBlast: sub-game 2, a run of puzzles against one clock: the types chosen in its menu
// follow one another (sudoku, fitword, wordsearch, crossword) at the chosen level until the
// run's time is used up, each finished, abandoned or cut-off puzzle adding points to the run's
// score, which then enters the profile's history of the last 50 runs. Owned by the world;
// main thread only. A puzzle the bank cannot give is logged: the first leaves the player on
// the menu, a later one ends the run.
#pragma once

#include <modes/mnpuzzlemode.h>
#include <modes/mnrunclock.h>
#include <puzzles/mncountdown.h>

namespace Kelvo_lib {

class MNQuickBlastMenu;
struct MNQuickBlastData;

class MNQuickBlast : public MNPuzzleMode {
public:
    explicit MNQuickBlast(MNSubGameWorld* world);

    void Init() override;
    void Deinit() override;
    void Activate() override;
    // The background, the next puzzle when one is due, and the run clock: it moves only on
    // frames where the puzzle's own clock moved, warns once a second in the last 30 seconds
    // and ends the run when the time is used up.
    void Tick(float delta) override;
    void QuitPuzzle() override {}
    // The pause screen's calls: the run clock goes on; the run ends at once.
    void UnPause() override;
    void AbandonMode() override { DoGameOver(GAME_OVER_FAILED); }

    // The menu's requests: a run started (its score from 0), a new run set up (score and
    // history cleared, saved).
    void OnPlay();
    void OnNewGame();

    // One puzzle's points from the screen's scoring inputs at a level: right answers, hints
    // and errors, and unless timedOut the time and completion bonuses; never below 0. MINI or
    // a difficulty past pro scores 0 (logged).
    static int PuzzleScore(const MNPuzzleUI& screen, ePuzzleDifficulty difficulty, float time,
                           bool timedOut);
    // The running puzzle's points added to the run's score.
    void CalculateScore(float time, bool timedOut);
    // The run's score (0 when negative) at the end of the history, the oldest entry dropped
    // when all 50 are taken; the run's score back to 0.
    void NewScore();

    MNQuickBlastMenu* GetMenu() const;
    bool IsPaused() const { return m_bPaused; }
    bool IsRunOver() const { return m_bGameDone; }

protected:
    void DoGameOver(int result) override;
    void RenderUI() override;
    void PauseClock() override;

private:
    MNQuickBlastData* Data() const;
    // The next type of the rotation that the run plays, started; false (logged) when none is
    // chosen or the bank gives no puzzle.
    bool PlayNextPuzzle();
    // The next puzzle of a run, due since the last one ended.
    void StartNew();
    void TickRunClock(float delta);
    // The run's time used up while a puzzle plays.
    void EndRunByTime();
    // The run's score recorded and the results shown; the clock stops until the next run.
    void FinishRun();
    float RunTimeLeft() const;

    static constexpr float kWarningSeconds = 30.0f;

    MNRunClock m_runClock;
    // Warns while the whole seconds left on the run are 1 to 30.
    MNCountdown m_countdown{MNCountdown::WINDOW_WHOLE_SECONDS, kWarningSeconds};
    bool m_bStartNew = false;
    bool m_bGameDone = true;
    bool m_bPaused = false;
    bool m_bTimerExpired = false;
};

} // namespace Kelvo_lib
