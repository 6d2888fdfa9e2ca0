// MNWordsearchWidget: the widget a wordsearch is played through: an intro panel (CONTINUE,
// HELP), then the grid stroked with the pointer and A button, the capsules over found,
// hinted and stroked words, the word list, the clock, the menu and hint buttons, and the
// column sweep of a completed grid. It owns the model and its art; created by class by the
// wordsearch screen. Main thread only. Missing art is logged once and the widget then stays
// blank and idle.
#pragma once

#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/wordsearch/mnwordsearch.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNWordsearchWidget : public kRTTI<MNWordsearchWidget, MNPuzzleWidget, kCLSID<0, 0, 0, 0>> {
public:
    MNWordsearchWidget();
    ~MNWordsearchWidget() override;

    MNWordsearch* GetWordsearch() { return m_wordsearch; }
    bool IsSweeping() const { return m_state == STATE_SWEEP; }
    // Whether the sweep lights the cell now.
    bool IsCellLit(int cell) const { return GetScanMark(cell) != SCAN_NONE; }
    // The top-left corner of a grid cell in pixels.
    float GetCellX(int col) const;
    float GetCellY(int row) const;
    int GetCellWidth() const;
    int GetCellHeight() const;

    kSignal0<> HintSignal;

private:
    bool LoadArt() override;
    const MNPuzzleRules& Rules() const override { return m_wordsearch->GetRules(); }
    void TickPlay(float delta) override;
    void RenderPlay() override;
    // A completed grid is over once the sweep has passed: the model ends the puzzle.
    void SweepEnded() override { m_wordsearch->EndPuzzle(); }

    // The hint button is live while a hint of any kind is left, then hidden.
    eLook HintLook() const;
    void TickGrid(int mx, int my, MNInputEdge::eButtonState state);
    void TickButtons(const MNInputEdge& input);
    void RenderGrid();
    // The lines that close the grid on the right and at the bottom, where no cell draws one.
    void RenderGridEdges();
    void RenderCapsule(float x0, float y0, float x1, float y1, unsigned int colour);
    // A capsule between two cells, through the middle of each cell's top edge.
    void RenderCellCapsule(int fromCell, int toCell, unsigned int colour);
    // The title broken into lines that fit the word list's card.
    kString WrappedTitle() const;
    void RenderWordList();
    void RenderPlayers();
    void RenderClockAndCounter();

    MNWordsearch* m_wordsearch = nullptr;
    kSharedPtr<kFont> m_clueFont;
    kSharedPtr<kFont> m_gridFont;
    kSharedPtr<kSprite> m_cell;
    kSharedPtr<kSprite> m_gridEdge;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_clueBG;
    kSharedPtr<kSprite> m_capStart;
    kSharedPtr<kSprite> m_capEnd;
    kSharedPtr<kSprite> m_capMiddle;
};

} // namespace Kelvo_lib
