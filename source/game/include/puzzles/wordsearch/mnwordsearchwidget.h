// MNWordsearchWidget: the widget a wordsearch is played through: an intro panel (CONTINUE,
// HELP), then the grid stroked with the pointer and A button, the capsules over found,
// hinted and stroked words, the word list, the clock, the menu and hint buttons, and the
// column sweep of a completed grid. It owns the model and its art; created by class by the
// wordsearch screen. Main thread only. Missing art is logged once and the widget then stays
// blank and idle.
#pragma once

#include <puzzles/mnpuzzleclock.h>
#include <puzzles/mnpuzzleintrobuttons.h>
#include <puzzles/wordsearch/mnwordsearch.h>

#include <framework/kfont.h>
#include <framework/ksprite.h>
#include <ui/kuiwidget.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class MNWordsearchWidget : public kRTTI<MNWordsearchWidget, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    MNWordsearchWidget();
    ~MNWordsearchWidget() override;

    void Tick(float delta) override;
    void Render() override;

    MNWordsearch* GetWordsearch() { return m_wordsearch; }
    bool IsContinueScreenOpen() const { return m_bShowIntro; }
    bool IsSweeping() const { return m_bScanMode; }
    // Whether the sweep lights the cell now.
    bool IsCellLit(int cell) const { return m_scanGrid.Size() > cell && m_scanGrid(cell) != 0; }
    // The top-left corner of a grid cell in pixels.
    float GetCellX(int col) const;
    float GetCellY(int row) const;
    int GetCellWidth() const;
    int GetCellHeight() const;

    void InitIntro();
    void TickIntro(float delta);
    void RenderIntro();
    void RenderGrid();
    void RenderCapsule(float x0, float y0, float x1, float y1, unsigned int colour);

    kSignal0<> MenuSignal;
    kSignal0<> HintSignal;
    kSignal0<> HelpSignal;

private:
    bool LoadArt();
    bool HasHints() const;
    void TickSweep(float delta);
    void TickGrid(int mx, int my, int state);
    void TickButtons(int mx, int my, int state);
    void StartSweep();
    void LightColumn(int col, unsigned char value);
    // A capsule between two cells, through the middle of each cell's top edge.
    void RenderCellCapsule(int fromCell, int toCell, unsigned int colour);
    // The title broken into lines that fit the word list's card.
    kString WrappedTitle() const;
    void RenderWordList();
    void RenderPlayers();
    void RenderClock();
    void RenderPointer();

    MNWordsearch* m_wordsearch = nullptr;
    kSharedPtr<kFont> m_font;
    kSharedPtr<kFont> m_clueFont;
    kSharedPtr<kFont> m_buttonFont;
    kSharedPtr<kFont> m_titleFont;
    kSharedPtr<kFont> m_gridFont;
    kSharedPtr<kSprite> m_cell;
    kSharedPtr<kSprite> m_hint;
    kSharedPtr<kSprite> m_menu;
    kSharedPtr<kSprite> m_gridBG;
    kSharedPtr<kSprite> m_clueBG;
    kSharedPtr<kSprite> m_capStart;
    kSharedPtr<kSprite> m_capEnd;
    kSharedPtr<kSprite> m_capMiddle;
    kSharedPtr<kSprite> m_mouseSprite;
    float m_fScanTime = 0.0f;
    float m_fScanLength = 1.0f;
    float m_fPostScanTime = 0.0f;
    float m_fPostScanLength = 2.0f;
    int m_scanCurrentCol = -1;
    kArray<unsigned char> m_scanGrid;
    bool m_bScanMode = false;
    bool m_bShowIntro = true;
    kSharedPtr<kSprite> m_introContinueButtonSprite;
    kSharedPtr<kSprite> m_introHelpButtonSprite;
    MNPuzzleIntroButtons m_introButtons;
    MNPuzzleClock m_clock;
    bool m_bMenuClick = false;
    bool m_bArtComplete = false;
};

} // namespace Kelvo_lib
