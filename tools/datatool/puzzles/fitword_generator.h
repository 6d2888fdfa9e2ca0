// FitwordGenerator: fitwords (a grid to fill from its word list) on the same blocked grids
// as the crosswords, filled with wbritish words, the same puzzle for the same seed.
// Shapes and the rarity of words by difficulty are the crosswords' (grid_puzzle.h). A
// grid is kept only when its word list fits it in exactly one way, so that the one
// solution the record holds is the player's. Too poor a vocabulary, or an unknown
// difficulty, gives nothing. Read-only once built.
#pragma once

#include "grid_puzzle.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace datatool {

// The ways, counted up to limit, to put the words into the slots of a grid with
// numCells cells: each slot a different word of its length, crossing slots agreeing on
// their shared cell.
int CountFitwordSolutions(const std::vector<GridSlot>& slots, int numCells,
                          const std::vector<std::string>& words, int limit);

class FitwordGenerator {
public:
    // lemmaRoots: the roots the words' lemmas give their families (kindred_words.h).
    FitwordGenerator(const std::vector<RatedWord>& words, LemmaRoots lemmaRoots);

    std::optional<GeneratedGridPuzzle> Generate(int difficulty, std::uint32_t seed) const;
    // The fitword of the seed in a bank that has given the words in use so far (an answer
    // at its limit taken only where no other fits), counted on.
    std::optional<GeneratedGridPuzzle> Generate(int difficulty, std::uint32_t seed,
                                                AnswerUse& use) const;

private:
    WordIndex m_index;
    LemmaRoots m_lemmaRoots;
};

} // namespace datatool
