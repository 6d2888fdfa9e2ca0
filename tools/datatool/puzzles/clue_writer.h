// ClueWriter: a crossword clue for an answer from its WordNet definitions. A word with
// any sense that is a slur or an obscenity gets none. Otherwise it takes the most used
// sense (a tie goes to the sense the answer heads, so "fin" is not clued as a number)
// whose definition is fit to show: not of a proper name, not filed as obscene, offensive
// or slang for the body or its acts, naming no excluded or blocked word, and giving the
// answer away in no form (the answer, its inflections, its lemmas, words of the same
// root). The definition loses its examples, takes British spellings, is cut only where a
// phrase ends and ends in the answer's letter count: "Water frozen in the solid state
// (3)", at most kMaxClueLength characters. Holds references to the lexicon and the
// rules, which must outlive it; read-only, so any number of threads may share it.
#pragma once

#include "content_rules.h"
#include "wordnet_lexicon.h"

#include <optional>
#include <string>
#include <string_view>

namespace datatool {

constexpr std::size_t kMaxClueLength = 120;

class ClueWriter {
public:
    ClueWriter(const WordNetLexicon& lexicon, const ContentRules& rules)
        : m_lexicon(lexicon), m_rules(rules) {}

    // answer: upper-case A to Z. Nothing when no sense gives a fair clue.
    std::optional<std::string> ClueFor(const std::string& answer) const;

    // Whether the text shows the lower-case answer in any form: a word that begins
    // with the answer or with the stem of one of its lemmas, a word of the answer's
    // lemmas, a word inside a longer answer, a longer word holding the answer, or a
    // word beginning like the answer for all but a few letters.
    bool Reveals(std::string_view text, const std::string& answer) const;

private:
    // A clue that is long enough, plain ASCII, and neither reveals the answer nor names
    // an excluded word.
    bool IsFair(const std::string& clue, const std::string& answer) const;
    bool NamesExcludedWord(std::string_view text) const;

    const WordNetLexicon& m_lexicon;
    const ContentRules& m_rules;
};

// The definitions of a WordNet gloss, without its examples and lists: "a pet: a dog or
// cat; a friend; "it barks"" gives "a pet; a friend".
std::string DefinitionOf(std::string_view gloss);

// The definition cut to at most maxLength characters: its first part (up to "; "),
// with the next joined while it fits; too long, it loses its parenthesised asides,
// then ends at the last clause boundary (a comma, or before "that", "which", "and",
// ...) that leaves at least half of it, less any word that would leave it dangling.
// Empty when no such boundary exists: a clue is never cut mid-phrase.
std::string ShortenDefinition(const std::string& definition, std::size_t maxLength);

// Whether the text ends in a word that leaves a phrase open: an article, a preposition,
// a conjunction, a relative or possessive word ("a piece of"), or in "...".
bool EndsMidPhrase(std::string_view text);

} // namespace datatool
