// The list files datatool puzzles reads (data/puzzles/*.txt, the word lists of Debian's
// wbritish), checked before anything parses them: text (no NUL or other control byte,
// UTF-8), one entry a line of the list's format, and at least one entry. A list that is
// not one gives nothing and says why: the file, and the line of the first fault. Pure
// functions but for ReadListFile's read of the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace datatool {

enum class ListFormat {
    // WordExclusions (excluded_words.txt, blocked_words.txt, sensitive_words.txt): "word",
    // "stem*", "*part*", "=word", "!word" or "word: sense", lower-case a to z; '#' starts a
    // comment, blank lines are skipped.
    kWordRules,
    // BritishSpellings (british_spellings.txt): "us british", two lower-case words; '#'
    // starts a comment, blank lines are skipped.
    kSpellings,
    // ClueList (clues.txt): lines from '#' and blank lines are skipped; ClueList checks the
    // others.
    kClues,
    // A spelling dictionary (wbritish): one word a line, of letters in any alphabet,
    // apostrophes and hyphens; blank lines are skipped.
    kDictionary,
};

// The reason the text, read from source, is not a list of the format: "source:line: what
// the line holds", or "source: ..." for a list without entries; empty when it is one.
std::string ListFault(std::string_view text, std::string_view source, ListFormat format);

// The text of the list file at path, checked as above; nothing, with the reason in error,
// when it is not a readable regular file of at most kMaxInputBytes or not a list.
std::optional<std::string> ReadListFile(const std::string& path, ListFormat format,
                                        std::string& error);

} // namespace datatool
