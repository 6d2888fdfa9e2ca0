// Crossword records drawn as rows of letters ('#' for a block), numbered 7 unless told
// otherwise; their words are found the way the bank lists them (puzzle_test::DrawnGridRecord).
#pragma once

#include "puzzle_test_support.h"

#include <string>
#include <vector>

namespace crossword_test {

using namespace Kelvo_lib;

inline CrosswordData MakeCrossword(const std::vector<std::string>& rows, int id = 7) {
    return puzzle_test::DrawnGridRecord<CrosswordData>(rows, id);
}

// Words: 0 CAT across, 1 COW down and 2 TEE down (clue numbers 1, 1, 2), 3 WEE across (3).
inline CrosswordData SmallCrossword() {
    return MakeCrossword({"CAT", "O#E", "WEE"});
}

} // namespace crossword_test
