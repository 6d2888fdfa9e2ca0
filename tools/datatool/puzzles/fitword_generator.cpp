#include "fitword_generator.h"

#include <climits>

namespace datatool {
namespace {

constexpr char kEmpty = 0;

// Fits a word list into slots by backtracking, counting the ways.
class FitwordSolver {
public:
    FitwordSolver(const std::vector<GridSlot>& slots, int numCells,
                  const std::vector<std::string>& words)
        : m_slots(slots), m_words(words), m_letters(static_cast<std::size_t>(numCells), kEmpty),
          m_slotWord(slots.size(), -1), m_wordUsed(words.size(), false) {}

    int Count(int limit) {
        const int slot = MostConstrainedSlot();
        if (slot < 0) {
            return 1;
        }
        int found = 0;
        for (int word : Candidates(slot)) {
            const std::vector<int> written = Place(slot, word);
            found += Count(limit - found);
            Remove(slot, word, written);
            if (found >= limit) {
                break;
            }
        }
        return found;
    }

private:
    bool Fits(int slot, int word) const {
        const std::vector<int>& cells = m_slots[static_cast<std::size_t>(slot)].cells;
        const std::string& text = m_words[static_cast<std::size_t>(word)];
        if (m_wordUsed[static_cast<std::size_t>(word)] || text.size() != cells.size()) {
            return false;
        }
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const char letter = m_letters[static_cast<std::size_t>(cells[i])];
            if (letter != kEmpty && letter != text[i]) {
                return false;
            }
        }
        return true;
    }

    std::vector<int> Candidates(int slot) const {
        std::vector<int> candidates;
        for (std::size_t word = 0; word < m_words.size(); ++word) {
            if (Fits(slot, static_cast<int>(word))) {
                candidates.push_back(static_cast<int>(word));
            }
        }
        return candidates;
    }

    // The open slot with the fewest candidates; -1 when every slot has its word.
    int MostConstrainedSlot() const {
        int best = -1;
        std::size_t fewest = SIZE_MAX;
        for (std::size_t slot = 0; slot < m_slots.size() && fewest > 0; ++slot) {
            if (m_slotWord[slot] >= 0) {
                continue;
            }
            const std::size_t count = Candidates(static_cast<int>(slot)).size();
            if (count < fewest) {
                best = static_cast<int>(slot);
                fewest = count;
            }
        }
        return best;
    }

    std::vector<int> Place(int slot, int word) {
        std::vector<int> written;
        const std::vector<int>& cells = m_slots[static_cast<std::size_t>(slot)].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            char& letter = m_letters[static_cast<std::size_t>(cells[i])];
            if (letter == kEmpty) {
                letter = m_words[static_cast<std::size_t>(word)][i];
                written.push_back(cells[i]);
            }
        }
        m_slotWord[static_cast<std::size_t>(slot)] = word;
        m_wordUsed[static_cast<std::size_t>(word)] = true;
        return written;
    }

    void Remove(int slot, int word, const std::vector<int>& written) {
        for (int cell : written) {
            m_letters[static_cast<std::size_t>(cell)] = kEmpty;
        }
        m_slotWord[static_cast<std::size_t>(slot)] = -1;
        m_wordUsed[static_cast<std::size_t>(word)] = false;
    }

    const std::vector<GridSlot>& m_slots;
    const std::vector<std::string>& m_words;
    std::string m_letters;
    std::vector<int> m_slotWord;
    std::vector<bool> m_wordUsed;
};

} // namespace

int CountFitwordSolutions(const std::vector<GridSlot>& slots, int numCells,
                          const std::vector<std::string>& words, int limit) {
    return FitwordSolver(slots, numCells, words).Count(limit);
}

FitwordGenerator::FitwordGenerator(const std::vector<RatedWord>& words, LemmaRoots lemmaRoots)
    : m_index(words), m_lemmaRoots(std::move(lemmaRoots)) {}

std::optional<GeneratedGridPuzzle> FitwordGenerator::Generate(int difficulty,
                                                              std::uint32_t seed) const {
    AnswerUse noneSpent;
    return Generate(difficulty, seed, noneSpent);
}

std::optional<GeneratedGridPuzzle> FitwordGenerator::Generate(int difficulty, std::uint32_t seed,
                                                              AnswerUse& use) const {
    SeededRandom random(seed);
    const std::optional<FilledGrid> grid = GenerateFilledGrid(
        difficulty, m_index, random, FillGuides{m_lemmaRoots, use}, [](const FilledGrid& filled) {
            return CountFitwordSolutions(filled.slots, filled.rows * filled.cols, filled.words,
                                         2) == 1;
        });
    if (!grid) {
        return std::nullopt;
    }
    use.Count(grid->words);
    return ToGridPuzzle(*grid, difficulty, [](const std::string&) { return std::string(); });
}

} // namespace datatool
