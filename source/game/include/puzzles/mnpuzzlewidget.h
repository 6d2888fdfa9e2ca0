// MNPuzzleWidget: what the sudoku, fitword, crossword and wordsearch widgets share: the frame
// (nothing while art is missing or a Head to Head Marathon waits on a clock run out, the
// in-game music, the intro panel, the check sweep, then the kind's play view), the intro
// panel with its CONTINUE and HELP buttons, the sweep, the row of buttons along the bottom
// (MENU emits MenuSignal here; the kind answers its HINT and third button), the pointer, the
// clock and counter and the Head to Head player lines. A kind derives from it, owns its model,
// gives its class record kUIWidget's as base and its A-button reading one per source file, as
// one widget of a kind plays at a time. Main thread only; signals are emitted from inside Tick.
#pragma once

#include <puzzles/mnpuzzlebottombuttons.h>
#include <puzzles/mnpuzzleclock.h>
#include <puzzles/mnpuzzleintrobuttons.h>
#include <puzzles/mnpuzzleprogress.h>
#include <puzzles/mnpuzzlerules.h>
#include <puzzles/mnpuzzlesweep.h>
#include <services/mninputedge.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>
#include <ui/kuiwidget.h>

#include <kelvo/containers/ksharedptr.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNPuzzleWidget : public kUIWidget, protected MNPuzzleSweep::Grid {
public:
    // The views; the answer view is the crossword's.
    enum eState { STATE_INTRO = 0, STATE_PLAY = 2, STATE_ANSWER = 4, STATE_SWEEP = 7 };
    using enum MNPuzzleSweep::eScanMark;
    using eButton = MNPuzzleBottomButtons::eButton;
    using eLook = MNPuzzleBottomButtons::eLook;
    using enum MNPuzzleBottomButtons::eButton;
    using enum MNPuzzleBottomButtons::eLook;

    // What the game hands a kind's model: its random generator and debug key.
    static MNPuzzleSources GameSources();

    void Tick(float delta) override;
    void Render() override;

    // Back to the play view, after the puzzle restarted.
    void PuzzleReset() { m_state = STATE_PLAY; }
    bool IsContinueScreenOpen() const { return m_state == STATE_INTRO; }
    // Whether the disc gave the shared art and the kind's; without it the widget stays blank.
    bool HasAllArt() const { return m_bArtComplete; }
    int GetWidgetState() const { return m_state; }
    unsigned char GetScanMark(int cell) const { return m_sweep.GetMark(cell); }
    const kSprite* GetContinueButton() const { return m_introContinueButton.Get(); }
    const kSprite* GetMenuButton() const { return m_buttons.GetSprite(BUTTON_MENU); }
    const kSprite* GetHintButton() const { return m_buttons.GetSprite(BUTTON_HINT); }
    // The centre of the menu and hint buttons, in pixels.
    void GetMenuButtonCentre(float& x, float& y) const;
    void GetHintButtonCentre(float& x, float& y) const;

    kSignal0<> MenuSignal;
    kSignal0<> HelpSignal;

protected:
    // What tells the kinds apart here.
    struct Kind {
        const char* logName;       // "MNSudokuWidget"
        const char* puzzleName;    // "sudoku"
        int introTitle;            // the intro's title text
        MNPuzzleSweep::ePace pace; // the sweep's
        bool bFlickerHidden;       // the sweep's
        MNInputEdge& input;        // the kind's one reading of the remote
        MNPuzzleBottomButtons::Style buttons;
    };

    explicit MNPuzzleWidget(const Kind& kind);

    // Loads the shared art and the kind's; the widget stays blank and idle when any is missing.
    // Called by the kind's constructor once its model exists.
    void LoadAllArt();
    // The kind's art, placed; false when any is missing.
    virtual bool LoadArt() = 0;
    // The rules the mode gave the puzzle.
    virtual const MNPuzzleRules& Rules() const = 0;
    // A frame of the play view (and the crossword's answer view).
    virtual void TickPlay(float delta) = 0;
    virtual void RenderPlay() = 0;
    // The sweep's closing pause is over.
    virtual void SweepEnded() = 0;
    bool IsCellRight(int) const override { return true; }
    bool IsHiddenWordCell(int) const override { return false; }

    // Reads the remote for this frame of play.
    const MNInputEdge& ReadInput();
    void StartSweep(int cols, int rows);
    // The check's verdict at the sweep's end, the model's: it ends a right grid; a wrong one
    // loses its wrong entries and play goes on.
    template <class Model>
    void JudgeSweptGrid(Model& model) {
        if (!model.JudgeSweep()) {
            m_state = STATE_PLAY;
            model.RemoveErrors();
        }
    }
    // The hint button of a kind whose rules may offer hints: hidden where they offer none,
    // greyed once no hint of any kind is left, else live.
    eLook OfferedHintLook(const int* hintsLeft) const;
    // Reads the bottom buttons at this point of the kind's frame: the button that acted, the
    // menu's "back" sound and MenuSignal already given.
    eButton TickBottomButtons(const MNInputEdge& input, eLook hint, eLook third = LOOK_HIDDEN);
    void RenderBottomButtons(eLook hint, eLook third = LOOK_HIDDEN) {
        m_buttons.Render(hint, third);
    }

    void RenderPointer();
    // The clock at (x, y) in the colour given: the puzzle's time, or the mode's run clock where
    // it runs down.
    void RenderClock(int x, int y, unsigned int colour, float playTime);
    // "label: count/total" at (x, y) in the colour given; a label's own colon is not doubled.
    void RenderCounter(int x, int y, unsigned int colour, const char* label, int count, int total);

    kSharedPtr<kFont> m_font;
    kSharedPtr<kFont> m_titleFont;
    int m_state = STATE_INTRO;
    MNInputEdge& m_input;
    MNPuzzleBottomButtons m_buttons;

private:
    void TickIntro();
    void RenderIntro();

    const char* m_logName;
    const char* m_puzzleName;
    int m_introTitle;
    kSharedPtr<kSprite> m_pointer;
    kSharedPtr<kSprite> m_introContinueButton;
    kSharedPtr<kSprite> m_introHelpButton;
    MNPuzzleIntroButtons m_introButtons;
    MNPuzzleClock m_clock;
    MNPuzzleSweep m_sweep;
    bool m_bArtComplete = false;
};

} // namespace Kelvo_lib
