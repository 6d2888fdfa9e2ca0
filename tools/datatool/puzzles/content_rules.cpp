#include "content_rules.h"

#include "list_file.h"

#include <algorithm>
#include <iterator>
#include <sstream>

namespace datatool {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string UpperCase(std::string_view word) {
    std::string upper(word);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

constexpr std::size_t kLetterPairs = 26 * 26;

// The index of two upper-case letters among the pairs.
std::size_t LetterPair(char first, char second) {
    return static_cast<std::size_t>(first - 'A') * 26 + static_cast<std::size_t>(second - 'A');
}

} // namespace

std::vector<std::pair<std::size_t, std::string_view>> LetterRuns(std::string_view text) {
    std::vector<std::pair<std::size_t, std::string_view>> runs;
    for (std::size_t i = 0; i < text.size();) {
        if (!IsLetter(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && IsLetter(text[end])) {
            ++end;
        }
        runs.emplace_back(i, text.substr(i, end - i));
        i = end;
    }
    return runs;
}

FamilyFilter::FamilyFilter(WordExclusions blocked)
    : m_blocked(std::move(blocked)), m_byFirstLetters(kLetterPairs),
      m_letterSets(m_blocked.FormLetterSets()) {
    for (const std::string& start : m_blocked.Starts()) {
        const std::string upper = UpperCase(start);
        if (IsLetter(upper[0]) && IsLetter(upper[1])) {
            m_byFirstLetters[LetterPair(upper[0], upper[1])].push_back(
                static_cast<std::uint32_t>(m_starts.size()));
            m_starts.push_back(upper);
        }
    }
}

bool FamilyFilter::BlocksWord(std::string_view word) const {
    return m_blocked.Excludes(LowerCase(word));
}

bool FamilyFilter::BlocksText(std::string_view text) const {
    const auto runs = LetterRuns(text);
    return std::any_of(runs.begin(), runs.end(),
                       [&](const auto& run) { return BlocksWord(run.second); });
}

bool FamilyFilter::MayBeginBlockedWord(std::string_view letters) const {
    if (letters.size() < 2 || letters[0] < 'A' || letters[0] > 'Z' || letters[1] < 'A' ||
        letters[1] > 'Z') {
        return false;
    }
    const std::vector<std::uint32_t>& starts = m_byFirstLetters[LetterPair(letters[0], letters[1])];
    return std::any_of(starts.begin(), starts.end(),
                       [&](std::uint32_t index) { return letters.starts_with(m_starts[index]); });
}

std::vector<std::pair<std::size_t, std::size_t>>
FamilyFilter::FindBlockedWords(std::string_view letters) const {
    constexpr std::size_t kMinWord = 3;
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (std::size_t at = 0; at + kMinWord <= letters.size(); ++at) {
        if (!MayBeginBlockedWord(letters.substr(at))) {
            continue;
        }
        for (std::size_t length = kMinWord; at + length <= letters.size(); ++length) {
            if (BlocksWord(letters.substr(at, length))) {
                found.emplace_back(at, length);
            }
        }
    }
    return found;
}

bool FamilyFilter::IsAnagramOfBlockedWord(const std::string& word) const {
    return std::binary_search(m_letterSets.begin(), m_letterSets.end(), LetterSetHash(word));
}

BritishSpellings BritishSpellings::Parse(std::istream& lines) {
    BritishSpellings spellings;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string us;
        std::string british;
        if (fields >> us >> british) {
            spellings.m_british.emplace(LowerCase(us), LowerCase(british));
        }
    }
    return spellings;
}

std::string BritishSpellings::Anglicised(std::string_view text) const {
    std::string out;
    std::size_t copied = 0;
    for (const auto& [start, word] : LetterRuns(text)) {
        const auto found = m_british.find(LowerCase(word));
        if (found == m_british.end()) {
            continue;
        }
        std::string british = found->second;
        if (word[0] >= 'A' && word[0] <= 'Z') {
            british[0] = static_cast<char>(british[0] - 'a' + 'A');
        }
        out.append(text.substr(copied, start - copied));
        out += british;
        copied = start + word.size();
    }
    out.append(text.substr(copied));
    return out;
}

std::string BritishSpellings::FirstUsSpelling(std::string_view text) const {
    for (const auto& run : LetterRuns(text)) {
        if (m_british.count(LowerCase(run.second)) != 0) {
            return std::string(run.second);
        }
    }
    return {};
}

bool BritishSpellings::IsUsSpelling(std::string_view word) const {
    return m_british.count(LowerCase(word)) != 0;
}

bool IsSensitive(std::string_view word, const ContentRules& rules) {
    return rules.sensitive.Excludes(LowerCase(word));
}

bool NamesSensitiveWord(std::string_view text, const ContentRules& rules) {
    const auto runs = LetterRuns(text);
    return std::any_of(runs.begin(), runs.end(),
                       [&](const auto& run) { return IsSensitive(run.second, rules); });
}

bool HasVowel(std::string_view word) {
    return word.find_first_of("AEIOU") != std::string_view::npos ||
           word.find('Y', 1) != std::string_view::npos;
}

namespace {

constexpr std::size_t kShortWordLength = 2;

// Definitions that say the sense is a slur or an obscenity.
const char* const kUnfitMarks[] = {
    "ethnic slur",     "offensive term",   "offensive name", "offensive slang",
    "obscene term",    "obscene word",     "vulgar slang",   "insulting term",
    "derogatory term", "disparaging term", "vulgar term",
};

// What definitions of American senses name.
const char* const kAmericanMarks[] = {
    "baseball",  "american football", "united states", "u.s.",     "scrimmage", "quarterback",
    "touchdown", "forward pass",      "football team", "base hit", "lawman",    "sheriff",
};

// WordNet's topic and region domains of American senses.
const char* const kAmericanDomains[] = {"baseball", "american_football", "united_states"};

// Words of a definition that make the sense sexual.
const char* const kSexualWords[] = {"sexual", "sexually", "erotic", "erotically", "genitals"};

bool IsUnfitGloss(const std::string& gloss) {
    const std::string definitions = LowerCase(gloss.substr(0, gloss.find('"')));
    const auto runs = LetterRuns(definitions);
    return std::any_of(
               std::begin(kUnfitMarks), std::end(kUnfitMarks),
               [&](const char* mark) { return definitions.find(mark) != std::string::npos; }) ||
           std::any_of(runs.begin(), runs.end(), [](const auto& run) {
               return std::any_of(std::begin(kSexualWords), std::end(kSexualWords),
                                  [&](const char* word) { return run.second == word; });
           });
}

// Whether the word is a form of words of two letters alone, and no lemma itself but as a
// name: "ins" ("INS", an agency), "ups"; not "gas" or "pas".
bool IsFormOfShortWordAlone(const std::string& lowerCaseWord, const WordNetLexicon& lexicon) {
    std::vector<std::string> others = lexicon.BaseForms(lowerCaseWord);
    std::erase(others, lowerCaseWord);
    if (others.empty() || std::any_of(others.begin(), others.end(), [](const std::string& base) {
            return base.size() > kShortWordLength;
        })) {
        return false;
    }
    const std::vector<WordSense> senses = lexicon.Senses(lowerCaseWord);
    return std::all_of(senses.begin(), senses.end(),
                       [](const WordSense& sense) { return sense.properName; });
}

// Whether every sense of every lemma the word is a form of is American ("shortstop").
bool IsAmericanAlone(const std::string& lowerCaseWord, const WordNetLexicon& lexicon) {
    bool any = false;
    for (const std::string& lemma : lexicon.BaseForms(lowerCaseWord)) {
        for (const WordSense& sense : lexicon.Senses(lemma)) {
            if (!IsAmericanSense(sense, sense.gloss.substr(0, sense.gloss.find('"')))) {
                return false;
            }
            any = true;
        }
    }
    return any;
}

// Whether WordNet knows the word: one of its lemmas, a usual form of one, or derived
// from one ("egregiously", "stickiest").
bool IsKnownWord(const std::string& lowerCaseWord, const WordNetLexicon& lexicon) {
    if (!lexicon.BaseForms(lowerCaseWord).empty()) {
        return lexicon.IsUsualForm(lowerCaseWord) &&
               !IsFormOfShortWordAlone(lowerCaseWord, lexicon);
    }
    // A root of two letters is no word a setter would derive from ("th" in "thy").
    const std::vector<std::string> roots = DerivationRoots(lowerCaseWord);
    return std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
        return root.size() > kShortWordLength && lexicon.HasLemma(root);
    });
}

// Whether the word is outside the everyday words and too rare for a specialist's word to
// be shown, or a clipping.
bool IsSpecialistWord(const std::string& lowerCaseWord, const WordNetLexicon& lexicon,
                      const CorpusCounts& counts) {
    return !counts.british.IsEveryday(lowerCaseWord) &&
           (counts.british.Count(lowerCaseWord) < kMinCountOutsideEveryday ||
            IsClipping(lowerCaseWord, lexicon));
}

} // namespace

bool IsClipping(const std::string& lowerCaseWord, const WordNetLexicon& lexicon) {
    for (const std::string& lemma : lexicon.BaseForms(lowerCaseWord)) {
        const std::vector<WordSense> senses = lexicon.Senses(lemma);
        if (std::any_of(senses.begin(), senses.end(),
                        [](const WordSense& sense) { return sense.shortened; })) {
            return true;
        }
    }
    return false;
}

bool IsAmericanSense(const WordSense& sense, const std::string& definition) {
    const std::string lower = LowerCase(definition);
    return std::any_of(std::begin(kAmericanMarks), std::end(kAmericanMarks),
                       [&](const char* mark) { return lower.find(mark) != std::string::npos; }) ||
           std::any_of(sense.domains.begin(), sense.domains.end(), [](const std::string& domain) {
               return std::any_of(std::begin(kAmericanDomains), std::end(kAmericanDomains),
                                  [&](const char* american) { return domain == american; });
           });
}

bool HasUnfitSense(const std::vector<WordSense>& senses) {
    return std::any_of(senses.begin(), senses.end(),
                       [](const WordSense& sense) { return IsUnfitGloss(sense.gloss); });
}

bool IsSetterWord(const std::string& word, const WordNetLexicon& lexicon, const ContentRules& rules,
                  const CorpusCounts& counts) {
    const std::string lower = LowerCase(word);
    return HasVowel(word) && counts.british.Count(lower) > 0 && !counts.IsAmerican(lower) &&
           !rules.spellings.IsUsSpelling(lower) && !rules.exclusions.Excludes(lower) &&
           !rules.family.BlocksWord(lower) && IsKnownWord(lower, lexicon) &&
           !HasUnfitSense(lexicon.Senses(lower)) && !IsAmericanAlone(lower, lexicon) &&
           !IsSpecialistWord(lower, lexicon, counts);
}

std::vector<std::string> SetterWords(std::vector<std::string> words, const WordNetLexicon& lexicon,
                                     const ContentRules& rules, const CorpusCounts& counts) {
    std::erase_if(words, [&](const std::string& word) {
        return !IsSetterWord(word, lexicon, rules, counts);
    });
    return words;
}

std::optional<ContentRules> LoadContentRules(const ContentRulePaths& paths, std::string& error) {
    // In the order of ContentRulePaths.
    std::optional<std::string> texts[5];
    const std::pair<const std::string*, ListFormat> lists[] = {
        {&paths.exclusions, ListFormat::kWordRules},
        {&paths.blocklist, ListFormat::kWordRules},
        {&paths.spellings, ListFormat::kSpellings},
        {&paths.sensitive, ListFormat::kWordRules},
        {&paths.clues, ListFormat::kClues}};
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        texts[i] = ReadListFile(*lists[i].first, lists[i].second, error);
        if (!texts[i]) {
            return std::nullopt;
        }
    }
    std::istringstream blocklist(*texts[1]);
    std::istringstream spellings(*texts[2]);
    std::istringstream sensitive(*texts[3]);
    std::istringstream clueLines(*texts[4]);
    std::optional<ClueList> clues = ClueList::Parse(clueLines, paths.clues, error);
    if (!clues) {
        return std::nullopt;
    }
    // An answer the clue list marks unfit is left out as that one word.
    std::string excludedLines = std::move(*texts[0]);
    for (const ListedAnswer& listed : clues->Answers()) {
        if (listed.clues.empty()) {
            excludedLines += "\n=" + LowerCase(listed.answer);
        }
    }
    std::istringstream excluded(excludedLines);
    return ContentRules{
        WordExclusions::Parse(excluded), FamilyFilter(WordExclusions::Parse(blocklist)),
        BritishSpellings::Parse(spellings), WordExclusions::Parse(sensitive), std::move(*clues)};
}

} // namespace datatool
