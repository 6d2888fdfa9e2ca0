// MNCrosswordWidget: the widget a crossword is played through: an intro (CONTINUE, HELP), the
// play view (grid and clue lists), the answer view (clue, answer boxes, the model's keyboard)
// and the check sweep of a full grid. It owns the model and its art, reads the remote's
// pointer and A button itself every tick and draws in pixels. Created by class by the
// crossword screen; main thread only. Missing art is logged once and the widget then stays
// blank and idle.
#pragma once

#include <puzzles/crossword/mncrossword.h>
#include <puzzles/mnpuzzlewidget.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNCrosswordWidget : public kRTTI<MNCrosswordWidget, MNPuzzleWidget, kCLSID<0, 0, 0, 0>> {
public:
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

    // Builds the clue lines from the model's words; after the puzzle is set.
    void InitWordList();
    MNCrossword* GetCrossword() { return m_crossword; }
    // The top-left corner of a grid cell in pixels.
    void GetCellPosition(int cell, float& x, float& y) const;
    // The lines of the down (true) or across list.
    const kArray<RenderedWords>& GetClueLines(bool bDown) const {
        return bDown ? m_renderedWordListDown : m_renderedWordListAcross;
    }
    int GetClueListPos() const { return m_clueListPos; }
    // The play view's button that opens the answer view.
    const kSprite* GetResolveButton() const { return m_resolve.Get(); }

private:
    bool LoadArt() override;
    const MNPuzzleRules& Rules() const override { return m_crossword->GetRules(); }
    void TickPlay(float delta) override;
    void RenderPlay() override;
    void SweepEnded() override { JudgeSweptGrid(*m_crossword); }
    bool IsCellRight(int cell) const override { return m_crossword->IsCellRight(cell); }
    bool IsHiddenWordCell(int cell) const override { return m_crossword->IsSpelloutCell(cell); }

    float GridOffsetX() const;
    float GridOffsetY() const;
    const kArray<RenderedWords>& ShownList() const {
        return GetClueLines(m_crossword->GetDirectionView());
    }
    void AddClueLines(int word);
    void PrepareKeyboard();
    void TickPlayView(const MNInputEdge& input);
    void TickGrid(const MNInputEdge& input);
    void TickAnswerView(const MNInputEdge& input);
    void TickButtons(const MNInputEdge& input);
    // The hint button stands in the answer view where the rules offer hints, live while the
    // letter after the cursor is open.
    eLook HintLook() const;

    void RenderGrid();
    void RenderCell(int cell);
    void RenderClockAndCounter();
    void RenderClueList();
    void RenderInputScreen();
    void RenderPlayers();

    kSharedPtr<kSprite> m_spriteCell;
    kSharedPtr<kFont> m_gridFont;
    kSharedPtr<kFont> m_clueFont;
    kSharedPtr<kFont> m_keyboardFont;
    kSharedPtr<kSprite> m_upArrow;
    kSharedPtr<kSprite> m_downArrow;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_resolve;
    kSharedPtr<kSprite> m_swapback;
    kSharedPtr<kSprite> m_answer;
    kSharedPtr<kSprite> m_across;
    kSharedPtr<kSprite> m_down;
    kSharedPtr<kSprite> m_clueHighlight;
    kSharedPtr<kFont> m_gridNumberFont;
    int m_clueListPos = 0;
    kSharedPtr<kSprite> m_inputBg;
    MNCrossword* m_crossword = nullptr;
    int m_lastState = -1;
    kArray<RenderedWords> m_renderedWordListAcross;
    kArray<RenderedWords> m_renderedWordListDown;
    bool m_bSwapBackDown = false;
    bool m_answerClick = false;
};

// A clue line holds a kString and an int, which move as bytes.
template <>
struct kIsBitwiseMovable<MNCrosswordWidget::RenderedWords> : std::true_type {};

} // namespace Kelvo_lib
