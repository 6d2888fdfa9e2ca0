// Loads any bytes as the saved state of a small wordsearch: a state taken in must save to
// bytes that load and save the same again, and its hint marks must lie in the grid.
#include "support/fuzz_puzzle_state.h"

#include <modes/mnpuzzlemode.h>
#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/wordsearch/mnwordsearch.h>

#include <cstring>

using namespace Kelvo_lib;

namespace {

// CAT across the top and COD down the left of a 3 x 3 grid.
WordsearchData SmallWordsearch() {
    WordsearchData record;
    record.numRows = 3;
    record.numCols = 3;
    const char* letters = "CATOXXDXX";
    for (int cell = 0; cell < 9; ++cell) {
        record.gridMap.Push(letters[cell]);
    }
    for (const int cell : {0, 1, 2, 0, 3, 6}) {
        record.wordTrails.Push(cell);
    }
    const char* words[] = {"CAT", "COD"};
    for (int w = 0; w < 2; ++w) {
        WordsearchDataWord word{};
        word.cellStartIndex = w * 3;
        word.cellEndIndex = w * 3 + 2;
        std::strcpy(word.word, words[w]);
        record.words.Push(word);
    }
    record.numWords = 2;
    record.numTrailCells = 6;
    return record;
}

MNWordsearch& Model() {
    static MNWordsearch* model = [] {
        WordsearchData record = SmallWordsearch();
        MNWordsearch* made = new MNWordsearch(MNPuzzleWidget::GameSources());
        made->SetPuzzle(&record, MNPuzzleMode::RulesOf(GAME_MODE_QUICKBLAST, PUZZLE_FLAG_WORDSEARCH,
                                                       DifficultyOfBankValue(record.difficulty)));
        return made;
    }();
    return *model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MNWordsearch& model = Model();
    if (!LoadsAndRoundTrips(model, data, size)) {
        return 0;
    }
    for (int i = 0; i < 2; ++i) {
        if (model.GetHintPositions(i) < -1 || model.GetHintPositions(i) >= 9) {
            std::abort();
        }
    }
    return 0;
}
