#include "clue_list.h"

#include <algorithm>
#include <cctype>

namespace datatool {
namespace {

constexpr char kSeparator = '|';
constexpr const char* kUnfitMark = "-";

bool IsAnswer(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// The reason the clue is not one a line may give, or nothing.
const char* ClueFault(const std::string& clue) {
    if (clue.empty()) {
        return "an empty clue";
    }
    if (clue.size() > kMaxListedClueLength) {
        return "a clue too long";
    }
    if (clue.front() == ' ' || clue.back() == ' ') {
        return "a clue with a blank at an end";
    }
    if (!std::all_of(clue.begin(), clue.end(), [](char c) { return c >= ' ' && c <= '~'; })) {
        return "a clue not in plain printable ASCII";
    }
    if (std::none_of(clue.begin(), clue.end(), [](char c) { return std::isalpha(c) != 0; })) {
        return "a clue with no letter";
    }
    return nullptr;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == kSeparator) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The line's answer and clues; nothing, with the reason in error, when it is bad.
std::optional<ListedAnswer> ParseLine(const std::string& line, std::string& error) {
    std::vector<std::string> fields = Fields(line);
    ListedAnswer listed{fields[0], {fields.begin() + 1, fields.end()}, 0};
    if (!IsAnswer(listed.answer)) {
        error = "the answer '" + listed.answer + "' is not upper-case letters A to Z";
        return std::nullopt;
    }
    if (listed.clues.size() == 1 && listed.clues[0] == kUnfitMark) {
        listed.clues.clear();
        return listed;
    }
    if (listed.clues.empty() || listed.clues.size() > kMaxListedClues) {
        error = listed.answer + " has " + std::to_string(listed.clues.size()) +
                " clues, not 1 to " + std::to_string(kMaxListedClues) + " or '-'";
        return std::nullopt;
    }
    for (const std::string& clue : listed.clues) {
        if (const char* fault = ClueFault(clue)) {
            error = listed.answer + " has " + fault + ": '" + clue + "'";
            return std::nullopt;
        }
    }
    return listed;
}

} // namespace

std::optional<ClueList> ClueList::Parse(std::istream& lines, const std::string& source,
                                        std::string& error) {
    ClueList list;
    list.m_source = source;
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::optional<ListedAnswer> listed = ParseLine(line, error);
        if (!listed) {
            error = source + ":" + std::to_string(number) + ": " + error;
            return std::nullopt;
        }
        listed->line = number;
        list.m_answers.push_back(std::move(*listed));
    }
    std::stable_sort(
        list.m_answers.begin(), list.m_answers.end(),
        [](const ListedAnswer& a, const ListedAnswer& b) { return a.answer < b.answer; });
    const auto repeated = std::adjacent_find(
        list.m_answers.begin(), list.m_answers.end(),
        [](const ListedAnswer& a, const ListedAnswer& b) { return a.answer == b.answer; });
    if (repeated != list.m_answers.end()) {
        error = source + ":" + std::to_string(repeated[1].line) + ": " + repeated->answer +
                " is listed again (first on line " + std::to_string(repeated->line) + ")";
        return std::nullopt;
    }
    return list;
}

const ListedAnswer* ClueList::Find(const std::string& answer) const {
    const auto found = std::lower_bound(m_answers.begin(), m_answers.end(), answer,
                                        [](const ListedAnswer& listed, const std::string& wanted) {
                                            return listed.answer < wanted;
                                        });
    return found != m_answers.end() && found->answer == answer ? &*found : nullptr;
}

bool ClueList::HasClues(const std::string& answer) const {
    const ListedAnswer* listed = Find(answer);
    return listed != nullptr && !listed->clues.empty();
}

} // namespace datatool
