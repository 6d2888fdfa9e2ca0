#include <puzzles/crossword/mncrosswordui.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

bool MNCrosswordUI::SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_CROSSWORD) {
        kLogSys("MNCrosswordUI", "SetPuzzle: not a crossword (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<CrosswordPuzzle*>(puzzle)->m_crossword, rules);
    return true;
}

void MNCrosswordUI::SetPuzzle(CrosswordData* crossword, const MNPuzzleRules& rules) {
    Model()->SetPuzzle(crossword, rules);
    m_widget->InitWordList();
}

void MNCrosswordUI::SetSpellout(SpelloutData* spellout) {
    Model()->SetSpellout(spellout);
}

void MNCrosswordUI::Reset() {
    Model()->Reset(false);
    m_widget->PuzzleReset();
}

} // namespace Kelvo_lib
