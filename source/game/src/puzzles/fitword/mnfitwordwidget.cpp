// The fitword widget: its art, the word list, the input of the play view and the sweep.
#include <puzzles/fitword/mnfitwordwidget.h>
#include <puzzles/mnheadtoheadstatus.h>
#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnpalette.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>

#include <algorithm>
#include <cstdio>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNFitwordWidget::StaticClass()};

// The remote as the play view reads it, one for the whole widget family, as only one fitword
// plays.
MNInputEdge s_input;

// The menu, hint and clear buttons, title-safe.
constexpr MNPuzzleBottomButtons::Style kButtons{
    MNPuzzleBottomButtons::PLACE_TITLE_SAFE, MNPuzzleBottomButtons::PRESS_EACH, TEXT_FITWORD_CLEAR};

constexpr float kPanelX = 30.0f;
constexpr float kListTextLeft = 14.0f;
// The grid stands below the counter on its panel.
constexpr float kGridTop = static_cast<float>(K_TITLE_SAFE_Y) + 20.0f;

using P = MNPalette;
// A hinted cell is shaded, so that its letters read apart from the player's.
constexpr unsigned int kHintedCell = 0xFFC9CFDD;
// Blocks are black, as the crossword's are.
constexpr unsigned int kBlock = 0xFF000000;

} // namespace

MNFitwordWidget::MNFitwordWidget()
    : kRTTI(Kind{"MNFitwordWidget", "fitword", TEXT_FITWORD_TITLE,
                 MNPuzzleSweep::PACE_FRAME_BY_FRAME, true, s_input, kButtons}),
      m_fitword(new MNFitword(GameSources())) {
    LoadAllArt();
}

MNFitwordWidget::~MNFitwordWidget() {
    delete m_fitword;
}

bool MNFitwordWidget::LoadArt() {
    const float w = static_cast<float>(DisplayWidth());
    m_gridFont = MNResourceManager::GetFont("wii_font_20b", "wii_font_20b");
    m_listFont = MNResourceManager::GetFont("wii_font_20", "wii_font_20");

    m_spriteCell = PixelSprite("puzzles", "fw_grid_cell");
    m_gridBG = PixelSprite("puzzles", "FW_BG_Grid_BG");
    m_listBG = PixelSprite("puzzles", "FW_BG_List_BG");
    m_wordHighlight = PixelSprite("puzzles", "fw_word_highlight");
    m_upArrow = PixelSprite("fe", "fe_arrow_up");
    m_downArrow = PixelSprite("fe", "fe_arrow_down");
    if (!AllLoaded({m_spriteCell.Get(), m_gridBG.Get(), m_listBG.Get(), m_wordHighlight.Get(),
                    m_upArrow.Get(), m_downArrow.Get()})) {
        return false;
    }
    m_gridBG->SetPosition(kPanelX, 0.0f);
    m_listBG->SetPosition(w - m_listBG->GetWidth(), K_LIST_TOP);
    const float arrowX = m_listBG->GetX() + m_listBG->GetWidth() - m_upArrow->GetWidth() - 6.0f;
    m_upArrow->SetPosition(arrowX, static_cast<float>(K_LINES_TOP));
    // The picked word's bar stops short of the arrows.
    m_wordHighlight->SetWidth(arrowX - m_listBG->GetX() - kListTextLeft - 12.0f);
    m_downArrow->SetPosition(arrowX,
                             static_cast<float>(K_LINES_TOP + K_LINE_STEP * K_VISIBLE_LINES) -
                                 m_downArrow->GetHeight());
    return true;
}

// A heading for each length, then its words as the model lists them.
void MNFitwordWidget::InitWordList() {
    m_listLines.Empty();
    m_listPos = 0;
    int length = 0;
    for (int entry = 0; entry < m_fitword->GetNumWords(); ++entry) {
        const int word = m_fitword->GetListWord(entry);
        if (m_fitword->GetWordLength(word) != length) {
            length = m_fitword->GetWordLength(word);
            m_listLines.Push(ListLine{-1, length});
        }
        m_listLines.Push(ListLine{word, length});
    }
}

float MNFitwordWidget::CellSize() const {
    const int side = std::max(m_fitword->GetNumCols(), m_fitword->GetNumRows());
    return side > 0 ? std::min(K_MAX_CELL, static_cast<float>(static_cast<int>(K_GRID_AREA / side)))
                    : K_MAX_CELL;
}

float MNFitwordWidget::GridOffsetX() const {
    return static_cast<float>(static_cast<int>(
        m_gridBG->GetX() + (m_gridBG->GetWidth() - CellSize() * m_fitword->GetNumCols()) * 0.5f));
}

float MNFitwordWidget::GridOffsetY() const {
    const float room = m_gridBG->GetY() + m_gridBG->GetHeight() - kGridTop;
    return static_cast<float>(
        static_cast<int>(kGridTop + (room - CellSize() * m_fitword->GetNumRows()) * 0.5f));
}

void MNFitwordWidget::GetCellPosition(int cell, float& x, float& y) const {
    const int cols = m_fitword->GetNumCols() > 0 ? m_fitword->GetNumCols() : 1;
    x = GridOffsetX() + static_cast<float>(cell % cols) * CellSize();
    y = GridOffsetY() + static_cast<float>(cell / cols) * CellSize();
}

bool MNFitwordWidget::GetLinePosition(int line, float& x, float& y) const {
    const int shown = line - m_listPos;
    if (shown < 0 || shown >= K_VISIBLE_LINES || line >= m_listLines.Size()) {
        return false;
    }
    x = m_listBG->GetX() + m_listBG->GetWidth() * 0.4f;
    y = static_cast<float>(K_LINES_TOP + K_LINE_STEP * shown + K_LINE_STEP / 2);
    return true;
}

void MNFitwordWidget::TickPlay(float delta) {
    if (m_fitword->IsGridFull()) {
        if (!Rules().bTakeTurns) {
            m_fitword->SelectWord(MNFitword::K_NO_WORD);
            StartSweep(m_fitword->GetNumCols(), m_fitword->GetNumRows());
            return;
        }
        if (m_fitword->EndIfSolved()) {
            return;
        }
    }
    m_fitword->Tick(delta);
    const MNInputEdge& input = ReadInput();
    TickList(input);
    TickGrid(input);
    TickButtons(input);
}

void MNFitwordWidget::TickList(const MNInputEdge& input) {
    if (input.PressedOn(*m_upArrow.Get()) && m_listPos > 0) {
        --m_listPos;
        MNSound::PlaySoundEffect(SFX_LIST_UP);
        return;
    }
    if (input.PressedOn(*m_downArrow.Get()) && m_listPos < m_listLines.Size() - K_VISIBLE_LINES) {
        ++m_listPos;
        MNSound::PlaySoundEffect(SFX_SPINNER);
        return;
    }
    const float left = m_listBG->GetX();
    const int x = input.GetX();
    const int y = input.GetY();
    if (!input.WasPressed() || x < left || x >= m_upArrow->GetX() || y < K_LINES_TOP) {
        return;
    }
    const int line = m_listPos + (y - K_LINES_TOP) / K_LINE_STEP;
    if (line - m_listPos >= K_VISIBLE_LINES || line >= m_listLines.Size()) {
        return;
    }
    const int word = m_listLines(line).word;
    if (word < 0) {
        return;
    }
    const int slot = m_fitword->GetSlotOfWord(word);
    if (slot >= 0 && m_fitword->IsSlotLocked(slot)) {
        MNSound::PlaySoundEffect(SFX_HIGHLIGHT_DISABLED);
        return;
    }
    m_fitword->SelectWord(word == m_fitword->GetSelectedWord() ? MNFitword::K_NO_WORD : word);
    MNSound::PlaySoundEffect(SFX_CELL_SELECT);
}

void MNFitwordWidget::TickGrid(const MNInputEdge& input) {
    const float size = CellSize();
    const float left = GridOffsetX();
    const float top = GridOffsetY();
    const int cols = m_fitword->GetNumCols();
    const int rows = m_fitword->GetNumRows();
    const int x = input.GetX();
    const int y = input.GetY();
    if (!input.WasPressed() || x < left || x >= left + size * cols || y < top ||
        y >= top + size * rows) {
        return;
    }
    const int column = std::clamp(static_cast<int>((x - left) / size), 0, cols - 1);
    const int row = std::clamp(static_cast<int>((y - top) / size), 0, rows - 1);
    const int picked = m_fitword->GetSelectedWord();
    if (!m_fitword->SelectCell(row * cols + column)) {
        return;
    }
    const bool bPlaced = picked != MNFitword::K_NO_WORD && m_fitword->GetSlotOfWord(picked) >= 0;
    if (!bPlaced) {
        MNSound::PlaySoundEffect(SFX_CELL_SELECT);
    } else if (!Rules().bTakeTurns) {
        MNSound::PlaySoundEffect(
            SFX_TILE_PLACE); // players taking turns hear right or wrong instead
    }
}

MNFitwordWidget::eLook MNFitwordWidget::ClearLook() const {
    const int slot = m_fitword->GetSelectedSlot();
    const bool bCanClear = m_fitword->GetSelectedWord() == MNFitword::K_NO_WORD && slot >= 0 &&
                           m_fitword->GetPlacedWord(slot) != MNFitword::K_NO_WORD &&
                           !m_fitword->IsSlotLocked(slot);
    return bCanClear ? LOOK_LIVE : LOOK_GREYED;
}

void MNFitwordWidget::TickButtons(const MNInputEdge& input) {
    switch (TickBottomButtons(input, HintLook(), ClearLook())) {
    case BUTTON_HINT:
        MNSound::PlaySoundEffect(SFX_PRESS);
        HintSignal();
        break;
    case BUTTON_THIRD:
        MNSound::PlaySoundEffect(SFX_TILE_REMOVE);
        m_fitword->ClearSlot(m_fitword->GetSelectedSlot());
        break;
    default:
        break;
    }
}

// Drawing.

void MNFitwordWidget::RenderPlay() {
    RenderGrid();
    RenderWordList();
    RenderBottomButtons(HintLook(), ClearLook());
    if (Rules().bTakeTurns) {
        RenderPlayers();
    } else {
        RenderClockAndCounter();
    }
    RenderPointer();
}

// The two players' lives (Sprint) or time left (Marathon); the player to move in yellow.
void MNFitwordWidget::RenderPlayers() {
    MNHeadToHeadStatus players;
    if (!players.Read()) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        players.Print(*m_font.Get(), i, static_cast<int>(m_listBG->GetX()) + i * 120,
                      K_TITLE_SAFE_Y, P::kSun);
    }
}

void MNFitwordWidget::RenderGrid() {
    m_gridBG->Render();
    // One pixel over the step: neighbours share their edges.
    const float size = CellSize() + 1.0f;
    m_spriteCell->SetWidth(size);
    m_spriteCell->SetHeight(size);
    for (int cell = 0; cell < m_fitword->GetNumCells(); ++cell) {
        RenderCell(cell);
    }
}

// The player's letters sky on paper, hinted ones slate on a shaded cell, blocks black.
void MNFitwordWidget::RenderCell(int cell) {
    float x = 0.0f;
    float y = 0.0f;
    GetCellPosition(cell, x, y);
    m_spriteCell->SetPosition(x, y);
    if (m_fitword->GetCellsDone(cell) == 0) {
        m_spriteCell->SetColour(kBlock);
        m_spriteCell->Render();
        return;
    }
    const char letter = m_fitword->GetUserLetter(cell);
    unsigned int tint = m_fitword->IsHighlight(cell) ? P::kSun : P::kPaper;
    unsigned int ink = P::kSky;
    if (m_fitword->IsCellLocked(cell)) {
        tint = m_fitword->IsHighlight(cell) ? P::kSun : kHintedCell;
        ink = P::kSlate;
    }
    if (m_state == STATE_SWEEP) {
        const unsigned int marks[] = {tint, P::kLeaf, P::kBrick, P::kSun, P::kPaper};
        tint = marks[GetScanMark(cell)];
        ink = GetScanMark(cell) == SCAN_NONE ? ink : P::kInk;
    }
    m_spriteCell->SetColour(tint);
    m_spriteCell->Render();
    if (letter == ' ') {
        return;
    }
    const char text[2] = {letter, 0};
    int w = 0;
    int h = 0;
    m_gridFont->SetColour(ink, false);
    m_gridFont->GetStringBound(w, h, text);
    const float size = CellSize();
    m_gridFont->Print(static_cast<int>(x + (size + 1.0f - w) * 0.5f),
                      static_cast<int>(y + (size + 1.0f - h) * 0.5f), text, 0, 0.0f);
}

// The clock and the count of words placed, where the screens' clocks and counters stand.
void MNFitwordWidget::RenderClockAndCounter() {
    RenderClock(ClockX(), K_TITLE_SAFE_Y, P::kInk, m_fitword->GetTime());
    int placed = 0;
    for (int slot = 0; slot < m_fitword->GetNumWords(); ++slot) {
        placed += m_fitword->GetPlacedWord(slot) != MNFitword::K_NO_WORD ? 1 : 0;
    }
    RenderCounter(K_COUNTER_X, K_TITLE_SAFE_Y, P::kInk, Txt(TEXT_WORDS_PLACED), placed,
                  m_fitword->GetNumWords());
}

void MNFitwordWidget::RenderWordList() {
    m_listBG->Render();
    m_font->SetColour(P::kWhite, false);
    int w = 0;
    int h = 0;
    m_font->GetStringBound(w, h, Txt(TEXT_WORDS));
    m_font->Print(static_cast<int>(m_listBG->GetX() + (m_listBG->GetWidth() - w) * 0.5f),
                  static_cast<int>(K_LIST_TOP) + 8, Txt(TEXT_WORDS), 0, 0.0f);
    const int x = static_cast<int>(m_listBG->GetX() + kListTextLeft);
    const int last = std::min(m_listPos + K_VISIBLE_LINES, m_listLines.Size());
    for (int line = m_listPos; line < last; ++line) {
        const ListLine& entry = m_listLines(line);
        const int y = K_LINES_TOP + K_LINE_STEP * (line - m_listPos);
        if (entry.word < 0) {
            char heading[64];
            std::snprintf(heading, sizeof(heading), Txt(TEXT_LETTERS_HEADING), entry.length);
            m_font->SetColour(P::kSlate, false);
            m_font->Print(x, y, heading, 0, 0.0f);
            continue;
        }
        if (entry.word == m_fitword->GetSelectedWord()) {
            m_wordHighlight->SetColour(P::kSun);
            m_wordHighlight->SetPosition(static_cast<float>(x + 6), static_cast<float>(y));
            m_wordHighlight->Render();
        }
        const bool bPlaced = m_fitword->GetSlotOfWord(entry.word) >= 0;
        m_listFont->SetColour(bPlaced ? P::kUsedInk : P::kInk, false);
        m_listFont->Print(x + 12, y, m_fitword->GetWord(entry.word), 0, 0.0f);
    }
    if (m_listPos > 0) {
        m_upArrow->SetColour(P::kSky);
        m_upArrow->Render();
    }
    if (m_listPos < m_listLines.Size() - K_VISIBLE_LINES) {
        m_downArrow->SetColour(P::kSky);
        m_downArrow->Render();
    }
}

} // namespace Kelvo_lib
