// The sudoku widget: its art, the input of its views and the sweep, and their drawing.
#include <puzzles/mnheadtoheadstatus.h>
#include <puzzles/mnpuzzlewidgetkit.h>
#include <puzzles/sudoku/mnsudokuwidget.h>

#include <services/mnpalette.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNSudokuWidget::StaticClass()};

// The remote as the play view reads it, one for the whole widget family, as only one sudoku
// plays.
MNInputEdge s_input;

// The menu and hint buttons, title-safe.
constexpr MNPuzzleBottomButtons::Style kButtons{MNPuzzleBottomButtons::PLACE_TITLE_SAFE,
                                                MNPuzzleBottomButtons::PRESS_EACH, -1};

constexpr float kBoxLine = 4.0f;

using P = MNPalette;
// A hinted cell is shaded, so that its digit reads apart from the printed ones.
constexpr unsigned int kHintedCell = 0xFFC9CFDD;

// The active profile's row and column highlight setting; off without a profile.
bool ProfileWantsLineHighlight() {
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    return profile != nullptr && profile->GetSaveData()->bSudokuHighlight != 0;
}

bool Inside(float x0, float y0, float w, float h, int x, int y) {
    return x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
}

} // namespace

MNSudokuWidget::MNSudokuWidget()
    : kRTTI(Kind{"MNSudokuWidget", "sudoku", TEXT_SUDOKU_TITLE, MNPuzzleSweep::PACE_EVEN, false,
                 s_input, kButtons}),
      m_sudoku(new MNSudoku(GameSources())) {
    LoadAllArt();
}

MNSudokuWidget::~MNSudokuWidget() {
    delete m_sudoku;
}

bool MNSudokuWidget::LoadArt() {
    m_digitFont = MNResourceManager::GetFont("wii_font_30", "wii_font_30");
    m_spriteCell = PixelSprite("puzzles", "sd_cell");
    m_gridBG = PixelSprite("puzzles", "sd_grid_panel");
    m_padBG = PixelSprite("puzzles", "sd_pad_panel");
    m_boxLine = PixelSprite("puzzles", "sd_box_line");
    m_padKey = PixelSprite("puzzles", "sd_pad_key");
    if (!AllLoaded(
            {m_spriteCell.Get(), m_gridBG.Get(), m_padBG.Get(), m_boxLine.Get(), m_padKey.Get()})) {
        return false;
    }
    m_gridBG->SetPosition(K_GRID_X - 0.5f * (m_gridBG->GetWidth() - K_GRID_SIZE), 0.0f);
    m_padBG->SetPosition(static_cast<float>(DisplayWidth()) - m_padBG->GetWidth(),
                         K_PAD_Y + 0.5f * (3.0f * K_PAD_STEP + K_PAD_KEY) -
                             0.5f * m_padBG->GetHeight());
    m_padKey->SetWidth(K_PAD_KEY);
    m_padKey->SetHeight(K_PAD_KEY);
    return true;
}

float MNSudokuWidget::GetCellSize() const {
    return m_sudoku->GetSize() > 0 ? K_GRID_SIZE / m_sudoku->GetSize() : K_GRID_SIZE;
}

void MNSudokuWidget::GetCellPosition(int cell, float& x, float& y) const {
    const int size = m_sudoku->GetSize() > 0 ? m_sudoku->GetSize() : 1;
    x = K_GRID_X + static_cast<float>(cell % size) * GetCellSize();
    y = K_GRID_Y + static_cast<float>(cell / size) * GetCellSize();
}

// Digits 1 to size three to a row, then the key that clears.
void MNSudokuWidget::GetPadPosition(int digit, float& x, float& y) const {
    const int key = digit == 0 ? m_sudoku->GetSize() : digit - 1;
    x = K_PAD_X + static_cast<float>(key % 3) * K_PAD_STEP;
    y = K_PAD_Y + static_cast<float>(key / 3) * K_PAD_STEP;
}

int MNSudokuWidget::PadKeyAt(int x, int y) const {
    for (int digit = 0; digit <= m_sudoku->GetSize(); ++digit) {
        float kx = 0.0f;
        float ky = 0.0f;
        GetPadPosition(digit, kx, ky);
        if (Inside(kx, ky, K_PAD_KEY, K_PAD_KEY, x, y)) {
            return digit;
        }
    }
    return -1;
}

int MNSudokuWidget::CellAt(int x, int y) const {
    if (m_sudoku->GetSize() == 0 || !Inside(K_GRID_X, K_GRID_Y, K_GRID_SIZE, K_GRID_SIZE, x, y)) {
        return -1;
    }
    const int col = static_cast<int>((x - K_GRID_X) / GetCellSize());
    const int row = static_cast<int>((y - K_GRID_Y) / GetCellSize());
    return row * m_sudoku->GetSize() + col;
}

void MNSudokuWidget::TickPlay(float delta) {
    if (m_sudoku->IsGridFull() && m_sudoku->GetState() != PUZZLE_STATE_COMPLETED) {
        if (!Rules().bTakeTurns) {
            StartSweep(m_sudoku->GetSize(), m_sudoku->GetSize());
            return;
        }
        m_sudoku->EndIfSolved();
    }
    m_sudoku->Tick(delta);
    const MNInputEdge& input = ReadInput();
    TickGrid(input);
    TickPad(input);
    TickButtons(input);
}

void MNSudokuWidget::TickGrid(const MNInputEdge& input) {
    const int cell = CellAt(input.GetX(), input.GetY());
    if (input.WasPressed() && cell >= 0 && cell != m_sudoku->GetSelectedCell()) {
        m_sudoku->SelectCell(cell);
        MNSound::PlaySoundEffect(SFX_CELL_SELECT);
    }
}

void MNSudokuWidget::TickPad(const MNInputEdge& input) {
    const int key = PadKeyAt(input.GetX(), input.GetY());
    if (key != m_padHot && key >= 0) {
        MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
    }
    m_padHot = key;
    if (!input.WasPressed() || key < 0) {
        return;
    }
    const bool bWasEmpty = m_sudoku->GetDigit(m_sudoku->GetSelectedCell()) == 0;
    if (m_sudoku->EnterDigit(key) == 0) {
        MNSound::PlaySoundEffect(SFX_HIGHLIGHT_DISABLED);
    } else if (!Rules().bTakeTurns) {
        MNSound::PlaySoundEffect(key == 0 ? (bWasEmpty ? SFX_HIGHLIGHT_DISABLED : SFX_ERASE)
                                          : SFX_TILE_PLACE);
    }
}

void MNSudokuWidget::TickButtons(const MNInputEdge& input) {
    if (TickBottomButtons(input, HintLook()) == BUTTON_HINT) {
        MNSound::PlaySoundEffect(SFX_PRESS);
        HintSignal();
    }
}

// Drawing.

void MNSudokuWidget::PrintCentred(kFont& font, float x, float y, float w, float h,
                                  const char* text) {
    int tw = 0;
    int th = 0;
    font.GetStringBound(tw, th, text);
    font.Print(static_cast<int>(x + 0.5f * (w - tw)), static_cast<int>(y + 0.5f * (h - th)), text,
               0, 0.0f);
}

void MNSudokuWidget::RenderPlay() {
    RenderGrid();
    RenderPad();
    // The hint button where the rules offer hints, greyed once none is left.
    RenderBottomButtons(HintLook());
    if (Rules().bTakeTurns) {
        RenderPlayers();
    } else {
        RenderClockAndCounter();
    }
    RenderPointer();
}

void MNSudokuWidget::RenderGrid() {
    m_sudoku->SetLineHighlight(ProfileWantsLineHighlight());
    m_gridBG->Render();
    m_spriteCell->SetWidth(GetCellSize());
    m_spriteCell->SetHeight(GetCellSize());
    for (int cell = 0; cell < m_sudoku->GetNumCells(); ++cell) {
        RenderCell(cell);
    }
    RenderBoxLines();
}

// Printed digits ink on paper, the player's sky, hinted ones slate on a shaded cell.
void MNSudokuWidget::RenderCell(int cell) {
    const int digit = m_sudoku->GetDigit(cell);
    const bool bHinted = !m_sudoku->IsGiven(cell) && m_sudoku->IsCellLocked(cell);
    unsigned int tint = bHinted ? kHintedCell : P::kPaper;
    unsigned int ink = m_sudoku->IsGiven(cell) ? P::kInk : bHinted ? P::kSlate : P::kSky;
    if (cell == m_sudoku->GetSelectedCell()) {
        tint = P::kSun;
    } else if (m_sudoku->IsHighlight(cell)) {
        tint = P::kPaleSun;
    }
    if (m_state == STATE_SWEEP) {
        const unsigned char mark = GetScanMark(cell);
        tint = mark == SCAN_LIT ? P::kLeaf : mark == SCAN_WRONG ? P::kBrick : tint;
        ink = mark == SCAN_NONE ? ink : P::kWhite;
    }
    float x = 0.0f;
    float y = 0.0f;
    GetCellPosition(cell, x, y);
    m_spriteCell->SetColour(tint);
    m_spriteCell->SetPosition(x, y);
    m_spriteCell->Render();
    if (digit != 0) {
        const char text[2] = {static_cast<char>('0' + digit), 0};
        m_digitFont->SetColour(ink, false);
        PrintCentred(*m_digitFont.Get(), x, y, GetCellSize(), GetCellSize(), text);
    }
}

// Slate lines between the boxes and around the grid, thicker than the cells' edges.
void MNSudokuWidget::RenderBoxLines() {
    const int size = m_sudoku->GetSize();
    m_boxLine->SetColour(P::kSlate);
    for (int row = 0; row <= size; row += m_sudoku->GetBoxRows()) {
        m_boxLine->SetWidth(K_GRID_SIZE + kBoxLine);
        m_boxLine->SetHeight(kBoxLine);
        m_boxLine->SetPosition(K_GRID_X - 0.5f * kBoxLine,
                               K_GRID_Y + row * GetCellSize() - 0.5f * kBoxLine);
        m_boxLine->Render();
    }
    for (int col = 0; col <= size; col += m_sudoku->GetBoxCols()) {
        m_boxLine->SetWidth(kBoxLine);
        m_boxLine->SetHeight(K_GRID_SIZE + kBoxLine);
        m_boxLine->SetPosition(K_GRID_X + col * GetCellSize() - 0.5f * kBoxLine,
                               K_GRID_Y - 0.5f * kBoxLine);
        m_boxLine->Render();
    }
}

void MNSudokuWidget::RenderPad() {
    m_padBG->Render();
    const int selected = m_sudoku->GetSelectedCell();
    const bool bOpen = selected >= 0 && !m_sudoku->IsGiven(selected) &&
                       !m_sudoku->IsCellLocked(selected) && m_state == STATE_PLAY;
    for (int digit = 0; digit <= m_sudoku->GetSize(); ++digit) {
        float x = 0.0f;
        float y = 0.0f;
        GetPadPosition(digit, x, y);
        const bool bHot = bOpen && digit == m_padHot;
        m_padKey->SetColour(!bOpen ? P::kGrey : bHot ? P::kSun : P::kSky);
        m_padKey->SetPosition(x, y);
        m_padKey->Render();
        const char text[2] = {static_cast<char>('0' + digit), 0};
        kFont& font = digit == 0 ? m_buttons.GetFont() : *m_digitFont.Get();
        font.SetColour(bHot ? P::kInk : P::kWhite, false);
        PrintCentred(font, x, y, K_PAD_KEY, K_PAD_KEY, digit == 0 ? Txt(TEXT_SUDOKU_CLEAR) : text);
    }
}

// The clock and the count of cells filled, where the screens' clocks and counters stand.
void MNSudokuWidget::RenderClockAndCounter() {
    RenderClock(ClockX(), K_TITLE_SAFE_Y, P::kInk, m_sudoku->GetTime());
    int filled = 0;
    for (int cell = 0; cell < m_sudoku->GetNumCells(); ++cell) {
        filled += m_sudoku->GetDigit(cell) != 0 ? 1 : 0;
    }
    RenderCounter(K_COUNTER_X, K_TITLE_SAFE_Y, P::kInk, Txt(TEXT_SQUARES_FILLED), filled,
                  m_sudoku->GetNumCells());
}

// The two players' lives (Sprint) or time left (Marathon); the player to move in sun yellow.
void MNSudokuWidget::RenderPlayers() {
    MNHeadToHeadStatus players;
    if (!players.Read()) {
        return;
    }
    for (int i = 0; i < 2; ++i) {
        players.Print(*m_font.Get(), i, ClockX(), K_TITLE_SAFE_Y + 18 * i, P::kSun);
    }
}

} // namespace Kelvo_lib
