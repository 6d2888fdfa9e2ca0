#include "word_list.h"

#include "list_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iterator>
#include <sstream>

namespace datatool {
namespace {

constexpr std::size_t kMinWordLength = 3;
constexpr std::size_t kMaxWordLength = 15;

bool IsLowerCaseWord(const std::string& word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string ToUpper(std::string word) {
    for (char& c : word) {
        c = static_cast<char>(c - 'a' + 'A');
    }
    return word;
}

// The line without its end-of-line characters and surrounding blanks.
std::string Trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

// The words, each at its first place only. Sorted positions rather than a set of the
// words: the tool may run on a heap that many small blocks slow down.
std::vector<std::string> WithoutRepeats(std::vector<std::string> words) {
    std::vector<std::uint32_t> order(words.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return words[a] != words[b] ? words[a] < words[b] : a < b;
    });
    std::vector<bool> repeated(words.size(), false);
    for (std::size_t i = 1; i < order.size(); ++i) {
        repeated[order[i]] = words[order[i]] == words[order[i - 1]];
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!repeated[i]) {
            if (kept != i) {
                words[kept] = std::move(words[i]);
            }
            ++kept;
        }
    }
    words.resize(kept);
    return words;
}

// Endings that derive a word from another, and those that inflect it (last, and once).
const char* const kDerivations[] = {"y", "ish", "ly", "ness", "less", "ful", "ment", "er"};
const std::vector<std::string_view> kInflections = {"s", "es", "ed", "d", "ing", "er", "est"};
const std::vector<std::string_view> kComparisons = {"er", "est"};

bool IsVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}

bool EndsWith(const std::string& word, std::string_view ending) {
    return word.size() > ending.size() &&
           word.compare(word.size() - ending.size(), ending.size(), ending) == 0;
}

// Adds the word and its roots; inflections are the endings the word may end in, none
// for a root.
void AddRoots(const std::string& word, const std::vector<std::string_view>& inflections,
              std::vector<std::string>& roots) {
    if (std::find(roots.begin(), roots.end(), word) != roots.end()) {
        return;
    }
    roots.push_back(word);
    const auto strip = [&](std::string_view ending) {
        // "d" follows an e alone ("massacred"); a root keeps two letters.
        if (!EndsWith(word, ending) || word.size() < ending.size() + 2 ||
            (ending == "d" && word[word.size() - 2] != 'e')) {
            return;
        }
        for (const std::string& form :
             WordsBeforeEnding(word.substr(0, word.size() - ending.size()), ending)) {
            AddRoots(form, {}, roots);
        }
    };
    for (const char* ending : kDerivations) {
        strip(ending);
    }
    for (std::string_view ending : inflections) {
        strip(ending);
    }
}

// Whether the word ends in one consonant after one vowel after a consonant: "slut", "vomit".
bool EndsInShortSyllable(const std::string& word) {
    const std::size_t size = word.size();
    const char last = word.back();
    return size >= 3 && !IsVowel(last) && last != 'w' && last != 'x' && IsVowel(word[size - 2]) &&
           word[size - 2] != 'y' && !IsVowel(word[size - 3]);
}

// Whether the word has one run of vowels alone (a first y is a consonant): "nob", "yob".
bool IsOneSyllable(const std::string& word) {
    int runs = 0;
    bool inVowels = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const bool vowel = IsVowel(word[i]) && (i > 0 || word[i] != 'y');
        runs += vowel && !inVowels ? 1 : 0;
        inVowels = vowel;
    }
    return runs == 1;
}

// The spellings of the lower-case word with the ending, as English writes them: "es" after
// a hissing sound or an o and "s" after anything else, "d" after an e alone; a final e
// dropped before a vowel, a final y after a consonant turned i (but before an i), a final
// consonant after a short vowel doubled, and in a longer word not doubled too ("sluttish",
// "vomiting"). None where the ending does not follow the word.
std::vector<std::string> WordsWithEnding(const std::string& word, std::string_view ending) {
    const char last = word.back();
    const bool hissing =
        last == 's' || last == 'x' || last == 'z' || EndsWith(word, "ch") || EndsWith(word, "sh");
    const bool consonantY = word.size() >= 2 && last == 'y' && !IsVowel(word[word.size() - 2]);
    const std::string base = word.substr(0, word.size() - 1);
    if (ending == "s") {
        return hissing || consonantY ? std::vector<std::string>{} : std::vector{word + "s"};
    }
    if (ending == "es") {
        return consonantY               ? std::vector{base + "ies"}
               : hissing || last == 'o' ? std::vector{word + "es"}
                                        : std::vector<std::string>{};
    }
    if (ending == "d") {
        return last == 'e' ? std::vector{word + "d"} : std::vector<std::string>{};
    }
    if (ending == "y" && last == 'y') {
        return {};
    }
    if (consonantY && ending[0] != 'i') {
        return {base + 'i' + std::string(ending)};
    }
    if (IsVowel(ending[0]) && last == 'e') {
        return {base + std::string(ending)};
    }
    if (IsVowel(ending[0]) && EndsInShortSyllable(word)) {
        std::vector<std::string> forms{word + last + std::string(ending)};
        if (!IsOneSyllable(word)) {
            forms.push_back(word + std::string(ending));
        }
        return forms;
    }
    return {word + std::string(ending)};
}

} // namespace

std::uint64_t LetterSetHash(std::string word) {
    std::sort(word.begin(), word.end());
    std::uint64_t hash = 14695981039346656037ull;
    for (char letter : word) {
        hash = (hash ^ static_cast<unsigned char>(letter)) * 1099511628211ull;
    }
    return hash;
}

std::vector<std::string> FamilyForms(const std::string& lowerCaseWord) {
    if (lowerCaseWord.empty()) {
        return {};
    }
    std::vector<std::string> forms{lowerCaseWord};
    for (const char* ending : kDerivations) {
        for (std::string& derived : WordsWithEnding(lowerCaseWord, ending)) {
            forms.push_back(std::move(derived));
        }
    }
    const std::size_t derived = forms.size();
    for (std::size_t i = 0; i < derived; ++i) {
        const std::string stem = forms[i];
        for (std::string_view ending : kInflections) {
            for (std::string& inflected : WordsWithEnding(stem, ending)) {
                forms.push_back(std::move(inflected));
            }
        }
    }
    return forms;
}

std::vector<std::string> WordsBeforeEnding(const std::string& stem, std::string_view ending) {
    std::vector<std::string> forms{stem};
    const char last = stem.back();
    // An ending's e merges with a long word's final e: "oversee" + "er" is "overseer" (but
    // "peer" is no "pee").
    constexpr std::size_t kMinMergingStem = 4;
    if ((IsVowel(ending[0]) && !IsVowel(last)) ||
        (ending[0] == 'e' && last == 'e' && stem.size() >= kMinMergingStem)) {
        forms.push_back(stem + 'e');
        if (stem.size() >= 3 && last == stem[stem.size() - 2]) {
            forms.push_back(stem.substr(0, stem.size() - 1));
        }
    }
    if (last == 'i' && ending[0] != 'i') {
        forms.push_back(stem.substr(0, stem.size() - 1) + 'y');
    }
    return forms;
}

std::vector<std::string> FamilyRoots(const std::string& lowerCaseWord) {
    std::vector<std::string> roots;
    if (!lowerCaseWord.empty()) {
        AddRoots(lowerCaseWord, kInflections, roots);
    }
    return roots;
}

std::vector<std::string> DerivationRoots(const std::string& lowerCaseWord) {
    std::vector<std::string> roots;
    if (!lowerCaseWord.empty()) {
        AddRoots(lowerCaseWord, kComparisons, roots);
    }
    return roots;
}

WordExclusions WordExclusions::Parse(std::istream& lines) {
    WordExclusions exclusions;
    std::string line;
    while (std::getline(lines, line)) {
        const std::string entry = Trimmed(line.substr(0, line.find('#')));
        const std::size_t colon = entry.find(':');
        if (entry.empty()) {
            continue;
        }
        if (colon != std::string::npos) {
            exclusions.m_senses.emplace_back(Trimmed(entry.substr(0, colon)),
                                             Trimmed(entry.substr(colon + 1)));
        } else if (entry.size() > 1 && entry.front() == '!') {
            exclusions.m_kept.push_back(entry.substr(1));
        } else if (entry.size() > 1 && entry.front() == '=') {
            exclusions.m_exact.push_back(entry.substr(1));
        } else if (entry.size() > 2 && entry.front() == '*' && entry.back() == '*') {
            exclusions.m_parts.push_back(entry.substr(1, entry.size() - 2));
        } else if (entry.back() == '*') {
            exclusions.m_stems.push_back(entry.substr(0, entry.size() - 1));
        } else {
            exclusions.m_words.push_back(entry);
        }
    }
    std::sort(exclusions.m_words.begin(), exclusions.m_words.end());
    std::sort(exclusions.m_kept.begin(), exclusions.m_kept.end());
    std::sort(exclusions.m_exact.begin(), exclusions.m_exact.end());
    for (const std::vector<std::string>* entries : {&exclusions.m_words, &exclusions.m_stems}) {
        for (const std::string& entry : *entries) {
            exclusions.m_rootStarts.push_back(entry.substr(0, entry.size() - 1));
        }
    }
    std::sort(exclusions.m_rootStarts.begin(), exclusions.m_rootStarts.end());
    return exclusions;
}

bool WordExclusions::BeginsLikeAnEntry(std::string_view word) const {
    for (std::size_t length = 0; length <= word.size(); ++length) {
        if (std::binary_search(m_rootStarts.begin(), m_rootStarts.end(), word.substr(0, length),
                               [](std::string_view a, std::string_view b) { return a < b; })) {
            return true;
        }
    }
    return false;
}

bool WordExclusions::ExcludesRoot(const std::string& root) const {
    return std::binary_search(m_words.begin(), m_words.end(), root) ||
           std::any_of(m_stems.begin(), m_stems.end(), [&](const std::string& stem) {
               return root.compare(0, stem.size(), stem) == 0;
           });
}

bool WordExclusions::Excludes(const std::string& lowerCaseWord) const {
    if (std::binary_search(m_exact.begin(), m_exact.end(), lowerCaseWord) ||
        std::any_of(m_parts.begin(), m_parts.end(), [&](const std::string& part) {
            return lowerCaseWord.find(part) != std::string::npos;
        })) {
        return true;
    }
    if (!BeginsLikeAnEntry(lowerCaseWord) ||
        std::binary_search(m_kept.begin(), m_kept.end(), lowerCaseWord)) {
        return false;
    }
    const std::vector<std::string> roots = FamilyRoots(lowerCaseWord);
    return std::any_of(roots.begin(), roots.end(),
                       [&](const std::string& root) { return ExcludesRoot(root); });
}

bool WordExclusions::ExcludesSense(const std::string& lowerCaseWord,
                                   std::string_view definition) const {
    return std::any_of(m_senses.begin(), m_senses.end(), [&](const auto& sense) {
        if (sense.first != lowerCaseWord || definition.size() < sense.second.size()) {
            return false;
        }
        return std::equal(sense.second.begin(), sense.second.end(), definition.begin(),
                          [](char a, char b) { return std::tolower(a) == std::tolower(b); });
    });
}

std::vector<std::uint64_t> WordExclusions::FormLetterSets() const {
    constexpr std::size_t kMinForm = 3;
    std::vector<std::uint64_t> sets;
    const auto add = [&](const std::vector<std::string>& forms) {
        for (const std::string& form : forms) {
            if (form.size() >= kMinForm &&
                !std::binary_search(m_kept.begin(), m_kept.end(), form)) {
                sets.push_back(LetterSetHash(ToUpper(form)));
            }
        }
    };
    add(m_parts);
    add(m_exact);
    for (const std::vector<std::string>* entries : {&m_words, &m_stems}) {
        for (const std::string& entry : *entries) {
            add(FamilyForms(entry));
        }
    }
    std::sort(sets.begin(), sets.end());
    sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
    return sets;
}

std::vector<std::string> WordExclusions::Starts() const {
    constexpr std::size_t kMinStart = 2;
    std::vector<std::string> starts = m_parts;
    starts.insert(starts.end(), m_exact.begin(), m_exact.end());
    for (const std::vector<std::string>* entries : {&m_words, &m_stems}) {
        for (const std::string& entry : *entries) {
            const bool changesLast =
                entry.size() > kMinStart && (entry.back() == 'e' || entry.back() == 'y');
            starts.push_back(changesLast ? entry.substr(0, entry.size() - 1) : entry);
        }
    }
    std::erase_if(starts, [](const std::string& start) { return start.size() < kMinStart; });
    return starts;
}

std::vector<std::string> FilterWordList(std::istream& lines, const WordExclusions& exclusions,
                                        const WordExclusions& blocked) {
    std::vector<std::string> words;
    std::string line;
    while (std::getline(lines, line)) {
        const std::string word = Trimmed(line);
        if (word.size() >= kMinWordLength && word.size() <= kMaxWordLength &&
            IsLowerCaseWord(word) && !exclusions.Excludes(word) && !blocked.Excludes(word)) {
            words.push_back(ToUpper(word));
        }
    }
    return WithoutRepeats(std::move(words));
}

std::optional<std::vector<std::string>> LoadWordList(const std::string& path,
                                                     const WordExclusions& exclusions,
                                                     const WordExclusions& blocked,
                                                     std::string& error) {
    const std::optional<std::string> text = ReadListFile(path, ListFormat::kDictionary, error);
    if (!text) {
        return std::nullopt;
    }
    std::istringstream lines(*text);
    return FilterWordList(lines, exclusions, blocked);
}

} // namespace datatool
