#include "hidden_word.h"

#include "word_list.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace datatool {
namespace {

struct LengthRange {
    std::size_t min;
    std::size_t max;
};

// Hidden word lengths by the puzzle's difficulty.
constexpr LengthRange kLengths[] = {{4, 5}, {5, 6}, {6, 8}, {7, 9}};

// The cells of each letter in the grid.
std::array<std::vector<int>, 26> CellsByLetter(const GeneratedGridPuzzle& puzzle) {
    std::array<std::vector<int>, 26> cells;
    for (std::size_t cell = 0; cell < puzzle.letters.size(); ++cell) {
        const char letter = puzzle.letters[cell];
        if (letter >= 'A' && letter <= 'Z') {
            cells[static_cast<std::size_t>(letter - 'A')].push_back(static_cast<int>(cell));
        }
    }
    return cells;
}

bool LettersSuffice(const std::string& word, const std::array<std::vector<int>, 26>& cells) {
    std::array<std::size_t, 26> needed{};
    for (char letter : word) {
        if (++needed[static_cast<std::size_t>(letter - 'A')] >
            cells[static_cast<std::size_t>(letter - 'A')].size()) {
            return false;
        }
    }
    return true;
}

// A different random cell of the grid for each letter of the word, numbered from 1.
std::vector<int> LayWord(const std::string& word, std::array<std::vector<int>, 26> cells,
                         SeededRandom& random) {
    std::vector<int> laid;
    for (char letter : word) {
        std::vector<int>& free = cells[static_cast<std::size_t>(letter - 'A')];
        const std::size_t pick =
            static_cast<std::size_t>(random.Below(static_cast<int>(free.size())));
        laid.push_back(free[pick] + 1);
        free.erase(free.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    return laid;
}

} // namespace

SharedLetterSets::SharedLetterSets(const std::vector<std::string>& words) {
    std::vector<std::uint64_t> sets;
    sets.reserve(words.size());
    for (const std::string& word : words) {
        sets.push_back(LetterSetHash(word));
    }
    std::sort(sets.begin(), sets.end());
    for (std::size_t i = 1; i < sets.size(); ++i) {
        if (sets[i] == sets[i - 1] && (m_shared.empty() || m_shared.back() != sets[i])) {
            m_shared.push_back(sets[i]);
        }
    }
}

bool SharedLetterSets::HasAnagram(const std::string& word) const {
    return std::binary_search(m_shared.begin(), m_shared.end(), LetterSetHash(word));
}

std::optional<SharedLetterSets> LoadDictionaryAnagrams(const std::string& path,
                                                       std::string& error) {
    const std::optional<std::vector<std::string>> words =
        LoadWordList(path, WordExclusions(), WordExclusions(), error);
    if (!words) {
        return std::nullopt;
    }
    return SharedLetterSets(*words);
}

HiddenWordPicker::HiddenWordPicker(const std::vector<std::string>& candidates,
                                   const std::vector<std::string>& wordList,
                                   const FamilyFilter& family)
    : HiddenWordPicker(candidates, SharedLetterSets(wordList), family, LemmaRoots()) {}

HiddenWordPicker::HiddenWordPicker(const std::vector<std::string>& candidates,
                                   const SharedLetterSets& anagrams, const FamilyFilter& family,
                                   LemmaRoots lemmaRoots)
    : m_byLength(kHiddenWordMaxLength + 1), m_lemmaRoots(std::move(lemmaRoots)) {
    for (const std::string& word : candidates) {
        const bool letters =
            std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
        if (!word.empty() && word.size() <= kHiddenWordMaxLength && letters &&
            !family.BlocksWord(word) && !family.IsAnagramOfBlockedWord(word) &&
            !anagrams.HasAnagram(word)) {
            m_byLength[word.size()].push_back(word);
        }
    }
}

std::optional<HiddenWord> HiddenWordPicker::Pick(const GeneratedGridPuzzle& puzzle,
                                                 SeededRandom& random,
                                                 const std::set<std::string>& taken) const {
    if (puzzle.difficulty < 0 || puzzle.difficulty > 3) {
        return std::nullopt;
    }
    const LengthRange range = kLengths[puzzle.difficulty];
    const std::array<std::vector<int>, 26> cells = CellsByLetter(puzzle);
    KindredWords answers(m_lemmaRoots);
    for (const GridPuzzleWord& placed : puzzle.words) {
        answers.Add(placed.word);
    }
    std::vector<std::size_t> lengths;
    for (std::size_t length = range.min; length <= range.max; ++length) {
        lengths.push_back(length);
    }
    random.Shuffle(lengths);
    for (std::size_t length : lengths) {
        const std::vector<std::string>& words = m_byLength[length];
        const std::size_t start =
            static_cast<std::size_t>(random.Below(static_cast<int>(words.size())));
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::string& word = words[(start + i) % words.size()];
            if (LettersSuffice(word, cells) && taken.count(word) == 0 &&
                !answers.SharesStemWith(word)) {
                return HiddenWord{word, LayWord(word, cells, random)};
            }
        }
    }
    return std::nullopt;
}

} // namespace datatool
