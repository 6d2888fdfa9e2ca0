// Checks of generated puzzles written independently of the generators: a plain
// backtracking sudoku solver, a singles-only sudoku solver, a wordsearch checker that
// walks each word's trail and reads the grid in every direction, and a crossword and
// fitword checker that reads every run of letters off the solution, walks each word
// through the cells' word indices, looks for the answer in its clue, and fits a
// fitword's list back into its grid. Each check returns the problems it found, empty
// for a sound puzzle.
#pragma once

#include <services/puzzledata.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace puzzle_validation {

using Kelvo_lib::CrosswordData;
using Kelvo_lib::FitwordData;
using Kelvo_lib::SpelloutData;
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

// Grid puzzles (crosswords and fitwords).

constexpr int kGridMaxSide = 13;
constexpr int kGridMaxCellsAndWords = 204; // so that a puzzle in progress fits 210 bytes
constexpr int kNoWord = 255;

struct GridRun {
    bool down;
    int startCell;
    std::string letters;
    std::vector<int> cells;
};

// Every run of two or more letters of the solution, across then down.
template <class Record>
std::vector<GridRun> LetterRuns(const Record& record) {
    std::vector<GridRun> runs;
    for (const bool down : {false, true}) {
        const int lines = down ? record.numCols : record.numRows;
        const int length = down ? record.numRows : record.numCols;
        for (int line = 0; line < lines; ++line) {
            GridRun run{down, -1, {}, {}};
            for (int i = 0; i <= length; ++i) {
                const int cell = down ? i * record.numCols + line : line * record.numCols + i;
                if (i < length && record.cellsDone(cell) != 0) {
                    run.startCell = run.cells.empty() ? cell : run.startCell;
                    run.letters += record.cellsDone(cell);
                    run.cells.push_back(cell);
                    continue;
                }
                if (run.cells.size() >= 2) {
                    runs.push_back(run);
                }
                run = GridRun{down, -1, {}, {}};
            }
        }
    }
    return runs;
}

// Whether the text shows the answer: a word of it that begins with the answer (its
// plurals and endings), or with its stem when the answer ends in e or y.
inline bool ClueShowsAnswer(const std::string& clue, const std::string& answer) {
    std::string lowerAnswer;
    for (char c : answer) {
        lowerAnswer += static_cast<char>(c - 'A' + 'a');
    }
    std::string stem = lowerAnswer;
    if (stem.size() > 3 && (stem.back() == 'e' || stem.back() == 'y')) {
        stem.pop_back();
    }
    std::string word;
    for (std::size_t i = 0; i <= clue.size(); ++i) {
        const char c = i < clue.size() ? clue[i] : ' ';
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        if (word.compare(0, lowerAnswer.size(), lowerAnswer) == 0 ||
            (stem.size() >= 3 && word.compare(0, stem.size(), stem) == 0)) {
            return true;
        }
        word.clear();
    }
    return false;
}

// The words that fit a run: unused, of its length, agreeing with the letters placed.
inline std::vector<std::size_t> Fits(const GridRun& run, const std::string& placed,
                                     const std::vector<bool>& used,
                                     const std::vector<std::string>& words) {
    std::vector<std::size_t> fits;
    for (std::size_t w = 0; w < words.size(); ++w) {
        bool fit = !used[w] && words[w].size() == run.cells.size();
        for (std::size_t i = 0; fit && i < run.cells.size(); ++i) {
            const char letter = placed[static_cast<std::size_t>(run.cells[i])];
            fit = letter == 0 || letter == words[w][i];
        }
        if (fit) {
            fits.push_back(w);
        }
    }
    return fits;
}

// Ways, up to limit, to put the words into the runs not yet filled: each run a different
// word of its length, agreeing with the letters placed so far (0 for none). The run with
// the fewest fitting words goes first, which keeps the search small.
inline int CountFittings(const std::vector<GridRun>& runs, std::string& placed,
                         std::vector<bool>& used, const std::vector<std::string>& words,
                         std::vector<bool>& filled, int limit) {
    std::size_t next = runs.size();
    std::vector<std::size_t> nextFits;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (filled[r]) {
            continue;
        }
        std::vector<std::size_t> fits = Fits(runs[r], placed, used, words);
        if (next == runs.size() || fits.size() < nextFits.size()) {
            next = r;
            nextFits = std::move(fits);
        }
    }
    if (next == runs.size()) {
        return 1;
    }
    const std::vector<int>& cells = runs[next].cells;
    int found = 0;
    filled[next] = true;
    for (std::size_t w : nextFits) {
        if (found >= limit) {
            break;
        }
        const std::string before = placed;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            placed[static_cast<std::size_t>(cells[i])] = words[w][i];
        }
        used[w] = true;
        found += CountFittings(runs, placed, used, words, filled, limit - found);
        used[w] = false;
        placed = before;
    }
    filled[next] = false;
    return found;
}

// What crosswords and fitwords share: within the limits, a UK English record, words of
// 2 to 13 letters A to Z sorted by start cell (across first) that equal the letters
// along their paths, each cell's word indices agreeing with the words, every run of
// letters a word of the record, and in a "MINI" 4 words or more, each with a cell that
// no other word crosses.
template <class Record>
std::vector<std::string> GridProblems(const Record& record) {
    std::vector<std::string> problems;
    const int cells = record.numRows * record.numCols;
    if (record.numRows < 1 || record.numRows > kGridMaxSide || record.numCols < 1 ||
        record.numCols > kGridMaxSide || cells + record.words.Size() > kGridMaxCellsAndWords ||
        record.cells.Size() != cells || record.cellsDone.Size() != cells) {
        problems.push_back("outside the limits");
        return problems;
    }
    if (record.language != 0) {
        problems.push_back("not a UK English record");
    }
    if (record.difficulty == 0 && (record.words.Size() < 4 || record.numRows > 7)) {
        problems.push_back("a MINI too big or with fewer than 4 words");
    }
    std::set<std::pair<int, int>> expected; // (cell, word * 2 + down) from the words
    for (int w = 0; w < record.words.Size(); ++w) {
        const auto& word = record.words(w);
        const std::string text = word.word;
        const int step = word.bDirection ? record.numCols : 1;
        const int last = word.startCell + (static_cast<int>(text.size()) - 1) * step;
        if (text.size() < 2 || text.size() > 13 ||
            !std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; }) ||
            word.startCell < 0 || last >= cells ||
            (!word.bDirection && last / record.numCols != word.startCell / record.numCols)) {
            problems.push_back(text + ": not 2 to 13 letters A to Z inside the grid");
            continue;
        }
        if (w > 0 &&
            std::make_pair(record.words(w - 1).startCell, record.words(w - 1).bDirection) >=
                std::make_pair(word.startCell, word.bDirection)) {
            problems.push_back(text + ": out of start-cell order");
        }
        bool uncrossed = false;
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            const int cell = word.startCell + i * step;
            const auto& data = record.cells(cell);
            const int index = word.bDirection ? data.wordIndexD : data.wordIndexA;
            const int letter = word.bDirection ? data.wordLetterD : data.wordLetterA;
            uncrossed =
                uncrossed || (word.bDirection ? data.wordIndexA : data.wordIndexD) == kNoWord;
            if (record.cellsDone(cell) != text[static_cast<std::size_t>(i)]) {
                problems.push_back(text + ": differs from the solution letters");
            }
            if (index != w || letter != i) {
                problems.push_back(text + ": a cell's word index disagrees");
            }
            expected.insert({cell, w * 2 + (word.bDirection ? 1 : 0)});
        }
        if (record.difficulty == 0 && !uncrossed) {
            problems.push_back(text + ": every cell crossed in a MINI");
        }
    }
    for (int cell = 0; cell < cells; ++cell) {
        const auto& data = record.cells(cell);
        if ((data.wordIndexA != kNoWord && expected.count({cell, data.wordIndexA * 2}) == 0) ||
            (data.wordIndexD != kNoWord && expected.count({cell, data.wordIndexD * 2 + 1}) == 0)) {
            problems.push_back("a cell names a word that does not pass through it");
        }
        if (record.cellsDone(cell) != 0 && data.wordIndexA == kNoWord &&
            data.wordIndexD == kNoWord) {
            problems.push_back("a letter in no word");
        }
    }
    std::set<std::pair<int, bool>> starts;
    for (const GridRun& run : LetterRuns(record)) {
        starts.insert({run.startCell, run.down});
        const bool listed = std::any_of(
            record.words.Data(), record.words.Data() + record.words.Size(), [&](const auto& word) {
                return word.startCell == run.startCell && word.bDirection == run.down &&
                       run.letters == word.word;
            });
        if (!listed) {
            problems.push_back(run.letters + ": a run of letters that is no word of the record");
        }
    }
    if (starts.size() != static_cast<std::size_t>(record.words.Size())) {
        problems.push_back("words that are not runs of letters");
    }
    return problems;
}

// A crossword of the bank: a sound grid whose every clue is there, at most about 120
// characters, and without its answer.
inline std::vector<std::string> CrosswordProblems(const CrosswordData& crossword) {
    std::vector<std::string> problems = GridProblems(crossword);
    for (int w = 0; w < crossword.words.Size(); ++w) {
        const std::string clue = crossword.words(w).clue;
        const std::string answer = crossword.words(w).word;
        if (clue.empty() || clue.size() > 120) {
            problems.push_back(answer + ": clue missing or too long");
        }
        if (ClueShowsAnswer(clue, answer)) {
            problems.push_back(answer + ": clue shows the answer: " + clue);
        }
    }
    return problems;
}

// A fitword of the bank: a sound grid into which its word list fits in one way only.
inline std::vector<std::string> FitwordProblems(const FitwordData& fitword) {
    std::vector<std::string> problems = GridProblems(fitword);
    if (!problems.empty()) {
        return problems;
    }
    const std::vector<GridRun> runs = LetterRuns(fitword);
    std::vector<std::string> words;
    for (int w = 0; w < fitword.words.Size(); ++w) {
        words.push_back(fitword.words(w).word);
    }
    std::string placed(static_cast<std::size_t>(fitword.numRows * fitword.numCols), '\0');
    std::vector<bool> used(words.size(), false);
    std::vector<bool> filled(runs.size(), false);
    if (CountFittings(runs, placed, used, words, filled, 2) != 1) {
        problems.push_back("the word list does not fit the grid in exactly one way");
    }
    return problems;
}

// A hidden word: 1 to 12 letters A to Z, one per cell, in distinct cells (numbered from
// 1) whose solution letters spell it.
template <class Record>
std::vector<std::string> HiddenWordProblems(const SpelloutData& spellout, const Record& record) {
    std::vector<std::string> problems;
    const std::string word = spellout.word;
    if (word.empty() || word.size() > 12 ||
        static_cast<int>(word.size()) != spellout.cells.Size()) {
        problems.push_back("hidden word " + word + ": length or cell count wrong");
        return problems;
    }
    std::set<int> seen;
    for (int i = 0; i < spellout.cells.Size(); ++i) {
        const int cell = spellout.cells(i);
        if (cell < 1 || cell > record.cellsDone.Size() || !seen.insert(cell).second ||
            record.cellsDone(cell - 1) != word[static_cast<std::size_t>(i)]) {
            problems.push_back("hidden word " + word + ": a cell that does not spell it");
        }
    }
    return problems;
}

} // namespace puzzle_validation
