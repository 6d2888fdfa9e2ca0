// Fills a puzzle bank from the generators: sudokus and wordsearches at each bank
// difficulty, the same bank for the same plan. Bank ids count from 1, sudokus first,
// in order of difficulty; a puzzle's old id is its place among those of its type and
// difficulty, which with the plan's seed makes that one puzzle again. Sudokus are for
// all languages, wordsearches (wbritish words) for UK English.
#pragma once

#include "sudoku_generator.h"
#include "wordsearch_generator.h"

#include <puzzles/puzzlebankwriter.h>

#include <cstdint>
#include <string>

namespace datatool {

struct PuzzleBankPlan {
    std::uint32_t seed = 1;
    int miniCount = 50;      // difficulty 0 of each type
    int perDifficulty = 100; // each of difficulties 1 to 3 of each type
};

// The seed of one generated puzzle.
std::uint32_t PuzzleSeed(std::uint32_t bankSeed, int type, int difficulty, int index);

Kelvo_lib::SudokuData ToSudokuData(const GeneratedSudoku& sudoku, int id, int oldId);
Kelvo_lib::WordsearchData ToWordsearchData(const GeneratedWordsearch& wordsearch, int id,
                                           int oldId);

// Generates the plan's puzzles into writer; false with the reason in error when a
// generator or the writer fails.
bool BuildPuzzleBank(const PuzzleBankPlan& plan, const WordsearchGenerator& wordsearches,
                     Kelvo_lib::PuzzleBankWriter& writer, std::string& error);

} // namespace datatool
