// MNTournament: sub-game 1, a ladder of 20 puzzles of random kind at one of three
// difficulties, played in order with a target time and a score each and a few passes; a
// solved crossword or fitword with a hidden word goes on to its anagram, which scores
// nothing. All progress lives in the active profile's tournament record and resume record,
// saved at each result. Owned by the world; main thread only. A ladder the bank cannot fill
// repeats puzzles or, with none at all, is refused; a slot that cannot be started leaves the
// ladder up (both logged).
#pragma once

#include <modes/mnpuzzlemode.h>

namespace Kelvo_lib {

class MNTournamentMenu;
struct MNTournamentData;
struct MNTournamentPuzzleData;

// What a solved slot's score is made of.
struct MNTournamentSolve {
    int typeFlag;                 // ePuzzleTypeFlag of the puzzle played
    ePuzzleDifficulty difficulty; // the ladder's level
    bool bFirstInTime;            // solved within the target at the first attempt
    int hintsUsed[3];             // by kind; a crossword has kind 0 only
    int errors;                   // wrong entries made
    float completeTime;
    float targetTime;
};

class MNTournament : public MNPuzzleMode {
public:
    static constexpr int kPassesByDifficulty[PUZZLE_LEVELS] = {7, 5, 3}; // by LevelOf
    // Draws of one slot before a ladder takes a puzzle twice, or is given up when none
    // could be drawn at all.
    static constexpr int kMaxDrawsPerSlot = 32;

    explicit MNTournament(MNSubGameWorld* world);

    void Init() override;
    void Deinit() override;
    // Shows the menu and resumes a stored puzzle.
    void Activate() override;
    // Leaves with the music at the profile's level.
    void Deactivate() override;
    void QuitPuzzle() override;

    MNTournamentMenu* GetMenu() const;

    // The menu's requests: a new ladder at a level (MINI is refused), a slot (0 to 19) played
    // or passed.
    void OnNewTournament(ePuzzleDifficulty difficulty);
    void OnStartPuzzle(int slot);
    void OnPassPuzzle(int slot);

    // The score of a solved slot.
    static int ScoreOf(const MNTournamentSolve& solve);
    // The target time of a kind (ePuzzleTypeFlag) at a level; a small (6 x 6) sudoku's at
    // beginner is shorter. 0 for an unknown kind.
    static float TargetTime(int typeFlag, ePuzzleDifficulty difficulty, bool bSmallSudoku);

    // The target the current slot gives a puzzle of its kind; none to another kind.
    float PuzzleTargetTime(int typeFlag) const override;

protected:
    void DoGameOver(int result) override;

private:
    // One drawn slot: a kind, a puzzle of it and its target time.
    struct SlotDraw {
        int typeFlag;
        int id;
        float targetTime;
    };
    bool DrawSlot(ePuzzleDifficulty difficulty, SlotDraw& draw) const;
    // A whole ladder into data; false when no puzzle at all could be drawn for some slot.
    bool DrawLadder(ePuzzleDifficulty difficulty, MNTournamentData& data) const;

    MNTournamentData* Data() const;
    SaveGameActivePuzzle* ResumeRecord() const;
    // The slot being played, its index kept within the ladder.
    MNTournamentPuzzleData& CurrentSlot() const;
    // A slot passed (or its puzzle abandoned): a pass spent unless it was passed already,
    // and the next slot opened while passes are left.
    void PassSlot(int slot);
    void SolveSlot();
    // Opens the first locked slot after slot, unless an open one comes first.
    void UnlockAfter(int slot);
    void CalculateScore();
};

} // namespace Kelvo_lib
