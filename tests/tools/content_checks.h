// What a family puzzle bank may show, checked independently of the generators against the
// lists under data/puzzles/, WordNet and the corpus counts: no word of a blocked or
// excluded family in an answer, list word, clue, hidden word or any line of a wordsearch
// grid (all 8 directions, filler included, a run inside one hidden word aside); answers
// and list words in British spelling, with a vowel (no abbreviation), counted by the
// British corpus often enough for the puzzle's difficulty, not American by the counts,
// without a sexual sense; a wordsearch theme's words carrying its prefix or suffix as
// one; clues that end on a complete phrase, in British spelling, of no American field,
// in a setter's words (no "e.g.", hedges, asides or second parts, no genus or family, no
// opening name), agreeing in number with a plural answer, none twice in one puzzle nor for
// two answers of a bank, none naming another answer of its grid; a clue from the dictionary
// of 60 characters at most, not cut below three words, of no special field; no word or clue
// of a sensitive family below difficulty 2; words outside the everyday list at the hardest
// difficulty alone, counted often enough and no clipping; no word of a puzzle's list inside
// another or of its family (learned endings too: "EDITION" beside "EDITS"); hidden words whose
// letters spell no other word of the whole dictionary nor a blocked one, of no family of their
// grid's answers, none twice in a bank; every hand-written clue held to the rules of the
// bank's clues, by its line in the list.
#pragma once

#include "puzzle_validation.h"
#include "puzzles/clue_writer.h"
#include "puzzles/content_rules.h"
#include "puzzles/definition_wording.h"
#include "puzzles/word_counts.h"
#include "puzzles/word_list.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
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

inline std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The least count in the British corpus of a word shown at each bank difficulty.
constexpr int kMinCountOfDifficulty[] = {10000, 5000, 1000, 500};

// Whether a definition of the word's senses is sexual.
inline bool HasSexualSense(const std::string& lower, const datatool::WordNetLexicon& lexicon) {
    for (const datatool::WordSense& sense : lexicon.Senses(lower)) {
        const std::string definitions = Lower(sense.gloss.substr(0, sense.gloss.find('"')));
        std::string word;
        for (std::size_t i = 0; i <= definitions.size(); ++i) {
            if (i < definitions.size() &&
                std::isalpha(static_cast<unsigned char>(definitions[i]))) {
                word += definitions[i];
                continue;
            }
            if (word == "sexual" || word == "sexually" || word == "erotic") {
                return true;
            }
            word.clear();
        }
    }
    return false;
}

// Whether the text holds one of the parts, lower case.
template <class Parts>
bool HoldsAny(const std::string& text, const Parts& parts) {
    const std::string lower = Lower(text);
    return std::any_of(std::begin(parts), std::end(parts),
                       [&](const char* part) { return lower.find(part) != std::string::npos; });
}

// Whether the sense is filed under baseball, American football or the United States.
inline bool IsFiledAsAmerican(const datatool::WordSense& sense) {
    static const char* const kAmericanDomains[] = {"baseball", "american_football",
                                                   "united_states"};
    return std::any_of(sense.domains.begin(), sense.domains.end(), [](const std::string& domain) {
        return std::any_of(std::begin(kAmericanDomains), std::end(kAmericanDomains),
                           [&](const char* field) { return domain == field; });
    });
}

// Whether every sense of every lemma of the word is American: filed so, or defined in terms
// of baseball or American football.
inline bool OfAmericanFieldsAlone(const std::string& lower,
                                  const datatool::WordNetLexicon& lexicon) {
    static const char* const kAmericanGames[] = {"baseball", "american football"};
    bool any = false;
    for (const std::string& lemma : lexicon.BaseForms(lower)) {
        for (const datatool::WordSense& sense : lexicon.Senses(lemma)) {
            if (!IsFiledAsAmerican(sense) &&
                !HoldsAny(sense.gloss.substr(0, sense.gloss.find('"')), kAmericanGames)) {
                return false;
            }
            any = true;
        }
    }
    return any;
}

// What a word shown in a puzzle of the difficulty must be beside what ShownWordProblems
// checks: counted by the British corpus often enough for the difficulty, not counted by
// the American alone, and of no sexual sense.
inline std::vector<std::string> CommonWordProblems(const std::string& word, int difficulty,
                                                   const datatool::CorpusCounts& counts,
                                                   const datatool::WordNetLexicon& lexicon) {
    const std::string lower = Lower(word);
    std::vector<std::string> problems;
    const int count = counts.british.Count(lower);
    if (difficulty < 0 || difficulty > 3 || count < kMinCountOfDifficulty[difficulty]) {
        problems.push_back(word + ": too rare for difficulty " + std::to_string(difficulty));
    }
    if (count == 0 && counts.american.Count(lower) > 0) {
        problems.push_back(word + ": counted in American English alone");
    }
    if (HasSexualSense(lower, lexicon)) {
        problems.push_back(word + ": of a sexual sense");
    }
    if (OfAmericanFieldsAlone(lower, lexicon)) {
        problems.push_back(word + ": of American fields alone");
    }
    return problems;
}

// An answer, list word or hidden word (upper case) a setter would give.
inline std::vector<std::string> ShownWordProblems(const std::string& word,
                                                  const datatool::ContentRules& rules) {
    const std::string lower = Lower(word);
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

// Whether the lower-case answer is the plural of a noun used at least as often.
inline bool IsPluralNoun(const std::string& lower, const datatool::WordNetLexicon& lexicon) {
    const int own = lexicon.UseCountOf(lower, datatool::WordClass::Noun);
    for (const std::string& singular : lexicon.NounSingulars(lower)) {
        if (lexicon.UseCountOf(singular, datatool::WordClass::Noun) >= own) {
            return true;
        }
    }
    return false;
}

// Whether the lower-case word is a form of another lemma, with no tagged use of its own
// ("dug" beside "dig"): a solver reads it as that form.
inline bool IsReadAsAnotherWordsForm(const std::string& lower,
                                     const datatool::WordNetLexicon& lexicon) {
    const std::vector<std::string> bases = lexicon.BaseForms(lower);
    return lexicon.UseCount(lower) == 0 &&
           std::any_of(bases.begin(), bases.end(),
                       [&](const std::string& base) { return base != lower; });
}

// Whether the clue names a rank of the living world before its Latin name or opens with a
// name of two capitalised words ("Old World vine").
inline bool NamesTaxonOrOpensWithName(const std::string& text) {
    static const char* const kTaxonomy[] = {" genus ", " genera ", "idae", "aceae"};
    const std::size_t blank = text.find(' ');
    const std::string first = text.substr(0, blank);
    const bool twoCapitals = blank != std::string::npos && blank + 1 < text.size() &&
                             first != "A" && first != "An" && first != "The" &&
                             std::isupper(static_cast<unsigned char>(text[blank + 1]));
    return HoldsAny(text + " ", kTaxonomy) || twoCapitals;
}

// The roots of three letters or more of a word's family (upper or lower case): the endings'
// roots (datatool::FamilyRoots) of the word and of every lemma WordNet makes it a form of
// ("OVERSAW" and "OVERSEEN" both of "oversee", "BUILDINGS" of "build"), and of a lemma of
// four letters or more that a root less a learned ending is, with or without an e
// ("NARRATION" of "narrate", "WITHDRAWAL" of "withdraw", "CONSUMERISM" of "consume" through
// "consumer").
inline std::vector<std::string> FamilyRootsOf(const std::string& word,
                                              const datatool::WordNetLexicon& lexicon) {
    static const char* const kLearnedEndings[] = {"ion", "al", "ism", "ist", "ity", "ive", "ure"};
    std::vector<std::string> found = datatool::FamilyRoots(Lower(word));
    for (const std::string& lemma : lexicon.BaseForms(Lower(word))) {
        const std::vector<std::string> lemmaRoots = datatool::FamilyRoots(lemma);
        found.insert(found.end(), lemmaRoots.begin(), lemmaRoots.end());
    }
    for (std::size_t i = 0, own = found.size(); i < own; ++i) {
        for (const char* ending : kLearnedEndings) {
            const std::string root = found[i];
            const std::size_t stem = root.size() - std::strlen(ending);
            if (root.size() >= std::strlen(ending) + 4 && root.ends_with(ending)) {
                for (const std::string& base : {root.substr(0, stem), root.substr(0, stem) + "e"}) {
                    const std::vector<std::string> baseRoots = lexicon.HasLemma(base)
                                                                   ? datatool::FamilyRoots(base)
                                                                   : std::vector<std::string>();
                    found.insert(found.end(), baseRoots.begin(), baseRoots.end());
                }
            }
        }
    }
    std::erase_if(found, [](const std::string& root) { return root.size() < 3; });
    return found;
}

// Whether two words are of one family: a root of each is the same or, with stems, one's
// root of five letters or more begins the other's but for a last e or y an ending changes
// ("machine" and "machinery", "create" and "creation").
inline bool OfOneFamily(const std::string& a, const std::string& b,
                        const datatool::WordNetLexicon& lexicon, bool stems = false) {
    constexpr std::size_t kMinStem = 5;
    const std::vector<std::string> first = FamilyRootsOf(a, lexicon);
    const std::vector<std::string> second = FamilyRootsOf(b, lexicon);
    const auto begins = [&](const std::string& shorter, const std::string& longer) {
        const bool changed = shorter.back() == 'e' || shorter.back() == 'y';
        const std::string stem = shorter.substr(0, shorter.size() - (changed ? 1 : 0));
        return stems && stem.size() >= kMinStem && longer.starts_with(stem);
    };
    return std::any_of(first.begin(), first.end(), [&](const std::string& x) {
        return std::any_of(second.begin(), second.end(), [&](const std::string& y) {
            return x == y || (x.size() <= y.size() ? begins(x, y) : begins(y, x));
        });
    });
}

// The words of a clue of the answer's family (OfOneFamily with stems), which give it away.
inline std::vector<std::string> ClueFamilyWords(const std::string& text, const std::string& answer,
                                                const datatool::WordNetLexicon& lexicon) {
    std::vector<std::string> found;
    for (const auto& [start, word] : datatool::LetterRuns(text)) {
        if (word.size() >= 3 && OfOneFamily(std::string(word), answer, lexicon, true)) {
            found.emplace_back(word);
        }
    }
    return found;
}

// A clue as the bank holds it, "Text (N)", for its upper-case answer.
inline std::vector<std::string> ClueProblems(const std::string& clue, const std::string& answer,
                                             const datatool::ContentRules& rules,
                                             const datatool::WordNetLexicon& lexicon) {
    // Words of a dictionary's voice, which a setter leaves out.
    static const char* const kDictionaryVoice[] = {
        " e.g.",  " i.e.", " usually ", " typically ", "(especially",
        "(as in", "; ",    "term for ", "terms for ",
    };
    // Openings of a dictionary's voice.
    static const char* const kDictionaryOpenings[] = {"of or ", "native to", "usually ",
                                                      "typically ", "you "};
    static const char* const kAmericanPhrases[] = {" off of "};
    static const char* const kAmericanFields[] = {
        "baseball",  "american football", "scrimmage", "quarterback",
        "touchdown", "forward pass",      "sheriff"};
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
    if (HoldsAny(text, kAmericanFields)) {
        problems.push_back("clue of an American field: " + clue);
    }
    if (HoldsAny(text, kAmericanPhrases)) {
        problems.push_back("clue in American phrasing: " + clue);
    }
    if (NamesTaxonOrOpensWithName(text)) {
        problems.push_back("clue names a taxon or opens with a name: " + clue);
    }
    if (HoldsAny(text, kDictionaryVoice) ||
        std::any_of(std::begin(kDictionaryOpenings), std::end(kDictionaryOpenings),
                    [&](const char* opening) { return Lower(text).starts_with(opening); })) {
        problems.push_back("clue in a dictionary's voice: " + clue);
    }
    if ((text.starts_with("A ") || text.starts_with("An ")) &&
        IsPluralNoun(Lower(answer), lexicon)) {
        problems.push_back("a singular clue for the plural " + answer + ": " + clue);
    }
    if (text.ends_with(" sense") && std::count(text.begin(), text.end(), ' ') < 3) {
        problems.push_back("a note on the sense for a clue: " + clue);
    }
    for (const std::string& word : ClueFamilyWords(text, answer, lexicon)) {
        problems.push_back("clue word " + word + " of the family of " + answer + ": " + clue);
    }
    if (IsReadAsAnotherWordsForm(Lower(answer), lexicon)) {
        problems.push_back(answer + " is clued by senses never used, as a form of another word");
    }
    return problems;
}

// The longest clue text a crossword shows, its letter count aside.
constexpr std::size_t kMaxClueText = 60;

// The definitions of the lower-case word's senses, each lower case and in British spelling,
// without its examples, later parts or asides, with whether its sense is of a special field (a
// topic WordNet files it under) or of America.
inline std::vector<std::pair<std::string, bool>>
DefinitionsOf(const std::string& lower, const datatool::ContentRules& rules,
              const datatool::WordNetLexicon& lexicon) {
    std::vector<std::pair<std::string, bool>> definitions;
    for (const datatool::WordSense& sense : lexicon.Senses(lower)) {
        const std::string text = datatool::wording::WithoutAsides(
            sense.gloss.substr(0, sense.gloss.find_first_of(";\"")));
        const std::size_t first = text.find_first_not_of(' ');
        const std::string trimmed =
            first == std::string::npos ? std::string()
                                       : text.substr(first, text.find_last_not_of(' ') - first + 1);
        const bool technical =
            std::any_of(sense.domains.begin(), sense.domains.end(), [&](const std::string& domain) {
                return std::find(sense.regions.begin(), sense.regions.end(), domain) ==
                       sense.regions.end();
            });
        definitions.emplace_back(Lower(rules.spellings.Anglicised(trimmed)),
                                 technical || IsFiledAsAmerican(sense));
    }
    return definitions;
}

// A clue that the clue list does not give its upper-case answer, made from a definition: of
// kMaxClueText characters at most, of three words or more unless it is a whole definition, and
// from no sense of a special field or of America.
inline std::vector<std::string> DictionaryClueProblems(const std::string& clue,
                                                       const std::string& answer,
                                                       const datatool::ContentRules& rules,
                                                       const datatool::WordNetLexicon& lexicon) {
    std::vector<std::string> problems;
    const std::string text = clue.substr(0, clue.rfind(" ("));
    if (text.size() > kMaxClueText) {
        problems.push_back("a clue too long: " + clue);
    }
    const auto definitions = DefinitionsOf(Lower(answer), rules, lexicon);
    const auto whole = std::find_if(definitions.begin(), definitions.end(),
                                    [&](const auto& sense) { return sense.first == Lower(text); });
    if (datatool::LetterRuns(text).size() < 3 && whole == definitions.end()) {
        problems.push_back("a definition cut below three words: " + clue);
    }
    for (const auto& [definition, technical] : definitions) {
        if (technical && definition.starts_with(Lower(text))) {
            problems.push_back("a clue of a special field's sense: " + clue);
        }
    }
    return problems;
}

// The clues of a crossword that name another of its answers ("Chart of figures" for TABLE
// beside CHART): the one gives the other away.
inline std::vector<std::string>
ClueNamesAnotherAnswerProblems(const Kelvo_lib::CrosswordData& crossword) {
    std::vector<std::string> problems;
    for (int w = 0; w < crossword.words.Size(); ++w) {
        const std::string clue = crossword.words(w).clue;
        const std::string text = clue.substr(0, clue.rfind(" ("));
        for (const auto& [start, word] : datatool::LetterRuns(text)) {
            for (int other = 0; other < crossword.words.Size(); ++other) {
                if (other != w && Lower(crossword.words(other).word) == Lower(std::string(word))) {
                    problems.push_back("the clue of " + std::string(crossword.words(w).word) +
                                       " names the answer " + crossword.words(other).word + ": " +
                                       clue);
                }
            }
        }
    }
    return problems;
}

// Every clue of the hand-written list, with the answer's letter count, through the rules of
// clues in the bank (ClueProblems), never showing its answer (by the checker's test and the
// clue writer's), naming no excluded word, nor a sensitive one unless the answer is one, none
// given to two answers; each fault "FILE:LINE: ANSWER: ...".
inline std::vector<std::string> ListedClueProblems(const datatool::ClueList& list,
                                                   const datatool::ClueWriter& writer,
                                                   const datatool::WordNetLexicon& lexicon) {
    const datatool::ContentRules& rules = writer.Rules();
    std::vector<std::string> problems;
    std::map<std::string, std::string> answerOfClue;
    for (const datatool::ListedAnswer& listed : list.Answers()) {
        const std::string where =
            list.Source() + ":" + std::to_string(listed.line) + ": " + listed.answer + ": ";
        const std::string enumeration = " (" + std::to_string(listed.answer.size()) + ")";
        for (const std::string& clue : listed.clues) {
            std::vector<std::string> found =
                ClueProblems(clue + enumeration, listed.answer, rules, lexicon);
            if (puzzle_validation::ClueShowsAnswer(clue, listed.answer) ||
                writer.Reveals(clue, Lower(listed.answer))) {
                found.push_back("clue shows the answer: " + clue);
            }
            for (const auto& [start, word] : datatool::LetterRuns(clue)) {
                if (rules.exclusions.Excludes(Lower(std::string(word)))) {
                    found.push_back("clue names the excluded " + std::string(word) + ": " + clue);
                }
            }
            if (datatool::NamesSensitiveWord(clue, rules) &&
                !datatool::IsSensitive(listed.answer, rules)) {
                found.push_back("clue names a sensitive word, which keeps its answer from "
                                "easy puzzles: " +
                                clue);
            }
            const auto [given, added] = answerOfClue.emplace(Lower(clue), listed.answer);
            if (!added) {
                found.push_back("clue also given to " + given->second + ": " + clue);
            }
            for (const std::string& problem : found) {
                problems.push_back(where + problem);
            }
        }
    }
    return problems;
}

// A word (upper case) or clue shown at the difficulty that names a sensitive word below
// the difficulty that may show it.
inline std::vector<std::string> SensitiveProblems(const std::string& text, int difficulty,
                                                  const datatool::ContentRules& rules) {
    if (difficulty < datatool::kSensitiveMinDifficulty &&
        datatool::NamesSensitiveWord(text, rules)) {
        return {text + ": sensitive at difficulty " + std::to_string(difficulty)};
    }
    return {};
}

// A word (upper case) shown at the difficulty that is outside the everyday words: at
// the hardest difficulty alone, counted often enough by the British corpus, no clipping.
inline std::vector<std::string> EverydayProblems(const std::string& word, int difficulty,
                                                 const datatool::CorpusCounts& counts,
                                                 const datatool::WordNetLexicon& lexicon) {
    const std::string lower = Lower(word);
    if (counts.british.IsEveryday(lower)) {
        return {};
    }
    std::vector<std::string> problems;
    if (difficulty < 3 || counts.british.Count(lower) < datatool::kMinCountOutsideEveryday) {
        problems.push_back(word + ": a specialist's word at difficulty " +
                           std::to_string(difficulty));
    }
    if (datatool::IsClipping(lower, lexicon)) {
        problems.push_back(word + ": a clipping outside the everyday words");
    }
    return problems;
}

// Pairs of one puzzle's words (upper case) where one holds the other or both are of one
// family (OfOneFamily, roots alike).
inline std::vector<std::string> KindredWordProblems(const std::vector<std::string>& words,
                                                    const datatool::WordNetLexicon& lexicon) {
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < words.size(); ++i) {
        for (std::size_t j = i + 1; j < words.size(); ++j) {
            if (OfOneFamily(words[i], words[j], lexicon) ||
                words[i].find(words[j]) != std::string::npos ||
                words[j].find(words[i]) != std::string::npos) {
                problems.push_back(words[i] + " and " + words[j] + ": kindred words in one list");
            }
        }
    }
    return problems;
}

// Whether the lower-case word ending in "er" is made from a verb or an adjective: its
// letters before "er" or "r", a doubled consonant undone, a y turned i restored.
inline bool HasVerbOrAdjectiveStem(const std::string& lower,
                                   const datatool::WordNetLexicon& lexicon) {
    const std::string stem = lower.substr(0, lower.size() - 2);
    std::vector<std::string> stems{stem, lower.substr(0, lower.size() - 1)};
    if (stem.size() >= 2 && stem.back() == stem[stem.size() - 2]) {
        stems.push_back(stem.substr(0, stem.size() - 1));
    }
    if (!stem.empty() && stem.back() == 'i') {
        stems.push_back(stem.substr(0, stem.size() - 1) + "y");
    }
    return std::any_of(stems.begin(), stems.end(), [&](const std::string& candidate) {
        const std::vector<datatool::WordClass> classes = lexicon.ClassesOf(candidate);
        return lexicon.HasLemma(candidate) &&
               std::any_of(classes.begin(), classes.end(), [](datatool::WordClass wordClass) {
                   return wordClass == datatool::WordClass::Verb ||
                          wordClass == datatool::WordClass::Adjective;
               });
    });
}

// A word of a wordsearch whose title names a prefix ("Beginning with UN") or a suffix
// ("Ending in ABLE") that carries it as one: the rest of the word is three letters or
// more, after a prefix a word WordNet knows, before a suffix that makes adjectives in a
// word that is one.
inline std::vector<std::string> ThemeProblems(const std::string& title, const std::string& word,
                                              const datatool::WordNetLexicon& lexicon) {
    static const char* const kAdjectiveSuffixes[] = {"ABLE", "OUS", "IVE", "FUL", "LESS", "ISH"};
    const bool prefix = title.starts_with("Beginning with ");
    const bool suffix = title.starts_with("Ending in ");
    if (!prefix && !suffix) {
        return {};
    }
    const std::string affix = title.substr(title.rfind(' ') + 1);
    const bool spelt = prefix ? word.starts_with(affix) : word.ends_with(affix);
    if (!spelt || word.size() < affix.size() + 3) {
        return {word + ": does not carry " + affix};
    }
    const std::string lower = Lower(word);
    const bool adjectiveSuffix =
        suffix && std::any_of(std::begin(kAdjectiveSuffixes), std::end(kAdjectiveSuffixes),
                              [&](const char* ending) { return affix == ending; });
    const std::vector<datatool::WordClass> classes = lexicon.ClassesOf(lower);
    if ((prefix && lexicon.BaseForms(lower.substr(affix.size())).empty()) ||
        (adjectiveSuffix && std::find(classes.begin(), classes.end(),
                                      datatool::WordClass::Adjective) == classes.end())) {
        return {word + ": spells " + affix + " but does not carry it"};
    }
    if (affix == "ER" && !HasVerbOrAdjectiveStem(lower, lexicon)) {
        return {word + ": ends in ER but is no doer nor comparison"};
    }
    return {};
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

// Every word of a blocked family read from any cell in any of the 8 directions, three
// letters or more, whose cells do not all lie on the trail of one hidden word: a filler
// letter read on after a hidden word counts ("RAPE" in "GRAPE", then "S").
inline std::vector<std::string> GridLineProblems(const Kelvo_lib::WordsearchData& ws,
                                                 const datatool::FamilyFilter& family) {
    constexpr std::size_t kMinLine = 3;
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
    for (int start = 0; start < ws.numRows * ws.numCols; ++start) {
        for (const auto& direction : puzzle_validation::kDirections) {
            std::vector<int> cells;
            std::string line;
            for (int x = start % ws.numCols, y = start / ws.numCols;
                 x >= 0 && y >= 0 && x < ws.numCols && y < ws.numRows;
                 x += direction[0], y += direction[1]) {
                cells.push_back(x + y * ws.numCols);
                line += ws.gridMap(cells.back());
                if (line.size() >= kMinLine && family.BlocksWord(line) && !onOneTrail(cells)) {
                    problems.push_back("the grid spells " + line);
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

// A hash of the letters of every lower-case word (a to z alone) of the word list file,
// upper-cased, in sorted order: the whole dictionary, with the words the puzzles leave out
// (small and in one block: the tests run on the console's heap). Empty when it cannot be read.
inline std::vector<std::size_t> DictionaryLetterSets(const std::string& path) {
    std::ifstream lines(path);
    std::vector<std::size_t> sets;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() &&
            std::all_of(line.begin(), line.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
            std::transform(line.begin(), line.end(), line.begin(),
                           [](char c) { return static_cast<char>(c - 'a' + 'A'); });
            sets.push_back(LetterSet(line));
        }
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

// The answers of the hidden word's grid (upper case) it shares a root with (OfOneFamily with
// stems): "SWAMPS" beside "SWAMP", "NATURE" beside "NATURAL"; "PAIRS" may lie beside "AIR".
inline std::vector<std::string> HiddenWordKinProblems(const std::string& hidden,
                                                      const std::vector<std::string>& answers,
                                                      const datatool::WordNetLexicon& lexicon) {
    std::vector<std::string> problems;
    for (const std::string& answer : answers) {
        if (OfOneFamily(hidden, answer, lexicon, true)) {
            problems.push_back("hidden word " + hidden + " is of the family of the answer " +
                               answer);
        }
    }
    return problems;
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
        problems.push_back("hidden word " + word + " has another anagram in the dictionary");
    }
    return problems;
}

} // namespace content_checks
