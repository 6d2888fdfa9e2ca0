#include <puzzles/crossword/mncrosswordui.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

bool MNCrosswordUI::SetPuzzle(Puzzle* puzzle, int gameMode) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_CROSSWORD) {
        kLogSys("MNCrosswordUI", "SetPuzzle: not a crossword (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<CrosswordPuzzle*>(puzzle)->m_crossword, gameMode);
    return true;
}

void MNCrosswordUI::SetPuzzle(CrosswordData* crossword, int gameMode) {
    Model()->SetPuzzle(crossword, gameMode);
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
