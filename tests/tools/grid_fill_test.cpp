// What the crossword and fitword generators build on: the word index, the lattice
// patterns, the backtracking filler with its kindred words and spent answers, and the
// fitword solution counter.
#include "real_vocabulary.h"

#include "puzzles/fitword_generator.h"
#include "puzzles/grid_filler.h"
#include "puzzles/grid_puzzle.h"
#include "puzzles/seeded_random.h"
#include "puzzles/word_index.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

using namespace datatool;

namespace {

const LemmaRoots kNoLemmaRoots;
const AnswerUse kNoneSpent;
const FillGuides kPlainFill{kNoLemmaRoots, kNoneSpent};

// Made-up words of 3 to 5 letters over a small alphabet, so that many cross.
std::vector<RatedWord> SmallAlphabetWords(int count, std::uint32_t seed) {
    SeededRandom random(seed);
    std::set<std::string> seen;
    std::vector<RatedWord> words;
    while (static_cast<int>(words.size()) < count) {
        std::string word;
        const int length = random.Between(3, 5);
        while (static_cast<int>(word.size()) < length) {
            word += "AEIOURST"[random.Below(8)];
        }
        if (seen.insert(word).second) {
            words.push_back(RatedWord{word, random.Below(30)});
        }
    }
    return words;
}

bool Fits(const std::string& word, const std::string& pattern) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (pattern[i] != kOpenCell && pattern[i] != word[i]) {
            return false;
        }
    }
    return word.size() == pattern.size();
}

TEST(WordIndex, MatchesWhatAScanOfTheListFinds) {
    const std::vector<RatedWord> words = SmallAlphabetWords(3000, 5);
    const WordIndex index(words);
    SeededRandom random(6);
    const CountRange ranges[] = {{0, INT_MAX}, {10, INT_MAX}, {0, 12}, {5, 5}, {9, 3}};
    for (int test = 0; test < 200; ++test) {
        const std::string& source = words[static_cast<std::size_t>(random.Below(3000))].word;
        std::string pattern = source;
        for (char& c : pattern) {
            c = random.Below(3) == 0 ? c : kOpenCell;
        }
        const CountRange uses = ranges[test % 5];
        std::multiset<std::string> scanned;
        for (const RatedWord& word : words) {
            if (Fits(word.word, pattern) && word.count >= uses.min && word.count <= uses.max) {
                scanned.insert(word.word);
            }
        }
        std::multiset<std::string> found;
        const int length = static_cast<int>(pattern.size());
        for (int id : index.Matches(pattern, uses)) {
            found.insert(index.Word(length, id));
            EXPECT_GE(index.CountOf(length, id), uses.min);
        }
        EXPECT_EQ(found, scanned) << pattern;
        EXPECT_EQ(index.CountMatches(pattern, uses), static_cast<int>(scanned.size()));
    }
    EXPECT_EQ(index.Count(16, {0, INT_MAX}), 0);
    EXPECT_TRUE(index.Matches(std::string(9, kOpenCell), {0, INT_MAX}).empty());
}

TEST(GridPattern, LatticesMeetEveryShapeWithAHalfTurnSymmetry) {
    for (int difficulty = 0; difficulty < kGridPuzzleDifficulties; ++difficulty) {
        for (const GridShape& shape : GridShapesOfDifficulty(difficulty)) {
            EXPECT_LE(shape.rows * shape.cols + shape.maxWords, kGridPuzzleMaxCellsAndWords);
            EXPECT_LE(shape.rows, kGridPuzzleMaxSide);
            for (std::uint32_t seed = 1; seed <= 10; ++seed) {
                SeededRandom random(seed);
                const std::optional<GridPattern> pattern = MakeLatticePattern(shape, random);
                ASSERT_TRUE(pattern.has_value()) << shape.rows << " seed " << seed;
                EXPECT_TRUE(PatternMeetsShape(*pattern, shape));
                for (int cell = 0; cell < pattern->NumCells(); ++cell) {
                    EXPECT_EQ(pattern->IsBlock(cell),
                              pattern->IsBlock(pattern->NumCells() - 1 - cell));
                }
            }
        }
    }
    EXPECT_TRUE(GridShapesOfDifficulty(4).empty());
    SeededRandom random(1);
    EXPECT_FALSE(MakeLatticePattern({6, 6, 4, 8, 3, 6}, random).has_value()); // even sides
}

TEST(GridPattern, FindsSlotsLoneCellsAndGaps) {
    // ABC
    // #.#
    // DE#
    GridPattern pattern(3, 3);
    for (int cell : {3, 5, 8}) {
        pattern.SetBlock(cell, true);
    }
    const std::vector<GridSlot> slots = pattern.Slots();
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].cells, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(slots[1].cells, (std::vector<int>{1, 4, 7}));
    EXPECT_TRUE(slots[1].down);
    EXPECT_EQ(slots[2].cells, (std::vector<int>{6, 7}));
    EXPECT_EQ(pattern.CountLoneCells(), 0);
    EXPECT_TRUE(pattern.IsConnected());
    EXPECT_EQ(pattern.RunLengths(), std::make_pair(2, 3));
    pattern.SetBlock(7, true);
    pattern.SetBlock(1, true);
    EXPECT_FALSE(pattern.IsConnected());
    EXPECT_EQ(pattern.CountLoneCells(), 4);
}

TEST(GridFiller, FillsEverySlotWithDifferentWordsOfTheIndex) {
    const std::vector<RatedWord> words = SmallAlphabetWords(5000, 8);
    const WordIndex index(words);
    std::set<std::string> vocabulary;
    for (const RatedWord& word : words) {
        vocabulary.insert(word.word);
    }
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        SeededRandom random(seed);
        const std::optional<GridPattern> pattern = MakeLatticePattern({9, 9, 12, 20, 3, 5}, random);
        ASSERT_TRUE(pattern.has_value());
        const std::optional<FilledGrid> grid =
            FillGrid(*pattern, index, {0, INT_MAX}, random, 100000, kPlainFill);
        ASSERT_TRUE(grid.has_value()) << seed;
        ASSERT_EQ(grid->words.size(), grid->slots.size());
        EXPECT_EQ(std::set<std::string>(grid->words.begin(), grid->words.end()).size(),
                  grid->words.size());
        for (std::size_t slot = 0; slot < grid->slots.size(); ++slot) {
            EXPECT_EQ(vocabulary.count(grid->words[slot]), 1u);
            for (std::size_t i = 0; i < grid->slots[slot].cells.size(); ++i) {
                EXPECT_EQ(grid->letters[static_cast<std::size_t>(grid->slots[slot].cells[i])],
                          grid->words[slot][i]);
            }
        }
    }
}

TEST(GridFiller, TakesPreferredWordsAndLeavesSpentAnswersWhereItHasAChoice) {
    // The share of every third word in fills of the same patterns, with those words
    // preferred, spent by the bank, or neither.
    enum class Marked { Plain, Preferred, Spent };
    const auto markedShare = [](Marked marked) {
        std::vector<RatedWord> words = SmallAlphabetWords(5000, 8);
        std::vector<std::string> everyThird;
        for (std::size_t i = 0; i < words.size(); i += 3) {
            words[i].preferred = marked == Marked::Preferred;
            everyThird.push_back(words[i].word);
        }
        const WordIndex index(words);
        AnswerUse use(1);
        if (marked == Marked::Spent) {
            use.Count(everyThird);
        }
        const std::set<std::string> counted(everyThird.begin(), everyThird.end());
        int total = 0;
        int taken = 0;
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            SeededRandom random(seed);
            const std::optional<GridPattern> pattern =
                MakeLatticePattern({9, 9, 12, 20, 3, 5}, random);
            const std::optional<FilledGrid> grid = FillGrid(*pattern, index, {0, INT_MAX}, random,
                                                            100000, FillGuides{kNoLemmaRoots, use});
            for (const std::string& word : grid->words) {
                ++total;
                taken += static_cast<int>(counted.count(word));
            }
        }
        return static_cast<double>(taken) / total;
    };
    const double plain = markedShare(Marked::Plain);
    EXPECT_LT(plain, 0.45);
    EXPECT_GT(plain, 0.2);
    EXPECT_GT(markedShare(Marked::Preferred), 0.8);
    EXPECT_LT(markedShare(Marked::Spent), 0.1);
}

TEST(KindredWords, FormsOfOneLemmaIrregularOnesTooAreKin) {
    const WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    const struct {
        const char* first;
        const char* second;
        bool kin;
    } cases[] = {
        {"OVERSAW", "OVERSEEN", true},
        {"WORST", "WORSE", true},
        {"FALLS", "FELL", true},
        {"BRINGS", "BROUGHT", true},
        {"DRIVEN", "DRIVING", true},
        {"OVERLAY", "OVERLYING", true},
        {"OVERTOOK", "OVERTAKE", true},
        {"OVERRAN", "OVERRUNS", true},
        {"OVERSEER", "OVERSAW", true},
        {"OUTLINE", "OUTLINING", true},
        {"BUILDER", "BUILDINGS", true},
        {"FELL", "BROUGHT", false},
        {"DRIVEN", "OVERSAW", false},
        // A learned ending added to a word, or to a form of it.
        {"EDITS", "EDITION", true},
        {"NARRATING", "NARRATION", true},
        {"WITHDRAWN", "WITHDRAWAL", true},
        {"FLUCTUATED", "FLUCTUATION", true},
        {"CONSUMERISM", "CONSUMED", true},
        {"NATIONALLY", "NATIONS", true},
        {"LEGAL", "LEGS", false},
        {"MOTION", "MOTHS", false},
    };
    std::vector<std::string> words;
    for (const auto& test : cases) {
        words.insert(words.end(), {test.first, test.second});
    }
    const LemmaRoots lemmaRoots(words, *lexicon);
    for (const auto& test : cases) {
        EXPECT_EQ(AreKindred(test.first, test.second, lemmaRoots), test.kin)
            << test.first << " " << test.second;
        EXPECT_EQ(AreKindred(test.second, test.first, lemmaRoots), test.kin)
            << test.second << " " << test.first;
    }
    EXPECT_FALSE(AreKindred("FELL", "FALLS", LemmaRoots()));
}

TEST(GridFiller, GivesUpOnAVocabularyThatCannotFillAndOnAnEmptyBudget) {
    SeededRandom random(3);
    const std::optional<GridPattern> pattern = MakeLatticePattern({5, 7, 5, 8, 3, 5}, random);
    ASSERT_TRUE(pattern.has_value());
    const WordIndex noThreeLetterWords(SmallAlphabetWords(10, 1)); // too few to cross
    EXPECT_FALSE(FillGrid(*pattern, noThreeLetterWords, {0, INT_MAX}, random, 100000, kPlainFill)
                     .has_value());
    const WordIndex plenty(SmallAlphabetWords(5000, 8));
    EXPECT_FALSE(FillGrid(*pattern, plenty, {0, INT_MAX}, random, 0, kPlainFill).has_value());
    EXPECT_TRUE(FillGrid(*pattern, plenty, {0, INT_MAX}, random, 100000, kPlainFill).has_value());
}

TEST(FitwordSolutions, CountsTheWaysAWordListFitsItsSlots) {
    // A 3 x 3 ring: turned about its diagonal, the across words trade places with the
    // down words.
    GridPattern ring(3, 3);
    ring.SetBlock(4, true);
    EXPECT_EQ(CountFitwordSolutions(ring.Slots(), 9, {"TOP", "TEN", "PIN", "NUN"}, 5), 2);
    EXPECT_EQ(CountFitwordSolutions(ring.Slots(), 9, {"TOP", "TEN", "PIN", "NUN"}, 1), 1);
    // A 3 x 4 ring: its 4-letter words go across, its 3-letter words down.
    GridPattern wide(3, 4);
    wide.SetBlock(5, true);
    wide.SetBlock(6, true);
    EXPECT_EQ(CountFitwordSolutions(wide.Slots(), 12, {"TOPS", "TEN", "SUN", "NOUN"}, 5), 1);
    EXPECT_EQ(CountFitwordSolutions(wide.Slots(), 12, {"TOPS", "TEN", "SUN", "BOON"}, 5), 0);
}

} // namespace
