#include "clue_writer.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

namespace datatool {
namespace {

// Words after which a noun must come: articles and determiners.
const char* const kDeterminers[] = {"a",   "an",   "the",   "its",  "their", "his",   "her",
                                    "our", "your", "my",    "this", "these", "those", "some",
                                    "any", "each", "every", "no",   "whose", "one"};

// Prepositions, after which a noun must come.
const char* const kPrepositions[] = {"of",   "in",    "on",   "at",      "with",    "for",    "by",
                                     "from", "into",  "onto", "upon",    "about",   "like",   "as",
                                     "over", "under", "than", "through", "between", "without"};

// Words after which a verb's sentence goes on: its object, if it wants one.
const char* const kVerbOpeners[] = {"to", "that", "which", "who"};

// Words a phrase cannot end with: articles, prepositions, conjunctions, relative and
// possessive words.
const char* const kDanglingWords[] = {
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

// The usage domains whose senses a family clue never takes, and the slang whose senses
// it takes only outside the body and its acts.
const char* const kUnfitUsages[] = {"obscenity", "ethnic_slur", "disparagement"};
constexpr int kBodyAndActFiles[] = {4, 8, 29, 35}; // noun.act, noun.body, verb.body, verb.contact

// Words that open a clause, where a long definition may end (with their blanks).
const char* const kClauseOpeners[] = {" that ",    " which ",       " who ",   " whose ",
                                      " where ",   " when ",        " while ", " especially ",
                                      " usually ", " rather than ", " and ",   " with "};

// A setter varies the clue, but not with a sense much rarer than the first.
constexpr int kSecondSenseShare = 2;
// Two words share a root when they begin alike for this many letters, and for all but
// kRootEndingLength letters of the shorter.
constexpr std::size_t kMinSharedRoot = 4;
constexpr std::size_t kRootEndingLength = 3;
constexpr std::size_t kMinClueLength = 3;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsOneOf(const std::string& word, const auto& list) {
    return std::any_of(std::begin(list), std::end(list),
                       [&](const char* entry) { return word == entry; });
}

// The runs of letters of the text, lower case.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (IsLetter(c)) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(LowerCase(word));
            word.clear();
        }
    }
    if (!word.empty()) {
        words.push_back(LowerCase(word));
    }
    return words;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A lemma without the final e or y that its derived words drop ("race" in "racing").
std::string StemOf(const std::string& lemma) {
    if (lemma.size() > 3 && (lemma.back() == 'e' || lemma.back() == 'y')) {
        return lemma.substr(0, lemma.size() - 1);
    }
    return lemma;
}

// Whether two words begin alike for all but their last few letters ("impatiently" and
// "impatience").
bool ShareRoot(const std::string& a, const std::string& b) {
    const std::size_t shared = static_cast<std::size_t>(
        std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    return shared >= kMinSharedRoot && shared + kRootEndingLength >= std::min(a.size(), b.size());
}

bool IsPrintable(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

std::vector<std::string> SplitParts(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t split; (split = text.find("; ", start)) != std::string::npos;
         start = split + 2) {
        parts.push_back(text.substr(start, split - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Asides that stand for an object or a particle the definition needs: "provide with
// (something)", "hang (back) or fall (behind)".
const char* const kPlaceholders[] = {"something", "someone", "somebody", "oneself", "back",
                                     "behind",    "up",      "down",     "out",     "off"};

// The text without its parenthesised asides and the blank before each; an aside glued to
// the word after it is part of that word ("an (over)abundance" gives "an overabundance"),
// a placeholder is kept as a word.
std::string WithoutAsides(const std::string& text) {
    std::string out;
    int depth = 0;
    std::size_t asideStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') {
            if (depth++ == 0) {
                asideStart = i + 1;
            }
        } else if (c == ')' && depth > 0) {
            const std::string aside = text.substr(asideStart, i - asideStart);
            if (--depth == 0 &&
                ((i + 1 < text.size() && IsLetter(text[i + 1])) || IsOneOf(aside, kPlaceholders))) {
                out += aside;
            } else if (depth == 0 && !out.empty() && out.back() == ' ') {
                out.pop_back();
            }
        } else if (depth == 0) {
            out += c;
        }
    }
    return out;
}

// The text without blanks at its ends, runs of blanks, blanks inside parentheses or a
// trailing comma or semicolon, and with plain quotes.
std::string Tidied(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool afterBlank = !out.empty() && out.back() == ' ';
        if (c == ' ' && (out.empty() || afterBlank || out.back() == '(')) {
            continue;
        }
        if (c == ')' && afterBlank) {
            out.pop_back();
        }
        out += c == '`' ? '\'' : c; // WordNet quotes `thus'
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ',' || out.back() == ';')) {
        out.pop_back();
    }
    // A list that trails off: "in movement, progress, development, etc."
    if (out.ends_with(", etc.") || out.ends_with(" etc.")) {
        out.erase(out.rfind(" etc."));
        if (!out.empty() && out.back() == ',') {
            out.pop_back();
        }
    }
    return out;
}

bool HasClass(const std::vector<WordClass>& classes, WordClass wordClass) {
    return std::find(classes.begin(), classes.end(), wordClass) != classes.end();
}

// Whether the last word describes a noun still to come: an adjective or participle, no
// noun, after a determiner or preposition with only such words, adverbs, "and" and "or"
// between ("in a structured", "of a spirally threaded").
bool EndsInOpenNounPhrase(const std::vector<std::string>& words, const WordNetLexicon& lexicon) {
    for (std::size_t i = words.size(); i-- > 0;) {
        const std::vector<WordClass> classes = lexicon.ClassesOf(words[i]);
        if (i + 1 < words.size() &&
            (IsOneOf(words[i], kDeterminers) || IsOneOf(words[i], kPrepositions))) {
            return true;
        }
        if (i + 1 < words.size() && (words[i] == "and" || words[i] == "or")) {
            continue; // "a large and structured"
        }
        const bool describes = HasClass(classes, WordClass::Adjective) ||
                               HasClass(classes, WordClass::Adverb) ||
                               (HasClass(classes, WordClass::Verb) && words[i].ends_with("ed"));
        if (!describes || HasClass(classes, WordClass::Noun)) {
            return false;
        }
    }
    return false;
}

// Whether the last word is a verb that wants what the clue does not give, after "to" or
// "that" ("used to detect", "a rod that engages").
bool EndsInOpenVerb(const std::vector<std::string>& words, const WordNetLexicon& lexicon) {
    if (words.size() < 2 || !IsOneOf(words[words.size() - 2], kVerbOpeners)) {
        return false;
    }
    const std::string& last = words.back();
    const std::vector<WordClass> classes = lexicon.ClassesOf(last);
    if (HasClass(classes, WordClass::Noun) || HasClass(classes, WordClass::Adjective)) {
        return false;
    }
    const std::vector<std::string> bases = lexicon.BaseForms(last);
    return std::any_of(bases.begin(), bases.end(),
                       [&](const std::string& base) { return lexicon.WantsObject(base); });
}

// Whether the cut text ends on a noun (or a name, a number or a bracket), as a phrase
// that was cut short must.
bool EndsOnNoun(const std::string& text, const WordNetLexicon& lexicon) {
    const std::vector<std::string> words = Words(text);
    const char last = text.empty() ? ' ' : text.back();
    if (words.empty() || last == ')' || (last >= '0' && last <= '9')) {
        return !words.empty();
    }
    const std::size_t start = text.find_last_of(' ') + 1;
    return (text[start] >= 'A' && text[start] <= 'Z') ||
           HasClass(lexicon.ClassesOf(words.back()), WordClass::Noun);
}

bool EndsWithDanglingWord(std::string_view text) {
    const std::size_t blank = text.find_last_of(' ');
    const std::string last = LowerCase(blank == std::string::npos ? text : text.substr(blank + 1));
    return std::any_of(std::begin(kDanglingWords), std::end(kDanglingWords),
                       [&](const char* word) { return last == word; });
}

// A sense filed under an obscene or offensive usage, or slang for the body or its acts.
bool HasUnfitUsage(const WordSense& sense) {
    return std::any_of(sense.usages.begin(), sense.usages.end(), [&](const std::string& usage) {
        const bool bodySlang =
            usage == "slang" && std::find(std::begin(kBodyAndActFiles), std::end(kBodyAndActFiles),
                                          sense.lexFile) != std::end(kBodyAndActFiles);
        return bodySlang || std::find(std::begin(kUnfitUsages), std::end(kUnfitUsages), usage) !=
                                std::end(kUnfitUsages);
    });
}

// WordNet's file of quantities, numbers among them.
constexpr int kQuantityFile = 23;

// A number sense of a word that only stands in for the number ("fin" for five, "ace"
// for one).
bool IsBorrowedNumber(const WordSense& sense) {
    return sense.synonymRank > 0 &&
           (sense.lexFile == kQuantityFile || sense.gloss.rfind("the cardinal number", 0) == 0);
}

const char* const kArticles[] = {"a", "an", "the"};

// Words that name a rank of the living world, and the endings of its Latin names.
const char* const kTaxonRanks[] = {"genus",    "genera", "family",   "subfamily", "order",
                                   "suborder", "class",  "subclass", "phylum",    "division"};
const char* const kTaxonEndings[] = {"idae", "aceae", "inae", "ales", "formes", "ineae"};

// Whether the definition names a genus, family or other taxon ("plants of the genus
// Syringa", "the family Compositae"), or a Latin family name of its own ("Centrarchidae").
bool NamesTaxon(std::string_view definition) {
    const auto runs = LetterRuns(definition);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::string_view word = runs[i].second;
        const bool capital = word[0] >= 'A' && word[0] <= 'Z';
        const bool rankBeforeName = i + 1 < runs.size() && IsOneOf(LowerCase(word), kTaxonRanks) &&
                                    runs[i + 1].second[0] >= 'A' && runs[i + 1].second[0] <= 'Z';
        const bool latinName =
            capital && std::any_of(std::begin(kTaxonEndings), std::end(kTaxonEndings),
                                   [&](const char* ending) { return word.ends_with(ending); });
        if (rankBeforeName || latinName || LowerCase(word) == "genus" ||
            LowerCase(word) == "genera") {
            return true;
        }
    }
    return false;
}

bool IsCapitalised(std::string_view word) {
    return word[0] >= 'A' && word[0] <= 'Z';
}

// Whether the definition opens with a name ("Old World vine ...", "small Old World
// songbird", "short-tailed Old World rodent"), not after an article ("a Japanese warrior"):
// WordNet's definitions open in lower case. Its second word is the one after the first
// blank, a hyphenated first word whole.
bool OpensWithName(std::string_view definition) {
    const auto runs = LetterRuns(definition);
    if (runs.empty()) {
        return false;
    }
    const bool article = IsOneOf(std::string(runs[0].second), kArticles);
    const std::size_t blank = definition.find(' ');
    const auto second = blank == std::string_view::npos
                            ? runs.end()
                            : std::find_if(runs.begin(), runs.end(),
                                           [&](const auto& run) { return run.first > blank; });
    return IsCapitalised(runs[0].second) ||
           (second != runs.end() && !article && IsCapitalised(second->second));
}

// Whether every parenthesis of the text is closed.
bool ParenthesesBalance(std::string_view text) {
    int depth = 0;
    for (char c : text) {
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

// Tagged uses below this say nothing of which sense is the usual one.
constexpr int kFewUses = 3;

// A sense's uses, shared among the synonyms listed before the word: a solver thinks of
// "various" as "of many different kinds" sooner than as "respective".
int SharedUses(const WordSense& sense) {
    return sense.useCount * 2 / (sense.synonymRank + 2);
}

// The shared uses when they are enough to tell which sense is the usual one.
int Evidence(const WordSense& sense) {
    return SharedUses(sense) < kFewUses ? 0 : SharedUses(sense);
}

// A sense of a special field: filed under a topic or region, or named so by an aside
// that opens its definition ("(geology) the erosion of soil ...").
bool IsSpecialist(const WordSense& sense) {
    return !sense.domains.empty() || sense.gloss.starts_with("(");
}

// The senses a setter would reach for first: the best evidenced, a tie (or too few uses
// to tell) going to an everyday sense over a specialist one, then to the more used (uses
// shared among the synonyms before the word), then to a sense the word heads over one
// where it is a lesser synonym, then to WordNet's order (nouns first), so that "mop" is
// a cleaning implement, not a grimace, and "attic" a room, not a wall.
std::vector<WordSense> InSettersOrder(std::vector<WordSense> senses) {
    std::stable_sort(senses.begin(), senses.end(), [](const WordSense& a, const WordSense& b) {
        if (Evidence(a) != Evidence(b)) {
            return Evidence(a) > Evidence(b);
        }
        if (IsSpecialist(a) != IsSpecialist(b)) {
            return IsSpecialist(b);
        }
        if (SharedUses(a) != SharedUses(b)) {
            return SharedUses(a) > SharedUses(b);
        }
        if ((a.synonymRank == 0) != (b.synonymRank == 0)) {
            return a.synonymRank == 0;
        }
        return a.wordClass < b.wordClass;
    });
    return senses;
}

// Whether the word heads the sense, or a tagged use tells that it is known by it.
bool IsHeaded(const WordSense& sense) {
    return sense.synonymRank == 0 || sense.useCount > 0;
}

// A sense besides the word's best that a setter clues by, varying the clue: headed by
// the word, evidenced, and used at least a kSecondSenseShare-th as well as the best; so a
// word whose usual sense gives no fair clue does not fall back on a rare one ("aster" as
// a structure in a cell, "storyteller" as a liar).
bool IsGoodFurtherSense(const WordSense& sense, const WordSense& best) {
    return sense.synonymRank == 0 && Evidence(sense) > 0 &&
           Evidence(sense) * kSecondSenseShare >= Evidence(best) &&
           SharedUses(sense) * kSecondSenseShare >= SharedUses(best);
}

// Where a definition names the word rather than what it means; "a general term for
// beer" is a definition.
const char* const kTermsFor[] = {"term for ", "terms for ", "word for ", "name for "};
const char* const kGeneralTerm = "general term for ";
// How a definition opens that tells where a thing is found, or what happens to someone,
// not what it is ("you advance to the next round ..." for "bye").
const char* const kDescriptionOpenings[] = {"native to ", "native of ", "found in ", "found on ",
                                            "you "};

// A definition that only names what the word is said of ("of legislation").
bool IsNoteOnUse(const std::string& lowerCaseDefinition) {
    return lowerCaseDefinition.starts_with("of ") &&
           std::count(lowerCaseDefinition.begin(), lowerCaseDefinition.end(), ' ') < 3;
}

// A definition that tells how the word is used, where it is found or what happens rather
// than what it means ("used in negative statements to describe ...", "informal terms
// for the leg", "of legislation", "native to eastern Asia", "you advance ...").
bool DescribesUsage(const std::string& definition) {
    const std::string lower = LowerCase(definition);
    return lower.starts_with("used ") || IsNoteOnUse(lower) ||
           (!Contains(lower, kGeneralTerm) &&
            std::any_of(std::begin(kTermsFor), std::end(kTermsFor),
                        [&](const char* term) { return Contains(lower, term); })) ||
           std::any_of(std::begin(kDescriptionOpenings), std::end(kDescriptionOpenings),
                       [&](const char* opening) { return lower.starts_with(opening); });
}

// Where the text can end before a comma or a word that opens a clause, keeping at least
// half of maxLength and at most maxLength characters: every such place, the last first.
std::vector<std::size_t> ClauseBoundaries(const std::string& text, std::size_t maxLength) {
    std::set<std::size_t> boundaries;
    const auto consider = [&](std::size_t at) {
        if (at != std::string::npos && at <= maxLength && at >= maxLength / 2) {
            boundaries.insert(at);
        }
    };
    for (std::size_t at = text.find(','); at != std::string::npos; at = text.find(',', at + 1)) {
        consider(at);
    }
    for (const char* opener : kClauseOpeners) {
        for (std::size_t at = text.find(opener); at != std::string::npos;
             at = text.find(opener, at + 1)) {
            consider(at);
        }
    }
    return {boundaries.rbegin(), boundaries.rend()};
}

// The cut text without the words and commas that would leave it dangling.
std::string WithoutDanglingEnd(std::string cut) {
    while (cut.find(' ') != std::string::npos && EndsWithDanglingWord(cut)) {
        cut = cut.substr(0, cut.find_last_of(' '));
    }
    while (!cut.empty() && (cut.back() == ',' || cut.back() == ' ')) {
        cut.pop_back();
    }
    return cut;
}

// The text up to its last noun, when it holds one after its first word: a phrase cut
// before a qualifier leaves no participle dangling ("a shrub extensively cultivated").
std::string EndingOnNoun(const std::string& text, const WordNetLexicon& lexicon) {
    std::string cut = text;
    while (cut.find(' ') != std::string::npos && !EndsOnNoun(cut, lexicon)) {
        cut = WithoutDanglingEnd(cut.substr(0, cut.rfind(' ')));
    }
    return cut.find(' ') != std::string::npos ? cut : text;
}

// Where a definition turns to examples or a qualifier, which a clue leaves out.
const char* const kQualifiers[] = {" e.g.", " especially ", " esp. ", " i.e.", ", as "};
// Phrases a setter words otherwise: a qualifier joined on by "and" or "or" is part of the
// meaning ("pleasure and especially games of chance"), so the clue keeps what it
// qualifies and drops the word alone; "off of" is American.
const std::pair<const char*, const char*> kRewordings[] = {
    {" and especially ", " and "},
    {" or especially ", " or "},
    {" off of ", " off "},
};
// A part of a definition of this many words at most that ends in "sense" is a note.
constexpr std::size_t kMaxNoteWords = 3;
// Words that open what a further part of a definition says the thing has ("airplane; has
// two wings"), which the clue joins to the first with "with".
const char* const kCountWords[] = {"a",   "an",    "two",  "three",   "four",
                                   "six", "eight", "many", "several", "no"};
// Hedging adverbs, which a clue leaves out ("a usually soluble substance").
const char* const kHedges[] = {"usually",   "typically", "normally",
                               "generally", "commonly",  "often"};

// Openings a setter words more plainly; any other "of or ..." loses its "of or" ("of or
// relating or belonging to" gives "relating or belonging to").
const std::pair<const char*, const char*> kPlainOpenings[] = {
    {"of or pertaining to ", "relating to "},
    {"relating to or characteristic of ", "relating to "},
    {"a general term for ", ""},
    {"general term for ", ""},
    {"of or ", ""},
};

std::string WithPlainOpening(const std::string& text) {
    const std::string lower = LowerCase(text);
    for (const auto& [opening, plain] : kPlainOpenings) {
        if (lower.starts_with(opening)) {
            return plain + text.substr(std::string_view(opening).size());
        }
    }
    return text;
}

std::size_t FirstQualifier(const std::string& text) {
    std::size_t first = std::string::npos;
    for (const char* qualifier : kQualifiers) {
        first = std::min(first, text.find(qualifier));
    }
    return first;
}

// The text split at its blanks.
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::istringstream words(text);
    for (std::string token; words >> token;) {
        tokens.push_back(token);
    }
    return tokens;
}

std::string Joined(const std::vector<std::string>& tokens) {
    std::string text;
    for (const std::string& token : tokens) {
        text += (text.empty() ? "" : " ") + token;
    }
    return text;
}

std::string WithoutHedges(const std::string& text) {
    std::vector<std::string> tokens = Tokens(text);
    std::erase_if(tokens,
                  [](const std::string& token) { return IsOneOf(LowerCase(token), kHedges); });
    return Joined(tokens);
}

// The text with a list of single words joined by "or" that ends it cut to its first two:
// "size or number or quantity or extent" gives "size or number".
std::string WithoutLongLists(const std::string& text) {
    std::vector<std::string> tokens = Tokens(text);
    for (std::size_t i = 0; i + 3 < tokens.size(); ++i) {
        const auto isLink = [&](std::size_t at) {
            return at + 1 < tokens.size() && tokens[at] == "or" && tokens[at + 1].back() != ',' &&
                   !IsOneOf(tokens[at + 1], kDeterminers) && tokens[at + 1] != "other";
        };
        if (!isLink(i) || !isLink(i + 2)) {
            continue;
        }
        std::size_t end = i + 2;
        while (isLink(end)) {
            end += 2;
        }
        if (end < tokens.size()) {
            continue; // the words after the list may need its last word: "or emanating from"
        }
        tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i + 2),
                     tokens.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return Joined(tokens);
}

} // namespace

std::string WithoutLeadingAside(const std::string& definition) {
    if (definition.empty() || definition[0] != '(') {
        return definition;
    }
    const std::size_t close = definition.find(')');
    const std::size_t start = close == std::string::npos
                                  ? std::string::npos
                                  : definition.find_first_not_of(' ', close + 1);
    return start == std::string::npos ? definition : definition.substr(start);
}

std::string DefinitionOf(std::string_view gloss) {
    std::string_view text = gloss.substr(0, gloss.find('"'));
    text = text.substr(0, text.find(": ")); // a list of examples follows
    if (!ParenthesesBalance(text)) {
        text = text.substr(0, text.rfind('(')); // an aside that quotes an example
    }
    std::string definition;
    for (const std::string& part : SplitParts(std::string(text))) {
        const std::string tidied = Tidied(part);
        // A later part that tells how the word is used: "; used with comparisons".
        if (!tidied.empty() && (definition.empty() || !DescribesUsage(tidied))) {
            definition += (definition.empty() ? "" : "; ") + tidied;
        }
    }
    return definition;
}

std::string ShortenDefinition(const std::string& definition, std::size_t maxLength,
                              const WordNetLexicon* lexicon) {
    std::string clue = SplitParts(definition)[0];
    if (clue.size() > maxLength) {
        clue = Tidied(WithoutAsides(clue));
    }
    if (clue.size() <= maxLength) {
        return clue;
    }
    for (std::size_t boundary : ClauseBoundaries(clue, maxLength)) {
        const std::string cut = WithoutDanglingEnd(clue.substr(0, boundary));
        if (!cut.empty() && (lexicon == nullptr || EndsOnNoun(cut, *lexicon))) {
            return cut;
        }
    }
    return {};
}

std::string PlainDefinition(const std::string& definition, const WordNetLexicon* lexicon) {
    std::string plain;
    const std::vector<std::string> parts = SplitParts(definition);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string text = WithoutAsides(parts[i]);
        for (const auto& [phrase, plain] : kRewordings) {
            for (std::size_t at = text.find(phrase); at != std::string::npos;
                 at = text.find(phrase, at)) {
                text.replace(at, std::string_view(phrase).size(), plain);
            }
        }
        const std::vector<std::string> tokens = Tokens(text);
        if (tokens.size() <= kMaxNoteWords && !tokens.empty() && tokens.back() == "sense") {
            continue; // a note on the sense ("primarily temporal sense"), not a definition
        }
        const bool having =
            i == 1 && tokens.size() > 2 && tokens[0] == "has" && IsOneOf(tokens[1], kCountWords);
        if (having) {
            text = "with " + text.substr(text.find(' ') + 1);
        }
        const std::size_t qualifier = FirstQualifier(text);
        if (qualifier != std::string::npos && qualifier > 0) {
            text = WithoutDanglingEnd(text.substr(0, qualifier));
            if (lexicon != nullptr) {
                text = EndingOnNoun(text, *lexicon);
            }
        }
        text = WithPlainOpening(Tidied(WithoutHedges(WithoutLongLists(text))));
        if (!text.empty()) {
            plain += (plain.empty() ? "" : having ? " " : "; ") + text;
        }
    }
    return plain;
}

bool EndsMidPhrase(std::string_view text, const WordNetLexicon& lexicon) {
    const char last = text.empty() ? ' ' : text.back();
    const bool closed = IsLetter(last) || (last >= '0' && last <= '9') || last == ')';
    if (!closed || EndsWithDanglingWord(text)) {
        return true;
    }
    const std::vector<std::string> words = Words(text);
    return EndsInOpenNounPhrase(words, lexicon) || EndsInOpenVerb(words, lexicon);
}

bool ClueWriter::Reveals(std::string_view text, const std::string& answer) const {
    std::vector<std::string> roots = m_lexicon.BaseForms(answer);
    roots.push_back(answer);
    const std::set<std::string> rootSet(roots.begin(), roots.end());
    for (const std::string& word : Words(text)) {
        if (StartsWith(word, answer)) {
            return true;
        }
        for (const std::string& root : roots) {
            const std::string stem = StemOf(root);
            if (stem.size() >= 3 && StartsWith(word, stem)) {
                return true;
            }
        }
        if (answer.size() >= 4 && word.size() >= 4 &&
            (Contains(answer, word) || Contains(word, answer) || ShareRoot(answer, word))) {
            return true;
        }
        // A short word the answer is made from: "far" in "faraway", "sea" in "seaside".
        if (word.size() >= 3 && word.size() < answer.size() &&
            (StartsWith(answer, word) || answer.ends_with(word)) && m_lexicon.HasLemma(word)) {
            return true;
        }
        for (const std::string& base : m_lexicon.BaseForms(word)) {
            if (rootSet.count(base) != 0) {
                return true;
            }
        }
    }
    return false;
}

bool ClueWriter::OpensAmiss(const WordSense& sense, const std::string& definition) const {
    const std::vector<std::string> words = Words(definition);
    if (words.empty()) {
        return false;
    }
    const bool verbAlone = m_lexicon.ClassesOf(words[0]) == std::vector<WordClass>{WordClass::Verb};
    switch (sense.wordClass) {
    case WordClass::Noun: // nor with "of", the head it qualifies lost ("of southern Europe")
        return verbAlone || words[0] == "of";
    case WordClass::Adjective: // a participle may open it ("lacking ..."), a bare verb not
        return words[0] == "be" || (verbAlone && m_lexicon.HasLemma(words[0]));
    default:
        return false;
    }
}

bool ClueWriter::IsFair(const std::string& clue, const std::string& answer) const {
    return clue.size() >= kMinClueLength && IsPrintable(clue) && ParenthesesBalance(clue) &&
           !EndsMidPhrase(clue, m_lexicon) && !Reveals(clue, answer) && !NamesExcludedWord(clue);
}

bool ClueWriter::NamesExcludedWord(std::string_view text) const {
    const std::vector<std::string> words = Words(text);
    return m_rules.family.BlocksText(text) ||
           std::any_of(words.begin(), words.end(),
                       [&](const std::string& word) { return m_rules.exclusions.Excludes(word); });
}

std::vector<std::string> ClueWriter::CluesFor(const std::string& answer) const {
    const std::string enumeration = " (" + std::to_string(answer.size()) + ")";
    if (const ListedAnswer* listed = m_rules.clues.Find(answer)) {
        std::vector<std::string> clues;
        for (const std::string& clue : listed->clues) {
            clues.push_back(clue + enumeration);
        }
        return clues;
    }
    const std::string lower = LowerCase(answer);
    const std::vector<WordSense> senses = InSettersOrder(m_lexicon.Senses(lower));
    std::vector<std::string> clues;
    if (HasUnfitSense(senses) || IsOneOf(lower, kDanglingWords) || IsReadAsOtherForm(lower)) {
        return clues;
    }
    const bool pluralAnswer = IsPlural(lower);
    // A word that heads a sense of its own is not clued by one where it is a lesser
    // synonym and too little used to tell ("presenter" as a donor), nor by one it
    // shortens ("fig" as a figure).
    const bool headsASense = std::any_of(senses.begin(), senses.end(), IsHeaded);
    const bool headsFullSense =
        std::any_of(senses.begin(), senses.end(),
                    [](const WordSense& sense) { return sense.synonymRank == 0; });
    const auto fit = [&](const WordSense& sense, const std::string& definition) {
        const std::string raw = WithoutLeadingAside(definition);
        // An aside that opens the definition names its field ("(baseball)"), a later one
        // gives examples ("as in boxing or American football"), which the clue leaves out.
        const std::string field = definition.substr(0, definition.size() - raw.size());
        return !sense.properName && !HasUnfitUsage(sense) && !IsBorrowedNumber(sense) &&
               !(sense.shortened && headsFullSense) && (IsHeaded(sense) || !headsASense) &&
               !IsAmericanSense(sense, field + WithoutAsides(raw)) &&
               !m_rules.exclusions.ExcludesSense(lower, raw) && !OpensAmiss(sense, raw) &&
               !DescribesUsage(raw) &&
               (sense.wordClass != WordClass::Noun || AgreesInNumber(raw, pluralAnswer));
    };
    // The first fit sense is the word's best; a further one must be as good to vary the
    // clue, and when the best gives no fair clue, to stand in for it.
    const WordSense* best = nullptr;
    for (const WordSense& sense : senses) {
        const std::string definition = DefinitionOf(sense.gloss);
        if (!fit(sense, definition) || (best != nullptr && !IsGoodFurtherSense(sense, *best))) {
            continue;
        }
        best = best == nullptr ? &sense : best;
        const std::string raw = WithoutLeadingAside(definition);
        if (std::optional<std::string> clue = ClueOfSense(raw, lower)) {
            if (std::find(clues.begin(), clues.end(), *clue + enumeration) == clues.end()) {
                clues.push_back(*clue + enumeration);
            }
            if (clues.size() == kMaxCluesPerAnswer) {
                break;
            }
        }
    }
    return clues;
}

std::optional<std::string> ClueWriter::ClueFor(const std::string& answer) const {
    std::vector<std::string> clues = CluesFor(answer);
    return clues.empty() ? std::nullopt : std::optional<std::string>(std::move(clues[0]));
}

bool ClueWriter::IsReadAsOtherForm(const std::string& word) const {
    const std::vector<std::string> bases = m_lexicon.BaseForms(word);
    return m_lexicon.UseCount(word) == 0 &&
           std::any_of(bases.begin(), bases.end(),
                       [&](const std::string& base) { return base != word; });
}

bool ClueWriter::IsPlural(const std::string& word) const {
    const int ownUses = m_lexicon.UseCountOf(word, WordClass::Noun);
    const std::vector<std::string> singulars = m_lexicon.NounSingulars(word);
    return std::any_of(singulars.begin(), singulars.end(), [&](const std::string& singular) {
        return m_lexicon.UseCountOf(singular, WordClass::Noun) >= ownUses;
    });
}

bool ClueWriter::AgreesInNumber(const std::string& definition, bool plural) const {
    // The head of each conjunct of the opening noun phrase ("beginning or early stages"),
    // and whether it may be an adjective that the next conjunct's head takes ("marine or
    // freshwater fishes").
    std::vector<std::pair<std::string, bool>> heads(1);
    bool opened = false;
    for (const std::string& word : Words(definition)) {
        if (!opened && IsOneOf(word, kDeterminers)) {
            continue;
        }
        opened = true;
        if (word == "and" || word == "or") {
            heads.emplace_back();
            continue;
        }
        const std::vector<WordClass> classes = m_lexicon.ClassesOf(word);
        const bool noun = HasClass(classes, WordClass::Noun);
        const bool adjective = HasClass(classes, WordClass::Adjective);
        if (IsOneOf(word, kDanglingWords) ||
            (!noun && !adjective && !HasClass(classes, WordClass::Adverb))) {
            break; // an adverb may describe the adjective after it: "a partly sheltered"
        }
        if (noun) {
            heads.back() = {word, adjective};
        }
    }
    for (std::size_t i = 0; i < heads.size(); ++i) {
        const auto& [head, alsoAdjective] = heads[i];
        if (!head.empty() && !(alsoAdjective && i + 1 < heads.size()) && IsPlural(head) != plural) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> ClueWriter::ClueOfSense(const std::string& rawDefinition,
                                                   const std::string& answer) const {
    if (NamesTaxon(rawDefinition) || OpensWithName(rawDefinition)) {
        return std::nullopt;
    }
    const std::string definition =
        PlainDefinition(m_rules.spellings.Anglicised(rawDefinition), &m_lexicon);
    const std::size_t maxLength = kMaxClueLength - (answer.size() >= 10 ? 5 : 4);
    std::string clue = ShortenDefinition(definition, maxLength, &m_lexicon);
    if (!IsFair(clue, answer)) {
        return std::nullopt;
    }
    if (clue[0] >= 'a' && clue[0] <= 'z') {
        clue[0] = static_cast<char>(clue[0] - 'a' + 'A');
    }
    return clue;
}

} // namespace datatool
