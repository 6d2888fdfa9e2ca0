// The wording of WordNet definitions as clues: the gloss's definitions, a setter's plain
// wording of them, the cut to a length, and the tests of where a phrase is left open.
#include "definition_wording.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace datatool {

using namespace wording;

namespace {

// Prepositions, after which a noun must come.
const char* const kPrepositions[] = {"of",   "in",    "on",   "at",      "with",    "for",    "by",
                                     "from", "into",  "onto", "upon",    "about",   "like",   "as",
                                     "over", "under", "than", "through", "between", "without"};

// Words after which a verb's sentence goes on: its object, if it wants one.
const char* const kVerbOpeners[] = {"to", "that", "which", "who"};

// Words that open a clause, where a long definition may end (with their blanks).
const char* const kClauseOpeners[] = {" that ",    " which ",       " who ",   " whose ",
                                      " where ",   " when ",        " while ", " especially ",
                                      " usually ", " rather than ", " and ",   " with "};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
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

namespace wording {

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

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

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

bool HasClass(const std::vector<WordClass>& classes, WordClass wordClass) {
    return std::find(classes.begin(), classes.end(), wordClass) != classes.end();
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

} // namespace wording

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

} // namespace datatool
