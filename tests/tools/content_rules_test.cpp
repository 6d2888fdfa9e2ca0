// The family filter and the British spellings that every word puzzle generator follows.
#include "puzzles/content_rules.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace datatool;

namespace {

FamilyFilter FilterOf(const std::string& text) {
    std::istringstream lines(text);
    return FamilyFilter(WordExclusions::Parse(lines));
}

TEST(FamilyFilter, BlocksWholeWordsStemsAndPartsInWordsAndTexts) {
    const FamilyFilter filter = FilterOf("# a comment\nrude\nrudes\nnasty*\n*grim*  # anywhere\n");
    const struct {
        const char* text;
        bool blocked;
    } cases[] = {
        {"RUDE", true},        {"Rudes", true},         {"prude", false},     {"rudeness", false},
        {"nastygram", true},   {"dynasty", false},      {"begrimed", true},   {"grim", true},
        {"a rude word", true}, {"prudent folk", false}, {"so, Nasty!", true}, {"", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(filter.BlocksText(test.text), test.blocked) << test.text;
    }
}

TEST(FamilyFilter, FindsEverySpellingInsideLettersAndEveryAnagram) {
    const FamilyFilter filter = FilterOf("rude\nnasty*\n*grim*\n");
    using Found = std::vector<std::pair<std::size_t, std::size_t>>;
    EXPECT_EQ(filter.FindSpellings("XRUDEXXRUDE"), (Found{{1, 4}, {7, 4}}));
    EXPECT_EQ(filter.FindSpellings("PRUDENASTYGRIM"), (Found{{1, 4}, {5, 5}, {10, 4}}));
    EXPECT_TRUE(filter.FindSpellings("rude").empty()); // upper case only
    EXPECT_TRUE(filter.IsAnagramOfBlockedWord("DURE"));
    EXPECT_TRUE(filter.IsAnagramOfBlockedWord("MIRG"));
    EXPECT_FALSE(filter.IsAnagramOfBlockedWord("DUREE"));
}

TEST(BritishSpellings, RewritesWholeUsWordsKeepingTheirCapital) {
    std::istringstream lines("# us british\ncolor colour\ncenter centre\nbroken\n\n");
    const BritishSpellings spellings = BritishSpellings::Parse(lines);
    const struct {
        const char* text;
        const char* british;
        const char* firstUs;
    } cases[] = {
        {"the color of the center", "the colour of the centre", "color"},
        {"Color, not colors", "Colour, not colors", "Color"},
        {"colorful epicenter", "colorful epicenter", ""},
        {"broken glass", "broken glass", ""},
        {"", "", ""},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(spellings.Anglicised(test.text), test.british) << test.text;
        EXPECT_EQ(spellings.FirstUsSpelling(test.text), test.firstUs) << test.text;
    }
}

TEST(ContentRules, AListThatCannotBeReadGivesNothingAndItsPath) {
    std::string error;
    EXPECT_FALSE(LoadContentRules(PUZZLES_RULES_DIR "/excluded_words.txt", "/nonexistent/block",
                                  PUZZLES_RULES_DIR "/british_spellings.txt", error));
    EXPECT_NE(error.find("/nonexistent/block"), std::string::npos) << error;
}

} // namespace
