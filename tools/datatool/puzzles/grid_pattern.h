// GridPattern: the blocks of a crossword-style grid and the word slots they leave, the
// maximal runs of two or more open cells across and down. MakeLatticePattern draws
// British-style blocked grids: odd sides, a block wherever row and column are both odd,
// and further blocks, in pairs that a half turn maps onto each other, splitting the
// runs until the grid's shape is met. In such a grid half the letters of each word
// belong to that word alone. Plain values; one owner.
#pragma once

#include "seeded_random.h"

#include <optional>
#include <vector>

namespace datatool {

struct GridSlot {
    bool down = false; // false across
    int startCell = 0; // cell = row x cols + column
    std::vector<int> cells;
};

// What a generated grid must be: its size, the count of its words, and their lengths.
struct GridShape {
    int rows;
    int cols;
    int minWords;
    int maxWords;
    int minLength;
    int maxLength;
};

class GridPattern {
public:
    GridPattern(int rows, int cols);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    int NumCells() const { return m_rows * m_cols; }
    bool IsBlock(int cell) const { return m_blocks[static_cast<std::size_t>(cell)]; }
    void SetBlock(int cell, bool block) { m_blocks[static_cast<std::size_t>(cell)] = block; }

    // The slots, in order of start cell, the across slot of a cell before its down slot.
    std::vector<GridSlot> Slots() const;
    // Open cells in no slot.
    int CountLoneCells() const;
    // Whether every open cell can be reached from every other through open cells.
    bool IsConnected() const;
    // The length of the shortest and the longest run of two or more open cells; 0 and
    // 0 without any.
    std::pair<int, int> RunLengths() const;

private:
    int m_rows;
    int m_cols;
    std::vector<bool> m_blocks;
};

// A lattice grid of the shape (odd sides), or nothing when the tries drawn from random
// all fail to meet it.
std::optional<GridPattern> MakeLatticePattern(const GridShape& shape, SeededRandom& random);

// Whether the pattern meets the shape: word count and lengths within it, every open
// cell in a word, all open cells connected.
bool PatternMeetsShape(const GridPattern& pattern, const GridShape& shape);

} // namespace datatool
