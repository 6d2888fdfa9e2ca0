// The sudoku widget: its art, the input of its views and the sweep, and their drawing.
#include <puzzles/mnpuzzlewidgetkit.h>
#include <puzzles/sudoku/mnsudokuwidget.h>

#include <services/mnpalette.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>

#include <ui/kuimouse.h>

#include <kelvo/platform/klog.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNSudokuWidget::StaticClass()};

// The remote's A button as the play view sees it: -1 idle, 1 pressed this tick, 2 held,
// 3 released this tick. One for the whole widget family, as only one sudoku plays.
int s_mouseState = -1;

constexpr float kPadKey = 56.0f;
constexpr float kBoxLine = 4.0f;
constexpr int kTextFilled = 312;
constexpr int kTextClear = 313;

using P = MNPalette;
// A hinted cell is shaded, so that its digit reads apart from the printed ones.
constexpr unsigned int kHintedCell = 0xFFC9CFDD;

bool Inside(float x0, float y0, float w, float h, int x, int y) {
    return x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
}

bool IsHintMode(int mode) {
    return mode == GAME_MODE_TOURNAMENT || mode == GAME_MODE_QUICKBLAST ||
           mode == GAME_MODE_SIMPLYPUZZLE;
}

} // namespace

bool MNSudokuWidget::Pointer::Pressed(const kSprite& sprite) const {
    return state == 1 && sprite.MouseHit(static_cast<float>(x), static_cast<float>(y), false);
}

bool MNSudokuWidget::Pointer::Released(const kSprite& sprite) const {
    return state == 3 && sprite.MouseHit(static_cast<float>(x), static_cast<float>(y), false);
}

MNSudokuWidget::MNSudokuWidget() {
    MNSound::ForceRandomMusicChange();
    m_scanGrid.Empty();
    m_sudoku = new MNSudoku;
    InitIntro();
    m_bArtComplete = LoadArt();
    if (!m_bArtComplete) {
        kLogSys("MNSudokuWidget", "Art is missing from the disc; the sudoku stays blank\n");
    }
}

MNSudokuWidget::~MNSudokuWidget() {
    delete m_sudoku;
}

bool MNSudokuWidget::LoadArt() {
    m_titleFont = MNResourceManager::GetFont("wii_font_30", "wii_font_30");
    m_font = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    m_buttonFont = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    m_digitFont = MNResourceManager::GetFont("wii_font_30", "wii_font_30");
    m_spriteCell = PixelSprite("puzzles", "sd_cell");
    m_gridBG = PixelSprite("puzzles", "sd_grid_panel");
    m_padBG = PixelSprite("puzzles", "sd_pad_panel");
    m_boxLine = PixelSprite("puzzles", "sd_box_line");
    m_padKey = PixelSprite("puzzles", "sd_pad_key");
    m_menu = PixelSprite("puzzles", "Generic_BG_Buttons");
    m_hint = PixelSprite("puzzles", "Generic_BG_Buttons");
    m_mouseSprite =
        kSharedPtr<kSprite>(kSprite::Create(MNResourceManager::GetSpriteBank("ptr"), "ptr"));
    if (!IsArtComplete()) {
        return false;
    }
    m_gridBG->SetPosition(K_GRID_X - 0.5f * (m_gridBG->GetWidth() - K_GRID_SIZE), 0.0f);
    m_padBG->SetPosition(static_cast<float>(DisplayWidth()) - m_padBG->GetWidth(),
                         K_PAD_Y + 0.5f * (3.0f * K_PAD_STEP + kPadKey) -
                             0.5f * m_padBG->GetHeight());
    PlaceBottomButtons(m_menu.Get(), m_hint.Get(), nullptr);
    m_padKey->SetWidth(kPadKey);
    m_padKey->SetHeight(kPadKey);
    return true;
}

bool MNSudokuWidget::IsArtComplete() const {
    const kSprite* sprites[] = {m_spriteCell.Get(),
                                m_gridBG.Get(),
                                m_padBG.Get(),
                                m_boxLine.Get(),
                                m_padKey.Get(),
                                m_menu.Get(),
                                m_hint.Get(),
                                m_mouseSprite.Get(),
                                m_introContinueButtonSprite.Get(),
                                m_introHelpButtonSprite.Get()};
    for (const kSprite* sprite : sprites) {
        if (sprite == nullptr) {
            return false;
        }
    }
    return m_font.Get() != nullptr && m_buttonFont.Get() != nullptr &&
           m_digitFont.Get() != nullptr && m_titleFont.Get() != nullptr;
}

void MNSudokuWidget::InitIntro() {
    m_introContinueButtonSprite = PixelSprite("fe", "wii_fe_button_256");
    m_introHelpButtonSprite = PixelSprite("fe", "wii_fe_button_256");
    MNPuzzleIntroButtons::Place(m_introContinueButtonSprite.Get(), m_introHelpButtonSprite.Get());
    m_introButtons.Reset();
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

void MNSudokuWidget::GetMenuButtonCentre(float& x, float& y) const {
    x = m_menu->GetX() + 0.5f * m_menu->GetWidth();
    y = m_menu->GetY() + 0.5f * m_menu->GetHeight();
}

void MNSudokuWidget::GetHintButtonCentre(float& x, float& y) const {
    x = m_hint->GetX() + 0.5f * m_hint->GetWidth();
    y = m_hint->GetY() + 0.5f * m_hint->GetHeight();
}

int MNSudokuWidget::PadKeyAt(int x, int y) const {
    for (int digit = 0; digit <= m_sudoku->GetSize(); ++digit) {
        float kx = 0.0f;
        float ky = 0.0f;
        GetPadPosition(digit, kx, ky);
        if (Inside(kx, ky, kPadKey, kPadKey, x, y)) {
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

void MNSudokuWidget::TickIntro(float) {
    const MNPuzzleIntroButtons::eChoice choice =
        m_introButtons.Tick(*m_introContinueButtonSprite.Get(), *m_introHelpButtonSprite.Get());
    if (choice == MNPuzzleIntroButtons::CHOICE_CONTINUE) {
        m_state = STATE_PLAY;
    } else if (choice == MNPuzzleIntroButtons::CHOICE_HELP) {
        HelpSignal();
    }
}

MNSudokuWidget::Pointer MNSudokuWidget::ReadPointer(float delta) {
    s_mouseState = NextAButtonState(s_mouseState);
    kUIMouse::Tick(delta);
    return Pointer{PointerX(), PointerY(), s_mouseState};
}

void MNSudokuWidget::Tick(float delta) {
    if (!m_bArtComplete) {
        return;
    }
    if (m_sudoku->GetGameMode() == GAME_MODE_HEADTOHEAD) {
        MNProfile* profile = MNProfileManager::GetActiveProfile();
        const MNHeadToHeadData* players =
            profile != nullptr ? profile->GetHeadToHeadData() : nullptr;
        if (players != nullptr && !players->m_sprintMode &&
            (players->m_player1Time == 0 || players->m_player2Time == 0)) {
            return;
        }
    }
    MNSound::PlayRandomInGameMusic();
    if (m_state == STATE_INTRO) {
        TickIntro(delta);
        return;
    }
    if (m_state == STATE_SWEEP) {
        TickSweep(delta);
        return;
    }
    if (m_sudoku->IsGridFull() && m_sudoku->GetState() != PUZZLE_STATE_COMPLETED) {
        if (m_sudoku->GetGameMode() != GAME_MODE_HEADTOHEAD) {
            StartSweep();
            return;
        }
        if (m_sudoku->CheckWin()) {
            m_sudoku->GameOverSignal();
        }
    }
    m_sudoku->Tick(delta);
    const Pointer pointer = ReadPointer(delta);
    TickGrid(pointer);
    TickPad(pointer);
    TickButtons(pointer);
}

void MNSudokuWidget::TickGrid(const Pointer& pointer) {
    const int cell = CellAt(pointer.x, pointer.y);
    if (pointer.state == 1 && cell >= 0 && cell != m_sudoku->GetSelectedCell()) {
        m_sudoku->SelectCell(cell);
        MNSound::PlaySoundEffect(SFX_CELL_SELECT);
    }
}

void MNSudokuWidget::TickPad(const Pointer& pointer) {
    const int key = PadKeyAt(pointer.x, pointer.y);
    if (key != m_padHot && key >= 0) {
        MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
    }
    m_padHot = key;
    if (pointer.state != 1 || key < 0) {
        return;
    }
    const bool bWasEmpty = m_sudoku->GetDigit(m_sudoku->GetSelectedCell()) == 0;
    if (m_sudoku->EnterDigit(key) == 0) {
        MNSound::PlaySoundEffect(SFX_HIGHLIGHT_DISABLED);
    } else if (m_sudoku->GetGameMode() != GAME_MODE_HEADTOHEAD) {
        MNSound::PlaySoundEffect(key == 0 ? (bWasEmpty ? SFX_HIGHLIGHT_DISABLED : SFX_ERASE)
                                          : SFX_TILE_PLACE);
    }
}

bool MNSudokuWidget::HasHints() const {
    if (!IsHintMode(m_sudoku->GetGameMode())) {
        return false;
    }
    const int* left = m_sudoku->GetHintsLeft();
    return left[0] + left[1] + left[2] > 0;
}

void MNSudokuWidget::TickButtons(const Pointer& pointer) {
    if (pointer.Pressed(*m_menu.Get())) {
        m_bMenuPressed = true;
    }
    if (pointer.Pressed(*m_hint.Get()) && HasHints()) {
        m_bHintPressed = true;
    }
    if (pointer.state != 3) {
        return;
    }
    if (m_bMenuPressed && pointer.Released(*m_menu.Get())) {
        MNSound::PlaySoundEffect(SFX_BACK);
        MenuSignal();
    }
    if (m_bHintPressed && pointer.Released(*m_hint.Get()) && HasHints()) {
        MNSound::PlaySoundEffect(SFX_PRESS);
        HintSignal();
    }
    m_bMenuPressed = false;
    m_bHintPressed = false;
}

void MNSudokuWidget::StartSweep() {
    m_state = STATE_SWEEP;
    m_fScanTime = m_fScanLength;
    m_fPostScanTime = 0.0f;
    m_scanCurrentCol = -1;
    m_scanGrid.Empty();
    m_scanGrid.Add(m_sudoku->GetNumCells());
    for (int cell = 0; cell < m_scanGrid.Size(); ++cell) {
        m_scanGrid(cell) = SCAN_NONE;
    }
}

void MNSudokuWidget::TickSweep(float delta) {
    if (m_fScanTime > 0.0f) {
        ScanStep(delta);
    } else if (m_fPostScanTime > 0.0f) {
        ClosingStep(delta);
    }
}

// Lights one more column as the sweep passes and marks its wrong digits.
void MNSudokuWidget::ScanStep(float delta) {
    m_fScanTime -= delta;
    const int size = m_sudoku->GetSize();
    const float done = m_fScanTime > 0.0f ? (m_fScanLength - m_fScanTime) / m_fScanLength : 1.0f;
    const int col = static_cast<int>(done * size);
    while (m_scanCurrentCol < col && m_scanCurrentCol < size) {
        for (int row = 0; row < size && m_scanCurrentCol >= 0; ++row) {
            unsigned char& mark = m_scanGrid(row * size + m_scanCurrentCol);
            if (mark == SCAN_LIT) {
                mark = SCAN_NONE;
            }
        }
        ++m_scanCurrentCol;
        MNSound::PlaySoundEffect(SFX_SWEEP_TICK);
        for (int row = 0; row < size && m_scanCurrentCol < size; ++row) {
            const int cell = row * size + m_scanCurrentCol;
            m_scanGrid(cell) =
                static_cast<unsigned char>(m_sudoku->IsWrong(cell) ? SCAN_WRONG : SCAN_LIT);
        }
    }
    if (m_fScanTime <= 0.0f) {
        m_fScanTime = 0.0f;
        m_fPostScanTime = m_fPostScanLength;
    }
}

// The end of the sweep: a right grid is over, a wrong one loses its wrong digits and play
// goes on. The check decides, so a sweep too short to mark every column cannot leave a wrong
// grid stuck.
void MNSudokuWidget::ClosingStep(float delta) {
    m_fPostScanTime -= delta;
    if (m_fPostScanTime > 0.0f) {
        return;
    }
    if (m_sudoku->CheckWin()) {
        MNSound::PlaySoundEffect(SFX_RIGHT);
        m_sudoku->GameOverSignal();
    } else {
        m_state = STATE_PLAY;
        m_sudoku->RemoveErrors();
        MNSound::PlaySoundEffect(SFX_WRONG);
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

void MNSudokuWidget::Render() {
    if (!m_bArtComplete) {
        return;
    }
    if (m_state == STATE_INTRO) {
        RenderIntro();
        return;
    }
    RenderGrid();
    RenderPad();
    RenderButtons();
    if (m_sudoku->GetGameMode() == GAME_MODE_HEADTOHEAD) {
        RenderPlayers();
    } else {
        RenderClock();
    }
    RenderPointer();
}

void MNSudokuWidget::RenderIntro() {
    m_introButtons.Render(*m_titleFont.Get(), *m_font.Get(), Txt(60),
                          *m_introContinueButtonSprite.Get(), *m_introHelpButtonSprite.Get());
    RenderPointer();
}

void MNSudokuWidget::RenderGrid() {
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
    if (m_state == STATE_SWEEP && cell < m_scanGrid.Size()) {
        const unsigned char mark = m_scanGrid(cell);
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
        kFont& font = digit == 0 ? *m_buttonFont.Get() : *m_digitFont.Get();
        font.SetColour(bHot ? P::kInk : P::kWhite, false);
        PrintCentred(font, x, y, kPadKey, kPadKey, digit == 0 ? Txt(kTextClear) : text);
    }
}

// The menu button, and the hint button where the mode gives hints: greyed once none is left.
void MNSudokuWidget::RenderButtons() {
    RenderBottomButton(*m_buttonFont.Get(), *m_menu.Get(), Txt(292), true);
    if (IsHintMode(m_sudoku->GetGameMode())) {
        RenderBottomButton(*m_buttonFont.Get(), *m_hint.Get(), Txt(287), HasHints());
    }
}

void MNSudokuWidget::RenderPointer() {
    m_mouseSprite->SetPosition(static_cast<float>(kUIMouse::GetIntX()),
                               static_cast<float>(kUIMouse::GetIntY()));
    m_mouseSprite->Render();
}

// The clock and the count of cells filled, where the screens' clocks and counters stand.
void MNSudokuWidget::RenderClock() {
    const int seconds = MNPuzzleClock::ShownSeconds(m_sudoku->GetGameMode(), m_sudoku->GetTime());
    m_clock.Render(*m_font.Get(), ClockX(), K_TITLE_SAFE_Y, seconds, P::kInk);
    int filled = 0;
    for (int cell = 0; cell < m_sudoku->GetNumCells(); ++cell) {
        filled += m_sudoku->GetDigit(cell) != 0 ? 1 : 0;
    }
    char text[96];
    std::snprintf(text, sizeof(text), "%.60s: %d/%d", Txt(kTextFilled), filled,
                  m_sudoku->GetNumCells());
    m_font->Print(static_cast<int>(K_GRID_X), K_TITLE_SAFE_Y, text, 0, 0.0f);
}

// The two players' lives (Sprint) or time left (Marathon); the player to move in sun yellow.
void MNSudokuWidget::RenderPlayers() {
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    if (profile == nullptr) {
        return;
    }
    const MNHeadToHeadData& players = *profile->GetHeadToHeadData();
    const char* names[] = {players.m_player1Name, players.m_player2Name};
    const int lives[] = {players.m_player1Lives, players.m_player2Lives};
    const int times[] = {players.m_player1Time, players.m_player2Time};
    const bool bActive[] = {players.m_player1Active, !players.m_player1Active};
    for (int i = 0; i < 2; ++i) {
        char line[96];
        if (players.m_sprintMode) {
            std::snprintf(line, sizeof(line), "%.32s: %d", names[i], lives[i]);
        } else {
            std::snprintf(line, sizeof(line), "%.32s: %d:%.2d", names[i], times[i] / 60,
                          times[i] % 60);
        }
        m_font->SetColour(bActive[i] ? P::kSun : P::kWhite, false);
        m_font->Print(ClockX(), K_TITLE_SAFE_Y + 18 * i, line, 0, 0.0f);
    }
}

} // namespace Kelvo_lib
