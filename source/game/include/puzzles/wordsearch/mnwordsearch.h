// MNWordsearch: the rules of one wordsearch. It keeps its own copy of the record, the stroke being
// drawn (snapped to a straight line), the words found, the error count and the hints, and saves
// and restores that progress; the clock, the state, the errors made, game over and the entry
// signals are MNPuzzleProgress's. The wordsearch widget owns it, ticks it and feeds it pointer
// events; it draws nothing. Main thread only. Indices given to the read operations are not
// checked; a saved state that is too small or corrupt is refused with 0 and changes nothing.
#pragma once

#include <puzzles/mnpuzzleprogress.h>
#include <puzzles/mnpuzzlerules.h>
#include <services/mninputedge.h>
#include <services/puzzledata.h>
#include <services/puzzletypes.h>

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class MNWordsearch : public MNPuzzleProgress {
public:
    explicit MNWordsearch(const MNPuzzleSources& sources);

    // Starts a new puzzle from a copy of the record, played by the mode's rules; the caller
    // keeps the record.
    void SetPuzzle(WordsearchData* wordsearch, const MNPuzzleRules& rules);
    // Clears words found, errors and the stroke; resetTime also restarts the clock.
    void Reset(bool resetTime);
    // One pointer event: overGrid with the cell's column x and row y, and the A button's state.
    void GridClick(bool overGrid, int x, int y, MNInputEdge::eButtonState buttonState);
    bool IsGridFull() const { return GetNumWordsFound() == GetNumWords(); }
    // A missed stroke leaves nothing on the grid to take away.
    void RemoveErrors() {}
    // Spends one hint of kind 0 (a random letter), 1 (the first letter) or 2 (both ends) of
    // a word not found yet. False (logged) with none of that kind left or every word found.
    bool Hint(int index);
    // The hints of a kind the rules gave the puzzle to start with.
    int GetMaxHints(int kind) const { return GetRules().MaxHints(kind); }
    // Hints of that kind taken.
    int GetHintsUsed(int kind) const;
    int* GetHintsLeft() { return m_hintsLeft; }
    int GetHintPositions(int i) const { return m_hintPositions[i]; }

    // (null, 0) gives the size needed; a smaller size gives 0; else the bytes written.
    int SavePuzzleState(void* buf, int bufsize);
    // 1 when loaded; 0, with nothing changed, when too small or corrupt.
    int LoadPuzzleState(void* buf, int bufsize);

    // Missed strokes, less one for each word found after them.
    int GetNumErrors() const { return m_errors; }
    int GetNumCorrect() const { return m_wordsFound.Size(); }
    int GetNumWordsFound() const { return m_wordsFound.Size(); }
    int GetPuzzleId() const { return m_data.puzzleID; }
    ePuzzleDifficulty GetDifficulty() const { return DifficultyOfBankValue(m_data.difficulty); }
    const char* GetTitle() const { return m_data.title; }
    int GetNumRows() const { return m_data.numRows; }
    int GetNumCols() const { return m_data.numCols; }
    int GetNumWords() const { return m_data.words.Size(); }
    const char* GetWord(int i) const { return m_data.words(i).word; }
    int GetWordStartIndex(int i) const { return m_data.words(i).cellStartIndex; }
    int GetWordEndIndex(int i) const { return m_data.words(i).cellEndIndex; }
    int GetWordTrail(int i) const { return m_data.wordTrails(i); }
    char GetLetter(int cell) const { return m_data.gridMap(cell); }
    int GetStartSelection() const { return m_startSelection; }
    int GetCurrentSelection() const { return m_currentSelection; }
    bool IsWordFound(int i) const;

private:
    // Every word is found.
    bool IsSolved() const override { return GetNumWordsFound() == GetNumWords(); }
    void ClearSelection();
    // Moves the stroke's end towards the cell under the pointer, snapped to a line.
    void DragSelection(int x, int y);
    // The stroke's verdict, whoever plays: a new word found sounds right and, while words are
    // left, emits ValidEntrySignal; a stroke of two or more cells that finds none sounds
    // wrong, emits InvalidEntrySignal, then counts an error made.
    void MatchSelection();
    bool IsInGrid(int x, int y) const;

    int m_hintPositions[2];
    WordsearchData m_data;
    int m_errors = 0;
    int m_hintsLeft[3] = {};
    int m_startSelection = -1;
    int m_currentSelection = -1;
    int m_endSelection = -1;
    int m_lastSelection = -1;
    kArray<char> m_wordsFound;
};

} // namespace Kelvo_lib
