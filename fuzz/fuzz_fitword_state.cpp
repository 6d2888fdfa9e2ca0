// Loads any bytes as the saved state of a small fitword: a state taken in must save to bytes
// that load and save the same again, no word may stand in two slots or in a slot of another
// length, and no block may be locked.
#include "support/fuzz_puzzle_state.h"

#include <modes/mnpuzzlemode.h>
#include <puzzles/fitword/mnfitword.h>
#include <puzzles/mnpuzzlewidget.h>

using namespace Kelvo_lib;

namespace {

MNFitword& Model() {
    static MNFitword* model = [] {
        static FitwordData record = SmallCrossingGrid<FitwordData>();
        record.difficulty = 1;
        MNFitword* made = new MNFitword(MNPuzzleWidget::GameSources());
        made->SetPuzzle(&record, MNPuzzleMode::RulesOf(GAME_MODE_TOURNAMENT, PUZZLE_FLAG_FITWORD,
                                                       DifficultyOfBankValue(record.difficulty)));
        return made;
    }();
    return *model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MNFitword& model = Model();
    if (!LoadsAndRoundTrips(model, data, size)) {
        return 0;
    }
    for (int slot = 0; slot < model.GetNumWords(); ++slot) {
        const int word = model.GetPlacedWord(slot);
        if (word != MNFitword::K_NO_WORD &&
            (model.GetSlotOfWord(word) != slot ||
             model.GetWordLength(word) != model.GetWordLength(slot))) {
            std::abort();
        }
    }
    for (int cell = 0; cell < model.GetNumCells(); ++cell) {
        if (model.GetCellsDone(cell) == 0 && model.IsCellLocked(cell)) {
            std::abort();
        }
    }
    return 0;
}
