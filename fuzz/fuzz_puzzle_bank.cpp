// Loads any bytes as a puzzle bank, steps through its ids, and reads every record its
// index names, walking each record the way the puzzle models do (word trails, grid
// words, hidden-word cells) without range checks of their own: whatever the loader
// lets through must stay inside the record, which the sanitizers watch.
#include <services/puzzle.h>
#include <services/puzzlebank.h>

#include <kelvo/io/kmemoryiostream.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace Kelvo_lib;

namespace {

// Keeps the walks from being optimised away.
volatile unsigned int s_checksum = 0;

unsigned int WalkSudoku(const SudokuData& sudoku) {
    unsigned int sum = sudoku.size;
    for (int cell = 0; cell < sudoku.size * sudoku.size; ++cell) {
        sum = sum * 31 + sudoku.givens[cell] + sudoku.solution[cell];
    }
    return sum;
}

unsigned int WalkWordsearch(const WordsearchData& wordsearch) {
    unsigned int sum = static_cast<unsigned int>(std::strlen(wordsearch.title));
    for (int i = 0; i < wordsearch.words.Size(); ++i) {
        const WordsearchDataWord& word = wordsearch.words(i);
        const int length = static_cast<int>(std::strlen(word.word));
        for (int letter = 0; letter < length; ++letter) {
            sum = sum * 31 + static_cast<unsigned char>(wordsearch.gridMap(
                                 wordsearch.wordTrails(word.cellStartIndex + letter)));
        }
        sum += static_cast<unsigned int>(wordsearch.wordTrails(word.cellEndIndex));
    }
    return sum;
}

template <class Record>
unsigned int WalkGrid(const Record& record, const SpelloutData* spellout) {
    unsigned int sum = 0;
    for (int i = 0; i < record.words.Size(); ++i) {
        const auto& word = record.words(i);
        const int step = word.bDirection ? record.numCols : 1;
        const int length = static_cast<int>(std::strlen(word.word));
        for (int letter = 0; letter < length; ++letter) {
            const int cell = word.startCell + letter * step;
            sum = sum * 31 + static_cast<unsigned char>(record.cellsDone(cell));
        }
    }
    for (int cell = 0; cell < record.cells.Size(); ++cell) {
        const CrosswordDataCell& data = record.cells(cell);
        if (data.wordIndexA != CROSSWORD_NO_WORD) {
            sum += static_cast<unsigned char>(record.words(data.wordIndexA).word[data.wordLetterA]);
        }
        if (data.wordIndexD != CROSSWORD_NO_WORD) {
            sum += static_cast<unsigned char>(record.words(data.wordIndexD).word[data.wordLetterD]);
        }
    }
    for (int i = 0; spellout != nullptr && i < spellout->cells.Size(); ++i) {
        sum = sum * 31 + static_cast<unsigned char>(record.cellsDone(spellout->cells(i) - 1));
    }
    return sum;
}

unsigned int WalkPuzzle(Puzzle& puzzle) {
    switch (puzzle.GetType()) {
    case PUZZLE_TYPE_SUDOKU:
        return WalkSudoku(*static_cast<SudokuPuzzle&>(puzzle).m_sudoku);
    case PUZZLE_TYPE_WORDSEARCH:
        return WalkWordsearch(*static_cast<WordsearchPuzzle&>(puzzle).m_wordsearch);
    case PUZZLE_TYPE_CROSSWORD: {
        const CrosswordPuzzle& crossword = static_cast<CrosswordPuzzle&>(puzzle);
        return WalkGrid(*crossword.m_crossword, crossword.m_spellout);
    }
    case PUZZLE_TYPE_FITWORD: {
        const FitwordPuzzle& fitword = static_cast<FitwordPuzzle&>(puzzle);
        return WalkGrid(*fitword.m_fitword, fitword.m_spellout);
    }
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    PuzzleBank bank;
    bank.Load(&stream);
    unsigned int sum = 0;
    for (int type = PUZZLE_TYPE_CROSSWORD; type <= PUZZLE_TYPE_SUDOKU; ++type) {
        int index = -1;
        sum += static_cast<unsigned int>(
            bank.GetNextPrevPuzzleId(index, type, PUZZLE_DIFFICULTY_BEGINNER, 0, false));
    }
    for (int i = 0; i < bank.GetNumEntries(); ++i) {
        const PuzzleBankEntry& entry = bank.GetEntry(i);
        Puzzle* puzzle = bank.GetPuzzle(entry.id, entry.language);
        sum += puzzle != nullptr ? WalkPuzzle(*puzzle) : 1;
    }
    s_checksum = sum;
    return 0;
}
