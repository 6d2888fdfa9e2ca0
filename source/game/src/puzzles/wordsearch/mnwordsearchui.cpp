#include <puzzles/wordsearch/mnwordsearchui.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

bool MNWordsearchUI::SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_WORDSEARCH) {
        kLogSys("MNWordsearchUI", "SetPuzzle: not a wordsearch (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    SetPuzzle(static_cast<WordsearchPuzzle*>(puzzle)->m_wordsearch, rules);
    return true;
}

void MNWordsearchUI::SetPuzzle(WordsearchData* wordsearch, const MNPuzzleRules& rules) {
    Model()->SetPuzzle(wordsearch, rules);
}

void MNWordsearchUI::Reset() {
    Model()->Reset(false);
}

} // namespace Kelvo_lib
