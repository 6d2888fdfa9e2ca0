// The list files datatool puzzles reads: what is not a list of its format is refused by file
// and line, and every list the disc's bank is made from is taken.
#include "puzzles/list_file.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace datatool;
using namespace std::string_view_literals;

namespace {

struct ListCase {
    ListFormat format;
    std::string_view text;
    const char* fault; // the start of the reason; empty when the list is taken
};

void ExpectChecked(const ListCase& test) {
    const std::string fault = ListFault(test.text, "list.txt", test.format);
    EXPECT_EQ(fault.substr(0, std::string_view(test.fault).size()), test.fault)
        << "'" << test.text << "' gave '" << fault << "'";
    EXPECT_EQ(fault.empty(), *test.fault == '\0') << fault;
}

TEST(ListFile, TakesEveryFormOfEachFormat) {
    const ListCase cases[] = {
        {ListFormat::kWordRules,
         "# comment\nword\n\nstem*  # and its kin\n*part*\n=abbr\n!kept\ngas: a pedal that\r\n"sv,
         ""},
        {ListFormat::kSpellings, "# US, British\ncolor colour\n\tgray\tgrey  # a comment\n"sv, ""},
        {ListFormat::kClues, "# comment\n\nABBEY|Monastery church\n"sv, ""},
        {ListFormat::kDictionary, "cat\nbird's\ncaf\xc3\xa9\nwell-known\r\n\n"sv, ""},
    };
    for (const ListCase& test : cases) {
        ExpectChecked(test);
    }
}

TEST(ListFile, RefusesWhatIsNoListNamingTheFileAndLine) {
    const ListCase cases[] = {
        {ListFormat::kWordRules, ""sv, "list.txt: no entries; each line should give a lower-case"},
        {ListFormat::kClues, "# comments alone\n\n"sv, "list.txt: no entries"},
        {ListFormat::kDictionary, "cat\ndo\0g\n"sv, "list.txt:2: a NUL byte"},
        {ListFormat::kWordRules, "# a NUL\0 in a comment\nword\n"sv, "list.txt:1: a NUL byte"},
        {ListFormat::kDictionary, "\x89PNG\r\n\x1a\n\0\0"sv, "list.txt:1: a byte 0x89 that is not"},
        {ListFormat::kClues, "ABBEY|Abbey\n\x1a\n"sv, "list.txt:2: a control byte 0x1a"},
        {ListFormat::kSpellings, "color\rcolour\n"sv, "list.txt:1: a control byte 0x0d"},
        {ListFormat::kWordRules, "ok\nFoo\n"sv, "list.txt:2: 'Foo' is not a lower-case word,"},
        {ListFormat::kWordRules, "*part\n"sv, "list.txt:1: '*part' is not"},
        {ListFormat::kWordRules, "ice cream\n"sv, "list.txt:1: 'ice cream' is not"},
        {ListFormat::kWordRules, "gas:  # no sense\n"sv, "list.txt:1: 'gas:' is not"},
        {ListFormat::kWordRules, "caf\xc3\xa9\n"sv, "list.txt:1: 'caf\\xc3\\xa9' is not"},
        {ListFormat::kSpellings, "color\n"sv, "list.txt:1: 'color' is not a US spelling"},
        {ListFormat::kSpellings, "color colour hue\n"sv, "list.txt:1: 'color colour hue' is not"},
        {ListFormat::kDictionary, "two words\n"sv, "list.txt:1: 'two words' is not a word"},
        {ListFormat::kDictionary, "cat\n1984\n"sv, "list.txt:2: '1984' is not a word"},
    };
    for (const ListCase& test : cases) {
        ExpectChecked(test);
    }
}

TEST(ListFile, TakesEveryListTheBankIsMadeFrom) {
    const std::string rules = PUZZLES_RULES_DIR;
    const std::pair<std::string, ListFormat> lists[] = {
        {rules + "/excluded_words.txt", ListFormat::kWordRules},
        {rules + "/blocked_words.txt", ListFormat::kWordRules},
        {rules + "/sensitive_words.txt", ListFormat::kWordRules},
        {rules + "/british_spellings.txt", ListFormat::kSpellings},
        {rules + "/clues.txt", ListFormat::kClues},
        {"/usr/share/dict/british-english", ListFormat::kDictionary},
        {"/usr/share/dict/british-english-small", ListFormat::kDictionary},
    };
    for (const auto& [path, format] : lists) {
        std::string error;
        EXPECT_TRUE(ReadListFile(path, format, error).has_value()) << error;
    }
}

TEST(ListFile, ReadsARegularFileAlone) {
    for (const char* path : {"/nonexistent/list.txt", "/dev/zero", "/tmp"}) {
        std::string error;
        EXPECT_FALSE(ReadListFile(path, ListFormat::kDictionary, error).has_value()) << path;
        EXPECT_NE(error.find(std::string("'") + path + "' is not a file"), std::string::npos)
            << error;
    }
}

} // namespace
