// MNSudoku: the rules and state of one sudoku being played: a private copy of the bank record, the
// player's digits, locked (hinted, pre-filled or taken in turns) cells, the selection and hints
// left; the clock, the state, the errors made, game over and the entry signals are
// MNPuzzleProgress's. It draws nothing. Owned by the sudoku widget, which hands in the game's
// sources and the row and column highlight setting; main thread only. Cell indices outside the
// grid and digits outside 1 to size are refused (logged); saved states that do not fit the buffer
// give 0 and write nothing, and a state with digits out of range loads those cells empty (logged).
#pragma once

#include <puzzles/mnpuzzleprogress.h>
#include <puzzles/mnpuzzlerules.h>
#include <services/puzzledata.h>
#include <services/puzzletypes.h>

namespace Kelvo_lib {

class MNSudoku : public MNPuzzleProgress {
public:
    // Hint kinds: one cell, the selected cell's row, the selected cell's box.
    enum eHintKind { HINT_CELL = 0, HINT_ROW = 1, HINT_BOX = 2, HINT_KINDS = 3 };

    // Cells a pre-filled puzzle leaves open on a 9 x 9 and a 6 x 6 grid; the rest starts
    // solved and locked.
    static constexpr int K_PREFILL_OPEN_9 = 8;
    static constexpr int K_PREFILL_OPEN_6 = 4;
    // Saved state: one byte per cell, then errors made, clock, hints left and selection.
    static constexpr u8 K_LOCKED_BIT = 0x80;

    explicit MNSudoku(const MNPuzzleSources& sources);

    // Set-up and play by the mode's rules. A record whose size is not 6 or 9 is refused
    // (logged, false).
    bool SetPuzzle(const SudokuData* sudoku, const MNPuzzleRules& rules);
    // Clears the unlocked digits and the warning timer; resetTime also the clock.
    void Reset(bool resetTime);

    // Wrong digits now on the grid.
    int GetNumErrors() const;
    int GetPuzzleId() const { return m_data.puzzleID; }
    ePuzzleDifficulty GetDifficulty() const { return DifficultyOfBankValue(m_data.difficulty); }

    // Blanks every wrong digit.
    void RemoveErrors();
    bool IsGridFull() const;
    // Rows, columns and boxes complete and right: 0 to 27 on a 9 x 9 grid, 0 to 18 on 6 x 6.
    int GetNumCorrect() const;
    // (null, 0) gives the size needed; a smaller buffer gives 0; else the bytes written.
    int SavePuzzleState(void* buf, int bufsize);
    // 1, or 0 when the buffer is smaller than the state.
    int LoadPuzzleState(void* buf, int bufsize);

    // Reading the grid.
    int GetSize() const { return m_data.size; }
    int GetNumCells() const { return m_data.size * m_data.size; }
    // Boxes are 3 x 3 on a 9 x 9 grid and 2 rows x 3 columns on a 6 x 6 one.
    int GetBoxRows() const { return m_data.size == 6 ? 2 : 3; }
    int GetBoxCols() const { return 3; }
    // The box of a cell, numbered row by row from 0.
    int BoxOf(int cell) const {
        return (cell / GetSize()) / GetBoxRows() * (GetSize() / GetBoxCols()) +
               (cell % GetSize()) / GetBoxCols();
    }
    // The digit shown, 0 for an empty cell.
    int GetDigit(int cell) const { return IsCell(cell) ? m_digits[cell] : 0; }
    int GetSolution(int cell) const { return IsCell(cell) ? m_data.solution[cell] : 0; }
    bool IsGiven(int cell) const { return IsCell(cell) && m_data.givens[cell] != 0; }
    bool IsCellLocked(int cell) const { return IsCell(cell) && m_locked[cell]; }
    // A digit the player placed that is not the solution's.
    bool IsWrong(int cell) const;
    // In the selected cell's row or column, when the player's setting asks for it.
    bool IsHighlight(int cell) const;
    // The player's setting: whether the selected cell's row and column are highlighted.
    void SetLineHighlight(bool bOn) { m_bLineHighlight = bOn; }

    // The selection: any cell of the grid, -1 for none.
    int GetSelectedCell() const { return m_selectedCell; }
    // False for a cell outside the grid.
    bool SelectCell(int cell);
    // Puts digit (1 to size, 0 clears) into the selected cell: 0 when refused (no selection,
    // a given or locked cell, a digit out of range), else 1.
    int EnterDigit(int digit);

    // Uses one hint of a kind with hints left: false (logged) when none is left or no cell
    // is open. Revealed cells get their solution and are locked.
    bool Hint(int kind);
    int* GetHintsLeft() { return m_hintsLeft; }
    // The allowance of that kind the rules gave.
    int GetMaxHints(int kind) const { return GetRules().MaxHints(kind); }
    // Hints of that kind taken.
    int GetHintsUsed(int kind) const;

private:
    // Every digit is right.
    bool IsSolved() const override;
    bool IsCell(int cell) const { return cell >= 0 && cell < GetNumCells(); }
    bool IsOpen(int cell) const;
    void Prefill();
    // Whether pick(cell) accepts an open cell; with bReveal every such cell also gets its
    // solution and is locked.
    template <typename Pick>
    bool RevealCells(Pick pick, bool bReveal);
    int FirstOpenCell() const;
    // Cells that hold their solution digit, givens included.
    int CountRightCells() const;
    // Whether every cell for which inUnit(unit, cell) holds has its solution digit.
    template <typename InUnit>
    bool IsUnitRight(int unit, InUnit inUnit) const;
    int StateSize() const { return GetNumCells() + 9; }

    int m_selectedCell = -1;
    SudokuData m_data;
    int m_hintsLeft[HINT_KINDS] = {};
    u8 m_digits[SudokuData::kMaxCells] = {};
    bool m_locked[SudokuData::kMaxCells] = {};
    bool m_bLineHighlight = false;
};

} // namespace Kelvo_lib
