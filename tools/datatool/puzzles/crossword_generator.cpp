#include "crossword_generator.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace datatool {

namespace {

constexpr char kClueSeparator = '\n';

// Whether the clue names an answer of the grid other than its own: "Chart of figures" for
// "TABLE" beside "CHART" gives the one away by the other.
bool NamesAnotherAnswer(std::string_view clue, const std::string& own,
                        const std::vector<std::string>& answers) {
    const auto runs = LetterRuns(clue);
    return std::any_of(runs.begin(), runs.end(), [&](const auto& run) {
        return std::any_of(answers.begin(), answers.end(), [&](const std::string& answer) {
            return answer != own && answer.size() == run.second.size() &&
                   std::equal(answer.begin(), answer.end(), run.second.begin(), [](char a, char b) {
                       return a == std::toupper(static_cast<unsigned char>(b));
                   });
        });
    });
}

} // namespace

std::optional<int> FreeClueTurn(const std::vector<std::string_view>& clues, int turn,
                                const std::string& answer,
                                const std::vector<std::string>& answers) {
    for (int next = turn; next < turn + static_cast<int>(clues.size()); ++next) {
        if (!NamesAnotherAnswer(clues[static_cast<std::size_t>(next) % clues.size()], answer,
                                answers)) {
            return next;
        }
    }
    return std::nullopt;
}

void CluedWords::Add(const std::string& word, const std::vector<std::string>& clues, int count,
                     bool preferred) {
    m_words.push_back(RatedWord{word, count, preferred});
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
    // A listed answer keeps its hand-written clues, and the commoner answer a clue that two
    // would share: listed words first, each group in order of their counts, each clue known by
    // a hash of its text (the tool runs in the console's heap).
    const ClueList& listed = clues.Rules().clues;
    std::vector<std::uint32_t> byCount(words.size());
    std::vector<bool> hasListedClues(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        byCount[i] = static_cast<std::uint32_t>(i);
        hasListedClues[i] = listed.HasClues(words[i].word);
    }
    std::stable_sort(byCount.begin(), byCount.end(), [&](std::uint32_t a, std::uint32_t b) {
        return hasListedClues[a] != hasListedClues[b] ? hasListedClues[a]
                                                      : words[a].count > words[b].count;
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
                  sensitive ? std::min(word.count, SensitiveWordRating()) : word.count,
                  hasListedClues[i]);
    }
    clued.Shrink();
    return clued;
}

CrosswordGenerator::CrosswordGenerator(CluedWords words, LemmaRoots lemmaRoots)
    : m_words(std::move(words)), m_index(m_words.Words()), m_lemmaRoots(std::move(lemmaRoots)) {
    const std::vector<RatedWord>& all = m_words.Words();
    for (std::size_t i = 0; i < all.size(); ++i) {
        m_byWord.push_back(static_cast<std::uint32_t>(i));
    }
    std::sort(m_byWord.begin(), m_byWord.end(),
              [&](std::uint32_t a, std::uint32_t b) { return all[a].word < all[b].word; });
}

std::vector<std::string_view> CrosswordGenerator::CluesOf(const std::string& word) const {
    const std::vector<RatedWord>& all = m_words.Words();
    const auto found = std::lower_bound(
        m_byWord.begin(), m_byWord.end(), word,
        [&](std::uint32_t i, const std::string& wanted) { return all[i].word < wanted; });
    if (found == m_byWord.end() || all[*found].word != word) {
        return {};
    }
    return m_words.Clues(*found);
}

std::optional<GeneratedGridPuzzle> CrosswordGenerator::Generate(int difficulty,
                                                                std::uint32_t seed) const {
    ClueTurns firstClues;
    AnswerUse noneSpent;
    return Generate(difficulty, seed, firstClues, noneSpent);
}

std::optional<GeneratedGridPuzzle> CrosswordGenerator::Generate(int difficulty, std::uint32_t seed,
                                                                ClueTurns& turns,
                                                                AnswerUse& use) const {
    SeededRandom random(seed);
    // ClueWords gives no clue to two answers, so any fill has distinct clues; a fill is kept
    // when each answer has a clue that names no other.
    const std::optional<FilledGrid> grid = GenerateFilledGrid(
        difficulty, m_index, random, FillGuides{m_lemmaRoots, use}, [&](const FilledGrid& fill) {
            return std::all_of(fill.words.begin(), fill.words.end(), [&](const std::string& word) {
                return FreeClueTurn(CluesOf(word), 0, word, fill.words).has_value();
            });
        });
    if (!grid) {
        return std::nullopt;
    }
    use.Count(grid->words);
    return ToGridPuzzle(*grid, difficulty, [&](const std::string& word) {
        const std::vector<std::string_view> clues = CluesOf(word);
        const int turn = *FreeClueTurn(clues, turns[word], word, grid->words);
        turns[word] = turn + 1;
        return std::string(clues[static_cast<std::size_t>(turn) % clues.size()]);
    });
}

} // namespace datatool
