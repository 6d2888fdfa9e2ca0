// MNSudokuWidget: the widget a sudoku is played through: an intro (CONTINUE, HELP), the play
// view (grid, digit pad, clock, counter, menu and hint buttons) and the check sweep of a full
// grid. It owns the model and its art, reads the remote's pointer and A button itself every
// tick and draws in pixels. Created by class by the sudoku screen; main thread only. Missing
// art is logged once and the widget then stays blank and idle.
#pragma once

#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/sudoku/mnsudoku.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/containers/ksharedptr.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNSudokuWidget : public kRTTI<MNSudokuWidget, MNPuzzleWidget, kCLSID<0, 0, 0, 0>> {
public:
    // The layout of the other puzzle screens: the grid on a paper panel at the top left, the
    // digit pad on a card at the right, the clock above it, the buttons along the bottom.
    // The grid's top-left corner and its size in pixels, whatever its number of cells.
    static constexpr float K_GRID_X = 40.0f;
    static constexpr float K_GRID_Y = 48.0f;
    static constexpr float K_GRID_SIZE = 270.0f;
    // The digit pad's top-left corner, its keys' size and spacing in pixels.
    static constexpr float K_PAD_X = 438.0f;
    static constexpr float K_PAD_Y = 102.0f;
    static constexpr float K_PAD_STEP = 64.0f;
    static constexpr float K_PAD_KEY = 56.0f;

    MNSudokuWidget();
    ~MNSudokuWidget() override;

    MNSudoku* GetSudoku() { return m_sudoku; }
    // The top-left corner of a grid cell, and of the pad's key for a digit (0 clears), in
    // pixels.
    void GetCellPosition(int cell, float& x, float& y) const;
    void GetPadPosition(int digit, float& x, float& y) const;
    float GetCellSize() const;

    kSignal0<> HintSignal;

private:
    bool LoadArt() override;
    const MNPuzzleRules& Rules() const override { return m_sudoku->GetRules(); }
    void TickPlay(float delta) override;
    void RenderPlay() override;
    void SweepEnded() override { JudgeSweptGrid(*m_sudoku); }
    bool IsCellRight(int cell) const override { return !m_sudoku->IsWrong(cell); }

    eLook HintLook() const { return OfferedHintLook(m_sudoku->GetHintsLeft()); }
    int PadKeyAt(int x, int y) const;
    int CellAt(int x, int y) const;
    void TickGrid(const MNInputEdge& input);
    void TickPad(const MNInputEdge& input);
    void TickButtons(const MNInputEdge& input);

    void RenderGrid();
    void RenderCell(int cell);
    void RenderBoxLines();
    void RenderPad();
    void RenderClockAndCounter();
    void RenderPlayers();
    static void PrintCentred(kFont& font, float x, float y, float w, float h, const char* text);

    MNSudoku* m_sudoku = nullptr;
    kSharedPtr<kSprite> m_spriteCell;
    kSharedPtr<kFont> m_digitFont;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_padBG;
    kSharedPtr<kSprite> m_boxLine;
    kSharedPtr<kSprite> m_padKey;
    int m_padHot = -1;
};

} // namespace Kelvo_lib
