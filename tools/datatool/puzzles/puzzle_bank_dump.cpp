#include "puzzle_bank_dump.h"

#include <services/puzzle.h>
#include <services/puzzlebank.h>

#include <kelvo/io/kmemoryiostream.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace datatool {

using namespace Kelvo_lib;

namespace {

const char* TypeName(int type) {
    switch (type) {
    case PUZZLE_TYPE_CROSSWORD:
        return "crossword";
    case PUZZLE_TYPE_WORDSEARCH:
        return "wordsearch";
    case PUZZLE_TYPE_FITWORD:
        return "fitword";
    default:
        return "sudoku";
    }
}

void PrintIndex(const PuzzleBank& bank, FILE* out) {
    std::fprintf(out, "%d puzzles\n", bank.GetNumEntries());
    for (int i = 0; i < bank.GetNumEntries(); ++i) {
        const PuzzleBankEntry& entry = bank.GetEntry(i);
        std::fprintf(out, "  id %5d  old %5d  %-10s  difficulty %d  language %2d  offset %u\n",
                     entry.id, entry.oldId, TypeName(entry.type), entry.difficulty, entry.language,
                     entry.offset);
    }
}

void PrintSudokuGrid(int size, const u8* cells, FILE* out) {
    const int boxRows = size == 9 ? 3 : 2;
    for (int row = 0; row < size; ++row) {
        if (row > 0 && row % boxRows == 0) {
            for (int col = 0; col < size; ++col) {
                std::fprintf(out, col > 0 && col % 3 == 0 ? "-+--" : "--");
            }
            std::fprintf(out, "\n");
        }
        for (int col = 0; col < size; ++col) {
            const int digit = cells[row * size + col];
            std::fprintf(out, "%s%c",
                         col == 0       ? " "
                         : col % 3 == 0 ? " | "
                                        : " ",
                         digit == 0 ? '.' : static_cast<char>('0' + digit));
        }
        std::fprintf(out, "\n");
    }
}

void PrintSudoku(const SudokuData& sudoku, FILE* out) {
    std::fprintf(out, "sudoku %d (old %d): %d x %d, difficulty %d\n", sudoku.puzzleID,
                 sudoku.oldPuzzleID, sudoku.size, sudoku.size, sudoku.difficulty);
    PrintSudokuGrid(sudoku.size, sudoku.givens, out);
    std::fprintf(out, "solution\n");
    PrintSudokuGrid(sudoku.size, sudoku.solution, out);
}

void PrintWordsearch(const WordsearchData& wordsearch, FILE* out) {
    std::fprintf(out, "wordsearch %d (old %d): \"%s\", %d x %d, difficulty %d, %d words\n",
                 wordsearch.puzzleID, wordsearch.oldPuzzleID, wordsearch.title, wordsearch.numRows,
                 wordsearch.numCols, wordsearch.difficulty, wordsearch.numWords);
    for (int row = 0; row < wordsearch.numRows; ++row) {
        std::fprintf(out, " ");
        for (int col = 0; col < wordsearch.numCols; ++col) {
            std::fprintf(out, " %c", wordsearch.gridMap(row * wordsearch.numCols + col));
        }
        std::fprintf(out, "\n");
    }
    for (int i = 0; i < wordsearch.words.Size(); ++i) {
        const WordsearchDataWord& word = wordsearch.words(i);
        const int first = wordsearch.wordTrails(word.cellStartIndex);
        const int last = wordsearch.wordTrails(word.cellEndIndex);
        std::fprintf(out, "  %-15s row %2d col %2d to row %2d col %2d\n", word.word,
                     first / wordsearch.numCols, first % wordsearch.numCols,
                     last / wordsearch.numCols, last % wordsearch.numCols);
    }
}

void PrintSpellout(const SpelloutData* spellout, FILE* out) {
    if (spellout == nullptr) {
        std::fprintf(out, "no hidden word\n");
        return;
    }
    std::fprintf(out, "hidden word %s (difficulty %u) in cells", spellout->word,
                 spellout->difficulty);
    for (int i = 0; i < spellout->cells.Size(); ++i) {
        std::fprintf(out, " %d", spellout->cells(i));
    }
    std::fprintf(out, "\n");
}

// A crossword or fitword's heading and solution grid, '#' for a block.
template <class Record>
void PrintGrid(const char* kind, const Record& record, FILE* out) {
    std::fprintf(out, "%s %d (old %d): %d x %d, difficulty %d, language %d, %d words\n", kind,
                 record.puzzleID, record.oldPuzzleID, record.numRows, record.numCols,
                 record.difficulty, record.language, record.words.Size());
    for (int row = 0; row < record.numRows; ++row) {
        std::fprintf(out, " ");
        for (int col = 0; col < record.numCols; ++col) {
            const char letter = record.cellsDone(row * record.numCols + col);
            std::fprintf(out, " %c", letter == 0 ? '#' : letter);
        }
        std::fprintf(out, "\n");
    }
}

// The clues by direction, numbered as the game numbers them: words in record order,
// the number rising with each new start cell.
void PrintCrossword(const CrosswordData& crossword, const SpelloutData* spellout, FILE* out) {
    PrintGrid("crossword", crossword, out);
    std::vector<int> numbers;
    for (int i = 0, number = 0; i < crossword.words.Size(); ++i) {
        if (i == 0 || crossword.words(i).startCell != crossword.words(i - 1).startCell) {
            ++number;
        }
        numbers.push_back(number);
    }
    for (const bool down : {false, true}) {
        std::fprintf(out, "%s\n", down ? "Down" : "Across");
        for (int i = 0; i < crossword.words.Size(); ++i) {
            const CrosswordDataWord& word = crossword.words(i);
            if (word.bDirection == down) {
                std::fprintf(out, "  %2d  %s  [%s]\n", numbers[static_cast<std::size_t>(i)],
                             word.clue, word.word);
            }
        }
    }
    PrintSpellout(spellout, out);
}

// The word list by length, each length in alphabetical order, as a fitword player
// sees it.
void PrintFitword(const FitwordData& fitword, const SpelloutData* spellout, FILE* out) {
    PrintGrid("fitword", fitword, out);
    std::map<std::size_t, std::vector<std::string>> byLength;
    for (int i = 0; i < fitword.words.Size(); ++i) {
        const std::string word = fitword.words(i).word;
        byLength[word.size()].push_back(word);
    }
    for (auto& [length, words] : byLength) {
        std::sort(words.begin(), words.end());
        std::fprintf(out, "  %2zu letters:", length);
        for (const std::string& word : words) {
            std::fprintf(out, " %s", word.c_str());
        }
        std::fprintf(out, "\n");
    }
    PrintSpellout(spellout, out);
}

void PrintPuzzle(Puzzle& puzzle, FILE* out) {
    switch (puzzle.GetType()) {
    case PUZZLE_TYPE_SUDOKU:
        PrintSudoku(*static_cast<SudokuPuzzle&>(puzzle).m_sudoku, out);
        break;
    case PUZZLE_TYPE_WORDSEARCH:
        PrintWordsearch(*static_cast<WordsearchPuzzle&>(puzzle).m_wordsearch, out);
        break;
    case PUZZLE_TYPE_CROSSWORD: {
        const CrosswordPuzzle& crossword = static_cast<CrosswordPuzzle&>(puzzle);
        PrintCrossword(*crossword.m_crossword, crossword.m_spellout, out);
        break;
    }
    case PUZZLE_TYPE_FITWORD: {
        const FitwordPuzzle& fitword = static_cast<FitwordPuzzle&>(puzzle);
        PrintFitword(*fitword.m_fitword, fitword.m_spellout, out);
        break;
    }
    }
}

// The index of the entry puzzleId names; -1, after saying what was expected and what
// was found, when it names none.
int FindPuzzle(const PuzzleBank& bank, const char* puzzleId) {
    char* end = nullptr;
    const long id = std::strtol(puzzleId, &end, 10);
    if (*puzzleId == '\0' || *end != '\0') {
        std::fprintf(stderr, "datatool: expected a puzzle id (a whole number), found '%s'\n",
                     puzzleId);
        return -1;
    }
    const int index = id >= INT_MIN && id <= INT_MAX ? bank.FindEntry(static_cast<int>(id)) : -1;
    if (index >= 0) {
        return index;
    }
    if (bank.GetNumEntries() == 0) {
        std::fprintf(stderr, "datatool: no puzzle %s: the bank holds none\n", puzzleId);
        return -1;
    }
    int lowest = INT_MAX;
    int highest = INT_MIN;
    for (int i = 0; i < bank.GetNumEntries(); ++i) {
        lowest = std::min(lowest, bank.GetEntry(i).id);
        highest = std::max(highest, bank.GetEntry(i).id);
    }
    std::fprintf(stderr,
                 "datatool: no puzzle %s in the bank: expected one of its %d ids, from %d to %d"
                 " (the dump without an id lists them)\n",
                 puzzleId, bank.GetNumEntries(), lowest, highest);
    return -1;
}

} // namespace

bool IsPuzzleBankFile(const std::string& path) {
    char header[12] = {};
    std::ifstream file(path, std::ios::binary);
    file.read(header, sizeof(header));
    return file && std::memcmp(header, "FORM", 4) == 0 && std::memcmp(header + 8, "PZBK", 4) == 0;
}

int DumpPuzzleBank(const std::vector<unsigned char>& bytes, const char* puzzleId, FILE* out) {
    std::vector<unsigned char> copy = bytes;
    kMemoryIOStream stream(copy.data(), static_cast<unsigned int>(copy.size()), K_IO_ACCESS_READ);
    PuzzleBank bank;
    if (!bank.Load(&stream)) {
        std::fprintf(stderr, "datatool: not a puzzle bank the game can read\n");
        return 1;
    }
    if (puzzleId == nullptr) {
        PrintIndex(bank, out);
        return 0;
    }
    const int index = FindPuzzle(bank, puzzleId);
    if (index < 0) {
        return 2;
    }
    const PuzzleBankEntry& entry = bank.GetEntry(index);
    Puzzle* puzzle = bank.GetPuzzle(entry.id, entry.language);
    if (puzzle == nullptr) {
        std::fprintf(stderr,
                     "datatool: puzzle %d is in the bank's index, but its record cannot be read\n",
                     entry.id);
        return 1;
    }
    PrintPuzzle(*puzzle, out);
    return 0;
}

} // namespace datatool
