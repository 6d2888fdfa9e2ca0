// The word list filter and the wordsearch generator, whose puzzles are checked by the
// independent wordsearch checker.
#include "content_checks.h"
#include "puzzle_validation.h"
#include "real_vocabulary.h"
#include "wordnet_fixture.h"

#include "puzzles/puzzle_bank_builder.h"
#include "puzzles/seeded_random.h"
#include "puzzles/word_list.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace datatool;

namespace {

WordExclusions ExclusionsOf(const std::string& text) {
    std::istringstream lines(text);
    return WordExclusions::Parse(lines);
}

// 300 made-up words of 3 to 12 letters, all starting with B, of counts from 500 to
// 20,499.
std::vector<RatedWord> BWords() {
    SeededRandom random(99);
    std::vector<RatedWord> words;
    while (words.size() < 300) {
        std::string word = "B";
        const int length = random.Between(3, 12);
        while (static_cast<int>(word.size()) < length) {
            word += static_cast<char>('A' + random.Below(26));
        }
        if (std::none_of(words.begin(), words.end(),
                         [&](const RatedWord& other) { return other.word == word; })) {
            words.push_back(RatedWord{word, 500 + random.Below(20000)});
        }
    }
    return words;
}

int CountOf(const std::string& word) {
    static const std::vector<RatedWord> words = BWords();
    return std::find_if(words.begin(), words.end(),
                        [&](const RatedWord& rated) { return rated.word == word; })
        ->count;
}

// A WordNet without words: the made-up words fit no prefix or suffix theme.
const WordNetLexicon& NoWords() {
    static const std::optional<WordNetLexicon> lexicon =
        WordNetLexicon::Load(wordnet_fixture::WordNetFolder().Write("wordsearch_no_words"));
    return *lexicon;
}

TEST(WordList, KeepsLowerCaseWordsOfThreeToFifteenLettersInUpperCase) {
    std::istringstream lines("cat\nDog\nLondon\nit\nbird's\ncaf\xc3\xa9\nzebra\r\ncat\n"
                             "abcdefghijklmno\nabcdefghijklmnop\n  owl \nbanned\nstemmed\nstem\n"
                             "rude\nprude\nrudest\nunrude\n");
    const std::vector<std::string> words =
        FilterWordList(lines, ExclusionsOf("# comment\nbanned\n\nstem*  # and its kin\n"),
                       ExclusionsOf("*rude*\n"));
    EXPECT_EQ(words, (std::vector<std::string>{"CAT", "ZEBRA", "ABCDEFGHIJKLMNO", "OWL"}));
}

TEST(WordList, MissingFileGivesNothing) {
    std::string error;
    EXPECT_FALSE(LoadWordList("/nonexistent/words", ExclusionsOf(""), ExclusionsOf(""), error));
    EXPECT_NE(error.find("/nonexistent/words"), std::string::npos) << error;
}

// Common letter runs stand in for blocked words, so that filler letters often spell them.
const FamilyFilter& CommonRunsBlocked() {
    static const FamilyFilter filter(ExclusionsOf("eat\nten\n*ore*\nsea\n"));
    return filter;
}

TEST(WordsearchGenerator, PuzzlesOfEveryDifficultyPassTheCheckerAndSpellNoBlockedWord) {
    const WordsearchGenerator generator(BWords(), CommonRunsBlocked(), NoWords(), LemmaRoots());
    for (int difficulty = 0; difficulty <= 3; ++difficulty) {
        const WordsearchShape shape = *WordsearchShapeOfDifficulty(difficulty);
        for (int index = 0; index < 10; ++index) {
            const std::optional<GeneratedWordsearch> puzzle =
                generator.Generate(difficulty, PuzzleSeed(3, 2, difficulty, index));
            ASSERT_TRUE(puzzle.has_value()) << difficulty << "/" << index;
            EXPECT_EQ(puzzle->rows, shape.side);
            EXPECT_EQ(puzzle->cols, shape.side);
            EXPECT_EQ(puzzle->title, "Starting with B");
            const int words = static_cast<int>(puzzle->words.size());
            EXPECT_GE(words, shape.minWords);
            EXPECT_LE(words, shape.maxWords);
            for (const PlacedWord& placed : puzzle->words) {
                EXPECT_GE(CountOf(placed.word), shape.minCount) << difficulty << " " << placed.word;
            }
            const Kelvo_lib::WordsearchData data = ToWordsearchData(*puzzle, 1, index);
            std::vector<std::string> problems = puzzle_validation::WordsearchProblems(data);
            const std::vector<std::string> blocked =
                content_checks::GridLineProblems(data, CommonRunsBlocked());
            problems.insert(problems.end(), blocked.begin(), blocked.end());
            EXPECT_TRUE(problems.empty()) << difficulty << "/" << index << ": " << problems[0];
        }
    }
}

TEST(WordsearchGenerator, UsesAllEightDirections) {
    const WordsearchGenerator generator(BWords(), CommonRunsBlocked(), NoWords(), LemmaRoots());
    std::set<std::pair<int, int>> directions;
    for (int index = 0; index < 10; ++index) {
        const std::optional<GeneratedWordsearch> puzzle =
            generator.Generate(3, PuzzleSeed(5, 2, 3, index));
        ASSERT_TRUE(puzzle.has_value());
        for (const PlacedWord& word : puzzle->words) {
            const int side = kWordsearchMaxSide;
            directions.insert({word.cells[1] % side - word.cells[0] % side,
                               word.cells[1] / side - word.cells[0] / side});
        }
    }
    EXPECT_EQ(directions.size(), 8u);
}

TEST(WordsearchGenerator, SameSeedGivesTheSamePuzzle) {
    const WordsearchGenerator generator(BWords(), CommonRunsBlocked(), NoWords(), LemmaRoots());
    const std::optional<GeneratedWordsearch> a = generator.Generate(2, 42);
    const std::optional<GeneratedWordsearch> b = generator.Generate(2, 42);
    const std::optional<GeneratedWordsearch> c = generator.Generate(2, 43);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->grid, b->grid);
    EXPECT_EQ(a->words.size(), b->words.size());
    EXPECT_NE(a->grid, c->grid);
}

TEST(WordsearchGenerator, TooFewWordsOrUnknownDifficultyGiveNothing) {
    std::vector<RatedWord> few = BWords();
    few.resize(40);
    EXPECT_FALSE(WordsearchGenerator(few, CommonRunsBlocked(), NoWords(), LemmaRoots())
                     .Generate(1, 1)
                     .has_value());
    EXPECT_FALSE(WordsearchGenerator(BWords(), CommonRunsBlocked(), NoWords(), LemmaRoots())
                     .Generate(4, 1)
                     .has_value());
}

TEST(WordsearchThemes, AWordFitsAnAffixThemeOnlyWhenItCarriesTheAffixAsOne) {
    const WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    const WordAffix able{"ABLE", false, {WordClass::Adjective}, false};
    const WordAffix ous{"OUS", false, {WordClass::Adjective}, false};
    const WordAffix ing{"ING", false, {WordClass::Verb}, true, {WordClass::Verb}};
    const WordAffix ly{"LY", false, {WordClass::Adverb, WordClass::Adjective}, true};
    const WordAffix er{"ER", false, {WordClass::Adjective}, true, {WordClass::Adjective}};
    const WordAffix un{"UN", true, {WordClass::Verb, WordClass::Adjective, WordClass::Adverb}};
    const WordAffix out{"OUT", true};
    const struct {
        const char* word;
        const WordAffix& affix;
        bool carries;
    } cases[] = {
        {"AMICABLE", able, true}, {"NOTABLE", able, true},  {"FABLE", able, false},
        {"GABLE", able, false},   {"STABLE", able, false},  {"FAMOUS", ous, true},
        {"BURNOUS", ous, false},  {"BAYOUS", ous, false},   {"MARABOUS", ous, false},
        {"ROWING", ing, true},    {"RING", ing, false},     {"THING", ing, false},
        {"BARELY", ly, true},     {"FAMILY", ly, false},    {"UNTIE", un, true},
        {"UNION", un, false},     {"UNDERACTS", un, false}, {"UNICYCLES", un, false},
        {"OUTPOST", out, true},   {"OUTS", out, false},     {"ROUTE", out, false},
        {"TOUGHER", er, true},    {"WIDER", er, true},      {"MANNER", er, false},
        {"MOTHER", er, false},    {"WELDER", er, false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CarriesAffix(test.word, test.affix, *lexicon), test.carries) << test.word;
    }
}

} // namespace
