// What a family puzzle bank may show, checked independently of the generators against the
// lists under data/puzzles/: no word of a blocked or excluded family in an answer, list
// word, clue, hidden word or any line of a wordsearch grid (all 8 directions, filler
// included, a run inside one hidden word aside); answers and list words in British
// spelling, with a vowel (no abbreviation); clues that end on a complete phrase, in
// British spelling, none twice in one puzzle; hidden words whose letters spell no other
// word of the list, none twice in a bank.
#pragma once

#include "puzzle_validation.h"
#include "puzzles/clue_writer.h"
#include "puzzles/content_rules.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace content_checks {

// The checker's own list of words no phrase ends with.
inline bool EndsMidPhrase(std::string text) {
    static const char* const kOpenEnds[] = {
        "a",      "an",    "the",  "of",    "and",     "or",      "but",     "nor",
        "to",     "in",    "on",   "at",    "by",      "for",     "from",    "with",
        "into",   "onto",  "upon", "about", "as",      "than",    "that",    "which",
        "who",    "whose", "whom", "if",    "because", "between", "through", "without",
        "within", "under", "over", "after", "before"};
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, "...") == 0) {
        return true;
    }
    const std::size_t blank = text.find_last_of(' ');
    std::string last = text.substr(blank == std::string::npos ? 0 : blank + 1);
    std::transform(last.begin(), last.end(), last.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(std::begin(kOpenEnds), std::end(kOpenEnds),
                       [&](const char* word) { return last == word; });
}

// Whether the text ends in punctuation other than a closing bracket.
inline bool EndsInStrayPunctuation(const std::string& text) {
    const unsigned char last = text.empty() ? ' ' : static_cast<unsigned char>(text.back());
    return !std::isalnum(last) && last != ')';
}

// An answer, list word or hidden word (upper case) a setter would give.
inline std::vector<std::string> ShownWordProblems(const std::string& word,
                                                  const datatool::ContentRules& rules) {
    std::string lower = word;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    std::vector<std::string> problems;
    if (rules.family.BlocksWord(lower) || rules.exclusions.Excludes(lower)) {
        problems.push_back(word + ": of a blocked or excluded family");
    }
    if (rules.spellings.IsUsSpelling(lower)) {
        problems.push_back(word + ": American");
    }
    const bool vowel =
        word.find_first_of("AEIOU") != std::string::npos || word.find('Y', 1) != std::string::npos;
    if (!vowel) {
        problems.push_back(word + ": an abbreviation");
    }
    return problems;
}

// A clue as the bank holds it, "Text (N)".
inline std::vector<std::string> ClueProblems(const std::string& clue,
                                             const datatool::ContentRules& rules,
                                             const datatool::WordNetLexicon& lexicon) {
    std::vector<std::string> problems;
    const std::string text = clue.substr(0, clue.rfind(" ("));
    if (EndsMidPhrase(text) || EndsInStrayPunctuation(text) ||
        datatool::EndsMidPhrase(text, lexicon) ||
        std::count(text.begin(), text.end(), '(') != std::count(text.begin(), text.end(), ')')) {
        problems.push_back("clue ends mid-phrase: " + clue);
    }
    if (rules.family.BlocksText(text)) {
        problems.push_back("clue holds a blocked word: " + clue);
    }
    if (!rules.spellings.FirstUsSpelling(text).empty()) {
        problems.push_back("clue in US spelling: " + clue);
    }
    return problems;
}

// The words that come more than once.
inline std::vector<std::string> RepeatedWords(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    std::vector<std::string> repeated;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == words[i - 1] && (repeated.empty() || repeated.back() != words[i])) {
            repeated.push_back(words[i]);
        }
    }
    return repeated;
}

template <class Record>
std::vector<std::string> RepeatedClueProblems(const Record& record) {
    std::vector<std::string> problems;
    std::map<std::string, int> seen;
    for (int w = 0; w < record.words.Size(); ++w) {
        const std::string clue = record.words(w).clue;
        if (++seen[clue.substr(0, clue.rfind(" ("))] == 2) {
            problems.push_back(std::string("two words clued ") + record.words(w).clue);
        }
    }
    return problems;
}

// Every blocked spelling read from any cell in any of the 8 directions whose cells do not
// all lie on the trail of one hidden word.
inline std::vector<std::string> GridLineProblems(const Kelvo_lib::WordsearchData& ws,
                                                 const datatool::FamilyFilter& family) {
    std::vector<std::vector<int>> trails;
    for (int w = 0; w < ws.words.Size(); ++w) {
        std::vector<int> trail;
        for (int i = ws.words(w).cellStartIndex; i <= ws.words(w).cellEndIndex; ++i) {
            trail.push_back(ws.wordTrails(i));
        }
        trails.push_back(trail);
    }
    const auto onOneTrail = [&](const std::vector<int>& cells) {
        return std::any_of(trails.begin(), trails.end(), [&](const std::vector<int>& trail) {
            return std::all_of(cells.begin(), cells.end(), [&](int cell) {
                return std::find(trail.begin(), trail.end(), cell) != trail.end();
            });
        });
    };
    std::vector<std::string> problems;
    for (std::string spelling : family.Rules().Spellings()) {
        std::transform(spelling.begin(), spelling.end(), spelling.begin(),
                       [](char c) { return static_cast<char>(std::toupper(c)); });
        for (int start = 0; start < ws.numRows * ws.numCols; ++start) {
            for (const auto& direction : puzzle_validation::kDirections) {
                std::vector<int> cells;
                int x = start % ws.numCols;
                int y = start / ws.numCols;
                for (char letter : spelling) {
                    if (x < 0 || y < 0 || x >= ws.numCols || y >= ws.numRows ||
                        ws.gridMap(x + y * ws.numCols) != letter) {
                        break;
                    }
                    cells.push_back(x + y * ws.numCols);
                    x += direction[0];
                    y += direction[1];
                }
                if (cells.size() == spelling.size() && !onOneTrail(cells)) {
                    problems.push_back("the grid spells " + spelling);
                }
            }
        }
    }
    return problems;
}

inline std::size_t LetterSet(std::string word) {
    std::sort(word.begin(), word.end());
    return std::hash<std::string>()(word);
}

// A hash of the letters of each word of the list, in sorted order (small and in one block:
// the tests run on the console's heap).
inline std::vector<std::size_t> LetterSets(const std::vector<std::string>& words) {
    std::vector<std::size_t> sets;
    sets.reserve(words.size());
    for (const std::string& word : words) {
        sets.push_back(LetterSet(word));
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

inline std::vector<std::string> HiddenWordProblems(const std::string& word,
                                                   const std::vector<std::size_t>& letterSets,
                                                   const datatool::FamilyFilter& family) {
    std::vector<std::string> problems;
    if (family.BlocksWord(word) || family.IsAnagramOfBlockedWord(word)) {
        problems.push_back("hidden word " + word + " spells a blocked word");
    }
    const auto [first, last] =
        std::equal_range(letterSets.begin(), letterSets.end(), LetterSet(word));
    if (last - first > 1) {
        problems.push_back("hidden word " + word + " has another anagram in the list");
    }
    return problems;
}

} // namespace content_checks
