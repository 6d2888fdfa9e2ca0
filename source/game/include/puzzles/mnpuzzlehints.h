// The hint screen "hint_main" as the sudoku, fitword and wordsearch screens open it: over the
// puzzle screen, on its layer, with the puzzle's type, difficulty and hints left, its choice
// sent to the screen's handler until the handler lets go. The UI manager owns the hint screen;
// main thread only. With no hint screen registered, or no layer, nothing opens (logged).
#pragma once

#include <tui/mnhintui.h>

namespace Kelvo_lib {

MNHintUI* FindHintScreen(kUIManager* manager);
// The hint screen set up for a puzzle, ready to be pushed on the layer; null (logged) when
// there is no hint screen or no layer.
MNHintUI* PrepareHintScreen(kUIManager* manager, kUILayer* layer, int puzzleType,
                            ePuzzleDifficulty difficulty, const int* hintsLeft);

template <class Screen>
void OpenHintScreen(Screen& screen, kUILayer* layer, ePuzzleDifficulty difficulty,
                    const int* hintsLeft, void (Screen::*onChoice)(int)) {
    MNHintUI* hints = PrepareHintScreen(screen.GetUIManager(), layer, screen.GetPuzzleType(),
                                        difficulty, hintsLeft);
    if (hints == nullptr) {
        return;
    }
    hints->PerformHintSignal.Connect(&screen, onChoice);
    layer->PushUI(hints);
}

// Called by the handler once it has the choice, so a later hint screen is not answered twice.
template <class Screen>
void ReleaseHintScreen(Screen& screen, void (Screen::*onChoice)(int)) {
    if (MNHintUI* hints = FindHintScreen(screen.GetUIManager())) {
        hints->PerformHintSignal.Disconnect(&screen, onChoice);
    }
}

} // namespace Kelvo_lib
