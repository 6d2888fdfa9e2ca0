// The WordNet reader on a small database in WordNet's own formats.
#include "wordnet_fixture.h"

#include "puzzles/wordnet_lexicon.h"

#include <gtest/gtest.h>

using namespace datatool;

namespace {

class WordNetLexiconTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        wordnet_fixture::WordNetFolder folder;
        folder.AddSynset("noun", {"run", "running"},
                         "a race run on foot; \"she broke the record\"");
        folder.AddSynset("noun", {"run"}, "a score in baseball");
        folder.AddSynset("verb", {"run"}, "move fast by using one's feet");
        folder.AddSynset("noun", {"China", "PRC"}, "a communist nation in eastern Asia");
        folder.AddSynset("noun", {"china"}, "high quality porcelain");
        folder.AddSynset("noun", {"church"}, "a place for public worship");
        folder.AddSynset("adj", {"happy"}, "enjoying well-being");
        folder.AddSynset("verb", {"detect"}, "discover", {}, "39", {8, 11});
        folder.AddSynset("verb", {"sleep"}, "be asleep", {}, "29", {2});
        folder.AddSynset("verb", {"hide"}, "keep out of sight", {}, "39", {8});
        folder.AddSynset("noun", {"weekend"}, "a time for rest");
        folder.AddSynset("verb", {"weekend"}, "spend a weekend", {}, "42", {2});
        folder.AddSynset("noun", {"aardvark"}, "an animal");
        folder.AddUseCount("run%2:38:00:: 1 40");
        folder.AddUseCount("run%1:04:00:: 2 7");
        folder.AddUseCount("happy%3:00:00:: 1 3");
        folder.AddUseCount("hide%2:39:00:: 1 5");
        folder.AddUseCount("weekend%1:28:00:: 1 13");
        folder.AddUseCount("run%1:04:00:: x 7");        // not a number: skipped
        folder.AddUseCount("nosuchword%1:04:00:: 1 9"); // unknown lemma: skipped
        folder.AddException("verb", "ran run");
        folder.AddException("adj", "happier happy");
        folder.AddException("verb", "hid hide");
        folder.AddException("verb", "forbad run");
        s_folder = new std::string(folder.Write("wordnet_lexicon_test"));
        s_lexicon = new std::optional<WordNetLexicon>(WordNetLexicon::Load(*s_folder));
    }

    static void TearDownTestSuite() {
        delete s_lexicon;
        delete s_folder;
    }

    const WordNetLexicon& Lexicon() const { return **s_lexicon; }

    static std::string* s_folder;
    static std::optional<WordNetLexicon>* s_lexicon;
};

std::string* WordNetLexiconTest::s_folder = nullptr;
std::optional<WordNetLexicon>* WordNetLexiconTest::s_lexicon = nullptr;

TEST_F(WordNetLexiconTest, GivesSensesMostUsedFirstWithTheirGlossesFromTheDataFiles) {
    ASSERT_TRUE(s_lexicon->has_value());
    const std::vector<WordSense> senses = Lexicon().Senses("run");
    ASSERT_EQ(senses.size(), 3u);
    EXPECT_EQ(senses[0].wordClass, WordClass::Verb);
    EXPECT_EQ(senses[0].useCount, 40);
    EXPECT_EQ(senses[0].gloss, "move fast by using one's feet");
    EXPECT_EQ(senses[1].gloss, "a score in baseball");
    EXPECT_EQ(senses[1].useCount, 7);
    EXPECT_EQ(senses[2].gloss, "a race run on foot; \"she broke the record\"");
    EXPECT_EQ(Lexicon().UseCount("run"), 47);
    EXPECT_EQ(Lexicon().UseCount("church"), 0);
    EXPECT_TRUE(Lexicon().Senses("walk").empty());
    EXPECT_EQ(Lexicon().UseCount("walk"), 0);
}

TEST_F(WordNetLexiconTest, MarksTheSensesThatWriteTheLemmaWithACapital) {
    const std::vector<WordSense> senses = Lexicon().Senses("china");
    ASSERT_EQ(senses.size(), 2u);
    EXPECT_TRUE(senses[0].properName);
    EXPECT_FALSE(senses[1].properName);
    ASSERT_EQ(Lexicon().Senses("prc").size(), 1u);
    EXPECT_TRUE(Lexicon().Senses("prc")[0].properName);
}

TEST_F(WordNetLexiconTest, FindsBaseFormsByRulesAndExceptions) {
    const struct {
        const char* word;
        std::vector<std::string> bases;
    } cases[] = {
        {"runs", {"run"}},        {"running", {"running"}}, {"ran", {"run"}},
        {"churches", {"church"}}, {"happier", {"happy"}},   {"happy", {"happy"}},
        {"happies", {}},          {"walked", {}},           {"", {}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Lexicon().BaseForms(test.word), test.bases) << test.word;
    }
}

TEST(WordNetLexicon, MissingDatabaseGivesNothing) {
    EXPECT_FALSE(WordNetLexicon::Load("/nonexistent/wordnet").has_value());
    wordnet_fixture::WordNetFolder folder;
    const std::string path = folder.Write("wordnet_lexicon_test_empty");
    std::filesystem::remove(std::filesystem::path(path) / "data.verb");
    EXPECT_FALSE(WordNetLexicon::Load(path).has_value());
}

TEST(WordNetLexicon, SkipsIndexLinesThatDoNotAddUp) {
    wordnet_fixture::WordNetFolder folder;
    folder.AddSynset("noun", {"dog"}, "a domestic animal");
    const std::string path = folder.Write("wordnet_lexicon_test_bad");
    std::ofstream(std::filesystem::path(path) / "index.noun", std::ios::app)
        << "cat n 2 0 2 0 00000052\n"  // two senses, one offset
        << "owl n 1 0 1 0 12345678\n"  // an offset without a synset
        << "Emu n 1 0 1 0 00000052\n"; // not a lower-case lemma
    const std::optional<WordNetLexicon> lexicon = WordNetLexicon::Load(path);
    ASSERT_TRUE(lexicon.has_value());
    EXPECT_EQ(lexicon->Senses("dog").size(), 1u);
    EXPECT_FALSE(lexicon->HasLemma("cat"));
    EXPECT_TRUE(lexicon->HasLemma("owl"));
    EXPECT_TRUE(lexicon->Senses("owl").empty());
    EXPECT_FALSE(lexicon->HasLemma("emu"));
}

// What the clue writer asks of a word's grammar, and the vocabulary of forms a setter
// would give.
TEST_F(WordNetLexiconTest, TellsWordClassesObjectsAndTheFormsASetterGives) {
    EXPECT_EQ(Lexicon().ClassesOf("runs"),
              (std::vector<WordClass>{WordClass::Noun, WordClass::Verb}));
    EXPECT_EQ(Lexicon().ClassesOf("happier"), std::vector<WordClass>{WordClass::Adjective});
    EXPECT_TRUE(Lexicon().ClassesOf("walks").empty());
    EXPECT_TRUE(Lexicon().WantsObject("detect"));
    EXPECT_FALSE(Lexicon().WantsObject("sleep"));
    EXPECT_FALSE(Lexicon().WantsObject("church")); // no verb
    const struct {
        const char* word;
        bool regular;
        bool usual;
    } cases[] = {
        {"runs", true, true},      {"ran", false, true},       {"forbad", false, true},
        {"hides", true, true},     {"hided", true, false},     // beside "hid"
        {"weekends", true, true},  {"weekended", true, false}, // used as a noun alone
        {"aardvarks", true, true}, {"walked", false, false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Lexicon().IsRegularForm(test.word), test.regular) << test.word;
        EXPECT_EQ(Lexicon().IsUsualForm(test.word), test.usual) << test.word;
    }
}

} // namespace
