#include <puzzles/fitword/mnfitword.h>

#include <services/mnbytecodec.h>
#include <services/puzzletypes.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace Kelvo_lib {

namespace {

// A saved slot holding no word.
constexpr u8 kNoWordByte = 0xFF;

} // namespace

MNFitword::MNFitword(const MNPuzzleSources& sources)
    : MNPuzzleProgress({"MNFitword", "fitword", "Fitword complete"}, sources) {}

void MNFitword::SetPuzzle(FitwordData* fitword, const MNPuzzleRules& rules) {
    m_data = *fitword;
    StartPuzzle(rules);
    m_errorsMade = 0;
    m_selectedWord = K_NO_WORD;
    m_selectedSlot = -1;
    kLogFmt("Fitword Id: %d, cols: %d, rows: %d, words: %d\n", m_data.puzzleID, m_data.numCols,
            m_data.numRows, GetNumWords());

    m_grid.SetPuzzle(m_data);
    m_placed.Empty(0);
    for (int i = 0; i < GetNumWords(); ++i) {
        m_placed.Push(K_NO_WORD);
    }
    BuildWordList();

    for (int kind = 0; kind < K_NUM_HINT_KINDS; ++kind) {
        m_hintsLeft[kind] = GetMaxHints(kind);
    }

    m_highlightMode = HIGHLIGHT_LENGTH;
    if (rules.bPrefilled) {
        m_highlightMode = rules.prefillLevel <= 0   ? HIGHLIGHT_SOLUTION
                          : rules.prefillLevel == 1 ? HIGHLIGHT_LENGTH
                                                    : HIGHLIGHT_NONE;
        Prefill();
    }
    RefreshGrid();
}

// Shortest first, then alphabetical, so that words of one length stand together.
void MNFitword::BuildWordList() {
    std::vector<int> order(static_cast<size_t>(GetNumWords()));
    for (int i = 0; i < GetNumWords(); ++i) {
        order[static_cast<size_t>(i)] = i;
    }
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        if (GetWordLength(a) != GetWordLength(b)) {
            return GetWordLength(a) < GetWordLength(b);
        }
        return std::strcmp(GetWord(a), GetWord(b)) < 0;
    });
    m_wordList.Empty(0);
    for (int i : order) {
        m_wordList.Push(i);
    }
}

// Every word but three stands in its slot for good.
void MNFitword::Prefill() {
    std::vector<int> left;
    for (int i = 0; i < GetNumWords(); ++i) {
        left.push_back(i);
    }
    while (static_cast<int>(left.size()) > K_PREFILL_LEFT) {
        const int pick = RandomBelow(static_cast<int>(left.size()));
        const int slot = left[static_cast<size_t>(pick)];
        left.erase(left.begin() + pick);
        m_grid.LockWord(slot);
    }
}

void MNFitword::Reset(bool resetTime) {
    RestartClock(resetTime);
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        if (!IsSlotLocked(slot)) {
            m_placed(slot) = K_NO_WORD;
        }
    }
    m_selectedWord = K_NO_WORD;
    m_selectedSlot = -1;
    RefreshGrid();
}

int MNFitword::GetSlotOfWord(int i) const {
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        if (m_placed(slot) == i) {
            return slot;
        }
    }
    return -1;
}

// A slot whose every cell is locked holds its own word, which leaves any other slot.
void MNFitword::SettleLockedSlots() {
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        if (m_placed(slot) == slot || !IsSlotLocked(slot)) {
            continue;
        }
        const int held = GetSlotOfWord(slot);
        if (held >= 0) {
            m_placed(held) = K_NO_WORD;
        }
        m_placed(slot) = slot;
    }
}

// The grid's letters follow from the locked cells, which show their solution, and the
// placed words.
void MNFitword::RefreshGrid() {
    SettleLockedSlots();
    for (int cell = 0; cell < GetNumCells(); ++cell) {
        m_grid.SetLetter(cell, IsCellLocked(cell) ? GetCellsDone(cell) : ' ');
    }
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        if (m_placed(slot) != K_NO_WORD) {
            m_grid.EnterWord(slot, GetWord(m_placed(slot)));
        }
    }
    HighlightPossiblePos();
}

bool MNFitword::FitsHighlight(int word, int slot) const {
    if (GetWordLength(word) != GetWordLength(slot) || IsSlotLocked(slot)) {
        return false;
    }
    switch (m_highlightMode) {
    case HIGHLIGHT_LENGTH:
        return m_placed(slot) == K_NO_WORD;
    case HIGHLIGHT_SOLUTION:
        return std::strcmp(GetWord(word), GetWord(slot)) == 0;
    case HIGHLIGHT_NONE:
        break;
    }
    return false;
}

void MNFitword::HighlightPossiblePos() {
    m_grid.ClearHighlights();
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        const bool bLit = m_selectedWord != K_NO_WORD ? FitsHighlight(m_selectedWord, slot)
                                                      : slot == m_selectedSlot;
        if (bLit) {
            m_grid.HighlightWord(slot);
        }
    }
}

void MNFitword::SelectWord(int i) {
    if (i < K_NO_WORD || i >= GetNumWords()) {
        kLogSys("MNFitword", "SelectWord: no word %d\n", i);
        return;
    }
    const int slot = i == K_NO_WORD ? -1 : GetSlotOfWord(i);
    if (slot >= 0 && IsSlotLocked(slot)) {
        return;
    }
    if (slot >= 0) {
        m_placed(slot) = K_NO_WORD;
    }
    m_selectedWord = i;
    if (i == K_NO_WORD) {
        m_selectedSlot = -1;
    }
    RefreshGrid();
}

bool MNFitword::SelectCell(int cell) {
    if (cell < 0 || cell >= GetNumCells()) {
        kLogSys("MNFitword", "SelectCell: no cell %d\n", cell);
        return false;
    }
    int across = m_grid.WordThrough(cell, false);
    int down = m_grid.WordThrough(cell, true);
    if (m_selectedWord != K_NO_WORD) {
        const int length = GetWordLength(m_selectedWord);
        across = across >= 0 && GetWordLength(across) == length ? across : -1;
        down = down >= 0 && GetWordLength(down) == length ? down : -1;
    }
    const int slot = MNLetterGrid::PickWord(across, down, m_selectedSlot);
    if (slot < 0) {
        return false;
    }
    m_selectedSlot = slot;
    if (m_selectedWord != K_NO_WORD) {
        PlaceWord(m_selectedWord, slot);
    } else {
        HighlightPossiblePos();
    }
    return true;
}

int MNFitword::PlaceWord(int word, int slot) {
    if (word < 0 || word >= GetNumWords() || slot < 0 || slot >= GetNumWords()) {
        kLogSys("MNFitword", "PlaceWord: word %d or slot %d out of range\n", word, slot);
        return 0;
    }
    if (GetWordLength(word) != GetWordLength(slot) || IsSlotLocked(slot)) {
        return 0;
    }
    const int previous = GetSlotOfWord(word);
    if (previous >= 0) {
        if (IsSlotLocked(previous)) {
            return 0;
        }
        m_placed(previous) = K_NO_WORD;
    }
    ClearClashes(word, slot);
    m_placed(slot) = word;
    m_selectedWord = K_NO_WORD;
    m_selectedSlot = slot;
    RefreshGrid();
    if (!IsWordRight(word, slot)) {
        RejectEntry();
        return 1;
    }
    if (GetRules().bTakeTurns) {
        // A right word stays for good, so the next player cannot take it out.
        m_grid.LockWord(slot);
    }
    AcceptEntry();
    return 1;
}

void MNFitword::ClearClashes(int word, int slot) {
    for (int n = 0; n < GetWordLength(slot); ++n) {
        const int cell = GetWordCell(slot, n);
        if (IsCellLocked(cell) || GetUserLetter(cell) == ' ' ||
            GetUserLetter(cell) == GetWord(word)[n]) {
            continue;
        }
        const int crossing = m_grid.WordThrough(cell, !GetWordDirection(slot));
        if (crossing >= 0 && crossing != slot && !IsSlotLocked(crossing)) {
            m_placed(crossing) = K_NO_WORD;
        }
    }
    m_placed(slot) = K_NO_WORD;
}

void MNFitword::ClearSlot(int slot) {
    if (slot < 0 || slot >= GetNumWords()) {
        kLogSys("MNFitword", "ClearSlot: no slot %d\n", slot);
        return;
    }
    if (!IsSlotLocked(slot)) {
        m_placed(slot) = K_NO_WORD;
        RefreshGrid();
    }
}

bool MNFitword::IsWordRight(int word, int slot) const {
    return std::strcmp(GetWord(word), GetWord(slot)) == 0;
}

int MNFitword::GetNumErrors() const {
    int errors = 0;
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        const int word = m_placed(slot);
        errors += word != K_NO_WORD && !IsWordRight(word, slot) ? 1 : 0;
    }
    return errors;
}

void MNFitword::RemoveErrors() {
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        const int word = m_placed(slot);
        if (word != K_NO_WORD && !IsWordRight(word, slot)) {
            m_placed(slot) = K_NO_WORD;
        }
    }
    RefreshGrid();
}

int MNFitword::GetHintsUsed(int kind) const {
    if (kind < 0 || kind >= K_NUM_HINT_KINDS) {
        return 0;
    }
    return std::max(0, GetMaxHints(kind) - m_hintsLeft[kind]);
}

// A random slot whose letters are not all right yet, -1 when every one is.
int MNFitword::FreeSlotForHint() {
    std::vector<int> free;
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        if (!IsSlotLocked(slot) && !m_grid.IsWordRight(slot)) {
            free.push_back(slot);
        }
    }
    return free.empty() ? -1
                        : free[static_cast<size_t>(RandomBelow(static_cast<int>(free.size())))];
}

bool MNFitword::Hint(int kind) {
    if (kind < 0 || kind >= K_NUM_HINT_KINDS || m_hintsLeft[kind] <= 0) {
        kLogSys("MNFitword", "Hint: no hint of kind %d left\n", kind);
        return false;
    }
    const int slot = FreeSlotForHint();
    if (slot < 0) {
        return false;
    }
    --m_hintsLeft[kind];
    kLogFmt("Fitword hint %d on slot %d\n", kind, slot);
    if (kind == 0) {
        std::vector<int> open;
        for (int n = 0; n < GetWordLength(slot); ++n) {
            if (!IsCellLocked(GetWordCell(slot, n))) {
                open.push_back(GetWordCell(slot, n));
            }
        }
        m_grid.SetLocked(open[static_cast<size_t>(RandomBelow(static_cast<int>(open.size())))],
                         true);
    } else if (kind == 1) {
        for (int other = 0; other < GetNumWords(); ++other) {
            if (GetWordLength(other) == GetWordLength(slot) && !IsSlotLocked(other)) {
                m_grid.SetLocked(GetWordCell(other, 0), true);
            }
        }
    } else {
        m_grid.LockWord(slot);
    }
    if (m_selectedWord != K_NO_WORD && GetSlotOfWord(m_selectedWord) >= 0) {
        m_selectedWord = K_NO_WORD;
    }
    RefreshGrid();
    return true;
}

// One byte per slot (its word, or none), the locked cells as bits, the clock, the hints and
// the errors made.
int MNFitword::StateSize() const {
    return GetNumWords() + (GetNumCells() + 7) / 8 + 4 + K_NUM_HINT_KINDS + 1;
}

int MNFitword::SavePuzzleState(void* buf, int bufsize) {
    const int size = StateSize();
    kLogFmt("Save fitword state %d-%d\n", size, bufsize);
    if (buf == nullptr || bufsize < size) {
        return buf == nullptr && bufsize == 0 ? size : 0;
    }
    MNByteWriter out(buf, static_cast<u32>(bufsize));
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        out.U8(m_placed(slot) == K_NO_WORD ? kNoWordByte : static_cast<u8>(m_placed(slot)));
    }
    for (int first = 0; first < GetNumCells(); first += 8) {
        u8 bits = 0;
        for (int bit = 0; bit < 8 && first + bit < GetNumCells(); ++bit) {
            bits = static_cast<u8>(bits | (IsCellLocked(first + bit) ? 0x80 >> bit : 0));
        }
        out.U8(bits);
    }
    out.F32(GetTime());
    for (int kind = 0; kind < K_NUM_HINT_KINDS; ++kind) {
        out.U8(static_cast<u8>(std::clamp(m_hintsLeft[kind], 0, 255)));
    }
    out.U8(static_cast<u8>(std::min(m_errorsMade, 255)));
    return static_cast<int>(out.Size());
}

int MNFitword::LoadPuzzleState(void* buf, int bufsize) {
    if (buf == nullptr || bufsize < StateSize()) {
        kLogSys("MNFitword", "LoadPuzzleState: %d bytes, %d needed\n", bufsize, StateSize());
        return 0;
    }
    MNByteReader in(buf, static_cast<u32>(bufsize));
    std::vector<int> placed(static_cast<size_t>(GetNumWords()));
    for (int& word : placed) {
        const u8 value = in.U8();
        word = value == kNoWordByte ? K_NO_WORD : value;
    }
    for (int first = 0; first < GetNumCells(); first += 8) {
        const u8 bits = in.U8();
        for (int bit = 0; bit < 8 && first + bit < GetNumCells(); ++bit) {
            // Only letter cells can be locked.
            const int cell = first + bit;
            m_grid.SetLocked(cell, (bits & (0x80 >> bit)) != 0 && GetCellsDone(cell) != 0);
        }
    }
    for (int slot = 0; slot < GetNumWords(); ++slot) {
        const int word = placed[static_cast<size_t>(slot)];
        const bool bKnown = word >= 0 && word < GetNumWords() &&
                            GetWordLength(word) == GetWordLength(slot) &&
                            std::count(placed.begin(), placed.end(), word) == 1;
        if (word != K_NO_WORD && !bKnown) {
            kLogSys("MNFitword", "LoadPuzzleState: slot %d cannot hold word %d\n", slot, word);
        }
        m_placed(slot) = bKnown ? word : K_NO_WORD;
    }
    LoadTime(in.F32());
    for (int kind = 0; kind < K_NUM_HINT_KINDS; ++kind) {
        m_hintsLeft[kind] = std::min<int>(in.U8(), GetMaxHints(kind));
    }
    m_errorsMade = in.U8();
    m_selectedWord = K_NO_WORD;
    m_selectedSlot = -1;
    RefreshGrid();
    return 1;
}

} // namespace Kelvo_lib
