// The content rules under data/puzzles/, the real word list (wbritish) filtered by them and
// the letter sets of the whole of it, WordNet, the corpus counts (onboard-data) and the word puzzle
// generators built from them, loaded on first use: the suites that use them run in one process
// (tests/CMakeLists.txt) and release the generators, or all of it, when they end.
#pragma once

#include "puzzles/content_rules.h"
#include "puzzles/puzzle_bank_builder.h"
#include "puzzles/word_counts.h"
#include "puzzles/word_list.h"
#include "puzzles/wordnet_lexicon.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace real_vocabulary {

inline const datatool::ContentRules& Rules() {
    static const datatool::ContentRules rules = [] {
        const std::string folder = PUZZLES_RULES_DIR;
        std::string error;
        std::optional<datatool::ContentRules> loaded = datatool::LoadContentRules(
            {folder + "/excluded_words.txt", folder + "/blocked_words.txt",
             folder + "/british_spellings.txt", folder + "/sensitive_words.txt",
             folder + "/clues.txt"},
            error);
        EXPECT_TRUE(loaded.has_value()) << error;
        return loaded ? std::move(*loaded)
                      : datatool::ContentRules{{}, datatool::FamilyFilter({}), {}, {}};
    }();
    return rules;
}

// What was loaded of type T, until it is given back.
template <class T>
std::unique_ptr<T>& Held() {
    static std::unique_ptr<T> held;
    return held;
}

// Empty when the word list is missing. Loaded on first use after a release.
inline const std::vector<std::string>& Words() {
    std::unique_ptr<std::vector<std::string>>& words = Held<std::vector<std::string>>();
    if (words == nullptr) {
        std::string error;
        std::optional<std::vector<std::string>> loaded = datatool::LoadWordList(
            datatool::kDefaultWordListPath, Rules().exclusions, Rules().family.Rules(), error);
        EXPECT_TRUE(loaded.has_value()) << error;
        words = std::make_unique<std::vector<std::string>>(loaded ? std::move(*loaded)
                                                                  : std::vector<std::string>());
    }
    return *words;
}

// WordNet (wordnet-base); nullptr when it is missing. Loaded on first use after a release.
inline const datatool::WordNetLexicon* Lexicon() {
    auto& lexicon = Held<std::optional<datatool::WordNetLexicon>>();
    if (lexicon == nullptr) {
        lexicon = std::make_unique<std::optional<datatool::WordNetLexicon>>(
            datatool::WordNetLexicon::Load(datatool::kDefaultWordNetPath));
        EXPECT_TRUE(lexicon->has_value()) << "WordNet (wordnet-base) is missing";
    }
    return *lexicon ? &**lexicon : nullptr;
}

// The British and American word counts (onboard-data); nullptr when they are missing.
// Loaded on first use after a release.
inline const datatool::CorpusCounts* Counts() {
    auto& counts = Held<std::optional<datatool::CorpusCounts>>();
    if (counts == nullptr) {
        std::string error;
        counts = std::make_unique<std::optional<datatool::CorpusCounts>>(datatool::LoadCorpusCounts(
            datatool::kDefaultWordCountsPath, datatool::kDefaultEverydayWordsPath, error));
        EXPECT_TRUE(counts->has_value()) << error;
    }
    return *counts ? &**counts : nullptr;
}

// The shared letter sets of the whole word list; nullptr when it is missing. Loaded on first
// use after a release, before the large tables where they can: reading the list takes a
// large block a while.
inline const datatool::SharedLetterSets* DictionaryAnagrams() {
    auto& anagrams = Held<std::optional<datatool::SharedLetterSets>>();
    if (anagrams == nullptr) {
        std::string error;
        anagrams = std::make_unique<std::optional<datatool::SharedLetterSets>>(
            datatool::LoadDictionaryAnagrams(datatool::kDefaultWordListPath, error));
    }
    return *anagrams ? &**anagrams : nullptr;
}

// nullptr when the word list, WordNet or the counts are missing. Loaded on first use
// after a release.
inline const datatool::PuzzleGenerators* Generators() {
    std::unique_ptr<datatool::PuzzleGenerators>& generators = Held<datatool::PuzzleGenerators>();
    if (generators == nullptr && DictionaryAnagrams() != nullptr && Lexicon() != nullptr &&
        Counts() != nullptr && !Words().empty()) {
        generators = std::make_unique<datatool::PuzzleGenerators>(Words(), *DictionaryAnagrams(),
                                                                  *Lexicon(), Rules(), *Counts());
    }
    return generators.get();
}

// Gives the generators' memory back (most of the engine's first arena), for the suites
// that run after the ones that use them in the same process.
inline void ReleaseGenerators() {
    Held<datatool::PuzzleGenerators>().reset();
}

// Gives back the generators, the word list and its letter sets, WordNet and the counts, so
// that the suites that run after the last one using them find the arena whole, not cut up
// by tables loaded while the generators held the rest of it.
inline void ReleaseVocabulary() {
    ReleaseGenerators();
    Held<std::optional<datatool::CorpusCounts>>().reset();
    Held<std::optional<datatool::WordNetLexicon>>().reset();
    Held<std::vector<std::string>>().reset();
    Held<std::optional<datatool::SharedLetterSets>>().reset();
}

} // namespace real_vocabulary
