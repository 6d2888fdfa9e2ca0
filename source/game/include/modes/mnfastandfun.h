// MNFastAndFun: sub-game 4, runs of small (MINI) puzzles in the rotation sudoku, fitword,
// crossword, wordsearch against one clock per run (1200, 900 or 600 s by level), lost at the
// first wrong entry; the profile keeps the best run per level. The rotation lasts as long as
// the mode. Owned by the world; main thread only; a puzzle the bank cannot give ends the run
// (logged) and shows the level choice again.
#pragma once

#include <modes/mnpuzzlemode.h>
#include <modes/mnrunclock.h>
#include <puzzles/mncountdown.h>

namespace Kelvo_lib {

class MNFastAndFunMenu;
struct MNFastAndFunData;

class MNFastAndFun : public MNPuzzleMode {
public:
    // The last seconds of a run, in which a warning sounds once a second.
    static constexpr float kWarningTime = 29.5f;

    // The run's limit in seconds at a level; 0 for MINI or past pro.
    static float RunLimit(ePuzzleDifficulty level);
    // The type after typeFlag in the rotation; a sudoku after anything else.
    static int NextType(int typeFlag);

    explicit MNFastAndFun(MNSubGameWorld* world);

    void Init() override;
    void Deinit() override;
    void Activate() override;
    // The background, then the run's clock.
    void Tick(float delta) override;
    void QuitPuzzle() override { DoGameOver(GAME_OVER_ABANDONED); }
    void ResetPuzzle() override {}
    void UnPause() override;

    MNFastAndFunMenu* GetMenu() const;
    // The run's level; its puzzles are MINI ones at every level.
    ePuzzleDifficulty GetDifficulty() const { return m_currentDifficulty; }
    bool IsPaused() const { return m_bPaused; }
    // Whether no puzzle of a run is being played (the clock is not looked at).
    bool IsRunIdle() const { return m_bNewGame; }

    // The menu's requests: a new run, and its next puzzle at a level.
    void OnNewGame();
    void OnPlay(ePuzzleDifficulty level);

protected:
    void DoGameOver(int result) override;
    void PauseClock() override;
    // The run's level: beginner (0) helps a fitword's placements most.
    int PrefillLevel() const override { return LevelOf(m_currentDifficulty); }

private:
    // A wrong entry: the run is lost at once.
    void OnError();
    // The run is over without a game over: the mode stops listening to the screen.
    void DisconnectScreen();
    MNFastAndFunData* Data() const;
    // The profile's best run at the current level; null without a profile, or at MINI.
    int* BestRun() const;

    ePuzzleDifficulty m_currentDifficulty = PUZZLE_DIFFICULTY_BEGINNER;
    MNRunClock m_runClock;
    // Warns from 29.5 seconds left, a second into that window and each second after; the beat
    // restarts only as the mode is entered, so a run goes on from the last one's.
    MNCountdown m_countdown{MNCountdown::WINDOW_UP_TO_LENGTH, kWarningTime,
                            MNCountdown::BEAT_AFTER_A_SECOND};
    bool m_bPaused = false;
    bool m_bNewGame = true;
};

} // namespace Kelvo_lib
