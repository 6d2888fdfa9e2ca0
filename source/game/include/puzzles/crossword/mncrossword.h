// MNCrossword: the rules and state of one crossword being played: a private copy of the bank
// record and of its hidden word, the player's letters, the selection, completed clues, locked
// cells, errors and hints; the clock, the state, the errors made, game over and the entry signals
// are MNPuzzleProgress's. It owns the on-screen keyboard words are typed on and draws nothing.
// Owned by the crossword widget; main thread only. Callers pass indices of the loaded record;
// saved states that do not fit the buffer give 0 and write nothing, and a state naming an unknown
// key loads that cell empty (logged).
#pragma once

#include <puzzles/mnlettergrid.h>
#include <puzzles/mnpuzzleprogress.h>
#include <puzzles/mnpuzzlerules.h>
#include <services/puzzledata.h>
#include <services/puzzletypes.h>

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class MNKeyboard;

// How a word is entered: along a row or down a column.
enum eDirection {
    DIR_NONE = 0,
    DIR_HORIZONTAL = 1,
    DIR_VERTICAL = 2,
};

class MNCrossword : public MNPuzzleProgress {
public:
    // The in-game cell size in pixels, which the widget draws the grid at.
    static constexpr float K_GRID_SCALE = 19.0f;
    // Where the keyboard stands in the answer view, in pixels.
    static constexpr float K_KEYBOARD_X = 254.0f;
    static constexpr float K_KEYBOARD_Y = 340.0f;
    // Words the pre-fill leaves to type, and the draws it tries for each.
    static constexpr int K_PREFILL_PICKS = 3;
    static constexpr int K_PREFILL_TRIES = 10;

    explicit MNCrossword(const MNPuzzleSources& sources);
    ~MNCrossword() override;

    // Set-up and play by the mode's rules.
    void SetPuzzle(CrosswordData* crossword, const MNPuzzleRules& rules);
    // Null means the puzzle has no hidden word.
    void SetSpellout(SpelloutData* spellout) { m_grid.SetHiddenWord(spellout); }
    // Clears the unlocked letters, errors and warning timer; resetTime also the clock.
    void Reset(bool resetTime);

    // Wrong words entered, less one for each right word after them.
    int GetNumErrors() const { return m_errors; }
    // The hints taken of a kind: the crossword has only kind 0, a letter of the selected word.
    int GetHintsUsed(int kind) const { return kind == 0 ? m_hintsUsed : 0; }
    // The crossword's hints are never rationed, whatever allowance the rules carry.
    int GetMaxHints(int) const { return PUZZLE_HINTS_UNLIMITED; }
    int GetPuzzleId() const { return m_data.puzzleID; }
    ePuzzleDifficulty GetDifficulty() const { return DifficultyOfBankValue(m_data.difficulty); }

    // Blanks every wrong letter; the words through them are no longer completed.
    void RemoveErrors();
    bool IsGridFull() const { return m_grid.IsFull(); }
    // Words whose every cell holds its solution letter.
    int GetNumCorrect() const { return m_grid.CountRightWords(); }
    // (null, 0) gives the size needed; a smaller buffer gives 0; else the bytes written.
    int SavePuzzleState(void* buf, int bufsize);
    // 1, or 0 when the buffer is smaller than the state.
    int LoadPuzzleState(void* buf, int bufsize);

    // Reading the grid and the words.
    int GetNumRows() const { return m_grid.GetNumRows(); }
    int GetNumCols() const { return m_grid.GetNumCols(); }
    int GetNumCells() const { return m_grid.GetNumCells(); }
    float GetGridScaleX() const { return m_gridScaleX; }
    float GetGridScaleY() const { return m_gridScaleY; }
    int GetNumWords() const { return m_data.words.Size(); }
    // "No word" when the record has none.
    const char* GetWord(int i) const;
    const char* GetClue(int i) const { return m_data.words(i).clue; }
    bool GetWordDirection(int i) const { return m_data.words(i).bDirection; }
    int GetStartCell(int i) const { return m_data.words(i).startCell; }
    int GetNumberedCell(int i) const { return m_numberedCells(i); }
    int GetNumWordsOfDirection(bool bDirection) const;
    // Cell n of word i (along its own direction).
    int GetWordCell(int i, int n) const { return m_grid.GetWordCell(i, n); }
    int GetWordLength(int i) const { return m_grid.GetWordLength(i); }

    char GetUserLetter(int cell) const { return m_grid.GetLetter(cell); }
    char GetCellsDone(int cell) const { return m_grid.GetSolution(cell); }
    unsigned char GetCorrectLetter(int cell) const {
        return static_cast<unsigned char>(GetCellsDone(cell));
    }
    // Whether the cell is part of the selected word.
    bool IsHighlight(int cell) const { return m_grid.IsHighlight(cell); }
    // No move of the crossword reveals a cell.
    bool IsReveal(int) const { return false; }
    bool IsCellLocked(int cell) const { return m_grid.IsLocked(cell); }
    bool IsSpelloutCell(int cell) const { return m_grid.IsHiddenWordCell(cell); }
    // A block, or a cell showing its solution letter.
    bool IsCellRight(int cell) const { return m_grid.IsCellRight(cell); }
    bool IsClueUsed(int i) const;
    int GetCluesUsed() const { return m_cluesUsed.Size(); }

    // The selection.
    int GetSelectedClue() const { return m_selectedClue; }
    int GetFirstCell() const { return m_firstCell; }
    bool GetDirection() const { return m_bDirection; }
    bool GetDirectionView() const { return m_bDirectionView; }
    void SetDirectionView(bool bDown) { m_bDirectionView = bDown; }
    int GetSelectedIndex() const { return m_selectedIndex; }
    void SetSelectedIndex(int index) { m_selectedIndex = index; }
    // -1 selects nothing (logged).
    void SelectClue(int clue);
    // The cell's across word, or its down word when the across word is selected already.
    void SelectCell(int cell, eDirection direction);

    // Enters a typed word from cell index along dir, keeping locked letters: 0 when refused,
    // else 1.
    int PlaceWord(const char* word, int index, eDirection dir);
    // Kind 0 reveals the keyboard's next letter of the selected word, in the grid too, and
    // locks it. False with no word selected, no letter after the cursor or any other kind.
    bool Hint(int kind);
    MNKeyboard* GetKeyboard() { return m_keyboard; }
    const MNKeyboard* GetKeyboard() const { return m_keyboard; }

private:
    bool IsSolved() const override { return m_grid.IsSolved(); }
    void NumberClues();
    void SelectFirstAcross();
    void Select(int clue);
    void HighlightPossiblePos();
    void Prefill();
    int StateSize() const { return GetNumCells() + GetNumWords() + 6; }
    void RecountCluesUsed();

    int m_selectedClue = -1;
    int m_selectedIndex = -1;
    int m_firstCell = -1;
    bool m_bDirection = false;
    bool m_bDirectionView = true;
    kArray<int> m_cluesUsed;
    kArray<int> m_numberedCells;
    CrosswordData m_data;
    int m_hintsUsed = 0;
    int m_errors = 0;
    float m_gridScaleX = 1.0f;
    float m_gridScaleY = 1.0f;
    MNLetterGrid m_grid;
    MNKeyboard* m_keyboard = nullptr;
};

} // namespace Kelvo_lib
