// MNWordsearchUI: the screen a game mode plays one wordsearch on. What every puzzle screen does
// (the widget, the pass-through mode API, the signals) is MNPuzzleScreen's; this adds the
// wordsearch's own: the puzzle it takes, its reset. The widget's hint button
// opens the hint screen. Main thread only; the mode API may be called between Init and deletion.
#pragma once

#include <puzzles/mnpuzzlescreen.h>
#include <puzzles/wordsearch/mnwordsearchwidget.h>

namespace Kelvo_lib {

class MNWordsearchUI
    : public MNPuzzleScreen<MNWordsearchWidget, &MNWordsearchWidget::GetWordsearch> {
public:
    int GetPuzzleType() const override { return PUZZLE_FLAG_WORDSEARCH; }
    // A wordsearch of the bank; another kind is refused (logged).
    bool SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) override;
    void SetPuzzle(WordsearchData* wordsearch, const MNPuzzleRules& rules);
    // Clears words found, errors and the stroke; the clock keeps its value.
    void Reset() override;
};

} // namespace Kelvo_lib
