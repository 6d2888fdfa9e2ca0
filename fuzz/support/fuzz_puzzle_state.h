// Shared by the puzzle-state fuzz targets: loads any bytes as a puzzle's saved state and
// aborts unless a state taken in saves to bytes that load and save the same again, and the
// small crossing grid the crossword and fitword targets both load their states into.
#pragma once

#include <services/puzzledata.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace Kelvo_lib;

// Returns whether the model took the bytes in; aborts if its saved state does not round-trip.
template <class Model>
bool LoadsAndRoundTrips(Model& model, const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (model.LoadPuzzleState(bytes.data(), static_cast<int>(bytes.size())) == 0) {
        return false;
    }
    const int needed = model.SavePuzzleState(nullptr, 0);
    std::vector<std::uint8_t> saved(static_cast<std::size_t>(needed));
    std::vector<std::uint8_t> again(static_cast<std::size_t>(needed));
    if (model.SavePuzzleState(saved.data(), needed) != needed ||
        model.LoadPuzzleState(saved.data(), needed) != 1 ||
        model.SavePuzzleState(again.data(), needed) != needed || saved != again) {
        std::abort();
    }
    return true;
}

// CAT across the top, COW and TEE down, WEE across the bottom, around one block.
template <class Record>
Record SmallCrossingGrid() {
    Record record;
    record.numRows = 3;
    record.numCols = 3;
    const char* solution = "CATO\0EWEE";
    const struct {
        bool bDown;
        int start;
        const char* word;
    } words[] = {{false, 0, "CAT"}, {true, 0, "COW"}, {true, 2, "TEE"}, {false, 6, "WEE"}};
    for (const auto& word : words) {
        auto& entry = record.words(record.words.Add());
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

} // namespace
