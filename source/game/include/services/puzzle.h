// Puzzle: one puzzle as the bank loads it, a kind per puzzle type holding its record.
// A Puzzle owns its record and its hidden word (m_spellout, null when the puzzle has
// none); the bank owns the Puzzle it returns and replaces it at its next load, so
// callers copy what they keep. Main thread only.
#pragma once

#include <services/puzzledata.h>
#include <services/puzzletypes.h>

namespace Kelvo_lib {

class Puzzle {
public:
    Puzzle(const Puzzle&) = delete;
    Puzzle& operator=(const Puzzle&) = delete;
    virtual ~Puzzle() = default;

    ePuzzleType GetType() const { return m_type; }
    // The record's difficulty (unchecked: the bank checks its entries).
    virtual ePuzzleDifficulty GetDifficulty() const = 0;

protected:
    explicit Puzzle(ePuzzleType type) : m_type(type) {}

private:
    ePuzzleType m_type;
};

class SudokuPuzzle : public Puzzle {
public:
    SudokuPuzzle() : Puzzle(PUZZLE_TYPE_SUDOKU), m_sudoku(new SudokuData) {}
    ~SudokuPuzzle() override { delete m_sudoku; }
    ePuzzleDifficulty GetDifficulty() const override {
        return DifficultyOfBankValue(m_sudoku->difficulty);
    }

    SudokuData* m_sudoku;
};

class FitwordPuzzle : public Puzzle {
public:
    FitwordPuzzle() : Puzzle(PUZZLE_TYPE_FITWORD), m_fitword(new FitwordData) {}
    ~FitwordPuzzle() override {
        delete m_fitword;
        delete m_spellout;
    }
    ePuzzleDifficulty GetDifficulty() const override {
        return DifficultyOfBankValue(m_fitword->difficulty);
    }

    FitwordData* m_fitword;
    SpelloutData* m_spellout = nullptr;
};

class CrosswordPuzzle : public Puzzle {
public:
    CrosswordPuzzle() : Puzzle(PUZZLE_TYPE_CROSSWORD), m_crossword(new CrosswordData) {}
    ~CrosswordPuzzle() override {
        delete m_crossword;
        delete m_spellout;
    }
    ePuzzleDifficulty GetDifficulty() const override {
        return DifficultyOfBankValue(m_crossword->difficulty);
    }

    CrosswordData* m_crossword;
    SpelloutData* m_spellout = nullptr;
};

class WordsearchPuzzle : public Puzzle {
public:
    WordsearchPuzzle() : Puzzle(PUZZLE_TYPE_WORDSEARCH), m_wordsearch(new WordsearchData) {}
    ~WordsearchPuzzle() override { delete m_wordsearch; }
    ePuzzleDifficulty GetDifficulty() const override {
        return DifficultyOfBankValue(m_wordsearch->difficulty);
    }

    WordsearchData* m_wordsearch;
};

} // namespace Kelvo_lib
