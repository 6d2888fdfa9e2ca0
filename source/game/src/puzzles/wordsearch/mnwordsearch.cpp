#include <puzzles/wordsearch/mnwordsearch.h>

#include <services/puzzletypes.h>

#include <services/mnbytecodec.h>
#include <services/mnsound.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr int kHintKinds = 3;
// Words a pre-filled puzzle leaves to find.
constexpr int kPrefillWordsLeft = 3;
// A saved hint position byte for "no hint".
constexpr unsigned char kNoHintByte = 255;

} // namespace

MNWordsearch::MNWordsearch(const MNPuzzleSources& sources)
    : MNPuzzleProgress({"MNWordsearch", "wordsearch", nullptr}, sources), m_hintPositions{-1, -1} {}

void MNWordsearch::SetPuzzle(WordsearchData* wordsearch, const MNPuzzleRules& rules) {
    StartPuzzle(rules);
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
        m_hintsLeft[kind] = GetMaxHints(kind);
    }
    m_hintPositions[0] = m_hintPositions[1] = -1;

    if (rules.bPrefilled) {
        kArray<int> unfound;
        for (int w = 0; w < GetNumWords(); ++w) {
            unfound.Push(w);
        }
        for (int i = 0; i < GetNumWords() - kPrefillWordsLeft; ++i) {
            const int w = unfound(RandomBelow(unfound.Size()));
            unfound.RemoveElement(w);
            m_wordsFound.AddUniqueElement(static_cast<char>(w));
        }
    }
}

int MNWordsearch::GetHintsUsed(int kind) const {
    if (kind < 0 || kind >= PUZZLE_HINT_KINDS) {
        return 0;
    }
    return std::max(0, GetMaxHints(kind) - m_hintsLeft[kind]);
}

void MNWordsearch::Reset(bool resetTime) {
    RestartClock(resetTime);
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

bool MNWordsearch::IsInGrid(int x, int y) const {
    return x >= 0 && x < m_data.numCols && y >= 0 && y < m_data.numRows;
}

void MNWordsearch::GridClick(bool overGrid, int x, int y, MNInputEdge::eButtonState buttonState) {
    m_lastSelection = m_currentSelection;
    const int cols = m_data.numCols;
    if (overGrid) {
        const int cell = x + y * cols;
        if (!IsInGrid(x, y)) {
            return;
        }
        if (buttonState == MNInputEdge::PRESSED) {
            m_startSelection = m_currentSelection = cell;
            MNSound::PlaySoundEffect(SFX_CELL_SELECT);
        } else if (buttonState == MNInputEdge::HELD && m_startSelection != -1) {
            DragSelection(x, y);
        } else if (buttonState == MNInputEdge::RELEASED && m_startSelection != -1) {
            m_hintPositions[0] = m_hintPositions[1] = -1;
            m_endSelection = m_currentSelection;
        }
    } else if (buttonState == MNInputEdge::RELEASED) {
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
        if (!CheckWin()) {
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

bool MNWordsearch::Hint(int index) {
    if (index < 0 || index >= kHintKinds || m_hintsLeft[index] <= 0) {
        kLogSys("MNWordsearch", "Hint: no hint of kind %d left\n", index);
        return false;
    }
    kArray<int> unfound;
    for (int w = 0; w < GetNumWords(); ++w) {
        if (!IsWordFound(w)) {
            unfound.Push(w);
        }
    }
    if (unfound.Size() == 0) {
        kLogSys("MNWordsearch", "Hint: every word is found, no hint to give\n");
        return false;
    }
    m_hintsLeft[index] -= 1;
    m_hintPositions[0] = m_hintPositions[1] = -1;
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
    return true;
}

int MNWordsearch::SavePuzzleState(void* buf, int bufsize) {
    const int required = GetNumWords() + 10;
    kLogFmt("Save wordsearch state %d-%d\n", required, bufsize);
    if (buf == nullptr || bufsize < required) {
        return buf == nullptr && bufsize == 0 ? required : 0;
    }
    MNByteWriter out(buf, static_cast<u32>(bufsize));
    for (int w = 0; w < GetNumWords(); ++w) {
        out.U8(IsWordFound(w) ? 1 : 0);
    }
    out.U8(static_cast<u8>(m_errors));
    out.F32(GetTime());
    kLogFmt("SAVE HINT %d,%d\n", m_hintPositions[0], m_hintPositions[1]);
    for (int kind = 0; kind < kHintKinds; ++kind) {
        out.U8(static_cast<u8>(m_hintsLeft[kind]));
    }
    out.U8(static_cast<u8>(m_hintPositions[0]));
    out.U8(static_cast<u8>(m_hintPositions[1]));
    kLogFmt("StreamPos: %d\n", static_cast<int>(out.Size()));
    kLogFmt("Required: %d\n", required);
    return required;
}

// A hint position outside the grid loads as no hint, and hints left above the allowance as
// the allowance, so a damaged state keeps the words found.
int MNWordsearch::LoadPuzzleState(void* buf, int bufsize) {
    const int required = GetNumWords() + 10;
    if (buf == nullptr || bufsize < required) {
        kLogSys("MNWordsearch", "LoadPuzzleState: %d bytes, %d needed\n", bufsize, required);
        return 0;
    }
    MNByteReader in(buf, static_cast<u32>(bufsize));
    m_wordsFound.Empty();
    for (int w = 0; w < GetNumWords(); ++w) {
        if (in.U8() == 1) {
            m_wordsFound.Push(static_cast<char>(w));
        }
    }
    m_errors = in.U8();
    // The state keeps the net count only: the errors made are at least that many.
    m_errorsMade = m_errors;
    LoadTime(in.F32());
    for (int kind = 0; kind < kHintKinds; ++kind) {
        m_hintsLeft[kind] = std::min<int>(in.U8(), GetMaxHints(kind));
    }
    const int cells = m_data.numRows * m_data.numCols;
    for (int& hint : m_hintPositions) {
        const u8 byte = in.U8();
        hint = byte == kNoHintByte || byte >= cells ? -1 : byte;
        if (byte != kNoHintByte && byte >= cells) {
            kLogSys("MNWordsearch", "LoadPuzzleState: hint cell %d lies outside the grid\n", byte);
        }
    }
    kLogFmt("LOAD HINT %d,%d\n", m_hintPositions[0], m_hintPositions[1]);
    return 1;
}

} // namespace Kelvo_lib
