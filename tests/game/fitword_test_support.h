// Fitword records drawn as rows of letters ('#' for a block), numbered 9 unless told
// otherwise; their words are found the way the bank lists them (puzzle_test::DrawnGridRecord).
#pragma once

#include "puzzle_test_support.h"

#include <string>
#include <vector>

namespace fitword_test {

using namespace Kelvo_lib;

inline FitwordData MakeFitword(const std::vector<std::string>& rows, int id = 9) {
    return puzzle_test::DrawnGridRecord<FitwordData>(rows, id);
}

// Slots: 0 CAT across, 1 COW down, 2 TEE down, 3 WEE across; all of three letters.
inline FitwordData SmallFitword() {
    return MakeFitword({"CAT", "O#E", "WEE"});
}

// Slots of two lengths: 0 SEA across, 1 SON down, 2 AT down.
inline FitwordData TwoLengthFitword() {
    return MakeFitword({"SEA", "O#T", "N##"});
}

} // namespace fitword_test
