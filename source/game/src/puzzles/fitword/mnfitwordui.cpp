#include <puzzles/fitword/mnfitwordui.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

bool MNFitwordUI::SetPuzzle(Puzzle* puzzle, int gameMode) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_FITWORD) {
        kLogSys("MNFitwordUI", "SetPuzzle: not a fitword (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<FitwordPuzzle*>(puzzle)->m_fitword, gameMode);
    return true;
}

void MNFitwordUI::SetPuzzle(FitwordData* fitword, int gameMode) {
    Model()->SetPuzzle(fitword, gameMode);
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
