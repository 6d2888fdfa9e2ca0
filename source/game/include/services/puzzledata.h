// The puzzle records the bank hands out: what one sudoku, fitword, crossword or
// wordsearch holds, and the hidden word (SpelloutData) some fitwords and crosswords
// carry. Plain data owned by whoever holds the record (the bank's current Puzzle, or a
// model's copy); copies are deep. Cells count row by row from 0, but a hidden word's
// cells count from 1. Records cross no thread.
#pragma once

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

// 255 in a cell's word or letter index: no word runs through it that way.
constexpr u8 CROSSWORD_NO_WORD = 255;

struct CrosswordDataWord {
    bool bDirection; // false across, true down
    char clue[512];
    char word[128]; // the solution, zero-terminated
    int startCell;
};

struct CrosswordDataCell {
    u8 wordIndexA; // the across word through the cell
    u8 wordLetterA;
    u8 wordIndexD; // the down word through the cell
    u8 wordLetterD;
};

struct CrosswordData {
    int puzzleID = 0;
    int oldPuzzleID = 0;
    int language = 0; // an eLanguage, -1 for all languages
    u8 numRows = 0;
    u8 numCols = 0;
    kArray<CrosswordDataWord> words;
    kArray<CrosswordDataCell> cells; // one per grid cell
    kArray<char> cellsDone;          // the solution letter per cell, 0 for a block
    short spelloutIndex = -1;
    u8 difficulty = 0;
};

// The hidden word of a fitword or crossword, played as an anagram once it is solved.
struct SpelloutData {
    char word[128] = {};
    kArray<int> cells; // the grid cells of the word's letters, numbered from 1
    unsigned int difficulty = 0;
};

struct WordsearchDataWord {
    int cellStartIndex; // the word's first letter in wordTrails
    int cellEndIndex;   // its last letter
    char word[128];
};

struct WordsearchData {
    int puzzleID = 0;
    int oldPuzzleID = 0;
    unsigned char numRows = 0;
    unsigned char numCols = 0;
    unsigned char numWords = 0;
    unsigned char numTrailCells = 0;
    unsigned char difficulty = 0;
    unsigned char language = 0; // an eLanguage, 255 for all languages
    char title[128] = {};
    kArray<int> wordTrails; // the cells of every word's letters, word after word
    kArray<WordsearchDataWord> words;
    kArray<char> gridMap; // one letter per cell
};

// A sudoku of 9 x 9 cells in 3 x 3 boxes, or 6 x 6 in boxes of 2 rows by 3 columns;
// the first size x size entries of each grid are used, row by row.
struct SudokuData {
    static constexpr int kMaxCells = 81;

    int puzzleID = 0;
    int oldPuzzleID = 0;
    int language = 0; // an eLanguage, -1 for all languages
    u8 size = 0;      // 9 or 6
    u8 difficulty = 0;
    u8 givens[kMaxCells] = {};   // 0 for an empty cell, else the digit shown
    u8 solution[kMaxCells] = {}; // the one solution, digits 1 to size
};

// A fitword: the words to fit into the grid's free cells, laid out like a crossword
// without clues.
struct FitwordDataWord {
    bool bDirection; // false across, true down
    char word[128];  // zero-terminated
    int startCell;
};

struct FitwordData {
    int puzzleID = 0;
    int oldPuzzleID = 0;
    int language = 0; // an eLanguage, -1 for all languages
    u8 numRows = 0;
    u8 numCols = 0;
    kArray<FitwordDataWord> words;
    kArray<CrosswordDataCell> cells; // the words through each cell, as in a crossword
    kArray<char> cellsDone;          // the solution letter per cell, 0 for a block
    short spelloutIndex = -1;
    u8 difficulty = 0;
};

} // namespace Kelvo_lib
