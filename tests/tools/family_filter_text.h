// The family filter that a word list's text (one rule a line) gives.
#pragma once

#include "puzzles/content_rules.h"

#include <sstream>
#include <string>

inline datatool::FamilyFilter FilterOf(const std::string& text) {
    std::istringstream lines(text);
    return datatool::FamilyFilter(datatool::WordExclusions::Parse(lines));
}
