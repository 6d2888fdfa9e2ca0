#include "sudoku_solver.h"

#include "seeded_random.h"

#include <array>
#include <bit>
#include <utility>

namespace datatool {
namespace {

class SudokuSearch {
public:
    SudokuSearch(const SudokuLayout& layout, int limit, SudokuCells* firstSolution,
                 SeededRandom* random)
        : m_layout(layout), m_used(layout.Units().size(), 0), m_limit(limit),
          m_firstSolution(firstSolution), m_random(random) {}

    int Count(const SudokuCells& cells) {
        m_cells = cells;
        for (int cell = 0; cell < m_layout.NumCells(); ++cell) {
            const int digit = m_cells[static_cast<std::size_t>(cell)];
            if (digit > m_layout.Size() || (digit != 0 && !Fits(cell, digit))) {
                return 0;
            }
            if (digit != 0) {
                Mark(cell, digit);
            }
        }
        Search();
        return m_found;
    }

private:
    DigitMask Free(int cell) const {
        DigitMask used = 0;
        for (int unit : m_layout.UnitsOfCell(cell)) {
            used |= m_used[static_cast<std::size_t>(unit)];
        }
        return static_cast<DigitMask>(m_layout.AllDigits() & ~used);
    }

    bool Fits(int cell, int digit) const { return (Free(cell) & DigitBit(digit)) != 0; }

    void Mark(int cell, int digit) {
        for (int unit : m_layout.UnitsOfCell(cell)) {
            m_used[static_cast<std::size_t>(unit)] ^= DigitBit(digit);
        }
    }

    // The empty cell with the fewest candidates, or -1 when the grid is full.
    int MostConstrainedCell() const {
        int best = -1;
        int bestCount = m_layout.Size() + 1;
        for (int cell = 0; cell < m_layout.NumCells() && bestCount > 1; ++cell) {
            if (m_cells[static_cast<std::size_t>(cell)] != 0) {
                continue;
            }
            const int count = std::popcount(static_cast<unsigned>(Free(cell)));
            if (count < bestCount) {
                best = cell;
                bestCount = count;
            }
        }
        return best;
    }

    // The digits of mask in the order to try them; returns how many there are.
    int DigitsToTry(DigitMask mask, std::array<int, 9>& digits) {
        int count = 0;
        for (int digit = 1; digit <= m_layout.Size(); ++digit) {
            if ((mask & DigitBit(digit)) != 0) {
                digits[static_cast<std::size_t>(count++)] = digit;
            }
        }
        for (int i = count - 1; i > 0 && m_random != nullptr; --i) {
            std::swap(digits[static_cast<std::size_t>(i)],
                      digits[static_cast<std::size_t>(m_random->Below(i + 1))]);
        }
        return count;
    }

    void Search() {
        const int cell = MostConstrainedCell();
        if (cell < 0) {
            if (m_found++ == 0 && m_firstSolution != nullptr) {
                *m_firstSolution = m_cells;
            }
            return;
        }
        std::array<int, 9> digits;
        const int count = DigitsToTry(Free(cell), digits);
        for (int i = 0; i < count; ++i) {
            const int digit = digits[static_cast<std::size_t>(i)];
            m_cells[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(digit);
            Mark(cell, digit);
            Search();
            Mark(cell, digit);
            m_cells[static_cast<std::size_t>(cell)] = 0;
            if (m_found >= m_limit) {
                return;
            }
        }
    }

    const SudokuLayout& m_layout;
    SudokuCells m_cells;
    std::vector<DigitMask> m_used;
    int m_limit;
    int m_found = 0;
    SudokuCells* m_firstSolution;
    SeededRandom* m_random;
};

} // namespace

int CountSudokuSolutions(const SudokuLayout& layout, const SudokuCells& cells, int limit,
                         SudokuCells* firstSolution, SeededRandom* random) {
    if (limit <= 0 || static_cast<int>(cells.size()) != layout.NumCells()) {
        return 0;
    }
    return SudokuSearch(layout, limit, firstSolution, random).Count(cells);
}

} // namespace datatool
