#include <puzzles/sudoku/mnsudoku.h>

#include <services/mnbytecodec.h>
#include <services/puzzletypes.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

constexpr u8 kNoSelection = 0xFF;

} // namespace

MNSudoku::MNSudoku(const MNPuzzleSources& sources)
    : MNPuzzleProgress({"MNSudoku", "sudoku", "State set to complete"}, sources) {}

bool MNSudoku::SetPuzzle(const SudokuData* sudoku, const MNPuzzleRules& rules) {
    if (sudoku == nullptr || (sudoku->size != 6 && sudoku->size != 9)) {
        kLogSys("MNSudoku", "SetPuzzle: no sudoku of size 6 or 9 given\n");
        return false;
    }
    m_data = *sudoku;
    StartPuzzle(rules);
    m_errorsMade = 0;
    m_selectedCell = -1;
    kLogFmt("Sudoku Id: %d, size: %d, difficulty: %d\n", m_data.puzzleID, m_data.size,
            m_data.difficulty);
    for (int cell = 0; cell < SudokuData::kMaxCells; ++cell) {
        const bool bGiven = IsCell(cell) && m_data.givens[cell] != 0;
        m_digits[cell] = bGiven ? m_data.givens[cell] : 0;
        m_locked[cell] = false;
    }
    for (int kind = 0; kind < HINT_KINDS; ++kind) {
        m_hintsLeft[kind] = GetMaxHints(kind);
    }
    if (rules.bPrefilled) {
        Prefill();
    }
    return true;
}

// Every cell but a few open ones starts solved and locked; the open ones are drawn at random.
void MNSudoku::Prefill() {
    int open[SudokuData::kMaxCells];
    int numOpen = 0;
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (!IsGiven(cell)) {
            open[numOpen++] = cell;
        }
    }
    const int keepOpen = GetSize() == 9 ? K_PREFILL_OPEN_9 : K_PREFILL_OPEN_6;
    while (numOpen > keepOpen) {
        const int r = RandomBelow(numOpen);
        const int cell = open[r];
        open[r] = open[--numOpen];
        m_digits[cell] = m_data.solution[cell];
        m_locked[cell] = true;
    }
}

void MNSudoku::Reset(bool resetTime) {
    RestartClock(resetTime);
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (!IsGiven(cell) && !m_locked[cell]) {
            m_digits[cell] = 0;
        }
    }
}

bool MNSudoku::IsWrong(int cell) const {
    return IsCell(cell) && m_digits[cell] != 0 && m_digits[cell] != m_data.solution[cell];
}

bool MNSudoku::IsOpen(int cell) const {
    return !IsGiven(cell) && !m_locked[cell] && m_digits[cell] != m_data.solution[cell];
}

bool MNSudoku::IsHighlight(int cell) const {
    if (m_selectedCell < 0 || !IsCell(cell) || !m_bLineHighlight) {
        return false;
    }
    const int size = GetSize();
    return cell / size == m_selectedCell / size || cell % size == m_selectedCell % size;
}

int MNSudoku::GetNumErrors() const {
    int count = 0;
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        count += IsWrong(cell) ? 1 : 0;
    }
    return count;
}

void MNSudoku::RemoveErrors() {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (IsWrong(cell)) {
            m_digits[cell] = 0;
        }
    }
}

bool MNSudoku::IsGridFull() const {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (m_digits[cell] == 0) {
            return false;
        }
    }
    return GetNumCells() > 0;
}

bool MNSudoku::IsSolved() const {
    return GetNumCells() > 0 && CountRightCells() == GetNumCells();
}

int MNSudoku::CountRightCells() const {
    int count = 0;
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        count += m_digits[cell] == m_data.solution[cell] ? 1 : 0;
    }
    return count;
}

template <typename InUnit>
bool MNSudoku::IsUnitRight(int unit, InUnit inUnit) const {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (inUnit(unit, cell) && m_digits[cell] != m_data.solution[cell]) {
            return false;
        }
    }
    return true;
}

// A row, column or box scores once all its cells hold their solution digits, so the count
// stays in the scale of the word puzzles' answers.
int MNSudoku::GetNumCorrect() const {
    const int size = GetSize();
    const auto row = [=](int unit, int cell) { return cell / size == unit; };
    const auto column = [=](int unit, int cell) { return cell % size == unit; };
    const auto box = [this](int unit, int cell) { return BoxOf(cell) == unit; };
    int count = 0;
    for (int unit = 0; unit < size; ++unit) {
        count += IsUnitRight(unit, row) ? 1 : 0;
        count += IsUnitRight(unit, column) ? 1 : 0;
        count += IsUnitRight(unit, box) ? 1 : 0;
    }
    return count;
}

bool MNSudoku::SelectCell(int cell) {
    if (!IsCell(cell)) {
        kLogSys("MNSudoku", "SelectCell: cell %d lies outside the grid\n", cell);
        return false;
    }
    m_selectedCell = cell;
    return true;
}

int MNSudoku::EnterDigit(int digit) {
    if (digit < 0 || digit > GetSize()) {
        kLogSys("MNSudoku", "EnterDigit: digit %d out of range\n", digit);
        return 0;
    }
    const int cell = m_selectedCell;
    if (!IsCell(cell) || IsGiven(cell) || m_locked[cell]) {
        return 0;
    }
    m_digits[cell] = static_cast<u8>(digit);
    if (digit == 0) {
        return 1;
    }
    if (digit != m_data.solution[cell]) {
        RejectEntry();
        return 1;
    }
    if (GetRules().bTakeTurns) {
        m_locked[cell] = true;
    }
    AcceptEntry();
    return 1;
}

int MNSudoku::FirstOpenCell() const {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (IsOpen(cell)) {
            return cell;
        }
    }
    return -1;
}

template <typename Pick>
bool MNSudoku::RevealCells(Pick pick, bool bReveal) {
    bool bRevealed = false;
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (IsOpen(cell) && pick(cell)) {
            if (!bReveal) {
                return true;
            }
            m_digits[cell] = m_data.solution[cell];
            m_locked[cell] = true;
            bRevealed = true;
        }
    }
    return bRevealed;
}

// The hint works on the selected cell, or its row or box, when that still has an open cell,
// else on the first open cell's.
bool MNSudoku::Hint(int kind) {
    if (kind < 0 || kind >= HINT_KINDS || m_hintsLeft[kind] <= 0) {
        kLogSys("MNSudoku", "Hint: no hint of kind %d left\n", kind);
        return false;
    }
    const int size = GetSize();
    auto same = [=, this](int a, int b) {
        return kind == HINT_CELL  ? a == b
               : kind == HINT_ROW ? a / size == b / size
                                  : BoxOf(a) == BoxOf(b);
    };
    int target = m_selectedCell;
    if (!IsCell(target) || !RevealCells([&](int cell) { return same(cell, target); }, false)) {
        target = FirstOpenCell();
    }
    if (target < 0) {
        kLogSys("MNSudoku", "Hint: no open cell left\n");
        return false;
    }
    kLogFmt("\nHint System %d, cell %d\n", kind, target);
    --m_hintsLeft[kind];
    return RevealCells([&](int cell) { return same(cell, target); }, true);
}

int MNSudoku::GetHintsUsed(int kind) const {
    if (kind < 0 || kind >= HINT_KINDS) {
        return 0;
    }
    const int used = GetMaxHints(kind) - m_hintsLeft[kind];
    return used > 0 ? used : 0;
}

int MNSudoku::SavePuzzleState(void* buf, int bufsize) {
    const int size = StateSize();
    kLogFmt("Save sudoku state %d-%d\n", size, bufsize);
    if (buf == nullptr || bufsize < size) {
        return buf == nullptr && bufsize == 0 ? size : 0;
    }
    MNByteWriter out(buf, static_cast<u32>(bufsize));
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        out.U8(static_cast<u8>(m_digits[cell] | (m_locked[cell] ? K_LOCKED_BIT : 0)));
    }
    out.U8(static_cast<u8>(m_errorsMade > 255 ? 255 : m_errorsMade));
    out.F32(GetTime());
    for (int kind = 0; kind < HINT_KINDS; ++kind) {
        out.U8(static_cast<u8>(m_hintsLeft[kind]));
    }
    out.U8(m_selectedCell < 0 ? kNoSelection : static_cast<u8>(m_selectedCell));
    return static_cast<int>(out.Size());
}

int MNSudoku::LoadPuzzleState(void* buf, int bufsize) {
    if (buf == nullptr || bufsize < StateSize() || GetNumCells() == 0) {
        kLogSys("MNSudoku", "LoadPuzzleState: %d bytes, %d needed\n", bufsize, StateSize());
        return 0;
    }
    MNByteReader in(buf, static_cast<u32>(bufsize));
    int refused = 0;
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        const u8 value = in.U8();
        const int digit = value & ~K_LOCKED_BIT;
        if (IsGiven(cell)) {
            continue;
        }
        const bool bValid = digit <= GetSize();
        refused += bValid ? 0 : 1;
        m_digits[cell] = bValid ? static_cast<u8>(digit) : 0;
        m_locked[cell] = bValid && digit != 0 && (value & K_LOCKED_BIT) != 0;
    }
    if (refused > 0) {
        kLogSys("MNSudoku", "LoadPuzzleState: %d cells held no digit of the grid\n", refused);
    }
    m_errorsMade = in.U8();
    LoadTime(in.F32());
    for (int kind = 0; kind < HINT_KINDS; ++kind) {
        const int left = in.U8();
        m_hintsLeft[kind] = left <= GetMaxHints(kind) ? left : 0;
    }
    const int selected = in.U8();
    m_selectedCell = IsCell(selected) ? selected : -1;
    return 1;
}

} // namespace Kelvo_lib
