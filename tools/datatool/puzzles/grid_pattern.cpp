#include "grid_pattern.h"

#include <algorithm>

namespace datatool {
namespace {

constexpr int kMaxPatternTries = 40;

// The runs of open cells of a line, each as its cells.
template <class CellAt>
void CollectRuns(int length, CellAt cellAt, const GridPattern& pattern,
                 std::vector<std::vector<int>>& runs) {
    std::vector<int> run;
    for (int i = 0; i <= length; ++i) {
        if (i < length && !pattern.IsBlock(cellAt(i))) {
            run.push_back(cellAt(i));
            continue;
        }
        if (!run.empty()) {
            runs.push_back(run);
        }
        run.clear();
    }
}

// Every run of the pattern across (down false) or down, one cell long or more.
std::vector<std::vector<int>> Runs(const GridPattern& pattern, bool down) {
    std::vector<std::vector<int>> runs;
    const int lines = down ? pattern.Cols() : pattern.Rows();
    const int length = down ? pattern.Rows() : pattern.Cols();
    for (int line = 0; line < lines; ++line) {
        CollectRuns(
            length,
            [&](int i) { return down ? i * pattern.Cols() + line : line * pattern.Cols() + i; },
            pattern, runs);
    }
    return runs;
}

GridPattern Lattice(int rows, int cols) {
    GridPattern pattern(rows, cols);
    for (int row = 1; row < rows; row += 2) {
        for (int col = 1; col < cols; col += 2) {
            pattern.SetBlock(row * cols + col, true);
        }
    }
    return pattern;
}

// The open cells between two lattice blocks (row + column odd), each with its partner
// under a half turn left out.
std::vector<int> Bars(const GridPattern& pattern) {
    std::vector<int> bars;
    for (int cell = 0; cell < pattern.NumCells(); ++cell) {
        const int row = cell / pattern.Cols();
        const int col = cell % pattern.Cols();
        if ((row + col) % 2 == 1 && cell < pattern.NumCells() - 1 - cell) {
            bars.push_back(cell);
        }
    }
    return bars;
}

bool IsValidStep(const GridPattern& pattern, const GridShape& shape) {
    return pattern.RunLengths().first >= shape.minLength && pattern.CountLoneCells() == 0 &&
           static_cast<int>(pattern.Slots().size()) <= shape.maxWords && pattern.IsConnected();
}

// Whether the bar (or its partner) lies in a slot longer than the shape allows.
bool SplitsLongSlot(const GridPattern& pattern, int bar, const GridShape& shape) {
    const int partner = pattern.NumCells() - 1 - bar;
    for (const GridSlot& slot : pattern.Slots()) {
        if (static_cast<int>(slot.cells.size()) > shape.maxLength &&
            (std::find(slot.cells.begin(), slot.cells.end(), bar) != slot.cells.end() ||
             std::find(slot.cells.begin(), slot.cells.end(), partner) != slot.cells.end())) {
            return true;
        }
    }
    return false;
}

// Blocks one more pair of bars, preferring those that split an over-long slot; false
// when no pair can be blocked.
bool BlockOnePair(GridPattern& pattern, const GridShape& shape, std::vector<int>& bars) {
    const bool tooLong = pattern.RunLengths().second > shape.maxLength;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const int bar = bars[i];
        if (tooLong && !SplitsLongSlot(pattern, bar, shape)) {
            continue;
        }
        const int partner = pattern.NumCells() - 1 - bar;
        pattern.SetBlock(bar, true);
        pattern.SetBlock(partner, true);
        if (IsValidStep(pattern, shape)) {
            bars.erase(bars.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
        pattern.SetBlock(bar, false);
        pattern.SetBlock(partner, false);
    }
    return false;
}

} // namespace

GridPattern::GridPattern(int rows, int cols)
    : m_rows(rows), m_cols(cols), m_blocks(static_cast<std::size_t>(rows * cols), false) {}

std::vector<GridSlot> GridPattern::Slots() const {
    std::vector<GridSlot> slots;
    for (const bool down : {false, true}) {
        for (std::vector<int>& run : Runs(*this, down)) {
            if (run.size() >= 2) {
                slots.push_back(GridSlot{down, run[0], std::move(run)});
            }
        }
    }
    std::stable_sort(slots.begin(), slots.end(), [](const GridSlot& a, const GridSlot& b) {
        return a.startCell != b.startCell ? a.startCell < b.startCell : !a.down && b.down;
    });
    return slots;
}

int GridPattern::CountLoneCells() const {
    std::vector<bool> inSlot(static_cast<std::size_t>(NumCells()), false);
    for (const GridSlot& slot : Slots()) {
        for (int cell : slot.cells) {
            inSlot[static_cast<std::size_t>(cell)] = true;
        }
    }
    int lone = 0;
    for (int cell = 0; cell < NumCells(); ++cell) {
        lone += !IsBlock(cell) && !inSlot[static_cast<std::size_t>(cell)] ? 1 : 0;
    }
    return lone;
}

bool GridPattern::IsConnected() const {
    std::vector<bool> seen(static_cast<std::size_t>(NumCells()), false);
    std::vector<int> stack;
    int open = 0;
    for (int cell = 0; cell < NumCells(); ++cell) {
        if (!IsBlock(cell)) {
            ++open;
            if (stack.empty() && open == 1) {
                stack.push_back(cell);
                seen[static_cast<std::size_t>(cell)] = true;
            }
        }
    }
    int reached = 0;
    while (!stack.empty()) {
        const int cell = stack.back();
        stack.pop_back();
        ++reached;
        const int row = cell / m_cols;
        const int col = cell % m_cols;
        const int neighbours[4][2] = {
            {row - 1, col}, {row + 1, col}, {row, col - 1}, {row, col + 1}};
        for (const auto& [r, c] : neighbours) {
            const int next = r * m_cols + c;
            if (r >= 0 && r < m_rows && c >= 0 && c < m_cols && !IsBlock(next) &&
                !seen[static_cast<std::size_t>(next)]) {
                seen[static_cast<std::size_t>(next)] = true;
                stack.push_back(next);
            }
        }
    }
    return reached == open;
}

std::pair<int, int> GridPattern::RunLengths() const {
    int shortest = 0;
    int longest = 0;
    for (const GridSlot& slot : Slots()) {
        const int length = static_cast<int>(slot.cells.size());
        shortest = shortest == 0 ? length : std::min(shortest, length);
        longest = std::max(longest, length);
    }
    return {shortest, longest};
}

bool PatternMeetsShape(const GridPattern& pattern, const GridShape& shape) {
    const int words = static_cast<int>(pattern.Slots().size());
    const auto [shortest, longest] = pattern.RunLengths();
    return pattern.Rows() == shape.rows && pattern.Cols() == shape.cols &&
           words >= shape.minWords && words <= shape.maxWords && shortest >= shape.minLength &&
           longest <= shape.maxLength && pattern.CountLoneCells() == 0 && pattern.IsConnected();
}

std::optional<GridPattern> MakeLatticePattern(const GridShape& shape, SeededRandom& random) {
    if (shape.rows % 2 == 0 || shape.cols % 2 == 0) {
        return std::nullopt;
    }
    for (int attempt = 0; attempt < kMaxPatternTries; ++attempt) {
        GridPattern pattern = Lattice(shape.rows, shape.cols);
        std::vector<int> bars = Bars(pattern);
        random.Shuffle(bars);
        const int target = random.Between(shape.minWords, shape.maxWords);
        while ((static_cast<int>(pattern.Slots().size()) < target ||
                pattern.RunLengths().second > shape.maxLength) &&
               BlockOnePair(pattern, shape, bars)) {
        }
        if (PatternMeetsShape(pattern, shape)) {
            return pattern;
        }
    }
    return std::nullopt;
}

} // namespace datatool
