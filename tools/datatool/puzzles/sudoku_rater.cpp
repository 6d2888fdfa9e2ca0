#include "sudoku_rater.h"

#include <algorithm>
#include <array>
#include <bit>

namespace datatool {
namespace {

int CountBits(unsigned mask) {
    return std::popcount(mask);
}

// The candidates of every cell, narrowed by techniques; a placed cell has none left.
class SudokuLogic {
public:
    SudokuLogic(const SudokuLayout& layout, const SudokuCells& givens)
        : m_layout(layout), m_cells(static_cast<std::size_t>(layout.NumCells()), 0),
          m_candidates(static_cast<std::size_t>(layout.NumCells()), layout.AllDigits()) {
        for (int cell = 0; cell < layout.NumCells(); ++cell) {
            const int digit = givens[static_cast<std::size_t>(cell)];
            if (digit > layout.Size() ||
                (digit != 0 && (Candidates(cell) & DigitBit(digit)) == 0)) {
                m_contradiction = true;
            } else if (digit != 0) {
                Place(cell, digit);
            }
        }
    }

    // Solves with techniques up to maxLevel, always taking the easiest step that makes
    // progress; the hardest level used, kSudokuBeyondTechniques when they stall,
    // kSudokuContradiction when the grid cannot be solved.
    int Solve(int maxLevel) {
        int hardest = kSudokuSingles;
        while (!m_contradiction && !Solved()) {
            const int level = ApplyEasiestStep(maxLevel);
            if (level == 0) {
                return m_contradiction ? kSudokuContradiction : kSudokuBeyondTechniques;
            }
            hardest = std::max(hardest, level);
        }
        return m_contradiction ? kSudokuContradiction : hardest;
    }

    const SudokuCells& Cells() const { return m_cells; }

private:
    DigitMask& Candidates(int cell) { return m_candidates[static_cast<std::size_t>(cell)]; }
    const std::vector<int>& Unit(int unit) const {
        return m_layout.Units()[static_cast<std::size_t>(unit)];
    }
    int NumUnits() const { return static_cast<int>(m_layout.Units().size()); }

    bool Solved() const {
        for (std::uint8_t digit : m_cells) {
            if (digit == 0) {
                return false;
            }
        }
        return true;
    }

    void Place(int cell, int digit) {
        m_cells[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(digit);
        Candidates(cell) = 0;
        for (int peer : m_layout.Peers(cell)) {
            if (m_cells[static_cast<std::size_t>(peer)] == digit) {
                m_contradiction = true;
            }
            Eliminate(peer, DigitBit(digit));
        }
    }

    // Removes digits from a cell's candidates; true when any went.
    bool Eliminate(int cell, DigitMask digits) {
        DigitMask& candidates = Candidates(cell);
        if ((candidates & digits) == 0) {
            return false;
        }
        candidates = static_cast<DigitMask>(candidates & ~digits);
        if (candidates == 0 && m_cells[static_cast<std::size_t>(cell)] == 0) {
            m_contradiction = true;
        }
        return true;
    }

    // The cells of a unit that may still take the digit.
    DigitMask PlacesOf(int unit, int digit, int* lastCell) {
        DigitMask places = 0;
        const std::vector<int>& cells = Unit(unit);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if ((Candidates(cells[i]) & DigitBit(digit)) != 0) {
                places = static_cast<DigitMask>(places | (1u << i));
                *lastCell = cells[i];
            }
        }
        return places;
    }

    bool UnitHasDigit(int unit, int digit) const {
        for (int cell : Unit(unit)) {
            if (m_cells[static_cast<std::size_t>(cell)] == digit) {
                return true;
            }
        }
        return false;
    }

    bool ApplySingles() {
        bool progress = false;
        for (int cell = 0; cell < m_layout.NumCells() && !m_contradiction; ++cell) {
            const DigitMask candidates = Candidates(cell);
            if (m_cells[static_cast<std::size_t>(cell)] == 0 && CountBits(candidates) == 1) {
                Place(cell, std::countr_zero(static_cast<unsigned>(candidates)) + 1);
                progress = true;
            }
        }
        for (int unit = 0; unit < NumUnits() && !m_contradiction; ++unit) {
            for (int digit = 1; digit <= m_layout.Size(); ++digit) {
                int cell = -1;
                const int places = CountBits(PlacesOf(unit, digit, &cell));
                if (places == 1) {
                    Place(cell, digit);
                    progress = true;
                } else if (places == 0 && !UnitHasDigit(unit, digit)) {
                    m_contradiction = true;
                }
            }
        }
        return progress;
    }

    // The level of the step taken, 0 when no technique up to maxLevel makes progress.
    int ApplyEasiestStep(int maxLevel) {
        if (ApplySingles()) {
            return kSudokuSingles;
        }
        if (maxLevel >= kSudokuSubsets && ApplySubsetsAndIntersections()) {
            return kSudokuSubsets;
        }
        if (maxLevel >= kSudokuFishAndWings && ApplyFishAndWings()) {
            return kSudokuFishAndWings;
        }
        return 0;
    }

    bool ApplySubsetsAndIntersections() {
        for (int unit = 0; unit < NumUnits(); ++unit) {
            if (NakedSubset(unit, 2) || NakedSubset(unit, 3) || HiddenPair(unit)) {
                return true;
            }
        }
        return Intersections();
    }

    // size empty cells of the unit whose candidates together are size digits: those
    // digits leave the unit's other cells.
    bool NakedSubset(int unit, int size) {
        m_emptyCells.clear();
        for (int cell : Unit(unit)) {
            if (m_cells[static_cast<std::size_t>(cell)] == 0) {
                m_emptyCells.push_back(cell);
            }
        }
        m_chosenCells.clear();
        return ChooseNakedSubset(unit, m_emptyCells, 0, size, 0, m_chosenCells);
    }

    // Extends chosen (whose candidates are digits) by cells of empty from index first.
    bool ChooseNakedSubset(int unit, const std::vector<int>& empty, std::size_t first, int size,
                           DigitMask digits, std::vector<int>& chosen) {
        if (CountBits(digits) > size) {
            return false;
        }
        if (static_cast<int>(chosen.size()) == size) {
            return CountBits(digits) == size && EliminateOutside(unit, chosen, digits);
        }
        for (std::size_t i = first; i < empty.size(); ++i) {
            chosen.push_back(empty[i]);
            const bool progress =
                ChooseNakedSubset(unit, empty, i + 1, size,
                                  static_cast<DigitMask>(digits | Candidates(empty[i])), chosen);
            chosen.pop_back();
            if (progress) {
                return true;
            }
        }
        return false;
    }

    bool EliminateOutside(int unit, const std::vector<int>& inside, DigitMask digits) {
        bool progress = false;
        for (int cell : Unit(unit)) {
            if (std::find(inside.begin(), inside.end(), cell) == inside.end()) {
                progress = Eliminate(cell, digits) || progress;
            }
        }
        return progress;
    }

    // Two digits that may only go in the same two cells of the unit: those cells lose
    // every other candidate.
    bool HiddenPair(int unit) {
        const std::vector<int>& cells = Unit(unit);
        for (int a = 1; a <= m_layout.Size(); ++a) {
            int unused = -1;
            const DigitMask placesA = PlacesOf(unit, a, &unused);
            if (CountBits(placesA) != 2) {
                continue;
            }
            for (int b = a + 1; b <= m_layout.Size(); ++b) {
                if (PlacesOf(unit, b, &unused) != placesA) {
                    continue;
                }
                const DigitMask pair = static_cast<DigitMask>(DigitBit(a) | DigitBit(b));
                bool progress = false;
                for (std::size_t i = 0; i < cells.size(); ++i) {
                    if ((placesA & (1u << i)) != 0) {
                        progress = Eliminate(cells[i], static_cast<DigitMask>(~pair)) || progress;
                    }
                }
                if (progress) {
                    return true;
                }
            }
        }
        return false;
    }

    // A digit whose places in one unit all lie in one other unit (a box and a row or
    // column): it leaves the rest of that other unit.
    bool Intersections() {
        for (int unit = 0; unit < NumUnits(); ++unit) {
            for (int digit = 1; digit <= m_layout.Size(); ++digit) {
                if (ConfineDigit(unit, digit)) {
                    return true;
                }
            }
        }
        return false;
    }

    bool ConfineDigit(int unit, int digit) {
        int unused = -1;
        const DigitMask places = PlacesOf(unit, digit, &unused);
        if (CountBits(places) < 2) {
            return false;
        }
        const std::vector<int>& cells = Unit(unit);
        const int first =
            cells[static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(places)))];
        for (int other : m_layout.UnitsOfCell(first)) {
            if (other == unit || !AllPlacesIn(cells, places, other)) {
                continue;
            }
            bool progress = false;
            for (int cell : Unit(other)) {
                if (m_layout.UnitsOfCell(cell)[0] != unit &&
                    m_layout.UnitsOfCell(cell)[1] != unit &&
                    m_layout.UnitsOfCell(cell)[2] != unit) {
                    progress = Eliminate(cell, DigitBit(digit)) || progress;
                }
            }
            if (progress) {
                return true;
            }
        }
        return false;
    }

    bool AllPlacesIn(const std::vector<int>& cells, DigitMask places, int other) const {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if ((places & (1u << i)) == 0) {
                continue;
            }
            const std::array<int, 3>& units = m_layout.UnitsOfCell(cells[i]);
            if (units[0] != other && units[1] != other && units[2] != other) {
                return false;
            }
        }
        return true;
    }

    bool ApplyFishAndWings() {
        for (int size = 2; size <= 3; ++size) {
            for (int digit = 1; digit <= m_layout.Size(); ++digit) {
                if (Fish(digit, size, 0, m_layout.Size()) ||
                    Fish(digit, size, m_layout.Size(), 0)) {
                    return true;
                }
            }
        }
        return XYWing();
    }

    struct FishLines {
        int digit;
        int size;
        int firstCoverUnit;
        const std::vector<std::pair<int, DigitMask>>& lines;
    };

    // X-wing (size 2) and swordfish (size 3): size lines of one direction (rows from
    // unit 0, or columns) whose places for the digit lie in only size crossing lines: the
    // digit leaves the rest of those crossing lines. Line i's place j is crossing line j.
    bool Fish(int digit, int size, int firstBaseUnit, int firstCoverUnit) {
        m_fishLines.clear();
        for (int line = 0; line < m_layout.Size(); ++line) {
            int unused = -1;
            const DigitMask places = PlacesOf(firstBaseUnit + line, digit, &unused);
            if (CountBits(places) >= 2 && CountBits(places) <= size) {
                m_fishLines.emplace_back(line, places);
            }
        }
        const FishLines fish{digit, size, firstCoverUnit, m_fishLines};
        return ChooseFish(fish, 0, 0, 0, 0);
    }

    // Extends the base lines chosen so far (a bit per line) by lines from index first.
    bool ChooseFish(const FishLines& fish, std::size_t first, int chosen, unsigned baseLines,
                    DigitMask cover) {
        if (CountBits(cover) > fish.size) {
            return false;
        }
        if (chosen == fish.size) {
            return CountBits(cover) == fish.size && EliminateFromCover(fish, baseLines, cover);
        }
        for (std::size_t i = first; i < fish.lines.size(); ++i) {
            if (ChooseFish(fish, i + 1, chosen + 1, baseLines | (1u << fish.lines[i].first),
                           static_cast<DigitMask>(cover | fish.lines[i].second))) {
                return true;
            }
        }
        return false;
    }

    bool EliminateFromCover(const FishLines& fish, unsigned baseLines, DigitMask cover) {
        bool progress = false;
        for (int line = 0; line < m_layout.Size(); ++line) {
            if ((cover & (1u << line)) == 0) {
                continue;
            }
            const std::vector<int>& cells = Unit(fish.firstCoverUnit + line);
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if ((baseLines & (1u << i)) == 0) {
                    progress = Eliminate(cells[i], DigitBit(fish.digit)) || progress;
                }
            }
        }
        return progress;
    }

    // A pivot cell with candidates {x, y} seeing a cell {x, z} and a cell {y, z}: one of
    // those two holds z, so z leaves every cell that sees both.
    bool XYWing() {
        for (int pivot = 0; pivot < m_layout.NumCells(); ++pivot) {
            const DigitMask xy = Candidates(pivot);
            if (CountBits(xy) != 2) {
                continue;
            }
            for (int first : m_layout.Peers(pivot)) {
                const DigitMask xz = Candidates(first);
                if (CountBits(xz) != 2 || CountBits(xz & xy) != 1) {
                    continue;
                }
                const DigitMask z = static_cast<DigitMask>(xz & ~xy);
                const DigitMask yz = static_cast<DigitMask>((xy & ~xz) | z);
                for (int second : m_layout.Peers(pivot)) {
                    if (Candidates(second) == yz && EliminateSeenByBoth(first, second, z)) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    bool EliminateSeenByBoth(int first, int second, DigitMask digits) {
        bool progress = false;
        for (int cell : m_layout.Peers(first)) {
            if (cell != second && Sees(cell, second)) {
                progress = Eliminate(cell, digits) || progress;
            }
        }
        return progress;
    }

    bool Sees(int cell, int other) const {
        const std::array<int, 3>& units = m_layout.UnitsOfCell(cell);
        const std::array<int, 3>& otherUnits = m_layout.UnitsOfCell(other);
        return cell != other && (units[0] == otherUnits[0] || units[1] == otherUnits[1] ||
                                 units[2] == otherUnits[2]);
    }

    const SudokuLayout& m_layout;
    SudokuCells m_cells;
    std::vector<DigitMask> m_candidates;
    bool m_contradiction = false;
    // Scratch lists of the subset and fish searches, kept to spare allocations.
    std::vector<int> m_emptyCells;
    std::vector<int> m_chosenCells;
    std::vector<std::pair<int, DigitMask>> m_fishLines;
};

} // namespace

int RateSudoku(const SudokuLayout& layout, const SudokuCells& givens, SudokuCells* solved) {
    if (static_cast<int>(givens.size()) != layout.NumCells()) {
        return kSudokuContradiction;
    }
    SudokuLogic logic(layout, givens);
    const int rating = logic.Solve(kSudokuFishAndWings);
    if (solved != nullptr) {
        *solved = logic.Cells();
    }
    return rating;
}

bool SolvesWithTechniques(const SudokuLayout& layout, const SudokuCells& givens, int level) {
    if (static_cast<int>(givens.size()) != layout.NumCells()) {
        return false;
    }
    const int used = SudokuLogic(layout, givens).Solve(level);
    return used >= kSudokuSingles && used <= level && used < kSudokuBeyondTechniques;
}

} // namespace datatool
