// MNCrosswordUI: the screen a game mode plays one crossword on. What every puzzle screen does (the
// widget, the pass-through mode API, the signals) is MNPuzzleScreen's; this adds the crossword's
// own: the puzzle it takes, its reset. Crosswords take hints inside the
// widget, so the screen opens no hint screen. Main thread only; the mode API may be called between
// Init and deletion.
#pragma once

#include <puzzles/crossword/mncrosswordwidget.h>
#include <puzzles/mnpuzzlescreen.h>

namespace Kelvo_lib {

class MNCrosswordUI : public MNPuzzleScreen<MNCrosswordWidget, &MNCrosswordWidget::GetCrossword> {
public:
    int GetPuzzleType() const override { return PUZZLE_FLAG_CROSSWORD; }
    // A crossword of the bank; another kind is refused (logged).
    bool SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) override;
    void SetPuzzle(CrosswordData* crossword, const MNPuzzleRules& rules);
    void SetSpellout(SpelloutData* spellout) override;
    void Reset() override;
};

} // namespace Kelvo_lib
