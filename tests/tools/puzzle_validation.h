// Checks of generated puzzles written independently of the generators: a plain
// backtracking sudoku solver, a singles-only sudoku solver, and a wordsearch checker
// that walks each word's trail and reads the grid in every direction. Each check
// returns the problems it found, empty for a sound puzzle.
#pragma once

#include <puzzles/puzzledata.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace puzzle_validation {

using Kelvo_lib::SudokuData;
using Kelvo_lib::WordsearchData;

class SudokuGrid {
public:
    SudokuGrid(int size, const unsigned char* cells)
        : m_size(size), m_boxRows(size == 9 ? 3 : 2), m_cells(cells, cells + size * size) {}

    // Whether digit may go in the empty cell (row, col).
    bool Allows(int row, int col, int digit) const {
        for (int i = 0; i < m_size; ++i) {
            if (At(row, i) == digit || At(i, col) == digit) {
                return false;
            }
        }
        const int top = row / m_boxRows * m_boxRows;
        const int left = col / 3 * 3;
        for (int r = top; r < top + m_boxRows; ++r) {
            for (int c = left; c < left + 3; ++c) {
                if (At(r, c) == digit) {
                    return false;
                }
            }
        }
        return true;
    }

    std::vector<int> Candidates(int cell) const {
        std::vector<int> digits;
        for (int digit = 1; digit <= m_size && m_cells[static_cast<std::size_t>(cell)] == 0;
             ++digit) {
            if (Allows(cell / m_size, cell % m_size, digit)) {
                digits.push_back(digit);
            }
        }
        return digits;
    }

    // Solutions up to limit; the first is kept.
    int CountSolutions(int limit) {
        int best = -1;
        std::vector<int> bestDigits;
        for (int cell = 0; cell < m_size * m_size; ++cell) {
            if (m_cells[static_cast<std::size_t>(cell)] != 0) {
                continue;
            }
            std::vector<int> digits = Candidates(cell);
            if (best < 0 || digits.size() < bestDigits.size()) {
                best = cell;
                bestDigits = std::move(digits);
            }
        }
        if (best < 0) {
            if (m_first.empty()) {
                m_first = m_cells;
            }
            return 1;
        }
        int found = 0;
        for (int digit : bestDigits) {
            m_cells[static_cast<std::size_t>(best)] = static_cast<unsigned char>(digit);
            found += CountSolutions(limit - found);
            m_cells[static_cast<std::size_t>(best)] = 0;
            if (found >= limit) {
                break;
            }
        }
        return found;
    }

    // Fills cells that have one candidate, or that are a digit's one place in a row,
    // column or box, until neither is left; true when that fills the grid.
    bool SolveBySingles() {
        for (bool progress = true; progress;) {
            progress = false;
            for (int cell = 0; cell < m_size * m_size; ++cell) {
                const std::vector<int> digits = Candidates(cell);
                if (digits.size() == 1) {
                    m_cells[static_cast<std::size_t>(cell)] = static_cast<unsigned char>(digits[0]);
                    progress = true;
                }
            }
            for (const std::vector<int>& unit : Units()) {
                for (int digit = 1; digit <= m_size; ++digit) {
                    std::vector<int> places;
                    for (int cell : unit) {
                        const std::vector<int> digits = Candidates(cell);
                        if (std::find(digits.begin(), digits.end(), digit) != digits.end()) {
                            places.push_back(cell);
                        }
                    }
                    if (places.size() == 1) {
                        m_cells[static_cast<std::size_t>(places[0])] =
                            static_cast<unsigned char>(digit);
                        progress = true;
                    }
                }
            }
        }
        return std::find(m_cells.begin(), m_cells.end(), 0) == m_cells.end();
    }

    const std::vector<unsigned char>& FirstSolution() const { return m_first; }

private:
    int At(int row, int col) const { return m_cells[static_cast<std::size_t>(row * m_size + col)]; }

    std::vector<std::vector<int>> Units() const {
        std::vector<std::vector<int>> units(static_cast<std::size_t>(3 * m_size));
        for (int cell = 0; cell < m_size * m_size; ++cell) {
            const int row = cell / m_size;
            const int col = cell % m_size;
            const int box = row / m_boxRows * (m_size / 3) + col / 3;
            units[static_cast<std::size_t>(row)].push_back(cell);
            units[static_cast<std::size_t>(m_size + col)].push_back(cell);
            units[static_cast<std::size_t>(2 * m_size + box)].push_back(cell);
        }
        return units;
    }

    int m_size;
    int m_boxRows;
    std::vector<unsigned char> m_cells;
    std::vector<unsigned char> m_first;
};

// A sudoku of the bank: one solution, the record's; singles solve it exactly when its
// difficulty is 0 or 1; 6 x 6 exactly at difficulty 0.
inline std::vector<std::string> SudokuProblems(const SudokuData& sudoku) {
    std::vector<std::string> problems;
    const int size = sudoku.size;
    if (size != (sudoku.difficulty == 0 ? 6 : 9)) {
        problems.push_back("size does not suit the difficulty");
        return problems;
    }
    SudokuGrid search(size, sudoku.givens);
    if (search.CountSolutions(2) != 1) {
        problems.push_back("not exactly one solution");
    } else if (search.FirstSolution() !=
               std::vector<unsigned char>(sudoku.solution, sudoku.solution + size * size)) {
        problems.push_back("solution differs from the record's");
    }
    const bool singlesSolve = SudokuGrid(size, sudoku.givens).SolveBySingles();
    if (singlesSolve != (sudoku.difficulty <= 1)) {
        problems.push_back(singlesSolve ? "singles solve a harder sudoku"
                                        : "singles do not solve an easy sudoku");
    }
    return problems;
}

constexpr int kDirections[8][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                   {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

// The unordered pairs of end cells at which word can be read in the grid.
inline std::set<std::pair<int, int>> Readings(const WordsearchData& ws, const std::string& word) {
    std::set<std::pair<int, int>> found;
    for (int start = 0; start < ws.numRows * ws.numCols; ++start) {
        for (const auto& direction : kDirections) {
            int x = start % ws.numCols;
            int y = start / ws.numCols;
            int last = -1;
            std::size_t i = 0;
            for (; i < word.size(); ++i, x += direction[0], y += direction[1]) {
                if (x < 0 || y < 0 || x >= ws.numCols || y >= ws.numRows ||
                    ws.gridMap(x + y * ws.numCols) != word[i]) {
                    break;
                }
                last = x + y * ws.numCols;
            }
            if (i == word.size()) {
                found.insert({std::min(start, last), std::max(start, last)});
            }
        }
    }
    return found;
}

// Whether the trail of word w runs in a straight line of one of the 8 directions,
// spelling the word.
inline bool TrailSpellsWord(const WordsearchData& ws, int w) {
    const Kelvo_lib::WordsearchDataWord& word = ws.words(w);
    const std::string text = word.word;
    const int first = ws.wordTrails(word.cellStartIndex);
    for (const auto& direction : kDirections) {
        bool straight = true;
        for (std::size_t i = 0; i < text.size() && straight; ++i) {
            const int x = first % ws.numCols + direction[0] * static_cast<int>(i);
            const int y = first / ws.numCols + direction[1] * static_cast<int>(i);
            straight =
                x >= 0 && y >= 0 && x < ws.numCols && y < ws.numRows &&
                ws.wordTrails(word.cellStartIndex + static_cast<int>(i)) == x + y * ws.numCols &&
                ws.gridMap(x + y * ws.numCols) == text[i];
        }
        if (straight &&
            word.cellEndIndex - word.cellStartIndex + 1 == static_cast<int>(text.size())) {
            return true;
        }
    }
    return false;
}

// A wordsearch of the bank: within the game's limits, letters A to Z, every trail a
// straight line spelling its word, each word read at exactly one place, no word
// inside another, no two words sharing both end cells; a "MINI" has 4 words or more.
inline std::vector<std::string> WordsearchProblems(const WordsearchData& ws) {
    std::vector<std::string> problems;
    if (ws.numRows > 15 || ws.numCols > 15 || ws.words.Size() > 24 || ws.wordTrails.Size() > 255 ||
        ws.numWords != ws.words.Size() || ws.numTrailCells != ws.wordTrails.Size()) {
        problems.push_back("outside the limits");
        return problems;
    }
    if (ws.title[0] == 0) {
        problems.push_back("no title");
    }
    if (ws.difficulty == 0 && ws.words.Size() < 4) {
        problems.push_back("a MINI with fewer than 4 words");
    }
    for (int cell = 0; cell < ws.gridMap.Size(); ++cell) {
        if (ws.gridMap(cell) < 'A' || ws.gridMap(cell) > 'Z') {
            problems.push_back("a letter outside A to Z");
        }
    }
    std::set<std::pair<int, int>> ends;
    for (int w = 0; w < ws.words.Size(); ++w) {
        const std::string word = ws.words(w).word;
        if (!TrailSpellsWord(ws, w)) {
            problems.push_back(word + ": trail is not a straight line spelling it");
        }
        if (Readings(ws, word).size() != 1) {
            problems.push_back(word + ": not read at exactly one place");
        }
        const int first = ws.wordTrails(ws.words(w).cellStartIndex);
        const int last = ws.wordTrails(ws.words(w).cellEndIndex);
        if (!ends.insert({std::min(first, last), std::max(first, last)}).second) {
            problems.push_back(word + ": shares both end cells with another word");
        }
        for (int other = 0; other < ws.words.Size(); ++other) {
            const std::string otherWord = ws.words(other).word;
            if (other != w && otherWord.find(word) != std::string::npos) {
                problems.push_back(word + ": inside " + otherWord);
            }
        }
    }
    return problems;
}

} // namespace puzzle_validation
