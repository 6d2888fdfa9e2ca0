// Loads any bytes as the saved state of a small crossword: a state taken in must save to
// bytes that load and save the same again, and every cell must hold a letter of the grid's
// keyboard or stay empty.
#include "support/fuzz_puzzle_state.h"

#include <modes/mnpuzzlemode.h>
#include <puzzles/crossword/mncrossword.h>
#include <puzzles/mnpuzzlewidget.h>
#include <tui/mnkeyboard.h>

using namespace Kelvo_lib;

namespace {

MNCrossword& Model() {
    static MNCrossword* model = [] {
        static CrosswordData record = SmallCrossingGrid<CrosswordData>();
        MNCrossword* made = new MNCrossword(MNPuzzleWidget::GameSources());
        made->SetPuzzle(&record, MNPuzzleMode::RulesOf(GAME_MODE_QUICKBLAST, PUZZLE_FLAG_CROSSWORD,
                                                       DifficultyOfBankValue(record.difficulty)));
        return made;
    }();
    return *model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MNCrossword& model = Model();
    if (!LoadsAndRoundTrips(model, data, size)) {
        return 0;
    }
    for (int cell = 0; cell < model.GetNumCells(); ++cell) {
        const char letter = model.GetUserLetter(cell);
        if (letter != ' ' &&
            (model.GetCellsDone(cell) == 0 || model.GetKeyboard()->GetKeyIndex(letter) < 0)) {
            std::abort();
        }
    }
    return 0;
}
