// HiddenWordPicker: the hidden word of a crossword or fitword, played as an anagram once
// the grid is solved: a word whose letters all lie in distinct cells of the grid's
// solution and that shares no root with the grid's own words, longer for harder puzzles
// and never above 12 letters. Its letters spell no other word of the dictionary and no
// form of a blocked word, so the one answer the player can find is the right one. Nothing
// when no word of the list can be laid in the grid. Read-only once built.
#pragma once

#include "content_rules.h"
#include "grid_puzzle.h"
#include "kindred_words.h"
#include "seeded_random.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace datatool {

constexpr std::size_t kHiddenWordMaxLength = 12;

struct HiddenWord {
    std::string word;
    std::vector<int> cells; // one per letter, in the word's order; numbered from 1
};

// The sets of letters that more than one word of a list spells, kept as hashes (small:
// the tool runs in the console's heap).
class SharedLetterSets {
public:
    // words: upper-case A to Z.
    explicit SharedLetterSets(const std::vector<std::string>& words);
    // Whether the word's letters, reordered, spell another word of the list too.
    bool HasAnagram(const std::string& word) const;

private:
    std::vector<std::uint64_t> m_shared; // sorted
};

// The shared letter sets of every lower-case word of the word list file at path (word_list.h,
// nothing left out): the dictionary, whose words a player may find in a hidden word's letters,
// blocked and excluded ones too. Nothing when it cannot be read.
std::optional<SharedLetterSets> LoadDictionaryAnagrams(const std::string& path, std::string& error);

class HiddenWordPicker {
public:
    // candidates and wordList: upper-case A to Z; candidates longer than
    // kHiddenWordMaxLength, blocked, or with an anagram in the list are left out. Families
    // are told by their endings alone.
    HiddenWordPicker(const std::vector<std::string>& candidates,
                     const std::vector<std::string>& wordList, const FamilyFilter& family);
    // The same with the dictionary's shared letter sets, and the roots WordNet's lemmas give the
    // candidates' and the answers' families.
    HiddenWordPicker(const std::vector<std::string>& candidates, const SharedLetterSets& anagrams,
                     const FamilyFilter& family, LemmaRoots lemmaRoots);

    // A word not among taken (the hidden words of the bank so far).
    std::optional<HiddenWord> Pick(const GeneratedGridPuzzle& puzzle, SeededRandom& random,
                                   const std::set<std::string>& taken) const;

private:
    std::vector<std::vector<std::string>> m_byLength;
    LemmaRoots m_lemmaRoots;
};

} // namespace datatool
