#include "kindred_words.h"

#include "word_list.h"
#include "wordnet_lexicon.h"

#include <algorithm>
#include <iterator>

namespace datatool {
namespace {

// A shorter root is a letter pair or an ending, no word's family.
constexpr std::size_t kMinRootLength = 3;
// A shorter stem begins words of other families ("plan" in "planet").
constexpr std::size_t kMinStemLength = 5;

// Whether the roots are the same, or the shorter less a final e or y is a stem that begins
// the longer.
bool ShareStem(const std::string& a, const std::string& b) {
    const std::string& shorter = a.size() <= b.size() ? a : b;
    const std::string& longer = a.size() <= b.size() ? b : a;
    const bool changes = shorter.back() == 'e' || shorter.back() == 'y';
    const std::size_t stem = shorter.size() - (changes ? 1 : 0);
    return shorter == longer ||
           (stem >= kMinStemLength && longer.compare(0, stem, shorter, 0, stem) == 0);
}

// Endings that make a noun or an adjective of another word, which FamilyRoots leaves on.
const char* const kLearnedEndings[] = {"ion", "al", "ism", "ist", "ity", "ive", "ure"};
// What a learned ending leaves is a word of the family when it is this long ("edit" of
// "edition"), not "leg" of "legal".
constexpr std::size_t kMinLearnedStem = 4;

} // namespace

std::vector<std::string> LearnedRoots(const std::string& lowerCaseWord,
                                      const WordNetLexicon& lexicon) {
    std::vector<std::string> roots;
    for (const std::string& root : FamilyRoots(lowerCaseWord)) {
        for (const std::string_view ending : kLearnedEndings) {
            if (root.size() < ending.size() + kMinLearnedStem || !root.ends_with(ending)) {
                continue;
            }
            for (const std::string& base :
                 WordsBeforeEnding(root.substr(0, root.size() - ending.size()), ending)) {
                if (base.size() >= kMinLearnedStem && lexicon.HasLemma(base)) {
                    const std::vector<std::string> baseRoots = FamilyRoots(base);
                    roots.insert(roots.end(), baseRoots.begin(), baseRoots.end());
                }
            }
        }
    }
    return roots;
}

LemmaRoots::LemmaRoots(const std::vector<std::string>& words, const WordNetLexicon& lexicon) {
    for (const std::string& word : words) {
        const std::string lower = LowerCase(word);
        const std::vector<std::string> own = FamilyRoots(lower);
        std::vector<std::string> added;
        const auto add = [&](const std::vector<std::string>& roots) {
            for (const std::string& root : roots) {
                if (std::find(own.begin(), own.end(), root) == own.end() &&
                    std::find(added.begin(), added.end(), root) == added.end()) {
                    added.push_back(root);
                }
            }
        };
        add(LearnedRoots(lower, lexicon));
        for (const std::string& lemma : lexicon.BaseForms(lower)) {
            add(FamilyRoots(lemma));
            add(LearnedRoots(lemma, lexicon));
        }
        for (std::string& root : added) {
            m_roots.emplace_back(word, std::move(root));
        }
    }
    std::sort(m_roots.begin(), m_roots.end());
    m_roots.shrink_to_fit();
}

std::vector<std::string> LemmaRoots::RootsOf(const std::string& word) const {
    std::vector<std::string> roots;
    for (auto found =
             std::lower_bound(m_roots.begin(), m_roots.end(), std::make_pair(word, std::string()));
         found != m_roots.end() && found->first == word; ++found) {
        roots.push_back(found->second);
    }
    return roots;
}

KindredWords::Entry KindredWords::EntryOf(const std::string& word) const {
    std::vector<std::string> roots = FamilyRoots(LowerCase(word));
    const std::vector<std::string> lemmaRoots = m_lemmaRoots.RootsOf(word);
    roots.insert(roots.end(), lemmaRoots.begin(), lemmaRoots.end());
    std::erase_if(roots, [](const std::string& root) { return root.size() < kMinRootLength; });
    std::sort(roots.begin(), roots.end());
    return {word, std::move(roots)};
}

bool KindredWords::AreKindred(const Entry& a, const Entry& b) {
    if (a.word.find(b.word) != std::string::npos || b.word.find(a.word) != std::string::npos) {
        return true;
    }
    std::vector<std::string> shared;
    std::set_intersection(a.roots.begin(), a.roots.end(), b.roots.begin(), b.roots.end(),
                          std::back_inserter(shared));
    return !shared.empty();
}

bool AreKindred(const std::string& a, const std::string& b, const LemmaRoots& lemmaRoots) {
    KindredWords words(lemmaRoots);
    words.Add(a);
    return words.HasKinOf(b);
}

bool KindredWords::HasKinOf(const std::string& word) const {
    if (m_entries.empty()) {
        return false;
    }
    const Entry entry = EntryOf(word);
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& added) { return AreKindred(added, entry); });
}

bool KindredWords::SharesStemWith(const std::string& word) const {
    const Entry entry = EntryOf(word);
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& added) {
        return std::any_of(added.roots.begin(), added.roots.end(), [&](const std::string& a) {
            return std::any_of(entry.roots.begin(), entry.roots.end(),
                               [&](const std::string& b) { return ShareStem(a, b); });
        });
    });
}

void KindredWords::Add(const std::string& word) {
    m_entries.push_back(EntryOf(word));
}

void KindredWords::RemoveLast() {
    m_entries.pop_back();
}

} // namespace datatool
