#include <puzzles/crossword/mncrossword.h>

#include <services/mnbytecodec.h>
#include <services/puzzletypes.h>
#include <tui/mnkeyboard.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cstring>

namespace Kelvo_lib {

namespace {

// A saved cell: the key index of its letter, bit 7 for a locked cell, 0xFF for none.
constexpr u8 kNoKey = 0xFF;
constexpr u8 kLockedBit = 0x80;

} // namespace

MNCrossword::MNCrossword(const MNPuzzleSources& sources)
    : MNPuzzleProgress({"MNCrossword", "crossword", "State set to complete"}, sources) {}

MNCrossword::~MNCrossword() {
    delete m_keyboard;
}

void MNCrossword::SetPuzzle(CrosswordData* crossword, const MNPuzzleRules& rules) {
    m_data = *crossword;
    StartPuzzle(rules);
    m_errors = 0;
    m_errorsMade = 0;
    m_hintsUsed = 0;
    kLogFmt("1 Id: %d, cols: %d, rows: %d, words: %d\n", crossword->puzzleID, crossword->numCols,
            crossword->numRows, crossword->words.Size());
    kLogFmt("2 Id: %d, cols: %d, rows: %d, words: %d\n", m_data.puzzleID, m_data.numCols,
            m_data.numRows, m_data.words.Size());
    m_gridScaleX = K_GRID_SCALE;
    m_gridScaleY = K_GRID_SCALE;
    m_grid.SetPuzzle(m_data);

    delete m_keyboard;
    m_keyboard = new MNKeyboard(m_data.language, false);
    m_keyboard->SetPosition(K_KEYBOARD_X, K_KEYBOARD_Y);
    m_keyboard->SetKeySpacing(2, 2);

    NumberClues();
    SelectFirstAcross();
    if (rules.bPrefilled) {
        Prefill();
    }
}

// Consecutive words from one start cell share a number; the first word is 1.
void MNCrossword::NumberClues() {
    m_numberedCells.Empty(0);
    m_numberedCells.Add(GetNumWords());
    int number = 0;
    int previousStart = -1;
    for (int i = 0; i < GetNumWords(); ++i) {
        if (GetStartCell(i) != previousStart) {
            ++number;
        }
        previousStart = GetStartCell(i);
        m_numberedCells(i) = number;
    }
}

void MNCrossword::SelectFirstAcross() {
    for (int i = 0; i < GetNumWords(); ++i) {
        if (!GetWordDirection(i)) {
            SelectClue(i);
            return;
        }
    }
}

// The whole solution shows but for up to three words, and only those can be typed.
void MNCrossword::Prefill() {
    for (int i = 0; i < GetNumWords(); ++i) {
        m_grid.EnterWord(i, GetWord(i));
        m_cluesUsed.AddUniqueElement(i);
    }
    if (GetNumWords() > 0) {
        int picked[K_PREFILL_PICKS];
        int numPicked = 0;
        for (int pick = 0; pick < K_PREFILL_PICKS; ++pick) {
            for (int attempt = 0; attempt < K_PREFILL_TRIES; ++attempt) {
                const int r = RandomBelow(GetNumWords());
                if (std::find(picked, picked + numPicked, r) != picked + numPicked) {
                    continue;
                }
                m_cluesUsed.RemoveElement(r);
                for (int n = 0; n < GetWordLength(r); ++n) {
                    const int cell = GetWordCell(r, n);
                    if (m_grid.WordThrough(cell, !GetWordDirection(r)) < 0) {
                        m_grid.SetLetter(cell, ' ');
                    }
                }
                picked[numPicked++] = r;
                break;
            }
        }
    }
    for (int i = 0; i < GetNumWords(); ++i) {
        for (int n = 0; n < GetWordLength(i); ++n) {
            const int cell = GetWordCell(i, n);
            if (GetUserLetter(cell) != ' ') {
                m_grid.SetLocked(cell, true);
            }
        }
    }
}

void MNCrossword::Reset(bool resetTime) {
    RestartClock(resetTime);
    m_errors = 0;
    m_grid.ClearUnlocked();
    RecountCluesUsed();
    SelectFirstAcross();
}

void MNCrossword::RecountCluesUsed() {
    m_cluesUsed.Empty(0);
    for (int i = 0; i < GetNumWords(); ++i) {
        if (m_grid.IsWordFilled(i)) {
            m_cluesUsed.Push(i);
        }
    }
}

const char* MNCrossword::GetWord(int i) const {
    return GetNumWords() == 0 ? "No word" : m_data.words(i).word;
}

int MNCrossword::GetNumWordsOfDirection(bool bDirection) const {
    int count = 0;
    for (int i = 0; i < GetNumWords(); ++i) {
        count += GetWordDirection(i) == bDirection ? 1 : 0;
    }
    return count;
}

bool MNCrossword::IsClueUsed(int i) const {
    for (int n = 0; n < m_cluesUsed.Size(); ++n) {
        if (m_cluesUsed(n) == i) {
            return true;
        }
    }
    return false;
}

void MNCrossword::SelectClue(int clue) {
    m_selectedClue = clue;
    if (clue == -1) {
        kLogFmt("Invalid selectclue!\n");
        m_firstCell = 0;
        m_bDirection = false;
    } else {
        kLogFmt("Select clue: %d - cell %d dir %d\n", clue, GetStartCell(clue),
                GetWordDirection(clue) ? 1 : 0);
        m_firstCell = GetStartCell(clue);
        m_bDirection = GetWordDirection(clue);
    }
    m_bDirectionView = m_bDirection;
    HighlightPossiblePos();
}

void MNCrossword::Select(int clue) {
    m_selectedClue = clue;
    m_bDirection = GetWordDirection(clue);
    m_firstCell = GetStartCell(clue);
}

void MNCrossword::SelectCell(int cell, eDirection) {
    const int clue = MNLetterGrid::PickWord(m_grid.WordThrough(cell, false),
                                            m_grid.WordThrough(cell, true), m_selectedClue);
    if (clue >= 0) {
        Select(clue);
    }
    m_bDirectionView = m_bDirection;
    HighlightPossiblePos();
}

void MNCrossword::HighlightPossiblePos() {
    m_grid.ClearHighlights();
    if (m_selectedClue < 0) {
        kLogFmt("HighlightPossiblePos: Called with no selected clue\n");
        return;
    }
    m_grid.HighlightWord(m_selectedClue);
}

int MNCrossword::PlaceWord(const char* word, int index, eDirection dir) {
    if (index == -1 || word == nullptr || dir == DIR_NONE) {
        return 0;
    }
    const int step = dir == DIR_HORIZONTAL ? 1 : GetNumCols();
    bool bRight = true;
    bool bComplete = true;
    for (int i = 0; word[i] != '\0'; ++i) {
        const int cell = index + i * step;
        if (cell < 0 || cell >= GetNumCells()) {
            kLogSys("MNCrossword", "PlaceWord: letter %d lies outside the grid\n", i);
            bRight = false;
            continue;
        }
        kLogFmt("PlaceWord :: Checking correctness - %c = %c ?", GetCellsDone(cell), word[i]);
        // A locked letter stays, and the word is judged with it.
        m_grid.EnterLetter(cell, word[i]);
        const char letter = GetUserLetter(cell);
        bRight = bRight && letter == GetCellsDone(cell);
        bComplete = bComplete && letter != ' ';
    }
    if (bComplete && m_selectedClue >= 0) {
        m_cluesUsed.AddUniqueElement(m_selectedClue);
    }
    if (!bRight || !bComplete) {
        ++m_errors;
        RejectEntry();
        return 1;
    }
    if (m_errors > 0) {
        --m_errors;
    }
    // Where players take turns, a right word is judged only when it locks a letter that was
    // open: one of no selected clue, or wholly locked already, passes in silence.
    if (!GetRules().bTakeTurns || (m_selectedClue >= 0 && m_grid.LockWord(m_selectedClue))) {
        AcceptEntry();
    }
    return 1;
}

bool MNCrossword::Hint(int kind) {
    if (kind != 0 || m_selectedClue < 0 || m_keyboard == nullptr) {
        kLogSys("MNCrossword", "Hint: no hint of kind %d for the selected word\n", kind);
        return false;
    }
    char s[MNKeyboard::kMaxString + 1] = {};
    std::strncpy(s, m_keyboard->GetString(), MNKeyboard::kMaxString);
    const int p = m_keyboard->GetCursorPos() + 1;
    const char* solution = GetWord(m_selectedClue);
    if (p >= static_cast<int>(std::strlen(s)) || p >= GetWordLength(m_selectedClue)) {
        return false;
    }
    if (s[p] == solution[p]) {
        m_keyboard->SetCursorPos(p);
        return false;
    }
    if (!m_keyboard->GetLockedCells(p)) {
        s[p] = solution[p];
        const int cell = GetWordCell(m_selectedClue, p);
        m_grid.SetLetter(cell, solution[p]);
        m_grid.SetLocked(cell, true);
        m_keyboard->SetLockedCells(p);
    }
    m_keyboard->SetCursorPos(p);
    ++m_hintsUsed;
    m_keyboard->SetString(s);
    kLogFmt("HINT STRING %s\n", s);
    return true;
}

void MNCrossword::RemoveErrors() {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (m_grid.IsCellRight(cell)) {
            continue;
        }
        m_grid.SetLetter(cell, ' ');
        for (const bool bDown : {false, true}) {
            const int word = m_grid.WordThrough(cell, bDown);
            if (word >= 0) {
                m_cluesUsed.RemoveElement(word);
            }
        }
    }
}

int MNCrossword::SavePuzzleState(void* buf, int bufsize) {
    const int size = StateSize();
    kLogFmt("Save crossword state %d-%d\n", size, bufsize);
    if (buf == nullptr || bufsize < size || m_keyboard == nullptr) {
        return buf == nullptr && bufsize == 0 ? size : 0;
    }
    MNByteWriter out(buf, static_cast<u32>(bufsize));
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        const int key = m_keyboard->GetKeyIndex(GetUserLetter(cell));
        const bool bLocked = IsCellLocked(cell);
        out.U8(key < 0 ? kNoKey : static_cast<u8>(key | (bLocked ? kLockedBit : 0)));
    }
    for (int i = 0; i < GetNumWords(); ++i) {
        out.U8(IsClueUsed(i) ? 1 : 0);
    }
    out.U8(static_cast<u8>(m_errors));
    out.F32(GetTime());
    out.U8(static_cast<u8>(m_hintsUsed));
    kLogFmt("StreamPos: %d\n", static_cast<int>(out.Size()));
    kLogFmt("Required: %d\n", size);
    return static_cast<int>(out.Size());
}

int MNCrossword::LoadPuzzleState(void* buf, int bufsize) {
    if (buf == nullptr || bufsize < StateSize() || m_keyboard == nullptr) {
        kLogSys("MNCrossword", "LoadPuzzleState: %d bytes, %d needed\n", bufsize, StateSize());
        return 0;
    }
    MNByteReader in(buf, static_cast<u32>(bufsize));
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        const u8 value = in.U8();
        if (value == kNoKey) {
            m_grid.SetLetter(cell, ' ');
            continue;
        }
        const int key = value & ~kLockedBit;
        const char letter = key < m_keyboard->GetNumKeys() ? m_keyboard->GetLetter(key) : '\0';
        if (letter == '\0' || letter == ' ' || letter == MNKeyboard::kBackspace ||
            GetCellsDone(cell) == 0) {
            // No letter key of this keyboard, or a block: the cell stays as the puzzle has it.
            kLogSys("MNCrossword", "LoadPuzzleState: cell %d cannot hold key %d\n", cell, key);
            m_grid.SetLetter(cell, ' ');
            continue;
        }
        m_grid.SetLetter(cell, letter);
        if ((value & kLockedBit) != 0) {
            m_grid.SetLocked(cell, true);
        }
    }
    m_cluesUsed.Empty(0);
    for (int i = 0; i < GetNumWords(); ++i) {
        if (in.U8() == 1) {
            m_cluesUsed.Push(i);
        }
    }
    m_errors = in.U8();
    // The state keeps the net count only: the errors made are at least that many.
    m_errorsMade = m_errors;
    LoadTime(in.F32());
    m_hintsUsed = in.U8();
    return 1;
}

} // namespace Kelvo_lib
