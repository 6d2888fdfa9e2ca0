// The bank dump: the index or one puzzle alone, read through the game's reader.
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
    const bool done = DumpPuzzleBank(bytes, id, out) == 0;
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    return {done, text};
}

TEST(PuzzleBankDump, ShowsTheIndexAloneOrASudokuAloneAsItsGrid) {
    const GeneratedSudoku sudoku = *GenerateSudoku(0, 5);
    const auto [indexDone, index] = Dump(BankOf(sudoku, 7), nullptr);
    ASSERT_TRUE(indexDone);
    std::istringstream indexLines(index);
    std::string line;
    std::getline(indexLines, line);
    EXPECT_EQ(line, "1 puzzles");
    std::getline(indexLines, line);
    EXPECT_NE(line.find("id     7"), std::string::npos) << line;
    EXPECT_FALSE(std::getline(indexLines, line)) << line;

    const auto [done, text] = Dump(BankOf(sudoku, 7), "7");
    ASSERT_TRUE(done);
    std::istringstream lines(text);
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

// A 3 x 3 ring of four words.
GeneratedGridPuzzle Ring() {
    return GeneratedGridPuzzle{3,
                               3,
                               1,
                               "TOPE#INUN",
                               {{false, 0, "TOP", "Highest part (3)"},
                                {true, 0, "TEN", "Two fives (3)"},
                                {true, 2, "PIN", "Fastener (3)"},
                                {false, 6, "NUN", "Sister (3)"}}};
}

std::vector<unsigned char> BankOf(const GeneratedGridPuzzle& ring) {
    Kelvo_lib::PuzzleBankWriter writer;
    EXPECT_TRUE(writer.AddCrossword(ToCrosswordData(ring, 3, 0, false), nullptr));
    const Kelvo_lib::SpelloutData hidden = ToSpelloutData(HiddenWord{"PIT", {3, 6, 1}}, 1);
    EXPECT_TRUE(writer.AddFitword(ToFitwordData(ring, 4, 0, true), &hidden));
    Kelvo_lib::kArray<u8> file;
    writer.Write(file);
    return {file.Data(), file.Data() + file.Size()};
}

TEST(PuzzleBankDump, ShowsACrosswordAsItsGridAndCluesNumberedAsTheGameNumbersThem) {
    const auto [done, text] = Dump(BankOf(Ring()), "3");
    ASSERT_TRUE(done);
    const std::string expected = "crossword 3 (old 0): 3 x 3, difficulty 1, language 0, 4 words\n"
                                 "  T O P\n"
                                 "  E # I\n"
                                 "  N U N\n"
                                 "Across\n"
                                 "   1  Highest part (3)  [TOP]\n"
                                 "   3  Sister (3)  [NUN]\n"
                                 "Down\n"
                                 "   1  Two fives (3)  [TEN]\n"
                                 "   2  Fastener (3)  [PIN]\n"
                                 "no hidden word\n";
    EXPECT_EQ(text, expected);
}

TEST(PuzzleBankDump, ShowsAFitwordAsItsGridAndWordListByLength) {
    const auto [done, text] = Dump(BankOf(Ring()), "4");
    ASSERT_TRUE(done);
    EXPECT_NE(text.find("fitword 4 (old 0): 3 x 3, difficulty 1, language 0, 4 words\n"
                        "  T O P\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("   3 letters: NUN PIN TEN TOP\n"
                        "hidden word PIT (difficulty 1) in cells 3 6 1\n"),
              std::string::npos)
        << text;
}

TEST(PuzzleBankDump, RefusesAnUnknownIdAndWhatIsNoBank) {
    const std::vector<unsigned char> bank = BankOf(*GenerateSudoku(1, 5), 7);
    EXPECT_FALSE(Dump(bank, "8").first);
    EXPECT_FALSE(Dump(bank, "7x").first);
    EXPECT_TRUE(Dump(bank, nullptr).first);
    EXPECT_FALSE(Dump(std::vector<unsigned char>(bank.begin(), bank.end() - 2), nullptr).first);
}

} // namespace
