// KindredWords: the words put into one puzzle so far, so that no word joins them that
// one of them holds or lies inside, or that is of one's family ("OUTLINE" beside
// "OUTLINING"): a solver would take the one for the other, and a list of them reads as
// padding. Upper-case words; the last added goes first (a backtracking fill).
#pragma once

#include <string>
#include <vector>

namespace datatool {

// Whether one upper-case word holds the other, or both come from one root (FamilyRoots of
// three letters or more).
bool AreKindred(const std::string& a, const std::string& b);

class KindredWords {
public:
    // Whether the upper-case word is kindred to one added.
    bool HasKinOf(const std::string& word) const;
    void Add(const std::string& word);
    void RemoveLast();

private:
    struct Entry {
        std::string word;
        std::vector<std::string> roots; // lower case, sorted
    };
    static Entry EntryOf(const std::string& word);
    static bool AreKindred(const Entry& a, const Entry& b);

    std::vector<Entry> m_entries;
};

} // namespace datatool
