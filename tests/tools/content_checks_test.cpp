// The bank's content checks on small made-up cases, each of which passes only a check
// that looks for its fault, against the real lists under data/puzzles/ and WordNet.
#include "content_checks.h"
#include "real_vocabulary.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Kelvo_lib;

namespace {

TEST(ContentChecks, AnswersAndListWordsOfABlockedFamilyAmericanOrAbbreviatedAreFaults) {
    const datatool::ContentRules& rules = real_vocabulary::Rules();
    const struct {
        const char* word;
        bool fault;
    } cases[] = {
        {"SLUTTISH", true}, {"BITCHIEST", true}, {"PIMPING", true}, {"MASSACRING", true},
        {"SLAVING", true},  {"FOREPLAY", true},  {"GYP", true},     {"HOS", true},
        {"PHONY", true},    {"AMPUL", true},     {"EYING", true},   {"YRS", true},
        {"LBS", true},      {"RPM", true},       {"YESES", true},   {"ETC", true},
        {"PHONEY", false},  {"BUTTER", false},   {"ASSESS", false}, {"GYM", false},
        {"SLAVE", true},    {"CRYPT", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(!content_checks::ShownWordProblems(test.word, rules).empty(), test.fault)
            << test.word;
    }
}

TEST(ContentChecks, CluesCutMidPhraseOrInAmericanSpellingOrOfABlockedFamilyAreFaults) {
    const datatool::WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    const struct {
        const char* clue;
        bool fault;
    } cases[] = {
        {"Vocal tones in a structured (5)", true},
        {"Measuring instrument in which the echo of a pulse is used to detect (5)", true},
        {"A spirally threaded cylindrical rod that engages (5)", true},
        {"An expression of greeting: (5)", true},
        {"The colour of the center (5)", true},
        {"Behaving in a sluttish manner (5)", true},
        {"An artistic form of auditory communication (5)", false},
        {"Acutely insightful and wise (9)", false},
        {"Not able to be found (7)", false},
        {"A leguminous plant of the genus Pisum (3)", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(
            !content_checks::ClueProblems(test.clue, real_vocabulary::Rules(), *lexicon).empty(),
            test.fault)
            << test.clue;
    }
}

TEST(ContentChecks, FillerThatSpellsAFormOfABlockedFamilyInAnyDirectionIsAFault) {
    // A 6 x 6 grid of filler around one hidden word, CAT, along the top row.
    const auto gridWith = [](const char* line, int dx, int dy, int start) {
        WordsearchData grid;
        grid.numRows = 6;
        grid.numCols = 6;
        for (int cell = 0; cell < 36; ++cell) {
            grid.gridMap.Push('Q');
        }
        for (int i = 0; i < 3; ++i) {
            grid.gridMap(i) = "CAT"[i];
            grid.wordTrails.Push(i);
        }
        WordsearchDataWord& word = grid.words(grid.words.Add());
        std::strcpy(word.word, "CAT");
        word.cellStartIndex = 0;
        word.cellEndIndex = 2;
        for (int i = 0; line[i] != 0; ++i) {
            grid.gridMap(start + i * (dx + dy * 6)) = line[i];
        }
        return grid;
    };
    const datatool::FamilyFilter& family = real_vocabulary::Rules().family;
    EXPECT_TRUE(content_checks::GridLineProblems(gridWith("QQQQQQ", 1, 0, 30), family).empty());
    EXPECT_FALSE(content_checks::GridLineProblems(gridWith("RAPING", 1, 0, 30), family).empty());
    EXPECT_FALSE(content_checks::GridLineProblems(gridWith("SDIY", -1, 1, 11), family).empty());
    EXPECT_FALSE(content_checks::GridLineProblems(gridWith("EGNIM", 0, -1, 35), family).empty());
}

TEST(ContentChecks, AHiddenWordTwiceInABankIsAFault) {
    EXPECT_EQ(content_checks::RepeatedWords({"STRANGER", "FORBID", "STRANGER", "OTTER"}),
              std::vector<std::string>{"STRANGER"});
    EXPECT_TRUE(content_checks::RepeatedWords({"STRANGER", "OTTER"}).empty());
}

} // namespace
