// KindredWords: the words put into one puzzle so far, so that no word joins them that
// one of them holds or lies inside, or that is of one's family ("OUTLINE" beside
// "OUTLINING", "OVERSAW" beside "OVERSEEN", "BUILDER" beside "BUILDINGS", "EDITS" beside
// "EDITION"): a solver would take the one for the other, and a list of them reads as padding.
// A word's family is what English endings make of it (word_list.h FamilyRoots), of the lemmas
// WordNet makes it a form of and of the words a learned ending is added to (LemmaRoots).
// Upper-case words; the last added goes first (a backtracking fill).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace datatool {

class WordNetLexicon;

// The roots (FamilyRoots) of the WordNet lemmas of four letters or more that a root of the
// lower-case word, less a learned ending, may be (word_list.h WordsBeforeEnding): "narrate" for
// "narration", "withdraw" for "withdrawal", "consumer" and "consume" for "consumerism",
// "nation" for "nationally".
std::vector<std::string> LearnedRoots(const std::string& lowerCaseWord,
                                      const WordNetLexicon& lexicon);

// The roots of a word's family that its endings do not show but its WordNet lemmas do
// ("oversee" for "OVERSAW", "fall" for "FELL", "build" for "BUILDINGS" through "building"),
// and the learned roots of the word and its lemmas ("edit" for "EDITION"), for each word of
// a vocabulary, kept apart from the lexicon so that a generator knows them once the lexicon
// is gone. Read-only once built.
class LemmaRoots {
public:
    LemmaRoots() = default;
    // words: upper case.
    LemmaRoots(const std::vector<std::string>& words, const WordNetLexicon& lexicon);

    // Lower case; none for a word outside the vocabulary.
    std::vector<std::string> RootsOf(const std::string& word) const;

private:
    std::vector<std::pair<std::string, std::string>> m_roots; // upper-case word, root; by word
};

// Whether one upper-case word holds the other, or both come from one root of three letters or
// more (FamilyRoots, or lemmaRoots).
bool AreKindred(const std::string& a, const std::string& b, const LemmaRoots& lemmaRoots);

class KindredWords {
public:
    // lemmaRoots: outlives the words.
    explicit KindredWords(const LemmaRoots& lemmaRoots) : m_lemmaRoots(lemmaRoots) {}

    // Whether the upper-case word is kindred to one added.
    bool HasKinOf(const std::string& word) const;
    // Whether the upper-case word shares a root with one added, or a stem: a root of five
    // letters or more of one, less a final e or y an ending may change, begins a root of the
    // other ("NATURE" and "NATURAL", "CREATE" and "CREATION"). Words inside others are no kin
    // here ("AIR" in "PAIRS").
    bool SharesStemWith(const std::string& word) const;
    void Add(const std::string& word);
    void RemoveLast();

private:
    struct Entry {
        std::string word;
        std::vector<std::string> roots; // lower case, sorted
    };
    Entry EntryOf(const std::string& word) const;
    static bool AreKindred(const Entry& a, const Entry& b);

    const LemmaRoots& m_lemmaRoots;
    std::vector<Entry> m_entries;
};

} // namespace datatool
