// WordNetLexicon: what the crossword clues and the word rarity need of WordNet: the
// senses of each one-word lemma, most used first, with their counts in WordNet's tagged
// texts and their glosses, and the base forms of an inflected word (WordNet's
// detachment rules and exception lists). Read from the plain-text database of Debian's
// wordnet-base: the index, exception and count files at load, in compact tables (the
// tool runs in the console's heap), and each gloss from its data file, at the byte
// offset the index gives, when it is asked for. Lines it cannot read are skipped; a
// missing index or data file gives nothing. One owner, one thread (the data files are
// read through the lexicon's own streams).
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace datatool {

constexpr const char* kDefaultWordNetPath = "/usr/share/wordnet";

enum class WordClass : std::uint8_t { Noun, Verb, Adjective, Adverb };

// The word in lower case, as WordNet writes its lemmas.
std::string LowerCase(std::string_view word);

struct WordSense {
    WordClass wordClass;
    int useCount;        // tagged uses of the lemma in this sense
    bool properName;     // the synset writes the lemma with a capital ("China")
    std::string gloss;   // definitions, then examples in double quotes, as WordNet has them
    int lexFile = 0;     // WordNet's lexicographer file: 8 noun.body, 29 verb.body, ...
    int synonymRank = 0; // the lemma's place among the synset's words, 0 first
    // The lemma shortens a word the synset lists before it: "fig" beside "figure".
    bool shortened = false;
    // The first words of the usage domains WordNet files the sense under ("slang",
    // "obscenity", "ethnic_slur"), lower case.
    std::vector<std::string> usages;
    // The same of its topic and region domains ("baseball", "united_states").
    std::vector<std::string> domains;
    // Those of the domains that are regions ("united_states", "united_kingdom").
    std::vector<std::string> regions;
    // A verb sense's sentence frames for the lemma: 1 "Something ----s", 8 "Somebody
    // ----s something", ...
    std::vector<int> frames;
};

class WordNetLexicon {
public:
    // The database in directory (index.noun, data.noun, noun.exc, ..., cntlist.rev).
    static std::optional<WordNetLexicon> Load(const std::string& directory);

    // Lemmas are lower case.
    bool HasLemma(std::string_view lemma) const;
    // The lemma's senses, the most used first (ties: nouns, verbs, adjectives, adverbs,
    // each in WordNet's order); empty for an unknown lemma.
    std::vector<WordSense> Senses(std::string_view lemma) const;
    // The lemma's tagged uses over all its senses; 0 for an unknown lemma.
    int UseCount(std::string_view lemma) const;
    // The same over its senses of one word class.
    int UseCountOf(std::string_view lemma, WordClass wordClass) const;
    // The lemmas the lower-case word can be a form of, itself included when it is one.
    std::vector<std::string> BaseForms(const std::string& word) const;
    // The word classes of the lemmas the lower-case word is or is a form of.
    std::vector<WordClass> ClassesOf(const std::string& word) const;
    // Whether the verb lemma's first (most used) sense takes more than its subject: an
    // object, a complement or a clause ("detect", not "sleep").
    bool WantsObject(std::string_view verb) const;
    // Whether the lower-case word is a form a setter would give: a lemma, an irregular
    // form, or a regular form of a lemma of a class the tagged texts use it in (or of a
    // lemma they never use), and no regular past of a verb with an irregular one: not
    // "hided" beside "hid", "weekended" or "yieldings".
    bool IsUsualForm(const std::string& word) const;
    // Whether the lower-case word is a lemma or a regular form of one, not a form that
    // only the exception lists know (irregular or old: "forbad").
    bool IsRegularForm(const std::string& word) const;
    // The noun lemmas the lower-case word is the plural of, itself left out: "year" for
    // "years", "man" for "men".
    std::vector<std::string> NounSingulars(const std::string& word) const;

private:
    struct SenseRef {
        std::uint32_t offset; // of the synset's line in its data file
        std::int32_t useCount;
        std::uint16_t number; // 1 for the class's first sense
        WordClass wordClass;
    };
    // A lemma in one word class; a lemma of several classes has an entry for each.
    struct Entry {
        std::uint32_t nameStart; // in m_names
        std::uint8_t nameLength;
        WordClass wordClass;
        std::uint16_t senseCount;
        std::uint32_t firstSense; // in m_senses
    };
    struct Exception {
        std::string inflected;
        WordClass wordClass;
        std::string base;
    };
    using EntryRange = std::pair<const Entry*, const Entry*>;

    bool ReadIndexes(const std::string& directory);
    void ReadExceptions(const std::string& directory);
    void ReadUseCounts(const std::string& directory);
    std::string_view NameOf(const Entry& entry) const;
    // The entries of the lemma, one per word class, empty for an unknown lemma.
    EntryRange Find(std::string_view lemma) const;
    bool HasLemmaOf(std::string_view lemma, WordClass wordClass) const;
    std::pair<std::string_view, WordClass> BaseKey(std::uint32_t exception) const;
    // Whether the verb.exc list gives the verb a past of its own ("hid", "shone").
    bool HasIrregularPast(std::string_view verb) const;
    // A lemma a word is or is a form of; regular unless only an exception list says so.
    struct Base {
        std::string lemma;
        WordClass wordClass;
        bool regular;
    };
    void ForEachBase(const std::string& word, const std::function<void(const Base&)>& visit) const;
    std::optional<WordSense> ReadSense(std::string_view lemma, const SenseRef& sense) const;
    // The first word of the noun synset at the offset, lower case; empty when unreadable.
    std::string NounSynsetHead(std::uint32_t offset) const;

    // Kept compact: the tool runs in the console's heap.
    std::string m_names;
    std::vector<Entry> m_entries; // by name, then word class
    std::vector<SenseRef> m_senses;
    std::vector<Exception> m_exceptions;           // by inflected form
    std::vector<std::uint32_t> m_exceptionsByBase; // indices into m_exceptions, by BaseKey
    mutable std::array<std::ifstream, 4> m_data;   // by WordClass
};

} // namespace datatool
