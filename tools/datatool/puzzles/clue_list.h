// ClueList: the crossword clues a setter wrote by hand (data/puzzles/clues.txt), which an
// answer takes instead of those the clue writer makes from WordNet. A line
// "ANSWER|clue|clue" gives an answer (upper-case A to Z) one to kMaxListedClues clues,
// each plain printable ASCII of at most kMaxListedClueLength characters without the
// letter count; a line "ANSWER|-" marks an answer no family crossword should give.
// Blank lines and lines from '#' are ignored. Read-only once parsed.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace datatool {

// Clues of one answer, for a setter to vary across the bank: as many as the clue writer
// finds, and more by hand for the short answers a bank gives most.
constexpr std::size_t kMaxCluesPerAnswer = 3;
constexpr std::size_t kMaxListedClues = 5;
constexpr std::size_t kMaxListedClueLength = 60;

struct ListedAnswer {
    std::string answer;             // upper-case A to Z
    std::vector<std::string> clues; // none for an answer marked unfit
    int line = 0;                   // in the list, from 1
};

class ClueList {
public:
    // The lines of the list named source; nothing, with "source:line: reason" in error,
    // at the first line that is not as above or repeats an answer.
    static std::optional<ClueList> Parse(std::istream& lines, const std::string& source,
                                         std::string& error);

    // The answer's line, or nullptr when the list does not name it.
    const ListedAnswer* Find(const std::string& answer) const;
    // Whether the answer is listed with clues.
    bool HasClues(const std::string& answer) const;
    // Every line, by answer.
    const std::vector<ListedAnswer>& Answers() const { return m_answers; }
    const std::string& Source() const { return m_source; }

private:
    std::vector<ListedAnswer> m_answers; // by answer
    std::string m_source;
};

} // namespace datatool
