#include "kindred_words.h"

#include "word_list.h"
#include "wordnet_lexicon.h"

#include <algorithm>
#include <iterator>

namespace datatool {
namespace {

// A shorter root is a letter pair or an ending, no word's family.
constexpr std::size_t kMinRootLength = 3;

} // namespace

KindredWords::Entry KindredWords::EntryOf(const std::string& word) {
    std::vector<std::string> roots = FamilyRoots(LowerCase(word));
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

bool AreKindred(const std::string& a, const std::string& b) {
    KindredWords words;
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

void KindredWords::Add(const std::string& word) {
    m_entries.push_back(EntryOf(word));
}

void KindredWords::RemoveLast() {
    m_entries.pop_back();
}

} // namespace datatool
