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
        {"SLUTTISH", true},
        {"BITCHIEST", true},
        {"PIMPING", true},
        {"MASSACRING", true},
        {"SLAVING", true},
        {"FOREPLAY", true},
        {"GYP", true},
        {"HOS", true},
        {"PHONY", true},
        {"AMPUL", true},
        {"EYING", true},
        {"YRS", true},
        {"LBS", true},
        {"RPM", true},
        {"YESES", true},
        {"ETC", true},
        {"PHONEY", false},
        {"BUTTER", false},
        {"ASSESS", false},
        {"GYM", false},
        {"SLAVE", true},
        {"CRYPT", false},
        // Violence, weapons and drugs, in every form.
        {"BOMBING", true},
        {"POISONING", true},
        {"SLAYING", true},
        {"STRANGLE", true},
        {"SHOOTERS", true},
        {"MISCARRIAGE", true},
        {"OPIUM", true},
        {"GUNNER", true},
        {"SHOOT", false},
        {"STABLE", false},
        {"HEROINE", false},
        // British slang a child should not find, and the words it lies in.
        {"PAEDO", true},
        {"PEDOS", true},
        {"NONCE", true},
        {"NOB", true},
        {"NOBLY", false},
        {"PEDOMETER", false},
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
        {"A leguminous plant of the genus Pisum (3)", true},
        {"Any of various plants of various genera of the family Compositae (11)", true},
        {"Lean flesh of American fishes of the family Centrarchidae (7)", true},
        {"Old World vine with lobed evergreen leaves (3)", true},
        {"A Japanese warrior (7)", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(
            !content_checks::ClueProblems(test.clue, "CLUE", real_vocabulary::Rules(), *lexicon)
                 .empty(),
            test.fault)
            << test.clue;
    }
}

TEST(ContentChecks, WordsTooRareForTheDifficultyAmericanSexualOrASpecialistsAreFaults) {
    const datatool::WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    const datatool::CorpusCounts* counts = real_vocabulary::Counts();
    ASSERT_TRUE(lexicon != nullptr && counts != nullptr);
    const struct {
        const char* word;
        int difficulty;
        bool fault;
    } cases[] = {
        {"KUDZU", 3, true},      {"ABLER", 3, true},   {"GLORIED", 3, true},
        {"WIRELESSES", 3, true}, {"MOP", 0, true},     {"MOP", 3, false},
        {"SIDEWALK", 3, true},   {"ANYMORE", 3, true}, {"AROUSAL", 3, true},
        {"VOLUPTUOUS", 3, true}, {"HOURS", 0, false},  {"CHIPS", 1, false},
        {"PAVEMENT", 2, false},  {"GARDEN", 4, true},  {"SHORTSTOP", 3, true},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(!content_checks::CommonWordProblems(test.word, test.difficulty, *counts, *lexicon)
                       .empty(),
                  test.fault)
            << test.word << " " << test.difficulty;
    }
    // Words outside the everyday ones below the hardest difficulty, rare or clipped.
    const struct {
        const char* word;
        int difficulty;
        bool fault;
    } specialist[] = {
        {"LIPID", 1, true},  {"LIPID", 3, false},  {"COPRA", 3, true}, {"INTRO", 3, true},
        {"OUTAGE", 3, true}, {"GARDEN", 0, false}, {"EXAM", 0, false},
    };
    for (const auto& test : specialist) {
        EXPECT_EQ(!content_checks::EverydayProblems(test.word, test.difficulty, *counts, *lexicon)
                       .empty(),
                  test.fault)
            << test.word << " " << test.difficulty;
    }
}

// A clue for its answer, and whether a checker finds a fault in it.
struct ClueCase {
    const char* clue;
    const char* answer;
    bool fault;
};

template <typename Checker>
void ExpectClueFaults(const std::vector<ClueCase>& cases, Checker problems) {
    const datatool::WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    for (const ClueCase& test : cases) {
        EXPECT_EQ(!problems(test.clue, test.answer, real_vocabulary::Rules(), *lexicon).empty(),
                  test.fault)
            << test.clue;
    }
}

TEST(ContentChecks, CluesInADictionarysVoiceOfAnAmericanFieldOrOfTheWrongNumberAreFaults) {
    ExpectClueFaults(
        {
            {"A late time of life (5)", "YEARS", true},
            {"A period of time assigned for work (5)", "HOURS", true},
            {"Weapons considered collectively (4)", "ARMS", false},
            {"A usually soluble substance for staining or colouring e.g. fabrics (3)", "DYE", true},
            {"Acute abdominal pain (especially in infants) (5)", "COLIC", true},
            {"A drama set to music; consists of singing (5)", "OPERA", true},
            {"Of or relating to tides (5)", "TIDAL", true},
            {"Informal terms for the leg (3)", "PIN", true},
            {"A base hit in baseball (5)", "HOMER", true},
            {"A successful forward pass in football (10)", "COMPLETION", true},
            {"A soluble substance for staining or colouring (3)", "DYE", false},
            {"Relating to tides (5)", "TIDAL", false},
            {"Of or relating or belonging to a city (5)", "CIVIC", true},
            {"Primarily temporal sense (5)", "SHORT", true},
            {"An udder or breast (3)", "DUG", true},
            {"Turn up earth with a spade (3)", "DIG", false},
            {"An arm off of a larger body of water (5)", "INLET", true},
            {"You advance to the next round without playing an opponent (3)", "BYE", true},
            {"The theory that consumption pays (11)", "CONSUMERISM", true},
            {"A law officer like a sheriff (7)", "MARSHAL", true},
        },
        content_checks::ClueProblems);
}

TEST(ContentChecks, DictionaryCluesCutToAFragmentTooLongOrOfASpecialFieldAreFaults) {
    ExpectClueFaults(
        {
            {"That may (11)", "PERMISSIBLE", true},
            {"Declare invalid (5)", "ANNUL", false}, // a whole definition
            {"Exchange positions without a change in value (7)", "COMMUTE", true},
            {"Travel back and forth regularly (7)", "COMMUTE", false},
            {"Material consisting of seed coverings and small pieces of stem (5)", "CHAFF", true},
        },
        content_checks::DictionaryClueProblems);
}

TEST(ContentChecks, AClueThatNamesAnotherAnswerOfItsGridIsAFault) {
    const auto crosswordOf = [](const std::vector<std::pair<const char*, const char*>>& words) {
        CrosswordData crossword;
        for (const auto& [answer, clue] : words) {
            CrosswordDataWord& word = crossword.words(crossword.words.Add());
            std::strcpy(word.word, answer);
            std::strcpy(word.clue, clue);
        }
        return crossword;
    };
    EXPECT_FALSE(content_checks::ClueNamesAnotherAnswerProblems(
                     crosswordOf({{"SHALLOW", "Superficial (7)"}, {"SUPERFICIAL", "Shallow (11)"}}))
                     .empty());
    EXPECT_FALSE(content_checks::ClueNamesAnotherAnswerProblems(
                     crosswordOf({{"TABLE", "Chart of figures (5)"}, {"CHART", "Sea map (5)"}}))
                     .empty());
    EXPECT_TRUE(content_checks::ClueNamesAnotherAnswerProblems(
                    crosswordOf({{"TABLE", "Chart of figures (5)"}, {"CHAR", "Scorch (4)"}}))
                    .empty());
}

TEST(ContentChecks, WordsThatSpellAThemesAffixWithoutCarryingItAreFaults) {
    const datatool::WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    const struct {
        const char* title;
        const char* word;
        bool fault;
    } cases[] = {
        {"Ending in ABLE", "FABLE", true},     {"Ending in ABLE", "GABLE", true},
        {"Ending in ABLE", "AMICABLE", false}, {"Ending in OUS", "BURNOUS", true},
        {"Ending in OUS", "MARABOUS", true},   {"Ending in OUS", "FAMOUS", false},
        {"Ending in ING", "CASTLE", true},     {"Beginning with UN", "UNDERACTS", true},
        {"Beginning with UN", "UNTIE", false}, {"Starting with B", "BURNOUS", false},
        {"Double L", "BALLET", false},         {"Ending in ER", "MOTHER", true},
        {"Ending in ER", "HEATHER", true},     {"Ending in ER", "WELDER", false},
        {"Ending in ER", "EASIER", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(!content_checks::ThemeProblems(test.title, test.word, *lexicon).empty(),
                  test.fault)
            << test.title << " " << test.word;
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

TEST(ContentChecks, SensitiveWordsAndCluesBelowDifficultyTwoAreFaults) {
    const datatool::ContentRules& rules = real_vocabulary::Rules();
    const struct {
        const char* text;
        int difficulty;
        bool fault;
    } cases[] = {
        {"FATTY", 0, true},
        {"FATTY", 2, false},
        {"DYING", 1, true},
        {"WARS", 1, true},
        {"WARS", 3, false},
        {"WARY", 0, false},
        {"FATHER", 0, false},
        {"ROBES", 0, false},
        {"A place where the dead are buried (8)", 1, true},
        {"A place where the dead are buried (8)", 2, false},
        {"A human limb (3)", 0, false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(!content_checks::SensitiveProblems(test.text, test.difficulty, rules).empty(),
                  test.fault)
            << test.text << " " << test.difficulty;
    }
}

TEST(ContentChecks, AListWordInsideAnotherOrOfItsFamilyIrregularFormsTooIsAFault) {
    const datatool::WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    const struct {
        std::vector<std::string> words;
        bool fault;
    } cases[] = {
        {{"GARDEN", "OUTLINE", "OUTLINING"}, true},
        {{"HEART", "EARTH", "HEARTH"}, true},
        {{"BATTED", "BATS"}, true},
        {{"OVERSAW", "GARDEN", "OVERSEEN"}, true},
        {{"WORST", "WORSE"}, true},
        {{"FALLS", "FELL"}, true},
        {{"BRINGS", "BROUGHT"}, true},
        {{"GARDEN", "OUTLINE", "HEART"}, false},
        {{"FELL", "BROUGHT", "DRIVEN"}, false},
        {{"EDITS", "EDITION"}, true},
        {{"WITHDRAWN", "WITHDRAWAL"}, true},
        {{"NARRATING", "NARRATION"}, true},
        {{"LEGAL", "LEGS"}, false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(!content_checks::KindredWordProblems(test.words, *lexicon).empty(), test.fault)
            << test.words[0] << " " << test.words[1];
    }
}

TEST(ContentChecks, AHiddenWordWhoseLettersSpellAnotherWordOrOfAnAnswersFamilyIsAFault) {
    const datatool::WordNetLexicon* lexicon = real_vocabulary::Lexicon();
    ASSERT_NE(lexicon, nullptr);
    const std::vector<std::size_t> dictionary =
        content_checks::DictionaryLetterSets(datatool::kDefaultWordListPath);
    const struct {
        const char* hidden;
        std::vector<std::string> answers;
        bool fault;
    } cases[] = {
        {"UNDER", {}, true}, // "nuder", a form of a blocked word
        {"CRUST", {}, true}, // "curst"
        {"NATURE", {"EAGLE", "NATURAL"}, true},
        {"PAIRS", {"AIR"}, false},
    };
    for (const auto& test : cases) {
        const std::vector<std::string> anagrams = content_checks::HiddenWordProblems(
            test.hidden, dictionary, real_vocabulary::Rules().family);
        const std::vector<std::string> kin =
            content_checks::HiddenWordKinProblems(test.hidden, test.answers, *lexicon);
        EXPECT_EQ(!anagrams.empty() || !kin.empty(), test.fault) << test.hidden;
    }
}

TEST(ContentChecks, AHiddenWordTwiceInABankIsAFault) {
    EXPECT_EQ(content_checks::RepeatedWords({"STRANGER", "FORBID", "STRANGER", "OTTER"}),
              std::vector<std::string>{"STRANGER"});
    EXPECT_TRUE(content_checks::RepeatedWords({"STRANGER", "OTTER"}).empty());
}

} // namespace
