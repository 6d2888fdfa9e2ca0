// The crossword widget: its art, the clue lists, the input of its four views and the sweep.
#include <puzzles/crossword/mncrosswordwidget.h>
#include <puzzles/mnheadtoheadstatus.h>
#include <puzzles/mnpuzzlewidgetkit.h>

#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <services/splittext.h>
#include <tui/mnkeyboard.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNCrosswordWidget::StaticClass()};

// The remote as the play views read it, one for the whole widget family, as only one
// crossword plays.
MNInputEdge s_input;

// The menu and hint buttons, on the picture's bottom edge.
constexpr MNPuzzleBottomButtons::Style kButtons{MNPuzzleBottomButtons::PLACE_ON_BOTTOM_EDGE,
                                                MNPuzzleBottomButtons::PRESS_EACH, -1};

// The player to move in Head to Head.
constexpr unsigned int kYellow = 0xFFFFFF00;
// The clock, the counter and the Answer caption on the yellow button; the captions of the
// answer view's buttons.
constexpr unsigned int kInk = 0xFF000001;
constexpr unsigned int kCaptionOnButton = 0xFFFFFFFF;

constexpr float kClueWrapWidth = 0.39f; // of the display width
constexpr float kClueFitMargin = 50.0f;
constexpr float kTabWidth = 115.0f;
constexpr float kTabHeight = 35.0f;
constexpr float kDownTabLeft = 170.0f;
constexpr float kAnswerBoxesX = 377.0f;
constexpr float kAnswerBoxesUp = 30.0f; // above the answer panel's bottom

} // namespace

MNCrosswordWidget::MNCrosswordWidget()
    : kRTTI(Kind{"MNCrosswordWidget", "crossword", TEXT_CROSSWORD_TITLE,
                 MNPuzzleSweep::PACE_FRAME_BY_FRAME, true, s_input, kButtons}),
      m_crossword(new MNCrossword(GameSources())) {
    LoadAllArt();
}

MNCrosswordWidget::~MNCrosswordWidget() {
    m_renderedWordListAcross.Clear();
    m_renderedWordListDown.Clear();
    delete m_crossword;
}

bool MNCrosswordWidget::LoadArt() {
    const float w = static_cast<float>(DisplayWidth());
    m_keyboardFont = MNResourceManager::GetFont("keyboard", "wii_keyboard");
    m_font->SetColour(0xFF000000, false);
    m_gridFont = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    m_clueFont = MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
    m_clueFont->SetColour(0xFFFFFFFF, false);
    m_clueFont->SetScale(1.0f);
    m_clueFont->SetPixelSpacingReduction(1, 3);
    m_gridNumberFont = MNResourceManager::GetFont("wii_font_11a", "wii_font_11a");

    m_spriteCell = PixelSprite("puzzles", "cw_grid_white_cell");
    m_inputBg = PixelSprite("puzzles", "CW_BG_Clue_BG");
    m_answer = PixelSprite("puzzles", "cw_confirm_box ");
    m_resolve = PixelSprite("puzzles", "cw_resolve_button");
    m_swapback = PixelSprite("puzzles", "cw_back_box ");
    m_across = PixelSprite("puzzles", "CW_Tab_BG_Across");
    m_down = PixelSprite("puzzles", "CW_Tab_BG_Down");
    m_gridBG = PixelSprite("puzzles", "CW_BG_Grid_BG");
    m_upArrow = PixelSprite("puzzles", "CW_scroll_Arrow_Up");
    m_downArrow = PixelSprite("puzzles", "CW_scroll_Arrow_Down");
    m_clueHighlight = PixelSprite("puzzles", "cw_single_clue_bg");
    if (!AllLoaded({m_spriteCell.Get(), m_inputBg.Get(), m_answer.Get(), m_resolve.Get(),
                    m_swapback.Get(), m_across.Get(), m_down.Get(), m_gridBG.Get(), m_upArrow.Get(),
                    m_downArrow.Get(), m_clueHighlight.Get()})) {
        return false;
    }
    m_inputBg->SetPosition(w - m_inputBg->GetWidth(), 43.0f);
    m_answer->SetPosition(m_inputBg->GetX(), 255.0f);
    m_resolve->SetPosition(30.0f, 311.0f);
    m_swapback->SetPosition(m_answer->GetX() + m_answer->GetWidth() + 10.0f, 255.0f);
    m_across->SetPosition(w - m_across->GetWidth(), 43.0f);
    m_down->SetPosition(w - m_down->GetWidth(), 43.0f);
    m_gridBG->SetPosition(30.0f, 0.0f);
    const float arrowX =
        m_across->GetX() + 0.5f * m_across->GetWidth() - 0.5f * m_upArrow->GetWidth();
    m_upArrow->SetPosition(arrowX, m_across->GetY() + 40.0f);
    m_downArrow->SetPosition(arrowX, m_across->GetY() + m_across->GetHeight() -
                                         m_downArrow->GetHeight() - 10.0f);
    m_clueHighlight->SetHeight(16.0f);
    m_clueHighlight->SetWidth(m_across->GetWidth() - 20.0f);
    m_clueHighlight->SetColour(0xFFFFFF00);
    return true;
}

void MNCrosswordWidget::InitWordList() {
    m_renderedWordListAcross.Empty();
    m_renderedWordListDown.Empty();
    if (!HasAllArt()) {
        return; // the lines are fitted to the clue panel's art
    }
    for (int i = 0; i < m_crossword->GetNumWords(); ++i) {
        AddClueLines(i);
    }
}

// "n. clue", wrapped to the panel with continuation lines indented by four blanks.
void MNCrosswordWidget::AddClueLines(int word) {
    kArray<RenderedWords>& list =
        m_crossword->GetWordDirection(word) ? m_renderedWordListDown : m_renderedWordListAcross;
    m_clueFont->SetFixedCharWidth(0);
    m_clueFont->SetScale(1.0f);
    char text[640];
    std::snprintf(text, sizeof(text), "%d. %s", m_crossword->GetNumberedCell(word),
                  m_crossword->GetClue(word));
    int width = 0;
    int height = 0;
    m_clueFont->GetStringBound(width, height, text);
    kString lines(text);
    if (static_cast<float>(width) > m_across->GetWidth() - kClueFitMargin) {
        lines = SplitText(m_clueFont.Get(), kString(text), kClueWrapWidth);
    }
    const char* start = lines.CStr();
    while (*start != '\0') {
        const char* end = std::strchr(start, '\n');
        const int length =
            end != nullptr ? static_cast<int>(end - start) : static_cast<int>(std::strlen(start));
        char piece[sizeof(text) + 4];
        std::snprintf(piece, sizeof(piece), "%s%.*s", start == lines.CStr() ? "" : "    ", length,
                      start);
        RenderedWords& line = list(list.Add());
        line.line = kString(piece);
        line.wordIndex = word;
        start = end != nullptr ? end + 1 : start + length;
    }
}

float MNCrosswordWidget::GridOffsetX() const {
    const float gw = m_crossword->GetGridScaleX() * m_crossword->GetNumCols();
    return m_gridBG->GetX() + (m_gridBG->GetWidth() - gw) * 0.5f;
}

float MNCrosswordWidget::GridOffsetY() const {
    const float gh = m_crossword->GetGridScaleY() * m_crossword->GetNumRows();
    return (m_gridBG->GetHeight() - gh) * 0.5f;
}

void MNCrosswordWidget::GetCellPosition(int cell, float& x, float& y) const {
    const int cols = m_crossword->GetNumCols() > 0 ? m_crossword->GetNumCols() : 1;
    x = GridOffsetX() + static_cast<float>(cell % cols) * m_crossword->GetGridScaleX();
    y = GridOffsetY() + static_cast<float>(cell / cols) * m_crossword->GetGridScaleY();
}

void MNCrosswordWidget::TickPlay(float delta) {
    if (m_state != STATE_ANSWER && m_crossword->IsGridFull()) {
        if (!Rules().bTakeTurns) {
            StartSweep(m_crossword->GetNumCols(), m_crossword->GetNumRows());
        } else {
            m_crossword->EndIfSolved();
        }
    }
    m_crossword->Tick(delta);
    const MNInputEdge& input = ReadInput();
    if (m_state != STATE_ANSWER) {
        TickPlayView(input);
    }
    if (m_state != STATE_ANSWER) {
        TickGrid(input);
    }
    if (m_state == STATE_ANSWER) {
        TickAnswerView(input);
    }
    TickButtons(input);
}

void MNCrosswordWidget::TickPlayView(const MNInputEdge& input) {
    const int lineCount = ShownList().Size();
    if (input.PressedOn(*m_upArrow.Get()) && m_clueListPos > 0) {
        --m_clueListPos;
        MNSound::PlaySoundEffect(SFX_LIST_UP);
    }
    if (input.PressedOn(*m_downArrow.Get()) && m_clueListPos < lineCount - K_VISIBLE_LINES) {
        ++m_clueListPos;
        MNSound::PlaySoundEffect(SFX_SPINNER);
    }
    bool bOpen = false;
    if (input.WasPressed() && input.GetX() > m_across->GetX() &&
        input.GetX() < DisplayWidth() - 15) {
        const int last = std::min(m_clueListPos + K_VISIBLE_LINES, lineCount);
        for (int k = 0; m_clueListPos + k < last; ++k) {
            const int top = K_LINES_TOP + K_LINE_STEP * k;
            if (input.GetY() < top || input.GetY() > top + K_LINE_STEP) {
                continue;
            }
            const int word = ShownList()(m_clueListPos + k).wordIndex;
            if (word == m_crossword->GetSelectedClue()) {
                bOpen = true;
            } else {
                m_crossword->SelectClue(word);
                MNSound::PlaySoundEffect(SFX_CELL_SELECT);
            }
        }
    }
    if (bOpen) {
        kLogFmt("Setting input mode\n");
        m_lastState = m_state;
        m_state = STATE_ANSWER;
        MNSound::PlaySoundEffect(SFX_ANSWER_OPEN);
        PrepareKeyboard();
        m_input.TakePress(); // the keyboard does not take it as a key
        return;
    }
    if (!input.WasPressed()) {
        return;
    }
    const bool bDownShown = m_crossword->GetDirectionView();
    const kSprite& panel = bDownShown ? *m_across.Get() : *m_down.Get();
    const float left = panel.GetX() + (bDownShown ? 0.0f : kDownTabLeft);
    if (input.GetX() > left && input.GetX() < left + kTabWidth && input.GetY() > panel.GetY() &&
        input.GetY() < panel.GetY() + kTabHeight) {
        m_crossword->SetDirectionView(!bDownShown);
        m_clueListPos = 0;
        MNSound::PlaySoundEffect(bDownShown ? SFX_ACROSS_LIST : SFX_DOWN_LIST);
    }
}

void MNCrosswordWidget::TickGrid(const MNInputEdge& input) {
    if (m_crossword->GetSelectedClue() != -1 && input.ReleasedOn(*m_resolve.Get())) {
        kLogFmt("Setting input mode\n");
        m_lastState = m_state;
        m_state = STATE_ANSWER;
        m_bSwapBackDown = false;
        MNSound::PlaySoundEffect(SFX_ANSWER_OPEN);
        m_crossword->SetDirectionView(
            m_crossword->GetWordDirection(m_crossword->GetSelectedClue()));
        PrepareKeyboard();
        MNSound::PlaySoundEffect(SFX_PRESS);
        return;
    }
    const float sx = m_crossword->GetGridScaleX();
    const float sy = m_crossword->GetGridScaleY();
    const float left = GridOffsetX();
    const float top = GridOffsetY();
    const int cols = m_crossword->GetNumCols();
    const int rows = m_crossword->GetNumRows();
    if (!input.WasPressed() || input.GetX() < left || input.GetX() >= left + sx * cols ||
        input.GetY() < top || input.GetY() >= top + sy * rows) {
        return;
    }
    const int column = std::clamp(static_cast<int>((input.GetX() - left) / sx), 0, cols - 1);
    const int row = std::clamp(static_cast<int>((input.GetY() - top) / sy), 0, rows - 1);
    MNSound::PlaySoundEffect(SFX_CELL_SELECT);
    const int cell = row * cols + column;
    m_crossword->SetSelectedIndex(cell < m_crossword->GetNumCells() ? cell : 0);
    m_crossword->SelectCell(m_crossword->GetSelectedIndex(),
                            m_crossword->GetDirectionView() ? DIR_VERTICAL : DIR_HORIZONTAL);
}

// The keyboard starts with the word's letters from the grid; locked ones cannot be typed over.
void MNCrosswordWidget::PrepareKeyboard() {
    MNKeyboard* keyboard = m_crossword->GetKeyboard();
    keyboard->m_string[0] = 0;
    keyboard->m_cursorPos = -1;
    std::memset(keyboard->m_locked, 0, sizeof(keyboard->m_locked));
    const int word = m_crossword->GetSelectedClue();
    const int length = std::min(m_crossword->GetWordLength(word), MNKeyboard::kMaxString - 1);
    keyboard->SetMaxStringLength(length);
    char letters[MNKeyboard::kMaxString] = {};
    const int step = m_crossword->GetDirection() ? m_crossword->GetNumCols() : 1;
    for (int i = 0; i < length; ++i) {
        const int cell = m_crossword->GetFirstCell() + i * step;
        letters[i] = m_crossword->GetUserLetter(cell);
        if (m_crossword->IsCellLocked(cell)) {
            keyboard->SetLockedCells(i);
        }
    }
    keyboard->SetString(letters);
}

void MNCrosswordWidget::TickAnswerView(const MNInputEdge& input) {
    MNKeyboard* keyboard = m_crossword->GetKeyboard();
    keyboard->MouseHit(static_cast<float>(input.GetX()), static_cast<float>(input.GetY()), false,
                       input.GetState());
    const float cw = m_spriteCell->GetWidth();
    const float ch = m_spriteCell->GetHeight();
    const float boxY = m_inputBg->GetY() + m_inputBg->GetHeight() - kAnswerBoxesUp;
    const int length = m_crossword->GetWordLength(m_crossword->GetSelectedClue());
    for (int i = 0; i < length && input.WasPressed(); ++i) {
        const float boxX = kAnswerBoxesX + i * cw;
        if (input.GetX() >= boxX && input.GetX() <= boxX + cw && input.GetY() >= boxY &&
            input.GetY() <= boxY + ch) {
            keyboard->SetCursorPos(i - 1);
        }
    }
    const bool bComplete = std::strchr(keyboard->GetString(), ' ') == nullptr;
    if (input.WasPressed()) {
        const bool bOnAnswer = input.PressedOn(*m_answer.Get());
        if (bOnAnswer && bComplete) {
            m_answerClick = true;
        } else if (!bOnAnswer) {
            m_answerClick = false;
        }
        m_bSwapBackDown = input.PressedOn(*m_swapback.Get());
    }
    if (input.ReleasedOn(*m_answer.Get()) && bComplete && m_answerClick) {
        m_crossword->PlaceWord(keyboard->GetString(), m_crossword->GetFirstCell(),
                               m_crossword->GetDirectionView() ? DIR_VERTICAL : DIR_HORIZONTAL);
        if (!Rules().bTakeTurns) {
            MNSound::PlaySoundEffect(SFX_PRESS);
        }
        m_state = m_lastState;
        m_answerClick = false;
    }
    if (input.ReleasedOn(*m_swapback.Get()) && m_bSwapBackDown) {
        m_bSwapBackDown = false;
        MNSound::PlaySoundEffect(SFX_BACK);
        m_state = m_lastState;
    }
}

MNCrosswordWidget::eLook MNCrosswordWidget::HintLook() const {
    if (m_state != STATE_ANSWER || !Rules().bHintsOffered) {
        return LOOK_HIDDEN;
    }
    const MNKeyboard* keyboard = m_crossword->GetKeyboard();
    const int next = keyboard->GetCursorPos() + 1;
    const bool bOpen = !keyboard->GetLockedCells(next) &&
                       next < static_cast<int>(std::strlen(keyboard->GetString()));
    return bOpen ? LOOK_LIVE : LOOK_GREYED;
}

// The hint reveals the next letter in the answer view itself.
void MNCrosswordWidget::TickButtons(const MNInputEdge& input) {
    if (TickBottomButtons(input, HintLook()) == BUTTON_HINT) {
        MNSound::PlaySoundEffect(SFX_BACK);
        m_crossword->Hint(0);
    }
}

// Drawing.

void MNCrosswordWidget::RenderPlay() {
    MNKeyboard* keyboard = m_crossword->GetKeyboard();
    if (keyboard != nullptr) {
        keyboard->SetColour(0xFFFFFFFF);
        keyboard->SetFont(m_keyboardFont);
    }
    m_font->SetFixedCharWidth(0);
    RenderGrid();
    if (m_state == STATE_ANSWER) {
        RenderInputScreen();
        m_swapback->Render();
        PrintCentred(*m_font.Get(), *m_swapback.Get(), Txt(TEXT_BACK), kCaptionOnButton);
    } else {
        RenderClueList();
        m_resolve->SetColour(0xFFFFFF00);
        m_resolve->Render();
        PrintCentred(*m_font.Get(), *m_resolve.Get(), Txt(TEXT_ANSWER), kInk);
    }
    RenderBottomButtons(HintLook());
    RenderPointer();
    if (Rules().bTakeTurns) {
        RenderPlayers();
    }
}

// The two players' lives (Sprint) or time left (Marathon); the player to move in yellow.
void MNCrosswordWidget::RenderPlayers() {
    MNHeadToHeadStatus players;
    if (!players.Read()) {
        return;
    }
    int w = 0;
    int h = 0;
    m_font->GetStringBound(w, h, players.GetLine(1));
    const int x = DisplayWidth() - w - 40;
    players.Print(*m_font.Get(), 0, x, 2, kYellow);
    players.Print(*m_font.Get(), 1, x, h + 2, kYellow);
}

void MNCrosswordWidget::RenderGrid() {
    m_gridBG->Render();
    m_gridFont->SetFixedCharWidth(0);
    m_gridFont->SetScale(1.0f);
    m_gridFont->SetColour(0xFF000000, false);
    for (int cell = 0; cell < m_crossword->GetNumCells(); ++cell) {
        RenderCell(cell);
    }
    m_font->SetFixedCharWidth(0);
    if (!Rules().bTakeTurns) {
        RenderClockAndCounter();
    }
}

void MNCrosswordWidget::RenderCell(int cell) {
    const bool bHighlight = m_crossword->IsHighlight(cell);
    const char letter = m_crossword->GetUserLetter(cell);
    unsigned int tint = bHighlight ? 0xFFFFFF00 : (letter != ' ' ? 0xFFFAFAFA : 0xFFFFFFFF);
    if (m_crossword->IsCellLocked(cell)) {
        tint = bHighlight ? 0xFFAAAAFF : 0xFFB4B4B4;
    }
    const bool bBlock = m_crossword->GetCellsDone(cell) == 0;
    if (bBlock) {
        tint = 0xFF000000;
    }
    if (m_state == STATE_SWEEP) {
        const unsigned int marks[] = {0xFFFFFFFF, 0xFF00FF00, 0xFFFF0000, 0xC8FF8000, 0xFFFFFFFF};
        const unsigned char mark = GetScanMark(cell);
        tint = (mark == SCAN_NONE || mark == SCAN_HIDDEN2) && bBlock ? 0xFF000000 : marks[mark];
    }
    float x = 0.0f;
    float y = 0.0f;
    GetCellPosition(cell, x, y);
    m_spriteCell->SetColour(tint);
    // On whole pixels: the grid is centred on its panel, half a pixel off for an odd count of
    // cells, where the one-pixel lines of the art would be smeared over two pixels at half
    // strength (the grid's right and bottom edges lost to the panel).
    m_spriteCell->SetPosition(std::trunc(x), std::trunc(y));
    m_spriteCell->Render();
    const float sx = m_crossword->GetGridScaleX();
    const float sy = m_crossword->GetGridScaleY();
    int w = 0;
    int h = 0;
    if (letter != ' ') {
        const char text[2] = {letter, 0};
        m_gridFont->SetColour(0xFF000000, false);
        m_gridFont->GetStringBound(w, h, text);
        m_gridFont->Print(static_cast<int>(x + sx * 0.5f - w / 2),
                          static_cast<int>(y + sy * 0.5f - h / 2), text, 0, 0.0f);
        return;
    }
    for (int i = 0; i < m_crossword->GetNumWords(); ++i) {
        if (m_crossword->GetStartCell(i) != cell) {
            continue;
        }
        char number[16];
        std::snprintf(number, sizeof(number), "%d", m_crossword->GetNumberedCell(i));
        m_gridNumberFont->SetColour(0xFF646464, false);
        m_gridNumberFont->GetStringBound(w, h, number);
        m_gridNumberFont->Print(static_cast<int>(x + (sx - w) * 0.5f), static_cast<int>(y + 1.0f),
                                number, 0, 0.0f);
        return;
    }
}

// The clock (the mode's run clock where it runs down) and the clue counter.
void MNCrosswordWidget::RenderClockAndCounter() {
    RenderClock(530, 16, kInk, m_crossword->GetTime());
    RenderCounter(45, 5, kInk, Txt(TEXT_CLUES_ANSWERED), m_crossword->GetCluesUsed(),
                  m_crossword->GetNumWords());
}

void MNCrosswordWidget::RenderClueList() {
    (m_crossword->GetDirectionView() ? m_down : m_across)->Render();
    m_clueFont->SetFixedCharWidth(0);
    m_clueFont->SetScale(1.0f);
    m_clueFont->SetColour(0xFFFFFFFF, false);
    m_clueFont->Print(345, 50, Txt(TEXT_ACROSS), 0, 0.0f);
    m_clueFont->Print(535, 50, Txt(TEXT_DOWN), 0, 0.0f);
    const int x0 = static_cast<int>(m_across->GetX() + 10.0f);
    const kArray<RenderedWords>& list = ShownList();
    const int last = std::min(m_clueListPos + K_VISIBLE_LINES, list.Size());
    for (int k = 0; m_clueListPos + k < last; ++k) {
        if (list(m_clueListPos + k).wordIndex == m_crossword->GetSelectedClue()) {
            m_clueHighlight->SetPosition(static_cast<float>(x0 - 4),
                                         static_cast<float>(K_LINES_TOP + K_LINE_STEP * k));
            m_clueHighlight->Render();
        }
    }
    for (int k = 0; m_clueListPos + k < last; ++k) {
        const RenderedWords& line = list(m_clueListPos + k);
        m_clueFont->SetColour(m_crossword->IsClueUsed(line.wordIndex) ? 0xFF808080 : 0xFF000000,
                              false);
        m_clueFont->Print(x0 - 3, K_LINES_TOP + K_LINE_STEP * k, line.line.CStr(), 0, 0.0f);
    }
    if (m_clueListPos > 0) {
        m_upArrow->Render();
    }
    if (m_clueListPos < list.Size() - K_VISIBLE_LINES) {
        m_downArrow->Render();
    }
}

void MNCrosswordWidget::RenderInputScreen() {
    m_inputBg->Render();
    const int word = m_crossword->GetSelectedClue();
    const float panelX = m_inputBg->GetX();
    const float panelBottom = m_inputBg->GetY() + m_inputBg->GetHeight();
    m_clueFont->SetFixedCharWidth(0);
    m_clueFont->SetScale(1.0f);
    m_clueFont->SetColour(0xFFFFFFFF, false);
    char heading[96];
    std::snprintf(heading, sizeof(heading),
                  Txt(m_crossword->GetWordDirection(word) ? TEXT_NUMBER_DOWN : TEXT_NUMBER_ACROSS),
                  m_crossword->GetNumberedCell(word));
    m_clueFont->Print(static_cast<int>(panelX + 10.0f), 50, heading, 0, 0.0f);
    m_clueFont->SetColour(0xFF000000, false);
    const kString clue = SplitText(m_clueFont.Get(), kString(m_crossword->GetClue(word)), 0.4f);
    int w = 0;
    int h = 0;
    m_clueFont->GetStringBound(w, h, clue.CStr());
    m_clueFont->Print(static_cast<int>(panelX + 10.0f),
                      static_cast<int>(m_inputBg->GetY() + m_inputBg->GetHeight() * 0.5f - h / 2),
                      clue.CStr(), 0, 0.0f);

    const MNKeyboard* keyboard = m_crossword->GetKeyboard();
    const int cw = static_cast<int>(m_spriteCell->GetWidth());
    const float ch = m_spriteCell->GetHeight();
    const int next = keyboard->GetCursorPos() + 1;
    for (int i = 0; i < m_crossword->GetWordLength(word); ++i) {
        const bool bLocked = keyboard->GetLockedCells(i);
        unsigned int tint = bLocked ? 0xFFC8C8C8 : 0xFFFFFFFF;
        if (i == next) {
            tint = bLocked ? 0xFFC8FAC8 : 0xFF00C864;
        }
        m_spriteCell->SetColour(tint);
        m_spriteCell->SetPosition(static_cast<float>(kAnswerBoxesX + i * cw),
                                  panelBottom - kAnswerBoxesUp);
        m_spriteCell->Render();
    }
    const char* typed = keyboard->GetString();
    m_clueFont->SetColour(0xFF000000, false);
    for (int i = 0; typed[i] != '\0'; ++i) {
        const char text[2] = {typed[i], 0};
        m_clueFont->GetStringBound(w, h, text);
        m_clueFont->Print(378 + i * cw + cw / 2 - w / 2,
                          static_cast<int>(ch * 0.5f - h / 2 + panelBottom - 32.0f), text, 0, 0.0f);
    }
    m_crossword->GetKeyboard()->SetFont(m_keyboardFont);
    m_crossword->GetKeyboard()->Render();
    if (std::strchr(typed, ' ') == nullptr) {
        m_answer->Render();
        PrintCentred(*m_font.Get(), *m_answer.Get(), Txt(TEXT_CONFIRM), kCaptionOnButton);
    }
}

} // namespace Kelvo_lib
