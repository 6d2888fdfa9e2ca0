// HiddenWordPicker: the hidden word of a crossword or fitword, played as an anagram once
// the grid is solved: a word whose letters all lie in distinct cells of the grid's
// solution and that is not one of the grid's own words, longer for harder puzzles and
// never above 12 letters. Nothing when no word of the list can be laid in the grid.
// Read-only once built.
#pragma once

#include "grid_puzzle.h"
#include "seeded_random.h"

#include <optional>
#include <string>
#include <vector>

namespace datatool {

constexpr std::size_t kHiddenWordMaxLength = 12;

struct HiddenWord {
    std::string word;
    std::vector<int> cells; // one per letter, in the word's order; numbered from 1
};

class HiddenWordPicker {
public:
    // words: upper-case A to Z; those longer than kHiddenWordMaxLength are left out.
    explicit HiddenWordPicker(const std::vector<std::string>& words);

    std::optional<HiddenWord> Pick(const GeneratedGridPuzzle& puzzle, SeededRandom& random) const;

private:
    std::vector<std::vector<std::string>> m_byLength;
};

} // namespace datatool
