#include <puzzles/crossword/mncrossword.h>

#include <puzzles/mnpuzzlemodel.h>
#include <services/mnbytecodec.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
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

MNCrossword::MNCrossword() = default;

MNCrossword::~MNCrossword() {
    delete m_keyboard;
    delete[] m_gridMap;
}

void MNCrossword::SetPuzzle(CrosswordData* crossword, const MNPuzzleRules& rules) {
    m_data = *crossword;
    m_rules = rules;
    m_timer = 0.0f;
    m_errors = 0;
    m_errorsMade = 0;
    m_hintsUsed = 0;
    delete[] m_gridMap;
    kLogFmt("1 Id: %d, cols: %d, rows: %d, words: %d\n", crossword->puzzleID, crossword->numCols,
            crossword->numRows, crossword->words.Size());
    kLogFmt("2 Id: %d, cols: %d, rows: %d, words: %d\n", m_data.puzzleID, m_data.numCols,
            m_data.numRows, m_data.words.Size());
    m_gridScaleX = K_GRID_SCALE;
    m_gridScaleY = K_GRID_SCALE;

    const int cells = GetNumCells();
    m_gridMap = new Cell[cells];
    for (int cell = 0; cell < cells; ++cell) {
        m_gridMap[cell] = Cell{' ', false, false};
    }
    m_hintGrid.SetSize(cells);
    for (int cell = 0; cell < cells; ++cell) {
        m_hintGrid(cell) = false;
    }

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
        for (int n = 0; n < GetWordLength(i); ++n) {
            m_gridMap[GetWordCell(i, n)].userLetter = GetWord(i)[n];
        }
        m_cluesUsed.AddUniqueElement(i);
    }
    if (GetNumWords() > 0) {
        int picked[K_PREFILL_PICKS];
        int numPicked = 0;
        for (int pick = 0; pick < K_PREFILL_PICKS; ++pick) {
            for (int attempt = 0; attempt < K_PREFILL_TRIES; ++attempt) {
                const int r = static_cast<int>(MNProfile::GetRandomGen()->rand()) % GetNumWords();
                if (std::find(picked, picked + numPicked, r) != picked + numPicked) {
                    continue;
                }
                m_cluesUsed.RemoveElement(r);
                for (int n = 0; n < GetWordLength(r); ++n) {
                    const int cell = GetWordCell(r, n);
                    const CrosswordDataCell& data = m_data.cells(cell);
                    const u8 crossing = GetWordDirection(r) ? data.wordIndexA : data.wordIndexD;
                    if (crossing == CROSSWORD_NO_WORD) {
                        m_gridMap[cell].userLetter = ' ';
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
            if (m_gridMap[cell].userLetter != ' ') {
                m_hintGrid(cell) = true;
            }
        }
    }
}

void MNCrossword::SetSpellout(SpelloutData* spellout) {
    m_bSpellout = spellout != nullptr;
    if (spellout != nullptr) {
        std::memcpy(m_spellout.word, spellout->word, sizeof(m_spellout.word));
        m_spellout.cells = spellout->cells;
        m_spellout.difficulty = spellout->difficulty;
    }
}

void MNCrossword::Reset(bool resetTime) {
    if (resetTime) {
        m_timer = 0.0f;
    }
    m_targetWarning.Reset(resetTime);
    m_errors = 0;
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (!m_hintGrid(cell)) {
            m_gridMap[cell] = Cell{' ', false, false};
        }
    }
    RecountCluesUsed();
    SelectFirstAcross();
}

void MNCrossword::RecountCluesUsed() {
    m_cluesUsed.Empty(0);
    for (int i = 0; i < GetNumWords(); ++i) {
        if (IsWordFilled(i)) {
            m_cluesUsed.Push(i);
        }
    }
}

void MNCrossword::Tick(float delta) {
    if (m_crosswordState == PUZZLE_STATE_PLAYING) {
        m_timer += delta;
    }
    if (m_rules.bTargetTimeWarning) {
        m_targetWarning.Tick(m_timer, delta);
    }
    if (MNProfile::CheatKeyPressed()) {
        kLogFmt("Debug: Completing crossword game\n");
        m_crosswordState = PUZZLE_STATE_COMPLETED;
        GameOverSignal();
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

int MNCrossword::GetWordCell(int i, int n) const {
    return GetStartCell(i) + n * (GetWordDirection(i) ? GetNumCols() : 1);
}

int MNCrossword::GetWordLength(int i) const {
    return static_cast<int>(strnlen(m_data.words(i).word, sizeof(m_data.words(i).word)));
}

bool MNCrossword::IsSpelloutCell(int cell) const {
    if (!m_bSpellout) {
        return false;
    }
    for (int i = 0; i < m_spellout.cells.Size(); ++i) {
        if (m_spellout.cells(i) == cell + 1) {
            return true;
        }
    }
    return false;
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
    const CrosswordDataCell& data = m_data.cells(cell);
    const bool bAcross = data.wordIndexA != CROSSWORD_NO_WORD;
    const bool bDown = data.wordIndexD != CROSSWORD_NO_WORD;
    if (bAcross && (!bDown || m_selectedClue != data.wordIndexA)) {
        Select(data.wordIndexA);
    } else if (bDown) {
        Select(data.wordIndexD);
    }
    m_bDirectionView = m_bDirection;
    HighlightPossiblePos();
}

void MNCrossword::HighlightPossiblePos() {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        m_gridMap[cell].bHighlight = false;
        m_gridMap[cell].bReveal = false;
    }
    if (m_selectedClue < 0) {
        kLogFmt("HighlightPossiblePos: Called with no selected clue\n");
        return;
    }
    const int length = GetWordLength(m_selectedClue);
    if (m_firstCell < 0 || m_firstCell >= GetNumCells() || length < 1) {
        return;
    }
    const int step = m_bDirection ? GetNumCols() : 1;
    for (int n = 0; n < length && m_firstCell + n * step < GetNumCells(); ++n) {
        m_gridMap[m_firstCell + n * step].bHighlight = true;
    }
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
        if (!m_hintGrid(cell)) {
            m_gridMap[cell].userLetter = word[i];
        }
        const char letter = m_gridMap[cell].userLetter;
        bRight = bRight && letter == GetCellsDone(cell);
        bComplete = bComplete && letter != ' ';
    }
    if (bComplete && m_selectedClue >= 0) {
        m_cluesUsed.AddUniqueElement(m_selectedClue);
    }
    if (!bRight || !bComplete) {
        if (m_rules.bTakeTurns) {
            MNSound::PlaySoundEffect(SFX_WRONG);
        }
        ++m_errors;
        ++m_errorsMade;
        InvalidEntrySignal();
        return 1;
    }
    if (m_errors > 0) {
        --m_errors;
    }
    if (!m_rules.bTakeTurns) {
        ValidEntrySignal();
    } else if (LockSelectedWord()) {
        MNSound::PlaySoundEffect(SFX_RIGHT);
        ValidEntrySignal();
    }
    return 1;
}

bool MNCrossword::LockSelectedWord() {
    if (m_selectedClue < 0) {
        return false;
    }
    const int step = m_bDirection ? GetNumCols() : 1;
    bool bLocked = false;
    for (int n = 0; n < GetWordLength(m_selectedClue); ++n) {
        const int cell = m_firstCell + n * step;
        if (cell >= 0 && cell < GetNumCells() && !m_hintGrid(cell)) {
            m_hintGrid(cell) = true;
            bLocked = true;
        }
    }
    return bLocked;
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
        const int cell = m_firstCell + p * (m_bDirection ? GetNumCols() : 1);
        m_gridMap[cell].userLetter = solution[p];
        m_hintGrid(cell) = true;
        m_keyboard->SetLockedCells(p);
    }
    m_keyboard->SetCursorPos(p);
    ++m_hintsUsed;
    m_keyboard->SetString(s);
    kLogFmt("HINT STRING %s\n", s);
    return true;
}

bool MNCrossword::IsGridFull() const {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (GetCellsDone(cell) != 0 && m_gridMap[cell].userLetter == ' ') {
            return false;
        }
    }
    return true;
}

bool MNCrossword::CheckWin() {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (GetCellsDone(cell) != 0 && m_gridMap[cell].userLetter != GetCellsDone(cell)) {
            return false;
        }
    }
    kLogFmt("State set to complete\n");
    m_crosswordState = PUZZLE_STATE_COMPLETED;
    return true;
}

void MNCrossword::RemoveErrors() {
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        if (GetCellsDone(cell) == 0 || m_gridMap[cell].userLetter == GetCellsDone(cell)) {
            continue;
        }
        m_gridMap[cell].userLetter = ' ';
        const CrosswordDataCell& data = m_data.cells(cell);
        if (data.wordIndexA != CROSSWORD_NO_WORD) {
            m_cluesUsed.RemoveElement(data.wordIndexA);
        }
        if (data.wordIndexD != CROSSWORD_NO_WORD) {
            m_cluesUsed.RemoveElement(data.wordIndexD);
        }
    }
}

bool MNCrossword::IsWordFilled(int i) const {
    for (int n = 0; n < GetWordLength(i); ++n) {
        if (m_gridMap[GetWordCell(i, n)].userLetter == ' ') {
            return false;
        }
    }
    return true;
}

bool MNCrossword::IsWordRight(int i) const {
    for (int n = 0; n < GetWordLength(i); ++n) {
        const int cell = GetWordCell(i, n);
        if (m_gridMap[cell].userLetter != GetCellsDone(cell)) {
            return false;
        }
    }
    return true;
}

int MNCrossword::GetNumCorrect() const {
    int count = 0;
    for (int i = 0; i < GetNumWords(); ++i) {
        count += IsWordRight(i) ? 1 : 0;
    }
    return count;
}

int MNCrossword::SavePuzzleState(void* buf, int bufsize) {
    const int size = StateSize();
    kLogFmt("Save crossword state %d-%d\n", size, bufsize);
    if (buf == nullptr || bufsize < size || m_keyboard == nullptr) {
        return buf == nullptr && bufsize == 0 ? size : 0;
    }
    MNByteWriter out(buf, static_cast<u32>(bufsize));
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        const int key = m_keyboard->GetKeyIndex(m_gridMap[cell].userLetter);
        const bool bLocked = m_hintGrid(cell);
        out.U8(key < 0 ? kNoKey : static_cast<u8>(key | (bLocked ? kLockedBit : 0)));
    }
    for (int i = 0; i < GetNumWords(); ++i) {
        out.U8(IsClueUsed(i) ? 1 : 0);
    }
    out.U8(static_cast<u8>(m_errors));
    out.F32(m_timer);
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
            m_gridMap[cell].userLetter = ' ';
            continue;
        }
        const int key = value & ~kLockedBit;
        const char letter = key < m_keyboard->GetNumKeys() ? m_keyboard->GetLetter(key) : '\0';
        if (letter == '\0' || letter == ' ' || letter == MNKeyboard::kBackspace ||
            GetCellsDone(cell) == 0) {
            // No letter key of this keyboard, or a block: the cell stays as the puzzle has it.
            kLogSys("MNCrossword", "LoadPuzzleState: cell %d cannot hold key %d\n", cell, key);
            m_gridMap[cell].userLetter = ' ';
            continue;
        }
        m_gridMap[cell].userLetter = letter;
        if ((value & kLockedBit) != 0) {
            m_hintGrid(cell) = true;
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
    m_timer = LoadedPlayTime(in.F32(), "MNCrossword");
    m_hintsUsed = in.U8();
    return 1;
}

} // namespace Kelvo_lib
