// The clue writer: which senses of an answer a setter would clue, whether a sense is fit
// and its clue fair, and the clue of a sense's definition worded by definition_wording.
#include "clue_writer.h"

#include "definition_wording.h"
#include "kindred_words.h"

#include <algorithm>
#include <set>
#include <vector>

namespace datatool {

using namespace wording;

namespace {

// The usage domains whose senses a family clue never takes, and the slang whose senses
// it takes only outside the body and its acts.
const char* const kUnfitUsages[] = {"obscenity", "ethnic_slur", "disparagement"};
constexpr int kBodyAndActFiles[] = {4, 8, 29, 35}; // noun.act, noun.body, verb.body, verb.contact

// A setter varies the clue, but not with a sense much rarer than the first.
constexpr int kSecondSenseShare = 2;
// Two words share a root when they begin alike for this many letters, and for all but
// kRootEndingLength letters of the shorter.
constexpr std::size_t kMinSharedRoot = 4;
constexpr std::size_t kRootEndingLength = 3;
constexpr std::size_t kMinClueLength = 3;

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
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

// A sense filed under a topic, not a region alone: a specialist's meaning ("commute" in
// mathematics, "clout" in boxing), which a family clue passes over.
bool IsTechnical(const WordSense& sense) {
    return std::any_of(sense.domains.begin(), sense.domains.end(), [&](const std::string& domain) {
        return std::find(sense.regions.begin(), sense.regions.end(), domain) == sense.regions.end();
    });
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

} // namespace

bool ClueWriter::Reveals(std::string_view text, const std::string& answer) const {
    std::vector<std::string> roots = m_lexicon.BaseForms(answer);
    roots.push_back(answer);
    const std::vector<std::string> learned = LearnedRoots(answer, m_lexicon);
    roots.insert(roots.end(), learned.begin(), learned.end());
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
               !IsAmericanSense(sense, field + WithoutAsides(raw)) && !IsTechnical(sense) &&
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
    std::string clue = ShortenDefinition(definition, kMaxClueLength, &m_lexicon);
    const std::size_t words = Words(clue).size();
    const bool cutToAFragment =
        words < kMinCutClueWords &&
        words < Words(WithoutAsides(rawDefinition.substr(0, rawDefinition.find("; ")))).size();
    if (cutToAFragment || !IsFair(clue, answer)) {
        return std::nullopt;
    }
    if (clue[0] >= 'a' && clue[0] <= 'z') {
        clue[0] = static_cast<char>(clue[0] - 'a' + 'A');
    }
    return clue;
}

} // namespace datatool
