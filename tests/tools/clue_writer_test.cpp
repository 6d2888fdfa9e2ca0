// Crossword clues from WordNet definitions: the cut, the answer never shown, the senses
// passed over.
#include "wordnet_fixture.h"

#include "puzzles/clue_writer.h"
#include "puzzles/definition_wording.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace datatool;

namespace {

TEST(ClueWriter, DefinitionDropsExamplesListsAndStrayBlanks) {
    const struct {
        const char* gloss;
        const char* definition;
    } cases[] = {
        {"a pet; \"it barks\"", "a pet"},
        {"a pet; a friend; \"it barks\"; \"it bites\"", "a pet; a friend"},
        {"feline mammal: domestic cats; wildcats", "feline mammal"},
        {"forbid the distribution of ( a movie or a newspaper)",
         "forbid the distribution of (a movie or a newspaper)"},
        {" (physics) the  spread of a gas ;", "(physics) the spread of a gas"},
        {"the male is called `buck'", "the male is called 'buck'"},
        {"spread by scattering (\"straw\" is archaic)", "spread by scattering"},
        {"\"only an example\"", ""},
        {"to a greater degree; used with comparisons", "to a greater degree"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(DefinitionOf(test.gloss), test.definition) << test.gloss;
    }
}

TEST(ClueWriter, ShortensLongDefinitionsAtSensibleBoundaries) {
    const struct {
        std::string definition;
        std::size_t maxLength;
        std::string clue;
    } cases[] = {
        {"short; only the first part", 40, "short"},
        {"short; but not when this part would make it too long", 20, "short"},
        {"a long first part that is long enough already; second", 45,
         "a long first part that is long enough already"},
        {"a thing (of some kind) that is kept", 30, "a thing that is kept"},
        {"a large thing, kept at home for long years", 24, "a large thing"},
        // No phrase ends within the limit: nothing rather than a fragment.
        {"keep the best of the rest", 20, ""},
        {std::string(30, 'x'), 20, ""},
        {"one two three four five six seven of the", 25, ""},
        {"a very long definition with the end of it", 24, "a very long definition"},
        {"a keyboard instrument that is played by keys that strike strings", 60,
         "a keyboard instrument that is played by keys"},
        {"a leader regarded as an authority on law and its reading and who rules", 60,
         "a leader regarded as an authority on law and its reading"},
        {"a very long definition of the end of it", 24, ""},
    };
    for (const auto& test : cases) {
        const std::string clue = ShortenDefinition(test.definition, test.maxLength);
        EXPECT_EQ(clue, test.clue) << test.definition;
        EXPECT_LE(clue.size(), test.maxLength) << test.definition;
    }
}

class ClueWriterTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        wordnet_fixture::WordNetFolder folder;
        folder.AddSynset("noun", {"run"}, "a score in baseball");
        folder.AddSynset("verb", {"run"}, "move fast by using one's feet");
        folder.AddSynset("verb", {"race"}, "to engage in a race; \"he races every week\"");
        folder.AddSynset("verb", {"race"}, "move fast");
        folder.AddSynset("noun", {"racing"}, "the sport of engaging in contests of speed");
        folder.AddSynset("noun", {"China"}, "a nation in eastern Asia");
        folder.AddSynset("noun", {"china"}, "high quality porcelain");
        folder.AddSynset("noun", {"bedroom"}, "a room used for sleeping");
        folder.AddSynset("noun", {"bedroom", "chamber"}, "a place for sleep");
        folder.AddSynset("noun", {"impatience"}, "a dislike of waiting");
        folder.AddSynset("adv", {"impatiently"}, "with impatience");
        folder.AddSynset("noun", {"spade"}, "a garden tool for digging");
        folder.AddSynset("noun", {"spade"}, "(ethnic slur) an offensive name");
        folder.AddSynset("noun", {"donkey"}, "a beast descended from the wild ass");
        folder.AddSynset("noun", {"donkey"}, "a domestic beast of burden");
        folder.AddSynset("noun", {"owl"}, "a nocturnal bird of prey; an owl hoots");
        folder.AddSynset("noun", {"cat"}, "feline mammal: domestic cats; wildcats");
        const std::string slang = folder.AddSynset("noun", {"slang"}, "informal language");
        const std::string obscenity = folder.AddSynset("noun", {"obscenity"}, "a rude word");
        folder.AddSynset("noun", {"pot"}, "a round belly", {slang}, "08");
        folder.AddSynset("noun", {"pot"}, "a cooking vessel");
        folder.AddSynset("noun", {"dough"}, "ready money", {slang}, "21");
        folder.AddSynset("noun", {"ball"}, "a rude sense", {obscenity});
        folder.AddSynset("noun", {"ball"}, "a round object used in games");
        folder.AddSynset("noun", {"five", "fin"}, "the cardinal number that is one more than four");
        folder.AddSynset("noun", {"fin"}, "a thin flattened organ of a fish");
        folder.AddSynset("noun", {"hue"}, "the quality of a color; its shade");
        folder.AddSynset("noun", {"jar"}, "a pot for " + std::string(120, 'x') + " foods");
        folder.AddSynset("noun", {"jar"}, "a vessel with a wide mouth");
        folder.AddSynset("noun", {"tap"}, "a light blow as seen in a sexy dance");
        folder.AddSynset("noun", {"tap"}, "a valve to control the flow of water");
        folder.AddSynset("adj", {"structured"}, "having definite and highly organised structure");
        folder.AddSynset("adj", {"threaded"}, "having a screw thread");
        folder.AddSynset("adv", {"spirally"}, "in a spiral way");
        folder.AddSynset("verb", {"detect"}, "discover or determine", {}, "39", {8, 11});
        folder.AddSynset("verb", {"engage"}, "carry out", {}, "41", {2, 8});
        folder.AddSynset("verb", {"sleep"}, "be asleep", {}, "29", {2});
        folder.AddSynset("noun", {"rod"}, "a long thin implement");
        folder.AddSynset("noun", {"machine"}, "any mechanical device");
        folder.AddSynset("noun", {"bank"}, "sloping land beside a body of water");
        folder.AddSynset("noun", {"bank"}, "a financial institution");
        folder.AddSynset("noun", {"bank"}, "a flight manoeuvre");
        folder.AddSynset("noun", {"ell"}, "an extension at the end and at right angles");
        folder.AddSynset("noun", {"homer"}, "a base hit in baseball");
        folder.AddSynset("verb", {"commiserate"}, "feel for", {}, "37", {2});
        folder.AddSynset("noun", {"sympathiser"}, "commiserates with someone in trouble");
        folder.AddSynset("adj", {"sleek"}, "(of hair) made smooth and glossy");
        folder.AddSynset("adj", {"far"}, "located at a great distance");
        folder.AddSynset("noun", {"year"}, "a period of twelve months");
        folder.AddSynset("noun", {"years"}, "a late time of life");
        folder.AddSynset("noun", {"time"}, "an instance or single occasion");
        folder.AddSynset("adj", {"late"}, "being after the expected time");
        folder.AddSynset("noun", {"weapon"}, "an instrument of attack");
        folder.AddSynset("noun", {"arms"}, "weapons considered collectively");
        folder.AddSynset("noun", {"arm"}, "a limb");
        folder.AddSynset("noun", {"fairy"}, "a small spirit");
        folder.AddSynset("noun", {"asp"}, "of southern Europe; smaller than the adder");
        folder.AddSynset("noun", {"lager"}, "a general term for beer made with bottom yeast");
        folder.AddSynset("noun", {"bye"}, "you advance to the next round without playing");
        folder.AddSynset("noun", {"aster"}, "a herb of the genus Aster");
        folder.AddSynset("noun", {"hamster"}, "short-tailed Old World burrowing rodent");
        folder.AddSynset("noun", {"aster"}, "a structure formed in the cytoplasm of a cell");
        folder.AddSynset("noun", {"figure", "fig"}, "a diagram illustrating textual material");
        folder.AddSynset("noun", {"fig"}, "a sweet pear-shaped fruit");
        folder.AddSynset("noun", {"donor", "giver", "presenter"}, "person who makes a gift");
        folder.AddSynset("noun", {"presenter"}, "someone who presents a message");
        folder.AddSynset("verb", {"dig"}, "turn up earth");
        folder.AddSynset("noun", {"dug"}, "an udder or teat");
        folder.AddSynset("adj", {"taken"}, "be affected with an indisposition");
        folder.AddSynset("noun", {"biplane"}, "old fashioned aircraft; has two wings");
        folder.AddSynset("noun", {"attic"}, "(architecture) a low wall above the entablature");
        folder.AddSynset("noun", {"loft", "attic"}, "a room just below the roof");
        folder.AddSynset("noun", {"elf"}, "fairies that are somewhat mischievous");
        folder.AddSynset("adj", {"under"}, "lower in rank");
        folder.AddSynset("adj", {"assorted", "various"}, "of many different kinds");
        folder.AddSynset("adj", {"respective", "several", "various"}, "considered individually");
        folder.AddSynset("noun", {"cue"}, "a cue for an actor");
        folder.AddSynset("noun", {"cue"}, "a stick used in billiards");
        const std::string baseball = folder.AddSynset("noun", {"baseball"}, "a ball game");
        folder.AddSynset("noun", {"bunt"}, "a hit that lets the batter reach first", {}, "04", {},
                         {baseball});
        folder.AddSynset("noun", {"deflation"}, "(geology) the erosion of soil by the wind");
        folder.AddSynset("noun", {"deflation"}, "a fall of prices");
        folder.AddSynset("noun", {"lotus"}, "native to eastern Asia; widely cultivated");
        folder.AddSynset("noun", {"pin"}, "informal terms for the leg");
        folder.AddSynset("noun", {"shrub"}, "a low woody plant");
        folder.AddSynset("noun", {"tree"}, "a tall woody plant");
        folder.AddSynset("adj", {"cultivated"}, "grown by people");
        folder.AddSynset("noun", {"consumer"}, "a buyer of goods");
        const std::string maths = folder.AddSynset("noun", {"mathematics"}, "science of numbers");
        const std::string britain = folder.AddSynset("noun", {"Britain"}, "an island nation");
        folder.AddSynset("verb", {"commute"}, "exchange positions without a change in value", {},
                         "30", {}, {maths});
        folder.AddSynset("verb", {"commute"}, "travel back and forth regularly");
        folder.AddSynset("noun", {"lorry"}, "a large vehicle for goods", {}, "06", {}, {britain},
                         {britain});
        folder.AddSynset("verb", {"bar"}, "prohibit especially by legal means");
        folder.AddSynset("adj", {"void"}, "not valid");
        folder.AddSynset("noun", {"marshal"}, "a law officer like a sheriff");
        folder.AddSynset("noun", {"marshal"}, "a steward at a public event");
        folder.AddUseCount("commute%2:30:00:: 1 12");
        folder.AddUseCount("commute%2:38:00:: 2 2");
        folder.AddUseCount("year%1:28:00:: 1 90");
        folder.AddUseCount("years%1:28:00:: 1 19");
        folder.AddUseCount("arms%1:06:00:: 1 11");
        folder.AddUseCount("arm%1:08:00:: 1 40");
        // The senses a clue falls back on are as well used as the first.
        folder.AddUseCount("bedroom%1:06:00:: 1 6");
        folder.AddUseCount("bedroom%1:06:00:: 2 5");
        folder.AddUseCount("donkey%1:05:00:: 1 6");
        folder.AddUseCount("donkey%1:05:00:: 2 5");
        folder.AddUseCount("tap%1:06:00:: 1 6");
        folder.AddUseCount("tap%1:06:00:: 2 5");
        folder.AddUseCount("jar%1:06:00:: 1 6");
        folder.AddUseCount("jar%1:06:00:: 2 5");
        folder.AddUseCount("various%5:00:00:different:00 1 46");
        folder.AddUseCount("various%5:00:00:individual:00 2 36");
        folder.AddUseCount("cue%1:10:00:: 1 10");
        folder.AddSynset("adj", {"faraway"}, "far removed mentally");
        folder.AddUseCount("bank%1:17:00:: 1 20");
        folder.AddUseCount("bank%1:14:00:: 2 10");
        folder.AddUseCount("bank%1:04:00:: 3 1");
        folder.AddUseCount("race%2:38:00:: 1 9");
        folder.AddUseCount("race%2:38:01:: 2 5");
        folder.AddUseCount("run%2:38:00:: 1 40");
        folder.AddUseCount("fig%1:10:00:: 1 45");
        folder.AddUseCount("attic%1:06:00:: 2 2");
        folder.AddException("verb", "ran run");
        folder.AddException("verb", "dug dig");
        s_lexicon = new std::optional<WordNetLexicon>(
            WordNetLexicon::Load(folder.Write("clue_writer_test")));
        std::istringstream exclusions("ass\nell: an extension at the end\n");
        std::istringstream blocked("sexy\n");
        std::istringstream spellings("color colour\n");
        s_rules = new ContentRules{WordExclusions::Parse(exclusions),
                                   FamilyFilter(WordExclusions::Parse(blocked)),
                                   BritishSpellings::Parse(spellings),
                                   {}};
        s_writer = new ClueWriter(**s_lexicon, *s_rules);
    }

    static void TearDownTestSuite() {
        delete s_writer;
        delete s_rules;
        delete s_lexicon;
    }

    static std::optional<WordNetLexicon>* s_lexicon;
    static ContentRules* s_rules;
    static ClueWriter* s_writer;
};

std::optional<WordNetLexicon>* ClueWriterTest::s_lexicon = nullptr;
ContentRules* ClueWriterTest::s_rules = nullptr;
ClueWriter* ClueWriterTest::s_writer = nullptr;

TEST_F(ClueWriterTest, SeesTheAnswerInEveryForm) {
    const struct {
        const char* text;
        const char* answer;
        bool reveals;
    } cases[] = {
        {"they run fast", "run", true},
        {"the runs of a season", "run", true},
        {"he ran away", "run", true},
        {"a day of racing", "race", true},
        {"Races every week", "race", true},
        {"a room for sleep", "bedroom", true},
        {"the bedrooms upstairs", "bedroom", true},
        {"with impatience", "impatiently", true},
        {"the consumption of goods", "consumerism", true}, // "consume" less its e
        {"a revised text", "edition", false},
        {"move fast", "race", false},
        {"a late brunch", "run", false},
        {"a sleeping place", "bedroom", false},
        {"sprint", "run", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(s_writer->Reveals(test.text, test.answer), test.reveals)
            << test.text << " / " << test.answer;
    }
}

TEST_F(ClueWriterTest, TakesTheMostUsedFairSenseWithItsLetterCount) {
    ASSERT_TRUE(s_lexicon->has_value());
    const struct {
        const char* answer;
        std::optional<std::string> clue;
    } cases[] = {
        {"RUN", "Move fast by using one's feet (3)"}, // the most used sense
        {"RACE", "Move fast (4)"},                    // the first would show "race"
        {"CHINA", "High quality porcelain (5)"},      // not the proper name
        {"BEDROOM", "A place for sleep (7)"},         // "room" is inside the answer
        {"IMPATIENTLY", std::nullopt},                // every sense shows its root
        {"SPADE", std::nullopt},                      // a sense is a slur
        {"DONKEY", "A domestic beast of burden (6)"}, // the first names an excluded word
        {"OWL", "A nocturnal bird of prey (3)"},      // its second part shows the answer
        {"CAT", "Feline mammal (3)"},                 // the list would show it
        {"WALK", std::nullopt},                       // not in WordNet
        {"HAMSTER", std::nullopt},                    // opens with a name after a hyphen
        // What a family game leaves out, or a setter would not reach for.
        {"POT", "A cooking vessel (3)"},                     // not the slang for a body part
        {"DOUGH", "Ready money (5)"},                        // slang, but not for the body
        {"BALL", "A round object used in games (4)"},        // not the obscene sense
        {"FIN", "A thin flattened organ of a fish (3)"},     // not a borrowed number
        {"TAP", "A valve to control the flow of water (3)"}, // no blocked word
        {"HUE", "The quality of a colour (3)"},              // in British spelling
        {"JAR", "A vessel with a wide mouth (3)"},           // never a cut-off phrase
    };
    for (const auto& test : cases) {
        EXPECT_EQ(s_writer->ClueFor(test.answer), test.clue) << test.answer;
    }
}

TEST_F(ClueWriterTest, CutsEveryClueToTheLimit) {
    wordnet_fixture::WordNetFolder folder;
    folder.AddSynset("noun", {"thing"},
                     "an entity of a " + std::string(30, 'x') + " kind that is " +
                         std::string(200, 'x') + " and more");
    folder.AddSynset("noun", {"kind"}, "a category of things");
    const std::optional<WordNetLexicon> lexicon =
        WordNetLexicon::Load(folder.Write("clue_writer_test_long"));
    ASSERT_TRUE(lexicon.has_value());
    const std::optional<std::string> clue = ClueWriter(*lexicon, *s_rules).ClueFor("THING");
    ASSERT_TRUE(clue.has_value());
    EXPECT_LE(clue->size() - 4, kMaxClueLength);
    EXPECT_EQ(clue->substr(clue->size() - 4), " (5)") << *clue;
}

TEST_F(ClueWriterTest, WordsADefinitionAsASetterWould) {
    const struct {
        const char* definition;
        const char* plain;
    } cases[] = {
        {"acute abdominal pain (especially in infants)", "acute abdominal pain"},
        {"having an (over)abundance of flesh", "having an overabundance of flesh"},
        {"a usually soluble substance for staining e.g. fabrics",
         "a soluble substance for staining"},
        {"a shrub or small tree extensively cultivated in e.g. China", "a shrub or small tree"},
        {"prohibit especially by legal means", "prohibit"},
        {"speeded up, as of an academic course", "speeded up"},
        {"above average in size or number or quantity or extent",
         "above average in size or number"},
        {"of or relating to tides", "relating to tides"},
        {"Of or belonging to the aristocracy", "belonging to the aristocracy"},
        {"a drama set to music; consists of singing", "a drama set to music; consists of singing"},
        {"bread or cake", "bread or cake"},
        {"provide with (something) for a purpose", "provide with something for a purpose"},
        {"given to pleasure and especially games of chance",
         "given to pleasure and games of chance"},
        {"old fashioned aircraft; has two wings", "old fashioned aircraft with two wings"},
        {"not of long duration; having just come into being",
         "not of long duration; having just come into being"},
        {"primarily temporal sense; limited in duration", "limited in duration"},
        {"relating to or resembling or emanating from stars",
         "relating to or resembling or emanating from stars"},
        {"a king or queen or other monarch", "a king or queen or other monarch"},
        {"an arm off of a larger body of water", "an arm off a larger body of water"},
        {"general term for any insect", "any insect"},
        {"hang (back) or fall (behind) in movement", "hang back or fall behind in movement"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(PlainDefinition(test.definition, &**s_lexicon), test.plain) << test.definition;
    }
}

TEST_F(ClueWriterTest, SeesWhereAPhraseIsLeftOpen) {
    const struct {
        const char* text;
        bool open;
    } cases[] = {
        {"Music in a structured", true},
        {"A rod of a spirally threaded", true},
        {"Radar used to detect", true},
        {"A simple rod that engages", true},
        {"A stray colon:", true},
        {"A list of things, etc.", true},
        {"A piece of", true},
        {"Trailing off...", true},
        {"A place to sleep", false},
        {"Acutely insightful and structured", false},
        {"A plant of the genus Pisum (a pea)", false},
        {"A threaded rod", false},
        {"A team of 11", false},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(EndsMidPhrase(test.text, **s_lexicon), test.open) << test.text;
    }
}

TEST_F(ClueWriterTest, CutsALongDefinitionOnlyAfterANoun) {
    const std::string definition = "a simple machine consisting of a spirally threaded "
                                   "cylindrical rod that engages with a similarly threaded hole";
    EXPECT_EQ(ShortenDefinition(definition, 90),
              "a simple machine consisting of a spirally threaded cylindrical rod that engages");
    EXPECT_EQ(ShortenDefinition(definition, 90, &**s_lexicon),
              "a simple machine consisting of a spirally threaded cylindrical rod");
}

TEST_F(ClueWriterTest, VariesTheClueOverGoodSensesAndPassesOverAmericanAndSlippedOnes) {
    const struct {
        const char* answer;
        std::vector<std::string> clues;
    } cases[] = {
        // The flight manoeuvre is used too rarely beside the first sense.
        {"BANK", {"Sloping land beside a body of water (4)", "A financial institution (4)"}},
        {"ELL", {}},                               // an American sense the exclusions name
        {"HOMER", {}},                             // baseball
        {"SYMPATHISER", {}},                       // a noun defined by a verb
        {"SLEEK", {"Made smooth and glossy (5)"}}, // without the aside that opens it
        {"FARAWAY", {}},                           // "far" gives it away
        // A plural answer takes a plural definition, a singular one a singular.
        {"YEARS", {}},
        {"ARMS", {"Weapons considered collectively (4)"}},
        {"ELF", {}},
        {"UNDER", {}}, // a function word, whose WordNet senses are its rare ones
        // A sense headed by other words counts for less: "respective" is not varied in.
        {"VARIOUS", {"Of many different kinds (7)"}},
        {"CUE", {}},  // its usual sense shows it, and it falls back on no rare one
        {"BUNT", {}}, // filed under baseball
        {"DEFLATION", {"A fall of prices (9)"}}, // an everyday sense first
        {"LOTUS", {}},                           // tells where it grows, not what it is
        {"PIN", {}},                             // names the word rather than defining it
        {"ASTER", {}}, // its usual sense shows it, and it falls back on no unused one
        {"FIG", {"A sweet pear-shaped fruit (3)"}}, // not short for "figure"
        {"PRESENTER", {}}, // it heads senses of its own, so not clued as a donor
        {"BYE", {}},       // tells what happens, not what it is
        {"ASP", {}},       // its definition lost its head
        {"LAGER", {"Beer made with bottom yeast (5)"}},
        {"DUG", {}},   // a solver reads it as a form of "dig"
        {"TAKEN", {}}, // an adjective defined by a bare verb
        {"BIPLANE", {"Old fashioned aircraft with two wings (7)"}},
        {"ATTIC", {"A room just below the roof (5)"}},        // used, and no specialist's
        {"COMMUTE", {"Travel back and forth regularly (7)"}}, // not its sense in mathematics
        {"LORRY", {"A large vehicle for goods (5)"}},         // British, not specialist
        {"BAR", {}},                                          // cut to a fragment ("Prohibit")
        {"VOID", {"Not valid (4)"}},                          // two words, but the whole definition
        {"MARSHAL", {"A steward at a public event (7)"}},     // a sheriff is American
    };
    for (const auto& test : cases) {
        EXPECT_EQ(s_writer->CluesFor(test.answer), test.clues) << test.answer;
    }
}

} // namespace
