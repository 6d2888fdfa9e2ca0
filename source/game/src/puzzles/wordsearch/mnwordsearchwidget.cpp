// The wordsearch widget: its art, the intro panel, strokes from the pointer, the buttons,
// the sweep and the drawing of the grid, the capsules and the word list.
#include <puzzles/mnheadtoheadstatus.h>
#include <puzzles/mnpuzzlewidgetkit.h>
#include <puzzles/wordsearch/mnwordsearchwidget.h>

#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>
#include <services/splittext.h>
#include <tui/mnsegment.h>

#include <framework/kspritemanager.h>

#include <kelvo/containers/kstring.h>

#include <cmath>
#include <cstdio>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNWordsearchWidget::StaticClass()};

constexpr unsigned int kBlack = 0xFF000000;
constexpr unsigned int kWhite = 0xFFFFFFFF;
constexpr unsigned int kGrey = 0xFF808080;
constexpr unsigned int kYellow = 0xFFFFFF00;
constexpr unsigned int kGreen = 0xFF00FF00;
constexpr unsigned int kTitleInk = 0xFF3C4696;
constexpr unsigned int kFoundCapsule = 0x8C404040;
constexpr unsigned int kHintCapsule = 0xA0FF0000;
constexpr unsigned int kStrokeCapsule = 0xFF00FF00;

// Pixels at a cell's edge in which a held pointer does not move the stroke.
constexpr int kDeadZone = 2;

// Cell size in pixels, from the cell sprite.
int CELL_WIDTH = 1;
int CELL_HEIGHT = 1;
// The remote as the grid reads it, one for the whole widget family, as only one wordsearch
// plays.
MNInputEdge s_input;

// The menu and hint buttons, on the picture's bottom edge; a press over either and a
// release over the other counts.
constexpr MNPuzzleBottomButtons::Style kButtons{MNPuzzleBottomButtons::PLACE_ON_BOTTOM_EDGE,
                                                MNPuzzleBottomButtons::PRESS_SHARED, -1};

kSharedPtr<kFont> GridFont() {
    return MNResourceManager::GetFont("wii_grid_font", "wii_grid_font");
}

// The angle of a capsule's line, in degrees, with the exact values for the four lines a
// stroke can take.
float CapsuleAngle(const MNSegment& line) {
    const float dx = line.Dx();
    const float dy = line.Dy();
    if (dx == 0.0f && dy > 0.0f) {
        return 90.0f;
    }
    if (dx > 0.0f && dy == 0.0f) {
        return 0.0f;
    }
    if (dx > 0.0f && dy > 0.0f) {
        return 45.0f;
    }
    if (dx < 0.0f && dy > 0.0f) {
        return 135.0f;
    }
    return line.Degrees();
}

void SetOffsets(float x, float y, float x2, float y2) {
    kSpriteManager::s_hackOffsetx = x;
    kSpriteManager::s_hackOffsety = y;
    kSpriteManager::s_hackOffsetx2 = x2;
    kSpriteManager::s_hackOffsety2 = y2;
}

} // namespace

MNWordsearchWidget::MNWordsearchWidget()
    : kRTTI(Kind{"MNWordsearchWidget", "wordsearch", TEXT_WORDSEARCH_TITLE,
                 MNPuzzleSweep::PACE_FRAME_BY_FRAME, false, s_input, kButtons}),
      m_wordsearch(new MNWordsearch(GameSources())) {
    LoadAllArt();
}

MNWordsearchWidget::~MNWordsearchWidget() {
    delete m_wordsearch;
}

bool MNWordsearchWidget::LoadArt() {
    m_clueFont = GridFont();
    m_clueFont->SetPixelSpacingReduction(1, 0);
    m_gridFont = GridFont();
    m_cell = PixelSprite("puzzles", "ws_cell");
    m_gridEdge = PixelSprite("puzzles", "ws_grid_edge");
    m_gridBG = PixelSprite("puzzles", "WS_BG_Grid_BG");
    m_clueBG = PixelSprite("puzzles", "WS_BG_Clue_BG");
    m_capStart = PixelSprite("puzzles", "ws_cap_start");
    m_capEnd = PixelSprite("puzzles", "ws_cap_end");
    m_capMiddle = PixelSprite("puzzles", "ws_cap_middle");
    if (!AllLoaded({m_cell.Get(), m_gridEdge.Get(), m_gridBG.Get(), m_clueBG.Get(),
                    m_capStart.Get(), m_capEnd.Get(), m_capMiddle.Get()})) {
        return false;
    }
    CELL_WIDTH = static_cast<int>(m_cell->GetWidth());
    CELL_HEIGHT = static_cast<int>(m_cell->GetHeight());
    const float w = static_cast<float>(DisplayWidth());
    m_gridBG->SetPosition(35.0f, 0.0f);
    m_clueBG->SetPosition(w - m_clueBG->GetWidth(), 45.0f);
    return true;
}

int MNWordsearchWidget::GetCellWidth() const {
    return CELL_WIDTH;
}

int MNWordsearchWidget::GetCellHeight() const {
    return CELL_HEIGHT;
}

float MNWordsearchWidget::GetCellX(int col) const {
    const float gridWidth = static_cast<float>(m_wordsearch->GetNumCols() * CELL_WIDTH);
    return 35.0f + (m_gridBG->GetWidth() - gridWidth) * 0.5f + static_cast<float>(col * CELL_WIDTH);
}

float MNWordsearchWidget::GetCellY(int row) const {
    const float gridHeight = static_cast<float>(m_wordsearch->GetNumRows() * CELL_HEIGHT);
    return 5.0f + (m_gridBG->GetHeight() - gridHeight) * 0.5f +
           static_cast<float>(row * CELL_HEIGHT);
}

MNWordsearchWidget::eLook MNWordsearchWidget::HintLook() const {
    const int* left = m_wordsearch->GetHintsLeft();
    return left[0] > 0 || left[1] > 0 || left[2] > 0 ? LOOK_LIVE : LOOK_HIDDEN;
}

void MNWordsearchWidget::TickPlay(float delta) {
    m_wordsearch->EndIfSolved();
    m_wordsearch->Tick(delta);
    const MNInputEdge& input = ReadInput();
    if (input.GetState() != MNInputEdge::IDLE) { // held, or let go this frame
        TickGrid(input.GetX(), input.GetY(), input.GetState());
    }
    TickButtons(input);
    if (m_wordsearch->CheckWin()) {
        StartSweep(m_wordsearch->GetNumCols(), m_wordsearch->GetNumRows());
    }
}

void MNWordsearchWidget::TickGrid(int mx, int my, MNInputEdge::eButtonState state) {
    const float left = GetCellX(0);
    const float top = GetCellY(0);
    const int col = static_cast<int>((static_cast<float>(mx) - left) / CELL_WIDTH);
    const int row = static_cast<int>((static_cast<float>(my) - top) / CELL_HEIGHT);
    const bool bInside = mx >= left && mx < left + m_wordsearch->GetNumCols() * CELL_WIDTH &&
                         my >= top && my < top + m_wordsearch->GetNumRows() * CELL_HEIGHT;
    if (!bInside) {
        m_wordsearch->GridClick(false, col, row, state);
        return;
    }
    if (state == MNInputEdge::HELD) {
        const float cellX = GetCellX(col);
        const float cellY = GetCellY(row);
        const bool bClearOfEdges = mx >= cellX + kDeadZone &&
                                   mx <= cellX + CELL_WIDTH - kDeadZone &&
                                   my >= cellY + kDeadZone && my <= cellY + CELL_HEIGHT - kDeadZone;
        if (bClearOfEdges) {
            m_wordsearch->GridClick(true, col, row, MNInputEdge::HELD);
        }
        return;
    }
    m_wordsearch->GridClick(true, col, row, state);
}

void MNWordsearchWidget::TickButtons(const MNInputEdge& input) {
    if (TickBottomButtons(input, HintLook()) == BUTTON_HINT) {
        MNSound::PlaySoundEffect(SFX_BACK);
        HintSignal();
    }
}

void MNWordsearchWidget::RenderPlay() {
    m_gridBG->Render();
    RenderGrid();
    RenderBottomButtons(HintLook());
    // The card first, so that the title printed on it shows.
    m_clueBG->Render();
    m_font->SetFixedCharWidth(0);
    m_font->SetScale(1.0f);
    m_font->SetColour(kTitleInk, false);
    m_font->Print(static_cast<int>(m_clueBG->GetX()) + 10, static_cast<int>(m_clueBG->GetY()) + 10,
                  WrappedTitle().CStr(), 0, 0.0f);
    RenderWordList();
    if (Rules().bTakeTurns) {
        RenderPlayers();
    } else {
        RenderClockAndCounter();
    }
    RenderPointer();
}

kString MNWordsearchWidget::WrappedTitle() const {
    return SplitText(m_font.Get(), kString(m_wordsearch->GetTitle()), 0.35f);
}

void MNWordsearchWidget::RenderWordList() {
    int titleW = 0;
    int titleH = 0;
    m_font->GetStringBound(
        titleW, titleH, SplitText(m_font.Get(), kString(m_wordsearch->GetTitle()), 0.35f).CStr());
    const int columnWidth = static_cast<int>(m_clueBG->GetWidth() * 0.5f - 30.0f);
    const int leftX = static_cast<int>(m_clueBG->GetX() + 10.0f);
    const int rightX = static_cast<int>(m_clueBG->GetX() + 10.0f + columnWidth + 10.0f);
    int y = static_cast<int>(m_clueBG->GetY() + 10.0f + titleH);
    bool bLeft = true;
    int lineStep = 0;
    const auto print = [&](int w, int x, bool bNarrow) {
        kString word(m_wordsearch->GetWord(w));
        word.ToUpper();
        int width = 0;
        int height = 0;
        m_clueFont->GetStringBound(width, height, word.CStr());
        if ((width < columnWidth) != bNarrow) {
            return false;
        }
        m_clueFont->SetColour(m_wordsearch->IsWordFound(w) ? kGrey : kBlack, false);
        m_clueFont->Print(x, y, word.CStr(), 0, 0.0f);
        lineStep = height - 3;
        return true;
    };
    for (int w = 0; w < m_wordsearch->GetNumWords(); ++w) {
        if (!print(w, bLeft ? leftX : rightX, true)) {
            continue;
        }
        if (!bLeft) {
            y += lineStep;
        }
        bLeft = !bLeft;
    }
    if (!bLeft) {
        y += lineStep;
    }
    for (int w = 0; w < m_wordsearch->GetNumWords(); ++w) {
        if (print(w, leftX, false)) {
            y += lineStep;
        }
    }
}

// The two players' lives (Sprint) or time left (Marathon), each line ending 40 pixels from
// the right; the player to move in yellow.
void MNWordsearchWidget::RenderPlayers() {
    MNHeadToHeadStatus players;
    if (!players.Read()) {
        return;
    }
    int y = 2;
    for (int i = 0; i < 2; ++i) {
        int w = 0;
        int h = 0;
        m_font->GetStringBound(w, h, players.GetLine(i));
        players.Print(*m_font.Get(), i, DisplayWidth() - w - 40, y, kYellow);
        y = h + 2;
    }
}

void MNWordsearchWidget::RenderClockAndCounter() {
    RenderClock(ClockX(), 16, kBlack, m_wordsearch->GetTime());
    RenderCounter(60, 5, kBlack, Txt(TEXT_WORDS_FOUND), m_wordsearch->GetNumWordsFound(),
                  m_wordsearch->GetNumWords());
}

// Each cell draws the line at its left and top; one line more closes the last column and
// the last row, one pixel past them, where the next cell's line would be.
void MNWordsearchWidget::RenderGridEdges() {
    const float left = std::trunc(GetCellX(0));
    const float top = std::trunc(GetCellY(0));
    const float width = static_cast<float>(m_wordsearch->GetNumCols() * CELL_WIDTH);
    const float height = static_cast<float>(m_wordsearch->GetNumRows() * CELL_HEIGHT);
    const struct {
        float x, y, w, h;
    } edges[] = {{left + width, top, 1.0f, height + 1.0f}, {left, top + height, width, 1.0f}};
    for (const auto& edge : edges) {
        m_gridEdge->SetPosition(edge.x, edge.y);
        m_gridEdge->SetWidth(edge.w);
        m_gridEdge->SetHeight(edge.h);
        m_gridEdge->Render();
    }
}

void MNWordsearchWidget::RenderGrid() {
    m_gridFont->SetColour(kBlack, false);
    const int cols = m_wordsearch->GetNumCols();
    const int cells = cols * m_wordsearch->GetNumRows();
    for (int cell = 0; cell < cells; ++cell) {
        m_cell->SetColour(IsSweeping() && IsCellLit(cell) ? kGreen : kWhite);
        m_cell->SetPosition(std::trunc(GetCellX(cell % cols)), std::trunc(GetCellY(cell / cols)));
        m_cell->Render();
    }
    RenderGridEdges();
    for (int cell = 0; cell < cells; ++cell) {
        const char letter[2] = {m_wordsearch->GetLetter(cell), 0};
        int w = 0;
        int h = 0;
        m_gridFont->GetStringBound(w, h, letter);
        const int x = static_cast<int>(GetCellX(cell % cols)) + (CELL_WIDTH - w) / 2;
        const int y = static_cast<int>(GetCellY(cell / cols)) + (CELL_HEIGHT - h) / 2;
        m_gridFont->Print(x, y, letter, 0, 0.0f);
    }
    for (int w = 0; w < m_wordsearch->GetNumWords(); ++w) {
        if (m_wordsearch->IsWordFound(w)) {
            RenderCellCapsule(m_wordsearch->GetWordTrail(m_wordsearch->GetWordStartIndex(w)),
                              m_wordsearch->GetWordTrail(m_wordsearch->GetWordEndIndex(w)),
                              kFoundCapsule);
        }
    }
    for (int i = 0; i < 2; ++i) {
        const int cell = m_wordsearch->GetHintPositions(i);
        if (cell >= 0) {
            RenderCellCapsule(cell, cell, kHintCapsule);
        }
    }
    const int start = m_wordsearch->GetStartSelection();
    const int current = m_wordsearch->GetCurrentSelection();
    if (start != -1 && current != -1) {
        RenderCellCapsule(start, current, kStrokeCapsule);
    }
}

void MNWordsearchWidget::RenderCellCapsule(int fromCell, int toCell, unsigned int colour) {
    const int cols = m_wordsearch->GetNumCols();
    const float half = CELL_WIDTH * 0.5f;
    RenderCapsule(GetCellX(fromCell % cols) + half, GetCellY(fromCell / cols),
                  GetCellX(toCell % cols) + half, GetCellY(toCell / cols), colour);
}

void MNWordsearchWidget::RenderCapsule(float x0, float y0, float x1, float y1,
                                       unsigned int colour) {
    const MNSegment line(x0, y0, x1, y1);
    const float angle = CapsuleAngle(line);
    const float length = line.Length();
    kSprite* pieces[] = {m_capStart.Get(), m_capMiddle.Get(), m_capEnd.Get()};
    for (kSprite* piece : pieces) {
        piece->SetPosition(line.x0, line.y0);
        piece->SetRotation(angle);
        piece->SetColour(colour);
        piece->SetAlpha(static_cast<int>(colour >> 24));
    }
    m_capMiddle->SetWidth(length);
    const float centre = -m_capStart->GetHeight() * 0.5f;
    SetOffsets(0.0f, centre, 1.0f - m_capStart->GetWidth(), 0.0f);
    m_capStart->Render();
    SetOffsets(0.0f, centre, 0.0f, 0.0f);
    m_capMiddle->Render();
    SetOffsets(0.0f, centre, length, 0.0f);
    m_capEnd->Render();
    SetOffsets(0.0f, 0.0f, 0.0f, 0.0f);
}

} // namespace Kelvo_lib
