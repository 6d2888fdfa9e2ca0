// How a WordNet definition is read and worded as a clue: the definitions of a gloss, the
// asides, examples, qualifiers, hedges and long lists a setter leaves out, a cut to a length
// only at a clause boundary that leaves no phrase open; and, in `wording`, the tests of
// definition text that the clue writer's checks share (its words, its function words, its
// asides, whether it tells usage rather than meaning). Plain functions over text and a
// read-only lexicon, so any number of threads may call them.
#pragma once

#include "wordnet_lexicon.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace datatool {

// The definitions of a WordNet gloss, without its examples, lists, a trailing "etc."
// and later parts on usage ("; used with comparisons"): "a pet: a dog or cat; a friend;
// "it barks"" gives "a pet; a friend".
std::string DefinitionOf(std::string_view gloss);

// The definition without an aside that opens it: "(of hair) made smooth" gives "made
// smooth".
std::string WithoutLeadingAside(const std::string& definition);

// The definition the way a setter words it: each part without its asides ("(especially
// in infants)"), examples and qualifiers ("e.g. China and Japan", "especially ..."),
// hedges ("usually", "often") and the tail of a long list of single words joined by "or"
// ("size or number or quantity" gives "size or number"), and opening plainly ("of or
// relating to" gives "relating to"); with a lexicon, a part cut
// before a qualifier ends on a noun ("a shrub extensively cultivated in e.g. China"
// gives "a shrub").
std::string PlainDefinition(const std::string& definition, const WordNetLexicon* lexicon = nullptr);

// The definition cut to at most maxLength characters: its first part (up to "; "); too
// long, it loses its parenthesised asides, then ends at the last clause boundary (a
// comma, or before "that", "which", "and", ...) that leaves at least half of it, less
// any word that would leave it dangling, and with a lexicon only where the cut ends on
// a noun. Empty when no such boundary exists:
// a clue is never cut mid-phrase.
std::string ShortenDefinition(const std::string& definition, std::size_t maxLength,
                              const WordNetLexicon* lexicon = nullptr);

// Whether the text leaves a phrase open: it ends in punctuation other than a closing
// bracket ("...", ":"), in an article, a preposition, a conjunction, a relative or
// possessive word ("a piece of"), in an adjective or participle whose noun is missing
// ("in a structured"), or in a verb after "to" or "that" that wants an object ("used to
// detect").
bool EndsMidPhrase(std::string_view text, const WordNetLexicon& lexicon);

namespace wording {

// Words after which a noun must come: articles and determiners.
inline constexpr const char* kDeterminers[] = {
    "a",    "an",    "the",   "its",  "their", "his",  "her",   "our", "your",  "my",
    "this", "these", "those", "some", "any",   "each", "every", "no",  "whose", "one"};

// Words a phrase cannot end with: articles, prepositions, conjunctions, relative and
// possessive words.
inline constexpr const char* kDanglingWords[] = {
    "a",       "an",     "the",    "of",      "and",      "or",         "nor",     "but",
    "to",      "in",     "on",     "at",      "with",     "for",        "by",      "from",
    "as",      "than",   "that",   "which",   "who",      "whom",       "whose",   "where",
    "when",    "while",  "if",     "because", "although", "though",     "unless",  "whereas",
    "into",    "onto",   "upon",   "about",   "above",    "across",     "after",   "against",
    "along",   "among",  "around", "before",  "behind",   "below",      "beneath", "beside",
    "between", "beyond", "during", "except",  "through",  "toward",     "towards", "under",
    "until",   "till",   "within", "without", "via",      "its",        "their",   "his",
    "over",    "her",    "our",    "your",    "my",       "especially", "usually", "such",
    "very",    "is",     "are",    "was",     "were",     "be",         "having",  "has",
    "have"};

inline bool IsOneOf(const std::string& word, const auto& list) {
    return std::any_of(std::begin(list), std::end(list),
                       [&](const char* entry) { return word == entry; });
}

// The runs of letters of the text, lower case.
std::vector<std::string> Words(std::string_view text);

bool Contains(const std::string& text, const std::string& part);

// The text without its parenthesised asides and the blank before each; an aside glued to
// the word after it is part of that word ("an (over)abundance" gives "an overabundance"),
// a placeholder is kept as a word.
std::string WithoutAsides(const std::string& text);

bool HasClass(const std::vector<WordClass>& classes, WordClass wordClass);

// Whether every parenthesis of the text is closed.
bool ParenthesesBalance(std::string_view text);

// A definition that tells how the word is used, where it is found or what happens rather
// than what it means ("used in negative statements to describe ...", "informal terms
// for the leg", "of legislation", "native to eastern Asia", "you advance ...").
bool DescribesUsage(const std::string& definition);

} // namespace wording
} // namespace datatool
