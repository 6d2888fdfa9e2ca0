// MNFitwordUI: the screen a game mode plays one fitword on. What every puzzle screen does (the
// widget, the pass-through mode API, the signals) is MNPuzzleScreen's; this adds the fitword's
// own: the puzzle it takes, its reset. The widget's hint button opens the hint
// screen. Main thread only; the mode API may be called between Init and deletion.
#pragma once

#include <puzzles/fitword/mnfitwordwidget.h>
#include <puzzles/mnpuzzlescreen.h>

namespace Kelvo_lib {

class MNFitwordUI : public MNPuzzleScreen<MNFitwordWidget, &MNFitwordWidget::GetFitword> {
public:
    int GetPuzzleType() const override { return PUZZLE_FLAG_FITWORD; }
    // A fitword of the bank; another kind is refused (logged).
    bool SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) override;
    void SetPuzzle(FitwordData* fitword, const MNPuzzleRules& rules);
    void SetSpellout(SpelloutData* spellout) override;
    void Reset() override;
};

} // namespace Kelvo_lib
