// Reads arbitrary text as a language model's unigrams, marks the same lines as everyday
// words, and asks for the count of the word each line ends with, so that any read outside
// the text or the table of names shows under the sanitizers, and a table that breaks its
// promises (a negative count, a count for a word that is not lower-case a to z, an everyday
// word it does not count) stops the run.
#include "puzzles/word_counts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

bool IsLowerCaseWord(std::string_view word) {
    return !word.empty() &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// The text after a line's first blank, or the whole line.
std::string_view LastField(std::string_view line) {
    const std::size_t blank = line.find(' ');
    return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(data, data + size);
    std::istringstream model(text);
    datatool::WordCounts counts = datatool::WordCounts::Parse(model);
    std::istringstream everyday(text);
    counts.MarkEveryday(everyday);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        for (std::string_view word : {std::string_view(line), LastField(line)}) {
            const int count = counts.Count(word);
            if (count < 0 || (count > 0 && !IsLowerCaseWord(word)) ||
                (counts.IsEveryday(word) && count == 0)) {
                std::abort();
            }
        }
    }
    return 0;
}
