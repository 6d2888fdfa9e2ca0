// MNFitwordWidget: the widget a fitword is played through: an intro (CONTINUE, HELP), the
// play view (grid, word list by length, clock, counter, menu, hint and clear buttons, the Head
// to Head players) and the check sweep of a full grid, in which a right grid's hidden-word
// cells flicker. It owns the model and its art, reads the remote's pointer and A button itself
// every tick and draws in pixels. Created by class by the fitword screen; main thread only.
// Missing art is logged once and the widget then stays blank and idle.
#pragma once

#include <puzzles/fitword/mnfitword.h>
#include <puzzles/mnpuzzleclock.h>
#include <puzzles/mnpuzzleintrobuttons.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>
#include <ui/kuiwidget.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNFitwordWidget : public kRTTI<MNFitwordWidget, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    // The views.
    enum eState { STATE_INTRO = 0, STATE_PLAY = 2, STATE_SWEEP = 7 };
    // A cell's look during the sweep.
    enum eScanMark {
        SCAN_NONE = 0,
        SCAN_LIT = 1,    // the column being swept
        SCAN_WRONG = 2,  // a wrong letter
        SCAN_HIDDEN = 3, // a hidden-word cell of a right grid, and its other look
        SCAN_HIDDEN2 = 4,
    };
    // The layout of the other puzzle screens: the grid on a paper panel at the top left under
    // its counter, the word list on a card at the right, the clock above it, the buttons
    // along the bottom. The largest cell and the square the grid fits in, in pixels.
    static constexpr float K_MAX_CELL = 24.0f;
    static constexpr float K_GRID_AREA = 260.0f;
    // The word list's card top; the lines shown at a time, their top and their spacing.
    static constexpr float K_LIST_TOP = 56.0f;
    static constexpr int K_VISIBLE_LINES = 15;
    static constexpr int K_LINES_TOP = 94;
    static constexpr int K_LINE_STEP = 19;

    // One line of the word list: a word, or the heading of a length (word -1).
    struct ListLine {
        int word;
        int length;
    };

    MNFitwordWidget();
    ~MNFitwordWidget() override;

    void Tick(float delta) override;
    void Render() override;

    // Builds the list lines from the model's words; after the puzzle is set.
    void InitWordList();
    void InitIntro();
    void TickIntro(float delta);
    // Back to the play view, after the puzzle restarted.
    void PuzzleReset() { m_state = STATE_PLAY; }
    bool IsContinueScreenOpen() const { return m_state == STATE_INTRO; }
    MNFitword* GetFitword() { return m_fitword; }
    int GetWidgetState() const { return m_state; }
    // The top-left corner of a grid cell, and the middle of a shown list line, in pixels.
    void GetCellPosition(int cell, float& x, float& y) const;
    bool GetLinePosition(int line, float& x, float& y) const;
    const kArray<ListLine>& GetListLines() const { return m_listLines; }
    int GetListPos() const { return m_listPos; }
    unsigned char GetScanMark(int cell) const { return m_scanGrid(cell); }
    // The buttons' sprites, for whoever points at them.
    const kSprite* GetMenuButton() const { return m_menu.Get(); }
    const kSprite* GetHintButton() const { return m_hint.Get(); }
    const kSprite* GetClearButton() const { return m_clear.Get(); }
    const kSprite* GetContinueButton() const { return m_introContinueButtonSprite.Get(); }

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
    float CellSize() const;
    float GridOffsetX() const;
    float GridOffsetY() const;
    bool IsHeadToHeadPaused() const;
    bool CanHint() const;
    bool CanClear() const;
    void TickList(const Pointer& pointer);
    void TickGrid(const Pointer& pointer);
    void TickButtons(const Pointer& pointer);
    void StartSweep();
    void TickSweep(float delta);
    void ScanStep(float delta);
    void FlashStep(float delta);
    void ClosingStep(float delta);
    void SwapHiddenMarks();
    void ReplaceMarks(unsigned char from, unsigned char to);

    void RenderIntro();
    void RenderGrid();
    void RenderCell(int cell);
    void RenderClock();
    void RenderWordList();
    void RenderPointer();
    void RenderPlayers();

    kSharedPtr<kSprite> m_spriteCell;
    kSharedPtr<kFont> m_font;
    kSharedPtr<kFont> m_gridFont;
    kSharedPtr<kFont> m_buttonFont;
    kSharedPtr<kFont> m_listFont;
    kSharedPtr<kFont> m_titleFont;
    kSharedPtr<kSprite> m_upArrow;
    kSharedPtr<kSprite> m_downArrow;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_listBG;
    kSharedPtr<kSprite> m_wordHighlight;
    kSharedPtr<kSprite> m_menu;
    kSharedPtr<kSprite> m_hint;
    kSharedPtr<kSprite> m_clear;
    kSharedPtr<kSprite> m_mouseSprite;
    int m_listPos = 0;
    kArray<ListLine> m_listLines;
    MNFitword* m_fitword = nullptr;
    int m_state = STATE_INTRO;
    float m_fScanTime = 0.0f;
    float m_fScanLength = 1.0f;
    float m_fPostScanTime = 0.0f;
    float m_fPostScanLength = 2.0f;
    float m_fPostScanFlashTime = 0.0f;
    float m_fFlashTime = 0.0f;
    int m_scanCurrentCol = 0;
    kArray<unsigned char> m_scanGrid;
    kSharedPtr<kSprite> m_introContinueButtonSprite;
    kSharedPtr<kSprite> m_introHelpButtonSprite;
    MNPuzzleIntroButtons m_introButtons;
    MNPuzzleClock m_clock;
    kSprite* m_pressedButton = nullptr;
    bool m_bArtComplete = false;
};

} // namespace Kelvo_lib
