// FillGrid: fills the slots of a grid pattern with words of an index by backtracking:
// the open slot with the fewest fitting words first, its fitting words in a seeded
// random order (the index's preferred words before the others), no word twice nor beside a kindred
// one (kindred_words.h), and a placement kept only while every slot it crosses still has a fitting
// word. It gives up after a budget of placements, so that a pattern that is hard to fill costs
// little and another can be drawn. Nothing is kept between fills.
#pragma once

#include "grid_pattern.h"
#include "seeded_random.h"
#include "word_index.h"

#include <optional>
#include <string>
#include <vector>

namespace datatool {

// A block's letter in FilledGrid::letters.
constexpr char kBlockCell = '#';

struct FilledGrid {
    int rows = 0;
    int cols = 0;
    std::string letters; // per cell, row by row; kBlockCell for a block
    std::vector<GridSlot> slots;
    std::vector<std::string> words; // the word of each slot
};

// Fills from the index's words with counts in the range.
std::optional<FilledGrid> FillGrid(const GridPattern& pattern, const WordIndex& index,
                                   CountRange range, SeededRandom& random, int budget);

} // namespace datatool
