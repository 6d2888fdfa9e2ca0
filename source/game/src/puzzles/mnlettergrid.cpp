#include <puzzles/mnlettergrid.h>

#include <cstring>

namespace Kelvo_lib {

template <class Visit>
void MNLetterGrid::ForCellsOf(int word, Visit visit) const {
    for (int n = 0; n < GetWordLength(word); ++n) {
        const int cell = GetWordCell(word, n);
        if (IsInGrid(cell)) {
            visit(n, cell);
        }
    }
}

template <class Test>
bool MNLetterGrid::EveryCellOf(int word, Test test) const {
    bool bEvery = true;
    ForCellsOf(word, [&](int, int cell) { bEvery = bEvery && test(cell); });
    return bEvery;
}

template <class Record>
void MNLetterGrid::LayOut(const Record& record) {
    m_rows = record.numRows;
    m_cols = record.numCols;
    m_solution = record.cellsDone;
    m_crossings = record.cells;
    m_words.Empty(0);
    for (int i = 0; i < record.words.Size(); ++i) {
        const auto& word = record.words(i);
        const int length = static_cast<int>(strnlen(word.word, sizeof(word.word)));
        m_words.Push(Word{word.startCell, word.bDirection ? m_cols : 1, length});
    }
    m_cells.SetSize(GetNumCells());
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        m_cells(cell) = Cell{' ', false, false};
    }
}

void MNLetterGrid::SetPuzzle(const CrosswordData& record) {
    LayOut(record);
}

void MNLetterGrid::SetPuzzle(const FitwordData& record) {
    LayOut(record);
}

void MNLetterGrid::SetHiddenWord(const SpelloutData* hidden) {
    m_hiddenCells.Empty(0);
    if (hidden != nullptr) {
        m_hiddenCells = hidden->cells;
    }
}

bool MNLetterGrid::IsHiddenWordCell(int cell) const {
    for (int i = 0; i < m_hiddenCells.Size(); ++i) {
        if (m_hiddenCells(i) == cell + 1) {
            return true;
        }
    }
    return false;
}

bool MNLetterGrid::IsCellRight(int cell) const {
    return GetSolution(cell) == 0 || GetLetter(cell) == GetSolution(cell);
}

int MNLetterGrid::GetWordCell(int word, int n) const {
    return m_words(word).startCell + n * m_words(word).step;
}

int MNLetterGrid::WordThrough(int cell, bool bDown) const {
    if (!IsInGrid(cell)) {
        return -1;
    }
    const u8 word = bDown ? m_crossings(cell).wordIndexD : m_crossings(cell).wordIndexA;
    return word == CROSSWORD_NO_WORD || word >= m_words.Size() ? -1 : word;
}

int MNLetterGrid::PickWord(int across, int down, int selected) {
    return across >= 0 && (down < 0 || selected != across) ? across : down;
}

void MNLetterGrid::EnterLetter(int cell, char letter) {
    if (!IsLocked(cell)) {
        SetLetter(cell, letter);
    }
}

void MNLetterGrid::EnterWord(int word, const char* letters) {
    ForCellsOf(word, [&](int n, int cell) { EnterLetter(cell, letters[n]); });
}

bool MNLetterGrid::LockWord(int word) {
    bool bLocked = false;
    ForCellsOf(word, [&](int, int cell) {
        bLocked = bLocked || !IsLocked(cell);
        SetLocked(cell, true);
    });
    return bLocked;
}

void MNLetterGrid::ClearUnlocked() {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (!IsLocked(cell)) {
            m_cells(cell) = Cell{' ', false, false};
        }
    }
}

void MNLetterGrid::ClearHighlights() {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        m_cells(cell).bHighlight = false;
    }
}

void MNLetterGrid::HighlightWord(int word) {
    ForCellsOf(word, [this](int, int cell) { m_cells(cell).bHighlight = true; });
}

bool MNLetterGrid::IsWordFilled(int word) const {
    return EveryCellOf(word, [this](int cell) { return GetLetter(cell) != ' '; });
}

bool MNLetterGrid::IsWordLocked(int word) const {
    return EveryCellOf(word, [this](int cell) { return IsLocked(cell); });
}

bool MNLetterGrid::IsWordRight(int word) const {
    return EveryCellOf(word, [this](int cell) { return GetLetter(cell) == GetSolution(cell); });
}

int MNLetterGrid::CountRightWords() const {
    int count = 0;
    for (int word = 0; word < m_words.Size(); ++word) {
        count += IsWordRight(word) ? 1 : 0;
    }
    return count;
}

bool MNLetterGrid::IsFull() const {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (GetSolution(cell) != 0 && GetLetter(cell) == ' ') {
            return false;
        }
    }
    return true;
}

bool MNLetterGrid::IsSolved() const {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (!IsCellRight(cell)) {
            return false;
        }
    }
    return true;
}

} // namespace Kelvo_lib
