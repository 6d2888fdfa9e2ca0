// MNFitwordWidget: the widget a fitword is played through: an intro (CONTINUE, HELP), the
// play view (grid, word list by length, clock, counter, menu, hint and clear buttons, the Head
// to Head players) and the check sweep of a full grid, in which a right grid's hidden-word
// cells flicker. It owns the model and its art, reads the remote's pointer and A button itself
// every tick and draws in pixels. Created by class by the fitword screen; main thread only.
// Missing art is logged once and the widget then stays blank and idle.
#pragma once

#include <puzzles/fitword/mnfitword.h>
#include <puzzles/mnpuzzlewidget.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNFitwordWidget : public kRTTI<MNFitwordWidget, MNPuzzleWidget, kCLSID<0, 0, 0, 0>> {
public:
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

    // Builds the list lines from the model's words; after the puzzle is set.
    void InitWordList();
    MNFitword* GetFitword() { return m_fitword; }
    // The top-left corner of a grid cell, and the middle of a shown list line, in pixels.
    void GetCellPosition(int cell, float& x, float& y) const;
    bool GetLinePosition(int line, float& x, float& y) const;
    const kArray<ListLine>& GetListLines() const { return m_listLines; }
    int GetListPos() const { return m_listPos; }
    // The clear button's sprite, for whoever points at it.
    const kSprite* GetClearButton() const { return m_buttons.GetSprite(BUTTON_THIRD); }

    kSignal0<> HintSignal;

private:
    bool LoadArt() override;
    const MNPuzzleRules& Rules() const override { return m_fitword->GetRules(); }
    void TickPlay(float delta) override;
    void RenderPlay() override;
    void SweepEnded() override { JudgeSweptGrid(*m_fitword); }
    bool IsCellRight(int cell) const override { return m_fitword->IsCellRight(cell); }
    bool IsHiddenWordCell(int cell) const override { return m_fitword->IsSpelloutCell(cell); }

    float CellSize() const;
    float GridOffsetX() const;
    float GridOffsetY() const;
    eLook HintLook() const { return OfferedHintLook(m_fitword->GetHintsLeft()); }
    // Greyed unless a word the player placed is selected.
    eLook ClearLook() const;
    void TickList(const MNInputEdge& input);
    void TickGrid(const MNInputEdge& input);
    void TickButtons(const MNInputEdge& input);

    void RenderGrid();
    void RenderCell(int cell);
    void RenderClockAndCounter();
    void RenderWordList();
    void RenderPlayers();

    kSharedPtr<kSprite> m_spriteCell;
    kSharedPtr<kFont> m_gridFont;
    kSharedPtr<kFont> m_listFont;
    kSharedPtr<kSprite> m_upArrow;
    kSharedPtr<kSprite> m_downArrow;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_listBG;
    kSharedPtr<kSprite> m_wordHighlight;
    int m_listPos = 0;
    kArray<ListLine> m_listLines;
    MNFitword* m_fitword = nullptr;
};

} // namespace Kelvo_lib
