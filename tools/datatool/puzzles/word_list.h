// The wordsearch vocabulary: reads a word list of one word a line (Debian's wbritish
// at /usr/share/dict/british-english) and keeps the words a puzzle can show: lower-case
// a to z only (so no names, possessives or accents), 3 to 15 letters, and none that the
// exclusion list names. Words come back in upper case, in file order, each once.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace datatool {

constexpr const char* kDefaultWordListPath = "/usr/share/dict/british-english";

// Words that puzzles leave out: a line "word" excludes that word, a line "stem*" every
// word that begins with stem, a line "*part*" every word that holds part; blank lines
// and lines from '#' are ignored. Lower case.
class WordExclusions {
public:
    static WordExclusions Parse(std::istream& lines);
    bool Excludes(const std::string& lowerCaseWord) const;
    // The letters of every entry (words, stems and parts), lower case.
    std::vector<std::string> Spellings() const;

private:
    std::vector<std::string> m_words;
    std::vector<std::string> m_stems;
    std::vector<std::string> m_parts;
};

// The words of the lines that neither list excludes.
std::vector<std::string> FilterWordList(std::istream& lines, const WordExclusions& exclusions,
                                        const WordExclusions& blocked);

// The filtered words of the file at path; nothing when it cannot be read.
std::optional<std::vector<std::string>> LoadWordList(const std::string& path,
                                                     const WordExclusions& exclusions,
                                                     const WordExclusions& blocked);

} // namespace datatool
