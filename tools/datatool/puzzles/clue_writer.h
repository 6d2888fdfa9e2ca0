// ClueWriter: crossword clues for an answer: those the rules' clue list gives it, written by
// hand, each with the answer's letter count; for an answer the list does not name, clues
// from its WordNet definitions. A word with
// any sense that is a slur, an obscenity or sexual gets none, nor does a function word
// ("under", "very"), whose WordNet senses are its rare ones. Otherwise its clues come
// from the best evidenced senses (uses shared among the synonyms listed before the word;
// a tie goes to the sense the answer heads, so "fin" is not clued as a number) whose
// definitions are fit to show: not of a proper name, not filed as obscene, offensive or
// slang for the body or its acts, not American (baseball, the United States, a sheriff, a
// sense the exclusions name), not of a special field (filed under a topic: "commute" in
// mathematics), not naming the word or telling where it is found rather than
// defining it ("informal term for", "native to"), agreeing in number with the answer, naming no
// excluded or blocked word, and giving the answer away in no form (the answer, its inflections, its
// lemmas, words of the same root). The definition loses its examples, asides, hedges and
// qualifiers, takes British spellings, ends on a complete phrase (cut only after a noun) and then
// the answer's letter count: "Water frozen in the solid state (3)", at most kMaxClueLength
// characters before the count. A definition that names a genus, family or other taxon, opens
// with a name ("Old World vine"), or is cut below kMinCutClueWords words ("that may" of "that
// may be permitted especially ...") gives no clue, though its sense stays the word's best.
// Holds references to the lexicon and the rules, which must outlive it; read-only, so any
// number of threads may share it.
#pragma once

#include "content_rules.h"
#include "wordnet_lexicon.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace datatool {

// A clue's text, its letter count aside, is no longer than a hand-written one.
constexpr std::size_t kMaxClueLength = kMaxListedClueLength;
// A definition cut shorter than this reads as a fragment; a whole one of fewer words is a clue.
constexpr std::size_t kMinCutClueWords = 3;

class ClueWriter {
public:
    ClueWriter(const WordNetLexicon& lexicon, const ContentRules& rules)
        : m_lexicon(lexicon), m_rules(rules) {}

    // answer: upper-case A to Z. Its listed clues in their order (none for an answer marked
    // unfit); unlisted, the clue of its best evidenced fair sense, then those of other senses
    // it heads that are evidenced at least half as well, up to kMaxCluesPerAnswer, each once;
    // none when no sense gives a fair clue.
    std::vector<std::string> CluesFor(const std::string& answer) const;
    // The first of CluesFor, or nothing.
    std::optional<std::string> ClueFor(const std::string& answer) const;

    // Whether the text shows the lower-case answer in any form: a word that begins
    // with the answer or with the stem of one of its lemmas or of a word it is made from by
    // a learned ending ("consumption" for "consumerism"), a word of those, a word inside a
    // longer answer, a longer word holding the answer, or a word beginning like the answer
    // for all but a few letters.
    bool Reveals(std::string_view text, const std::string& answer) const;

    const ContentRules& Rules() const { return m_rules; }

private:
    // The clue of one sense's definition for the lower-case answer, without its letter
    // count; nothing when it is not fair.
    std::optional<std::string> ClueOfSense(const std::string& rawDefinition,
                                           const std::string& answer) const;
    // A clue that is long enough, plain ASCII, and neither reveals the answer nor names
    // an excluded word.
    bool IsFair(const std::string& clue, const std::string& answer) const;
    bool NamesExcludedWord(std::string_view text) const;
    // A noun's definition that starts with a verb ("commiserates with someone" for
    // "sympathiser") or with "of" ("of southern Europe" for "asp"), or an adjective's with
    // a bare verb ("be affected with an indisposition" for "taken"): WordNet's slips,
    // which no clue repeats.
    bool OpensAmiss(const WordSense& sense, const std::string& definition) const;
    // Whether the lower-case word is a form of another lemma and never used as a lemma of
    // its own: a solver reads "dug" as a form of "dig", not as an udder.
    bool IsReadAsOtherForm(const std::string& word) const;
    // Whether the lower-case word is the plural of a noun used at least as often as the
    // word itself ("years", "hours"; not "gas" beside "Ga").
    bool IsPlural(const std::string& word) const;
    // Whether the head of the definition's opening noun phrase is plural as the answer
    // is (plural) or singular as it is not, or the definition has none ("any of ..."): "a
    // late time of life" is no clue for "years", nor "fairies that ..." for "elf".
    bool AgreesInNumber(const std::string& definition, bool plural) const;

    const WordNetLexicon& m_lexicon;
    const ContentRules& m_rules;
};

} // namespace datatool
