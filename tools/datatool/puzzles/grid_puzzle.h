// Grid puzzles, crosswords and fitwords, as their generators make them before they become
// bank records, and what the two generators share: the grid shapes and the word counts
// allowed at each difficulty, the rating of words by how often the British corpus
// writes them (word_counts.h), and the loop that draws lattice patterns and fills them until a
// filled grid is accepted. Plain values and functions; no state.
#pragma once

#include "content_rules.h"
#include "grid_filler.h"
#include "word_counts.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace datatool {

constexpr int kGridPuzzleMaxSide = 13;
// A puzzle in progress is saved in 210 bytes: one per cell, one per word and 6 more.
constexpr int kGridPuzzleMaxCellsAndWords = 204;
constexpr int kGridPuzzleMinWordLength = 3;
// Bank difficulties 0 ("MINI") to 3.
constexpr int kGridPuzzleDifficulties = 4;

struct GridPuzzleWord {
    bool down = false;
    int startCell = 0;
    std::string word;
    std::string clue; // empty in a fitword
};

struct GeneratedGridPuzzle {
    int rows = 0;
    int cols = 0;
    int difficulty = 0;
    std::string letters; // per cell, row by row; kBlockCell for a block
    // By start cell, the across word of a cell before its down word.
    std::vector<GridPuzzleWord> words;
};

// The shapes a grid of the difficulty may take (0 "MINI" to 3), or nothing for an
// unknown difficulty.
std::vector<GridShape> GridShapesOfDifficulty(int difficulty);

// The counts a word of the difficulty has: easy puzzles take common words alone,
// harder ones rarer words as well.
CountRange CountRangeOfDifficulty(int difficulty);

// Each word (upper case) with its count in the British corpus, lowered where a family
// solver meets it less often than the corpus (much of it reference works) writes it: a
// sensitive word (content_rules.h) to below the counts of difficulty 1, so that it is
// shown from difficulty 2 on, and a word outside the everyday words ("GENUS", "LIPID")
// to below those of difficulty 2, so that it is shown at difficulty 3 alone.
std::vector<RatedWord> RateWords(const std::vector<std::string>& words, const CorpusCounts& counts,
                                 const ContentRules& rules);

// The count a word of the rules' sensitive families is rated at most.
int SensitiveWordRating();

// The words whose count suits the difficulty (hidden words take them).
std::vector<std::string> WordsOfDifficulty(const std::vector<RatedWord>& words, int difficulty);

// Draws lattice patterns of one of the difficulty's shapes and fills them from the
// index's words of the difficulty, as the guides say, until accept takes a filled grid:
// without the spent answers while some tries last, then taking them last; nothing when
// every try fails.
std::optional<FilledGrid> GenerateFilledGrid(int difficulty, const WordIndex& index,
                                             SeededRandom& random, const FillGuides& guides,
                                             const std::function<bool(const FilledGrid&)>& accept);

// The filled grid as a puzzle, its words from its slots; clue gives each word's clue.
GeneratedGridPuzzle ToGridPuzzle(const FilledGrid& grid, int difficulty,
                                 const std::function<std::string(const std::string&)>& clue);

} // namespace datatool
