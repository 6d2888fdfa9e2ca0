// FillGrid: fills the slots of a grid pattern with words of an index by backtracking:
// the open slot with the fewest fitting words first, its fitting words in a seeded
// random order (the index's preferred words before the others), no word twice nor beside a kindred
// one (kindred_words.h), and a placement kept only while every slot it crosses still has a fitting
// word. An answer the bank has already given up to its limit (AnswerUse) is left out, or
// tried after every other that fits. It gives up after a budget of placements, so that a pattern
// that is hard to fill costs little and another can be drawn. Nothing is kept between fills.
#pragma once

#include "grid_pattern.h"
#include "kindred_words.h"
#include "seeded_random.h"
#include "word_index.h"

#include <climits>
#include <optional>
#include <string>
#include <unordered_map>
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

// How many puzzles of one kind and difficulty have given each answer (upper case) so far, and
// how many may before a fill takes it only where nothing else fits, so that a bank's puzzles
// do not keep meeting the same short words. Without a limit, no answer is ever spent.
class AnswerUse {
public:
    AnswerUse() = default;
    explicit AnswerUse(int limit) : m_limit(limit) {}

    bool IsSpent(const std::string& answer) const;
    void Count(const std::vector<std::string>& answers);

private:
    int m_limit = INT_MAX;
    std::unordered_map<std::string, int> m_uses;
};

// What a fill weighs beside its index's words: the lemmas' roots that make two words kin,
// and the answers the bank has spent, which the fill leaves out or, with takeSpent, tries
// after every other. The roots and the use outlive the fill.
struct FillGuides {
    const LemmaRoots& lemmaRoots;
    const AnswerUse& use;
    bool takeSpent = true;
};

// Fills from the index's words with counts in the range.
std::optional<FilledGrid> FillGrid(const GridPattern& pattern, const WordIndex& index,
                                   CountRange range, SeededRandom& random, int budget,
                                   const FillGuides& guides);

} // namespace datatool
