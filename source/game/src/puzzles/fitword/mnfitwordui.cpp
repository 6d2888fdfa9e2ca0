#include <puzzles/fitword/mnfitwordui.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

bool MNFitwordUI::SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_FITWORD) {
        kLogSys("MNFitwordUI", "SetPuzzle: not a fitword (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<FitwordPuzzle*>(puzzle)->m_fitword, rules);
    return true;
}

void MNFitwordUI::SetPuzzle(FitwordData* fitword, const MNPuzzleRules& rules) {
    Model()->SetPuzzle(fitword, rules);
    m_widget->InitWordList();
}

void MNFitwordUI::SetSpellout(SpelloutData* spellout) {
    Model()->SetSpellout(spellout);
}

void MNFitwordUI::Reset() {
    Model()->Reset(false);
    m_widget->PuzzleReset();
}

} // namespace Kelvo_lib
