// MNLetterGrid: the letter grid a crossword or a fitword is played on: per cell its solution
// letter (0 for a block), the letter shown (' ' for none), a highlight and a lock, and the
// record's words laid over it, with the tests both kinds judge the grid by. The model owns it
// and decides what goes into the cells; entering letters passes over locked cells. Main
// thread only. Cells count row by row from 0 and callers pass indices of the record laid out;
// a word's cells outside the grid are passed over, and a crossing index naming no word of
// the record reads as none.
#pragma once

#include <services/puzzledata.h>

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class MNLetterGrid {
public:
    // Lays out the record's cells and words: every cell empty, unlit and unlocked.
    void SetPuzzle(const CrosswordData& record);
    void SetPuzzle(const FitwordData& record);
    // The hidden word's cells; null for a puzzle without one.
    void SetHiddenWord(const SpelloutData* hidden);

    int GetNumRows() const { return m_rows; }
    int GetNumCols() const { return m_cols; }
    int GetNumCells() const { return m_rows * m_cols; }
    char GetSolution(int cell) const { return m_solution(cell); }
    char GetLetter(int cell) const { return m_cells(cell).letter; }
    bool IsHighlight(int cell) const { return m_cells(cell).bHighlight; }
    bool IsLocked(int cell) const { return m_cells(cell).bLocked; }
    bool IsHiddenWordCell(int cell) const;
    // A block, or a cell showing its solution letter.
    bool IsCellRight(int cell) const;

    int GetWordLength(int word) const { return m_words(word).length; }
    // Cell n of the word, along its own direction.
    int GetWordCell(int word, int n) const;
    // The word running across or down through the cell, -1 for none.
    int WordThrough(int cell, bool bDown) const;
    // The word a pointer at a crossing cell picks: the across word, or the down word when
    // the across word is the one selected already or there is none. -1 for none.
    static int PickWord(int across, int down, int selected);

    // Shows the letter whether the cell is locked or not.
    void SetLetter(int cell, char letter) { m_cells(cell).letter = letter; }
    // Shows the letter unless the cell is locked.
    void EnterLetter(int cell, char letter);
    // Enters the word's letters, one per cell, into its unlocked cells.
    void EnterWord(int word, const char* letters);
    void SetLocked(int cell, bool bLocked) { m_cells(cell).bLocked = bLocked; }
    // Locks every cell of the word; true when one of them was not locked before.
    bool LockWord(int word);
    // Empties and unlights every unlocked cell.
    void ClearUnlocked();
    void ClearHighlights();
    void HighlightWord(int word);

    bool IsWordFilled(int word) const;
    bool IsWordLocked(int word) const;
    // Every cell of the word shows its solution letter.
    bool IsWordRight(int word) const;
    int CountRightWords() const;
    // Every letter cell shows a letter.
    bool IsFull() const;
    // Every letter cell shows its solution letter.
    bool IsSolved() const;

private:
    struct Cell {
        char letter;
        bool bHighlight;
        bool bLocked;
    };
    struct Word {
        int startCell;
        int step; // 1 across, a row down
        int length;
    };

    template <class Record>
    void LayOut(const Record& record);
    bool IsInGrid(int cell) const { return cell >= 0 && cell < GetNumCells(); }
    // Calls visit(n, cell) for every letter n of the word whose cell is inside the grid.
    template <class Visit>
    void ForCellsOf(int word, Visit visit) const;
    // Whether test(cell) holds for every cell of the word inside the grid.
    template <class Test>
    bool EveryCellOf(int word, Test test) const;

    int m_rows = 0;
    int m_cols = 0;
    kArray<char> m_solution;
    kArray<CrosswordDataCell> m_crossings;
    kArray<Word> m_words;
    kArray<Cell> m_cells;
    kArray<int> m_hiddenCells; // numbered from 1
};

} // namespace Kelvo_lib
