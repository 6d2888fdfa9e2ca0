#include "word_list.h"

#include <algorithm>
#include <fstream>
#include <unordered_set>

namespace datatool {
namespace {

constexpr std::size_t kMinWordLength = 3;
constexpr std::size_t kMaxWordLength = 15;

bool IsLowerCaseWord(const std::string& word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string ToUpper(std::string word) {
    for (char& c : word) {
        c = static_cast<char>(c - 'a' + 'A');
    }
    return word;
}

// The line without its end-of-line characters and surrounding blanks.
std::string Trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

WordExclusions WordExclusions::Parse(std::istream& lines) {
    WordExclusions exclusions;
    std::string line;
    while (std::getline(lines, line)) {
        const std::string entry = Trimmed(line.substr(0, line.find('#')));
        if (entry.empty()) {
            continue;
        }
        if (entry.back() == '*') {
            exclusions.m_stems.push_back(entry.substr(0, entry.size() - 1));
        } else {
            exclusions.m_words.push_back(entry);
        }
    }
    return exclusions;
}

bool WordExclusions::Excludes(const std::string& lowerCaseWord) const {
    if (std::find(m_words.begin(), m_words.end(), lowerCaseWord) != m_words.end()) {
        return true;
    }
    return std::any_of(m_stems.begin(), m_stems.end(), [&](const std::string& stem) {
        return lowerCaseWord.compare(0, stem.size(), stem) == 0;
    });
}

std::vector<std::string> FilterWordList(std::istream& lines, const WordExclusions& exclusions) {
    std::vector<std::string> words;
    std::unordered_set<std::string> seen;
    std::string line;
    while (std::getline(lines, line)) {
        const std::string word = Trimmed(line);
        if (word.size() < kMinWordLength || word.size() > kMaxWordLength ||
            !IsLowerCaseWord(word) || exclusions.Excludes(word) || !seen.insert(word).second) {
            continue;
        }
        words.push_back(ToUpper(word));
    }
    return words;
}

std::optional<std::vector<std::string>> LoadWordList(const std::string& path,
                                                     const WordExclusions& exclusions) {
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    return FilterWordList(file, exclusions);
}

} // namespace datatool
