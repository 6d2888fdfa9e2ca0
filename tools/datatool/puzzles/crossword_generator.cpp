#include "crossword_generator.h"

#include <algorithm>
#include <set>

namespace datatool {

void CluedWords::Add(const std::string& word, const std::string& clue, int useCount) {
    m_words.push_back(RatedWord{word, useCount});
    m_clues += clue;
    m_clueEnds.push_back(static_cast<std::uint32_t>(m_clues.size()));
}

void CluedWords::Shrink() {
    m_words.shrink_to_fit();
    m_clues.shrink_to_fit();
    m_clueEnds.shrink_to_fit();
}

std::string_view CluedWords::Clue(std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : m_clueEnds[i - 1];
    return std::string_view(m_clues).substr(start, m_clueEnds[i] - start);
}

CluedWords ClueWords(const std::vector<std::string>& words, const ClueWriter& clues,
                     const WordNetLexicon& lexicon) {
    CluedWords clued;
    for (const std::string& word : words) {
        if (word.size() > static_cast<std::size_t>(kGridPuzzleMaxSide)) {
            continue;
        }
        if (const std::optional<std::string> clue = clues.ClueFor(word)) {
            clued.Add(word, *clue, lexicon.UseCount(LowerCase(word)));
        }
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

std::string CrosswordGenerator::ClueOf(const std::string& word) const {
    const std::vector<RatedWord>& all = m_words.Words();
    const auto found = std::lower_bound(
        m_byWord.begin(), m_byWord.end(), word,
        [&](std::uint32_t i, const std::string& wanted) { return all[i].word < wanted; });
    return found != m_byWord.end() && all[*found].word == word ? std::string(m_words.Clue(*found))
                                                               : std::string();
}

std::optional<GeneratedGridPuzzle> CrosswordGenerator::Generate(int difficulty,
                                                                std::uint32_t seed) const {
    SeededRandom random(seed);
    // No two words of one crossword share a clue, whatever their letter counts.
    const auto distinctClues = [&](const FilledGrid& filled) {
        std::set<std::string> clues;
        for (const std::string& word : filled.words) {
            const std::string clue = ClueOf(word);
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
    return ToGridPuzzle(*grid, difficulty, [&](const std::string& word) { return ClueOf(word); });
}

} // namespace datatool
