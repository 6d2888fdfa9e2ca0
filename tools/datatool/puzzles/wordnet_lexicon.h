// WordNetLexicon: what the crossword clues and the word rarity need of WordNet: the
// senses of each one-word lemma, most used first, with their glosses and their counts
// in WordNet's tagged texts, and the base forms of an inflected word (WordNet's
// detachment rules and exception lists). Read from the plain-text database of Debian's
// wordnet-base (index.*, data.*, *.exc, cntlist.rev); lines it cannot read are skipped,
// a missing index or data file gives nothing. Read-only once built; one owner.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace datatool {

constexpr const char* kDefaultWordNetPath = "/usr/share/wordnet";

enum class WordClass { Noun, Verb, Adjective, Adverb };

struct WordSense {
    WordClass wordClass;
    int useCount;      // tagged uses of the lemma in this sense
    bool properName;   // the synset writes the lemma with a capital ("China")
    std::string gloss; // definitions, then examples in double quotes, as WordNet has them
};

class WordNetLexicon {
public:
    // The database files in directory; nothing when an index or data file is missing.
    static std::optional<WordNetLexicon> Load(const std::string& directory);
    // The same from the files' texts by their WordNet names ("index.noun", "data.verb",
    // "adj.exc", "cntlist.rev", ...); a name left out counts as an empty file.
    static WordNetLexicon Parse(const std::map<std::string, std::string>& files);

    // Lemmas are lower case.
    bool HasLemma(const std::string& lemma) const { return m_lemmas.count(lemma) != 0; }
    // The lemma's senses, the most used first (ties: nouns, verbs, adjectives, adverbs,
    // each in WordNet's order); empty for an unknown lemma.
    std::vector<WordSense> Senses(const std::string& lemma) const;
    // The lemma's tagged uses over all its senses; 0 for an unknown lemma.
    int UseCount(const std::string& lemma) const;
    // The lemmas the lower-case word can be a form of, itself included when it is one.
    std::vector<std::string> BaseForms(const std::string& word) const;

private:
    struct SenseRef {
        WordClass wordClass;
        int number; // 1 for the class's first sense
        std::uint32_t offset;
        int useCount;
    };
    struct Lemma {
        std::vector<SenseRef> senses;
        unsigned classes = 0; // a bit per WordClass
    };
    struct Synset {
        std::vector<std::string> words; // as written, underscores for blanks
        std::string gloss;
    };

    void ParseIndex(WordClass wordClass, const std::string& text);
    void ParseData(WordClass wordClass, const std::string& text);
    void ParseExceptions(WordClass wordClass, const std::string& text);
    void ParseUseCounts(const std::string& text);
    bool HasLemmaOf(const std::string& lemma, WordClass wordClass) const;
    const Synset* FindSynset(WordClass wordClass, std::uint32_t offset) const;

    std::unordered_map<std::string, Lemma> m_lemmas;
    std::unordered_map<std::uint64_t, Synset> m_synsets; // by word class and offset
    std::map<std::pair<int, std::string>, std::vector<std::string>> m_exceptions;
};

} // namespace datatool
