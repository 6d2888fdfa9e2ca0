#include "grid_filler.h"

#include <algorithm>
#include <climits>

namespace datatool {
namespace {

constexpr char kEmptyCell = kOpenCell;

class GridFiller {
public:
    GridFiller(const GridPattern& pattern, const WordIndex& index, CountRange range,
               SeededRandom& random, int budget, const FillGuides& guides)
        : m_index(index), m_range(range), m_random(random), m_budget(budget), m_guides(guides),
          m_slots(pattern.Slots()), m_filled(m_slots.size(), false), m_crossings(m_slots.size()),
          m_placed(guides.lemmaRoots) {
        m_letters.assign(static_cast<std::size_t>(pattern.NumCells()), kEmptyCell);
        std::vector<std::vector<int>> slotsOfCell(m_letters.size());
        for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
            for (int cell : m_slots[slot].cells) {
                slotsOfCell[static_cast<std::size_t>(cell)].push_back(static_cast<int>(slot));
            }
        }
        for (int cell = 0; cell < pattern.NumCells(); ++cell) {
            const std::vector<int>& through = slotsOfCell[static_cast<std::size_t>(cell)];
            if (pattern.IsBlock(cell)) {
                m_letters[static_cast<std::size_t>(cell)] = kBlockCell;
            } else if (through.size() == 2) {
                m_crossings[static_cast<std::size_t>(through[0])].push_back(through[1]);
                m_crossings[static_cast<std::size_t>(through[1])].push_back(through[0]);
            }
        }
    }

    std::optional<FilledGrid> Fill(int rows, int cols) {
        if (!FillFrom(0)) {
            return std::nullopt;
        }
        FilledGrid grid{rows, cols, m_letters, m_slots, {}};
        for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
            grid.words.push_back(PatternOf(static_cast<int>(slot)));
        }
        return grid;
    }

private:
    std::string PatternOf(int slot) const {
        std::string pattern;
        for (int cell : m_slots[static_cast<std::size_t>(slot)].cells) {
            pattern += m_letters[static_cast<std::size_t>(cell)];
        }
        return pattern;
    }

    // The open slot with the fewest fitting words, and their count.
    std::pair<int, int> MostConstrainedSlot() const {
        std::pair<int, int> best{-1, INT_MAX};
        for (std::size_t slot = 0; slot < m_slots.size() && best.second > 0; ++slot) {
            if (m_filled[slot]) {
                continue;
            }
            const int count = m_index.CountMatches(PatternOf(static_cast<int>(slot)), m_range);
            if (count < best.second) {
                best = {static_cast<int>(slot), count};
            }
        }
        return best;
    }

    // Writes the word into the slot's empty cells; the cells it wrote.
    std::vector<int> Place(int slot, const std::string& word) {
        std::vector<int> written;
        const std::vector<int>& cells = m_slots[static_cast<std::size_t>(slot)].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            char& letter = m_letters[static_cast<std::size_t>(cells[i])];
            if (letter == kEmptyCell) {
                letter = word[i];
                written.push_back(cells[i]);
            }
        }
        return written;
    }

    bool CrossingsStillFit(int slot) const {
        for (int crossing : m_crossings[static_cast<std::size_t>(slot)]) {
            if (!m_filled[static_cast<std::size_t>(crossing)] &&
                m_index.CountMatches(PatternOf(crossing), m_range) == 0) {
                return false;
            }
        }
        return true;
    }

    bool FillFrom(std::size_t filledCount) {
        if (filledCount == m_slots.size()) {
            return true;
        }
        const auto [slot, count] = MostConstrainedSlot();
        if (count == 0) {
            return false;
        }
        const std::string pattern = PatternOf(slot);
        std::vector<int> ids = m_index.Matches(pattern, m_range);
        m_random.Shuffle(ids);
        std::stable_partition(ids.begin(), ids.end(), [&](int id) {
            return m_index.IsPreferred(static_cast<int>(pattern.size()), id);
        });
        const auto unspent = std::stable_partition(ids.begin(), ids.end(), [&](int id) {
            return !m_guides.use.IsSpent(m_index.Word(static_cast<int>(pattern.size()), id));
        });
        if (!m_guides.takeSpent) {
            ids.erase(unspent, ids.end());
        }
        for (int id : ids) {
            if (--m_budget < 0) {
                return false;
            }
            const std::string word = m_index.Word(static_cast<int>(pattern.size()), id);
            if (m_placed.HasKinOf(word)) {
                continue;
            }
            const std::vector<int> written = Place(slot, word);
            if (CrossingsStillFit(slot)) {
                m_placed.Add(word);
                m_filled[static_cast<std::size_t>(slot)] = true;
                if (FillFrom(filledCount + 1)) {
                    return true;
                }
                m_placed.RemoveLast();
                m_filled[static_cast<std::size_t>(slot)] = false;
            }
            for (int cell : written) {
                m_letters[static_cast<std::size_t>(cell)] = kEmptyCell;
            }
        }
        return false;
    }

    const WordIndex& m_index;
    CountRange m_range;
    SeededRandom& m_random;
    int m_budget;
    const FillGuides& m_guides;
    std::vector<GridSlot> m_slots;
    std::vector<bool> m_filled;
    std::vector<std::vector<int>> m_crossings; // per slot, the slots crossing it
    std::string m_letters;
    KindredWords m_placed;
};

} // namespace

bool AnswerUse::IsSpent(const std::string& answer) const {
    const auto found = m_uses.find(answer);
    return found != m_uses.end() && found->second >= m_limit;
}

void AnswerUse::Count(const std::vector<std::string>& answers) {
    for (const std::string& answer : answers) {
        ++m_uses[answer];
    }
}

std::optional<FilledGrid> FillGrid(const GridPattern& pattern, const WordIndex& index,
                                   CountRange range, SeededRandom& random, int budget,
                                   const FillGuides& guides) {
    return GridFiller(pattern, index, range, random, budget, guides)
        .Fill(pattern.Rows(), pattern.Cols());
}

} // namespace datatool
