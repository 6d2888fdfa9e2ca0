// Loads any bytes as the saved state of a small fitword: a state taken in must save to bytes
// that load and save the same again, no word may stand in two slots or in a slot of another
// length, and no block may be locked.
#include <puzzles/fitword/mnfitword.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Kelvo_lib;

namespace {

// CAT across the top, COW and TEE down, WEE across the bottom, around one block.
FitwordData SmallFitword() {
    FitwordData record;
    record.numRows = 3;
    record.numCols = 3;
    record.difficulty = 1;
    const char* solution = "CATO\0EWEE";
    const struct {
        bool bDown;
        int start;
        const char* word;
    } words[] = {{false, 0, "CAT"}, {true, 0, "COW"}, {true, 2, "TEE"}, {false, 6, "WEE"}};
    for (const auto& word : words) {
        FitwordDataWord& entry = record.words(record.words.Add());
        std::memset(&entry, 0, sizeof(entry));
        entry.bDirection = word.bDown;
        entry.startCell = word.start;
        std::strcpy(entry.word, word.word);
    }
    for (int cell = 0; cell < 9; ++cell) {
        const u8 row = static_cast<u8>(cell / 3);
        const u8 col = static_cast<u8>(cell % 3);
        CrosswordDataCell data{CROSSWORD_NO_WORD, 0, CROSSWORD_NO_WORD, 0};
        if (row != 1) {
            data.wordIndexA = row == 0 ? 0 : 3;
            data.wordLetterA = col;
        }
        if (col != 1) {
            data.wordIndexD = col == 0 ? 1 : 2;
            data.wordLetterD = row;
        }
        record.cells.Push(data);
        record.cellsDone.Push(solution[cell]);
    }
    return record;
}

MNFitword& Model() {
    static MNFitword* model = [] {
        static FitwordData record = SmallFitword();
        MNFitword* made = new MNFitword;
        made->SetPuzzle(&record, 0);
        return made;
    }();
    return *model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MNFitword& model = Model();
    std::vector<std::uint8_t> bytes(data, data + size);
    if (model.LoadPuzzleState(bytes.data(), static_cast<int>(bytes.size())) == 0) {
        return 0;
    }
    const int needed = model.SavePuzzleState(nullptr, 0);
    std::vector<std::uint8_t> saved(static_cast<std::size_t>(needed));
    std::vector<std::uint8_t> again(static_cast<std::size_t>(needed));
    if (model.SavePuzzleState(saved.data(), needed) != needed ||
        model.LoadPuzzleState(saved.data(), needed) != 1 ||
        model.SavePuzzleState(again.data(), needed) != needed || saved != again) {
        std::abort();
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
