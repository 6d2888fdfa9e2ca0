// Word counts read from a language model's unigrams, and the British and American pair.
#include "puzzles/word_counts.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace datatool;

namespace {

WordCounts CountsOf(const std::string& text) {
    std::istringstream lines(text);
    return WordCounts::Parse(lines);
}

TEST(WordCounts, ReadsTheLowerCaseWordsOfTheUnigramsAlone) {
    const WordCounts counts = CountsOf("\n\\data\\\nngram 1=7\nngram 2=1\n\n\\1-grams:\n"
                                       "1 <unk>\n984 A-1\n32347 Abbey\n1206 abbey\r\n"
                                       "12 sheep\nx lamb\n-3 goat\n500 two words\n77 ram\n"
                                       "\n\\2-grams:\n900 the sheep\n\\end\\\n");
    const struct {
        const char* word;
        int count;
    } cases[] = {
        {"abbey", 1206}, {"sheep", 12}, {"ram", 77},  {"Abbey", 0}, {"lamb", 0},
        {"goat", 0},     {"two", 0},    {"<unk>", 0}, {"the", 0},   {"", 0},
        {"abbeys", 0},   {"abbe", 0},   {"zzz", 0},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(counts.Count(test.word), test.count) << test.word;
    }
}

TEST(WordCounts, WithoutUnigramsOrFileGivesNothing) {
    EXPECT_EQ(CountsOf("500 sheep\n").Count("sheep"), 0);
    EXPECT_FALSE(WordCounts::Load("/nonexistent/en_GB.lm"));
    std::string error;
    EXPECT_FALSE(LoadCorpusCounts("/nonexistent", kDefaultEverydayWordsPath, error));
    EXPECT_NE(error.find("/nonexistent/en_GB.lm"), std::string::npos) << error;
    EXPECT_FALSE(LoadCorpusCounts(kDefaultWordCountsPath, "/nonexistent/small", error));
    EXPECT_NE(error.find("/nonexistent/small"), std::string::npos) << error;
}

TEST(WordCounts, MarksTheCountedWordsOfAnEverydayList) {
    WordCounts counts = CountsOf("\\1-grams:\n900 garden\n800 lipid\n700 shed\n");
    std::istringstream everyday("shed\nApple\ngarden\r\nzebra\n");
    counts.MarkEveryday(everyday);
    EXPECT_TRUE(counts.IsEveryday("garden"));
    EXPECT_TRUE(counts.IsEveryday("shed"));
    EXPECT_FALSE(counts.IsEveryday("lipid"));
    EXPECT_FALSE(counts.IsEveryday("zebra")); // not counted
    EXPECT_EQ(counts.Count("garden"), 900);
}

TEST(CorpusCounts, AWordTheAmericanModelAloneCountsIsAmerican) {
    const CorpusCounts counts{CountsOf("\\1-grams:\n900 pavement\n800 colour\n700 sheep\n"),
                              CountsOf("\\1-grams:\n600 sidewalk\n800 color\n700 sheep\n")};
    EXPECT_TRUE(counts.IsAmerican("sidewalk"));
    EXPECT_TRUE(counts.IsAmerican("color"));
    EXPECT_FALSE(counts.IsAmerican("sheep"));
    EXPECT_FALSE(counts.IsAmerican("pavement"));
    EXPECT_FALSE(counts.IsAmerican("kudzu"));
}

} // namespace
