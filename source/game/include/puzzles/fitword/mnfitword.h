// MNFitword: the rules and state of one fitword being played: a private copy of the bank record
// and of its hidden word, the word list grouped by length, which word each slot holds, locked
// cells, the picked word and slot and hints; the clock, the state, the errors made, game over and
// the entry signals are MNPuzzleProgress's. It draws nothing. Owned by the fitword widget; main
// thread only. Slots are the record's words: slot i's solution is word i. Indices out of range are
// refused with a log line and change nothing; saved states that do not fit the buffer give 0, and
// unknown or clashing words load empty.
#pragma once

#include <puzzles/mnlettergrid.h>
#include <puzzles/mnpuzzleprogress.h>
#include <puzzles/mnpuzzlerules.h>
#include <services/puzzledata.h>
#include <services/puzzletypes.h>

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class MNFitword : public MNPuzzleProgress {
public:
    // Placement highlights: every free slot of the picked word's length, only the slots whose
    // solution it is, or none.
    enum eHighlight {
        HIGHLIGHT_LENGTH = 0,
        HIGHLIGHT_SOLUTION = 1,
        HIGHLIGHT_NONE = 2,
    };

    static constexpr int K_NO_WORD = -1;
    static constexpr int K_NUM_HINT_KINDS = 3;
    // A pre-filled puzzle leaves this many words to place.
    static constexpr int K_PREFILL_LEFT = 3;

    explicit MNFitword(const MNPuzzleSources& sources);

    // Set-up and play by the mode's rules.
    void SetPuzzle(FitwordData* fitword, const MNPuzzleRules& rules);
    // Null means the puzzle has no hidden word.
    void SetSpellout(SpelloutData* spellout) { m_grid.SetHiddenWord(spellout); }
    // Takes out every placed word, keeping locked cells; resetTime also restarts the clock.
    void Reset(bool resetTime);

    int GetPuzzleId() const { return m_data.puzzleID; }
    ePuzzleDifficulty GetDifficulty() const { return DifficultyOfBankValue(m_data.difficulty); }
    eHighlight GetHighlightMode() const { return m_highlightMode; }

    // Placed words that are not their slot's solution.
    int GetNumErrors() const;
    // Takes every wrong word out of the grid.
    void RemoveErrors();
    bool IsGridFull() const { return m_grid.IsFull(); }
    // Slots whose every cell holds its solution letter.
    int GetNumCorrect() const { return m_grid.CountRightWords(); }
    // (null, 0) gives the size needed; a smaller buffer gives 0; else the bytes written.
    int SavePuzzleState(void* buf, int bufsize);
    // 1, or 0 when the buffer is smaller than the state.
    int LoadPuzzleState(void* buf, int bufsize);

    // Hints: kind 0 shows one letter of a free slot, 1 the first letter of every free slot of
    // one length, 2 places one word for good. Each locks the cells it fills. False (logged)
    // with none of that kind left or every slot right.
    bool Hint(int kind);
    int* GetHintsLeft() { return m_hintsLeft; }
    // The allowance of that kind the rules gave.
    int GetMaxHints(int kind) const { return GetRules().MaxHints(kind); }
    // Hints of that kind taken.
    int GetHintsUsed(int kind) const;

    // Reading the grid, the slots and the word list.
    int GetNumRows() const { return m_grid.GetNumRows(); }
    int GetNumCols() const { return m_grid.GetNumCols(); }
    int GetNumCells() const { return m_grid.GetNumCells(); }
    int GetNumWords() const { return m_data.words.Size(); }
    const char* GetWord(int i) const { return m_data.words(i).word; }
    bool GetWordDirection(int i) const { return m_data.words(i).bDirection; }
    int GetWordLength(int i) const { return m_grid.GetWordLength(i); }
    // Cell n of slot i (along its own direction).
    int GetWordCell(int i, int n) const { return m_grid.GetWordCell(i, n); }
    // The word list, shortest words first, alphabetical within a length: word indices.
    int GetListWord(int entry) const { return m_wordList(entry); }
    // The slot holding word i, -1 when it is still to place.
    int GetSlotOfWord(int i) const;
    // The word slot i holds, -1 for none.
    int GetPlacedWord(int slot) const { return m_placed(slot); }
    // Whether the slot's word cannot be taken out (a hint or the pre-filled start put it).
    bool IsSlotLocked(int slot) const { return m_grid.IsWordLocked(slot); }

    char GetUserLetter(int cell) const { return m_grid.GetLetter(cell); }
    char GetCellsDone(int cell) const { return m_grid.GetSolution(cell); }
    // Whether the cell is in a slot the picked word may go into, or in the selected slot.
    bool IsHighlight(int cell) const { return m_grid.IsHighlight(cell); }
    bool IsCellLocked(int cell) const { return m_grid.IsLocked(cell); }
    bool IsSpelloutCell(int cell) const { return m_grid.IsHiddenWordCell(cell); }
    // A block, or a cell showing its solution letter.
    bool IsCellRight(int cell) const { return m_grid.IsCellRight(cell); }

    // The selection: a word picked from the list, then a slot of its length.
    int GetSelectedWord() const { return m_selectedWord; }
    int GetSelectedSlot() const { return m_selectedSlot; }
    // Picks word i; a placed word leaves its slot unless that is locked. -1 drops the pick
    // and the selected slot.
    void SelectWord(int i);
    // Selects the slot through the cell, of the picked word's length when a word is picked;
    // a crossing cell gives its across slot, or its down slot when the across one is selected
    // already. With a word picked the word goes into the slot. False when no slot fits.
    bool SelectCell(int cell);
    // Puts word i into slot s: 0 when refused (lengths differ, locked slot), else 1.
    int PlaceWord(int word, int slot);
    // Takes the slot's word back to the list, unless the slot is locked.
    void ClearSlot(int slot);

private:
    bool IsSolved() const override { return m_grid.IsSolved(); }
    void BuildWordList();
    void Prefill();
    void SettleLockedSlots();
    void RefreshGrid();
    void HighlightPossiblePos();
    bool FitsHighlight(int word, int slot) const;
    bool IsWordRight(int word, int slot) const;
    // Slots crossing this one whose letter differs from the word's lose their word.
    void ClearClashes(int word, int slot);
    int FreeSlotForHint();
    int StateSize() const;

    int m_selectedWord = K_NO_WORD;
    int m_selectedSlot = -1;
    kArray<int> m_wordList;
    kArray<int> m_placed;
    eHighlight m_highlightMode = HIGHLIGHT_LENGTH;
    FitwordData m_data;
    int m_hintsLeft[K_NUM_HINT_KINDS] = {};
    MNLetterGrid m_grid;
};

} // namespace Kelvo_lib
