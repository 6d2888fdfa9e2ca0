#include "crossword_generator.h"

#include <algorithm>
#include <set>
#include <unordered_set>

namespace datatool {

namespace {

constexpr char kClueSeparator = '\n';

// A 32-bit FNV-1a hash of the word.
std::uint32_t WordHash(const std::string& word) {
    std::uint32_t hash = 2166136261u;
    for (char letter : word) {
        hash = (hash ^ static_cast<unsigned char>(letter)) * 16777619u;
    }
    return hash;
}

} // namespace

void CluedWords::Add(const std::string& word, const std::vector<std::string>& clues, int count) {
    m_words.push_back(RatedWord{word, count});
    for (std::size_t i = 0; i < clues.size(); ++i) {
        m_clues += (i == 0 ? "" : std::string(1, kClueSeparator)) + clues[i];
    }
    m_clueEnds.push_back(static_cast<std::uint32_t>(m_clues.size()));
}

void CluedWords::Shrink() {
    m_words.shrink_to_fit();
    m_clues.shrink_to_fit();
    m_clueEnds.shrink_to_fit();
}

std::vector<std::string_view> CluedWords::Clues(std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : m_clueEnds[i - 1];
    std::string_view text = std::string_view(m_clues).substr(start, m_clueEnds[i] - start);
    std::vector<std::string_view> clues;
    for (std::size_t end; (end = text.find(kClueSeparator)) != std::string_view::npos;
         text.remove_prefix(end + 1)) {
        clues.push_back(text.substr(0, end));
    }
    clues.push_back(text);
    return clues;
}

CluedWords ClueWords(const std::vector<RatedWord>& words, const ClueWriter& clues) {
    // The commoner answer keeps a clue that two would share: words in order of their
    // counts, each clue known by a hash of its text (the tool runs in the console's heap).
    std::vector<std::uint32_t> byCount(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        byCount[i] = static_cast<std::uint32_t>(i);
    }
    std::stable_sort(byCount.begin(), byCount.end(), [&](std::uint32_t a, std::uint32_t b) {
        return words[a].count > words[b].count;
    });
    std::unordered_set<std::size_t> given;
    CluedWords clued;
    for (std::uint32_t i : byCount) {
        const RatedWord& word = words[i];
        if (word.word.size() > static_cast<std::size_t>(kGridPuzzleMaxSide)) {
            continue;
        }
        std::vector<std::string> found = clues.CluesFor(word.word);
        std::erase_if(found, [&](const std::string& clue) {
            return !given.insert(std::hash<std::string>()(clue.substr(0, clue.rfind(" (")))).second;
        });
        if (found.empty()) {
            continue;
        }
        const bool sensitive =
            std::any_of(found.begin(), found.end(), [&](const std::string& clue) {
                return NamesSensitiveWord(clue, clues.Rules());
            });
        clued.Add(word.word, found,
                  sensitive ? std::min(word.count, SensitiveWordRating()) : word.count);
    }
    clued.Shrink();
    return clued;
}

CrosswordGenerator::CrosswordGenerator(CluedWords words)
    : m_words(std::move(words)), m_index(m_words.Words()) {
    const std::vector<RatedWord>& all = m_words.Words();
    for (std::size_t i = 0; i < all.size(); ++i) {
        m_byWord.push_back(static_cast<std::uint32_t>(i));
    }
    std::sort(m_byWord.begin(), m_byWord.end(),
              [&](std::uint32_t a, std::uint32_t b) { return all[a].word < all[b].word; });
}

std::string CrosswordGenerator::ClueOf(const std::string& word, std::uint32_t seed) const {
    const std::vector<RatedWord>& all = m_words.Words();
    const auto found = std::lower_bound(
        m_byWord.begin(), m_byWord.end(), word,
        [&](std::uint32_t i, const std::string& wanted) { return all[i].word < wanted; });
    if (found == m_byWord.end() || all[*found].word != word) {
        return {};
    }
    const std::vector<std::string_view> clues = m_words.Clues(*found);
    return std::string(clues[MixSeed(seed, WordHash(word), 0) % clues.size()]);
}

std::optional<GeneratedGridPuzzle> CrosswordGenerator::Generate(int difficulty,
                                                                std::uint32_t seed) const {
    SeededRandom random(seed);
    // No two words of one crossword share a clue, whatever their letter counts.
    const auto distinctClues = [&](const FilledGrid& filled) {
        std::set<std::string> clues;
        for (const std::string& word : filled.words) {
            const std::string clue = ClueOf(word, seed);
            if (!clues.insert(clue.substr(0, clue.rfind(" ("))).second) {
                return false;
            }
        }
        return true;
    };
    const std::optional<FilledGrid> grid =
        GenerateFilledGrid(difficulty, m_index, random, distinctClues);
    if (!grid) {
        return std::nullopt;
    }
    return ToGridPuzzle(*grid, difficulty,
                        [&](const std::string& word) { return ClueOf(word, seed); });
}

} // namespace datatool
