// WordCounts: how often each word form is written in a large corpus, read from the
// unigram section of a language model ("count word" lines after "\1-grams:", as
// Debian's onboard-data ships them for its word suggestions), lower-case a to z words
// only; a form the model does not hold was written too seldom to count. CorpusCounts
// pairs the British model with the American one: each holds only the words its
// country's spelling dictionary accepts, so a word counted in the American alone is
// American. Compact tables (the tool runs in the console's heap); read-only once
// loaded. A file that cannot be read gives nothing; lines it cannot read are skipped.
// The British counts also know which words are everyday ones (Debian's wbritish-small):
// the words a family solver meets outside books on a subject.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace datatool {

constexpr const char* kDefaultWordCountsPath = "/usr/share/onboard/models";
constexpr const char* kDefaultEverydayWordsPath = "/usr/share/dict/british-english-small";

class WordCounts {
public:
    static WordCounts Parse(std::istream& lines);
    static std::optional<WordCounts> Load(const std::string& path);

    // The count of the lower-case word form; 0 when the model does not hold it.
    int Count(std::string_view word) const;
    // Marks the words of a list of one word a line as everyday ones; a word the model
    // does not hold stays unknown.
    void MarkEveryday(std::istream& lines);
    // Whether the lower-case word form is marked everyday.
    bool IsEveryday(std::string_view word) const;

private:
    struct Entry {
        std::uint32_t nameStart; // in m_names
        std::uint8_t nameLength;
        bool everyday; // in the padding: no room of its own
        std::int32_t count;
    };
    std::string_view NameOf(const Entry& entry) const;
    const Entry* Find(std::string_view word) const;

    std::string m_names;
    std::vector<Entry> m_entries; // by name
};

struct CorpusCounts {
    WordCounts british;
    WordCounts american;

    // Whether the lower-case word is counted in the American model and not the British:
    // an American spelling or word ("sidewalk", "anymore").
    bool IsAmerican(std::string_view word) const;
};

// en_GB.lm and en_US.lm of the directory, the British marked by the everyday words at
// everydayPath; nothing, with the reason in error, when one cannot be read or the
// everyday words are not a list of words (ListFormat::kDictionary).
std::optional<CorpusCounts> LoadCorpusCounts(const std::string& directory,
                                             const std::string& everydayPath, std::string& error);

} // namespace datatool
