// The bank dump: the index and one puzzle, read through the game's reader.
#include "puzzles/puzzle_bank_builder.h"
#include "puzzles/puzzle_bank_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace datatool;

namespace {

std::vector<unsigned char> BankOf(const GeneratedSudoku& sudoku, int id) {
    Kelvo_lib::PuzzleBankWriter writer;
    EXPECT_TRUE(writer.AddSudoku(ToSudokuData(sudoku, id, 0)));
    Kelvo_lib::kArray<u8> file;
    writer.Write(file);
    return {file.Data(), file.Data() + file.Size()};
}

// What the dump printed, and whether it succeeded.
std::pair<bool, std::string> Dump(const std::vector<unsigned char>& bytes, const char* id) {
    FILE* out = std::tmpfile();
    const bool done = DumpPuzzleBank(bytes, id, out);
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    return {done, text};
}

TEST(PuzzleBankDump, ShowsTheIndexAndASudokuAsItsGrid) {
    const GeneratedSudoku sudoku = *GenerateSudoku(0, 5);
    const auto [done, text] = Dump(BankOf(sudoku, 7), "7");
    ASSERT_TRUE(done);
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "1 puzzles");
    std::getline(lines, line);
    EXPECT_NE(line.find("id     7"), std::string::npos) << line;
    std::getline(lines, line);
    EXPECT_EQ(line, "sudoku 7 (old 0): 6 x 6, difficulty 0");
    std::string shown;
    while (shown.size() < sudoku.givens.size() && std::getline(lines, line)) {
        for (char c : line) {
            if (c == '.' || (c >= '1' && c <= '6')) {
                shown += c;
            }
        }
    }
    std::string givens;
    for (std::uint8_t digit : sudoku.givens) {
        givens += digit == 0 ? '.' : static_cast<char>('0' + digit);
    }
    EXPECT_EQ(shown, givens);
}

TEST(PuzzleBankDump, RefusesAnUnknownIdAndWhatIsNoBank) {
    const std::vector<unsigned char> bank = BankOf(*GenerateSudoku(1, 5), 7);
    EXPECT_FALSE(Dump(bank, "8").first);
    EXPECT_FALSE(Dump(bank, "7x").first);
    EXPECT_TRUE(Dump(bank, nullptr).first);
    EXPECT_FALSE(Dump(std::vector<unsigned char>(bank.begin(), bank.end() - 2), nullptr).first);
}

} // namespace
