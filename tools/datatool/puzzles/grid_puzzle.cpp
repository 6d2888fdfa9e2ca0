#include "grid_puzzle.h"

#include "wordnet_lexicon.h"

#include <algorithm>
#include <climits>

namespace datatool {
namespace {

constexpr int kMaxGridTries = 40;
constexpr int kFillBudget = 4000;

} // namespace

std::vector<GridShape> GridShapesOfDifficulty(int difficulty) {
    switch (difficulty) {
    case 0:
        return {{5, 7, 5, 8, kGridPuzzleMinWordLength, 5},
                {7, 7, 6, 10, kGridPuzzleMinWordLength, 5}};
    case 1:
        return {{9, 9, 12, 16, kGridPuzzleMinWordLength, 7}};
    case 2:
        return {{11, 11, 16, 22, kGridPuzzleMinWordLength, 9}};
    case 3:
        return {{13, 13, 22, 30, kGridPuzzleMinWordLength, 11}};
    default:
        return {};
    }
}

CountRange CountRangeOfDifficulty(int difficulty) {
    // The two easiest take everyday words a family solver meets often ("TEMPO", "MIDST" and
    // "JUNTA" are not for a "MINI"); the hardest stops short of the commonest.
    static constexpr CountRange kCounts[kGridPuzzleDifficulties] = {
        {10000, INT_MAX}, {5000, INT_MAX}, {1000, 200000}, {500, 50000}};
    return difficulty >= 0 && difficulty < kGridPuzzleDifficulties ? kCounts[difficulty]
                                                                   : CountRange{0, INT_MAX};
}

int SensitiveWordRating() {
    return CountRangeOfDifficulty(kSensitiveMinDifficulty - 1).min - 1;
}

std::vector<RatedWord> RateWords(const std::vector<std::string>& words, const CorpusCounts& counts,
                                 const ContentRules& rules) {
    constexpr int kHardest = kGridPuzzleDifficulties - 1;
    const int specialistRating = CountRangeOfDifficulty(kHardest - 1).min - 1;
    std::vector<RatedWord> rated;
    for (const std::string& word : words) {
        const std::string lower = LowerCase(word);
        int count = counts.british.Count(lower);
        if (!counts.british.IsEveryday(lower)) {
            count = std::min(count, specialistRating);
        }
        if (IsSensitive(lower, rules)) {
            count = std::min(count, SensitiveWordRating());
        }
        rated.push_back(RatedWord{word, count});
    }
    return rated;
}

std::vector<std::string> WordsOfDifficulty(const std::vector<RatedWord>& words, int difficulty) {
    std::vector<std::string> chosen;
    const CountRange range = CountRangeOfDifficulty(difficulty);
    for (const RatedWord& word : words) {
        if (word.count >= range.min && word.count <= range.max) {
            chosen.push_back(word.word);
        }
    }
    return chosen;
}

std::optional<FilledGrid> GenerateFilledGrid(int difficulty, const WordIndex& index,
                                             SeededRandom& random, const FillGuides& guides,
                                             const std::function<bool(const FilledGrid&)>& accept) {
    const std::vector<GridShape> shapes = GridShapesOfDifficulty(difficulty);
    if (shapes.empty()) {
        return std::nullopt;
    }
    // Spent answers left out first, then tried last.
    for (const bool takeSpent : {false, true}) {
        const FillGuides pass{guides.lemmaRoots, guides.use, takeSpent};
        for (int attempt = 0; attempt < kMaxGridTries; ++attempt) {
            const GridShape& shape =
                shapes[static_cast<std::size_t>(random.Below(static_cast<int>(shapes.size())))];
            const std::optional<GridPattern> pattern = MakeLatticePattern(shape, random);
            if (!pattern) {
                continue;
            }
            std::optional<FilledGrid> grid = FillGrid(
                *pattern, index, CountRangeOfDifficulty(difficulty), random, kFillBudget, pass);
            if (grid && accept(*grid)) {
                return grid;
            }
        }
    }
    return std::nullopt;
}

GeneratedGridPuzzle ToGridPuzzle(const FilledGrid& grid, int difficulty,
                                 const std::function<std::string(const std::string&)>& clue) {
    GeneratedGridPuzzle puzzle{grid.rows, grid.cols, difficulty, grid.letters, {}};
    for (std::size_t i = 0; i < grid.slots.size(); ++i) {
        const GridSlot& slot = grid.slots[i];
        puzzle.words.push_back(
            GridPuzzleWord{slot.down, slot.startCell, grid.words[i], clue(grid.words[i])});
    }
    return puzzle;
}

} // namespace datatool
