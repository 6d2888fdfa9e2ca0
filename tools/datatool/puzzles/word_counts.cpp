#include "word_counts.h"

#include "list_file.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <sstream>

namespace datatool {
namespace {

bool IsLowerCaseWord(std::string_view word) {
    return !word.empty() && word.size() <= UINT8_MAX &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

} // namespace

WordCounts WordCounts::Parse(std::istream& lines) {
    WordCounts counts;
    bool inUnigrams = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '\\') {
            inUnigrams = line == "\\1-grams:";
            continue;
        }
        const std::size_t blank = line.find(' ');
        if (!inUnigrams || blank == std::string::npos) {
            continue;
        }
        const std::string_view word = std::string_view(line).substr(blank + 1);
        int count = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + blank, count);
        if (error != std::errc() || end != line.data() + blank || count <= 0 ||
            !IsLowerCaseWord(word)) {
            continue;
        }
        counts.m_entries.push_back(Entry{static_cast<std::uint32_t>(counts.m_names.size()),
                                         static_cast<std::uint8_t>(word.size()), false, count});
        counts.m_names += word;
    }
    counts.m_names.shrink_to_fit();
    counts.m_entries.shrink_to_fit();
    std::sort(counts.m_entries.begin(), counts.m_entries.end(),
              [&](const Entry& a, const Entry& b) { return counts.NameOf(a) < counts.NameOf(b); });
    return counts;
}

std::optional<WordCounts> WordCounts::Load(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    return Parse(file);
}

std::string_view WordCounts::NameOf(const Entry& entry) const {
    return std::string_view(m_names).substr(entry.nameStart, entry.nameLength);
}

const WordCounts::Entry* WordCounts::Find(std::string_view word) const {
    const auto found = std::lower_bound(
        m_entries.begin(), m_entries.end(), word,
        [&](const Entry& entry, std::string_view wanted) { return NameOf(entry) < wanted; });
    return found != m_entries.end() && NameOf(*found) == word ? &*found : nullptr;
}

int WordCounts::Count(std::string_view word) const {
    const Entry* entry = Find(word);
    return entry != nullptr ? entry->count : 0;
}

void WordCounts::MarkEveryday(std::istream& lines) {
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (const Entry* entry = Find(line); entry != nullptr) {
            m_entries[static_cast<std::size_t>(entry - m_entries.data())].everyday = true;
        }
    }
}

bool WordCounts::IsEveryday(std::string_view word) const {
    const Entry* entry = Find(word);
    return entry != nullptr && entry->everyday;
}

bool CorpusCounts::IsAmerican(std::string_view word) const {
    return american.Count(word) > 0 && british.Count(word) == 0;
}

std::optional<CorpusCounts> LoadCorpusCounts(const std::string& directory,
                                             const std::string& everydayPath, std::string& error) {
    const std::string britishPath = directory + "/en_GB.lm";
    const std::string americanPath = directory + "/en_US.lm";
    std::optional<WordCounts> british = WordCounts::Load(britishPath);
    std::optional<WordCounts> american = WordCounts::Load(americanPath);
    if (!british || !american) {
        error = "cannot read '" + (!british ? britishPath : americanPath) + "'";
        return std::nullopt;
    }
    const std::optional<std::string> everyday =
        ReadListFile(everydayPath, ListFormat::kDictionary, error);
    if (!everyday) {
        return std::nullopt;
    }
    std::istringstream everydayLines(*everyday);
    british->MarkEveryday(everydayLines);
    return CorpusCounts{std::move(*british), std::move(*american)};
}

} // namespace datatool
