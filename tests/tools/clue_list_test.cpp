// The hand-written clue list: its reader, which refuses a bad line by file and line.
#include "puzzles/clue_list.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace datatool;

namespace {

std::optional<ClueList> ParseList(const std::string& text, std::string& error) {
    std::istringstream lines(text);
    return ClueList::Parse(lines, "clues.txt", error);
}

TEST(ClueList, ReadsAnswersWithTheirCluesAndTheAnswersMarkedUnfit) {
    std::string error;
    const std::optional<ClueList> list = ParseList("# header\n"
                                                   "TEMPO|Pace|Speed of a piece of music\r\n"
                                                   "\n"
                                                   "ABBEY|Monastery church\n"
                                                   "GAMMA|-\n",
                                                   error);
    ASSERT_TRUE(list.has_value()) << error;
    ASSERT_EQ(list->Answers().size(), 3u);
    EXPECT_EQ(list->Answers()[0].answer, "ABBEY");
    const ListedAnswer* tempo = list->Find("TEMPO");
    ASSERT_NE(tempo, nullptr);
    EXPECT_EQ(tempo->clues, (std::vector<std::string>{"Pace", "Speed of a piece of music"}));
    EXPECT_EQ(tempo->line, 2);
    EXPECT_TRUE(list->HasClues("ABBEY"));
    EXPECT_NE(list->Find("GAMMA"), nullptr);
    EXPECT_FALSE(list->HasClues("GAMMA"));
    EXPECT_EQ(list->Find("ABBOT"), nullptr);
    EXPECT_FALSE(list->HasClues("ABBOT"));
}

TEST(ClueList, RefusesABadLineNamingTheFileAndTheLine) {
    const struct {
        const char* secondLine;
        const char* reason;
    } kBadLines[] = {
        {"abbey|Monastery church", "upper-case"},
        {"ABBEY", "0 clues"},
        {"ABBEY|", "empty clue"},
        {"ABBEY|One|Two|Three|Four|Five|Six", "6 clues"},
        {"ABBEY|-|Monastery church", "no letter"},
        {"ABBEY|A clue that goes on and on far beyond what fits a grid's clue line", "too long"},
        {"ABBEY|Monastery church ", "blank"},
        {"ABBEY|Monast\xC3\xA8re", "ASCII"},
        {"TEMPO|Pace", "listed again (first on line 1)"},
    };
    for (const auto& bad : kBadLines) {
        std::string error;
        EXPECT_FALSE(ParseList(std::string("TEMPO|Speed\n") + bad.secondLine + "\n", error))
            << bad.secondLine;
        EXPECT_EQ(error.rfind("clues.txt:2: ", 0), 0u) << error;
        EXPECT_NE(error.find(bad.reason), std::string::npos) << error;
    }
}

} // namespace
