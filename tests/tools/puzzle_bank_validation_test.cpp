// The whole bank that the data tool writes, generated as the disc image's is, read back
// through the game's bank reader and every puzzle checked by the independent checkers.
#include "puzzle_validation.h"

#include "puzzles/puzzle_bank_builder.h"
#include "puzzles/sudoku_rater.h"
#include "puzzles/word_list.h"

#include <puzzles/puzzlebank.h>

#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

using namespace datatool;
using namespace Kelvo_lib;

namespace {

std::filesystem::path ExclusionListPath() {
    return std::filesystem::path(__FILE__).parent_path() / "../../data/puzzles/excluded_words.txt";
}

class GeneratedBank : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream exclusionFile(ExclusionListPath());
        ASSERT_TRUE(exclusionFile) << ExclusionListPath();
        const WordExclusions exclusions = WordExclusions::Parse(exclusionFile);
        std::optional<std::vector<std::string>> words =
            LoadWordList(kDefaultWordListPath, exclusions);
        ASSERT_TRUE(words.has_value()) << "the wbritish word list is missing";
        s_exclusions = new WordExclusions(exclusions);
        PuzzleBankWriter writer;
        std::string error;
        ASSERT_TRUE(BuildPuzzleBank(PuzzleBankPlan{}, WordsearchGenerator(std::move(*words)),
                                    writer, error))
            << error;
        kArray<u8> file;
        writer.Write(file);
        s_file = new std::vector<u8>(file.Data(), file.Data() + file.Size());
    }

    static void TearDownTestSuite() {
        delete s_file;
        delete s_exclusions;
    }

    // The entries of a type, after checking that there are at least 50 at difficulty 0
    // and 100 at each of 1 to 3.
    std::vector<PuzzleBankEntry> EntriesOfType(int type) const {
        std::vector<PuzzleBankEntry> entries;
        std::map<int, int> perDifficulty;
        for (int i = 0; i < m_bank.GetNumEntries(); ++i) {
            if (m_bank.GetEntry(i).type == type) {
                entries.push_back(m_bank.GetEntry(i));
                ++perDifficulty[m_bank.GetEntry(i).difficulty];
            }
        }
        EXPECT_GE(perDifficulty[0], 50);
        for (int difficulty = 1; difficulty <= 3; ++difficulty) {
            EXPECT_GE(perDifficulty[difficulty], 100) << difficulty;
        }
        return entries;
    }

    void SetUp() override {
        ASSERT_NE(s_file, nullptr);
        m_stream = std::make_unique<kMemoryIOStream>(
            s_file->data(), static_cast<unsigned int>(s_file->size()), K_IO_ACCESS_READ);
        ASSERT_TRUE(m_bank.Load(m_stream.get()));
    }

    static std::vector<u8>* s_file;
    static WordExclusions* s_exclusions;
    std::unique_ptr<kMemoryIOStream> m_stream;
    PuzzleBank m_bank;
};

std::vector<u8>* GeneratedBank::s_file = nullptr;
WordExclusions* GeneratedBank::s_exclusions = nullptr;

TEST_F(GeneratedBank, HoldsEnoughSudokusEachWithOneSolutionAndItsRating) {
    for (const PuzzleBankEntry& entry : EntriesOfType(PUZZLE_TYPE_SUDOKU)) {
        auto* puzzle = dynamic_cast<SudokuPuzzle*>(m_bank.GetPuzzle(entry.id, 0));
        ASSERT_NE(puzzle, nullptr) << entry.id;
        const std::vector<std::string> problems =
            puzzle_validation::SudokuProblems(*puzzle->m_sudoku);
        EXPECT_TRUE(problems.empty()) << entry.id << ": " << problems[0];
        const SudokuData& sudoku = *puzzle->m_sudoku;
        const SudokuLayout& layout = *SudokuLayout::OfSize(sudoku.size);
        EXPECT_EQ(RateSudoku(layout, SudokuCells(sudoku.givens, sudoku.givens + layout.NumCells())),
                  SudokuRatingOfDifficulty(sudoku.difficulty))
            << entry.id;
    }
}

TEST_F(GeneratedBank, HoldsEnoughWordsearchesEachWithStraightTrailsWithinTheLimits) {
    for (const PuzzleBankEntry& entry : EntriesOfType(PUZZLE_TYPE_WORDSEARCH)) {
        auto* puzzle = dynamic_cast<WordsearchPuzzle*>(m_bank.GetPuzzle(entry.id, 0));
        ASSERT_NE(puzzle, nullptr) << entry.id;
        const WordsearchData& wordsearch = *puzzle->m_wordsearch;
        const std::vector<std::string> problems = puzzle_validation::WordsearchProblems(wordsearch);
        EXPECT_TRUE(problems.empty()) << entry.id << ": " << problems[0];
        for (int w = 0; w < wordsearch.words.Size(); ++w) {
            std::string lower = wordsearch.words(w).word;
            for (char& c : lower) {
                c = static_cast<char>(c - 'A' + 'a');
            }
            EXPECT_FALSE(s_exclusions->Excludes(lower)) << lower;
        }
    }
}

} // namespace
