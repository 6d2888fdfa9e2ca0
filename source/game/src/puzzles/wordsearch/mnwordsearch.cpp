#include <puzzles/wordsearch/mnwordsearch.h>

#include <services/puzzletypes.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr int kHintKinds = 3;
constexpr int kDifficulties = 4;
// Words left to find in a Fast and Fun puzzle.
constexpr int kFastAndFunWordsLeft = 3;
// A saved hint position byte for "no hint".
constexpr unsigned char kNoHintByte = 255;

// Hints a puzzle starts with, [Tournament or not][bank difficulty][kind].
const int s_maxHintsTable[2][kDifficulties][kHintKinds] = {
    {{4, 3, 2}, {4, 3, 2}, {3, 2, 1}, {2, 1, 1}},
    {{7, 5, 3}, {7, 5, 3}, {5, 3, 1}, {3, 2, 1}},
};

void WriteByte(kMemoryIOStream& stream, int value) {
    const unsigned char byte = static_cast<unsigned char>(value);
    stream.Write(&byte, 1);
}

unsigned char ReadByte(kMemoryIOStream& stream) {
    unsigned char byte = 0;
    stream.Read(&byte, 1);
    return byte;
}

void WriteFloat(kMemoryIOStream& stream, float value) {
    unsigned int bits = 0;
    std::memcpy(&bits, &value, 4);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(bits >> 24), static_cast<unsigned char>(bits >> 16),
        static_cast<unsigned char>(bits >> 8), static_cast<unsigned char>(bits)};
    stream.Write(bytes, 4);
}

float ReadFloat(kMemoryIOStream& stream) {
    unsigned int bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits = (bits << 8) | ReadByte(stream);
    }
    float value = 0.0f;
    std::memcpy(&value, &bits, 4);
    return value;
}

} // namespace

MNWordsearch::MNWordsearch() : m_hintPositions{-1, -1} {}

void MNWordsearch::SetPuzzle(WordsearchData* wordsearch, int gamemode) {
    m_gameMode = gamemode;
    m_targetWarning.Reset(true);
    m_timer = 0.0f;
    m_errors = 0;
    m_errorsMade = 0;
    ClearSelection();
    m_lastSelection = -1;
    m_wordsFound.Empty();

    m_data.puzzleID = wordsearch->puzzleID;
    m_data.oldPuzzleID = wordsearch->oldPuzzleID;
    m_data.numRows = wordsearch->numRows;
    m_data.numCols = wordsearch->numCols;
    m_data.numWords = wordsearch->numWords;
    m_data.numTrailCells = wordsearch->numTrailCells;
    m_data.difficulty = wordsearch->difficulty;
    m_data.language = wordsearch->language;
    std::memcpy(m_data.title, wordsearch->title, sizeof(m_data.title));
    m_data.wordTrails = wordsearch->wordTrails;
    m_data.words = wordsearch->words;
    m_data.gridMap = wordsearch->gridMap;

    for (int kind = 0; kind < kHintKinds; ++kind) {
        m_hintsLeft[kind] = HintAllowance(gamemode, kind);
    }
    m_hintPositions[0] = m_hintPositions[1] = -1;

    if (gamemode == GAME_MODE_FASTANDFUN) {
        kArray<int> unfound;
        for (int w = 0; w < GetNumWords(); ++w) {
            unfound.Push(w);
        }
        for (int i = 0; i < GetNumWords() - kFastAndFunWordsLeft; ++i) {
            const int w = unfound(RandomBelow(unfound.Size()));
            unfound.RemoveElement(w);
            m_wordsFound.AddUniqueElement(static_cast<char>(w));
        }
    }
}

int MNWordsearch::HintAllowance(int gameMode, int kind) const {
    const int difficulty = m_data.difficulty;
    if (difficulty >= kDifficulties) {
        kLogFmt("Wordsearch: no hints for difficulty %d\n", difficulty);
        return 0;
    }
    switch (gameMode) {
    case GAME_MODE_TOURNAMENT:
        return s_maxHintsTable[0][difficulty][kind];
    case GAME_MODE_QUICKBLAST:
        return s_maxHintsTable[1][difficulty][kind];
    case GAME_MODE_SIMPLYPUZZLE:
        // The small puzzles give no hints here.
        return difficulty == PUZZLE_DIFFICULTY_MINI ? 0 : s_maxHintsTable[1][difficulty][kind];
    default:
        return 0;
    }
}

int MNWordsearch::GetMaxHints(int gameMode, int kind) const {
    const int difficulty = m_data.difficulty;
    if (gameMode == GAME_MODE_SIMPLYPUZZLE) {
        if (difficulty == PUZZLE_DIFFICULTY_MINI || difficulty >= kDifficulties) {
            return 0;
        }
        return s_maxHintsTable[1][difficulty - 1][kind];
    }
    return gameMode == GAME_MODE_TOURNAMENT || gameMode == GAME_MODE_QUICKBLAST
               ? HintAllowance(gameMode, kind)
               : 0;
}

int MNWordsearch::GetHintsUsed(int kind) const {
    if (kind < 0 || kind >= PUZZLE_HINT_KINDS) {
        return 0;
    }
    return std::max(0, GetMaxHints(m_gameMode, kind) - m_hintsLeft[kind]);
}

void MNWordsearch::ResetPuzzle(bool bResetTimer) {
    if (bResetTimer) {
        m_timer = 0.0f;
    }
    m_targetWarning.Reset(bResetTimer);
    m_errors = 0;
    ClearSelection();
    m_lastSelection = -1;
    m_wordsFound.Empty();
}

void MNWordsearch::ClearSelection() {
    m_startSelection = -1;
    m_currentSelection = -1;
    m_endSelection = -1;
}

void MNWordsearch::Tick(float delta) {
    if (m_state == 1) {
        m_timer += delta;
    }
    if (m_gameMode == GAME_MODE_TOURNAMENT) {
        m_targetWarning.Tick(m_timer, delta);
    }
    if (MNProfile::CheatKeyPressed()) {
        kLogFmt("Debug: Completing wordsearch game\n");
        m_state = 4;
        GameOverSignal();
    }
}

bool MNWordsearch::IsInGrid(int x, int y) const {
    return x >= 0 && x < m_data.numCols && y >= 0 && y < m_data.numRows;
}

void MNWordsearch::GridClick(bool overGrid, int x, int y, int mouseState) {
    m_lastSelection = m_currentSelection;
    const int cols = m_data.numCols;
    if (overGrid) {
        const int cell = x + y * cols;
        if (!IsInGrid(x, y)) {
            return;
        }
        if (mouseState == MOUSE_PRESSED) {
            m_startSelection = m_currentSelection = cell;
            MNSound::PlaySoundEffect(SFX_CELL_SELECT);
        } else if (mouseState == MOUSE_HELD && m_startSelection != -1) {
            DragSelection(x, y);
        } else if (mouseState == MOUSE_RELEASED && m_startSelection != -1) {
            m_hintPositions[0] = m_hintPositions[1] = -1;
            m_endSelection = m_currentSelection;
        }
    } else if (mouseState == MOUSE_RELEASED) {
        m_endSelection = m_currentSelection;
        if (m_startSelection != -1) {
            m_hintPositions[0] = m_hintPositions[1] = -1;
        }
    }
    if (m_startSelection != -1 && m_endSelection != -1) {
        MatchSelection();
    }
}

void MNWordsearch::DragSelection(int x, int y) {
    const int cols = m_data.numCols;
    const int cell = x + y * cols;
    if (cell == m_startSelection) {
        m_currentSelection = cell;
        return;
    }
    const int sx = m_startSelection % cols;
    const int sy = m_startSelection / cols;
    const int adx = std::abs(sx - x);
    const int ady = std::abs(sy - y);
    if (adx == ady || adx == 0 || ady == 0) {
        m_currentSelection = cell;
    } else {
        const float ratio = static_cast<float>(ady) / static_cast<float>(adx);
        if (ratio > 0.25f && ratio < 3.0f) {
            const int n = adx > ady ? adx : ady;
            const int ex = x > sx ? sx + n : sx - n;
            const int ey = y > sy ? sy + n : sy - n;
            if (IsInGrid(ex, ey)) {
                m_currentSelection = ex + ey * cols;
            }
        } else if (ady > adx) {
            m_currentSelection = sx + y * cols;
        } else {
            m_currentSelection = x + sy * cols;
        }
    }
    if (m_currentSelection != m_lastSelection) {
        MNSound::PlaySoundEffect(SFX_CELL_SELECT);
    }
}

void MNWordsearch::MatchSelection() {
    bool bFound = false;
    for (int w = 0; w < GetNumWords(); ++w) {
        const int first = m_data.wordTrails(GetWordStartIndex(w));
        const int last = m_data.wordTrails(GetWordEndIndex(w));
        const bool bMatches = (m_startSelection == first && m_endSelection == last) ||
                              (m_startSelection == last && m_endSelection == first);
        if (!bMatches || IsWordFound(w)) {
            continue;
        }
        bFound = true;
        MNSound::PlaySoundEffect(SFX_RIGHT);
        m_wordsFound.Push(static_cast<char>(w));
        if (GetNumWordsFound() == GetNumWords()) {
            m_state = 4;
        } else {
            ValidEntrySignal();
        }
        if (m_errors > 0) {
            --m_errors;
        }
    }
    if (!bFound && m_startSelection != m_endSelection) {
        MNSound::PlaySoundEffect(SFX_WRONG);
        InvalidEntrySignal();
        ++m_errors;
        ++m_errorsMade;
    }
    ClearSelection();
}

bool MNWordsearch::IsWordFound(int i) const {
    for (int k = 0; k < m_wordsFound.Size(); ++k) {
        if (m_wordsFound(k) == i) {
            return true;
        }
    }
    return false;
}

bool MNWordsearch::CheckWin() {
    if (GetNumWordsFound() != GetNumWords()) {
        return false;
    }
    m_state = 4;
    return true;
}

int MNWordsearch::RandomBelow(int count) const {
    return static_cast<int>(MNProfile::GetRandomGen()->rand() % static_cast<unsigned int>(count));
}

void MNWordsearch::Hint(int index) {
    if (index < 0 || index >= kHintKinds) {
        kLogFmt("Wordsearch: no hint kind %d\n", index);
        return;
    }
    m_hintsLeft[index] -= 1;
    m_hintPositions[0] = m_hintPositions[1] = -1;
    kArray<int> unfound;
    for (int w = 0; w < GetNumWords(); ++w) {
        if (!IsWordFound(w)) {
            unfound.Push(w);
        }
    }
    if (unfound.Size() == 0) {
        kLogFmt("Wordsearch: every word is found, no hint to give\n");
        return;
    }
    const int wordChoice = unfound(RandomBelow(unfound.Size()));
    kLogFmt("\nHint System %d\n", index);
    kLogFmt("Chosen word : %d, %s\n", wordChoice, GetWord(wordChoice));
    const int start = GetWordStartIndex(wordChoice);
    if (index == 0) {
        const int length = static_cast<int>(std::strlen(GetWord(wordChoice)));
        m_hintPositions[0] = m_data.wordTrails(start + (length > 0 ? RandomBelow(length) : 0));
    } else {
        m_hintPositions[0] = m_data.wordTrails(start);
        if (index == 2) {
            m_hintPositions[1] = m_data.wordTrails(GetWordEndIndex(wordChoice));
        }
    }
}

int MNWordsearch::SavePuzzleState(void* buf, int bufsize) {
    const int required = GetNumWords() + 10;
    kLogFmt("Save wordsearch state %d-%d\n", required, bufsize);
    if (buf == nullptr || bufsize < required) {
        return buf == nullptr && bufsize == 0 ? required : 0;
    }
    kMemoryIOStream stream(buf, static_cast<unsigned int>(bufsize), K_IO_ACCESS_WRITE);
    for (int w = 0; w < GetNumWords(); ++w) {
        WriteByte(stream, IsWordFound(w) ? 1 : 0);
    }
    WriteByte(stream, m_errors);
    WriteFloat(stream, m_timer);
    kLogFmt("SAVE HINT %d,%d\n", m_hintPositions[0], m_hintPositions[1]);
    for (int kind = 0; kind < kHintKinds; ++kind) {
        WriteByte(stream, m_hintsLeft[kind]);
    }
    WriteByte(stream, m_hintPositions[0]);
    WriteByte(stream, m_hintPositions[1]);
    kLogFmt("StreamPos: %d\n", stream.Tell());
    kLogFmt("Required: %d\n", required);
    return required;
}

int MNWordsearch::LoadPuzzleState(void* buf, int bufsize) {
    const int required = GetNumWords() + 10;
    if (buf == nullptr || bufsize < required) {
        kLogFmt("Wordsearch: saved state of %d bytes, %d needed\n", bufsize, required);
        return 0;
    }
    kMemoryIOStream stream(buf, static_cast<unsigned int>(bufsize), K_IO_ACCESS_READ);
    kArray<char> found;
    for (int w = 0; w < GetNumWords(); ++w) {
        if (ReadByte(stream) == 1) {
            found.Push(static_cast<char>(w));
        }
    }
    const int errors = ReadByte(stream);
    const float timer = ReadFloat(stream);
    int hintsLeft[kHintKinds];
    for (int& left : hintsLeft) {
        left = ReadByte(stream);
    }
    int hints[2];
    for (int& hint : hints) {
        const unsigned char byte = ReadByte(stream);
        hint = byte == kNoHintByte ? -1 : byte;
    }
    const int cells = m_data.numRows * m_data.numCols;
    if (!std::isfinite(timer) || timer < 0.0f || hints[0] >= cells || hints[1] >= cells) {
        kLogFmt("Wordsearch: saved state refused (time %f, hints %d,%d)\n",
                static_cast<double>(timer), hints[0], hints[1]);
        return 0;
    }
    m_wordsFound = found;
    m_errors = errors;
    // The state keeps the net count only: the errors made are at least that many.
    m_errorsMade = errors;
    m_timer = timer;
    std::memcpy(m_hintsLeft, hintsLeft, sizeof(m_hintsLeft));
    m_hintPositions[0] = hints[0];
    m_hintPositions[1] = hints[1];
    kLogFmt("LOAD HINT %d,%d\n", m_hintPositions[0], m_hintPositions[1]);
    return 1;
}

} // namespace Kelvo_lib
