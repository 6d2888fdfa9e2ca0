#include "word_list.h"

#include <algorithm>
#include <cstdint>
#include <fstream>

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

// The words, each at its first place only. Sorted positions rather than a set of the
// words: the tool may run on a heap that many small blocks slow down.
std::vector<std::string> WithoutRepeats(std::vector<std::string> words) {
    std::vector<std::uint32_t> order(words.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return words[a] != words[b] ? words[a] < words[b] : a < b;
    });
    std::vector<bool> repeated(words.size(), false);
    for (std::size_t i = 1; i < order.size(); ++i) {
        repeated[order[i]] = words[order[i]] == words[order[i - 1]];
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!repeated[i]) {
            if (kept != i) {
                words[kept] = std::move(words[i]);
            }
            ++kept;
        }
    }
    words.resize(kept);
    return words;
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
        if (entry.size() > 2 && entry.front() == '*' && entry.back() == '*') {
            exclusions.m_parts.push_back(entry.substr(1, entry.size() - 2));
        } else if (entry.back() == '*') {
            exclusions.m_stems.push_back(entry.substr(0, entry.size() - 1));
        } else {
            exclusions.m_words.push_back(entry);
        }
    }
    std::sort(exclusions.m_words.begin(), exclusions.m_words.end());
    return exclusions;
}

bool WordExclusions::Excludes(const std::string& lowerCaseWord) const {
    if (std::binary_search(m_words.begin(), m_words.end(), lowerCaseWord)) {
        return true;
    }
    return std::any_of(m_stems.begin(), m_stems.end(),
                       [&](const std::string& stem) {
                           return lowerCaseWord.compare(0, stem.size(), stem) == 0;
                       }) ||
           std::any_of(m_parts.begin(), m_parts.end(), [&](const std::string& part) {
               return lowerCaseWord.find(part) != std::string::npos;
           });
}

std::vector<std::string> WordExclusions::Spellings() const {
    std::vector<std::string> spellings = m_words;
    spellings.insert(spellings.end(), m_stems.begin(), m_stems.end());
    spellings.insert(spellings.end(), m_parts.begin(), m_parts.end());
    return spellings;
}

std::vector<std::string> FilterWordList(std::istream& lines, const WordExclusions& exclusions,
                                        const WordExclusions& blocked) {
    std::vector<std::string> words;
    std::string line;
    while (std::getline(lines, line)) {
        const std::string word = Trimmed(line);
        if (word.size() >= kMinWordLength && word.size() <= kMaxWordLength &&
            IsLowerCaseWord(word) && !exclusions.Excludes(word) && !blocked.Excludes(word)) {
            words.push_back(ToUpper(word));
        }
    }
    return WithoutRepeats(std::move(words));
}

std::optional<std::vector<std::string>> LoadWordList(const std::string& path,
                                                     const WordExclusions& exclusions,
                                                     const WordExclusions& blocked) {
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    return FilterWordList(file, exclusions, blocked);
}

} // namespace datatool
