#include "clue_writer.h"

#include <algorithm>
#include <set>
#include <vector>

namespace datatool {
namespace {

// Definitions that say the sense is a slur or an obscenity.
const char* const kUnfitMarks[] = {
    "ethnic slur",     "offensive term",   "offensive name", "offensive slang",
    "obscene term",    "obscene word",     "vulgar slang",   "insulting term",
    "derogatory term", "disparaging term", "vulgar term",
};

// Definitions of American senses: a British clue gives another.
const char* const kAmericanMarks[] = {"baseball", "american football", "united states", "u.s."};

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

constexpr std::size_t kShortClue = 40;
// A further sense gives a clue when it is used at least a kSecondSenseShare-th of the
// first's uses, and often enough to tell (kFewUses): a setter varies the clue, but not
// with an obscure sense.
constexpr int kSecondSenseShare = 4;
// Two words share a root when they begin alike for this many letters, and for all but
// kRootEndingLength letters of the shorter.
constexpr std::size_t kMinSharedRoot = 4;
constexpr std::size_t kRootEndingLength = 3;
constexpr std::size_t kMinClueLength = 3;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
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

// Whether the definitions of the gloss (not its examples) mark a slur or an obscenity.
bool IsUnfitSense(const std::string& gloss) {
    const std::string lower = LowerCase(gloss.substr(0, gloss.find('"')));
    return std::any_of(std::begin(kUnfitMarks), std::end(kUnfitMarks),
                       [&](const char* mark) { return Contains(lower, mark); });
}

// Whether the definition names what only Americans would know the sense by.
bool IsAmericanSense(const std::string& definition) {
    const std::string lower = LowerCase(definition);
    return std::any_of(std::begin(kAmericanMarks), std::end(kAmericanMarks),
                       [&](const char* mark) { return Contains(lower, mark); });
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

// The text without its parenthesised asides and the blank before each.
std::string WithoutAsides(const std::string& text) {
    std::string out;
    int depth = 0;
    for (char c : text) {
        if (c == '(') {
            ++depth;
            if (!out.empty() && out.back() == ' ') {
                out.pop_back();
            }
        } else if (c == ')' && depth > 0) {
            --depth;
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

bool IsOneOf(const std::string& word, const auto& list) {
    return std::any_of(std::begin(list), std::end(list),
                       [&](const char* entry) { return word == entry; });
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

int Evidence(const WordSense& sense) {
    return sense.useCount < kFewUses ? 0 : sense.useCount;
}

// The senses a setter would reach for first: the most used, a tie (or too few uses to
// tell) going to a sense the word heads over one where it is a lesser synonym, then to
// WordNet's order (nouns first), so that "mop" is a cleaning implement, not a grimace.
std::vector<WordSense> InSettersOrder(std::vector<WordSense> senses) {
    std::stable_sort(senses.begin(), senses.end(), [](const WordSense& a, const WordSense& b) {
        if (Evidence(a) != Evidence(b)) {
            return Evidence(a) > Evidence(b);
        }
        if ((a.synonymRank == 0) != (b.synonymRank == 0)) {
            return a.synonymRank == 0;
        }
        return a.wordClass < b.wordClass;
    });
    return senses;
}

bool IsGoodSecondSense(int uses, int firstUses) {
    return uses >= kFewUses && uses * kSecondSenseShare >= firstUses;
}

// A definition that tells how the word is used rather than what it means ("used in
// negative statements to describe ...").
bool DescribesUsage(const std::string& definition) {
    return LowerCase(definition).starts_with("used ");
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
    const std::vector<std::string> parts = SplitParts(definition);
    std::string clue = parts[0];
    for (std::size_t i = 1; i < parts.size() && clue.size() < kShortClue &&
                            clue.size() + 2 + parts[i].size() <= maxLength;
         ++i) {
        clue += "; " + parts[i];
    }
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

bool ClueWriter::DefinesNounByVerb(const WordSense& sense, const std::string& definition) const {
    const std::vector<std::string> words = Words(definition);
    return sense.wordClass == WordClass::Noun && !words.empty() &&
           m_lexicon.ClassesOf(words[0]) == std::vector<WordClass>{WordClass::Verb};
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
    const std::string lower = LowerCase(answer);
    const std::string enumeration = " (" + std::to_string(answer.size()) + ")";
    const std::vector<WordSense> senses = InSettersOrder(m_lexicon.Senses(lower));
    std::vector<std::string> clues;
    if (std::any_of(senses.begin(), senses.end(),
                    [](const WordSense& sense) { return IsUnfitSense(sense.gloss); })) {
        return clues;
    }
    int firstUses = 0;
    for (const WordSense& sense : senses) {
        const std::string raw = WithoutLeadingAside(DefinitionOf(sense.gloss));
        if (sense.properName || HasUnfitUsage(sense) || IsBorrowedNumber(sense) ||
            IsAmericanSense(raw) || m_rules.exclusions.ExcludesSense(lower, raw) ||
            DefinesNounByVerb(sense, raw) || DescribesUsage(raw) ||
            (!clues.empty() && !IsGoodSecondSense(sense.useCount, firstUses))) {
            continue;
        }
        if (std::optional<std::string> clue = ClueOfSense(raw, lower)) {
            firstUses = clues.empty() ? sense.useCount : firstUses;
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

std::optional<std::string> ClueWriter::ClueOfSense(const std::string& rawDefinition,
                                                   const std::string& answer) const {
    const std::string definition = m_rules.spellings.Anglicised(rawDefinition);
    const std::size_t maxLength = kMaxClueLength - (answer.size() >= 10 ? 5 : 4);
    // The whole definition, else its first part alone.
    for (std::string clue : {ShortenDefinition(definition, maxLength, &m_lexicon),
                             ShortenDefinition(SplitParts(definition)[0], maxLength, &m_lexicon)}) {
        if (IsFair(clue, answer)) {
            if (clue[0] >= 'a' && clue[0] <= 'z') {
                clue[0] = static_cast<char>(clue[0] - 'a' + 'A');
            }
            return clue;
        }
    }
    return std::nullopt;
}

} // namespace datatool
