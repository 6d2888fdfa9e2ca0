// Wordsearch generator: hides themed words in a letter grid, each along a straight line
// in one of the 8 directions, the same puzzle for the same seed. Each puzzle keeps to
// what the game's wordsearch can hold and tell apart: at most 15 x 15 cells, 24 words
// and 255 letters of words in all; no two words share both end cells (a stroke is
// matched by its ends), every word shows exactly once in the grid, and no word lies
// inside another nor is of its family. The title names the theme ("Ending in ING"), which its words
// really fit: a prefix or suffix theme takes only words that carry it as one (CarriesAffix).
// Difficulty 0 ("MINI")
// is a 7 x 7 grid of 5 common words; 1 to 3 grow to 15 x 15 with up to 24 words, rarer
// ones among them. No line of
// the grid, read in any of the 8 directions, spells a blocked word (content_rules.h)
// outside a hidden word: filler letters that do are drawn again. A word list too poor
// for any theme, or an unknown difficulty, gives nothing. Holds a reference to the
// family filter, which must outlive it; the lexicon is needed only while it is built.
#pragma once

#include "content_rules.h"
#include "kindred_words.h"
#include "word_index.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace datatool {

constexpr int kWordsearchMaxSide = 15;
constexpr int kWordsearchMaxWords = 24;
constexpr int kWordsearchMaxTrailCells = 255;

struct WordsearchDirection {
    int dx;
    int dy;
};

// Right, down-right, down, down-left, left, up-left, up, up-right.
extern const WordsearchDirection kWordsearchDirections[8];

// The cells of every full line of a side x side grid along right, down, down-right and
// down-left (each read backwards too gives the other 4 directions).
std::vector<std::vector<int>> WordsearchLines(int side);

struct PlacedWord {
    std::string word;
    std::vector<int> cells; // one per letter, first to last; cell = column + row x cols
};

struct GeneratedWordsearch {
    int rows = 0;
    int cols = 0;
    int difficulty = 0;
    std::string title;
    std::string grid; // rows x cols letters, row by row
    std::vector<PlacedWord> words;
};

struct WordsearchShape {
    int side;
    int minWords;
    int maxWords;
    int minLength;
    int maxLength;
    int minCount; // of a word in the British corpus (word_counts.h)
};

std::optional<WordsearchShape> WordsearchShapeOfDifficulty(int difficulty);

// A prefix or suffix of the themes, upper case, with what a word carrying it is.
struct WordAffix {
    const char* letters;
    bool prefix;
    // The word classes of the word after a prefix, or of the words a suffix makes (none:
    // any), whether a suffix's stem must be a word ("rowing" from "row", not "ring") or is
    // often no word of its own ("durable", "famous"), and the classes the stem word is of
    // (none: any), so that "mother" is no moth and "er".
    std::vector<WordClass> classes = {};
    bool wordStem = false;
    std::vector<WordClass> stemClasses = {};
};

// Whether the upper-case word carries the affix as one, rather than only spelling it: a
// prefix before a word WordNet knows of its classes ("UNTIE", not "UNDERACTS",
// "UNICYCLES" or "UNION"); a suffix
// after a stem of three letters or more that is a word where the affix wants one, in a
// word of its classes ("AMICABLE", not "FABLE", "STABLE" or the noun "BURNOUS").
bool CarriesAffix(const std::string& word, const WordAffix& affix, const WordNetLexicon& lexicon);

class WordsearchGenerator {
public:
    // words: upper-case A to Z (word_list.h), with their counts; lemmaRoots: the roots their
    // lemmas give their families (kindred_words.h).
    WordsearchGenerator(const std::vector<RatedWord>& words, const FamilyFilter& family,
                        const WordNetLexicon& lexicon, LemmaRoots lemmaRoots);

    std::optional<GeneratedWordsearch> Generate(int difficulty, std::uint32_t seed) const;

private:
    struct Theme {
        std::string title;
        std::vector<int> words; // indices into m_words
    };

    // The theme's words whose length and count suit the shape.
    std::vector<const std::string*> Candidates(const Theme& theme,
                                               const WordsearchShape& shape) const;
    void AddTheme(std::string title, const std::function<bool(const std::string&)>& fits);

    std::vector<std::string> m_words;
    std::vector<int> m_counts; // of each word
    std::vector<Theme> m_themes;
    const FamilyFilter& m_family;
    LemmaRoots m_lemmaRoots;
};

} // namespace datatool
