// MNCrosswordWidget: the widget a crossword is played through: an intro (CONTINUE, HELP), the
// play view (grid and clue lists), the answer view (clue, answer boxes, the model's keyboard)
// and the check sweep of a full grid. It owns the model and its art, reads the remote's
// pointer and A button itself every tick and draws in pixels. Created by class by the
// crossword screen; main thread only. Missing art is logged once and the widget then stays
// blank and idle.
#pragma once

#include <puzzles/crossword/mncrossword.h>
#include <puzzles/mnpuzzleclock.h>
#include <puzzles/mnpuzzleintrobuttons.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>
#include <ui/kuiwidget.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNCrosswordWidget : public kRTTI<MNCrosswordWidget, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    // The views.
    enum eState { STATE_INTRO = 0, STATE_PLAY = 2, STATE_ANSWER = 4, STATE_SWEEP = 7 };
    // A cell's look during the sweep.
    enum eScanMark {
        SCAN_NONE = 0,
        SCAN_LIT = 1,    // the column being swept
        SCAN_WRONG = 2,  // a wrong letter
        SCAN_HIDDEN = 3, // a hidden-word cell of a right grid, and its other look
        SCAN_HIDDEN2 = 4,
    };
    // Clue lines shown at a time, their top and their spacing in pixels.
    static constexpr int K_VISIBLE_LINES = 20;
    static constexpr int K_LINES_TOP = 110;
    static constexpr int K_LINE_STEP = 15;

    // One display line of a clue list.
    struct RenderedWords {
        kString line;
        int wordIndex;
    };

    MNCrosswordWidget();
    ~MNCrosswordWidget() override;

    void Tick(float delta) override;
    void Render() override;

    // Builds the clue lines from the model's words; after the puzzle is set.
    void InitWordList();
    void InitIntro();
    void TickIntro(float delta);
    // Back to the play view, after the puzzle restarted.
    void PuzzleReset() { m_state = STATE_PLAY; }
    bool IsContinueScreenOpen() const { return m_state == STATE_INTRO; }
    MNCrossword* GetCrossword() { return m_crossword; }
    int GetWidgetState() const { return m_state; }
    // The top-left corner of a grid cell in pixels.
    void GetCellPosition(int cell, float& x, float& y) const;
    unsigned char GetScanMark(int cell) const { return m_scanGrid(cell); }
    // The lines of the down (true) or across list.
    const kArray<RenderedWords>& GetClueLines(bool bDown) const {
        return bDown ? m_renderedWordListDown : m_renderedWordListAcross;
    }
    int GetClueListPos() const { return m_clueListPos; }

    kSignal0<> MenuSignal;
    kSignal0<> HelpSignal;

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
    float GridOffsetX() const;
    float GridOffsetY() const;
    const kArray<RenderedWords>& ShownList() const {
        return GetClueLines(m_crossword->GetDirectionView());
    }
    void AddClueLines(int word);
    void PrepareKeyboard();
    void StartSweep();
    void TickPlayView(const Pointer& pointer);
    void TickGrid(const Pointer& pointer);
    void TickAnswerView(const Pointer& pointer);
    void TickButtons(const Pointer& pointer);
    bool CanHint() const;
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
    void RenderClueList();
    void RenderInputScreen();
    void RenderHint();
    void RenderPointer();
    void RenderPlayers();

    kSharedPtr<kSprite> m_spriteCell;
    kSharedPtr<kFont> m_font;
    kSharedPtr<kFont> m_gridFont;
    kSharedPtr<kFont> m_buttonFont;
    kSharedPtr<kFont> m_clueFont;
    kSharedPtr<kFont> m_keyboardFont;
    kSharedPtr<kFont> m_titleFont;
    kSharedPtr<kSprite> m_upArrow;
    kSharedPtr<kSprite> m_downArrow;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_resolve;
    kSharedPtr<kSprite> m_swapback;
    kSharedPtr<kSprite> m_answer;
    kSharedPtr<kSprite> m_hint;
    kSharedPtr<kSprite> m_across;
    kSharedPtr<kSprite> m_down;
    kSharedPtr<kSprite> m_clueHighlight;
    kSharedPtr<kSprite> m_mouseSprite;
    kSharedPtr<kFont> m_gridNumberFont;
    int m_clueListPos = 0;
    kSharedPtr<kSprite> m_inputBg;
    kSharedPtr<kSprite> m_menu;
    MNCrossword* m_crossword = nullptr;
    int m_state = STATE_INTRO;
    int m_lastState = -1;
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
    kArray<RenderedWords> m_renderedWordListAcross;
    kArray<RenderedWords> m_renderedWordListDown;
    bool m_bSwapBackDown = false;
    bool m_answerClick = false;
    bool m_bHintPressed = false;
    bool m_bMenuPressed = false;
    bool m_bArtComplete = false;
};

// A clue line holds a kString and an int, which move as bytes.
template <>
struct kIsBitwiseMovable<MNCrosswordWidget::RenderedWords> : std::true_type {};

} // namespace Kelvo_lib
