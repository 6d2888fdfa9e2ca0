// The fitword widget: its art, the word list, the input of the play view and the sweep.
#include <puzzles/fitword/mnfitwordwidget.h>
#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnpalette.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>

#include <ui/kuimouse.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cstdio>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNFitwordWidget::StaticClass()};

// The remote's A button as the play view sees it: -1 idle, 1 pressed this tick, 2 held,
// 3 released this tick. One for the whole widget family, as only one fitword plays.
int s_mouseState = -1;

constexpr float kPanelX = 30.0f;
constexpr float kListTextLeft = 14.0f;
constexpr float kFlashPeriod = 1.0f;
constexpr float kPostScanFlash = 2.0f;
// The grid stands below the counter on its panel.
constexpr float kGridTop = static_cast<float>(K_TITLE_SAFE_Y) + 20.0f;

using P = MNPalette;
// A hinted cell is shaded, so that its letters read apart from the player's.
constexpr unsigned int kHintedCell = 0xFFC9CFDD;
// Blocks are black, as the crossword's are.
constexpr unsigned int kBlock = 0xFF000000;

} // namespace

bool MNFitwordWidget::Pointer::Pressed(const kSprite& sprite) const {
    return state == 1 && sprite.MouseHit(static_cast<float>(x), static_cast<float>(y), false);
}

bool MNFitwordWidget::Pointer::Released(const kSprite& sprite) const {
    return state == 3 && sprite.MouseHit(static_cast<float>(x), static_cast<float>(y), false);
}

MNFitwordWidget::MNFitwordWidget() {
    MNSound::ForceRandomMusicChange();
    m_scanGrid.Empty();
    m_fitword = new MNFitword;
    InitIntro();
    m_bArtComplete = LoadArt();
    if (!m_bArtComplete) {
        kLogSys("MNFitwordWidget", "Art is missing from the disc; the fitword stays blank\n");
    }
}

MNFitwordWidget::~MNFitwordWidget() {
    delete m_fitword;
}

bool MNFitwordWidget::LoadArt() {
    const float w = static_cast<float>(DisplayWidth());
    m_titleFont = MNResourceManager::GetFont("wii_font_30", "wii_font_30");
    m_font = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    m_gridFont = MNResourceManager::GetFont("wii_font_20b", "wii_font_20b");
    m_buttonFont = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    m_listFont = MNResourceManager::GetFont("wii_font_20", "wii_font_20");

    m_spriteCell = PixelSprite("puzzles", "fw_grid_cell");
    m_gridBG = PixelSprite("puzzles", "FW_BG_Grid_BG");
    m_listBG = PixelSprite("puzzles", "FW_BG_List_BG");
    m_wordHighlight = PixelSprite("puzzles", "fw_word_highlight");
    m_menu = PixelSprite("puzzles", "Generic_BG_Buttons");
    m_hint = PixelSprite("puzzles", "Generic_BG_Buttons");
    m_clear = PixelSprite("puzzles", "Generic_BG_Buttons");
    m_upArrow = PixelSprite("fe", "fe_arrow_up");
    m_downArrow = PixelSprite("fe", "fe_arrow_down");
    m_mouseSprite =
        kSharedPtr<kSprite>(kSprite::Create(MNResourceManager::GetSpriteBank("ptr"), "ptr"));
    if (!IsArtComplete()) {
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
    PlaceBottomButtons(m_menu.Get(), m_hint.Get(), m_clear.Get());
    return true;
}

bool MNFitwordWidget::IsArtComplete() const {
    const void* parts[] = {m_titleFont.Get(),
                           m_font.Get(),
                           m_gridFont.Get(),
                           m_buttonFont.Get(),
                           m_listFont.Get(),
                           m_spriteCell.Get(),
                           m_gridBG.Get(),
                           m_listBG.Get(),
                           m_wordHighlight.Get(),
                           m_menu.Get(),
                           m_hint.Get(),
                           m_clear.Get(),
                           m_upArrow.Get(),
                           m_downArrow.Get(),
                           m_mouseSprite.Get(),
                           m_introContinueButtonSprite.Get(),
                           m_introHelpButtonSprite.Get()};
    return std::all_of(std::begin(parts), std::end(parts), [](const void* p) { return p; });
}

void MNFitwordWidget::InitIntro() {
    m_introContinueButtonSprite = PixelSprite("fe", "wii_fe_button_256");
    m_introHelpButtonSprite = PixelSprite("fe", "wii_fe_button_256");
    MNPuzzleIntroButtons::Place(m_introContinueButtonSprite.Get(), m_introHelpButtonSprite.Get());
    m_introButtons.Reset();
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

void MNFitwordWidget::TickIntro(float) {
    const MNPuzzleIntroButtons::eChoice choice =
        m_introButtons.Tick(*m_introContinueButtonSprite.Get(), *m_introHelpButtonSprite.Get());
    if (choice == MNPuzzleIntroButtons::CHOICE_CONTINUE) {
        m_state = STATE_PLAY;
    } else if (choice == MNPuzzleIntroButtons::CHOICE_HELP) {
        HelpSignal();
    }
}

MNFitwordWidget::Pointer MNFitwordWidget::ReadPointer(float delta) {
    s_mouseState = NextAButtonState(s_mouseState);
    kUIMouse::Tick(delta);
    return Pointer{PointerX(), PointerY(), s_mouseState};
}

// A Marathon whose clock ran out waits for the mode to end it.
bool MNFitwordWidget::IsHeadToHeadPaused() const {
    if (m_fitword->GetGameMode() != GAME_MODE_HEADTOHEAD) {
        return false;
    }
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    const MNHeadToHeadData* players = profile != nullptr ? profile->GetHeadToHeadData() : nullptr;
    return players != nullptr && !players->m_sprintMode &&
           (players->m_player1Time == 0 || players->m_player2Time == 0);
}

void MNFitwordWidget::Tick(float delta) {
    if (!m_bArtComplete || IsHeadToHeadPaused()) {
        return;
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
    if (m_fitword->IsGridFull()) {
        if (m_fitword->GetGameMode() != GAME_MODE_HEADTOHEAD) {
            StartSweep();
            return;
        }
        if (m_fitword->CheckWin()) {
            m_fitword->GameOverSignal();
            return;
        }
    }
    m_fitword->Tick(delta);
    const Pointer pointer = ReadPointer(delta);
    TickList(pointer);
    TickGrid(pointer);
    TickButtons(pointer);
}

void MNFitwordWidget::TickList(const Pointer& pointer) {
    if (pointer.Pressed(*m_upArrow.Get()) && m_listPos > 0) {
        --m_listPos;
        MNSound::PlaySoundEffect(SFX_LIST_UP);
        return;
    }
    if (pointer.Pressed(*m_downArrow.Get()) && m_listPos < m_listLines.Size() - K_VISIBLE_LINES) {
        ++m_listPos;
        MNSound::PlaySoundEffect(SFX_SPINNER);
        return;
    }
    const float left = m_listBG->GetX();
    if (pointer.state != 1 || pointer.x < left || pointer.x >= m_upArrow->GetX() ||
        pointer.y < K_LINES_TOP) {
        return;
    }
    const int line = m_listPos + (pointer.y - K_LINES_TOP) / K_LINE_STEP;
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

void MNFitwordWidget::TickGrid(const Pointer& pointer) {
    const float size = CellSize();
    const float left = GridOffsetX();
    const float top = GridOffsetY();
    const int cols = m_fitword->GetNumCols();
    const int rows = m_fitword->GetNumRows();
    if (pointer.state != 1 || pointer.x < left || pointer.x >= left + size * cols ||
        pointer.y < top || pointer.y >= top + size * rows) {
        return;
    }
    const int column = std::clamp(static_cast<int>((pointer.x - left) / size), 0, cols - 1);
    const int row = std::clamp(static_cast<int>((pointer.y - top) / size), 0, rows - 1);
    const int picked = m_fitword->GetSelectedWord();
    if (!m_fitword->SelectCell(row * cols + column)) {
        return;
    }
    const bool bPlaced = picked != MNFitword::K_NO_WORD && m_fitword->GetSlotOfWord(picked) >= 0;
    if (!bPlaced) {
        MNSound::PlaySoundEffect(SFX_CELL_SELECT);
    } else if (m_fitword->GetGameMode() != GAME_MODE_HEADTOHEAD) {
        MNSound::PlaySoundEffect(SFX_TILE_PLACE); // Head to Head sounds right or wrong instead
    }
}

bool MNFitwordWidget::CanHint() const {
    const int mode = m_fitword->GetGameMode();
    if (mode != GAME_MODE_TOURNAMENT && mode != GAME_MODE_QUICKBLAST &&
        mode != GAME_MODE_SIMPLYPUZZLE) {
        return false;
    }
    const int* left = m_fitword->GetHintsLeft();
    return left[0] + left[1] + left[2] > 0;
}

bool MNFitwordWidget::CanClear() const {
    const int slot = m_fitword->GetSelectedSlot();
    return m_fitword->GetSelectedWord() == MNFitword::K_NO_WORD && slot >= 0 &&
           m_fitword->GetPlacedWord(slot) != MNFitword::K_NO_WORD && !m_fitword->IsSlotLocked(slot);
}

// A button acts when A is released over the button it was pressed on.
void MNFitwordWidget::TickButtons(const Pointer& pointer) {
    kSprite* buttons[] = {m_menu.Get(), m_hint.Get(), m_clear.Get()};
    for (kSprite* button : buttons) {
        if (pointer.Pressed(*button)) {
            m_pressedButton = button;
        }
    }
    if (pointer.state != 3) {
        return;
    }
    kSprite* pressed = m_pressedButton;
    m_pressedButton = nullptr;
    if (pressed == nullptr || !pointer.Released(*pressed)) {
        return;
    }
    if (pressed == m_menu.Get()) {
        MNSound::PlaySoundEffect(SFX_BACK);
        MenuSignal();
    } else if (pressed == m_hint.Get() && CanHint()) {
        MNSound::PlaySoundEffect(SFX_PRESS);
        HintSignal();
    } else if (pressed == m_clear.Get() && CanClear()) {
        MNSound::PlaySoundEffect(SFX_TILE_REMOVE);
        m_fitword->ClearSlot(m_fitword->GetSelectedSlot());
    }
}

void MNFitwordWidget::StartSweep() {
    m_fitword->SelectWord(MNFitword::K_NO_WORD);
    m_state = STATE_SWEEP;
    m_fScanTime = m_fScanLength;
    m_scanCurrentCol = -1;
    m_scanGrid.Empty();
    m_scanGrid.Add(m_fitword->GetNumCells());
    for (int cell = 0; cell < m_scanGrid.Size(); ++cell) {
        m_scanGrid(cell) = SCAN_NONE;
    }
}

void MNFitwordWidget::TickSweep(float delta) {
    if (m_fScanTime > 0.0f) {
        ScanStep(delta);
    } else if (m_fPostScanFlashTime > 0.0f) {
        FlashStep(delta);
    } else if (m_fPostScanTime > 0.0f) {
        ClosingStep(delta);
    }
}

// Marks one more column per tick: wrong letters, or a right grid's hidden-word cells.
void MNFitwordWidget::ScanStep(float delta) {
    bool bWin = true;
    for (int cell = 0; cell < m_fitword->GetNumCells(); ++cell) {
        const char solution = m_fitword->GetCellsDone(cell);
        bWin = bWin && (solution == 0 || m_fitword->GetUserLetter(cell) == solution);
    }
    m_fScanTime -= delta;
    MNSound::PlaySoundEffect(SFX_SWEEP_TICK);
    if (m_fScanTime <= 0.0f) {
        m_fScanTime = 0.0f;
        ReplaceMarks(SCAN_LIT, SCAN_NONE);
        m_fPostScanFlashTime = kPostScanFlash;
        m_fFlashTime = kFlashPeriod;
        return;
    }
    const int cols = m_fitword->GetNumCols();
    const int col = static_cast<int>((m_fScanLength - m_fScanTime) *
                                     (1.0f / m_fScanLength + static_cast<float>(cols)));
    if (col <= m_scanCurrentCol) {
        return;
    }
    for (int row = 0; m_scanCurrentCol >= 0 && row < m_fitword->GetNumRows(); ++row) {
        unsigned char& mark = m_scanGrid(row * cols + m_scanCurrentCol);
        if (mark == SCAN_LIT) {
            mark = SCAN_NONE;
        }
    }
    if (col >= cols) {
        return;
    }
    ++m_scanCurrentCol;
    for (int row = 0; row < m_fitword->GetNumRows(); ++row) {
        const int cell = row * cols + m_scanCurrentCol;
        const char solution = m_fitword->GetCellsDone(cell);
        if (solution != 0 && m_fitword->GetUserLetter(cell) != solution) {
            m_scanGrid(cell) = SCAN_WRONG;
        } else {
            m_scanGrid(cell) = m_fitword->IsSpelloutCell(cell) && bWin ? SCAN_HIDDEN : SCAN_LIT;
        }
    }
}

void MNFitwordWidget::FlashStep(float delta) {
    m_fPostScanFlashTime -= delta;
    if (m_fPostScanFlashTime <= 0.0f) {
        m_fPostScanFlashTime = 0.0f;
        m_fPostScanTime = m_fPostScanLength;
        ReplaceMarks(SCAN_HIDDEN2, SCAN_HIDDEN);
    } else if (m_fFlashTime > 0.0f) {
        m_fFlashTime -= delta;
        if (m_fFlashTime <= 0.0f) {
            m_fFlashTime = kFlashPeriod;
        } else {
            SwapHiddenMarks();
        }
    }
}

// The end of the sweep: a right grid is over, a wrong one loses its wrong words and play goes
// on. The check decides, so a sweep too short to mark every column cannot leave a wrong grid.
void MNFitwordWidget::ClosingStep(float delta) {
    m_fPostScanTime -= delta;
    SwapHiddenMarks();
    if (m_fPostScanTime > 0.0f) {
        return;
    }
    m_fPostScanTime = 0.0f;
    if (m_fitword->CheckWin()) {
        MNSound::PlaySoundEffect(SFX_RIGHT);
        m_fitword->GameOverSignal();
    } else {
        m_state = STATE_PLAY;
        m_fitword->RemoveErrors();
        MNSound::PlaySoundEffect(SFX_WRONG);
    }
}

void MNFitwordWidget::SwapHiddenMarks() {
    for (int cell = 0; cell < m_scanGrid.Size(); ++cell) {
        unsigned char& mark = m_scanGrid(cell);
        if (mark == SCAN_HIDDEN || mark == SCAN_HIDDEN2) {
            mark = mark == SCAN_HIDDEN ? SCAN_HIDDEN2 : SCAN_HIDDEN;
        }
    }
}

void MNFitwordWidget::ReplaceMarks(unsigned char from, unsigned char to) {
    for (int cell = 0; cell < m_scanGrid.Size(); ++cell) {
        if (m_scanGrid(cell) == from) {
            m_scanGrid(cell) = to;
        }
    }
}

// Drawing.

void MNFitwordWidget::Render() {
    if (!m_bArtComplete) {
        return;
    }
    if (m_state == STATE_INTRO) {
        RenderIntro();
        return;
    }
    RenderGrid();
    RenderWordList();
    RenderBottomButton(*m_buttonFont.Get(), *m_menu.Get(), Txt(292), true);
    const int mode = m_fitword->GetGameMode();
    if (mode == GAME_MODE_TOURNAMENT || mode == GAME_MODE_QUICKBLAST ||
        mode == GAME_MODE_SIMPLYPUZZLE) {
        RenderBottomButton(*m_buttonFont.Get(), *m_hint.Get(), Txt(287), CanHint());
    }
    RenderBottomButton(*m_buttonFont.Get(), *m_clear.Get(), Txt(300), CanClear());
    if (mode == GAME_MODE_HEADTOHEAD) {
        RenderPlayers();
    } else {
        RenderClock();
    }
    RenderPointer();
}

void MNFitwordWidget::RenderPointer() {
    m_mouseSprite->SetPosition(static_cast<float>(kUIMouse::GetIntX()),
                               static_cast<float>(kUIMouse::GetIntY()));
    m_mouseSprite->Render();
}

// The two players' lives (Sprint) or time left (Marathon); the player to move in yellow.
void MNFitwordWidget::RenderPlayers() {
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    if (profile == nullptr) {
        return;
    }
    const MNHeadToHeadData& players = *profile->GetHeadToHeadData();
    const char* names[] = {players.m_player1Name, players.m_player2Name};
    const int lives[] = {players.m_player1Lives, players.m_player2Lives};
    const int times[] = {players.m_player1Time, players.m_player2Time};
    for (int i = 0; i < 2; ++i) {
        char line[96];
        if (players.m_sprintMode) {
            std::snprintf(line, sizeof(line), "%.32s: %d", names[i], lives[i]);
        } else {
            std::snprintf(line, sizeof(line), "%.32s: %d:%.2d", names[i], times[i] / 60,
                          times[i] % 60);
        }
        const bool bActive = (i == 0) == players.m_player1Active;
        m_font->SetColour(bActive ? P::kSun : P::kWhite, false);
        m_font->Print(static_cast<int>(m_listBG->GetX()) + i * 120, K_TITLE_SAFE_Y, line, 0, 0.0f);
    }
}

void MNFitwordWidget::RenderIntro() {
    m_introButtons.Render(*m_titleFont.Get(), *m_font.Get(), Txt(56),
                          *m_introContinueButtonSprite.Get(), *m_introHelpButtonSprite.Get());
    RenderPointer();
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
    if (m_state == STATE_SWEEP && cell < m_scanGrid.Size()) {
        const unsigned int marks[] = {tint, P::kLeaf, P::kBrick, P::kSun, P::kPaper};
        tint = marks[m_scanGrid(cell)];
        ink = m_scanGrid(cell) == SCAN_NONE ? ink : P::kInk;
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
void MNFitwordWidget::RenderClock() {
    const int seconds = MNPuzzleClock::ShownSeconds(m_fitword->GetGameMode(), m_fitword->GetTime());
    m_clock.Render(*m_font.Get(), ClockX(), K_TITLE_SAFE_Y, seconds, P::kInk);
    int placed = 0;
    for (int slot = 0; slot < m_fitword->GetNumWords(); ++slot) {
        placed += m_fitword->GetPlacedWord(slot) != MNFitword::K_NO_WORD ? 1 : 0;
    }
    char text[96];
    std::snprintf(text, sizeof(text), "%.40s: %d/%d", Txt(302), placed, m_fitword->GetNumWords());
    m_font->Print(static_cast<int>(kPanelX) + 15, K_TITLE_SAFE_Y, text, 0, 0.0f);
}

void MNFitwordWidget::RenderWordList() {
    m_listBG->Render();
    m_font->SetColour(P::kWhite, false);
    int w = 0;
    int h = 0;
    m_font->GetStringBound(w, h, Txt(302));
    m_font->Print(static_cast<int>(m_listBG->GetX() + (m_listBG->GetWidth() - w) * 0.5f),
                  static_cast<int>(K_LIST_TOP) + 8, Txt(302), 0, 0.0f);
    const int x = static_cast<int>(m_listBG->GetX() + kListTextLeft);
    const int last = std::min(m_listPos + K_VISIBLE_LINES, m_listLines.Size());
    for (int line = m_listPos; line < last; ++line) {
        const ListLine& entry = m_listLines(line);
        const int y = K_LINES_TOP + K_LINE_STEP * (line - m_listPos);
        if (entry.word < 0) {
            char heading[64];
            std::snprintf(heading, sizeof(heading), Txt(301), entry.length);
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
        m_listFont->SetColour(bPlaced ? P::kGrey : P::kInk, false);
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
