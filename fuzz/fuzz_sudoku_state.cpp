// Loads any bytes as the saved state of a 9 x 9 sudoku: a state taken in must save to bytes
// that load and save the same again, givens must stay, and every cell must hold a digit of
// the grid.
#include "support/fuzz_puzzle_state.h"

#include <modes/mnpuzzlemode.h>
#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/sudoku/mnsudoku.h>

using namespace Kelvo_lib;

namespace {

// A valid 9 x 9 grid by shifted rows; every third cell given.
const SudokuData& Record() {
    static const SudokuData record = [] {
        SudokuData made;
        made.size = 9;
        made.difficulty = 1;
        for (int cell = 0; cell < 81; ++cell) {
            const int row = cell / 9;
            made.solution[cell] = static_cast<u8>((row * 3 + row / 3 + cell % 9) % 9 + 1);
            made.givens[cell] = cell % 3 == 0 ? made.solution[cell] : 0;
        }
        return made;
    }();
    return record;
}

MNSudoku& Model() {
    static MNSudoku* model = [] {
        MNSudoku* made = new MNSudoku(MNPuzzleWidget::GameSources());
        made->SetPuzzle(&Record(),
                        MNPuzzleMode::RulesOf(GAME_MODE_TOURNAMENT, PUZZLE_FLAG_SUDOKU,
                                              DifficultyOfBankValue(Record().difficulty)));
        return made;
    }();
    return *model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MNSudoku& model = Model();
    if (!LoadsAndRoundTrips(model, data, size)) {
        return 0;
    }
    for (int cell = 0; cell < model.GetNumCells(); ++cell) {
        const int digit = model.GetDigit(cell);
        if (digit < 0 || digit > 9 || (model.IsGiven(cell) && digit != Record().givens[cell])) {
            std::abort();
        }
    }
    return 0;
}
