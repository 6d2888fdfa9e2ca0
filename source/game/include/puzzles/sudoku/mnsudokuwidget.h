// MNSudokuWidget: the widget a sudoku is played through: an intro (CONTINUE, HELP), the play
// view (grid, digit pad, clock, counter, menu and hint buttons) and the check sweep of a full
// grid. It owns the model and its art, reads the remote's pointer and A button itself every
// tick and draws in pixels. Created by class by the sudoku screen; main thread only. Missing
// art is logged once and the widget then stays blank and idle.
#pragma once

#include <puzzles/mnpuzzleclock.h>
#include <puzzles/mnpuzzleintrobuttons.h>
#include <puzzles/sudoku/mnsudoku.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>
#include <ui/kuiwidget.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNSudokuWidget : public kRTTI<MNSudokuWidget, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    // The views.
    enum eState { STATE_INTRO = 0, STATE_PLAY = 2, STATE_SWEEP = 7 };
    // A cell's look during the sweep.
    enum eScanMark {
        SCAN_NONE = 0,
        SCAN_LIT = 1,   // the column being swept
        SCAN_WRONG = 2, // a wrong digit
    };
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

    MNSudokuWidget();
    ~MNSudokuWidget() override;

    void Tick(float delta) override;
    void Render() override;

    void InitIntro();
    void TickIntro(float delta);
    // Back to the play view, after the puzzle restarted.
    void PuzzleReset() { m_state = STATE_PLAY; }
    bool IsContinueScreenOpen() const { return m_state == STATE_INTRO; }
    MNSudoku* GetSudoku() { return m_sudoku; }
    int GetWidgetState() const { return m_state; }
    // The top-left corner of a grid cell, and of the pad's key for a digit (0 clears), in
    // pixels.
    void GetCellPosition(int cell, float& x, float& y) const;
    void GetPadPosition(int digit, float& x, float& y) const;
    float GetCellSize() const;
    unsigned char GetScanMark(int cell) const { return m_scanGrid(cell); }
    // The centre of the menu and hint buttons, in pixels.
    void GetMenuButtonCentre(float& x, float& y) const;
    void GetHintButtonCentre(float& x, float& y) const;

    kSignal0<> MenuSignal;
    kSignal0<> HelpSignal;
    kSignal0<> HintSignal;

private:
    struct Pointer {
        int x;
        int y;
        int state; // -1 idle, 1 pressed, 2 held, 3 released
        bool Pressed(const kSprite& sprite) const;
        bool Released(const kSprite& sprite) const;
    };

    bool LoadArt();
    bool IsArtComplete() const;
    Pointer ReadPointer(float delta);
    bool HasHints() const;
    int PadKeyAt(int x, int y) const;
    int CellAt(int x, int y) const;
    void StartSweep();
    void TickGrid(const Pointer& pointer);
    void TickPad(const Pointer& pointer);
    void TickButtons(const Pointer& pointer);
    void TickSweep(float delta);
    void ScanStep(float delta);
    void ClosingStep(float delta);

    void RenderIntro();
    void RenderGrid();
    void RenderCell(int cell);
    void RenderBoxLines();
    void RenderPad();
    void RenderClock();
    void RenderButtons();
    void RenderPointer();
    void RenderPlayers();
    static void PrintCentred(kFont& font, float x, float y, float w, float h, const char* text);

    kSharedPtr<kSprite> m_spriteCell;
    kSharedPtr<kFont> m_font;
    kSharedPtr<kFont> m_buttonFont;
    kSharedPtr<kFont> m_digitFont;
    kSharedPtr<kFont> m_titleFont;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_padBG;
    kSharedPtr<kSprite> m_boxLine;
    kSharedPtr<kSprite> m_padKey;
    kSharedPtr<kSprite> m_hint;
    kSharedPtr<kSprite> m_mouseSprite;
    kSharedPtr<kSprite> m_menu;
    MNSudoku* m_sudoku = nullptr;
    int m_state = STATE_INTRO;
    float m_fScanTime = 0.0f;
    float m_fScanLength = 1.0f;
    float m_fPostScanTime = 0.0f;
    float m_fPostScanLength = 2.0f;
    int m_scanCurrentCol = 0;
    kArray<unsigned char> m_scanGrid;
    kSharedPtr<kSprite> m_introContinueButtonSprite;
    kSharedPtr<kSprite> m_introHelpButtonSprite;
    MNPuzzleIntroButtons m_introButtons;
    MNPuzzleClock m_clock;
    int m_padHot = -1;
    bool m_bHintPressed = false;
    bool m_bMenuPressed = false;
    bool m_bArtComplete = false;
};

} // namespace Kelvo_lib
