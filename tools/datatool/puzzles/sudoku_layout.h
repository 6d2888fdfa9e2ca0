// SudokuLayout: the geometry of a sudoku grid, 9 x 9 with 3 x 3 boxes or 6 x 6 with
// boxes of 2 rows by 3 columns. Cells are numbered row by row from 0 and hold 0 (empty)
// or a digit 1 to size. Layouts are built once and shared read-only; OfSize gives null
// for any other size.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace datatool {

using SudokuCells = std::vector<std::uint8_t>;

// Candidate digits of a cell as bits: digit d is bit d - 1.
using DigitMask = std::uint16_t;

inline DigitMask DigitBit(int digit) {
    return static_cast<DigitMask>(1u << (digit - 1));
}

class SudokuLayout {
public:
    static const SudokuLayout* OfSize(int size);

    int Size() const { return m_size; }
    int NumCells() const { return m_size * m_size; }
    int BoxRows() const { return m_boxRows; }
    int BoxCols() const { return m_boxCols; }
    DigitMask AllDigits() const { return static_cast<DigitMask>((1u << m_size) - 1); }

    // Rows first, then columns, then boxes; each lists its cells in order.
    const std::vector<std::vector<int>>& Units() const { return m_units; }
    // The row, column and box unit of a cell, as indices into Units().
    const std::array<int, 3>& UnitsOfCell(int cell) const {
        return m_unitsOfCell[static_cast<std::size_t>(cell)];
    }
    // Every other cell that shares a unit with the cell.
    const std::vector<int>& Peers(int cell) const {
        return m_peers[static_cast<std::size_t>(cell)];
    }
    int Row(int cell) const { return cell / m_size; }
    int Col(int cell) const { return cell % m_size; }
    int Box(int cell) const {
        return Row(cell) / m_boxRows * (m_size / m_boxCols) + Col(cell) / m_boxCols;
    }

private:
    SudokuLayout(int size, int boxRows, int boxCols);

    int m_size;
    int m_boxRows;
    int m_boxCols;
    std::vector<std::vector<int>> m_units;
    std::vector<std::array<int, 3>> m_unitsOfCell;
    std::vector<std::vector<int>> m_peers;
};

} // namespace datatool
