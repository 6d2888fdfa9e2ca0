// What the word puzzles may show, read from the plain lists under data/puzzles/: the
// family filter (a blocklist of slurs, obscenities, sexual terms, violence and drugs that
// no answer, hidden word, clue or wordsearch line may spell), the sensitive words (death,
// crime, illness: shown from difficulty 2 on) and the British spellings that UK English
// clues are written in. Read-only once loaded; any number of
// threads may share them. A list that cannot be read gives nothing and the reason.
#pragma once

#include "clue_list.h"
#include "word_counts.h"
#include "word_list.h"
#include "wordnet_lexicon.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace datatool {

class FamilyFilter {
public:
    explicit FamilyFilter(WordExclusions blocked);

    // word: letters in any case.
    bool BlocksWord(std::string_view word) const;
    // Whether any word of the text is blocked.
    bool BlocksText(std::string_view text) const;
    // Every place the upper-case letters spell a word of 3 letters or more that BlocksWord
    // blocks, inside words too, from where an entry of the rules begins (a word holding a
    // blocked part is found from the part on): start and length of each, by start, then
    // length. "GRAPES" gives "RAPE" and "RAPES".
    std::vector<std::pair<std::size_t, std::size_t>>
    FindBlockedWords(std::string_view letters) const;
    // Whether the upper-case word's letters, reordered, spell a blocked word: an entry or
    // one of its forms (WordExclusions::FormLetterSets).
    bool IsAnagramOfBlockedWord(const std::string& word) const;
    const WordExclusions& Rules() const { return m_blocked; }

private:
    WordExclusions m_blocked;
    // Whether a blocked word may begin at the upper-case letters: one of the rules' starts
    // (WordExclusions::Starts) does.
    bool MayBeginBlockedWord(std::string_view letters) const;

    std::vector<std::string> m_starts; // upper case
    // The starts by their first two letters (LetterPair), as indices into m_starts.
    std::vector<std::vector<std::uint32_t>> m_byFirstLetters;
    std::vector<std::uint64_t> m_letterSets; // WordExclusions::FormLetterSets
};

class BritishSpellings {
public:
    // Lines "us british" (whole lower-case words); blank lines and lines from '#' are
    // ignored, as are lines without two words.
    static BritishSpellings Parse(std::istream& lines);

    // The text with each US word in its British form, a capital kept.
    std::string Anglicised(std::string_view text) const;
    // The first US word of the text, or empty.
    std::string FirstUsSpelling(std::string_view text) const;
    // Whether the word (any case) is a US spelling or an American word of the table.
    bool IsUsSpelling(std::string_view word) const;

private:
    std::unordered_map<std::string, std::string> m_british;
};

// The lists the generators follow: exclusions (topics a puzzle leaves out, and the answers
// the clue list marks unfit), the family filter, the British spellings, the sensitive words
// and the hand-written clues.
struct ContentRules {
    WordExclusions exclusions;
    FamilyFilter family;
    BritishSpellings spellings;
    WordExclusions sensitive;
    ClueList clues = {};
};

// The lowest difficulty that shows a sensitive word.
constexpr int kSensitiveMinDifficulty = 2;
// The least count in the British corpus of a word outside the everyday words: rarer, it is
// a specialist's word ("COPRA"), and even so it is shown at the hardest difficulty alone
// (word_counts.h tells the everyday words).
constexpr int kMinCountOutsideEveryday = 2000;

// Whether the word (any case) is of a sensitive family.
bool IsSensitive(std::string_view word, const ContentRules& rules);
// Whether any word of the text is of a sensitive family.
bool NamesSensitiveWord(std::string_view text, const ContentRules& rules);

// Whether a setter would give the upper-case word as an answer or list it: a word
// WordNet knows (one of its lemmas, a usual form of one or a word derived from one), but
// not a form of a two-letter word alone ("INS", "UPS"); with a vowel (not "YRS" or
// "LBS"); neither excluded nor blocked, nor of an unfit sense; written often enough for
// the British corpus to count it (not "KUDZU", "ABLER" or "GLORIED"), and outside the
// everyday words at least kMinCountOutsideEveryday times; not a clipping outside them
// ("INTRO"); neither a US spelling, a word the American corpus alone counts, nor one of
// American fields alone ("SHORTSTOP").
bool IsSetterWord(const std::string& word, const WordNetLexicon& lexicon, const ContentRules& rules,
                  const CorpusCounts& counts);

// Whether the sense is American: filed under baseball, American football or the United
// States, or its definition names what only Americans would know it by ("quarterback").
bool IsAmericanSense(const WordSense& sense, const std::string& definition);

// Whether a sense of the word, by its definitions (not its examples), is a slur, an
// obscenity or sexual: a family game shows the word nowhere.
bool HasUnfitSense(const std::vector<WordSense>& senses);

// The words (upper case) that IsSetterWord takes, in their order.
std::vector<std::string> SetterWords(std::vector<std::string> words, const WordNetLexicon& lexicon,
                                     const ContentRules& rules, const CorpusCounts& counts);

// Whether the upper-case word has a vowel: a, e, i, o, u, or a y after its first letter.
bool HasVowel(std::string_view word);

// Whether a sense of the lower-case word shortens a longer word of its synset: "intro"
// beside "introduction".
bool IsClipping(const std::string& lowerCaseWord, const WordNetLexicon& lexicon);

struct ContentRulePaths {
    std::string exclusions;
    std::string blocklist;
    std::string spellings;
    std::string sensitive;
    std::string clues;
};

// Reads the lists (each checked as list_file.h says); nothing, with the reason in error,
// when one cannot be read or is not a list of its kind: the path, and the file, line and
// fault of a bad line.
std::optional<ContentRules> LoadContentRules(const ContentRulePaths& paths, std::string& error);

// The runs of letters of the text with their start, as written.
std::vector<std::pair<std::size_t, std::string_view>> LetterRuns(std::string_view text);

} // namespace datatool
