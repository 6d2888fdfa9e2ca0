#include <puzzles/mnpuzzlehints.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNHintUI* FindHintScreen(kUIManager* manager) {
    return manager != nullptr ? static_cast<MNHintUI*>(manager->FindUI("hint_main")) : nullptr;
}

MNHintUI* PrepareHintScreen(kUIManager* manager, kUILayer* layer, int puzzleType,
                            ePuzzleDifficulty difficulty, const int* hintsLeft) {
    MNHintUI* hints = FindHintScreen(manager);
    if (hints == nullptr || layer == nullptr) {
        kLogSys("MNPuzzleUI", "No hint screen \"hint_main\" to open\n");
        return nullptr;
    }
    hints->SetPuzzleType(puzzleType);
    hints->SetPuzzleDifficulty(difficulty);
    hints->SetHintsLeft(hintsLeft);
    return hints;
}

} // namespace Kelvo_lib
