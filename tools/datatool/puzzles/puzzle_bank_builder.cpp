#include "puzzle_bank_builder.h"

#include "seeded_random.h"

#include <cstring>

namespace datatool {

using namespace Kelvo_lib;

namespace {

constexpr int kUkEnglish = 0;
constexpr int kMaxDifficulty = PUZZLE_DIFFICULTY_PRO;

template <int N>
void CopyText(char (&out)[N], const std::string& text) {
    std::memset(out, 0, N);
    std::memcpy(out, text.data(), text.size() < N ? text.size() : N - 1);
}

int CountAt(const PuzzleBankPlan& plan, int difficulty) {
    return difficulty == 0 ? plan.miniCount : plan.perDifficulty;
}

std::string Failure(const char* what, int difficulty, std::uint32_t seed) {
    return std::string(what) + " at difficulty " + std::to_string(difficulty) + " from seed " +
           std::to_string(seed);
}

// Generates and adds every puzzle of one type, by difficulty, with addOne(difficulty,
// seed, id, index) giving the reason it failed or nothing; the first reason, or empty.
template <class AddOne>
std::string AddType(const PuzzleBankPlan& plan, int type, int& nextId, AddOne addOne) {
    for (int difficulty = 0; difficulty <= kMaxDifficulty; ++difficulty) {
        for (int index = 0; index < CountAt(plan, difficulty); ++index) {
            const std::uint32_t seed = PuzzleSeed(plan.seed, type, difficulty, index);
            std::string failure = addOne(difficulty, seed, nextId++, index);
            if (!failure.empty()) {
                return failure;
            }
        }
    }
    return {};
}

} // namespace

std::uint32_t PuzzleSeed(std::uint32_t bankSeed, int type, int difficulty, int index) {
    return MixSeed(bankSeed, static_cast<std::uint32_t>(type * 4 + difficulty),
                   static_cast<std::uint32_t>(index));
}

SudokuData ToSudokuData(const GeneratedSudoku& sudoku, int id, int oldId) {
    SudokuData data;
    data.puzzleID = id;
    data.oldPuzzleID = oldId;
    data.language = PUZZLE_LANGUAGE_ALL;
    data.size = static_cast<u8>(sudoku.size);
    data.difficulty = static_cast<u8>(sudoku.difficulty);
    std::memcpy(data.givens, sudoku.givens.data(), sudoku.givens.size());
    std::memcpy(data.solution, sudoku.solution.data(), sudoku.solution.size());
    return data;
}

WordsearchData ToWordsearchData(const GeneratedWordsearch& wordsearch, int id, int oldId) {
    WordsearchData data;
    data.puzzleID = id;
    data.oldPuzzleID = oldId;
    data.numRows = static_cast<unsigned char>(wordsearch.rows);
    data.numCols = static_cast<unsigned char>(wordsearch.cols);
    data.difficulty = static_cast<unsigned char>(wordsearch.difficulty);
    data.language = kUkEnglish;
    CopyText(data.title, wordsearch.title);
    for (char letter : wordsearch.grid) {
        data.gridMap.Push(letter);
    }
    for (const PlacedWord& placed : wordsearch.words) {
        WordsearchDataWord& word = data.words(data.words.Add());
        word.cellStartIndex = data.wordTrails.Size();
        for (int cell : placed.cells) {
            data.wordTrails.Push(cell);
        }
        word.cellEndIndex = data.wordTrails.Size() - 1;
        CopyText(word.word, placed.word);
    }
    data.numWords = static_cast<unsigned char>(data.words.Size());
    data.numTrailCells = static_cast<unsigned char>(data.wordTrails.Size());
    return data;
}

bool BuildPuzzleBank(const PuzzleBankPlan& plan, const WordsearchGenerator& wordsearches,
                     PuzzleBankWriter& writer, std::string& error) {
    int nextId = 1;
    error = AddType(plan, PUZZLE_TYPE_SUDOKU, nextId,
                    [&](int difficulty, std::uint32_t seed, int id, int index) -> std::string {
                        const std::optional<GeneratedSudoku> sudoku =
                            GenerateSudoku(difficulty, seed);
                        if (!sudoku) {
                            return Failure("no sudoku", difficulty, seed);
                        }
                        if (!writer.AddSudoku(ToSudokuData(*sudoku, id, index))) {
                            return Failure("sudoku refused by the bank", difficulty, seed);
                        }
                        return {};
                    });
    if (!error.empty()) {
        return false;
    }
    error = AddType(plan, PUZZLE_TYPE_WORDSEARCH, nextId,
                    [&](int difficulty, std::uint32_t seed, int id, int index) -> std::string {
                        const std::optional<GeneratedWordsearch> wordsearch =
                            wordsearches.Generate(difficulty, seed);
                        if (!wordsearch) {
                            return Failure("no wordsearch", difficulty, seed);
                        }
                        if (!writer.AddWordsearch(ToWordsearchData(*wordsearch, id, index))) {
                            return Failure("wordsearch refused by the bank", difficulty, seed);
                        }
                        return {};
                    });
    return error.empty();
}

} // namespace datatool
