// A puzzle bank printed for people: its index, one line per entry, or one puzzle in
// full (a sudoku as its grid, a wordsearch as its letters and words, a crossword as its
// grid and numbered clues with their answers, a fitword as its grid and word list, each
// with its hidden word). The bank is read through the game's
// own reader, so what it refuses is reported here too.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace datatool {

// Whether the file begins like a puzzle bank (a FORM of type "PZBK").
bool IsPuzzleBankFile(const std::string& path);

// Prints the index of the bank in bytes or, when puzzleId is not null, only that puzzle.
// The exit code, after saying why on stderr: 0 printed, 1 when the bank or the puzzle's
// record cannot be read, 2 when puzzleId is not the id of one of its puzzles.
int DumpPuzzleBank(const std::vector<unsigned char>& bytes, const char* puzzleId, FILE* out);

// datatool dump BANK.kmn [ID]: what the dump command runs for a puzzle bank.
int RunPuzzleBankDump(int argc, char** argv);

} // namespace datatool
