// The family filter and the British spellings that every word puzzle generator follows.
#include "family_filter_text.h"
#include "wordnet_fixture.h"

#include "puzzles/content_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace datatool;

namespace {

TEST(FamilyFilter, BlocksWholeWordsStemsAndPartsInWordsAndTexts) {
    const FamilyFilter filter = FilterOf("# a comment\nrude\nrudes\nnasty*\n*grim*  # anywhere\n");
    const struct {
        const char* text;
        bool blocked;
    } cases[] = {
        {"RUDE", true},        {"Rudes", true},         {"prude", false},     {"rudeness", true},
        {"nastygram", true},   {"dynasty", false},      {"begrimed", true},   {"grim", true},
        {"a rude word", true}, {"prudent folk", false}, {"so, Nasty!", true}, {"", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(filter.BlocksText(test.text), test.blocked) << test.text;
    }
}

TEST(FamilyFilter, FindsEveryBlockedWordInsideLettersWithItsFormsAndEveryAnagram) {
    const FamilyFilter filter = FilterOf("rude\nnasty*\n*grim*\nrape\nho\nhorny\n");
    using Found = std::vector<std::pair<std::size_t, std::size_t>>;
    EXPECT_EQ(filter.FindBlockedWords("XRUDEXXRUDE"), (Found{{1, 4}, {7, 4}}));
    // Three in one line, each from where it begins, read on where a stem goes on or a part
    // comes after (RUDE up to the GRIM it then holds).
    EXPECT_EQ(filter.FindBlockedWords("PRUDENASTYGRIM"),
              (Found{{1, 4}, {1, 13}, {5, 5}, {5, 6}, {5, 7}, {5, 8}, {5, 9}, {10, 4}}));
    // Read on past an entry into its family's forms, past a part into every word holding it.
    EXPECT_EQ(filter.FindBlockedWords("GRAPESQ"), (Found{{1, 4}, {1, 5}}));
    EXPECT_EQ(filter.FindBlockedWords("XHOESX"), (Found{{1, 4}}));
    EXPECT_EQ(filter.FindBlockedWords("AGRIMB"), (Found{{1, 4}, {1, 5}}));
    EXPECT_EQ(filter.FindBlockedWords("XNASTIER"), (Found{{1, 7}}));
    // Forms that do not hold their word whole.
    EXPECT_EQ(filter.FindBlockedWords("XXRAPINGX"), (Found{{2, 6}}));
    EXPECT_EQ(filter.FindBlockedWords("HORNIEST"), (Found{{0, 7}, {0, 8}}));
    EXPECT_EQ(filter.FindBlockedWords("THOSE"), (Found{{1, 3}}));
    EXPECT_TRUE(filter.FindBlockedWords("rude").empty()); // upper case only
    EXPECT_TRUE(filter.FindBlockedWords("HOTEL").empty());
    EXPECT_TRUE(filter.IsAnagramOfBlockedWord("DURE"));
    EXPECT_TRUE(filter.IsAnagramOfBlockedWord("MIRG"));
    EXPECT_FALSE(filter.IsAnagramOfBlockedWord("DUREE"));
    EXPECT_TRUE(filter.IsAnagramOfBlockedWord("DURER")); // "ruder"
    EXPECT_TRUE(filter.IsAnagramOfBlockedWord("HOSE"));  // "hoes"
}

TEST(FamilyForms, SpellEachEndingAsEnglishWritesIt) {
    const struct {
        const char* word;
        const char* form;
        bool made;
    } cases[] = {
        {"nude", "nuder", true},       {"nude", "nudeer", false},        {"slut", "sluttish", true},
        {"pimp", "pimpping", false},   {"bitch", "bitches", true},       {"bitch", "bitchs", false},
        {"bitchy", "bitchiest", true}, {"massacre", "massacring", true}, {"nob", "nobed", false},
        {"vomit", "vomiting", true},
    };
    for (const auto& test : cases) {
        const std::vector<std::string> forms = FamilyForms(test.word);
        EXPECT_EQ(std::find(forms.begin(), forms.end(), test.form) != forms.end(), test.made)
            << test.word << " " << test.form;
    }
    EXPECT_TRUE(FamilyForms("").empty()); // a blocklist line "*"
}

TEST(WordExclusions, LeaveOutEveryFormOfAFamilyButWordsKeptAndOneWordEntriesAlone) {
    std::istringstream lines("slut\nbitchy\nmassacre*\npimp\nbutt\n!butter\npee\n=etc\nho\n"
                             "rape\ngas: a volatile mixture\n");
    const WordExclusions exclusions = WordExclusions::Parse(lines);
    const struct {
        const char* word;
        bool excluded;
    } cases[] = {
        {"sluttish", true},   {"sluts", true},      {"slutty", true},    {"bitchiest", true},
        {"bitchiness", true}, {"massacring", true}, {"massacred", true}, {"pimping", true},
        {"butts", true},      {"butter", false},    {"peed", true},      {"peeing", true},
        {"peer", false},      {"etc", true},        {"etcs", false},     {"hos", true},
        {"hose", false},      {"raping", true},     {"grape", false},    {"rapt", false},
        {"pimpernel", false}, {"gas", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(exclusions.Excludes(test.word), test.excluded) << test.word;
    }
    EXPECT_TRUE(exclusions.ExcludesSense("gas", "A volatile mixture of hydrocarbons"));
    EXPECT_FALSE(exclusions.ExcludesSense("gas", "a state of matter"));
    EXPECT_FALSE(exclusions.ExcludesSense("gasoline", "a volatile mixture of hydrocarbons"));
}

// Counts of the words, British and American, each "count word" line in a model's
// unigrams.
CorpusCounts CountsOf(const std::string& british, const std::string& american) {
    std::istringstream britishLines("\\1-grams:\n" + british);
    std::istringstream americanLines("\\1-grams:\n" + american);
    return CorpusCounts{WordCounts::Parse(britishLines), WordCounts::Parse(americanLines)};
}

TEST(SetterWords, TakeWordNetsWordsWithAVowelInBritishSpellingAndUsualForms) {
    wordnet_fixture::WordNetFolder folder;
    folder.AddSynset("noun", {"run"}, "a race");
    folder.AddSynset("noun", {"in", "inch"}, "a unit of length");
    folder.AddSynset("noun", {"INS"}, "an agency");
    folder.AddSynset("noun", {"gas"}, "a fluid");
    folder.AddSynset("noun", {"Ga"}, "a metal");
    folder.AddSynset("noun", {"th"}, "a metal");
    folder.AddSynset("noun", {"kudzu"}, "a vine");
    folder.AddSynset("noun", {"sidewalk"}, "a paved walk");
    folder.AddSynset("noun", {"arousal"}, "a state of sexual excitement");
    folder.AddSynset("noun", {"arousal"}, "a waking from sleep");
    folder.AddSynset("noun", {"year", "yr"}, "a period of time");
    folder.AddSynset("adj", {"same"}, "identical");
    folder.AddSynset("adj", {"sticky"}, "tending to stick");
    folder.AddSynset("verb", {"eye"}, "look at", {}, "39", {8});
    folder.AddSynset("noun", {"weekend"}, "a time for rest");
    folder.AddSynset("verb", {"weekend"}, "spend a weekend", {}, "42", {2});
    folder.AddUseCount("weekend%1:28:00:: 1 13");
    // Words outside the everyday ones: a specialist's word counted often enough, one
    // counted too seldom, and a clipping.
    folder.AddSynset("noun", {"lipid"}, "an oily compound");
    folder.AddSynset("noun", {"copra"}, "dried coconut meat");
    folder.AddSynset("noun", {"introduction", "intro"}, "a first part");
    const std::optional<WordNetLexicon> lexicon =
        WordNetLexicon::Load(folder.Write("content_rules_test"));
    ASSERT_TRUE(lexicon.has_value());
    std::istringstream exclusions("=etc\n");
    std::istringstream blocked("");
    std::istringstream spellings("eying eyeing\n");
    const ContentRules rules{WordExclusions::Parse(exclusions),
                             FamilyFilter(WordExclusions::Parse(blocked)),
                             BritishSpellings::Parse(spellings),
                             {}};
    CorpusCounts counts =
        CountsOf("600 runs\n700 stickiest\n800 eyeing\n900 eying\n500 weekends\n600 weekended\n"
                 "900 ins\n900 gas\n900 thy\n700 arousal\n900 etc\n900 walks\n900 yrs\n800 sames\n"
                 "5000 lipid\n1900 copra\n5000 intro\n",
                 "600 runs\n900 sidewalk\n");
    std::istringstream everyday("runs\nstickiest\neyeing\neying\nweekends\nweekended\nins\ngas\n"
                                "thy\narousal\netc\nwalks\nyrs\nsames\n");
    counts.british.MarkEveryday(everyday);
    EXPECT_EQ(
        SetterWords({"RUNS", "YRS", "SAMES", "STICKIEST", "EYING", "EYEING", "WEEKENDS",
                     "WEEKENDED", "ETC", "WALKS", "INS", "GAS", "THY", "KUDZU", "SIDEWALK",
                     "AROUSAL", "LIPID", "COPRA", "INTRO"},
                    *lexicon, rules, counts),
        (std::vector<std::string>{"RUNS", "STICKIEST", "EYEING", "WEEKENDS", "GAS", "LIPID"}));
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
    EXPECT_TRUE(spellings.IsUsSpelling("Color"));
    EXPECT_FALSE(spellings.IsUsSpelling("colour"));
}

TEST(ContentRules, AListThatCannotBeReadGivesNothingAndItsPath) {
    std::string error;
    EXPECT_FALSE(
        LoadContentRules({PUZZLES_RULES_DIR "/excluded_words.txt", "/nonexistent/block",
                          PUZZLES_RULES_DIR "/british_spellings.txt",
                          PUZZLES_RULES_DIR "/sensitive_words.txt", PUZZLES_RULES_DIR "/clues.txt"},
                         error));
    EXPECT_NE(error.find("/nonexistent/block"), std::string::npos) << error;
}

// The real lists, with a clue list of the text written beside the test program.
std::optional<ContentRules> LoadWithClues(const std::string& clueLines, std::string& error) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "content_rules_test_clues.txt";
    std::ofstream(path) << clueLines;
    std::optional<ContentRules> rules = LoadContentRules(
        {PUZZLES_RULES_DIR "/excluded_words.txt", PUZZLES_RULES_DIR "/blocked_words.txt",
         PUZZLES_RULES_DIR "/british_spellings.txt", PUZZLES_RULES_DIR "/sensitive_words.txt",
         path.string()},
        error);
    std::filesystem::remove(path);
    return rules;
}

TEST(ContentRules, AnAnswerTheClueListMarksUnfitIsExcludedAsThatWordAlone) {
    std::string error;
    const std::optional<ContentRules> rules =
        LoadWithClues("TEMPO|-\nABBEY|Monastery church\n", error);
    ASSERT_TRUE(rules.has_value()) << error;
    EXPECT_TRUE(rules->exclusions.Excludes("tempo"));
    EXPECT_FALSE(rules->exclusions.Excludes("tempos"));
    EXPECT_FALSE(rules->exclusions.Excludes("abbey"));
    EXPECT_TRUE(rules->exclusions.Excludes("clii")); // the exclusion list's own words stay
    EXPECT_TRUE(rules->clues.HasClues("ABBEY"));
}

TEST(ContentRules, ABadLineOfTheClueListGivesNothingAndItsFileAndLine) {
    std::string error;
    EXPECT_FALSE(LoadWithClues("ABBEY|Monastery church\nTEMPO\n", error).has_value());
    EXPECT_NE(error.find("content_rules_test_clues.txt:2: "), std::string::npos) << error;
}

} // namespace
