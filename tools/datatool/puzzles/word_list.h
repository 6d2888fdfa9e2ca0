// The wordsearch vocabulary: reads a word list of one word a line (Debian's wbritish
// at /usr/share/dict/british-english) and keeps the words a puzzle can show: lower-case
// a to z only (so no names, possessives or accents), 3 to 15 letters, and none that the
// exclusion list names. Words come back in upper case, in file order, each once.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace datatool {

constexpr const char* kDefaultWordListPath = "/usr/share/dict/british-english";

// The word and every word it may be formed from by English endings: derivations (-y,
// -ish, -ly, -ness, -less, -ful, -ment, -er) and one inflection (-s, -es, -ed, -d, -ing,
// -er, -est), undoing a dropped e, a doubled consonant or a y turned i ("bitchiest" gives
// "bitchy" and "bitch", "massacring" "massacre"). Lower case.
std::vector<std::string> FamilyRoots(const std::string& lowerCaseWord);
// The words a lower-case stem and the ending after it may come from: the stem, the stem
// with the e the ending dropped ("massacr" + "ing") or merged with ("overse" + "er"), without the
// consonant it doubled
// ("slutt" + "ish"), or with the y it turned i ("bitchi" + "est").
std::vector<std::string> WordsBeforeEnding(const std::string& stem, std::string_view ending);
// The same by derivations and comparisons alone: "stickiest" gives "sticky", but
// "sames" only itself.
std::vector<std::string> DerivationRoots(const std::string& lowerCaseWord);
// The word and the forms FamilyRoots leads back to it, spelt as English writes them (a
// final e dropped, a y turned i, a consonant doubled): the word with each derivation, and
// the word or a derivation with one inflection ("nuder", "sluttish", "bitchiest",
// "massacring"). Lower case.
std::vector<std::string> FamilyForms(const std::string& lowerCaseWord);
// A 64-bit FNV-1a hash of the word's letters in sorted order: words that are anagrams of
// each other share it. Hashes rather than strings keep tables of letter sets small.
std::uint64_t LetterSetHash(std::string word);

// Words that puzzles leave out, each with its family (every inflection and derived form,
// FamilyRoots): a line "word" leaves out that word's family, a line "stem*" every word
// whose family begins with stem, a line "*part*" every word that holds part, a line
// "=word" that one word alone (an abbreviation: "etc"); a line "!word" keeps that one
// word, which a family only resembles ("butter" beside "butt").
// A line "word: text" leaves out the word's sense whose definition begins with text
// (an American sense in a British puzzle). Blank lines and lines from '#' are ignored.
// Lower case.
class WordExclusions {
public:
    static WordExclusions Parse(std::istream& lines);
    bool Excludes(const std::string& lowerCaseWord) const;
    // Whether the lower-case word's sense with this definition is left out.
    bool ExcludesSense(const std::string& lowerCaseWord, std::string_view definition) const;
    // The letter sets (LetterSetHash, upper case) of every spelling of 3 letters or more
    // that the entries leave out, in a dictionary or not: each part and one-word entry, and
    // the FamilyForms of each word and stem entry ("nuder", "massacring", "paedos"), less
    // the words kept. Sorted, each once.
    std::vector<std::uint64_t> FormLetterSets() const;
    // What every excluded word of 3 letters or more begins with, lower case and 2 letters
    // or more: a part or a one-word entry whole, a word or stem entry less a final e or y,
    // which its forms may change ("rap" for "raping", "orgi" for "orgies").
    std::vector<std::string> Starts() const;

private:
    // Whether the word begins with an entry less its last letter, which every word of a
    // family does: the cheap test before its roots are worked out.
    bool BeginsLikeAnEntry(std::string_view word) const;
    bool ExcludesRoot(const std::string& root) const;

    std::vector<std::string> m_words; // sorted
    std::vector<std::string> m_stems;
    std::vector<std::string> m_parts;
    std::vector<std::string> m_rootStarts; // each word and stem less its last letter, sorted
    std::vector<std::string> m_exact;      // sorted
    std::vector<std::string> m_kept;       // sorted
    std::vector<std::pair<std::string, std::string>> m_senses; // word, definition start
};

// The words of the lines that neither list excludes.
std::vector<std::string> FilterWordList(std::istream& lines, const WordExclusions& exclusions,
                                        const WordExclusions& blocked);

// The filtered words of the file at path; nothing, with the reason in error, when it
// cannot be read or is not a list of words (ListFormat::kDictionary).
std::optional<std::vector<std::string>> LoadWordList(const std::string& path,
                                                     const WordExclusions& exclusions,
                                                     const WordExclusions& blocked,
                                                     std::string& error);

} // namespace datatool
