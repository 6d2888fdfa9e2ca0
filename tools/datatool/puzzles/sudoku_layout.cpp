#include "sudoku_layout.h"

#include <algorithm>

namespace datatool {

const SudokuLayout* SudokuLayout::OfSize(int size) {
    static const SudokuLayout nine(9, 3, 3);
    static const SudokuLayout six(6, 2, 3);
    switch (size) {
    case 9:
        return &nine;
    case 6:
        return &six;
    default:
        return nullptr;
    }
}

SudokuLayout::SudokuLayout(int size, int boxRows, int boxCols)
    : m_size(size), m_boxRows(boxRows), m_boxCols(boxCols),
      m_units(static_cast<std::size_t>(3 * size)),
      m_unitsOfCell(static_cast<std::size_t>(size * size)),
      m_peers(static_cast<std::size_t>(size * size)) {
    for (int cell = 0; cell < NumCells(); ++cell) {
        const std::array<int, 3> units{Row(cell), size + Col(cell), 2 * size + Box(cell)};
        m_unitsOfCell[static_cast<std::size_t>(cell)] = units;
        for (int unit : units) {
            m_units[static_cast<std::size_t>(unit)].push_back(cell);
        }
    }
    for (int cell = 0; cell < NumCells(); ++cell) {
        std::vector<int>& peers = m_peers[static_cast<std::size_t>(cell)];
        for (int unit : UnitsOfCell(cell)) {
            for (int other : m_units[static_cast<std::size_t>(unit)]) {
                if (other != cell && std::find(peers.begin(), peers.end(), other) == peers.end()) {
                    peers.push_back(other);
                }
            }
        }
    }
}

} // namespace datatool
