// The content rules under data/puzzles/, the real word list (wbritish) filtered by them,
// WordNet, the corpus counts (onboard-data) and the word puzzle generators built from
// them, loaded once per test process: the suites that use them run in one process
// (tests/CMakeLists.txt) and release the generators when they end.
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
             folder + "/british_spellings.txt", folder + "/sensitive_words.txt"},
            error);
        EXPECT_TRUE(loaded.has_value()) << error;
        return loaded ? std::move(*loaded)
                      : datatool::ContentRules{{}, datatool::FamilyFilter({}), {}, {}};
    }();
    return rules;
}

// Empty when the word list is missing.
inline const std::vector<std::string>& Words() {
    static const std::vector<std::string> words = [] {
        std::optional<std::vector<std::string>> loaded = datatool::LoadWordList(
            datatool::kDefaultWordListPath, Rules().exclusions, Rules().family.Rules());
        EXPECT_TRUE(loaded.has_value()) << "the wbritish word list is missing";
        return loaded ? std::move(*loaded) : std::vector<std::string>();
    }();
    return words;
}

// WordNet (wordnet-base); nullptr when it is missing.
inline const datatool::WordNetLexicon* Lexicon() {
    static const std::optional<datatool::WordNetLexicon> lexicon = [] {
        std::optional<datatool::WordNetLexicon> loaded =
            datatool::WordNetLexicon::Load(datatool::kDefaultWordNetPath);
        EXPECT_TRUE(loaded.has_value()) << "WordNet (wordnet-base) is missing";
        return loaded;
    }();
    return lexicon ? &*lexicon : nullptr;
}

// The British and American word counts (onboard-data); nullptr when they are missing.
inline const datatool::CorpusCounts* Counts() {
    static const std::optional<datatool::CorpusCounts> counts = [] {
        std::string error;
        std::optional<datatool::CorpusCounts> loaded = datatool::LoadCorpusCounts(
            datatool::kDefaultWordCountsPath, datatool::kDefaultEverydayWordsPath, error);
        EXPECT_TRUE(loaded.has_value()) << error;
        return loaded;
    }();
    return counts ? &*counts : nullptr;
}

inline std::unique_ptr<datatool::PuzzleGenerators>& LoadedGenerators() {
    static std::unique_ptr<datatool::PuzzleGenerators> generators;
    return generators;
}

// nullptr when the word list, WordNet or the counts are missing. Loaded on first use
// after a release.
inline const datatool::PuzzleGenerators* Generators() {
    std::unique_ptr<datatool::PuzzleGenerators>& generators = LoadedGenerators();
    if (generators == nullptr && Lexicon() != nullptr && Counts() != nullptr && !Words().empty()) {
        generators =
            std::make_unique<datatool::PuzzleGenerators>(Words(), *Lexicon(), Rules(), *Counts());
    }
    return generators.get();
}

// Gives the generators' memory back (most of the engine's first arena), for the suites
// that run after the ones that use them in the same process.
inline void ReleaseGenerators() {
    LoadedGenerators().reset();
}

} // namespace real_vocabulary
