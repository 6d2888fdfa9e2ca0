// The puzzle bank's reader on a full bank of 1,536 entries (sudokus, 15 x 15
// wordsearches of 20 words, 13 x 13 crosswords with clues and hidden words): loading
// the index, loading 1,000 records at random, and drawing 1,000 unplayed puzzles for a
// profile, compared with the record loads they come before.
#include "support/comparison_main.h"

#include <services/mnsavedata.h>
#include <services/puzzlebank.h>
#include <services/puzzlebankwriter.h>

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/math/kmrandom.h>
#include <kelvo/platform/klog.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr int kRecordsPerRun = 1000;

void DiscardLogText(const char*) {}

SudokuData MakeSudoku(int id) {
    SudokuData sudoku;
    sudoku.puzzleID = id;
    sudoku.size = 9;
    sudoku.difficulty = static_cast<u8>(id % 4 == 0 ? 1 : id % 4);
    sudoku.language = PUZZLE_LANGUAGE_ALL;
    for (int cell = 0; cell < 81; ++cell) {
        const int row = cell / 9;
        sudoku.solution[cell] = static_cast<u8>((row * 3 + row / 3 + cell % 9) % 9 + 1);
        sudoku.givens[cell] = cell % 3 == 0 ? sudoku.solution[cell] : 0;
    }
    return sudoku;
}

// Twenty words of ten letters: one across each of the 15 rows, five down columns 10 to 14.
WordsearchData MakeWordsearch(int id) {
    WordsearchData wordsearch;
    wordsearch.puzzleID = id;
    wordsearch.numRows = wordsearch.numCols = 15;
    wordsearch.difficulty = 3;
    std::snprintf(wordsearch.title, sizeof(wordsearch.title), "Wordsearch %d", id);
    wordsearch.gridMap.SetSize(225);
    for (int cell = 0; cell < 225; ++cell) {
        wordsearch.gridMap(cell) = static_cast<char>('A' + (cell * 7 + id) % 26);
    }
    for (int w = 0; w < 20; ++w) {
        WordsearchDataWord& word = wordsearch.words(wordsearch.words.Add());
        word.cellStartIndex = wordsearch.wordTrails.Size();
        for (int letter = 0; letter < 10; ++letter) {
            const int cell = w < 15 ? w * 15 + letter : letter * 15 + w - 5;
            wordsearch.wordTrails.Push(cell);
            word.word[letter] = wordsearch.gridMap(cell);
        }
        word.word[10] = 0;
        word.cellEndIndex = wordsearch.wordTrails.Size() - 1;
    }
    wordsearch.numWords = 20;
    wordsearch.numTrailCells = 200;
    return wordsearch;
}

// Seven words across the even rows of a 13 x 13 grid, each with a clue.
CrosswordData MakeCrossword(int id) {
    CrosswordData crossword;
    crossword.puzzleID = id;
    crossword.numRows = crossword.numCols = 13;
    crossword.difficulty = 2;
    for (int cell = 0; cell < 169; ++cell) {
        const int row = cell / 13;
        const bool inWord = row % 2 == 0;
        crossword.cells.Push(
            CrosswordDataCell{static_cast<u8>(inWord ? row / 2 : CROSSWORD_NO_WORD),
                              static_cast<u8>(inWord ? cell % 13 : CROSSWORD_NO_WORD),
                              CROSSWORD_NO_WORD, CROSSWORD_NO_WORD});
        crossword.cellsDone.Push(inWord ? static_cast<char>('A' + cell % 26) : 0);
    }
    for (int w = 0; w < 7; ++w) {
        CrosswordDataWord& word = crossword.words(crossword.words.Add());
        std::memset(&word, 0, sizeof(word));
        word.startCell = w * 26;
        std::memcpy(word.word, &crossword.cellsDone(word.startCell), 13);
        std::snprintf(word.clue, sizeof(word.clue), "Clue %d of crossword %d, in a few words", w,
                      id);
    }
    return crossword;
}

SpelloutData MakeSpellout() {
    SpelloutData spellout;
    std::strcpy(spellout.word, "ABCDE");
    for (int cell = 1; cell <= 5; ++cell) {
        spellout.cells.Push(cell);
    }
    return spellout;
}

std::vector<u8> FullBank() {
    PuzzleBankWriter writer;
    const SpelloutData spellout = MakeSpellout();
    for (int id = 0; id < PUZZLE_BANK_MAX_ENTRIES; ++id) {
        switch (id % 3) {
        case 0:
            writer.AddSudoku(MakeSudoku(id));
            break;
        case 1:
            writer.AddWordsearch(MakeWordsearch(id));
            break;
        default:
            writer.AddCrossword(MakeCrossword(id), &spellout);
            break;
        }
    }
    kArray<u8> file;
    writer.Write(file);
    return std::vector<u8>(file.Data(), file.Data() + file.Size());
}

const std::vector<u8>& Bank() {
    static const std::vector<u8> bank = [] {
        kLogCHook(DiscardLogText);
        return FullBank();
    }();
    return bank;
}

void BM_LoadIndex(benchmark::State& state) {
    std::vector<u8> bytes = Bank();
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    PuzzleBank bank;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bank.Load(&stream));
    }
    state.counters["entries"] = bank.GetNumEntries();
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_LoadIndex)->Unit(benchmark::kMicrosecond);

void BM_LoadRandomRecords(benchmark::State& state) {
    std::vector<u8> bytes = Bank();
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    PuzzleBank bank;
    bank.Load(&stream);
    std::mt19937 random(1);
    std::vector<int> ids(kRecordsPerRun);
    for (int& id : ids) {
        id = static_cast<int>(random() % PUZZLE_BANK_MAX_ENTRIES);
    }
    for (auto _ : state) {
        for (int id : ids) {
            benchmark::DoNotOptimize(bank.GetPuzzle(id, 0));
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecordsPerRun);
}
BENCHMARK(BM_LoadRandomRecords)->Unit(benchmark::kMillisecond);

// The profile's played set runs out and starts over several times in a run (about 260
// beginner sudokus).
void BM_DrawUnplayedIds(benchmark::State& state) {
    std::vector<u8> bytes = Bank();
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    PuzzleBank bank;
    bank.Load(&stream);
    MNSaveProfileData record;
    record.Clear();
    kmRandomMersenneTwister random(1);
    for (auto _ : state) {
        for (int i = 0; i < kRecordsPerRun; ++i) {
            benchmark::DoNotOptimize(bank.GetRandomPuzzleId(
                PUZZLE_TYPE_SUDOKU, PUZZLE_DIFFICULTY_BEGINNER, 0, random, &record));
        }
    }
    state.SetItemsProcessed(state.iterations() * kRecordsPerRun);
}
BENCHMARK(BM_DrawUnplayedIds)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparison(argc, argv,
                                    {"1,000 puzzles", "BM_DrawUnplayedIds", "drawing ids",
                                     "BM_LoadRandomRecords", "loading records"});
}
