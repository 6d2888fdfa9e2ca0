// The crossword and fitword generators and the hidden words on the real vocabulary
// (wbritish, WordNet), their puzzles checked by the independent checkers.
#include "family_filter_text.h"
#include "puzzle_validation.h"
#include "real_vocabulary.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace datatool;

namespace {

class GridPuzzleGenerators : public testing::Test {
protected:
    static void SetUpTestSuite() { s_generators = real_vocabulary::Generators(); }
    static void TearDownTestSuite() {
        s_generators = nullptr;
        real_vocabulary::ReleaseGenerators();
    }

    void SetUp() override { ASSERT_NE(s_generators, nullptr); }

    // The mean count of the words of a few crosswords of the difficulty, each counted up
    // to 200,000.
    static double MeanCount(int difficulty) {
        const std::vector<RatedWord>& vocabulary = s_generators->crosswords.Vocabulary().Words();
        int total = 0;
        int count = 0;
        for (std::uint32_t seed = 1; seed <= 10; ++seed) {
            const std::optional<GeneratedGridPuzzle> crossword =
                s_generators->crosswords.Generate(difficulty, seed);
            for (const GridPuzzleWord& word : crossword->words) {
                const auto rated =
                    std::find_if(vocabulary.begin(), vocabulary.end(),
                                 [&](const RatedWord& entry) { return entry.word == word.word; });
                total += std::min(rated->count, 200000);
                ++count;
            }
        }
        return static_cast<double>(total) / count;
    }

    static const PuzzleGenerators* s_generators;
};

const PuzzleGenerators* GridPuzzleGenerators::s_generators = nullptr;

TEST_F(GridPuzzleGenerators, NoClueOfTheVocabularyShowsItsAnswerOrRunsLong) {
    const CluedWords& clued = s_generators->crosswords.Vocabulary();
    const std::vector<RatedWord>& words = clued.Words();
    // Specialist words, violence, clues shared by two answers and words whose only fair
    // definitions are technical, American, too long or cut to a fragment left out, some 8,300.
    EXPECT_GT(words.size(), 8000u);
    for (std::size_t i = 0; i < words.size(); ++i) {
        for (std::string_view clue : clued.Clues(i)) {
            EXPECT_LE(clue.size(), kMaxClueLength + std::string_view(" (13)").size()) << clue;
            EXPECT_FALSE(puzzle_validation::ClueShowsAnswer(std::string(clue), words[i].word))
                << words[i].word << ": " << clue;
        }
    }
}

TEST_F(GridPuzzleGenerators, CrosswordsOfEveryDifficultyPassTheCheckerAndGrow) {
    int previousLargest = 0;
    for (int difficulty = 0; difficulty < kGridPuzzleDifficulties; ++difficulty) {
        int largest = 0;
        for (std::uint32_t seed = 1; seed <= 8; ++seed) {
            const std::optional<GeneratedGridPuzzle> crossword =
                s_generators->crosswords.Generate(difficulty, seed);
            ASSERT_TRUE(crossword.has_value()) << difficulty << " " << seed;
            EXPECT_GT(crossword->rows, previousLargest);
            largest = std::max(largest, crossword->rows);
            const std::vector<std::string> problems =
                puzzle_validation::CrosswordProblems(ToCrosswordData(*crossword, 1, 0, false));
            EXPECT_TRUE(problems.empty()) << difficulty << " " << seed << ": " << problems[0];
        }
        previousLargest = largest;
    }
    EXPECT_FALSE(s_generators->crosswords.Generate(4, 1).has_value());
    EXPECT_FALSE(s_generators->crosswords.Generate(-1, 1).has_value());
}

TEST_F(GridPuzzleGenerators, AnAnswerTakesItsCluesInTurnThroughABank) {
    const CluedWords& clued = s_generators->crosswords.Vocabulary();
    const auto cluesOf = [&](const std::string& word) {
        const std::vector<RatedWord>& words = clued.Words();
        const auto found = std::find_if(words.begin(), words.end(),
                                        [&](const RatedWord& rated) { return rated.word == word; });
        return clued.Clues(static_cast<std::size_t>(found - words.begin()));
    };
    ClueTurns turns;
    AnswerUse unlimited;
    const GeneratedGridPuzzle first = *s_generators->crosswords.Generate(2, 5, turns, unlimited);
    const GeneratedGridPuzzle second = *s_generators->crosswords.Generate(2, 5, turns, unlimited);
    const GeneratedGridPuzzle alone = *s_generators->crosswords.Generate(2, 5);
    ASSERT_EQ(first.letters, second.letters);
    int varied = 0;
    for (std::size_t i = 0; i < first.words.size(); ++i) {
        const std::vector<std::string_view> clues = cluesOf(first.words[i].word);
        EXPECT_EQ(first.words[i].clue, clues[0]);
        EXPECT_EQ(alone.words[i].clue, clues[0]);
        EXPECT_EQ(second.words[i].clue, clues[1 % clues.size()]);
        EXPECT_EQ(turns[first.words[i].word], 2);
        varied += clues.size() > 1 ? 1 : 0;
    }
    EXPECT_GT(varied, 0);
}

TEST(FreeClueTurn, PassesOverAClueThatNamesAnotherAnswerOfTheGrid) {
    const std::vector<std::string_view> clues = {"Superficial (7)", "Not deep (7)"};
    const struct {
        std::vector<std::string> answers;
        int turn;
        std::optional<int> free;
    } cases[] = {
        {{"SHALLOW", "TABLE"}, 0, 0},
        {{"SHALLOW", "TABLE"}, 3, 3},
        {{"SHALLOW", "SUPERFICIAL"}, 0, 1},
        {{"SHALLOW", "SUPERFICIAL"}, 2, 3}, // the next in the cycle, counted on
        {{"SHALLOW", "SUPER"}, 0, 0},       // a word, not a part of one
        {{"SHALLOW", "SUPERFICIAL", "DEEP"}, 0, std::nullopt},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(FreeClueTurn(clues, test.turn, "SHALLOW", test.answers), test.free)
            << test.answers.back() << " " << test.turn;
    }
}

TEST_F(GridPuzzleGenerators, AnswersWithHandWrittenCluesComeFirst) {
    const ClueList& listed = real_vocabulary::Rules().clues;
    int answers = 0;
    int withListedClues = 0;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const std::optional<GeneratedGridPuzzle> crossword =
            s_generators->crosswords.Generate(3, seed);
        for (const GridPuzzleWord& word : crossword->words) {
            ++answers;
            withListedClues += listed.HasClues(word.word) ? 1 : 0;
        }
    }
    // A few slots have no listed answer that fits.
    EXPECT_GE(withListedClues * 10, answers * 8);
}

TEST_F(GridPuzzleGenerators, HarderCrosswordsTakeRarerWords) {
    EXPECT_GT(MeanCount(1), MeanCount(2));
    EXPECT_GT(MeanCount(2), MeanCount(3));
}

TEST_F(GridPuzzleGenerators, FitwordsOfEveryDifficultyFitTheirListInOneWayOnly) {
    for (int difficulty = 0; difficulty < kGridPuzzleDifficulties; ++difficulty) {
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            const std::optional<GeneratedGridPuzzle> fitword =
                s_generators->fitwords.Generate(difficulty, seed);
            ASSERT_TRUE(fitword.has_value()) << difficulty << " " << seed;
            const std::vector<std::string> problems =
                puzzle_validation::FitwordProblems(ToFitwordData(*fitword, 1, 0, false));
            EXPECT_TRUE(problems.empty()) << difficulty << " " << seed << ": " << problems[0];
        }
    }
}

TEST_F(GridPuzzleGenerators, SameSeedGivesTheSamePuzzles) {
    const auto same = [](const std::optional<GeneratedGridPuzzle>& a,
                         const std::optional<GeneratedGridPuzzle>& b) {
        return a->letters == b->letters && a->words.size() == b->words.size();
    };
    EXPECT_TRUE(
        same(s_generators->crosswords.Generate(3, 77), s_generators->crosswords.Generate(3, 77)));
    EXPECT_FALSE(
        same(s_generators->crosswords.Generate(3, 77), s_generators->crosswords.Generate(3, 78)));
    EXPECT_TRUE(same(s_generators->fitwords.Generate(2, 5), s_generators->fitwords.Generate(2, 5)));
}

TEST_F(GridPuzzleGenerators, HiddenWordsLieInDistinctCellsThatSpellThem) {
    for (int difficulty = 0; difficulty < kGridPuzzleDifficulties; ++difficulty) {
        const GeneratedGridPuzzle crossword = *s_generators->crosswords.Generate(difficulty, 3);
        SeededRandom random(4);
        const std::optional<HiddenWord> hidden =
            s_generators->hiddenWords.Pick(crossword, random, {});
        ASSERT_TRUE(hidden.has_value()) << difficulty;
        for (const GridPuzzleWord& word : crossword.words) {
            EXPECT_NE(word.word, hidden->word);
        }
        const std::vector<std::string> problems = puzzle_validation::HiddenWordProblems(
            ToSpelloutData(*hidden, difficulty), ToCrosswordData(crossword, 1, 0, true));
        EXPECT_TRUE(problems.empty()) << problems[0];
    }
}

TEST(HiddenWordPicker, GivesNothingWhenNoWordCanBeLaidInTheGridOrEachIsTaken) {
    GeneratedGridPuzzle puzzle{1, 5, 1, "ABCDE", {{false, 0, "ABCDE", ""}}};
    SeededRandom random(1);
    const FamilyFilter none = FilterOf("");
    const std::vector<std::string> cannotLie = {"ABCDEE", "XBCDE", "ABCDE"};
    EXPECT_FALSE(HiddenWordPicker(cannotLie, cannotLie, none).Pick(puzzle, random, {}).has_value());
    const std::optional<HiddenWord> hidden =
        HiddenWordPicker({"EDCBA"}, {"EDCBA"}, none).Pick(puzzle, random, {});
    ASSERT_TRUE(hidden.has_value());
    EXPECT_EQ(hidden->cells, (std::vector<int>{5, 4, 3, 2, 1}));
    EXPECT_FALSE(HiddenWordPicker({"EDCBA"}, {"EDCBA"}, none).Pick(puzzle, random, {"EDCBA"}));
}

// A player who finds another word in the letters would be told it is wrong.
TEST(HiddenWordPicker, LeavesOutWordsWhoseLettersSpellAnotherOrABlockedWord) {
    GeneratedGridPuzzle puzzle{1, 6, 1, "LISTEN", {{false, 0, "LISTEN", ""}}};
    const std::vector<std::string> list = {"LISTEN", "SILENT", "TINSEL", "LINES", "STEIN"};
    SeededRandom random(1);
    EXPECT_FALSE(HiddenWordPicker({"SILENT", "TINSEL"}, list, FilterOf(""))
                     .Pick(puzzle, random, {})
                     .has_value());
    EXPECT_FALSE(HiddenWordPicker({"LINES"}, list, FilterOf("lenis\n")).Pick(puzzle, random, {}));
    EXPECT_FALSE(HiddenWordPicker({"LINES"}, list, FilterOf("lien\n")).Pick(puzzle, random, {}));
    const std::optional<HiddenWord> hidden =
        HiddenWordPicker({"LINES"}, list, FilterOf("nest*\n")).Pick(puzzle, random, {});
    ASSERT_TRUE(hidden.has_value());
    EXPECT_EQ(hidden->word, "LINES");
}

// Words the filtered list leaves out, blocked ones too, are words a player may find.
TEST(HiddenWordPicker, TakesTheAnagramsOfTheWholeDictionary) {
    std::string error;
    const std::optional<SharedLetterSets> dictionary =
        LoadDictionaryAnagrams(kDefaultWordListPath, error);
    ASSERT_TRUE(dictionary.has_value());
    EXPECT_TRUE(dictionary->HasAnagram("UNDER")); // "nuder"
    EXPECT_TRUE(dictionary->HasAnagram("CRUST")); // "curst"
    EXPECT_FALSE(dictionary->HasAnagram("YACHT"));
    EXPECT_FALSE(LoadDictionaryAnagrams("/nonexistent/words", error).has_value());
}

// A player would find it in the grid, or read it as a form of an answer.
TEST(HiddenWordPicker, LeavesOutWordsThatShareARootWithAnAnswerOfTheGrid) {
    const struct {
        const char* letters;
        const char* answer;
        const char* candidate;
        bool picked;
    } cases[] = {
        {"NATURALE", "NATURAL", "NATURE", false}, {"SWAMPS", "SWAMP", "SWAMPS", false},
        {"NATURALE", "NATURAL", "ULTRA", true},   {"PAIRS", "AIR", "PAIRS", true},
        {"PLANET", "PLANE", "PLANET", true},
    };
    const FamilyFilter none = FilterOf("");
    for (const auto& test : cases) {
        const std::string letters = test.letters;
        const GeneratedGridPuzzle puzzle{
            1, static_cast<int>(letters.size()), 1, letters, {{false, 0, test.answer, ""}}};
        SeededRandom random(1);
        EXPECT_EQ(HiddenWordPicker({test.candidate}, {test.candidate}, none)
                      .Pick(puzzle, random, {})
                      .has_value(),
                  test.picked)
            << test.candidate << " beside " << test.answer;
    }
}

} // namespace
